// "Add New Header": every file signature of the signature file, with Add,
// Edit and Remove. Each change goes to the file at once.
#pragma once

#include "AppendHeaderDlg.h"
#include "Framework.h"
#include "HeaderRecord.h"

#include <functional>
#include <string>
#include <vector>

class CAddNewHeader : public CDialog {
public:
  using Notice = std::function<int(UINT textId, const std::wstring &text, UINT flags)>;
  // Runs the record dialog; tests drive it without a modal loop.
  using RecordDialog = std::function<INT_PTR(CAppendHeaderDlg &dialog)>;
  // One log line for each damaged record the file held.
  using LogLine = std::function<void(const std::wstring &line)>;

  CAddNewHeader(std::wstring path, LogLine log, CWnd *parent = nullptr);

  void SetNotice(Notice notice) { m_notice = std::move(notice); }
  void SetRecordDialog(RecordDialog run) { m_runRecordDialog = std::move(run); }
  const std::vector<HeaderRecord> &Records() const { return m_records; }

  BOOL OnInitDialog() override;
  afx_msg void OnAddHeader();
  afx_msg void OnEditHeader();
  afx_msg void OnRemoveHeader();

private:
  void FillList();
  // The row selected, else the row with the focus; -1 when neither.
  int ChosenRow() const;
  size_t RecordOfRow(int row) const;
  void SelectRow(int row);

  std::wstring m_path;
  LogLine m_log;
  std::vector<HeaderRecord> m_records;
  Notice m_notice;
  RecordDialog m_runRecordDialog;

  DECLARE_MESSAGE_MAP()
};
