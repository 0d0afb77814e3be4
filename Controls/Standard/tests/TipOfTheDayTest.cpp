// The tip of the day: which lines of the tips file are tips, the place in
// the file kept between runs, an edited file starting over, a file without
// any tip, and the start-up setting the dialog stores.
#include <gtest/gtest.h>

#include <sys/utime.h>

#include <cstdio>
#include <memory>
#include <string>

#include "../../../Common/tests/MemoryCanvas.h"
#include "ModuleState.h"
#include "WinApp.h"
#include "WindowDc.h"
#include "XTPColorManager.h"
#include "XTPResource.h"
#include "XTRegistryManager.h"
#include "XTTipOfTheDay.h"

namespace {

const wchar_t kCompanyKey[] = L"Software\\QvTipTestCompany";

class TipApp : public CWinApp {
public:
  TipApp() : CWinApp(L"QvTipTest") { SetRegistryKey(L"QvTipTestCompany"); }
};
TipApp theApp;

class TipOfTheDay : public testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    m_strFile.Format(L"%sqv-tips-%lu.txt", szTemp, ::GetCurrentProcessId());
  }
  void TearDown() override {
    ::DeleteFileW(m_strFile);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
  }
  void Write(const std::string &strBytes, long nTime) {
    FILE *pFile = _wfopen(m_strFile, L"wb");
    ASSERT_NE(pFile, nullptr);
    fwrite(strBytes.data(), 1, strBytes.size(), pFile);
    fclose(pFile);
    struct _utimbuf times = {nTime, nTime};
    _wutime(m_strFile, &times);
  }
  static int Setting(LPCWSTR lpszEntry) { return CXTRegistryManager().GetProfileInt(L"Tip", lpszEntry, -7); }

  CString m_strFile;
};

TEST_F(TipOfTheDay, CommentsAndBlankLinesAreSkippedAndTheLastTipLeadsToTheFirst) {
  Write("; a comment\r\nFirst tip.\r\n\r\n  indented\r\n\tTabbed\r\nSecond tip.\r\n;\r\nThird tip.", 1000000);
  CXTTipOfTheDay tip(m_strFile);
  EXPECT_STREQ(tip.GetTipFile(), m_strFile);
  EXPECT_TRUE(tip.IsFileOpen());
  EXPECT_STREQ(tip.GetTipText(), L"First tip.\n");
  CString strNext;
  const wchar_t *const kOrder[] = {L"Second tip.\n", L"Third tip.", L"First tip.\n", L"Second tip.\n"};
  for (const wchar_t *lpszExpected : kOrder) {
    tip.ReadNextTip(strNext);
    EXPECT_STREQ(strNext, lpszExpected);
  }
}

TEST_F(TipOfTheDay, ThePlaceInTheFileIsKeptUntilTheFileChanges) {
  Write("One\nTwo\nThree\n", 1000000);
  {
    CXTTipOfTheDay tip(m_strFile);
    EXPECT_STREQ(tip.GetTipText(), L"One\n");
    tip.OnAdvanceTip(); // no window: the next tip all the same
    EXPECT_STREQ(tip.GetTipText(), L"Two\n");
  }
  EXPECT_EQ(Setting(L"FilePos"), 8);
  EXPECT_EQ(Setting(L"TimeStampLong"), 1000000);
  {
    CXTTipOfTheDay tip(m_strFile);
    EXPECT_STREQ(tip.GetTipText(), L"Three\n");
  }
  // Edited: a new modification time starts again at the first tip.
  Write("Alpha\nBeta\nGamma\nDelta\n", 2000000);
  CXTTipOfTheDay tip(m_strFile);
  EXPECT_STREQ(tip.GetTipText(), L"Alpha\n");
  EXPECT_EQ(Setting(L"TimeStampLong"), 2000000);
}

TEST_F(TipOfTheDay, AFileWithoutATipEndsWithAnEmptyTip) {
  const char *const kFiles[] = {"", "; only\n; comments\n\n   \n", "\xEF\xBB\xBF"};
  for (const char *pszBytes : kFiles) {
    Write(pszBytes, 1000000);
    CXTTipOfTheDay tip(m_strFile);
    EXPECT_TRUE(tip.IsFileOpen());
    EXPECT_STREQ(tip.GetTipText(), L"") << pszBytes;
    CString strNext = L"x";
    tip.ReadNextTip(strNext);
    EXPECT_STREQ(strNext, L"");
  }
}

TEST_F(TipOfTheDay, Utf8AndAnsiLinesAreBothRead) {
  // A byte-order mark, a UTF-8 line, then a line that is not UTF-8.
  Write("\xEF\xBB\xBF"
        "Caf\xC3\xA9 \xE2\x80\x94 UTF-8\n"
        "Na\xEFve\n",
        1000000);
  CXTTipOfTheDay tip(m_strFile);
  EXPECT_STREQ(tip.GetTipText(), L"Caf\u00e9 \u2014 UTF-8\n");
  CString strNext;
  tip.ReadNextTip(strNext);
  wchar_t chAnsi = 0;
  const char chByte = '\xEF';
  ::MultiByteToWideChar(CP_ACP, 0, &chByte, 1, &chAnsi, 1);
  EXPECT_STREQ(strNext, CString(L"Na") + chAnsi + L"ve\n");
}

TEST_F(TipOfTheDay, AMissingFileSaysSoAndFallsBackToTheDefaultName) {
  wchar_t szOld[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, szOld);
  CString strEmpty = m_strFile + L".dir";
  ::CreateDirectoryW(strEmpty, nullptr);
  ::SetCurrentDirectoryW(strEmpty);
  CXTTipOfTheDay tip(L"C:\\no\\such\\tips-file.txt");
  ::SetCurrentDirectoryW(szOld);
  ::RemoveDirectoryW(strEmpty);
  EXPECT_STREQ(tip.GetTipFile(), L"tips.txt");
  EXPECT_FALSE(tip.IsFileOpen());
  EXPECT_STREQ(tip.GetTipText(), L"The specified file does not exist.");
}

// Clicks Next and clears the check box before the dialog is ever shown, then
// closes it as the Close button does.
class ClosingTip : public CXTTipOfTheDay {
public:
  using CXTTipOfTheDay::CXTTipOfTheDay;
  BOOL OnInitDialog() override {
    CXTTipOfTheDay::OnInitDialog();
    m_bNextEnabled = GetDlgItem(XT_IDC_BTN_DAYTIP_NEXT)->IsWindowEnabled();
    m_bCheckedAtStart = IsDlgButtonChecked(XT_IDC_CHK_DAYTIP_SHOW);
    SendMessage(WM_COMMAND, XT_IDC_BTN_DAYTIP_NEXT, 0);
    if (m_bClearCheck) CheckDlgButton(XT_IDC_CHK_DAYTIP_SHOW, BST_UNCHECKED);
    OnOK();
    return TRUE;
  }
  BOOL m_bClearCheck = TRUE;
  BOOL m_bNextEnabled = FALSE;
  UINT m_bCheckedAtStart = 7;
};

TEST_F(TipOfTheDay, TheDialogStoresTheStartUpSetting) {
  Write("One\nTwo\n", 1000000);
  {
    ClosingTip dlg(m_strFile);
    EXPECT_TRUE(dlg.IsStartup()) << "shown at start-up until told otherwise";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_bNextEnabled);
    EXPECT_EQ(dlg.m_bCheckedAtStart, static_cast<UINT>(BST_CHECKED));
    EXPECT_STREQ(dlg.GetTipText(), L"Two\n");
    EXPECT_FALSE(dlg.IsStartup());
  }
  EXPECT_EQ(Setting(L"StartUp"), 1);
  {
    ClosingTip dlg(m_strFile);
    EXPECT_FALSE(dlg.IsStartup());
    dlg.m_bClearCheck = FALSE;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_bCheckedAtStart, static_cast<UINT>(BST_UNCHECKED));
  }
  EXPECT_EQ(Setting(L"StartUp"), 1);

  // No file, and no "tips.txt" in the current folder either.
  ::DeleteFileW(m_strFile);
  wchar_t szOld[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, szOld);
  CString strEmpty = m_strFile + L".dir";
  ::CreateDirectoryW(strEmpty, nullptr);
  ::SetCurrentDirectoryW(strEmpty);
  {
    ClosingTip missing(m_strFile);
    EXPECT_EQ(missing.DoModal(), IDOK);
    EXPECT_FALSE(missing.IsFileOpen());
    EXPECT_STREQ(missing.GetTipFile(), L"tips.txt");
    EXPECT_FALSE(missing.m_bNextEnabled) << "nothing to advance to";
  }
  ::SetCurrentDirectoryW(szOld);
  ::RemoveDirectoryW(strEmpty);
}

// Draws the tip area onto a memory canvas of the dialog's size once the
// dialog has laid it out, then closes.
class PaintedTip : public CXTTipOfTheDay {
public:
  using CXTTipOfTheDay::CXTTipOfTheDay;
  BOOL OnInitDialog() override {
    CXTTipOfTheDay::OnInitDialog();
    CRect rc;
    GetClientRect(&rc);
    m_canvas = std::make_unique<MemoryCanvas>(rc.Width(), rc.Height(), RGB(1, 2, 3));
    DrawTip(&m_canvas->dc);
    m_rcBorderSeen = m_rcBorder;
    m_rcTipAreaSeen = m_rcTipArea;
    OnOK();
    return TRUE;
  }
  int CountUnlike(const CRect &rc, COLORREF clr) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++)
      for (int x = rc.left; x < rc.right; x++) n += m_canvas->Pixel(x, y) != clr ? 1 : 0;
    return n;
  }
  std::unique_ptr<MemoryCanvas> m_canvas;
  CRect m_rcBorderSeen, m_rcTipAreaSeen;
};

// The frame in shadow and window colours, the shaded sidebar with the bulb,
// the rule under the heading, the heading and the tip.
TEST_F(TipOfTheDay, ThePaintFramesTheTipAreaWithTheBulbAndTheTexts) {
  Write("Tips are shown one at a time.\n", 1000000);
  PaintedTip dlg(m_strFile);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_TRUE(dlg.m_canvas != nullptr);
  const MemoryCanvas &canvas = *dlg.m_canvas;
  const COLORREF shadow = XTPGetColor(COLOR_3DSHADOW), window = XTPGetColor(COLOR_WINDOW);
  const CRect border = dlg.m_rcBorderSeen, area = dlg.m_rcTipAreaSeen;
  ASSERT_GT(border.Height(), 100);
  EXPECT_EQ(canvas.Pixel(border.left, border.top + 50), shadow);
  EXPECT_EQ(canvas.Pixel(border.left + 50, border.top), shadow);
  EXPECT_EQ(canvas.Pixel(border.right - 1, border.top + 50), window);
  EXPECT_EQ(canvas.Pixel(border.left + 50, border.bottom - 1), window);
  EXPECT_EQ(canvas.Pixel(40, border.bottom - 10), shadow) << "the sidebar";
  EXPECT_EQ(canvas.Pixel(64, border.bottom - 10), shadow) << "the sidebar ends at 65";
  EXPECT_EQ(canvas.Pixel(65, border.bottom - 10), window) << "the tip area starts at 65";
  EXPECT_EQ(canvas.Pixel(area.right - 3, area.bottom - 3), window);
  EXPECT_EQ(canvas.Pixel(100, 60), shadow) << "the rule";
  EXPECT_EQ(canvas.Pixel(100, 61), window);
  EXPECT_GT(dlg.CountUnlike(CRect(25, 34, 51, 60), shadow), 50) << "the bulb";
  EXPECT_GT(dlg.CountUnlike(CRect(71, 30, area.right, 59), window), 20) << "the heading";
  EXPECT_GT(dlg.CountUnlike(CRect(70, 72, area.right - 5, 100), window), 20) << "the tip";
}

// Draws the dialog into a bitmap and counts the pixels of the bulb's square
// that are not the sidebar's colour.
class DrawnTip : public CXTTipOfTheDay {
public:
  using CXTTipOfTheDay::CXTTipOfTheDay;
  BOOL OnInitDialog() override {
    CXTTipOfTheDay::OnInitDialog();
    CWindowDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 100, 100);
    CBitmap *pOld = dc.SelectObject(&bitmap);
    DrawTip(&dc);
    const COLORREF clrSidebar = dc.GetPixel(15, 90);
    for (int y = 34; y < 60; y++)
      for (int x = 25; x < 51; x++)
        if (dc.GetPixel(x, y) != clrSidebar) m_nBulbPixels++;
    dc.SelectObject(pOld);
    OnOK();
    return TRUE;
  }
  int m_nBulbPixels = 0;
};

// A language library current, which carries the dialog and its texts but no
// pictures: the bulb still comes from the module that has it.
TEST_F(TipOfTheDay, TheBulbIsDrawnWhenTheCurrentResourcesLackIt) {
  Write("One\n", 1000000);
  const HINSTANCE hSaved = AfxGetResourceHandle();
  const HMODULE hWithoutBulb = ::GetModuleHandleW(L"kernel32.dll");
  ASSERT_EQ(::FindResourceW(hWithoutBulb, MAKEINTRESOURCEW(XT_IDB_LIGHTBULB), RT_BITMAP), nullptr);
  for (HINSTANCE hCurrent : {hSaved, static_cast<HINSTANCE>(hWithoutBulb)}) {
    AfxSetResourceHandle(hCurrent);
    DrawnTip dlg(m_strFile);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(dlg.m_nBulbPixels, 100) << (hCurrent == hSaved ? "program's resources" : "a library without it");
  }
  AfxSetResourceHandle(hSaved);
}

} // namespace
