#include "XTPDockingPaneLayout.h"

#include <algorithm>
#include <memory>
#include <set>

#include "Archive.h"
#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"

namespace {

struct SectionRelease {
  void operator()(CXTPPropExchange *pPX) const { pPX->InternalRelease(); }
};
typedef std::unique_ptr<CXTPPropExchange, SectionRelease> CSection;

CSection Section(CXTPPropExchange *pPX, LPCTSTR lpszName) {
  return CSection(pPX->GetSection(lpszName));
}

CString ObjectSectionName(int nIndex) {
  CString strName;
  strName.Format(L"Pane-%d", nIndex);
  return strName;
}

} // namespace

// ---------------------------------------------------------------------------
// Loading rules

CXTPDockingPaneBase *CXTPDockingPaneLayoutLoader::Resolve(int nIndex) const {
  return nIndex >= 1 && nIndex <= GetCount() ? m_arrObjects[nIndex - 1] : nullptr;
}

CString CXTPDockingPaneLayoutLoader::ChildKey(int i) {
  CString strKey;
  strKey.Format(L"Pane-%d", i + 1);
  return strKey;
}

CXTPDockingPaneBase *CXTPDockingPaneLayoutLoader::LoadChild(CXTPPropExchange *pPX, int i,
                                                            const CXTPDockingPaneBase *pParent) const {
  int nIndex = 0;
  if (!PX_Int(pPX, ChildKey(i), nIndex, 0)) return nullptr;
  CXTPDockingPaneBase *pChild = Resolve(nIndex);
  return CanAdopt(pParent, pChild) ? pChild : nullptr;
}

BOOL CXTPDockingPaneLayoutLoader::CanAdopt(const CXTPDockingPaneBase *pParent, CXTPDockingPaneBase *pChild) {
  // Every adopted child had no parent and did not hold its new parent, so
  // the tree stays free of cycles and ContainsPane always ends.
  return pChild != nullptr && pChild != pParent && pChild->GetContainer() == nullptr &&
         !pChild->ContainsPane(const_cast<CXTPDockingPaneBase *>(pParent));
}

// ---------------------------------------------------------------------------
// The layout

CXTPDockingPaneLayout::CXTPDockingPaneLayout(CXTPDockingPaneManager *pManager) : m_pManager(pManager) {
  m_pClient = pManager->OnCreatePane(xtpPaneTypeClient, this);
  m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer *>(
      pManager->OnCreatePane(xtpPaneTypeSplitterContainer, this));
  m_pTopContainer->Init(m_pClient, TRUE, pManager->GetSite());
}

CXTPDockingPaneLayout::~CXTPDockingPaneLayout() {
  Free();
}

void CXTPDockingPaneLayout::DestroyObject(CXTPDockingPaneBase *pObject) {
  if (pObject->GetType() == xtpPaneTypeDockingPane)
    static_cast<CXTPDockingPane *>(pObject)->InternalRelease();
  else
    delete pObject;
}

void CXTPDockingPaneLayout::Free() {
  // A slide-out window points at containers that are about to go.
  for (CXTPDockingPaneAutoHidePanel *&pPanel : m_pPanels) {
    if (pPanel != nullptr) pPanel->DestroyActiveWindow();
    pPanel = nullptr;
  }
  while (!m_lstObjects.empty()) {
    CXTPDockingPaneBase *pObject = m_lstObjects.front();
    m_lstObjects.erase(m_lstObjects.begin());
    DestroyObject(pObject);
  }
  m_lstPanes.clear();
  m_pTopContainer = nullptr;
  m_pClient = nullptr;
}

CXTPDockingPaneInfo *CXTPDockingPaneLayout::FindPaneInfo(CXTPDockingPane *pPane) {
  for (CXTPDockingPaneInfo &info : m_lstPanes)
    if (info.pPane == pPane) return &info;
  return nullptr;
}

XTPDockingPaneDirection
CXTPDockingPaneLayout::GetAutoHideDirection(const CXTPDockingPaneBase *pObject) const {
  for (;;) {
    CXTPDockingPaneBase *pParent = pObject->GetContainer();
    if (pParent == nullptr) return xtpPaneDockLeft;
    if (pParent->GetType() == xtpPaneTypeAutoHidePanel)
      return static_cast<CXTPDockingPaneAutoHidePanel *>(pParent)->GetDirection();
    if (pParent->GetType() == xtpPaneTypeSplitterContainer && m_pClient != nullptr &&
        pParent->ContainsPane(m_pClient)) {
      auto *pSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(pParent);
      CXTPDockingPaneBase *pClientSide = nullptr;
      for (CXTPDockingPaneBase *pChild : pSplitter->GetPanes())
        if (pChild->ContainsPane(m_pClient)) pClientSide = pChild;
      const BOOL bBefore = pSplitter->IsChildBefore(const_cast<CXTPDockingPaneBase *>(pObject), pClientSide);
      if (pSplitter->IsHoriz()) return bBefore ? xtpPaneDockLeft : xtpPaneDockRight;
      return bBefore ? xtpPaneDockTop : xtpPaneDockBottom;
    }
    pObject = pParent;
  }
}

void CXTPDockingPaneLayout::OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) {
  for (CXTPDockingPaneAutoHidePanel *pPanel : m_pPanels)
    if (pPanel != nullptr) pPanel->OnLayout(pParent, rect, static_cast<AFX_SIZEPARENTPARAMS *>(lParam));
  if (m_pClient != nullptr) m_pClient->OnSizeParent(pParent, rect, lParam);
  if (m_pTopContainer != nullptr) m_pTopContainer->OnSizeParent(pParent, rect, lParam);
}

BOOL CXTPDockingPaneLayout::SetAutoHidePanel(CXTPDockingPaneAutoHidePanel *pPanel) {
  CXTPDockingPaneAutoHidePanel *&pSlot = m_pPanels[pPanel->GetDirection() & 3];
  if (pSlot != nullptr && pSlot != pPanel) return FALSE;
  pSlot = pPanel;
  return TRUE;
}

void CXTPDockingPaneLayout::HidePane(CXTPDockingPaneBase *pObject) {
  ASSERT(!m_bUserLayout);
  const XTPDockingPaneDirection direction = GetAutoHideDirection(pObject);
  CXTPDockingPaneAutoHidePanel *pPanel = m_pPanels[direction];
  if (pPanel == nullptr) {
    pPanel =
        static_cast<CXTPDockingPaneAutoHidePanel *>(m_pManager->OnCreatePane(xtpPaneTypeAutoHidePanel, this));
    pPanel->SetDirection(direction);
    m_pPanels[direction] = pPanel;
  }
  if (pObject->GetType() == xtpPaneTypeDockingPane) {
    if (pObject->GetContainer() != nullptr) pObject->GetContainer()->RemovePane(pObject);
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(
        m_pManager->OnCreatePane(xtpPaneTypeTabbedContainer, this));
    pTabbed->Init(static_cast<CXTPDockingPane *>(pObject), m_pManager->GetSite());
    pObject = pTabbed;
  } else {
    pObject = pObject->Clone(this, nullptr, xtpPaneNoHideable);
  }
  pPanel->_InsertPane(pObject);
}

BOOL CXTPDockingPaneLayout::DoPropExchange(CXTPPropExchange *pPX) {
  if (pPX->IsLoading()) return Load(pPX);
  Save(pPX);
  return TRUE;
}

void CXTPDockingPaneLayout::Serialize(CArchive &ar) {
  CXTPPropExchangeArchive px(ar);
  DoPropExchange(&px);
}

// ---------------------------------------------------------------------------
// Saving

BOOL CXTPDockingPaneLayout::RemoveUnusedObjects() {
  std::set<CXTPDockingPaneBase *> setUsed;
  for (CXTPDockingPaneInfo &info : m_lstPanes) {
    setUsed.insert(info.pDockingHolder);
    setUsed.insert(info.pFloatingHolder);
    setUsed.insert(info.pPane->GetContainer());
  }
  for (size_t i = 0; i < m_lstObjects.size(); i++) {
    CXTPDockingPaneBase *pObject = m_lstObjects[i];
    CXTPDockingPaneBase *pParent = pObject->GetContainer();
    BOOL bRemove = FALSE;
    if (pObject->GetType() == xtpPaneTypeMiniWnd && pObject->IsEmpty()) {
      // A floating frame whose panes all went elsewhere.
      if (auto *pTop = static_cast<CXTPDockingPaneMiniWnd *>(pObject)->GetTopPane())
        pObject->RemovePane(pTop);
      bRemove = TRUE;
    } else if (pObject->GetType() == xtpPaneTypeTabbedContainer && setUsed.count(pObject) == 0) {
      if (pParent != nullptr) pParent->RemovePane(pObject);
      bRemove = TRUE;
    } else if (pObject->GetType() == xtpPaneTypeSplitterContainer && pObject != m_pTopContainer) {
      auto *pSplitter = static_cast<CXTPDockingPaneSplitterContainer *>(pObject);
      if (pSplitter->GetPanes().empty()) {
        if (pParent != nullptr) pParent->RemovePane(pObject);
        bRemove = TRUE;
      } else if (pSplitter->GetPanes().size() == 1 && pParent != nullptr &&
                 pParent->GetType() == xtpPaneTypeSplitterContainer &&
                 static_cast<CXTPDockingPaneSplitterContainer *>(pParent)->GetPanes().size() == 1) {
        static_cast<CXTPDockingPaneSplitterContainer *>(pParent)->_Replace(pSplitter,
                                                                           pSplitter->GetPanes().front());
        bRemove = TRUE;
      }
    }
    if (bRemove) {
      m_lstObjects.erase(m_lstObjects.begin() + static_cast<std::ptrdiff_t>(i));
      DestroyObject(pObject);
      return TRUE;
    }
  }
  return FALSE;
}

void CXTPDockingPaneLayout::Save(CXTPPropExchange *pPX) {
  ASSERT(pPX->IsStoring());
  pPX->EmptySection();
  while (RemoveUnusedObjects()) {
  }
  int nCount = static_cast<int>(m_lstObjects.size());
  {
    CSection pSummary = Section(pPX, L"Summary");
    PX_Int(pSummary.get(), L"Panes", nCount, 0);
    pSummary->ExchangeSchema();
  }
  for (int i = 0; i < nCount; i++) {
    m_lstObjects[i]->m_nIndex = i + 1;
    CSection pSection = Section(pPX, ObjectSectionName(i + 1));
    int nType = m_lstObjects[i]->GetType();
    PX_Int(pSection.get(), L"Type", nType, -1);
  }
  for (int i = 0; i < nCount; i++) {
    CSection pSection = Section(pPX, ObjectSectionName(i + 1));
    m_lstObjects[i]->DoPropExchange(pSection.get());
  }
  CSection pSummary = Section(pPX, L"Summary");
  int nTop = m_pTopContainer != nullptr ? m_pTopContainer->GetIndex() : 0;
  int nClient = m_pClient != nullptr ? m_pClient->GetIndex() : 0;
  PX_Int(pSummary.get(), L"TopContainer", nTop, 0);
  PX_Int(pSummary.get(), L"Client", nClient, 0);
}

// ---------------------------------------------------------------------------
// Loading

BOOL CXTPDockingPaneLayout::Load(CXTPPropExchange *pPX) {
  ASSERT(pPX->IsLoading());
  Free();
  // A layout that fails to load is emptied at once: nothing half-built stays
  // behind to be laid out or to leak.
  if (LoadObjects(pPX)) return TRUE;
  Free();
  return FALSE;
}

BOOL CXTPDockingPaneLayout::LoadObjects(CXTPPropExchange *pPX) {
  int nCount = 0;
  {
    CSection pSummary = Section(pPX, L"Summary");
    PX_Int(pSummary.get(), L"Panes", nCount, 0);
    if (nCount < 2 || nCount > kMaxObjects) return FALSE;
    pSummary->ExchangeSchema();
  }
  for (int i = 1; i <= nCount; i++) {
    CSection pSection = Section(pPX, ObjectSectionName(i));
    int nType = -1;
    PX_Int(pSection.get(), L"Type", nType, -1);
    CXTPDockingPaneBase *pObject = m_pManager->OnCreatePane(nType, this);
    if (pObject == nullptr) return FALSE;
    pObject->m_nIndex = i;
  }
  if (static_cast<int>(m_lstObjects.size()) != nCount) return FALSE;

  const std::vector<CXTPDockingPaneBase *> arrObjects = m_lstObjects;
  CXTPDockingPaneLayoutLoader loader(arrObjects);
  for (CXTPDockingPaneBase *pObject : arrObjects) {
    CSection pSection = Section(pPX, ObjectSectionName(pObject->GetIndex()));
    pSection->m_dwData = reinterpret_cast<DWORD_PTR>(&loader);
    if (!pObject->DoPropExchange(pSection.get())) return FALSE;
  }

  CSection pSummary = Section(pPX, L"Summary");
  int nTop = 0, nClient = 0;
  if (!PX_Int(pSummary.get(), L"TopContainer", nTop)) return FALSE;
  CXTPDockingPaneBase *pTop = loader.Resolve(nTop);
  if (pTop == nullptr || pTop->GetType() != xtpPaneTypeSplitterContainer || pTop->GetContainer() != nullptr)
    return FALSE;
  if (!PX_Int(pSummary.get(), L"Client", nClient)) return FALSE;
  CXTPDockingPaneBase *pClient = loader.Resolve(nClient);
  if (pClient == nullptr || pClient->GetType() != xtpPaneTypeClient) return FALSE;
  m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer *>(pTop);
  m_pClient = pClient;
  return TRUE;
}
