// Toolbars in the bands of a rebar: a docked toolbar leaves its dock bar for
// a band named by its id; bands are found, read and dropped; a band whose
// child is not a toolbar is not taken for one; the frame lays the rebar out
// above its view.
#include <gtest/gtest.h>

#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPFrameWnd.h"
#include "XTPReBar.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310;

UINT BandId(HWND hReBar, int nBand) {
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_ID;
  if (!::SendMessageW(hReBar, RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&band)))
    return 0;
  return band.wID;
}

class ReBar : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CXTPFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(rebar.Create(pFrame));
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    ASSERT_TRUE(pStandard->LoadToolBar(kStandardId));
    pStandard->SetBarID(kStandardId);
    pSecond = pBars->Add(L"Second", xtpBarTop);
    ASSERT_TRUE(pSecond->LoadToolBar(kSecondId));
    pSecond->SetBarID(kSecondId);
    hView = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pFrame->GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                              nullptr);
    pFrame->SetWindowPos(nullptr, 20, 20, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
  }
  void TearDown() override {
    rebar.DestroyWindow();
    pFrame->DestroyWindow();
  }

  CXTPFrameWnd *pFrame = nullptr;
  CXTPReBar rebar;
  CXTPCommandBars *pBars = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
  HWND hView = nullptr;
};

TEST_F(ReBar, ADockedToolbarMovesIntoABandNamedByItsId) {
  ASSERT_NE(CXTPDockBar::FromBar(pStandard), nullptr);
  EXPECT_NE(pStandard->GetBarStyle() & 0x400000, 0u) << "a gripper while docked";
  ASSERT_TRUE(rebar.AddToolBar(pStandard));
  EXPECT_EQ(pBars->GetDockBar(xtpBarTop)->FindBar(pStandard), -1);
  EXPECT_EQ(pStandard->GetBarStyle() & 0x400000, 0u) << "the band has the gripper";
  EXPECT_EQ(pStandard->GetFlags(), 0u) << "no more docking";
  EXPECT_EQ(::GetParent(pStandard->GetSafeHwnd()), rebar.GetSafeHwnd());
  ASSERT_EQ(rebar.GetBandCount(), 1);
  EXPECT_EQ(BandId(rebar.GetSafeHwnd(), 0), kStandardId);
  EXPECT_EQ(rebar.GetToolBar(0), pStandard);
  EXPECT_EQ(rebar.FindBand(pStandard), 0);

  // The frame's view starts below the rebar.
  pFrame->RecalcLayout();
  CRect rcReBar, rcView;
  rebar.GetWindowRect(&rcReBar);
  ::GetWindowRect(hView, &rcView);
  EXPECT_GT(rcReBar.Height(), 0);
  EXPECT_GE(rcView.top, rcReBar.bottom);
}

TEST_F(ReBar, ABandsChildSizedMakesTheFrameFollowTheRebarsHeight) {
  ASSERT_TRUE(rebar.AddToolBar(pStandard));
  pFrame->RecalcLayout();
  CRect rcReBar, rcView;
  rebar.GetWindowRect(&rcReBar);
  const int nHeightBefore = rcReBar.Height();
  // The band's toolbar grows, as after a change of its icon size; the
  // rebar tells its parent that the child was sized.
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_CHILDSIZE;
  band.cyMinChild = nHeightBefore + 40;
  ASSERT_TRUE(::SendMessageW(rebar.GetSafeHwnd(), RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band)));
  NMREBARCHILDSIZE nm = {};
  nm.hdr.hwndFrom = rebar.GetSafeHwnd();
  nm.hdr.idFrom = kReBarId;
  nm.hdr.code = RBN_CHILDSIZE;
  ::SendMessageW(pFrame->GetSafeHwnd(), WM_NOTIFY, kReBarId, reinterpret_cast<LPARAM>(&nm));
  rebar.GetWindowRect(&rcReBar);
  ::GetWindowRect(hView, &rcView);
  EXPECT_GE(rcReBar.Height(), nHeightBefore + 40);
  EXPECT_GE(rcView.top, rcReBar.bottom) << "the view moved below the taller rebar";
}

TEST_F(ReBar, BandsAreFoundAndDroppedAndOtherChildrenAreNotToolbars) {
  ASSERT_TRUE(rebar.AddToolBar(pStandard));
  EXPECT_EQ(rebar.FindBand(pSecond), -1);
  rebar.DeleteToolBar(pSecond);
  EXPECT_EQ(rebar.GetBandCount(), 1) << "a toolbar not in the rebar drops nothing";

  HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20,
                                   rebar.GetSafeHwnd(), nullptr, nullptr, nullptr);
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
  band.hwndChild = hStatic;
  band.cyMinChild = 20;
  ASSERT_TRUE(::SendMessageW(rebar.GetSafeHwnd(), RB_INSERTBANDW, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(&band)));
  ASSERT_EQ(rebar.GetBandCount(), 2);
  EXPECT_EQ(rebar.GetToolBar(1), nullptr);
  EXPECT_EQ(rebar.GetToolBar(7), nullptr) << "no such band";

  ASSERT_TRUE(rebar.AddToolBar(pSecond));
  EXPECT_EQ(rebar.FindBand(pSecond), 2);
  rebar.DeleteToolBar(pStandard);
  EXPECT_EQ(rebar.GetBandCount(), 2);
  EXPECT_EQ(rebar.FindBand(pSecond), 1);
}

TEST_F(ReBar, TheCommandBarsHandTheirNewToolbarsToTheRebar) {
  CXTPToolBar *pCustom = pBars->AddCustomBar(L"Custom 1", 59392);
  ASSERT_NE(pCustom, nullptr);
  EXPECT_EQ(rebar.FindBand(pCustom), 0);
  EXPECT_EQ(BandId(rebar.GetSafeHwnd(), 0), 59392u);
  pBars->Remove(pCustom);
  EXPECT_EQ(rebar.GetBandCount(), 0);
}

} // namespace
