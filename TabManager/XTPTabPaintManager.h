// CXTPTabPaintManager: lays out and draws tab strips. A tab manager owns the
// items and their states; its paint manager places the items (writing the
// header, client and item rectangles back), draws the whole control, measures
// a tab and takes the strip off a client rectangle. It holds what every strip
// drawn by it shares (fonts, margins, icon size, side, layout, switches) and
// two replaceable strategies: an appearance (shapes and geometry) and a colour
// set. The arithmetic of the layouts is kept in pure functions below, so that
// it can be checked by tables without a window.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"
#include "GdiObject.h"

#include "XTPTabManager.h"

#include <functional>
#include <vector>

class CXTPTabAppearance;
class CXTPTabColorSet;

enum XTPTabLayoutStyle {
  xtpTabLayoutAutoSize = 0,
  xtpTabLayoutCompressed = 1,
  xtpTabLayoutFixed = 2,
  xtpTabLayoutSelectedText = 3,
  xtpTabLayoutMultiRow = 4,
};

enum XTPTabAppearanceStyle {
  xtpTabAppearancePropertyPage = 0,
  xtpTabAppearancePropertyPageSelected = 1,
  xtpTabAppearancePropertyPage2003 = 2,
  xtpTabAppearanceStateButtons = 3,
  xtpTabAppearanceFlat = 4,
  xtpTabAppearanceVisio = 5,
  xtpTabAppearanceExcel = 6,
  xtpTabAppearanceVisualStudio = 7,
  xtpTabAppearanceBox = 8,
  xtpTabAppearancePropertyPageRounded = 9,
};

enum XTPTabColorStyle {
  xtpTabColorDefault = 1,
  xtpTabColorVisualStudio = 2,
  xtpTabColorOffice2003 = 4,
  xtpTabColorWinXP = 8,
  xtpTabColorWhidbey = 16,
};

enum XTPTabToolTipBehaviour {
  xtpTabToolTipNever = 0,
  xtpTabToolTipAlways = 1,
  xtpTabToolTipShrinkedOnly = 2,
};

// Pure layout arithmetic. Lengths run along the strip.
namespace XTPTabLayout {

// Squeezes lengths whose sum exceeds the room: the longest tabs give way
// first, level by level; with every tab in the group each gets an equal share.
void Compress(std::vector<int> &arrLengths, int nRoom);

// The first item of every row when rows are filled greedily: a row ends when
// the next item would make it longer than the room and the row is not empty.
std::vector<int> GreedyRows(const std::vector<int> &arrLengths, int nRoom);

// Splits the items into nRows rows that each fit the room, filling them evenly
// when bEvenRows is set (a row then takes at most what remains divided by the
// rows still to fill). Failed (row, first item) pairs are remembered, so the
// search costs at most items x rows steps; pnSteps, when given, receives the
// number of row attempts. Where no split into nRows rows exists the greedy
// split is returned. Returns the first item of every row.
std::vector<int> BalanceRows(const std::vector<int> &arrLengths, int nRows, int nRoom, BOOL bEvenRows,
                             int *pnSteps = nullptr);

// Widens the items first..last so that together they fill the room: each in
// turn gets its length plus what is still free divided by the items still to
// place.
void JustifyRow(std::vector<int> &arrLengths, int nFirst, int nLast, int nRoom);

// The scroll offset that brings an item (start..end along the strip, at the
// current offset) inside the header (headerStart..headerEnd), keeping the
// leading margin before an item that starts too early. Never above 0.
int ScrollIntoView(int nOffset, int nItemStart, int nItemEnd, int nHeaderStart, int nHeaderEnd, int nMargin);

// The offset after a layout: when the items end before the usable end while
// the strip is scrolled, it scrolls back so that the last one ends there (to
// 0 at most).
int FitOffset(int nOffset, int nItemsEnd, int nUsableEnd);

// The longest "start...end" of the text whose width fits, the start keeping
// the larger half; pfnWidth measures a text.
CString MiddleEllipsis(const CString &strText, int nWidth,
                       const std::function<int(const CString &)> &pfnWidth);

} // namespace XTPTabLayout

class CXTPTabPaintManager : public CCmdTarget {
public:
  CXTPTabPaintManager();
  ~CXTPTabPaintManager() override;
  CXTPTabPaintManager(const CXTPTabPaintManager &) = delete;
  CXTPTabPaintManager &operator=(const CXTPTabPaintManager &) = delete;

  // --- virtual operations ---
  virtual void DrawTabControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  virtual void AdjustClientRect(CXTPTabManager *pTabManager, CRect &rcClient);
  virtual void RepositionTabControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcClient);
  virtual int DrawSingleButtonIconAndText(CDC *pDC, CXTPTabManagerItem *pItem, CRect rcItem, BOOL bDraw);
  virtual void RefreshMetrics();
  virtual void OnPropertyChanged();
  virtual void DrawFocusRect(CDC *pDC, CXTPTabManagerItem *pItem, CRect rcItem);

  // --- strategies ---
  CXTPTabAppearance *SetAppearance(int nAppearance);
  CXTPTabAppearance *SetAppearanceSet(CXTPTabAppearance *pAppearance);
  CXTPTabColorSet *SetColor(int nColorSet);
  CXTPTabColorSet *SetColorSet(CXTPTabColorSet *pColorSet);
  CXTPTabAppearance *GetAppearanceSet() const { return m_pAppearanceSet; }
  CXTPTabColorSet *GetColorSet() const { return m_pColorSet; }
  int GetAppearance() const { return m_nAppearance; }
  int GetColor() const { return m_nColorSet; }

  void SetPosition(XTPTabPosition nPosition);
  XTPTabPosition GetPosition() const { return m_tabPosition; }
  void SetLayout(XTPTabLayoutStyle nLayout);
  XTPTabLayoutStyle GetLayout() const { return m_tabLayout; }
  void SetToolTipMode(int nMode) { m_nToolTipMode = nMode; }
  int GetToolTipMode() const { return m_nToolTipMode; }

  void SetFontIndirect(const LOGFONT *pLogFont, BOOL bUseStandardFont = FALSE);
  CFont *GetFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntVerticalNormal : &m_fntNormal; }
  CFont *GetBoldFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntVerticalBold : &m_fntBold; }

  void DrawNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc);
  void EnsureVisible(CXTPTabManager *pTabManager, CXTPTabManagerItem *pItem);
  BOOL AreSchemeColorsDisabled() const;
  static COLORREF ResolveItemColor(COLORREF clr);

  // Tab managers that hear of every change (not owned).
  void AddChangeListener(CXTPTabManager *pManager);
  void RemoveChangeListener(CXTPTabManager *pManager);

  // The generic layout and drawing the appearances hand to (all styles but
  // the box style).
  void LayoutTabsGeneric(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  void DrawControlGeneric(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);

  // --- the members the owner configures ---
  BOOL m_bHotTracking = FALSE;       // tabs under the mouse are tracked and drawn hot
  BOOL m_bShowIcons = TRUE;          // icons drawn and counted in the row height
  BOOL m_bBoldSelected = FALSE;      // the selected tab of an active strip in bold
  BOOL m_bBoldNormal = FALSE;        // the normal fonts bold too
  BOOL m_bDisableLunaColors = FALSE; // colour sets ignore the system colour schemes
  BOOL m_bOneNoteColors = FALSE;     // tab faces in each item's own colour
  int m_clientFrame = 0;             // frame round the client area: 0 full, 1 single edge, 2 none
  BOOL m_bStaticFrame = FALSE;       // the workspace frame
  CRect m_rcClientMargin;
  CRect m_rcControlMargin;
  CRect m_rcButtonMargin;
  BOOL m_bInvertGradient = FALSE;
  BOOL m_bFillBackground = TRUE;
  CSize m_szIcon{16, 16};
  BOOL m_bDrawTextPathEllipsis = FALSE; // captions shortened in the middle
  BOOL m_bDrawTextNoPrefix = TRUE;
  BOOL m_bMultiRowFixedSelection = FALSE; // keep the row order in several rows
  BOOL m_bMultiRowJustified = TRUE;
  BOOL m_bShowFocusRect = TRUE;
  BOOL m_bUseStandardFont = TRUE;

private:
  CXTPTabAppearance *m_pAppearanceSet = nullptr;
  CXTPTabColorSet *m_pColorSet = nullptr;
  std::vector<CXTPTabManager *> m_arrChangeListeners;
  int m_nAppearance = 0;
  int m_nColorSet = 1;
  XTPTabPosition m_tabPosition = xtpTabPositionTop;
  XTPTabLayoutStyle m_tabLayout = xtpTabLayoutAutoSize;
  CFont m_fntNormal;
  CFont m_fntBold;
  CFont m_fntVerticalNormal;
  CFont m_fntVerticalBold;
  int m_nToolTipMode = xtpTabToolTipShrinkedOnly;

  void LayoutMultiRow(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  void DrawRows(CXTPTabManager *pTabManager, CDC *pDC, const CRect &rcClip);
};
