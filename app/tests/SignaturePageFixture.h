// What the signature page's tests share: sample signatures, an in-memory
// signature file, and a wizard at the signature page with helpers that click
// its rows, cells and buttons as a user does.
#pragma once

#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "SignatureChoice.h"
#include "SignatureStore.h"

#include <functional>

namespace signature_page_test {

inline HeaderRecord Signature(const char16_t *name, const char16_t *extension, uint8_t group,
                              uint8_t predefined, uint32_t maxSize, uint8_t unit = 0) {
  HeaderRecord record;
  record.m_softwareName = name;
  record.m_extension = extension;
  record.m_signatureLength = 2;
  record.m_signature[0] = static_cast<uint8_t>(extension[0]);
  record.m_signature[1] = static_cast<uint8_t>(name[0]);
  record.m_group = group;
  record.m_predefined = predefined;
  record.m_maxSize = maxSize;
  record.m_sizeUnit = unit;
  return record;
}

// Shipped DOC and JPG (chosen by default), a user "Doc" (not chosen: the
// default extensions compare exactly), and two user records sharing the
// extension DAT in the graphic group.
inline std::vector<HeaderRecord> SampleSignatures() {
  return {Signature(u"Word", u"DOC", 7, 1, 10 << 20), Signature(u"Zeta", u"DAT", 10, 0, 1 << 20),
          Signature(u"Photo", u"JPG", 10, 1, 4 << 20), Signature(u"Alpha", u"DAT", 10, 0, 2 << 20),
          Signature(u"writer", u"Doc", 4, 0, 512 << 10, 1)};
}

// An in-memory signature file that remembers what the page wrote.
class MemoryStore : public SignatureStore {
public:
  explicit MemoryStore(std::vector<HeaderRecord> records) : m_file(std::move(records)) {}
  std::vector<HeaderRecord> Load() override { return m_file; }
  bool Rewrite(const std::vector<HeaderRecord> &records) override {
    ++m_rewrites;
    m_file = records;
    return true;
  }
  // As the user's answers in the Edit and Add dialogs.
  bool EditRecord(CWnd &, HeaderRecord &record) override { return m_edit && m_edit(record); }
  std::optional<HeaderRecord> AddRecord(CWnd &, uint8_t group) override {
    m_addGroup = group;
    if (!m_added) return std::nullopt;
    m_file.push_back(*m_added);
    return m_added;
  }

  bool OnSearchedDrive() const override { return m_onSearchedDrive; }

  std::vector<HeaderRecord> m_file;
  int m_rewrites = 0;
  bool m_onSearchedDrive = false;
  std::function<bool(HeaderRecord &)> m_edit;
  std::optional<HeaderRecord> m_added;
  int m_addGroup = -1;
};

class SignaturePage : public WizardTestFrame {
protected:
  // A wizard at the signature page of an advanced search of drive C:.
  CSelectHeaderFiles &OpenPage(std::vector<HeaderRecord> records = SampleSignatures()) {
    auto store = std::make_unique<MemoryStore>(std::move(records));
    m_store = store.get();
    return OpenPageOn(std::move(store));
  }
  // The same with the page's signatures in the store, for a search of the drive.
  CSelectHeaderFiles &OpenPageOn(std::unique_ptr<SignatureStore> store,
                                 DriveRecord drive = LogicalDrive('C', u"FAT32")) {
    GiveDrives({std::move(drive)});
    MyPropertySheet &sheet = OpenModelessWizard();
    m_sheet = &sheet;
    sheet.HeadersPage().UseStore(std::move(store));
    CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_ADVANCED_SEARCH).DriveTree();
    EXPECT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
    sheet.PressButton(PSBTN_NEXT);
    return sheet.HeadersPage();
  }
  CSelectHeaderFiles &Page() { return m_sheet->HeadersPage(); }

  // Row texts "name/extension/size/checked" from top to bottom.
  std::vector<std::wstring> Rows() {
    CEditList &list = Page().List();
    std::vector<std::wstring> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const bool checked = (list.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 3;
      rows.push_back(std::wstring(list.GetItemText(row, 0)) + L"/" + std::wstring(list.GetItemText(row, 1)) +
                     L"/" + std::wstring(list.GetItemText(row, 2)) + (checked ? L"/x" : L"/-"));
    }
    return rows;
  }
  int RowNamed(const wchar_t *name) {
    CEditList &list = Page().List();
    for (int row = 0; row < list.GetItemCount(); ++row)
      if (list.GetItemText(row, 0) == name) return row;
    return -1;
  }
  // A mouse click on the row's check box, found by the list's own hit test.
  bool ClickCheck(int row) {
    CEditList &list = Page().List();
    CRect label;
    if (row < 0 || !list.GetItemRect(row, &label, LVIR_LABEL)) return false;
    const int y = (label.top + label.bottom) / 2;
    for (int x = label.left; x >= 0; --x) {
      LVHITTESTINFO hit = {};
      hit.pt = CPoint(x, y);
      if (list.HitTest(&hit) == row && hit.flags == LVHT_ONITEMSTATEICON) {
        Click(list, x, y);
        return true;
      }
    }
    return false;
  }
  static void Click(CWnd &window, int x, int y) {
    // The control follows the button until it comes up: let it find the release.
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Pump();
  }
  // Clicks the row's size cell: the in-place edit opens over it.
  HWND OpenSizeEdit(int row) {
    CEditList &list = Page().List();
    CRect cell;
    if (!list.GetSubItemRect(row, kSignatureSize, LVIR_BOUNDS, cell)) return nullptr;
    // On a busy machine the edit can come some messages after the click, and
    // a click the list took for the start of a drag opens none: click again.
    HWND edit = nullptr;
    for (int click = 0; edit == nullptr && click < 3; ++click) {
      Click(list, cell.left + 5, (cell.top + cell.bottom) / 2);
      edit = ::GetDlgItem(list.m_hWnd, 0x1234);
      for (int i = 0; edit == nullptr && i < 25; ++i) {
        ::Sleep(20);
        Pump();
        edit = ::GetDlgItem(list.m_hWnd, 0x1234);
      }
    }
    return edit;
  }
  // Types the size into the row's size cell and presses Enter; the text of
  // the message box that brings, empty when none.
  std::wstring EnterSize(int row, const wchar_t *size) {
    HWND edit = OpenSizeEdit(row);
    if (edit == nullptr) {
      ADD_FAILURE() << "no size edit over row " << row;
      return {};
    }
    ::SetWindowTextW(edit, size);
    return AnswerBox(IDOK, [&] {
      ::SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
      Pump();
    });
  }
  void ChooseGroup(int group) {
    HWND combo = ::GetDlgItem(Page().m_hWnd, IDC_HEADER_GROUP);
    ::SendMessageW(combo, CB_SETCURSEL, group, 0);
    Page().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HEADER_GROUP, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
  }
  bool Enabled(UINT id) { return ::IsWindowEnabled(::GetDlgItem(Page().m_hWnd, id)) != FALSE; }
  // Runs the action while answering the message box it brings with the button; the box's text.
  std::wstring AnswerBox(int button, const std::function<void()> &action) {
    std::wstring text;
    TimerScript script({ReadMessageBox(text, button)}, [] {});
    action();
    return text;
  }
  static void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

  MyPropertySheet *m_sheet = nullptr;
  MemoryStore *m_store = nullptr;
};

} // namespace signature_page_test
