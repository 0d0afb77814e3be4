// CXTPDockingPanePaintManager: draws everything of the docking panes that is
// not a tab strip (caption bands, caption buttons, splitter bars) and keeps
// the metrics the containers lay themselves out by. A theme is a class
// derived from it, chosen by id (CreateTheme); each owns two tab paint
// managers, one for the tab strips of tabbed containers and one for the tab
// rows of auto-hide panels.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"
#include "GdiObject.h"

#include "XTPColorManager.h"
#include "XTPDockingPaneBase.h"

class CXTPTabPaintManager;
class CXTPDockingPaneTabbedContainer;
class CXTPDockingPaneSplitterWnd;
class CXTPDockingPaneMiniWnd;

enum XTPDockingPanePaintTheme {
  xtpPaneThemeDefault = 0,
  xtpPaneThemeOffice = 1,
  xtpPaneThemeGrippered = 2,
  xtpPaneThemeVisio = 3,
  xtpPaneThemeOffice2003 = 5,
  xtpPaneThemeNativeWinXP = 6,
  xtpPaneThemeWhidbey = 7,
  xtpPaneThemeShortcutBar2003 = 8,
  xtpPaneThemeExplorer = 9,
  xtpPaneThemeVisualStudio2005 = 10,
};

// The caption buttons of a band, packed from its right edge: each visible
// button gets a square of nSize and the next one sits nGap further left; a
// hidden one gets an empty rectangle. Returns the rectangles in list order
// and moves rcCaption's right edge to where the buttons begin.
std::vector<CRect> XTPLayoutCaptionButtons(CRect &rcCaption, const std::vector<BOOL> &arrVisible, int nSize,
                                           int nGap);

// The system's small caption font. pfnParameters stands for
// SystemParametersInfo: the non-client metrics are asked for in the size of
// the running system (the structure grew on later systems), and the default
// GUI font stands in when the system gives none.
typedef BOOL(WINAPI *XTPSystemParametersProc)(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
LOGFONT XTPSmallCaptionFont(XTPSystemParametersProc pfnParameters = ::SystemParametersInfoW);

class CXTPDockingPanePaintManager : public CCmdTarget {
public:
  CXTPDockingPanePaintManager();
  ~CXTPDockingPanePaintManager() override;
  CXTPDockingPanePaintManager(const CXTPDockingPanePaintManager &) = delete;
  CXTPDockingPanePaintManager &operator=(const CXTPDockingPanePaintManager &) = delete;

  // A new theme of that id (an unknown id gives the default theme).
  static CXTPDockingPanePaintManager *CreateTheme(int nTheme);

  virtual void DrawPane(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc);
  virtual void DrawCaption(CDC * /*pDC*/, CXTPDockingPaneTabbedContainer * /*pPane*/, CRect /*rc*/) {}
  virtual void DrawCaptionButtons(CDC *pDC, CXTPDockingPaneCaptionButtons *pButtons, CRect &rcCaption,
                                  COLORREF clr, int nButtonSize, int nButtonGap);
  virtual void DrawCaptionButton(CDC * /*pDC*/, CXTPDockingPaneCaptionButton * /*pButton*/,
                                 COLORREF /*clr*/) {}
  virtual void RefreshMetrics();
  virtual void AdjustClientRect(CXTPDockingPaneTabbedContainer *pPane, CRect &rect, BOOL bApply);
  virtual void AdjustCaptionRect(const CXTPDockingPaneTabbedContainer *pPane, CRect &rc);
  // The frame and caption of a floating frame with a themed caption, drawn
  // into its window DC with the window rectangle at (0, 0).
  virtual void DrawFloatingFrame(CDC * /*pDC*/, CXTPDockingPaneMiniWnd * /*pPane*/, CRect /*rc*/) {}
  virtual void DrawSplitter(CDC *pDC, CXTPDockingPaneSplitterWnd *pSplitter);
  virtual void DrawCaptionPart(CDC * /*pDC*/, CXTPDockingPaneBase * /*pPane*/, CRect /*rcCaption*/,
                               const CString & /*strTitle*/, BOOL /*bActive*/) {}
  virtual void DrawCaptionButtonGlyph(CDC * /*pDC*/, CXTPDockingPaneCaptionButton * /*pButton*/,
                                      CPoint /*pt*/, COLORREF /*clr*/) {}
  virtual COLORREF DrawCaptionBackground(CDC * /*pDC*/, CXTPDockingPaneBase * /*pPane*/, CRect /*rc*/,
                                         BOOL /*bActive*/) {
    return 0;
  }
  virtual void DrawCaptionButtonBackground(CDC * /*pDC*/, CXTPDockingPaneCaptionButton * /*pButton*/,
                                           COLORREF & /*clr*/) {}

  COLORREF GetColor(int nIndex) const;
  void SetColors(int nCount, const int *pIndexes, const COLORREF *pColors);
  int GetCurrentSystemTheme() const;
  void SetCaptionFont(const LOGFONT *pLogFont, BOOL bUseSystemFont);

  CXTPTabPaintManager *GetTabPaintManager() const { return m_pTabPaintManager; }
  CXTPTabPaintManager *GetPanelPaintManager() const { return m_pPanelPaintManager; }
  int GetCaptionHeight() const { return m_nCaptionHeight; }
  int GetTabsHeight() const { return m_nTabsHeight; }
  int GetSplitterSize() const { return m_nSplitterSize; }
  CFont *GetCaptionFont() { return &m_fntCaption; }
  int GetTheme() const { return m_themeCurrent; }
  void SetTheme(int nTheme) { m_themeCurrent = nTheme; }

  BOOL m_bKeepCaptionWeight = TRUE;
  BOOL m_bHighlightActiveCaption = TRUE;
  int m_nSplitterSize = 4;
  BOOL m_bShowCaption = TRUE;
  BOOL m_bDrawSingleTab = FALSE;
  int m_nCaptionHeight = 0;
  int m_nCaptionPadding = 5;
  int m_nTabsHeight = 24;
  CFont m_fntCaption;
  BOOL m_bUseSystemCaptionFont = TRUE;
  CXTPTabPaintManager *m_pTabPaintManager = nullptr;
  CXTPTabPaintManager *m_pPanelPaintManager = nullptr;
  COLORREF m_arrColor[58] = {};
  int m_themeCurrent = 0;
  CString m_strCaptionFaceName;
  CRect m_rcCaptionMargin{0, 2, 0, 1};
  int m_nColorSchemeChoice = 5;

protected:
  // Colours of a band and its glyphs: the text colour for the band.
  void DrawTitle(CDC *pDC, const CString &strTitle, CRect rc, COLORREF clr);
  void DrawFrameBar(CDC *pDC, int x, int y, int cx, int cy, COLORREF clr) {
    pDC->FillSolidRect(x, y, cx, cy, clr);
  }

private:
  void RefreshBaseMetrics();
};

class CXTPDockingPaneDefaultTheme : public CXTPDockingPanePaintManager {
public:
  CXTPDockingPaneDefaultTheme();
  void DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) override;
};

class CXTPDockingPaneTheme2 : public CXTPDockingPaneDefaultTheme {
public:
  CXTPDockingPaneTheme2() = default;
  void DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void DrawCaptionButtonGlyph(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, CPoint pt,
                              COLORREF clr) override;
};

class CXTPDockingPaneTheme1 : public CXTPDockingPaneTheme2 {
public:
  CXTPDockingPaneTheme1();
  void RefreshMetrics() override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;
  COLORREF DrawCaptionBackground(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rc, BOOL bActive) override;

  BOOL m_bGradientCaption = FALSE;
  CXTPPaintManagerColorGradient m_clrNormalCaption;
  CXTPPaintManagerColorGradient m_clrActiveCaption;
  COLORREF m_clrNormalCaptionText = 0;
  COLORREF m_clrActiveCaptionText = 0;

private:
  void RefreshGradients();
};

class CXTPDockingPaneTheme5 : public CXTPDockingPaneTheme1 {
public:
  CXTPDockingPaneTheme5();
  void RefreshMetrics() override;
  void DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void DrawCaptionButtonBackground(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF &clr) override;
  void DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) override;

  COLORREF m_clrNormalCaptionLight = 0; // inactive band, top
  COLORREF m_clrNormalCaptionDark = 0;  // inactive band, bottom
  COLORREF m_clrActiveCaptionLight = 0;
  COLORREF m_clrActiveCaptionDark = 0;
  COLORREF m_clrNormalCaptionTextTheme = 0;
  COLORREF m_clrActiveCaptionTextTheme = 0;
  BOOL m_bLunaTheme = FALSE; // a system colour scheme is in use
  BOOL m_bDrawGripper = TRUE;
  BOOL m_bRoundedCaption = TRUE;

protected:
  void RefreshTheme5();
};

class CXTPDockingPaneTheme8 : public CXTPDockingPaneTheme5 {
public:
  CXTPDockingPaneTheme8();
  void RefreshMetrics() override;

private:
  void RefreshTheme8();
};
