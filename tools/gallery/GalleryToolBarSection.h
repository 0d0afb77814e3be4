// Toolbars as live windows: one docked with room for every button, the same
// narrowed so buttons go behind the chevron (which lists them), and one with
// the floating look, its caption carrying the close and expand buttons, and
// one whose chevron offers "Add or Remove Buttons" (a button the user took
// off stays listed, unticked).
#pragma once

#include <vector>

#include "GallerySection.h"

class CXTPToolBar;
class CXTPCommandBars;

class CGalleryToolBarSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kRowHeight = 40;
  static const int kRows = 4;

  CGalleryToolBarSection();
  ~CGalleryToolBarSection() override;
  LPCTSTR GetTitle() const override {
    return L"Toolbars: docked, narrowed behind the chevron, floating, Add or Remove Buttons";
  }
  // The floating bar takes two rows.
  static int RowTop(int nRow) { return nRow * kRowHeight + (nRow > 2 ? 2 * kRowHeight : 0); }
  int GetHeight() const override { return RowTop(kRows) + 30; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;
  // Opens the last row's chevron, its "Add or Remove Buttons" and the bar's
  // list, as a user would (for pictures of the page).
  void OpenAddOrRemoveList();
  CXTPToolBar *GetBar(int nRow) const {
    return nRow < static_cast<int>(m_bars.size()) ? m_bars[nRow] : nullptr;
  }

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  CWnd *m_pCustomizeSite = nullptr; // answers the customise command: the bars count as customisable
  std::vector<CXTPToolBar *> m_bars;
};
