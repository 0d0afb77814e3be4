// What the docking-pane tests that run a real frame share: the layout tree
// written as a short string, and a fixture with a frame (never activated)
// that hosts a pane manager, a message pump and posted mouse moves.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "Archive.h"
#include "File.h"
#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"

namespace dptest {

// C: the client area; T and its panes' ids: a tabbed container; F[...]: a
// floating frame; A and its side [...]: an auto-hide panel; H(...) and
// V(...): splitters. Empty containers are left out unless asked for.
inline std::string Shape(const CXTPDockingPaneBase *pObject, bool bWithEmpty = false) {
  if (pObject->GetType() == xtpPaneTypeClient) return "C";
  if (pObject->GetType() == xtpPaneTypeTabbedContainer) {
    std::string str = "T";
    for (CXTPDockingPane *pPane : static_cast<const CXTPDockingPaneTabbedContainer *>(pObject)->GetPanes())
      str += std::to_string(pPane->GetID());
    return str;
  }
  if (pObject->GetType() == xtpPaneTypeMiniWnd) {
    auto *pTop = static_cast<const CXTPDockingPaneMiniWnd *>(pObject)->GetTopPane();
    return "F[" + (pTop != nullptr ? Shape(pTop, bWithEmpty) : std::string()) + "]";
  }
  if (pObject->GetType() == xtpPaneTypeAutoHidePanel) {
    auto *pPanel = static_cast<const CXTPDockingPaneAutoHidePanel *>(pObject);
    std::string str = "A" + std::to_string(pPanel->GetDirection()) + "[";
    for (CXTPDockingPaneBase *pChild : pPanel->GetContainers())
      if (bWithEmpty || !pChild->IsEmpty()) str += Shape(pChild, bWithEmpty) + " ";
    return str + "]";
  }
  auto *pSplitter = static_cast<const CXTPDockingPaneSplitterContainer *>(pObject);
  std::string str = pSplitter->IsHoriz() ? "H(" : "V(";
  for (CXTPDockingPaneBase *pChild : pSplitter->GetPanes())
    if (bWithEmpty || !pChild->IsEmpty() || pChild->GetType() == xtpPaneTypeClient)
      str += Shape(pChild, bWithEmpty) + " ";
  return str + ")";
}

// The floating frames of a layout that hold something, in creation order.
inline std::string Floating(CXTPDockingPaneLayout *pLayout) {
  std::string str;
  for (CXTPDockingPaneBase *pObject : pLayout->GetObjects())
    if (pObject->GetType() == xtpPaneTypeMiniWnd && !pObject->IsEmpty()) str += Shape(pObject);
  return str;
}

// A frame of class TFrame (a popup at the screen's corner, deleting itself
// with its window) with a pane manager installed in it.
template <class TFrame> class DockingSiteTest : public ::testing::Test {
protected:
  void CreateSite(const wchar_t *pszTitle, DWORD dwExStyle = 0, CSize size = CSize(640, 480)) {
    m_pFrame = new TFrame; // deletes itself with its window
    ASSERT_TRUE(m_pFrame->CreateEx(dwExStyle, AfxRegisterWndClass(0), pszTitle,
                                   WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, size.cx, size.cy,
                                   nullptr, nullptr));
    m_hFrame = m_pFrame->GetSafeHwnd();
    m_pManager.reset(MakeManager());
    m_pManager->InstallInFrame(m_pFrame);
  }
  // Shown without being activated, laid out and its messages run.
  void ShowSite() {
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_pFrame->RecalcLayout();
    Pump();
  }
  // Pane 1 docked at the left and pane 2 at the bottom, shown.
  void ShowLeftAndBottomPanes(int cyBottom = 120) {
    m_pLeft = m_pManager->CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockLeft);
    m_pBottom = m_pManager->CreatePane(2, CRect(0, 0, 150, cyBottom), xtpPaneDockBottom);
    ShowSite();
    ASSERT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
    Pump();
    m_pManager.reset();
  }
  virtual CXTPDockingPaneManager *MakeManager() { return new CXTPDockingPaneManager; }

  static void Pump() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      ::DispatchMessage(&msg);
    }
  }
  // Moves the cursor and posts the move, as the mouse would.
  void PostMove(CPoint pt) {
    ::SetCursorPos(pt.x, pt.y);
    CPoint ptClient = pt;
    ::ScreenToClient(m_hFrame, &ptClient);
    ::PostMessage(m_hFrame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
  }
  static CRect ScreenRect(CXTPDockingPaneBase *pObject) {
    CRect rc;
    pObject->GetWindowRect(&rc);
    return rc;
  }
  // A point on a container's caption, clear of its buttons.
  CPoint CaptionPoint(CXTPDockingPaneBase *pContainer) const {
    const CRect rc = ScreenRect(pContainer);
    return CPoint(rc.left + 10, rc.top + 6);
  }

  // The manager's layout written to a file, and read back into a layout.
  void Save(CMemFile &file) {
    CArchive ar(&file, CArchive::store);
    m_pManager->GetLayout()->Serialize(ar);
  }
  BOOL LoadInto(CXTPDockingPaneLayout *pLayout, CMemFile &file) {
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    return pLayout->Load(&px);
  }

  TFrame *m_pFrame = nullptr;
  HWND m_hFrame = nullptr;
  std::unique_ptr<CXTPDockingPaneManager> m_pManager;
  CXTPDockingPane *m_pLeft = nullptr;
  CXTPDockingPane *m_pBottom = nullptr;
};

} // namespace dptest
