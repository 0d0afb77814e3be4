// Menu bar: built from a menu resource on a framework frame, which hands its
// menu over; Alt and F10 start keyboard tracking and mnemonics open the popups
// through the bar's key handling; the icon query reaches only child frames.
//
// No real typing and no window is activated: keys go to the bar's hook client.
#include <gtest/gtest.h>

#include <vector>

#include "CommandBarsTestSupport.h"
#include "DocTemplate.h"
#include "Document.h"
#include "FrameWnd.h"
#include "MDIFrameWnd.h"
#include "View.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"

using namespace cbtest;

namespace {

constexpr UINT kMenuId = 128;

class MenuBarFixture : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_OVERLAPPEDWINDOW));
    hMenu = ::GetMenu(pFrame->GetSafeHwnd());
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(hMenu, pFrame->m_hMenuDefault);
    pBar = new CXTPMenuBar;
    pBar->SetPaintManager(new CXTPDefaultTheme);
    pBar->SetOwnerWindow(pFrame->GetSafeHwnd());
  }
  void TearDown() override {
    if (pFrame) pFrame->DestroyWindow();
    if (pBar) pBar->InternalRelease();
  }
  void Show() {
    ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
    pBar->SetVisible(TRUE);
  }
  BOOL Key(UINT nVirtKey) {
    WPARAM w = nVirtKey;
    LPARAM l = 0;
    LRESULT r = 0;
    return pBar->OnHookMessage(nullptr, WM_KEYDOWN, w, l, r) == xtpHookHandled;
  }

  CFrameWnd *pFrame = nullptr;
  CXTPMenuBar *pBar = nullptr;
  HMENU hMenu = nullptr;
};

TEST_F(MenuBarFixture, BuiltFromTheMenuResource) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  EXPECT_EQ(xtpBarTypeMenuBar, pBar->GetType());
  EXPECT_EQ(kMenuId, pBar->GetResourceId());
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  ASSERT_EQ(3, pBar->GetControlCount());
  EXPECT_EQ(CString(L"&File"), pBar->GetControl(0)->GetCaption());
  EXPECT_EQ(CString(L"&Edit"), pBar->GetControl(1)->GetCaption());
  EXPECT_EQ(57670, pBar->GetControl(2)->GetID());
  EXPECT_NE(nullptr, pBar->GetControl(0)->GetCommandBar());
}

TEST_F(MenuBarFixture, MissingResourceLeavesTheBarEmptyAndTheMenuOnTheFrame) {
  EXPECT_FALSE(pBar->LoadMenu(4321));
  EXPECT_EQ(0, pBar->GetControlCount());
  EXPECT_EQ(hMenu, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarFixture, FrameHandsItsMenuOver) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  EXPECT_EQ(hMenu, pBar->GetFrameMenu());
  EXPECT_EQ(nullptr, pFrame->m_hMenuDefault);
  // The frame's own menu update must not put the native menu back.
  pFrame->OnUpdateFrameMenu(nullptr);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  // The frame goes first: the menu is still the bar's, and goes with it.
  pFrame->DestroyWindow();
  pFrame = nullptr;
  EXPECT_TRUE(::IsMenu(hMenu));
  pBar->InternalRelease();
  pBar = nullptr;
  EXPECT_FALSE(::IsMenu(hMenu));
}

TEST_F(MenuBarFixture, LeavingPrintPreviewBringsNoNativeMenuBack) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  Show();
  pBar->OnSetPreviewMode(TRUE);
  EXPECT_FALSE(pBar->IsVisible());
  pBar->OnSetPreviewMode(FALSE);
  EXPECT_TRUE(pBar->IsVisible());
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarFixture, AltAndF10StartTrackingAndMnemonicsOpenPopups) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  Show();
  // Through the frame's hook, as the system sends it for Alt or F10.
  EXPECT_EQ(0, ::SendMessageW(pFrame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0));
  EXPECT_TRUE(pBar->IsTrackingMode());
  EXPECT_EQ(0, pBar->GetSelectedIndex());
  EXPECT_EQ(-1, pBar->GetPopupedIndex());
  EXPECT_TRUE(Key('E'));
  EXPECT_EQ(1, pBar->GetPopupedIndex());
  pBar->CancelTracking();
  EXPECT_FALSE(pBar->IsTrackingMode());
  EXPECT_EQ(-1, pBar->GetPopupedIndex());
}

TEST_F(MenuBarFixture, KeyMenuCasesTheBarLeavesAlone) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  auto sysKey = [&](WPARAM w, LPARAM l) {
    LRESULT r = 0;
    return pBar->OnHookMessage(pFrame->GetSafeHwnd(), WM_SYSCOMMAND, w, l, r) == xtpHookHandled;
  };
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0)); // no window yet: not visible
  Show();
  EXPECT_FALSE(sysKey(SC_KEYMENU, 'f')); // Alt+letter is the mnemonic path's
  EXPECT_FALSE(sysKey(SC_CLOSE, 0));
  BYTE keys[256] = {};
  ASSERT_TRUE(::GetKeyboardState(keys));
  const BYTE keysBefore = keys[VK_SHIFT];
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0)); // Shift+Alt
  keys[VK_SHIFT] = keysBefore;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(pBar->IsTrackingMode());
  EXPECT_TRUE(sysKey(SC_KEYMENU | 3, 0)); // the low bits are the system's
  EXPECT_TRUE(pBar->IsTrackingMode());
  pBar->CancelTracking();
  pBar->SetVisible(FALSE);
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0));
}

// A window that gives the icon query a meaning of its own.
LRESULT CALLBACK OwnMeaningProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == XTP_WM_QUERYCHILDICON) return 0x1234;
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(MenuBarChildIcon, OnlyChildFramesAreAskedTheQuery) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = OwnMeaningProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MenuBarOwnMeaning";
  ::RegisterClassW(&wc);
  HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(nullptr, hWnd);
  HICON hSmall = ::LoadIconW(nullptr, IDI_INFORMATION);
  EXPECT_EQ(::LoadIconW(nullptr, IDI_WINLOGO), CXTPMenuBar::GetChildIcon(hWnd));
  ::SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
  EXPECT_EQ(hSmall, CXTPMenuBar::GetChildIcon(hWnd));
  ::DestroyWindow(hWnd);
}

} // namespace

// ---------------------------------------------------------------------------
// In an MDI frame: the menu per child's document type, the maximised child's
// system buttons, and the native menu kept off the frame.

namespace {

constexpr UINT kPictureMenuId = 129;

// A frame whose site answers the customise command, so that the command
// bars count as customisable and keep each document type's controls.
class CustomizingMDIFrame : public CMDIFrameWnd {
public:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingMDIFrame, CMDIFrameWnd)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

using cbtest::AnsweringApp;

std::vector<CString> Captions(CXTPCommandBar *pBar) {
  std::vector<CString> captions;
  for (int i = 0; i < pBar->GetControlCount(); i++) captions.push_back(pBar->GetControl(i)->GetCaption());
  return captions;
}

std::vector<int> Ids(CXTPCommandBar *pBar) {
  std::vector<int> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++) ids.push_back(pBar->GetControl(i)->GetID());
  return ids;
}

class MenuBarMdi : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CustomizingMDIFrame;
    HMENU hMenuFrame = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuId));
    ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                 0, 640, 480, nullptr, hMenuFrame));
    pFrame->m_hMenuDefault = hMenuFrame;
    hPictureMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPictureMenuId));
    pCommandBars = MakeCommandBars();
    pCommandBars->SetSite(pFrame);
    pBar = new CXTPMenuBar;
    pBar->SetPaintManager(new CXTPDefaultTheme);
    pBar->SetOwnerWindow(pFrame->GetSafeHwnd());
    pCommandBars->AddBar(pBar);
    pBar->SetTitle(L"Menu Bar");
    pBar->SetFlags(pBar->GetFlags() | xtpFlagAddMDISysPopup);
    ASSERT_TRUE(pBar->LoadMenu(kMenuId));
    ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
    pBar->SetVisible(TRUE);
  }
  void TearDown() override {
    if (pFrame) pFrame->DestroyWindow();
    Pump();
    pCommandBars->InternalRelease(); // releases the bar
    ::DestroyMenu(hPictureMenu);
  }
  virtual CXTPCommandBars *MakeCommandBars() { return new CXTPCommandBars; }
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  CMDIChildWnd *AddChild(HMENU hMenuShared, UINT nMenuId, DWORD dwStyle = WS_OVERLAPPEDWINDOW) {
    auto *pChild = new CMDIChildWnd;
    pChild->m_hMenuShared = hMenuShared;
    pChild->m_nIDHelp = nMenuId;
    if (!pChild->Create(nullptr, L"child", WS_CHILD | WS_VISIBLE | dwStyle, CRect(10, 10, 300, 200), pFrame))
      return nullptr;
    Pump();
    return pChild;
  }

  CustomizingMDIFrame *pFrame = nullptr;
  CXTPCommandBars *pCommandBars = nullptr;
  CXTPMenuBar *pBar = nullptr;
  HMENU hPictureMenu = nullptr;
};

TEST(CommandBarsMdi, TheActiveMenuIdFollowsTheActiveChildAndItsDocument) {
  auto *pFrame = new CMDIFrameWnd; // frames delete themselves when destroyed
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                               640, 480, nullptr, nullptr));
  auto *pCommandBars = new CXTPCommandBars;
  EXPECT_EQ(0u, pCommandBars->GetActiveMenuID()) << "no site";
  pCommandBars->SetSite(pFrame);
  ASSERT_TRUE(pCommandBars->EnableDocking());
  ASSERT_NE(nullptr, pCommandBars->SetMenu(L"Menu Bar", kMenuId));
  EXPECT_EQ(kMenuId, pCommandBars->GetActiveMenuID()) << "no child: the frame's menu";
  auto *pChild = new CMDIChildWnd;
  pChild->m_nIDHelp = kPictureMenuId;
  ASSERT_TRUE(pChild->Create(nullptr, L"child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                             CRect(10, 10, 300, 200), pFrame));
  EXPECT_EQ(kPictureMenuId, pCommandBars->GetActiveMenuID()) << "a child without a document: its own";
  {
    CSingleDocTemplate docTemplate(4242, nullptr, nullptr, nullptr);
    CDocument document;
    document.m_bAutoDelete = FALSE;
    docTemplate.AddDocument(&document);
    CView view;
    document.AddView(&view);
    pChild->SetActiveView(&view, FALSE);
    EXPECT_EQ(4242u, pCommandBars->GetActiveMenuID()) << "the document's template";
    pChild->SetActiveView(nullptr, FALSE);
    document.RemoveView(&view);
    docTemplate.RemoveDocument(&document);
  }
  pFrame->DestroyWindow();
  pCommandBars->InternalRelease();
  // A site that is no MDI frame has no menu of its own here.
  auto *pSdi = new CFrameWnd;
  ASSERT_TRUE(pSdi->CreateEx(0, AfxRegisterWndClass(0), L"SDI", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  pCommandBars = new CXTPCommandBars;
  pCommandBars->SetSite(pSdi);
  EXPECT_EQ(0u, pCommandBars->GetActiveMenuID());
  pCommandBars->InternalRelease();
  pSdi->DestroyWindow();
}

// Command bars of the program's own that answer another active menu: the
// bar shows the menu that rule names, not the child's own.
class CPictureMenuCommandBars : public CXTPCommandBars {
public:
  UINT GetActiveMenuID() override { return kPictureMenuId; }
};

class MenuBarMdiOwnRule : public MenuBarMdi {
protected:
  CXTPCommandBars *MakeCommandBars() override { return new CPictureMenuCommandBars; }
};

TEST_F(MenuBarMdiOwnRule, TheCommandBarsRuleNamesTheMenuShown) {
  CMDIChildWnd *pChild = AddChild(hPictureMenu, kMenuId);
  ASSERT_NE(nullptr, pChild);
  EXPECT_EQ(kPictureMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ((std::vector<CString>{L"&File", L"&Picture", L"&Window"}), Captions(pBar));
  pChild->MDIDestroy();
  Pump();
}

TEST_F(MenuBarMdi, HooksTheClientAndKeepsTheNativeMenuOff) {
  EXPECT_TRUE(pBar->IsMdiApp());
  // The system menu's commands have the toolkit's pictures.
  for (UINT nCommand : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
    EXPECT_NE(nullptr, pCommandBars->GetImageManager()->GetImage(nCommand)) << nCommand;
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  // A child bringing its menu, the frame's own update, the last child gone:
  // the frame never shows a native menu again.
  CMDIChildWnd *pChild = AddChild(hPictureMenu, kPictureMenuId);
  ASSERT_NE(nullptr, pChild);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  pFrame->OnUpdateFrameMenu(nullptr);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  // Hidden, the bar still keeps it off.
  pBar->SetVisible(FALSE);
  pFrame->OnUpdateFrameMenu(nullptr);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  pChild->MDIDestroy();
  Pump();
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarMdi, EachDocumentTypeShowsItsMenuAndKeepsItsCustomisation) {
  const std::vector<CString> defaultMenu = Captions(pBar);
  CMDIChildWnd *pPicture = AddChild(hPictureMenu, kPictureMenuId);
  ASSERT_NE(nullptr, pPicture);
  EXPECT_EQ(kPictureMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ((std::vector<CString>{L"&File", L"&Picture", L"&Window"}), Captions(pBar));
  EXPECT_EQ(1u, pBar->GetTemplateMenus().count(kMenuId)) << "the default menu waits in the map";

  // The user takes "Window" off the picture menu.
  pBar->GetControls()->RemoveAt(2);
  CMDIChildWnd *pPlain = AddChild(nullptr, kMenuId);
  ASSERT_NE(nullptr, pPlain);
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ(defaultMenu, Captions(pBar));

  pPicture->MDIActivate();
  Pump();
  EXPECT_EQ(kPictureMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ((std::vector<CString>{L"&File", L"&Picture"}), Captions(pBar)) << "the customisation came back";
  EXPECT_TRUE(pBar->GetControls()->IsChanged());

  // The last child gone, the default menu is shown again.
  pPicture->MDIDestroy();
  pPlain->MDIDestroy();
  Pump();
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ(defaultMenu, Captions(pBar));
}

TEST_F(MenuBarMdi, LeavingPrintPreviewShowsTheActiveChildsMenu) {
  ASSERT_NE(nullptr, AddChild(hPictureMenu, kPictureMenuId));
  pBar->OnSetPreviewMode(TRUE);
  pBar->OnSetPreviewMode(FALSE);
  EXPECT_EQ(kPictureMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarMdi, IgnoringTheFramesMenuChangesKeepsTheDefaultMenu) {
  pBar->SetFlags(pBar->GetFlags() | xtpFlagIgnoreSetMenuMessage);
  const std::vector<CString> defaultMenu = Captions(pBar);
  ASSERT_NE(nullptr, AddChild(hPictureMenu, kPictureMenuId));
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  EXPECT_EQ(defaultMenu, Captions(pBar));
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarMdi, AMaximisedChildShowsItsSystemButtons) {
  struct Case {
    DWORD dwFlags;
    DWORD dwChildStyle;
    std::vector<int> leading; // before the menu's own controls
    std::vector<int> trailing;
  };
  const int kIcon = XTP_ID_MENUBAR_SYSMENU, kMin = XTP_ID_MENUBAR_MINIMIZE, kRestore = XTP_ID_MENUBAR_RESTORE,
            kClose = XTP_ID_MENUBAR_CLOSE;
  const Case cases[] = {
      {xtpFlagAddMDISysPopup, WS_OVERLAPPEDWINDOW, {kIcon}, {kMin, kRestore, kClose}},
      {0, WS_OVERLAPPEDWINDOW, {}, {kMin, kRestore, kClose}},
      {xtpFlagAddMDISysPopup, WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, {kIcon}, {kRestore, kClose}},
      {xtpFlagHideMinimizeBox | xtpFlagHideClose, WS_OVERLAPPEDWINDOW, {}, {kRestore}},
      {xtpFlagHideMDIButtons, WS_OVERLAPPEDWINDOW, {}, {}},
  };
  const std::vector<int> menu = Ids(pBar);
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.dwFlags);
    pBar->SetFlags(c.dwFlags);
    CMDIChildWnd *pChild = AddChild(nullptr, kMenuId, c.dwChildStyle);
    ASSERT_NE(nullptr, pChild);
    EXPECT_EQ(menu, Ids(pBar)) << "not maximised: nothing";
    pChild->MDIMaximize();
    Pump();
    std::vector<int> expected = c.leading;
    expected.insert(expected.end(), menu.begin(), menu.end());
    expected.insert(expected.end(), c.trailing.begin(), c.trailing.end());
    EXPECT_EQ(expected, Ids(pBar));
    if (!c.leading.empty()) {
      auto *pIcon = static_cast<CXTPMenuBarMDIMenuIcon *>(pBar->GetControl(0));
      EXPECT_EQ(pChild->GetSafeHwnd(), pIcon->GetChild());
      EXPECT_NE(nullptr, pIcon->GetIcon());
    }
    EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd())) << "no native system buttons either";
    pChild->MDIRestore();
    Pump();
    EXPECT_EQ(menu, Ids(pBar)) << "restored: gone again";
    pChild->MDIDestroy();
    Pump();
  }
}

TEST_F(MenuBarMdi, AltInTheActiveChildOpensTheBar) {
  CMDIChildWnd *pChild = AddChild(nullptr, kMenuId);
  ASSERT_NE(nullptr, pChild);
  // The child's Alt, as the system sends it to the window with the focus.
  EXPECT_EQ(0, ::SendMessageW(pChild->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0));
  EXPECT_TRUE(pBar->IsTrackingMode());
  pBar->CancelTracking();
}

TEST_F(MenuBarMdi, SystemButtonsPostTheirCommandsToTheChild) {
  struct Recorder : CMDIChildWnd {
    std::vector<WPARAM> m_commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_SYSCOMMAND) {
        m_commands.push_back(wParam & 0xFFF0);
        return 0;
      }
      return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
  };
  auto *pChild = new Recorder;
  ASSERT_TRUE(pChild->Create(nullptr, L"rec", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                             CRect(0, 0, 200, 100), pFrame));
  pChild->MDIMaximize();
  Pump();
  const struct {
    int nId;
    WPARAM command;
  } cases[] = {{XTP_ID_MENUBAR_MINIMIZE, SC_MINIMIZE},
               {XTP_ID_MENUBAR_RESTORE, SC_RESTORE},
               {XTP_ID_MENUBAR_CLOSE, SC_CLOSE}};
  for (const auto &c : cases) {
    CXTPControl *pButton = pBar->GetControls()->FindControl(c.nId);
    ASSERT_NE(nullptr, pButton) << c.nId;
    pButton->OnExecute();
    Pump();
    ASSERT_FALSE(pChild->m_commands.empty());
    EXPECT_EQ(c.command, pChild->m_commands.back()) << c.nId;
  }
  // The system menu's items go to the child too, not to the frame.
  auto *pIcon =
      static_cast<CXTPMenuBarMDIMenuIcon *>(pBar->GetControls()->FindControl(XTP_ID_MENUBAR_SYSMENU));
  ASSERT_NE(nullptr, pIcon);
  CXTPCommandBar *pSysPopup = pIcon->GetCommandBar();
  ASSERT_NE(nullptr, pSysPopup);
  CXTPControl *pMove = pSysPopup->GetControls()->FindControl(SC_MOVE);
  ASSERT_NE(nullptr, pMove);
  EXPECT_FALSE(pMove->GetCaption().IsEmpty());
  pMove->OnExecute();
  Pump();
  EXPECT_EQ(static_cast<WPARAM>(SC_MOVE), pChild->m_commands.back());
}

TEST_F(MenuBarMdi, StoringDropsUnchangedDocumentMenusAndGoesBackToTheDefault) {
  CMDIChildWnd *pPicture = AddChild(hPictureMenu, kPictureMenuId);
  ASSERT_NE(nullptr, pPicture);
  pBar->PrepareForStore();
  EXPECT_TRUE(pBar->IsFrameMenuRefreshNeeded());
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  EXPECT_TRUE(pBar->GetTemplateMenus().empty()) << "the picture menu was not changed";

  pPicture->MDIActivate();
  Pump();
  pFrame->OnUpdateFrameMenu(nullptr);
  EXPECT_EQ(kPictureMenuId, pBar->GetCurrentMenuId());
  pBar->GetControls()->RemoveAt(1);
  pBar->PrepareForStore();
  ASSERT_EQ(1u, pBar->GetTemplateMenus().count(kPictureMenuId)) << "a changed menu is stored";
  pBar->PrepareForStore();
  EXPECT_EQ(1u, pBar->GetTemplateMenus().count(kPictureMenuId)) << "kept while changed";
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
}

TEST_F(MenuBarMdi, CloneCopiesTheDocumentMenus) {
  ASSERT_NE(nullptr, AddChild(hPictureMenu, kPictureMenuId));
  auto *pClone = static_cast<CXTPMenuBar *>(pBar->Clone(TRUE));
  ASSERT_NE(nullptr, pClone);
  EXPECT_TRUE(pClone->IsKindOf(RUNTIME_CLASS(CXTPMenuBar)));
  EXPECT_EQ(kMenuId, pClone->GetResourceId());
  ASSERT_EQ(1u, pClone->GetTemplateMenus().count(kMenuId));
  EXPECT_NE(pBar->GetTemplateMenus().at(kMenuId), pClone->GetTemplateMenus().at(kMenuId))
      << "a copy, not shared";
  EXPECT_EQ(pBar->GetTemplateMenus().at(kMenuId)->GetCount(),
            pClone->GetTemplateMenus().at(kMenuId)->GetCount());
  pClone->InternalRelease();
}

TEST_F(MenuBarMdi, ResetAsksAndReloadsTheMenuShown) {
  AnsweringApp app;
  ASSERT_NE(nullptr, AddChild(hPictureMenu, kPictureMenuId));
  pBar->GetControls()->RemoveAt(0);
  app.m_nAnswer = IDCANCEL;
  pBar->Reset();
  ASSERT_EQ(1u, app.m_prompts.size());
  EXPECT_EQ(CString(L"Are you sure you want to reset the changes made to the 'Menu Bar' toolbar?"),
            app.m_prompts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), app.m_nType);
  EXPECT_EQ(2, pBar->GetControlCount());
  app.m_nAnswer = IDOK;
  pBar->Reset();
  EXPECT_EQ((std::vector<CString>{L"&File", L"&Picture", L"&Window"}), Captions(pBar));
}

TEST_F(MenuBarMdi, AFrameInsideAnotherWindowHasNoMenuToTake) {
  // GetMenu of a child window answers its id, not a menu.
  auto *pInner = new CMDIFrameWnd;
  ASSERT_TRUE(pInner->CreateEx(0, AfxRegisterWndClass(0), L"inner", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                               pFrame->GetSafeHwnd(), reinterpret_cast<HMENU>(0x1234)));
  auto *pInnerBar = new CXTPMenuBar;
  pInnerBar->SetOwnerWindow(pInner->GetSafeHwnd());
  ASSERT_TRUE(pInnerBar->LoadMenu(kMenuId));
  EXPECT_EQ(nullptr, pInnerBar->GetFrameMenu());
  EXPECT_TRUE(pInnerBar->IsMdiApp());
  EXPECT_EQ(0x1234, ::GetDlgCtrlID(pInner->GetSafeHwnd()));
  pInnerBar->InternalRelease();
  pInner->DestroyWindow();
}

TEST_F(MenuBarMdi, ChildFramesAnswerTheIconQuery) {
  const HICON hIcon = ::LoadIconW(nullptr, IDI_QUESTION);
  auto *pChild = new CMDIChildWnd;
  ASSERT_TRUE(pChild->Create(AfxRegisterWndClass(0, nullptr, nullptr, hIcon), L"icon",
                             WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), pFrame));
  // The child's answer: its class's small icon, made by the system from hIcon.
  const HICON hAnswer = CXTPMenuBar::GetChildIcon(pChild->GetSafeHwnd());
  EXPECT_EQ(reinterpret_cast<HICON>(::GetClassLongPtrW(pChild->GetSafeHwnd(), GCLP_HICONSM)), hAnswer);
  EXPECT_NE(::LoadIconW(nullptr, IDI_WINLOGO), hAnswer);
  // The top-level frame answers the query with 0: the fallbacks decide.
  EXPECT_EQ(0, ::SendMessageW(pFrame->GetSafeHwnd(), XTP_WM_QUERYCHILDICON, 0, 0));
}

} // namespace
