// The owner-drawn column header of the signature list: it paints every title
// itself and a small raised triangle on the column the list is sorted by.
#pragma once

#include "Framework.h"

// Where one header item's parts go.
struct HeaderItemLayout {
  CRect text;       // where the title is drawn
  bool showText;    // false when the column is too narrow for any title
  bool arrow;       // the item is the sorted column
  POINT corners[3]; // the triangle: the two ends of its flat side, then its tip
};

// The layout of an item drawn in the rectangle, given the width of one blank
// in the header's font, whether the item is pressed and whether (and in which
// direction) it is the sorted column.
HeaderItemLayout LayoutHeaderItem(CRect item, int blankWidth, bool pressed, bool sorted, bool ascending);

// The least width of an item whose title, titleWidth wide, shows whole
// beside the sort triangle.
int HeaderItemWidthFor(int titleWidth, int blankWidth);

class CMyHeaderCtrl : public CHeaderCtrl {
public:
  // The column the owning list sorted by (-1: none) and its direction.
  void SetSort(int column, bool ascending);
  int SortColumn() const { return m_sortColumn; }
  bool Ascending() const { return m_ascending; }

  void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
  // The least width of the item for its title to show whole, sorted or not,
  // in the header's font.
  int WidthShowingTitle(int index) const;

protected:
  // Every item the list adds or changes stays owner-drawn.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // The font the titles are drawn in.
  HGDIOBJ TitleFont() const;

  int m_sortColumn = -1;
  bool m_ascending = true;
};
