// Save Scan Information's question when the chosen .DAT file exists: save
// under a new name (one proposed that is free), overwrite, or give up.
#pragma once

#include "Framework.h"

#include <cstdint>
#include <functional>
#include <string>

// The proposal: the existing name's folder (up to its last '\'), then
// "HardDrv<code + 128>_LogDrv<code>_Scan", with the counter 1, 2, ... behind
// "Scan" for as long as that name with ".DAT" exists. At most 259 characters;
// without ".DAT".
std::wstring ProposeScanFileName(const std::wstring &existing, uint8_t codePlus128, uint8_t driveCode,
                                 const std::function<bool(const std::wstring &)> &exists);

// Whether anything of that name exists. Judged by its attributes: a file
// that is locked or may not be read is there all the same, and replacing it
// unasked would lose it.
bool ScanFileExists(const std::wstring &path);

class CSanRename : public CDialog {
public:
  // existing: the clashing file's name; the two numbers give the proposal's
  // "HardDrv" and "LogDrv" parts.
  CSanRename(const std::wstring &existing, uint8_t codePlus128, uint8_t driveCode, CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  afx_msg void OnRenameScanFile();
  afx_msg void OnOverwriteScanFile();
  void OnCancel() override;

  const std::wstring &ProposedName() const { return m_proposed; }

  // The dialog's result for OverWrite.
  static constexpr int kOverwriteResult = 5;

private:
  std::wstring m_existing;
  std::wstring m_proposed;
  uint8_t m_codePlus128;
  uint8_t m_driveCode;

  DECLARE_MESSAGE_MAP()
};
