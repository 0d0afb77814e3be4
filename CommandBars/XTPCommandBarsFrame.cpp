// The command bars in their frame: the dock bars, the menu bar and the
// toolbars made, docked, floated and removed, the frame's layout, and the
// frame's messages the bars see first.
#include "XTPCommandBars.h"
#include "XTPEdit.h"
#include "XTPTabClientWnd.h"
#include "MDIFrameWnd.h"

#include "DocTemplate.h"
#include "Document.h"
#include "FrameWnd.h"
#include "XTPColorManager.h"
#include "XTPControlComboBox.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"

namespace {

// Docking flags a new bar gets: every side and floating, plus (menu bar)
// the whole row to itself.
constexpr DWORD kToolBarDockFlags = 0x3F;
constexpr DWORD kMenuBarDockFlags = 0x5F;
constexpr DWORD kDockBarWindowStyle = 0x56000000;
constexpr int kMenuBarId = 1;
// The customise command, offered where the site handles it.
constexpr int kIdCustomize = 35001;

struct DockBarKind {
  DWORD dwStyle;
  UINT nID;
};
// By dock position: top, bottom, left, right.
constexpr DockBarKind kDockBarKinds[4] = {
    {kDockStyleTop, kDockBarIdTop},
    {kDockStyleBottom, kDockBarIdBottom},
    {kDockStyleLeft, kDockBarIdLeft},
    {kDockStyleRight, kDockBarIdRight},
};

BOOL IsTrackingPopups() {
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  return pMouse && pMouse->GetTrackedCount() > 0;
}

void CloseTrackedPopups() {
  if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager()) pMouse->CloseTrackedBars();
}

// A bar that never made it into the list: out of the dock bar it was put in,
// then let go.
void DiscardBar(CXTPToolBar *pBar) {
  if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar)) pDockBar->RemoveCommandBar(pBar);
  pBar->InternalRelease();
}

} // namespace

BOOL CXTPCommandBars::EnableDocking() {
  ASSERT(m_pSite != nullptr && m_pDocks[0] == nullptr);
  if (m_pSite == nullptr || m_pSite->GetSafeHwnd() == nullptr || m_pDocks[0] != nullptr) return FALSE;
  for (int i = 0; i < 4; i++) {
    m_pDocks[i] = new CXTPDockBar(this);
    if (m_pDocks[i]->Create(m_pSite, kDockBarWindowStyle | kDockBarKinds[i].dwStyle, kDockBarKinds[i].nID))
      continue;
    // Out of window resources: no side half made.
    for (CXTPDockBar *&pDockBar : m_pDocks) {
      if (pDockBar != nullptr && pDockBar->GetSafeHwnd() != nullptr) pDockBar->DestroyWindow();
      delete pDockBar;
      pDockBar = nullptr;
    }
    return FALSE;
  }
  return TRUE;
}

CXTPDockBar *CXTPCommandBars::GetDockBar(int nPosition) const {
  return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : nullptr;
}

CXTPToolBar *CXTPCommandBars::PlaceNewBar(CXTPToolBar *pBar, LPCTSTR lpszName, XTPBarPosition position,
                                          DWORD dwFlags) {
  pBar->SetCommandBars(this);
  pBar->SetSite(this);
  // Every bar of the frame can be dragged, docked and floated as its flags allow.
  pBar->EnableDocking(pBar->GetFlags() ? pBar->GetFlags() : dwFlags);
  pBar->SetTitle(lpszName);
  if (!pBar->SetPosition(position)) {
    DiscardBar(pBar);
    return nullptr;
  }
  return pBar;
}

UINT CXTPCommandBars::GetActiveMenuID() {
  auto *pFrame = dynamic_cast<CMDIFrameWnd *>(m_pSite);
  if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr) return 0;
  CMDIChildWnd *pChild = pFrame->MDIGetActive();
  if (pChild == nullptr) return m_nIDMenu;
  CDocument *pDocument = pChild->GetActiveDocument();
  if (pDocument == nullptr) return pChild->m_nIDHelp;
  // The framework's templates keep no menus of their own: the document's
  // template is the one whose menu the child shows.
  CDocTemplate *pTemplate = pDocument->GetDocTemplate();
  return pTemplate ? pTemplate->m_nIDResource : 0;
}

CXTPMenuBar *CXTPCommandBars::SetMenu(LPCTSTR lpszName, UINT nID) {
  auto *pBar = DYNAMIC_DOWNCAST(CXTPMenuBar, RUNTIME_CLASS(CXTPMenuBar)->CreateObject());
  ASSERT(pBar != nullptr);
  if (pBar == nullptr) return nullptr;
  pBar->SetBarID(kMenuBarId);
  if (PlaceNewBar(pBar, lpszName, xtpBarTop, kMenuBarDockFlags) == nullptr) return nullptr;
  if (!pBar->LoadMenu(nID)) {
    DiscardBar(pBar);
    return nullptr;
  }
  if (nID != 0) {
    pBar->GetControls()->CreateOriginalControls();
    m_nIDMenu = nID;
  }
  AddBar(pBar);
  pBar->InternalRelease(); // the list's reference is the one that stays
  m_pMenuBar = pBar;
  pBar->SetVisible(TRUE);
  return pBar;
}

CXTPToolBar *CXTPCommandBars::AddToolBar(LPCTSTR lpszName, XTPBarPosition position,
                                         CRuntimeClass *pToolBarClass) {
  if (pToolBarClass == nullptr) pToolBarClass = RUNTIME_CLASS(CXTPToolBar);
  ASSERT(pToolBarClass->IsDerivedFrom(RUNTIME_CLASS(CXTPToolBar)));
  ASSERT(position >= xtpBarTop && position <= xtpBarFloating);
  if (!pToolBarClass->IsDerivedFrom(RUNTIME_CLASS(CXTPToolBar)) || position < xtpBarTop ||
      position > xtpBarFloating)
    return nullptr;
  auto *pBar = DYNAMIC_DOWNCAST(CXTPToolBar, pToolBarClass->CreateObject());
  if (pBar == nullptr) return nullptr;
  if (PlaceNewBar(pBar, lpszName, position, kToolBarDockFlags) == nullptr) return nullptr;
  AddBar(pBar);
  pBar->InternalRelease();
  pBar->SetVisible(TRUE);
  return pBar;
}

CXTPToolBar *CXTPCommandBars::AddCustomBar(LPCTSTR lpszName, UINT nID, BOOL bFloating) {
  auto *pBar = DYNAMIC_DOWNCAST(CXTPToolBar, RUNTIME_CLASS(CXTPToolBar)->CreateObject());
  if (pBar == nullptr) return nullptr;
  pBar->SetCommandBars(this);
  // The block carries pointers: the site reads the bar and the title from it.
  XTP_COMMANDBARS_CREATEBAR cs = {};
  cs.pCommandBar = pBar;
  cs.bTearOffBar = TRUE; // a toolbar, not a popup
  cs.bFloatingBar = bFloating;
  cs.lpcstrCaption = lpszName;
  cs.nID = nID;
  if (HWND hWndSite = GetSiteHwnd())
    ::SendMessageW(hWndSite, WM_XTP_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs));
  ASSERT(cs.pCommandBar == pBar);
  if (PlaceNewBar(pBar, lpszName, bFloating ? xtpBarFloating : xtpBarTop, kToolBarDockFlags) == nullptr)
    return nullptr;
  AddBar(pBar);
  pBar->InternalRelease();
  pBar->SetBarID(static_cast<int>(nID));
  pBar->SetBuiltIn(FALSE);
  pBar->SetVisible(TRUE);
  if (!bFloating) RecalcFrameLayout(FALSE);
  OnToolBarAdded(pBar);
  return pBar;
}

CXTPToolBar *CXTPCommandBars::GetToolBar(UINT nID) const {
  if (nID == 0) return nullptr;
  for (CXTPCommandBar *pBar : m_arrBars)
    if (pBar->GetBarID() == static_cast<int>(nID)) return dynamic_cast<CXTPToolBar *>(pBar);
  return nullptr;
}

int CXTPCommandBars::FindIndex(const CXTPCommandBar *pBar) const {
  for (int i = 0; i < GetCount(); i++)
    if (m_arrBars[static_cast<size_t>(i)] == pBar) return i;
  return -1;
}

int CXTPCommandBars::GetNextVisibleBar(int nIndex, int nDirection) const {
  ASSERT(nDirection == 1 || nDirection == -1);
  const int nCount = GetCount();
  if (nCount == 0 || (nDirection != 1 && nDirection != -1)) return -1;
  int n = (nIndex == -1 && nDirection == -1) ? nCount - 1 : nIndex + nDirection;
  // A walk from -1 does not wrap; any other wraps once.
  BOOL bWrapped = nIndex == -1;
  for (int nSteps = 0; nSteps <= nCount; nSteps++) {
    if (n >= nCount || n < 0) {
      if (bWrapped) return -1;
      n = n < 0 ? nCount - 1 : 0;
      bWrapped = TRUE;
    }
    if (n == nIndex) return nIndex;
    if (GetAt(n)->IsVisible()) return n;
    n += nDirection;
  }
  return -1;
}

void CXTPCommandBars::Remove(CXTPCommandBar *pBar) {
  ASSERT(pBar != nullptr);
  if (pBar == nullptr || FindIndex(pBar) < 0) return;
  CXTPReferenceHold hold(pBar);
  if (pBar->GetSafeHwnd() != nullptr) pBar->ShowWindow(SW_HIDE);
  if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar)) {
    pDockBar->RemoveCommandBar(pBar);
    RecalcFrameLayout(FALSE);
  }
  if (auto *pToolBar = dynamic_cast<CXTPToolBar *>(pBar)) OnToolBarRemoved(pToolBar);
  if (pBar == m_pMenuBar) m_pMenuBar = nullptr;
  RemoveBar(pBar);
}

void CXTPCommandBars::GetHiddenControls(CXTPToolBar *pBar, CXTPPopupBar *pPopup) {
  CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar);
  const int nEntry = pDockBar != nullptr ? pDockBar->FindBar(pBar) : -1;
  if (nEntry < 0 || pPopup == nullptr) return;
  std::vector<CXTPCommandBar *> row;
  pDockBar->GetVisibleToolbars(nEntry, row);
  for (CXTPCommandBar *pRowBar : row) {
    for (int i = 0; i < pRowBar->GetControlCount(); i++) {
      CXTPControl *pControl = pRowBar->GetControl(i);
      if (pControl->GetHideFlags() != xtpHideWrap) continue;
      CXTPControl *pCopy = pPopup->GetControls()->AddClone(pControl, -1, TRUE);
      pCopy->SetHideFlags(0);
      pCopy->SetBeginGroup(FALSE);
    }
  }
}

void CXTPCommandBars::GetAddOrRemovePopup(CXTPToolBar *pBar, CXTPPopupBar *pPopup) {
  if (pBar == nullptr || pPopup == nullptr) return;
  std::vector<CXTPCommandBar *> row;
  if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar)) {
    const int nEntry = pDockBar->FindBar(pBar);
    if (nEntry >= 0) pDockBar->GetVisibleToolbars(nEntry, row);
  }
  if (row.empty()) row.push_back(pBar);
  CXTPControls *pControls = pPopup->GetControls();
  for (CXTPCommandBar *pRowBar : row) {
    auto *pToolBar = dynamic_cast<CXTPToolBar *>(pRowBar);
    if (pToolBar == nullptr) continue;
    CXTPControl *pEntry = pControls->Add(xtpControlPopup, 0);
    pEntry->SetCaption(pToolBar->GetTitle());
    pEntry->SetFlags(pEntry->GetFlags() | xtpFlagManualUpdate);
    pEntry->SetEnabled(m_bCustomizeAvail && pToolBar->IsBuiltIn() && pToolBar->IsCustomizable());
    if (pEntry->GetEnabled())
      if (auto *pList = dynamic_cast<CXTPPopupBar *>(pEntry->GetCommandBar()))
        pToolBar->FillAddOrRemoveList(pList);
  }
  if (m_bCustomizeAvail) pControls->Add(xtpControlButton, kIdCustomize)->SetBeginGroup(TRUE);
}

BOOL CXTPCommandBars::ToggleVisible(int nIndex) {
  CXTPCommandBar *pBar = GetAt(nIndex);
  if (pBar == nullptr) return FALSE;
  CXTPReferenceHold hold(pBar);
  pBar->SetVisible(!pBar->IsVisible());
  return TRUE;
}

BOOL CXTPCommandBars::DockCommandBar(CXTPToolBar *pBar, LPCRECT lpRect, CXTPDockBar *pDockBar) {
  if (pBar == nullptr || pDockBar == nullptr) return FALSE;
  if (!pBar->CreateFloatingWindow(m_pSite, FALSE)) return FALSE;
  pDockBar->DockCommandBar(pBar, lpRect);
  RecalcFrameLayout(FALSE);
  return TRUE;
}

BOOL CXTPCommandBars::DockCommandBarAtPosition(CXTPToolBar *pBar, XTPBarPosition position) {
  return DockCommandBar(pBar, nullptr, GetDockBar(position));
}

BOOL CXTPCommandBars::FloatCommandBar(CXTPToolBar *pBar) {
  if (pBar == nullptr) return FALSE;
  CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar);
  // A docked bar floats where it stood; a new one near the frame's corner.
  CPoint ptFloat(0, 0);
  if (pBar->GetSafeHwnd() != nullptr) {
    CRect rc;
    pBar->GetWindowRect(&rc);
    ptFloat = rc.TopLeft();
  } else if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr) {
    CRect rc;
    m_pSite->GetWindowRect(&rc);
    ptFloat = rc.TopLeft() + CSize(40, 40);
  }
  if (!pBar->CreateFloatingWindow(m_pSite, TRUE)) return FALSE;
  if (pDockBar != nullptr) pDockBar->RemoveCommandBar(pBar);
  pBar->StorePosition(xtpBarFloating);
  pBar->SetWindowPos(nullptr, ptFloat.x, ptFloat.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pBar->OnRecalcLayout();
  RecalcFrameLayout(FALSE);
  return TRUE;
}

CXTPDockBar *CXTPCommandBars::CanDock(CPoint point, CXTPDockBar *pCurrent) const {
  CRect rcDockBars[4];
  int nCurrent = -1;
  for (int i = 0; i < 4; i++) {
    // A side without a dock bar window is an empty rectangle far away.
    rcDockBars[i].SetRect(INT_MIN / 2, INT_MIN / 2, INT_MIN / 2, INT_MIN / 2);
    if (m_pDocks[i] != nullptr && m_pDocks[i]->GetSafeHwnd() != nullptr)
      m_pDocks[i]->GetWindowRect(&rcDockBars[i]);
    if (m_pDocks[i] != nullptr && m_pDocks[i] == pCurrent) nCurrent = i;
  }
  const int nFound = CXTPDockContext::FindDockBar(point, rcDockBars, nCurrent);
  return nFound >= 0 ? m_pDocks[nFound] : nullptr;
}

void CXTPCommandBars::RecalcFrameLayout(BOOL bDelay) {
  if (m_bInRedraw) return;
  CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(m_pSite);
  if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr) return;
  if (bDelay)
    pFrame->DelayRecalcLayout(FALSE);
  else
    pFrame->RecalcLayout(FALSE);
}

void CXTPCommandBars::RecalcFrameLayout(CXTPToolBar * /*pBar*/) {
  RecalcFrameLayout(FALSE);
}

BOOL CXTPCommandBars::DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) {
  if (position >= xtpBarTop && position <= xtpBarRight) return DockCommandBarAtPosition(pBar, position);
  if (position == xtpBarFloating) return FloatCommandBar(pBar);
  return FALSE;
}

void CXTPCommandBars::RedrawCommandBars() {
  m_bInRedraw = TRUE;
  const std::vector<CXTPCommandBar *> bars(m_arrBars);
  for (CXTPCommandBar *pBar : bars)
    if (pBar->IsVisible()) pBar->OnRecalcLayout();
  // A tabbed MDI client lays out and draws its tabs anew with the bars.
  if (auto *pFrame = dynamic_cast<CMDIFrameWnd *>(m_pSite))
    if (auto *pClient = dynamic_cast<CXTPTabClientWnd *>(CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient)))
      pClient->Refresh();
  m_bInRedraw = FALSE;
  RecalcFrameLayout(FALSE);
}

namespace {

// The edit window of a command-bar edit control: the toolkit's edit on a bar.
BOOL IsCommandBarEdit(HWND hWnd) {
  if (hWnd == nullptr) return FALSE;
  return dynamic_cast<CXTPEdit *>(CWnd::FromHandlePermanent(hWnd)) != nullptr &&
         dynamic_cast<CXTPCommandBar *>(CWnd::FromHandlePermanent(::GetParent(hWnd))) != nullptr;
}

} // namespace

BOOL XTPIsCommandBarEditFocused() {
  return IsCommandBarEdit(::GetFocus());
}

BOOL CXTPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT *pResult) {
  switch (message) {
  case WM_IDLEUPDATECMDUI: {
    // Floating bars are not the frame's descendants: the frame's update pass
    // does not reach them.
    const std::vector<CXTPCommandBar *> bars(m_arrBars);
    for (CXTPCommandBar *pBar : bars)
      if (pBar->GetPosition() == xtpBarFloating) pBar->OnIdleUpdateCmdUI(TRUE);
    break;
  }
  case WM_SYSCOLORCHANGE:
  case WM_SETTINGCHANGE:
    if (message == WM_SYSCOLORCHANGE) {
      CXTPColorManager::Instance().RefreshColors();
      if (CXTPImageManager *pImageManager = GetImageManager()) pImageManager->RefreshAll();
    }
    if (CXTPPaintManager *pPaintManager = GetPaintManager()) pPaintManager->RefreshMetrics();
    RecalcFrameLayout(FALSE);
    if (m_pSite != nullptr && m_pSite->GetSafeHwnd() != nullptr)
      m_pSite->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    break;
  case WM_CLOSE:
    // The customise sheet's drag tool holds the frame: it closes first.
    if (m_hWndCustomizeSheet != nullptr && ::IsWindow(m_hWndCustomizeSheet)) {
      if (pResult) *pResult = 0;
      return TRUE;
    }
    break;
  case WM_COMMAND:
    if (XTPIsCommandBarEditFocused()) {
      CWnd *pEdit = CWnd::FromHandlePermanent(::GetFocus());
      if (pEdit != nullptr && pEdit->OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr)) {
        if (pResult) *pResult = 1;
        return TRUE;
      }
    }
    break;
  case WM_ACTIVATEAPP:
    if (wParam == 0 && IsTrackingPopups()) CloseTrackedPopups();
    break;
  case WM_SYSCOMMAND:
    if (IsTrackingPopups() && (wParam == 0 || LOWORD(wParam) != 0) && (wParam & 0xFFF0) != SC_KEYMENU &&
        !m_bCustomizeMode)
      CloseTrackedPopups();
    break;
  }
  return FALSE;
}
