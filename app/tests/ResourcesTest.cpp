// The program's resources: the executable's own (compiled into this test) and
// those of the four language libraries, which must offer the same menus,
// dialogs and strings with their texts intact.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "EngineText.h"
#include "resource.h"

namespace {

constexpr WORD kToolbarType = 241;

// One #define of resource.h.
struct Symbol {
  std::string name;
  unsigned value;
};

// The numeric identifiers of resource.h whose names match the pattern.
std::vector<Symbol> ReadSymbols(const std::regex &name) {
  std::vector<Symbol> symbols;
  FILE *file = _wfopen(QV_RESOURCE_HEADER, L"r");
  if (!file) return symbols;
  static const std::regex define(R"(^\s*#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)\b)");
  char line[512];
  while (std::fgets(line, sizeof line, file)) {
    std::cmatch m;
    if (std::regex_search(line, m, define) && std::regex_match(m[1].str(), name))
      symbols.push_back({m[1].str(), static_cast<unsigned>(std::stoul(m[2].str(), nullptr, 0))});
  }
  std::fclose(file);
  return symbols;
}

// Every identifier that names a string: texts, command prompts, the template string.
std::vector<Symbol> StringSymbols() {
  return ReadSymbols(std::regex("IDS_\\w+|ID_\\w+|AFX_IDS_\\w+|IDR_MAINFRAME"));
}

HMODULE Executable() {
  return GetModuleHandleW(nullptr);
}

std::wstring LoadText(HMODULE module, unsigned id) {
  const wchar_t *text = nullptr;
  int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, length) : std::wstring();
}

// The toolkit's resources (ids 9000 to 9999) are linked into the executable
// too, but no language library need carry its strings: one overrides only
// what it translates, and the rest comes from the executable.
bool IsToolkitId(unsigned id) {
  return id >= 9000 && id <= 9999;
}

// Every string id of the program's own string table, found block by block.
std::vector<unsigned> ExecutableStringIds() {
  std::vector<unsigned> blocks;
  auto collect = [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
    if (IS_INTRESOURCE(name)) {
      auto *list = reinterpret_cast<std::vector<unsigned> *>(found);
      list->push_back(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
  };
  EnumResourceNamesW(Executable(), RT_STRING, collect, reinterpret_cast<LONG_PTR>(&blocks));
  std::vector<unsigned> ids;
  for (unsigned block : blocks)
    for (unsigned id = (block - 1) * 16; id < block * 16; ++id)
      if (!IsToolkitId(id) && !LoadText(Executable(), id).empty()) ids.push_back(id);
  return ids;
}

std::string Narrow(const std::wstring &text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

// The bytes of one resource, empty when the module lacks it.
std::vector<BYTE> ResourceBytes(HMODULE module, unsigned id, LPCWSTR type) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  const BYTE *data = static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
  return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

// ---------------------------------------------------------------- toolbars

struct ToolbarCase {
  unsigned id;
  WORD width;
  WORD height;
  std::vector<WORD> items; // 0 is a separator
};

const std::vector<WORD> kStandardItems = {ID_FILE_RUN_WIZARD,
                                          0,
                                          ID_EDIT_FIND_ENTRIES,
                                          ID_EDIT_FIND_NEXT_ENTRY,
                                          0,
                                          ID_TOOLS_RECOVER_SELECTED,
                                          ID_TOOLS_RECOVER_ALL,
                                          0,
                                          ID_EDIT_GO_UP,
                                          0,
                                          ID_TOOLS_FILE_MASK,
                                          0,
                                          ID_TOOLS_STOP_PROCESS,
                                          0,
                                          ID_HELP_FINDER};

class ToolbarResource : public ::testing::TestWithParam<ToolbarCase> {};

TEST_P(ToolbarResource, HeaderAndItemsAreSixteenBitWords) {
  const ToolbarCase &c = GetParam();
  std::vector<BYTE> bytes = ResourceBytes(Executable(), c.id, MAKEINTRESOURCEW(kToolbarType));
  ASSERT_EQ(bytes.size(), 8 + 2 * c.items.size());
  std::vector<WORD> words(bytes.size() / 2);
  std::memcpy(words.data(), bytes.data(), bytes.size());
  EXPECT_EQ(words[0], 1) << "version";
  EXPECT_EQ(words[1], c.width);
  EXPECT_EQ(words[2], c.height);
  EXPECT_EQ(words[3], c.items.size()) << "item count";
  EXPECT_EQ(std::vector<WORD>(words.begin() + 4, words.end()), c.items);
}

TEST_P(ToolbarResource, BitmapHoldsOneImagePerButton) {
  const ToolbarCase &c = GetParam();
  std::vector<BYTE> bytes = ResourceBytes(Executable(), c.id, RT_BITMAP);
  ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes.data(), sizeof header);
  long buttons = 0;
  for (WORD item : c.items) buttons += item != 0;
  EXPECT_EQ(header.biWidth, buttons * c.width);
  EXPECT_EQ(header.biHeight, c.height);
}

INSTANTIATE_TEST_SUITE_P(AllToolbars, ToolbarResource,
                         ::testing::Values(ToolbarCase{IDR_MAINFRAME, 16, 15, kStandardItems},
                                           ToolbarCase{IDR_TOOLBAR_MEDIUM, 32, 32, kStandardItems},
                                           ToolbarCase{IDR_TOOLBAR_LARGE, 48, 48, kStandardItems},
                                           ToolbarCase{IDR_COMMAND_IMAGES,
                                                       16,
                                                       15,
                                                       {ID_TOOLS_SAVE_SCAN_INFO, ID_FILE_OPEN_SCAN_INFO,
                                                        ID_APP_ABOUT, ID_EDIT_SELECT_ALL_ENTRIES,
                                                        ID_EDIT_UNSELECT_ALL_ENTRIES, ID_EDIT_SAVE_LOG,
                                                        ID_EDIT_CLEAR_LOG, ID_TOOLS_UNMASK,
                                                        ID_TOOLS_ADD_NEW_HEADER, ID_VIEW_PROGRESS_COLOUR}}));

// ---------------------------------------------------------------- strings and images

// The executable carries the toolkit's resources too (ids 9000 to 9999): an id
// of the program's in that range would meet one of them.
TEST(ProgramIds, StayOutOfTheToolkitsRange) {
  std::vector<Symbol> symbols = ReadSymbols(std::regex("\\w+"));
  ASSERT_GT(symbols.size(), 150u) << "resource.h not read";
  for (const Symbol &s : symbols) EXPECT_FALSE(IsToolkitId(s.value)) << s.name << " " << s.value;
}

TEST(EnglishStrings, EveryStringAndCommandOfTheHeaderHasText) {
  std::vector<Symbol> symbols = StringSymbols();
  ASSERT_GT(symbols.size(), 150u) << "resource.h not read";
  for (const Symbol &s : symbols) EXPECT_FALSE(LoadText(Executable(), s.value).empty()) << s.name;
}

TEST(EnglishStrings, CommandPromptsCarryStatusTextAndTooltip) {
  for (const Symbol &s : ReadSymbols(std::regex("ID_\\w+"))) {
    if (s.name.rfind("ID_INDICATOR_", 0) == 0 || s.name == "ID_PANE_LOG") continue;
    std::wstring text = LoadText(Executable(), s.value);
    size_t split = text.find(L'\n');
    ASSERT_NE(split, std::wstring::npos) << s.name;
    EXPECT_GT(split, 0u) << s.name;
    EXPECT_LT(split + 1, text.size()) << s.name << ": no tooltip";
    EXPECT_EQ(text.find(L'\n', split + 1), std::wstring::npos) << s.name;
  }
}

TEST(EnglishStrings, TextsAsTheProgramShowsThem) {
  EXPECT_EQ(
      LoadText(Executable(), IDS_STOP_QUESTION),
      L"Stop current process ?\n(This process cannot be resumed from current state and has to be restarted)");
  EXPECT_EQ(LoadText(Executable(), IDS_INVALID_FILE_SIZE),
            L"Invalid file size, enter a valid value (file size cannot be a negative value  or 0).");
  EXPECT_EQ(LoadText(Executable(), IDR_MAINFRAME),
            L"Quendal Varnoth\n\nQuenda\n\n\nQuendalVarnoth.Document\nQuenda Document");
  EXPECT_EQ(LoadText(Executable(), IDS_PHYSICAL_SCAN_POSSIBLE), L"scan possible.");
}

// The portable engine cannot include resource.h: its ids must name the same
// strings, each with a text.
TEST(EnglishStrings, EveryTextTheEngineLoadsIsInTheTable) {
  const std::pair<uint32_t, unsigned> ids[] = {
      {EngineText::kLoadingFat, IDS_LOADING_FAT},
      {EngineText::kFolders, IDS_FOLDERS},
      {EngineText::kProcessStarted, IDS_PROCESS_STARTED},
      {EngineText::kProcessFailed, IDS_PROCESS_FAILED},
      {EngineText::kProcessCompleted, IDS_PROCESS_COMPLETED},
      {EngineText::kProcessAborted, IDS_PROCESS_ABORTED},
      {EngineText::kReadingSector, IDS_READING_SECTOR},
      {EngineText::kOf, IDS_OF},
      {EngineText::kCalculatingParameters, IDS_CALCULATING_PARAMETERS},
      {EngineText::kReadingCluster, IDS_READING_CLUSTER},
      {EngineText::kRawDataFolder, IDS_RAW_DATA_FOLDER},
      {EngineText::kLostFolder, IDS_LOST_FOLDER},
      {EngineText::kCreatingDirectoryTree, IDS_CREATING_TREE},
      {EngineText::kSearchingCriticalInfo, IDS_SEARCHING_CRITICAL_INFO},
      {EngineText::kNotValidDrive, IDS_INVALID_LOGICAL_DRIVE},
      {EngineText::kStartedOn, IDS_STARTED_ON},
      {EngineText::kCompletedOn, IDS_COMPLETED_ON},
      {EngineText::kAbortedOn, IDS_ABORTED_ON},
      {EngineText::kErrorReadingSector, IDS_ERROR_READING_SECTOR},
      {EngineText::kErrorReadingCluster, IDS_ERROR_READING_CLUSTER},
      {EngineText::kAddingDeletedFiles, IDS_ADDING_DELETED_FILES},
      {EngineText::kAddingLostFiles, IDS_ADDING_LOST_FILES},
      {EngineText::kCompleted, IDS_COMPLETED},
      {EngineText::kAborted, IDS_ABORTED},
      {EngineText::kSearchingHeaders, IDS_SEARCHING_HEADERS},
      {EngineText::kSavingFiles, IDS_SAVING_FILES},
      {EngineText::kUnableToSave, IDS_CANNOT_SAVE_SCAN_INFO},
      {EngineText::kSavingScanInformation, IDS_SAVING_SCAN_INFO},
      {EngineText::kCreatingTreeFromScanFile, IDS_LOADING_SCAN_FILE},
      {EngineText::kUnableToOpen, IDS_CANNOT_OPEN_SCAN_FILE},
      {EngineText::kErrorOpeningFile, IDS_ERROR_OPENING_FILE},
      {EngineText::kNotValidScanFile, IDS_NOT_SCAN_FILE},
      {EngineText::kNotValidScanFileLong, IDS_NOT_VALID_SCAN_FILE},
  };
  for (const auto &[engine, table] : ids) {
    EXPECT_EQ(engine, table);
    EXPECT_FALSE(LoadText(Executable(), engine).empty()) << engine;
  }
}

TEST(Images, EveryBitmapIconAndCursorLoads) {
  for (const Symbol &s : ReadSymbols(std::regex("IDB_\\w+")))
    EXPECT_NE(FindResourceW(Executable(), MAKEINTRESOURCEW(s.value), RT_BITMAP), nullptr) << s.name;
  std::vector<Symbol> icons = ReadSymbols(std::regex("IDI_\\w+"));
  icons.push_back({"IDR_MAINFRAME", IDR_MAINFRAME});
  for (const Symbol &s : icons) {
    for (int size : {16, 32}) {
      HANDLE icon = LoadImageW(Executable(), MAKEINTRESOURCEW(s.value), IMAGE_ICON, size, size, 0);
      EXPECT_NE(icon, nullptr) << s.name << " at " << size;
      if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
  }
  HANDLE hand = LoadImageW(Executable(), MAKEINTRESOURCEW(IDC_LINK_HAND), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
  EXPECT_NE(hand, nullptr);
  if (hand) DestroyCursor(static_cast<HCURSOR>(hand));
}

// ---------------------------------------------------------------- dialogs

struct Control {
  unsigned id;
  DWORD style;
  RECT rect;
  bool comboBox;     // its height is that of the dropped-down list
  WORD classOrdinal; // 0x80 button, 0x82 static, ...; 0 for a class named by text
  std::wstring text; // empty when the template gives none or an ordinal (a picture)
};

struct Dialog {
  SIZE size{};
  std::vector<Control> controls;
};

// Reads the extended dialog template that the resource compiler writes.
class TemplateReader {
public:
  explicit TemplateReader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

  bool Read(Dialog &dialog) {
    if (Word() != 1 || Word() != 0xFFFF) return false;
    DWord(); // help id
    DWord(); // extended style
    DWORD style = DWord();
    WORD count = Word();
    Word();
    Word();
    dialog.size.cx = static_cast<short>(Word());
    dialog.size.cy = static_cast<short>(Word());
    SkipNameOrOrdinal(); // menu
    SkipNameOrOrdinal(); // class
    SkipString();        // title
    if (style & DS_SETFONT) {
      Word();
      Word();
      Word(); // italic and character set
      SkipString();
    }
    for (WORD i = 0; i < count && m_ok; ++i) {
      m_at = (m_at + 3) & ~size_t(3);
      DWord();
      DWord();
      Control control;
      control.style = DWord();
      short x = Word(), y = Word(), cx = Word(), cy = Word();
      control.rect = {x, y, x + cx, y + cy};
      control.id = DWord();
      control.classOrdinal = SkipNameOrOrdinal();
      control.comboBox = control.classOrdinal == kComboBoxClass;
      control.text = ReadNameOrOrdinal();
      m_at += Word();
      dialog.controls.push_back(control);
    }
    return m_ok;
  }

private:
  WORD Word() {
    if (m_at + 2 > m_bytes.size()) return m_ok = false, 0;
    WORD value = static_cast<WORD>(m_bytes[m_at] | m_bytes[m_at + 1] << 8);
    m_at += 2;
    return value;
  }
  DWORD DWord() {
    DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  void SkipString() {
    while (m_ok && Word() != 0) {
    }
  }
  // The text of a name; empty for an ordinal or nothing.
  std::wstring ReadNameOrOrdinal() {
    std::wstring text;
    WORD first = Word();
    if (first == 0xFFFF) {
      Word();
      return text;
    }
    for (WORD ch = first; m_ok && ch != 0; ch = Word()) text.push_back(static_cast<wchar_t>(ch));
    return text;
  }
  // Returns the ordinal, or 0 for a name or nothing.
  WORD SkipNameOrOrdinal() {
    WORD first = Word();
    if (first == 0xFFFF) return Word();
    if (first != 0) SkipString();
    return 0;
  }

  static constexpr WORD kComboBoxClass = 0x0085;

  const std::vector<BYTE> &m_bytes;
  size_t m_at = 0;
  bool m_ok = true;
};

bool LoadDialog(HMODULE module, unsigned id, Dialog &dialog) {
  std::vector<BYTE> bytes = ResourceBytes(module, id, RT_DIALOG);
  return !bytes.empty() && TemplateReader(bytes).Read(dialog);
}

const Control *FindControl(const Dialog &dialog, unsigned id) {
  for (const Control &c : dialog.controls)
    if (c.id == id) return &c;
  return nullptr;
}

bool Intersect(const RECT &a, const RECT &b) {
  RECT out;
  return IntersectRect(&out, &a, &b) != FALSE;
}

constexpr unsigned kStaticId = 0xFFFF; // IDC_STATIC as the template stores it (low word of -1)

TEST(DialogTemplates, EachDialogHasDistinctControlIdsInsideItsFrame) {
  std::vector<Symbol> dialogs = ReadSymbols(std::regex("IDD_\\w+"));
  ASSERT_EQ(dialogs.size(), 11u);
  for (const Symbol &s : dialogs) {
    Dialog dialog;
    ASSERT_TRUE(LoadDialog(Executable(), s.value, dialog)) << s.name;
    std::set<unsigned> seen;
    for (const Control &c : dialog.controls) {
      unsigned id = c.id & 0xFFFF;
      if (id != kStaticId) {
        EXPECT_TRUE(seen.insert(id).second) << s.name << ": control " << id << " twice";
      }
      EXPECT_GE(c.rect.left, 0) << s.name << " control " << id;
      EXPECT_GE(c.rect.top, 0) << s.name << " control " << id;
      EXPECT_LE(c.rect.right, dialog.size.cx) << s.name << " control " << id;
      if (!c.comboBox) {
        EXPECT_LE(c.rect.bottom, dialog.size.cy) << s.name << " control " << id;
      }
    }
  }
}

// Collapsing the Find dialog disables every control outside the marker, so
// the marker must cover the upper part and nothing of the lower one.
TEST(DialogTemplates, FindMarkerCoversExactlyTheUpperPart) {
  Dialog find;
  ASSERT_TRUE(LoadDialog(Executable(), IDD_FIND, find));
  const Control *marker = FindControl(find, IDC_FIND_MARKER);
  ASSERT_NE(marker, nullptr);
  EXPECT_FALSE(marker->style & WS_VISIBLE);
  EXPECT_EQ(marker->rect.right, find.size.cx) << "collapsing must keep the width";
  for (unsigned id : {IDOK, IDCANCEL, ID_HELP, IDC_FIND_EXPAND, IDC_FIND_TEXT, IDC_FIND_MATCH_CASE,
                      IDC_FIND_DELETED, IDC_FIND_MISSING, IDC_FIND_POOR, IDC_FIND_FAIR, IDC_FIND_GOOD,
                      IDC_FIND_VERY_GOOD, IDC_FIND_NOT_APPLICABLE}) {
    const Control *c = FindControl(find, id);
    ASSERT_NE(c, nullptr) << id;
    EXPECT_TRUE(Intersect(c->rect, marker->rect)) << "control " << id << " would be disabled";
  }
  for (unsigned id :
       {IDC_FIND_SIZE, IDC_FIND_SIZE_KIND, IDC_FIND_SIZE_LIMIT, IDC_FIND_DATE, IDC_FIND_DATE_KIND,
        IDC_FIND_IN_MONTHS, IDC_FIND_MONTHS, IDC_FIND_MONTHS_SPIN, IDC_FIND_IN_DAYS, IDC_FIND_DAYS,
        IDC_FIND_DAYS_SPIN, IDC_FIND_BETWEEN, IDC_FIND_FROM_DATE, IDC_FIND_TO_DATE}) {
    const Control *c = FindControl(find, id);
    ASSERT_NE(c, nullptr) << id;
    EXPECT_FALSE(Intersect(c->rect, marker->rect)) << "control " << id << " would stay enabled when hidden";
  }
}

// ---------------------------------------------------------------- text fit

// Dialog texts measured in Tahoma 8 at 96 dpi, the face the templates' MS
// Shell Dlg 8 stands for (under Wine, and as MS Shell Dlg 2 on Windows). A
// dialog unit is a quarter of the face's average character width across and
// an eighth of its height down, as Windows reckons them.
class DialogFont {
public:
  DialogFont() {
    m_dc = CreateCompatibleDC(nullptr);
    m_tahoma =
        CreateFontW(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    // The wizard pages' title font, set on their headings and check boxes.
    m_title = CreateFontW(20, 10, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial");
    HGDIOBJ old = SelectObject(m_dc, m_tahoma);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(m_dc, LF_FACESIZE, face);
    m_face = face;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(m_dc, &metrics);
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent = {};
    GetTextExtentPoint32W(m_dc, letters, 52, &extent);
    m_baseX = (extent.cx / 26 + 1) / 2;
    m_baseY = metrics.tmHeight;
    SelectObject(m_dc, old);
  }
  ~DialogFont() {
    DeleteObject(m_tahoma);
    DeleteObject(m_title);
    DeleteDC(m_dc);
  }

  const std::wstring &Face() const { return m_face; }
  int BaseX() const { return m_baseX; }
  int BaseY() const { return m_baseY; }

  RECT Pixels(const RECT &units) const {
    return {MulDiv(units.left, m_baseX, 4), MulDiv(units.top, m_baseY, 8), MulDiv(units.right, m_baseX, 4),
            MulDiv(units.bottom, m_baseY, 8)};
  }

  // The size the text takes, wrapped at the width when asked (0: one line).
  SIZE Extent(const std::wstring &text, bool title, int wrapWidth, UINT flags) const {
    HGDIOBJ old = SelectObject(m_dc, title ? m_title : m_tahoma);
    RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 10000, 0};
    DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | flags | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(m_dc, old);
    return {r.right - r.left, r.bottom - r.top};
  }

private:
  HDC m_dc = nullptr;
  HFONT m_tahoma = nullptr;
  HFONT m_title = nullptr;
  std::wstring m_face;
  int m_baseX = 0;
  int m_baseY = 0;
};

// Space a control keeps for itself around its text, in pixels.
constexpr int kPushButtonMargin = 3;   // each side: the raised edge and the focus frame
constexpr int kCheckBoxIndent = 17;    // the box, its gap and the focus frame's right edge
constexpr int kGroupBoxIndent = 8;     // each side of the title on the frame's top line
constexpr int kKindButtonPicture = 56; // the kind buttons' 40-pixel picture with its gaps
constexpr int kComboBoxButton = 17;    // a drop-down list's arrow button
constexpr int kComboBoxEdge = 3;       // each side: the sunken edge and the focus frame

struct FitDialog {
  unsigned id;
  std::string name;
};

// A text a dialog puts into one of its controls while it runs.
struct RuntimeText {
  unsigned dialog;
  unsigned control;
  unsigned string;
};

// Controls that a wizard page gives its title font.
bool HasTitleFont(unsigned dialog, unsigned control) {
  switch (dialog) {
  case IDD_SEARCH_TYPE:
    return control == IDC_SHOW_WIZARD || control == IDC_SEARCH_QUESTION || control == IDC_FAST_SEARCH ||
           control == IDC_ADVANCED_SEARCH || control == IDC_PHYSICAL_SCAN;
  case IDD_SEARCH_DRIVE:
    return control == IDC_SHOW_WIZARD || control == IDC_DRIVE_PROMPT;
  case IDD_SELECT_HEADERS:
    return control == IDC_SHOW_WIZARD || control == IDC_HEADER_TYPES_LABEL ||
           control == IDC_HEADER_GROUP_LABEL;
  default:
    return false;
  }
}

bool ShowsKindPicture(unsigned dialog, unsigned control) {
  return dialog == IDD_SEARCH_TYPE &&
         (control == IDC_FAST_SEARCH || control == IDC_ADVANCED_SEARCH || control == IDC_PHYSICAL_SCAN);
}

// Why the text does not fit its control; empty when it does.
std::string CheckFit(const DialogFont &font, unsigned dialog, const Control &c, const std::wstring &text) {
  const RECT box = font.Pixels(c.rect);
  int width = box.right - box.left;
  int height = box.bottom - box.top;
  bool wraps = false;
  UINT flags = 0;
  if (c.classOrdinal == 0x82) {
    const DWORD type = c.style & SS_TYPEMASK;
    if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return {};
    if (c.style & SS_ELLIPSISMASK) return {}; // shortened on purpose
    wraps = type <= SS_RIGHT;
    if (c.style & SS_NOPREFIX) flags |= DT_NOPREFIX;
  } else if (c.classOrdinal == 0x80) {
    const DWORD type = c.style & BS_TYPEMASK;
    wraps = (c.style & BS_MULTILINE) != 0;
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      width -= 2 * kPushButtonMargin;
      height -= 2 * kPushButtonMargin;
      if (ShowsKindPicture(dialog, c.id)) width -= kKindButtonPicture;
      break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
      width -= kCheckBoxIndent;
      break;
    case BS_GROUPBOX:
      width -= 2 * kGroupBoxIndent;
      wraps = false;
      height = font.BaseY();
      break;
    default:
      return {};
    }
  } else if (c.classOrdinal == 0x85) {
    // A drop-down list shows its chosen item beside the arrow button.
    width -= kComboBoxButton + 2 * kComboBoxEdge;
    height = font.BaseY();
  } else {
    return {};
  }
  const bool title = HasTitleFont(dialog, c.id);
  SIZE need = font.Extent(text, title, wraps ? width : 0, flags);
  char why[160] = {};
  if (need.cx > width)
    std::snprintf(why, sizeof why, "needs %ld px across, has %d", need.cx, width);
  else if (need.cy > height)
    std::snprintf(why, sizeof why, "needs %ld px down (%s), has %d", need.cy, wraps ? "wrapped" : "one line",
                  height);
  return why;
}

std::string Utf8(const std::wstring &text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

class DialogTextFit : public ::testing::TestWithParam<const wchar_t *> {
protected:
  void SetUp() override {
    std::wstring path = std::wstring(QV_LANGUAGE_DIR) + L"/" + GetParam();
    m_module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m_module, nullptr) << Narrow(path);
  }
  void TearDown() override {
    if (m_module) FreeLibrary(m_module);
  }

  HMODULE m_module = nullptr;
};

// The measure is Tahoma's own: with another face every figure would be off.
TEST(DialogTextFitFont, IsTahomaWithItsDialogBaseUnits) {
  DialogFont font;
  EXPECT_TRUE(font.Face() == L"Tahoma") << Narrow(font.Face());
  EXPECT_GE(font.BaseX(), 5);
  EXPECT_LE(font.BaseX(), 7);
  EXPECT_GE(font.BaseY(), 12);
  EXPECT_LE(font.BaseY(), 14);
}

// Every static and button text of every dialog the program shows, the tip of
// the day included, and every item of its drop-down lists fits its control:
// across, and down once wrapped.
TEST_P(DialogTextFit, EveryTextFitsItsControl) {
  DialogFont font;
  ASSERT_TRUE(font.Face() == L"Tahoma");
  std::vector<FitDialog> dialogs;
  for (const Symbol &s : ReadSymbols(std::regex("IDD_\\w+"))) dialogs.push_back({s.value, s.name});
  ASSERT_EQ(dialogs.size(), 11u);
  const unsigned kTipOfTheDay = 9018;
  dialogs.push_back({kTipOfTheDay, "XT_IDD_TIPOFTHEDAY"});
  std::vector<RuntimeText> runtime = {{IDD_FIND, IDC_FIND_EXPAND, IDS_FIND_EXPANDED},
                                      {IDD_FIND, IDC_FIND_EXPAND, IDS_FIND_COLLAPSED},
                                      {IDD_SEARCH_DRIVE, IDC_DRIVE_PROMPT, IDS_CHOOSE_LOGICAL_DRIVE},
                                      {IDD_SEARCH_DRIVE, IDC_DRIVE_PROMPT, IDS_CHOOSE_PHYSICAL_DISK},
                                      {IDD_FIND, IDC_FIND_SIZE_KIND, IDS_FIND_AT_LEAST},
                                      {IDD_FIND, IDC_FIND_SIZE_KIND, IDS_FIND_AT_MOST}};
  for (unsigned kind : {IDS_CREATED_DATE, IDS_MODIFIED_DATE}) {
    runtime.push_back({IDD_FIND, IDC_FIND_DATE_KIND, kind});
    runtime.push_back({IDD_FILE_MASK, IDC_MASK_DATE_KIND, kind});
  }
  for (unsigned group :
       {IDS_GROUP_ALL, IDS_GROUP_APPLICATION, IDS_GROUP_DATABASE, IDS_GROUP_EMAIL, IDS_GROUP_DOCUMENT,
        IDS_GROUP_INTERNET, IDS_GROUP_MOVIE, IDS_GROUP_OFFICE, IDS_GROUP_TEXT, IDS_GROUP_SOUND,
        IDS_GROUP_GRAPHIC, IDS_GROUP_ARCHIVE, IDS_GROUP_MISCELLANEOUS}) {
    runtime.push_back({IDD_APPEND_HEADER, IDC_APPEND_GROUP, group});
    runtime.push_back({IDD_SELECT_HEADERS, IDC_HEADER_GROUP, group});
  }
  int measured = 0;
  for (const FitDialog &d : dialogs) {
    Dialog dialog;
    ASSERT_TRUE(LoadDialog(m_module, d.id, dialog)) << d.name;
    for (const Control &c : dialog.controls) {
      if (!(c.style & WS_VISIBLE)) continue;
      std::vector<std::wstring> texts;
      if (!c.text.empty()) texts.push_back(c.text);
      for (const RuntimeText &r : runtime)
        if (r.dialog == d.id && r.control == (c.id & 0xFFFF)) texts.push_back(LoadText(m_module, r.string));
      for (const std::wstring &text : texts) {
        ++measured;
        std::string why = CheckFit(font, d.id, c, text);
        EXPECT_TRUE(why.empty()) << d.name << " control " << (c.id & 0xFFFF) << " \"" << Utf8(text)
                                 << "\": " << why;
      }
    }
  }
  // The wizard's own buttons, which the sheet names from the string table:
  // the system's wizard template makes each 50 by 14 units. Their texts may
  // take the whole face inside the raised edge, as the system's own German
  // "Fertig stellen" does in the same button.
  constexpr int kButtonEdge = 2;
  const RECT wizardButton = font.Pixels({0, 0, 50, 14});
  for (unsigned name :
       {IDS_WIZARD_BACK, IDS_WIZARD_NEXT, IDS_WIZARD_FINISH, IDS_WIZARD_CANCEL, IDS_WIZARD_HELP}) {
    const std::wstring text = LoadText(m_module, name);
    ++measured;
    const SIZE need = font.Extent(text, false, 0, 0);
    EXPECT_LE(need.cx, wizardButton.right - 2 * kButtonEdge) << "wizard button \"" << Utf8(text) << "\"";
    EXPECT_LE(need.cy, wizardButton.bottom - 2 * kButtonEdge) << "wizard button \"" << Utf8(text) << "\"";
  }
  EXPECT_GT(measured, 100);
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, DialogTextFit,
                         ::testing::Values(L"QuendalVarnoth.exe", L"French.dll", L"German.dll",
                                           L"Spanish.dll", L"Italian.dll"),
                         [](const ::testing::TestParamInfo<const wchar_t *> &info) {
                           std::wstring name = info.param;
                           return Narrow(name.substr(0, name.find(L'.')));
                         });

// ---------------------------------------------------------------- tips

// The tip of the day draws its text with mnemonics, so a tip shows a single
// "&" only when the file doubles it.
TEST(TipsFile, EveryAmpersandOfATipIsDoubledSoItShowsAsWritten) {
  FILE *file = _wfopen(QV_TIPS_FILE, L"rb");
  ASSERT_NE(file, nullptr);
  char line[1024];
  int tips = 0;
  while (std::fgets(line, sizeof line, file)) {
    if (line[0] == ';' || line[0] == ' ' || line[0] == '\t' || line[0] == '\r' || line[0] == '\n') continue;
    ++tips;
    const std::string tip(line);
    for (size_t at = tip.find('&'); at != std::string::npos; at = tip.find('&', at + 2))
      EXPECT_TRUE(at + 1 < tip.size() && tip[at + 1] == '&') << tip;
  }
  std::fclose(file);
  EXPECT_GT(tips, 20);
}

// ---------------------------------------------------------------- language libraries

struct Sample {
  unsigned id;
  const wchar_t *text;
};

struct LanguageCase {
  const wchar_t *file;
  const wchar_t *editMenu; // second top-level menu item
  std::vector<Sample> samples;
};

void PrintTo(const LanguageCase &c, std::ostream *out) {
  *out << Narrow(c.file);
}

class LanguageLibrary : public ::testing::TestWithParam<LanguageCase> {
protected:
  void SetUp() override {
    std::wstring path = std::wstring(QV_LANGUAGE_DIR) + L"/" + GetParam().file;
    m_module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m_module, nullptr) << Narrow(path);
  }
  void TearDown() override {
    if (m_module) FreeLibrary(m_module);
  }

  HMODULE m_module = nullptr;
};

TEST_P(LanguageLibrary, HasEveryStringOfTheExecutable) {
  std::vector<unsigned> ids = ExecutableStringIds();
  ASSERT_GT(ids.size(), 150u);
  for (unsigned id : ids) EXPECT_FALSE(LoadText(m_module, id).empty()) << "string " << id;
}

// A translation that loses or reorders a format specifier crashes or garbles the text it formats.
TEST_P(LanguageLibrary, KeepsTheFormatSpecifiersOfEachString) {
  static const std::wregex specifier(L"%[-+ #0-9.]*[a-zA-Z]");
  auto specifiers = [](const std::wstring &text) {
    std::vector<std::wstring> found;
    for (std::wsregex_iterator it(text.begin(), text.end(), specifier), end; it != end; ++it)
      found.push_back(it->str());
    return found;
  };
  for (unsigned id : ExecutableStringIds())
    EXPECT_EQ(specifiers(LoadText(m_module, id)), specifiers(LoadText(Executable(), id))) << "string " << id;
}

TEST_P(LanguageLibrary, SampleStringsKeepTheirAccentedLetters) {
  for (const Sample &sample : GetParam().samples)
    EXPECT_TRUE(LoadText(m_module, sample.id) == sample.text) << "string " << sample.id;
}

// Walks two menus side by side: same shape and commands, and each text has
// at most one mnemonic, nothing dangling after "&", and (when asked) a letter
// of its own within its menu.
void CompareMenus(HMENU translated, HMENU english, const std::string &where, bool distinctLetters = true) {
  std::set<wchar_t> letters;
  int count = GetMenuItemCount(english);
  ASSERT_EQ(GetMenuItemCount(translated), count) << where;
  for (int i = 0; i < count; ++i) {
    std::string at = where + "/" + std::to_string(i);
    EXPECT_EQ(GetMenuItemID(translated, i), GetMenuItemID(english, i)) << at;
    HMENU sub = GetSubMenu(english, i);
    ASSERT_EQ(GetSubMenu(translated, i) != nullptr, sub != nullptr) << at;
    if (sub) CompareMenus(GetSubMenu(translated, i), sub, at, distinctLetters);
    wchar_t text[256] = {};
    GetMenuStringW(translated, i, text, 256, MF_BYPOSITION);
    std::wstring label(text);
    int mnemonics = 0;
    for (size_t k = 0; k < label.size(); ++k) {
      if (label[k] != L'&') continue;
      if (k + 1 < label.size() && label[k + 1] == L'&') {
        ++k;
        continue;
      }
      ++mnemonics;
      EXPECT_LT(k + 1, label.size()) << at << ": mnemonic at the end";
      if (distinctLetters && k + 1 < label.size()) {
        EXPECT_TRUE(letters.insert(towlower(label[k + 1])).second) << at << ": mnemonic used twice";
      }
      if (k + 1 < label.size()) {
        EXPECT_NE(label[k + 1], L'\t') << at;
      }
    }
    EXPECT_LE(mnemonics, 1) << at;
  }
}

// The English texts stay as the program has always shown them, where "&Medium"
// and "S&mall" share a letter; only the single-mnemonic rules apply.
TEST(EnglishMenu, TextsHaveWellFormedMnemonics) {
  HMENU english = LoadMenuW(Executable(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(english, nullptr);
  CompareMenus(english, english, "menu", false);
  DestroyMenu(english);
}

TEST_P(LanguageLibrary, MenuHasTheShapeAndCommandsOfTheEnglishOne) {
  HMENU translated = LoadMenuW(m_module, MAKEINTRESOURCEW(IDR_MAINFRAME));
  HMENU english = LoadMenuW(Executable(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(translated, nullptr);
  ASSERT_NE(english, nullptr);
  CompareMenus(translated, english, "menu");
  wchar_t text[64] = {};
  GetMenuStringW(translated, 1, text, 64, MF_BYPOSITION);
  EXPECT_TRUE(std::wstring(text) == GetParam().editMenu);
  DestroyMenu(translated);
  DestroyMenu(english);
}

// The toolkit's header menu is translated too; the English one is the
// program's (the toolkit's resources are linked into it).
TEST_P(LanguageLibrary, HeaderMenuHasTheShapeAndCommandsOfTheToolkitsOne) {
  const std::wstring program = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  HMODULE hProgram = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(hProgram, nullptr);
  const unsigned kHeaderMenu = 9014;
  HMENU translated = LoadMenuW(m_module, MAKEINTRESOURCEW(kHeaderMenu));
  HMENU english = LoadMenuW(hProgram, MAKEINTRESOURCEW(kHeaderMenu));
  ASSERT_NE(translated, nullptr);
  ASSERT_NE(english, nullptr);
  CompareMenus(translated, english, "header menu");
  DestroyMenu(translated);
  DestroyMenu(english);
  FreeLibrary(hProgram);
}

TEST_P(LanguageLibrary, HasEveryDialogWithTheControlsOfTheEnglishOne) {
  for (const Symbol &s : ReadSymbols(std::regex("IDD_\\w+"))) {
    Dialog translated, english;
    ASSERT_TRUE(LoadDialog(m_module, s.value, translated)) << s.name;
    ASSERT_TRUE(LoadDialog(Executable(), s.value, english)) << s.name;
    ASSERT_EQ(translated.controls.size(), english.controls.size()) << s.name;
    for (size_t i = 0; i < english.controls.size(); ++i)
      EXPECT_EQ(translated.controls[i].id, english.controls[i].id) << s.name << " control " << i;
  }
}

// The dialogs' own pictures come from the module of the template.
TEST_P(LanguageLibrary, CarriesThePicturesItsDialogsShow) {
  for (unsigned id : {IDB_WIZARD_PICTURE, IDB_ABOUT})
    EXPECT_NE(FindResourceW(m_module, MAKEINTRESOURCEW(id), RT_BITMAP), nullptr) << id;
}

// The toolkit's dialog and texts that the program shows follow the language:
// the library carries them translated, with the dialog's controls; their
// picture is left to the program.
TEST_P(LanguageLibrary, CarriesTheToolkitsDialogAndTextsTheProgramShows) {
  const std::wstring program = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  HMODULE hProgram = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(hProgram, nullptr);
  const unsigned kTipOfTheDay = 9018, kDidYouKnow = 9106, kAddOrRemove = 9300, kAutoHide = 9900;
  for (unsigned id : {9105u, kDidYouKnow, 9107u, 9108u, kAddOrRemove, 9395u, 9400u, 9401u, kAutoHide, 9901u,
                      9907u, 9908u, 9909u})
    EXPECT_FALSE(LoadText(m_module, id).empty()) << "string " << id;
  for (unsigned id : {kDidYouKnow, kAddOrRemove, kAutoHide})
    EXPECT_NE(LoadText(m_module, id), LoadText(hProgram, id)) << "string " << id << " left in English";
  Dialog translated, english;
  ASSERT_TRUE(LoadDialog(m_module, kTipOfTheDay, translated));
  ASSERT_TRUE(LoadDialog(hProgram, kTipOfTheDay, english));
  ASSERT_EQ(translated.controls.size(), english.controls.size());
  for (size_t i = 0; i < english.controls.size(); ++i)
    EXPECT_EQ(translated.controls[i].id, english.controls[i].id) << "control " << i;
  const unsigned kLightBulb = 9003;
  EXPECT_NE(FindResourceW(hProgram, MAKEINTRESOURCEW(kLightBulb), RT_BITMAP), nullptr);
  FreeLibrary(hProgram);
}

INSTANTIATE_TEST_SUITE_P(
    AllLanguages, LanguageLibrary,
    ::testing::Values(LanguageCase{L"French.dll",
                                   L"\u00c9&dition",
                                   {{AFX_IDS_IDLEMESSAGE, L"Pr\u00eat"},
                                    {IDS_DELETED_FOLDER, L"Dossier supprim\u00e9"},
                                    {IDS_LOG_ACTIVITY, L"Activit\u00e9"},
                                    {ID_APP_ABOUT,
                                     L"Afficher le nom et la version du programme\n\u00c0 propos"}}},
                      LanguageCase{L"German.dll",
                                   L"&Bearbeiten",
                                   {{IDS_COLUMN_SIZE, L"Gr\u00f6\u00dfe"},
                                    {IDS_COLUMN_MODIFIED, L"\u00c4nderungsdatum"},
                                    {IDS_SKIPPED, L"\u00dcbersprungen"}}},
                      LanguageCase{L"Spanish.dll",
                                   L"&Edici\u00f3n",
                                   {{IDS_REMOVABLE_DISK, L"Disco extra\u00edble"},
                                    {IDS_STOP_QUESTION,
                                     L"\u00bfDetener el proceso actual?\n(Este proceso no se puede reanudar "
                                     L"desde el estado actual y tendr\u00e1 que empezar de nuevo)"},
                                    {IDS_COLUMN_SIZE, L"Tama\u00f1o"}}},
                      LanguageCase{L"Italian.dll",
                                   L"&Modifica",
                                   {{IDS_FIND_FINISHED, L"La ricerca nell'albero \u00e8 terminata."},
                                    {IDS_LOG_ACTIVITY, L"Attivit\u00e0"},
                                    {IDS_SAVE_SCAN_QUESTION,
                                     L"Salvare le informazioni di scansione dell'unit\u00e0 logica?\n(Fare "
                                     L"clic su S\u00cc per riprendere in seguito il recupero di questa "
                                     L"unit\u00e0 logica)"}}}));

} // namespace
