// CDialog: a window made from a dialog template resource, modal (DoModal runs
// the framework's own loop, so pre-translation and idle updates keep
// working) or modeless (Create). Templates are found through the resource
// modules (a language library first, the program itself otherwise).
#pragma once

#include "Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd *pParentWnd = nullptr);
  ~CDialog() override;

  UINT m_nIDHelp = 0;
  LPCTSTR m_lpszTemplateName = nullptr;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  CWnd *m_pParentWnd = nullptr;

  // Modeless creation.
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd *pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd *pParentWnd = nullptr) {
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
  }
  BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd *pParentWnd = nullptr);
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd *pParentWnd = nullptr);

  // Runs the dialog; returns what EndDialog was given, or -1 when it could not be made.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange *) {}

  void GotoDlgCtrl(CWnd *pWndCtrl);
  void NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
  void SetDefID(UINT nID) { ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0); }
  DWORD GetDefID() const { return (DWORD)::SendMessage(m_hWnd, DM_GETDEFID, 0, 0); }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

  BOOL PreTranslateMessage(MSG *pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;

  // F1 and the system's help request are the dialog's help command (ID_HELP);
  // a dialog without help of its own passes it to the main window.
  afx_msg LRESULT OnHelpRequest(WPARAM wParam, LPARAM lParam);
  void SendHelpCommand();

protected:
  // The parent a modal dialog disables: the given one, else the main window.
  HWND PreModal();
  BOOL CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, HWND hWndParent, HINSTANCE hInst);
  LPCDLGTEMPLATE LoadTemplate(HINSTANCE &hInst) const;

  DECLARE_MESSAGE_MAP()
};

// A plain F1 key-down (Shift+F1 is context help, not help).
BOOL AfxIsHelpKey(const MSG *pMsg);

// The dialog procedure of framework dialogs: only WM_INITDIALOG needs it.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
