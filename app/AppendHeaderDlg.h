// "Append Header File": makes one user file signature, or edits one. A
// shipped signature keeps its bytes hidden and only its size can change.
#pragma once

#include "Framework.h"
#include "HeaderRecord.h"
#include "MyComBoBox.h"

#include <functional>
#include <string>
#include <vector>

class CAppendHeaderDlg : public CDialog {
public:
  // A message box (string id, MB_ flags); tests record them instead.
  using Notice = std::function<void(UINT textId, UINT flags)>;

  // edited: the record to change in place, or null for a new record, which
  // OK appends to the file at path and to records.
  CAppendHeaderDlg(std::vector<HeaderRecord> &records, HeaderRecord *edited, std::wstring path,
                   uint8_t defaultGroup, CWnd *parent = nullptr);

  void SetNotice(Notice notice) { m_notice = std::move(notice); }
  // The group of the record made or edited.
  uint8_t Group() const { return m_group; }
  // The size unit chosen with the spin button (0 megabytes, 1 kilobytes).
  uint8_t SizeUnit() const { return m_sizeUnit; }

  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnFieldChange();
  afx_msg void OnUnitSpin(NMHDR *header, LRESULT *result);
  afx_msg void OnHelpButton();

private:
  std::wstring Text(int id) const;
  void FillFromRecord(const HeaderRecord &record);
  void Refuse(UINT textId);
  void ShowSizeUnit(uint8_t unit);

  std::vector<HeaderRecord> &m_records;
  HeaderRecord *m_edited;
  std::wstring m_path;
  uint8_t m_group;
  // 0 megabytes, 1 kilobytes, as a record stores it.
  uint8_t m_sizeUnit = 0;
  Notice m_notice;
  // The group: chosen with the mouse only.
  CMyComboBox m_groupBox;

  DECLARE_MESSAGE_MAP()
};
