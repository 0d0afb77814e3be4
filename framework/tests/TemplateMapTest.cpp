// Message maps and run-time classes on class templates: a template over its
// own base class, instantiated twice, and a class derived from one instance.
#include <gtest/gtest.h>

#include <vector>

#include "Framework.h"

namespace {

const UINT kUserMessage = WM_APP + 21;
const UINT kTemplateCommand = 41001;
const UINT kDerivedCommand = 41002;

// A layer over any window class, as toolkit frames and list views are built.
template <class TBase> class CLayerOver : public TBase {
  DECLARE_DYNAMIC(CLayerOver)
public:
  std::vector<int> m_calls;

  afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam * 10 + lParam); }
  afx_msg void OnTemplateCommand() { m_calls.push_back(1); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC_T(CLayerOver, TBase, TBase)

BEGIN_TEMPLATE_MESSAGE_MAP(CLayerOver, TBase, TBase)
ON_MESSAGE(kUserMessage, OnUser)
ON_COMMAND(kTemplateCommand, OnTemplateCommand)
END_MESSAGE_MAP()

class CLayeredWnd : public CLayerOver<CWnd> {
public:
  afx_msg void OnDerivedCommand() { m_calls.push_back(2); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLayeredWnd, CLayerOver<CWnd>)
ON_COMMAND(kDerivedCommand, OnDerivedCommand)
END_MESSAGE_MAP()

TEST(TemplateMessageMap, EntriesOfTheTemplateAndItsDerivedClassBothDispatch) {
  CLayeredWnd wnd;
  ASSERT_TRUE(
      wnd.CreateEx(0, AfxRegisterWndClass(0), L"layer", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  EXPECT_EQ(wnd.SendMessage(kUserMessage, 4, 2), 42);
  EXPECT_TRUE(wnd.OnCmdMsg(kTemplateCommand, CN_COMMAND, nullptr, nullptr));
  EXPECT_TRUE(wnd.OnCmdMsg(kDerivedCommand, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(wnd.OnCmdMsg(kDerivedCommand + 1, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(wnd.m_calls, (std::vector<int>{1, 2}));
  // The base's own map (WM_NCDESTROY lets the object go) is still reached.
  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(TemplateMessageMap, FrameInstanceKeepsTheFrameMap) {
  auto *pFrame = new CLayerOver<CFrameWnd>; // frames delete themselves
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"layer frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                               nullptr, nullptr));
  EXPECT_EQ(pFrame->SendMessage(kUserMessage, 1, 3), 13);
  EXPECT_TRUE(pFrame->OnCmdMsg(kTemplateCommand, CN_COMMAND, nullptr, nullptr));
  // A command only the frame's map handles still routes.
  AFX_CMDHANDLERINFO info = {};
  EXPECT_TRUE(pFrame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_COMMAND, nullptr, &info));
  pFrame->DestroyWindow();
}

TEST(TemplateRuntimeClass, EachInstanceHasItsOwnClassOverItsOwnBase) {
  CRuntimeClass *pOverWnd = RUNTIME_CLASS_T(CLayerOver, CWnd);
  CRuntimeClass *pOverFrame = RUNTIME_CLASS_T(CLayerOver, CFrameWnd);
  EXPECT_NE(pOverWnd, pOverFrame);
  EXPECT_STREQ(pOverWnd->m_lpszClassName, "CLayerOver");
  EXPECT_EQ(pOverWnd->m_pBaseClass, RUNTIME_CLASS(CWnd));
  EXPECT_EQ(pOverFrame->m_pBaseClass, RUNTIME_CLASS(CFrameWnd));
  EXPECT_EQ(pOverFrame->m_nObjectSize, (int)sizeof(CLayerOver<CFrameWnd>));

  CLayeredWnd wnd;
  EXPECT_EQ(wnd.GetRuntimeClass(), pOverWnd); // the derived class declares none of its own
  EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_TRUE(wnd.IsKindOf(pOverWnd));
  EXPECT_FALSE(wnd.IsKindOf(pOverFrame));
  EXPECT_FALSE(wnd.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
}

} // namespace
