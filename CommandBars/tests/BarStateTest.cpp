// The command bars' layout and options through the user's real profile: a
// frame closed with its bars moved, floated and hidden comes back the same;
// damaged and hostile stored values load without a crash or a hang; a layout
// from a larger screen comes back scaled into view.
#include <gtest/gtest.h>

#include <climits>

#include "Archive.h"
#include "StatusBar.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDialogBar.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPDockState.h"
#include "XTPFrameWnd.h"
#include "XTPMenuBar.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310;
constexpr wchar_t kProfile[] = L"CommandBars";
const wchar_t kCompanyKey[] = L"Software\\QvBarStateTestCompany";
const wchar_t kAppKey[] = L"Software\\QvBarStateTestCompany\\QvBarStateTest";

class BarStateApp : public CWinApp {
public:
  BarStateApp() : CWinApp(L"QvBarStateTest") { SetRegistryKey(L"QvBarStateTestCompany"); }
};
BarStateApp theApp;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// The program's frame as it starts: menu bar, two toolbars on top, a status bar.
struct TestFrame {
  TestFrame() {
    pFrame = new CXTPFrameWnd; // frames delete themselves when destroyed
    // Without a caption the window manager leaves the frame alone, and
    // hiding it does not wait for one.
    if (!pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER)) return;
    status.Create(pFrame);
    pFrame->InitCommandBars();
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pBars->SetMenu(L"Menu Bar", kMenuId);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    pStandard->LoadToolBar(kStandardId);
    pStandard->SetBarID(kStandardId);
    pSecond = pBars->Add(L"Second", xtpBarTop);
    pSecond->LoadToolBar(kSecondId);
    pSecond->SetBarID(kSecondId);
    pFrame->SetWindowPos(nullptr, 20, 20, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
  }
  ~TestFrame() {
    Pump();
    status.DestroyWindow();
    pFrame->DestroyWindow();
  }
  int DockOf(CXTPCommandBar *pBar) const {
    CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar);
    return pDockBar ? pDockBar->GetPosition() : -1;
  }
  CPoint ScreenTopLeft(CXTPCommandBar *pBar) const {
    CRect rc;
    pBar->GetWindowRect(&rc);
    return rc.TopLeft();
  }

  CXTPFrameWnd *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
  CStatusBar status;
};

class BarState : public testing::Test {
protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey); }
  static void WriteInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    theApp.WriteProfileInt(lpszSection, lpszEntry, nValue);
  }
  static bool ValueExists(LPCWSTR lpszSection, LPCWSTR lpszEntry) {
    CString strKey;
    strKey.Format(L"%s\\%s", kAppKey, lpszSection);
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, strKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    const bool bExists =
        ::RegQueryValueExW(hKey, lpszEntry, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
    return bExists;
  }
};

TEST_F(BarState, BarsMovedFloatedAndHiddenComeBackAfterARestart) {
  CPoint ptFloat;
  {
    TestFrame frame;
    ASSERT_NE(frame.pBars, nullptr);
    ASSERT_TRUE(frame.pBars->DockCommandBarAtPosition(frame.pSecond, xtpBarLeft));
    ASSERT_TRUE(frame.pBars->FloatCommandBar(frame.pStandard));
    frame.pStandard->SetWindowPos(nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ptFloat = frame.ScreenTopLeft(frame.pStandard);
    frame.pFrame->ShowControlBar(&frame.status, FALSE, FALSE);
    frame.pBars->SaveBarState(kProfile);
    // A hidden status bar is remembered as such, a shown one by no value.
    EXPECT_EQ(theApp.GetProfileInt(kProfile, L"StatusBar", 7), 0u);
  }
  {
    TestFrame frame;
    ASSERT_EQ(frame.DockOf(frame.pSecond), xtpBarTop);
    ASSERT_TRUE(frame.status.IsWindowVisible());
    frame.pBars->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    EXPECT_EQ(frame.DockOf(frame.pSecond), xtpBarLeft);
    EXPECT_TRUE(frame.pSecond->IsVisible());
    EXPECT_EQ(frame.pStandard->GetPosition(), xtpBarFloating);
    EXPECT_EQ(frame.DockOf(frame.pStandard), -1);
    EXPECT_EQ(frame.ScreenTopLeft(frame.pStandard), ptFloat);
    EXPECT_TRUE(frame.pStandard->IsVisible());
    EXPECT_FALSE(frame.status.IsWindowVisible()) << "a hidden status bar stays hidden";

    // Hidden and docked again at the bottom, then shown status bar.
    frame.pBars->DockCommandBarAtPosition(frame.pStandard, xtpBarBottom);
    frame.pStandard->SetVisible(FALSE);
    frame.pFrame->ShowControlBar(&frame.status, TRUE, FALSE);
    frame.pBars->SaveBarState(kProfile);
    EXPECT_FALSE(ValueExists(kProfile, L"StatusBar"));
  }
  {
    TestFrame frame;
    frame.pBars->LoadBarState(kProfile);
    EXPECT_EQ(frame.DockOf(frame.pStandard), xtpBarBottom);
    EXPECT_FALSE(frame.pStandard->IsVisible());
    EXPECT_FALSE(frame.pStandard->IsWindowVisible());
    EXPECT_EQ(frame.DockOf(frame.pSecond), xtpBarLeft);
    EXPECT_TRUE(frame.status.IsWindowVisible());
  }
}

// Two bars of one row, the second dragged right: after a restart they stand
// in the same order at the same places, and the dock context remembers the
// places a double click goes back to.
TEST_F(BarState, BarsOfOneRowKeepTheirOrderAndPlaces) {
  CPoint ptStandard, ptSecond;
  CRect rcMRUDock;
  {
    TestFrame frame;
    ASSERT_NE(frame.pBars, nullptr);
    CXTPDockBar *pTop = frame.pBars->GetDockBar(xtpBarTop);
    ASSERT_NE(pTop, nullptr);
    // Second joins Standard's row, far to its right.
    CRect rcStandard, rcSecond;
    frame.pStandard->GetWindowRect(&rcStandard);
    frame.pSecond->GetWindowRect(&rcSecond);
    const CRect rcTarget(CPoint(rcStandard.left + 380, rcStandard.top), rcSecond.Size());
    pTop->DockCommandBar(frame.pSecond, &rcTarget);
    frame.pFrame->RecalcLayout();
    frame.pStandard->GetWindowRect(&rcStandard);
    frame.pSecond->GetWindowRect(&rcSecond);
    ASSERT_EQ(rcSecond.top, rcStandard.top) << "one row";
    ASSERT_GT(rcSecond.left, rcStandard.right + 100) << "a gap between them";
    ptStandard = rcStandard.TopLeft();
    ptSecond = rcSecond.TopLeft();
    CXTPDockContext *pContext = frame.pSecond->GetDockingContext();
    ASSERT_NE(pContext, nullptr);
    pContext->m_ptMRUFloatPos = CPoint(210, 170);
    frame.pBars->SaveBarState(kProfile);
    rcMRUDock = rcSecond;
    pTop->ScreenToClient(&rcMRUDock);
  }
  {
    TestFrame frame;
    frame.pBars->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    EXPECT_EQ(frame.ScreenTopLeft(frame.pStandard), ptStandard);
    EXPECT_EQ(frame.ScreenTopLeft(frame.pSecond), ptSecond) << "not packed against Standard";
    CXTPDockContext *pContext = frame.pSecond->GetDockingContext();
    ASSERT_NE(pContext, nullptr);
    EXPECT_EQ(pContext->m_uMRUDockID, xtpBarTop);
    EXPECT_EQ(pContext->m_rectMRUDockPos, rcMRUDock);
    EXPECT_EQ(pContext->m_ptMRUFloatPos, CPoint(210, 170));
  }
}

// A dialog bar's two client sizes come back with its place.
TEST_F(BarState, ADialogBarKeepsItsDockedAndFloatingSizes) {
  constexpr UINT kDialogBarId = 320;
  auto addDialogBar = [](TestFrame &frame) {
    auto *pBar = static_cast<CXTPDialogBar *>(
        frame.pBars->AddToolBar(L"Folders", xtpBarLeft, RUNTIME_CLASS(CXTPDialogBar)));
    if (pBar) pBar->SetBarID(kDialogBarId);
    return pBar;
  };
  {
    TestFrame frame;
    CXTPDialogBar *pBar = addDialogBar(frame);
    ASSERT_NE(pBar, nullptr);
    pBar->SetDockingClientSize(CSize(150, 260));
    pBar->SetFloatingClientSize(CSize(230, 120));
    frame.pBars->SaveBarState(kProfile);
  }
  TestFrame frame;
  CXTPDialogBar *pBar = addDialogBar(frame);
  ASSERT_NE(pBar, nullptr);
  ASSERT_EQ(pBar->GetDockingClientSize(), CSize(200, 200));
  frame.pBars->LoadBarState(kProfile);
  EXPECT_EQ(pBar->GetDockingClientSize(), CSize(150, 260));
  EXPECT_EQ(pBar->GetFloatingClientSize(), CSize(230, 120));
  EXPECT_EQ(frame.DockOf(pBar), xtpBarLeft);
}

TEST_F(BarState, ARecordWritesOnlyWhatDiffersFromItsDefaults) {
  CXTPBarInfo info;
  info.m_nBarID = 42;
  info.m_bVisible = TRUE;
  info.SaveState(kProfile, 0);
  const wchar_t *const kWritten[] = {L"BarID",         L"MRUDockID",       L"MRUDockLeftPos",
                                     L"MRUDockTopPos", L"MRUDockRightPos", L"MRUDockBottomPos",
                                     L"MRUFloatXPos",  L"MRUFloatYPos",    L"DialogBar"};
  const wchar_t *const kLeftOut[] = {L"Visible", L"Floating", L"XPos",
                                     L"YPos",    L"MRUWidth", L"DialogBarDockingClientCx"};
  for (const wchar_t *lpszEntry : kWritten)
    EXPECT_TRUE(ValueExists(L"CommandBars-Bar0", lpszEntry)) << lpszEntry;
  for (const wchar_t *lpszEntry : kLeftOut)
    EXPECT_FALSE(ValueExists(L"CommandBars-Bar0", lpszEntry)) << lpszEntry;
}

TEST_F(BarState, DockBarsStoreOneEndForEveryRowAndNothingForASingleEntry) {
  TestFrame frame;
  frame.pBars->SaveBarState(kProfile);
  // Top: menu bar, end, Standard, end, Second, end, after the leading end.
  EXPECT_EQ(theApp.GetProfileInt(L"CommandBars-DockBar0", L"Bars", 0), 7u);
  const int kTop[] = {0, 1, 0, static_cast<int>(kStandardId), 0, static_cast<int>(kSecondId), 0};
  for (int k = 0; k < 7; k++) {
    CString strEntry;
    strEntry.Format(L"Bar#%d", k);
    EXPECT_EQ(static_cast<int>(theApp.GetProfileInt(L"CommandBars-DockBar0", strEntry, -1)), kTop[k]) << k;
  }
  // An empty dock bar holds only its leading end.
  EXPECT_FALSE(ValueExists(L"CommandBars-DockBar2", L"Bars"));
}

TEST_F(BarState, DamagedAndHostileValuesLoadWithoutHarm) {
  // Counts far beyond what is stored, ids of no bar, a bar listed twice and
  // in two dock bars, empty rows in a row, a stored screen of 0 x 0.
  WriteInt(L"CommandBars-Summary", L"Bars", INT_MAX);
  WriteInt(L"CommandBars-Summary", L"ScreenCX", 0);
  WriteInt(L"CommandBars-Summary", L"ScreenCY", 0);
  WriteInt(L"CommandBars-Bar0", L"BarID", 999);
  WriteInt(L"CommandBars-Bar0", L"Floating", 1);
  WriteInt(L"CommandBars-Bar1", L"BarID", static_cast<int>(kSecondId));
  WriteInt(L"CommandBars-Bar1", L"XPos", INT_MIN + 1);
  const int kLeft[] = {0, 0, 0, static_cast<int>(kSecondId), 0, 0, 999, static_cast<int>(kSecondId), 0};
  WriteInt(L"CommandBars-DockBar2", L"Bars", INT_MAX);
  for (int k = 0; k < 9; k++) {
    CString strEntry;
    strEntry.Format(L"Bar#%d", k);
    WriteInt(L"CommandBars-DockBar2", strEntry, kLeft[k]);
  }
  WriteInt(L"CommandBars-DockBar3", L"Bars", 2);
  WriteInt(L"CommandBars-DockBar3", L"Bar#0", static_cast<int>(kSecondId));
  // A set of hidden commands whose count claims far more than it holds.
  HKEY hOptions = nullptr;
  CString strOptions;
  strOptions.Format(L"%s\\CommandBars-Options", kAppKey);
  ASSERT_EQ(
      ::RegCreateKeyExW(HKEY_CURRENT_USER, strOptions, 0, nullptr, 0, KEY_WRITE, nullptr, &hOptions, nullptr),
      ERROR_SUCCESS);
  const BYTE hostile[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x2D, 0x01, 0, 0, 1, 0, 0, 0};
  ::RegSetValueExW(hOptions, L"HiddenCommands", 0, REG_BINARY, hostile, sizeof(hostile));
  const BYTE shortSet[] = {0x01};
  ::RegSetValueExW(hOptions, L"UsedCommands", 0, REG_BINARY, shortSet, sizeof(shortSet));
  ::RegSetValueExW(hOptions, L"IconsSize", 0, REG_BINARY, shortSet, sizeof(shortSet));
  ::RegCloseKey(hOptions);

  TestFrame frame;
  const UINT kHidden[] = {301};
  frame.pBars->HideCommands(kHidden, 1);
  frame.pBars->LoadOptions(kProfile);
  frame.pBars->LoadBarState(kProfile);
  frame.pFrame->RecalcLayout();
  CXTPCommandBarsOptions *pOptions = frame.pBars->GetCommandBarsOptions();
  EXPECT_EQ(pOptions->m_mapHiddenCommands, std::set<UINT>{301}) << "a damaged set leaves the set as it was";
  EXPECT_TRUE(pOptions->m_mapUsedCommands.empty());
  EXPECT_EQ(pOptions->szIcons, CSize(0, 0));

  // Dock bars load left, then right: the right one, listing Second last,
  // keeps it; the left one is left without empty rows.
  EXPECT_EQ(frame.DockOf(frame.pSecond), xtpBarRight);
  const std::vector<CXTPCommandBar *> &entries = frame.pBars->GetDockBar(xtpBarLeft)->GetEntries();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front(), nullptr);
  EXPECT_EQ(entries.back(), nullptr);
  for (size_t i = 1; i < entries.size(); i++)
    EXPECT_FALSE(entries[i] == nullptr && entries[i - 1] == nullptr) << "two row ends in a row at " << i;
  EXPECT_EQ(std::count(entries.begin(), entries.end(), frame.pSecond), 0);
  const std::vector<CXTPCommandBar *> &right = frame.pBars->GetDockBar(xtpBarRight)->GetEntries();
  EXPECT_EQ(right, (std::vector<CXTPCommandBar *>{nullptr, frame.pSecond, nullptr}));
  EXPECT_TRUE(frame.pSecond->IsVisible());
}

TEST_F(BarState, ALayoutFromALargerScreenIsScaledIntoView) {
  const struct {
    CSize szStored;
    CPoint point;
    CPoint expected;
  } cases[] = {
      // MulDiv rounds 1000 * 800 / 1024 to 781; the clamp then takes x to 768.
      {CSize(1024, 768), CPoint(1000, 700), CPoint(768, 547)},
      {CSize(1024, 768), CPoint(100, 50), CPoint(78, 39)},
      {CSize(800, 600), CPoint(790, 10), CPoint(768, 10)},
      // Nothing to scale by: MulDiv answers -1.
      {CSize(0, 0), CPoint(100, 100), CPoint(-1, -1)},
      // Small and negative values are not raised.
      {CSize(800, 600), CPoint(-30, -40), CPoint(-30, -40)},
  };
  for (const auto &c : cases) {
    CXTPDockState state;
    state.SetScreenSizes(c.szStored, CSize(800, 600));
    state.m_rectClip = CRect(0, 0, 800 - 32, 600 - 32);
    CPoint point = c.point;
    state.ScalePoint(point);
    EXPECT_EQ(point, c.expected) << c.szStored.cx << " " << c.point.x << "," << c.point.y;
  }
  CXTPDockState state;
  state.SetScreenSizes(CSize(1024, 768), CSize(800, 600));
  state.m_rectClip = CRect(0, 0, 768, 568);
  CRect rect(900, 700, 1000, 760);
  state.ScaleRectPos(rect);
  EXPECT_EQ(rect, CRect(703, 547, 803, 607)) << "moved, not resized";

  // Through the profile: a floating bar saved on a screen twice as large.
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  WriteInt(L"CommandBars-Summary", L"Bars", 1);
  WriteInt(L"CommandBars-Summary", L"ScreenCX", 2 * cx);
  WriteInt(L"CommandBars-Summary", L"ScreenCY", 2 * cy);
  WriteInt(L"CommandBars-Bar0", L"BarID", static_cast<int>(kStandardId));
  WriteInt(L"CommandBars-Bar0", L"Floating", 1);
  WriteInt(L"CommandBars-Bar0", L"XPos", 400);
  WriteInt(L"CommandBars-Bar0", L"YPos", 300);
  TestFrame frame;
  frame.pBars->LoadBarState(kProfile);
  EXPECT_EQ(frame.pStandard->GetPosition(), xtpBarFloating);
  EXPECT_EQ(frame.ScreenTopLeft(frame.pStandard), CPoint(200, 150));
}

TEST_F(BarState, APointNoMonitorHoldsComesIntoTheNearestWorkArea) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(CPoint(0, 0), MONITOR_DEFAULTTOPRIMARY), &info));
  const CRect rcWork(info.rcWork);
  const struct {
    CPoint point;
    CPoint expected;
  } cases[] = {
      {CPoint(-5000, -5000), rcWork.TopLeft()},
      {CPoint(-5000, rcWork.top + 10), CPoint(rcWork.left, rcWork.top + 10)},
      {CPoint(rcWork.left + 5, rcWork.top + 6), CPoint(rcWork.left + 5, rcWork.top + 6)},
  };
  for (const auto &c : cases) {
    CPoint point = c.point;
    CXTPDockState::BringOntoMonitor(point);
    EXPECT_EQ(point, c.expected) << c.point.x << "," << c.point.y;
  }
}

// Which options the profile holds: what the user chooses; the program's own
// settings (icon sizes and looks, hidden commands, dragging and floating)
// stay out of it.
TEST_F(BarState, TheProfileHoldsOnlyTheUsersOptions) {
  CXTPCommandBars bars;
  bars.SetPaintManager(new CXTPDefaultTheme);
  CXTPCommandBarsOptions *pOptions = bars.GetCommandBarsOptions();
  // Every option away from its default, so that a stored key shows.
  pOptions->bAlwaysShowFullMenus = FALSE;
  pOptions->bShowFullAfterDelay = FALSE;
  pOptions->bToolBarScreenTips = FALSE;
  pOptions->bToolBarAccelTips = TRUE;
  pOptions->bLargeIcons = TRUE;
  pOptions->animationType = 4;
  pOptions->bSyncFloatingBars = FALSE;
  pOptions->bShowExpandButtonAlways = FALSE;
  pOptions->bDblClickFloat = TRUE;
  pOptions->bShowTextBelowIcons = TRUE;
  pOptions->bAltDragCustomization = FALSE;
  pOptions->bAutoHideUnusedPopups = FALSE;
  pOptions->szIcons = CSize(24, 24);
  pOptions->szLargeIcons = CSize(32, 32);
  pOptions->szPopupIcons = CSize(20, 20);
  const UINT kHidden[] = {301, 302};
  bars.HideCommands(kHidden, 2);
  bars.SetCommandUsed(302);
  bars.GetPaintManager()->GetIconsInfo()->bIconsWithShadow = TRUE;
  bars.GetPaintManager()->GetIconsInfo()->bUseDisabledIcons = TRUE;
  bars.GetPaintManager()->GetIconsInfo()->bUseFadedIcons = TRUE;
  bars.SaveOptions(kProfile);
  const struct {
    const wchar_t *pszKey;
    bool bStored;
  } kKeys[] = {
      {L"Schema", true},
      {L"AlwaysShowFullMenus", true},
      {L"ShowFullAfterDelay", true},
      {L"ToolBarScreenTips", true},
      {L"ToolBarAccelTips", true},
      {L"LargeIcons", true},
      {L"UsedCommands", true},
      {L"Animation", true},
      {L"HiddenCommands", false},
      {L"IconsSize", false},
      {L"LargeIconsSize", false},
      {L"PopupIconsSize", false},
      {L"SyncFloatingBars", false},
      {L"ShowExpandButtonAlways", false},
      {L"DblClickFloat", false},
      {L"ShowTextBelowIcons", false},
      {L"AltDragCustomization", false},
      {L"AutoHideUnusedPopups", false},
      {L"IconsWithShadow", false},
      {L"UseDisabledIcons", false},
      {L"UseFadedIcons", false},
  };
  for (const auto &k : kKeys) EXPECT_EQ(ValueExists(L"CommandBars-Options", k.pszKey), k.bStored) << k.pszKey;
  EXPECT_EQ(theApp.GetProfileInt(L"CommandBars-Options", L"Schema", 0), 8u);

  // An archive carries them all, the icon looks of the paint manager too.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    pOptions->Serialize(ar);
  }
  file.SeekToBegin();
  CXTPCommandBars other;
  other.SetPaintManager(new CXTPDefaultTheme);
  {
    CArchive ar(&file, CArchive::load);
    other.GetCommandBarsOptions()->Serialize(ar);
  }
  CXTPCommandBarsOptions *pLoaded = other.GetCommandBarsOptions();
  EXPECT_EQ(pLoaded->m_mapHiddenCommands, (std::set<UINT>{301, 302}));
  EXPECT_EQ(pLoaded->m_mapUsedCommands, std::set<UINT>{302});
  EXPECT_EQ(pLoaded->szPopupIcons, CSize(20, 20));
  EXPECT_EQ(pLoaded->szLargeIcons, CSize(32, 32));
  EXPECT_TRUE(pLoaded->bDblClickFloat);
  EXPECT_FALSE(pLoaded->bAltDragCustomization);
  EXPECT_EQ(pLoaded->animationType, 4);
  EXPECT_TRUE(other.GetPaintManager()->GetIconsInfo()->bIconsWithShadow);
  EXPECT_TRUE(other.GetPaintManager()->GetIconsInfo()->bUseFadedIcons);
}

TEST_F(BarState, OptionsComeBackAndMissingValuesLeaveThemAsSet) {
  {
    CXTPCommandBars bars;
    CXTPCommandBarsOptions *pOptions = bars.GetCommandBarsOptions();
    pOptions->bLargeIcons = TRUE;
    pOptions->bAlwaysShowFullMenus = FALSE;
    pOptions->animationType = 2;
    pOptions->szIcons = CSize(24, 24);
    pOptions->szPopupIcons = CSize(20, 20);
    const UINT kHidden[] = {301, 302, 0x10000};
    bars.HideCommands(kHidden, 3);
    bars.SaveOptions(kProfile);
    EXPECT_FALSE(ValueExists(L"CommandBars-Options", L"UsedCommands")) << "an empty set writes nothing";
    bars.SetCommandUsed(302);
    bars.SaveOptions(kProfile);
  }
  CXTPCommandBars bars;
  CXTPCommandBarsOptions *pOptions = bars.GetCommandBarsOptions();
  pOptions->bDblClickFloat = TRUE; // never stored: stays as set
  bars.LoadOptions(kProfile);
  EXPECT_TRUE(pOptions->bLargeIcons);
  EXPECT_FALSE(pOptions->bAlwaysShowFullMenus);
  EXPECT_EQ(pOptions->animationType, 2);
  // The icon sizes and the hidden commands are the program's: an archive
  // carries them, the profile does not.
  EXPECT_EQ(pOptions->szIcons, CSize(0, 0));
  EXPECT_EQ(pOptions->szPopupIcons, CSize(16, 16));
  EXPECT_TRUE(pOptions->m_mapHiddenCommands.empty());
  EXPECT_EQ(pOptions->m_mapUsedCommands, std::set<UINT>{302});

  // An empty set clears the one stored before.
  pOptions->m_mapUsedCommands.clear();
  bars.SaveOptions(kProfile);
  EXPECT_FALSE(ValueExists(L"CommandBars-Options", L"UsedCommands"));
  pOptions->m_mapUsedCommands = {302};

  ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
  pOptions->animationType = 3;
  bars.LoadOptions(kProfile);
  EXPECT_EQ(pOptions->animationType, 3);
  EXPECT_TRUE(pOptions->bDblClickFloat);
  EXPECT_EQ(pOptions->m_mapUsedCommands, std::set<UINT>{302});
}

} // namespace
