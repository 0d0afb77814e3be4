// Office theme: the state rules as tables, then pixel probes on memory
// device contexts for what differs from the classic look (flat frames on
// tinted fills, the popup icon column, line grippers, one-colour pane frames,
// the tear-off strip).
#include <gtest/gtest.h>

#include <algorithm>

#include "../../Common/tests/MemoryCanvas.h"
#include "CommandBarsTestSupport.h"
#include "XTPControlButton.h"
#include "XTPControlComboBox.h"
#include "XTPControlExt.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPImageManager.h"
#include "XTPOfficeTheme.h"
#include "XTPPopupBar.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

// A colour for every index that tells it apart from every other index and
// from the canvas.
COLORREF IndexColor(int nIndex) {
  return RGB(0x20 + nIndex * 3, 0x40, 0x60 + nIndex);
}

class OfficeTheme : public ::testing::Test {
protected:
  void SetUp() override {
    pTheme = new CXTPOfficeTheme;
    for (int i = 0; i < XPCOLOR_COUNT; i++) pTheme->GetColorPair(i).SetCustomValue(IndexColor(i));
  }
  void TearDown() override { pTheme->InternalRelease(); }
  CXTPOfficeTheme *pTheme = nullptr;
};

TEST(OfficeThemeRules, FrameAndFillOfEveryState) {
  const int N = -1;
  const struct {
    BOOL bEnabled;
    int nSelected, nPressed;
    BOOL bChecked, bPopuped, bToolBar;
    int nFrame, nFill, nOverFrame, nOverFill;
  } kCases[] = {
      {TRUE, 0, 0, FALSE, FALSE, TRUE, N, N, N, N},     // normal
      {TRUE, 1, 0, FALSE, FALSE, TRUE, 32, 31, N, N},   // hot
      {TRUE, 0, 1, FALSE, FALSE, TRUE, 32, 31, N, N},   // held, pointer outside
      {TRUE, 1, 1, FALSE, FALSE, TRUE, 50, 33, N, N},   // pressed
      {TRUE, 0, 2, FALSE, FALSE, TRUE, 50, 33, N, N},   // executing
      {TRUE, 0, 0, TRUE, FALSE, TRUE, 50, 36, N, N},    // checked
      {TRUE, 1, 0, TRUE, FALSE, TRUE, 37, 33, N, N},    // checked and hot
      {TRUE, 1, 1, TRUE, FALSE, TRUE, 50, 33, N, N},    // checked and pressed
      {TRUE, 1, 0, FALSE, TRUE, TRUE, 43, 30, N, N},    // popup open
      {FALSE, 0, 0, FALSE, FALSE, TRUE, N, N, N, N},    // disabled
      {FALSE, 1, 0, FALSE, FALSE, TRUE, N, N, N, N},    // disabled under the mouse
      {FALSE, 2, 0, FALSE, FALSE, TRUE, 32, 31, N, N},  // disabled, keyboard on a toolbar
      {FALSE, 2, 0, FALSE, FALSE, FALSE, 32, 41, N, N}, // disabled, keyboard in a popup
      {FALSE, 0, 0, TRUE, FALSE, FALSE, 40, 30, N, N},  // disabled checked popup row
      {FALSE, 0, 0, TRUE, FALSE, TRUE, N, N, N, N},     // disabled checked toolbar button
      // A disabled checked popup row the keyboard reached: its checked frame
      // and then the keyboard selection over it.
      {FALSE, 2, 0, TRUE, FALSE, FALSE, 40, 30, 32, 41},
  };
  for (const auto &c : kCases) {
    XTPOfficeStateLayers layers =
        CXTPOfficeTheme::StateColors(c.bEnabled, c.nSelected, c.nPressed, c.bChecked, c.bPopuped, c.bToolBar);
    SCOPED_TRACE(::testing::Message()
                 << "enabled " << c.bEnabled << " selected " << c.nSelected << " pressed " << c.nPressed
                 << " checked " << c.bChecked << " popuped " << c.bPopuped << " toolbar " << c.bToolBar);
    EXPECT_EQ(layers.first.nFrame, c.nFrame);
    EXPECT_EQ(layers.first.nFill, c.nFill);
    EXPECT_EQ(layers.overlay.nFrame, c.nOverFrame);
    EXPECT_EQ(layers.overlay.nFill, c.nOverFill);
  }
}

TEST(OfficeThemeRules, TextColourOfEveryState) {
  const struct {
    BOOL bEnabled;
    int nSelected, nPressed;
    BOOL bChecked, bPopuped;
    int nPosition, nColor;
  } kCases[] = {
      {FALSE, 1, 0, TRUE, FALSE, xtpBarTop, 40}, {TRUE, 1, 0, FALSE, TRUE, xtpBarTop, 46},
      {TRUE, 0, 0, TRUE, FALSE, xtpBarTop, 45},  {TRUE, 1, 1, FALSE, FALSE, xtpBarTop, 47},
      {TRUE, 0, 2, FALSE, FALSE, xtpBarTop, 47}, {TRUE, 1, 0, TRUE, FALSE, xtpBarTop, 47},
      {TRUE, 0, 0, FALSE, FALSE, xtpBarTop, 46}, {TRUE, 0, 0, FALSE, FALSE, xtpBarPopup, 44},
      {TRUE, 1, 0, FALSE, FALSE, xtpBarTop, 45}, {TRUE, 0, 1, FALSE, FALSE, xtpBarPopup, 45},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPOfficeTheme::ControlEntryTextColor(c.bEnabled, c.nSelected, c.nPressed, c.bChecked,
                                                     c.bPopuped, c.nPosition),
              c.nColor)
        << c.bEnabled << c.nSelected << c.nPressed << c.bChecked << c.bPopuped << " at " << c.nPosition;
}

// A strip narrower than 20 pixels gives an empty grip: without the clamp a
// negative half width became the widest grip, drawn past both ends.
TEST(OfficeThemeRules, TearOffGripStaysInsideTheStrip) {
  const struct {
    int nWidth, nMax, nHalf;
  } kCases[] = {{0, 16, 0},   {12, 16, 0},  {19, 16, 0},  {20, 16, 0},   {22, 16, 1},
                {52, 16, 16}, {60, 16, 16}, {60, 32, 20}, {100, 32, 32}, {-40, 32, 0}};
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPOfficeTheme::TearOffGripHalfWidth(c.nWidth, c.nMax), c.nHalf)
        << c.nWidth << " max " << c.nMax;
}

TEST(OfficeThemeRules, GapBetweenAPopupAndItsControl) {
  const struct {
    CRect rcControl, rcPopup, rcGap;
  } kCases[] = {
      // A menu-bar item over the popup's top edge: one row, shortened at both ends.
      {CRect(10, 0, 50, 21), CRect(10, 20, 150, 200), CRect(11, 20, 49, 21)},
      // Two rows of overlap lose one at top and bottom too.
      {CRect(10, 0, 50, 22), CRect(10, 20, 150, 200), CRect(11, 21, 49, 21)},
      // A control beside a submenu: one column, shortened at both ends.
      {CRect(0, 30, 101, 50), CRect(100, 25, 200, 120), CRect(100, 31, 101, 49)},
      // Apart: nothing.
      {CRect(0, 0, 20, 20), CRect(30, 30, 60, 60), CRect(0, 0, 0, 0)},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPOfficeTheme::PopupGapRect(c.rcControl, c.rcPopup), c.rcGap)
        << c.rcControl.left << "," << c.rcControl.top << " " << c.rcPopup.left << "," << c.rcPopup.top;
}

TEST_F(OfficeTheme, NarrowTearOffStripDrawsNoGripOutsideIt) {
  MemoryCanvas canvas(60, 12, kCanvas);
  const CRect rc(20, 0, 34, 9);
  EXPECT_EQ(pTheme->DrawCaptionBand(&canvas.dc, rc, FALSE, FALSE), CSize(0, 9));
  for (BOOL bActive : {FALSE, TRUE}) {
    pTheme->DrawCaptionBand(&canvas.dc, rc, bActive, TRUE);
    for (int x : {0, 10, 19, 34, 45, 59})
      for (int y = 0; y < 12; y++)
        ASSERT_EQ(canvas.Pixel(x, y), kCanvas) << x << "," << y << " active " << bActive;
  }
  // Not hot: face inside the face-41 border, no grip lines in a strip this narrow.
  pTheme->DrawCaptionBand(&canvas.dc, rc, FALSE, TRUE);
  EXPECT_EQ(canvas.Pixel(rc.left, rc.top), IndexColor(41));
  EXPECT_EQ(canvas.Pixel(27, rc.top + 3), IndexColor(30));
}

TEST_F(OfficeTheme, WideTearOffStripDrawsItsGripCentred) {
  MemoryCanvas canvas(80, 12, kCanvas);
  const CRect rc(0, 0, 80, 9);
  pTheme->DrawCaptionBand(&canvas.dc, rc, FALSE, TRUE);
  EXPECT_EQ(canvas.Pixel(40, 3), IndexColor(38));
  EXPECT_EQ(canvas.Pixel(40, 4), IndexColor(30));
  EXPECT_EQ(canvas.Pixel(10, 3), IndexColor(30)); // outside centre ± 16
  pTheme->DrawCaptionBand(&canvas.dc, rc, TRUE, TRUE);
  EXPECT_EQ(canvas.Pixel(1, 1), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(40, 4), IndexColor(45));
  EXPECT_EQ(canvas.Pixel(40, 5), IndexColor(31));
}

TEST_F(OfficeTheme, OverlaidStateShowsTheKeyboardSelectionOverTheCheckedFrame) {
  MemoryCanvas canvas(40, 30, kCanvas);
  const CRect rc(4, 4, 34, 24);
  pTheme->DrawControlFrame(&canvas.dc, rc, 2, 0, FALSE, TRUE, FALSE, FALSE, xtpBarPopup);
  EXPECT_EQ(canvas.Pixel(rc.left, rc.top), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(15, 15), IndexColor(41));
  // Not reached by the keyboard: the checked frame alone.
  pTheme->DrawControlFrame(&canvas.dc, rc, 0, 0, FALSE, TRUE, FALSE, FALSE, xtpBarPopup);
  EXPECT_EQ(canvas.Pixel(rc.left, rc.top), IndexColor(40));
  EXPECT_EQ(canvas.Pixel(15, 15), IndexColor(30));
}

TEST_F(OfficeTheme, ToolbarControlDrawsFlatFrameAndStateTextColour) {
  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(100, 26));
  CXTPControlButton *pButton = new CXTPControlButton;
  bar.GetControls()->Add(pButton, 1);
  pButton->SetRect(CRect(10, 2, 33, 24));
  MemoryCanvas canvas(100, 26, kCanvas);
  pTheme->DrawControlEntry(&canvas.dc, pButton);
  EXPECT_EQ(canvas.Pixel(10, 2), kCanvas);
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(46));

  pButton->OnSetSelected(TRUE);
  pTheme->DrawControlEntry(&canvas.dc, pButton);
  EXPECT_EQ(canvas.Pixel(10, 2), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(32, 23), IndexColor(32)); // the same colour on all sides
  EXPECT_EQ(canvas.Pixel(20, 12), IndexColor(31));
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(45));
  EXPECT_EQ(canvas.dc.GetBkMode(), TRANSPARENT);
}

TEST_F(OfficeTheme, LiteralColoursAboveTheTableAndIndexesBelowIt) {
  // 57 is the last index; 58 and above come back as colours. A literal
  // colour below 58 cannot be told from an index and reads as one.
  EXPECT_EQ(pTheme->GetPaintColor(57), IndexColor(57));
  EXPECT_EQ(pTheme->GetPaintColor(58), COLORREF(58));
  EXPECT_EQ(pTheme->GetPaintColor(0x123456), COLORREF(0x123456));
  MemoryCanvas canvas(20, 20, kCanvas);
  pTheme->Rectangle(&canvas.dc, CRect(2, 2, 18, 18), 0x0000F0, 30);
  EXPECT_EQ(canvas.Pixel(2, 2), COLORREF(0x0000F0));
  EXPECT_EQ(canvas.Pixel(9, 9), IndexColor(30));
}

TEST_F(OfficeTheme, BarBackgrounds) {
  {
    TestBar toolbar(xtpBarTypeNormal, xtpBarTop, CSize(60, 26));
    MemoryCanvas canvas(60, 26, kCanvas);
    pTheme->FillCommandBarEntry(&canvas.dc, &toolbar);
    EXPECT_EQ(canvas.Pixel(0, 0), IndexColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Pixel(1, 1), IndexColor(COLOR_BTNFACE)); // rounded inner corner
    EXPECT_EQ(canvas.Pixel(2, 1), IndexColor(30));
    EXPECT_EQ(canvas.Pixel(30, 13), IndexColor(30));
  }
  {
    TestBar menu(xtpBarTypeMenuBar, xtpBarTop, CSize(60, 20));
    MemoryCanvas canvas(60, 20, kCanvas);
    pTheme->FillCommandBarEntry(&canvas.dc, &menu);
    EXPECT_EQ(canvas.Pixel(0, 0), IndexColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Pixel(30, 10), IndexColor(COLOR_BTNFACE));
  }
  {
    TestBar floating(xtpBarTypeNormal, xtpBarFloating, CSize(60, 30));
    MemoryCanvas canvas(60, 30, kCanvas);
    pTheme->FillCommandBarEntry(&canvas.dc, &floating);
    // Two frames, then the points two in from each corner (right and
    // bottom the rectangle's exclusive edges) in the frame colour.
    for (CPoint pt : {CPoint(0, 0), CPoint(1, 1), CPoint(2, 2), CPoint(58, 2), CPoint(2, 28), CPoint(58, 28),
                      CPoint(59, 29), CPoint(58, 15)})
      EXPECT_EQ(canvas.Pixel(pt.x, pt.y), IndexColor(43)) << pt.x << "," << pt.y;
    for (CPoint pt : {CPoint(3, 2), CPoint(57, 2), CPoint(2, 27), CPoint(57, 27), CPoint(56, 26)})
      EXPECT_EQ(canvas.Pixel(pt.x, pt.y), IndexColor(30)) << pt.x << "," << pt.y;
  }
  {
    TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(120, 60));
    MemoryCanvas canvas(120, 60, kCanvas);
    pTheme->FillCommandBarEntry(&canvas.dc, &popup);
    const int nCell = pTheme->GetPopupIconCellWidth(popup.GetIconSize());
    EXPECT_EQ(canvas.Pixel(0, 0), IndexColor(43));
    EXPECT_EQ(canvas.Pixel(1, 1), IndexColor(41));
    EXPECT_EQ(canvas.Pixel(1, 2), IndexColor(30)); // icon column
    EXPECT_EQ(canvas.Pixel(nCell, 30), IndexColor(30));
    EXPECT_EQ(canvas.Pixel(nCell + 1, 30), IndexColor(41)); // menu face
    EXPECT_EQ(canvas.Pixel(1, 57), IndexColor(30));
    EXPECT_EQ(canvas.Pixel(1, 58), IndexColor(41));
  }
}

TEST_F(OfficeTheme, PopupRowsByState) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(160, 80));
  CXTPControlButton *pButton = new CXTPControlButton;
  popup.GetControls()->Add(pButton, 1);
  pButton->SetCaption(L"&Open");
  const int nRow = pTheme->GetPopupRowHeightFor(popup.GetIconSize());
  const CRect rc(2, 2, 158, 2 + nRow);
  pButton->SetRect(rc);
  MemoryCanvas canvas(160, 80, kCanvas);
  CSize sz = pTheme->DrawPopupControl(&canvas.dc, pButton, FALSE);
  EXPECT_EQ(sz.cy, nRow);
  EXPECT_GT(sz.cx, pTheme->GetPopupIconCellWidth(popup.GetIconSize()) + 40);

  pTheme->DrawPopupControl(&canvas.dc, pButton, TRUE);
  EXPECT_EQ(canvas.Pixel(rc.left, rc.top), kCanvas);
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(44));

  pButton->OnSetSelected(TRUE);
  pTheme->DrawPopupControl(&canvas.dc, pButton, TRUE);
  EXPECT_EQ(canvas.Pixel(rc.left, rc.top), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(rc.right - 2, rc.top + 2), IndexColor(31));
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(45));

  pButton->SetEnabled(FALSE);
  pTheme->DrawPopupControl(&canvas.dc, pButton, TRUE);
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(35));
}

TEST_F(OfficeTheme, RowMarkedExpandedAndLabelRowFills) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(160, 80));
  CXTPControlButton *pButton = new CXTPControlButton;
  CXTPControlLabel *pLabel = new CXTPControlLabel;
  popup.GetControls()->Add(pButton, 1);
  popup.GetControls()->Add(pLabel, 2);
  pButton->SetCaption(L"Rare");
  pLabel->SetCaption(L"Label");
  const int nRow = pTheme->GetPopupRowHeightFor(popup.GetIconSize());
  const int nCell = pTheme->GetPopupIconCellWidth(popup.GetIconSize());
  pButton->SetRect(CRect(2, 2, 158, 2 + nRow));
  pLabel->SetRect(CRect(2, 2 + nRow, 158, 2 + 2 * nRow));
  pButton->SetExpandedOnly(TRUE);
  MemoryCanvas canvas(160, 80, kCanvas);
  pTheme->DrawPopupControl(&canvas.dc, pButton, TRUE);
  pTheme->DrawPopupControl(&canvas.dc, pLabel, TRUE);
  EXPECT_EQ(canvas.Pixel(1, 4), IndexColor(42));
  EXPECT_EQ(canvas.Pixel(nCell, 4), IndexColor(42));
  EXPECT_EQ(canvas.Pixel(nCell + 1, 4), kCanvas);
  EXPECT_EQ(canvas.Pixel(nCell + 3, 3 + nRow), IndexColor(56));
  EXPECT_EQ(canvas.Pixel(nCell + 2, 3 + nRow), kCanvas);
}

TEST_F(OfficeTheme, GrippersAreLinesOfTheGripperColour) {
  TestBar top(xtpBarTypeNormal, xtpBarTop, CSize(80, 26));
  MemoryCanvas canvas(80, 26, kCanvas);
  EXPECT_EQ(pTheme->DrawCommandBarGripper(&canvas.dc, &top, FALSE), CSize(6, 0));
  pTheme->DrawCommandBarGripper(&canvas.dc, &top, TRUE);
  EXPECT_EQ(canvas.Pixel(3, 5), IndexColor(38));
  EXPECT_EQ(canvas.Pixel(5, 5), IndexColor(38));
  EXPECT_EQ(canvas.Pixel(6, 5), kCanvas);
  EXPECT_EQ(canvas.Pixel(3, 6), kCanvas);
  EXPECT_EQ(canvas.Pixel(3, 19), IndexColor(38));
  EXPECT_EQ(canvas.Pixel(3, 21), kCanvas); // stops 5 short of the bottom

  TestBar left(xtpBarTypeNormal, xtpBarLeft, CSize(26, 80));
  MemoryCanvas canvas2(26, 80, kCanvas);
  EXPECT_EQ(pTheme->DrawCommandBarGripper(&canvas2.dc, &left, FALSE), CSize(0, 8));
  pTheme->DrawCommandBarGripper(&canvas2.dc, &left, TRUE);
  EXPECT_EQ(canvas2.Pixel(5, 3), IndexColor(38));
  EXPECT_EQ(canvas2.Pixel(6, 3), kCanvas);
}

TEST_F(OfficeTheme, PopupSeparatorStartsAfterTheIconColumn) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(160, 80));
  CXTPControlButton *pButton = new CXTPControlButton;
  popup.GetControls()->Add(pButton, 1);
  pButton->SetRect(CRect(2, 30, 158, 50));
  MemoryCanvas canvas(160, 80, kCanvas);
  EXPECT_EQ(pTheme->DrawCommandBarSeparator(&canvas.dc, &popup, pButton, FALSE), CSize(0, 3));
  pTheme->DrawCommandBarSeparator(&canvas.dc, &popup, pButton, TRUE);
  const int nCell = pTheme->GetPopupIconCellWidth(popup.GetIconSize());
  EXPECT_EQ(canvas.Pixel(nCell + 9, 28), IndexColor(39));
  EXPECT_EQ(canvas.Pixel(nCell + 8, 28), kCanvas);
  EXPECT_EQ(canvas.Pixel(158, 28), IndexColor(39));
}

// A line of the "Add or Remove Buttons" list that begins a group: its
// separator starts at its caption, past the tick and icon columns, and its
// tick column reaches up across the separator's gap. Other rows keep the
// separator after the icon column and the column within the row.
TEST_F(OfficeTheme, ALineJoiningTheTickColumnMovesItsSeparatorAndRaisesItsColumn) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(160, 80));
  const int nCell = pTheme->GetPopupIconCellWidth(popup.GetIconSize());
  for (BOOL bJoins : {FALSE, TRUE}) {
    SCOPED_TRACE(bJoins);
    auto *pLine = new CXTPToolBarAddRemoveButton(nullptr, nullptr);
    popup.GetControls()->Add(pLine, 1);
    pLine->SetCaption(L"Reset Toolbar");
    pLine->SetBeginGroup(TRUE);
    pLine->SetJoinsTickColumn(bJoins);
    const CRect rc(2, 30, 158, 50);
    pLine->SetRect(rc);
    MemoryCanvas canvas(160, 80, kCanvas);
    pTheme->DrawCommandBarSeparator(&canvas.dc, &popup, pLine, TRUE);
    const int nLeft = bJoins ? 2 * nCell + 8 : nCell + 9;
    EXPECT_EQ(canvas.Pixel(nLeft, rc.top - 2), IndexColor(39));
    EXPECT_EQ(canvas.Pixel(nLeft - 1, rc.top - 2), kCanvas);
    EXPECT_EQ(canvas.Pixel(158, rc.top - 2), IndexColor(39));

    MemoryCanvas row(160, 80, kCanvas);
    pTheme->DrawSpecialControl(xtpButtonCustomize, &row.dc, pLine, &popup, TRUE, 0);
    const COLORREF clrAbove = bJoins ? IndexColor(30) : kCanvas;
    for (int y : {rc.top - 3, rc.top - 1}) EXPECT_EQ(row.Pixel(2, y), clrAbove) << y;
    EXPECT_EQ(row.Pixel(2, rc.top - 4), kCanvas);
    EXPECT_EQ(row.Pixel(2, rc.top + 2), IndexColor(30));
    popup.GetControls()->Remove(pLine);
  }
}

// A combo box on a toolbar shows its caption when its style shows captions:
// in the toolbar text colour (disabled: colour 40) left of its field, which
// then begins after it.
TEST_F(OfficeTheme, AToolbarComboDrawsItsCaptionWhenItsStyleShowsIt) {
  const struct {
    int nStyle;
    BOOL bEnabled;
    BOOL bCaption;
    int nTextColor;
  } kCases[] = {
      {xtpButtonAutomatic, TRUE, FALSE, 0}, {xtpButtonIcon, TRUE, FALSE, 0},
      {xtpButtonCaption, TRUE, TRUE, 46},   {xtpButtonIconAndCaption, TRUE, TRUE, 46},
      {xtpButtonCaption, FALSE, TRUE, 40},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << "style " << c.nStyle << " enabled " << c.bEnabled);
    TestBar toolbar(xtpBarTypeNormal, xtpBarTop, CSize(300, 26));
    auto *pCombo = static_cast<CXTPControlComboBox *>(toolbar.GetControls()->Add(xtpControlComboBox, 1));
    pCombo->SetCaption(L"Find");
    pCombo->SetStyle(c.nStyle);
    pCombo->SetEnabled(c.bEnabled);
    MemoryCanvas canvas(300, 26, kCanvas);
    const CSize sz = pTheme->DrawComboBoxControl(&canvas.dc, pCombo, FALSE);
    const int nLabel = pCombo->GetLabelWidth();
    EXPECT_EQ(sz.cx, pCombo->GetWidth() + nLabel);
    if (!c.bCaption) {
      EXPECT_EQ(nLabel, 0);
      continue;
    }
    ASSERT_GT(nLabel, 10);
    pCombo->SetRect(CRect(0, 2, sz.cx, 22));
    pTheme->DrawComboBoxControl(&canvas.dc, pCombo, TRUE);
    int nText = 0;
    for (int x = 0; x < nLabel; x++)
      for (int y = 2; y < 22; y++) {
        const COLORREF clr = canvas.Pixel(x, y);
        if (clr == IndexColor(c.nTextColor))
          nText++;
        else
          EXPECT_EQ(clr, kCanvas) << x << "," << y;
      }
    EXPECT_GT(nText, 10);
    // The field begins after the caption.
    EXPECT_NE(canvas.Pixel(nLabel + 1, 10), kCanvas);
  }
}

TEST_F(OfficeTheme, ExcludeRectByParentAndKind) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup), toolbar(xtpBarTypeNormal, xtpBarTop);
  CXTPControlButton *pOnPopup = new CXTPControlButton, *pOnBar = new CXTPControlButton;
  popup.GetControls()->Add(pOnPopup, 1);
  toolbar.GetControls()->Add(pOnBar, 2);
  CRect rc(10, 10, 30, 30);
  pTheme->AdjustExcludeRect(rc, pOnPopup, FALSE);
  EXPECT_EQ(rc, CRect(9, 10, 31, 30));
  rc = CRect(10, 10, 30, 30);
  pTheme->AdjustExcludeRect(rc, pOnBar, FALSE);
  EXPECT_EQ(rc, CRect(10, 11, 30, 29));
  rc = CRect(10, 10, 30, 30);
  pTheme->AdjustExcludeRect(rc, pOnBar, TRUE);
  EXPECT_EQ(rc, CRect(11, 10, 29, 30));
}

TEST_F(OfficeTheme, OwnShadowsAndOneColourPaneFrame) {
  EXPECT_TRUE(pTheme->HasOwnShadow());
  EXPECT_EQ(pTheme->GetCurrentTheme(), xtpThemeOffice);
  EXPECT_TRUE(pTheme->GetIconsInfo()->bUseFadedIcons);
  EXPECT_TRUE(pTheme->GetIconsInfo()->bIconsWithShadow);
  MemoryCanvas canvas(40, 20, kCanvas);
  pTheme->DrawStatusBarPaneBorder(&canvas.dc, CRect(2, 2, 30, 18), FALSE);
  EXPECT_EQ(canvas.Pixel(2, 2), IndexColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(29, 17), IndexColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(10, 10), kCanvas);
}

using cbtest::SolidIcon;

TEST_F(OfficeTheme, HotIconLiftsOffItsShadowAndDisabledIconIsOneColour) {
  CXTPImageManager *pImages = new CXTPImageManager;
  pImages->SetIcon(CXTPIconHandle(SolidIcon(0x0000C0)), 100, CSize(16, 16), 0);
  CXTPImageManagerIcon *pIcon = pImages->GetImage(100, 16);
  ASSERT_NE(pIcon, nullptr);

  // Hot with shadows: the shadow one pixel down-right, the icon one pixel
  // up-left, so the top-left corner moves out and a shadow shows below.
  MemoryCanvas hot(30, 30, kCanvas);
  pTheme->DrawImage(&hot.dc, CPoint(4, 4), CSize(16, 16), pIcon, 1, 0, TRUE, FALSE, FALSE, TRUE);
  EXPECT_EQ(hot.Pixel(3, 3), 0x0000C0u);
  EXPECT_NE(hot.Pixel(20, 20), kCanvas);
  EXPECT_NE(hot.Pixel(20, 20), 0x0000C0u);

  // Without shadows the hot icon stays in place.
  pTheme->GetIconsInfo()->bIconsWithShadow = FALSE;
  MemoryCanvas flat(30, 30, kCanvas);
  pTheme->DrawImage(&flat.dc, CPoint(4, 4), CSize(16, 16), pIcon, 1, 0, TRUE, FALSE, FALSE, TRUE);
  EXPECT_EQ(flat.Pixel(3, 3), kCanvas);
  EXPECT_EQ(flat.Pixel(4, 4), 0x0000C0u);
  EXPECT_EQ(flat.Pixel(20, 20), kCanvas);

  // Disabled, without disabled icons: the shape in colour 40, in place.
  MemoryCanvas disabled(30, 30, kCanvas);
  pTheme->DrawImage(&disabled.dc, CPoint(4, 4), CSize(16, 16), pIcon, 0, 0, FALSE, FALSE, FALSE, TRUE);
  EXPECT_EQ(disabled.Pixel(10, 10), IndexColor(40));
  EXPECT_EQ(disabled.Pixel(20, 20), kCanvas);
  pImages->InternalRelease();
}

TEST_F(OfficeTheme, ComboAndEditFieldsByState) {
  TestBar toolbar(xtpBarTypeNormal, xtpBarTop, CSize(200, 26));
  auto *pCombo = static_cast<CXTPControlComboBox *>(toolbar.GetControls()->Add(xtpControlComboBox, 1));
  auto *pEdit = static_cast<CXTPControlEdit *>(toolbar.GetControls()->Add(xtpControlEdit, 2));
  MemoryCanvas canvas(200, 26, kCanvas);
  pTheme->DrawComboBoxControl(&canvas.dc, pCombo, FALSE);
  pTheme->DrawEditControl(&canvas.dc, pEdit, FALSE);
  const CRect rcCombo(0, 2, 100, 22), rcEdit(100, 2, 200, 22);
  pCombo->SetRect(rcCombo);
  pEdit->SetRect(rcEdit);

  // At rest on a toolbar: the combo's field is window-coloured to its edge,
  // the edit's one pixel in; neither is framed.
  pTheme->DrawComboBoxControl(&canvas.dc, pCombo, TRUE);
  pTheme->DrawEditControl(&canvas.dc, pEdit, TRUE);
  EXPECT_EQ(canvas.Pixel(10, 10), IndexColor(COLOR_WINDOW));
  EXPECT_EQ(canvas.Pixel(0, 2), IndexColor(COLOR_WINDOW));
  EXPECT_EQ(canvas.Pixel(150, 10), IndexColor(COLOR_WINDOW));
  EXPECT_EQ(canvas.Pixel(100, 2), kCanvas);
  const int nThumb = pCombo->GetThumbWidth();
  EXPECT_EQ(canvas.Pixel(rcCombo.right - nThumb + 1, 3), IndexColor(COLOR_WINDOW));

  // Hot: frame 32 round the field, the button filled with 31.
  pCombo->OnSetSelected(TRUE);
  pEdit->OnSetSelected(TRUE);
  pTheme->DrawComboBoxControl(&canvas.dc, pCombo, TRUE);
  pTheme->DrawEditControl(&canvas.dc, pEdit, TRUE);
  EXPECT_EQ(canvas.Pixel(0, 2), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(rcCombo.right - nThumb + 2, 4), IndexColor(31));
  EXPECT_EQ(canvas.Pixel(100, 2), IndexColor(32));

  // Disabled: frame 40 on the face colour.
  pCombo->SetEnabled(FALSE);
  pCombo->OnSetSelected(FALSE);
  pTheme->DrawComboBoxControl(&canvas.dc, pCombo, TRUE);
  EXPECT_EQ(canvas.Pixel(0, 2), IndexColor(40));
  EXPECT_EQ(canvas.Pixel(10, 10), IndexColor(COLOR_BTNFACE));
}

TEST_F(OfficeTheme, DropDownListRowsByKindAndState) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(200, 80));
  CXTPControl *pSplit = popup.GetControls()->Add(xtpControlSplitButtonPopup, 1);
  CXTPControl *pCombo = popup.GetControls()->Add(xtpControlComboBox, 2);
  pSplit->SetCaption(L"Split");
  pCombo->SetCaption(L"Combo");
  MemoryCanvas canvas(200, 80, kCanvas);
  const CRect rc(0, 0, 200, 24);
  const int nRow = pTheme->DrawListBoxControl(&canvas.dc, pSplit, rc, FALSE, FALSE, FALSE).cy;
  EXPECT_EQ(nRow, std::max(22, pTheme->GetControlHeight()));
  const int nCell = pTheme->GetPopupIconCellWidth(CSize(16, 16));

  pTheme->DrawListBoxControl(&canvas.dc, pSplit, rc, FALSE, TRUE, FALSE);
  EXPECT_EQ(canvas.Pixel(2, 5), IndexColor(30));         // icon column
  EXPECT_EQ(canvas.Pixel(nCell + 2, 2), IndexColor(41)); // row face
  EXPECT_EQ(canvas.Pixel(180, 12), IndexColor(16));      // the split line
  pTheme->DrawListBoxControl(&canvas.dc, pSplit, rc, TRUE, TRUE, FALSE);
  EXPECT_EQ(canvas.Pixel(0, 0), IndexColor(32));
  EXPECT_EQ(canvas.Pixel(180, 12), IndexColor(32));
  EXPECT_EQ(canvas.dc.GetTextColor(), IndexColor(45));

  const CRect rcCombo(0, 30, 200, 54);
  pTheme->DrawListBoxControl(&canvas.dc, pCombo, rcCombo, FALSE, TRUE, FALSE);
  // The box at the right end: framed in the face colour, filled with the
  // face colour two pixels in.
  EXPECT_EQ(canvas.Pixel(197, 40), IndexColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.Pixel(196, 33), IndexColor(COLOR_WINDOW));
}

} // namespace
