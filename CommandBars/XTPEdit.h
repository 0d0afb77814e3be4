// CXTPEdit: the toolkit's edit window. It handles Cut, Copy and Paste
// itself (their commands and states) and offers them in a context menu made
// of command-bar controls. It is a rich edit only when the toolkit's
// rich-edit switch is on and the library loads; by default a plain edit.
#pragma once

#include "FrameworkCore.h"
#include "Edit.h"

class CXTPControl;
class CXTPCommandBar;

// The rich-edit library, loaded once for the process on first use.
class CXTPRichEditLoader {
public:
  // Tries the first library, then the second (whose class is used whether
  // or not it loads).
  CXTPRichEditLoader(LPCSTR lpszFirst = "RICHED20.DLL", LPCSTR lpszSecond = "RICHED32.DLL");
  ~CXTPRichEditLoader();
  CXTPRichEditLoader(const CXTPRichEditLoader &) = delete;
  CXTPRichEditLoader &operator=(const CXTPRichEditLoader &) = delete;

  static CXTPRichEditLoader &Instance();
  HMODULE GetModule() const { return m_hModule; }
  LPCWSTR GetClassName() const { return m_lpszClass; }

private:
  HMODULE m_hModule = nullptr;
  LPCWSTR m_lpszClass = L"RichEdit20W";
};

class CXTPEdit : public CEdit {
  DECLARE_DYNCREATE(CXTPEdit)
public:
  CXTPEdit() = default;

  // The toolkit's rich-edit switch. Nothing in the program turns it on, so
  // edits are plain unless an application asks otherwise.
  static void SetRichEditEnabled(BOOL bEnabled) { s_bRichEdit = bEnabled; }
  static BOOL IsRichEditEnabled() { return s_bRichEdit; }

  BOOL Create(DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID);

  // Paste needs text on the clipboard; Cut and Copy a selection.
  BOOL IsCommandEnabled(UINT nID) const;
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Cut, Copy and Paste at a point of the edit; FALSE (nothing shown) when
  // the application has no text for Cut.
  virtual BOOL ShowContextMenu(CXTPControl *pOwner, CPoint point);
  // A key run through the window's dialog-key handling; TRUE when used.
  BOOL ProcessDialogKey(UINT nVirtKey);

private:
  static BOOL s_bRichEdit;
};

// An edit window living on a command bar: the combo box's field and the edit
// control's box are kept on their bar's window the same way.
namespace XTPBarField {

HWND HandleOf(const CXTPEdit *pEdit);
// The bar's window, or null while it has none.
HWND BarWindow(const CXTPCommandBar *pBar);
// A new field takes the bar's font (the GUI font when the bar has none), the
// control's text and its enabled state.
void Dress(HWND hField, HWND hBar, const CString &strText, BOOL bEnabled);
// Laid out: the field moves over its rectangle on the bar's window, shown
// only when the control is.
void Place(HWND hField, const CXTPCommandBar *pBar, const CRect &rc, BOOL bShow);
void ShowUnlessHidden(HWND hField, DWORD dwHideFlags);

template <class Edit> void Destroy(Edit *&pEdit) {
  if (!pEdit) return;
  if (pEdit->GetSafeHwnd()) pEdit->DestroyWindow();
  delete pEdit;
  pEdit = nullptr;
}

// Taken out of every bar, the field goes; moved, it follows.
template <class Edit> void FollowBar(Edit *&pEdit, const CXTPCommandBar *pBar) {
  if (!HandleOf(pEdit)) return;
  if (HWND hBar = BarWindow(pBar))
    ::SetParent(pEdit->GetSafeHwnd(), hBar);
  else
    Destroy(pEdit);
}

} // namespace XTPBarField
