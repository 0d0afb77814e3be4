#include "XTPDockingPaneManager.h"

#include <ole2.h>

#include <vector>

#include "FrameWnd.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPImageManager.h"
#include "XTPToolTipContext.h"

CXTPDockingPaneManager::CXTPDockingPaneManager() {
  m_pImageManager = new CXTPImageManager;
  m_pToolTipContext = new CXTPToolTipContext;
  m_pDragContext = new CXTPDockingPaneContext(this);
  SetTheme(xtpPaneThemeDefault);
  // OLE is taken down at the end only when it was set up here: a thread
  // that runs in another apartment already refuses it.
  m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
}

CXTPDockingPaneManager::~CXTPDockingPaneManager() {
  if (m_pLayout != nullptr) m_pLayout->InternalRelease();
  m_pLayout = nullptr;
  if (m_pActivePane != nullptr) m_pActivePane->InternalRelease();
  m_pActivePane = nullptr;
  m_pPaintManager->InternalRelease();
  m_pImageManager->InternalRelease();
  m_pToolTipContext->InternalRelease();
  delete m_pDragContext;
  if (m_hWnd != nullptr) DestroyWindow();
  if (m_bOleInitialized) ::OleUninitialize();
}

CXTPDockingPaneLayout *CXTPDockingPaneManager::CreateLayout() {
  return new CXTPDockingPaneLayout(this);
}

CXTPDockingPaneBase *CXTPDockingPaneManager::OnCreatePane(int type, CXTPDockingPaneLayout *pLayout) {
  switch (type) {
  case xtpPaneTypeDockingPane:
    return new CXTPDockingPane(pLayout);
  case xtpPaneTypeTabbedContainer:
    return new CXTPDockingPaneTabbedContainer(pLayout);
  case xtpPaneTypeSplitterContainer:
    return new CXTPDockingPaneSplitterContainer(pLayout);
  case xtpPaneTypeClient:
    return new CXTPDockingPaneBase(xtpPaneTypeClient, pLayout);
  case xtpPaneTypeMiniWnd:
    return new CXTPDockingPaneMiniWnd(pLayout);
  case xtpPaneTypeAutoHidePanel:
    return new CXTPDockingPaneAutoHidePanel(pLayout);
  default:
    return nullptr;
  }
}

void CXTPDockingPaneManager::InstallInFrame(CFrameWnd *pSite) {
  if (m_pSite != nullptr) return;
  ASSERT(m_pLayout == nullptr && pSite != nullptr);
  if (pSite == nullptr) return;
  if ((pSite->GetStyle() & WS_CLIPCHILDREN) == 0)
    TRACE(L"Warning: Add WS_CLIPCHILDREN and WS_CLIPSIBLINGS to frame\n");
  m_pSite = pSite;
  VERIFY(CreateEx(0, L"STATIC", L"", WS_CHILD, CRect(0, 0, 0, 0), pSite, 0));
  m_pLayout = CreateLayout();
  m_pLayout->SetUserLayout(FALSE);
}

void CXTPDockingPaneManager::SetTheme(int nTheme) {
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  m_pPaintManager = CXTPDockingPanePaintManager::CreateTheme(nTheme);
  RecalcFramesLayout();
  if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr)
    m_pSite->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

CXTPDockingPane *CXTPDockingPaneManager::CreatePane(UINT nID, CRect rc, XTPDockingPaneDirection direction,
                                                    CXTPDockingPaneBase *pNeighbour) {
  ASSERT(m_pLayout != nullptr && m_pLayout->GetTopContainer() != nullptr);
  if (m_pLayout == nullptr) return nullptr;
  auto *pPane = static_cast<CXTPDockingPane *>(OnCreatePane(xtpPaneTypeDockingPane, m_pLayout));
  pPane->SetID(static_cast<int>(nID));
  pPane->SetInitialRect(rc);
  CXTPDockingPaneInfo info;
  info.pPane = pPane;
  m_pLayout->GetPaneList().push_back(info);
  DockPaneFree(pPane, direction, pNeighbour);
  SyncPanesState();
  return pPane;
}

void CXTPDockingPaneManager::DockPaneFree(CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                                          CXTPDockingPaneBase *pNeighbour) {
  ASSERT(pPane->GetContainer() == nullptr);
  CXTPDockingPaneSplitterContainer *pTop = m_pLayout->GetTopContainer();
  if (pNeighbour == nullptr) pNeighbour = pTop;
  if (pNeighbour->GetType() == xtpPaneTypeDockingPane &&
      (pNeighbour->IsAutoHidden() || pNeighbour->GetContainer() == nullptr))
    pNeighbour = pTop;
  CWnd *pSite = pNeighbour->GetDockingSite() != nullptr ? pNeighbour->GetDockingSite() : m_pSite;
  const BOOL bHoriz = direction == xtpPaneDockLeft || direction == xtpPaneDockRight;
  const BOOL bAfter = direction == xtpPaneDockRight || direction == xtpPaneDockBottom;

  if (pPane->GetType() == xtpPaneTypeDockingPane) {
    auto *pTabbed =
        static_cast<CXTPDockingPaneTabbedContainer *>(OnCreatePane(xtpPaneTypeTabbedContainer, m_pLayout));
    pTabbed->Init(static_cast<CXTPDockingPane *>(pPane), pSite);
    pPane = pTabbed;
  }
  if (pNeighbour == pTop) {
    if (pTop->IsHoriz() == bHoriz) {
      pTop->_InsertPane(pPane, nullptr, bAfter);
    } else {
      auto *pSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(
          OnCreatePane(xtpPaneTypeSplitterContainer, m_pLayout));
      pSplitter->Init(pTop, bHoriz, pSite);
      pSplitter->_InsertPane(pPane, nullptr, bAfter);
      m_pLayout->SetTopContainer(pSplitter);
    }
  } else {
    if (pNeighbour->GetType() == xtpPaneTypeDockingPane) pNeighbour = pNeighbour->GetContainer();
    CXTPDockingPaneBase *pParent = pNeighbour->GetContainer();
    ASSERT(pParent != nullptr && pParent->GetType() == xtpPaneTypeSplitterContainer);
    auto *pOldSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(pParent);
    if (pOldSplitter->IsHoriz() == bHoriz) {
      pOldSplitter->_InsertPane(pPane, pNeighbour, bAfter);
    } else {
      auto *pSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(
          OnCreatePane(xtpPaneTypeSplitterContainer, m_pLayout));
      pSplitter->Init(pNeighbour, bHoriz, pSite);
      pSplitter->_InsertPane(pPane, pNeighbour, bAfter);
      pOldSplitter->_Replace(pNeighbour, pSplitter);
    }
  }
  if (pSite != nullptr && pSite->GetSafeHwnd() != nullptr && pSite->IsFrameWnd())
    static_cast<CFrameWnd *>(pSite)->DelayRecalcLayout(TRUE);
}

void CXTPDockingPaneManager::DockPane(CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                                      CXTPDockingPaneBase *pNeighbour) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  if (pPane->GetType() == xtpPaneTypeSplitterContainer) {
    const CXTPDockingPaneBaseList &lst = static_cast<CXTPDockingPaneSplitterContainer *>(pPane)->GetPanes();
    if (lst.size() == 1 && lst.front()->GetType() == xtpPaneTypeTabbedContainer) pPane = lst.front();
  }
  if (pPane->GetType() == xtpPaneTypeDockingPane) {
    if (pPane->GetContainer() != nullptr) DetachPane(pPane);
  } else if (pPane->GetContainer() != nullptr) {
    pPane = pPane->Clone(m_pLayout, nullptr, 0);
  }
  DockPaneFree(pPane, direction, pNeighbour);
}

void CXTPDockingPaneManager::DetachPane(CXTPDockingPaneBase *pPane) {
  ASSERT(pPane->GetContainer() != nullptr);
  if (pPane->GetContainer() != nullptr) pPane->GetContainer()->RemovePane(pPane);
}

void CXTPDockingPaneManager::AttachPane(CXTPDockingPaneBase *pPane, CXTPDockingPaneBase *pTarget) {
  if (pTarget->GetType() == xtpPaneTypeDockingPane) pTarget = pTarget->GetContainer();
  ASSERT(pTarget != nullptr && pTarget->GetType() == xtpPaneTypeTabbedContainer);
  if (pTarget == nullptr || pTarget->GetType() != xtpPaneTypeTabbedContainer) return;
  auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pTarget);
  CXTPDockingPaneBaseList lst;
  if (pPane->GetType() == xtpPaneTypeDockingPane)
    lst.push_back(pPane);
  else
    pPane->FindPane(xtpPaneTypeDockingPane, &lst);
  for (CXTPDockingPaneBase *p : lst) {
    if (p->GetContainer() != nullptr) DetachPane(p);
    pTabbed->_InsertPane(static_cast<CXTPDockingPane *>(p));
  }
  SyncPanesState();
}

void CXTPDockingPaneManager::ShowPane(CXTPDockingPane *pPane) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  if (pPane->GetContainer() != nullptr) {
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
    pTabbed->SelectPane(pPane, TRUE, TRUE);
    pTabbed->ShowSelected();
  } else if (CXTPDockingPaneInfo *pInfo = m_pLayout->FindPaneInfo(pPane)) {
    if (pInfo->pLastHolder == nullptr) return;
    static_cast<CXTPDockingPaneTabbedContainer *>(pInfo->pLastHolder)->_InsertPane(pPane);
  }
  // A pane shown in a rolled-up floating frame brings the frame down again.
  if (CXTPDockingPaneMiniWnd::IsMiniWnd(pPane->GetDockingSite()))
    static_cast<CXTPDockingPaneMiniWnd *>(pPane->GetDockingSite())->Expand();
  pPane->SetFocus();
}

CXTPDockingPaneMiniWnd *CXTPDockingPaneManager::FloatPane(CXTPDockingPaneBase *pPane, CRect rc) {
  ASSERT(pPane != nullptr &&
         (pPane->GetType() == xtpPaneTypeDockingPane || pPane->GetType() == xtpPaneTypeTabbedContainer));
  if (pPane == nullptr || m_pLayout == nullptr) return nullptr;
  if (pPane->GetType() == xtpPaneTypeDockingPane) {
    if (pPane->GetContainer() != nullptr) DetachPane(pPane);
  } else if (pPane->GetType() == xtpPaneTypeTabbedContainer) {
    pPane = pPane->Clone(m_pLayout, nullptr, 0);
  } else {
    return nullptr;
  }
  auto *pMiniWnd = static_cast<CXTPDockingPaneMiniWnd *>(OnCreatePane(xtpPaneTypeMiniWnd, m_pLayout));
  if (!pMiniWnd->Create(pPane, rc)) {
    TRACE(L"Warning: the floating frame could not be made\n");
    return nullptr;
  }
  SyncPanesState();
  return pMiniWnd;
}

BOOL CXTPDockingPaneManager::ToggleDocking(CXTPDockingPaneBase *pPane) {
  if (pPane == nullptr || m_pLayout == nullptr) return FALSE;
  const BOOL bFloating = CXTPDockingPaneMiniWnd::IsMiniWnd(pPane->GetDockingSite());
  const BOOL bToFloat = !bFloating && !pPane->IsAutoHidden();
  if (pPane->GetType() == xtpPaneTypeDockingPane) {
    auto *pDockingPane = static_cast<CXTPDockingPane *>(pPane);
    return TogglePaneDocking(pDockingPane, GetPaneHolder(pDockingPane, bToFloat));
  }
  ASSERT(pPane->GetType() == xtpPaneTypeTabbedContainer || pPane->GetType() == xtpPaneTypeSplitterContainer);
  CXTPDockingPaneBaseList lst;
  pPane->FindPane(xtpPaneTypeDockingPane, &lst);
  int nSelected = 0, nFocused = 0;
  if (pPane->GetType() == xtpPaneTypeTabbedContainer)
    if (CXTPDockingPane *pSelected = static_cast<CXTPDockingPaneTabbedContainer *>(pPane)->GetSelected())
      nSelected = pSelected->GetID();
  CXTPDockingPaneBase *pHolder = nullptr;
  for (CXTPDockingPaneBase *p : lst) {
    auto *pDockingPane = static_cast<CXTPDockingPane *>(p);
    if (nFocused == 0 && pDockingPane->IsFocus()) nFocused = pDockingPane->GetID();
    if (CXTPDockingPaneBase *pRecorded = GetPaneHolder(pDockingPane, bToFloat)) pHolder = pRecorded;
    if (!TogglePaneDocking(pDockingPane, pHolder)) {
      if (nSelected == pDockingPane->GetID()) nSelected = 0;
      if (nFocused == pDockingPane->GetID()) nFocused = 0;
    }
  }
  if (nFocused >= 1)
    ShowPane(nFocused);
  else if (nSelected > 0)
    ShowPane(nSelected);
  return TRUE;
}

BOOL CXTPDockingPaneManager::TogglePaneDocking(CXTPDockingPane *pPane, CXTPDockingPaneBase *pHolder) {
  const BOOL bToFloat = !CXTPDockingPaneMiniWnd::IsMiniWnd(pPane->GetDockingSite()) && !pPane->IsAutoHidden();
  if (bToFloat && (pPane->GetOptions() & xtpPaneNoFloatable) != 0) return FALSE;
  if (NotifyOwner(bToFloat ? xtpPaneActionFloating : xtpPaneActionDocking, pPane, pHolder) != 0) return FALSE;
  // A holder that has since left the layout's live tree is no place to go back to.
  if (pHolder != nullptr && pHolder->GetType() != xtpPaneTypeTabbedContainer) pHolder = nullptr;
  if (pHolder != nullptr) {
    m_bAttachingPane = TRUE;
    AttachPane(pPane, pHolder);
    m_bAttachingPane = FALSE;
  } else {
    CRect rc;
    pPane->GetWindowRect(&rc);
    FloatPane(pPane, rc);
  }
  NotifyOwner(bToFloat ? xtpPaneActionFloated : xtpPaneActionDocked, pPane);
  return TRUE;
}

namespace {

CXTPDockingPaneBase *Copied(const CXTPDockingPaneBase::CPaneMap &map, CXTPDockingPaneBase *pSource) {
  for (const auto &entry : map)
    if (entry.first == pSource) return entry.second;
  return nullptr;
}

} // namespace

BOOL CXTPDockingPaneManager::SetLayout(CXTPDockingPaneLayout *pSource) {
  if (pSource == nullptr || pSource == m_pLayout || m_pLayout == nullptr || m_pSite == nullptr ||
      pSource->GetTopContainer() == nullptr || pSource->GetClientPane() == nullptr)
    return FALSE;
  CXTPDockingPaneLayout *pLayout = CreateLayout();
  pLayout->Free();
  pLayout->SetUserLayout(FALSE);
  CXTPDockingPaneBase::CPaneMap map;
  auto *pTop =
      static_cast<CXTPDockingPaneSplitterContainer *>(pSource->GetTopContainer()->Clone(pLayout, &map, 0));
  // The floating frames' trees are copied now; their windows are made once
  // every pane has its window back, since a shown frame lays its panes out.
  struct FrameCopy {
    CXTPDockingPaneMiniWnd *pFrame;
    CXTPDockingPaneBase *pTop;
    CRect rc;
  };
  std::vector<FrameCopy> frames;
  for (CXTPDockingPaneBase *pObject : pSource->GetObjects()) {
    if (pObject->GetType() != xtpPaneTypeMiniWnd || pObject->IsEmpty()) continue;
    auto *pSourceFrame = static_cast<CXTPDockingPaneMiniWnd *>(pObject);
    auto *pFrame = static_cast<CXTPDockingPaneMiniWnd *>(OnCreatePane(xtpPaneTypeMiniWnd, pLayout));
    CXTPDockingPaneBase *pFrameTop = pSourceFrame->GetTopPane()->Clone(pLayout, &map, 0);
    frames.push_back({pFrame, pFrameTop, pFrame->TakeRollUpState(pSourceFrame)});
  }
  for (int nSide = xtpPaneDockLeft; nSide <= xtpPaneDockBottom; nSide++) {
    CXTPDockingPaneAutoHidePanel *pPanel =
        pSource->GetAutoHidePanel(static_cast<XTPDockingPaneDirection>(nSide));
    if (pPanel == nullptr || pPanel->IsEmpty()) continue;
    pLayout->SetAutoHidePanel(static_cast<CXTPDockingPaneAutoHidePanel *>(pPanel->Clone(pLayout, &map, 0)));
  }
  for (CXTPDockingPaneInfo &info : pSource->GetPaneList()) {
    CXTPDockingPaneInfo copy;
    copy.pPane = static_cast<CXTPDockingPane *>(Copied(map, info.pPane));
    // A closed pane is in no container: it is copied on its own.
    if (copy.pPane == nullptr)
      copy.pPane = static_cast<CXTPDockingPane *>(info.pPane->Clone(pLayout, &map, 0));
    copy.pDockingHolder = Copied(map, info.pDockingHolder);
    copy.pFloatingHolder = Copied(map, info.pFloatingHolder);
    copy.pLastHolder = Copied(map, info.pLastHolder);
    pLayout->GetPaneList().push_back(copy);
  }
  // Panes the saved layout does not know keep their ids and windows, closed.
  for (CXTPDockingPaneInfo &info : m_pLayout->GetPaneList()) {
    BOOL bKnown = FALSE;
    for (CXTPDockingPaneInfo &copy : pLayout->GetPaneList())
      if (copy.pPane->GetID() == info.pPane->GetID()) bKnown = TRUE;
    if (bKnown) continue;
    CXTPDockingPaneInfo copy;
    copy.pPane = static_cast<CXTPDockingPane *>(info.pPane->Clone(pLayout, &map, 0));
    pLayout->GetPaneList().push_back(copy);
  }
  for (CXTPDockingPaneInfo &copy : pLayout->GetPaneList())
    if (CXTPDockingPane *pOld = FindPane(copy.pPane->GetID())) pOld->MoveWindowTo(copy.pPane);
  pLayout->SetTopContainer(pTop);
  pLayout->SetClientPane(Copied(map, pSource->GetClientPane()));

  if (m_pActivePane != nullptr) OnActivatePane(FALSE, m_pActivePane);
  CXTPDockingPaneLayout *pOld = m_pLayout;
  m_pLayout = pLayout;
  for (FrameCopy &frame : frames) {
    if (!frame.pFrame->CreateWindowAt(frame.rc)) TRACE(L"Warning: the floating frame could not be made\n");
    frame.pFrame->SetTopContainer(static_cast<CXTPDockingPaneSplitterContainer *>(frame.pTop));
  }
  pOld->InternalRelease();
  SyncPanesState();
  if (m_pSite->GetSafeHwnd() != nullptr) m_pSite->RecalcLayout();
  return TRUE;
}

void CXTPDockingPaneManager::HidePane(CXTPDockingPaneBase *pPane) {
  if (pPane == nullptr || m_pLayout == nullptr) return;
  if (pPane->GetType() == xtpPaneTypeDockingPane && m_bHideGroupOnButtonClick &&
      pPane->GetContainer() != nullptr)
    pPane = pPane->GetContainer();
  CXTPDockingPaneBase *pContainer = pPane->GetContainer();
  if (pContainer == nullptr) return;
  if (pContainer->GetType() == xtpPaneTypeAutoHidePanel) {
    static_cast<CXTPDockingPaneAutoHidePanel *>(pContainer)->CloseActiveWindow();
    return;
  }
  m_pLayout->HidePane(pPane);
  if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr) m_pSite->DelayRecalcLayout(TRUE);
}

LRESULT CXTPDockingPaneManager::ClosePane(CXTPDockingPane *pPane) {
  if (pPane == nullptr || m_pSite == nullptr) return 0;
  const LRESULT lResult =
      m_pSite->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_CLOSEPANE, reinterpret_cast<LPARAM>(pPane));
  if (lResult != -1 && pPane->GetContainer() != nullptr) pPane->GetContainer()->RemovePane(pPane);
  return lResult;
}

CXTPDockingPane *CXTPDockingPaneManager::FindPane(int nID) const {
  if (m_pLayout == nullptr) return nullptr;
  for (CXTPDockingPaneInfo &info : m_pLayout->GetPaneList())
    if (info.pPane->GetID() == nID) return info.pPane;
  return nullptr;
}

CXTPDockingPaneBase *CXTPDockingPaneManager::GetPaneHolder(CXTPDockingPane *pPane, BOOL bFloating) const {
  CXTPDockingPaneInfo *pInfo = m_pLayout != nullptr ? m_pLayout->FindPaneInfo(pPane) : nullptr;
  if (pInfo == nullptr) return nullptr;
  return bFloating ? pInfo->pFloatingHolder : pInfo->pDockingHolder;
}

void CXTPDockingPaneManager::SyncPanesState() {
  if (m_pLayout == nullptr) return;
  for (CXTPDockingPaneInfo &info : m_pLayout->GetPaneList()) {
    CXTPDockingPaneBase *pContainer = info.pPane->GetContainer();
    if (pContainer == nullptr || pContainer->GetDockingSite() == nullptr || pContainer->IsAutoHidden())
      continue;
    if (CXTPDockingPaneMiniWnd::IsMiniWnd(pContainer->GetDockingSite()))
      info.pFloatingHolder = pContainer;
    else
      info.pDockingHolder = pContainer;
    info.pLastHolder = pContainer;
  }
}

void CXTPDockingPaneManager::GetDockingRect(CRect &rc, CXTPDockingPaneBase *pPane,
                                            XTPDockingPaneDirection direction,
                                            CXTPDockingPaneBase *pNeighbour) const {
  if (m_pLayout == nullptr || m_pLayout->GetTopContainer() == nullptr) return;
  if (pNeighbour == nullptr || pNeighbour == m_pLayout->GetTopContainer()) {
    CXTPDockingPaneSplitterContainer::CalcPaneRectBeside(rc, m_pLayout->GetTopContainer(), pPane, direction);
    return;
  }
  if (pNeighbour->GetType() == xtpPaneTypeDockingPane) pNeighbour = pNeighbour->GetContainer();
  ASSERT(pNeighbour != nullptr && pNeighbour->GetContainer() != nullptr &&
         pNeighbour->GetContainer()->GetType() == xtpPaneTypeSplitterContainer);
  if (pNeighbour == nullptr || pNeighbour->GetContainer() == nullptr ||
      pNeighbour->GetContainer()->GetType() != xtpPaneTypeSplitterContainer)
    return;
  auto *pSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(pNeighbour->GetContainer());
  const BOOL bHoriz = direction == xtpPaneDockLeft || direction == xtpPaneDockRight;
  if (pSplitter->IsHoriz() != bHoriz)
    CXTPDockingPaneSplitterContainer::CalcPaneRectBeside(rc, pNeighbour, pPane, direction);
  else
    pSplitter->CalcPaneRect(rc, pPane, direction, pNeighbour);
}

void CXTPDockingPaneManager::RecalcFramesLayout() {
  if (m_hWnd == nullptr || m_pLayout == nullptr) return;
  for (CXTPDockingPaneBase *pObject : m_pLayout->GetObjects())
    if (pObject->GetType() == xtpPaneTypeMiniWnd)
      static_cast<CXTPDockingPaneMiniWnd *>(pObject)->RecalcFrameStyle();
  for (CXTPDockingPaneInfo &info : m_pLayout->GetPaneList()) {
    CXTPDockingPaneBase *pContainer = info.pPane->GetContainer();
    CWnd *pFrame = pContainer != nullptr ? pContainer->GetDockingSite() : nullptr;
    if (pFrame != nullptr && pFrame->GetSafeHwnd() != nullptr && pFrame->IsFrameWnd())
      static_cast<CFrameWnd *>(pFrame)->DelayRecalcLayout(TRUE);
  }
}

INT_PTR CXTPDockingPaneManager::NotifyOwner(XTPDockingPaneAction action, CXTPDockingPane *pPane,
                                            CXTPDockingPaneBase *pDockContainer,
                                            XTPDockingPaneDirection direction) {
  XTP_DOCKINGPANE_ACTION record = {action, 0, pPane, pDockContainer, direction};
  if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr)
    m_pSite->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_ACTION, reinterpret_cast<LPARAM>(&record));
  return record.bCancel;
}

void CXTPDockingPaneManager::OnActivatePane(BOOL bActive, CXTPDockingPane *pPane) {
  if (bActive) {
    if (pPane == m_pActivePane && pPane != nullptr) return;
    if (m_pActivePane != nullptr) {
      CXTPDockingPane *pOld = m_pActivePane;
      m_pActivePane = nullptr;
      NotifyOwner(xtpPaneActionDeactivated, pOld);
      pOld->InternalRelease();
    }
    if (pPane != nullptr) {
      pPane->InternalAddRef();
      m_pActivePane = pPane;
      NotifyOwner(xtpPaneActionActivated, pPane);
    }
  } else if (pPane != nullptr && pPane == m_pActivePane) {
    m_pActivePane = nullptr;
    NotifyOwner(xtpPaneActionDeactivated, pPane);
    pPane->InternalRelease();
  }
}

BOOL CXTPDockingPaneManager::IsLayoutRTL() const {
  return m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr &&
         (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

XTPDockingPaneDirection CXTPDockingPaneManager::MirrorDirection(XTPDockingPaneDirection direction) const {
  if (!IsLayoutRTL()) return direction;
  if (direction == xtpPaneDockLeft) return xtpPaneDockRight;
  if (direction == xtpPaneDockRight) return xtpPaneDockLeft;
  return direction;
}

void CXTPDockingPaneManager::RefreshColours() {
  XTPGetColorManager()->RefreshColors();
  // The docking colours are copies of the colour manager's: they follow it.
  if (m_pPaintManager != nullptr) m_pPaintManager->RefreshMetrics();
  RecalcFramesLayout();
  if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr)
    m_pSite->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CXTPDockingPaneManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_SIZEPARENT:
    if (m_pLayout != nullptr && m_pLayout->GetTopContainer() != nullptr) {
      auto *pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS *>(lParam);
      m_pLayout->OnSizeParent(m_pSite, CRect(pLayout->rect), pLayout);
      SyncPanesState();
    }
    return 0;
  case WM_IDLEUPDATECMDUI:
    if (m_pLayout != nullptr)
      for (CXTPDockingPaneInfo &info : m_pLayout->GetPaneList()) info.pPane->OnFocusChanged();
    return 0;
  case WM_SYSCOLORCHANGE:
  case WM_SETTINGCHANGE:
  case WM_THEMECHANGED:
    RefreshColours();
    return 0;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
