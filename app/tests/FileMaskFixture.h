// A FAT image searched through the main frame, for the File Mask tests:
// the tree's files with their check boxes, the command table's answers and
// Recover Selected into a fresh folder of the build.
#pragma once

#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "AppText.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "FileMaskCriteria.h"
#include "FindCriteria.h"
#include "ScanSession.h"

#include <map>
#include <set>
#include <string>
#include <vector>

inline constexpr uint8_t kDrive = 2;

using Names = std::multiset<std::u16string>;

inline bool EndsWith(const std::u16string &name, const std::u16string &end) {
  return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

inline std::u16string Lower(std::u16string text) {
  for (char16_t &c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

class FileMask : public WizardTestFrame {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
    WizardTestFrame::SetUp();
    if (HasFatalFailure()) return;
    auto layer = std::make_unique<ImageDeviceLayer>();
    ASSERT_TRUE(layer->AttachFile(kDrive, FatFixtureDir() + "/fat16.img"));
    m_app.Devices = std::move(layer);
    RunFatFastSearch(kDrive);
    ASSERT_EQ(m_app.ResultsPresent, 1);
  }
  EntryNodeList &Entries() { return m_frame->GetLeftPane()->Entries(); }
  // The shown files of the tree's list with their check bytes.
  std::multimap<std::u16string, uint8_t> Files() {
    std::multimap<std::u16string, uint8_t> files;
    for (const TreeEntryNode &node : Entries())
      if (!node.IsFolder() && !node.m_unshown) files.emplace(node.m_name, node.Check());
    return files;
  }
  Names FileNames() {
    Names names;
    for (const auto &file : Files()) names.insert(file.first);
    return names;
  }
  TreeEntryNode &Folder(const std::u16string &name) {
    for (TreeEntryNode &node : Entries())
      if (node.IsFolder() && node.m_name == name) return node;
    ADD_FAILURE() << "no folder";
    return *Entries().Root();
  }
  bool Enabled(UINT id) { return IsCommandEnabled(id, m_frame->CurrentCommandContext()); }
  // The names of the files Recover Selected writes into a new folder.
  Names RecoverSelected(const std::wstring &run) {
    std::wstring folder = std::wstring(QV_OUTPUT_DIR) + L"\\" + run;
    for (wchar_t &c : folder)
      if (c == L'/') c = L'\\';
    CreateDirectoryW(QV_OUTPUT_DIR, nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(m_frame->RecoverInto(folder, TRUE));
    Names names;
    std::vector<std::wstring> pending{folder};
    while (!pending.empty()) {
      const std::wstring here = pending.back();
      pending.pop_back();
      WIN32_FIND_DATAW found;
      HANDLE search = FindFirstFileW((here + L"\\*").c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          pending.push_back(here + L"\\" + name);
        else
          names.insert(U16(name));
        DeleteFileW((here + L"\\" + name).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    return names;
  }
  Names Ticked() {
    Names names;
    for (const auto &file : Files())
      if (file.second == kChecked) names.insert(file.first);
    return names;
  }
};
