#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileDialog.h"
#include "Framework.h"

namespace {

std::wstring AsString(const std::vector<wchar_t> &filter) {
  return std::wstring(filter.begin(), filter.end());
}

TEST(FileDialogFilter, BarsBecomeNulsAndTheListEndsWithTwo) {
  struct Case {
    const wchar_t *name;
    LPCTSTR filter;
    std::wstring expected;
  } const cases[] = {
      {L"pairs ended by ||", L"Scan file(*.DAT)|*.DAT||", std::wstring(L"Scan file(*.DAT)\0*.DAT\0\0\0", 26)},
      {L"empty pattern", L"(*.DAT)||", std::wstring(L"(*.DAT)\0\0\0\0", 11)},
      {L"no bars at all", L"Text Document(*.txt)", std::wstring(L"Text Document(*.txt)\0\0", 22)},
      {L"two pairs, no final bar", L"A|*.a|B|*.b", std::wstring(L"A\0*.a\0B\0*.b\0\0", 13)},
      {L"nothing", L"", std::wstring()},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.name);
    EXPECT_EQ(AsString(MakeFileDialogFilter(c.filter)), c.expected);
  }
  EXPECT_TRUE(MakeFileDialogFilter(nullptr).empty());
}

TEST(FileDialog, SetsUpTheDialogStructure) {
  CFileDialog dialog(FALSE, L"txt", L"Quendal Varnoth Log", OFN_OVERWRITEPROMPT,
                     L"Text Document(*.txt)|*.txt||");
  EXPECT_EQ(dialog.m_ofn.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_STREQ(dialog.m_ofn.lpstrFile, L"Quendal Varnoth Log");
  EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, L"txt");
  EXPECT_STREQ(dialog.m_ofn.lpstrFilter, L"Text Document(*.txt)");
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 1u);
  EXPECT_GE(dialog.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_NE(dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT, 0u);

  CFileDialog bare(TRUE);
  EXPECT_EQ(bare.m_ofn.lpstrDefExt, nullptr);
  EXPECT_EQ(bare.m_ofn.lpstrFilter, nullptr);
  EXPECT_STREQ(bare.m_ofn.lpstrFile, L"");
  EXPECT_EQ(bare.GetStartPosition(), nullptr);
}

TEST(FileDialog, SplitsTheChosenPath) {
  struct Case {
    LPCTSTR path, name, ext, title, folder;
  } const cases[] = {
      {L"C:\\Recovered\\scan.DAT", L"scan.DAT", L"DAT", L"scan", L"C:\\Recovered"},
      {L"C:\\Recovered\\archive.tar.gz", L"archive.tar.gz", L"gz", L"archive.tar", L"C:\\Recovered"},
      {L"C:\\no extension", L"no extension", L"", L"no extension", L"C:"},
      {L"C:\\dotted.dir\\plain", L"plain", L"", L"plain", L"C:\\dotted.dir"},
      {L"bare.txt", L"bare.txt", L"txt", L"bare", L""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.path);
    CFileDialog dialog(TRUE, nullptr, c.path);
    EXPECT_EQ(dialog.GetPathName(), CString(c.path));
    EXPECT_EQ(dialog.GetFileName(), CString(c.name));
    EXPECT_EQ(dialog.GetFileExt(), CString(c.ext));
    EXPECT_EQ(dialog.GetFileTitle(), CString(c.title));
    EXPECT_EQ(dialog.GetFolderPath(), CString(c.folder));
  }
}

TEST(FileDialog, WalksAMultipleSelection) {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
  const wchar_t chosen[] = L"C:\\Data\0one.doc\0two.jpg\0";
  std::copy(std::begin(chosen), std::end(chosen), dialog.m_ofn.lpstrFile);
  std::vector<CString> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;)
    paths.push_back(dialog.GetNextPathName(pos));
  EXPECT_EQ(paths, (std::vector<CString>{L"C:\\Data\\one.doc", L"C:\\Data\\two.jpg"}));
  EXPECT_EQ(dialog.GetPathName(), CString(L"C:\\Data\\one.doc"));

  // One file chosen in a multiple-selection dialog is just its path.
  const wchar_t single[] = L"C:\\Data\\only.txt\0";
  std::copy(std::begin(single), std::end(single), dialog.m_ofn.lpstrFile);
  POSITION pos = dialog.GetStartPosition();
  EXPECT_EQ(dialog.GetNextPathName(pos), CString(L"C:\\Data\\only.txt"));
  EXPECT_EQ(pos, nullptr);
}

// The system's file dialog, which the framework does not make itself, opens
// centred over its owner too.
TEST(FileDialog, OpensCentredOverItsOwner) {
  auto *owner = new CFrameWnd;
  ASSERT_TRUE(owner->Create(nullptr, L"Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  owner->SetWindowPos(nullptr, 260, 200, 720, 560, SWP_NOZORDER);
  owner->ShowWindow(SW_SHOWNORMAL);
  CRect ownerRect;
  owner->GetWindowRect(&ownerRect);

  static CRect s_shownAt;
  static HWND s_owner;
  s_shownAt.SetRectEmpty();
  s_owner = owner->m_hWnd;
  // The dialog is found and cancelled from a timer inside its own modal loop.
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
          if (::GetWindow(window, GW_OWNER) != s_owner || !::IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND *>(found) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    ::GetWindowRect(dialog, &s_shownAt);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, L"Text(*.txt)|*.txt||", owner);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ::KillTimer(nullptr, timer);
  ASSERT_FALSE(s_shownAt.IsRectEmpty());
  // Within a few pixels: the system dialog settles its own size after it is placed.
  EXPECT_NEAR(s_shownAt.CenterPoint().x, ownerRect.CenterPoint().x, 16);
  EXPECT_NEAR(s_shownAt.CenterPoint().y, ownerRect.CenterPoint().y, 16);
  owner->DestroyWindow();
}

} // namespace
