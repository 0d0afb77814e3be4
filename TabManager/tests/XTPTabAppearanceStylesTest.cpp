// The ten appearances drawn on a 32-bit memory context and probed at a few
// pixels each: corners, the selected tab's edge toward the client area,
// separators, grips and the colours the sets give the shapes.
#include <gtest/gtest.h>

#include "TabTestStrip.h"
#include "../../Common/tests/MemoryCanvas.h"
#include "../../Common/tests/SchemeScope.h"
#include "XTPColorManager.h"

namespace {

const COLORREF kStrip = RGB(200, 200, 200), kEdge = RGB(0, 0, 160), kFace = RGB(0, 200, 0),
               kSelected = RGB(250, 250, 0), kLight = RGB(255, 0, 255), kShadow = RGB(128, 0, 128),
               kDark = RGB(64, 0, 64);

COLORREF C(int nIndex) {
  return XTPGetColor(nIndex);
}

COLORREF Average(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
             (GetBValue(a) + GetBValue(b)) >> 1);
}

// Three tabs, the middle one selected, in a 300 by 100 control.
class TabStyle : public ::testing::Test {
protected:
  void Build(int nAppearance, int nColorSet = 0, XTPTabPosition nPosition = xtpTabPositionTop) {
    strip.paint.SetAppearance(nAppearance);
    if (nColorSet) strip.paint.SetColor(nColorSet);
    strip.paint.SetPosition(nPosition);
    LOGFONT lf = {};
    lf.lfHeight = -11;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    strip.paint.SetFontIndirect(&lf);
    strip.paint.RefreshMetrics();
    if (strip.GetItemCount() == 0) {
      strip.AddItem(-1)->SetCaption(L"One");
      strip.AddItem(-1)->SetCaption(L"Selected");
      strip.AddItem(-1)->SetCaption(L"Three");
    }
    strip.SetCurSel(1);
    strip.Reposition();
  }
  // Own colours, so that every probe is unambiguous.
  void Paint() {
    CXTPTabColorSet *pSet = strip.paint.GetColorSet();
    pSet->stripFace.SetCustomValue(kStrip, kStrip);
    pSet->edgeDark.SetCustomValue(kEdge);
    pSet->tabFace.SetCustomValue(kFace);
    pSet->tabFaceSelected.SetCustomValue(kSelected);
    pSet->bevelLight.SetCustomValue(kLight);
    pSet->bevelShadow.SetCustomValue(kShadow);
    pSet->bevelDarkShadow.SetCustomValue(kDark);
    Draw();
  }
  void Draw() { strip.paint.DrawTabControl(&strip, &canvas.dc, strip.rcControl); }
  CRect Tab(int i) const { return strip.GetItem(i)->GetRect(); }
  COLORREF Pixel(int x, int y) const { return canvas.Pixel(x, y); }

  TestStrip strip;
  MemoryCanvas canvas{300, 100, RGB(1, 2, 3)};
};

TEST_F(TabStyle, Style2SelectedTabCoversTheBorderWithBlurredCorners) {
  Build(2);
  Paint();
  CRect rc = Tab(1);
  const int mid = rc.CenterPoint().x;
  EXPECT_EQ(Pixel(mid, rc.top), kEdge);
  EXPECT_EQ(Pixel(mid, rc.bottom - 1), kSelected); // the client frame's line is covered
  EXPECT_EQ(Pixel(Tab(2).CenterPoint().x, Tab(2).bottom - 1), kEdge);
  EXPECT_EQ(Pixel(rc.right, rc.top + 5), kEdge); // one pixel wider than laid out
  // The corner pixel is left out and its neighbours blurred into it.
  EXPECT_EQ(Pixel(rc.left, rc.top), kStrip);
  EXPECT_EQ(Pixel(rc.left + 1, rc.top), Average(kEdge, kStrip));
  EXPECT_EQ(Pixel(rc.left, rc.top + 1), Average(kEdge, kStrip));
  EXPECT_EQ(Pixel(rc.right - 1, rc.top), Average(kEdge, kStrip)); // (Rt - 2) of the widened tab
}

TEST_F(TabStyle, Style2WithoutBlurDrawsRoundedCorners) {
  Build(2);
  static_cast<CXTPTabAppearance2 *>(strip.paint.GetAppearanceSet())->blurredCorners = FALSE;
  Paint();
  CRect rc = Tab(1);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.top), kEdge);
  EXPECT_EQ(Pixel(rc.left + 1, rc.top), kStrip); // the arc leaves the corner
  EXPECT_EQ(Pixel(rc.left, rc.top + 5), kEdge);
  // A tab that is not selected gets its line along the client side.
  EXPECT_EQ(Pixel(Tab(2).CenterPoint().x, Tab(2).bottom - 1), kEdge);
}

TEST_F(TabStyle, Style0SelectedTabIsWiderTallerAndJoinsTheClient) {
  Build(0);
  Paint();
  CRect rc = Tab(1);
  EXPECT_EQ(Pixel(rc.left - 2, rc.top + 5), kLight);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.top - 2), kLight);
  EXPECT_EQ(Pixel(rc.right + 1, rc.top + 5), kDark);
  EXPECT_EQ(Pixel(rc.right, rc.top + 5), kShadow);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.bottom - 1), kSelected);
  CRect rc2 = Tab(2);
  EXPECT_EQ(Pixel(rc2.CenterPoint().x, rc2.top), kLight);
  EXPECT_EQ(Pixel(rc2.right - 1, rc2.top + 5), kDark);
  EXPECT_EQ(Pixel(rc2.CenterPoint().x, rc2.top + 5), kFace);
}

TEST_F(TabStyle, Style0BottomStripJoinsAtTheTop) {
  Build(0, 0, xtpTabPositionBottom);
  Paint();
  CRect rc = Tab(1);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.top - 2 + 1), kSelected); // joining line at the grown top + 1
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.bottom + 1), kShadow);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.bottom + 2), kDark); // the grown tab's bottom edge, drawn below it
}

TEST_F(TabStyle, Style1ShowsOnlyTheSelectedAndHotShapes) {
  Build(1);
  Paint();
  EXPECT_EQ(Pixel(Tab(2).CenterPoint().x, Tab(2).top), kStrip);
  EXPECT_EQ(Pixel(Tab(1).left - 2, Tab(1).top + 5), kLight);
  strip.SetHighlightedItem(strip.GetItem(2));
  Draw();
  EXPECT_EQ(Pixel(Tab(2).CenterPoint().x, Tab(2).top), kLight);
}

TEST_F(TabStyle, Style5SeparatorsLeaveTwoPixelsAndTheSelectedTabIsRaised) {
  Build(5);
  Paint();
  CRect rc = Tab(2);
  EXPECT_EQ(Pixel(rc.right, rc.top + 2), kEdge);
  EXPECT_EQ(Pixel(rc.right, rc.bottom - 3), kEdge);
  EXPECT_NE(Pixel(rc.right, rc.top + 1), kEdge);
  EXPECT_NE(Pixel(rc.right, rc.bottom - 2), kEdge);
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  CRect sel = Tab(1);
  EXPECT_EQ(Pixel(sel.left, sel.top + 3), pSet->edgeLight.GetColor());
  EXPECT_EQ(Pixel(sel.right - 1, sel.top + 3), pSet->labelSelected.GetColor());
}

TEST_F(TabStyle, Style4FlatButtons) {
  Build(4);
  Draw();
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  CRect sel = Tab(1);
  EXPECT_EQ(Pixel(sel.left, sel.top), pSet->flatButtonBorder.clrLight_.GetColor());
  EXPECT_EQ(Pixel(sel.right - 1, sel.bottom - 1), pSet->flatButtonBorder.clrDark_.GetColor());
  CRect rc = Tab(2);
  EXPECT_EQ(Pixel(rc.right, rc.top + 2), C(COLOR_BTNSHADOW));
  EXPECT_EQ(Pixel(rc.right + 1, rc.top + 2), C(COLOR_BTNHIGHLIGHT));
}

TEST_F(TabStyle, Style6SquareOutline) {
  Build(6);
  Paint();
  CRect sel = Tab(1);
  EXPECT_EQ(Pixel(sel.left, sel.top), kEdge);
  EXPECT_EQ(Pixel(sel.right, sel.top + 3), kEdge);
  EXPECT_EQ(Pixel(sel.CenterPoint().x, sel.bottom - 1), kSelected);
  EXPECT_EQ(Pixel(Tab(2).CenterPoint().x, Tab(2).top + 3), kFace);
}

TEST_F(TabStyle, Style3BlueSchemeSelectedTabIsOutlinedWithWhiteInside) {
  SchemeScope blue(xtpSystemThemeBlue);
  Build(3);
  Draw();
  CRect sel = Tab(1);
  const int y = sel.top + sel.Height() / 2;
  EXPECT_EQ(Pixel(sel.right, y), 0x9C613Bu);
  EXPECT_EQ(Pixel(sel.right - 1, y), 0xFFFFFFu);
  CRect rc = Tab(2);
  EXPECT_EQ(Pixel(rc.right, rc.top + rc.Height() / 2), 0x9A3500u); // slantOutline of the others
}

TEST_F(TabStyle, Style7DefaultSetInnerSlopesOnlyOnTheSelectedTab) {
  Build(7, xtpTabColorDefault);
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  pSet->tabFace.SetCustomValue(kFace);
  Draw();
  auto shifted = [&](int i) {
    CRect rc = Tab(i);
    rc.bottom -= 1;
    int h = rc.Height() / 2;
    rc.OffsetRect(-h / 2, 0);
    return rc;
  };
  CRect sel = shifted(1);
  EXPECT_EQ(Pixel(sel.CenterPoint().x, sel.top), C(COLOR_BTNTEXT));     // g0
  EXPECT_EQ(Pixel(sel.CenterPoint().x, sel.top + 1), C(COLOR_WINDOW));  // g3
  EXPECT_EQ(Pixel(sel.CenterPoint().x, sel.top + 4), C(COLOR_BTNFACE)); // selected face
  CRect rc = shifted(2);
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.top), C(COLOR_BTNTEXT));
  EXPECT_EQ(Pixel(rc.CenterPoint().x, rc.top + 1), kFace); // no inner line
}

TEST_F(TabStyle, Style8GripLinesEveryOtherRow) {
  Build(8);
  Draw();
  CRect rc = Tab(0);
  ASSERT_FALSE(rc.IsRectEmpty());
  const COLORREF grip = C(XPCOLOR_TOOLBAR_GRIPPER);
  for (int y = rc.top + 4; y < rc.bottom - 3; y += 2) {
    EXPECT_EQ(Pixel(rc.right - 7, y), grip) << y - rc.top;
    EXPECT_NE(Pixel(rc.right - 7, y + 1), grip) << y + 1 - rc.top;
  }
  // The tabs stack down the control, the selected one's page between them.
  EXPECT_EQ(Tab(1).top, Tab(0).bottom);
  EXPECT_EQ(Tab(2).bottom, strip.rcControl.bottom);
  CRect client = strip.GetClientRect();
  EXPECT_EQ(client.top, Tab(1).bottom);
  EXPECT_EQ(client.bottom, Tab(2).top);
}

TEST_F(TabStyle, Style9RoundedTopEdgeInTheOutlineColour) {
  SchemeScope blue(xtpSystemThemeBlue);
  Build(9);
  Draw();
  CRect sel = Tab(1);
  EXPECT_EQ(Pixel(sel.CenterPoint().x, sel.bottom - 1 + 6 - 2 * (sel.Height() / 2) - 5), 0x9C613Bu);
}

TEST_F(TabStyle, EveryStyleDrawsInEveryPositionAndSetWithinTheControl) {
  for (int nAppearance = 0; nAppearance < 10; nAppearance++) {
    for (int nSet : {1, 2, 4, 8, 16}) {
      for (XTPTabPosition position :
           {xtpTabPositionTop, xtpTabPositionLeft, xtpTabPositionBottom, xtpTabPositionRight}) {
        strip.rcControl = CRect(20, 10, 280, 90);
        Build(nAppearance, nSet, position);
        canvas.dc.FillSolidRect(0, 0, 300, 100, RGB(1, 2, 3));
        Draw();
        // Nothing beyond the control (the themed set's tabs grow by a
        // pixel or two); the control painted.
        EXPECT_EQ(Pixel(17, 50), RGB(1, 2, 3)) << nAppearance << " " << nSet << " " << position;
        EXPECT_EQ(Pixel(282, 50), RGB(1, 2, 3)) << nAppearance << " " << nSet << " " << position;
        EXPECT_NE(Pixel(150, 50), RGB(1, 2, 3)) << nAppearance << " " << nSet << " " << position;
      }
    }
  }
}

} // namespace

namespace {

TEST_F(TabStyle, FocusedStripMarksTheSelectedTab) {
  Build(6);
  Paint();
  const CRect sel = Tab(1);
  std::vector<COLORREF> before;
  for (int y = sel.top + 3; y < sel.bottom - 3; y++) before.push_back(Pixel(sel.left + 3, y));
  auto changed = [&]() {
    int n = 0;
    for (int y = sel.top + 3; y < sel.bottom - 3; y++) n += Pixel(sel.left + 3, y) != before[y - sel.top - 3];
    return n;
  };
  strip.focused = TRUE;
  Paint();
  // The dotted focus rectangle, three pixels in from the tab's edges.
  EXPECT_GE(changed(), 3);
  strip.paint.m_bShowFocusRect = FALSE;
  Paint();
  EXPECT_EQ(changed(), 0);
}

TEST_F(TabStyle, WorkspaceFramePartsFollowTheSwitch) {
  Build(0);
  CXTPTabAppearance *pAppearance = strip.paint.GetAppearanceSet();
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  pSet->stripFace.SetCustomValue(kStrip, kStrip);
  pSet->edgeDark.SetCustomValue(kEdge);
  pSet->edgeFace.SetCustomValue(kFace);
  CRect rc(10, 10, 50, 40);
  pAppearance->DrawWorkspaceFramePart(&canvas.dc, &rc, 1);
  EXPECT_EQ(rc, CRect(8, 8, 52, 42));
  rc = CRect(10, 10, 50, 40);
  pAppearance->DrawWorkspaceFramePart(&canvas.dc, &rc, 2);
  EXPECT_EQ(Pixel(20, 20), kStrip);
  strip.paint.m_bStaticFrame = TRUE;
  pAppearance->DrawWorkspaceFramePart(&canvas.dc, &rc, 0);
  EXPECT_EQ(Pixel(10, 20), kEdge);
  EXPECT_EQ(Pixel(11, 20), C(COLOR_BTNFACE));
  pAppearance->DrawWorkspaceFramePart(&canvas.dc, &rc, 1);
  EXPECT_EQ(rc.top, 9);
  rc = CRect(60, 10, 90, 40);
  pAppearance->DrawWorkspaceFramePart(&canvas.dc, &rc, 3);
  EXPECT_EQ(Pixel(70, 20), kFace);
  EXPECT_EQ(Pixel(70, 39), kEdge);
}

} // namespace

namespace {

// Turned captions: the text of a tab on a left or right strip runs down the
// tab, inside its column.
TEST_F(TabStyle, TurnedCaptionsStayInsideTheirTabs) {
  for (XTPTabPosition position : {xtpTabPositionLeft, xtpTabPositionRight}) {
    Build(6, 0, position);
    CXTPTabColorSet *pSet = strip.paint.GetColorSet();
    pSet->labelSelected.SetCustomValue(RGB(255, 0, 0));
    canvas.dc.FillSolidRect(0, 0, 300, 100, RGB(1, 2, 3));
    Paint();
    CRect sel = Tab(1);
    ASSERT_GT(sel.Height(), sel.Width()) << position; // laid out down the strip
    int nInside = 0, nOutside = 0;
    for (int y = 0; y < 100; y++)
      for (int x = 0; x < 300; x++)
        if (Pixel(x, y) == RGB(255, 0, 0)) (sel.PtInRect(CPoint(x, y)) ? nInside : nOutside)++;
    EXPECT_GT(nInside, 20) << position;
    EXPECT_EQ(nOutside, 0) << position;
  }
}

} // namespace
