// Command routing through a frame with a view and a document, the update
// handlers that keep disabled commands from running, and the menu update pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Framework.h"

namespace {

enum : UINT {
  ID_ALL = 40100,     // every target handles it: the view wins
  ID_DOC_UP,          // document, frame and application
  ID_FRAME_UP,        // frame and application
  ID_APP_ONLY,        // only the application
  ID_NOBODY,          // nobody
  ID_GUARDED = 40200, // runs only while its update handler enables it
  ID_RANGE_FIRST = 40300,
  ID_RANGE_LAST = 40305,
};

std::vector<std::string> &Log() {
  static std::vector<std::string> log;
  return log;
}

class RoutingApp : public CWinApp {
public:
  afx_msg void OnAll() { Log().push_back("app"); }
  afx_msg void OnDocUp() { Log().push_back("app"); }
  afx_msg void OnFrameUp() { Log().push_back("app"); }
  afx_msg void OnAppOnly() { Log().push_back("app"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingApp, CWinApp)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
ON_COMMAND(ID_FRAME_UP, OnFrameUp)
ON_COMMAND(ID_APP_ONLY, OnAppOnly)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew) // a base class's handler, named the classic way
END_MESSAGE_MAP()

RoutingApp theApp;

class RoutingDoc : public CDocument {
  DECLARE_DYNCREATE(RoutingDoc)
public:
  afx_msg void OnAll() { Log().push_back("doc"); }
  afx_msg void OnDocUp() { Log().push_back("doc"); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(RoutingDoc, CDocument)
BEGIN_MESSAGE_MAP(RoutingDoc, CDocument)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
END_MESSAGE_MAP()

class RoutingView : public CView {
  DECLARE_DYNCREATE(RoutingView)
public:
  afx_msg void OnAll() { Log().push_back("view"); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(RoutingView, CView)
BEGIN_MESSAGE_MAP(RoutingView, CView)
ON_COMMAND(ID_ALL, OnAll)
END_MESSAGE_MAP()

class RoutingFrame : public CFrameWnd {
  DECLARE_DYNCREATE(RoutingFrame)
public:
  bool m_bGuardEnabled = false;
  int m_nGuardRuns = 0;
  std::vector<UINT> m_rangeIds;

  afx_msg void OnAll() { Log().push_back("frame"); }
  afx_msg void OnDocUp() { Log().push_back("frame"); }
  afx_msg void OnFrameUp() { Log().push_back("frame"); }
  afx_msg void OnGuarded() { m_nGuardRuns++; }
  afx_msg void OnUpdateGuarded(CCmdUI *pCmdUI) { pCmdUI->Enable(m_bGuardEnabled); }
  afx_msg void OnRange(UINT nID) { m_rangeIds.push_back(nID); }
  afx_msg void OnUpdateRange(CCmdUI *pCmdUI) { pCmdUI->SetCheck(pCmdUI->m_nID == ID_RANGE_FIRST + 1); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(RoutingFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(RoutingFrame, CFrameWnd)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
ON_COMMAND(ID_FRAME_UP, OnFrameUp)
ON_COMMAND(ID_GUARDED, OnGuarded)
ON_UPDATE_COMMAND_UI(ID_GUARDED, OnUpdateGuarded)
ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
ON_UPDATE_COMMAND_UI_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnUpdateRange)
END_MESSAGE_MAP()

class CommandRouting : public ::testing::Test {
protected:
  void SetUp() override {
    Log().clear();
    m_pDoc = new RoutingDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(RoutingView);
    context.m_pCurrentDoc = m_pDoc;
    m_pFrame = new RoutingFrame;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"Routing", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr,
                                 nullptr, 0, &context));
    m_pFrame->InitialUpdateFrame(m_pDoc, FALSE);
    ASSERT_NE(m_pFrame->GetActiveView(), nullptr);
  }
  void TearDown() override {
    // The frame deletes itself and its view; the view's going deletes the document.
    if (m_pFrame != nullptr) m_pFrame->DestroyWindow();
  }
  void Command(UINT nID, WORD wCode = 0, HWND hWndCtrl = nullptr) {
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, wCode), reinterpret_cast<LPARAM>(hWndCtrl));
  }

  RoutingDoc *m_pDoc = nullptr;
  RoutingFrame *m_pFrame = nullptr;
};

TEST_F(CommandRouting, ActiveViewThenDocumentThenFrameThenApplication) {
  struct Case {
    UINT nID;
    const char *handler;
  } cases[] = {{ID_ALL, "view"},
               {ID_DOC_UP, "doc"},
               {ID_FRAME_UP, "frame"},
               {ID_APP_ONLY, "app"},
               {ID_NOBODY, nullptr}};
  for (const Case &c : cases) {
    Log().clear();
    Command(c.nID);
    if (c.handler == nullptr) {
      EXPECT_TRUE(Log().empty()) << c.nID;
    } else {
      ASSERT_EQ(Log().size(), 1u) << c.nID;
      EXPECT_EQ(Log()[0], c.handler) << c.nID;
    }
  }
}

TEST_F(CommandRouting, WithoutActiveViewTheFrameComesFirst) {
  m_pFrame->SetActiveView(nullptr, FALSE);
  Command(ID_ALL);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0], "frame");
}

TEST_F(CommandRouting, ApplicationHandlesFileNewThroughItsBaseHandler) {
  // Without templates the base handler has nothing to create; it must still be found.
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(m_pFrame->OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, static_cast<CCmdTarget *>(&theApp));
  Command(ID_FILE_NEW);
  EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
}

TEST_F(CommandRouting, HandlerLookupDoesNotRunTheHandler) {
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(m_pFrame->OnCmdMsg(ID_DOC_UP, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, static_cast<CCmdTarget *>(m_pDoc));
  EXPECT_TRUE(Log().empty());
  EXPECT_FALSE(m_pFrame->OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, &info));
}

// A disabled command must not run whichever way it arrives.
TEST_F(CommandRouting, DisabledCommandIsDroppedFromEveryRoute) {
  ACCEL accel = {FVIRTKEY, VK_F7, ID_GUARDED};
  m_pFrame->m_hAccelTable = ::CreateAcceleratorTable(&accel, 1);
  HWND hButton = ::CreateWindow(L"BUTTON", L"Go", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, m_pFrame->m_hWnd,
                                (HMENU)(UINT_PTR)ID_GUARDED, nullptr, nullptr);
  auto pressF7 = [&] {
    MSG msg = {m_pFrame->m_hWnd, WM_KEYDOWN, VK_F7, 0x00410001, 0, {0, 0}};
    return m_pFrame->PreTranslateMessage(&msg);
  };

  for (bool bEnabled : {false, true}) {
    m_pFrame->m_bGuardEnabled = bEnabled;
    m_pFrame->m_nGuardRuns = 0;
    EXPECT_TRUE(pressF7()) << "the accelerator is always the frame's key";
    Command(ID_GUARDED);                      // menu
    Command(ID_GUARDED, 1);                   // accelerator code
    Command(ID_GUARDED, BN_CLICKED, hButton); // toolbar or push button
    EXPECT_EQ(m_pFrame->m_nGuardRuns, bEnabled ? 4 : 0) << "enabled=" << bEnabled;
  }
  ::DestroyAcceleratorTable(m_pFrame->m_hAccelTable);
  m_pFrame->m_hAccelTable = nullptr;
}

TEST_F(CommandRouting, RangeHandlersSeeTheirId) {
  Command(ID_RANGE_FIRST + 3);
  Command(ID_RANGE_LAST);
  Command(ID_RANGE_LAST + 1);
  EXPECT_EQ(m_pFrame->m_rangeIds, (std::vector<UINT>{ID_RANGE_FIRST + 3, ID_RANGE_LAST}));
}

TEST_F(CommandRouting, MenuUpdatePassDisablesUnhandledAndAsksUpdateHandlers) {
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenu(hMenu, MF_STRING, ID_NOBODY, L"Nobody");
  ::AppendMenu(hMenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(hMenu, MF_STRING, ID_APP_ONLY, L"App");
  ::AppendMenu(hMenu, MF_STRING, ID_GUARDED, L"Guarded");
  ::AppendMenu(hMenu, MF_STRING, ID_RANGE_FIRST + 1, L"Checked");
  m_pFrame->m_bGuardEnabled = false;
  m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
  auto state = [&](UINT nID) { return ::GetMenuState(hMenu, nID, MF_BYCOMMAND); };
  EXPECT_TRUE(state(ID_NOBODY) & MF_GRAYED);
  EXPECT_FALSE(state(ID_APP_ONLY) & MF_GRAYED);
  EXPECT_TRUE(state(ID_GUARDED) & MF_GRAYED);
  EXPECT_TRUE(state(ID_RANGE_FIRST + 1) & MF_CHECKED);
  m_pFrame->m_bGuardEnabled = true;
  m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
  EXPECT_FALSE(state(ID_GUARDED) & MF_GRAYED);
  ::DestroyMenu(hMenu);
}

TEST_F(CommandRouting, ClosingTheLastViewDeletesTheDocument) {
  EXPECT_EQ(m_pDoc->GetFirstViewPosition() != nullptr, true);
  CView *pView = m_pFrame->GetActiveView();
  EXPECT_EQ(pView->GetDocument(), m_pDoc);
  m_pFrame->DestroyWindow(); // frame, view and (auto-delete) document go
  m_pFrame = nullptr;
  m_pDoc = nullptr;
  SUCCEED();
}

} // namespace
