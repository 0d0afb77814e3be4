// The expanding dialog over the Find dialog's template: it opens showing the
// part its marker covers, with every control below disabled; its button shows
// the rest and hides it again at the same size.
#include "AppFrameTest.h"

#include "ExpandingDialog.h"
#include "resource.h"

namespace {

class ExpandingDialog : public AppFrameTest {
protected:
  // Opens the dialog modeless over the frame.
  CExpandingDialog &Open(bool changeText) {
    m_dialog = std::make_unique<CExpandingDialog>(IDD_FIND, m_frame, IDC_FIND_MARKER, IDC_FIND_EXPAND, 0,
                                                  L"Advance >>", L"Advance <<", changeText, &m_wanted);
    EXPECT_TRUE(m_dialog->Create(IDD_FIND, m_frame));
    return *m_dialog;
  }
  void TearDown() override {
    if (m_dialog && m_dialog->m_hWnd) m_dialog->DestroyWindow();
    m_dialog.reset();
    AppFrameTest::TearDown();
  }
  CRect WindowRect() const {
    CRect rect;
    m_dialog->GetWindowRect(&rect);
    return rect;
  }
  CRect MarkerRect() const {
    CRect rect;
    m_dialog->GetDlgItem(IDC_FIND_MARKER)->GetWindowRect(&rect);
    return rect;
  }
  bool Enabled(UINT id) const { return ::IsWindowEnabled(::GetDlgItem(m_dialog->m_hWnd, id)) != FALSE; }
  CString ButtonText() const {
    CString text;
    m_dialog->GetDlgItem(IDC_FIND_EXPAND)->GetWindowText(text);
    return text;
  }
  void ClickExpand() { ::SendMessageW(::GetDlgItem(m_dialog->m_hWnd, IDC_FIND_EXPAND), BM_CLICK, 0, 0); }

  std::unique_ptr<CExpandingDialog> m_dialog;
  bool m_wanted = false;
};

TEST_F(ExpandingDialog, OpensCollapsedToTheMarkerAndTheButtonTogglesTheRest) {
  CExpandingDialog &dialog = Open(true);
  EXPECT_FALSE(dialog.IsExpanded());
  const CRect collapsed = WindowRect(), marker = MarkerRect();
  EXPECT_EQ(collapsed.bottom, marker.bottom);
  EXPECT_EQ(collapsed.right, marker.right);
  EXPECT_FALSE(Enabled(IDC_FIND_SIZE));
  EXPECT_FALSE(Enabled(IDC_FIND_TO_DATE));
  EXPECT_TRUE(Enabled(IDOK));
  EXPECT_TRUE(Enabled(IDC_FIND_EXPAND));
  EXPECT_EQ(ButtonText(), CString(L"Advance >>"));
  // A second collapse does nothing.
  dialog.Expand(false);
  EXPECT_EQ(WindowRect(), collapsed);

  ClickExpand();
  EXPECT_TRUE(m_wanted);
  EXPECT_TRUE(dialog.IsExpanded());
  EXPECT_GT(WindowRect().Height(), collapsed.Height());
  EXPECT_TRUE(Enabled(IDC_FIND_SIZE));
  EXPECT_EQ(ButtonText(), CString(L"Advance <<"));

  ClickExpand();
  EXPECT_FALSE(m_wanted);
  EXPECT_FALSE(dialog.IsExpanded());
  EXPECT_EQ(WindowRect().Size(), collapsed.Size());
  EXPECT_FALSE(Enabled(IDC_FIND_SIZE));
}

TEST_F(ExpandingDialog, WithoutItsSecondTextExpandingIsForGood) {
  CExpandingDialog &dialog = Open(false);
  ClickExpand();
  EXPECT_TRUE(dialog.IsExpanded());
  EXPECT_FALSE(Enabled(IDC_FIND_EXPAND));
  EXPECT_EQ(ButtonText(), CString(L"Advance >>"));
}

} // namespace
