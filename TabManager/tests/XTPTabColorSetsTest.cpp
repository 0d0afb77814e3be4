// The tab colour sets: their colours under each scheme and switch, the text
// colour of a tab, gradients turned with the strip, the halftone fill (and
// that it frees what it makes), item colours, navigate buttons, and the
// visual-style set through a fake visual style.
#include <gtest/gtest.h>

#include "TabTestStrip.h"
#include "../../Common/tests/MemoryCanvas.h"
#include "../../Common/tests/SchemeScope.h"
#include "../../Common/tests/FakeVisualStyles.h"
#include "XTPColorManager.h"

namespace {

COLORREF C(int nIndex) {
  return XTPGetColor(nIndex);
}

TEST(TabColorSet4, SchemesAndTheirSwitches) {
  SchemeScope olive(xtpSystemThemeOlive);
  CXTPTabPaintManager paint;
  paint.SetColor(xtpTabColorOffice2003);
  auto *pSet = dynamic_cast<CXTPTabColorSet4 *>(paint.GetColorSet());
  ASSERT_NE(pSet, nullptr);
  EXPECT_TRUE(pSet->themeColorsInUse);
  EXPECT_EQ(pSet->stripFace.clrLight_.GetColor(), 0xE4F1F2u);
  EXPECT_EQ(pSet->stripFace.clrDark_.GetColor(), 0xFEFEFCu);
  EXPECT_EQ(pSet->tabFaceSelected.GetColor(), 0x73C2FFu);
  EXPECT_EQ(pSet->tabFace.GetColor(), 0xAADED0u);
  EXPECT_EQ(pSet->edgeDark.GetColor(), 0x588060u);
  EXPECT_EQ(pSet->navigateButtonBorder.GetColor(), 0x385D3Fu);
  EXPECT_EQ(pSet->slopeSelected[0].GetColor(), 0x588060u);
  EXPECT_EQ(pSet->slopeNormal[3].GetColor(), 0xFFFFFFFFu);

  paint.m_bDisableLunaColors = TRUE;
  paint.SetColor(xtpTabColorOffice2003);
  pSet = dynamic_cast<CXTPTabColorSet4 *>(paint.GetColorSet());
  EXPECT_FALSE(pSet->themeColorsInUse);
  EXPECT_EQ(pSet->stripFace.clrLight_.GetColor(), C(COLOR_BTNFACE));
  EXPECT_EQ(pSet->stripFace.clrDark_.GetColor(),
            CXTPColorManager::BlendColors(C(COLOR_BTNFACE), C(COLOR_WINDOW), 205));
  EXPECT_EQ(pSet->tabFaceSelected.GetColor(), C(COLOR_BTNFACE));
}

TEST(TabColorSet4, NoSchemeMeansTheCheckedHighlight) {
  SchemeScope none(xtpSystemThemeUnknown);
  CXTPTabPaintManager paint;
  paint.SetColor(xtpTabColorOffice2003);
  EXPECT_EQ(paint.GetColorSet()->tabFaceSelected.GetColor(), C(XPCOLOR_HIGHLIGHT_CHECKED));
  paint.SetAppearance(xtpTabAppearanceFlat);
  paint.SetColor(xtpTabColorOffice2003);
  EXPECT_EQ(paint.GetColorSet()->stripFace.clrDark_.GetColor(), C(COLOR_BTNFACE)); // flat: plain strip
}

TEST(TabColorSet4, BlueSchemeSlantedSelectedTabIsWhiteInside) {
  SchemeScope blue(xtpSystemThemeBlue);
  CXTPTabPaintManager paint;
  paint.SetAppearance(xtpTabAppearanceStateButtons);
  CXTPTabColorSet *pSet = paint.GetColorSet();
  EXPECT_EQ(pSet->slantBorder.GetColor(), 0x9C613Bu);
  EXPECT_EQ(pSet->slantOutline.GetColor(), 0x9A3500u);
  EXPECT_EQ(pSet->slantHighlight.GetColor(), 0xFFFFFFu);
}

TEST(TabColorSet2, StripFromTheInactiveTabColourExceptForFlatAndSloped) {
  CXTPTabPaintManager paint;
  const struct {
    int appearance;
    COLORREF strip;
  } kCases[] = {{6, C(XPCOLOR_TAB_INACTIVE_BACK)},
                {5, C(XPCOLOR_TAB_INACTIVE_BACK)},
                {4, C(COLOR_BTNFACE)},
                {7, C(COLOR_BTNFACE)}};
  for (const auto &c : kCases) {
    paint.SetAppearance(c.appearance);
    paint.SetColor(xtpTabColorVisualStudio);
    EXPECT_EQ(paint.GetColorSet()->stripFace.clrLight_.GetColor(), c.strip) << c.appearance;
  }
  paint.SetAppearance(5);
  EXPECT_EQ(paint.GetColorSet()->labelColor.GetColor(), C(XPCOLOR_TAB_INACTIVE_TEXT));
}

TEST(TabColorSet16, WhiteSelectedTabWithoutSchemes) {
  CXTPTabPaintManager paint;
  paint.m_bDisableLunaColors = TRUE;
  paint.SetColor(xtpTabColorWhidbey);
  auto *pSet = dynamic_cast<CXTPTabColorSet16 *>(paint.GetColorSet());
  ASSERT_NE(pSet, nullptr);
  EXPECT_EQ(pSet->tabFaceSelected.GetColor(), 0xFFFFFFu);
  EXPECT_EQ(pSet->edgeDark.GetColor(), C(XPCOLOR_LABEL));
}

TEST(TabColorSetDefault, SlopesAndTheSlopedStyle) {
  CXTPTabPaintManager paint;
  CXTPTabColorSet *pSet = paint.GetColorSet();
  EXPECT_EQ(pSet->slopeSelected[3].GetColor(), C(COLOR_WINDOW));
  EXPECT_EQ(pSet->slopeSelected[4].GetColor(), C(COLOR_BTNSHADOW));
  EXPECT_EQ(pSet->slopeNormal[3].GetColor(), 0xFFFFFFFFu);
  paint.SetAppearance(xtpTabAppearanceVisualStudio);
  paint.SetColor(xtpTabColorDefault);
  pSet = paint.GetColorSet();
  EXPECT_EQ(pSet->tabFace.GetColor(), C(COLOR_WINDOW));
  EXPECT_EQ(pSet->tabFaceSelected.GetColor(), C(COLOR_BTNFACE));
  EXPECT_EQ(pSet->edgeDark.GetColor(), C(COLOR_BTNTEXT));
}

TEST(TabColorSet, CustomValuesSurviveRefresh) {
  CXTPTabPaintManager paint;
  paint.GetColorSet()->tabFace.SetCustomValue(RGB(9, 9, 9));
  paint.GetColorSet()->RefreshMetrics();
  EXPECT_EQ(paint.GetColorSet()->tabFace.GetColor(), RGB(9, 9, 9));
}

TEST(TabColorSet, TextColourFirstMatchWins) {
  TestStrip strip;
  strip.paint.SetColor(xtpTabColorDefault);
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  pSet->labelDisabled.SetCustomValue(RGB(1, 0, 0));
  pSet->labelInactive.SetCustomValue(RGB(2, 0, 0));
  pSet->labelSelected.SetCustomValue(RGB(3, 0, 0));
  pSet->labelHot.SetCustomValue(RGB(4, 0, 0));
  pSet->labelColor.SetCustomValue(RGB(5, 0, 0));
  CXTPTabManagerItem *a = strip.AddItem(-1), *b = strip.AddItem(-1), *c = strip.AddItem(-1);
  strip.SetCurSel(0);
  strip.SetHighlightedItem(b);
  MemoryCanvas canvas(4, 4);
  auto text = [&](CXTPTabManagerItem *p) {
    pSet->ApplyTextColor(&canvas.dc, p);
    return canvas.dc.GetTextColor();
  };
  EXPECT_EQ(text(a), RGB(3, 0, 0));
  EXPECT_EQ(text(b), RGB(4, 0, 0));
  EXPECT_EQ(text(c), RGB(5, 0, 0));
  strip.SetActive(FALSE);
  EXPECT_EQ(text(a), RGB(2, 0, 0));
  c->SetEnabled(FALSE);
  EXPECT_EQ(text(c), RGB(1, 0, 0));
}

TEST(TabColorSet, TabFacesFromTheSetOrFromEachItem) {
  TestStrip strip;
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  pSet->tabFace.SetCustomValue(RGB(10, 20, 30));
  pSet->tabFaceSelected.SetCustomValue(RGB(40, 50, 60));
  for (int i = 0; i < 9; i++) strip.AddItem(-1);
  strip.SetCurSel(0);
  MemoryCanvas canvas(20, 20);
  EXPECT_EQ(pSet->PaintTabFace(&canvas.dc, CRect(0, 0, 10, 10), strip.GetItem(0)), RGB(40, 50, 60));
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(40, 50, 60));
  EXPECT_EQ(pSet->PaintTabFace(&canvas.dc, CRect(0, 0, 10, 10), strip.GetItem(3)), RGB(10, 20, 30));
  strip.paint.m_bOneNoteColors = TRUE;
  EXPECT_EQ(pSet->PaintTabFace(&canvas.dc, CRect(0, 0, 10, 10), strip.GetItem(8)), 0xE4A88Au); // as the first
  EXPECT_EQ(canvas.Pixel(5, 5), 0xE4A88Au);
  // The client takes the selected tab's face, or the selected face with none.
  EXPECT_EQ(pSet->PaintClient(&canvas.dc, CRect(0, 0, 10, 10), &strip), 0xE4A88Au);
  strip.paint.m_bOneNoteColors = FALSE;
  strip.SetCurSel(-1);
  strip.DeleteAllItems();
  EXPECT_EQ(pSet->PaintClient(&canvas.dc, CRect(0, 0, 10, 10), &strip), RGB(40, 50, 60));
}

TEST(TabColorSet, StripGradientTurnsWithThePositionAndTheSwitch) {
  TestStrip strip;
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  pSet->stripFace.SetCustomValue(RGB(0, 0, 0), RGB(255, 255, 255));
  MemoryCanvas canvas(40, 40);
  const struct {
    XTPTabPosition position;
    BOOL invert;
    CPoint dark, light;
  } kCases[] = {
      {xtpTabPositionTop, FALSE, {20, 0}, {20, 39}},  {xtpTabPositionBottom, FALSE, {20, 39}, {20, 0}},
      {xtpTabPositionLeft, FALSE, {0, 20}, {39, 20}}, {xtpTabPositionRight, FALSE, {39, 20}, {0, 20}},
      {xtpTabPositionTop, TRUE, {20, 39}, {20, 0}},   {xtpTabPositionBottom, TRUE, {20, 0}, {20, 39}},
  };
  for (const auto &c : kCases) {
    strip.paint.SetPosition(c.position);
    strip.paint.m_bInvertGradient = c.invert;
    pSet->PaintStrip(&canvas.dc, CRect(0, 0, 40, 40), &strip);
    EXPECT_LT(GetRValue(canvas.Pixel(c.dark.x, c.dark.y)), 16) << c.position << c.invert;
    EXPECT_GT(GetRValue(canvas.Pixel(c.light.x, c.light.y)), 239) << c.position << c.invert;
  }
}

TEST(TabColorSetDefault, SelectedFlatTabIsAHalftoneWithASunkenFrame) {
  TestStrip strip;
  strip.AddItem(-1);
  strip.AddItem(-1);
  strip.SetCurSel(0);
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  MemoryCanvas canvas(40, 30, RGB(1, 2, 3));
  pSet->FillFlatButton(&canvas.dc, CRect(0, 0, 20, 20), strip.GetItem(0));
  EXPECT_EQ(canvas.Pixel(0, 0), C(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(19, 19), C(COLOR_BTNHIGHLIGHT));
  COLORREF a = canvas.Pixel(5, 5), b = canvas.Pixel(6, 5);
  EXPECT_NE(a, b);
  EXPECT_TRUE((a == C(COLOR_BTNFACE) && b == C(COLOR_BTNHIGHLIGHT)) ||
              (a == C(COLOR_BTNHIGHLIGHT) && b == C(COLOR_BTNFACE)));
  EXPECT_EQ(canvas.Pixel(5, 6), b);
  // The other tab: only an etched separator at its right edge.
  pSet->FillFlatButton(&canvas.dc, CRect(0, 0, 20, 20), strip.GetItem(1));
  EXPECT_EQ(canvas.Pixel(20, 2), C(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(21, 2), C(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(20, 1), RGB(1, 2, 3));
}

TEST(TabColorSetDefault, HalftoneFillsFreeWhatTheyMake) {
  // Each fill once made a pattern bitmap and brush and kept them: enough
  // fills exhausted the process's drawing objects.
  TestStrip strip;
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  MemoryCanvas canvas(8, 8);
  DWORD dwBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 40000; i++)
    pSet->GradientFillRect(&canvas.dc, CRect(0, 0, 8, 8), CXTPTabColorSet::kHalftone, 0, 0);
  DWORD dwAfter = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (dwBefore) {
    EXPECT_LE(dwAfter, dwBefore + 4);
  }
  canvas.dc.FillSolidRect(0, 0, 8, 8, RGB(1, 2, 3));
  pSet->GradientFillRect(&canvas.dc, CRect(0, 0, 8, 8), CXTPTabColorSet::kHalftone, 0, 0);
  EXPECT_NE(canvas.Pixel(3, 3), RGB(1, 2, 3));
  EXPECT_NE(canvas.Pixel(3, 3), canvas.Pixel(4, 3));
  HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 1, 1));
  EXPECT_NE(hBrush, nullptr);
  ::DeleteObject(hBrush);
}

TEST(TabColorSetNavigate, ButtonFacesByState) {
  TestStrip strip;
  for (int i = 0; i < 8; i++) strip.AddItem(-1)->SetCaption(L"A long caption to scroll");
  CXTPTabManagerNavigateButton *pLeft = strip.FindNavigateButton(xtpTabNavigateButtonLeft);
  CXTPTabManagerNavigateButton *pRight = strip.FindNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_FALSE(pRight->GetRect().IsRectEmpty());
  MemoryCanvas canvas(40, 40, RGB(1, 2, 3));
  CRect rc(2, 2, 16, 17);
  // Default set: an enabled button that is not hot or pressed has no edges.
  strip.paint.DrawNavigateButton(&canvas.dc, pRight, rc);
  EXPECT_EQ(canvas.Pixel(2, 2), RGB(1, 2, 3));
  EXPECT_EQ(canvas.dc.GetTextColor(), C(COLOR_BTNTEXT));
  // A disabled button draws no face either (its glyph is hollow).
  EXPECT_FALSE(pLeft->IsEnabled());
  strip.paint.DrawNavigateButton(&canvas.dc, pLeft, rc);
  EXPECT_EQ(canvas.Pixel(2, 2), RGB(1, 2, 3));
  pLeft->Draw(&canvas.dc); // draws at its own rectangle, outside this canvas: no crash
  // Set 4 without schemes: the hot fill and its frame.
  SchemeScope none(xtpSystemThemeUnknown);
  strip.paint.SetColor(xtpTabColorOffice2003);
  strip.paint.m_bHotTracking = TRUE;
  strip.PerformMouseMove(nullptr, pRight->GetRect().CenterPoint());
  ASSERT_TRUE(pRight->IsHighlighted());
  rc = CRect(2, 2, 16, 17);
  strip.paint.DrawNavigateButton(&canvas.dc, pRight, rc);
  EXPECT_EQ(canvas.Pixel(2, 2), C(XPCOLOR_HIGHLIGHT_BORDER));
  EXPECT_EQ(canvas.Pixel(8, 8), C(XPCOLOR_HIGHLIGHT));
  EXPECT_EQ(canvas.dc.GetTextColor(), C(XPCOLOR_HIGHLIGHT_TEXT));
}

TEST(TabColorSet8, ThemedTabsThroughTheVisualStyle) {
  FakeVisualStyles fake;
  fake.themed = FALSE;
  TestStrip strip;
  strip.paint.SetColor(xtpTabColorWinXP);
  CXTPTabColorSet *pSet = strip.paint.GetColorSet();
  EXPECT_FALSE(pSet->UsesVisualStyle()); // not themed: the default set's drawing
  EXPECT_NE(pSet->bevelLight.GetColor(), 0xFFFFFFFFu);

  fake.themed = TRUE;
  strip.paint.SetColor(xtpTabColorWinXP);
  pSet = strip.paint.GetColorSet();
  EXPECT_TRUE(pSet->UsesVisualStyle());
  EXPECT_EQ(pSet->bevelLight.GetColor(), 0xFFFFFFFFu);
  EXPECT_EQ(pSet->labelHot.GetColor(), pSet->labelColor.GetColor());
  for (int i = 0; i < 3; i++) strip.AddItem(-1);
  strip.SetCurSel(1);
  strip.SetHighlightedItem(strip.GetItem(2));
  MemoryCanvas canvas(60, 60);
  fake.calls.clear();
  for (XTPTabPosition position : {xtpTabPositionTop, xtpTabPositionLeft}) {
    strip.paint.SetPosition(position);
    for (int i = 0; i < 3; i++)
      EXPECT_EQ(pSet->PaintTabFace(&canvas.dc, CRect(10, 10, 40, 30), strip.GetItem(i)), 0xFFFFFFFFu);
  }
  std::vector<int> states;
  for (const auto &call : fake.calls)
    if (call.what == L"DrawThemeBackground" && call.klass == L"TAB" && call.part == 1)
      states.push_back(call.state);
  EXPECT_EQ(states, (std::vector<int>{1, 3, 5, 1, 3, 5}));
  fake.calls.clear();
  pSet->PaintClient(&canvas.dc, CRect(0, 0, 50, 50), &strip);
  ASSERT_FALSE(fake.calls.empty());
  EXPECT_EQ(fake.calls.back().part, 9);
}

} // namespace
