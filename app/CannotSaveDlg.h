// Recovery's "Cannot Save" question when the destination has less free
// space than the file: skip this file or cancel saving.
#pragma once

#include "Framework.h"

#include <cstdint>
#include <string>

class CCannotSaveDlg : public CDialog {
public:
  CCannotSaveDlg(const std::wstring &name, uint64_t size, CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  afx_msg void OnSkipThisFile();

  // The size as the dialog shows it: whole KB, rounded up.
  static uint64_t SizeInKb(uint64_t size) { return (size + 1023) / 1024; }

private:
  std::wstring m_name;
  uint64_t m_size;

  DECLARE_MESSAGE_MAP()
};
