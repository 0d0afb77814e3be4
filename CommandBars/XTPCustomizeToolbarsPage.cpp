#include "XTPCustomizeToolbarsPage.h"

#include "DataExchange.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPCustomizeSheet.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTPToolBar.h"

CXTPCustomizeToolbarsPage::CXTPCustomizeToolbarsPage(CXTPCustomizeSheet *pSheet)
    : CPropertyPage(XTP_IDD_PAGE_TOOLBARS), m_pSheet(pSheet) {}

CXTPCommandBars *CXTPCustomizeToolbarsPage::GetCommandBars() const {
  return m_pSheet ? m_pSheet->GetCommandBars() : nullptr;
}

void CXTPCustomizeToolbarsPage::DoDataExchange(CDataExchange *pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_LIST_TOOLBARS, m_checkList);
  DDX_Control(pDX, XTP_IDC_BUTTON_RESETTOOLBAR, m_btnReset);
  DDX_Control(pDX, XTP_IDC_BUTTON_RENAME, m_btnRename);
  DDX_Control(pDX, XTP_IDC_BUTTON_DELETE, m_btnDelete);
  DDX_Control(pDX, XTP_IDC_BUTTON_NEW, m_btnNew);
}

BOOL CXTPCustomizeToolbarsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  RefreshToolbarsList();
  return FALSE;
}

void CXTPCustomizeToolbarsPage::RefreshToolbarsList() {
  CXTPCommandBars *pBars = GetCommandBars();
  if (pBars == nullptr || m_checkList.m_hWnd == nullptr) return;
  const int nSel = m_checkList.GetCurSel();
  const int nSelectedBar = nSel != LB_ERR ? static_cast<int>(m_checkList.GetItemData(nSel)) : 0;
  const int nTop = m_checkList.GetTopIndex();
  m_checkList.ResetContent();
  for (int i = 0; i < pBars->GetCount(); i++) {
    CXTPCommandBar *pBar = pBars->GetAt(i);
    ASSERT(pBar != nullptr);
    if (pBar == nullptr) continue;
    // A hidden menu bar cannot be shown from here: it is left out.
    if (pBar->GetType() == xtpBarTypeMenuBar && !pBar->IsVisible()) continue;
    const int nItem = m_checkList.AddString(pBar->GetTitle());
    m_checkList.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    m_checkList.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
    if (i == nSelectedBar) m_checkList.SetCurSel(nItem);
  }
  if (m_checkList.GetTopIndex() != nTop) m_checkList.SetTopIndex(nTop);
  UpdateButtons();
}

CXTPCommandBar *CXTPCustomizeToolbarsPage::GetSelectedBar() const {
  CXTPCommandBars *pBars = GetCommandBars();
  const int nSel = m_checkList.m_hWnd ? m_checkList.GetCurSel() : LB_ERR;
  if (pBars == nullptr || nSel == LB_ERR) return nullptr;
  const int nIndex = static_cast<int>(m_checkList.GetItemData(nSel));
  return nIndex >= 0 && nIndex < pBars->GetCount() ? pBars->GetAt(nIndex) : nullptr;
}

namespace {
BOOL IsBuiltIn(CXTPCommandBar *pBar) {
  auto *pToolBar = dynamic_cast<CXTPToolBar *>(pBar);
  return pToolBar == nullptr || pToolBar->IsBuiltIn();
}
} // namespace

void CXTPCustomizeToolbarsPage::UpdateButtons() {
  if (m_checkList.m_hWnd == nullptr) return;
  CXTPCommandBar *pBar = GetSelectedBar();
  const BOOL bBuiltIn = pBar != nullptr && IsBuiltIn(pBar);
  m_btnReset.EnableWindow(pBar != nullptr && bBuiltIn);
  m_btnRename.EnableWindow(pBar != nullptr && !bBuiltIn);
  m_btnDelete.EnableWindow(pBar != nullptr && !bBuiltIn);
  m_btnNew.EnableWindow(TRUE);
}

void CXTPCustomizeToolbarsPage::OnTickChanged(int nIndex) {
  CXTPCommandBars *pBars = GetCommandBars();
  if (pBars == nullptr || nIndex < 0 || nIndex >= m_checkList.GetCount()) return;
  const int nBar = static_cast<int>(m_checkList.GetItemData(nIndex));
  CXTPCommandBar *pBar = nBar >= 0 && nBar < pBars->GetCount() ? pBars->GetAt(nBar) : nullptr;
  if (pBar == nullptr) return;
  if (pBar->GetType() == xtpBarTypeMenuBar || !pBar->IsCloseable())
    m_checkList.SetCheck(nIndex, 1);
  else
    pBar->SetVisible(m_checkList.GetCheck(nIndex) != 0);
  RefreshToolbarsList();
}

BOOL CXTPCustomizeToolbarsPage::NewToolbar() {
  CXTPCommandBars *pBars = GetCommandBars();
  if (pBars == nullptr) return FALSE;
  CXTPNewToolbarDlg dlg(m_pSheet, pBars);
  if (RunNameDialog(dlg) != IDOK) return FALSE;
  CXTPToolBar *pBar = pBars->AddCustomBar(dlg.m_strToolbar, dlg.m_nNewID);
  RefreshToolbarsList();
  return pBar != nullptr;
}

BOOL CXTPCustomizeToolbarsPage::RenameToolbar() {
  auto *pBar = dynamic_cast<CXTPToolBar *>(GetSelectedBar());
  if (pBar == nullptr || pBar->IsBuiltIn()) return FALSE;
  CXTPNewToolbarDlg dlg(m_pSheet, GetCommandBars(), pBar);
  if (RunNameDialog(dlg) != IDOK) return FALSE;
  pBar->SetTitle(dlg.m_strToolbar);
  if (pBar->GetSafeHwnd()) {
    pBar->SetWindowText(dlg.m_strToolbar);
    pBar->Redraw();
  }
  const int nSel = m_checkList.GetCurSel();
  const DWORD_PTR nData = m_checkList.GetItemData(nSel);
  m_checkList.DeleteString(static_cast<UINT>(nSel));
  const int nItem = m_checkList.InsertString(nSel, dlg.m_strToolbar);
  m_checkList.SetItemData(nItem, nData);
  m_checkList.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
  m_checkList.SetCurSel(nItem);
  UpdateButtons();
  return TRUE;
}

BOOL CXTPCustomizeToolbarsPage::DeleteToolbar() {
  CXTPCommandBars *pBars = GetCommandBars();
  CXTPCommandBar *pBar = GetSelectedBar();
  if (pBars == nullptr || pBar == nullptr || IsBuiltIn(pBar)) return FALSE;
  CString strFormat, strQuestion;
  XTPGetResourceManager()->LoadString(&strFormat, XTP_IDS_CONFIRM_DELETE);
  strQuestion.Format(strFormat, static_cast<LPCTSTR>(pBar->GetTitle()));
  if (AfxMessageBox(strQuestion, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return FALSE;
  // The control selected for customising goes with its bar.
  if (CXTPControl *pSelected = pBars->GetDragControl())
    if (pSelected->GetParent() == pBar) pBars->SetDragControl(nullptr);
  pBars->Remove(pBar);
  RefreshToolbarsList();
  return TRUE;
}

BOOL CXTPCustomizeToolbarsPage::ResetToolbar() {
  auto *pBar = dynamic_cast<CXTPToolBar *>(GetSelectedBar());
  if (pBar == nullptr || !pBar->IsBuiltIn()) return FALSE;
  CXTPCommandBars *pBars = GetCommandBars();
  if (CXTPControl *pSelected = pBars->GetDragControl())
    if (pSelected->GetParent() == pBar) pBars->SetDragControl(nullptr);
  pBar->Reset();
  RefreshToolbarsList();
  return TRUE;
}

BOOL CXTPCustomizeToolbarsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
  switch (nID) {
  case XTP_IDC_LIST_TOOLBARS:
    if (nCode == LBN_SELCHANGE) {
      UpdateButtons();
      return TRUE;
    }
    if (nCode == CLBN_CHKCHANGE) {
      OnTickChanged(m_checkList.GetCaretIndex());
      return TRUE;
    }
    break;
  case XTP_IDC_BUTTON_NEW:
    if (nCode == BN_CLICKED) NewToolbar();
    return TRUE;
  case XTP_IDC_BUTTON_RENAME:
    if (nCode == BN_CLICKED) RenameToolbar();
    return TRUE;
  case XTP_IDC_BUTTON_DELETE:
    if (nCode == BN_CLICKED) DeleteToolbar();
    return TRUE;
  case XTP_IDC_BUTTON_RESETTOOLBAR:
    if (nCode == BN_CLICKED) ResetToolbar();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}
