#include "XTPCommandBar.h"

#include "XTPCommandBars.h"
#include "XTPImageManager.h"
#include "XTPPaintManager.h"

IMPLEMENT_DYNCREATE(CXTPCommandBar, CWnd)

CXTPCommandBar::CXTPCommandBar() {
  m_pControls = new CXTPControls;
  m_pControls->SetParent(this);
}

CXTPCommandBar::~CXTPCommandBar() {
  if (m_pControls) {
    m_pControls->RemoveAll();
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
  }
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
}

void CXTPCommandBar::SetCommandBars(CXTPCommandBars *pCommandBars) {
  m_pCommandBars = pCommandBars;
}

CXTPPaintManager *CXTPCommandBar::GetPaintManager() const {
  if (m_pPaintManager) return m_pPaintManager;
  if (m_pCommandBars) return m_pCommandBars->GetPaintManager();
  return XTPGetPaintManager();
}

void CXTPCommandBar::SetPaintManager(CXTPPaintManager *pPaintManager) {
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
}

CXTPImageManager *CXTPCommandBar::GetImageManager() const {
  if (m_pCommandBars) return m_pCommandBars->GetImageManager();
  return XTPGetImageManager();
}

CSize CXTPCommandBar::GetIconSize() const {
  if (m_szIcons.cx > 0) return m_szIcons;
  if (m_pCommandBars) {
    CXTPCommandBarsOptions *pOptions = m_pCommandBars->GetCommandBarsOptions();
    if (m_barType == xtpBarTypePopup) return pOptions->szPopupIcons;
    if (pOptions->bLargeIcons) return pOptions->szLargeIcons.cx > 0 ? pOptions->szLargeIcons : CSize(32, 32);
    if (pOptions->szIcons.cx > 0) return pOptions->szIcons;
  }
  return CSize(16, 16);
}

CSize CXTPCommandBar::GetButtonSize() const {
  if (m_szButtons.cx > 0) return m_szButtons;
  CSize szIcon = GetIconSize();
  return CSize(szIcon.cx + 7, szIcon.cy + 7);
}

BOOL CXTPCommandBar::IsTextBelowIcons() const {
  if (m_bTextBelow) return TRUE;
  return m_pCommandBars && m_barType != xtpBarTypePopup &&
         m_pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons;
}

BOOL CXTPCommandBar::IsLayoutRTL() const {
  HWND hWnd = GetSafeHwnd();
  return hWnd && (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}

BOOL CXTPCommandBar::IsCustomizeMode() const {
  return m_pCommandBars && m_pCommandBars->IsCustomizeMode();
}

CRect CXTPCommandBar::GetBarClientRect() const {
  CRect rc(0, 0, m_szNoWindowClient.cx, m_szNoWindowClient.cy);
  if (GetSafeHwnd()) ::GetClientRect(GetSafeHwnd(), &rc);
  return rc;
}

void CXTPCommandBar::Redraw() {
  m_nRedrawCount++;
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

CXTPControl *CXTPCommandBar::GetSelected() const {
  return m_pControls ? m_pControls->GetAt(m_nSelected) : nullptr;
}

BOOL CXTPCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
  if (nSelected == m_nSelected) return FALSE;
  CXTPControl *pOld = GetSelected();
  m_nSelected = -1;
  if (pOld) pOld->OnSetSelected(FALSE);
  m_nSelected = nSelected;
  CXTPControl *pNew = GetSelected();
  if (pNew)
    pNew->OnSetSelected(bKeyboard ? 2 : 1);
  else
    m_nSelected = -1;
  return TRUE;
}

BOOL CXTPCommandBar::SetPopuped(int nPopuped, BOOL /*bKeyboard*/) {
  if (nPopuped == m_nPopuped) return FALSE;
  m_nPopuped = nPopuped;
  return TRUE;
}

BOOL CXTPCommandBar::SetTrackingMode(int nMode, BOOL /*bSelectFirst*/, BOOL /*bKeyboard*/) {
  if (m_nTrackingMode == nMode) return FALSE;
  m_nTrackingMode = nMode;
  if (!nMode) {
    SetPopuped(-1);
    SetSelected(-1);
  }
  return TRUE;
}

CXTPCommandBar *CXTPCommandBar::GetRootParent() const {
  const CXTPCommandBar *pBar = this;
  while (pBar->m_pParentBar) pBar = pBar->m_pParentBar;
  return const_cast<CXTPCommandBar *>(pBar);
}

HWND CXTPCommandBar::GetUpdateTarget() const {
  const CXTPCommandBar *pRoot = GetRootParent();
  if (pRoot->m_hWndOwner) return pRoot->m_hWndOwner;
  if (m_hWndOwner) return m_hWndOwner;
  return m_pCommandBars ? m_pCommandBars->GetSiteHwnd() : nullptr;
}
