// The docking themes beyond the default, 1, 2, 5 and 8: theme 3 (a flat
// caption with four thin lines), 6 (captions and buttons from the "WINDOW"
// and "EXPLORERBAR" visual styles), 7 and 10 (gradient captions, and tab
// strips and splitter bars painted with one gradient across the whole frame)
// and 9 (captions on the "REBAR" background, "TOOLBAR" buttons). Themes 6 and
// 9 fall back to the drawing of their bases where the system has no visual
// style.
#pragma once

#include "XTPDockingPanePaintManager.h"
#include "XTPTabColorSets.h"
#include "XTPWinThemeWrapper.h"

// The tab colour set of themes 7 and 10: set 4's colours with a white
// selected tab (when asked for), and a strip that continues one gradient
// across the frame that holds it.
class CXTPDockingPaneTabColorSet : public CXTPTabColorSet4 {
public:
  explicit CXTPDockingPaneTabColorSet(BOOL bWhiteSelectedFace) : m_bWhiteSelectedFace(bWhiteSelectedFace) {}

  void RefreshMetrics() override;
  void PaintStrip(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) override;
  COLORREF PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) override;

  // Fills rc (in pWnd's client coordinates) with the part of stripFace's
  // frame-wide gradient that lies under it.
  void FillFrameGradient(CDC *pDC, CRect rc, CWnd *pWnd) const;

  BOOL m_bSchemeTabs = FALSE;
  BOOL m_bWhiteSelectedFace;
};

// The colour at x of a gradient running from clrSecond at nFrameLeft towards
// clrFirst over nSpan pixels.
COLORREF XTPFrameGradientColor(COLORREF clrFirst, COLORREF clrSecond, int x, int nFrameLeft, int nSpan);

class CXTPDockingPaneTheme3 : public CXTPDockingPaneTheme1 {
public:
  CXTPDockingPaneTheme3();
  void RefreshMetrics() override;
  void DrawPane(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void AdjustCaptionRect(const CXTPDockingPaneTabbedContainer *pPane, CRect &rc) override;
  void DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) override;

private:
  // The title, then the four lines from after it to 4 pixels before the buttons.
  void DrawTitleAndLines(CDC *pDC, CRect rcBand, const CString &strTitle, COLORREF clrLines);
};

class CXTPDockingPaneTheme6 : public CXTPDockingPaneTheme1 {
public:
  CXTPDockingPaneTheme6();
  void RefreshMetrics() override;
  void DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) override;

  CXTPWinThemeWrapper m_themeWindow;
  CXTPWinThemeWrapper m_themeExplorer;

private:
  void OpenThemes();
};

class CXTPDockingPaneTheme7 : public CXTPDockingPaneTheme1 {
public:
  CXTPDockingPaneTheme7();
  void RefreshMetrics() override;
  void DrawSplitter(CDC *pDC, CXTPDockingPaneSplitterWnd *pSplitter) override;

private:
  void RefreshTheme7();
};

class CXTPDockingPaneTheme10 : public CXTPDockingPaneTheme7 {
public:
  CXTPDockingPaneTheme10();
  void RefreshMetrics() override;
  COLORREF DrawCaptionBackground(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rc, BOOL bActive) override;

  COLORREF m_clrCaptionBorder = 0;

private:
  void RefreshTheme10();
};

class CXTPDockingPaneTheme9 : public CXTPDockingPaneTheme2 {
public:
  CXTPDockingPaneTheme9();
  void RefreshMetrics() override;
  void DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) override;
  void DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption, const CString &strTitle,
                       BOOL bActive) override;

  CXTPWinThemeWrapper m_themeRebar;
  CXTPWinThemeWrapper m_themeToolbar;

private:
  void RefreshTheme9();
};

// Whether a caption button's owner (a tabbed container or a floating frame) is the active one.
BOOL XTPIsCaptionOwnerActive(CXTPDockingPaneCaptionButton *pButton);
