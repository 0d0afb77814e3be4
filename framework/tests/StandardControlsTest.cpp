#include "ControlTestWindow.h"

#include "Button.h"
#include "ComboBox.h"
#include "DateTimeCtrl.h"
#include "Edit.h"
#include "ListBox.h"
#include "ProgressCtrl.h"
#include "SpinButtonCtrl.h"
#include "Static.h"

namespace {

using StandardControlsTest = ControlTestWindow;

TEST_F(StandardControlsTest, ComboBoxKeepsItemsDataAndSelection) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 0, 200, 200), &m_parent, 1));
  EXPECT_EQ(combo.AddString(L"FAT12"), 0);
  EXPECT_EQ(combo.AddString(L"NTFS"), 1);
  EXPECT_EQ(combo.InsertString(1, L"FAT32"), 1);
  EXPECT_EQ(combo.GetCount(), 3);
  combo.SetItemData(2, 0xABCD);
  EXPECT_EQ(combo.GetItemData(2), 0xABCDu);
  EXPECT_EQ(combo.FindStringExact(-1, L"ntfs"), 2);
  EXPECT_EQ(combo.FindString(-1, L"FAT"), 0);
  EXPECT_EQ(combo.SelectString(-1, L"FAT3"), 1);
  EXPECT_EQ(combo.GetCurSel(), 1);

  CString text;
  combo.GetLBText(1, text);
  EXPECT_EQ(text, CString(L"FAT32"));
  combo.GetLBText(7, text);
  EXPECT_TRUE(text.IsEmpty());

  EXPECT_TRUE(combo.SetEditSel(1, 3));
  DWORD selection = combo.GetEditSel();
  EXPECT_EQ(LOWORD(selection), 1);
  EXPECT_EQ(HIWORD(selection), 3);
  EXPECT_EQ(combo.DeleteString(0), 2);
  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
}

TEST_F(StandardControlsTest, ListBoxSelectsAndReadsBack) {
  CListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | LBS_EXTENDEDSEL, CRect(0, 0, 200, 200), &m_parent, 2));
  for (LPCTSTR text : {L"*.doc", L"*.jpg", L"*.zip"}) list.AddString(text);
  EXPECT_EQ(list.SetSel(0), 0);
  EXPECT_EQ(list.SetSel(2), 0);
  EXPECT_EQ(list.GetSelCount(), 2);
  int items[4] = {};
  EXPECT_EQ(list.GetSelItems(4, items), 2);
  EXPECT_EQ(items[1], 2);
  CString text;
  list.GetText(1, text);
  EXPECT_EQ(text, CString(L"*.jpg"));
  list.GetText(-1, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(list.FindStringExact(-1, L"*.ZIP"), 2);
}

TEST_F(StandardControlsTest, EditLinesAreCopiedWithinTheBuffer) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE, CRect(0, 0, 200, 100), &m_parent, 3));
  edit.SetWindowText(L"first line\r\nsecond");
  EXPECT_EQ(edit.GetLineCount(), 2);
  wchar_t buffer[8];
  for (wchar_t &c : buffer) c = L'#';
  // Room for five characters and the terminator; the rest stays untouched.
  EXPECT_EQ(edit.GetLine(0, buffer, 6), 5);
  EXPECT_STREQ(buffer, L"first");
  EXPECT_EQ(buffer[6], L'#');
  EXPECT_EQ(edit.GetLine(1, buffer, 8), 6);
  EXPECT_STREQ(buffer, L"second");
  EXPECT_EQ(edit.GetLine(0, buffer, 1), 0);
  EXPECT_STREQ(buffer, L"");

  edit.SetSel(6, 10);
  int start = 0, end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(end, 10);
  edit.ReplaceSel(L"row");
  EXPECT_EQ(edit.LineLength(0), 9);
  edit.SetLimitText(20);
  EXPECT_EQ(edit.GetLimitText(), 20u);
}

TEST_F(StandardControlsTest, ButtonCheckStates) {
  CButton box;
  ASSERT_TRUE(box.Create(L"Hide read-only", WS_CHILD | BS_AUTO3STATE, CRect(0, 0, 150, 20), &m_parent, 4));
  EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
  box.SetCheck(BST_INDETERMINATE);
  EXPECT_EQ(box.GetCheck(), BST_INDETERMINATE);
  EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_AUTO3STATE));
  box.SetState(TRUE);
  EXPECT_NE(box.GetState() & BST_PUSHED, 0u);
  box.SetButtonStyle(BS_PUSHBUTTON);
  EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_PUSHBUTTON));
}

TEST_F(StandardControlsTest, StaticHoldsItsIcon) {
  CStatic picture;
  ASSERT_TRUE(picture.Create(nullptr, WS_CHILD | SS_ICON, CRect(0, 0, 32, 32), &m_parent));
  HICON icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32516)); // IDI_INFORMATION
  picture.SetIcon(icon);
  EXPECT_EQ(picture.GetIcon(), icon);
}

TEST_F(StandardControlsTest, ProgressMovesWithinItsRange) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD, CRect(0, 0, 200, 16), &m_parent, 5));
  progress.SetRange32(0, 100000); // beyond 16 bits: sector counts
  int lower = -1, upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 100000);
  progress.SetPos(70000);
  EXPECT_EQ(progress.GetPos(), 70000);
  EXPECT_EQ(progress.OffsetPos(5000), 70000);
  progress.SetStep(10000);
  EXPECT_EQ(progress.StepIt(), 75000);
  EXPECT_EQ(progress.GetPos(), 85000);
  progress.SetPos(200000);
  EXPECT_EQ(progress.GetPos(), 100000);
  progress.SetBarColor(RGB(0, 128, 0));
}

TEST_F(StandardControlsTest, SpinButtonDrivesItsBuddy) {
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_CHILD | ES_NUMBER, CRect(0, 0, 60, 20), &m_parent, 6));
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | UDS_SETBUDDYINT, CRect(60, 0, 76, 20), &m_parent, 7));
  spin.SetBuddy(&buddy);
  EXPECT_EQ(spin.GetBuddy()->m_hWnd, buddy.m_hWnd);
  spin.SetRange32(1, 50000);
  int lower = 0, upper = 0;
  spin.GetRange32(lower, upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 50000);
  spin.SetPos(40000);
  BOOL error = TRUE;
  EXPECT_EQ(spin.GetPos(&error), 40000);
  EXPECT_FALSE(error);
  CString text;
  buddy.GetWindowText(text);
  EXPECT_EQ(text.Right(3), CString(L"000"));
}

TEST_F(StandardControlsTest, DatePickerKeepsDateAndNone) {
  CDateTimeCtrl picker;
  ASSERT_TRUE(
      picker.Create(WS_CHILD | DTS_SHORTDATEFORMAT | DTS_SHOWNONE, CRect(0, 0, 150, 22), &m_parent, 8));
  SYSTEMTIME date = {};
  date.wYear = 2006;
  date.wMonth = 7;
  date.wDay = 14;
  ASSERT_TRUE(picker.SetTime(&date));
  SYSTEMTIME read = {};
  EXPECT_EQ(picker.GetTime(&read), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(read.wYear, 2006);
  EXPECT_EQ(read.wMonth, 7);
  EXPECT_EQ(read.wDay, 14);
  EXPECT_TRUE(picker.SetTime(nullptr));
  EXPECT_EQ(picker.GetTime(&read), static_cast<DWORD>(GDT_NONE));

  SYSTEMTIME first = date, last = date;
  first.wYear = 2000;
  last.wYear = 2010;
  EXPECT_TRUE(picker.SetRange(&first, &last));
  SYSTEMTIME low = {}, high = {};
  EXPECT_EQ(picker.GetRange(&low, &high), static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
  EXPECT_EQ(low.wYear, 2000);
  EXPECT_EQ(high.wYear, 2010);
}

} // namespace
