// Shortcut texts beside menu commands, and the shortcut chosen for a command.
#include <gtest/gtest.h>

#include <string>

#include "FrameWnd.h"
#include "XTPShortcutManager.h"

namespace {

// Shown readably when a comparison fails.
std::wstring W(const CString &str) {
  return std::wstring(static_cast<LPCWSTR>(str));
}

// Key names depend on the keyboard layout and the system: this manager uses
// the fixed English names, so the texts below hold everywhere.
class EnglishNames : public CXTPShortcutManager {
public:
  CString GetKeyName(UINT nVirtKey) override { return GetKeyNameFromTable(nVirtKey); }
};

// The text with "Ctrl" as this system names the key.
std::wstring WithSystemNames(const wchar_t *lpszText) {
  std::wstring text = lpszText;
  std::wstring control = W(XTPGetShortcutManager()->GetKeyName(VK_CONTROL));
  size_t pos = text.find(L"Ctrl");
  if (pos != std::wstring::npos) text.replace(pos, 4, control);
  return text;
}

TEST(ShortcutManager, FormatsAcceleratorEntries) {
  struct Case {
    BYTE fVirt;
    WORD key;
    const wchar_t *text;
    int sortKey;
  } cases[] = {
      {FVIRTKEY | FCONTROL | FSHIFT, 'S', L"Ctrl+Shift+S", 3},
      {FVIRTKEY | FALT | FSHIFT | FCONTROL, 'S', L"Ctrl+Shift+Alt+S", 3},
      {FVIRTKEY | FALT, VK_F4, L"Alt+F4", 2},
      {FVIRTKEY | FSHIFT, VK_F1, L"Shift+F1", 1},
      {FVIRTKEY, VK_F5, L"F5", 4},
      {FVIRTKEY, VK_NUMPAD7, L"Num 7", 4},
      // Ctrl+Break names itself, with no modifiers in front.
      {FVIRTKEY | FCONTROL, VK_CANCEL, L"Ctrl+Break", 3},
      // A character accelerator shows the character.
      {FCONTROL, L'q', L"Ctrl+q", 3},
      // Esc as a character, or no key, shows the modifiers alone.
      {FCONTROL, VK_ESCAPE, L"Ctrl", 3},
      {0, VK_ESCAPE, L"", 4},
      {FVIRTKEY | FALT, 0, L"Alt", 2},
      {FVIRTKEY, 0, L"", 4},
  };
  EnglishNames manager;
  CXTPShortcutManager *pManager = &manager;
  for (const Case &c : cases) {
    ACCEL accel = {c.fVirt, c.key, 100};
    int nSortKey = 0;
    EXPECT_EQ(W(pManager->Format(&accel, &nSortKey)), c.text);
    EXPECT_EQ(nSortKey, c.sortKey) << c.text;
  }
}

TEST(ShortcutManager, KeysTheSystemDoesNotNameComeFromTheTable) {
  struct Case {
    UINT key;
    const wchar_t *name;
  } cases[] = {{252, L"No Name"}, {3, L"Ctrl+Break"}, {1, L"Left Button"}, {254, L"Oem Clear"}};
  for (const Case &c : cases) {
    EXPECT_EQ(W(XTPGetShortcutManager()->GetKeyName(c.key)), c.name) << c.key;
    EXPECT_EQ(W(CXTPShortcutManager::GetKeyNameFromTable(c.key)), c.name) << c.key;
  }
  struct TableCase {
    UINT key;
    const wchar_t *name;
  } table[] = {{'0', L"0"},
               {'Z', L"Z"},
               {VK_NUMPAD0, L"Num 0"},
               {VK_NUMPAD9, L"Num 9"},
               {VK_F1, L"F1"},
               {VK_F12, L"F12"},
               {VK_PRIOR, L"Page Up"},
               {VK_HELP, L"Help"},
               {VK_LWIN, L"Left Windows"},
               {VK_SCROLL, L"Scrl Lock"},
               {5, L""},
               {VK_F13, L""}};
  for (const TableCase &c : table)
    EXPECT_EQ(W(CXTPShortcutManager::GetKeyNameFromTable(c.key)), c.name) << c.key;
}

TEST(ShortcutManager, SystemNamesAreCapitalisedOnce) {
  // "CTRL" becomes "Ctrl", "PAGE DOWN" "Page down": whatever the layout
  // calls the keys, only the first letter is a capital.
  for (UINT nKey : {UINT(VK_CONTROL), UINT(VK_NEXT), UINT(VK_F5), UINT(0x53)}) {
    std::wstring name = W(XTPGetShortcutManager()->GetKeyName(nKey));
    ASSERT_FALSE(name.empty()) << nKey;
    EXPECT_TRUE(::IsCharUpperW(name[0])) << nKey;
    for (size_t i = 1; i < name.size(); ++i) EXPECT_FALSE(::IsCharUpperW(name[i])) << nKey;
  }
  EXPECT_EQ(CXTPShortcutManager::ToUpperChar(L'a'), L'A');
  EXPECT_EQ(CXTPShortcutManager::ToUpperChar(L'\u00e9'), L'\u00c9');
  EXPECT_EQ(CXTPShortcutManager::ToUpperChar(L'5'), L'5');
}

// Stands in for the command bars' frame lookup.
class FakeFrameSite : public CXTPShortcutFrameSite {
public:
  CFrameWnd *GetActiveShortcutFrame() override { return m_pFrame; }
  CFrameWnd *m_pFrame = nullptr;
};

class ShortcutFrame : public ::testing::Test {
protected:
  void SetUp() override {
    ACCEL table[] = {
        {FVIRTKEY | FCONTROL, 'R', 10}, {FVIRTKEY, VK_F5, 10},          {FVIRTKEY | FSHIFT, 'X', 20},
        {FVIRTKEY | FALT, 'X', 20},     {FVIRTKEY | FCONTROL, 'X', 20}, {FVIRTKEY | FCONTROL, 'S', 30},
        {FVIRTKEY | FALT, 'S', 30},
    };
    m_frame.m_hAccelTable = ::CreateAcceleratorTableW(table, ARRAYSIZE(table));
    m_site.m_pFrame = &m_frame;
    XTPGetShortcutManager()->SetFrameSite(&m_site);
  }
  void TearDown() override {
    XTPGetShortcutManager()->SetFrameSite(nullptr);
    ::DestroyAcceleratorTable(m_frame.m_hAccelTable);
    m_frame.m_hAccelTable = nullptr;
  }
  CString Find(UINT nCmd, LPCWSTR lpszCurrent, BOOL *pbFound) {
    CString strText = WithSystemNames(lpszCurrent).c_str();
    *pbFound = XTPGetShortcutManager()->FindDefaultAccelerator(nCmd, strText, TRUE);
    return strText;
  }
  CFrameWnd m_frame;
  FakeFrameSite m_site;
};

TEST_F(ShortcutFrame, PrefersNoModifierThenControlAltShiftUnlessTheTextNamesOne) {
  struct Case {
    UINT cmd;
    const wchar_t *current;
    BOOL found;
    const wchar_t *text;
  } cases[] = {
      {10, L"", TRUE, L"F5"},      {10, L"Ctrl+R", TRUE, L"Ctrl+R"},   {10, L"Ctrl+Q", TRUE, L"F5"},
      {20, L"", TRUE, L"Ctrl+X"},  {20, L"Shift+X", TRUE, L"Shift+X"}, {30, L"", TRUE, L"Ctrl+S"},
      {99, L"Ctrl+Z", FALSE, L""},
  };
  for (const Case &c : cases) {
    BOOL bFound = FALSE;
    EXPECT_EQ(W(Find(c.cmd, c.current, &bFound)), WithSystemNames(c.text)) << c.cmd << " " << c.current;
    EXPECT_EQ(bFound, c.found) << c.cmd;
  }
}

TEST_F(ShortcutFrame, WithoutAFrameOrTableThereIsNoShortcut) {
  BOOL bFound = TRUE;
  ::DestroyAcceleratorTable(m_frame.m_hAccelTable);
  m_frame.m_hAccelTable = nullptr;
  EXPECT_EQ(W(Find(10, L"F5", &bFound)), L"F5");
  EXPECT_FALSE(bFound);
  m_site.m_pFrame = nullptr;
  EXPECT_EQ(W(Find(10, L"F5", &bFound)), L"F5");
  EXPECT_FALSE(bFound);
}

} // namespace
