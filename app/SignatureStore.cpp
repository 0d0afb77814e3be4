#include "SignatureStore.h"

#include "AppSettings.h"
#include "EngineServices.h"
#include "HeaderFile.h"
#include "QuendalVarnoth.h"
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

std::unique_ptr<SignatureStore> MakeInstalledSignatureStore() {
  std::wstring path = HeaderFilePath(HKEY_LOCAL_MACHINE, kProductKeyPath);
  // Without the key's folder, the file that ships beside the program.
  if (path.empty()) path = ProgramFolder() + L"\\" + kHeaderFileName;
  return std::make_unique<SignatureFile>(std::move(path));
}
