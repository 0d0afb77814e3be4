// The custom control: a window of the application's hosted on a toolbar,
// its size with borders, its place in the bar, shown and hidden with the
// control and the bar, its vertical options, mouse moves handed to the bar,
// copies sharing the window, the window destroyed under the control and its
// copy, and the window found again by its id when the control is loaded.
//
// No real cursor moves and no window is activated: the frame is shown off
// screen with activation refused.
#include <gtest/gtest.h>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBarList.h"
#include "XTPCommandBars.h"
#include "XTPControlCustom.h"
#include "XTPControls.h"
#include "XTPPropExchange.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

constexpr int kHostedId = 1234;
constexpr DWORD kDockedMode = LM_HORZ | LM_HORZDOCK | LM_COMMIT;
constexpr DWORD kVerticalMode = LM_VERTDOCK | LM_COMMIT;

BOOL HasVisibleStyle(HWND hWnd) {
  return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A frame shown off screen (never activated) with a toolbar along its top
// and a window of the application's to host.
class ControlCustom : public ::testing::Test {
protected:
  void SetUp() override {
    m_hWndFrame = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC", L"frame", WS_POPUP, -3000,
                                    -3000, 600, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_hWndFrame, nullptr);
    m_hWndHosted = ::CreateWindowExW(0, L"STATIC", L"hosted", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                     m_hWndFrame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHostedId)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_hWndHosted, nullptr);
    m_pBar = new CXTPToolBar;
    m_pBar->SetPaintManager(new CXTPDefaultTheme);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(CWnd::FromHandle(m_hWndFrame), FALSE));
    m_pBar->SetVisible(TRUE);
    m_pBar->GetControls()->Add(xtpControlButton, 101);
    m_pCustom = static_cast<CXTPControlCustom *>(m_pBar->GetControls()->Add(xtpControlCustom, 102));
    m_pBar->GetControls()->Add(xtpControlButton, 103);
    ::SetWindowPos(m_hWndFrame, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  void TearDown() override {
    m_pBar->CancelTracking();
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    if (::IsWindow(m_hWndHosted)) ::DestroyWindow(m_hWndHosted);
    ::DestroyWindow(m_hWndFrame);
  }
  CSize Layout(DWORD dwMode = kDockedMode) { return m_pBar->CalcDockedLayout(32000, dwMode); }
  // What a plain button of the same command measures on this bar.
  CSize ButtonSize() {
    CXTPControl *pButton = m_pBar->GetControls()->Add(xtpControlButton, 102);
    ScreenDC dc;
    const CSize sz = pButton->GetSize(dc.Get());
    m_pBar->GetControls()->Remove(pButton);
    return sz;
  }
  CRect HostedRectInBar() const {
    CRect rc;
    ::GetWindowRect(m_hWndHosted, &rc);
    ::MapWindowPoints(nullptr, m_pBar->GetSafeHwnd(), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }

  struct ScreenDC {
    ScreenDC() : hDC(::GetDC(nullptr)) {}
    ~ScreenDC() { ::ReleaseDC(nullptr, hDC); }
    CDC *Get() const { return CDC::FromHandle(hDC); }
    HDC hDC;
  };

  HWND m_hWndFrame = nullptr;
  HWND m_hWndHosted = nullptr;
  CXTPToolBar *m_pBar = nullptr;
  CXTPControlCustom *m_pCustom = nullptr;
};

TEST_F(ControlCustom, WithoutAWindowItIsAButton) {
  ScreenDC dc;
  EXPECT_FALSE(m_pCustom->HasWindow());
  EXPECT_EQ(m_pCustom->GetSize(dc.Get()), ButtonSize());
  EXPECT_EQ(m_pCustom->GetType(), xtpControlButton);
  EXPECT_EQ(m_pCustom->GetFlags(), static_cast<DWORD>(xtpFlagNoMovable));
}

TEST_F(ControlCustom, BordersAroundTheWindowGiveTheControlItsSizeAndTheWindowItsPlace) {
  m_pCustom->SetControl(m_hWndHosted);
  m_pCustom->SetBorders(CRect(2, 3, 4, 5));
  EXPECT_EQ(m_pCustom->GetControlId(), kHostedId);
  EXPECT_EQ(m_pCustom->GetControlSize(), CSize(100, 20));
  ScreenDC dc;
  EXPECT_EQ(m_pCustom->GetSize(dc.Get()), CSize(106, 28));
  Layout();
  const CRect rcControl = m_pCustom->GetRect();
  EXPECT_EQ(rcControl.Size(), CSize(106, 28));
  EXPECT_EQ(::GetParent(m_hWndHosted), m_pBar->GetSafeHwnd()) << "the bar took the window";
  EXPECT_EQ(HostedRectInBar(),
            CRect(rcControl.left + 2, rcControl.top + 3, rcControl.left + 102, rcControl.top + 23));
  EXPECT_TRUE(::IsWindowVisible(m_hWndHosted));
  // Its neighbour follows the wider control.
  EXPECT_GE(m_pBar->GetControl(2)->GetRect().left, rcControl.right);
}

TEST_F(ControlCustom, ShownAndHiddenWithTheControlAndTheBar) {
  m_pCustom->SetControl(m_hWndHosted);
  Layout();
  ASSERT_TRUE(::IsWindowVisible(m_hWndHosted));
  m_pCustom->SetHideFlags(xtpHideCustomize);
  EXPECT_FALSE(HasVisibleStyle(m_hWndHosted));
  m_pCustom->SetHideFlags(0);
  EXPECT_TRUE(HasVisibleStyle(m_hWndHosted));

  m_pBar->SetVisible(FALSE);
  EXPECT_FALSE(::IsWindowVisible(m_hWndHosted)) << "a child of the hidden bar";
  m_pBar->SetVisible(TRUE);
  EXPECT_TRUE(::IsWindowVisible(m_hWndHosted));
}

TEST_F(ControlCustom, OnAVerticalBarEachOptionKeepsWhatItSays) {
  ScreenDC dc;
  const struct {
    int nMode;
    BOOL bControlShown;
    BOOL bWindowShown;
    BOOL bButton; // measured as a button
  } kCases[] = {
      {xtpVerticalHide, FALSE, FALSE, FALSE},
      {xtpVerticalShow, TRUE, TRUE, FALSE},
      {xtpVerticalButton, TRUE, FALSE, TRUE},
  };
  m_pCustom->SetControl(m_hWndHosted);
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nMode);
    m_pCustom->SetVerticalPositionOption(c.nMode);
    Layout(kVerticalMode);
    EXPECT_EQ(m_pCustom->IsVisible(), c.bControlShown);
    EXPECT_EQ(HasVisibleStyle(m_hWndHosted), c.bWindowShown);
    if (c.bButton) {
      EXPECT_EQ(m_pCustom->GetSize(dc.Get()), ButtonSize());
    }
    // Back on a horizontal bar the window comes back.
    Layout();
    EXPECT_TRUE(m_pCustom->IsVisible());
    EXPECT_TRUE(HasVisibleStyle(m_hWndHosted));
    EXPECT_EQ(m_pCustom->GetSize(dc.Get()), CSize(100, 20));
  }
}

TEST_F(ControlCustom, DisablingTheControlDisablesItsWindow) {
  m_pCustom->SetControl(m_hWndHosted);
  m_pCustom->SetEnabled(FALSE);
  EXPECT_FALSE(::IsWindowEnabled(m_hWndHosted));
  m_pCustom->SetEnabled(TRUE);
  EXPECT_TRUE(::IsWindowEnabled(m_hWndHosted));
}

TEST_F(ControlCustom, MouseMovesOverTheWindowReachTheBar) {
  m_pCustom->SetControl(m_hWndHosted);
  EXPECT_TRUE(XTPHookManager()->IsHooked(m_hWndHosted, m_pCustom));
  Layout();
  m_pBar->SetTrackingMode(1, FALSE, FALSE);
  ASSERT_NE(m_pBar->GetSelectedIndex(), m_pCustom->GetIndex());
  ::SendMessageW(m_hWndHosted, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(m_pBar->GetSelectedIndex(), m_pCustom->GetIndex()) << "the bar hot-tracks the control";
}

TEST_F(ControlCustom, ClicksOnAVisibleWindowAreNotTheButtons) {
  int nExecuted = 0;
  MessageSite site;
  site.answer = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == WM_COMMAND && LOWORD(wParam) == 102) nExecuted++;
    return 0;
  };
  m_pBar->SetOwnerWindow(site.GetHwnd());
  m_pCustom->SetFlags(m_pCustom->GetFlags() | xtpFlagManualUpdate);
  m_pCustom->SetControl(m_hWndHosted);
  Layout();
  m_pCustom->OnExecute();
  ASSERT_EQ(nExecuted, 1) << "the site hears the command";
  nExecuted = 0;
  m_pCustom->OnLButtonUp(m_pCustom->GetRect().CenterPoint());
  m_pCustom->OnClick(TRUE);
  EXPECT_EQ(nExecuted, 0);
}

TEST_F(ControlCustom, ACustomiseDragDropsItOnlyOntoAPopupBar) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup);
  DWORD dwEffect = DROPEFFECT_COPY;
  EXPECT_TRUE(m_pCustom->IsCustomizeDragOverAvail(&popup, CPoint(5, 5), dwEffect));
  EXPECT_EQ(dwEffect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_FALSE(m_pCustom->IsCustomizeDragOverAvail(m_pBar, CPoint(5, 5), dwEffect));
  EXPECT_EQ(dwEffect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST_F(ControlCustom, ACopySharesTheWindowAndBothOutliveIt) {
  m_pCustom->SetControl(m_hWndHosted);
  m_pCustom->SetBorders(CRect(1, 1, 1, 1));
  m_pCustom->SetVerticalPositionOption(xtpVerticalButton);
  Layout();
  auto *pCopy = static_cast<CXTPControlCustom *>(m_pCustom->Clone());
  ASSERT_TRUE(pCopy->IsKindOf(RUNTIME_CLASS(CXTPControlCustom)));
  EXPECT_EQ(pCopy->GetControlHandle(), m_hWndHosted);
  EXPECT_EQ(pCopy->GetControlId(), kHostedId);
  EXPECT_EQ(pCopy->GetBorders(), CRect(1, 1, 1, 1));
  EXPECT_EQ(pCopy->GetVerticalPositionOption(), xtpVerticalButton);
  EXPECT_TRUE(pCopy->Compare(m_pCustom));
  EXPECT_TRUE(XTPHookManager()->IsHooked(m_hWndHosted, pCopy)) << "the copy forwards mouse moves too";

  // The application destroys the window: neither control may touch it.
  ::DestroyWindow(m_hWndHosted);
  ScreenDC dc;
  const CSize szButton = ButtonSize();
  for (CXTPControlCustom *pControl : {m_pCustom, pCopy}) {
    EXPECT_FALSE(pControl->HasWindow());
    EXPECT_EQ(pControl->GetControl(), nullptr);
    if (pControl->GetParent()) {
      EXPECT_EQ(pControl->GetSize(dc.Get()), szButton) << "falls back to a button";
    }
    pControl->SetEnabled(FALSE);
    pControl->SetHideFlags(xtpHideCustomize);
    pControl->SetHideFlags(0);
    pControl->OnCalcDynamicSize(kVerticalMode);
    pControl->SetRect(CRect(1, 2, 30, 40));
    pControl->Draw(dc.Get());
  }
  Layout();
  m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  pCopy->InternalRelease();
}

TEST_F(ControlCustom, DestroyingTheControlLeavesTheWindowAlone) {
  m_pCustom->SetControl(m_hWndHosted);
  Layout();
  m_pBar->GetControls()->Remove(m_pCustom);
  EXPECT_TRUE(::IsWindow(m_hWndHosted));
  EXPECT_FALSE(XTPHookManager()->IsHooked(m_hWndHosted));
  ::SendMessageW(m_hWndHosted, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
}

TEST_F(ControlCustom, HostingAnotherWindowLetsTheFirstGo) {
  HWND hWndOther = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 40, 10, m_hWndFrame, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
  m_pCustom->SetControl(m_hWndHosted);
  m_pCustom->SetControl(hWndOther);
  EXPECT_FALSE(XTPHookManager()->IsHooked(m_hWndHosted, m_pCustom));
  EXPECT_TRUE(XTPHookManager()->IsHooked(hWndOther, m_pCustom));
  EXPECT_EQ(m_pCustom->GetControlSize(), CSize(40, 10));
  m_pCustom->SetControl(static_cast<HWND>(nullptr));
  EXPECT_FALSE(m_pCustom->HasWindow());
  ::DestroyWindow(hWndOther);
}

// Saved with a schema, loaded into a control of a bar whose command bars
// have the frame as their site.
TEST_F(ControlCustom, LoadingFindsTheWindowByItsIdFromSchemaSixOn) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetSite(CWnd::FromHandle(m_hWndFrame));
  m_pBar->SetCommandBars(pCommandBars);
  const struct {
    UINT nSchema;
    BOOL bFound;
  } kCases[] = {{8, TRUE}, {6, TRUE}, {5, FALSE}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nSchema);
    CXTPControlCustom saved;
    saved.SetControl(m_hWndHosted);
    saved.SetBorders(CRect(2, 3, 4, 5));
    saved.SetVerticalPositionOption(xtpVerticalShow);
    // As an older archive stored it: with a type of its own.
    saved.SetType(xtpControlCustom);
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      CXTPPropExchangeArchive px(ar);
      px.m_nSchema = c.nSchema;
      saved.DoPropExchange(&px);
      ar.Close();
    }
    file.SeekToBegin();
    auto *pLoaded = static_cast<CXTPControlCustom *>(m_pBar->GetControls()->Add(xtpControlCustom, 0));
    {
      CArchive ar(&file, CArchive::load);
      CXTPPropExchangeArchive px(ar);
      px.m_nSchema = c.nSchema;
      pLoaded->DoPropExchange(&px);
    }
    EXPECT_EQ(pLoaded->GetBorders(), CRect(2, 3, 4, 5));
    EXPECT_EQ(pLoaded->GetVerticalPositionOption(), xtpVerticalShow);
    EXPECT_EQ(pLoaded->GetControlSize(), CSize(100, 20));
    EXPECT_EQ(pLoaded->GetControlHandle(), c.bFound ? m_hWndHosted : nullptr);
    EXPECT_EQ(pLoaded->GetType(), xtpControlButton);
    m_pBar->GetControls()->Remove(pLoaded);
  }
  m_pBar->SetCommandBars(nullptr);
  pCommandBars->InternalRelease();
}

// Read from the command bars' archive, a control not yet on a bar finds its
// window through the command bars the archive is read for.
TEST_F(ControlCustom, LoadedFromTheArchiveItFindsItsWindowThroughTheArchivesCommandBars) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetSite(CWnd::FromHandle(m_hWndFrame));
  CXTPCommandBarsExchangeParam param;
  param.pCommandBars = pCommandBars;
  CMemFile file;
  {
    CXTPControlCustom saved;
    saved.SetControl(m_hWndHosted);
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
    saved.DoPropExchange(&px);
    ar.Close();
  }
  file.SeekToBegin();
  auto *pLoaded = static_cast<CXTPControlCustom *>(RUNTIME_CLASS(CXTPControlCustom)->CreateObject());
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
    pLoaded->DoPropExchange(&px);
  }
  EXPECT_EQ(pLoaded->GetParent(), nullptr);
  EXPECT_EQ(pLoaded->GetControlHandle(), m_hWndHosted);
  EXPECT_TRUE(XTPHookManager()->IsHooked(m_hWndHosted, pLoaded));
  pLoaded->InternalRelease();
  pCommandBars->InternalRelease();
}

} // namespace
