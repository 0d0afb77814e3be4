#include "TreeCtrl.h"

#include "CommonControls.h"

#include <vector>

#include "Edit.h"
#include "ImageList.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return CreateEx(0, style, rect, parent, id);
}

BOOL CTreeCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_TREEVIEW_CLASSES, WC_TREEVIEW, exStyle, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
                                UINT stateMask, LPARAM param, HTREEITEM parent, HTREEITEM insertAfter) {
  TVINSERTSTRUCT insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = mask;
  insert.item.pszText = const_cast<LPTSTR>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.state = state;
  insert.item.stateMask = stateMask;
  insert.item.lParam = param;
  return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM insertAfter) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, insertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent,
                    insertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::DeleteAllItems() {
  return DeleteItem(TVI_ROOT);
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}

UINT CTreeCtrl::GetCount() const {
  return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}
UINT CTreeCtrl::GetVisibleCount() const {
  return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT));
}

BOOL CTreeCtrl::SortChildren(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB sort) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(sort)));
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
}

// The edit control belongs to the tree; the wrapper handed back is the
// window map's, the same way the classic library shares it.
CEdit *CTreeCtrl::EditLabel(HTREEITEM item) {
  HWND edit = reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(item)));
  return static_cast<CEdit *>(CWnd::FromHandle(edit));
}

CEdit *CTreeCtrl::GetEditControl() const {
  return static_cast<CEdit *>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL))));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT *flags) const {
  TVHITTESTINFO info = {};
  info.pt = point;
  HTREEITEM item = HitTest(&info);
  if (flags != nullptr) *flags = info.flags;
  return item;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO *info) const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

BOOL CTreeCtrl::GetItem(TVITEM *item) const {
  return static_cast<BOOL>(SendMessage(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SetItem(TVITEM *item) {
  return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SetItem(HTREEITEM item, UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
                        UINT stateMask, LPARAM param) {
  TVITEM tvItem = {};
  tvItem.hItem = item;
  tvItem.mask = mask;
  tvItem.pszText = const_cast<LPTSTR>(text);
  tvItem.iImage = image;
  tvItem.iSelectedImage = selectedImage;
  tvItem.state = state;
  tvItem.stateMask = stateMask;
  tvItem.lParam = param;
  return SetItem(&tvItem);
}

// The control truncates to the buffer it is given, so the buffer grows until
// the text fits with room to spare.
CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  for (int size = 256;; size *= 4) {
    std::vector<wchar_t> buffer(size, L'\0');
    TVITEM tvItem = {};
    tvItem.hItem = item;
    tvItem.mask = TVIF_TEXT;
    tvItem.pszText = buffer.data();
    tvItem.cchTextMax = size;
    if (!GetItem(&tvItem)) return CString();
    LPCWSTR text = tvItem.pszText != nullptr ? tvItem.pszText : L"";
    int length = lstrlenW(text);
    if (length < size - 1 || text != buffer.data() || size >= 0x100000) return CString(text);
  }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
  return SetItem(item, TVIF_TEXT, text, 0, 0, 0, 0, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEM tvItem = {};
  tvItem.hItem = item;
  tvItem.mask = TVIF_PARAM;
  return GetItem(&tvItem) ? static_cast<DWORD_PTR>(tvItem.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  return SetItem(item, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(data));
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
  return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), stateMask)) &
         stateMask;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
  return SetItem(item, TVIF_STATE, nullptr, 0, 0, state, stateMask, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int &image, int &selectedImage) const {
  TVITEM tvItem = {};
  tvItem.hItem = item;
  tvItem.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  if (!GetItem(&tvItem)) return FALSE;
  image = tvItem.iImage;
  selectedImage = tvItem.iSelectedImage;
  return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  return SetItem(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, image, selectedImage, 0, 0, 0);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  TVITEM tvItem = {};
  tvItem.hItem = item;
  tvItem.mask = TVIF_CHILDREN;
  return GetItem(&tvItem) && tvItem.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
  // The message takes the item in the rectangle it fills.
  *reinterpret_cast<HTREEITEM *>(rect) = item;
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)));
}

BOOL CTreeCtrl::GetCheck(HTREEITEM item) const {
  UINT image = GetItemState(item, TVIS_STATEIMAGEMASK) >> 12;
  return image > 1 ? static_cast<BOOL>(image - 1) : FALSE;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM item, BOOL check) {
  return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), TVIS_STATEIMAGEMASK);
}

CImageList *CTreeCtrl::SetImageList(CImageList *imageList, int imageListType) {
  HIMAGELIST list = imageList != nullptr ? imageList->GetSafeHandle() : nullptr;
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TVM_SETIMAGELIST, imageListType, reinterpret_cast<LPARAM>(list))));
}

CImageList *CTreeCtrl::GetImageList(int imageListType) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, imageListType)));
}

UINT CTreeCtrl::GetIndent() const {
  return static_cast<UINT>(SendMessage(TVM_GETINDENT));
}
void CTreeCtrl::SetIndent(UINT indent) {
  SendMessage(TVM_SETINDENT, indent);
}
SHORT CTreeCtrl::GetItemHeight() const {
  return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT));
}
SHORT CTreeCtrl::SetItemHeight(SHORT height) {
  return static_cast<SHORT>(SendMessage(TVM_SETITEMHEIGHT, height));
}
COLORREF CTreeCtrl::SetBkColor(COLORREF color) {
  return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, color));
}
COLORREF CTreeCtrl::SetTextColor(COLORREF color) {
  return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, color));
}
COLORREF CTreeCtrl::GetBkColor() const {
  return static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
}
COLORREF CTreeCtrl::GetTextColor() const {
  return static_cast<COLORREF>(SendMessage(TVM_GETTEXTCOLOR));
}

BOOL CTreeCtrl::SetInsertMark(HTREEITEM item, BOOL after) {
  return static_cast<BOOL>(SendMessage(TVM_SETINSERTMARK, after, reinterpret_cast<LPARAM>(item)));
}

// The caller owns the drag image it asked for.
CImageList *CTreeCtrl::CreateDragImage(HTREEITEM item) {
  HIMAGELIST list =
      reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(item)));
  if (list == nullptr) return nullptr;
  auto *image = new CImageList;
  image->Adopt(list);
  return image;
}
