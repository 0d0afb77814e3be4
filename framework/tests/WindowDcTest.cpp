#include "ControlTestWindow.h"

#include "WindowDc.h"

namespace {

// A window that paints through CPaintDC and records what it was given.
class PaintedWindow : public CWnd {
public:
  HDC m_paintedDc = nullptr;
  RECT m_paintRect = {};
  int m_paints = 0;

  void OnPaint() {
    CPaintDC dc(this);
    m_paintedDc = dc.GetSafeHdc();
    m_paintRect = dc.m_ps.rcPaint;
    ++m_paints;
    EXPECT_FALSE(dc.IsOwned());
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWindow, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

using WindowDcTest = ControlTestWindow;

TEST_F(WindowDcTest, PaintDcValidatesTheWindow) {
  PaintedWindow child;
  ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 40),
                           &m_parent, 9));
  m_parent.ShowWindow(SW_SHOWNA);
  child.InvalidateRect(nullptr, FALSE);
  child.UpdateWindow();
  EXPECT_GE(child.m_paints, 1);
  EXPECT_NE(child.m_paintedDc, nullptr);
  EXPECT_EQ(CRect(child.m_paintRect), CRect(0, 0, 50, 40));
  // EndPaint ran: nothing is left to paint.
  EXPECT_FALSE(::GetUpdateRect(child.m_hWnd, nullptr, FALSE));
}

TEST_F(WindowDcTest, ClientAndWindowDcsGoBackToTheWindow) {
  HDC client = nullptr;
  {
    CClientDC dc(&m_parent);
    client = dc.GetSafeHdc();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(::WindowFromDC(client), m_parent.m_hWnd);
    EXPECT_FALSE(dc.IsOwned());
  }
  {
    CWindowDC dc(&m_parent);
    ASSERT_NE(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(::WindowFromDC(dc.GetSafeHdc()), m_parent.m_hWnd);
  }
  {
    CClientDC screen(nullptr);
    EXPECT_NE(screen.GetSafeHdc(), nullptr);
    EXPECT_GT(screen.GetDeviceCaps(HORZRES), 0);
  }
}

} // namespace
