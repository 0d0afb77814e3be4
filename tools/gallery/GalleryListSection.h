// The toolkit's list control three ways: rows coloured and the sorted column
// tinted under the flat header (click a heading to sort), the same with
// colours of the user's choice, and disabled.
#pragma once

#include "GallerySection.h"
#include "XTListCtrlView.h"

// A list that sorts its rows by the clicked column's text.
class CGallerySortingList : public CXTListCtrl {
public:
  BOOL SortList(int nCol, BOOL bAscending) override;
};

class CGalleryListSection : public CGallerySection {
public:
  static const int kLists = 3;
  static const int kListWidth = 300;
  static const int kListHeight = 132;
  static const int kGap = 10;

  LPCTSTR GetTitle() const override {
    return L"List control: row colours, sorted column under the flat header, user colours, disabled";
  }
  int GetHeight() const override { return kListHeight + 18; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CGallerySortingList &GetList(int nList) { return m_lists[nList]; }
  // Where a list lies, relative to the body's top-left.
  static CRect ListRect(int nList);

private:
  void Fill(CGallerySortingList &list);

  CGallerySortingList m_lists[kLists];
};
