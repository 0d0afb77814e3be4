// CXTPCustomizeCommandsPage: the customise sheet's Commands page. The user
// picks a category and drags one of its commands out of the list onto a
// bar, which takes a copy of it. The categories are named control lists
// that the program fills before the sheet opens.
#pragma once

#include <memory>
#include <vector>

#include "ListBox.h"
#include "PropertySheet.h"

class CXTPControls;
class CXTPCommandBars;
class CXTPControl;
class CXTPCommandBar;
class CXTPCustomizeSheet;
class CXTPCustomizeCommandsPage;
class CMenu;

// One category: its name and the controls offered under it (owned).
struct XTP_COMMANDBARS_CATEGORYINFO {
  XTP_COMMANDBARS_CATEGORYINFO(LPCTSTR lpszCategory, CXTPControls *pControls);
  ~XTP_COMMANDBARS_CATEGORYINFO();
  XTP_COMMANDBARS_CATEGORYINFO(const XTP_COMMANDBARS_CATEGORYINFO &) = delete;
  XTP_COMMANDBARS_CATEGORYINFO &operator=(const XTP_COMMANDBARS_CATEGORYINFO &) = delete;

  CString strCategory;
  CXTPControls *pControls;
};

// The owner-drawn list of a category's commands, drawn by the command bars'
// paint manager; a press on a row starts the drag of its command.
class CXTPCustomizeCommandsListBox : public CListBox {
public:
  CXTPCustomizeCommandsPage *m_pCommandsPage = nullptr;

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  CXTPControl *GetItemControl(int nIndex) const;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnPaint();
  void DrawBackground(HDC hDC, const CRect &rc);
  BOOL OnLButtonDown(CPoint point);
};

class CXTPCustomizeCommandsPage : public CPropertyPage {
public:
  explicit CXTPCustomizeCommandsPage(CXTPCustomizeSheet *pSheet);
  ~CXTPCustomizeCommandsPage() override;

  CXTPCustomizeSheet *GetSheet() const { return m_pSheet; }
  CXTPCommandBars *GetCommandBars() const;

  // A new empty category at the end (or an existing one of that name); the
  // list to fill with the controls it offers.
  CXTPControls *InsertCategory(LPCTSTR lpszCategory);
  // A category offering copies of a menu's items or of a bar's controls.
  BOOL AddCategory(LPCTSTR lpszCategory, CMenu *pMenu);
  BOOL AddCategory(LPCTSTR lpszCategory, CXTPCommandBar *pBar);
  int GetCategoryCount() const { return static_cast<int>(m_arrCategories.size()); }
  // Null outside 0 to count-1.
  XTP_COMMANDBARS_CATEGORYINFO *GetCategoryInfo(int nIndex) const;

  CListBox &GetCategoryList() { return m_lstCategories; }
  CXTPCustomizeCommandsListBox &GetCommandList() { return m_lstCommands; }
  // Fills the command list from the category selected.
  void OnCategoryChanged();

  // The result of the last drag started from the list (an XTPDropEffect).
  int GetLastDropEffect() const { return m_nLastDropEffect; }
  void SetLastDropEffect(int nEffect) { m_nLastDropEffect = nEffect; }

  BOOL OnInitDialog() override;

protected:
  void DoDataExchange(CDataExchange *pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CXTPCustomizeCommandsListBox m_lstCommands;
  CListBox m_lstCategories;
  CXTPCustomizeSheet *m_pSheet;
  std::vector<std::unique_ptr<XTP_COMMANDBARS_CATEGORYINFO>> m_arrCategories;
  int m_nLastDropEffect = 0;
};
