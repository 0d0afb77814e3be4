// CXTPControlButton: the plain command button. On a toolbar it runs a press
// loop (pressed while held, executed on release over it); on a popup bar it
// executes on release.
#pragma once

#include "XTPControl.h"

class CXTPControlButton : public CXTPControl {
  DECLARE_SERIAL(CXTPControlButton)
public:
  CXTPControlButton();

  void DoPropExchange(CXTPPropExchange *pPX) override;
  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnLButtonUp(CPoint point) override;
  CXTPControl *Clone(BOOL bRecursive = FALSE) override;

protected:
  // Returns TRUE when the release over the button asks for execution.
  BOOL TrackPress(CPoint pt);
  // The part of the control that the press loop treats as the button.
  virtual CRect GetPressRect() const { return m_rcControl; }
};
