// The folder tree on the left of the main window: every folder a search or
// an opened scan file found, under one root item, with tri-state check
// boxes. It owns the list of all found entries (folders and files) that the
// file list, the scan-file writers, recovery, Find and the file mask walk.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "EntryCheckModel.h"
#include "Framework.h"
#include "TreeEntryNode.h"

// The parent id of the root's own entry: no found entry has it.
constexpr uint32_t kTreeRootParentId = 0xFFFFFFFF;

class CQuendalVarnothView;

class CLeftView : public CTreeView {
  DECLARE_DYNCREATE(CLeftView)
public:
  // Posted to the tree itself to show the folders added since the last
  // turn of the message loop.
  static constexpr UINT kResumeRedrawMessage = WM_APP + 0x60;

  CLeftView();
  ~CLeftView() override;

  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnInitialUpdate() override;

  EntryNodeList &Entries() { return m_entries; }
  EntryCheckModel &CheckModel() { return m_checkModel; }
  HTREEITEM RootItem() const { return m_rootItem; }
  // The node a folder item stands for; null for an item of no node.
  TreeEntryNode *NodeOfItem(HTREEITEM item);
  // The folder's item. A folder's subfolders get their items when its own
  // first opens; this makes them (and its ancestors') now. Null for a folder
  // with no place in the tree.
  HTREEITEM ItemOf(TreeEntryNode &folder);

  // Starts a new tree: the root item ("Root"; its data is the root's own
  // id, 5 with the NTFS engine live, else 0) and a new entry list whose first
  // node is the root's.
  void CreateRootItem();
  // Keeps a copy of the entry; a folder also gets a place in the tree,
  // sorted by name, under its parent folder (none when that parent is
  // unknown). Its item is made at once only under an item already opened
  // once (the root always is); the rest wait for their parent to open.
  void AddEntryToTree(const EntryRecord &entry, std::u16string name);
  // A file already added gets another recovery grade, in its row too when
  // the file list shows it.
  void SetEntryGrade(uint32_t ownId, RecoveryGrade grade);
  // Deletes every item and empties the file list; the entries stay until
  // the next CreateRootItem or Entries().Clear().
  void ClearTree();
  void CollapseFirstLevel();
  // The root open, selected and in view, its entries in the file list.
  void ShowRootItem();
  void ResetTreeToRoot();
  void SelectFolderById(DWORD id);
  void OpenChildFolder(DWORD id);
  // Counts checked and partly checked entries; sets AnyChecked. Returns
  // whether any folder counted.
  BOOL CountCheckedEntries(UINT &folders, UINT &files);
  void SetEntriesCheck(DWORD id, BYTE value);
  // A row's check box in the file list changed to value (1 or 0).
  void SetSubtreeCheck(BYTE value, const CString &name, const CString &typeText, CheckSummary summary,
                       DWORD id);

  // A check-box hit on the item: checked becomes unchecked, anything else
  // checked; the subtree, the ancestors, the file list and the counts
  // follow.
  void ToggleItemCheck(HTREEITEM item);
  // The Space key on the tree: the same for the selected item.
  void ToggleSelectedItemCheck();
  // Shows a folder node's check byte on its item.
  void ShowNodeCheck(const TreeEntryNode &node);
  // While a search, a load, a save or a recovery runs (or unwinds), check
  // boxes keep their state: a recovery reads them as it goes.
  bool ChecksLocked();

protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnResumeRedraw(WPARAM, LPARAM);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnTreeSelChanged(NMHDR *header, LRESULT *result);
  afx_msg void OnTreeItemExpanding(NMHDR *header, LRESULT *result);

private:
  // Case-blind order of the control's own sorted insertion.
  struct NameLess {
    bool operator()(const std::wstring &a, const std::wstring &b) const;
  };
  using SortedChildren = std::multimap<std::wstring, HTREEITEM, NameLess>;
  struct ItemChildren {
    // Its subfolders' items by name, so a sorted insertion finds its place
    // without walking the siblings.
    SortedChildren sorted;
    // Its subfolders have their items; until then it only shows a button
    // when it has any.
    bool filled = false;
    bool buttonShown = false;
  };

  EntryNodeList m_entries;
  EntryCheckModel m_checkModel;
  HTREEITEM m_rootItem = nullptr;
  CImageList m_images;
  CImageList m_stateImages;
  // Under Wine every item costs a few microseconds to insert and keeps
  // costing in each layout: a disk's tens of thousands of folders get items
  // only as the user opens their parents.
  std::unordered_map<HTREEITEM, ItemChildren> m_children;
  std::unordered_map<HTREEITEM, TreeEntryNode *> m_nodeOfItem;
  // While entries pour in, the tree is redrawn once per turn of the
  // message loop rather than once per folder, and no more often than every
  // kRedrawIntervalMs: under Wine one drawing of the tree costs as much as
  // a thousand adds, and a search turns the loop every few milliseconds.
  static constexpr ULONGLONG kRedrawIntervalMs = 100;
  static constexpr UINT_PTR kResumeRedrawTimer = 0x5152;
  bool m_redrawDeferred = false;
  ULONGLONG m_lastRedraw = 0;

  CQuendalVarnothView *FileList() const;
  // A new folder's item: its subfolders are still to come, so no button.
  HTREEITEM InsertSorted(HTREEITEM parent, const EntryRecord &folder, uint8_t check,
                         const std::wstring &name);
  HTREEITEM InsertFolderItem(HTREEITEM parent, HTREEITEM after, const EntryRecord &folder, uint8_t check,
                             const std::wstring &name, bool button);
  bool HasSubfolderInTree(const TreeEntryNode &folder);
  // Makes the items of the folder item's subfolders, if not made yet.
  void FillChildren(HTREEITEM item);
  // The button of a folder whose first subfolder just came.
  void ShowButton(HTREEITEM item);
  HTREEITEM FindChildItem(HTREEITEM parent, const CString *name, DWORD id);
  void FillFileListOf(HTREEITEM item);
  void AfterCheckChange(bool unchecked);
  void DeferRedraw();
  void ResumeRedraw();

  DECLARE_MESSAGE_MAP()
};
