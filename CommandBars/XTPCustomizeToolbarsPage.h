// CXTPCustomizeToolbarsPage: the customise sheet's Toolbars page. It lists
// the bars with a tick for each shown one, and makes, renames, deletes and
// resets toolbars.
#pragma once

#include "Button.h"
#include "CheckListBox.h"
#include "PropertySheet.h"
#include "XTPCustomizeTools.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPCustomizeSheet;

class CXTPCustomizeToolbarsPage : public CPropertyPage {
public:
  explicit CXTPCustomizeToolbarsPage(CXTPCustomizeSheet *pSheet);

  CXTPCommandBars *GetCommandBars() const;
  CCheckListBox &GetToolbarList() { return m_checkList; }

  // Lists the bars again, keeping the selected bar and the top row.
  void RefreshToolbarsList();
  // The bar of the selected row; null without one or when the row's bar is
  // gone.
  CXTPCommandBar *GetSelectedBar() const;
  void UpdateButtons();

  // The buttons' work. New and Rename open the New Toolbar dialog, Delete
  // asks first; each TRUE when it changed something.
  BOOL NewToolbar();
  BOOL RenameToolbar();
  BOOL DeleteToolbar();
  BOOL ResetToolbar();
  // A row's tick changed.
  void OnTickChanged(int nIndex);

  BOOL OnInitDialog() override;

protected:
  // Runs the New Toolbar dialog (tests answer it without showing it).
  virtual INT_PTR RunNameDialog(CXTPNewToolbarDlg &dlg) { return dlg.DoModal(); }

  void DoDataExchange(CDataExchange *pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CXTPCustomizeSheet *m_pSheet;
  CCheckListBox m_checkList;
  CButton m_btnReset;
  CButton m_btnRename;
  CButton m_btnDelete;
  CButton m_btnNew;
};
