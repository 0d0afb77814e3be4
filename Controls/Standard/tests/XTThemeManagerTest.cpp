// The theme manager's factories, styles and hosts, and the visual-style
// wrapper driven by a recording fake (visual styles are never active under
// Wine).
#include <gtest/gtest.h>

#include "XTThemeManager.h"
#include "XTPWinThemeWrapper.h"
#include "../../../Common/tests/FakeVisualStyles.h"

#include <string>
#include <vector>

namespace {

class TestStyle : public CXTThemeManagerStyle {
public:
  explicit TestStyle(int id) : themeId(id) {}
  void RefreshMetrics() override { refreshed++; }
  int themeId;
  int refreshed = 0;
};

class TestFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(TestFactory)
public:
  CXTThemeManagerStyle *CreateTheme(int nThemeId) override { return new TestStyle(nThemeId); }
};
IMPLEMENT_DYNCREATE(TestFactory, CXTThemeManagerStyleFactory)

class TestHost : public CXTThemeManagerStyleHost {
public:
  TestHost() : CXTThemeManagerStyleHost(RUNTIME_CLASS(TestFactory)) {}
  void OnThemeChanged() override { changes++; }
  int Theme() const { return static_cast<TestStyle *>(GetSuitableTheme())->themeId; }
  int changes = 0;
};

TEST(ThemeManager, ProcessThemeReachesEveryHostOnce) {
  CXTThemeManager *manager = XTGetThemeManager();
  manager->SetTheme(0);
  TestHost a, b;
  EXPECT_EQ(a.GetSuitableFactory(), b.GetSuitableFactory());
  EXPECT_EQ(a.GetSuitableFactory(), manager->FindFactory(RUNTIME_CLASS(TestFactory)));
  EXPECT_EQ(a.Theme(), 0);
  EXPECT_EQ(static_cast<TestStyle *>(a.GetSuitableTheme())->refreshed, 1);

  manager->SetTheme(2);
  EXPECT_EQ(manager->GetTheme(), 2);
  EXPECT_EQ(a.Theme(), 2);
  EXPECT_EQ(a.changes, 1);
  EXPECT_EQ(b.changes, 1);

  manager->SetTheme(2); // unchanged: nobody hears of it
  EXPECT_EQ(a.changes, 1);
  manager->SetTheme(0);
}

TEST(ThemeManager, OwnStyleSurvivesProcessChangeUntilCleared) {
  CXTThemeManager *manager = XTGetThemeManager();
  manager->SetTheme(0);
  TestHost host, other;
  const size_t factories = manager->GetFactoryCount();

  host.SetTheme(new TestStyle(7));
  EXPECT_EQ(host.changes, 1);
  EXPECT_EQ(host.Theme(), 7);
  EXPECT_NE(host.GetSuitableFactory(), other.GetSuitableFactory());
  EXPECT_EQ(manager->GetFactoryCount(), factories + 1);

  manager->SetTheme(1);
  EXPECT_EQ(host.Theme(), 7);
  EXPECT_EQ(host.changes, 1);
  EXPECT_EQ(other.Theme(), 1);

  host.SetTheme(nullptr);
  EXPECT_EQ(host.Theme(), 1);
  EXPECT_EQ(host.changes, 2);
  EXPECT_EQ(manager->GetFactoryCount(), factories); // the private one is gone

  host.SetTheme(nullptr); // already shared: nothing
  EXPECT_EQ(host.changes, 2);
  manager->SetTheme(0);
  EXPECT_EQ(host.changes, 3);
}

TEST(ThemeManager, ReplacedStyleIsDeletedWithoutLeakingIntoHosts) {
  TestHost host;
  host.SetTheme(new TestStyle(3));
  host.SetTheme(new TestStyle(4)); // the first private factory and style go
  EXPECT_EQ(host.Theme(), 4);
  EXPECT_EQ(host.GetSuitableTheme()->m_pFactory, host.GetSuitableFactory());
}

TEST(ThemeWrapper, RecordsClassPartAndState) {
  FakeVisualStyles styles;
  CXTPWinThemeWrapper wrapper;
  EXPECT_FALSE(wrapper.IsAppThemed()); // no handle yet: the system is not asked
  ASSERT_EQ(wrapper.OpenThemeData(nullptr, L"BUTTON"), S_OK);
  EXPECT_TRUE(wrapper.IsAppThemed());
  RECT rc = {0, 0, 10, 10};
  EXPECT_EQ(wrapper.DrawThemeBackground(nullptr, 1, 3, &rc, nullptr), S_OK);
  ASSERT_EQ(wrapper.OpenThemeData(nullptr, L"HEADER"), S_OK); // closes BUTTON first
  EXPECT_EQ(wrapper.DrawThemeBackground(nullptr, 1, 2, &rc, nullptr), S_OK);

  const struct {
    const wchar_t *what, *klass;
    int part, state;
  } kExpected[] = {
      {L"OpenThemeData", L"BUTTON", 0, 0},       {L"DrawThemeBackground", L"BUTTON", 1, 3},
      {L"CloseThemeData", L"BUTTON", 0, 0},      {L"OpenThemeData", L"HEADER", 0, 0},
      {L"DrawThemeBackground", L"HEADER", 1, 2},
  };
  ASSERT_EQ(styles.calls.size(), std::size(kExpected));
  for (size_t i = 0; i < styles.calls.size(); i++) {
    EXPECT_EQ(styles.calls[i].what, kExpected[i].what) << i;
    EXPECT_EQ(styles.calls[i].klass, kExpected[i].klass) << i;
    EXPECT_EQ(styles.calls[i].part, kExpected[i].part) << i;
    EXPECT_EQ(styles.calls[i].state, kExpected[i].state) << i;
  }
  wrapper.CloseThemeData();
  EXPECT_EQ(wrapper.GetThemeHandle(), nullptr);
  EXPECT_EQ(wrapper.CloseThemeData(), E_FAIL); // nothing to close
  EXPECT_EQ(styles.closed, 2);
}

TEST(ThemeWrapper, DestructorClosesTheHandle) {
  FakeVisualStyles styles;
  {
    CXTPWinThemeWrapper wrapper;
    wrapper.OpenThemeData(nullptr, L"TAB");
  }
  EXPECT_EQ(styles.closed, 1);
}

TEST(ThemeWrapper, ReadyOnlyWithLibraryActiveThemeAndCommonControlsSix) {
  FakeVisualStyles styles;
  CXTPWinThemeWrapper wrapper;
  wrapper.OpenThemeData(nullptr, L"BUTTON");
  EXPECT_TRUE(wrapper.IsAppThemeReady());
  styles.comctlVersion = (5 << 16) | 82;
  EXPECT_FALSE(wrapper.IsAppThemeReady());
  styles.comctlVersion = 6 << 16;
  styles.libraryLoaded = FALSE;
  EXPECT_FALSE(wrapper.IsAppThemeReady());
}

TEST(ThemeWrapper, FailedColourLeavesTheOutValue) {
  FakeVisualStyles styles;
  styles.themed = FALSE;
  CXTPWinThemeWrapper wrapper;
  EXPECT_EQ(wrapper.OpenThemeData(nullptr, L"BUTTON"), E_FAIL);
  COLORREF clr = 0xABCDEF;
  EXPECT_TRUE(FAILED(wrapper.GetThemeColor(0, 0, 3801, &clr)));
  EXPECT_EQ(clr, 0xABCDEFu);
  EXPECT_FALSE(wrapper.IsAppThemed());
}

TEST(ThemeWrapper, SystemVisualStylesFailSoftlyUnderThisSystem) {
  // No fake: the real library answers (or is missing); either way nothing
  // throws and an unopened wrapper reports no theme.
  CXTPWinThemeWrapper wrapper;
  wrapper.OpenThemeData(nullptr, L"NO SUCH CLASS");
  EXPECT_EQ(wrapper.GetThemeHandle(), nullptr);
  EXPECT_FALSE(wrapper.IsAppThemed());
  COLORREF clr = 0x123;
  wrapper.GetThemeColor(0, 0, 3801, &clr);
  EXPECT_EQ(clr, 0x123u);
  EXPECT_GE(CXTPWinThemeWrapper::GetComCtlVersion(), static_cast<DWORD>(5 << 16));
}

} // namespace
