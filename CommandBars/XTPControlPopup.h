// CXTPControlPopup: a control that opens a popup bar (types 2, 3 and 4).
// Here it holds its bar; opening and closing come with the popup control.
#pragma once

#include "XTPControlButton.h"

class CXTPControlPopup : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlPopup)
public:
  CXTPControlPopup();
  ~CXTPControlPopup() override;

  static CXTPControlPopup *CreateControlPopup(XTPControlType controlType);

  CXTPCommandBar *GetCommandBar() override { return m_pCommandBar; }
  // Takes a reference on the bar; the previous bar is released.
  void SetCommandBar(CXTPCommandBar *pBar);
  BOOL GetPopup() const { return m_bPopup; }
  void SetPopupState(BOOL bPopup) { m_bPopup = bPopup; }

  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  BOOL Compare(CXTPControl *pOther) override;

private:
  CXTPCommandBar *m_pCommandBar = nullptr;
  BOOL m_bPopup = FALSE;
};
