// A new colour scheme or setting reaches every window of the frame: its
// descendants and the popups it owns (and theirs), but no other window.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Framework.h"

namespace {

// Counts, per window name, the changes seen and the section last named.
std::map<std::wstring, int> g_colourChanges;
std::map<std::wstring, std::wstring> g_settingSections;

class ListeningWnd : public CWnd {
public:
  std::wstring m_name;
  afx_msg void OnSysColorChange() { g_colourChanges[m_name]++; }
  afx_msg void OnSettingChange(UINT, LPCTSTR lpszSection) {
    g_settingSections[m_name] = lpszSection != nullptr ? lpszSection : L"";
  }
  BOOL CreateNamed(LPCWSTR name, DWORD style, HWND hWndParent) {
    m_name = name;
    return CreateEx(0, AfxRegisterWndClass(0), name, style, 0, 0, 40, 40, hWndParent, nullptr);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListeningWnd, CWnd)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

TEST(SystemChange, ReachesDescendantsAndOwnedPopupsOfTheFrame) {
  auto *pFrame = new CFrameWnd; // deletes itself when destroyed
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               nullptr, nullptr));
  ListeningWnd child, grandchild, popup, popupChild, popupOfPopup, stranger;
  ASSERT_TRUE(child.CreateNamed(L"child", WS_CHILD, pFrame->m_hWnd));
  ASSERT_TRUE(grandchild.CreateNamed(L"grandchild", WS_CHILD, child.m_hWnd));
  ASSERT_TRUE(popup.CreateNamed(L"popup", WS_POPUP, pFrame->m_hWnd));
  ASSERT_TRUE(popupChild.CreateNamed(L"popup child", WS_CHILD, popup.m_hWnd));
  ASSERT_TRUE(popupOfPopup.CreateNamed(L"popup of popup", WS_POPUP, popup.m_hWnd));
  ASSERT_TRUE(stranger.CreateNamed(L"stranger", WS_POPUP, nullptr));

  g_colourChanges.clear();
  g_settingSections.clear();
  pFrame->SendMessage(WM_SYSCOLORCHANGE);
  pFrame->SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, (LPARAM)L"WindowMetrics");

  for (const wchar_t *name : {L"child", L"grandchild", L"popup", L"popup child", L"popup of popup"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(g_colourChanges[name], 1);
    EXPECT_EQ(g_settingSections[name], L"WindowMetrics");
  }
  EXPECT_EQ(g_colourChanges.count(L"stranger"), 0u);
  EXPECT_EQ(g_settingSections.count(L"stranger"), 0u);
  for (ListeningWnd *p : {&popupOfPopup, &popupChild, &popup, &grandchild, &child, &stranger})
    p->DestroyWindow();
  pFrame->DestroyWindow();
}

// A frame among the popups does not pass the change on a second time.
TEST(SystemChange, OwnedFrameDoesNotRelayAgain) {
  auto *pFrame = new CFrameWnd;
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"outer", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               nullptr, nullptr));
  auto *pInner = new CFrameWnd;
  ASSERT_TRUE(pInner->CreateEx(0, AfxRegisterWndClass(0), L"inner", WS_POPUP, 0, 0, 100, 100, pFrame->m_hWnd,
                               nullptr));
  ListeningWnd innerChild;
  ASSERT_TRUE(innerChild.CreateNamed(L"inner child", WS_CHILD, pInner->m_hWnd));
  g_colourChanges.clear();
  pFrame->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(g_colourChanges[L"inner child"], 1);
  innerChild.DestroyWindow();
  pFrame->DestroyWindow(); // takes the owned frame with it
}

} // namespace
