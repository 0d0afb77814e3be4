// The looks of the toolkit's column header. A header theme paints the whole
// header (background, items, sort arrow, column pictures) from a palette of
// five system colours; the flat and shaded themes change only the dividers,
// the frame and the shaded one's height.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"
#include "XTPWinThemeWrapper.h"
#include "XTThemeManager.h"

#include <vector>

class CXTHeaderCtrl;

// The items in the order they are shown, given each item's display position
// (its HDI_ORDER). Positions out of range or given twice put the item last.
std::vector<int> XTHeaderDisplayOrder(const std::vector<int> &orders);

// Draw-style bits of a header theme.
constexpr DWORD XTHDR_VISUALSTYLES = 0x0001; // visual styles when the system has them
constexpr DWORD XTHDR_HOTTRACKING = 0x0002;  // the item under the mouse is drawn hot
constexpr DWORD XTHDR_SORTARROW = 0x0004;    // the sorted column shows an arrow

class CXTHeaderTheme : public CXTThemeManagerStyle {
public:
  CXTHeaderTheme();
  ~CXTHeaderTheme() override;

  void RefreshMetrics() override;
  virtual void DrawHeader(CDC *pDC, CXTHeaderCtrl *pHeader);
  virtual BOOL DrawsWithVisualStyles(CXTHeaderCtrl *pHeader);
  virtual void SetDrawStyle(DWORD dwDrawStyle, CXTHeaderCtrl *pHeader);
  virtual DWORD GetDrawStyle() const { return m_dwDrawStyle; }
  // FALSE: the caller lets the control lay itself out.
  virtual BOOL Layout(LPHDLAYOUT lpHDL, CXTHeaderCtrl *pHeader);
  virtual void CleanUp(CXTHeaderCtrl *pHeader);
  // FALSE when the picture cannot be loaded or put into an image list.
  virtual BOOL SetBitmap(int iCol, UINT uBitmapID, BOOL bRemove, COLORREF crMask, CXTHeaderCtrl *pHeader);

  virtual void PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual BOOL PaintStyledHeaderBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual void PaintItemBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual BOOL PaintStyledItemBackground(LPDRAWITEMSTRUCT lpDIS);
  virtual void DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, BOOL bAscending);
  virtual void PaintHeaderItem(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl *pHeader);
  virtual void PaintItemImage(LPDRAWITEMSTRUCT lpDIS, CRect &rcText, CXTHeaderCtrl *pHeader);
  virtual void DrawArrow(CDC *pDC, POINT ptsArrow[3], BOOL bAscending);

  int GetThemeId() const { return m_nThemeId; }
  void SetThemeId(int nThemeId) { m_nThemeId = nThemeId; }

  // c1 - (c1 - c2) * f per channel, truncated.
  static COLORREF BlendColor(COLORREF c1, COLORREF c2, double f);

  int m_iArrowPadding = 10;
  DWORD m_dwDrawStyle = XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW;
  BOOL m_bUseWinThemes = FALSE;
  CSize m_sizePadding{6, 0}; // cx: text margin; cy: text top, below 1 centred
  CSize m_sizeArrow{8, 7};
  COLORREF m_crText = 0, m_cr3DFace = 0, m_cr3DShadow = 0, m_cr3DDkShadow = 0, m_cr3DHighLight = 0;
  CXTPWinThemeWrapper m_themeWrapper;

protected:
  // The header whose item is being painted (set while DrawHeader runs).
  CXTHeaderCtrl *m_pPaintingHeader = nullptr;

private:
  int m_nThemeId = 0;
  HWND m_hWndThemeOpen = nullptr;
};

class CXTHeaderThemeFlat : public CXTHeaderTheme {
public:
  CXTHeaderThemeFlat();
  void PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS) override;
  void PaintItemBackground(LPDRAWITEMSTRUCT lpDIS) override;
};

class CXTHeaderThemeShaded : public CXTHeaderTheme {
public:
  CXTHeaderThemeShaded();
  BOOL Layout(LPHDLAYOUT lpHDL, CXTHeaderCtrl *pHeader) override;
  void PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS) override;
  void PaintItemBackground(LPDRAWITEMSTRUCT lpDIS) override;

private:
  // The text height of the font last measured, or -1.
  int TextHeight(CXTHeaderCtrl *pHeader);
  LOGFONTW m_lfMeasured = {};
  int m_nTextHeight = -1;
};

class CXTHeaderThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTHeaderThemeFactory)
public:
  // 1 flat, 2 shaded, anything else the default look.
  CXTThemeManagerStyle *CreateTheme(int nThemeId) override;
};
