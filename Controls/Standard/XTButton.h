// CXTButton: an owner-drawn push button painted by a button theme, with an
// icon (normal and hot) or bitmap beside or above its text, a hot state
// while the mouse is over it and a checked state its owner sets.
#pragma once

#include "FrameworkCore.h"
#include "Button.h"

#include "XTButtonTheme.h"
#include "XTButtonThemeOffice.h"
#include "XTPImageManager.h"
#include "XTThemeManager.h"

#include <memory>

// Extended style bits (GetButtonStyleBits).
enum XTButtonStyleBits : DWORD {
  xtButtonFlat = 0x01,
  xtButtonSemiFlat = 0x02,
  xtButtonImageAbove = 0x04,
  xtButtonShowFocus = 0x10,
  xtButtonHatchPushed = 0x20,
  xtButtonOffice = 0x40,       // an Office theme of the button's own
  xtButtonVisualStyle = 0x1000 // the visual style's push button where available
};

class CXTButton : public CButton, public CXTThemeManagerStyleHost {
  DECLARE_DYNAMIC(CXTButton)
public:
  CXTButton();
  ~CXTButton() override;

  virtual BOOL SetIcon(CSize size, UINT nID, UINT nHotID = 0, BOOL bRedraw = TRUE);
  // Resource ids in string-pointer form (MAKEINTRESOURCE).
  virtual BOOL SetIcon(CSize size, LPCTSTR lpszID, LPCTSTR lpszHotID = nullptr, BOOL bRedraw = TRUE);
  // The button keeps copies: the caller still owns the handles. A size of
  // (0, 0) takes the icon's own.
  virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hIconHot = nullptr, BOOL bRedraw = TRUE);
  virtual BOOL SetBitmap(CSize size, UINT nID, BOOL bRedraw = TRUE);
  virtual BOOL PlaceImageAndText(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
  // Returns the previous bits.
  virtual DWORD SetButtonStyleBits(DWORD dwxStyle, BOOL bRedraw = TRUE);
  virtual DWORD GetButtonStyleBits();
  virtual BOOL HasTheme();
  virtual COLORREF ApplyButtonColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow,
                                     COLORREF clrText);
  virtual COLORREF SetFaceColor(COLORREF clr);
  virtual COLORREF GetFaceColor();
  virtual COLORREF SetHighlightColor(COLORREF clr);
  virtual COLORREF SetShadowColor(COLORREF clr);
  virtual COLORREF SetLabelColor(COLORREF clr);
  // Only for an Office theme: frame, hot face and pushed face.
  virtual COLORREF SetOfficeStateColors(COLORREF clrHiliteShadow, COLORREF clrHot, COLORREF clrPushed);
  virtual void FlipIconVisibility();
  virtual HFONT ReplaceFont(HFONT hFont);
  virtual void ReleaseImages();
  using CWnd::GetWindowText;
  virtual void GetWindowText(CString &strText, BOOL bRemoveAmpersand);

  // The shorter forms the application uses.
  BOOL SetButtonIcon(HICON hIcon, CSize size) { return SetIcon(size, hIcon); }
  // Drawn pressed while set.
  void SetChecked(BOOL bChecked);
  BOOL GetChecked() const { return m_bChecked; }

  BOOL IsHot() const { return m_bHilite; }
  BOOL IsPushed() const { return m_bPushed; }
  BOOL IsUserPosition() const { return m_bUserPosition; }
  int GetBorderGap() const { return m_nBorderGap; }
  int GetImageGap() const { return m_nImageGap; }
  CSize GetImageSize() const { return m_sizeImage; }
  CPoint GetImagePoint() const { return m_ptImage; }
  CPoint GetTextPoint() const { return m_ptText; }
  CXTPImageManagerIcon *GetIconObject() const { return m_pIcon.get(); }
  CXTButtonTheme *GetTheme() const;

  // The theme the theme manager's button factory holds now.
  static CXTButtonTheme *CurrentFactoryTheme();
  static CXTButtonTheme *GetSharedTheme() { return CurrentFactoryTheme(); }
  // A window style with the button type made owner-drawn; the other bits
  // stay as they were.
  static DWORD OwnerDrawStyle(DWORD dwStyle) { return (dwStyle & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW; }
  // The trace text of an icon resource that did not load.
  static CString IconLoadFailure(UINT nID);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void OnThemeChanged() override;

protected:
  void PreSubclassWindow() override;
  // The hot state without a mouse over the button, until a mouse passes
  // over it and leaves (previews of the looks).
  void HoldHotState();

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnPaint();
  afx_msg void OnSysColorChange();

private:
  // The hot state after the cursor moved; FALSE when it left (or the
  // button is held) and tracking stopped.
  BOOL TrackHotState();
  void MakeOwnerDrawn();
  void RedrawIfCreated(BOOL bRedraw);

  int m_nBorderGap = 4;
  int m_nImageGap = 8;
  BOOL m_bHilite = FALSE;
  BOOL m_bUserPosition = FALSE;
  BOOL m_bPushed = FALSE;
  BOOL m_bPainted = FALSE;
  BOOL m_bChecked = FALSE;
  DWORD m_dwxStyle = xtButtonFlat;
  CSize m_sizeImage = CSize(0, 0);
  CPoint m_ptImage = CPoint(0, 0);
  CPoint m_ptText = CPoint(0, 0);
  std::unique_ptr<CXTPImageManagerIcon> m_pIcon;

  DECLARE_MESSAGE_MAP()
};
