#include "SignatureStore.h"

#include "AppSettings.h"
#include "AppendHeaderDlg.h"
#include "EngineServices.h"
#include "HeaderFile.h"
#include "QuendalVarnoth.h"
#include "SearchedDriveGuard.h"
#include "SimpleListView.h"

std::vector<HeaderRecord> SignatureFile::Load() {
  HeaderFileContents contents = LoadHeaderFile(m_path);
  // A damaged record is left out alone; the log says which and why.
  if (CSimpleListView *log = TheQvApp().LogView)
    for (const RefusedHeader &refused : contents.refused)
      log->AddLogEntry(nullptr, RefusedHeaderLogText(refused).c_str(), nullptr,
                       static_cast<int>(LogStatus::Error));
  return std::move(contents.records);
}

bool SignatureFile::Rewrite(const std::vector<HeaderRecord> &records) {
  return RewriteHeaderFile(m_path, records);
}

bool SignatureFile::EditRecord(CWnd &owner, HeaderRecord &record) {
  std::vector<HeaderRecord> unused;
  CAppendHeaderDlg dialog(unused, &record, m_path, record.m_group, &owner);
  return dialog.DoModal() == IDOK;
}

std::optional<HeaderRecord> SignatureFile::AddRecord(CWnd &owner, uint8_t group) {
  // The dialog appends the new record to the file and to this list.
  std::vector<HeaderRecord> added;
  CAppendHeaderDlg dialog(added, nullptr, m_path, group, &owner);
  if (dialog.DoModal() != IDOK || added.empty()) return std::nullopt;
  return added.back();
}

bool SignatureFile::OnSearchedDrive() const {
  return OnGuardedDrive(m_path);
}

std::wstring InstalledHeaderFilePath(HKEY root, const wchar_t *productKeyPath) {
  std::wstring path = HeaderFilePath(root, productKeyPath);
  if (path.empty()) path = ProgramFolder() + L"\\" + kHeaderFileName;
  return path;
}

std::wstring SignatureFilePath() {
  const std::wstring &chosen = TheQvApp().SignatureFileOverride;
  return chosen.empty() ? InstalledHeaderFilePath(HKEY_LOCAL_MACHINE, kProductKeyPath) : chosen;
}

std::unique_ptr<SignatureStore> MakeInstalledSignatureStore() {
  return std::make_unique<SignatureFile>(SignatureFilePath());
}
