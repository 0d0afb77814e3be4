// A small frame of docking panes on one of the gallery's docking pages: the
// pages set such frames three to a row, each under its label, with one
// manager per frame in a theme of its own. A frame may show one pane
// floating beside it; floating frames are top-level windows, which the
// gallery's pages do not hide, so that pane floats the first time the page
// shows (when the frame's place on the screen is known) and its floating
// frame is hidden and shown with the page.
#pragma once

#include <memory>

#include "FrameWnd.h"
#include "XTPDockingPaneBase.h"

class CXTPDockingPane;
class CXTPDockingPaneManager;

class CGalleryPanesFrame : public CFrameWnd {
public:
  // How a frame's pane floats.
  struct Floating {
    CRect rc;                       // from the frame's top-left corner
    BOOL bRolledUp = FALSE;         // only its caption shows while the mouse is away
    BOOL bKeepGalleryFocus = FALSE; // the gallery keeps the focus, the pane stays above it
    CXTPDockingPane *pBeside = nullptr; // a second group docked right of the pane in its floating frame
  };

  // A frame's theme and its label on the page.
  struct Theme {
    int nTheme;
    LPCTSTR lpszName;
  };

  // A frame's size on its page.
  static const int kWidth = 296;
  static const int kHeight = 210;
  // The body height of a page with nRows rows of frames.
  static int PageHeight(int nRows) { return nRows * (kHeight + 24); }
  // The place of a page's i-th frame; the places after the last frame are free.
  static CRect PlaceOnPage(const CRect &rcBody, int i);
  // Labels each place with its frame's theme.
  static void DrawLabels(CDC *pDC, const CRect &rcBody, const Theme *pThemes, int nCount);

  // Makes the frame at the page's i-th place; nullptr where its window
  // could not be made (a made frame is deleted with its window).
  static CGalleryPanesFrame *CreateOnPage(CWnd *pParent, const CRect &rcBody, int i);
  // A manager of the theme, installed in this frame; the page owns it.
  std::unique_ptr<CXTPDockingPaneManager> InstallManager(int nTheme);
  // A pane filled with a read-only text.
  CXTPDockingPane *AddPane(CXTPDockingPaneManager *pManager, UINT nID, LPCTSTR lpszTitle, LPCTSTR lpszText,
                           CSize size, XTPDockingPaneDirection direction,
                           CXTPDockingPaneBase *pNeighbour = nullptr);
  // The panes both docking pages show: a log at the bottom, folders at the
  // left, find results at the right with properties and signatures tabbed
  // below them.
  struct ScanPanes {
    CXTPDockingPane *pFind;
    CXTPDockingPane *pSignatures;
  };
  ScanPanes AddScanPanes(CXTPDockingPaneManager *pManager, LPCTSTR lpszLog, CSize szLog, CSize szPane);
  void SetFloatingPane(CXTPDockingPaneManager *pManager, CXTPDockingPane *pPane, const Floating &floating);
  // Lays the panes out; the second pass shows the windows the first one attached.
  void ShowPanes();

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void ShowFloating(BOOL bShow);
  void FloatFirstTime();

  static const UINT kFloatLater = WM_APP + 1;
  CXTPDockingPaneManager *m_pManager = nullptr;
  CXTPDockingPane *m_pFloating = nullptr;
  Floating m_floating;
  BOOL m_bFloated = FALSE;
};
