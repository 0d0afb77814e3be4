#include "XTPCustomizeCommandsPage.h"

#include <algorithm>

#include "DataExchange.h"
#include "Menu.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControls.h"
#include "XTPCustomizeTools.h"
#include "XTPCustomizeSheet.h"
#include "XTPPaintManager.h"
#include "XTPResource.h"

XTP_COMMANDBARS_CATEGORYINFO::XTP_COMMANDBARS_CATEGORYINFO(LPCTSTR lpszCategory, CXTPControls *pControlList)
    : strCategory(lpszCategory), pControls(pControlList) {}

XTP_COMMANDBARS_CATEGORYINFO::~XTP_COMMANDBARS_CATEGORYINFO() {
  if (pControls) pControls->InternalRelease();
}

// ---------------------------------------------------------------------------
// The command list

CXTPControl *CXTPCustomizeCommandsListBox::GetItemControl(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  return reinterpret_cast<CXTPControl *>(GetItemDataPtr(nIndex));
}

void CXTPCustomizeCommandsListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  CXTPCommandBars *pBars = m_pCommandsPage ? m_pCommandsPage->GetCommandBars() : nullptr;
  CXTPPaintManager *pPaintManager = pBars ? pBars->GetPaintManager() : nullptr;
  if (pPaintManager)
    lpMIS->itemHeight = static_cast<UINT>(
        pPaintManager->DrawListBoxControl(nullptr, nullptr, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE).cy);
}

void CXTPCustomizeCommandsListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (static_cast<int>(lpDIS->itemID) < 0) return;
  CXTPCommandBars *pBars = m_pCommandsPage ? m_pCommandsPage->GetCommandBars() : nullptr;
  CXTPPaintManager *pPaintManager = pBars ? pBars->GetPaintManager() : nullptr;
  if (pPaintManager == nullptr) return;
  CXTPControl *pControl = reinterpret_cast<CXTPControl *>(lpDIS->itemData);
  pPaintManager->DrawListBoxControl(CDC::FromHandle(lpDIS->hDC), pControl, CRect(lpDIS->rcItem),
                                    (lpDIS->itemState & ODS_SELECTED) != 0, TRUE, TRUE);
}

void CXTPCustomizeCommandsListBox::DrawBackground(HDC hDC, const CRect &rc) {
  CXTPCommandBars *pBars = m_pCommandsPage ? m_pCommandsPage->GetCommandBars() : nullptr;
  CXTPPaintManager *pPaintManager = pBars ? pBars->GetPaintManager() : nullptr;
  if (pPaintManager)
    pPaintManager->DrawListBoxControl(CDC::FromHandle(hDC), nullptr, rc, FALSE, TRUE, TRUE);
  else
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
}

// The rows are painted into a memory picture of the whole list first, so a
// redraw never shows the background between two rows.
void CXTPCustomizeCommandsListBox::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  HDC hMemDC = ::CreateCompatibleDC(hDC);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, std::max(1, static_cast<int>(rcClient.Width())),
                                             std::max(1, static_cast<int>(rcClient.Height())));
  if (hMemDC && hBitmap) {
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    DrawBackground(hMemDC, rcClient);
    CListBox::WindowProc(WM_PAINT, reinterpret_cast<WPARAM>(hMemDC), 0);
    ::BitBlt(hDC, 0, 0, rcClient.Width(), rcClient.Height(), hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
  } else {
    CListBox::WindowProc(WM_PAINT, reinterpret_cast<WPARAM>(hDC), 0);
  }
  if (hBitmap) ::DeleteObject(hBitmap);
  if (hMemDC) ::DeleteDC(hMemDC);
  ::EndPaint(m_hWnd, &ps);
}

BOOL CXTPCustomizeCommandsListBox::OnLButtonDown(CPoint point) {
  CXTPCommandBars *pBars = m_pCommandsPage ? m_pCommandsPage->GetCommandBars() : nullptr;
  ASSERT(pBars != nullptr);
  if (pBars == nullptr) return FALSE;
  pBars->SetDragControl(nullptr);
  BOOL bOutside = TRUE;
  const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
  if (bOutside || nIndex < 0 || nIndex >= GetCount()) return FALSE;
  if (SetCurSel(nIndex) == LB_ERR) return FALSE;
  if (HWND hWndOwner = ::GetParent(m_hWnd)) {
    ::SetFocus(m_hWnd);
    ::SendMessageW(hWndOwner, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
  if (CXTPControl *pControl = GetItemControl(nIndex)) {
    CXTPReferenceHold hold(pControl);
    const int nEffect = pBars->GetDragTool()->PerformDrag(pControl, TRUE);
    if (m_pCommandsPage) m_pCommandsPage->SetLastDropEffect(nEffect);
  }
  return TRUE;
}

LRESULT CXTPCustomizeCommandsListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    if (wParam == 0) {
      OnPaint();
      return 0;
    }
    break;
  case WM_ERASEBKGND: {
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    DrawBackground(reinterpret_cast<HDC>(wParam), rcClient);
    return TRUE;
  }
  case WM_LBUTTONDOWN:
    if (OnLButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
      return 0;
    break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The page

CXTPCustomizeCommandsPage::CXTPCustomizeCommandsPage(CXTPCustomizeSheet *pSheet)
    : CPropertyPage(XTP_IDD_PAGE_COMMANDS), m_pSheet(pSheet) {}

CXTPCustomizeCommandsPage::~CXTPCustomizeCommandsPage() = default;

CXTPCommandBars *CXTPCustomizeCommandsPage::GetCommandBars() const {
  return m_pSheet ? m_pSheet->GetCommandBars() : nullptr;
}

XTP_COMMANDBARS_CATEGORYINFO *CXTPCustomizeCommandsPage::GetCategoryInfo(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCategoryCount()) return nullptr;
  return m_arrCategories[static_cast<size_t>(nIndex)].get();
}

CXTPControls *CXTPCustomizeCommandsPage::InsertCategory(LPCTSTR lpszCategory) {
  for (auto &pInfo : m_arrCategories)
    if (pInfo->strCategory == lpszCategory) return pInfo->pControls;
  auto *pControls = new CXTPControls;
  pControls->SetCommandBars(GetCommandBars());
  m_arrCategories.push_back(std::make_unique<XTP_COMMANDBARS_CATEGORYINFO>(lpszCategory, pControls));
  return pControls;
}

BOOL CXTPCustomizeCommandsPage::AddCategory(LPCTSTR lpszCategory, CMenu *pMenu) {
  if (pMenu == nullptr || pMenu->m_hMenu == nullptr) return FALSE;
  CXTPControls *pControls = InsertCategory(lpszCategory);
  return pControls->LoadMenu(pMenu);
}

BOOL CXTPCustomizeCommandsPage::AddCategory(LPCTSTR lpszCategory, CXTPCommandBar *pBar) {
  if (pBar == nullptr) return FALSE;
  CXTPControls *pControls = InsertCategory(lpszCategory);
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    CXTPControl *pControl = pBar->GetControl(i);
    if (pControl->GetID() <= 0 || pControl->GetTemporary()) continue;
    if (CXTPControl *pCopy = pControls->AddClone(pControl, -1, TRUE)) pCopy->SetBeginGroup(FALSE);
  }
  return TRUE;
}

void CXTPCustomizeCommandsPage::DoDataExchange(CDataExchange *pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_LIST_COMMANDS, m_lstCommands);
  DDX_Control(pDX, XTP_IDC_LIST_CATEGORIES, m_lstCategories);
}

BOOL CXTPCustomizeCommandsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  for (int i = 0; i < GetCategoryCount(); i++) {
    const int nItem = m_lstCategories.AddString(m_arrCategories[static_cast<size_t>(i)]->strCategory);
    m_lstCategories.SetItemData(nItem, static_cast<DWORD_PTR>(i));
  }
  m_lstCategories.SetCurSel(0);

  CXTPCommandBars *pBars = GetCommandBars();
  CXTPPaintManager *pPaintManager = pBars ? pBars->GetPaintManager() : nullptr;
  if (pPaintManager) {
    const int nHeight =
        pPaintManager->DrawListBoxControl(nullptr, nullptr, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE).cy;
    m_lstCommands.SetItemHeight(0, static_cast<UINT>(nHeight));
  }
  m_lstCommands.m_pCommandsPage = this;
  const HWND hWndSite = pBars ? pBars->GetSiteHwnd() : nullptr;
  if (hWndSite && (::GetWindowLongW(hWndSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
    m_lstCommands.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
  OnCategoryChanged();
  return FALSE;
}

void CXTPCustomizeCommandsPage::OnCategoryChanged() {
  m_lstCommands.ResetContent();
  const int nSel = m_lstCategories.GetCurSel();
  if (nSel == LB_ERR) return;
  XTP_COMMANDBARS_CATEGORYINFO *pInfo = GetCategoryInfo(static_cast<int>(m_lstCategories.GetItemData(nSel)));
  if (pInfo == nullptr) return;
  for (int i = 0; i < pInfo->pControls->GetCount(); i++) {
    CXTPControl *pControl = pInfo->pControls->GetAt(i);
    const int nItem = m_lstCommands.AddString(L"");
    m_lstCommands.SetItemDataPtr(nItem, pControl);
  }
}

BOOL CXTPCustomizeCommandsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == XTP_IDC_LIST_CATEGORIES && HIWORD(wParam) == LBN_SELCHANGE) {
    OnCategoryChanged();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}
