// The themed button: its owner-drawn type, its looks in each style, theme
// and state probed by pixel (hot and pressed reached with synthesised mouse
// input on the virtual screen), the visual-style path through a fake, the
// layout of icon and text, and the clicks its parent hears.
#include <gtest/gtest.h>

#include "XTButton.h"
#include "XTButtonTheme.h"
#include "XTPColorManager.h"
#include "WindowTestKit.h"
#include "../../../Common/tests/FakeVisualStyles.h"
#include "../../../Common/tests/MemoryCanvas.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kButtonId = 101;
const int kWidth = 120, kHeight = 40;
// The test window's place, and the cursor's when no test wants it: both
// off the windows of the other tests, which sit at the top left.
POINT ParentAt() {
  return {::GetSystemMetrics(SM_CXSCREEN) - 280, ::GetSystemMetrics(SM_CYSCREEN) - 224};
}
POINT Parked() {
  return {::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5};
}

void Pump(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  MSG msg;
  do {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(2);
  } while (static_cast<LONG>(::GetTickCount() - end) < 0);
}

// Takes clicks without becoming active (Wine eats a click whose window
// refuses the activation it asks for).
class InactiveParent : public CWnd {
protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ButtonTest : public ::testing::Test {
protected:
  // One shown parent for the suite: a new top-level window costs seconds
  // under Wine.
  static void SetUpTestSuite() {
    s_hNoActivation = ::SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, ::GetCurrentThreadId());
    s_parent = new InactiveParent;
    LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    // In the screen's far corner, above and beside the windows of the
    // tests that run beside this one, and without taking their focus.
    s_parent->CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, windowClass, L"button test", WS_POPUP, ParentAt().x,
                       ParentAt().y, 270, 200, nullptr, nullptr);
    s_parent->ShowWindow(SW_SHOWNOACTIVATE);
  }
  // The window must never become the active one: a press on a button sets
  // the focus, which would take it away from the windows of tests running
  // beside this one (an in-place edit there ends when it loses the focus).
  static LRESULT CALLBACK RefuseActivation(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_ACTIVATE && s_parent && reinterpret_cast<HWND>(wParam) == s_parent->m_hWnd) return 1;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  }
  static void TearDownTestSuite() {
    ::UnhookWindowsHookEx(s_hNoActivation);
    if (s_parent->m_hWnd) s_parent->DestroyWindow();
    delete s_parent;
    s_parent = nullptr;
  }
  void SetUp() override {
    XTGetThemeManager()->SetTheme(0);
    ASSERT_NE(m_parent.m_hWnd, nullptr);
    MoveMouseToScreen(Parked());
  }
  void TearDown() override {
    MoveMouseToScreen(Parked());
    XTGetThemeManager()->SetTheme(0);
  }

  void Create(CXTButton &button, DWORD dwStyle = BS_PUSHBUTTON, LPCTSTR text = L"") {
    ASSERT_TRUE(button.Create(text, WS_CHILD | WS_VISIBLE | dwStyle, CRect(20, 20, 20 + kWidth, 20 + kHeight),
                              &m_parent, kButtonId));
    button.UpdateWindow();
  }

  static void MoveMouseToScreen(POINT pt) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
    Pump(40);
  }
  static void MoveMouseTo(CWnd &wnd, CPoint pt) {
    wnd.ClientToScreen(&pt);
    MoveMouseToScreen(pt);
  }
  static void Press() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(40);
  }
  static void Release() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(40);
  }

  // The button's own painting into a memory canvas.
  static void Print(CXTButton &button, MemoryCanvas &canvas) {
    button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_CLIENT);
  }

  static CWnd *s_parent;
  static HHOOK s_hNoActivation;
  CWnd &m_parent = *s_parent;
};

CWnd *ButtonTest::s_parent = nullptr;
HHOOK ButtonTest::s_hNoActivation = nullptr;

// ---------------------------------------------------------------------------
// Owner-drawn type

TEST_F(ButtonTest, BecomesOwnerDrawnWithoutTouchingOtherStyleBits) {
  // Or-ing 0x0B into the type would make 0x0F out of every type from 4 to 7
  // and from 12 on: a radio button or group box would stay no push button.
  const DWORD types[] = {BS_PUSHBUTTON,      BS_DEFPUSHBUTTON, BS_CHECKBOX,   BS_AUTOCHECKBOX,
                         BS_RADIOBUTTON,     BS_3STATE,        BS_AUTO3STATE, BS_GROUPBOX,
                         BS_AUTORADIOBUTTON, BS_PUSHBOX,       BS_OWNERDRAW};
  for (DWORD type : types) {
    CXTButton created;
    Create(created, type | BS_LEFT | BS_MULTILINE);
    EXPECT_EQ(created.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << "created as type " << type;
    EXPECT_EQ(created.GetStyle() & (BS_LEFT | BS_MULTILINE | WS_VISIBLE),
              DWORD(BS_LEFT | BS_MULTILINE | WS_VISIBLE));
    created.DestroyWindow();

    HWND hWnd = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | type | BS_RIGHT, 0, 0, 50, 20,
                                  m_parent.m_hWnd, nullptr, nullptr, nullptr);
    CXTButton subclassed;
    ASSERT_TRUE(subclassed.SubclassWindow(hWnd));
    EXPECT_EQ(subclassed.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << "subclassed as type " << type;
    EXPECT_EQ(subclassed.GetStyle() & BS_CENTER, DWORD(BS_RIGHT));
    subclassed.DestroyWindow();
  }
}

TEST(ButtonIcons, TheFailureTraceNamesTheNumericId) {
  EXPECT_EQ(CXTButton::IconLoadFailure(135), CString(L"Failed to load Icon resource 135.\n"));
}

TEST(ButtonIcons, MissingIconResourcesLeaveNoImage) {
  CXTButton button;
  EXPECT_FALSE(button.SetIcon(CSize(16, 16), 0x7F00u + 99, 0, FALSE));
  EXPECT_EQ(button.GetIconObject(), nullptr);
  EXPECT_FALSE(button.SetBitmap(CSize(0, 0), 0x7F00u + 98, FALSE));
  EXPECT_EQ(button.GetIconObject(), nullptr);
}

// ---------------------------------------------------------------------------
// Styles, themes and states by pixel

enum class State { Normal, Hot, Pressed, Disabled, Checked, CheckedHot };

const char *StateName(State s) {
  static const char *names[] = {"normal", "hot", "pressed", "disabled", "checked", "checked+hot"};
  return names[static_cast<int>(s)];
}

struct LookCase {
  const char *look;
  DWORD dwxStyle;
  int nManagerTheme; // the shared theme, for styles without one of their own
  State state;
  int border; // toolkit colour index at (0, 0)
  int face;   // toolkit colour index inside, away from the border
};

const int kFace = COLOR_3DFACE, kLight = COLOR_3DHILIGHT, kShadow = COLOR_3DSHADOW, kDark = COLOR_3DDKSHADOW;

std::vector<LookCase> LookCases() {
  return {
      {"classic", 0, 0, State::Normal, kLight, kFace},
      {"classic", 0, 0, State::Hot, kLight, kFace},
      {"classic", 0, 0, State::Pressed, kDark, kFace},
      {"classic", 0, 0, State::Disabled, kLight, kFace},
      {"classic", 0, 0, State::Checked, kLight, kFace},
      {"flat", xtButtonFlat, 0, State::Normal, kFace, kFace},
      {"flat", xtButtonFlat, 0, State::Hot, kLight, kFace},
      {"flat", xtButtonFlat, 0, State::Pressed, kShadow, kFace},
      {"flat", xtButtonFlat, 0, State::Disabled, kFace, kFace},
      {"semi-flat", xtButtonSemiFlat, 0, State::Normal, kLight, kFace},
      {"semi-flat", xtButtonSemiFlat, 0, State::Hot, kLight, kFace},
      {"semi-flat", xtButtonSemiFlat, 0, State::Pressed, kShadow, kFace},
      {"office", xtButtonOffice, 0, State::Normal, kFace, kFace},
      {"office", xtButtonOffice, 0, State::Hot, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT},
      {"office", xtButtonOffice, 0, State::Pressed, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_PUSHED},
      {"office", xtButtonOffice, 0, State::Disabled, kFace, kFace},
      {"office", xtButtonOffice, 0, State::Checked, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_CHECKED},
      {"office", xtButtonOffice, 0, State::CheckedHot, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_PUSHED},
      // No bits of a theme of its own: the theme manager's theme draws it.
      {"shared office", xtButtonShowFocus, 1, State::Normal, kFace, kFace},
      {"shared office", xtButtonShowFocus, 1, State::Hot, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT},
      {"shared office", xtButtonShowFocus, 1, State::Pressed, XPCOLOR_HIGHLIGHT_BORDER,
       XPCOLOR_HIGHLIGHT_PUSHED},
      {"shared office", xtButtonShowFocus, 1, State::Checked, XPCOLOR_HIGHLIGHT_BORDER,
       XPCOLOR_HIGHLIGHT_CHECKED},
      {"shared highlight", 0, 2, State::Normal, kFace, kFace},
      {"shared highlight", 0, 2, State::Hot, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT},
      {"shared highlight", 0, 2, State::Pressed, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_PUSHED},
      {"shared classic", 0, 0, State::Hot, kLight, kFace},
  };
}

TEST_F(ButtonTest, EachStyleThemeAndStateByPixel) {
  for (const LookCase &c : LookCases()) {
    XTGetThemeManager()->SetTheme(c.nManagerTheme);
    CXTButton button;
    Create(button);
    button.SetButtonStyleBits(c.dwxStyle);
    switch (c.state) {
    case State::Hot:
      MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
      break;
    case State::Pressed:
      MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
      Press();
      break;
    case State::Disabled:
      button.EnableWindow(FALSE);
      break;
    case State::Checked:
      button.SetChecked(TRUE);
      break;
    case State::CheckedHot:
      button.SetChecked(TRUE);
      MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
      break;
    default:
      break;
    }
    MemoryCanvas canvas(kWidth, kHeight, RGB(1, 2, 3));
    Print(button, canvas);
    const std::string name = std::string(c.look) + " " + StateName(c.state);
    EXPECT_EQ(canvas.Pixel(0, 0), XTPGetColor(c.border)) << name;
    EXPECT_EQ(canvas.Pixel(kWidth / 2, 4), XTPGetColor(c.face)) << name;
    const bool tracksHot = button.GetTheme()->AllowsHotState(&button) != FALSE;
    EXPECT_EQ(button.IsHot() != FALSE, tracksHot && (c.state == State::Hot || c.state == State::CheckedHot))
        << name;
    if (c.state == State::Pressed) Release();
    MoveMouseToScreen(Parked());
    button.DestroyWindow();
  }
}

TEST_F(ButtonTest, TheHotStateEndsWhenTheMouseLeaves) {
  CXTButton button;
  Create(button);
  MoveMouseTo(button, CPoint(10, 10));
  EXPECT_TRUE(button.IsHot());
  MoveMouseTo(m_parent, CPoint(200, 150));
  Pump(60); // the tracking timer sees the cursor gone
  EXPECT_FALSE(button.IsHot());
  MemoryCanvas canvas(kWidth, kHeight);
  Print(button, canvas);
  EXPECT_EQ(canvas.Pixel(0, 0), XTPGetColor(COLOR_3DFACE)); // flat again: no border
}

TEST_F(ButtonTest, HatchedFaceWhilePushedOnly) {
  CXTButton button;
  Create(button);
  button.SetButtonStyleBits(xtButtonFlat | xtButtonHatchPushed);
  MemoryCanvas normal(kWidth, kHeight);
  Print(button, normal);
  EXPECT_EQ(normal.Pixel(kWidth / 2, 4), normal.Pixel(kWidth / 2 + 1, 4));
  MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
  Press();
  MemoryCanvas pushed(kWidth, kHeight);
  Print(button, pushed);
  EXPECT_NE(pushed.Pixel(kWidth / 2, 4), pushed.Pixel(kWidth / 2 + 1, 4));
  Release();
}

TEST_F(ButtonTest, OfficeStateColoursOnlyForAnOfficeLook) {
  CXTButton button;
  Create(button);
  EXPECT_EQ(button.SetOfficeStateColors(RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 0)), COLORREF(0));
  button.SetButtonStyleBits(xtButtonOffice);
  EXPECT_EQ(button.SetOfficeStateColors(RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 0)), COLORREF(1));
  MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
  MemoryCanvas hot(kWidth, kHeight);
  Print(button, hot);
  EXPECT_EQ(hot.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(hot.Pixel(kWidth / 2, 4), RGB(0, 255, 0));
  Press();
  MemoryCanvas pushed(kWidth, kHeight);
  Print(button, pushed);
  EXPECT_EQ(pushed.Pixel(kWidth / 2, 4), RGB(255, 0, 0));
  Release();
}

TEST_F(ButtonTest, FramedOfficeLookRestsInAShadowFrame) {
  XTGetThemeManager()->SetTheme(1);
  auto *pOffice = dynamic_cast<CXTButtonThemeOffice *>(CXTButton::GetSharedTheme());
  ASSERT_NE(pOffice, nullptr);
  pOffice->SetFramedLook(TRUE);
  CXTButton button;
  Create(button);
  button.SetButtonStyleBits(xtButtonSemiFlat | xtButtonShowFocus);
  MemoryCanvas canvas(kWidth, kHeight);
  Print(button, canvas);
  EXPECT_EQ(canvas.Pixel(0, 0), XTPGetColor(COLOR_3DSHADOW));
  EXPECT_EQ(canvas.Pixel(kWidth / 2, 4), XTPGetColor(XPCOLOR_TOOLBAR_FACE));
  // Focused at rest: a double frame in the highlight colour.
  // The focus as the button hears of it: the window never becomes active.
  button.SendMessage(WM_SETFOCUS);
  MemoryCanvas focused(kWidth, kHeight);
  Print(button, focused);
  EXPECT_EQ(focused.Pixel(0, 0), XTPGetColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(focused.Pixel(1, kHeight / 2), XTPGetColor(COLOR_HIGHLIGHT));
  pOffice->SetFramedLook(FALSE);
}

// ---------------------------------------------------------------------------
// Themes, factory and style bits

TEST(ButtonThemes, FactoryThemeFollowsTheManager) {
  const struct {
    int id;
    const char *kind;
  } cases[] = {{0, "base"}, {1, "office"}, {2, "highlight"}, {7, "base"}};
  for (const auto &c : cases) {
    XTGetThemeManager()->SetTheme(c.id);
    CXTButtonTheme *pTheme = CXTButton::CurrentFactoryTheme();
    ASSERT_NE(pTheme, nullptr);
    EXPECT_EQ(pTheme->GetThemeId(), c.id);
    const char *kind = dynamic_cast<CXTButtonThemeOfficeHighlight *>(pTheme) ? "highlight"
                       : dynamic_cast<CXTButtonThemeOffice *>(pTheme)        ? "office"
                                                                             : "base";
    EXPECT_STREQ(kind, c.kind) << c.id;
  }
  XTGetThemeManager()->SetTheme(0);
}

TEST(ButtonThemes, StyleBitsChooseTheButtonsOwnTheme) {
  XTGetThemeManager()->SetTheme(1);
  CXTButton button;
  EXPECT_EQ(button.GetTheme(), CXTButton::CurrentFactoryTheme())
      << "a new button draws with the shared theme";
  const struct {
    DWORD bits;
    bool own;
    bool office;
  } cases[] = {{xtButtonOffice, true, true},
               {xtButtonFlat, true, false},
               {xtButtonSemiFlat | xtButtonImageAbove | xtButtonShowFocus, false, true},
               {xtButtonOffice | xtButtonFlat, true, true}};
  DWORD previous = button.SetButtonStyleBits(xtButtonFlat, FALSE);
  for (const auto &c : cases) {
    EXPECT_EQ(button.SetButtonStyleBits(c.bits, FALSE), previous);
    previous = c.bits;
    EXPECT_EQ(button.GetTheme() != CXTButton::CurrentFactoryTheme(), c.own) << c.bits;
    EXPECT_EQ(dynamic_cast<CXTButtonThemeOffice *>(button.GetTheme()) != nullptr, c.office) << c.bits;
  }
  XTGetThemeManager()->SetTheme(0);
}

TEST(ButtonThemes, HighlightColoursFollowTheColourScheme) {
  CXTPColorManager *pColors = XTPGetColorManager();
  const struct {
    int scheme;
    COLORREF hot, pushed, shadow;
  } cases[] = {{1, RGB(255, 238, 194), RGB(254, 128, 62), RGB(127, 157, 185)},
               {2, RGB(255, 238, 194), RGB(254, 128, 62), RGB(164, 185, 127)},
               {3, RGB(255, 238, 194), RGB(254, 128, 62), RGB(165, 172, 178)}};
  for (const auto &c : cases) {
    pColors->SetSystemTheme(c.scheme);
    CXTButtonThemeOfficeHighlight theme;
    theme.RefreshMetrics();
    EXPECT_EQ(theme.GetBackHiliteColor(), c.hot) << c.scheme;
    EXPECT_EQ(theme.GetBackPushedColor(), c.pushed) << c.scheme;
    EXPECT_EQ(theme.GetShadowColor(), c.shadow) << c.scheme;
    EXPECT_EQ(theme.GetTextColor(), RGB(0, 0, 0)) << c.scheme;
    EXPECT_EQ(theme.GetFaceColor(), pColors->GetColor(COLOR_3DFACE)) << "no framed look: the plain face";
  }
  pColors->SetSystemTheme(xtpSystemThemeAuto);
  pColors->RefreshColors();
}

// ---------------------------------------------------------------------------
// The visual style's push button

TEST_F(ButtonTest, VisualStylePartStateForEachState) {
  FakeVisualStyles styles;
  const struct {
    const char *name;
    UINT itemState;
    bool hot;
    int stateId;
  } cases[] = {{"normal", 0, false, 1},
               {"focused", ODS_FOCUS, false, 5},
               {"hot", ODS_FOCUS, true, 2},
               {"pressed", ODS_SELECTED | ODS_FOCUS, true, 3},
               {"disabled", ODS_DISABLED | ODS_SELECTED, true, 4}};
  for (const auto &c : cases)
    EXPECT_EQ(CXTButtonTheme::VisualStyleState(c.itemState, c.hot, FALSE), c.stateId) << c.name;

  CXTButton button;
  Create(button);
  button.SetButtonStyleBits(xtButtonVisualStyle | xtButtonSemiFlat);
  MemoryCanvas canvas(kWidth, kHeight, RGB(1, 2, 3));
  // The state of the one background the print draws.
  const auto printedState = [&] {
    Pump(20);
    styles.calls.clear();
    Print(button, canvas);
    std::vector<int> states;
    for (const auto &call : styles.calls)
      if (call.what == L"DrawThemeBackground") {
        EXPECT_EQ(call.klass, L"BUTTON");
        EXPECT_EQ(call.part, 1);
        states.push_back(call.state);
      }
    return states;
  };
  EXPECT_EQ(printedState(), std::vector<int>{1});
  MoveMouseTo(button, CPoint(10, 10));
  EXPECT_EQ(printedState(), std::vector<int>{2});
  Press();
  EXPECT_EQ(printedState(), std::vector<int>{3});
  Release();
  // The visual style drew the face: the theme's own border is not there.
  EXPECT_EQ(canvas.Pixel(kWidth / 2, 4), RGB(1, 2, 3));

  // A visual style that fails to draw leaves the theme's own background.
  styles.themed = FALSE;
  CXTButton plain;
  ASSERT_TRUE(plain.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 100, kWidth, 100 + kHeight), &m_parent, 102));
  plain.SetButtonStyleBits(xtButtonVisualStyle | xtButtonSemiFlat);
  MemoryCanvas fallback(kWidth, kHeight, RGB(1, 2, 3));
  Print(plain, fallback);
  EXPECT_EQ(fallback.Pixel(0, 0), XTPGetColor(COLOR_3DHILIGHT));
}

// ---------------------------------------------------------------------------
// Icon and text

HICON SolidIcon(int size, COLORREF clr) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP hColor = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto *p = static_cast<DWORD *>(bits);
  for (int i = 0; i < size * size; i++)
    p[i] = 0xFF000000 | (GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr);
  std::vector<BYTE> maskBits(size * ((size + 15) / 16) * 2, 0);
  HBITMAP hMask = ::CreateBitmap(size, size, 1, 1, maskBits.data());
  ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
  HICON hIcon = ::CreateIconIndirect(&ii);
  ::DeleteObject(hColor);
  ::DeleteObject(hMask);
  return hIcon;
}

TEST_F(ButtonTest, AnIconOfNoSizeShowsAtItsOwnAndMovesWhenPressed) {
  HICON hIcon = SolidIcon(16, RGB(200, 0, 0));
  CXTButton button;
  Create(button, BS_PUSHBUTTON | BS_LEFT);
  ASSERT_TRUE(button.SetIcon(CSize(0, 0), hIcon));
  ::DestroyIcon(hIcon); // the button keeps a copy
  EXPECT_EQ(button.GetImageSize(), CSize(16, 16));
  const int top = (kHeight - 16) / 2;
  MemoryCanvas rest(kWidth, kHeight);
  Print(button, rest);
  EXPECT_EQ(rest.Pixel(4, top), RGB(200, 0, 0));
  EXPECT_EQ(rest.Pixel(19, top + 15), RGB(200, 0, 0));
  EXPECT_NE(rest.Pixel(20, top), RGB(200, 0, 0));

  button.SetChecked(TRUE);
  MemoryCanvas checked(kWidth, kHeight);
  Print(button, checked);
  EXPECT_NE(checked.Pixel(4, top), RGB(200, 0, 0));
  EXPECT_EQ(checked.Pixel(5, top + 1), RGB(200, 0, 0));
}

TEST_F(ButtonTest, OfficeIconFadedAtRestShadowedWhenHotGreyWhenDisabled) {
  HICON hIcon = SolidIcon(16, RGB(200, 0, 0));
  CXTButton button;
  Create(button, BS_PUSHBUTTON | BS_LEFT);
  button.SetButtonStyleBits(xtButtonOffice);
  ASSERT_TRUE(button.SetIcon(CSize(16, 16), hIcon));
  ::DestroyIcon(hIcon);
  const CPoint pt(4, (kHeight - 16) / 2);
  MemoryCanvas rest(kWidth, kHeight);
  Print(button, rest);
  const COLORREF faded = rest.Pixel(pt.x + 8, pt.y + 8);
  EXPECT_NE(faded, RGB(200, 0, 0));
  EXPECT_GT(GetGValue(faded), 0) << "faded towards white";

  MoveMouseTo(button, CPoint(kWidth - 5, kHeight / 2));
  MemoryCanvas hot(kWidth, kHeight);
  Print(button, hot);
  EXPECT_EQ(hot.Pixel(pt.x - 1, pt.y - 1), RGB(200, 0, 0)) << "raised by a pixel";
  EXPECT_NE(hot.Pixel(pt.x + 16, pt.y + 16), XTPGetColor(XPCOLOR_HIGHLIGHT)) << "its shadow below";
  MoveMouseToScreen(Parked());
  Pump(40);

  button.EnableWindow(FALSE);
  MemoryCanvas disabled(kWidth, kHeight);
  Print(button, disabled);
  const COLORREF grey = disabled.Pixel(pt.x + 8, pt.y + 8);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
}

TEST_F(ButtonTest, TextBesideTheIconAndInTheDisabledColour) {
  HICON hIcon = SolidIcon(16, RGB(200, 0, 0));
  CXTButton button;
  Create(button, BS_PUSHBUTTON | BS_LEFT, L"&Fast");
  ASSERT_TRUE(button.SetIcon(CSize(16, 16), hIcon));
  ::DestroyIcon(hIcon);
  const auto countColour = [](MemoryCanvas &canvas, COLORREF clr, int fromX) {
    int n = 0;
    for (int y = 2; y < kHeight - 2; y++)
      for (int x = fromX; x < kWidth - 2; x++) n += canvas.Pixel(x, y) == clr;
    return n;
  };
  MemoryCanvas enabled(kWidth, kHeight);
  Print(button, enabled);
  const int textStart = 4 + 16 + 8;
  EXPECT_GT(countColour(enabled, XTPGetColor(COLOR_BTNTEXT), textStart), 0);
  EXPECT_EQ(countColour(enabled, XTPGetColor(COLOR_BTNTEXT), 0) -
                countColour(enabled, XTPGetColor(COLOR_BTNTEXT), textStart),
            0)
      << "nothing of the text left of its start";
  button.EnableWindow(FALSE);
  MemoryCanvas disabled(kWidth, kHeight);
  Print(button, disabled);
  EXPECT_EQ(countColour(disabled, XTPGetColor(COLOR_BTNTEXT), 0), 0);
  EXPECT_GT(countColour(disabled, XTPGetColor(COLOR_GRAYTEXT), textStart), 0);
}

TEST_F(ButtonTest, ImageAboveTextCentresBoth) {
  HICON hIcon = SolidIcon(16, RGB(200, 0, 0));
  CXTButton button;
  ASSERT_TRUE(button.Create(L"Go", WS_CHILD | WS_VISIBLE, CRect(20, 20, 100, 100), &m_parent, kButtonId));
  button.SetButtonStyleBits(xtButtonImageAbove | xtButtonFlat);
  ASSERT_TRUE(button.SetIcon(CSize(16, 16), hIcon));
  ::DestroyIcon(hIcon);
  CXTButtonTheme *pTheme = button.GetTheme();
  const CRect rc(0, 0, 80, 80);
  const CPoint image = pTheme->ResolveImagePoint(0, rc, &button);
  EXPECT_EQ(image.x, 32);
  EXPECT_LT(image.y, 32) << "above the middle";
  const CPoint text = pTheme->ResolveTextPoint(&button, rc, CSize(20, 14));
  EXPECT_GE(text.y, image.y + 16) << "below the image";

  // Owner positions win.
  button.PlaceImageAndText(CPoint(3, 4), CPoint(30, 40));
  EXPECT_EQ(pTheme->ResolveImagePoint(0, rc, &button), CPoint(3, 4));
  EXPECT_EQ(pTheme->ResolveTextPoint(&button, rc, CSize(20, 14)), CPoint(30, 40));
}

// ---------------------------------------------------------------------------
// What the parent hears

// The notifications among what the button sent its parent.
std::vector<RecordedMessage> Commands(const MessageRecorder &recorder) {
  std::vector<RecordedMessage> commands;
  for (const RecordedMessage &m : recorder.Messages())
    if (m.message == WM_COMMAND) commands.push_back(m);
  return commands;
}

TEST_F(ButtonTest, ClicksReachTheParentAndADoubleClickIsASecondPress) {
  CXTButton button;
  Create(button, BS_PUSHBUTTON, L"Click");
  MessageRecorder recorder(m_parent.m_hWnd);
  recorder.FromControl(button.m_hWnd);
  MoveMouseTo(button, CPoint(kWidth / 2, kHeight / 2));
  Press();
  EXPECT_TRUE(button.IsPushed());
  EXPECT_GT(recorder.Count(WM_DRAWITEM), 0u) << "the parent hands the drawing back to the button";
  Release();
  EXPECT_FALSE(button.IsPushed());
  EXPECT_TRUE(
      CompareMessageSequence(Commands(recorder), {{WM_COMMAND, BN_CLICKED, kCode}}, IsRunningUnderWine()));
  EXPECT_NE(::GetActiveWindow(), m_parent.m_hWnd) << "the click took no other test's focus";

  Pump(::GetDoubleClickTime() + 50);
  recorder.Clear();
  Press();
  Release();
  Press();
  Release();
  EXPECT_TRUE(CompareMessageSequence(Commands(recorder),
                                     {{WM_COMMAND, BN_CLICKED, kCode},
                                      {WM_COMMAND, BN_DOUBLECLICKED, kCode},
                                      {WM_COMMAND, BN_CLICKED, kCode}},
                                     IsRunningUnderWine()));
}

TEST_F(ButtonTest, FlipIconVisibilityHidesTheIcon) {
  HICON hIcon = SolidIcon(16, RGB(200, 0, 0));
  CXTButton button;
  Create(button, BS_PUSHBUTTON | BS_LEFT);
  ASSERT_TRUE(button.SetIcon(CSize(16, 16), hIcon));
  ::DestroyIcon(hIcon);
  const CPoint pt(4 + 8, (kHeight - 16) / 2 + 8);
  button.FlipIconVisibility();
  MemoryCanvas hidden(kWidth, kHeight);
  Print(button, hidden);
  EXPECT_NE(hidden.Pixel(pt.x, pt.y), RGB(200, 0, 0));
  button.FlipIconVisibility();
  MemoryCanvas shown(kWidth, kHeight);
  Print(button, shown);
  EXPECT_EQ(shown.Pixel(pt.x, pt.y), RGB(200, 0, 0));
}

} // namespace
