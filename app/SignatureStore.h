// Where the signature page gets its signatures and keeps their changes: the
// signature file next to the program, and the dialogs that make or change a
// record. A test gives the page a store of its own.
#pragma once

#include "HeaderRecord.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CWnd;

class SignatureStore {
public:
  virtual ~SignatureStore() = default;

  // Every record of the file, in file order (none when there is no file).
  virtual std::vector<HeaderRecord> Load() = 0;
  // Writes the records as the whole new file; false when it could not be
  // written (the old file then stays as it was).
  virtual bool Rewrite(const std::vector<HeaderRecord> &records) = 0;
  // Lets the user change the record; true when it was changed.
  virtual bool EditRecord(CWnd &owner, HeaderRecord &record) = 0;
  // Lets the user make a new record (the group offered first: group), which
  // the store has appended to the file; none when the user gave up.
  virtual std::optional<HeaderRecord> AddRecord(CWnd &owner, uint8_t group) = 0;
  // Whether a change must not be written now: the file lies on the drive
  // whose results are loaded or on the one ticked in the wizard.
  virtual bool OnSearchedDrive() const { return false; }
};

// The signature file of the given path, changed through the "Append Header
// File" dialog.
class SignatureFile : public SignatureStore {
public:
  explicit SignatureFile(std::wstring path) : m_path(std::move(path)) {}

  std::vector<HeaderRecord> Load() override;
  bool Rewrite(const std::vector<HeaderRecord> &records) override;
  bool EditRecord(CWnd &owner, HeaderRecord &record) override;
  std::optional<HeaderRecord> AddRecord(CWnd &owner, uint8_t group) override;
  bool OnSearchedDrive() const override;

private:
  std::wstring m_path;
};

// "<folder>\HeaderFile.cfg" for the folder the key's "Path" names; without
// that value, the file that ships beside the program.
std::wstring InstalledHeaderFilePath(HKEY root, const wchar_t *productKeyPath);

// The signature file the program uses: the installed one, or the one the
// application was pointed at.
std::wstring SignatureFilePath();

// The store of the signature file the program uses.
std::unique_ptr<SignatureStore> MakeInstalledSignatureStore();
