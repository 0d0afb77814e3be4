// What the command-bar tests share: a paint manager with colours that tell
// apart every role, a bar without a window, a message-only site that
// records what the controls send it, an application that answers its
// questions itself, a popup bar that counts the live ones, a solid icon and
// an image's pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "WinApp.h"
#include "XTPCommandBar.h"
#include "XTPDefaultTheme.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

namespace cbtest {

// Distinct colours for the roles the default theme draws with.
enum : COLORREF {
  kFace = 0xC0C0C0,
  kShadow = 0x808080,
  kHighlight = 0xFFFFFF,
  kDark = 0x404040,
  kSelection = 0x800000,
  kSelectionText = 0xFEFEFE,
  kGrayText = 0x7F7F7F,
  kText = 0x010101,
  kCaption = 0x0000AA,
  kLight = 0xDFDFDF,
  kWindow = 0xFDFDFD,
  kCanvas = 0xFF00FF, // what no drawing uses
};

inline void UseTestColors(CXTPPaintManager *pPaintManager) {
  const struct {
    int nIndex;
    COLORREF clr;
  } kColors[] = {
      {COLOR_BTNFACE, kFace},      {COLOR_BTNSHADOW, kShadow},    {COLOR_BTNHIGHLIGHT, kHighlight},
      {COLOR_3DDKSHADOW, kDark},   {COLOR_HIGHLIGHT, kSelection}, {COLOR_HIGHLIGHTTEXT, kSelectionText},
      {COLOR_GRAYTEXT, kGrayText}, {COLOR_BTNTEXT, kText},        {COLOR_ACTIVECAPTION, kCaption},
      {COLOR_3DLIGHT, kLight},     {COLOR_WINDOW, kWindow}};
  for (const auto &c : kColors) pPaintManager->GetColorPair(c.nIndex).SetCustomValue(c.clr);
}

// A bar that lives without a window: its client size is given.
class TestBar : public CXTPCommandBar {
public:
  TestBar(XTPBarType type, XTPBarPosition position, CSize szClient = CSize(200, 30)) {
    m_barType = type;
    m_barPosition = position;
    SetBarClientSize(szClient);
  }
};

// A message-only window that records messages and answers by a function.
class MessageSite {
public:
  struct Entry {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  MessageSite() {
    static const wchar_t *kClass = L"CommandBarsTestSite";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &MessageSite::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
  }
  ~MessageSite() { ::DestroyWindow(m_hWnd); }
  HWND GetHwnd() const { return m_hWnd; }

  std::vector<Entry> log;
  std::function<LRESULT(UINT, WPARAM, LPARAM)> answer;

private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto *cs = reinterpret_cast<CREATESTRUCTW *>(lParam);
      ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto *self = reinterpret_cast<MessageSite *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self && (message == WM_COMMAND || (message >= 0x52D && message <= 0x536))) {
      self->log.push_back({message, wParam, lParam});
      if (self->answer) return self->answer(message, wParam, lParam);
      return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
  }
  HWND m_hWnd = nullptr;
};

// Sees the questions without showing them.
class AnsweringApp : public CWinApp {
public:
  int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override {
    m_prompts.push_back(lpszPrompt);
    m_types.push_back(nType);
    m_nType = nType;
    return m_nAnswer;
  }
  std::vector<CString> m_prompts;
  std::vector<UINT> m_types;
  UINT m_nType = 0; // the last question's
  int m_nAnswer = IDOK;
};

// A popup bar that counts the live ones and can be given a small screen.
class CountedPopupBar : public CXTPPopupBar {
public:
  CountedPopupBar() { s_nLive++; }
  ~CountedPopupBar() override { s_nLive--; }
  CRect GetWorkArea() const override {
    return m_rcWork.IsRectEmpty() ? CXTPPopupBar::GetWorkArea() : m_rcWork;
  }
  CRect m_rcWork;
  static inline int s_nLive = 0;
};

// A pixel of a 16 x 16 image drawn on a white ground.
inline COLORREF ImagePixel(CXTPImageManagerIcon *pImage, int x, int y) {
  MemoryCanvas canvas(16, 16, RGB(255, 255, 255));
  pImage->Draw(&canvas.dc, CPoint(0, 0), CSize(16, 16));
  return canvas.Pixel(x, y);
}

// A command image: a solid 16 x 16 icon.
inline HICON SolidIcon(COLORREF clr) {
  BYTE andBits[16 * 16 / 8] = {};
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, 16, 16);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hColor);
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  RECT rc = {0, 0, 16, 16};
  ::FillRect(hDC, &rc, hBrush);
  ::DeleteObject(hBrush);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  ::ReleaseDC(nullptr, hScreen);
  HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, andBits);
  ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
  HICON hIcon = ::CreateIconIndirect(&ii);
  ::DeleteObject(hMask);
  ::DeleteObject(hColor);
  return hIcon;
}

} // namespace cbtest
