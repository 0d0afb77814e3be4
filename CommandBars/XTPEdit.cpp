#include "XTPEdit.h"

#include "AfxRes.h"
#include "CmdUI.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControls.h"
#include "XTPMouseManager.h"
#include "XTPPopupBar.h"
#include "XTPResourceManager.h"

IMPLEMENT_DYNCREATE(CXTPEdit, CEdit)

BOOL CXTPEdit::s_bRichEdit = FALSE;

CXTPRichEditLoader::CXTPRichEditLoader(LPCSTR lpszFirst, LPCSTR lpszSecond) {
  m_hModule = ::LoadLibraryA(lpszFirst);
  if (!m_hModule) {
    m_hModule = ::LoadLibraryA(lpszSecond);
    m_lpszClass = L"RICHEDIT";
  }
}

CXTPRichEditLoader::~CXTPRichEditLoader() {
  if (m_hModule) ::FreeLibrary(m_hModule);
}

CXTPRichEditLoader &CXTPRichEditLoader::Instance() {
  static CXTPRichEditLoader loader;
  return loader;
}

BOOL CXTPEdit::Create(DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID) {
  if (s_bRichEdit && CXTPRichEditLoader::Instance().GetModule())
    return CWnd::Create(CXTPRichEditLoader::Instance().GetClassName(), nullptr, dwStyle, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
  return CEdit::Create(dwStyle, rect, pParentWnd, nID);
}

BOOL CXTPEdit::IsCommandEnabled(UINT nID) const {
  if (nID == ID_EDIT_PASTE) return ::IsClipboardFormatAvailable(CF_TEXT);
  int nStart = 0;
  int nEnd = 0;
  GetSel(nStart, nEnd);
  return nStart != nEnd;
}

BOOL CXTPEdit::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) &&
      (nID == ID_EDIT_PASTE || nID == ID_EDIT_CUT || nID == ID_EDIT_COPY)) {
    static_cast<CCmdUI *>(pExtra)->Enable(IsCommandEnabled(nID));
    return TRUE;
  }
  if (nCode == CN_COMMAND && (nID == ID_EDIT_PASTE || nID == ID_EDIT_CUT || nID == ID_EDIT_COPY)) {
    if (!pHandlerInfo) OnCommand(nID, 0);
    return TRUE;
  }
  return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CXTPEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
  case ID_EDIT_PASTE:
    Paste();
    return TRUE;
  case ID_EDIT_COPY:
    Copy();
    return TRUE;
  case ID_EDIT_CUT:
    Cut();
    return TRUE;
  }
  return CEdit::OnCommand(wParam, lParam);
}

BOOL CXTPEdit::ShowContextMenu(CXTPControl *pOwner, CPoint point) {
  CString strCut;
  if (!XTPGetResourceManager()->LoadString(&strCut, ID_EDIT_CUT)) return FALSE;
  const BOOL bFocused = ::GetFocus() == m_hWnd;
  if (!bFocused) SetSel(0, -1);
  if (CXTPMouseManager *pMouseManager = CXTPMouseManager::GetThreadMouseManager())
    pMouseManager->SendTrackLost();
  ::ClientToScreen(m_hWnd, &point);

  CXTPCommandBar *pOwnerBar = pOwner ? pOwner->GetParent() : nullptr;
  CXTPCommandBars *pCommandBars = pOwner ? pOwner->GetCommandBars() : nullptr;
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
  const UINT kCommands[] = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
  for (UINT nID : kCommands) {
    CXTPControl *pItem = pPopup->GetControls()->Add(xtpControlButton, static_cast<int>(nID));
    // The states are the edit's own: no window the menu reports to knows them.
    pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
    pItem->SetEnabled(IsCommandEnabled(nID));
  }
  UINT nFlags = TPM_RETURNCMD;
  HWND hOwnerBar = pOwnerBar ? pOwnerBar->GetSafeHwnd() : nullptr;
  if (hOwnerBar && (::GetWindowLongW(hOwnerBar, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)))
    nFlags |= TPM_RIGHTALIGN;
  const UINT nCommand = CXTPCommandBars::TrackPopupMenu(pPopup, nFlags, point.x, point.y, pOwnerBar);
  if (nCommand > 0 && ::IsWindow(m_hWnd)) {
    if (bFocused || nCommand == ID_EDIT_PASTE) SetFocus();
    OnCommand(nCommand, 0);
  }
  pPopup->InternalRelease();
  if (hOwnerBar) {
    ::InvalidateRect(hOwnerBar, nullptr, FALSE);
    ::UpdateWindow(hOwnerBar);
  }
  return TRUE;
}

BOOL CXTPEdit::ProcessDialogKey(UINT nVirtKey) {
  MSG msg = {m_hWnd, WM_KEYDOWN, nVirtKey, 0, 0, {0, 0}};
  return ::IsDialogMessageW(m_hWnd, &msg);
}

// --- A field window on a bar ---------------------------------------------------

namespace XTPBarField {

HWND HandleOf(const CXTPEdit *pEdit) {
  return pEdit ? pEdit->GetSafeHwnd() : nullptr;
}

HWND BarWindow(const CXTPCommandBar *pBar) {
  return pBar ? pBar->GetSafeHwnd() : nullptr;
}

void Dress(HWND hField, HWND hBar, const CString &strText, BOOL bEnabled) {
  LRESULT lFont = ::SendMessageW(hBar, WM_GETFONT, 0, 0);
  if (!lFont) lFont = reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::SendMessageW(hField, WM_SETFONT, static_cast<WPARAM>(lFont), 0);
  ::SetWindowTextW(hField, strText);
  ::EnableWindow(hField, bEnabled);
}

void Place(HWND hField, const CXTPCommandBar *pBar, const CRect &rc, BOOL bShow) {
  // A menu's window gives its fields back to the site when it closes:
  // laid out again, the field comes home.
  if (pBar && pBar->GetSafeHwnd() && ::GetParent(hField) != pBar->GetSafeHwnd())
    ::SetParent(hField, pBar->GetSafeHwnd());
  ::SetWindowPos(hField, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void ShowUnlessHidden(HWND hField, DWORD dwHideFlags) {
  if (!hField) return;
  ::SetWindowPos(hField, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (dwHideFlags > 0 ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

} // namespace XTPBarField
