// Dialog data exchange: DDX_ functions move values between a dialog's
// members and its controls (UpdateData), DDV_ functions check them on the
// way out. A failed check tells the user, puts the focus on the control and
// throws CUserException, which UpdateData turns into FALSE.
#pragma once

#include "CString.h"
#include "Wnd.h"

class CDataExchange {
public:
  CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  CDataExchange(const CDataExchange &) = delete;
  CDataExchange &operator=(const CDataExchange &) = delete;

  BOOL m_bSaveAndValidate; // TRUE: controls to members
  CWnd *m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;

  // The control's handle (a missing control is a programming error: it throws).
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl);
void DDX_Text(CDataExchange *pDX, int nIDC, CString &value);
void DDX_Text(CDataExchange *pDX, int nIDC, int &value);
void DDX_Text(CDataExchange *pDX, int nIDC, UINT &value);
void DDX_Text(CDataExchange *pDX, int nIDC, long &value);
void DDX_Text(CDataExchange *pDX, int nIDC, DWORD &value);
void DDX_Check(CDataExchange *pDX, int nIDC, int &value);
void DDX_Radio(CDataExchange *pDX, int nIDC, int &value);
void DDX_CBIndex(CDataExchange *pDX, int nIDC, int &index);
void DDX_CBString(CDataExchange *pDX, int nIDC, CString &value);
void DDX_LBIndex(CDataExchange *pDX, int nIDC, int &index);
void DDX_LBString(CDataExchange *pDX, int nIDC, CString &value);

void DDV_MaxChars(CDataExchange *pDX, const CString &value, int nChars);
void DDV_MinMaxInt(CDataExchange *pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange *pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange *pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange *pDX, DWORD value, DWORD minVal, DWORD maxVal);
