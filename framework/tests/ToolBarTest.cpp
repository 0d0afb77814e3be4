#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "FrameWnd.h"
#include "ToolBar.h"
#include "WindowTestKit.h"

namespace {

constexpr UINT kToolBar = 400;
constexpr UINT kToolBarWithoutBitmap = 410;

// The bytes of the test's own tool-bar resource, as the resource compiler wrote them.
std::vector<BYTE> ResourceBytes(UINT id) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_TOOLBAR);
  if (found == nullptr) return {};
  const BYTE *data = static_cast<const BYTE *>(::LockResource(::LoadResource(module, found)));
  return std::vector<BYTE>(data, data + ::SizeofResource(module, found));
}

TEST(ToolBarResource, ParsesTheCompiledResource) {
  std::vector<BYTE> bytes = ResourceBytes(kToolBar);
  ASSERT_EQ(bytes.size(), 16u); // four header words and four ids
  ToolBarTemplate bar;
  ASSERT_TRUE(ParseToolBarResource(bytes.data(), bytes.size(), bar));
  EXPECT_EQ(bar.width, 16);
  EXPECT_EQ(bar.height, 15);
  EXPECT_EQ(bar.ids, (std::vector<UINT>{401, 0, 402, 403}));
}

TEST(ToolBarResource, RejectsDamagedCopies) {
  const std::vector<BYTE> good = ResourceBytes(kToolBar);
  ASSERT_FALSE(good.empty());
  struct Damage {
    const char *name;
    std::function<void(std::vector<BYTE> &)> apply;
  } const damages[] = {
      {"version 2", [](std::vector<BYTE> &b) { b[0] = 2; }},
      {"zero width", [](std::vector<BYTE> &b) { b[2] = 0; }},
      {"zero height", [](std::vector<BYTE> &b) { b[4] = 0; }},
      {"count past the end", [](std::vector<BYTE> &b) { b[6] = 5; }},
      {"last id cut off", [](std::vector<BYTE> &b) { b.pop_back(); }},
      {"header only half there", [](std::vector<BYTE> &b) { b.resize(6); }},
  };
  for (const Damage &damage : damages) {
    SCOPED_TRACE(damage.name);
    std::vector<BYTE> bytes = good;
    damage.apply(bytes);
    ToolBarTemplate bar;
    EXPECT_FALSE(ParseToolBarResource(bytes.data(), bytes.size(), bar));
  }
  ToolBarTemplate bar;
  EXPECT_FALSE(ParseToolBarResource(nullptr, 16, bar));

  // A count below the data is fine: the rest is ignored.
  std::vector<BYTE> shorter = good;
  shorter[6] = 2;
  ASSERT_TRUE(ParseToolBarResource(shorter.data(), shorter.size(), bar));
  EXPECT_EQ(bar.ids, (std::vector<UINT>{401, 0}));
}

// A frame whose handlers disable button 402 and check button 403; 401 only
// has a command handler.
class TestFrame : public CFrameWnd {
public:
  void OnFirst() {}
  void OnUpdateSecond(CCmdUI *state) { state->Enable(FALSE); }
  void OnUpdateThird(CCmdUI *state) { state->SetCheck(1); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_COMMAND(401, OnFirst)
ON_UPDATE_COMMAND_UI(402, OnUpdateSecond)
ON_UPDATE_COMMAND_UI(403, OnUpdateThird)
END_MESSAGE_MAP()

using ToolBarTest = FrameWithBar<CToolBar, TestFrame>;

TEST_F(ToolBarTest, LoadsButtonsAndImages) {
  ASSERT_TRUE(m_bar.LoadToolBar(kToolBar));
  EXPECT_EQ(m_bar.GetCount(), 4);
  EXPECT_EQ(m_bar.CommandToIndex(402), 2);
  EXPECT_EQ(m_bar.CommandToIndex(999), -1);
  EXPECT_EQ(m_bar.GetItemID(0), 401u);
  EXPECT_EQ(m_bar.GetItemID(1), 0u);
  EXPECT_EQ(m_bar.GetItemID(9), 0u);
  EXPECT_EQ(m_bar.GetButtonStyle(1) & 0xFFFF, static_cast<UINT>(TBSTYLE_SEP));
  EXPECT_EQ(m_bar.GetButtonStyle(0), static_cast<UINT>(TBBS_BUTTON));
  EXPECT_EQ(m_bar.GetImageList()->GetImageCount(), 3);

  UINT id = 0, style = 0;
  int image = -1;
  m_bar.GetButtonInfo(3, id, style, image);
  EXPECT_EQ(id, 403u);
  EXPECT_EQ(image, 2); // separators take no image

  CRect rect;
  m_bar.GetItemRect(0, &rect);
  EXPECT_EQ(rect.Width(), 16 + 7);
  EXPECT_EQ(rect.Height(), 15 + 7);
}

TEST_F(ToolBarTest, MissingResourcesFail) {
  EXPECT_FALSE(m_bar.LoadToolBar(999));
  EXPECT_FALSE(m_bar.LoadToolBar(kToolBarWithoutBitmap));
}

TEST_F(ToolBarTest, StylesRoundTripThroughTheClassicWord) {
  ASSERT_TRUE(m_bar.LoadToolBar(kToolBar));
  m_bar.SetButtonStyle(2, TBBS_CHECKBOX | TBBS_CHECKED);
  EXPECT_EQ(m_bar.GetButtonStyle(2), static_cast<UINT>(TBBS_CHECKBOX | TBBS_CHECKED));
  EXPECT_TRUE(m_bar.SendMessage(TB_ISBUTTONCHECKED, 402));
  m_bar.SetButtonStyle(2, TBBS_BUTTON | TBBS_DISABLED);
  EXPECT_FALSE(m_bar.SendMessage(TB_ISBUTTONENABLED, 402));
  EXPECT_EQ(m_bar.GetButtonStyle(2), static_cast<UINT>(TBBS_BUTTON | TBBS_DISABLED));
}

TEST_F(ToolBarTest, IdleUpdateFollowsTheHandlers) {
  ASSERT_TRUE(m_bar.LoadToolBar(kToolBar));
  m_bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_TRUE(m_bar.SendMessage(TB_ISBUTTONENABLED, 401));
  EXPECT_FALSE(m_bar.SendMessage(TB_ISBUTTONENABLED, 402));
  EXPECT_TRUE(m_bar.SendMessage(TB_ISBUTTONCHECKED, 403));
}

TEST_F(ToolBarTest, TakesItsStripFromTheTopOfTheLayout) {
  ASSERT_TRUE(m_bar.LoadToolBar(kToolBar));
  int height = m_bar.CalcFixedLayout(TRUE, TRUE).cy;
  EXPECT_GE(height, 22);
  const BarLayout layout = LayOut(CRect(0, 0, 600, 300));
  EXPECT_EQ(layout.left, CRect(0, height, 600, 300));
  EXPECT_EQ(layout.placed, CRect(0, 0, 600, height));
}

} // namespace
