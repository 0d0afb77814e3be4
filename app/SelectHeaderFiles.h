// Third page of the search wizard, after the drive page for the advanced
// search and the disk scan: every signature of the signature file with a
// check box, filtered by file group, with Edit, Add, Remove, Select All,
// Unselect All and the size edited in place. Finish starts the search with
// the checked signatures.
#pragma once

#include "EditList.h"
#include "MyComBoBox.h"
#include "SignatureChoice.h"
#include "SignatureStore.h"
#include "WizardPage.h"

#include <memory>

class CSelectHeaderFiles : public CWizardPage, public EditListOwner {
public:
  CSelectHeaderFiles();

  // The store the page loads from and writes to (before the page is made;
  // without one it uses the signature file next to the program).
  void UseStore(std::unique_ptr<SignatureStore> store) { m_store = std::move(store); }

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  // Finish of the advanced search and of the disk scan.
  BOOL OnWizardFinish() override;

  void ToggleHeaderCheck(int row, CPoint point) override;
  SizeEditAnswer SizeEdited(int row, uint64_t kilobytes) override;

  afx_msg void OnHeaderGroupChange();
  afx_msg void OnEditHeaderRecord();
  afx_msg void OnAddHeaderRecord();
  afx_msg void OnRemoveHeaderRecord();
  afx_msg void OnSelectAllHeaders();
  afx_msg void OnUnselectAllHeaders();

  CEditList &List() { return m_list; }
  const SignatureChoice &Choice() const { return m_choice; }
  // The record a row shows.
  size_t RecordOfRow(int row) const { return static_cast<size_t>(m_list.GetItemData(row)); }

protected:
  CRect SeparatorRect() const override { return CRect(193, 24, 588, 25); }

private:
  std::unique_ptr<SignatureStore> m_store;
  SignatureChoice m_choice;
  CMyComboBox m_groupBox;
  CEditList m_list;
  CImageList m_stateImages;

  uint8_t ShownGroup() const;
  // Refills the rows, in file order, with the records of the group.
  void FillRows(uint8_t group);
  void ShowRow(int row);
  // The row the user chose: the first selected one, else the one clicked last.
  int ChosenRow() const;
  // Finish, Select All and Unselect All as the checks stand.
  void UpdateChoiceButtons();
  void Rewrite();
  // True, after telling the user, when the signature file must not be
  // written now.
  bool RefuseWrite();
  // A message box over the wizard; name and extension fill the text's two "%s".
  int AskUser(UINT textId, UINT type, const CString &name = CString(), const CString &extension = CString());

  DECLARE_MESSAGE_MAP()
};
