// The one place the common-control window classes are registered before a
// wrapper creates its control: ICC_ bits for comctl32's classes, and
// AFX_CC_RICHEDIT for the rich edit control, which lives in its own library.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CWnd;

// Outside comctl32's ICC_ bits: loads the rich edit library.
#define AFX_CC_RICHEDIT 0x80000000u

// Registers the classes once per process; FALSE when one could not be.
BOOL AfxInitCommonControls(DWORD dwClasses);

// Registers the classes, then creates the control and binds it to pWnd.
// dwStyle is the whole style: child controls include WS_CHILD.
BOOL AfxCreateCommonControl(CWnd *pWnd, DWORD dwClasses, LPCTSTR lpszClassName, DWORD dwExStyle,
                            DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID);
