// "Add New Header": every file signature of the signature file, with Add,
// Edit and Remove, the size changed in place and the columns sorted by a
// header click. Each change goes to the file at once.
#pragma once

#include "AppendHeaderDlg.h"
#include "EditList.h"
#include "Framework.h"
#include "HeaderRecord.h"

#include <functional>
#include <string>
#include <vector>

class CAddNewHeader : public CDialog, public EditListOwner {
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
  CEditList &List() { return m_list; }
  // The record a row shows.
  size_t RecordOfRow(int row) const { return static_cast<size_t>(m_list.GetItemData(row)); }

  BOOL OnInitDialog() override;
  afx_msg void OnAddHeader();
  afx_msg void OnEditHeader();
  afx_msg void OnRemoveHeader();

  // The list's rows have no check boxes here.
  void ToggleHeaderCheck(int, CPoint) override {}
  SizeEditAnswer SizeEdited(int row, uint64_t kilobytes) override;

private:
  // Rows in file order; each row keeps the position of its own record, so
  // every command changes exactly the record the row shows, whatever the sort.
  void FillList();
  void ShowRecord(int row, const HeaderRecord &record);
  // The row selected, else the row clicked last; -1 when neither.
  int ChosenRow() const;
  void SelectRow(int row);
  // True, after telling the user, when the file must not be written now.
  bool RefuseWrite();
  void Tell(UINT textId);

  std::wstring m_path;
  LogLine m_log;
  std::vector<HeaderRecord> m_records;
  CEditList m_list;
  Notice m_notice;
  RecordDialog m_runRecordDialog;

  DECLARE_MESSAGE_MAP()
};
