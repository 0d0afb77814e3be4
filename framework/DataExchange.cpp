#include "DataExchange.h"

#include <cwchar>
#include <cwctype>

#include "Exception.h"
#include "WinApp.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (hWndCtrl == nullptr) AfxThrowNotSupportedException();
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {

CString WindowText(HWND hWnd) {
  int nLen = ::GetWindowTextLength(hWnd);
  CString str;
  LPWSTR p = str.GetBuffer(nLen + 1);
  ::GetWindowText(hWnd, p, nLen + 1);
  str.ReleaseBuffer();
  return str;
}

// Sets the text only when it differs, so an edit's caret and undo survive.
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR lpszNew) {
  if (WindowText(hWnd) != lpszNew) ::SetWindowText(hWnd, lpszNew);
}

// Whole-text integer parse: blanks around, an optional sign (when allowed), digits.
bool ParseInteger(LPCTSTR psz, bool bSigned, long long &rValue) {
  while (iswspace(*psz)) psz++;
  bool bNegative = false;
  if (*psz == L'-' || *psz == L'+') {
    if (*psz == L'-' && !bSigned) return false;
    bNegative = *psz == L'-';
    psz++;
  }
  if (!iswdigit(*psz)) return false;
  long long nValue = 0;
  while (iswdigit(*psz)) {
    nValue = nValue * 10 + (*psz - L'0');
    if (nValue > 0xFFFFFFFFLL) return false;
    psz++;
  }
  while (iswspace(*psz)) psz++;
  if (*psz != 0) return false;
  rValue = bNegative ? -nValue : nValue;
  return true;
}

template <class T>
void ExchangeNumber(CDataExchange *pDX, int nIDC, T &value, bool bSigned, long long nMin, long long nMax) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long nValue = 0;
    if (!ParseInteger(WindowText(hWndCtrl), bSigned, nValue) || nValue < nMin || nValue > nMax) {
      AfxMessageBox(bSigned ? L"Please enter an integer." : L"Please enter a positive integer.",
                    MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = (T)nValue;
  } else {
    wchar_t szT[32];
    if (bSigned)
      swprintf(szT, 32, L"%lld", (long long)value);
    else
      swprintf(szT, 32, L"%llu", (unsigned long long)value);
    SetWindowTextIfChanged(hWndCtrl, szT);
  }
}

void FailRange(CDataExchange *pDX, LPCTSTR lpszFormat, long long nMin, long long nMax) {
  wchar_t szT[128];
  swprintf(szT, 128, lpszFormat, nMin, nMax);
  AfxMessageBox(szT, MB_ICONEXCLAMATION);
  pDX->Fail();
}

} // namespace

void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl) {
  if (rControl.m_hWnd != nullptr) return;
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

void DDX_Text(CDataExchange *pDX, int nIDC, CString &value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = WindowText(hWndCtrl);
  else
    SetWindowTextIfChanged(hWndCtrl, value);
}

void DDX_Text(CDataExchange *pDX, int nIDC, int &value) {
  ExchangeNumber(pDX, nIDC, value, true, -2147483648LL, 2147483647LL);
}
void DDX_Text(CDataExchange *pDX, int nIDC, long &value) {
  ExchangeNumber(pDX, nIDC, value, true, -2147483648LL, 2147483647LL);
}
void DDX_Text(CDataExchange *pDX, int nIDC, UINT &value) {
  ExchangeNumber(pDX, nIDC, value, false, 0, 0xFFFFFFFFLL);
}
void DDX_Text(CDataExchange *pDX, int nIDC, DWORD &value) {
  ExchangeNumber(pDX, nIDC, value, false, 0, 0xFFFFFFFFLL);
}

void DDX_Check(CDataExchange *pDX, int nIDC, int &value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = (int)::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0);
  } else {
    if (value < 0 || value > 2) value = 0; // anything else is not a check state
    ::SendMessage(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
  }
}

void DDX_Radio(CDataExchange *pDX, int nIDC, int &value) {
  // nIDC is the first button of a group that ends at the next WS_GROUP.
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int iButton = 0;
  do {
    if (::SendMessage(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0) != 0) value = iButton;
      } else {
        ::SendMessage(hWndCtrl, BM_SETCHECK, iButton == value, 0);
      }
      iButton++;
    }
    hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
  } while (hWndCtrl != nullptr && !(::GetWindowLongPtr(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange *pDX, int nIDC, int &index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = (int)::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0);
  else
    ::SendMessage(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_CBString(CDataExchange *pDX, int nIDC, CString &value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = WindowText(hWndCtrl);
    return;
  }
  if (::SendMessage(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) == CB_ERR) {
    // Not in the list: a combo with an edit part still shows the text.
    if ((::GetWindowLongPtr(hWndCtrl, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST)
      SetWindowTextIfChanged(hWndCtrl, value);
  }
}

void DDX_LBIndex(CDataExchange *pDX, int nIDC, int &index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = (int)::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0);
  else
    ::SendMessage(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBString(CDataExchange *pDX, int nIDC, CString &value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nIndex = (int)::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0);
    value.Empty();
    if (nIndex == LB_ERR) return;
    int nLen = (int)::SendMessage(hWndCtrl, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
    if (nLen == LB_ERR) return;
    LPWSTR p = value.GetBuffer(nLen + 1);
    ::SendMessage(hWndCtrl, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)p);
    value.ReleaseBuffer();
  } else {
    ::SendMessage(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
  }
}

void DDV_MaxChars(CDataExchange *pDX, const CString &value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() > nChars) {
      wchar_t szT[96];
      swprintf(szT, 96, L"Enter no more than %d characters.", nChars);
      AfxMessageBox(szT, MB_ICONEXCLAMATION);
      pDX->Fail();
    }
  } else if (pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl) {
    ::SendMessage(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
  }
}

void DDV_MinMaxInt(CDataExchange *pDX, int value, int minVal, int maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    FailRange(pDX, L"Enter an integer between %lld and %lld.", minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange *pDX, long value, long minVal, long maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    FailRange(pDX, L"Enter an integer between %lld and %lld.", minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange *pDX, UINT value, UINT minVal, UINT maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    FailRange(pDX, L"Enter a positive integer between %lld and %lld.", minVal, maxVal);
}

void DDV_MinMaxDWord(CDataExchange *pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    FailRange(pDX, L"Enter a positive integer between %lld and %lld.", minVal, maxVal);
}
