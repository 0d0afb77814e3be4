// Default theme: frames of every button state, bar borders, grippers,
// separators, popup rows, images and special controls by pixel probes on
// memory device contexts. Sizes that depend on the font are checked as
// formulas of the measured font height.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../Common/tests/MemoryCanvas.h"
#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

using namespace cbtest;

namespace {

class DefaultTheme : public ::testing::Test {
protected:
  void SetUp() override { UseTestColors(&theme); }
  int BlankHeight(CFont &font) {
    MemoryCanvas canvas(4, 4);
    CXTPFontDC dc(&canvas.dc, &font);
    SIZE sz = {};
    ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L" ", 1, &sz);
    return sz.cy;
  }
  CXTPDefaultTheme theme;
};

enum Frame { kNone, kRaised, kSunken };

TEST_F(DefaultTheme, ControlFrameOfEveryState) {
  const struct {
    BOOL bEnabled;
    int nSelected, nPressed;
    BOOL bChecked, bPopuped;
    Frame frame;
    BOOL bPattern;
  } kCases[] = {
      {TRUE, 0, 0, FALSE, FALSE, kNone, FALSE},    // normal
      {TRUE, 1, 0, FALSE, FALSE, kRaised, FALSE},  // hot
      {TRUE, 2, 0, FALSE, FALSE, kRaised, FALSE},  // hot by the keyboard
      {TRUE, 0, 1, FALSE, FALSE, kRaised, FALSE},  // held, pointer outside
      {TRUE, 1, 1, FALSE, FALSE, kSunken, FALSE},  // pressed
      {TRUE, 0, 2, FALSE, FALSE, kSunken, FALSE},  // executing
      {TRUE, 0, 0, TRUE, FALSE, kSunken, TRUE},    // checked
      {TRUE, 1, 0, TRUE, FALSE, kSunken, FALSE},   // checked and hot
      {TRUE, 0, 0, FALSE, TRUE, kSunken, FALSE},   // popup open
      {FALSE, 0, 0, FALSE, FALSE, kNone, FALSE},   // disabled
      {FALSE, 1, 0, TRUE, FALSE, kNone, FALSE},    // disabled, checked, on a toolbar
      {FALSE, 2, 0, FALSE, FALSE, kSunken, FALSE}, // disabled, keyboard-selected
  };
  for (const auto &c : kCases) {
    MemoryCanvas canvas(40, 40, kCanvas);
    CRect rc(5, 5, 29, 27);
    theme.DrawControlFrame(&canvas.dc, rc, c.nSelected, c.nPressed, c.bEnabled, c.bChecked, c.bPopuped, TRUE,
                           xtpBarTop);
    COLORREF clrTopLeft = canvas.Pixel(rc.left, rc.top),
             clrBottomRight = canvas.Pixel(rc.right - 1, rc.bottom - 1);
    SCOPED_TRACE(::testing::Message()
                 << "enabled " << c.bEnabled << " selected " << c.nSelected << " pressed " << c.nPressed
                 << " checked " << c.bChecked << " popuped " << c.bPopuped);
    switch (c.frame) {
    case kNone:
      EXPECT_EQ(clrTopLeft, kCanvas);
      EXPECT_EQ(clrBottomRight, kCanvas);
      break;
    case kRaised:
      EXPECT_EQ(clrTopLeft, kHighlight);
      EXPECT_EQ(clrBottomRight, kShadow);
      break;
    case kSunken:
      EXPECT_EQ(clrTopLeft, kShadow);
      EXPECT_EQ(clrBottomRight, kHighlight);
      break;
    }
    // Inside: the half-tone of face and highlight, or untouched.
    COLORREF a = canvas.Pixel(10, 10), b = canvas.Pixel(11, 10);
    if (c.bPattern) {
      EXPECT_NE(a, b);
      EXPECT_TRUE((a == kFace && b == kHighlight) || (a == kHighlight && b == kFace));
    } else {
      EXPECT_EQ(a, kCanvas);
    }
  }
  // A checked menu cell (not a toolbar frame) stays sunken while disabled.
  MemoryCanvas canvas(40, 40, kCanvas);
  theme.DrawControlFrame(&canvas.dc, CRect(5, 5, 29, 27), 0, 0, FALSE, TRUE, FALSE, FALSE, xtpBarPopup);
  EXPECT_EQ(canvas.Pixel(5, 5), kShadow);
}

// Each row of a monochrome bitmap is a WORD: eight pattern bytes given as
// bytes would come out as the same row repeated (stripes, not a half-tone).
TEST_F(DefaultTheme, CheckedPatternIsAHalfTone) {
  MemoryCanvas canvas(16, 16, kCanvas);
  theme.DrawCheckedPattern(&canvas.dc, CRect(0, 0, 16, 16));
  for (int y = 0; y < 15; y++)
    for (int x = 0; x < 15; x++) {
      ASSERT_NE(canvas.Pixel(x, y), canvas.Pixel(x + 1, y)) << x << "," << y;
      ASSERT_NE(canvas.Pixel(x, y), canvas.Pixel(x, y + 1)) << x << "," << y;
      ASSERT_TRUE(canvas.Pixel(x, y) == kFace || canvas.Pixel(x, y) == kHighlight);
    }
}

TEST_F(DefaultTheme, RectangleSetsTheTextColourOfTheState) {
  MemoryCanvas canvas(30, 30, kCanvas);
  const struct {
    BOOL bEnabled;
    int nPosition;
    COLORREF clr;
  } kCases[] = {{TRUE, xtpBarTop, kText}, {FALSE, xtpBarTop, kGrayText}, {TRUE, xtpBarPopup, kText}};
  for (const auto &c : kCases) {
    theme.DrawRectangle(&canvas.dc, CRect(2, 2, 20, 20), c.bEnabled, 0, 0, FALSE, FALSE, c.nPosition);
    EXPECT_EQ(canvas.dc.GetTextColor(), c.clr);
    EXPECT_EQ(canvas.dc.GetBkMode(), TRANSPARENT);
  }
  theme.m_nPopupBarText = COLOR_HIGHLIGHT;
  theme.DrawRectangle(&canvas.dc, CRect(2, 2, 20, 20), TRUE, 0, 0, FALSE, FALSE, xtpBarPopup);
  EXPECT_EQ(canvas.dc.GetTextColor(), kSelection);
}

TEST_F(DefaultTheme, BarBorders) {
  const struct {
    XTPBarType type;
    XTPBarPosition position;
    COLORREF outer, outerBottomRight, inner;
  } kCases[] = {
      {xtpBarTypeNormal, xtpBarFloating, kFace, kDark, kHighlight},
      {xtpBarTypePopup, xtpBarPopup, kFace, kDark, kHighlight},
      {xtpBarTypeNormal, xtpBarTop, kHighlight, kShadow, kFace},
  };
  for (const auto &c : kCases) {
    TestBar bar(c.type, c.position, CSize(60, 30));
    MemoryCanvas canvas(60, 30, kCanvas);
    theme.FillCommandBarEntry(&canvas.dc, &bar);
    EXPECT_EQ(canvas.Pixel(0, 0), c.outer) << c.position;
    EXPECT_EQ(canvas.Pixel(59, 29), c.outerBottomRight) << c.position;
    EXPECT_EQ(canvas.Pixel(1, 1), c.inner) << c.position;
    EXPECT_EQ(canvas.Pixel(30, 15), kFace);
  }
  TestBar popup(xtpBarTypePopup, xtpBarPopup), toolbar(xtpBarTypeNormal, xtpBarTop);
  EXPECT_EQ(theme.GetCommandBarBorders(&popup), CRect(3, 3, 3, 3));
  EXPECT_EQ(theme.GetCommandBarBorders(&toolbar), CRect(2, 2, 2, 2));
}

TEST_F(DefaultTheme, GrippersAndCaption) {
  MemoryCanvas canvas(120, 60, kCanvas);
  TestBar floating(xtpBarTypeNormal, xtpBarFloating, CSize(120, 60));
  floating.SetTitle(L"Standard");
  const int nCaption = std::max(15, BlankHeight(theme.m_fontSmCaption));
  EXPECT_EQ(theme.DrawCommandBarGripper(&canvas.dc, &floating, TRUE), CSize(114, nCaption));
  EXPECT_EQ(canvas.Pixel(3, 3), kCaption);
  EXPECT_EQ(canvas.Pixel(116, nCaption + 2), kCaption);
  EXPECT_EQ(canvas.Pixel(3, nCaption + 3), kCanvas);

  TestBar left(xtpBarTypeNormal, xtpBarLeft, CSize(30, 100)),
      top(xtpBarTypeNormal, xtpBarTop, CSize(100, 30));
  MemoryCanvas leftCanvas(30, 100, kCanvas), topCanvas(100, 30, kCanvas);
  EXPECT_EQ(theme.DrawCommandBarGripper(&leftCanvas.dc, &left, TRUE), CSize(0, 8));
  EXPECT_EQ(leftCanvas.Pixel(3, 3), kHighlight);
  EXPECT_EQ(leftCanvas.Pixel(26, 5), kShadow);
  EXPECT_EQ(theme.DrawCommandBarGripper(&topCanvas.dc, &top, TRUE), CSize(6, 0));
  EXPECT_EQ(topCanvas.Pixel(3, 3), kHighlight);
  EXPECT_EQ(topCanvas.Pixel(5, 26), kShadow);

  TestBar popup(xtpBarTypePopup, xtpBarPopup);
  EXPECT_EQ(theme.DrawCommandBarGripper(&topCanvas.dc, &popup, FALSE), CSize(0, 0));
  EXPECT_EQ(theme.DrawDialogBarGripper(&topCanvas.dc, &top, FALSE),
            CSize(6, std::max(theme.GetControlHeight() + 4, 22)));
  EXPECT_EQ(theme.DrawCaptionBand(&topCanvas.dc, CRect(0, 0, 10, 8), TRUE, FALSE), CSize(0, 8));
}

TEST_F(DefaultTheme, SeparatorsOfEachBarKind) {
  CXTPControlButton control;
  control.SetRect(CRect(40, 20, 63, 42));
  control.SetRowRect(CRect(2, 18, 120, 44));

  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(120, 80));
  MemoryCanvas canvas(120, 80, kCanvas);
  EXPECT_EQ(theme.DrawCommandBarSeparator(&canvas.dc, &popup, &control, FALSE), CSize(0, 8));
  theme.DrawCommandBarSeparator(&canvas.dc, &popup, &control, TRUE);
  EXPECT_EQ(canvas.Pixel(14, 15), kShadow);
  EXPECT_EQ(canvas.Pixel(15, 16), kHighlight);
  EXPECT_EQ(canvas.Pixel(13, 15), kCanvas) << "14 pixels stay empty at each end";
  EXPECT_EQ(canvas.Pixel(106, 15), kCanvas);

  TestBar top(xtpBarTypeNormal, xtpBarTop, CSize(120, 80));
  MemoryCanvas topCanvas(120, 80, kCanvas);
  theme.DrawCommandBarSeparator(&topCanvas.dc, &top, &control, TRUE);
  EXPECT_EQ(topCanvas.Pixel(36, 18), kShadow) << "a vertical line before the control";
  EXPECT_EQ(topCanvas.Pixel(37, 43), kHighlight);

  control.SetWrap(TRUE);
  MemoryCanvas wrapCanvas(120, 80, kCanvas);
  theme.DrawCommandBarSeparator(&wrapCanvas.dc, &top, &control, TRUE);
  EXPECT_EQ(wrapCanvas.Pixel(6, 14), kShadow) << "a wrapped control gets a line above its row";
  EXPECT_EQ(wrapCanvas.Pixel(5, 14), kCanvas);
}

// A popup bar with one control in it.
class PopupRow : public DefaultTheme {
protected:
  void SetUp() override {
    DefaultTheme::SetUp();
    bar.SetPaintManager(&theme);
    theme.InternalAddRef();
  }
  void TearDown() override { bar.GetControls()->RemoveAll(); }
  CXTPControl *Add(XTPControlType type, LPCTSTR lpszCaption) {
    CXTPControl *pControl = bar.GetControls()->Add(type, 0);
    pControl->SetCaption(lpszCaption);
    return pControl;
  }
  CSize Place(CXTPControl *pControl, int nWidth = 160) {
    MemoryCanvas measure(4, 4);
    CSize sz = pControl->GetSize(&measure.dc);
    pControl->SetRect(CRect(CPoint(0, 0), CSize(nWidth, sz.cy)));
    return sz;
  }
  TestBar bar{xtpBarTypePopup, xtpBarPopup, CSize(160, 100)};
};

TEST_F(PopupRow, MeasureFollowsTheFontHeight) {
  CXTPControl *pControl = Add(xtpControlButton, L"&Open\tCtrl+O");
  MemoryCanvas canvas(4, 4);
  CSize sz = pControl->GetSize(&canvas.dc);
  const int nColumn = std::max(theme.GetControlHeight(), 16 + 4);
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  CRect rcOpen, rcShortcut;
  ::DrawTextW(canvas.dc.GetSafeHdc(), L"&Open", -1, &rcOpen, DT_CALCRECT | DT_SINGLELINE);
  ::DrawTextW(canvas.dc.GetSafeHdc(), L"Ctrl+O", -1, &rcShortcut, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(sz.cy, std::max(theme.GetControlHeight(), 16 + 4));
  EXPECT_EQ(sz.cx, nColumn + rcOpen.Width() + 40 + rcShortcut.Width());
}

TEST_F(PopupRow, SelectedRowIsHighlightedRightOfTheIconColumn) {
  CXTPControl *pControl = Add(xtpControlButton, L"Open");
  Place(pControl);
  pControl->OnSetSelected(1);
  MemoryCanvas canvas(160, 40, kCanvas);
  pControl->Draw(&canvas.dc);
  const int nColumn = std::max(theme.GetControlHeight(), 20);
  EXPECT_EQ(canvas.Pixel(nColumn + 1, 1), kSelection);
  EXPECT_EQ(canvas.Pixel(150, 2), kSelection);
  EXPECT_EQ(canvas.Pixel(2, 2), kCanvas);
  EXPECT_EQ(canvas.dc.GetTextColor(), kSelectionText);
}

TEST_F(PopupRow, CheckedRowWithoutIconShowsTheMark) {
  CXTPControl *pControl = Add(xtpControlButton, L"Wrap");
  pControl->SetChecked(TRUE);
  CSize sz = Place(pControl);
  MemoryCanvas canvas(160, 40, kCanvas);
  pControl->Draw(&canvas.dc);
  const int nColumn = std::max(theme.GetControlHeight(), 20);
  CRect rcBox(CPoint((nColumn - 20) / 2, (sz.cy - 20) / 2), CSize(20, 20));
  EXPECT_EQ(canvas.Pixel(rcBox.left + 8, rcBox.top + 11), kText) << "the check mark";
  EXPECT_EQ(canvas.Pixel(0, 0), kShadow) << "a sunken cell";
  EXPECT_EQ(canvas.Pixel(nColumn, sz.cy - 1), kHighlight);
}

TEST_F(PopupRow, SubMenuArrowDisabledAndExpandedRows) {
  CXTPControl *pPopup = Add(xtpControlPopup, L"Recent");
  CSize sz = Place(pPopup);
  MemoryCanvas canvas(160, 40, kCanvas);
  pPopup->Draw(&canvas.dc);
  EXPECT_EQ(canvas.Pixel(160 - 11 + 1, sz.cy / 2), kText) << "right-pointing arrow";

  CXTPControl *pDisabled = Add(xtpControlButton, L"Paste");
  pDisabled->SetEnabled(FALSE);
  Place(pDisabled);
  MemoryCanvas disabled(160, 40, kCanvas);
  pDisabled->Draw(&disabled.dc);
  EXPECT_EQ(disabled.dc.GetTextColor(), kGrayText);

  CXTPControl *pRare = Add(xtpControlButton, L"Rare");
  pRare->SetExpandedOnly(TRUE);
  Place(pRare);
  MemoryCanvas rare(160, 40, kCanvas);
  pRare->Draw(&rare.dc);
  EXPECT_EQ(rare.Pixel(1, 1), kLight) << "a command of the expanded menu has its own fill";
}

TEST_F(PopupRow, SplitButtonShowsItsTwoParts) {
  CXTPControl *pSplit = Add(xtpControlSplitButtonPopup, L"Undo");
  CSize sz = Place(pSplit);
  MemoryCanvas canvas(160, 40, kCanvas);
  pSplit->Draw(&canvas.dc);
  EXPECT_EQ(canvas.Pixel(160 - 20, sz.cy / 2), kText) << "the line between command and arrow";
}

// Toolbar controls measured and drawn by the base's toolbar layout.
TEST_F(DefaultTheme, ToolBarControlSizes) {
  TestBar bar(xtpBarTypeNormal, xtpBarTop);
  bar.SetPaintManager(&theme);
  theme.InternalAddRef();
  MemoryCanvas canvas(4, 4);
  CXTPControl *pButton = bar.GetControls()->Add(xtpControlButton, 0);
  EXPECT_EQ(pButton->GetSize(&canvas.dc), CSize(23, 23)) << "no icon, no caption";

  CXTPControl *pPopup = bar.GetControls()->Add(xtpControlPopup, 0);
  pPopup->SetCaption(L"&File");
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  SIZE szText = {};
  ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L"File", 4, &szText);
  EXPECT_EQ(pPopup->GetSize(&canvas.dc), CSize(szText.cx + 10 + 6, szText.cy + 6))
      << "a caption and the drop triangle of a toolbar";

  CXTPControl *pText = bar.GetControls()->Add(xtpControlButton, 0);
  pText->SetCaption(L"Go");
  ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L"Go", 2, &szText);
  EXPECT_EQ(pText->GetSize(&canvas.dc), CSize(4 + szText.cx + 3, szText.cy + 6));
  bar.GetControls()->RemoveAll();
}

using cbtest::SolidIcon;

TEST_F(DefaultTheme, ImagesOfTheStates) {
  CXTPImageManager *pImages = new CXTPImageManager;
  pImages->SetIcon(CXTPIconHandle(SolidIcon(0x0000C0)), 100, CSize(16, 16), 0);
  CXTPImageManagerIcon *pIcon = pImages->GetImage(100, 16);
  ASSERT_NE(pIcon, nullptr);

  MemoryCanvas normal(30, 30, kCanvas);
  theme.DrawImage(&normal.dc, CPoint(4, 4), CSize(16, 16), pIcon, 0, 0, TRUE, FALSE, FALSE, TRUE);
  EXPECT_EQ(normal.Pixel(10, 10), 0x0000C0u);

  MemoryCanvas pressed(30, 30, kCanvas);
  theme.DrawImage(&pressed.dc, CPoint(4, 4), CSize(16, 16), pIcon, 1, 1, TRUE, FALSE, FALSE, TRUE);
  EXPECT_EQ(pressed.Pixel(4, 4), kCanvas) << "pressed icons move one pixel right and down";
  EXPECT_EQ(pressed.Pixel(20, 20), 0x0000C0u);

  // Disabled without disabled icons: embossed in highlight and shadow, also
  // when checked.
  for (BOOL bChecked : {FALSE, TRUE}) {
    MemoryCanvas disabled(30, 30, kCanvas);
    theme.DrawImage(&disabled.dc, CPoint(4, 4), CSize(16, 16), pIcon, 0, 0, FALSE, bChecked, FALSE, TRUE);
    EXPECT_EQ(disabled.Pixel(10, 10), kShadow) << bChecked;
    EXPECT_EQ(disabled.Pixel(20, 20), kHighlight) << bChecked;
  }
  pImages->InternalRelease();
}

TEST_F(DefaultTheme, ExpandButtonWithHiddenControlsShowsChevrons) {
  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(100, 26));
  CXTPControlButton expand;
  expand.SetParent(&bar);
  MemoryCanvas canvas(100, 26, kCanvas);
  CSize sz = theme.DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, &expand, &bar, FALSE, 0);
  EXPECT_EQ(expand.GetRect(), CRect(87, 2, 98, 24));
  EXPECT_EQ(sz, CSize(11, 22));
  canvas.dc.SetTextColor(kText);
  theme.DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, &expand, &bar, TRUE, TRUE);
  EXPECT_EQ(canvas.Pixel(87 + 2, 2 + 4), kText) << "the first chevron";
  EXPECT_EQ(canvas.Pixel(87 + 6, 2 + 4), kText) << "the second chevron";
  EXPECT_EQ(canvas.Pixel(92, 24 - 6), kText) << "the drop triangle";

  MemoryCanvas plain(100, 26, kCanvas);
  plain.dc.SetTextColor(kText);
  theme.DrawSpecialControl(xtpButtonExpandToolbar, &plain.dc, &expand, &bar, TRUE, FALSE);
  EXPECT_EQ(plain.Pixel(87 + 2, 2 + 4), kCanvas) << "no chevrons when nothing is hidden";

  TestBar popup(xtpBarTypePopup, xtpBarPopup);
  EXPECT_EQ(theme.DrawSpecialControl(xtpButtonExpandMenu, &canvas.dc, &expand, &popup, FALSE, 0),
            CSize(0, 12));
  EXPECT_EQ(theme.DrawSpecialControl(9, &canvas.dc, &expand, &popup, FALSE, 0), CSize(0, 0));
}

TEST_F(DefaultTheme, ComboBoxDropButtonAndEditFrame) {
  MemoryCanvas canvas(60, 30, kCanvas);
  theme.DrawEditFrame(&canvas.dc, CRect(0, 0, 40, 20), TRUE, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), kShadow);
  EXPECT_EQ(canvas.Pixel(39, 19), kHighlight);
  theme.DrawEditFrame(&canvas.dc, CRect(0, 0, 40, 20), FALSE, 2);
  EXPECT_EQ(canvas.Pixel(39, 19), kShadow);
  MemoryCanvas button(30, 30, kCanvas);
  theme.DrawComboBoxDropButton(&button.dc, CRect(5, 5, 20, 25), TRUE, 0, FALSE);
  EXPECT_EQ(button.Pixel(5, 7), kHighlight) << "one pixel in: raised";
  EXPECT_EQ(button.Pixel(4, 7), kFace) << "the outer frame in face colour";
}

} // namespace

namespace {

TEST_F(DefaultTheme, CommandListRowsOfTheCustomiseDialog) {
  TestBar bar(xtpBarTypeNormal, xtpBarTop);
  CXTPControl *pPopup = bar.GetControls()->Add(xtpControlPopup, 0);
  pPopup->SetCaption(L"&Edit");
  MemoryCanvas canvas(200, 30, kCanvas);
  CSize sz = theme.DrawListBoxControl(&canvas.dc, pPopup, CRect(0, 0, 200, 24), TRUE, FALSE, FALSE);
  EXPECT_EQ(sz, CSize(200, std::max(theme.GetControlHeight(), 20)));
  theme.DrawListBoxControl(&canvas.dc, pPopup, CRect(0, 0, 200, 24), TRUE, TRUE, FALSE);
  const int nCell = std::max(theme.GetControlHeight(), 20);
  EXPECT_EQ(canvas.Pixel(nCell + 1, 1), kSelection) << "a selected row";
  EXPECT_EQ(canvas.Pixel(2, 12), kFace);
  EXPECT_EQ(canvas.Pixel(200 - 8, 12), kSelectionText) << "the popup's arrow";
  // Without a control only the background is drawn.
  MemoryCanvas empty(200, 30, kCanvas);
  theme.DrawListBoxControl(&empty.dc, nullptr, CRect(0, 0, 200, 24), TRUE, TRUE, FALSE);
  EXPECT_EQ(empty.Pixel(150, 12), kFace);
  bar.GetControls()->RemoveAll();
}

TEST_F(DefaultTheme, StatusBarGripperAndPaneBorder) {
  MemoryCanvas canvas(40, 30, kCanvas);
  theme.DrawStatusBarGripper(&canvas.dc, CRect(0, 0, 40, 30));
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(canvas.Pixel(40 - 3 - 4 * i, 30 - 2), kShadow) << i;
    EXPECT_EQ(canvas.Pixel(40 - 5 - 4 * i, 30 - 2), kHighlight) << i;
  }
  theme.DrawStatusBarPaneBorder(&canvas.dc, CRect(2, 2, 20, 20), FALSE);
  EXPECT_EQ(canvas.Pixel(2, 2), kShadow);
  EXPECT_EQ(canvas.Pixel(19, 19), kHighlight);
}

} // namespace

namespace {

TEST_F(DefaultTheme, TextBelowIconsAndVerticalBars) {
  CXTPImageManager *pImages = new CXTPImageManager;
  pImages->SetIcon(CXTPIconHandle(SolidIcon(0x00C000)), 100, CSize(16, 16), 0);
  CXTPCommandBars commandBars;
  commandBars.SetImageManager(pImages);
  TestBar bar(xtpBarTypeNormal, xtpBarTop);
  bar.SetCommandBars(&commandBars);
  bar.SetPaintManager(&theme);
  theme.InternalAddRef();
  CXTPControl *pButton = bar.GetControls()->Add(xtpControlButton, 100);
  pButton->SetCaption(L"Print");
  pButton->SetStyle(xtpButtonIconAndCaption);
  MemoryCanvas canvas(4, 4);
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  SIZE szText = {};
  ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L"Print", 5, &szText);

  // Beside the icon: the button cell, the caption and 3 more.
  EXPECT_EQ(pButton->GetSize(&canvas.dc), CSize(23 + szText.cx + 3, std::max<int>(szText.cy + 6, 23)));
  // Below the icon: at least the button's width, and never narrower than tall.
  bar.SetTextBelowIcons(TRUE);
  CSize sz = pButton->GetSize(&canvas.dc);
  EXPECT_EQ(sz.cy, 23 + szText.cy);
  EXPECT_EQ(sz.cx, std::max<int>(std::max<int>(szText.cx + 10, 23), sz.cy));
  bar.GetControls()->RemoveAll();
}

TEST_F(DefaultTheme, AnimateExpandingEndsWithTheWholeMenu) {
  TestBar bar(xtpBarTypePopup, xtpBarPopup, CSize(60, 60));
  for (int i = 0; i < 3; i++) {
    CXTPControl *pControl = bar.GetControls()->Add(xtpControlButton, 10 + i);
    pControl->SetRect(CRect(0, 5 + 15 * i, 60, 20 + 15 * i));
    pControl->SetExpandedOnly(i == 1);
  }
  theme.SetAnimation(3, 3);
  MemoryCanvas source(60, 60, 0x00AA00), dest(60, 60, 0xFFFFFF);
  source.dc.FillSolidRect(0, 20, 60, 15, 0x0000AA); // the newly shown command
  theme.AnimateExpanding(&bar, &dest.dc, &source.dc);
  EXPECT_EQ(dest.Pixel(30, 2), 0x00AA00u);
  EXPECT_EQ(dest.Pixel(30, 27), 0x0000AAu);
  EXPECT_EQ(dest.Pixel(30, 59), 0x00AA00u);
  bar.GetControls()->RemoveAll();
}

TEST_F(DefaultTheme, CloseAndCustomiseRows) {
  TestBar bar(xtpBarTypeNormal, xtpBarFloating, CSize(100, 40));
  CXTPControlButton close;
  close.SetParent(&bar);
  close.SetRect(CRect(80, 4, 96, 18));
  close.OnSetSelected(1);
  MemoryCanvas canvas(100, 40, kCanvas);
  theme.DrawSpecialControl(xtpButtonHideFloating, &canvas.dc, &close, &bar, TRUE, 0);
  EXPECT_EQ(canvas.Pixel(80, 4), kHighlight) << "raised while hot";
  EXPECT_EQ(canvas.Pixel(81, 5), kFace) << "filled with the face colour first";

  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(200, 40));
  CXTPControl *pRow = popup.GetControls()->Add(xtpControlButton, 35001);
  pRow->SetCaption(L"&Customize...");
  popup.SetPaintManager(&theme);
  theme.InternalAddRef();
  MemoryCanvas measure(4, 4);
  EXPECT_EQ(theme.DrawSpecialControl(xtpButtonCustomize, &measure.dc, pRow, &popup, FALSE, 0),
            theme.DrawPopupBarControl(&measure.dc, pRow, FALSE));
  popup.GetControls()->RemoveAll();
}

TEST_F(DefaultTheme, EditAndComboBoxMeasureFromTheIconFont) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup), toolbar(xtpBarTypeNormal, xtpBarTop);
  MemoryCanvas canvas(4, 4);
  const int nBlank = BlankHeight(theme.m_fontIcon);
  auto *pEdit = static_cast<CXTPControlEdit *>(toolbar.GetControls()->Add(xtpControlEdit, 0));
  pEdit->SetCaption(L"Find");
  pEdit->ShowLabel(FALSE);
  EXPECT_EQ(theme.DrawEditControl(&canvas.dc, pEdit, FALSE), CSize(100, nBlank + 8));
  EXPECT_EQ(pEdit->GetLabelWidth(), 0) << "no label on a toolbar when it is turned off";
  auto *pCombo = static_cast<CXTPControlComboBox *>(popup.GetControls()->Add(xtpControlComboBox, 0));
  pCombo->SetCaption(L"Zoom");
  CSize sz = theme.DrawComboBoxControl(&canvas.dc, pCombo, FALSE);
  EXPECT_EQ(pCombo->GetThumbWidth(), nBlank + 2);
  EXPECT_EQ(sz.cx, 100 + pCombo->GetLabelWidth()) << "a popup's combo box has its label in front";
  EXPECT_GT(pCombo->GetLabelWidth(), 9);
  toolbar.GetControls()->RemoveAll();
  popup.GetControls()->RemoveAll();
}

} // namespace

namespace {

TEST_F(DefaultTheme, VerticalExpandButtonTurnsItsChevrons) {
  TestBar bar(xtpBarTypeNormal, xtpBarLeft, CSize(26, 100));
  CXTPControlButton expand;
  expand.SetParent(&bar);
  MemoryCanvas canvas(26, 100, kCanvas);
  theme.DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, &expand, &bar, FALSE, 0);
  EXPECT_EQ(expand.GetRect(), CRect(2, 87, 24, 98));
  canvas.dc.SetTextColor(kText);
  theme.DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, &expand, &bar, TRUE, TRUE);
  // The first chevron from the top-right: (-8,2)-(-6,4)-(-3,1).
  EXPECT_EQ(canvas.Pixel(24 - 8, 87 + 2), kText);
  EXPECT_EQ(canvas.Pixel(24 - 6, 87 + 4), kText);
  EXPECT_EQ(canvas.Pixel(2 + 4, 87 + 5), kText) << "the left-pointing triangle";
}

} // namespace
