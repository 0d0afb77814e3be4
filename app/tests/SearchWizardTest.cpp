// The search wizard: the search-type page, the drive tree (as a list of items
// and as a control clicked like a user does), and what Finish prepares.
#include "WizardTestFrame.h"

#include "AppSettings.h"
#include "AppText.h"
#include "AppEngineServices.h"
#include "MyHeaderCtrl.h"
#include "MyTreeCtrl.h"
#include "ScanSession.h"
#include "SearchStart.h"
#include "SimpleListView.h"
#include "WindowDc.h"
#include "XTPColorManager.h"

#include <algorithm>
#include <cstdio>

namespace {

// ---------------------------------------------------------------------------
// The drive tree's items

struct ItemRow {
  int parent;
  const wchar_t *text;
  int record;
};

struct TreeCase {
  const char *name;
  std::vector<DriveRecord> drives;
  bool physical;
  std::vector<ItemRow> expected;
};

std::vector<TreeCase> TreeCases() {
  std::vector<DriveRecord> twelveDisks;
  for (int n = 1; n <= 12; ++n) twelveDisks.push_back(PhysicalDisk(n));
  return {
      {"drives listed out of disk order stay under their own disk",
       {LogicalDrive('C', u"NTFS", 0x81), LogicalDrive('D', u"FAT32", 0x80),
        LogicalDrive('E', u"NTFS5", 0x81)},
       false,
       {{-1, L"My Computer", -1},
        {0, L"Disk 1   ( QEMU HARDDISK, 2.5+ ) ", -1},
        {1, L"D:   ( FAT32,  9.998 GB )", 1},
        {0, L"Disk 2   ( QEMU HARDDISK, 2.5+ ) ", -1},
        {3, L"C: (Boot Drive)   ( NTFS,  9.998 GB )", 0},
        {3, L"E:   ( NTFS5,  9.998 GB )", 2}}},
      {"a drive whose disk the system would not name is still offered",
       {LogicalDrive('X', u"NTFS", 0), LogicalDrive('F', u"FAT", 0, u"REMOVABLE"),
        LogicalDrive('A', u"FAT", 0, u"REMOVABLE")},
       false,
       {{-1, L"My Computer", -1},
        {0, L"X:   ( NTFS,  9.998 GB )", 0},
        {0, L"Removable Disk", -1},
        {2, L"F:   ( FAT,  9.998 GB )", 1},
        {0, L"Floppy Disk", -1},
        {4, L"A:   ( FAT,  9.998 GB )", 2}}},
      {"disk scan: Disk 10 and later carry their own record",
       twelveDisks,
       true,
       {{-1, L"My Computer", -1},
        {0, L"Disk 1   ( DISK1, 1.0 ) ", 0},
        {0, L"Disk 2   ( DISK2, 1.0 ) ", 1},
        {0, L"Disk 3   ( DISK3, 1.0 ) ", 2},
        {0, L"Disk 4   ( DISK4, 1.0 ) ", 3},
        {0, L"Disk 5   ( DISK5, 1.0 ) ", 4},
        {0, L"Disk 6   ( DISK6, 1.0 ) ", 5},
        {0, L"Disk 7   ( DISK7, 1.0 ) ", 6},
        {0, L"Disk 8   ( DISK8, 1.0 ) ", 7},
        {0, L"Disk 9   ( DISK9, 1.0 ) ", 8},
        {0, L"Disk 10   ( DISK10, 1.0 ) ", 9},
        {0, L"Disk 11   ( DISK11, 1.0 ) ", 10},
        {0, L"Disk 12   ( DISK12, 1.0 ) ", 11}}},
      {"disk scan: a disk the system gives no identity or no size says what it knows",
       {[] {
          DriveRecord disk = PhysicalDisk(1);
          disk.m_model.clear();
          disk.m_firmwareRevision.clear();
          return disk;
        }(),
        [] {
          DriveRecord disk = PhysicalDisk(2);
          disk.m_sectors = 0;
          return disk;
        }(),
        [] {
          DriveRecord disk = PhysicalDisk(3);
          disk.m_model.clear();
          disk.m_firmwareRevision.clear();
          disk.m_sectors = 0;
          return disk;
        }()},
       true,
       {{-1, L"My Computer", -1},
        {0, L"Disk 1   ( 20.000 MB ) ", 0},
        {0, L"Disk 2   ( DISK2, 1.0, size unknown ) ", 1},
        {0, L"Disk 3   ( size unknown ) ", 2}}},
      {"disk scan: the groups show but offer no drives",
       {PhysicalDisk(1), LogicalDrive('F', u"FAT", 0, u"REMOVABLE")},
       true,
       {{-1, L"My Computer", -1}, {0, L"Disk 1   ( DISK1, 1.0 ) ", 0}, {0, L"Removable Disk", -1}}},
  };
}

TEST(DriveTreeItems, EachCase) {
  for (const TreeCase &c : TreeCases()) {
    const std::vector<DriveTreeItem> items =
        BuildDriveTree(c.drives, c.physical, L"C:\\WINDOWS\\History", true, {});
    ASSERT_EQ(items.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].parent, c.expected[i].parent) << c.name << " item " << i;
      EXPECT_EQ(items[i].text, c.expected[i].text) << c.name << " item " << i;
      EXPECT_EQ(items[i].record, c.expected[i].record) << c.name << " item " << i;
      EXPECT_EQ(items[i].hasBox, c.expected[i].record >= 0) << c.name << " item " << i;
    }
  }
}

TEST(DriveTreeItems, DiskTextsAreLeftOutOutsideTheNtFamily) {
  const auto items = BuildDriveTree({LogicalDrive('C', u"FAT32")}, false, L"", false, {});
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[1].text, L"Disk 1   (  ) ");
}

// The size and type of the log's first line are never empty: a disk, whose
// record carries neither, has them from its sectors and its identity.
TEST(ChosenDriveTexts, NeverEmpty) {
  DriveRecord bare = PhysicalDisk(2);
  bare.m_model.clear();
  bare.m_firmwareRevision.clear();
  DriveRecord unsized = bare;
  unsized.m_sectors = 0;
  DriveRecord untyped = LogicalDrive('G', u"FAT", 0, u"");
  const struct {
    const char *name;
    DriveRecord drive;
    bool physical;
    const char16_t *size;
    const char16_t *type;
  } cases[] = {
      {"logical drive", LogicalDrive('C', u"FAT32"), false, u"9.998 GB", u"FIXED"},
      {"logical drive of no known type", untyped, false, u"9.998 GB", u"UNKNOWN"},
      {"disk with identity", PhysicalDisk(1), true, u"20.000 MB", u"DISK1, 1.0"},
      {"disk without identity", bare, true, u"20.000 MB", u"Disk"},
      {"disk without size", unsized, true, u"size unknown", u"Disk"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(std::wstring(Wide(ChosenDriveSizeText(c.drive))), std::wstring(Wide(c.size))) << c.name;
    EXPECT_EQ(std::wstring(Wide(ChosenDriveTypeText(c.drive, c.physical))), std::wstring(Wide(c.type)))
        << c.name;
  }
}

TEST(SessionKind, NtfsNamesGetTheNtfsEngineEverythingElseFat) {
  const struct {
    const char16_t *fileSystem;
    bool physical;
    ScanKind kind;
  } cases[] = {
      {u"NTFS", false, ScanKind::NtfsVolume},  {u"NTFS5", false, ScanKind::NtfsVolume},
      {u"FAT32", false, ScanKind::FatVolume},  {u"FAT", false, ScanKind::FatVolume},
      {u"", false, ScanKind::FatVolume},       {u"ntfs", false, ScanKind::FatVolume},
      {u"NTFS", true, ScanKind::PhysicalDisk},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SessionKindFor(LogicalDrive('C', c.fileSystem), c.physical), c.kind)
        << std::string(c.fileSystem, c.fileSystem + std::char_traits<char16_t>::length(c.fileSystem));
}

// ---------------------------------------------------------------------------
// The pages in a sheet

// The colour of a point of a control's own painting.
COLORREF PrintedPixel(CWnd &control, CPoint pt) {
  CRect rc;
  control.GetClientRect(&rc);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.Width(), rc.Height());
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  control.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF clr = ::GetPixel(dc, pt.x, pt.y);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return clr;
}

// The kind buttons draw the shared Office theme, framed, with the picture
// beside the text and the chosen kind in the checked face.
void ExpectThemedKindButtons(CSelSearchTypeDlg &page, SearchKindChoice chosen) {
  auto *office = dynamic_cast<CXTButtonThemeOffice *>(CXTButton::GetSharedTheme());
  ASSERT_NE(office, nullptr);
  EXPECT_TRUE(office->IsFramedLook());
  for (SearchKindChoice kind :
       {SearchKindChoice::Fast, SearchKindChoice::Advanced, SearchKindChoice::PhysicalDisk}) {
    CXTButton &button = page.KindButton(kind);
    const int i = static_cast<int>(kind);
    ASSERT_NE(button.m_hWnd, nullptr) << i;
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << i;
    EXPECT_EQ(button.GetButtonStyleBits(), DWORD(xtButtonSemiFlat | xtButtonShowFocus)) << i;
    EXPECT_EQ(button.GetTheme(), office) << i;
    EXPECT_EQ(button.GetImageSize(), CSize(40, 40)) << i;

    // Picture and text both inside the button, the text after the picture.
    CRect rc;
    button.GetClientRect(&rc);
    const CPoint image = office->ResolveImagePoint(0, rc, &button);
    EXPECT_GE(image.y, 0) << i;
    EXPECT_LE(image.y + 40, rc.bottom) << i;
    CString text;
    button.GetWindowText(text, TRUE);
    CClientDC dc(&button);
    HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), office->GetTextFont(&button));
    const CSize textSize = dc.GetTextExtent(text);
    ::SelectObject(dc.GetSafeHdc(), oldFont);
    const CPoint textAt = office->ResolveTextPoint(&button, rc, textSize);
    EXPECT_GE(textAt.y, 0) << i;
    EXPECT_LE(textAt.y + textSize.cy, rc.bottom) << i;
    EXPECT_GE(textAt.x, image.x + 40) << i;
    EXPECT_LE(textAt.x + textSize.cx, rc.right) << i;

    // The chosen kind in the checked face, the others resting in the frame.
    const COLORREF face = PrintedPixel(button, CPoint(rc.right - 6, 4));
    EXPECT_EQ(face, XTPGetColor(kind == chosen ? XPCOLOR_HIGHLIGHT_CHECKED : XPCOLOR_TOOLBAR_FACE)) << i;
  }
}

class SearchWizard : public WizardTestFrame {
protected:
  int DescriptionLines(CWnd &page) {
    return static_cast<int>(::SendDlgItemMessageW(page.m_hWnd, IDC_SEARCH_DESCRIPTION, LB_GETCOUNT, 0, 0));
  }
};

TEST_F(SearchWizard, SwitchingTheKindLeavesOneDescription) {
  const struct {
    std::vector<UINT> clicks;
    int lines;
    int flags[3];
  } cases[] = {
      {{}, 10, {1, 0, 0}},
      {{IDC_ADVANCED_SEARCH, IDC_ADVANCED_SEARCH}, 14, {0, 1, 0}},
      {{IDC_PHYSICAL_SCAN, IDC_FAST_SEARCH}, 10, {1, 0, 0}},
      {{IDC_FAST_SEARCH, IDC_ADVANCED_SEARCH, IDC_PHYSICAL_SCAN}, 15, {0, 0, 1}},
  };
  for (const auto &c : cases) {
    m_app.SearchKind[0] = 1, m_app.SearchKind[1] = 0, m_app.SearchKind[2] = 0;
    MyPropertySheet &sheet = OpenModelessWizard();
    CSelSearchTypeDlg &page = sheet.SearchTypePage();
    for (UINT id : c.clicks) ClickButton(page, id);
    EXPECT_EQ(DescriptionLines(page), c.lines) << c.clicks.size() << " clicks";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m_app.SearchKind[i], c.flags[i]) << c.clicks.size() << " clicks";
    const int chosen = c.flags[1] ? 1 : c.flags[2] ? 2 : 0;
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(page.KindButton(static_cast<SearchKindChoice>(i)).GetChecked() != FALSE, i == chosen);
    EXPECT_FALSE(SheetButtonEnabled(sheet, ID_WIZBACK));
    EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZNEXT));
  }
}

TEST_F(SearchWizard, TheWizardOpensOnTheKindChosenLastInTheThemedButtons) {
  m_app.SearchKind[0] = 0, m_app.SearchKind[1] = 0, m_app.SearchKind[2] = 1;
  MyPropertySheet &sheet = OpenModelessWizard();
  CSelSearchTypeDlg &page = sheet.SearchTypePage();
  EXPECT_TRUE(page.KindButton(SearchKindChoice::PhysicalDisk).GetChecked());
  EXPECT_EQ(DescriptionLines(sheet.SearchTypePage()), 15);
  wchar_t line[128] = {};
  ::SendDlgItemMessageW(sheet.SearchTypePage().m_hWnd, IDC_SEARCH_DESCRIPTION, LB_GETTEXT, 0,
                        reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, L"Use to recover:");
  ExpectThemedKindButtons(page, SearchKindChoice::PhysicalDisk);
  ClickButton(page, IDC_ADVANCED_SEARCH);
  ExpectThemedKindButtons(page, SearchKindChoice::Advanced);
}

TEST_F(SearchWizard, ShowWizardBoxFollowsKovaSw) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  // No value yet, as at a first start: the wizard opens at start, so the box is ticked.
  RegDeleteValueW(key, L"KOVA_SW");
  MyPropertySheet &sheet = OpenModelessWizard();
  CSelSearchTypeDlg &page = sheet.SearchTypePage();
  EXPECT_EQ(page.IsDlgButtonChecked(IDC_SHOW_WIZARD), (UINT)BST_CHECKED);
  EXPECT_EQ(m_app.ShowWizardAtStart, 1);

  ClickButton(page, IDC_SHOW_WIZARD);
  EXPECT_EQ(m_app.ShowWizardAtStart, 0);
  EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, kProductKeyPath, L"KOVA_SW"), std::optional<DWORD>(0));
  // The other pages show the same state.
  sheet.PressButton(PSBTN_NEXT);
  EXPECT_EQ(sheet.DrivePage().IsDlgButtonChecked(IDC_SHOW_WIZARD), (UINT)BST_UNCHECKED);
  ClickButton(sheet.DrivePage(), IDC_SHOW_WIZARD);
  EXPECT_EQ(m_app.ShowWizardAtStart, 1);
  EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, kProductKeyPath, L"KOVA_SW"), std::optional<DWORD>(1));

  // The programs that other tests start must not meet the wizard.
  const DWORD off = 0;
  RegSetValueExW(key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off);
  RegCloseKey(key);
}

TEST_F(SearchWizard, CheckingASecondDriveUnchecksTheFirstAndUncheckingDisablesFinish) {
  GiveDrives({LogicalDrive('C', u"NTFS"), LogicalDrive('D', u"FAT32")});
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_FAST_SEARCH).DriveTree();
  EXPECT_FALSE(SheetButtonEnabled(sheet, ID_WIZFINISH));

  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
  EXPECT_EQ(tree.CheckedRecord(), 0);
  EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZFINISH));
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 1)));
  EXPECT_EQ(tree.CheckedRecord(), 1);
  EXPECT_FALSE(tree.GetCheck(ItemOfRecord(tree, 0)));
  EXPECT_EQ(m_app.SelectedDriveIndex, 1);
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 1)));
  EXPECT_EQ(tree.CheckedRecord(), -1);
  EXPECT_FALSE(SheetButtonEnabled(sheet, ID_WIZFINISH));
}

// The drive tree ticks a drive only on its box, never on its name.
TEST_F(SearchWizard, TheDriveTreeTicksOnlyOnTheBox) {
  GiveDrives({LogicalDrive('C', u"FAT32")});
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_ADVANCED_SEARCH).DriveTree();
  HTREEITEM drive = ItemOfRecord(tree, 0);
  CRect label;
  ASSERT_TRUE(tree.GetItemRect(drive, &label, TRUE));
  tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(label.CenterPoint().x, label.CenterPoint().y));
  tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.CenterPoint().x, label.CenterPoint().y));
  Pump();
  EXPECT_EQ(tree.CheckedRecord(), -1);
  ASSERT_TRUE(ClickBox(tree, drive));
  EXPECT_EQ(tree.CheckedRecord(), 0);
}

TEST_F(SearchWizard, AdvancedKindsGoOnWithNextOnlyOnceADriveIsChecked) {
  GiveDrives({LogicalDrive('C', u"NTFS")});
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_ADVANCED_SEARCH).DriveTree();
  EXPECT_FALSE(SheetButtonEnabled(sheet, ID_WIZNEXT));
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
  EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZNEXT));
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
  EXPECT_FALSE(SheetButtonEnabled(sheet, ID_WIZNEXT));
}

TEST_F(SearchWizard, DiskTenIsTheTenthDiskThroughToTheSearch) {
  std::vector<DriveRecord> disks;
  for (int n = 1; n <= 12; ++n) disks.push_back(PhysicalDisk(n));
  GiveDrives(disks);
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_PHYSICAL_SCAN).DriveTree();
  HTREEITEM diskTen = nullptr;
  for (HTREEITEM item = tree.GetChildItem(tree.GetRootItem()); item; item = tree.GetNextSiblingItem(item))
    if (tree.GetItemText(item).Find(L"Disk 10 ") == 0) diskTen = item;
  ASSERT_TRUE(ClickBox(tree, diskTen));
  EXPECT_EQ(m_app.SelectedDriveIndex, 9);

  sheet.PressButton(PSBTN_NEXT);
  EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZFINISH));
  sheet.PressButton(PSBTN_FINISH);
  ASSERT_TRUE(m_app.SelectedDrive.has_value());
  EXPECT_EQ(m_app.SelectedDrive->m_name, u"Disk 10");
  ASSERT_NE(m_app.Session, nullptr);
  EXPECT_EQ(m_app.Session->Kind(), ScanKind::PhysicalDisk);
  EXPECT_EQ(m_app.Session->Where().m_driveCode, 0x89);
  EXPECT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
}

// A disk the system gives neither identity nor size: the page says its size
// is unknown, and its scan ends with the read error in a box and in the log
// instead of ending without a word.
TEST_F(SearchWizard, ADiskWithoutSystemDataSaysSoAndItsScanEndsWithTheReadError) {
  DriveRecord disk = PhysicalDisk(1);
  disk.m_model.clear();
  disk.m_firmwareRevision.clear();
  disk.m_sectors = 0;
  GiveDrives({disk});
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_PHYSICAL_SCAN).DriveTree();
  HTREEITEM item = ItemOfRecord(tree, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(tree.GetItemText(item), CString(L"Disk 1   ( size unknown ) "));
  ASSERT_TRUE(ClickBox(tree, item));
  sheet.PressButton(PSBTN_NEXT);
  sheet.PressButton(PSBTN_FINISH);
  ASSERT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
  const int first = m_app.LogView->GetLogRowCount() - 1;
  ASSERT_GE(first, 0);
  EXPECT_EQ(m_app.LogView->GetLogItemText(first, 0), CString(L"Logical drive Disk 1"));
  EXPECT_EQ(m_app.LogView->GetLogItemText(first, 1), CString(L"Size size unknown, Type Disk"));

  const std::wstring boxText = AnswerBoxWhile([&] { m_frame->SendMessage(UWM_START_ADVANCED_SCAN, 0, 0); });
  EXPECT_EQ(boxText, L"Error reading sector : 0");
  EXPECT_EQ(m_app.ScanRunning, 0);
  const int row = m_app.LogView->GetLogRowCount() - 1;
  ASSERT_GE(row, 0);
  EXPECT_EQ(m_app.LogView->GetLogItemText(row, 1), CString(L"Error reading sector : 0"));
}

TEST_F(SearchWizard, FastFinishPreparesTheSearchOfTheCheckedDrive) {
  GiveDrives({LogicalDrive('C', u"FAT32"), LogicalDrive('E', u"NTFS5")});
  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_FAST_SEARCH).DriveTree();
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 1)));
  m_app.FindNextAvailable = 1;
  m_app.AnyChecked = 1;
  sheet.PressButton(PSBTN_FINISH);

  EXPECT_TRUE(TakeStartMessage(UWM_START_FAST_SCAN));
  ASSERT_NE(m_app.Session, nullptr);
  EXPECT_EQ(m_app.Session->Kind(), ScanKind::NtfsVolume);
  EXPECT_NE(m_app.NtfsEngine, nullptr);
  EXPECT_EQ(m_app.FatEngine, nullptr);
  EXPECT_EQ(m_app.ScanRunning, 1);
  EXPECT_EQ(m_app.StopRequested, 0);
  EXPECT_EQ(m_app.FindNextAvailable, 0);
  EXPECT_EQ(m_app.AnyChecked, 0);
  const int row = m_app.LogView->GetLogRowCount() - 1;
  ASSERT_GE(row, 0);
  EXPECT_EQ(m_app.LogView->GetLogItemText(row, 0), CString(L"Logical drive E:\\"));
  EXPECT_EQ(m_app.LogView->GetLogItemText(row, 1), CString(L"Size 9.998 GB, Type FIXED"));
  m_app.ScanRunning = 0;
  m_app.StopRequested = 1;
}

TEST_F(SearchWizard, CancelToTheSaveOfferStartsNothingAndKeepsTheResults) {
  GiveDrives({LogicalDrive('C', u"FAT32")});
  m_app.DriveList = {LogicalDrive('C', u"FAT32")};
  ASSERT_TRUE(StartNewSearch(m_app, *m_frame, 0));
  ScanSession *previous = m_app.Session.get();
  m_app.ScanRunning = 0;
  m_app.ResultsPresent = 1;
  m_app.ScanInfoSaved = 0;

  MyPropertySheet &sheet = OpenModelessWizard();
  CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_FAST_SEARCH).DriveTree();
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
  {
    TimerScript answer({AnswerMessageBox(IDCANCEL)}, [] {});
    sheet.PressButton(PSBTN_FINISH);
    EXPECT_TRUE(answer.Finished());
  }
  EXPECT_FALSE(TakeStartMessage(UWM_START_FAST_SCAN));
  EXPECT_EQ(m_app.Session.get(), previous);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_EQ(m_app.ScanRunning, 0);
}

// The system names the wizard's own buttons in its language; they follow the
// language library the user chose, as every other text of the wizard does,
// and keep their names as the pages show and hide them.
TEST_F(SearchWizard, ItsOwnButtonsSpeakTheChosenLanguage) {
  const struct {
    DWORD language; // as "LANG" gives it; 0: the program's own English
    const wchar_t *back, *next, *finish, *cancel;
  } cases[] = {
      {0, L"< &Back", L"&Next >", L"Finish", L"Cancel"},
      {1, L"< &Pr\u00e9c\u00e9dent", L"&Suivant >", L"Terminer", L"Annuler"},
      {2, L"< &Zur\u00fcck", L"&Weiter >", L"Fertig stellen", L"Abbrechen"},
      {3, L"< &Atr\u00e1s", L"&Siguiente >", L"Finalizar", L"Cancelar"},
      {4, L"< &Indietro", L"&Avanti >", L"Fine", L"Annulla"},
  };
  GiveDrives({LogicalDrive('C', u"NTFS")});
  const std::wstring executable = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  const HINSTANCE own = AfxGetResourceHandle();
  for (const auto &c : cases) {
    SCOPED_TRACE(c.language);
    HMODULE library = LoadLanguageLibrary(c.language, executable);
    if (c.language != 0) {
      ASSERT_NE(library, nullptr);
      AfxSetResourceHandle(library);
    }
    m_app.SearchKind[0] = 1, m_app.SearchKind[1] = 0, m_app.SearchKind[2] = 0;
    MyPropertySheet &sheet = OpenModelessWizard();
    const std::pair<int, const wchar_t *> names[] = {
        {ID_WIZBACK, c.back}, {ID_WIZNEXT, c.next}, {ID_WIZFINISH, c.finish}, {IDCANCEL, c.cancel}};
    auto expectNames = [&](const char *where) {
      for (const auto &[id, name] : names) {
        HWND button = ::GetDlgItem(sheet.m_hWnd, id);
        ASSERT_NE(button, nullptr) << where << " button " << id;
        wchar_t text[64] = {};
        ::GetWindowTextW(button, text, 64);
        EXPECT_STREQ(text, name) << where << " button " << id;
        if (!::IsWindowVisible(button)) continue;
        // Whole inside the button's raised edge, in the font the button draws with.
        CRect box;
        ::GetClientRect(button, &box);
        HDC dc = ::GetDC(button);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0)));
        CRect need(0, 0, 0, 0);
        ::DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::ReleaseDC(button, dc);
        EXPECT_LE(need.Width(), box.Width() - 6) << where << " button " << id;
      }
    };
    expectNames("search-type page");
    EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZNEXT));
    // The drive page of the fast search offers Finish in place of Next.
    ToDrivePage(sheet, IDC_FAST_SEARCH);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(sheet.m_hWnd, ID_WIZFINISH)));
    expectNames("drive page");
    sheet.PressButton(PSBTN_BACK);
    EXPECT_TRUE(SheetButtonEnabled(sheet, ID_WIZNEXT));
    expectNames("back on the search-type page");
    m_app.WizardSheet.reset();
    AfxSetResourceHandle(own);
    if (library != nullptr) FreeLibrary(library);
  }
}

// The signature list's column titles show whole, beside the sort triangle,
// in every language: a column grows from its first width as far as its
// translated title needs, and no further. The widths are printed.
TEST_F(SearchWizard, TheSignatureListTitlesShowWholeInEveryLanguage) {
  const int firstWidths[] = {255, 69, 70};
  GiveDrives({LogicalDrive('C', u"FAT32")});
  const std::wstring executable = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  const HINSTANCE own = AfxGetResourceHandle();
  for (DWORD language = 0; language <= 4; ++language) {
    SCOPED_TRACE(language);
    HMODULE library = language == 0 ? nullptr : LoadLanguageLibrary(language, executable);
    if (language != 0) {
      ASSERT_NE(library, nullptr);
      AfxSetResourceHandle(library);
    }
    MyPropertySheet &sheet = OpenModelessWizard();
    sheet.HeadersPage().UseStore(
        std::make_unique<SignatureFile>(std::wstring(QV_LANGUAGE_DIR) + L"/HeaderFile.cfg"));
    CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_ADVANCED_SEARCH).DriveTree();
    ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
    sheet.PressButton(PSBTN_NEXT);
    CEditList &list = sheet.HeadersPage().List();
    CMyHeaderCtrl &header = const_cast<CMyHeaderCtrl &>(list.SortHeader());
    HDC dc = ::GetDC(header.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, header.GetFontHandle());
    SIZE blank = {};
    ::GetTextExtentPoint32W(dc, L" ", 1, &blank);
    std::printf("signature list, language %lu:", static_cast<unsigned long>(language));
    for (int column = kSignatureName; column <= kSignatureSize; ++column) {
      wchar_t title[128] = {};
      HDITEMW item = {};
      item.mask = HDI_TEXT;
      item.pszText = title;
      item.cchTextMax = 128;
      ASSERT_TRUE(header.GetItem(column, &item));
      SIZE text = {};
      ::GetTextExtentPoint32W(dc, title, static_cast<int>(wcslen(title)), &text);
      CRect rect;
      ASSERT_TRUE(header.GetItemRect(column, &rect));
      const HeaderItemLayout sorted = LayoutHeaderItem(rect, blank.cx, false, true, true);
      EXPECT_GE(sorted.text.Width(), text.cx) << "column " << column << " cuts its title";
      EXPECT_EQ(rect.Width(), std::max(firstWidths[column], HeaderItemWidthFor(text.cx, blank.cx)))
          << "column " << column;
      std::printf(" %d", rect.Width());
    }
    std::printf("\n");
    ::SelectObject(dc, old);
    ::ReleaseDC(header.m_hWnd, dc);
    if (language == 2) {
      // The three columns are wider than the list in every language: scrolled
      // to its right end, the picture shows the two that grew.
      list.Scroll(CSize(10000, 0));
      HoldForScreenshot("wizard-signatures-german");
    }
    m_app.WizardSheet.reset();
    AfxSetResourceHandle(own);
    if (library != nullptr) FreeLibrary(library);
  }
}

TEST_F(SearchWizard, RunWizardLeavesAnOpenWizardAlone) {
  MyPropertySheet &open = OpenModelessWizard();
  // Were a second wizard made, it would be cancelled after a while.
  TimerScript guard({[] { return false; }}, [this] {
    if (m_app.WizardSheet != nullptr) m_app.WizardSheet->PressButton(PSBTN_CANCEL);
  });
  m_app.RunWizard();
  EXPECT_EQ(m_app.WizardSheet.get(), &open);
  EXPECT_FALSE(guard.GaveUp());
}

TEST_F(SearchWizard, NothingFreesTheEngineWhileAnEngineCallUnwinds) {
  m_frame->EngineCallDepth = 1;
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_FILE_RUN_WIZARD));
  {
    TimerScript answer({AnswerMessageBox(IDOK)}, [] {});
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(answer.Finished());
  }
  EXPECT_TRUE(::IsWindow(m_frame->m_hWnd));
  m_frame->EngineCallDepth = 0;
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_FILE_RUN_WIZARD));
}

} // namespace
