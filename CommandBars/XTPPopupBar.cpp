#include "XTPPopupBar.h"

IMPLEMENT_DYNCREATE(CXTPPopupBar, CXTPCommandBar)

CXTPPopupBar::CXTPPopupBar() {
  m_barType = xtpBarTypePopup;
  m_barPosition = xtpBarPopup;
}

CXTPPopupBar *CXTPPopupBar::CreatePopupBar(CXTPCommandBars *pCommandBars) {
  CXTPPopupBar *pBar = new CXTPPopupBar;
  pBar->SetCommandBars(pCommandBars);
  return pBar;
}
