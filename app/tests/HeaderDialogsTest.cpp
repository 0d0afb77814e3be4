// The signature fields and the two signature dialogs, made from the
// program's templates and driven as a user would: typing into the fields,
// OK, Add, Edit and Remove; message boxes are recorded instead of shown.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AddNewHeader.h"
#include "AppSettings.h"
#include "AppendHeaderDlg.h"
#include "HeaderFields.h"
#include "HeaderFile.h"
#include "MyComBoBox.h"
#include "SignatureStore.h"
#include "resource.h"

#include "ComboBoxInput.h"
#include "RecordFields.h"

namespace {

// ---- The fields -------------------------------------------------------------

TEST(HeaderFieldsTest, SignatureText) {
  struct Case {
    const wchar_t *text;
    unsigned error;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {L"01 ff 0c d1 f4 00 03 05", 0, {0x01, 0xFF, 0x0C, 0xD1, 0xF4, 0x00, 0x03, 0x05}},
      {L"AB", 0, {0xAB}},
      {L"aB cD", 0, {0xAB, 0xCD}},
      {L"1", IDS_INVALID_HEADER_LENGTH, {}},
      {L"01 f", IDS_INVALID_HEADER_LENGTH, {}},
      {L"01 ff 0c d1 f4 00 03 05 ", IDS_INVALID_HEADER_LENGTH, {}},
      {L"01 ff 0c d1 f4 00 03 05 06", IDS_INVALID_HEADER_LENGTH, {}},
      {L"01-ff", IDS_INVALID_HEADER_FORMAT, {}},
      {L"0g", IDS_INVALID_HEADER_FORMAT, {}},
      {L"01  ff", IDS_INVALID_HEADER_FORMAT, {}},
      {L"", IDS_INVALID_HEADER_LENGTH, {}},
  };
  for (const Case &c : cases) {
    const SignatureBytes parsed = ParseSignatureText(c.text);
    EXPECT_EQ(parsed.m_error, c.error) << static_cast<const void *>(c.text);
    if (c.error) continue;
    EXPECT_EQ(std::vector<uint8_t>(parsed.m_bytes, parsed.m_bytes + parsed.m_length), c.bytes);
  }
  HeaderRecord record;
  record.m_signatureLength = 3;
  record.m_signature[0] = 0x00;
  record.m_signature[1] = 0x0A;
  record.m_signature[2] = 0xFF;
  EXPECT_EQ(SignatureText(record), L"00 0a ff");
}

TEST(HeaderFieldsTest, OffsetAndSize) {
  EXPECT_EQ(ParseOffsetText(L"").m_value, 0u);
  EXPECT_EQ(ParseOffsetText(L"511").m_value, 511u);
  for (const wchar_t *wrong : {L"512", L"0511", L"-1", L"1a"})
    EXPECT_EQ(ParseOffsetText(wrong).m_error, static_cast<unsigned>(IDS_INVALID_OFFSET));
  EXPECT_EQ(ParseSizeText(L"2", kSizeUnitMegabytes).m_value, 2u << 20);
  EXPECT_EQ(ParseSizeText(L"4095", kSizeUnitMegabytes).m_value, 4095u << 20);
  EXPECT_EQ(ParseSizeText(L"4096", kSizeUnitMegabytes).m_error,
            static_cast<unsigned>(IDS_HEADER_SIZE_TOO_LARGE));
  EXPECT_EQ(ParseSizeText(L"4194303", kSizeUnitKilobytes).m_value, 4194303u << 10);
  EXPECT_EQ(ParseSizeText(L"4194304", kSizeUnitKilobytes).m_error,
            static_cast<unsigned>(IDS_HEADER_SIZE_TOO_LARGE));
  EXPECT_EQ(ParseSizeText(L"9999999999", kSizeUnitKilobytes).m_error,
            static_cast<unsigned>(IDS_INVALID_SIZE));
  EXPECT_EQ(ParseSizeText(L"12x", kSizeUnitKilobytes).m_error, static_cast<unsigned>(IDS_INVALID_SIZE));
  EXPECT_EQ(FlipSizeUnit(3, true), 3072u);
  EXPECT_EQ(FlipSizeUnit(3072, false), 3u);
  EXPECT_EQ(FlipSizeUnit(5000000, true), UINT32_MAX);
}

// ---- The dialogs -----------------------------------------------------------

HeaderRecord Record(const char16_t *name, const char16_t *extension, uint8_t first, uint8_t predefined) {
  HeaderRecord record;
  record.m_softwareName = name;
  record.m_extension = extension;
  record.m_signatureLength = 2;
  record.m_signature[0] = first;
  record.m_signature[1] = 0x11;
  record.m_maxSize = 3u << 20;
  record.m_group = 4;
  record.m_predefined = predefined;
  return record;
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[300] = {};
  ::GetDlgItemTextW(dialog, id, text, 300);
  return text;
}

// A step of the size unit's spin button.
void SpinUnit(HWND dialog) {
  NMUPDOWN change{};
  change.hdr.hwndFrom = ::GetDlgItem(dialog, IDC_APPEND_UNIT_SPIN);
  change.hdr.idFrom = IDC_APPEND_UNIT_SPIN;
  change.hdr.code = UDN_DELTAPOS;
  change.iDelta = 1;
  ::SendMessageW(dialog, WM_NOTIFY, IDC_APPEND_UNIT_SPIN, reinterpret_cast<LPARAM>(&change));
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// A left click at the point, in the window's client coordinates.
void Click(HWND window, int x, int y) {
  // The control follows the button until it comes up: let it find the release.
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  Pump();
}

class HeaderDialogs : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 2u);
    m_path = std::wstring(temp) + L"qv-header-dialogs-" + std::to_wstring(GetCurrentProcessId()) + L".cfg";
    ASSERT_TRUE(RewriteHeaderFile(
        m_path, {Record(u"Shipped PDF", u"PDF", 0x25, 1), Record(u"Mine", u"mne", 0x77, 0)}));
  }
  void TearDown() override { DeleteFileW(m_path.c_str()); }

  // The Add New Header dialog, modeless, whose record dialog is filled by fill and confirmed with OK.
  std::unique_ptr<CAddNewHeader> OpenList(std::function<void(HWND)> fill) {
    auto list =
        std::make_unique<CAddNewHeader>(m_path, [this](const std::wstring &line) { m_log.push_back(line); });
    list->SetNotice([this](UINT id, const std::wstring &, UINT) {
      m_notices.push_back(id);
      return m_answer;
    });
    list->SetRecordDialog([this, fill](CAppendHeaderDlg &dialog) -> INT_PTR {
      if (!dialog.Create(IDD_APPEND_HEADER, nullptr)) return -1;
      fill(dialog.m_hWnd);
      m_okEnabled = ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDOK)) != 0;
      m_signatureShown = ItemText(dialog.m_hWnd, IDC_APPEND_SIGNATURE);
      m_nameEnabled = ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDC_APPEND_NAME)) != 0;
      dialog.OnOK();
      const bool closed = !::IsWindowVisible(dialog.m_hWnd);
      dialog.DestroyWindow();
      return closed ? IDOK : IDCANCEL;
    });
    EXPECT_TRUE(list->Create(IDD_ADD_NEW_HEADER, nullptr));
    return list;
  }

  static void SelectRowNamed(CAddNewHeader &list, const wchar_t *name) {
    HWND view = ::GetDlgItem(list.m_hWnd, IDC_NEW_HEADER_LIST);
    for (int row = 0; row < ListView_GetItemCount(view); ++row) {
      wchar_t text[300] = {};
      ListView_GetItemText(view, row, 0, text, 300);
      const UINT state = std::wstring(text) == name ? LVIS_SELECTED | LVIS_FOCUSED : 0;
      ListView_SetItemState(view, row, state, LVIS_SELECTED | LVIS_FOCUSED);
    }
  }

  // The names of the list's rows, top to bottom.
  static std::vector<std::wstring> Names(CAddNewHeader &list) {
    std::vector<std::wstring> names;
    for (int row = 0; row < list.List().GetItemCount(); ++row)
      names.emplace_back(list.List().GetItemText(row, kSignatureName));
    return names;
  }

  std::wstring m_path;
  std::vector<std::wstring> m_log;
  std::vector<UINT> m_notices;
  int m_answer = IDYES;
  bool m_okEnabled = false;
  bool m_nameEnabled = false;
  std::wstring m_signatureShown;
};

TEST_F(HeaderDialogs, AddAppendsToFileAndList) {
  auto list = OpenList([](HWND d) {
    ::SetDlgItemTextW(d, IDC_APPEND_NAME, L"My format");
    ::SetDlgItemTextW(d, IDC_APPEND_EXTENSION, L"MYF");
    ::SetDlgItemTextW(d, IDC_APPEND_SIGNATURE, L"4d 59 46");
    ::SetDlgItemTextW(d, IDC_APPEND_OFFSET, L"16");
    ::SetDlgItemTextW(d, IDC_APPEND_SIZE, L"300");
    ::SendDlgItemMessageW(d, IDC_APPEND_GROUP, CB_SETCURSEL, 12, 0);
  });
  EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(list->m_hWnd, IDC_NEW_HEADER_LIST)), 2);
  list->OnAddHeader();
  EXPECT_TRUE(m_okEnabled);
  EXPECT_TRUE(m_notices.empty());
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].m_extension, u"MYF");
  EXPECT_EQ(stored[2].m_offset, 16u);
  EXPECT_EQ(stored[2].m_signatureLength, 3);
  EXPECT_EQ(stored[2].m_maxSize, 300u << 20);
  EXPECT_EQ(stored[2].m_group, 12);
  EXPECT_EQ(stored[2].m_predefined, 0);
  EXPECT_EQ(list->Records().size(), 3u);
  EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(list->m_hWnd, IDC_NEW_HEADER_LIST)), 3);
  list->DestroyWindow();
}

// Each refusal keeps the dialog open and the file as it was.
TEST_F(HeaderDialogs, AddRefusesBadFields) {
  struct Case {
    const wchar_t *signature, *offset, *size;
    UINT notice;
  };
  for (const Case &c : std::vector<Case>{{L"4d 5", L"0", L"1", IDS_INVALID_HEADER_LENGTH},
                                         {L"4d:59", L"0", L"1", IDS_INVALID_HEADER_FORMAT},
                                         {L"4d", L"512", L"1", IDS_INVALID_OFFSET},
                                         {L"4d", L"0", L"4096", IDS_HEADER_SIZE_TOO_LARGE}}) {
    m_notices.clear();
    auto list = OpenList([&c](HWND d) {
      ::SetDlgItemTextW(d, IDC_APPEND_NAME, L"Bad");
      ::SetDlgItemTextW(d, IDC_APPEND_EXTENSION, L"BAD");
      ::SetDlgItemTextW(d, IDC_APPEND_SIGNATURE, c.signature);
      ::SetDlgItemTextW(d, IDC_APPEND_OFFSET, c.offset);
      ::SetDlgItemTextW(d, IDC_APPEND_SIZE, c.size);
    });
    list->OnAddHeader();
    EXPECT_EQ(m_notices, std::vector<UINT>{c.notice});
    EXPECT_EQ(LoadHeaderFile(m_path).records.size(), 2u);
    list->DestroyWindow();
  }
}

TEST_F(HeaderDialogs, AddWithoutSizeTakesTwoMegabytesAndPastedTextIsLimited) {
  std::wstring longName(400, L'n');
  auto list = OpenList([&longName](HWND d) {
    ::SetDlgItemTextW(d, IDC_APPEND_NAME, L"x");
    ::SendDlgItemMessageW(d, IDC_APPEND_NAME, EM_SETSEL, 0, -1);
    // A paste goes through the limit as typing does.
    ::SendDlgItemMessageW(d, IDC_APPEND_NAME, EM_REPLACESEL, FALSE,
                          reinterpret_cast<LPARAM>(longName.c_str()));
    ::SetDlgItemTextW(d, IDC_APPEND_EXTENSION, L"NOS");
    ::SetDlgItemTextW(d, IDC_APPEND_SIGNATURE, L"01 02");
    ::SetDlgItemTextW(d, IDC_APPEND_OFFSET, L"0");
  });
  list->OnAddHeader();
  EXPECT_EQ(m_notices, std::vector<UINT>{IDS_DEFAULT_HEADER_SIZE});
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].m_maxSize, 2u << 20);
  EXPECT_EQ(stored[2].m_softwareName.size(), 255u);
  list->DestroyWindow();
}

// The group box is the mouse-only combo box: keys typed into it leave the
// group, a choice with the mouse is the group the new record gets.
TEST_F(HeaderDialogs, TheGroupChangesWithTheMouseOnly) {
  int keptGroup = -1;
  auto list = OpenList([&keptGroup](HWND d) {
    TypeRecordFields(d, L"Grouped", L"GRP", L"47 52", L"0", L"1");
    HWND combo = ::GetDlgItem(d, IDC_APPEND_GROUP);
    EXPECT_NE(dynamic_cast<CMyComboBox *>(CWnd::FromHandlePermanent(combo)), nullptr);
    ::SetFocus(combo);
    TypeKeys(combo, {VK_DOWN, VK_END, VK_NEXT, 'S'});
    keptGroup = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
    EXPECT_TRUE(ChooseWithMouse(combo, 9));
  });
  list->OnAddHeader();
  EXPECT_EQ(keptGroup, 0);
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].m_group, 9);
  list->DestroyWindow();
}

TEST_F(HeaderDialogs, EditOfAShippedRecordChangesOnlyItsSize) {
  auto list = OpenList([](HWND d) {
    ::SetDlgItemTextW(d, IDC_APPEND_SIZE, L"7");
    ::SetDlgItemTextW(d, IDC_APPEND_NAME, L"renamed"); // disabled: a user cannot type here
  });
  SelectRowNamed(*list, L"Shipped PDF");
  list->OnEditHeader();
  EXPECT_EQ(m_signatureShown, L"XXXXXXXXXXXX");
  EXPECT_FALSE(m_nameEnabled);
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].m_softwareName, u"Shipped PDF");
  EXPECT_EQ(stored[0].m_signature[0], 0x25);
  EXPECT_EQ(stored[0].m_maxSize, 7u << 20);
  EXPECT_EQ(stored[1], LoadHeaderFile(m_path).records[1]);
  list->DestroyWindow();
}

TEST_F(HeaderDialogs, RemoveRefusesAShippedRecordAndAsksForAUserOne) {
  auto list = OpenList([](HWND) {});
  SelectRowNamed(*list, L"Shipped PDF");
  list->OnRemoveHeader();
  EXPECT_EQ(m_notices, std::vector<UINT>{IDS_PREDEFINED_NOT_REMOVABLE});
  EXPECT_EQ(LoadHeaderFile(m_path).records.size(), 2u);

  m_notices.clear();
  m_answer = IDNO;
  SelectRowNamed(*list, L"Mine");
  list->OnRemoveHeader();
  EXPECT_EQ(m_notices, std::vector<UINT>{IDS_REMOVE_HEADER_QUESTION});
  EXPECT_EQ(LoadHeaderFile(m_path).records.size(), 2u);

  m_answer = IDYES;
  list->OnRemoveHeader();
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].m_extension, u"PDF");
  EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(list->m_hWnd, IDC_NEW_HEADER_LIST)), 1);
  list->DestroyWindow();
}

// The first record of an empty (or missing) file is listed at once too.
TEST_F(HeaderDialogs, AddToAnEmptyFileListsTheRecord) {
  ASSERT_TRUE(RewriteHeaderFile(m_path, {}));
  auto list = OpenList([](HWND d) {
    ::SetDlgItemTextW(d, IDC_APPEND_NAME, L"First");
    ::SetDlgItemTextW(d, IDC_APPEND_EXTENSION, L"FST");
    ::SetDlgItemTextW(d, IDC_APPEND_SIGNATURE, L"46 53");
    ::SetDlgItemTextW(d, IDC_APPEND_OFFSET, L"0");
    ::SetDlgItemTextW(d, IDC_APPEND_SIZE, L"5");
    // The spin button turns 5 MB into 5120 KB.
    SpinUnit(d);
  });
  list->OnAddHeader();
  ASSERT_EQ(list->Records().size(), 1u);
  EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(list->m_hWnd, IDC_NEW_HEADER_LIST)), 1);
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].m_maxSize, 5120u << 10);
  EXPECT_EQ(stored[0].m_sizeUnit, kSizeUnitKilobytes);
  list->DestroyWindow();
}

TEST_F(HeaderDialogs, DamagedRecordsAreLoggedAndTheRestListed) {
  std::vector<uint8_t> bytes = SerialiseHeaderFile(LoadHeaderFile(m_path).records);
  bytes[1052] = 40; // first record: signature length 40
  HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  auto list = OpenList([](HWND) {});
  EXPECT_EQ(m_log,
            std::vector<std::wstring>{
                L"Signature record 1 of HeaderFile.cfg skipped: signature length not between 1 and 8"});
  EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(list->m_hWnd, IDC_NEW_HEADER_LIST)), 1);
  list->DestroyWindow();
}

// The list is the editable signature list: names sorted by code unit (capitals
// before small letters, as on the wizard's signature page), a header click
// sorts, and a size typed into its cell reaches the record and the file.
TEST_F(HeaderDialogs, TheListSortsByCodeUnitAndTakesASizeTypedInPlace) {
  ASSERT_TRUE(
      RewriteHeaderFile(m_path, {Record(u"avi maker", u"AVI", 0x52, 0), Record(u"Zip tool", u"ZIP", 0x50, 0),
                                 Record(u"Mine", u"mne", 0x77, 0)}));
  auto list = OpenList([](HWND) {});
  CEditList &rows = list->List();
  EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"Mine", L"Zip tool", L"avi maker"}));
  CHeaderCtrl *header = rows.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  RECT item = {};
  ::SendMessageW(header->m_hWnd, HDM_GETITEMRECT, kSignatureName, reinterpret_cast<LPARAM>(&item));
  Click(header->m_hWnd, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"avi maker", L"Zip tool", L"Mine"}));

  int row = 0;
  while (row < rows.GetItemCount() && rows.GetItemText(row, kSignatureName) != L"Zip tool") ++row;
  CRect cell;
  ASSERT_TRUE(rows.GetSubItemRect(row, kSignatureSize, LVIR_BOUNDS, cell));
  HWND edit = nullptr;
  // On a busy machine a click can be taken for the start of a drag: click again.
  for (int click = 0; edit == nullptr && click < 3; ++click) {
    Click(rows.m_hWnd, cell.left + 5, (cell.top + cell.bottom) / 2);
    for (int i = 0; (edit = ::GetDlgItem(rows.m_hWnd, 0x1234)) == nullptr && i < 25; ++i) {
      ::Sleep(20);
      Pump();
    }
  }
  ASSERT_NE(edit, nullptr) << "no edit over the size cell";
  ::SetWindowTextW(edit, L"1500");
  ::SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(rows.GetItemText(row, kSignatureSize), CString(L"1500"));
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[1].m_maxSize, 1500u << 10);
  EXPECT_EQ(stored[1].m_sizeUnit, kSizeUnitKilobytes);
  EXPECT_EQ(list->Records()[1].m_maxSize, 1500u << 10);
  EXPECT_EQ(stored[0], list->Records()[0]);
  list->DestroyWindow();
}

// The size unit is shown in the user's language (French: "Mo", "Ko"); the
// unit stored is the one chosen, whatever its text.
TEST_F(HeaderDialogs, TheSizeUnitIsShownInTheLanguageAndStoredByChoice) {
  HMODULE french = LoadLanguageLibrary(1, std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe");
  ASSERT_NE(french, nullptr);
  HINSTANCE own = AfxGetResourceHandle();
  AfxSetResourceHandle(french);
  std::vector<std::wstring> shown;
  auto list = OpenList([&shown](HWND d) {
    TypeRecordFields(d, L"Format", L"FMT", L"46 4d", L"0", L"3");
    shown.push_back(ItemText(d, IDC_APPEND_UNIT));
    SpinUnit(d);
    shown.push_back(ItemText(d, IDC_APPEND_UNIT));
    SpinUnit(d);
    shown.push_back(ItemText(d, IDC_APPEND_UNIT));
    SpinUnit(d);
    shown.push_back(ItemText(d, IDC_APPEND_UNIT));
  });
  list->OnAddHeader();
  AfxSetResourceHandle(own);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"Mo", L"Ko", L"Mo", L"Ko"}));
  const std::vector<HeaderRecord> stored = LoadHeaderFile(m_path).records;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].m_maxSize, 3u << 20);
  EXPECT_EQ(stored[2].m_sizeUnit, kSizeUnitKilobytes);
  list->DestroyWindow();
  FreeLibrary(french);
}

// Add New Header and the wizard's signature page use one file: the one the
// product key's "Path" names, else the one that ships beside the program.
TEST(SignatureFilePathTest, WithoutAPathTheFileBesideTheProgram) {
  const wchar_t *keyPath = L"Software\\QvSignatureFilePathTest";
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  EXPECT_EQ(InstalledHeaderFilePath(HKEY_CURRENT_USER, keyPath), ProgramFolder() + L"\\HeaderFile.cfg");
  const std::wstring folder = L"D:\\Signatures";
  RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  EXPECT_EQ(InstalledHeaderFilePath(HKEY_CURRENT_USER, keyPath), L"D:\\Signatures\\HeaderFile.cfg");
  RegDeleteKeyW(HKEY_CURRENT_USER, keyPath);
}

} // namespace
