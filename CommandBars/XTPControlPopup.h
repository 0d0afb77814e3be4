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
  // Loading keeps the stored bar id until the loaded bars are relinked.
  void DoPropExchange(CXTPPropExchange *pPX) override;
  int GetPendingBarID() const { return m_nPendingBarID; }
  void SetPendingBarID(int nBarID) { m_nPendingBarID = nBarID; }

  void OnUnderlineActivate() override;
  void OnSetPopup(BOOL bPopup) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnLButtonUp(CPoint point) override;
  void OnMouseHover() override;
  BOOL OnLButtonDblClk(CPoint point) override;
  void OnCustomizeDragOver(CXTPControl *pDataObject, CPoint point, DWORD &dwEffect) override;
  BOOL OnSetSelected(int bSelected) override;

  // TRUE when this control's bar holds, at any depth, the bar of pControl:
  // a popup dropped into its own descendant would make a cycle.
  BOOL ContainsBar(CXTPControl *pControl);
  virtual void UpdateShadow();
  virtual void AdjustExcludeRect(CRect &rc);
  // The parent's expansion timer: an open menu shows its hidden commands.
  void OnExpandTimer();

  // Where a split button's command part ends: the arrow part is the last 20
  // pixels on a popup bar, 11 on other bars, counted from the right edge.
  static int GetSplitArrowWidth(BOOL bPopupBar) { return bPopupBar ? 20 : 11; }
  BOOL IsInSplitCommandPart(CPoint pt) const;

protected:
  CRect GetPressRect() const override;

private:
  CXTPCommandBar *m_pCommandBar = nullptr;
  BOOL m_bPopup = FALSE;
  int m_nPendingBarID = 0;
};
