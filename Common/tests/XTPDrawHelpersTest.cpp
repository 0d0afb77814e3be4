// Draw helpers: pure colour and text rules by tables, drawing by pixel probes
// on 32-bit memory device contexts, the tracker by messages posted to it.
#include <gtest/gtest.h>

#include "XTPDrawHelpers.h"
#include "XTGlobal.h"
#include "XTMemDC.h"
#include "MemoryCanvas.h"

namespace {

TEST(StripMnemonics, Table) {
  const struct {
    const wchar_t *in, *out;
  } kCases[] = {
      {L"&File", L"File"}, {L"A&&B", L"A&&B"}, {L"Save &As", L"Save As"},
      {L"End&", L"End&"},  {L"", L""},         {L"&&&x", L"&&x"},
  };
  for (const auto &c : kCases)
    EXPECT_STREQ(static_cast<LPCWSTR>(StripMnemonics(c.in)), c.out) << static_cast<const void *>(c.in);
  CString text(L"&Edit");
  StripMnemonics(text);
  EXPECT_STREQ(static_cast<LPCWSTR>(text), L"Edit");
}

TEST(DrawHelpersBlend, FractionalWeights) {
  const struct {
    COLORREF a, b;
    double w;
    COLORREF expected;
  } kCases[] = {
      {0xFFFFFF, 0x000000, 1.0, 0xFFFFFF}, {0xFFFFFF, 0x000000, 0.0, 0x000000},
      {0xFFFFFF, 0x000000, 0.5, 0x7F7F7F}, {0x0000FF, 0xFF0000, 0.25, 0xBF003F},
      {0xFFFFFF, 0xFFFFFF, 1.5, 0xFFFFFF}, // capped, not wrapped
  };
  for (const auto &c : kCases) EXPECT_EQ(CXTPDrawHelpers::BlendColors(c.a, c.b, c.w), c.expected) << c.w;
}

class GradientTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override { helpers.EnableSystemGradient(GetParam()); }
  CXTPDrawHelpers helpers;
};

TEST_P(GradientTest, RunsFromTheFirstColourToTheSecond) {
  MemoryCanvas canvas(100, 20);
  CRect rc(0, 0, 100, 20);
  helpers.GradientFill(&canvas.dc, rc, 0x000000, 0xFFFFFF, TRUE);
  EXPECT_LE(GetRValue(canvas.Pixel(0, 10)), 3);
  EXPECT_GE(GetRValue(canvas.Pixel(99, 10)), 250);
  EXPECT_NEAR(GetRValue(canvas.Pixel(50, 10)), 128, 6);
  EXPECT_EQ(canvas.Pixel(50, 0), canvas.Pixel(50, 19)); // columns are even

  helpers.GradientFill(&canvas.dc, rc, 0x0000FF, 0xFF0000, FALSE);
  EXPECT_GE(GetRValue(canvas.Pixel(50, 0)), 240);
  EXPECT_GE(GetBValue(canvas.Pixel(50, 19)), 240);
  EXPECT_EQ(canvas.Pixel(0, 5), canvas.Pixel(99, 5)); // rows are even
}

TEST_P(GradientTest, EqualColoursFillPlainly) {
  MemoryCanvas canvas(10, 10);
  helpers.GradientFill(&canvas.dc, CRect(0, 0, 10, 10), 0x336699, 0x336699, TRUE);
  EXPECT_EQ(canvas.Pixel(0, 0), 0x336699u);
  EXPECT_EQ(canvas.Pixel(9, 9), 0x336699u);
}

TEST_P(GradientTest, EmptyRectanglePaintsNothing) {
  MemoryCanvas canvas(10, 10);
  helpers.GradientFill(&canvas.dc, CRect(2, 2, 2, 8), 0x000000, 0x0000FF, TRUE);
  helpers.GradientFill(&canvas.dc, CRect(2, 2, 8, 2), 0x000000, 0x0000FF, FALSE);
  for (int y = 0; y < 10; y++)
    for (int x = 0; x < 10; x++) ASSERT_EQ(canvas.Pixel(x, y), 0xFFFFFFu) << x << "," << y;
}

TEST_P(GradientTest, PairGoesFromStartToEnd) {
  MemoryCanvas canvas(4, 64);
  CXTPPaintManagerColorGradient pair;
  pair.SetStandardValue(0x00FF00, 0x000000);
  helpers.GradientFillPair(&canvas.dc, CRect(0, 0, 4, 64), pair, FALSE);
  EXPECT_GE(GetGValue(canvas.Pixel(1, 0)), 250);
  EXPECT_LE(GetGValue(canvas.Pixel(1, 63)), 8);
}

INSTANTIATE_TEST_SUITE_P(SystemAndBands, GradientTest, ::testing::Values(true, false));

TEST(DrawHelpersBands, BandsStayInsideTheClipBox) {
  MemoryCanvas canvas(20, 10);
  HRGN hClip = CreateRectRgn(5, 0, 10, 10);
  SelectClipRgn(canvas.dc, hClip);
  DeleteObject(hClip);
  CXTPDrawHelpers helpers;
  helpers.EnableSystemGradient(FALSE);
  helpers.GradientFill(&canvas.dc, CRect(0, 0, 20, 10), 0x000000, 0x0000FF, TRUE);
  SelectClipRgn(canvas.dc, nullptr);
  EXPECT_EQ(canvas.Pixel(4, 5), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(10, 5), 0xFFFFFFu);
  // Column 5 of 20: weight 0.75 of black.
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(63, 0, 0));
}

TEST(DrawHelpersPixels, BlurPointsAveragesPairs) {
  MemoryCanvas canvas(10, 10, 0x000000);
  SetPixel(canvas.dc, 3, 3, 0xFFFFFF);
  SetPixel(canvas.dc, 6, 6, 0x804020);
  const POINT pts[] = {{2, 3}, {1, 0}, {6, 6}, {0, 1}, {9, 9}};
  CXTPDrawHelpers::BlurPoints(&canvas.dc, pts, 5); // the odd last point is ignored
  EXPECT_EQ(canvas.Pixel(2, 3), 0x7F7F7Fu);
  EXPECT_EQ(canvas.Pixel(6, 6), 0x402010u);
  EXPECT_EQ(canvas.Pixel(9, 9), 0u);
}

TEST(DrawHelpersPixels, TriangleInOneColourRestoresPenAndBrush) {
  MemoryCanvas canvas(20, 20);
  HGDIOBJ hPen = GetCurrentObject(canvas.dc, OBJ_PEN), hBrush = GetCurrentObject(canvas.dc, OBJ_BRUSH);
  CXTPDrawHelpers::Triangle(&canvas.dc, CPoint(2, 2), CPoint(17, 2), CPoint(10, 17), 0x0000FF);
  EXPECT_EQ(canvas.Pixel(10, 6), 0x0000FFu); // inside
  EXPECT_EQ(canvas.Pixel(2, 2), 0x0000FFu);  // a corner: the outline is in the colour too
  EXPECT_EQ(canvas.Pixel(2, 16), 0xFFFFFFu); // outside
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), hPen);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), hBrush);
}

TEST(DrawHelpersPixels, GuardsSelectAndRestore) {
  MemoryCanvas canvas(10, 10);
  HGDIOBJ hPen = GetCurrentObject(canvas.dc, OBJ_PEN);
  HGDIOBJ hBrush = GetCurrentObject(canvas.dc, OBJ_BRUSH);
  HGDIOBJ hFont = GetCurrentObject(canvas.dc, OBJ_FONT);
  {
    CXTPPenDC pen(&canvas.dc, 0x00FF00);
    EXPECT_EQ(pen.GetColor(), 0x00FF00u);
    pen.SetColor(0x0000FF);
    EXPECT_EQ(pen.GetColor(), 0x0000FFu);
    CXTPBrushDC brush(&canvas.dc, 0xFF0000);
    CXTPFontDC font(&canvas.dc, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_PEN), hPen);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
    Rectangle(canvas.dc, 1, 1, 9, 9);
  }
  EXPECT_EQ(canvas.Pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF0000u);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), hPen);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), hBrush);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hFont);
}

TEST(DrawHelpersPixels, BufferLandsInItsRectangleOnly) {
  MemoryCanvas canvas(30, 30);
  {
    CXTPBufferDC buffer(canvas.dc, 10, 10, 20, 20);
    RECT all = {0, 0, 30, 30};
    HBRUSH hBrush = CreateSolidBrush(0x112233);
    FillRect(buffer, &all, hBrush);
    DeleteObject(hBrush);
    EXPECT_EQ(canvas.Pixel(15, 15), 0xFFFFFFu); // nothing until the buffer ends
  }
  EXPECT_EQ(canvas.Pixel(10, 10), 0x112233u);
  EXPECT_EQ(canvas.Pixel(19, 19), 0x112233u);
  EXPECT_EQ(canvas.Pixel(9, 15), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(20, 15), 0xFFFFFFu);
}

TEST(DrawHelpersPixels, CompatibleDcReadsTheBitmap) {
  MemoryCanvas canvas(4, 4);
  HBITMAP hBitmap = CreateCompatibleBitmap(canvas.dc, 3, 3);
  {
    CXTPCompatibleDC dc(&canvas.dc, hBitmap);
    SetPixel(dc, 0, 0, 0x445566);
  }
  EXPECT_EQ(GetTopLeftPixel(hBitmap), 0x445566u);
  EXPECT_EQ(GetTopLeftPixel(nullptr), static_cast<COLORREF>(-1));
  DeleteObject(hBitmap);
}

TEST(DrawHelpersPixels, CheckedPatternAlternatesFaceAndHighlight) {
  MemoryCanvas canvas(8, 8, 0x000000);
  DrawCheckedPattern(&canvas.dc, CRect(0, 0, 8, 8));
  COLORREF face = XTPGetColor(COLOR_BTNFACE), hilite = XTPGetColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(face, hilite);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) {
      COLORREF p = canvas.Pixel(x, y);
      ASSERT_TRUE(p == face || p == hilite) << x << "," << y;
      COLORREF left = x > 0 ? canvas.Pixel(x - 1, y) : (p == face ? hilite : face);
      ASSERT_NE(p, left) << x << "," << y;
    }
  EXPECT_EQ(GetTextColor(canvas.dc), 0u); // colours restored
}

TEST(DrawHelpersWindows, RectanglesOfAWindowAndOfAGoneOne) {
  HWND hWnd = CreateWindowW(L"STATIC", L"", WS_POPUP, 10, 20, 50, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hWnd);
  EXPECT_EQ(CXTPWindowRect(hWnd), CRect(10, 20, 60, 60));
  EXPECT_EQ(CXTPClientRect(hWnd), CRect(0, 0, 50, 40));
  DestroyWindow(hWnd);
  EXPECT_TRUE(CXTPWindowRect(hWnd).IsRectEmpty());
  EXPECT_TRUE(CXTPClientRect(hWnd).IsRectEmpty());
  EXPECT_TRUE(CXTPEmptyRect().IsRectEmpty());
}

TEST(DrawHelpersWindows, WorkAreasFallBackToThePrimaryOne) {
  CRect primary;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
  EXPECT_EQ(XTPMultiMonitor::GetWorkAreaOfWindow(nullptr), primary);
  EXPECT_EQ(XTPMultiMonitor::GetWorkArea(CPoint(-30000, -30000)), primary);
  EXPECT_EQ(XTPMultiMonitor::GetWorkArea(primary.TopLeft()), primary);
}

// A monitor of its own, told apart from the real screen by its work area.
namespace FakeMonitors {
const CRect kWork(1000, 2000, 1300, 2400);
HMONITOR WINAPI FromPoint(POINT, DWORD) {
  return reinterpret_cast<HMONITOR>(0x1234);
}
HMONITOR WINAPI FromRect(LPCRECT, DWORD) {
  return reinterpret_cast<HMONITOR>(0x1234);
}
HMONITOR WINAPI FromWindow(HWND, DWORD) {
  return reinterpret_cast<HMONITOR>(0x1234);
}
BOOL WINAPI Info(HMONITOR hMonitor, LPMONITORINFO pInfo) {
  if (hMonitor != reinterpret_cast<HMONITOR>(0x1234) || pInfo->cbSize != sizeof(MONITORINFO)) return FALSE;
  pInfo->rcWork = kWork;
  return TRUE;
}
const char *g_missing = nullptr; // the one function the lookup does not find
FARPROC Lookup(LPCSTR lpszName) {
  if (g_missing != nullptr && lstrcmpA(lpszName, g_missing) == 0) return nullptr;
  if (lstrcmpA(lpszName, "MonitorFromPoint") == 0) return reinterpret_cast<FARPROC>(FromPoint);
  if (lstrcmpA(lpszName, "MonitorFromRect") == 0) return reinterpret_cast<FARPROC>(FromRect);
  if (lstrcmpA(lpszName, "MonitorFromWindow") == 0) return reinterpret_cast<FARPROC>(FromWindow);
  if (lstrcmpA(lpszName, "GetMonitorInfoW") == 0) return reinterpret_cast<FARPROC>(Info);
  return CXTPMultiMonitor::LookupInUser32(lpszName);
}
} // namespace FakeMonitors

// The monitor functions come from the lookup by name; a system that lacks
// any one of them has only the primary work area, whatever is asked.
TEST(DrawHelpersWindows, WorkAreasUseTheMonitorFunctionsFoundByName) {
  CRect primary;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
  HWND hWnd = CreateWindowW(L"STATIC", L"", WS_POPUP, 10, 20, 50, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hWnd);
  const struct {
    const char *missing;
    CRect expected;
  } kCases[] = {
      {nullptr, FakeMonitors::kWork}, {"MonitorFromPoint", primary}, {"MonitorFromRect", primary},
      {"MonitorFromWindow", primary}, {"GetMonitorInfoW", primary},  {"GetSystemMetrics", primary},
  };
  for (const auto &c : kCases) {
    FakeMonitors::g_missing = c.missing;
    CXTPMultiMonitor monitor(FakeMonitors::Lookup);
    const char *name = c.missing ? c.missing : "none";
    EXPECT_EQ(monitor.HasMonitorFunctions(), c.missing == nullptr) << name;
    EXPECT_EQ(monitor.GetWorkArea(CPoint(5, 5)), c.expected) << name;
    EXPECT_EQ(monitor.GetWorkArea(CRect(0, 0, 10, 10)), c.expected) << name;
    EXPECT_EQ(monitor.GetWorkAreaOfWindow(hWnd), c.expected) << name;
  }
  FakeMonitors::g_missing = nullptr;
  EXPECT_EQ(CXTPMultiMonitor(nullptr).GetWorkArea(CPoint(5, 5)), primary);
  DestroyWindow(hWnd);
}

class TrackerTest : public ::testing::Test {
protected:
  void SetUp() override {
    hWnd = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      ;
  }
  void TearDown() override { DestroyWindow(hWnd); }
  void Move(int x, int y) { PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

  HWND hWnd = nullptr;
};

TEST_F(TrackerTest, EscapeCancelsWhereTheLastMoveLeftTheRectangle) {
  CRect rc(100, 0, 104, 300);
  Move(150, 10);
  PostMessageW(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  Move(200, 10); // after the end: not seen
  CXTPSplitterTracker tracker;
  EXPECT_FALSE(tracker.Track(hWnd, 50, 0, 300, 300, rc, CPoint(102, 10), TRUE));
  EXPECT_EQ(rc, CRect(148, 0, 152, 300));
  EXPECT_NE(GetCapture(), hWnd);
}

TEST_F(TrackerTest, LeftButtonAcceptsAndMovesStayInsideTheLimits) {
  CRect rc(0, 100, 400, 104);
  Move(10, 5);
  PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
  CXTPSplitterTracker tracker;
  EXPECT_TRUE(tracker.Track(hWnd, 0, 40, 400, 250, rc, CPoint(10, 100), FALSE));
  EXPECT_EQ(rc, CRect(0, 40, 400, 44)); // top clamped to the minimum
}

TEST_F(TrackerTest, QuitRequestCancelsAndStaysQueued) {
  CRect rc(100, 0, 104, 300);
  PostQuitMessage(7);
  CXTPSplitterTracker tracker;
  EXPECT_FALSE(tracker.Track(hWnd, 0, 0, 400, 300, rc, CPoint(102, 10), TRUE));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(AuxData, InactiveCaptionGradientIsTheSystemColour) {
  CXTAuxData &data = XTGetAuxData();
  ASSERT_NE(GetSysColor(COLOR_GRADIENTINACTIVECAPTION), 0u); // else the check shows nothing
  EXPECT_EQ(data.clrGradInActiveCapt, GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
  EXPECT_EQ(data.clrGradActiveCapt, GetSysColor(COLOR_GRADIENTACTIVECAPTION));
  EXPECT_EQ(data.clr3DFace, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(data.clrXP[0], XTPGetColor(30));
  EXPECT_EQ(data.clrXPTabInactiveText, XTPGetColor(49));
}

TEST(AuxData, CursorsLoadFromTheToolkitResources) {
  CXTAuxData &data = XTGetAuxData();
  ASSERT_TRUE(data.LoadSysCursors());
  const struct {
    HCURSOR hCursor;
    int nID;
    POINT hotSpot;
  } kCursors[] = {
      {data.hcurDragCopy, 9008, {0, 0}},    {data.hcurDragMove, 9009, {0, 0}},
      {data.hcurHand, 9010, {6, 0}},        {data.hcurDragNone, 9011, {0, 0}},
      {data.hcurHandNone, 9012, {6, 0}},    {data.hcurHSplitBar, 9970, {15, 15}},
      {data.hcurVSplitBar, 9971, {15, 15}},
  };
  for (const auto &c : kCursors) {
    ASSERT_NE(c.hCursor, nullptr) << c.nID;
    // Each slot holds the cursor of its own id, not a neighbour's.
    EXPECT_EQ(c.hCursor, LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.nID))) << c.nID;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(c.hCursor, &info)) << c.nID;
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(c.hotSpot.x)) << c.nID;
    EXPECT_EQ(info.yHotspot, static_cast<DWORD>(c.hotSpot.y)) << c.nID;
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectW(info.hbmMask, sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 32) << c.nID;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(data.hcurMove, LoadCursorW(nullptr, IDC_SIZEALL));
  // Command bars load the control-sizing cursor themselves.
  EXPECT_NE(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(9972)), nullptr);
}

// A fresh Wine prefix finds neither of these unless the prefix is given
// Wine's own fonts; every arrow and check the toolkit draws needs Marlett.
TEST(AuxData, SymbolAndInterfaceFacesAreInstalled) {
  EXPECT_TRUE(CXTPDrawHelpers::FontExists(L"Marlett"));
  EXPECT_TRUE(CXTPDrawHelpers::FontExists(L"Tahoma"));
}

TEST(AuxData, FontsMetricsAndVersion) {
  CXTAuxData &data = XTGetAuxData();
  EXPECT_TRUE(data.UpdateSysFonts());
  LOGFONTW lf = {};
  ASSERT_TRUE(GetObjectW(data.fontVert, sizeof(lf), &lf));
  EXPECT_EQ(lf.lfEscapement, 2700);
  EXPECT_EQ(lf.lfOrientation, 900);
  ASSERT_TRUE(GetObjectW(data.fontBold, sizeof(lf), &lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  ASSERT_TRUE(GetObjectW(data.fontMarlett, sizeof(lf), &lf));
  EXPECT_STREQ(lf.lfFaceName, L"Marlett");
  EXPECT_EQ(data.cxSmIcon, GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(data.cxSize, 18);
  EXPECT_TRUE(data.IsComCtlValid());
}

TEST(AuxData, FontExistsOnlyForInstalledFaces) {
  // Whatever face the screen enumerates first must be found again.
  LOGFONTW lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  WCHAR face[LF_FACESIZE] = {};
  HDC hDC = GetDC(nullptr);
  EnumFontFamiliesExW(
      hDC, &lf,
      [](const LOGFONTW *f, const TEXTMETRICW *, DWORD, LPARAM p) -> int {
        lstrcpynW(reinterpret_cast<LPWSTR>(p), f->lfFaceName, LF_FACESIZE);
        return 0;
      },
      reinterpret_cast<LPARAM>(face), 0);
  ReleaseDC(nullptr, hDC);
  ASSERT_NE(face[0], 0);
  EXPECT_TRUE(CXTPDrawHelpers::FontExists(face));
  EXPECT_FALSE(CXTPDrawHelpers::FontExists(L"No Such Face At All"));
  EXPECT_FALSE(CXTPDrawHelpers::FontExists(L""));
}

TEST(MemDc, DrawsInTargetCoordinatesAndLandsInItsRectangle) {
  MemoryCanvas canvas(40, 40);
  {
    CXTMemDC mem(&canvas.dc, CRect(10, 10, 30, 30), RGB(0, 0, 255));
    ASSERT_TRUE(mem.IsValid());
    SetPixel(mem, 15, 15, RGB(255, 0, 0));
    SetPixel(mem, 5, 5, RGB(255, 0, 0)); // outside: not copied
    EXPECT_EQ(canvas.Pixel(20, 20), 0xFFFFFFu);
  }
  EXPECT_EQ(canvas.Pixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(20, 20), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(30, 30), 0xFFFFFFu);
}

TEST(MemDc, EmptyRectangleTakesTheClipBoxAndMinusOneLeavesItUnfilled) {
  MemoryCanvas canvas(20, 20);
  HRGN hClip = CreateRectRgn(0, 0, 8, 8);
  SelectClipRgn(canvas.dc, hClip);
  DeleteObject(hClip);
  {
    CXTMemDC mem(&canvas.dc, CRect(0, 0, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(mem.GetRect(), CRect(0, 0, 8, 8));
  }
  SelectClipRgn(canvas.dc, nullptr);
  EXPECT_EQ(canvas.Pixel(3, 3), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(9, 9), 0xFFFFFFu);
}

TEST(BitmapIcons, TopLeftColourBecomesTransparent) {
  // A bitmap must not stay selected elsewhere while it is converted.
  HDC hScreen = GetDC(nullptr);
  HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 16, 16);
  ReleaseDC(nullptr, hScreen);
  HDC hDC = CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = SelectObject(hDC, hBitmap);
  RECT all = {0, 0, 16, 16}, inner = {4, 4, 12, 12};
  HBRUSH hMagenta = CreateSolidBrush(RGB(255, 0, 255)), hBlue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(hDC, &all, hMagenta);
  FillRect(hDC, &inner, hBlue);
  DeleteObject(hMagenta);
  DeleteObject(hBlue);
  SelectObject(hDC, hOld);
  DeleteDC(hDC);
  HICON hIcon = BitmapToIcon(hBitmap);
  ASSERT_TRUE(hIcon);
  MemoryCanvas canvas(16, 16);
  DrawIconEx(canvas.dc, 0, 0, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.Pixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 0, 255));
  DestroyIcon(hIcon);
  DeleteObject(hBitmap);
  EXPECT_EQ(BitmapToIcon(nullptr), nullptr);
}

struct PopupCall {
  HMENU hMenu;
  UINT nFlags;
  int x, y;
  HWND hWnd;
  int nIDBitmap;
};
PopupCall g_lastPopup;

TEST(PopupContextMenu, CommandBarsHandlerGetsTheMenuWithoutNotifications) {
  XTPPopupContextMenuHandler pfnOld = XTPSetPopupContextMenuHandler(
      [](HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd, int nIDBitmap) -> UINT {
        g_lastPopup = {hMenu, nFlags, x, y, hWnd, nIDBitmap};
        return 1234;
      });
  HMENU hMenu = CreatePopupMenu();
  EXPECT_EQ(XTPPopupContextMenu(hMenu, TPM_RETURNCMD, 10, 20, nullptr, 300), 1234u);
  EXPECT_EQ(g_lastPopup.hMenu, hMenu);
  EXPECT_EQ(g_lastPopup.nFlags, static_cast<UINT>(TPM_RETURNCMD | TPM_NONOTIFY));
  EXPECT_EQ(g_lastPopup.x, 10);
  EXPECT_EQ(g_lastPopup.y, 20);
  EXPECT_EQ(g_lastPopup.nIDBitmap, 300);
  XTPSetPopupContextMenuHandler(pfnOld);
  DestroyMenu(hMenu);
}

TEST(DefaultFont, ArialUnlessTheSystemFontIsNeededOrArialIsMissing) {
  LOGFONTW lf = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  CString name = CXTPDrawHelpers::GetDefaultFontName();
  const bool systemFace = lf.lfCharSet > 2 || !CXTPDrawHelpers::FontExists(L"Arial");
  EXPECT_STREQ(static_cast<LPCWSTR>(name), systemFace ? lf.lfFaceName : L"Arial");
  CString tahoma = CXTPDrawHelpers::GetDefaultFontName(TRUE);
  if (!systemFace && CXTPDrawHelpers::FontExists(L"Tahoma")) {
    EXPECT_STREQ(static_cast<LPCWSTR>(tahoma), L"Tahoma");
  }
}

TEST(DrawHelpersTheme, DisabledSchemeColoursGiveNoTheme) {
  CXTPColorManager *pManager = XTPGetColorManager();
  pManager->SetSystemTheme(2);
  EXPECT_EQ(CXTPDrawHelpers::GetCurrentSystemTheme(), 2);
  pManager->DisableSystemThemeColors(TRUE);
  EXPECT_EQ(CXTPDrawHelpers::GetCurrentSystemTheme(), 0);
  pManager->DisableSystemThemeColors(FALSE);
  pManager->SetSystemTheme(xtpSystemThemeAuto);
}

} // namespace
