// CXTPPopupBar: the bar of a popup menu or palette, opened from a popup
// control. Its tracking, placement and animation come with the popup bar
// window; here is what the control list and the paint manager need.
#pragma once

#include "XTPCommandBar.h"

// The bar of a popup control: type 2 at position 5.
class CXTPPopupBar : public CXTPCommandBar {
  DECLARE_DYNCREATE(CXTPPopupBar)
public:
  CXTPPopupBar();
  static CXTPPopupBar *CreatePopupBar(CXTPCommandBars *pCommandBars);
  // The popup control that opens this bar, or null.
  CXTPControl *GetControlPopup() const { return m_pControlPopup; }
  void SetControlPopup(CXTPControl *pControl) { m_pControlPopup = pControl; }

private:
  CXTPControl *m_pControlPopup = nullptr;
};
