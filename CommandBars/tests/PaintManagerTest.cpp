// Paint manager: the theme factory and the global instance, fonts chosen from
// injected system values, colours, accelerator text and the primitives by
// pixel probes, and the order of the toolkit's shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "../../Common/tests/MemoryCanvas.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPOfficeTheme.h"
#include "XTPPaintManager.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

std::wstring FaceOf(const CFont &font) {
  LOGFONTW lf = {};
  font.GetLogFont(&lf);
  return lf.lfFaceName;
}

LONG HeightOf(const CFont &font) {
  LOGFONTW lf = {};
  font.GetLogFont(&lf);
  return lf.lfHeight;
}

TEST(PaintManagerThemes, FactoryMakesEachThemeAndUnknownIdsDrawClassic) {
  const struct {
    int nTheme;
    int nDrawn;
  } kCases[] = {{0, xtpThemeOffice},      {1, xtpThemeDefault},           {2, xtpThemeOffice2003},
                {3, xtpThemeNativeWinXP}, {4, xtpThemeOffice2003Variant}, {7, xtpThemeDefault},
                {-1, xtpThemeDefault}};
  for (const auto &c : kCases) {
    const int nTheme = c.nTheme;
    CXTPPaintManager *pTheme = CXTPPaintManager::CreateTheme(nTheme);
    EXPECT_EQ(pTheme->GetThemeId(), c.nDrawn) << nTheme;
    EXPECT_EQ(pTheme->GetStoredThemeId(), nTheme);
    pTheme->InternalRelease();

    CXTPPaintManager::SetTheme(nTheme);
    ASSERT_NE(XTPGetPaintManager(), nullptr);
    EXPECT_EQ(XTPGetPaintManager()->GetStoredThemeId(), nTheme);
  }
}

// A bar that draws through the global paint manager takes a new theme at its
// next paint: switching the theme needs no more than a redraw.
TEST(PaintManagerThemes, BarsOnTheGlobalPaintManagerFollowASwitchAtOnce) {
  CXTPPaintManager::SetTheme(xtpThemeDefault);
  auto *pBar = new CXTPToolBar;
  const UINT ids[] = {1, 2};
  pBar->SetButtons(ids, 2);
  CSize sz = pBar->CalcDockedLayout(200, LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
  ASSERT_TRUE(pBar->CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(CPoint(0, 0), sz), nullptr, 0));
  auto print = [&](int x, int y) {
    MemoryCanvas canvas(sz.cx, sz.cy, kCanvas);
    pBar->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_CLIENT);
    return canvas.Pixel(x, y);
  };
  CXTPPaintManager *pClassic = XTPGetPaintManager();
  EXPECT_EQ(print(0, 0), pClassic->GetColor(COLOR_BTNHIGHLIGHT)); // the raised classic border
  CXTPPaintManager::SetTheme(xtpThemeOffice);
  EXPECT_EQ(print(0, 0), XTPGetPaintManager()->GetColor(COLOR_BTNFACE));
  EXPECT_EQ(print(sz.cx / 2, 1), XTPGetPaintManager()->GetColor(XPCOLOR_TOOLBAR_FACE));
  CXTPPaintManager::SetTheme(xtpThemeDefault);
  EXPECT_EQ(print(0, 0), XTPGetPaintManager()->GetColor(COLOR_BTNHIGHLIGHT));
  pBar->DestroyWindow();
  pBar->InternalRelease();
}

TEST(PaintManagerThemes, InstalledObjectTakesNumberFiveAndTheCuesOfItsPredecessor) {
  CXTPPaintManager::SetTheme(xtpThemeDefault);
  XTPGetPaintManager()->SetKeyboardCuesShown(FALSE);
  CXTPPaintManager *pOwn = new CXTPDefaultTheme;
  EXPECT_TRUE(pOwn->IsKeyboardCuesShown());
  CXTPPaintManager::SetGlobalPaintManager(pOwn);
  EXPECT_EQ(XTPGetPaintManager(), pOwn);
  EXPECT_EQ(pOwn->GetStoredThemeId(), xtpThemeCustom);
  EXPECT_FALSE(pOwn->IsKeyboardCuesShown());

  // Without a global before it, cues are shown.
  CXTPPaintManager::ReleaseGlobal();
  EXPECT_EQ(XTPGetPaintManager(), nullptr);
  CXTPPaintManager *pNext = new CXTPDefaultTheme;
  pNext->SetKeyboardCuesShown(FALSE);
  CXTPPaintManager::SetGlobalPaintManager(pNext);
  EXPECT_TRUE(pNext->IsKeyboardCuesShown());
}

TEST(PaintManagerThemes, DefaultThemeIconOptionsAndAnimation) {
  CXTPDefaultTheme theme;
  XTP_COMMANDBARS_ICONSINFO *pInfo = theme.GetIconsInfo();
  EXPECT_FALSE(pInfo->bUseFadedIcons);
  EXPECT_FALSE(pInfo->bUseDisabledIcons);
  EXPECT_FALSE(pInfo->bIconsWithShadow);
  // The block is the three BOOLs in order, written through by callers.
  reinterpret_cast<BOOL *>(pInfo)[1] = TRUE;
  EXPECT_TRUE(theme.GetIconsInfo()->bUseDisabledIcons);
  EXPECT_EQ(theme.GetAnimationSteps(), 10);
  EXPECT_EQ(theme.GetAnimationTime(), 100);
  EXPECT_EQ(theme.m_nPopupBarText, COLOR_BTNTEXT);
  EXPECT_EQ(theme.m_nSystemTheme, xtpSystemThemeDefault);
}

TEST(PaintManagerColors, IndexesLiteralsCustomAndStandard) {
  CXTPDefaultTheme theme;
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNFACE), XTPGetColorManager()->GetColor(COLOR_BTNFACE));
  // Above 57 the value is a colour of its own.
  EXPECT_EQ(theme.GetPaintColor(58), 58u);
  EXPECT_EQ(theme.GetPaintColor(0x123456), 0x123456u);

  theme.GetColorPair(COLOR_BTNFACE).SetCustomValue(0x010203);
  const int nIndex = COLOR_BTNSHADOW;
  const COLORREF clr = 0x0A0B0C;
  theme.SetColors(1, &nIndex, &clr);
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNSHADOW), clr);
  theme.RefreshMetrics();
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNFACE), 0x010203u) << "a custom colour survives the refresh";
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNSHADOW), XTPGetColorManager()->GetColor(COLOR_BTNSHADOW));
  EXPECT_EQ(theme.m_clrStatusTextColor, theme.GetPaintColor(COLOR_BTNTEXT));
  EXPECT_EQ(theme.m_nStatusBarValue, 0u);
}

TEST(PaintManagerColors, SystemThemeSelector) {
  CXTPDefaultTheme theme;
  CXTPColorManager *pColors = XTPGetColorManager();
  theme.SetSystemTheme(xtpSystemThemeDefault);
  pColors->DisableSystemThemeColors(TRUE);
  EXPECT_EQ(theme.GetCurrentSystemTheme(), xtpSystemThemeUnknown);
  pColors->DisableSystemThemeColors(FALSE);
  EXPECT_EQ(theme.GetCurrentSystemTheme(), pColors->GetCurrentSystemTheme());
  theme.SetSystemTheme(xtpSystemThemeOlive);
  EXPECT_EQ(theme.GetCurrentSystemTheme(), xtpSystemThemeOlive);
}

// System values the font choice reads, injected.
LONG g_lMenuFontHeight = -12;
const wchar_t *g_lpszMenuFace = L"Arial";
BOOL g_bTahomaInstalled = TRUE;

void FakeMetrics(NONCLIENTMETRICSW *pMetrics) {
  NONCLIENTMETRICSW real = {};
  real.cbSize = pMetrics->cbSize;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, real.cbSize, &real, 0);
  *pMetrics = real;
  pMetrics->lfMenuFont.lfHeight = g_lMenuFontHeight;
  lstrcpyW(pMetrics->lfMenuFont.lfFaceName, g_lpszMenuFace);
}

BOOL FakeFontExists(LPCTSTR lpszFace) {
  if (lstrcmpiW(lpszFace, L"Tahoma") == 0) return g_bTahomaInstalled;
  return lstrcmpiW(lpszFace, L"Arial") == 0;
}

class PaintManagerFonts : public ::testing::Test {
protected:
  void SetUp() override {
    CXTPPaintManager::SetNonClientMetricsFunction(&FakeMetrics);
    CXTPPaintManager::SetFontExistsFunction(&FakeFontExists);
  }
  void TearDown() override {
    CXTPPaintManager::SetNonClientMetricsFunction(nullptr);
    CXTPPaintManager::SetFontExistsFunction(nullptr);
    g_lMenuFontHeight = -12;
    g_lpszMenuFace = L"Arial";
    g_bTahomaInstalled = TRUE;
  }
};

TEST_F(PaintManagerFonts, SmallMenuFontsGrowToElevenPixels) {
  const struct {
    LONG lMenu, lExpected;
  } kCases[] = {{-8, -11}, {-1, -11}, {-10, -11}, {-11, -11}, {-13, -13}, {13, 13}, {8, 8}};
  for (const auto &c : kCases) {
    g_lMenuFontHeight = c.lMenu;
    CXTPDefaultTheme theme;
    EXPECT_EQ(HeightOf(theme.m_fontRegular), c.lExpected) << c.lMenu;
    EXPECT_EQ(HeightOf(theme.m_fontRegularBold), c.lExpected);
  }
}

TEST_F(PaintManagerFonts, ControlHeightIsTheBlankPlusSix) {
  CXTPDefaultTheme theme;
  HDC hDC = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, static_cast<HFONT>(theme.m_fontRegular));
  SIZE size = {};
  ::GetTextExtentPoint32W(hDC, L" ", 1, &size);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  EXPECT_EQ(theme.GetControlHeight(), size.cy + 6);
}

TEST_F(PaintManagerFonts, GlyphAndIconFonts) {
  CXTPDefaultTheme theme;
  LOGFONTW lfIcon = {};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0);
  EXPECT_EQ(FaceOf(theme.m_fontMarlettIcon), L"Marlett");
  EXPECT_EQ(HeightOf(theme.m_fontMarlettIcon), lfIcon.lfHeight);
  LOGFONTW lf = {};
  theme.m_fontIconBold.GetLogFont(&lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  theme.m_fontVert.GetLogFont(&lf);
  EXPECT_EQ(lf.lfEscapement, 2700);
  EXPECT_EQ(lf.lfOrientation, 900);
  theme.m_fontRegularBold.GetLogFont(&lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST_F(PaintManagerFonts, VerticalBarsTakeTheVerticalFonts) {
  CXTPDefaultTheme theme;
  TestBar left(xtpBarTypeNormal, xtpBarLeft), top(xtpBarTypeNormal, xtpBarTop);
  EXPECT_EQ(theme.GetCommandBarFont(&left, FALSE), &theme.m_fontVert);
  EXPECT_EQ(theme.GetCommandBarFont(&left, TRUE), &theme.m_fontVertBold);
  EXPECT_EQ(theme.GetCommandBarFont(&top, TRUE), &theme.m_fontRegularBold);
  EXPECT_EQ(theme.GetCommandBarFont(nullptr, FALSE), &theme.m_fontRegular);
}

// The face becomes Tahoma only for a western font that follows the system,
// once Tahoma was asked for, and when Tahoma is there.
TEST_F(PaintManagerFonts, TahomaIsKeptForWesternStandardFonts) {
  const struct {
    const wchar_t *lpszFirst; // a font given before, or null
    const wchar_t *lpszFace;
    BYTE charset;
    BOOL bUseStandard, bInstalled;
    const wchar_t *lpszExpected;
  } kCases[] = {
      {L"Tahoma", L"Arial", ANSI_CHARSET, TRUE, TRUE, L"Tahoma"},
      {L"Tahoma", L"Arial", SYMBOL_CHARSET, TRUE, TRUE, L"Tahoma"},
      {L"Tahoma", L"Arial", SHIFTJIS_CHARSET, TRUE, TRUE, L"Arial"},
      {L"Tahoma", L"Arial", ANSI_CHARSET, FALSE, TRUE, L"Arial"},
      {L"Tahoma", L"Arial", ANSI_CHARSET, TRUE, FALSE, L"Arial"},
      {nullptr, L"Arial", ANSI_CHARSET, TRUE, TRUE, L"Arial"},
  };
  for (const auto &c : kCases) {
    g_bTahomaInstalled = c.bInstalled;
    CXTPDefaultTheme theme;
    LOGFONTW lf = {};
    lf.lfHeight = -11;
    if (c.lpszFirst) {
      lstrcpyW(lf.lfFaceName, c.lpszFirst);
      theme.SetCommandBarsFontIndirect(&lf, FALSE);
      EXPECT_TRUE(theme.IsPreferTahoma());
    }
    lstrcpyW(lf.lfFaceName, c.lpszFace);
    lf.lfCharSet = c.charset;
    theme.SetCommandBarsFontIndirect(&lf, c.bUseStandard);
    EXPECT_EQ(FaceOf(theme.m_fontRegular), c.lpszExpected)
        << c.lpszFace << " charset " << int(c.charset) << " standard " << c.bUseStandard;
    EXPECT_EQ(theme.IsStandardFont(), c.bUseStandard);
  }
}

TEST_F(PaintManagerFonts, NullFontOnlyStoresTheFlag) {
  CXTPDefaultTheme theme;
  HFONT hBefore = theme.m_fontRegular;
  theme.SetCommandBarsFontIndirect(nullptr, FALSE);
  EXPECT_FALSE(theme.IsStandardFont());
  EXPECT_EQ(static_cast<HFONT>(theme.m_fontRegular), hBefore);
}

TEST(PaintManagerText, StripAccelerators) {
  const struct {
    const wchar_t *in, *out;
  } kCases[] = {{L"&File", L"File"}, {L"A&&B", L"A&B"}, {L"&&&x", L"&x"}, {L"End&", L"End"}, {L"", L""}};
  for (const auto &c : kCases)
    EXPECT_STREQ(static_cast<LPCWSTR>(CXTPPaintManager::StripAccelerators(c.in)), c.out) << c.in;
}

// The pixels of a text drawn in black on white, as a string of 0 and 1.
std::string Render(CXTPPaintManager &theme, const wchar_t *lpszText, BOOL bCues) {
  MemoryCanvas canvas(80, 30, 0xFFFFFF);
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  canvas.dc.SetTextColor(0);
  canvas.dc.SetBkMode(TRANSPARENT);
  theme.SetKeyboardCuesShown(bCues);
  theme.DrawTextWithAccelerator(&canvas.dc, lpszText, CRect(2, 0, 78, 30), TRUE, FALSE, FALSE, FALSE);
  std::string bits;
  for (int y = 0; y < 30; y++)
    for (int x = 0; x < 80; x++) bits += canvas.Pixel(x, y) == 0xFFFFFF ? '0' : '1';
  return bits;
}

TEST(PaintManagerText, HiddenCuesDrawNeitherAmpersandNorUnderline) {
  CXTPDefaultTheme theme;
  const std::string plain = Render(theme, L"Wx", FALSE);
  EXPECT_EQ(Render(theme, L"&Wx", FALSE), plain);
  EXPECT_NE(Render(theme, L"&Wx", TRUE), plain) << "shown cues underline the mnemonic";
  // A doubled ampersand is one ampersand either way.
  EXPECT_EQ(Render(theme, L"A&&B", TRUE), Render(theme, L"A&&B", FALSE));
}

// Embossed text: the text in its colour over its highlight, one pixel down
// and right; the highlight shows only where the text does not cover it, and
// the text colour is the caller's again afterwards.
void ExpectEmbossedOver(const std::function<void(CDC *, BOOL)> &draw, CXTPPaintManager &theme) {
  const COLORREF kGround = RGB(128, 128, 128), kHighlight = theme.GetPaintColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(kHighlight, kGround);
  MemoryCanvas plain(80, 30, kGround), embossed(80, 30, kGround);
  for (MemoryCanvas *pCanvas : {&plain, &embossed}) {
    CXTPFontDC font(&pCanvas->dc, &theme.m_fontRegular);
    pCanvas->dc.SetTextColor(0);
    pCanvas->dc.SetBkMode(TRANSPARENT);
    draw(&pCanvas->dc, pCanvas == &embossed);
    EXPECT_EQ(pCanvas->dc.GetTextColor(), 0u);
  }
  int nHighlight = 0;
  for (int y = 0; y < 30; y++)
    for (int x = 0; x < 80; x++) {
      const bool bText = plain.Pixel(x, y) == 0;
      const bool bShifted = x > 0 && y > 0 && plain.Pixel(x - 1, y - 1) == 0;
      const COLORREF expected = bText ? 0 : bShifted ? kHighlight : kGround;
      ASSERT_EQ(embossed.Pixel(x, y), expected) << x << "," << y;
      nHighlight += expected == kHighlight;
    }
  EXPECT_GT(nHighlight, 0);
}

TEST(PaintManagerText, EmbossedTextHasItsHighlightDownAndRight) {
  CXTPDefaultTheme theme;
  theme.SetKeyboardCuesShown(FALSE);
  ExpectEmbossedOver(
      [&](CDC *pDC, BOOL bEmbossed) {
        theme.DrawTextWithAccelerator(pDC, L"&Wx", CRect(2, 0, 78, 30), TRUE, FALSE, FALSE, FALSE, bEmbossed);
      },
      theme);
  // A disabled popup row's text, unless the row is selected.
  ExpectEmbossedOver(
      [&](CDC *pDC, BOOL bEmbossed) {
        theme.DrawControlText(pDC, L"Wx", CRect(2, 0, 78, 30), DT_LEFT, TRUE, FALSE, !bEmbossed);
      },
      theme);
}

TEST(PaintManagerText, MeasuresTheStrippedTextAndTheTriangle) {
  CXTPDefaultTheme theme;
  MemoryCanvas canvas(10, 10);
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  SIZE sz = {};
  ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L"Open", 4, &sz);
  CSize szPlain = theme.DrawTextWithAccelerator(&canvas.dc, L"&Open", CRect(), FALSE, FALSE, FALSE, FALSE);
  EXPECT_EQ(szPlain, CSize(sz.cx, sz.cy));
  CSize szTriangle = theme.DrawTextWithAccelerator(&canvas.dc, L"&Open", CRect(), FALSE, FALSE, FALSE, TRUE);
  EXPECT_EQ(szTriangle, CSize(sz.cx + 10, sz.cy));
  CSize szVertical = theme.DrawTextWithAccelerator(&canvas.dc, L"&Open", CRect(), FALSE, TRUE, FALSE, TRUE);
  EXPECT_EQ(szVertical, CSize(sz.cy, sz.cx + 10));
  ::GetTextExtentPoint32W(canvas.dc.GetSafeHdc(), L" ", 1, &sz);
  EXPECT_EQ(theme.DrawTextWithAccelerator(&canvas.dc, L"", CRect(), FALSE, FALSE, FALSE, FALSE),
            CSize(sz.cx, sz.cy));
}

// The character a caption's "&" marks, wherever the "&" stands.
TEST(PaintManagerMnemonic, MarkedCharacterAtEachPosition) {
  const struct {
    const wchar_t *caption, *text;
    int nIndex;
  } kCases[] = {
      {L"&Unmask", L"Unmask", 0}, // first character
      {L"Un&mask", L"Unmask", 2}, // mid-word
      {L"Unmas&k", L"Unmask", 5}, // last character
      {L"E&xtras", L"Extras", 1}, //
      {L"A&&B", L"A&B", -1},      // an escaped ampersand marks nothing
      {L"&&&x", L"&x", 1},        // the escape counts as one character
      {L"A&&&B", L"A&B", 2},      //
      {L"End&", L"End", -1},      // a final "&" marks nothing
      {L"&", L"", -1},            //
      {L"&&", L"&", -1},          //
      {L"a&b&c", L"abc", 1},      // the first marks it, as for the key
      {L"", L"", -1},             //
      {L"Mas&ke entfernen", L"Maske entfernen", 3},
  };
  for (const auto &c : kCases) {
    CString strText;
    EXPECT_EQ(CXTPPaintManager::FindMnemonic(c.caption, &strText), c.nIndex) << c.caption;
    EXPECT_STREQ(static_cast<LPCWSTR>(strText), c.text) << c.caption;
    EXPECT_STREQ(static_cast<LPCWSTR>(CXTPPaintManager::StripAccelerators(c.caption)), c.text) << c.caption;
  }
}

// The underline runs from the character's start to one pixel before the next
// one starts, on the same extents the text is measured and drawn with.
TEST(PaintManagerMnemonic, UnderlineSpanOnTheCharacterExtents) {
  const int kUnmask[] = {7, 14, 23, 30, 35, 41}; // U n m a s k
  const int kNarrow[] = {3, 4, 9};               // a one-pixel character in the middle
  const struct {
    const int *pnExtents;
    int nCount, nIndex, nLeft, nRight;
  } kCases[] = {
      {kUnmask, 6, 0, 0, 6}, {kUnmask, 6, 2, 14, 22}, {kUnmask, 6, 5, 35, 40}, {kNarrow, 3, 1, 3, 4},
      {kNarrow, 3, 2, 4, 8}, {kUnmask, 6, -1, 0, 0},  {kUnmask, 6, 6, 0, 0},   {nullptr, 0, 0, 0, 0},
  };
  for (const auto &c : kCases) {
    const auto span = CXTPPaintManager::GetMnemonicSpan(c.pnExtents, c.nCount, c.nIndex);
    EXPECT_EQ(span.nLeft, c.nLeft) << c.nIndex;
    EXPECT_EQ(span.nRight, c.nRight) << c.nIndex;
  }
}

TEST(PaintManagerMnemonic, CharactersKeptBeforeAnEllipsis) {
  const int kUnmask[] = {7, 14, 23, 30, 35, 41};
  const struct {
    int nWidth, nKeep;
  } kCases[] = {{5, 0}, {16, 1}, {22, 1}, {23, 2}, {31, 2}, {32, 3}, {50, 6}};
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPPaintManager::FitBeforeEllipsis(kUnmask, 6, 9, c.nWidth), c.nKeep) << c.nWidth;
}

// Ink columns [first, last] of a picture, -1 when empty.
struct InkRange {
  int nFirst = -1, nLast = -1;
};
template <class Draw> std::vector<std::string> Picture(CXTPPaintManager &theme, Draw draw) {
  MemoryCanvas canvas(160, 24, 0xFFFFFF);
  CXTPFontDC font(&canvas.dc, &theme.m_fontRegular);
  canvas.dc.SetTextColor(0);
  canvas.dc.SetBkMode(TRANSPARENT);
  draw(&canvas.dc);
  std::vector<std::string> rows(24);
  for (int y = 0; y < 24; y++)
    for (int x = 0; x < 160; x++) rows[y] += canvas.Pixel(x, y) == 0xFFFFFF ? '.' : '#';
  return rows;
}
InkRange Columns(const std::vector<std::string> &a, const std::vector<std::string> *pMinus = nullptr) {
  InkRange r;
  for (size_t y = 0; y < a.size(); y++)
    for (size_t x = 0; x < a[y].size(); x++)
      if (a[y][x] == '#' && (!pMinus || (*pMinus)[y][x] == '.')) {
        if (r.nFirst < 0 || static_cast<int>(x) < r.nFirst) r.nFirst = static_cast<int>(x);
        r.nLast = std::max(r.nLast, static_cast<int>(x));
      }
  return r;
}

// The underline of a drawn caption lies under its letter: the underline is
// what the caption with cues adds to the caption without them, the letter is
// what the stripped text up to it adds to the text before it.
void ExpectUnderlineUnderItsLetter(const char *what, CXTPPaintManager &theme,
                                   const std::function<void(CDC *, const wchar_t *, BOOL)> &draw) {
  SCOPED_TRACE(what);
  for (const wchar_t *caption : {L"&Unmask", L"Un&mask", L"Unmas&k", L"E&xtras", L"Ay&uda", L"A&&&B",
                                 L"Mas&ke entfernen", L"Su&chergebnisse speichern"}) {
    CString strText;
    const int nIndex = CXTPPaintManager::FindMnemonic(caption, &strText);
    ASSERT_GE(nIndex, 0) << caption;
    auto escaped = [](CString s) {
      s.Replace(L"&", L"&&");
      return s;
    };
    const auto withCues = Picture(theme, [&](CDC *pDC) { draw(pDC, caption, TRUE); });
    const auto withoutCues = Picture(theme, [&](CDC *pDC) { draw(pDC, caption, FALSE); });
    const auto upTo = Picture(theme, [&](CDC *pDC) { draw(pDC, escaped(strText.Left(nIndex + 1)), FALSE); });
    const auto before = Picture(theme, [&](CDC *pDC) { draw(pDC, escaped(strText.Left(nIndex)), FALSE); });
    const InkRange underline = Columns(withCues, &withoutCues);
    const InkRange letter = Columns(upTo, &before);
    ASSERT_GE(underline.nFirst, 0) << caption;
    ASSERT_GE(letter.nFirst, 0) << caption;
    EXPECT_GE(underline.nFirst, letter.nFirst - 1) << caption;
    EXPECT_LE(underline.nFirst, letter.nFirst + 1) << caption;
    EXPECT_LE(underline.nLast, letter.nLast + 2) << caption;
    EXPECT_GE(underline.nLast, letter.nLast - 1) << caption;
  }
}

TEST(PaintManagerMnemonic, UnderlineSitsUnderItsLetterInBarsAndMenus) {
  CXTPDefaultTheme theme;
  // Bar captions (menu-bar titles, toolbar buttons).
  ExpectUnderlineUnderItsLetter("bar", theme, [&](CDC *pDC, const wchar_t *text, BOOL bCues) {
    theme.SetKeyboardCuesShown(bCues);
    theme.DrawTextWithAccelerator(pDC, text, CRect(2, 0, 158, 24), TRUE, FALSE, FALSE, FALSE);
  });
  // Popup rows, which end in an ellipsis when short of room; without cues
  // the row is handed its caption already stripped.
  ExpectUnderlineUnderItsLetter("popup row", theme, [&](CDC *pDC, const wchar_t *text, BOOL bCues) {
    theme.DrawControlText(pDC, bCues ? CString(text) : CXTPPaintManager::StripAccelerators(text),
                          CRect(2, 0, 158, 24), DT_END_ELLIPSIS | (bCues ? 0 : DT_NOPREFIX), TRUE, FALSE,
                          TRUE);
  });
  theme.SetKeyboardCuesShown(TRUE);

  // The flat themes' popup rows.
  struct COfficeRows : CXTPOfficeTheme {
    using CXTPOfficeTheme::DrawPopupText;
  } office;
  ExpectUnderlineUnderItsLetter("office popup row", office, [&](CDC *pDC, const wchar_t *text, BOOL bCues) {
    office.SetKeyboardCuesShown(bCues);
    office.DrawPopupText(pDC, text, CRect(2, 0, 158, 24), DT_END_ELLIPSIS, TRUE);
  });
}

// What a caption measures is what it covers when drawn: a long word ends
// at its measured width, so a bar of such titles is spaced evenly.
TEST(PaintManagerMnemonic, DrawnCaptionEndsAtItsMeasuredWidth) {
  CXTPDefaultTheme theme;
  for (const wchar_t *caption : {L"&Bearbeiten", L"&Herramientas", L"E&xtras", L"Ay&uda", L"Datei"}) {
    for (BOOL bCues : {TRUE, FALSE}) {
      theme.SetKeyboardCuesShown(bCues);
      CSize szMeasured;
      const auto picture = Picture(theme, [&](CDC *pDC) {
        szMeasured = theme.DrawTextWithAccelerator(pDC, caption, CRect(), FALSE, FALSE, FALSE, FALSE);
        theme.DrawTextWithAccelerator(pDC, caption, CRect(2, 0, 158, 24), TRUE, FALSE, FALSE, FALSE);
      });
      const InkRange ink = Columns(picture);
      // Glyphs end a pixel or two inside their advance, never more.
      EXPECT_GE(ink.nLast, 2 + szMeasured.cx - 3) << caption << " measured " << szMeasured.cx;
      EXPECT_LT(ink.nLast, 2 + szMeasured.cx) << caption;
    }
  }
  theme.SetKeyboardCuesShown(TRUE);
}

// A caption starts at the pixel where DrawText would start it, for every
// alignment and for odd and even room around it.
TEST(PaintManagerMnemonic, LinePlacedWhereDrawTextPlacesIt) {
  CXTPDefaultTheme theme;
  auto origin = [](const std::vector<std::string> &rows) {
    const InkRange ink = Columns(rows);
    int nTop = -1;
    for (size_t y = 0; y < rows.size() && nTop < 0; y++)
      if (rows[y].find('#') != std::string::npos) nTop = static_cast<int>(y);
    return std::make_pair(ink.nFirst, nTop);
  };
  for (UINT nAlign : {0u, UINT(DT_VCENTER), UINT(DT_BOTTOM), UINT(DT_CENTER | DT_VCENTER), UINT(DT_RIGHT)}) {
    for (int nHeight = 17; nHeight <= 24; nHeight++) {
      const CRect rc(3, 0, 3 + 101 + nHeight % 2, nHeight);
      const auto system = Picture(theme, [&](CDC *pDC) {
        CRect rcText = rc;
        ::DrawTextW(pDC->GetSafeHdc(), L"Wx", -1, &rcText, nAlign | DT_SINGLELINE);
      });
      const auto ours = Picture(theme, [&](CDC *pDC) {
        CXTPPaintManager::DrawCaptionText(pDC, L"Wx", rc, nAlign | DT_SINGLELINE);
      });
      EXPECT_EQ(origin(ours), origin(system)) << "format " << nAlign << ", height " << nHeight;
    }
  }
}

// A caption too long for its row ends in an ellipsis inside the row; an
// underline whose letter was cut off is not drawn.
TEST(PaintManagerMnemonic, EllipsisKeepsTheTextAndUnderlineInsideTheRow) {
  CXTPDefaultTheme theme;
  for (const wchar_t *caption : {L"Unmas&k", L"&Unmask"}) {
    const auto picture = Picture(theme, [&](CDC *pDC) {
      theme.DrawControlText(pDC, caption, CRect(2, 0, 30, 24), DT_END_ELLIPSIS, TRUE, FALSE, TRUE);
    });
    const InkRange ink = Columns(picture);
    EXPECT_GE(ink.nFirst, 2) << caption;
    EXPECT_LT(ink.nLast, 30) << caption;
  }
  const auto cut = Picture(theme, [&](CDC *pDC) {
    theme.DrawControlText(pDC, L"Unmas&k", CRect(2, 0, 30, 24), DT_END_ELLIPSIS, TRUE, FALSE, TRUE);
  });
  const auto cutPlain = Picture(theme, [&](CDC *pDC) {
    theme.DrawControlText(pDC, L"Unmask", CRect(2, 0, 30, 24), DT_END_ELLIPSIS | DT_NOPREFIX, TRUE, FALSE,
                          TRUE);
  });
  EXPECT_EQ(cut, cutPlain) << "the k is cut off, so is its underline";
  const auto kept = Picture(theme, [&](CDC *pDC) {
    theme.DrawControlText(pDC, L"&Unmask", CRect(2, 0, 30, 24), DT_END_ELLIPSIS, TRUE, FALSE, TRUE);
  });
  EXPECT_NE(kept, cutPlain) << "the U is shown with its underline";
}

TEST(PaintManagerPrimitives, CheckMarkLinesInTheCentredBox) {
  CXTPDefaultTheme theme;
  MemoryCanvas canvas(40, 40, kCanvas);
  theme.DrawCheckMark(&canvas.dc, CRect(10, 10, 30, 30), 0x000001);
  for (POINT pt : {POINT{6, 9}, POINT{8, 11}, POINT{12, 7}, POINT{6, 10}, POINT{8, 12}, POINT{12, 8}})
    EXPECT_EQ(canvas.Pixel(10 + pt.x, 10 + pt.y), 0x000001u) << pt.x << "," << pt.y;
  EXPECT_EQ(canvas.Pixel(10 + 8, 10 + 9), kCanvas);

  MemoryCanvas mirrored(40, 40, kCanvas);
  theme.DrawCheckMark(&mirrored.dc, CRect(10, 10, 30, 30), 0x000001, TRUE);
  for (POINT pt : {POINT{6, 7}, POINT{10, 11}, POINT{6, 8}, POINT{10, 12}})
    EXPECT_EQ(mirrored.Pixel(10 + pt.x, 10 + pt.y), 0x000001u) << pt.x << "," << pt.y;
}

TEST(PaintManagerPrimitives, RectangleAndLines) {
  CXTPDefaultTheme theme;
  UseTestColors(&theme);
  MemoryCanvas canvas(30, 30, kCanvas);
  theme.Rectangle(&canvas.dc, CRect(2, 2, 12, 12), COLOR_BTNSHADOW, COLOR_BTNFACE);
  EXPECT_EQ(canvas.Pixel(2, 2), kShadow);
  EXPECT_EQ(canvas.Pixel(11, 11), kShadow);
  EXPECT_EQ(canvas.Pixel(6, 6), kFace);
  theme.Line(&canvas.dc, 15, 20, 25, 20, COLOR_HIGHLIGHT);
  EXPECT_EQ(canvas.Pixel(15, 20), kSelection);
  EXPECT_EQ(canvas.Pixel(25, 20), kCanvas) << "the end point is left out";
  theme.Triangle(&canvas.dc, CPoint(20, 5), CPoint(24, 1), CPoint(16, 1), 0x00FF00);
  EXPECT_EQ(canvas.Pixel(20, 3), 0x00FF00u);
}

TEST(PaintManagerPrimitives, BlendPixelsTable) {
  const struct {
    DWORD src, dest;
    int alpha;
    DWORD expected;
  } kCases[] = {
      {0x00FFFFFF, 0x00000000, 255, 0x00FEFEFE}, {0x00FFFFFF, 0x00000000, 0, 0x00000000},
      {0x00000000, 0x00FFFFFF, 128, 0x007E7E7E}, {0x00FF0000, 0x000000FF, 51, 0x003200CB},
      {0xAA000000, 0x55000000, 128, 0x55000000}, // the fourth byte is left alone
  };
  for (const auto &c : kCases) {
    DWORD dest = c.dest;
    CXTPPaintManager::BlendPixels(&c.src, &dest, 1, c.alpha);
    EXPECT_EQ(dest, c.expected) << std::hex << c.src << " " << c.dest << " " << std::dec << c.alpha;
  }
}

TEST(PaintManagerAnimation, UnfoldAndSlideEndWithThePopupShown) {
  CXTPDefaultTheme theme;
  theme.SetAnimation(4, 8);
  for (int nKind : {xtpAnimateUnfold, xtpAnimateSlide}) {
    MemoryCanvas source(20, 10, 0x00AA00), dest(20, 10, 0xFFFFFF);
    source.dc.FillSolidRect(0, 9, 20, 1, 0x0000AA);
    theme.Animate(&dest.dc, &source.dc, CRect(0, 0, 20, 10), nKind);
    EXPECT_EQ(dest.Pixel(0, 0), 0x00AA00u) << nKind;
    EXPECT_EQ(dest.Pixel(19, 9), 0x0000AAu) << nKind;
  }
  // The fade's last frame is all but the popup: the bar shows itself after.
  MemoryCanvas source(8, 8, 0xFFFFFF), dest(8, 8, 0x000000);
  theme.Animate(&dest.dc, &source.dc, CRect(0, 0, 8, 8), xtpAnimateFade);
  EXPECT_EQ(dest.Pixel(3, 3), 0xBEBEBEu) << "three quarters of the way";
  MemoryCanvas untouched(8, 8, 0x123456);
  theme.Animate(&untouched.dc, &source.dc, CRect(0, 0, 8, 8), xtpAnimateNone);
  EXPECT_EQ(untouched.Pixel(3, 3), 0x123456u);
}

// The global paint manager ends before the services it draws with. A child
// run of this program installs a theme whose destructor looks at them as the
// process exits and writes what it saw to a file.
class ShutdownProbe : public CXTPDefaultTheme {
public:
  ~ShutdownProbe() override {
    const char *pszPath = std::getenv("QV_SHUTDOWN_PROBE");
    if (!pszPath) return;
    FILE *f = std::fopen(pszPath, "w");
    if (!f) return;
    std::fprintf(f, "colours=%d images=%d\n", CXTPColorManager::IsAlive() ? 1 : 0,
                 XTPGetImageManager()->GetImages().empty() ? 0 : 1);
    std::fclose(f);
  }
};

TEST(PaintManagerShutdownChild, InstallProbe) {
  if (!std::getenv("QV_SHUTDOWN_PROBE")) GTEST_SKIP() << "runs as the child of the shutdown test";
  // The global slot is asked for before anything made the services it uses:
  // the order in which statics end must still release the paint manager first.
  EXPECT_EQ(XTPGetPaintManager(), nullptr);
  CXTPPaintManager::SetGlobalPaintManager(new ShutdownProbe);
  HICON hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  XTPGetImageManager()->SetIcon(CXTPIconHandle(::CopyIcon(hIcon)), 1000, CSize(16, 16), 0);
}

TEST(PaintManagerShutdown, GlobalIsReleasedBeforeTheServicesItUses) {
  wchar_t szExe[MAX_PATH], szTemp[MAX_PATH], szFile[MAX_PATH];
  ::GetModuleFileNameW(nullptr, szExe, MAX_PATH);
  ::GetTempPathW(MAX_PATH, szTemp);
  ::GetTempFileNameW(szTemp, L"qvs", 0, szFile);
  char szFileA[MAX_PATH];
  ::WideCharToMultiByte(CP_ACP, 0, szFile, -1, szFileA, MAX_PATH, nullptr, nullptr);
  ::SetEnvironmentVariableW(L"QV_SHUTDOWN_PROBE", szFile);
  std::wstring command = std::wstring(L"\"") + szExe + L"\" --gtest_filter=PaintManagerShutdownChild.*";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ::WaitForSingleObject(pi.hProcess, 30000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ::SetEnvironmentVariableW(L"QV_SHUTDOWN_PROBE", nullptr);
  FILE *f = std::fopen(szFileA, "r");
  ASSERT_NE(f, nullptr);
  char line[64] = {};
  std::fgets(line, sizeof(line), f);
  std::fclose(f);
  ::DeleteFileW(szFile);
  EXPECT_STREQ(line, "colours=1 images=1\n");
}

} // namespace
