// Stand-ins for the toolkit's picture buttons of the search-type page until
// the toolkit joins the program: the three kind buttons drawn by the page
// as push buttons with their icon (cut from bitmap 135) before the text, the
// chosen kind drawn pushed in. Everything about those buttons' looks is
// here, so the toolkit's buttons replace this one unit.
#pragma once

#include "Framework.h"

class KindButtonStandIns {
public:
  KindButtonStandIns() = default;
  ~KindButtonStandIns();
  KindButtonStandIns(const KindButtonStandIns &) = delete;
  KindButtonStandIns &operator=(const KindButtonStandIns &) = delete;

  // Takes over the drawing of the page's three kind buttons (fast,
  // advanced, disk scan) and cuts their 40 by 40 icons (green is clear).
  void Attach(CWnd &page, const UINT (&buttonIds)[3]);
  // Shows the button of the kind pushed in and the other two out.
  void ShowChosen(int kind);
  // Whether the button of the kind is shown pushed in.
  bool IsShownChosen(int kind) const { return kind == m_chosen; }
  // Draws one of the three buttons; false for any other control.
  bool Draw(const DRAWITEMSTRUCT &item) const;

private:
  CWnd *m_page = nullptr;
  UINT m_ids[3] = {};
  int m_chosen = -1;
  CImageList m_images;
  HICON m_icons[3] = {};
};
