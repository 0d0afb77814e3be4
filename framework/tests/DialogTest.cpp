// Dialogs: the modal loop, keys reaching the dialog before its owner frame's
// filter, F1 and the help request as the dialog's help command, and data
// exchange with the controls.
#include <gtest/gtest.h>

#include <vector>

#include "Framework.h"

namespace {

const int IDC_NAME = 1001;
const int IDC_COUNT = 1002;
const int IDC_CHECK = 1003;
const int IDC_RADIO1 = 1004;
const int IDC_RADIO2 = 1005;

// Builds an in-memory dialog template: OK, Cancel, two edits, a check box and
// a group of two radio buttons.
class DialogTemplate {
public:
  DialogTemplate() {
    Align(4);
    DLGTEMPLATE dt = {};
    dt.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dt.cdit = 7;
    dt.cx = 200;
    dt.cy = 120;
    Add(&dt, sizeof(dt));
    Word(0); // no menu
    Word(0); // default class
    Text(L"Test");
    Word(8);
    Text(L"MS Shell Dlg");
    Item(IDOK, 0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 95, 50, 14, L"OK");
    Item(IDCANCEL, 0x0080, BS_PUSHBUTTON | WS_TABSTOP, 70, 95, 50, 14, L"Cancel");
    Item(IDC_NAME, 0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 10, 100, 12, L"");
    Item(IDC_COUNT, 0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 25, 100, 12, L"");
    Item(IDC_CHECK, 0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 40, 100, 12, L"Check");
    Item(IDC_RADIO1, 0x0080, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 10, 55, 100, 12, L"One");
    Item(IDC_RADIO2, 0x0080, BS_AUTORADIOBUTTON, 10, 70, 100, 12, L"Two");
  }
  LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_data.data()); }

private:
  void Add(const void *p, size_t n) {
    auto *b = static_cast<const BYTE *>(p);
    m_data.insert(m_data.end(), b, b + n);
  }
  void Word(WORD w) { Add(&w, 2); }
  void Text(LPCWSTR s) { Add(s, (wcslen(s) + 1) * 2); }
  void Align(size_t n) {
    while (m_data.size() % n) m_data.push_back(0);
  }
  void Item(int id, WORD cls, DWORD style, short x, short y, short cx, short cy, LPCWSTR text) {
    Align(4);
    DLGITEMTEMPLATE it = {WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, (WORD)id};
    Add(&it, sizeof(it));
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0);
  }
  std::vector<BYTE> m_data;
};

// The owner frame filters Enter and Escape away, as the program's main frame does.
class FilteringFrame : public CFrameWnd {
public:
  int m_nFiltered = 0;
  BOOL PreTranslateMessage(MSG *pMsg) override {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
      m_nFiltered++;
      pMsg->wParam = 0;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
  }
};

class TestDialog : public CDialog {
public:
  CString m_strName = L"start";
  int m_nCount = 5;
  int m_nCheck = 1;
  int m_nRadio = 1;
  UINT m_nKeyOnInit = 0; // posted to the name field once the dialog is up

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    // A safety net: a dialog the test fails to end ends itself.
    SetTimer(1, 5000, nullptr);
    if (m_nKeyOnInit != 0) {
      HWND hEdit = ::GetDlgItem(m_hWnd, IDC_NAME);
      ::PostMessage(hEdit, WM_KEYDOWN, m_nKeyOnInit, 1);
      ::PostMessage(hEdit, WM_KEYUP, m_nKeyOnInit, 0xC0000001);
    }
    return TRUE;
  }
  void DoDataExchange(CDataExchange *pDX) override {
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 20);
    DDX_Text(pDX, IDC_COUNT, m_nCount);
    DDX_Check(pDX, IDC_CHECK, m_nCheck);
    DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
  }
  afx_msg void OnTimer(UINT_PTR) { EndDialog(-2); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

class Dialogs : public ::testing::Test {
protected:
  void SetUp() override {
    m_pFrame = new FilteringFrame;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  }
  void TearDown() override { m_pFrame->DestroyWindow(); }
  FilteringFrame *m_pFrame = nullptr;
  DialogTemplate m_template;
};

TEST_F(Dialogs, EnterAndEscapeReachTheDialogBeforeTheOwnerFilter) {
  struct Case {
    UINT nKey;
    INT_PTR nResult;
  } cases[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
  for (const Case &c : cases) {
    TestDialog dlg;
    dlg.InitModalIndirect(m_template.Get(), m_pFrame);
    dlg.m_nKeyOnInit = c.nKey;
    EXPECT_EQ(dlg.DoModal(), c.nResult) << c.nKey;
    EXPECT_EQ(m_pFrame->m_nFiltered, 0) << c.nKey;
    EXPECT_TRUE(m_pFrame->IsWindowEnabled()) << "the owner is enabled again";
  }
}

TEST_F(Dialogs, DataExchangeRoundTrip) {
  TestDialog dlg;
  dlg.InitModalIndirect(m_template.Get(), m_pFrame);
  ASSERT_TRUE(dlg.CreateIndirect(m_template.Get(), m_pFrame));
  // OnInitDialog loaded the members into the controls.
  CString text;
  dlg.GetDlgItemText(IDC_NAME, text);
  EXPECT_EQ(text, L"start");
  dlg.GetDlgItemText(IDC_COUNT, text);
  EXPECT_EQ(text, L"5");
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_CHECK), 1u);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_RADIO2), 1u);

  dlg.SetDlgItemText(IDC_NAME, L"changed");
  dlg.SetDlgItemText(IDC_COUNT, L" -12 ");
  dlg.CheckDlgButton(IDC_CHECK, 0);
  dlg.CheckRadioButton(IDC_RADIO1, IDC_RADIO2, IDC_RADIO1);
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_strName, L"changed");
  EXPECT_EQ(dlg.m_nCount, -12);
  EXPECT_EQ(dlg.m_nCheck, 0);
  EXPECT_EQ(dlg.m_nRadio, 0);
  dlg.DestroyWindow();
}

TEST_F(Dialogs, EndDialogDuringInitNeverShowsTheDialog) {
  class EndsAtOnce : public CDialog {
  public:
    BOOL OnInitDialog() override {
      EndDialog(IDABORT);
      return TRUE;
    }
  } dlg;
  dlg.InitModalIndirect(m_template.Get(), m_pFrame);
  EXPECT_EQ(dlg.DoModal(), IDABORT);
}

// Counts the help commands it gets.
class HelpDialog : public TestDialog {
public:
  int m_nHelp = 0;
  afx_msg void OnHelp() { m_nHelp++; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpDialog, TestDialog)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

TEST_F(Dialogs, F1AndTheHelpRequestAreTheDialogsHelpCommand) {
  HelpDialog dlg;
  ASSERT_TRUE(dlg.CreateIndirect(m_template.Get(), m_pFrame));
  HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_NAME);
  BYTE keys[256] = {};
  ASSERT_TRUE(::GetKeyboardState(keys));
  const struct {
    bool shift;
    int help;
  } cases[] = {{false, 1}, {true, 0}};
  for (const auto &c : cases) {
    dlg.m_nHelp = 0;
    keys[VK_SHIFT] = c.shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG msg = {hEdit, WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
    CWnd::WalkPreTranslateTree(m_pFrame->m_hWnd, &msg);
    EXPECT_EQ(dlg.m_nHelp, c.help) << c.shift;
  }
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);

  // The system's request, from a control or the dialog itself, once.
  HELPINFO info = {sizeof(info), HELPINFO_WINDOW, IDC_NAME, hEdit, 0, {0, 0}};
  dlg.m_nHelp = 0;
  ::SendMessage(hEdit, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(dlg.m_nHelp, 1);
  ::SendMessage(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(dlg.m_nHelp, 2);
  dlg.DestroyWindow();
}

// Records where it stands once shown, then ends; it may place itself first.
class PlacedDialog : public CDialog {
public:
  CPoint m_placeAt{-1, -1};
  CRect m_shownAt;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (m_placeAt.x >= 0) SetWindowPos(nullptr, m_placeAt.x, m_placeAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetTimer(1, 50, nullptr);
    return TRUE;
  }
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(1);
    GetWindowRect(&m_shownAt);
    EndDialog(IDOK);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PlacedDialog, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(Dialogs, OpenCentredOverTheirOwnerUnlessTheyPlaceThemselves) {
  m_pFrame->SetWindowPos(nullptr, 240, 180, 700, 500, SWP_NOZORDER);
  m_pFrame->ShowWindow(SW_SHOWNORMAL);
  CRect owner;
  m_pFrame->GetWindowRect(&owner);

  PlacedDialog centred;
  centred.InitModalIndirect(m_template.Get(), m_pFrame);
  ASSERT_EQ(centred.DoModal(), IDOK);
  EXPECT_NEAR(centred.m_shownAt.CenterPoint().x, owner.CenterPoint().x, 1);
  EXPECT_NEAR(centred.m_shownAt.CenterPoint().y, owner.CenterPoint().y, 1);

  PlacedDialog placed;
  placed.m_placeAt = CPoint(30, 40);
  placed.InitModalIndirect(m_template.Get(), m_pFrame);
  ASSERT_EQ(placed.DoModal(), IDOK);
  EXPECT_EQ(placed.m_shownAt.TopLeft(), CPoint(30, 40));
}

} // namespace
