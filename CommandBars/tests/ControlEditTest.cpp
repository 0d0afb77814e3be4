// The edit control: its box on a toolbar and in a menu, typed into with keys
// as the thread's keyboard hook sees them (the bar's mnemonics must not take
// them); Enter runs the command, Esc gives the focus back; the text set
// before the first layout and typed into the box survives the box; the label
// drawn in front of the box; copies, saved options by the layout's schema;
// and hot tracking alive after a box destroyed while it had the focus. The
// tests take the focus and so run alone; nothing is activated on purpose.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "Archive.h"
#include "CommandBarsTestSupport.h"
#include "File.h"
#include "Wnd.h"
#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControlEdit.h"
#include "XTPControls.h"
#include "XTPDefaultTheme.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"
#include "XTPPopupBar.h"
#include "XTPPropExchange.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

enum : UINT { ID_FILE = 301, ID_VIEW = 302, ID_FIND = 303 };

void Pump() {
  MSG msg;
  for (int i = 0; i < 3; i++) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(2);
  }
}

// A key press as the system delivers it: the thread's keyboard hook first
// (the tracking bars), then, when nothing swallowed it, the focus window.
void Key(UINT vk) {
  CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks();
  if (!(pHooks && pHooks->OnKeyboardHook(vk, 1))) {
    MSG msg = {::GetFocus(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
    if (msg.hwnd) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  Pump();
}

void Type(const char *lpszKeys) {
  for (const char *p = lpszKeys; *p; p++) Key(static_cast<UINT>(*p));
}

BOOL IsMouseLocked() {
  return XTPGetMouseManager()->IsMouseLocked();
}

// A top-level window that holds a document view and the bars; it never asks
// for the activation.
class Host : public CWnd {
public:
  HWND hView = nullptr;
  BOOL Create() {
    if (!CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 480,
                  160, nullptr, nullptr))
      return FALSE;
    hView = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 60, 200, 20, m_hWnd, nullptr,
                              nullptr, nullptr);
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    return hView != nullptr;
  }
};

std::vector<WPARAM> Commands(const MessageSite &site, WORD wCode) {
  std::vector<WPARAM> v;
  for (const auto &e : site.log)
    if (e.message == WM_COMMAND && HIWORD(e.wParam) == wCode) v.push_back(LOWORD(e.wParam));
  return v;
}

// A toolbar on the host: "&File", "&View" and the Find box.
struct ToolBarFixture {
  Host host;
  MessageSite owner;
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPToolBar *pBar = new CXTPToolBar;
  CXTPControlEdit *pEdit = nullptr;

  ToolBarFixture() {
    host.Create();
    pCommandBars->SetSite(&host);
    auto *pTheme = new CXTPDefaultTheme;
    UseTestColors(pTheme);
    pCommandBars->SetPaintManager(pTheme);
    pCommandBars->AddBar(pBar);
    pBar->InternalRelease();
    pBar->SetOwnerWindow(owner.GetHwnd());
    CXTPControls *pControls = pBar->GetControls();
    pControls->Add(xtpControlButton, ID_FILE)->SetCaption(L"&File");
    pControls->Add(xtpControlButton, ID_VIEW)->SetCaption(L"&View");
    pEdit = static_cast<CXTPControlEdit *>(pControls->Add(xtpControlEdit, ID_FIND));
    pEdit->SetCaption(L"Find");
    for (int i = 0; i < pControls->GetCount(); i++) {
      CXTPControl *pControl = pControls->GetAt(i);
      pControl->SetFlags(pControl->GetFlags() | xtpFlagManualUpdate);
      pControl->SetStyle(xtpButtonCaption);
    }
    pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 480, 30), &host,
                   AFX_IDW_CONTROLBAR_FIRST);
    pBar->SetVisible(TRUE);
    Layout();
  }
  ~ToolBarFixture() {
    if (pBar->IsTrackingMode()) pBar->SetTrackingMode(0, TRUE, FALSE);
    pCommandBars->InternalRelease();
    host.DestroyWindow();
    Pump();
  }
  void Layout() {
    CSize sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    pBar->SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND Box() const { return pEdit->GetEditCtrl() ? pEdit->GetEditCtrl()->GetSafeHwnd() : nullptr; }
  CRect BoxRect() const {
    CRect rc;
    ::GetWindowRect(Box(), &rc);
    ::MapWindowPoints(nullptr, pBar->GetSafeHwnd(), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }
  // The focus in the document, then a click on the control.
  void ClickIntoTheBox() {
    ::SetFocus(host.hView);
    ASSERT_EQ(host.hView, ::GetFocus());
    pEdit->OnClick(FALSE, pEdit->GetRect().CenterPoint());
    Pump();
    ASSERT_EQ(Box(), ::GetFocus());
  }
};

// --- Without a window ---------------------------------------------------------

TEST(EditControl, ANewControlIsAWritableEmptyBoxWithItsLabelOn) {
  CXTPControlEdit edit;
  EXPECT_EQ(xtpControlEdit, edit.GetType());
  EXPECT_EQ(100, edit.GetWidth());
  EXPECT_TRUE(edit.GetShowLabel());
  EXPECT_FALSE(edit.GetReadOnly());
  EXPECT_STREQ(L"", edit.GetEditText());
  EXPECT_FALSE(edit.IsFocusable());
  // The label shows only with a caption to show.
  const struct {
    LPCTSTR lpszCaption;
    BOOL bLabel;
    BOOL bVisible;
  } cases[] = {{L"", TRUE, FALSE}, {L"Find", TRUE, TRUE}, {L"Find", FALSE, FALSE}};
  for (const auto &c : cases) {
    edit.SetCaption(c.lpszCaption);
    edit.ShowLabel(c.bLabel);
    EXPECT_EQ(c.bVisible, edit.IsCaptionVisible()) << c.lpszCaption << " " << c.bLabel;
  }
  EXPECT_EQ(10, edit.GetCustomizeMinWidth() - edit.GetLabelWidth());
}

TEST(EditControl, CopiesTakeTheBoxOptionsAndTheTextButCompareByWidth) {
  CXTPControlEdit source;
  source.SetWidth(150);
  source.ShowLabel(FALSE);
  source.SetReadOnly(TRUE);
  source.SetEditText(L"sector 63");
  CXTPControl *pClone = source.Clone();
  auto *pCopy = dynamic_cast<CXTPControlEdit *>(pClone);
  ASSERT_NE(nullptr, pCopy);
  EXPECT_EQ(150, pCopy->GetWidth());
  EXPECT_FALSE(pCopy->GetShowLabel());
  EXPECT_TRUE(pCopy->GetReadOnly());
  EXPECT_STREQ(L"sector 63", pCopy->GetEditText());
  EXPECT_TRUE(source.Compare(pCopy));
  pCopy->SetWidth(151);
  EXPECT_FALSE(source.Compare(pCopy)) << "another width is another control";
  pClone->InternalRelease();
  CXTPControl button;
  EXPECT_FALSE(source.Compare(&button));
}

// The options go with the layout's schema: older layouts carry fewer of them
// and leave the rest as they are.
TEST(EditControl, OptionsRoundTripByTheLayoutSchema) {
  const struct {
    UINT nSchema;
    BOOL bLabelAndWidth;
    BOOL bReadOnly;
  } cases[] = {{5, FALSE, FALSE}, {6, TRUE, FALSE}, {7, TRUE, FALSE}, {8, TRUE, TRUE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.nSchema);
    CXTPControlEdit saved;
    saved.SetCaption(L"Go to");
    saved.ShowLabel(FALSE);
    saved.SetWidth(140);
    saved.SetReadOnly(TRUE);
    saved.SetEditText(L"not saved");
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      CXTPPropExchangeArchive px(ar);
      px.m_nSchema = c.nSchema;
      saved.DoPropExchange(&px);
    }
    file.SeekToBegin();
    CXTPControlEdit loaded;
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    px.m_nSchema = c.nSchema;
    loaded.DoPropExchange(&px);
    EXPECT_STREQ(L"Go to", loaded.GetCaption());
    EXPECT_EQ(!c.bLabelAndWidth, loaded.GetShowLabel());
    EXPECT_EQ(c.bLabelAndWidth ? 140 : 100, loaded.GetWidth());
    EXPECT_EQ(c.bReadOnly, loaded.GetReadOnly());
    EXPECT_STREQ(L"", loaded.GetEditText()) << "the text is no option";
  }
}

// Saved with its bar's controls, an edit box comes back as an edit control,
// made by its class name, with its options.
TEST(EditControl, OptionsRoundTripThroughTheControlsArchive) {
  TestBar saved(xtpBarTypeNormal, xtpBarTop), loaded(xtpBarTypeNormal, xtpBarTop);
  saved.GetControls()->Add(xtpControlButton, ID_FILE)->SetCaption(L"&File");
  auto *pFind = static_cast<CXTPControlEdit *>(saved.GetControls()->Add(xtpControlEdit, ID_FIND));
  pFind->SetCaption(L"Find");
  pFind->SetWidth(140);
  pFind->SetReadOnly(TRUE);
  auto *pSector = static_cast<CXTPControlEdit *>(saved.GetControls()->Add(xtpControlEdit, ID_VIEW));
  pSector->ShowLabel(FALSE);
  pSector->SetWidth(60);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    saved.GetControls()->DoPropExchange(&px);
  }
  file.SeekToBegin();
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    loaded.GetControls()->DoPropExchange(&px);
  }
  ASSERT_EQ(3, loaded.GetControlCount());
  const struct {
    int nId;
    LPCTSTR lpszCaption;
    BOOL bLabel;
    int nWidth;
    BOOL bReadOnly;
  } cases[] = {{ID_FIND, L"Find", TRUE, 140, TRUE}, {ID_VIEW, L"", FALSE, 60, FALSE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.nId);
    auto *pEdit = dynamic_cast<CXTPControlEdit *>(loaded.GetControls()->FindControl(c.nId));
    ASSERT_NE(nullptr, pEdit);
    EXPECT_EQ(xtpControlEdit, pEdit->GetType());
    EXPECT_STREQ(c.lpszCaption, pEdit->GetCaption());
    EXPECT_EQ(c.bLabel, pEdit->GetShowLabel());
    EXPECT_EQ(c.nWidth, pEdit->GetWidth());
    EXPECT_EQ(c.bReadOnly, pEdit->GetReadOnly());
    EXPECT_TRUE(pEdit->Compare(saved.GetControls()->FindControl(c.nId)));
  }
  saved.GetControls()->RemoveAll();
  loaded.GetControls()->RemoveAll();
}

// Named values leave out what equals its default: a box without its label
// or of no width still comes back as it went.
TEST(EditControl, OptionsRoundTripThroughTheRegistry) {
  const wchar_t kKey[] = L"Software\\QvToolkitControlEditTest";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  HKEY hKey = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &hKey, nullptr));
  const struct {
    BOOL bLabel;
    int nWidth;
    BOOL bReadOnly;
  } cases[] = {{TRUE, 100, FALSE}, {FALSE, 0, TRUE}, {FALSE, 250, FALSE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.nWidth);
    CXTPControlEdit saved;
    saved.ShowLabel(c.bLabel);
    saved.SetWidth(c.nWidth);
    saved.SetReadOnly(c.bReadOnly);
    {
      CXTPPropExchangeRegistry px(FALSE, hKey, L"Find");
      saved.DoPropExchange(&px);
    }
    CXTPControlEdit loaded;
    loaded.SetReadOnly(!c.bReadOnly);
    {
      CXTPPropExchangeRegistry px(TRUE, hKey, L"Find");
      loaded.DoPropExchange(&px);
    }
    EXPECT_EQ(c.bLabel, loaded.GetShowLabel());
    EXPECT_EQ(c.nWidth, loaded.GetWidth());
    EXPECT_EQ(c.bReadOnly, loaded.GetReadOnly());
  }
  ::RegCloseKey(hKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

// --- On a toolbar -------------------------------------------------------------

TEST(EditControlOnABar, TheTextSetBeforeTheFirstLayoutGoesIntoTheBoxAndOutlivesIt) {
  Host host;
  ASSERT_TRUE(host.Create());
  CXTPToolBar *pBar = new CXTPToolBar;
  pBar->SetPaintManager(new CXTPDefaultTheme);
  auto *pEdit = static_cast<CXTPControlEdit *>(pBar->GetControls()->Add(xtpControlEdit, ID_FIND));
  pEdit->SetEditText(L"held");
  ASSERT_TRUE(pBar->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 30),
                             &host, AFX_IDW_CONTROLBAR_FIRST));
  pBar->SetVisible(TRUE);
  pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  HWND hBox = pEdit->GetEditCtrl()->GetSafeHwnd();
  ASSERT_NE(nullptr, hBox);
  EXPECT_EQ(pBar->GetSafeHwnd(), ::GetParent(hBox));
  wchar_t szText[32] = {};
  ::GetWindowTextW(hBox, szText, 32);
  EXPECT_STREQ(L"held", szText);
  EXPECT_TRUE(pEdit->IsFocusable());

  ::SetWindowTextW(hBox, L"typed");
  EXPECT_STREQ(L"typed", pEdit->GetEditText());
  pEdit->InternalAddRef();
  pBar->GetControls()->Remove(pEdit);
  EXPECT_FALSE(::IsWindow(hBox)) << "off every bar the box goes";
  EXPECT_STREQ(L"typed", pEdit->GetEditText());
  pEdit->InternalRelease();
  pBar->InternalRelease();
  host.DestroyWindow();
}

TEST(EditControlOnABar, TheSameRectangleMovesTheBoxOnlyWhenTheLabelOrTheBarChanged) {
  ToolBarFixture f;
  const CRect rcControl = f.pEdit->GetRect();
  const CRect rcBox = f.BoxRect();
  ASSERT_FALSE(rcBox.IsRectEmpty());
  EXPECT_EQ(rcControl.left + f.pEdit->GetLabelWidth() + 4, rcBox.left);
  EXPECT_EQ(CRect(rcControl.left + f.pEdit->GetLabelWidth() + 4, rcControl.top + 3, rcControl.right - 3,
                  rcControl.bottom - 3),
            rcBox);
  const struct {
    const char *what;
    void (*change)(ToolBarFixture &f);
    BOOL bMoves;
  } cases[] = {
      {"nothing changed", [](ToolBarFixture &) {}, FALSE},
      {"the label is wider", [](ToolBarFixture &f) { f.pEdit->SetLabelWidth(f.pEdit->GetLabelWidth() + 6); },
       TRUE},
      {"the label width set as it was",
       [](ToolBarFixture &f) { f.pEdit->SetLabelWidth(f.pEdit->GetLabelWidth()); }, FALSE},
      {"the box on another window", [](ToolBarFixture &f) { ::SetParent(f.Box(), f.host.GetSafeHwnd()); },
       TRUE},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    // The box put aside: only a placement brings it back.
    ::SetWindowPos(f.Box(), nullptr, 1, 1, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    c.change(f);
    f.pEdit->SetRect(rcControl);
    EXPECT_EQ(f.pBar->GetSafeHwnd(), ::GetParent(f.Box()));
    EXPECT_EQ(c.bMoves, f.BoxRect().Width() > 5);
  }
}

TEST(EditControlOnABar, ASideDockedBarHidesTheControlAndItsBox) {
  ToolBarFixture f;
  auto *pCombo =
      static_cast<CXTPControlComboBox *>(f.pBar->GetControls()->Add(new CXTPControlComboBox, ID_VIEW));
  pCombo->SetDropDown(TRUE);
  f.Layout();
  const struct {
    CXTPControl *pControl;
    HWND hBox;
  } cases[] = {{f.pEdit, f.Box()}, {pCombo, pCombo->GetEditCtrl()->GetSafeHwnd()}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.pControl->GetType());
    ASSERT_TRUE(::IsWindowVisible(c.hBox));
    c.pControl->OnCalcDynamicSize(LM_VERTDOCK);
    EXPECT_EQ(static_cast<DWORD>(xtpHideDockingPosition), c.pControl->GetHideFlags());
    EXPECT_FALSE(::IsWindowVisible(c.hBox));
    c.pControl->OnCalcDynamicSize(LM_HORZDOCK);
    EXPECT_EQ(0u, c.pControl->GetHideFlags());
    EXPECT_TRUE(::IsWindowVisible(c.hBox));
  }
}

TEST(EditControlOnABar, TypedKeysGoIntoTheBoxNotToTheBarsMnemonics) {
  ToolBarFixture f;
  f.pEdit->SetEditText(L"old");
  EXPECT_TRUE(Commands(f.owner, EN_CHANGE).empty()) << "the program's own text is no news to the owner";
  // The mouse over the box makes the control hot, as over the rest of the bar.
  ::SetFocus(f.host.hView);
  ::SendMessageW(f.Box(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(f.pEdit, f.pBar->GetSelected());
  ASSERT_NO_FATAL_FAILURE(f.ClickIntoTheBox());
  EXPECT_TRUE(f.pBar->IsTrackingMode());
  EXPECT_EQ(f.pEdit, f.pBar->GetSelected());
  EXPECT_TRUE(IsMouseLocked()) << "hot tracking rests while typing";
  EXPECT_EQ(f.host.hView, f.pBar->GetFocusBefore());

  Type("FV"); // over the old text, all selected when the box took the focus
  EXPECT_EQ(f.Box(), ::GetFocus());
  EXPECT_STREQ(L"fv", f.pEdit->GetEditText());
  EXPECT_TRUE(Commands(f.owner, 0).empty()) << "F and V are the buttons' mnemonics";
  EXPECT_FALSE(Commands(f.owner, EN_CHANGE).empty()) << "the owner hears the text change";
  for (WPARAM id : Commands(f.owner, EN_CHANGE)) EXPECT_EQ(ID_FIND, id);

  Key(VK_RETURN);
  EXPECT_EQ(std::vector<WPARAM>{ID_FIND}, Commands(f.owner, 0));
  EXPECT_STREQ(L"fv", f.pEdit->GetEditText());

  Key(VK_ESCAPE);
  EXPECT_EQ(f.host.hView, ::GetFocus()) << "Esc gives the focus back";
  EXPECT_FALSE(IsMouseLocked());
  EXPECT_FALSE(f.pBar->IsTrackingMode()) << "keys typed next are the document's";
  Type("F");
  EXPECT_EQ(std::vector<WPARAM>{ID_FIND}, Commands(f.owner, 0));
}

TEST(EditControlOnABar, EscWithoutTheFocusInTheBoxIsTheBars) {
  ToolBarFixture f;
  EXPECT_EQ(0, f.pEdit->OnHookKeyDown(VK_ESCAPE));
  CXTPControlEdit loose;
  EXPECT_EQ(2, loose.OnHookKeyDown(VK_ESCAPE)) << "no box: the key is not the bar's either";
}

TEST(EditControlOnABar, ALabelIsDrawnInFrontOfTheBoxOnlyWhenAsked) {
  ToolBarFixture f;
  auto countText = [&](const CRect &rcArea) {
    MemoryCanvas canvas(480, 30, kCanvas);
    f.pBar->DrawCommandBar(&canvas.dc, CRect(0, 0, 480, 30));
    int nText = 0;
    for (int x = rcArea.left; x < rcArea.right; x++)
      for (int y = rcArea.top; y < rcArea.bottom; y++) nText += canvas.Pixel(x, y) == kText;
    return nText;
  };
  const int nLabel = f.pEdit->GetLabelWidth();
  ASSERT_GT(nLabel, 10);
  CRect rcLabel = f.pEdit->GetRect();
  rcLabel.right = rcLabel.left + nLabel;
  EXPECT_GT(countText(rcLabel), 5) << "the caption in front of the box";

  f.pEdit->ShowLabel(FALSE);
  f.Layout();
  EXPECT_EQ(0, f.pEdit->GetLabelWidth());
  EXPECT_EQ(f.pEdit->GetRect().left + 4, f.BoxRect().left) << "the box moves to the control's edge";
  EXPECT_EQ(0, countText(f.pEdit->GetRect()));
}

TEST(EditControlOnABar, ADisabledControlDisablesItsBox) {
  ToolBarFixture f;
  // The bar colours an enabled box as a window; a disabled one keeps its own look.
  MemoryCanvas canvas(4, 4);
  HDC hDC = canvas.dc.GetSafeHdc();
  ::SetBkColor(hDC, kCanvas);
  const LRESULT lBrush = ::SendMessageW(f.pBar->GetSafeHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                        reinterpret_cast<LPARAM>(f.Box()));
  EXPECT_EQ(reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW)), lBrush);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ::GetBkColor(hDC));
  f.pEdit->SetEnabled(FALSE);
  ::SetBkColor(hDC, kCanvas);
  ::SendMessageW(f.pBar->GetSafeHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                 reinterpret_cast<LPARAM>(f.Box()));
  EXPECT_NE(::GetSysColor(COLOR_WINDOW), ::GetBkColor(hDC));
  EXPECT_FALSE(::IsWindowEnabled(f.Box()));
  f.pEdit->SetReadOnly(TRUE);
  EXPECT_TRUE(::GetWindowLongW(f.Box(), GWL_STYLE) & ES_READONLY);
  f.pEdit->SetEnabled(TRUE);
  f.pEdit->SetReadOnly(FALSE);
  EXPECT_TRUE(::IsWindowEnabled(f.Box()));
  EXPECT_FALSE(::GetWindowLongW(f.Box(), GWL_STYLE) & ES_READONLY);
}

// In customise mode a press in the box drags the control and puts no caret
// in it; a control that may not move leaves the press to the box.
TEST(EditControlOnABar, ACustomisePressInTheBoxDragsTheControlUnlessItMayNotMove) {
  struct DragRecordingEdit : CXTPControlEdit {
    int nDrags = 0;
    void OnCustomizeStartDrag(CPoint) override { nDrags++; }
  };
  const struct {
    const char *what;
    DWORD dwFlags;
    int nDrags;
    BOOL bFocus;
  } cases[] = {{"movable", 0, 1, FALSE}, {"not movable", xtpFlagNoMovable, 0, TRUE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ToolBarFixture f;
    auto *pEdit =
        static_cast<DragRecordingEdit *>(f.pBar->GetControls()->Add(new DragRecordingEdit, ID_FIND));
    pEdit->SetFlags(xtpFlagManualUpdate | c.dwFlags);
    f.Layout();
    HWND hBox = pEdit->GetEditCtrl()->GetSafeHwnd();
    ASSERT_NE(nullptr, hBox);
    ::SetFocus(f.host.hView);
    f.pCommandBars->SetCustomizeMode(TRUE);
    ::SendMessageW(hBox, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(hBox, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(c.nDrags, pEdit->nDrags);
    EXPECT_EQ(c.bFocus, ::GetFocus() == hBox);
    f.pCommandBars->SetCustomizeMode(FALSE);
  }
}

// A control that goes while its box has the focus gives the mouse back: the
// bar's hot tracking follows the mouse again.
TEST(EditControlOnABar, DestroyedWhileTypingLeavesHotTrackingAlive) {
  ToolBarFixture f;
  auto *pLoose = new CXTPControlEdit;
  pLoose->SetParent(f.pBar);
  pLoose->SetRect(CRect(300, 2, 400, 24));
  HWND hBox = pLoose->GetEditCtrl()->GetSafeHwnd();
  ASSERT_NE(nullptr, hBox);
  ::SetFocus(f.host.hView);
  pLoose->SetFocus();
  Pump();
  ASSERT_EQ(hBox, ::GetFocus());
  ASSERT_TRUE(IsMouseLocked());
  pLoose->InternalRelease();
  EXPECT_FALSE(::IsWindow(hBox));
  EXPECT_FALSE(IsMouseLocked());

  CXTPControl *pView = f.pBar->GetControl(1);
  const CPoint pt = pView->GetRect().CenterPoint();
  ::SendMessageW(f.pBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(pView, f.pBar->GetSelected()) << "the control under the mouse is hot";
}

// --- In a menu ----------------------------------------------------------------

TEST(EditControlInAMenu, TypedKeysGoIntoTheBoxAndEscLeavesTheMenuOpen) {
  Host host;
  ASSERT_TRUE(host.Create());
  CXTPCommandBars commandBars;
  commandBars.SetSite(&host);
  commandBars.SetPaintManager(new CXTPDefaultTheme);
  commandBars.GetCommandBarsOptions()->animationType = xtpAnimateNone;
  MessageSite owner;
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(&commandBars);
  pPopup->SetOwnerWindow(owner.GetHwnd());
  pPopup->GetControls()->Add(xtpControlButton, ID_FILE)->SetCaption(L"&File");
  auto *pEdit = static_cast<CXTPControlEdit *>(pPopup->GetControls()->Add(xtpControlEdit, ID_FIND));
  pEdit->SetCaption(L"Find");
  for (int i = 0; i < pPopup->GetControls()->GetCount(); i++)
    pPopup->GetControl(i)->SetFlags(pPopup->GetControl(i)->GetFlags() | xtpFlagManualUpdate);

  ::SetFocus(host.hView);
  ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
  Pump();
  HWND hBox = pEdit->GetEditCtrl() ? pEdit->GetEditCtrl()->GetSafeHwnd() : nullptr;
  ASSERT_NE(nullptr, hBox);
  EXPECT_EQ(pPopup->GetSafeHwnd(), ::GetParent(hBox));
  EXPECT_TRUE(::IsWindowVisible(hBox));
  EXPECT_GT(pEdit->GetLabelWidth(), 0) << "a menu's box has its caption in front";

  pEdit->OnClick(FALSE, pEdit->GetRect().CenterPoint());
  Pump();
  ASSERT_EQ(hBox, ::GetFocus());
  EXPECT_TRUE(IsMouseLocked());
  Type("FIND");
  EXPECT_STREQ(L"find", pEdit->GetEditText());
  EXPECT_TRUE(Commands(owner, 0).empty()) << "F is the menu's mnemonic";
  EXPECT_NE(nullptr, pPopup->GetSafeHwnd());

  Key(VK_ESCAPE);
  EXPECT_EQ(host.hView, ::GetFocus());
  EXPECT_FALSE(IsMouseLocked());
  EXPECT_NE(nullptr, pPopup->GetSafeHwnd()) << "the menu stays open";
  EXPECT_TRUE(pPopup->IsTrackingMode());

  // The menu closed while the box has the keys: hot tracking comes back, and
  // the box with its text comes back with the menu.
  pEdit->SetFocus();
  Pump();
  ASSERT_EQ(hBox, ::GetFocus());
  Type("ER");
  pPopup->SetTrackingMode(0);
  Pump();
  EXPECT_EQ(nullptr, pPopup->GetSafeHwnd());
  EXPECT_FALSE(IsMouseLocked());
  EXPECT_STREQ(L"er", pEdit->GetEditText());
  ASSERT_TRUE(pPopup->Popup(100, 100, nullptr));
  Pump();
  ASSERT_NE(nullptr, pEdit->GetEditCtrl()->GetSafeHwnd());
  EXPECT_EQ(pPopup->GetSafeHwnd(), ::GetParent(pEdit->GetEditCtrl()->GetSafeHwnd()));
  EXPECT_TRUE(::IsWindowVisible(pEdit->GetEditCtrl()->GetSafeHwnd()));
  EXPECT_STREQ(L"er", pEdit->GetEditText());

  pPopup->SetTrackingMode(0);
  pPopup->InternalRelease();
  host.DestroyWindow();
  Pump();
}

} // namespace
