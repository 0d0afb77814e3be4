// Status bar painted by the paint manager: pane windows and where they go,
// their ownership, the bar's font and height, and what it paints (pane
// texts, bevels, the gripper) by pixel probes on memory device contexts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

#include "../../Common/tests/MemoryCanvas.h"
#include "../../framework/tests/WindowTestKit.h"
#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPDrawHelpers.h"
#include "XTPStatusBar.h"

using namespace cbtest;

namespace {

constexpr UINT kLongPane = 500;
constexpr UINT kIndicators[] = {ID_SEPARATOR, kLongPane, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

CRect ChildRect(CWnd &child, CWnd &parent) {
  CRect rc;
  child.GetWindowRect(&rc);
  parent.ScreenToClient(&rc);
  return rc;
}

int CountPixels(const MemoryCanvas &canvas, const CRect &rc, COLORREF clr) {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++) n += canvas.Pixel(x, y) == clr ? 1 : 0;
  return n;
}

class XTPStatusBarTest : public FrameWithBar<CXTPStatusBar> {
protected:
  void SetUp() override {
    FrameWithBar<CXTPStatusBar>::SetUp();
    ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
    // A theme of its own with colours that tell the roles apart.
    m_pTheme = new CXTPDefaultTheme;
    UseTestColors(m_pTheme);
    m_pTheme->RefreshMetrics();
    UseTestColors(m_pTheme);
    m_commandBars.SetPaintManager(m_pTheme);
    m_bar.SetCommandBars(&m_commandBars);
    LayOut();
  }
  CRect Client() { return CXTPClientRect(&m_bar); }
  CRect Item(int i) {
    CRect rc;
    m_bar.GetItemRect(i, &rc);
    return rc;
  }
  int PaneWidth(int i) {
    UINT id = 0, style = 0;
    int width = 0;
    m_bar.GetPaneInfo(i, id, style, width);
    return width;
  }

  CXTPCommandBars m_commandBars;
  CXTPDefaultTheme *m_pTheme = nullptr; // owned by m_commandBars
};

TEST_F(XTPStatusBarTest, IndicatorsTakeTheBarFontAndItsLeastHeight) {
  EXPECT_EQ(reinterpret_cast<HFONT>(m_bar.SendMessage(WM_GETFONT)), (HFONT)*m_bar.GetBarFont());
  EXPECT_GE(LayOut().placed.Height(), CXTPStatusBar::kMinHeight);
  EXPECT_TRUE(m_bar.GetStyle() & WS_CLIPCHILDREN);
  EXPECT_EQ(m_bar.ActivePaintManager(), m_pTheme);
  m_bar.SetCommandBars(nullptr);
  EXPECT_EQ(m_bar.ActivePaintManager(), XTPGetPaintManager());
  m_bar.EnableThemedDrawing(FALSE);
  EXPECT_EQ(m_bar.ActivePaintManager(), nullptr);
}

// A window over a pane sits one border inside the pane. The last pane runs
// three borders past its text, or, when it stretches, to the bar's end less
// a small icon and a border for the size grip.
TEST(StatusBarPaneGeometry, WindowsGoInsideTheirPanes) {
  const CRect item(100, 2, 160, 20), client(0, 0, 400, 22);
  struct Case {
    const char *name;
    UINT style;
    BOOL last, grip;
    CRect expected;
  } cases[] = {
      {"middle pane", 0, FALSE, TRUE, CRect(101, 3, 159, 19)},
      {"middle pane without borders", SBPS_NOBORDERS, FALSE, TRUE, item},
      {"last pane: its text and three borders", 0, TRUE, TRUE, CRect(101, 3, 100 + 50 + 3 - 1, 19)},
      {"last pane without borders", SBPS_NOBORDERS, TRUE, FALSE, CRect(100, 2, 153, 20)},
      {"stretching last pane stops short of the grip", SBPS_STRETCH, TRUE, TRUE,
       CRect(101, 3, 400 - 16 - 1 - 1, 19)},
      {"stretching last pane without grip", SBPS_STRETCH, TRUE, FALSE, CRect(101, 3, 399, 19)},
  };
  for (const Case &c : cases) {
    CXTPStatusBar::PaneGeometry pane = {item, client, c.style, 50, c.last, c.grip, 1, 16};
    EXPECT_EQ(CXTPStatusBar::CalcPaneControlRect(pane), c.expected) << c.name;
  }
}

// The bar measures its panes with the system's border width.
TEST_F(XTPStatusBarTest, PaneWindowsSitInsideTheirPanes) {
  const int cxBorder = ::GetSystemMetrics(SM_CXBORDER);
  const int cxGrip = ::GetSystemMetrics(SM_CXSMICON) + cxBorder;
  struct Case {
    const char *name;
    int pane;
    UINT lastStyle;
    BOOL grip;
    int right; // expected right edge; 0: the item's, less the border
  };
  const int lastLeft = Item(3).left;
  const Case cases[] = {
      {"message pane without bevel", 0, 0, TRUE, 0},
      {"middle pane", 1, 0, TRUE, 0},
      {"last pane: its text and three borders", 3, 0, TRUE,
       lastLeft + PaneWidth(3) + 3 * cxBorder - cxBorder},
      {"stretching last pane stops short of the grip", 3, SBPS_STRETCH, TRUE,
       Client().right - cxGrip - cxBorder},
      {"stretching last pane without grip", 3, SBPS_STRETCH, FALSE, Client().right - cxBorder},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_bar.SetPaneStyle(3, c.lastStyle);
    m_bar.ModifyStyle(c.grip ? 0 : SBARS_SIZEGRIP, c.grip ? SBARS_SIZEGRIP : 0);
    CRect item = Item(c.pane);
    CRect rc = m_bar.GetPaneControlRect(c.pane);
    const int inset = c.pane == 0 ? 0 : cxBorder;
    EXPECT_EQ(rc.left, item.left + inset);
    EXPECT_EQ(rc.top, item.top + inset);
    EXPECT_EQ(rc.bottom, item.bottom - inset);
    EXPECT_EQ(rc.right, c.right ? c.right : item.right - inset);
    if (c.pane != 1) continue;
    // A middle pane's bevel is drawn round its item: its right edge
    // (highlight) is the column just past the window.
    CRect client = Client();
    MemoryCanvas canvas(client.Width(), client.Height(), kCanvas);
    m_bar.DrawBar(&canvas.dc);
    EXPECT_EQ(canvas.Pixel(rc.right, rc.top + rc.Height() / 2), kHighlight);
    EXPECT_EQ(canvas.Pixel(rc.left - 1, rc.top + rc.Height() / 2), kShadow);
  }
}

TEST_F(XTPStatusBarTest, AddControlRefusesWhatCannotBePlaced) {
  CProgressCtrl progress, other;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 1));
  ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 2));
  EXPECT_FALSE(m_bar.AddControl(nullptr, kLongPane, FALSE));
  EXPECT_FALSE(m_bar.AddControl(&progress, 0xE7FF, FALSE)); // no such pane
  EXPECT_TRUE(m_bar.AddControl(&progress, kLongPane, FALSE));
  EXPECT_FALSE(m_bar.AddControl(&progress, ID_INDICATOR_NUM, FALSE)); // already placed
  EXPECT_FALSE(m_bar.AddControl(&other, kLongPane, FALSE));           // pane taken
  EXPECT_EQ(m_bar.GetPaneControl(kLongPane), &progress);
  EXPECT_TRUE(m_bar.RemoveControl(&progress));
  EXPECT_FALSE(m_bar.RemoveControl(&progress));
  EXPECT_EQ(m_bar.GetPaneControl(kLongPane), nullptr);
  EXPECT_TRUE(::IsWindow(progress.m_hWnd)); // taken off, not destroyed
}

TEST_F(XTPStatusBarTest, AProgressBarFollowsItsPaneAsTheBarResizes) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_bar, 1));
  ASSERT_TRUE(m_bar.AddControl(&progress, kLongPane, FALSE));
  EXPECT_EQ(ChildRect(progress, m_bar), m_bar.GetPaneControlRect(1));
  for (int width : {420, 600, 900}) {
    SCOPED_TRACE(width);
    LayOut(CRect(0, 0, width, 300));
    EXPECT_EQ(Client().Width(), width);
    EXPECT_EQ(ChildRect(progress, m_bar), m_bar.GetPaneControlRect(1));
  }
  m_bar.RemoveControl(&progress);
}

class CountedPane : public CXTPStatusBarBasePane {
public:
  explicit CountedPane(int &alive) : m_alive(alive) { ++m_alive; }
  ~CountedPane() override { --m_alive; }

private:
  int &m_alive;
};

TEST_F(XTPStatusBarTest, TheBarDestroysItsPaneWindowsAndDeletesOnlyAutoDeleteOnes) {
  int alive = 0;
  auto bar = std::make_unique<CXTPStatusBar>();
  ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE802));
  ASSERT_TRUE(bar->SetIndicators(kIndicators, 4));
  auto *owned = new CountedPane(alive);
  CountedPane kept(alive);
  ASSERT_TRUE(owned->Create(L"owned", bar.get()));
  ASSERT_TRUE(kept.Create(L"kept", bar.get()));
  EXPECT_EQ(kept.GetPaneText(), CString(L"kept"));
  ASSERT_TRUE(bar->AddControl(owned, ID_INDICATOR_CAPS, TRUE));
  ASSERT_TRUE(bar->AddControl(&kept, ID_INDICATOR_NUM, FALSE));
  EXPECT_EQ(alive, 2);
  bar.reset();
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(kept.m_hWnd, nullptr);
}

// An owner that deletes a window it placed, without taking it off the bar,
// leaves the bar laying out and going without touching the deleted object.
TEST_F(XTPStatusBarTest, AWindowItsOwnerDeletedIsLeftAlone) {
  int alive = 0;
  auto bar = std::make_unique<CXTPStatusBar>();
  ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE802));
  ASSERT_TRUE(bar->SetIndicators(kIndicators, 4));
  // The object lives in storage of the test's own, scribbled over once the
  // object is gone, so that any use of it by the bar would crash.
  alignas(CountedPane) unsigned char storage[sizeof(CountedPane)];
  auto *pane = new (storage) CountedPane(alive);
  ASSERT_TRUE(pane->Create(L"gone", bar.get()));
  ASSERT_TRUE(bar->AddControl(pane, ID_INDICATOR_CAPS, FALSE));
  pane->~CountedPane(); // destroys its window; the bar still lists it
  std::memset(storage, 0xFF, sizeof(storage));
  EXPECT_EQ(alive, 0);
  bar->PlacePaneWindows();
  bar.reset();
  EXPECT_EQ(alive, 0);
}

TEST_F(XTPStatusBarTest, ThePaneWindowClassHasTheByteAlignedClientStyle) {
  int alive = 0;
  CountedPane pane(alive);
  ASSERT_TRUE(pane.Create(L"pane", &m_bar));
  EXPECT_EQ(::GetClassLongPtrW(pane.m_hWnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_BYTEALIGNCLIENT));
  EXPECT_EQ(::GetClassLongPtrW(pane.m_hWnd, GCLP_HCURSOR), 0u);
  EXPECT_EQ(::GetClassLongPtrW(pane.m_hWnd, GCLP_HBRBACKGROUND), 0u);
}

TEST_F(XTPStatusBarTest, PaintsPaneTextsBevelsAndTheGripperUnlessMaximised) {
  CRect client = Client();
  struct Case {
    const char *name;
    BOOL maximised;
    BOOL disabledLongPane;
    BOOL gripper, longText;
  } const cases[] = {
      {"normal", FALSE, FALSE, TRUE, TRUE},
      {"maximised frame: no gripper", TRUE, FALSE, FALSE, TRUE},
      {"disabled pane shows no text", FALSE, TRUE, TRUE, FALSE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_frame->ModifyStyle(c.maximised ? 0 : WS_MAXIMIZE, c.maximised ? WS_MAXIMIZE : 0);
    m_bar.SetPaneStyle(1, c.disabledLongPane ? SBPS_DISABLED : SBPS_NORMAL);
    m_bar.SetPaneStyle(3, SBPS_NORMAL);
    MemoryCanvas canvas(client.Width(), client.Height(), kCanvas);
    m_bar.DrawBar(&canvas.dc);
    EXPECT_EQ(CountPixels(canvas, client, kCanvas), 0) << "the whole bar is filled";
    CRect corner(client.right - 14, client.bottom - 14, client.right, client.bottom);
    EXPECT_EQ(CountPixels(canvas, corner, kShadow) > 0, c.gripper);
    CRect text = m_bar.GetPaneControlRect(1);
    text.DeflateRect(1, 1);
    EXPECT_EQ(CountPixels(canvas, text, kText) > 0, c.longText);
    EXPECT_EQ(CountPixels(canvas, m_bar.GetPaneControlRect(0), kText), 0) << "the message pane is empty";
  }
  m_frame->ModifyStyle(WS_MAXIMIZE, 0);
}

TEST_F(XTPStatusBarTest, WithoutThemedDrawingTheBarPaintsNothingItself) {
  m_bar.EnableThemedDrawing(FALSE);
  CRect client = Client();
  MemoryCanvas canvas(client.Width(), client.Height(), kCanvas);
  m_bar.DrawBar(&canvas.dc);
  EXPECT_EQ(CountPixels(canvas, client, kCanvas), client.Width() * client.Height());
  // Themed, the bar paints every pixel itself: erasing first would only flicker.
  m_bar.EnableThemedDrawing(TRUE);
  MemoryCanvas erased(client.Width(), client.Height(), kCanvas);
  EXPECT_EQ(m_bar.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.dc.GetSafeHdc())), TRUE);
  EXPECT_EQ(CountPixels(erased, client, kCanvas), client.Width() * client.Height());
}

// A theme that counts the bars it draws.
class CountingTheme : public CXTPDefaultTheme {
public:
  void FillStatusBar(CDC *pDC, CWnd *pStatusBar) override {
    ++m_fills;
    CXTPDefaultTheme::FillStatusBar(pDC, pStatusBar);
  }
  int m_fills = 0;
};

// A progress step changes two panes and then updates the bar: one paint of
// the bar shows both, whether or not the control paints each text at once.
// Without themed drawing the control keeps its own way.
TEST_F(XTPStatusBarTest, TextsChangedBeforeAnUpdateAreDrawnByOnePaint) {
  auto *theme = new CountingTheme;
  UseTestColors(theme);
  theme->RefreshMetrics();
  UseTestColors(theme);
  m_commandBars.SetPaintManager(theme);
  m_frame->ShowWindow(SW_SHOWNA);
  m_bar.UpdateWindow();
  const struct {
    const char *name;
    BOOL themed;
  } cases[] = {{"themed", TRUE}, {"the control's own drawing", FALSE}};
  int round = 0;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    m_bar.EnableThemedDrawing(c.themed);
    m_bar.Invalidate();
    m_bar.UpdateWindow();
    CString first, second;
    first.Format(L"Total: %d bytes", ++round);
    second.Format(L"%d entries found", round);
    theme->m_fills = 0;
    m_bar.SetPaneText(1, first);
    m_bar.SetPaneText(0, second);
    m_bar.UpdateWindow();
    if (c.themed) {
      EXPECT_EQ(1, theme->m_fills);
    }
    EXPECT_FALSE(::GetUpdateRect(m_bar.m_hWnd, nullptr, FALSE)) << "nothing left to paint";
    for (int pane : {0, 1}) {
      wchar_t text[64] = {};
      m_bar.SendMessage(SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text));
      EXPECT_EQ(pane == 0 ? second : first, CString(text)) << pane;
    }
    if (!c.themed) continue;
    // What the screen shows is what the bar draws.
    const CRect client = Client();
    MemoryCanvas expected(client.Width(), client.Height(), kCanvas);
    m_bar.DrawBar(&expected.dc);
    HDC screen = ::GetDC(m_bar.m_hWnd);
    for (int pane : {0, 1}) {
      CRect text = m_bar.GetPaneControlRect(pane);
      text.DeflateRect(1, 1);
      int differing = 0;
      for (int y = text.top; y < text.bottom; y++)
        for (int x = text.left; x < text.right; x++)
          differing += ::GetPixel(screen, x, y) != expected.Pixel(x, y) ? 1 : 0;
      EXPECT_EQ(0, differing) << pane;
      EXPECT_GT(CountPixels(expected, text, kText), 0) << pane;
    }
    ::ReleaseDC(m_bar.m_hWnd, screen);
  }
  m_bar.EnableThemedDrawing(TRUE);
}

HICON SolidIcon(COLORREF clr) {
  const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
  MemoryCanvas colour(cx, cy, clr);
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hColour = ::CreateCompatibleBitmap(hScreen, cx, cy);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HGDIOBJ old = ::SelectObject(hDC, hColour);
  ::BitBlt(hDC, 0, 0, cx, cy, colour.dc.GetSafeHdc(), 0, 0, SRCCOPY);
  ::SelectObject(hDC, old);
  ::DeleteDC(hDC);
  ::ReleaseDC(nullptr, hScreen);
  HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC hMaskDC = ::CreateCompatibleDC(nullptr);
  old = ::SelectObject(hMaskDC, hMask);
  ::PatBlt(hMaskDC, 0, 0, cx, cy, BLACKNESS); // every pixel opaque
  ::SelectObject(hMaskDC, old);
  ::DeleteDC(hMaskDC);
  ICONINFO ii = {TRUE, 0, 0, hMask, hColour};
  HICON hIcon = ::CreateIconIndirect(&ii);
  ::DeleteObject(hColour);
  ::DeleteObject(hMask);
  return hIcon;
}

TEST_F(XTPStatusBarTest, AnIconPaneDrawsItsIconAndTextAndGreysWhenDisabled) {
  constexpr COLORREF kRed = RGB(255, 0, 0);
  HICON hIcon = SolidIcon(kRed);
  CXTPStatusBarIconPane pane;
  ASSERT_TRUE(pane.Create(L"Disk", &m_bar));
  pane.SetIcon(hIcon);
  const CRect rc(0, 0, 80, 20);
  const CRect iconArea(0, 0, 20, 20), textArea(21, 0, 80, 20);
  const struct {
    BOOL enabled;
    BOOL red;
  } cases[] = {{TRUE, TRUE}, {FALSE, FALSE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.enabled ? "enabled" : "disabled");
    pane.EnableWindow(c.enabled);
    MemoryCanvas canvas(rc.Width(), rc.Height(), kCanvas);
    pane.DrawContent(&canvas.dc, rc);
    EXPECT_EQ(CountPixels(canvas, iconArea, kRed) > 0, c.red);
    EXPECT_LT(CountPixels(canvas, textArea, kCanvas), textArea.Width() * textArea.Height()) << "text drawn";
  }
  ::DestroyIcon(hIcon);
}

} // namespace
