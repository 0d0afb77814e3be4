#include "XTPCommandBars.h"

#include "Wnd.h"
#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPCustomizeTools.h"
#include "XTPDockBar.h"
#include "XTPImageManager.h"
#include "XTPPaintManager.h"
#include "XTPToolTipContext.h"

#include "Archive.h"

CXTPCommandBarsOptions::CXTPCommandBarsOptions() = default;

void CXTPCommandBarsOptions::ShowKeyboardCues(int nShow) {
  m_nShowKeyboardCues = nShow;
  if (m_pCommandBars) m_pCommandBars->SetKeyboardCuesFollowAlt(FALSE);
  CXTPPaintManager *pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : XTPGetPaintManager();
  if (pPaintManager) pPaintManager->SetKeyboardCuesShown(nShow != xtpKeyboardCuesShowNever);
  if (nShow == xtpKeyboardCuesShowWindowsDefault && m_pCommandBars) {
    BOOL bSystemCues = TRUE;
    if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0) && !bSystemCues) {
      m_pCommandBars->SetKeyboardCuesFollowAlt(TRUE);
      m_pCommandBars->UpdateKeyboardCues(FALSE);
    }
  }
}

IMPLEMENT_DYNCREATE(CXTPCommandBars, CCmdTarget)

CXTPCommandBars::CXTPCommandBars() {
  m_pOptions = new CXTPCommandBarsOptions;
  m_pOptions->m_pCommandBars = this;
  m_pToolTipContext = new CXTPToolTipContext;
}

CXTPCommandBars::~CXTPCommandBars() {
  ReleaseBars();
  for (CXTPDockBar *&pDockBar : m_pDocks) {
    if (pDockBar != nullptr && pDockBar->GetSafeHwnd() != nullptr) pDockBar->DestroyWindow();
    delete pDockBar;
    pDockBar = nullptr;
  }
  if (m_pDragSelected) m_pDragSelected->InternalRelease();
  if (m_pShared) m_pShared->InternalRelease();
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
  if (m_pImageManager) m_pImageManager->InternalRelease();
  if (m_pToolTipContext) m_pToolTipContext->InternalRelease();
  if (m_hAccel) ::DestroyAcceleratorTable(m_hAccel);
  delete m_pOptions;
}

BOOL CXTPCommandBars::IsControlHidden(UINT nID) const {
  return m_pOptions->m_mapHiddenCommands.count(nID) && !m_pOptions->m_mapUsedCommands.count(nID);
}

BOOL CXTPCommandBars::IsHiddenInMenu(CXTPControl *pControl) const {
  return IsHiddenInMenu(pControl, 0);
}

BOOL CXTPCommandBars::IsHiddenInMenu(CXTPControl *pControl, int nDepth) const {
  BOOL bHidden = IsControlHidden(static_cast<UINT>(pControl->GetID()));
  // Past the depth a popup counts by its own command alone.
  if (m_pOptions->bAutoHideUnusedPopups && !bHidden && nDepth < kMaxMenuDepth) {
    XTPControlType type = pControl->GetType();
    CXTPCommandBar *pBar = pControl->GetCommandBar();
    if ((type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup) &&
        pBar && pBar->GetControls() && pBar->GetControls()->GetCount() > 0) {
      CXTPControls *pControls = pBar->GetControls();
      for (int i = 0; i < pControls->GetCount(); i++) {
        bHidden = IsHiddenInMenu(pControls->GetAt(i), nDepth + 1);
        if (!bHidden) break;
      }
    }
  }
  return bHidden;
}

void CXTPCommandBars::HideCommands(const UINT *pCommands, int nCount) {
  ASSERT(pCommands);
  if (!pCommands) return;
  for (int i = 0; i < nCount; i++) HideCommand(pCommands[i]);
}

void CXTPCommandBars::HideCommand(UINT nID) {
  m_pOptions->m_mapHiddenCommands.insert(nID);
}

void CXTPCommandBars::SetCommandUsed(UINT nID) {
  if (IsControlHidden(nID)) m_pOptions->m_mapUsedCommands.insert(nID);
}

CXTPPaintManager *CXTPCommandBars::GetPaintManager() const {
  return m_pPaintManager ? m_pPaintManager : XTPGetPaintManager();
}

void CXTPCommandBars::SetPaintManager(CXTPPaintManager *pPaintManager) {
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
}

CXTPImageManager *CXTPCommandBars::GetImageManager() const {
  return m_pImageManager ? m_pImageManager : XTPGetImageManager();
}

void CXTPCommandBars::SetImageManager(CXTPImageManager *pImageManager) {
  if (m_pImageManager) m_pImageManager->InternalRelease();
  m_pImageManager = pImageManager;
}

void CXTPCommandBars::SetCustomizeMode(BOOL bMode) {
  m_pOptions->bDirtyState = TRUE;
  m_bCustomizeMode = bMode;
  m_bCustomizeModeCopy = bMode;
  SetDragControl(nullptr);
  UpdateKeyboardCues(bMode);
}

void CXTPCommandBars::SetDragControl(CXTPControl *pControl) {
  if (pControl != m_pDragSelected) {
    CXTPControl *pOld = m_pDragSelected;
    if (pOld && pOld->GetParent() && pOld->GetParent()->GetSafeHwnd()) pOld->GetParent()->Redraw();
    if (pControl) pControl->InternalAddRef();
    m_pDragSelected = pControl;
    if (pControl && pControl->GetParent() && pControl->GetParent()->GetSafeHwnd())
      pControl->GetParent()->Redraw();
    if (pOld) pOld->InternalRelease();
  }
  HWND hWnd = m_hWndCustomizeSheet ? m_hWndCustomizeSheet : GetSiteHwnd();
  if (hWnd && ::IsWindow(hWnd)) ::SendMessageW(hWnd, 0x532, 0, 0);
}

void CXTPCommandBars::SetSite(CWnd *pSite) {
  m_pSite = pSite;
  m_bCustomizeAvail = FALSE;
  // Asked with a handler record, so the site only says whether it handles
  // the customise command and does not run it.
  AFX_CMDHANDLERINFO info = {};
  if (pSite && pSite->GetSafeHwnd()) m_bCustomizeAvail = pSite->OnCmdMsg(35001, CN_COMMAND, nullptr, &info);
}

HWND CXTPCommandBars::GetSiteHwnd() const {
  return m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
}

void CXTPCommandBars::UpdateKeyboardCues(BOOL bShow) {
  if (!m_bKeyboardCuesFollowAlt) return;
  if (m_bCustomizeMode) bShow = TRUE;
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (pPaintManager && pPaintManager->IsKeyboardCuesShown() != bShow) {
    pPaintManager->SetKeyboardCuesShown(bShow);
    RedrawVisibleBars();
  }
}
