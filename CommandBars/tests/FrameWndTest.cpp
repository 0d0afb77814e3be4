// The frame base: the command bars it makes and holds, and the controls'
// notifications routed through the frame's command handling.
#include <gtest/gtest.h>

#include "XTPFrameWnd.h"

namespace {

constexpr UINT kHandledId = 42, kUnhandledId = 43;

int g_nBarsAlive = 0;

class CCountedCommandBars : public CXTPCommandBars {
  DECLARE_DYNCREATE(CCountedCommandBars)
public:
  CCountedCommandBars() { g_nBarsAlive++; }
  ~CCountedCommandBars() override { g_nBarsAlive--; }
};

IMPLEMENT_DYNCREATE(CCountedCommandBars, CXTPCommandBars)

class CTestFrame : public CXTPFrameWnd {
public:
  LRESULT m_nAnswer = 0;
  int m_nExecuted = 0;
  afx_msg void OnExecute(NMHDR *pNMHDR, LRESULT *pResult) {
    m_nExecuted += pNMHDR->idFrom == kHandledId ? 1 : 100;
    *pResult = m_nAnswer;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CXTPFrameWnd)
ON_NOTIFY(CBN_XTP_EXECUTE, kHandledId, OnExecute)
END_MESSAGE_MAP()

CTestFrame *MakeFrame() {
  auto *pFrame = new CTestFrame; // frames delete themselves when destroyed
  if (!pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                        nullptr)) {
    delete pFrame;
    return nullptr;
  }
  return pFrame;
}

TEST(FrameWndBase, MakesItsCommandBarsOnceAndReleasesThemWithTheFrame) {
  CTestFrame *pFrame = MakeFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_EQ(pFrame->GetCommandBars(), nullptr);
  EXPECT_FALSE(pFrame->InitCommandBars(RUNTIME_CLASS(CWnd))) << "not a command bars class";
  EXPECT_EQ(pFrame->GetCommandBars(), nullptr);
  ASSERT_TRUE(pFrame->InitCommandBars(RUNTIME_CLASS(CCountedCommandBars)));
  EXPECT_FALSE(pFrame->InitCommandBars(RUNTIME_CLASS(CCountedCommandBars))) << "one set per frame";
  EXPECT_EQ(g_nBarsAlive, 1);
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  EXPECT_EQ(pBars->GetSite(), pFrame);
  // Whoever else holds a reference keeps the bars past the frame.
  pBars->InternalAddRef();
  pFrame->DestroyWindow();
  EXPECT_EQ(g_nBarsAlive, 1);
  pBars->InternalRelease();
  EXPECT_EQ(g_nBarsAlive, 0);
}

TEST(FrameWndBase, ControlNotificationsGoThroughTheFramesCommandRouting) {
  CTestFrame *pFrame = MakeFrame();
  ASSERT_NE(pFrame, nullptr);
  const struct {
    const char *name;
    UINT nId;
    UINT nCode;
    LRESULT nAnswer;
    LRESULT nResult;
    int nExecuted;
  } cases[] = {
      {"handled, answered nonzero", kHandledId, CBN_XTP_EXECUTE, 1, 1, 1},
      {"handled, answered zero: the control goes on to WM_COMMAND", kHandledId, CBN_XTP_EXECUTE, 0, 0, 1},
      {"no handler for the id", kUnhandledId, CBN_XTP_EXECUTE, 1, 0, 0},
      {"no handler for the code", kHandledId, CBN_XTP_EXECUTE + 1, 1, 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    pFrame->m_nAnswer = c.nAnswer;
    pFrame->m_nExecuted = 0;
    NMXTPCONTROL notify = {};
    notify.hdr.hwndFrom = nullptr;
    notify.hdr.idFrom = c.nId;
    notify.hdr.code = c.nCode;
    EXPECT_EQ(pFrame->SendMessage(XTP_TBN_COMMAND_NOTIFY, c.nId, reinterpret_cast<LPARAM>(&notify)),
              c.nResult);
    EXPECT_EQ(pFrame->m_nExecuted, c.nExecuted);
  }
  EXPECT_EQ(pFrame->SendMessage(XTP_TBN_COMMAND_NOTIFY, kHandledId, 0), 0) << "no notification record";
  // The frame's own map is still reached through the template's.
  EXPECT_EQ(pFrame->SendMessage(WM_SETMESSAGESTRING, 0xE001), 0);
  EXPECT_EQ(pFrame->SendMessage(WM_SETMESSAGESTRING, 0xE002), 0xE001);
  pFrame->DestroyWindow();
}

TEST(FrameWndBase, TheNotificationSinkMessageIsRegistered) {
  EXPECT_GE(XTPNotificationSinkMessage(), 0xC000u);
  EXPECT_EQ(XTPNotificationSinkMessage(), ::RegisterWindowMessageW(L"XTPNotificationSinkMTOnEvent"));
}

} // namespace
