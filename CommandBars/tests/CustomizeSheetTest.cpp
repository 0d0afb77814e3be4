// The customise sheet on a frame with two toolbars: customise mode while it
// is open, the context menu's commands and their states, the picture grid,
// button images through the clipboard, the Commands page's drag onto a bar
// and the Toolbars page's list and buttons.
//
// The sheet is made without showing or activating it; drags and the context
// menu take their messages from a feed, so no cursor moves and no key is
// typed.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "CheckListBox.h"
#include "CommandBarsTestSupport.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControlComboBox.h"
#include "XTPControlCustom.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPCustomizeCommandsPage.h"
#include "XTPCustomizeTools.h"
#include "XTPCustomizeSheet.h"
#include "XTPCustomizeToolbarsPage.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"
#include "XTPResource.h"
#include "XTPToolBar.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310;
constexpr UINT kMsgControlNotify = 0x52D;

std::deque<MSG> g_feed;

BOOL FeedMessage(MSG *pMsg) {
  if (g_feed.empty()) {
    *pMsg = MSG{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    return TRUE;
  }
  *pMsg = g_feed.front();
  g_feed.pop_front();
  return TRUE;
}

using cbtest::AnsweringApp;

// A frame that records the commands that reach it.
class RecordingFrame : public CXTPFrameWnd {
public:
  std::vector<std::pair<UINT, WPARAM>> m_received;
  LRESULT m_nNotifyAnswer = 0;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kMsgControlNotify) {
      m_received.push_back({message, wParam});
      return m_nNotifyAnswer;
    }
    if (message == WM_COMMAND && LOWORD(wParam) >= 40000) {
      m_received.push_back({message, wParam});
      return 0;
    }
    return CXTPFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// The sheet made hidden: its template loses WS_VISIBLE before the system
// creates it, and is disabled while it is made, so the focus its pages take
// does not activate it.
class QuietSheet : public CXTPCustomizeSheet {
public:
  using CXTPCustomizeSheet::CXTPCustomizeSheet;
  BOOL CreateHidden(CWnd *pParent) {
    m_psh.dwFlags |= PSH_USECALLBACK;
    m_psh.pfnCallback = &PreCreate;
    if (!Create(pParent)) return FALSE;
    EnableWindow(TRUE);
    return TRUE;
  }
  using CXTPCustomizeSheet::OpenImageEditor;
  std::function<BOOL(const CXTPIconHandle &, CSize, CXTPIconHandle &)> m_editor;
  HBITMAP m_hGivenBitmap = nullptr;
  // The system commands that reached the sheet.
  std::vector<WPARAM> m_systemCommands;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SYSCOMMAND) m_systemCommands.push_back(wParam & 0xFFF0);
    return CXTPCustomizeSheet::WindowProc(message, wParam, lParam);
  }
  HBITMAP MakeClipboardBitmap(CXTPImageManagerIcon *pImage, BOOL &bAlpha) override {
    m_hGivenBitmap = CXTPCustomizeSheet::MakeClipboardBitmap(pImage, bAlpha);
    return m_hGivenBitmap;
  }
  BOOL OpenImageEditor(const CXTPIconHandle &hIcon, CSize szIcon, CXTPIconHandle &hResult) override {
    return m_editor ? m_editor(hIcon, szIcon, hResult) : FALSE;
  }

private:
  static int CALLBACK PreCreate(HWND, UINT uMsg, LPARAM lParam) {
    if (uMsg != PSCB_PRECREATE || lParam == 0) return 0;
    auto *pWords = reinterpret_cast<WORD *>(lParam);
    // An extended template keeps its style after version, signature, help
    // id and extended style.
    DWORD *pStyle =
        pWords[1] == 0xFFFF ? reinterpret_cast<DWORD *>(pWords + 6) : reinterpret_cast<DWORD *>(pWords);
    *pStyle = (*pStyle & ~WS_VISIBLE) | WS_DISABLED;
    return 0;
  }
};

// Records what an update handler decides.
class RecordingCmdUI : public CCmdUI {
public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    m_bEnabled = bOn;
  }
  void SetCheck(int nCheck) override { m_nCheck = nCheck; }
  BOOL m_bEnabled = -1;
  int m_nCheck = -1;
};

// A 16 x 16 icon: a red square in the middle of a transparent ground.
HICON MakeTestIcon(COLORREF clr = RGB(255, 0, 0)) {
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, 16, 16);
  HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  ::ReleaseDC(nullptr, hScreen);
  RECT rcAll = {0, 0, 16, 16}, rcInner = {4, 4, 12, 12};
  HGDIOBJ hOld = ::SelectObject(hDC, hColor);
  ::FillRect(hDC, &rcAll, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  ::FillRect(hDC, &rcInner, hBrush);
  ::DeleteObject(hBrush);
  ::SelectObject(hDC, hMask);
  ::FillRect(hDC, &rcAll, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::FillRect(hDC, &rcInner, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  ICONINFO info = {TRUE, 0, 0, hMask, hColor};
  HICON hIcon = ::CreateIconIndirect(&info);
  ::DeleteObject(hColor);
  ::DeleteObject(hMask);
  return hIcon;
}

using cbtest::ImagePixel;

COLORREF BitmapPixel(HBITMAP hBitmap, int x, int y) {
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  const COLORREF clr = ::GetPixel(hDC, x, y);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  return clr;
}

class CustomizeSheet : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new RecordingFrame;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pBars->SetMenu(L"Menu Bar", kMenuId);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    ASSERT_TRUE(pStandard->LoadToolBar(kStandardId));
    pSecond = pBars->Add(L"Second", xtpBarTop);
    ASSERT_TRUE(pSecond->LoadToolBar(kSecondId));
    pFrame->SetWindowPos(nullptr, 20, 20, 640, 400, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    g_feed.clear();
  }
  void TearDown() override {
    CXTPCustomizeDragTool::SetGetMessageFunction(nullptr);
    CXTPCommandBars::SetGetMessageFunction(nullptr);
    if (pSheet) {
      if (pSheet->GetSafeHwnd()) pSheet->DestroyWindow();
      delete pSheet;
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    pFrame->DestroyWindow();
  }
  // The sheet open on a page (0 Toolbars, 1 Commands).
  void OpenSheet(int nPage = 0) {
    pSheet = new QuietSheet(pBars, pFrame);
    pSheet->SetActivePage(nPage);
    ASSERT_TRUE(pSheet->CreateHidden(pFrame));
  }
  CXTPControl *Control(CXTPToolBar *pBar, int nID) {
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetID() == nID) return pBar->GetControl(i);
    return nullptr;
  }
  std::vector<int> Ids(CXTPToolBar *pBar) {
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetID() < 1000) ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
  }
  struct UpdateResult {
    BOOL m_bEnabled;
    int m_nCheck;
  };
  UpdateResult Update(UINT nID) {
    RecordingCmdUI ui;
    ui.m_nID = nID;
    EXPECT_TRUE(pSheet->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, nullptr)) << nID;
    return {ui.m_bEnabled, ui.m_nCheck};
  }
  void Feed(UINT message, WPARAM wParam, CPoint ptScreen) {
    CPoint point = ptScreen;
    pFrame->ScreenToClient(&point);
    g_feed.push_back(MSG{pFrame->GetSafeHwnd(), message, wParam, MAKELPARAM(point.x, point.y), 0, {0, 0}});
  }
  CPoint At(CXTPToolBar *pBar, int nID) {
    CXTPControl *pControl = Control(pBar, nID);
    if (pControl == nullptr) return CPoint(0, 0);
    CRect rc = pControl->GetRect();
    CPoint point(rc.left + 2, rc.CenterPoint().y);
    pBar->ClientToScreen(&point);
    return point;
  }

  RecordingFrame *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
  QuietSheet *pSheet = nullptr;
};

TEST_F(CustomizeSheet, TheBarsAreInCustomiseModeWhileTheSheetIsOpen) {
  const HWND hWndActive = ::GetActiveWindow();
  EXPECT_FALSE(pBars->IsCustomizeMode());
  OpenSheet();
  EXPECT_TRUE(pBars->IsCustomizeMode());
  EXPECT_EQ(pBars->GetCustomizeSheetHwnd(), pSheet->GetSafeHwnd());
  EXPECT_EQ(CString(L"Customize"), [&] {
    CString strTitle;
    pSheet->GetWindowText(strTitle);
    return strTitle;
  }());
  EXPECT_EQ(::GetActiveWindow(), hWndActive);
  pSheet->DestroyWindow();
  EXPECT_FALSE(pBars->IsCustomizeMode());
  EXPECT_EQ(pBars->GetCustomizeSheetHwnd(), nullptr);
}

TEST_F(CustomizeSheet, TheMenuHasANameBoxAndAPictureGrid) {
  OpenSheet();
  CXTPPopupBar *pMenu = pSheet->GetCustomizeMenu();
  ASSERT_NE(pMenu, nullptr);
  EXPECT_EQ(pMenu, pSheet->GetCustomizeMenu());
  auto *pName = dynamic_cast<CXTPControlEdit *>(pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_NAME));
  ASSERT_NE(pName, nullptr);
  EXPECT_TRUE(pName->GetShowLabel());
  auto *pChange =
      dynamic_cast<CXTPControlPopup *>(pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE));
  ASSERT_NE(pChange, nullptr);
  auto *pGrid = static_cast<CXTPPopupBar *>(pChange->GetCommandBar());
  ASSERT_NE(pGrid, nullptr);
  EXPECT_EQ(0, pGrid->GetControlCount());
  // The grid fills when it opens: one picture for each of the sheet's own
  // pictures, numbered from 1, left alone by the update handlers.
  pSheet->SendMessage(XTP_TBN_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(pGrid));
  const int nCount = static_cast<int>(pSheet->GetPictures()->GetImages().size());
  ASSERT_GT(nCount, 8);
  ASSERT_EQ(nCount, pGrid->GetControlCount());
  for (int i = 0; i < nCount; i++) {
    CXTPControl *pButton = pGrid->GetControl(i);
    EXPECT_EQ(i + 1, pButton->GetIconId());
    EXPECT_EQ(static_cast<int>(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE), pButton->GetID());
    EXPECT_NE(0u, pButton->GetFlags() & 8);
    EXPECT_NE(pButton->GetImage(16), nullptr) << i;
  }
  // A second opening leaves the grid as it is.
  pSheet->SendMessage(XTP_TBN_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(pGrid));
  EXPECT_EQ(nCount, pGrid->GetControlCount());
  // Square cells in as many columns as the square root says.
  const CSize size = pGrid->CalcDynamicLayout(0, 0);
  const int nColumns = CXTPCustomizeSheet::PictureColumns(nCount);
  const CRect rcFirst = pGrid->GetControl(0)->GetRect();
  EXPECT_EQ(rcFirst.top, pGrid->GetControl(nColumns - 1)->GetRect().top);
  EXPECT_GT(pGrid->GetControl(nColumns)->GetRect().top, rcFirst.top);
  EXPECT_GE(size.cx, nColumns * rcFirst.Width());
}

// A system key pressed in the sheet acts on the sheet window itself: Alt+F4
// asks it to close, whether the key reaches the sheet directly or through
// the message loop from one of its controls.
TEST_F(CustomizeSheet, SystemKeysActOnTheSheetItself) {
  OpenSheet();
  constexpr LPARAM kAltF4 = 0x203E0001; // Alt held, scan code 0x3E
  const HWND hWndSheet = pSheet->GetSafeHwnd();
  const HWND hWndControl = ::GetWindow(::GetWindow(hWndSheet, GW_CHILD), GW_HWNDLAST);
  ASSERT_NE(hWndControl, nullptr);
  for (HWND hWndTarget : {hWndSheet, hWndControl}) {
    pSheet->m_systemCommands.clear();
    MSG msg = {hWndTarget, WM_SYSKEYDOWN, VK_F4, kAltF4, 0, {0, 0}};
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    MSG queued;
    while (::PeekMessageW(&queued, hWndSheet, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE))
      ::DispatchMessageW(&queued);
    EXPECT_EQ(std::vector<WPARAM>{SC_CLOSE}, pSheet->m_systemCommands) << (hWndTarget == hWndSheet);
  }
}

TEST_F(CustomizeSheet, PictureGridColumns) {
  const struct {
    int nCount, nColumns;
  } cases[] = {{0, 1}, {1, 1}, {3, 1}, {4, 2}, {8, 2}, {9, 3}, {10, 3}, {15, 3}, {16, 4}, {36, 6}};
  for (const auto &c : cases) EXPECT_EQ(c.nColumns, CXTPCustomizeSheet::PictureColumns(c.nCount)) << c.nCount;
}

TEST_F(CustomizeSheet, AnEmptyPictureSetGivesAnEmptyGridOfOneColumn) {
  OpenSheet();
  pSheet->SetPictures(new CXTPImageManager);
  auto *pChange = static_cast<CXTPControlPopup *>(
      pSheet->GetCustomizeMenu()->GetControls()->FindControl(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE));
  auto *pGrid = static_cast<CXTPPopupBar *>(pChange->GetCommandBar());
  pSheet->FillPictureGrid(pGrid);
  EXPECT_EQ(0, pGrid->GetControlCount());
  const CSize size = pGrid->CalcDynamicLayout(0, 0);
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
}

TEST_F(CustomizeSheet, APictureBecomesTheControlsImageOnlyFromASetOfOneWidth) {
  OpenSheet();
  auto *pPictures = new CXTPImageManager;
  CXTPIconHandle hRed, hGreen, hWide;
  hRed.SetIcon(MakeTestIcon(RGB(255, 0, 0)));
  hGreen.SetIcon(MakeTestIcon(RGB(0, 255, 0)));
  hWide.SetIcon(static_cast<HICON>(::CopyImage(hGreen.GetIcon(), IMAGE_ICON, 24, 24, 0)));
  pPictures->SetIcon(hRed, 1);
  pPictures->SetIcon(hGreen, 2);
  pPictures->SetIcon(hWide, 2, CSize(24, 24));
  ASSERT_EQ(2u, pPictures->GetIconSet(2)->GetIcons().size());
  pSheet->SetPictures(pPictures);

  CXTPControl *pControl = Control(pStandard, 302);
  pBars->SetDragControl(pControl);
  struct Case {
    const char *name;
    UINT nPicture;
    BOOL bApplied;
  };
  const Case cases[] = {{"absent", 7, FALSE}, {"two widths", 2, FALSE}, {"one width", 1, TRUE}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    pControl->SetCustomIconId(0);
    EXPECT_EQ(c.bApplied, pSheet->ApplyPicture(c.nPicture));
    if (!c.bApplied) {
      EXPECT_EQ(0, pControl->GetCustomIconId());
      continue;
    }
    ASSERT_GT(pControl->GetCustomIconId(), 0);
    CXTPImageManagerIcon *pImage = pBars->GetImageManager()->GetImage(pControl->GetCustomIconId(), 16);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(RGB(255, 0, 0), ImagePixel(pImage, 8, 8));
    EXPECT_EQ(RGB(255, 255, 255), ImagePixel(pImage, 1, 1));
  }
  // A picture of the grid chosen reaches the sheet as the command it carries.
  pControl->SetCustomIconId(0);
  auto *pButton = new CXTPCustomizeButton(pPictures);
  pButton->SetID(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
  pButton->SetIconId(1);
  NMXTPCONTROL notify = {{nullptr, XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE, 100}, pButton};
  EXPECT_TRUE(pSheet->SendMessage(kMsgControlNotify, XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE,
                                  reinterpret_cast<LPARAM>(&notify)));
  EXPECT_GT(pControl->GetCustomIconId(), 0);
  pButton->InternalRelease();
}

TEST_F(CustomizeSheet, TheMenuCommandsActOnTheSelectedControl) {
  OpenSheet();
  CXTPControl *p301 = Control(pStandard, 301);
  CXTPControl *p302 = Control(pStandard, 302);
  ASSERT_TRUE(p301 && p302);

  // Nothing selected: the commands do nothing and the styles are off.
  pBars->SetDragControl(nullptr);
  EXPECT_FALSE(pSheet->DeleteControl());
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_DEFAULTSTYLE).m_bEnabled);
  EXPECT_EQ(0, Update(XTP_ID_CUSTOMIZE_DEFAULTSTYLE).m_nCheck);

  pBars->SetDragControl(p302);
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE).m_bEnabled);
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE).m_bEnabled);

  // The styles, each ticked alone.
  const struct {
    UINT nCommand;
    int nStyle;
  } styles[] = {
      {XTP_ID_CUSTOMIZE_TEXTONLY, 1}, {XTP_ID_CUSTOMIZE_IMAGEANDTEXT, 3}, {XTP_ID_CUSTOMIZE_DEFAULTSTYLE, 0}};
  for (const auto &s : styles) {
    pSheet->SendMessage(WM_COMMAND, s.nCommand, 0);
    EXPECT_EQ(s.nStyle, p302->GetStyle());
    for (const auto &other : styles) {
      UpdateResult ui = Update(other.nCommand);
      EXPECT_TRUE(ui.m_bEnabled);
      EXPECT_EQ(other.nCommand == s.nCommand ? 1 : 0, ui.m_nCheck) << s.nCommand << " " << other.nCommand;
    }
  }

  // Reset is offered once something was changed, and clears it all.
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_TEXTONLY, 0);
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_DEFAULTSTYLE, 0);
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);
  pSheet->RenameControl(L"Renamed");
  EXPECT_EQ(CString(L"Renamed"), p302->GetCaption());
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_RESET, 0);
  EXPECT_TRUE(p302->GetCustomCaption().IsEmpty());
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_RESET).m_bEnabled);

  // A group begins anywhere but at the first control.
  pBars->SetDragControl(p301);
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_BEGINAGROUP).m_bEnabled);
  EXPECT_FALSE(pSheet->ToggleBeginGroup());
  pBars->SetDragControl(p302);
  const BOOL bGroup = p302->GetBeginGroup();
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_BEGINAGROUP).m_bEnabled);
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_BEGINAGROUP, 0);
  EXPECT_EQ(!bGroup, p302->GetBeginGroup());
  EXPECT_EQ(!bGroup ? 1 : 0, Update(XTP_ID_CUSTOMIZE_BEGINAGROUP).m_nCheck);

  // The name box is given the control's caption, and its text renames it.
  CXTPPopupBar *pMenu = pSheet->GetCustomizeMenu();
  auto *pName = dynamic_cast<CXTPControlEdit *>(pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_NAME));
  ASSERT_NE(pName, nullptr);
  Update(XTP_ID_CUSTOMIZE_NAME);
  EXPECT_EQ(p302->GetCaption(), pName->GetEditText());
  pName->SetEditText(L"&Given");
  NMXTPCONTROL notify = {{nullptr, XTP_ID_CUSTOMIZE_NAME, 100}, pName};
  pSheet->SendMessage(kMsgControlNotify, XTP_ID_CUSTOMIZE_NAME, reinterpret_cast<LPARAM>(&notify));
  EXPECT_EQ(CString(L"&Given"), p302->GetCustomCaption());

  // Delete takes the control off its bar and clears the selection.
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_DELETE, 0);
  EXPECT_EQ((std::vector<int>{301, 303}), Ids(pStandard));
  EXPECT_EQ(pBars->GetDragControl(), nullptr);
}

TEST_F(CustomizeSheet, AnApplicationsCommandInTheMenuReachesTheSite) {
  OpenSheet();
  struct Case {
    LRESULT nSiteAnswer;
    std::vector<UINT> messages;
  };
  const Case cases[] = {{1, {kMsgControlNotify}}, {0, {kMsgControlNotify, WM_COMMAND}}};
  for (const Case &c : cases) {
    pFrame->m_received.clear();
    pFrame->m_nNotifyAnswer = c.nSiteAnswer;
    NMXTPCONTROL notify = {{nullptr, 40001, 100}, nullptr};
    pSheet->SendMessage(kMsgControlNotify, 40001, reinterpret_cast<LPARAM>(&notify));
    std::vector<UINT> messages;
    for (const auto &m : pFrame->m_received) {
      messages.push_back(m.first);
      EXPECT_EQ(40001u, LOWORD(m.second));
    }
    EXPECT_EQ(c.messages, messages);
  }
  // The menu's own commands are the sheet's: the site hears nothing.
  pFrame->m_received.clear();
  NMXTPCONTROL notify = {{nullptr, XTP_ID_CUSTOMIZE_RESET, 100}, nullptr};
  EXPECT_EQ(
      0, pSheet->SendMessage(kMsgControlNotify, XTP_ID_CUSTOMIZE_RESET, reinterpret_cast<LPARAM>(&notify)));
  EXPECT_TRUE(pFrame->m_received.empty());
}

TEST_F(CustomizeSheet, ARightClickOnAControlOpensTheMenuForIt) {
  OpenSheet();
  CXTPPopupBar *pMenu = pSheet->GetCustomizeMenu();
  static CXTPPopupBar *s_pMenu;
  static BOOL s_bShown;
  static int s_nPopupFlags;
  s_pMenu = pMenu;
  s_bShown = FALSE;
  CXTPCommandBars::SetGetMessageFunction([](MSG *pMsg) -> BOOL {
    s_bShown = s_pMenu->GetSafeHwnd() && ::IsWindowVisible(s_pMenu->GetSafeHwnd());
    s_nPopupFlags = s_pMenu->GetPopupFlags();
    s_pMenu->OnTrackLost();
    *pMsg = MSG{nullptr, WM_NULL, 0, 0, 0, {0, 0}};
    return TRUE;
  });
  CXTPControl *p303 = Control(pStandard, 303);
  CPoint point = p303->GetRect().CenterPoint();
  pStandard->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  EXPECT_TRUE(s_bShown);
  EXPECT_EQ(pBars->GetDragControl(), p303);
  EXPECT_FALSE(pMenu->IsTrackingMode());
  EXPECT_EQ(0, s_nPopupFlags & xtpPopupLeft);

  // A site laid out right to left gets the menu right-aligned at the point.
  pFrame->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
  s_bShown = FALSE;
  pSheet->ContextMenu(200, 200);
  pFrame->ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
  EXPECT_TRUE(s_bShown);
  EXPECT_NE(0, s_nPopupFlags & xtpPopupLeft);
}

// A custom control hosting a window is offered the button's commands: its
// styles, and copying, editing and changing its button image. Each round
// right-clicks it, notes the menu's states while it is open and clicks one
// item of the menu.
TEST_F(CustomizeSheet, ACustomControlTakesTheButtonsCommandsFromTheMenu) {
  CXTPImageManager *pImages = pBars->GetImageManager();
  CXTPIconHandle hIcon;
  hIcon.SetIcon(MakeTestIcon());
  pImages->SetIcon(hIcon, 302);
  const HWND hWndHosted =
      ::CreateWindowExW(0, L"STATIC", L"hosted", WS_CHILD | WS_VISIBLE, 0, 0, 60, 18, pFrame->GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(4321)), nullptr, nullptr);
  ASSERT_NE(hWndHosted, nullptr);
  auto *pCustom = static_cast<CXTPControlCustom *>(pStandard->GetControls()->Add(xtpControlCustom, 302));
  ASSERT_NE(pCustom, nullptr);
  pCustom->SetControl(hWndHosted);
  pFrame->RecalcLayout();
  OpenSheet();
  ASSERT_TRUE(pCustom->HasWindow());
  ASSERT_TRUE(::IsWindowVisible(hWndHosted));

  struct State {
    BOOL bEnabled;
    BOOL bChecked;
  };
  static const UINT kItems[] = {XTP_ID_CUSTOMIZE_DEFAULTSTYLE,    XTP_ID_CUSTOMIZE_TEXTONLY,
                                XTP_ID_CUSTOMIZE_IMAGEANDTEXT,    XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE,
                                XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE};
  static std::vector<State> s_states;
  static std::deque<MSG> s_clicks;
  static CXTPPopupBar *s_pMenu;
  static UINT s_nClick;
  s_pMenu = pSheet->GetCustomizeMenu();
  CXTPCommandBars::SetGetMessageFunction([](MSG *pMsg) -> BOOL {
    *pMsg = MSG{nullptr, WM_NULL, 0, 0, 0, {0, 0}};
    if (s_states.empty()) {
      for (UINT nID : kItems) {
        CXTPControl *pItem = s_pMenu->GetControls()->FindControl(nID);
        s_states.push_back(pItem ? State{pItem->GetEnabled(), pItem->GetChecked()} : State{-1, -1});
      }
      // A click on the item, where it lies in the open menu.
      if (CXTPControl *pItem = s_pMenu->GetControls()->FindControl(s_nClick)) {
        const CPoint pt = pItem->GetRect().CenterPoint();
        const HWND hWndMenu = s_pMenu->GetSafeHwnd();
        s_clicks.push_back(MSG{hWndMenu, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, {0, 0}});
        s_clicks.push_back(MSG{hWndMenu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y), 0, {0, 0}});
        s_clicks.push_back(MSG{hWndMenu, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y), 0, {0, 0}});
      }
    }
    if (!s_clicks.empty()) {
      *pMsg = s_clicks.front();
      s_clicks.pop_front();
    } else if (s_pMenu->IsTrackingMode()) {
      s_pMenu->OnTrackLost();
    }
    return TRUE;
  });
  // The menu for the control as the selected one (its own flag keeps a
  // right click from selecting it), or by a right click on it once the
  // application lets it be moved.
  auto openMenu = [&](UINT nClick, BOOL bRightClick) {
    s_states.clear();
    s_clicks.clear();
    s_nClick = nClick;
    const CPoint point = pCustom->GetRect().CenterPoint();
    if (bRightClick) {
      pBars->SetDragControl(nullptr);
      pStandard->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
    } else {
      pBars->SetDragControl(pCustom);
      CPoint ptScreen = point;
      pStandard->ClientToScreen(&ptScreen);
      pSheet->ContextMenu(ptScreen.x, ptScreen.y);
    }
    EXPECT_EQ(pBars->GetDragControl(), pCustom);
    EXPECT_FALSE(s_pMenu->IsTrackingMode());
  };

  // Text Only clicked: the control takes the style.
  openMenu(XTP_ID_CUSTOMIZE_TEXTONLY, FALSE);
  ASSERT_EQ(std::size(kItems), s_states.size());
  for (size_t i = 0; i < s_states.size(); i++) EXPECT_TRUE(s_states[i].bEnabled) << kItems[i];
  EXPECT_TRUE(s_states[0].bChecked);
  EXPECT_EQ(1, pCustom->GetStyle());

  // The tick follows the style; Copy Button Image puts the control's image
  // on the clipboard.
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  openMenu(XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, FALSE);
  ASSERT_EQ(std::size(kItems), s_states.size());
  EXPECT_FALSE(s_states[0].bChecked);
  EXPECT_TRUE(s_states[1].bChecked);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  auto hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  const COLORREF clrCopied = hBitmap ? BitmapPixel(hBitmap, 8, 8) : CLR_INVALID;
  ::EmptyClipboard();
  ::CloseClipboard();
  EXPECT_EQ(RGB(255, 0, 0), clrCopied);

  // Image and Text clicked, the menu opened by a right click.
  pCustom->SetFlags(pCustom->GetFlags() & ~static_cast<DWORD>(xtpFlagNoMovable));
  openMenu(XTP_ID_CUSTOMIZE_IMAGEANDTEXT, TRUE);
  ASSERT_EQ(std::size(kItems), s_states.size());
  EXPECT_TRUE(s_states[2].bEnabled);
  EXPECT_EQ(3, pCustom->GetStyle());
  pStandard->GetControls()->Remove(pCustom);
  ::DestroyWindow(hWndHosted);
}

TEST_F(CustomizeSheet, ANameTypedInTheMenuRenamesTheControl) {
  OpenSheet();
  static CXTPPopupBar *s_pMenu;
  static BOOL s_bTyped;
  s_pMenu = pSheet->GetCustomizeMenu();
  s_bTyped = FALSE;
  // While the menu is open: a name typed into its box, then Enter.
  CXTPCommandBars::SetGetMessageFunction([](MSG *pMsg) -> BOOL {
    auto *pName = dynamic_cast<CXTPControlEdit *>(s_pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_NAME));
    HWND hWndEdit = pName && pName->GetEditCtrl() ? pName->GetEditCtrl()->GetSafeHwnd() : nullptr;
    if (!s_bTyped && hWndEdit) {
      s_bTyped = TRUE;
      ::SetWindowTextW(hWndEdit, L"Typed");
      ::SendMessageW(hWndEdit, WM_KEYDOWN, VK_RETURN, 0);
    }
    if (s_pMenu->IsTrackingMode()) s_pMenu->OnTrackLost();
    *pMsg = MSG{nullptr, WM_NULL, 0, 0, 0, {0, 0}};
    return TRUE;
  });
  CXTPControl *p303 = Control(pStandard, 303);
  pBars->SetDragControl(p303);
  pSheet->ContextMenu(200, 200);
  EXPECT_TRUE(s_bTyped);
  EXPECT_EQ(CString(L"Typed"), p303->GetCustomCaption());
}

TEST_F(CustomizeSheet, ButtonImagesGoThroughTheClipboardAndBack) {
  OpenSheet();
  CXTPImageManager *pImages = pBars->GetImageManager();
  CXTPIconHandle hIcon;
  hIcon.SetIcon(MakeTestIcon());
  pImages->SetIcon(hIcon, 302);
  CXTPControl *p302 = Control(pStandard, 302), *p303 = Control(pStandard, 303);
  pBars->SetDragControl(p302);
  ASSERT_TRUE(pSheet->CopyButtonImage());

  // The bitmap handed over is the clipboard's now: it is not deleted.
  EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(pSheet->m_hGivenBitmap)));
  // The plain bitmap shows the transparent parts in the button face.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  auto hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  BITMAP bm = {};
  ASSERT_NE(hBitmap, nullptr);
  ASSERT_NE(0, ::GetObject(hBitmap, sizeof(bm), &bm));
  EXPECT_EQ(16, bm.bmWidth);
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), BitmapPixel(hBitmap, 1, 1));
  EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(hBitmap, 8, 8));
  EXPECT_TRUE(::IsClipboardFormatAvailable(XTPClipboardFormatToolBarImage()));
  ::CloseClipboard();
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE).m_bEnabled);

  // The toolkit's own format comes back first.
  pBars->SetDragControl(p303);
  ASSERT_TRUE(pSheet->PasteButtonImage());
  ASSERT_GT(p303->GetCustomIconId(), 0);
  CXTPImageManagerIcon *pPasted = pImages->GetImage(p303->GetCustomIconId(), 16);
  ASSERT_NE(pPasted, nullptr);
  EXPECT_EQ(RGB(255, 0, 0), ImagePixel(pPasted, 8, 8));
  EXPECT_EQ(RGB(255, 255, 255), ImagePixel(pPasted, 1, 1));
  EXPECT_TRUE(Update(XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE).m_bEnabled);
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, 0);
  EXPECT_EQ(0, p303->GetCustomIconId());

  // A plain bitmap alone (as another program leaves it): its button-face
  // pixels turn transparent.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(::GetClipboardData(CF_BITMAP), IMAGE_BITMAP, 0, 0, 0));
  ::EmptyClipboard();
  ASSERT_NE(::SetClipboardData(CF_BITMAP, hCopy), nullptr);
  ::CloseClipboard();
  ASSERT_TRUE(pSheet->PasteButtonImage());
  pPasted = pImages->GetImage(p303->GetCustomIconId(), 16);
  ASSERT_NE(pPasted, nullptr);
  EXPECT_EQ(RGB(255, 0, 0), ImagePixel(pPasted, 8, 8));
  EXPECT_EQ(RGB(255, 255, 255), ImagePixel(pPasted, 1, 1));
  // The clipboard's bitmap is left as it was.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE),
            BitmapPixel(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), 1, 1));
  ::EmptyClipboard();
  ::CloseClipboard();
  EXPECT_FALSE(Update(XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE).m_bEnabled);
  EXPECT_FALSE(pSheet->PasteButtonImage());
}

// A bitmap of the screen's format filled with one colour.
HBITMAP SolidBitmap(COLORREF clr) {
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 16, 16);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  RECT rc = {0, 0, 16, 16};
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  ::FillRect(hDC, &rc, hBrush);
  ::DeleteObject(hBrush);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  return hBitmap;
}

TEST_F(CustomizeSheet, TheToolkitsImageFormatWinsOverAPlainBitmap) {
  OpenSheet();
  CXTPImageManager *pImages = pBars->GetImageManager();
  CXTPIconHandle hIcon;
  hIcon.SetIcon(MakeTestIcon(RGB(255, 0, 0)));
  pImages->SetIcon(hIcon, 302);
  CXTPControl *p302 = Control(pStandard, 302), *p303 = Control(pStandard, 303);
  pBars->SetDragControl(p302);
  ASSERT_TRUE(pSheet->CopyButtonImage());
  // The toolkit's data of the red image beside a green bitmap.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE hData = ::GetClipboardData(XTPClipboardFormatToolBarImage());
  ASSERT_NE(hData, nullptr);
  const SIZE_T cb = ::GlobalSize(hData);
  HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, cb);
  memcpy(::GlobalLock(hCopy), ::GlobalLock(hData), cb);
  ::GlobalUnlock(hData);
  ::GlobalUnlock(hCopy);
  ::EmptyClipboard();
  ASSERT_NE(::SetClipboardData(XTPClipboardFormatToolBarImage(), hCopy), nullptr);
  ASSERT_NE(::SetClipboardData(CF_BITMAP, SolidBitmap(RGB(0, 255, 0))), nullptr);
  ::CloseClipboard();

  pBars->SetDragControl(p303);
  ASSERT_TRUE(pSheet->PasteButtonImage());
  CXTPImageManagerIcon *pPasted = pImages->GetImage(p303->GetCustomIconId(), 16);
  ASSERT_NE(pPasted, nullptr);
  EXPECT_EQ(RGB(255, 0, 0), ImagePixel(pPasted, 8, 8));

  // Damaged toolkit data gives nothing, and the bitmap beside it is not
  // taken instead.
  p303->SetCustomIconId(0);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL hBad = ::GlobalAlloc(GMEM_MOVEABLE, 4);
  memset(::GlobalLock(hBad), 0xFF, 4);
  ::GlobalUnlock(hBad);
  ASSERT_NE(::SetClipboardData(XTPClipboardFormatToolBarImage(), hBad), nullptr);
  ASSERT_NE(::SetClipboardData(CF_BITMAP, SolidBitmap(RGB(0, 255, 0))), nullptr);
  ::CloseClipboard();
  EXPECT_FALSE(pSheet->PasteButtonImage());
  EXPECT_EQ(0, p303->GetCustomIconId());
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST_F(CustomizeSheet, AnAlphaImageIsMarkedOnTheClipboard) {
  OpenSheet();
  // A 16 x 16 alpha image: opaque blue in the middle, clear around it.
  BITMAPINFO bmi = {};
  bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void *pBits = nullptr;
  HBITMAP hAlpha = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  ASSERT_NE(hAlpha, nullptr);
  auto *pPixels = static_cast<DWORD *>(pBits);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++)
      pPixels[y * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0xFF0000FF : 0;
  CXTPIconHandle hIcon;
  hIcon.SetAlphaBitmap(hAlpha);
  ::DeleteObject(hAlpha);
  CXTPImageManager *pImages = pBars->GetImageManager();
  pImages->SetIcon(hIcon, 302);
  ASSERT_TRUE(pImages->GetImage(302, 16)->IsAlpha());
  pBars->SetDragControl(Control(pStandard, 302));
  ASSERT_TRUE(pSheet->CopyButtonImage());
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_TRUE(::IsClipboardFormatAvailable(XTPClipboardFormatAlphaBitmap()));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_TRUE(::IsClipboardFormatAvailable(XTPClipboardFormatToolBarImage()));
  ::CloseClipboard();
  CXTPControl *p303 = Control(pStandard, 303);
  pBars->SetDragControl(p303);
  ASSERT_TRUE(pSheet->PasteButtonImage());
  CXTPImageManagerIcon *pPasted = pImages->GetImage(p303->GetCustomIconId(), 16);
  ASSERT_NE(pPasted, nullptr);
  EXPECT_TRUE(pPasted->IsAlpha());
  EXPECT_EQ(RGB(0, 0, 255), ImagePixel(pPasted, 8, 8));
  EXPECT_EQ(RGB(255, 255, 255), ImagePixel(pPasted, 1, 1));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST_F(CustomizeSheet, TheImageEditorsResultBecomesTheCustomImage) {
  OpenSheet();
  CXTPControl *p302 = Control(pStandard, 302);
  pBars->SetDragControl(p302);
  // Without an editor nothing changes.
  EXPECT_FALSE(pSheet->EditButtonImage());
  EXPECT_EQ(0, p302->GetCustomIconId());

  CSize szAsked;
  BOOL bHadImage = FALSE;
  COLORREF clr = RGB(0, 0, 255);
  pSheet->m_editor = [&](const CXTPIconHandle &hIcon, CSize szIcon, CXTPIconHandle &hResult) {
    szAsked = szIcon;
    bHadImage = !hIcon.IsEmpty();
    hResult.SetIcon(MakeTestIcon(clr));
    return TRUE;
  };
  ASSERT_TRUE(pSheet->EditButtonImage());
  EXPECT_EQ(CSize(16, 16), szAsked);
  EXPECT_TRUE(bHadImage);
  const int nCustom = p302->GetCustomIconId();
  ASSERT_GT(nCustom, 0);
  EXPECT_EQ(RGB(0, 0, 255), ImagePixel(pBars->GetImageManager()->GetImage(nCustom, 16), 8, 8));
  // A second edit replaces the same custom image.
  clr = RGB(0, 128, 0);
  ASSERT_TRUE(pSheet->EditButtonImage());
  EXPECT_EQ(nCustom, p302->GetCustomIconId());
  EXPECT_EQ(RGB(0, 128, 0), ImagePixel(pBars->GetImageManager()->GetImage(nCustom, 16), 8, 8));
}

TEST_F(CustomizeSheet, ACommandDraggedFromTheListLandsOnABarAsACopy) {
  CXTPCustomizeDragTool::SetGetMessageFunction(&FeedMessage);
  pSheet = new QuietSheet(pBars, pFrame);
  CXTPCustomizeCommandsPage *pPage = pSheet->GetCommandsPage();
  ASSERT_TRUE(pPage->AddCategory(L"Standard", pStandard));
  ASSERT_TRUE(pPage->AddCategory(L"Second", pSecond));
  EXPECT_EQ(nullptr, pPage->GetCategoryInfo(2));
  EXPECT_EQ(nullptr, pPage->GetCategoryInfo(-1));
  pSheet->SetActivePage(1);
  ASSERT_TRUE(pSheet->CreateHidden(pFrame));
  ASSERT_NE(pPage->GetSafeHwnd(), nullptr);

  CListBox &categories = pPage->GetCategoryList();
  CXTPCustomizeCommandsListBox &commands = pPage->GetCommandList();
  ASSERT_EQ(2, categories.GetCount());
  EXPECT_EQ(0, categories.GetCurSel());
  ASSERT_EQ(3, commands.GetCount());
  EXPECT_EQ(301, commands.GetItemControl(0)->GetID());
  EXPECT_GE(commands.GetItemHeight(0), 18);
  // Another category, another list.
  categories.SetCurSel(1);
  pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_CATEGORIES, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(categories.GetSafeHwnd()));
  ASSERT_EQ(3, commands.GetCount());
  EXPECT_EQ(312, commands.GetItemControl(1)->GetID());

  // Pressed on its row, 312 is dragged onto Standard before 302.
  CRect rcRow;
  commands.GetItemRect(1, &rcRow);
  Feed(WM_MOUSEMOVE, MK_LBUTTON, At(pStandard, 302));
  Feed(WM_LBUTTONUP, 0, At(pStandard, 302));
  commands.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcRow.left + 4, rcRow.CenterPoint().y));
  EXPECT_EQ(xtpDropMove, pPage->GetLastDropEffect());
  EXPECT_EQ((std::vector<int>{301, 312, 302, 303}), Ids(pStandard));
  EXPECT_EQ((std::vector<int>{311, 312, 313}), Ids(pSecond));
  EXPECT_EQ(1, commands.GetCurSel());
  ASSERT_EQ(3, commands.GetCount());
  EXPECT_EQ(312, commands.GetItemControl(1)->GetID());
  EXPECT_EQ(3, pPage->GetCategoryInfo(1)->pControls->GetCount());
  EXPECT_EQ(::GetCapture(), nullptr);
  // The copy on the bar is the one selected for customising.
  ASSERT_NE(pBars->GetDragControl(), nullptr);
  EXPECT_EQ(pStandard, pBars->GetDragControl()->GetParent());

  // Let go outside any bar: nothing lands.
  Feed(WM_MOUSEMOVE, MK_LBUTTON, CPoint(2000, 2000));
  Feed(WM_LBUTTONUP, 0, CPoint(2000, 2000));
  commands.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcRow.left + 4, rcRow.CenterPoint().y));
  EXPECT_EQ(xtpDropNone, pPage->GetLastDropEffect());
  EXPECT_EQ((std::vector<int>{301, 312, 302, 303}), Ids(pStandard));
  EXPECT_EQ(3, pPage->GetCategoryInfo(1)->pControls->GetCount());
}

// A frame with a customise command that counts its runs.
class CustomizingFrame : public CXTPFrameWnd {
public:
  int m_nCustomizeRuns = 0;
  afx_msg void OnCustomize() { m_nCustomizeRuns++; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingFrame, CXTPFrameWnd)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

TEST(CustomizeCommand, TheBarsAskWhetherTheSiteCustomisesWithoutRunningIt) {
  for (BOOL bHandles : {TRUE, FALSE}) {
    CXTPFrameWnd *pFrame = bHandles ? new CustomizingFrame : new CXTPFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    EXPECT_EQ(bHandles, pFrame->GetCommandBars()->IsCustomizeAvail());
    if (bHandles) {
      EXPECT_EQ(0, static_cast<CustomizingFrame *>(pFrame)->m_nCustomizeRuns);
    }
    pFrame->DestroyWindow();
  }
}

// ---------------------------------------------------------------------------
// The Toolbars page

class ToolbarsPage : public CustomizeSheet {
protected:
  void SetUp() override {
    CustomizeSheet::SetUp();
    OpenSheet(0);
    pPage = pSheet->GetToolbarsPage();
    ASSERT_NE(pPage->GetSafeHwnd(), nullptr);
  }
  std::vector<CString> Rows() {
    std::vector<CString> rows;
    CCheckListBox &list = pPage->GetToolbarList();
    for (int i = 0; i < list.GetCount(); i++) {
      CString strText;
      list.GetText(i, strText);
      rows.push_back((list.GetCheck(i) ? L"+" : L"-") + strText);
    }
    return rows;
  }
  BOOL Enabled(UINT nID) { return ::IsWindowEnabled(::GetDlgItem(pPage->GetSafeHwnd(), nID)); }
  void Select(int nRow) {
    pPage->GetToolbarList().SetCurSel(nRow);
    pPage->UpdateButtons();
  }
  CXTPCustomizeToolbarsPage *pPage = nullptr;
};

// Answers the New Toolbar dialog as its OK would, without showing it.
class NamingPage : public CXTPCustomizeToolbarsPage {
public:
  using CXTPCustomizeToolbarsPage::CXTPCustomizeToolbarsPage;
  CString m_strName;
  std::vector<CString> m_offered;
  INT_PTR RunNameDialog(CXTPNewToolbarDlg &dlg) override {
    m_offered.push_back(dlg.SuggestName());
    dlg.m_strToolbar = m_strName;
    return dlg.ValidateName(m_strName) == 0 ? IDOK : IDCANCEL;
  }
};

TEST_F(ToolbarsPage, TheListTicksTheShownBarsAndTheButtonsFollowTheSelection) {
  EXPECT_EQ((std::vector<CString>{L"+Menu Bar", L"+Standard", L"+Second"}), Rows());
  // With nothing chosen yet the bar at index 0 is selected.
  EXPECT_EQ(0, pPage->GetToolbarList().GetCurSel());
  // Built-in bars: reset only.
  Select(1);
  EXPECT_TRUE(Enabled(XTP_IDC_BUTTON_RESETTOOLBAR));
  EXPECT_FALSE(Enabled(XTP_IDC_BUTTON_RENAME));
  EXPECT_FALSE(Enabled(XTP_IDC_BUTTON_DELETE));
  EXPECT_TRUE(Enabled(XTP_IDC_BUTTON_NEW));
  Select(-1);
  EXPECT_FALSE(Enabled(XTP_IDC_BUTTON_RESETTOOLBAR));
  EXPECT_FALSE(Enabled(XTP_IDC_BUTTON_RENAME));
  EXPECT_TRUE(Enabled(XTP_IDC_BUTTON_NEW));

  // Unticking hides a toolbar; the menu bar cannot be unticked.
  CCheckListBox &list = pPage->GetToolbarList();
  list.SetCheck(2, 0);
  pPage->OnTickChanged(2);
  EXPECT_FALSE(pSecond->IsVisible());
  list.SetCheck(0, 0);
  pPage->OnTickChanged(0);
  EXPECT_EQ((std::vector<CString>{L"+Menu Bar", L"+Standard", L"-Second"}), Rows());
  EXPECT_TRUE(pBars->GetMenuBar()->IsVisible());
  // A click on a row's box toggles it.
  CRect rcRow;
  list.GetItemRect(2, &rcRow);
  const CRect rcBox = CCheckListBox::CheckBoxRect(rcRow);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
  EXPECT_TRUE(pSecond->IsVisible());
  EXPECT_EQ((std::vector<CString>{L"+Menu Bar", L"+Standard", L"+Second"}), Rows());
  // A hidden menu bar is not listed.
  pBars->GetMenuBar()->SetVisible(FALSE);
  pPage->RefreshToolbarsList();
  EXPECT_EQ((std::vector<CString>{L"+Standard", L"+Second"}), Rows());
}

TEST_F(CustomizeSheet, ANewToolbarIsNamedRenamedAndDeleted) {
  AnsweringApp app;
  pSheet = new QuietSheet(pBars, pFrame);
  NamingPage page(pSheet);
  pSheet->RemovePage(pSheet->GetToolbarsPage());
  pSheet->AddPage(&page);
  pSheet->SetActivePage(&page);
  ASSERT_TRUE(pSheet->CreateHidden(pFrame));
  ASSERT_NE(page.GetSafeHwnd(), nullptr);

  // New: offered "Custom 1", named by the user.
  page.m_strName = L"Mine";
  ASSERT_TRUE(page.NewToolbar());
  ASSERT_EQ(4, pBars->GetCount());
  auto *pMine = dynamic_cast<CXTPToolBar *>(pBars->GetAt(3));
  ASSERT_NE(pMine, nullptr);
  EXPECT_EQ(CString(L"Mine"), pMine->GetTitle());
  EXPECT_EQ(static_cast<int>(CXTPNewToolbarDlg::kFirstToolbarId), pMine->GetBarID());
  EXPECT_FALSE(pMine->IsBuiltIn());
  EXPECT_EQ((std::vector<CString>{L"Custom 1"}), page.m_offered);
  CCheckListBox &list = page.GetToolbarList();
  ASSERT_EQ(4, list.GetCount());

  // A taken name is refused; a new name goes to the bar and its row.
  list.SetCurSel(3);
  page.UpdateButtons();
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.GetSafeHwnd(), XTP_IDC_BUTTON_RENAME)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.GetSafeHwnd(), XTP_IDC_BUTTON_RESETTOOLBAR)));
  page.m_strName = L"Standard";
  EXPECT_FALSE(page.RenameToolbar());
  page.m_strName = L"standard";
  ASSERT_TRUE(page.RenameToolbar());
  EXPECT_EQ(CString(L"standard"), pMine->GetTitle());
  CString strRow;
  list.GetText(3, strRow);
  EXPECT_EQ(CString(L"standard"), strRow);
  EXPECT_EQ(3, list.GetCurSel());
  EXPECT_EQ(1, list.GetCheck(3));

  // Delete asks first; Cancel keeps the bar.
  app.m_nAnswer = IDCANCEL;
  EXPECT_FALSE(page.DeleteToolbar());
  ASSERT_EQ(1u, app.m_prompts.size());
  EXPECT_EQ(CString(L"Are you sure you want to delete the 'standard' toolbar?"), app.m_prompts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING), app.m_types[0]);
  EXPECT_EQ(4, pBars->GetCount());
  app.m_nAnswer = IDOK;
  EXPECT_TRUE(page.DeleteToolbar());
  EXPECT_EQ(3, pBars->GetCount());
  EXPECT_EQ(3, list.GetCount());
  pSheet->DestroyWindow();
  pSheet->RemovePage(&page);
}

TEST_F(ToolbarsPage, ResetPutsABuiltInBarsButtonsBack) {
  AnsweringApp app;
  pStandard->GetControls()->CreateOriginalControls();
  pStandard->GetControls()->RemoveAt(0);
  ASSERT_EQ((std::vector<int>{302, 303}), Ids(pStandard));
  Select(1);
  EXPECT_FALSE(pPage->DeleteToolbar());
  EXPECT_FALSE(pPage->RenameToolbar());
  ASSERT_TRUE(pPage->ResetToolbar());
  EXPECT_EQ((std::vector<int>{301, 302, 303}), Ids(pStandard));
  EXPECT_EQ(1, pPage->GetToolbarList().GetCurSel());
}

} // namespace
