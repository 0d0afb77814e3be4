#include "ListCtrl.h"

#include "CommonControls.h"

#include <vector>

#include "Edit.h"
#include "HeaderCtrl.h"
#include "ImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return CreateEx(0, style, rect, parent, id);
}

BOOL CListCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_LISTVIEW_CLASSES, WC_LISTVIEW, exStyle, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN *info) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMN, column, reinterpret_cast<LPARAM>(info)));
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width, int subItem) {
  LVCOLUMN info = {};
  info.mask = LVCF_TEXT | LVCF_FMT;
  info.fmt = format;
  info.pszText = const_cast<LPTSTR>(heading);
  if (width != -1) {
    info.mask |= LVCF_WIDTH;
    info.cx = width;
  }
  if (subItem != -1) {
    info.mask |= LVCF_SUBITEM;
    info.iSubItem = subItem;
  }
  return InsertColumn(column, &info);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT order, int count) const {
  if (count == -1) {
    CHeaderCtrl *header = GetHeaderCtrl();
    if (header == nullptr) return FALSE;
    count = header->GetItemCount();
  }
  return Bool(SendMessage(LVM_GETCOLUMNORDERARRAY, count, reinterpret_cast<LPARAM>(order)));
}

// The header is the list's child; when a toolkit class has subclassed it,
// the window map hands back that object, otherwise a temporary wrapper.
CHeaderCtrl *CListCtrl::GetHeaderCtrl() const {
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  return header != nullptr ? static_cast<CHeaderCtrl *>(CWnd::FromHandle(header)) : nullptr;
}

int CListCtrl::InsertItem(const LVITEM *item) {
  return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(item)));
}

int CListCtrl::InsertItem(int index, LPCTSTR text) {
  return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int index, LPCTSTR text, int image) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image,
                          LPARAM param) {
  LVITEM item = {};
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPTSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = param;
  return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state,
                        UINT stateMask, LPARAM param) {
  LVITEM item = {};
  item.mask = mask;
  item.iItem = index;
  item.iSubItem = subItem;
  item.pszText = const_cast<LPTSTR>(text);
  item.iImage = image;
  item.state = state;
  item.stateMask = stateMask;
  item.lParam = param;
  return SetItem(&item);
}

// The control copies at most the buffer it is given, so the buffer grows
// until the text fits with room to spare.
CString CListCtrl::GetItemText(int index, int subItem) const {
  for (int size = 256;; size *= 4) {
    std::vector<wchar_t> buffer(size, L'\0');
    int length = GetItemText(index, subItem, buffer.data(), size);
    if (length < size - 1 || size >= 0x100000) return CString(buffer.data());
  }
}

int CListCtrl::GetItemText(int index, int subItem, LPTSTR text, int maxChars) const {
  if (text == nullptr || maxChars <= 0) return 0;
  text[0] = 0;
  LVITEM item = {};
  item.iSubItem = subItem;
  item.pszText = text;
  item.cchTextMax = maxChars;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXT, index, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCTSTR text) {
  LVITEM item = {};
  item.iSubItem = subItem;
  item.pszText = const_cast<LPTSTR>(text);
  return Bool(SendMessage(LVM_SETITEMTEXT, index, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
  LVITEM item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
  return SetItem(index, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(data));
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEM item = {};
  item.state = state;
  item.stateMask = mask;
  return SetItemState(index, &item);
}

BOOL CListCtrl::GetCheck(int index) const {
  UINT image = GetItemState(index, LVIS_STATEIMAGEMASK) >> 12;
  return image > 1 ? static_cast<BOOL>(image - 1) : FALSE;
}

BOOL CListCtrl::SetCheck(int index, BOOL check) {
  return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int first = GetNextItem(-1, LVNI_SELECTED);
  return reinterpret_cast<POSITION>(static_cast<INT_PTR>(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION &position) const {
  int index = static_cast<int>(reinterpret_cast<INT_PTR>(position)) - 1;
  int next = GetNextItem(index, LVNI_SELECTED);
  position = reinterpret_cast<POSITION>(static_cast<INT_PTR>(next + 1));
  return index;
}

int CListCtrl::HitTest(CPoint point, UINT *flags) const {
  LVHITTESTINFO info = {};
  info.pt = point;
  int index = HitTest(&info);
  if (flags != nullptr) *flags = info.flags;
  return index;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
  return Bool(SendMessage(LVM_SORTITEMS, data, reinterpret_cast<LPARAM>(compare)));
}

BOOL CListCtrl::SortItemsEx(PFNLVCOMPARE compare, DWORD_PTR data) {
  return Bool(SendMessage(LVM_SORTITEMSEX, data, reinterpret_cast<LPARAM>(compare)));
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
  rect->left = static_cast<LONG>(code);
  return Bool(SendMessage(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int area, CRect &rect) const {
  rect.top = subItem;
  rect.left = area;
  return Bool(SendMessage(LVM_GETSUBITEMRECT, index, reinterpret_cast<LPARAM>(static_cast<RECT *>(&rect))));
}

CEdit *CListCtrl::EditLabel(int index) {
  return static_cast<CEdit *>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABEL, index))));
}

CEdit *CListCtrl::GetEditControl() const {
  return static_cast<CEdit *>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL))));
}

CImageList *CListCtrl::SetImageList(CImageList *imageList, int imageListType) {
  HIMAGELIST list = imageList != nullptr ? imageList->GetSafeHandle() : nullptr;
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, imageListType, reinterpret_cast<LPARAM>(list))));
}

CImageList *CListCtrl::GetImageList(int imageListType) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, imageListType)));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result != nullptr) *result = TRUE;
  return TRUE;
}
