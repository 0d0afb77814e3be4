#include "LeftView.h"

#include <algorithm>

#include "AppSettings.h"
#include "AppText.h"
#include "CheckBoxHit.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "ShownText.h"
#include "XTPDrawHelpers.h"
#include "XTPScrollBarsHold.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CLeftView, CTreeView)

BEGIN_MESSAGE_MAP(CLeftView, CTreeView)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(CLeftView::kResumeRedrawMessage, OnResumeRedraw)
ON_WM_TIMER()
ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnTreeSelChanged)
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnTreeItemExpanding)
END_MESSAGE_MAP()

namespace {

// Normal images: closed and open folder, then the same for deleted folders.
constexpr int kFolderImage = 0;
constexpr int kDeletedFolderImage = 2;
// Tree state images 1, 2 and 3 are unchecked, checked and partly checked.
UINT StateOfCheck(uint8_t check) {
  return INDEXTOSTATEIMAGEMASK(check + 1);
}

// Holds the drawing of the window around both panes while the tree and the
// list reach their final state. Each of them otherwise draws its frame and
// scroll bars at once at every change of its size or range (under Wine,
// themed, several milliseconds each time), and then again when painted; held,
// both are drawn once, whole, at the next paint.
class PanesDrawingHold {
public:
  explicit PanesDrawingHold(HWND panes)
      : m_panes(panes != nullptr && ::IsWindowVisible(panes) ? panes : nullptr) {
    if (m_panes != nullptr) ::SendMessage(m_panes, WM_SETREDRAW, FALSE, 0);
  }
  ~PanesDrawingHold() {
    if (m_panes == nullptr || !::IsWindow(m_panes)) return;
    ::SendMessage(m_panes, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_panes, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  PanesDrawingHold(const PanesDrawingHold &) = delete;
  PanesDrawingHold &operator=(const PanesDrawingHold &) = delete;

private:
  HWND m_panes;
};

} // namespace

bool CLeftView::NameLess::operator()(const std::wstring &a, const std::wstring &b) const {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

CLeftView::CLeftView() : m_checkModel(m_entries, [this](TreeEntryNode &node) { ShowNodeCheck(node); }) {}

CLeftView::~CLeftView() = default;

BOOL CLeftView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
  return CTreeView::PreCreateWindow(cs);
}

// The tree draws into a memory copy of its client area, erased there, and
// the part to paint is copied in one step: nothing flickers, and under Wine
// its check boxes and folder pictures are drawn without a call to the window
// server each (drawn on the screen, every picture costs two).
void CLeftView::OnPaint() {
  CPaintDC dc(this);
  CXTPBufferDC buffer(dc.GetSafeHdc(), dc.m_ps.rcPaint);
  if (buffer.GetSafeHdc() == nullptr) return;
  const WPARAM hdc = reinterpret_cast<WPARAM>(buffer.GetSafeHdc());
  // Wine's tree sets its scroll bars again at the end of every paint.
  CXTPScrollBarsHold bars(m_hWnd);
  DefWindowProc(WM_ERASEBKGND, hdc, 0);
  DefWindowProc(WM_PAINT, hdc, 0);
}

// The background is erased with the buffered paint, never on the screen.
BOOL CLeftView::OnEraseBkgnd(CDC *) {
  return TRUE;
}

void CLeftView::OnInitialUpdate() {
  CTreeView::OnInitialUpdate();
  CQuendalVarnothApp &app = TheQvApp();
  if (app.ScanWindowInfo) app.ScanWindowInfo->treeWindow = m_hWnd;
  CTreeCtrl &tree = GetTreeCtrl();
  if (m_images.m_hImageList == nullptr) {
    m_images.Create(IDB_FOLDER_TREE, 16, 1, RGB(0, 255, 0));
    m_stateImages.Create(IDB_TREE_STATES, 14, 1, RGB(255, 255, 255));
  }
  tree.SetImageList(&m_images, TVSIL_NORMAL);
  tree.SetImageList(&m_stateImages, TVSIL_STATE);
  if (std::optional<DWORD> language = ReadRegistryDword(HKEY_LOCAL_MACHINE, kProductKeyPath, L"LANG"))
    app.LanguageId = *language;
}

CQuendalVarnothView *CLeftView::FileList() const {
  CFrameWnd *frame = GetParentFrame();
  if (frame == nullptr || !frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) return nullptr;
  return static_cast<CMainFrame *>(frame)->GetRightPane();
}

TreeEntryNode *CLeftView::NodeOfItem(HTREEITEM item) {
  auto found = m_nodeOfItem.find(item);
  return found == m_nodeOfItem.end() ? nullptr : found->second;
}

HTREEITEM CLeftView::ItemOf(TreeEntryNode &folder) {
  if (folder.m_item != nullptr || !folder.m_inTree || m_rootItem == nullptr) return folder.m_item;
  // Up to the nearest folder with an item, then each level's items made on
  // the way down. Every folder's parent had its place before it, so the
  // chain ends, whatever loops the parent ids make.
  std::vector<TreeEntryNode *> waiting{&folder};
  for (size_t steps = 0; waiting.back()->m_item == nullptr && steps < m_entries.Size(); ++steps) {
    TreeEntryNode *parent = m_entries.FindFolder(waiting.back()->m_record.m_parentId);
    if (parent == nullptr || !parent->m_inTree) return nullptr;
    waiting.push_back(parent);
  }
  for (size_t level = waiting.size() - 1; level > 0; --level)
    if (waiting[level]->m_item != nullptr) FillChildren(waiting[level]->m_item);
  return folder.m_item;
}

void CLeftView::CreateRootItem() {
  ClearTree();
  m_entries.Clear();
  CString text;
  text.LoadString(IDS_ROOT);
  const DWORD rootId = TheQvApp().NtfsEngine != nullptr ? kNtfsRootRecord : 0;
  m_rootItem = GetTreeCtrl().InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM,
                                        text, kFolderImage, kFolderImage + 1, StateOfCheck(kUnchecked),
                                        TVIS_STATEIMAGEMASK, rootId, TVI_ROOT, TVI_SORT);
  EntryRecord root;
  root.m_parentId = kTreeRootParentId;
  root.m_ownId = rootId;
  root.m_attributes = kEntryAttrFolder;
  TreeEntryNode &node = m_entries.Append(root, U16(text.GetString()), m_rootItem);
  node.m_inTree = true;
  m_nodeOfItem[m_rootItem] = &node;
  // The root's folders get their items as they come, so a search shows them.
  m_children[m_rootItem].filled = true;
  // The new tree is first drawn an interval after it starts, not as its
  // first folder comes: a short search draws it once, at its end.
  m_lastRedraw = GetTickCount64();
}

HTREEITEM CLeftView::InsertFolderItem(HTREEITEM parent, HTREEITEM after, const EntryRecord &folder,
                                      uint8_t check, const std::wstring &name, bool button) {
  const int image = folder.m_deleted ? kDeletedFolderImage : kFolderImage;
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(name.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = image + 1;
  insert.item.state = StateOfCheck(check);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.lParam = folder.m_ownId;
  insert.item.cChildren = button ? 1 : 0;
  HTREEITEM item = GetTreeCtrl().InsertItem(&insert);
  if (item == nullptr) return nullptr;
  m_children[item].buttonShown = button;
  return item;
}

HTREEITEM CLeftView::InsertSorted(HTREEITEM parent, const EntryRecord &folder, uint8_t check,
                                  const std::wstring &name) {
  SortedChildren &siblings = m_children[parent].sorted;
  auto next = siblings.upper_bound(name);
  HTREEITEM after = next == siblings.begin() ? TVI_FIRST : std::prev(next)->second;
  HTREEITEM item = InsertFolderItem(parent, after, folder, check, name, false);
  if (item != nullptr) m_children[parent].sorted.emplace_hint(next, name, item);
  return item;
}

bool CLeftView::HasSubfolderInTree(const TreeEntryNode &folder) {
  // Subfolders are placed under the first folder of their parent id only.
  if (m_entries.FindFolder(folder.m_record.m_ownId) != &folder) return false;
  const std::vector<TreeEntryNode *> &children = m_entries.ChildrenOf(folder.m_record.m_ownId);
  return std::any_of(children.begin(), children.end(),
                     [](const TreeEntryNode *child) { return child->IsFolder() && child->m_inTree; });
}

void CLeftView::FillChildren(HTREEITEM item) {
  auto found = m_children.find(item);
  if (found == m_children.end() || found->second.filled) return;
  found->second.filled = true;
  TreeEntryNode *folder = NodeOfItem(item);
  if (folder == nullptr || !found->second.buttonShown) return;
  struct Waiting {
    std::wstring name;
    TreeEntryNode *node;
  };
  std::vector<Waiting> waiting;
  for (TreeEntryNode *child : m_entries.ChildrenOf(folder->m_record.m_ownId))
    if (child->IsFolder() && child->m_inTree && child->m_item == nullptr)
      waiting.push_back(
          {WideString(ShownEntryName(child->m_record, child->m_name, ActiveShownWords())), child});
  // The order the sorted insertion gives them as they come: by name, equal
  // names in the order they came.
  const NameLess less;
  std::stable_sort(waiting.begin(), waiting.end(),
                   [&less](const Waiting &a, const Waiting &b) { return less(a.name, b.name); });
  for (Waiting &child : waiting) {
    HTREEITEM childItem = InsertFolderItem(item, TVI_LAST, child.node->m_record, child.node->Check(),
                                           child.name, HasSubfolderInTree(*child.node));
    if (childItem == nullptr) continue;
    child.node->m_item = childItem;
    m_nodeOfItem[childItem] = child.node;
    m_children[item].sorted.emplace_hint(m_children[item].sorted.end(), std::move(child.name), childItem);
  }
}

void CLeftView::ShowButton(HTREEITEM item) {
  ItemChildren &children = m_children[item];
  if (children.buttonShown || item == m_rootItem) return;
  children.buttonShown = true;
  DeferRedraw();
  TVITEMW button = {};
  button.mask = TVIF_CHILDREN;
  button.hItem = item;
  button.cChildren = 1;
  GetTreeCtrl().SetItem(&button);
}

void CLeftView::DeferRedraw() {
  if (m_redrawDeferred || m_hWnd == nullptr) return;
  m_redrawDeferred = true;
  SetRedraw(FALSE);
  PostMessage(kResumeRedrawMessage);
}

void CLeftView::ResumeRedraw() {
  if (!m_redrawDeferred) return;
  m_redrawDeferred = false;
  KillTimer(kResumeRedrawTimer);
  m_lastRedraw = GetTickCount64();
  {
    // Drawing again, the tree lays out its items and sets both scroll bars,
    // and each set draws its bar on the screen at once (under Wine, themed,
    // tens of calls to the window server each); the paint that follows
    // draws the frame again. With the panes held the bars are only noted,
    // and the frame is drawn once, with the items, at that paint.
    CXTPScrollBarsHold panes(::GetParent(m_hWnd));
    SetRedraw(TRUE);
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

LRESULT CLeftView::OnResumeRedraw(WPARAM, LPARAM) {
  const ULONGLONG since = GetTickCount64() - m_lastRedraw;
  if (m_redrawDeferred && since < kRedrawIntervalMs) {
    SetTimer(kResumeRedrawTimer, static_cast<UINT>(kRedrawIntervalMs - since));
    return 0;
  }
  ResumeRedraw();
  return 0;
}

void CLeftView::OnTimer(UINT_PTR id) {
  if (id != kResumeRedrawTimer) {
    CTreeView::OnTimer(id);
    return;
  }
  ResumeRedraw();
}

void CLeftView::AddEntryToTree(const EntryRecord &entry, std::u16string name) {
  // A scan file brings back the checks it was saved with; the item shows
  // the same state as the node.
  const uint8_t check = entry.m_checkState <= kPartlyChecked ? entry.m_checkState : uint8_t{kUnchecked};
  TreeEntryNode *parent = nullptr;
  if (entry.IsFolder() && !m_entries.Empty()) {
    parent = m_entries.FindFolder(entry.m_parentId);
    if (parent != nullptr && !parent->m_inTree) parent = nullptr;
  }
  HTREEITEM item = nullptr;
  if (parent != nullptr && parent->m_item != nullptr) {
    auto children = m_children.find(parent->m_item);
    if (children == m_children.end() || !children->second.filled) {
      ShowButton(parent->m_item);
    } else {
      DeferRedraw();
      ShowButton(parent->m_item);
      item = InsertSorted(parent->m_item, entry, check,
                          WideString(ShownEntryName(entry, name, ActiveShownWords())));
      // The root opens as its first folders arrive, so a search shows its
      // progress. Deeper folders stay closed: every folder added under an
      // open one re-lays out all the shown items below it, which would make
      // adding quadratic; the end of a search closes the first level anyway.
      // The new folder's node comes after: opening the root while a stop is
      // asked for gives the root's state to the entries already there.
      CTreeCtrl &tree = GetTreeCtrl();
      if (parent->m_item == m_rootItem && (tree.GetItemState(m_rootItem, TVIS_EXPANDED) & TVIS_EXPANDED) == 0)
        tree.Expand(m_rootItem, TVE_EXPAND);
    }
  }
  TreeEntryNode &node = m_entries.Append(entry, std::move(name), item);
  node.m_record.m_checkState = check;
  node.m_inTree = parent != nullptr;
  if (item != nullptr) m_nodeOfItem[item] = &node;
}

void CLeftView::ClearTree() {
  ResumeRedraw();
  if (CQuendalVarnothView *list = FileList()) list->ClearFileList();
  // An empty tree told to delete its items draws itself whole again.
  if (GetTreeCtrl().GetCount() != 0) GetTreeCtrl().DeleteAllItems();
  m_rootItem = nullptr;
  m_children.clear();
  m_nodeOfItem.clear();
  for (TreeEntryNode &node : m_entries) node.m_item = nullptr;
  TheQvApp().ResultsPresent = 0;
}

void CLeftView::CollapseFirstLevel() {
  CTreeCtrl &tree = GetTreeCtrl();
  if (m_rootItem == nullptr) return;
  for (HTREEITEM child = tree.GetChildItem(m_rootItem); child; child = tree.GetNextSiblingItem(child))
    tree.Expand(child, TVE_COLLAPSE);
}

void CLeftView::ShowRootItem() {
  if (m_rootItem == nullptr) {
    ResumeRedraw();
    return;
  }
  CTreeCtrl &tree = GetTreeCtrl();
  // An open root is not closed and opened again: that lays the tree out
  // twice (under Wine tens of milliseconds) for the same sight, its first
  // level shown closed.
  if ((tree.GetItemState(m_rootItem, TVIS_EXPANDED) & TVIS_EXPANDED) == 0)
    tree.Expand(m_rootItem, TVE_EXPAND);
  // Selecting the root fills the list with its entries (the selection's
  // notice does); the list is filled here only when no notice will come.
  if (tree.GetSelectedItem() == m_rootItem)
    FillFileListOf(m_rootItem);
  else
    tree.SelectItem(m_rootItem);
  // The tree held its drawing through all of that: it lays out its items
  // once, in their final state, instead of after each step.
  ResumeRedraw();
  tree.EnsureVisible(m_rootItem);
}

void CLeftView::SetEntryGrade(uint32_t ownId, RecoveryGrade grade) {
  TreeEntryNode *node = m_entries.FindEntry(ownId);
  if (node == nullptr || node->IsFolder()) return;
  node->m_record.m_grade = grade;
  if (CQuendalVarnothView *list = FileList()) list->ShowNodeGrade(*node);
}

void CLeftView::ResetTreeToRoot() {
  // The end of a search or of a load. A scan file brings back the checks it
  // was saved with, the root's not among them: they are brought into line
  // before anything is shown, or a folder shown unchecked could hide checked
  // files that recovery would write.
  m_checkModel.Settle();
  {
    PanesDrawingHold hold(::GetParent(m_hWnd));
    CollapseFirstLevel();
    ShowRootItem();
  }
  UINT folders = 0, files = 0;
  CountCheckedEntries(folders, files);
  CFrameWnd *frame = GetParentFrame();
  if (frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
    static_cast<CMainFrame *>(frame)->CheckedFolderCount = static_cast<int>(folders);
    static_cast<CMainFrame *>(frame)->CheckedFileCount = static_cast<int>(files);
  }
  const TreeEntryNode *root = m_entries.Root();
  TheQvApp().AllChecked = root != nullptr && root->Check() == kChecked ? 1 : 0;
}

void CLeftView::FillFileListOf(HTREEITEM item) {
  if (CQuendalVarnothView *list = FileList())
    list->FillFileList(static_cast<DWORD>(GetTreeCtrl().GetItemData(item)));
}

void CLeftView::SelectFolderById(DWORD id) {
  TreeEntryNode *node = m_entries.FindFolder(id);
  HTREEITEM item = node != nullptr ? ItemOf(*node) : nullptr;
  if (item == nullptr) return;
  GetTreeCtrl().Expand(item, TVE_EXPAND);
  GetTreeCtrl().SelectItem(item);
}

HTREEITEM CLeftView::FindChildItem(HTREEITEM parent, const CString *name, DWORD id) {
  FillChildren(parent);
  CTreeCtrl &tree = GetTreeCtrl();
  for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child)) {
    if (tree.GetItemData(child) != id) continue;
    if (name == nullptr || tree.GetItemText(child) == *name) return child;
  }
  return nullptr;
}

void CLeftView::OpenChildFolder(DWORD id) {
  CTreeCtrl &tree = GetTreeCtrl();
  HTREEITEM selected = tree.GetSelectedItem();
  HTREEITEM child = selected ? FindChildItem(selected, nullptr, id) : nullptr;
  if (child == nullptr) return;
  for (HTREEITEM grandChild = tree.GetChildItem(child); grandChild;
       grandChild = tree.GetNextSiblingItem(grandChild))
    tree.Expand(grandChild, TVE_COLLAPSE);
  tree.Expand(child, TVE_EXPAND);
  tree.SelectItem(child);
}

BOOL CLeftView::CountCheckedEntries(UINT &folders, UINT &files) {
  const CheckedCounts counts = m_checkModel.CountChecked();
  folders = counts.folders;
  files = counts.files;
  TheQvApp().AnyChecked = counts.folders + counts.files != 0 ? 1 : 0;
  return counts.folders != 0;
}

void CLeftView::SetEntriesCheck(DWORD id, BYTE value) {
  if (TreeEntryNode *folder = m_entries.FindFolder(id)) m_checkModel.SetNode(*folder, value);
  for (TreeEntryNode *child : m_entries.ChildrenOf(id)) m_checkModel.SetNode(*child, value);
}

void CLeftView::ShowNodeCheck(const TreeEntryNode &node) {
  if (node.m_item != nullptr)
    GetTreeCtrl().SetItemState(node.m_item, StateOfCheck(node.Check()), TVIS_STATEIMAGEMASK);
}

bool CLeftView::ChecksLocked() {
  if (TheQvApp().ScanRunning != 0) return true;
  CFrameWnd *frame = GetParentFrame();
  return frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)) &&
         static_cast<CMainFrame *>(frame)->EngineCallDepth > 0;
}

void CLeftView::AfterCheckChange(bool unchecked) {
  CQuendalVarnothApp &app = TheQvApp();
  if (CQuendalVarnothView *list = FileList()) list->ShowNodeChecks();
  CFrameWnd *frame = GetParentFrame();
  if (frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
    CMainFrame *main = static_cast<CMainFrame *>(frame);
    UINT folders = 0, files = 0;
    CountCheckedEntries(folders, files);
    main->CheckedFolderCount = static_cast<int>(folders);
    main->CheckedFileCount = static_cast<int>(files);
    main->SetCurrentItemPane(L"", TRUE);
  } else {
    UINT folders = 0, files = 0;
    CountCheckedEntries(folders, files);
  }
  // Anything unchecked means not everything is checked any more.
  if (unchecked) app.AllChecked = 0;
}

void CLeftView::ToggleItemCheck(HTREEITEM item) {
  TreeEntryNode *node = NodeOfItem(item);
  if (node == nullptr) return;
  const uint8_t value = node->Check() == kChecked ? kUnchecked : kChecked;
  m_checkModel.CheckFolder(*node, value);
  AfterCheckChange(value == kUnchecked);
}

void CLeftView::ToggleSelectedItemCheck() {
  TheQvApp().TreeHasFocus = 1;
  if (HTREEITEM selected = GetTreeCtrl().GetSelectedItem()) ToggleItemCheck(selected);
}

void CLeftView::SetSubtreeCheck(BYTE value, const CString &name, const CString &typeText,
                                CheckSummary summary, DWORD id) {
  CTreeCtrl &tree = GetTreeCtrl();
  HTREEITEM selected = tree.GetSelectedItem();
  if (selected == nullptr) return;
  CString folderText, deletedFolderText;
  folderText.LoadString(IDS_FOLDER);
  deletedFolderText.LoadString(IDS_DELETED_FOLDER);
  if (typeText == folderText || typeText == deletedFolderText) {
    TreeEntryNode *folder = NodeOfItem(FindChildItem(selected, &name, id));
    if (folder != nullptr) m_checkModel.CheckFolder(*folder, value);
    return;
  }
  TreeEntryNode *folder = NodeOfItem(selected);
  if (folder == nullptr) return;
  m_checkModel.SetNode(*folder, CheckStateOfSummary(summary));
  m_checkModel.PropagateUp(*folder);
}

void CLeftView::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT flags = 0;
  HTREEITEM item = GetTreeCtrl().HitTest(point, &flags);
  if (item == nullptr) {
    CTreeView::OnLButtonDown(nFlags, point);
    return;
  }
  TheQvApp().TreeHasFocus = 1;
  if (IsTreeCheckBoxHit(flags)) {
    if (!ChecksLocked()) ToggleItemCheck(item);
    return;
  }
  CTreeCtrl &tree = GetTreeCtrl();
  // A newly selected folder fills the list when its selection changes; only
  // a click on the folder already selected refills it here.
  if ((flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) && item == tree.GetSelectedItem()) FillFileListOf(item);
  for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
    tree.Expand(child, TVE_COLLAPSE);
  CTreeView::OnLButtonDown(nFlags, point);
}

void CLeftView::OnTreeSelChanged(NMHDR *header, LRESULT *result) {
  *result = 0;
  HTREEITEM item = reinterpret_cast<NMTREEVIEWW *>(header)->itemNew.hItem;
  if (item == nullptr) return;
  CQuendalVarnothApp &app = TheQvApp();
  const UINT state = GetTreeCtrl().GetItemState(item, TVIS_STATEIMAGEMASK);
  app.SelectedFolderCheck = state == StateOfCheck(kChecked)         ? 1
                            : state == StateOfCheck(kPartlyChecked) ? 2
                                                                    : 0;
  const DWORD id = static_cast<DWORD>(GetTreeCtrl().GetItemData(item));
  if (CQuendalVarnothView *list = FileList()) {
    list->FillFileList(id);
    // While the tree is being built (a search, a load, a mask's rebuild) an
    // item's box is not final yet: the focus coming back to the tree after a
    // message box selects one, and its passing state must not be given to
    // the entries below it.
    if (app.SelectedFolderCheck != 2 && !ChecksLocked())
      list->SetRowsAndFolderCheck(app.SelectedFolderCheck == 1, id);
  }
  app.ListFocusedOnce = 0;
}

void CLeftView::OnTreeItemExpanding(NMHDR *header, LRESULT *result) {
  *result = 0;
  const NMTREEVIEWW *notice = reinterpret_cast<NMTREEVIEWW *>(header);
  if ((notice->action & TVE_EXPAND) != 0) FillChildren(notice->itemNew.hItem);
  if (TheQvApp().StopRequested != 1) return;
  TreeEntryNode *folder = NodeOfItem(notice->itemNew.hItem);
  if (folder == nullptr || folder->Check() == kPartlyChecked) return;
  SetEntriesCheck(folder->m_record.m_ownId, folder->Check());
}
