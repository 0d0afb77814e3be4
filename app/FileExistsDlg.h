// Recovery's "File already exists" question: the clashing file's name, a
// free name to rename to (editable), and the six answers.
#pragma once

#include "Framework.h"
#include "RecoveryClashAnswers.h"

#include <string>

class CFileExistsDlg : public CDialog {
public:
  CFileExistsDlg(const std::wstring &existing, const std::wstring &proposed, CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnAnswer(UINT id);

  ClashButton Answer() const { return m_answer; }
  // The name in "Rename To" when the dialog ended.
  const std::wstring &NewName() const { return m_newName; }

private:
  std::wstring m_existing;
  std::wstring m_newName;
  // Closing the window without an answer skips the file.
  ClashButton m_answer = ClashButton::Skip;

  void ReadNewName();

  DECLARE_MESSAGE_MAP()
};
