// Helpers for tests that open windows (link the CMake target window_test_kit,
// which every framework_* and toolkit_* test already links).
//
// MessageRecorder: what a control sends its parent or owner, compared with an
// expected table.
//   MessageRecorder recorder(m_parent.m_hWnd);      // records from now on
//   recorder.FromControl(control.m_hWnd);            // optional: only what this control sends
//   recorder.Detail([](UINT msg, WPARAM, LPARAM lp) { // optional: one more number per message,
//     return msg == WM_NOTIFY ? reinterpret_cast<NMHEADER *>(lp)->iItem : 0; // compared with kDetail
//   });
//   ... click the control ...
//   EXPECT_TRUE(recorder.Matches({
//       {WM_NOTIFY, HDN_ITEMCLICK, kCode | kDetail, 0, 0, 2},
//       {WM_NOTIFY, NM_RELEASEDCAPTURE, kCode | kWineDiffers}, // Wine does not send it
//   }));
// By default it records the messages controls send upwards (WM_NOTIFY, WM_COMMAND,
// owner-draw and scroll messages, WM_PARENTNOTIFY, WM_CONTEXTMENU); Watch() adds
// others (a toolkit's private messages). Answer() makes the watched window return a
// fixed result for a message instead of handling it. Entries marked kOptional may
// be missing; kWineDiffers marks a known Wine gap: missing under Wine is accepted.
// WM_NOTIFY and WM_COMMAND are matched by their notification code (kCode): the
// NMHDR code, or the high word of wParam.
//
// PixelProbe: a window painted into a 32-bit bitmap through WM_PRINTCLIENT (or
// WM_PRINT with the frame), read pixel by pixel in client coordinates.
//   PixelProbe probe(control.m_hWnd);
//   EXPECT_EQ(probe.At(3, 4), RGB(255, 0, 0));
//   EXPECT_GT(probe.Count(CRect(0, 0, 10, 10), ::GetSysColor(COLOR_BTNFACE)), 50);
// Unpainted pixels keep PixelProbe::kUnpainted.
//
// FrameWithBar<TBar, TFrame>: a fixture with a self-deleting frame (600 x 400,
// hidden) and one bar created in it with TBar::Create(frame); LayOut() runs one
// bar's WM_SIZEPARENT over a client rectangle and tells what it left and where
// the bar went.
//
// IsRunningUnderWine(), PumpPendingMessages(), PumpFor() and SendMouse() are for the
// rest.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FrameWnd.h"
#include "Geometry.h"
#include "Wnd.h"
#include "WndPreHandler.h"

// ---------------------------------------------------------------------------
// Environment

inline bool IsRunningUnderWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Dispatches what is waiting in this thread's queue (posted notifications,
// timers that are due) and returns without waiting for more.
inline void PumpPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Dispatches messages for the given time, for timers and delayed tips to come
// due; returns early once the given window has been shown.
inline void PumpFor(DWORD dwMilliseconds, HWND hWndUntilVisible = nullptr) {
  const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
  while (::GetTickCount() < dwEnd) {
    PumpPendingMessages();
    if (hWndUntilVisible != nullptr && ::IsWindowVisible(hWndUntilVisible)) return;
    ::Sleep(10);
  }
}

// Real mouse input, synthesised: the point (on the screen) goes with
// MOUSEEVENTF_ABSOLUTE. Tests that send it move the cursor and run alone.
inline void SendMouse(DWORD dwFlags, POINT pt = {0, 0}) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = dwFlags;
  if (dwFlags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  ::SendInput(1, &input, sizeof(input));
}

// ---------------------------------------------------------------------------
// Message sequences

// Flags of an expected message.
enum ExpectedMessageFlags : UINT {
  kCode = 0x01,        // compare the notification code
  kWParam = 0x02,      // compare wParam
  kLParam = 0x04,      // compare lParam (not for WM_NOTIFY: a pointer)
  kDetail = 0x08,      // compare the recorder's detail number
  kOptional = 0x10,    // may be missing
  kWineDiffers = 0x20, // Wine's controls do not send it (accepted as missing under Wine)
};

struct ExpectedMessage {
  UINT message;
  UINT code = 0;
  UINT flags = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LPARAM detail = 0;
};

struct RecordedMessage {
  HWND hWnd; // the watched window that received it
  UINT message;
  WPARAM wParam;
  LPARAM lParam; // for WM_NOTIFY only valid while the message is handled
  UINT code;     // WM_NOTIFY: NMHDR code; WM_COMMAND: HIWORD(wParam); else 0
  HWND hWndFrom; // the control it comes from, when the message names one
  LPARAM detail; // what the recorder's Detail callback made of it
};

inline std::string MessageName(UINT message) {
  static const std::map<UINT, const char *> names = {
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_DRAWITEM, "WM_DRAWITEM"},
      {WM_MEASUREITEM, "WM_MEASUREITEM"},
      {WM_DELETEITEM, "WM_DELETEITEM"},
      {WM_COMPAREITEM, "WM_COMPAREITEM"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
      {WM_HSCROLL, "WM_HSCROLL"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_SIZE, "WM_SIZE"},
      {WM_TIMER, "WM_TIMER"},
      {WM_PAINT, "WM_PAINT"},
  };
  auto it = names.find(message);
  char text[32];
  if (it != names.end()) return it->second;
  std::snprintf(text, sizeof text, "message 0x%04X", message);
  return text;
}

// Compares what was recorded with an expected table; the failure names the
// first difference and lists both sequences.
inline ::testing::AssertionResult CompareMessageSequence(const std::vector<RecordedMessage> &recorded,
                                                         const std::vector<ExpectedMessage> &expected,
                                                         bool underWine) {
  auto matches = [](const RecordedMessage &got, const ExpectedMessage &want) {
    if (got.message != want.message) return false;
    if ((want.flags & kCode) && got.code != want.code) return false;
    if ((want.flags & kWParam) && got.wParam != want.wParam) return false;
    if ((want.flags & kLParam) && got.lParam != want.lParam) return false;
    if ((want.flags & kDetail) && got.detail != want.detail) return false;
    return true;
  };
  auto describe = [](UINT message, UINT code, LPARAM detail) {
    char text[64];
    std::snprintf(text, sizeof text, " code %d detail %lld", static_cast<int>(code),
                  static_cast<long long>(detail));
    return MessageName(message) + text;
  };
  auto listing = [&] {
    std::string text = "\n  recorded:";
    for (const RecordedMessage &m : recorded) text += "\n    " + describe(m.message, m.code, m.detail);
    text += "\n  expected:";
    for (const ExpectedMessage &e : expected)
      text += "\n    " + describe(e.message, e.code, e.detail) +
              ((e.flags & kOptional) ? " (optional)" : "") +
              ((e.flags & kWineDiffers) ? " (Wine differs)" : "");
    return text;
  };
  size_t got = 0;
  size_t want = 0;
  while (want < expected.size()) {
    const ExpectedMessage &e = expected[want];
    if (got < recorded.size() && matches(recorded[got], e)) {
      ++got;
      ++want;
      continue;
    }
    if ((e.flags & kOptional) || ((e.flags & kWineDiffers) && underWine)) {
      ++want;
      continue;
    }
    return ::testing::AssertionFailure()
           << "expected entry " << want << " (" << describe(e.message, e.code, e.detail) << ") "
           << (got < recorded.size()
                   ? "but got " + describe(recorded[got].message, recorded[got].code, recorded[got].detail)
                   : std::string("but the sequence ended"))
           << listing();
  }
  if (got < recorded.size())
    return ::testing::AssertionFailure()
           << "unexpected " << describe(recorded[got].message, recorded[got].code, recorded[got].detail)
           << " after the expected sequence" << listing();
  return ::testing::AssertionSuccess();
}

// Sits on the window as a framework pre-handler, so that it neither drops nor
// is dropped by procedures chained on the window after it.
class MessageRecorder : private CWndPreHandler {
public:
  explicit MessageRecorder(HWND hWnd) : m_hWnd(hWnd) {
    m_watched = {WM_NOTIFY,      WM_COMMAND,      WM_DRAWITEM,    WM_MEASUREITEM, WM_DELETEITEM,
                 WM_COMPAREITEM, WM_PARENTNOTIFY, WM_CONTEXTMENU, WM_HSCROLL,     WM_VSCROLL};
    m_installed = AfxAddPreHandler(hWnd, this) != FALSE;
  }
  ~MessageRecorder() override { Stop(); }
  MessageRecorder(const MessageRecorder &) = delete;
  MessageRecorder &operator=(const MessageRecorder &) = delete;

  bool IsRecording() const { return m_installed; }
  // Ends recording (the window keeps working; the records stay).
  void Stop() {
    if (m_installed) AfxRemovePreHandler(m_hWnd, this);
    m_installed = false;
  }

  MessageRecorder &Watch(UINT message) {
    m_watched.insert(message);
    return *this;
  }
  // Records only messages from this control (messages that name no control are kept).
  MessageRecorder &FromControl(HWND hWndControl) {
    m_hWndFrom = hWndControl;
    return *this;
  }
  MessageRecorder &Detail(std::function<LPARAM(UINT, WPARAM, LPARAM)> detail) {
    m_detail = std::move(detail);
    return *this;
  }
  // The watched window answers this message (and code, for WM_NOTIFY and
  // WM_COMMAND) with result and does not handle it.
  MessageRecorder &Answer(UINT message, UINT code, LRESULT result) {
    m_answers[{message, code}] = result;
    return *this;
  }

  const std::vector<RecordedMessage> &Messages() const { return m_messages; }
  void Clear() { m_messages.clear(); }
  size_t Count(UINT message, UINT code = 0) const {
    return static_cast<size_t>(
        std::count_if(m_messages.begin(), m_messages.end(), [&](const RecordedMessage &m) {
          return m.message == message && (code == 0 || m.code == code);
        }));
  }

  ::testing::AssertionResult Matches(std::initializer_list<ExpectedMessage> expected) const {
    return CompareMessageSequence(m_messages, std::vector<ExpectedMessage>(expected), IsRunningUnderWine());
  }

private:
  static HWND SourceOf(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
      return reinterpret_cast<const NMHDR *>(lParam)->hwndFrom;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM:
      return reinterpret_cast<const DRAWITEMSTRUCT *>(lParam)->hwndItem;
    case WM_CONTEXTMENU:
      return reinterpret_cast<HWND>(wParam);
    default:
      return nullptr;
    }
  }

  BOOL OnPreHandleMessage(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam,
                          LRESULT &lResult) override {
    if (m_watched.count(message) == 0) return FALSE;
    RecordedMessage m = {hWnd, message, wParam, lParam, 0, SourceOf(message, wParam, lParam), 0};
    if (message == WM_NOTIFY) m.code = reinterpret_cast<const NMHDR *>(lParam)->code;
    if (message == WM_COMMAND) m.code = HIWORD(wParam);
    if (m_hWndFrom != nullptr && m.hWndFrom != nullptr && m.hWndFrom != m_hWndFrom) return FALSE;
    if (m_detail) m.detail = m_detail(message, wParam, lParam);
    m_messages.push_back(m);
    auto answer = m_answers.find({message, m.code});
    if (answer == m_answers.end()) return FALSE;
    lResult = answer->second;
    return TRUE;
  }
  void OnPreHandledWindowGone(HWND) override { m_installed = false; }

  HWND m_hWnd;
  bool m_installed = false;
  HWND m_hWndFrom = nullptr;
  std::set<UINT> m_watched;
  std::function<LPARAM(UINT, WPARAM, LPARAM)> m_detail;
  std::map<std::pair<UINT, UINT>, LRESULT> m_answers;
  std::vector<RecordedMessage> m_messages;
};

// ---------------------------------------------------------------------------
// Pixel probes

class PixelProbe {
public:
  static constexpr COLORREF kUnpainted = RGB(255, 0, 255);

  // Paints the window's client area (flags as WM_PRINTCLIENT takes them) now.
  explicit PixelProbe(HWND hWnd, UINT flags = PRF_CLIENT | PRF_ERASEBKGND) { Render(hWnd, flags); }
  ~PixelProbe() { Free(); }
  PixelProbe(const PixelProbe &) = delete;
  PixelProbe &operator=(const PixelProbe &) = delete;

  // Paints again; with PRF_NONCLIENT the whole window is painted through
  // WM_PRINT and coordinates are window coordinates.
  void Render(HWND hWnd, UINT flags = PRF_CLIENT | PRF_ERASEBKGND) {
    Free();
    RECT rect = {};
    if (flags & PRF_NONCLIENT) {
      ::GetWindowRect(hWnd, &rect);
      ::OffsetRect(&rect, -rect.left, -rect.top);
    } else {
      ::GetClientRect(hWnd, &rect);
    }
    m_width = std::max<LONG>(rect.right, 1);
    m_height = std::max<LONG>(rect.bottom, 1);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = m_width;
    bi.bmiHeader.biHeight = -m_height; // top-down: row 0 is the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<const DWORD *>(bits);
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    HBRUSH hUnpainted = ::CreateSolidBrush(kUnpainted);
    RECT all = {0, 0, m_width, m_height};
    ::FillRect(m_hDC, &all, hUnpainted);
    ::DeleteObject(hUnpainted);
    ::SendMessageW(hWnd, (flags & PRF_NONCLIENT) ? WM_PRINT : WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hDC),
                   flags);
    ::GdiFlush();
  }

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  HDC GetDC() const { return m_hDC; }

  // The colour at a point; kUnpainted outside the picture too.
  COLORREF At(int x, int y) const {
    if (m_bits == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height) return kUnpainted;
    const DWORD pixel = m_bits[static_cast<size_t>(y) * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  // Pixels of the rectangle within tolerance (per channel) of the colour.
  int Count(const RECT &rect, COLORREF colour, int tolerance = 0) const {
    int count = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, m_height); ++y)
      for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, m_width); ++x)
        if (Near(At(x, y), colour, tolerance)) ++count;
    return count;
  }
  bool Contains(const RECT &rect, COLORREF colour, int tolerance = 0) const {
    return Count(rect, colour, tolerance) > 0;
  }
  // The colour most pixels of the rectangle have.
  COLORREF Dominant(const RECT &rect) const {
    std::map<COLORREF, int> counts;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, m_height); ++y)
      for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, m_width); ++x)
        ++counts[At(x, y)];
    auto best = std::max_element(counts.begin(), counts.end(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
    return best == counts.end() ? kUnpainted : best->first;
  }
  static bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
  }

  // Writes the picture as a .bmp file, to look at a failing case.
  bool SaveBitmap(const wchar_t *path) const {
    if (m_bits == nullptr) return false;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = m_width;
    info.biHeight = -m_height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD imageBytes = static_cast<DWORD>(m_width) * m_height * 4;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageBytes;
    FILE *out = _wfopen(path, L"wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info, sizeof info, 1, out) == 1 &&
                    std::fwrite(m_bits, imageBytes, 1, out) == 1;
    return std::fclose(out) == 0 && ok;
  }

private:
  void Free() {
    if (m_hDC != nullptr) {
      ::SelectObject(m_hDC, m_hOld);
      ::DeleteDC(m_hDC);
    }
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_bits = nullptr;
  }

  HBITMAP m_hBitmap = nullptr;
  HDC m_hDC = nullptr;
  HGDIOBJ m_hOld = nullptr;
  const DWORD *m_bits = nullptr;
  LONG m_width = 0;
  LONG m_height = 0;
};

// ---------------------------------------------------------------------------
// A frame with a bar

// Where one bar's WM_SIZEPARENT left the layout: the rectangle left over and
// the bar's own rectangle, both in the frame's client coordinates.
struct BarLayout {
  CRect left;
  CRect placed;
};

inline BarLayout LayOutBar(CWnd &bar, CWnd &frame, const CRect &client) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.rect = client;
  layout.bStretch = TRUE;
  layout.hDWP = ::BeginDeferWindowPos(1);
  bar.SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
  BarLayout result;
  result.left = CRect(layout.rect);
  bar.GetWindowRect(&result.placed);
  frame.ScreenToClient(&result.placed);
  return result;
}

template <class TBar, class TFrame = CFrameWnd> class FrameWithBar : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new TFrame; // frames delete themselves when destroyed
    ASSERT_TRUE(m_frame->CreateEx(0, AfxRegisterWndClass(0), L"bar test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                  nullptr, nullptr));
    ASSERT_TRUE(m_bar.Create(m_frame));
  }
  void TearDown() override {
    if (m_frame != nullptr && m_frame->m_hWnd != nullptr) m_frame->DestroyWindow();
  }

  BarLayout LayOut(const CRect &client = CRect(0, 0, 600, 300)) { return LayOutBar(m_bar, *m_frame, client); }

  TFrame *m_frame = nullptr;
  TBar m_bar;
};
