// The shadows manager: the strips' windows, where they go, how they follow
// their owner and when there are none. Xvfb has no compositor, so the strips
// are checked by their windows, styles and rectangles, and the alpha ramps by
// the bitmap the manager builds.
#include <gtest/gtest.h>

#include <windows.h>

#include "Wnd.h"
#include "XTPDefaultTheme.h"
#include "XTPHookManager.h"
#include "XTPShadowsManager.h"

namespace {

// A plain popup owner at a place on the screen, shown without activation.
class Owner {
public:
  explicit Owner(const CRect &rc) {
    m_wnd.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"owner", WS_POPUP, rc.left,
                   rc.top, rc.Width(), rc.Height(), nullptr, nullptr);
    ::ShowWindow(m_wnd.m_hWnd, SW_SHOWNOACTIVATE);
  }
  ~Owner() {
    if (::IsWindow(m_wnd.m_hWnd)) m_wnd.DestroyWindow();
  }
  HWND Hwnd() const { return m_wnd.m_hWnd; }
  CWnd m_wnd;
};

CXTPShadowWnd *Strip(CXTPShadowsManager &manager, HWND hOwner, BOOL bHorizontal) {
  for (CXTPShadowWnd *p : manager.GetShadows())
    if (p->GetOwnerHwnd() == hOwner && p->IsHorizontal() == bHorizontal) return p;
  return nullptr;
}

TEST(ShadowsManager, LayeredStripsLieAlongTheBottomAndRightAndLetClicksThrough) {
  CXTPShadowsManager manager;
  ASSERT_TRUE(manager.IsLayeredAvailable());
  Owner owner(CRect(100, 100, 250, 300));
  manager.SetShadow(owner.Hwnd(), CRect(100, 100, 250, 300), CRect(), FALSE, 0);
  ASSERT_EQ(manager.GetShadowCount(owner.Hwnd()), 2);

  CXTPShadowWnd *pH = Strip(manager, owner.Hwnd(), TRUE);
  CXTPShadowWnd *pV = Strip(manager, owner.Hwnd(), FALSE);
  ASSERT_NE(pH, nullptr);
  ASSERT_NE(pV, nullptr);
  EXPECT_EQ(pH->GetWindowRectangle(), CRect(104, 300, 254, 304));
  EXPECT_EQ(pV->GetWindowRectangle(), CRect(250, 104, 254, 300));
  for (CXTPShadowWnd *p : {pH, pV}) {
    HWND h = p->GetSafeHwnd();
    LONG ex = ::GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(::IsWindowVisible(h));
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(252, 200)), HTTRANSPARENT);
    EXPECT_NE(::GetForegroundWindow(), h);
  }
  manager.RemoveShadow(owner.Hwnd());
  EXPECT_TRUE(manager.GetShadows().empty());
  EXPECT_FALSE(XTPHookManager()->IsHooked(owner.Hwnd()));
}

TEST(ShadowsManager, StripsFollowTheOwnerHiddenShownAndDestroyed) {
  CXTPShadowsManager manager;
  Owner owner(CRect(50, 60, 150, 160));
  manager.SetShadow(owner.Hwnd(), CRect(50, 60, 150, 160), CRect(), FALSE, 0);
  HWND hH = Strip(manager, owner.Hwnd(), TRUE)->GetSafeHwnd();
  HWND hV = Strip(manager, owner.Hwnd(), FALSE)->GetSafeHwnd();

  ::ShowWindow(owner.Hwnd(), SW_HIDE);
  EXPECT_FALSE(::IsWindowVisible(hH));
  EXPECT_FALSE(::IsWindowVisible(hV));
  ::ShowWindow(owner.Hwnd(), SW_SHOWNOACTIVATE);
  EXPECT_TRUE(::IsWindowVisible(hH));
  EXPECT_TRUE(::IsWindowVisible(hV));

  owner.m_wnd.DestroyWindow();
  EXPECT_TRUE(manager.GetShadows().empty());
  EXPECT_FALSE(::IsWindow(hH));
  EXPECT_FALSE(::IsWindow(hV));
}

TEST(ShadowsManager, WhetherThereAreShadowsAtAll) {
  struct Case {
    const char *name;
    BOOL bLayered;
    int nDropShadow;
    BOOL bThemeShadow;
    int nStrips;
    int nThickness;
  } cases[] = {
      {"layered, drop shadow on", TRUE, 1, FALSE, 2, 4},
      {"layered, drop shadow off", TRUE, 0, FALSE, 0, 4},
      {"no layered windows, default theme", FALSE, 1, FALSE, 0, 2},
      {"no layered windows, theme with shadows", FALSE, 0, TRUE, 2, 2},
  };
  // The paint manager's answer is what the popup-bar entry asks; here the
  // same decision is taken through the owner entry with the theme's flag.
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    CXTPShadowsManager manager;
    manager.SetLayeredAvailable(c.bLayered);
    manager.SetDropShadowOverride(c.nDropShadow);
    Owner owner(CRect(300, 100, 400, 200));
    CXTPDefaultTheme theme;
    struct ShadowTheme : CXTPDefaultTheme {
      BOOL HasOwnShadow() override { return TRUE; }
    } shadowTheme;
    CXTPPaintManager *pTheme = c.bThemeShadow ? static_cast<CXTPPaintManager *>(&shadowTheme) : &theme;
    if (manager.PrepareShadowsForTest(pTheme, FALSE))
      manager.SetShadow(owner.Hwnd(), CRect(300, 100, 400, 200), CRect(), c.bThemeShadow, 0);
    EXPECT_EQ(manager.GetShadowCount(owner.Hwnd()), c.nStrips);
    EXPECT_EQ(manager.GetThickness(), c.nThickness);
    if (c.nStrips) {
      CXTPShadowWnd *pH = Strip(manager, owner.Hwnd(), TRUE);
      EXPECT_EQ(pH->GetWindowRectangle().Height(), c.nThickness);
      EXPECT_EQ(!!(::GetWindowLongW(pH->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED), !!c.bLayered);
    }
    EXPECT_FALSE(manager.PrepareShadowsForTest(pTheme, TRUE)) << "never while customising";
  }
}

// A submenu opened at the right of its menu, one pixel over its edge: its
// bottom strip reaches back under the menu's right strip, and no strip covers
// either popup.
TEST(ShadowsManager, SubmenuStripsJoinTheMenuStripsAndCoverNoPopup) {
  CXTPShadowsManager manager;
  CRect rcMenu(100, 100, 200, 400), rcSub(199, 150, 300, 250);
  Owner menu(rcMenu), sub(rcSub);
  manager.SetShadow(menu.Hwnd(), rcMenu, CRect(), FALSE, 0);
  manager.SetShadow(sub.Hwnd(), rcSub, CRect(), FALSE, 0);
  CXTPShadowWnd *pMenuV = Strip(manager, menu.Hwnd(), FALSE);
  CXTPShadowWnd *pSubH = Strip(manager, sub.Hwnd(), TRUE);
  // Menu's right strip: (200, 104, 204, 400). The submenu's bottom strip
  // would start at 203 = 204 - 1, inside the menu strip's height: it grows
  // left by 2 * 4 + 1.
  EXPECT_EQ(pMenuV->GetWindowRectangle(), CRect(200, 104, 204, 400));
  EXPECT_EQ(pSubH->GetWindowRectangle(), CRect(194, 250, 304, 254));
}

// A submenu that opened to the left of its menu: its strips would lie over
// the menu and are cut where they do.
TEST(ShadowsManager, SubmenuStripsDoNotCoverTheMenu) {
  CXTPShadowsManager manager;
  CRect rcMenu(100, 100, 200, 400), rcSub(0, 150, 101, 250);
  Owner menu(rcMenu), sub(rcSub);
  manager.SetShadow(menu.Hwnd(), rcMenu, CRect(), FALSE, 0);
  manager.SetShadow(sub.Hwnd(), rcSub, CRect(), FALSE, 0);
  CXTPShadowWnd *pSubH = Strip(manager, sub.Hwnd(), TRUE);
  ASSERT_EQ(pSubH->GetWindowRectangle(), CRect(4, 250, 105, 254));
  HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(pSubH->GetSafeHwnd(), hRgn), ERROR);
  EXPECT_TRUE(::PtInRegion(hRgn, 50, 1)) << "x 54: below the submenu only";
  EXPECT_FALSE(::PtInRegion(hRgn, 98, 1)) << "x 102: over the menu";
  ::DeleteObject(hRgn);
  hRgn = ::CreateRectRgn(0, 0, 0, 0);
  CXTPShadowWnd *pSubV = Strip(manager, sub.Hwnd(), FALSE);
  ASSERT_NE(::GetWindowRgn(pSubV->GetSafeHwnd(), hRgn), ERROR);
  EXPECT_FALSE(::PtInRegion(hRgn, 2, 10)) << "the whole right strip lies over the menu";
  ::DeleteObject(hRgn);
}

TEST(ShadowsManager, ThemeShadowLeavesTheOpeningControlFree) {
  CXTPShadowsManager manager;
  CRect rcPopup(100, 120, 200, 300);
  CRect rcControl(90, 298, 180, 320); // a control the bottom strip would cross
  Owner popup(rcPopup);
  manager.SetShadow(popup.Hwnd(), rcPopup, rcControl, TRUE, 0);
  CXTPShadowWnd *pH = Strip(manager, popup.Hwnd(), TRUE);
  HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(pH->GetSafeHwnd(), hRgn), ERROR);
  EXPECT_FALSE(::PtInRegion(hRgn, 10, 1)) << "x 114: over the control";
  EXPECT_TRUE(::PtInRegion(hRgn, 90, 1)) << "x 194: past the control";
  ::DeleteObject(hRgn);
}

TEST(ShadowsManager, AlphaRampsNextToTheOwnerAndFadingOutwards) {
  const COLORREF clr = RGB(200, 100, 40);
  auto alpha = [](DWORD px) { return static_cast<int>(px >> 24); };
  // Vertical strip, 4 wide: column 0 touches the owner.
  auto v = CXTPShadowWnd::BuildBits(FALSE, 4, 20, clr, 2);
  EXPECT_EQ(alpha(v[10 * 4 + 0]), 120);
  EXPECT_EQ(alpha(v[10 * 4 + 1]), 90);
  EXPECT_EQ(alpha(v[10 * 4 + 3]), 30);
  EXPECT_EQ(v[10 * 4 + 0] & 0xFFFFFF, 0xC86428u) << "f = 1: the colour itself";
  EXPECT_EQ(v[10 * 4 + 2] & 0xFFFFFF, 0x643214u) << "f = 1/2";
  EXPECT_EQ(alpha(v[0]), 3 * 2 * 4 * 1) << "top corner fades towards the top";
  EXPECT_EQ(alpha(v[3 * 4 + 0]), 3 * 2 * 4 * 4);
  // Horizontal strip, theme shadow: row 0 touches the owner.
  auto h = CXTPShadowWnd::BuildBits(TRUE, 30, 4, clr, 1);
  EXPECT_EQ(alpha(h[0 * 30 + 10]), 60);
  EXPECT_EQ(alpha(h[3 * 30 + 10]), 15);
  EXPECT_EQ(alpha(h[0 * 30 + 0]), 3 * 1 * 1 * 4) << "left corner";
  EXPECT_EQ(alpha(h[0 * 30 + 29]), alpha(h[0 * 30 + 0])) << "mirrored at the right";
  EXPECT_EQ(alpha(h[0 * 30 + 26]), alpha(h[0 * 30 + 3]));
  // A strip of another thickness gets nothing drawn.
  auto bad = CXTPShadowWnd::BuildBits(FALSE, 2, 10, clr, 2);
  for (DWORD px : bad) EXPECT_EQ(px, 0u);
}

} // namespace
