// The tab paint manager and the appearances' shared rules: choosing the
// appearance and colour set, fonts, row heights and strip sizes, measuring a
// tab in each layout, and the turned rectangle helpers.
#include <gtest/gtest.h>

#include "TabTestStrip.h"
#include "XTPColorManager.h"

namespace {

LOGFONT Font(LONG nHeight) {
  LOGFONT lf = {};
  lf.lfHeight = nHeight;
  lstrcpyW(lf.lfFaceName, L"Tahoma");
  return lf;
}

TEST(TabPaintManagerSets, AppearanceBringsItsColourSetAndSetColorFollows) {
  CXTPTabPaintManager paint;
  EXPECT_EQ(paint.GetAppearance(), 0);
  EXPECT_EQ(paint.GetColor(), 1);
  paint.SetAppearance(xtpTabAppearancePropertyPage2003);
  EXPECT_NE(dynamic_cast<CXTPTabAppearance2 *>(paint.GetAppearanceSet()), nullptr);
  EXPECT_EQ(typeid(*paint.GetColorSet()), typeid(CXTPTabColorSetDefault));
  paint.SetColor(xtpTabColorOffice2003);
  EXPECT_EQ(typeid(*paint.GetColorSet()), typeid(CXTPTabColorSet4));
  // A new appearance replaces the set chosen before.
  paint.SetAppearance(xtpTabAppearanceStateButtons);
  EXPECT_EQ(typeid(*paint.GetColorSet()), typeid(CXTPTabColorSet4));
  paint.SetAppearance(xtpTabAppearancePropertyPage2003);
  EXPECT_EQ(typeid(*paint.GetColorSet()), typeid(CXTPTabColorSetDefault));
  paint.SetAppearance(12);
  EXPECT_EQ(typeid(*paint.GetAppearanceSet()), typeid(CXTPTabAppearance0));
  EXPECT_EQ(paint.GetColor(), 1);

  const struct {
    int id;
    const std::type_info &set;
  } kSets[] = {{1, typeid(CXTPTabColorSetDefault)}, {2, typeid(CXTPTabColorSet2)},
               {4, typeid(CXTPTabColorSet4)},       {8, typeid(CXTPTabColorSet8)},
               {16, typeid(CXTPTabColorSet16)},     {3, typeid(CXTPTabColorSetDefault)}};
  for (const auto &s : kSets) {
    paint.SetColor(s.id);
    EXPECT_EQ(typeid(*paint.GetColorSet()), s.set) << s.id;
    EXPECT_EQ(paint.GetColorSet()->GetOwner(), &paint);
  }
  const int kPreferred[10] = {1, 1, 1, 4, 2, 2, 2, 2, 1, 4};
  for (int id = 0; id < 10; id++) {
    paint.SetAppearance(id);
    EXPECT_EQ(paint.GetColor(), kPreferred[id]) << id;
    EXPECT_EQ(paint.GetAppearanceSet()->GetOwner(), &paint);
  }
}

TEST(TabPaintManagerSets, NullStrategiesOnlyNotify) {
  TestStrip strip;
  CXTPTabAppearance *pAppearance = strip.paint.GetAppearanceSet();
  CXTPTabColorSet *pColorSet = strip.paint.GetColorSet();
  int before = strip.repositions;
  strip.paint.SetAppearanceSet(nullptr);
  strip.paint.SetColorSet(nullptr);
  EXPECT_EQ(strip.paint.GetAppearanceSet(), pAppearance);
  EXPECT_EQ(strip.paint.GetColorSet(), pColorSet);
  EXPECT_EQ(strip.repositions, before + 2);
}

TEST(TabPaintManagerFonts, TurnedFontsAreAtLeastElevenHigh) {
  const struct {
    LONG height, horizontal, turned;
  } kCases[] = {{-8, -8, -11}, {-11, -11, -11}, {-14, -14, -14}, {12, 12, 12}};
  for (const auto &c : kCases) {
    CXTPTabPaintManager paint;
    LOGFONT lf = Font(c.height);
    paint.SetFontIndirect(&lf);
    LOGFONT out = {};
    paint.GetFont(FALSE)->GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, c.horizontal);
    EXPECT_EQ(out.lfWeight, FW_NORMAL);
    paint.GetBoldFont(FALSE)->GetLogFont(&out);
    EXPECT_EQ(out.lfWeight, FW_BOLD);
    paint.GetFont(TRUE)->GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, c.turned);
    EXPECT_EQ(out.lfEscapement, 2700);
    EXPECT_EQ(out.lfOrientation, 900);
    paint.GetBoldFont(TRUE)->GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, c.turned);
    EXPECT_EQ(out.lfWeight, FW_BOLD);
  }
  CXTPTabPaintManager paint;
  paint.m_bBoldNormal = TRUE;
  LOGFONT lf = Font(-11), out = {};
  paint.SetFontIndirect(&lf);
  paint.GetFont(TRUE)->GetLogFont(&out);
  EXPECT_EQ(out.lfWeight, FW_BOLD);
  EXPECT_FALSE(paint.m_bUseStandardFont);
}

// Row heights and strips with a small font (a space under 15 pixels high).
class TabGeometry : public ::testing::Test {
protected:
  void Use(int nAppearance) {
    strip.paint.SetAppearance(nAppearance);
    LOGFONT lf = Font(-11);
    strip.paint.SetFontIndirect(&lf);
    strip.paint.RefreshMetrics();
  }
  TestStrip strip;
};

TEST_F(TabGeometry, RowHeightCountsTextMarginsIconsAndMinimum) {
  Use(0);
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetTextRowHeight(), 18);
  strip.paint.m_bShowIcons = FALSE;
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetRowHeight(&strip), 18);
  strip.paint.m_bShowIcons = TRUE; // 16 by 16 icons: 16 + 4
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetRowHeight(&strip), 20);
  strip.paint.m_rcButtonMargin = CRect(0, 3, 0, 2);
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetRowHeight(&strip), 25);
  strip.SetItemMetrics(CSize(70, 18), CSize(0, 40));
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetRowHeight(&strip), 40);
}

TEST_F(TabGeometry, StripsOfTwoRows) {
  const struct {
    int appearance, strip;
  } kCases[] = {
      {0, 18 * 2 - 2 + 3 + 0}, // rows overlap by two
      {4, 18 * 2 + 0 + 2 + 2}, // the flat buttons keep rows apart by nothing
      {6, 18 * 2 - 2 + 2 + 0},
  };
  for (const auto &c : kCases) {
    Use(c.appearance);
    strip.paint.m_bShowIcons = FALSE;
    strip.paint.SetLayout(xtpTabLayoutMultiRow);
    strip.rcControl = CRect(0, 0, 200, 150);
    strip.SetItemMetrics(CSize(70, 18), CSize(80, 0)); // every tab 80 long: two to a row
    for (int i = 0; i < 4; i++) strip.AddItem(-1)->SetCaption(L"A");
    ASSERT_EQ(strip.GetRowIndexer()->GetRowCount(), 2) << c.appearance;
    EXPECT_EQ(strip.GetHeaderRect().Height(), c.strip) << c.appearance;
    strip.DeleteAllItems();
  }
}

TEST_F(TabGeometry, ClientAreaMeetsTheStripByOnePixel) {
  Use(6);
  strip.paint.m_clientFrame = 2; // no frame: the bare client rectangle
  for (XTPTabPosition position :
       {xtpTabPositionTop, xtpTabPositionLeft, xtpTabPositionBottom, xtpTabPositionRight}) {
    strip.paint.SetPosition(position);
    strip.AddItem(-1)->SetCaption(L"Tab");
    CRect rcStrip = strip.paint.GetAppearanceSet()->ComputeStripRect(strip.rcControl, &strip);
    CRect rcClient = strip.GetClientRect();
    switch (position) {
    case xtpTabPositionTop:
      EXPECT_EQ(rcClient.top, rcStrip.bottom - 1);
      break;
    case xtpTabPositionLeft:
      EXPECT_EQ(rcClient.left, rcStrip.right - 1);
      break;
    case xtpTabPositionBottom:
      EXPECT_EQ(rcClient.bottom, rcStrip.top + 1);
      break;
    default:
      EXPECT_EQ(rcClient.right, rcStrip.left + 1);
      break;
    }
    strip.DeleteAllItems();
  }
}

TEST_F(TabGeometry, StripMarginsOfTheSlopedStyles) {
  Use(3);
  const int t = strip.paint.GetAppearanceSet()->GetTextRowHeight();
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetStripMargin(), CRect(2 + t, 3, 6, 0));
  Use(9);
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetStripMargin(), CRect(2 + t / 2, 3, 6, 0));
  Use(7);
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetStripMargin(), CRect(2 + t / 2, 3, 2 + t / 2, 0));
  Use(4);
  EXPECT_EQ(strip.paint.GetAppearanceSet()->GetStripMargin(), CRect(2, 2, 4, 2));
}

TEST_F(TabGeometry, SelectedTextLayoutMeasuresIconsAndTheWidestCaption) {
  Use(0);
  strip.icons = TRUE;
  strip.paint.m_rcButtonMargin = CRect(3, 0, 5, 0);
  strip.paint.SetLayout(xtpTabLayoutSelectedText);
  strip.AddItem(-1)->SetCaption(L"A");
  strip.AddItem(-1)->SetCaption(L"A much longer caption");
  strip.SetCurSel(0);
  HDC hDC = ::GetDC(nullptr);
  CDC dc;
  dc.Attach(hDC);
  CFont *pOld = dc.SelectObject(strip.paint.GetFont());
  int nWidest = dc.GetTextExtent(CString(L"A much longer caption")).cx;
  dc.SelectObject(pOld);
  dc.Detach();
  ::ReleaseDC(nullptr, hDC);
  EXPECT_EQ(strip.GetItem(1)->GetButtonLength(), 16 + 8 + 3 + 5);
  EXPECT_NEAR(strip.GetItem(0)->GetButtonLength(), nWidest + 12 + 16 + 3 + 5, 1);
  // Fixed: the item size; limits: minimum raises, maximum cuts.
  strip.paint.SetLayout(xtpTabLayoutFixed);
  strip.SetItemMetrics(CSize(50, 18), CSize(60, 0), CSize(0, 0));
  EXPECT_EQ(strip.GetItem(1)->GetButtonLength(), 60);
  strip.SetItemMetrics(CSize(50, 18), CSize(0, 0), CSize(40, 0));
  EXPECT_EQ(strip.GetItem(1)->GetButtonLength(), 40);
  strip.SetItemMetrics(CSize(50, 18));
  EXPECT_EQ(strip.GetItem(1)->GetButtonLength(), 50 + 8);
}

TEST(TabAppearanceHelpers, InflateByPositionTurnsTheAmounts) {
  const struct {
    int position;
    CRect out;
  } kCases[] = {
      {0, CRect(9, 18, 33, 44)}, // l 1, t 2, r 3, b 4
      {1, CRect(8, 19, 34, 43)},
      {2, CRect(9, 16, 33, 42)},
      {3, CRect(6, 19, 32, 43)},
  };
  for (const auto &c : kCases) {
    CRect rc(10, 20, 30, 40);
    CXTPTabAppearance::InflateRectByPosition(rc, 1, 2, 3, 4, c.position);
    EXPECT_EQ(rc, c.out) << c.position;
    CXTPTabAppearance::DeflateRectByPosition(rc, 1, 2, 3, 4, c.position);
    EXPECT_EQ(rc, CRect(10, 20, 30, 40));
  }
}

TEST(TabPaintManagerColours, ItemColourTable) {
  const COLORREF kTable[8] = {0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0, 0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8};
  for (int i = 0; i < 8; i++) EXPECT_EQ(CXTPTabPaintManager::ResolveItemColor(0x1000000 + i), kTable[i]);
  EXPECT_EQ(CXTPTabPaintManager::ResolveItemColor(0x1000008), 0x1000008u);
  EXPECT_EQ(CXTPTabPaintManager::ResolveItemColor(0x123456), 0x123456u);
}

} // namespace
