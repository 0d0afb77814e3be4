// A saved layout put back into a running manager: the docked tree is
// rebuilt, floating frames come back as shown windows where they were saved,
// and every pane's window (the same window, never a new one) moves into the
// pane of its id. No window is activated and the cursor is never moved.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Archive.h"
#include "File.h"
#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"

void PrintTo(const CRect &rc, std::ostream *os) {
  *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

class SiteFrame : public CFrameWnd {
public:
  // Show notices for a pane that had no window: the site would make another.
  int m_nShowsWithoutWindow = 0;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DOCKINGPANE_NOTIFY) return CFrameWnd::WindowProc(message, wParam, lParam);
    if (wParam == XTP_DPN_SHOWWINDOW && !reinterpret_cast<CXTPDockingPane *>(lParam)->IsValid())
      m_nShowsWithoutWindow++;
    return TRUE;
  }
};

using dptest::Floating;
using dptest::Shape;

class DockingSetLayout : public dptest::DockingSiteTest<SiteFrame> {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateSite(L"layout test"));
    for (int nID : {1, 2, 3}) {
      CXTPDockingPane *pPane = m_pManager->CreatePane(nID, CRect(0, 0, 150, 120),
                                                      nID == 1   ? xtpPaneDockLeft
                                                      : nID == 2 ? xtpPaneDockBottom
                                                                 : xtpPaneDockRight);
      AttachWindow(pPane);
    }
    ShowSite();
    ASSERT_EQ("H(V(H(T1 C ) T2 ) T3 )", Shape(m_pManager->GetTopPane()));
  }
  void AttachWindow(CXTPDockingPane *pPane) {
    auto *pWnd = new CWnd; // owned by m_windows
    m_windows.emplace_back(pWnd);
    ASSERT_TRUE(pWnd->CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, 0));
    pPane->Attach(pWnd);
    m_hwnds[pPane->GetID()] = pWnd->GetSafeHwnd();
  }
  // A layout loaded from what Save wrote; null when it does not load.
  CXTPDockingPaneLayout *Load(CMemFile &file) {
    CXTPDockingPaneLayout *pLayout = m_pManager->CreateLayout();
    if (LoadInto(pLayout, file)) return pLayout;
    pLayout->InternalRelease();
    return nullptr;
  }
  CXTPDockingPaneMiniWnd *FloatingFrameOf(int nID) {
    CXTPDockingPane *pPane = m_pManager->FindPane(nID);
    CWnd *pSite = pPane != nullptr ? pPane->GetDockingSite() : nullptr;
    return CXTPDockingPaneMiniWnd::IsMiniWnd(pSite) ? static_cast<CXTPDockingPaneMiniWnd *>(pSite) : nullptr;
  }

  std::vector<std::unique_ptr<CWnd>> m_windows;
  HWND m_hwnds[5] = {};
};

TEST_F(DockingSetLayout, ASavedLayoutWithAFloatingFrameComesBackIntoTheRunningManager) {
  const CRect rcFloating(100, 120, 300, 330);
  m_pManager->FloatPane(m_pManager->FindPane(1), rcFloating);
  m_pManager->AttachPane(m_pManager->FindPane(3), m_pManager->FindPane(2)->GetContainer());
  m_pFrame->RecalcLayout();
  Pump();
  ASSERT_EQ("H(V(H(C ) T23 ) )", Shape(m_pManager->GetTopPane()));
  CMemFile file;
  Save(file);

  // The user moves everything back before the saved arrangement is loaded.
  m_pManager->ToggleDocking(m_pManager->FindPane(1)->GetContainer());
  m_pManager->DockPane(m_pManager->FindPane(3), xtpPaneDockRight);
  m_pFrame->RecalcLayout();
  Pump();
  ASSERT_EQ("", Floating(m_pManager->GetLayout()));
  ASSERT_EQ("H(V(H(T1 C ) T2 ) T3 )", Shape(m_pManager->GetTopPane()));

  CXTPDockingPaneLayout *pLoaded = Load(file);
  ASSERT_NE(nullptr, pLoaded);
  m_pFrame->m_nShowsWithoutWindow = 0;
  ASSERT_TRUE(m_pManager->SetLayout(pLoaded));
  m_pFrame->RecalcLayout();
  Pump();

  EXPECT_EQ("H(V(H(C ) T23 ) )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ("F[H(T1 )]", Floating(m_pManager->GetLayout()));
  // The loaded layout is the caller's, unchanged, and has made no window.
  EXPECT_EQ("H(V(H(C ) T23 ) )", Shape(pLoaded->GetTopContainer()));
  EXPECT_TRUE(pLoaded->IsUserLayout());
  pLoaded->InternalRelease();

  CXTPDockingPaneMiniWnd *pFrame = FloatingFrameOf(1);
  ASSERT_NE(nullptr, pFrame);
  EXPECT_TRUE(pFrame->IsWindowVisible());
  CRect rc;
  pFrame->CWnd::GetWindowRect(&rc);
  EXPECT_EQ(rcFloating, rc);
  EXPECT_EQ(m_hFrame, ::GetWindow(pFrame->GetSafeHwnd(), GW_OWNER));
  EXPECT_NE(pFrame->GetSafeHwnd(), ::GetForegroundWindow());

  // Each pane has its own window back, inside its new container; the
  // selected ones are shown, and the site was never asked for a new one.
  for (int nID : {1, 2, 3}) {
    SCOPED_TRACE(nID);
    CXTPDockingPane *pPane = m_pManager->FindPane(nID);
    ASSERT_NE(nullptr, pPane);
    EXPECT_EQ(m_hwnds[nID], pPane->GetChildHwnd());
    ASSERT_NE(nullptr, pPane->GetContainer());
    EXPECT_EQ(pPane->GetContainer()->GetPaneHwnd(), ::GetParent(m_hwnds[nID]));
    EXPECT_EQ(pPane->IsSelected(), ::IsWindowVisible(m_hwnds[nID]) != FALSE);
  }
  EXPECT_EQ(pFrame->GetSafeHwnd(), ::GetParent(m_pManager->FindPane(1)->GetContainer()->GetPaneHwnd()));
  EXPECT_EQ(m_hFrame, ::GetParent(m_pManager->FindPane(2)->GetContainer()->GetPaneHwnd()));
  EXPECT_EQ(0, m_pFrame->m_nShowsWithoutWindow);
  // The holders came along: the floating pane docks back where it was docked
  // when the layout was saved.
  m_pManager->ToggleDocking(m_pManager->FindPane(1)->GetContainer());
  m_pFrame->RecalcLayout();
  Pump();
  EXPECT_EQ("H(V(H(T1 C ) T23 ) )", Shape(m_pManager->GetTopPane()));
  EXPECT_FALSE(pFrame->IsWindowVisible());
}

TEST_F(DockingSetLayout, APaneTheSavedLayoutDoesNotKnowStaysClosedWithItsWindow) {
  CMemFile file;
  Save(file);
  AttachWindow(m_pManager->CreatePane(4, CRect(0, 0, 100, 100), xtpPaneDockTop));
  CXTPDockingPaneLayout *pLoaded = Load(file);
  ASSERT_NE(nullptr, pLoaded);
  ASSERT_TRUE(m_pManager->SetLayout(pLoaded));
  pLoaded->InternalRelease();
  m_pFrame->RecalcLayout();
  Pump();
  EXPECT_EQ("H(V(H(T1 C ) T2 ) T3 )", Shape(m_pManager->GetTopPane()));
  CXTPDockingPane *pPane = m_pManager->FindPane(4);
  ASSERT_NE(nullptr, pPane);
  EXPECT_TRUE(pPane->IsClosed());
  EXPECT_EQ(m_hwnds[4], pPane->GetChildHwnd());
  EXPECT_TRUE(::IsWindow(m_hwnds[4]));
  EXPECT_FALSE(::IsWindowVisible(m_hwnds[4]));
}

TEST_F(DockingSetLayout, ALayoutThatIsNotWholeChangesNothing) {
  CXTPDockingPaneLayout *pEmpty = m_pManager->CreateLayout();
  pEmpty->Free();
  EXPECT_FALSE(m_pManager->SetLayout(pEmpty));
  EXPECT_FALSE(m_pManager->SetLayout(nullptr));
  EXPECT_FALSE(m_pManager->SetLayout(m_pManager->GetLayout()));
  pEmpty->InternalRelease();
  EXPECT_EQ("H(V(H(T1 C ) T2 ) T3 )", Shape(m_pManager->GetTopPane()));
  for (int nID : {1, 2, 3}) EXPECT_EQ(m_hwnds[nID], m_pManager->FindPane(nID)->GetChildHwnd());
}

// Each side's hidden panes, as "side:ids" for every panel that is not empty.
std::string Panels(CXTPDockingPaneLayout *pLayout) {
  std::string str;
  for (int nSide = xtpPaneDockLeft; nSide <= xtpPaneDockBottom; nSide++) {
    CXTPDockingPaneAutoHidePanel *pPanel =
        pLayout->GetAutoHidePanel(static_cast<XTPDockingPaneDirection>(nSide));
    if (pPanel == nullptr || pPanel->IsEmpty()) continue;
    str += std::to_string(nSide) + ":";
    for (CXTPDockingPaneTabbedContainer *pContainer : pPanel->GetContainers())
      if (!pContainer->IsEmpty()) str += Shape(pContainer) + " ";
  }
  return str;
}

TEST_F(DockingSetLayout, PanesHiddenInTheSavedLayoutComeBackHiddenOnTheirSides) {
  CMemFile fileDocked;
  Save(fileDocked);
  for (int nID : {1, 2, 3}) m_pManager->HidePane(m_pManager->FindPane(nID));
  m_pFrame->RecalcLayout();
  Pump();
  const std::string strTree = Shape(m_pManager->GetTopPane());
  ASSERT_EQ("0:T1 1:T3 3:T2 ", Panels(m_pManager->GetLayout()));
  CMemFile fileHidden;
  Save(fileHidden);

  // Loading the docked arrangement takes the panels away, loading the hidden
  // one brings each pane back to its own side.
  struct Case {
    CMemFile *pFile;
    const char *pszPanels;
  } cases[] = {{&fileDocked, ""}, {&fileHidden, "0:T1 1:T3 3:T2 "}, {&fileDocked, ""}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszPanels);
    CXTPDockingPaneLayout *pLoaded = Load(*c.pFile);
    ASSERT_NE(nullptr, pLoaded);
    m_pFrame->m_nShowsWithoutWindow = 0;
    ASSERT_TRUE(m_pManager->SetLayout(pLoaded));
    pLoaded->InternalRelease();
    m_pFrame->RecalcLayout();
    Pump();
    EXPECT_EQ(c.pszPanels, Panels(m_pManager->GetLayout()));
    EXPECT_EQ(0, m_pFrame->m_nShowsWithoutWindow);
    if (*c.pszPanels == '\0') {
      EXPECT_EQ("H(V(H(T1 C ) T2 ) T3 )", Shape(m_pManager->GetTopPane()));
      continue;
    }
    EXPECT_EQ(strTree, Shape(m_pManager->GetTopPane()));
    for (int nID : {1, 2, 3}) {
      SCOPED_TRACE(nID);
      CXTPDockingPane *pPane = m_pManager->FindPane(nID);
      EXPECT_EQ(m_hwnds[nID], pPane->GetChildHwnd());
      CXTPDockingPaneBase *pContainer = pPane->GetContainer();
      ASSERT_NE(nullptr, pContainer);
      ASSERT_NE(nullptr, pContainer->GetContainer());
      ASSERT_EQ(xtpPaneTypeAutoHidePanel, pContainer->GetContainer()->GetType());
      auto *pPanel = static_cast<CXTPDockingPaneAutoHidePanel *>(pContainer->GetContainer());
      // The panel stands in the frame, and its pane slides out of it.
      EXPECT_EQ(m_hFrame, ::GetParent(pPanel->GetSafeHwnd()));
      EXPECT_TRUE(pPanel->IsWindowVisible());
      EXPECT_EQ(m_pFrame, pPane->GetDockingSite());
      EXPECT_FALSE(::IsWindowVisible(m_hwnds[nID]));
      ASSERT_TRUE(pPanel->ShowPane(pPane, FALSE));
      ASSERT_NE(nullptr, pPanel->GetActiveWnd());
      EXPECT_EQ(pContainer->GetPaneHwnd(), ::GetParent(m_hwnds[nID]));
      pPanel->CloseActiveWindow();
      Pump();
    }
  }
}

// A floating frame in collapsed mode is saved with its expanded height and
// comes back rolled up to its caption, unrolling to that height; without a
// themed caption there is no rolling up, so it comes back whole.
TEST_F(DockingSetLayout, AFloatingFrameComesBackWithItsRollUpState) {
  m_pManager->m_bThemedFloatingFrames = TRUE;
  const CRect rcFloating(100, 120, 300, 330);
  m_pManager->FloatPane(m_pManager->FindPane(1), rcFloating);
  Pump();
  ASSERT_NE(nullptr, FloatingFrameOf(1));
  CMemFile fileOpen;
  Save(fileOpen);
  FloatingFrameOf(1)->SetCollapsed(TRUE);
  CMemFile fileCollapsed;
  Save(fileCollapsed);
  FloatingFrameOf(1)->SetCollapsed(FALSE);
  const int nRolledUp = m_pManager->GetPaintManager()->GetCaptionHeight() + 8;

  struct Case {
    const char *pszName;
    CMemFile *pFile;
    BOOL bThemed;
    BOOL bCollapsed;
    int nHeight;
  } cases[] = {
      {"collapsed, themed", &fileCollapsed, TRUE, TRUE, nRolledUp},
      {"open, themed", &fileOpen, TRUE, FALSE, rcFloating.Height()},
      {"collapsed, plain caption", &fileCollapsed, FALSE, FALSE, rcFloating.Height()},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    m_pManager->m_bThemedFloatingFrames = c.bThemed;
    CXTPDockingPaneLayout *pLoaded = Load(*c.pFile);
    ASSERT_NE(nullptr, pLoaded);
    ASSERT_TRUE(m_pManager->SetLayout(pLoaded));
    pLoaded->InternalRelease();
    Pump();
    CXTPDockingPaneMiniWnd *pFrame = FloatingFrameOf(1);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_EQ(c.bCollapsed, pFrame->IsCollapsed());
    CRect rc;
    pFrame->CWnd::GetWindowRect(&rc);
    EXPECT_EQ(rcFloating.TopLeft(), rc.TopLeft());
    EXPECT_EQ(rcFloating.Width(), rc.Width());
    EXPECT_EQ(c.nHeight, rc.Height());
    if (!c.bCollapsed) continue;
    EXPECT_TRUE(pFrame->IsRolledUp());
    EXPECT_EQ(rcFloating.Height(), pFrame->GetExpandedHeight());
    pFrame->Expand();
    pFrame->CWnd::GetWindowRect(&rc);
    EXPECT_EQ(rcFloating.Height(), rc.Height()) << "unrolls to the saved height";
    EXPECT_FALSE(pFrame->IsRolledUp());
  }
}

} // namespace
