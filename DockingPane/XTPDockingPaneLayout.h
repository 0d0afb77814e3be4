// CXTPDockingPaneLayout: one whole arrangement of docking objects: every
// object (it owns them all), the tree under its top container, the client
// placeholder and the pane list with each pane's recorded holders. It saves
// and loads itself through a property exchange.
#pragma once

#include "CmdTarget.h"
#include "XTPDockingPaneBase.h"
#include "XTPPropExchange.h"

#include <vector>

class CXTPDockingPaneSplitterContainer;
class CXTPDockingPaneAutoHidePanel;
class CArchive;

// The pane list's entry: a pane and the containers it was last in.
struct CXTPDockingPaneInfo {
  CXTPDockingPane *pPane = nullptr;
  CXTPDockingPaneBase *pFloatingHolder = nullptr;
  CXTPDockingPaneBase *pDockingHolder = nullptr;
  CXTPDockingPaneBase *pLastHolder = nullptr;
};
typedef std::vector<CXTPDockingPaneInfo> CXTPDockingPaneInfoList;

// What a loading object's section carries (the exchange's owner pointer):
// the objects by their saved index, and the rules every reference from a
// saved layout must pass. A saved layout is outside data.
class CXTPDockingPaneLayoutLoader {
public:
  explicit CXTPDockingPaneLayoutLoader(const std::vector<CXTPDockingPaneBase *> &arrObjects)
      : m_arrObjects(arrObjects) {}
  int GetCount() const { return static_cast<int>(m_arrObjects.size()); }
  // The object of a 1-based index; null for any index outside the list.
  CXTPDockingPaneBase *Resolve(int nIndex) const;
  // TRUE when pChild may become a child of pParent: it exists, is not
  // pParent, has no container yet and does not hold pParent.
  static BOOL CanAdopt(const CXTPDockingPaneBase *pParent, CXTPDockingPaneBase *pChild);

  // A container's children are saved as "Pane-1".."Pane-n", each the
  // child's object index.
  template <class Child>
  static void StoreChildren(CXTPPropExchange *pPX, const std::vector<Child *> &children) {
    for (size_t i = 0; i < children.size(); i++) {
      int nIndex = children[i]->GetIndex();
      PX_Int(pPX, ChildKey(static_cast<int>(i)), nIndex, 0);
    }
  }
  // The i-th (from 0) saved child, when its entry is there and pParent may
  // adopt it; null otherwise.
  CXTPDockingPaneBase *LoadChild(CXTPPropExchange *pPX, int i, const CXTPDockingPaneBase *pParent) const;

private:
  static CString ChildKey(int i);

  const std::vector<CXTPDockingPaneBase *> &m_arrObjects;
};

class CXTPDockingPaneLayout : public CCmdTarget {
  friend class CXTPDockingPaneBase;

public:
  explicit CXTPDockingPaneLayout(CXTPDockingPaneManager *pManager);
  ~CXTPDockingPaneLayout() override;
  CXTPDockingPaneLayout(const CXTPDockingPaneLayout &) = delete;
  CXTPDockingPaneLayout &operator=(const CXTPDockingPaneLayout &) = delete;

  // Saved layouts hold at most this many objects.
  static const int kMaxObjects = 65535;

  BOOL DoPropExchange(CXTPPropExchange *pPX);
  void Serialize(CArchive &ar);
  void Save(CXTPPropExchange *pPX);
  // FALSE for any layout that is not sound; the layout is then empty.
  BOOL Load(CXTPPropExchange *pPX);
  void Free();

  CXTPDockingPaneInfo *FindPaneInfo(CXTPDockingPane *pPane);
  // The side of the frame an object would hide to: where it stands against
  // the client area in the nearest splitter that holds the client area.
  XTPDockingPaneDirection GetAutoHideDirection(const CXTPDockingPaneBase *pObject) const;
  void OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam);
  // Moves a docked pane or tabbed container into the auto-hide panel of its side.
  void HidePane(CXTPDockingPaneBase *pObject);
  CXTPDockingPaneAutoHidePanel *GetAutoHidePanel(XTPDockingPaneDirection direction) const {
    return m_pPanels[direction & 3];
  }
  // Makes pPanel the panel of its side; FALSE when the side has another already.
  BOOL SetAutoHidePanel(CXTPDockingPaneAutoHidePanel *pPanel);

  CXTPDockingPaneManager *GetManager() const { return m_pManager; }
  CXTPDockingPaneSplitterContainer *GetTopContainer() const { return m_pTopContainer; }
  void SetTopContainer(CXTPDockingPaneSplitterContainer *pTop) { m_pTopContainer = pTop; }
  CXTPDockingPaneBase *GetClientPane() const { return m_pClient; }
  void SetClientPane(CXTPDockingPaneBase *pClient) { m_pClient = pClient; }
  CXTPDockingPaneInfoList &GetPaneList() { return m_lstPanes; }
  const std::vector<CXTPDockingPaneBase *> &GetObjects() const { return m_lstObjects; }
  BOOL IsUserLayout() const { return m_bUserLayout; }
  void SetUserLayout(BOOL bUserLayout) { m_bUserLayout = bUserLayout; }

private:
  void AddObject(CXTPDockingPaneBase *pObject) { m_lstObjects.push_back(pObject); }
  // Deletes one object of the list (a pane is released).
  static void DestroyObject(CXTPDockingPaneBase *pObject);
  // Removes containers that nothing uses; TRUE when it removed any.
  BOOL RemoveUnusedObjects();
  BOOL LoadObjects(CXTPPropExchange *pPX);

  CXTPDockingPaneSplitterContainer *m_pTopContainer = nullptr;
  CXTPDockingPaneBase *m_pClient = nullptr;
  CXTPDockingPaneAutoHidePanel *m_pPanels[4] = {};
  CXTPDockingPaneInfoList m_lstPanes;
  std::vector<CXTPDockingPaneBase *> m_lstObjects;
  BOOL m_bUserLayout = TRUE;
  CXTPDockingPaneManager *m_pManager;
};
