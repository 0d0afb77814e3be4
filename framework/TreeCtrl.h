// The tree-view common control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "CString.h"
#include "Wnd.h"

class CEdit;
class CImageList;

class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)
public:
  CTreeCtrl() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);
  BOOL CreateEx(DWORD exStyle, DWORD style, const RECT &rect, CWnd *parent, UINT id);

  // Items.
  HTREEITEM InsertItem(LPTVINSERTSTRUCT insert);
  HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                       LPARAM param, HTREEITEM parent, HTREEITEM insertAfter);
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM insertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM insertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  BOOL Expand(HTREEITEM item, UINT code);
  UINT GetCount() const;
  UINT GetVisibleCount() const;
  BOOL SortChildren(HTREEITEM item);
  BOOL SortChildrenCB(LPTVSORTCB sort);
  BOOL EnsureVisible(HTREEITEM item);
  CEdit *EditLabel(HTREEITEM item);
  CEdit *GetEditControl() const;

  // Navigation.
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
  HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
  HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
  BOOL Select(HTREEITEM item, UINT code);
  BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
  BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
  BOOL SelectSetFirstVisible(HTREEITEM item) { return Select(item, TVGN_FIRSTVISIBLE); }
  HTREEITEM HitTest(CPoint point, UINT *flags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO *info) const;

  // Item attributes.
  BOOL GetItem(TVITEM *item) const;
  BOOL SetItem(TVITEM *item);
  BOOL SetItem(HTREEITEM item, UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
               UINT stateMask, LPARAM param);
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  UINT GetItemState(HTREEITEM item, UINT stateMask) const;
  BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask);
  BOOL GetItemImage(HTREEITEM item, int &image, int &selectedImage) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  BOOL ItemHasChildren(HTREEITEM item) const;
  BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
  // Check boxes are state images 1 (clear) and 2 (checked); an item without a
  // state image is not checked.
  BOOL GetCheck(HTREEITEM item) const;
  BOOL SetCheck(HTREEITEM item, BOOL check = TRUE);

  // The control.
  CImageList *SetImageList(CImageList *imageList, int imageListType);
  CImageList *GetImageList(int imageListType) const;
  UINT GetIndent() const;
  void SetIndent(UINT indent);
  SHORT GetItemHeight() const;
  SHORT SetItemHeight(SHORT height);
  COLORREF SetBkColor(COLORREF color);
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetBkColor() const;
  COLORREF GetTextColor() const;
  BOOL SetInsertMark(HTREEITEM item, BOOL after = TRUE);
  CImageList *CreateDragImage(HTREEITEM item);
};
