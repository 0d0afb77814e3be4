#include "XTPControls.h"

#include <algorithm>
#include <memory>

#include "Menu.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlComboBox.h"
#include "XTPControlExt.h"
#include "XTPControlPopup.h"
#include "XTPControlToolbars.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPResourceManager.h"

IMPLEMENT_DYNCREATE(CXTPControls, CCmdTarget)

namespace {

HMENU LoadMenuResource(UINT nID) {
  CMenu menu;
  if (!XTPGetResourceManager()->LoadMenu(&menu, nID)) return nullptr;
  return menu.Detach();
}

CXTPControls::MenuLoader g_pfnMenuLoader = nullptr;

// Ids whose controls stand for a list made at run time.
constexpr int kIdWindowList = 35000;
constexpr int kIdWorkspaceActions = 35002;
constexpr int kIdRecentFiles = 35003;
constexpr int kIdMenuRecentFiles = 57616; // the first recent file of a menu resource
constexpr int kIdOleVerbs = 57872;
constexpr wchar_t kOleVerbsCaption[] = L"<<OLE VERBS GO HERE>>";

// The control of a list made at run time, by its id (the recent files by
// the id given); nullptr for any other id.
CXTPControl *NewRunTimeList(int nId, int nRecentFilesId) {
  if (nId == XTP_ID_TOOLBARLIST) return new CXTPControlToolbars;
  if (nId == kIdWindowList) return new CXTPControlWindowList;
  if (nId == kIdWorkspaceActions) return new CXTPControlWorkspaceActions;
  if (nId == nRecentFilesId) return new CXTPControlRecentFileList;
  return nullptr;
}

// A plain command's control made by Add: the run-time lists by their ids,
// else a button.
CXTPControl *NewCommandControl(int nId) {
  if (CXTPControl *pList = NewRunTimeList(nId, kIdRecentFiles)) return pList;
  return new CXTPControlButton;
}

// The same for a menu item, whose recent-file list is the menu's first file
// and whose OLE verbs are marked by the item's text.
CXTPControl *NewMenuItemControl(int nId, const CString &strCaption) {
  if (CXTPControl *pList = NewRunTimeList(nId, kIdMenuRecentFiles)) return pList;
  if (nId == kIdOleVerbs && strCaption == kOleVerbsCaption) return new CXTPControlOleItems;
  return new CXTPControlButton;
}

BOOL IsPopupType(int type) {
  return type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup;
}

} // namespace

void CXTPControls::SetMenuLoader(MenuLoader pfn) {
  g_pfnMenuLoader = pfn;
}

HMENU CXTPControls::LoadMenuResourceHandle(UINT nID) {
  return g_pfnMenuLoader ? g_pfnMenuLoader(nID) : LoadMenuResource(nID);
}

CXTPControls::CXTPControls() = default;

CXTPControls::~CXTPControls() {
  RemoveAll();
  if (m_pOriginalControls) m_pOriginalControls->InternalRelease();
}

void CXTPControls::SetParent(CXTPCommandBar *pParent) {
  m_pParent = pParent;
  for (CXTPControl *pControl : m_arrControls) pControl->SetParent(pParent);
}

CXTPCommandBars *CXTPControls::GetCommandBars() const {
  if (m_pParent && m_pParent->GetCommandBars()) return m_pParent->GetCommandBars();
  return m_pCommandBars;
}

CXTPControl *CXTPControls::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  return m_arrControls[static_cast<size_t>(nIndex)];
}

void CXTPControls::GetNext(CXTPControl *&pControl) const {
  pControl = pControl ? GetAt(pControl->GetIndex() + 1) : nullptr;
}

void CXTPControls::RefreshIndexes() {
  for (int i = 0; i < GetCount(); i++) {
    CXTPControl *pControl = m_arrControls[static_cast<size_t>(i)];
    pControl->m_nIndex = i;
    pControl->m_pControls = this;
    pControl->SetParent(m_pParent);
  }
  if (m_pParent) m_pParent->OnControlsChanged();
}

LRESULT CXTPControls::NotifySite(UINT nMessage, WPARAM wParam, LPARAM lParam) const {
  HWND hWnd = nullptr;
  if (CXTPCommandBars *pCommandBars = GetCommandBars()) hWnd = pCommandBars->GetSiteHwnd();
  if (!hWnd && m_pParent) hWnd = m_pParent->GetOwnerWindow();
  if (!hWnd && m_pParent) hWnd = m_pParent->GetUpdateTarget();
  if (!hWnd || !::IsWindow(hWnd)) return 0;
  return ::SendMessageW(hWnd, nMessage, wParam, lParam);
}

CXTPControl *CXTPControls::InsertControl(CXTPControl *pControl, int nBefore) {
  if (nBefore >= 0 && nBefore < GetCount())
    m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
  else
    m_arrControls.push_back(pControl);
  RefreshIndexes();
  return pControl;
}

CXTPControl *CXTPControls::CreatePopupControl(XTPControlType type, int nId, LPCTSTR lpszCaption,
                                              HMENU hSubMenu, BOOL bRemoveExisting) {
  CXTPControlPopup *pControl = CXTPControlPopup::CreateControlPopup(type);
  XTP_COMMANDBARS_CREATEBAR cs = {};
  cs.bPopup = TRUE;
  cs.lpcstrCaption = lpszCaption;
  cs.nID = static_cast<UINT>(nId);
  CXTPPopupBar *pPopupBar = nullptr;
  if (NotifySite(WM_XTP_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs)) != 0 && cs.pCommandBar)
    pPopupBar = dynamic_cast<CXTPPopupBar *>(cs.pCommandBar);
  const BOOL bOwnBar = pPopupBar == nullptr;
  if (bOwnBar) pPopupBar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
  pPopupBar->SetTitle(cs.lpcstrCaption ? cs.lpcstrCaption : lpszCaption);
  if (hSubMenu) {
    if (bRemoveExisting) pPopupBar->GetControls()->RemoveAll();
    pPopupBar->GetControls()->LoadMenu(hSubMenu);
  }
  pControl->SetCommandBar(pPopupBar);
  // The control holds the bar now; one the site made stays the site's too.
  if (bOwnBar) pPopupBar->InternalRelease();
  return pControl;
}

CXTPControl *CXTPControls::Add(XTPControlType controlType, int nId, LPCTSTR lpszParameter, int nBefore,
                               BOOL bTemporary) {
  CXTPControl *pControl = nullptr;
  switch (controlType) {
  case xtpControlButton:
    pControl = NewCommandControl(nId);
    pControl->SetID(nId);
    break;
  case xtpControlPopup:
  case xtpControlButtonPopup:
  case xtpControlSplitButtonPopup: {
    CString strCaption;
    HMENU hMenu = nId >= 1 ? LoadMenuResourceHandle(static_cast<UINT>(nId)) : nullptr;
    HMENU hSubMenu = hMenu ? ::GetSubMenu(hMenu, 0) : nullptr;
    if (hMenu) {
      wchar_t szText[256] = {};
      ::GetMenuStringW(hMenu, 0, szText, 256, MF_BYPOSITION);
      strCaption = szText;
    }
    pControl = CreatePopupControl(controlType, nId, strCaption, hSubMenu, TRUE);
    pControl->SetCaption(strCaption);
    // The sub-menu was copied into the popup bar: the loaded menu is ours to free.
    if (hMenu) ::DestroyMenu(hMenu);
    if (controlType != xtpControlPopup) pControl->SetID(nId);
    break;
  }
  case xtpControlComboBox:
    pControl = new CXTPControlComboBox;
    pControl->SetID(nId);
    break;
  case xtpControlEdit:
    pControl = new CXTPControlEdit;
    pControl->SetID(nId);
    break;
  case xtpControlLabel:
    pControl = new CXTPControlLabel;
    pControl->SetID(nId);
    break;
  case xtpControlCustom:
    return AddControl(new CXTPControlCustom, nId, lpszParameter, nBefore, bTemporary);
  default:
    ASSERT(FALSE);
    return nullptr;
  }
  pControl->m_controlType = controlType;
  pControl->m_strParameter = lpszParameter ? lpszParameter : L"";
  pControl->m_bTemporary = bTemporary;
  return InsertControl(pControl, nBefore);
}

CXTPControl *CXTPControls::AddControl(CXTPControl *pControl, int nId, LPCTSTR lpszParameter, int nBefore,
                                      BOOL bTemporary) {
  ASSERT(pControl);
  if (!pControl) return nullptr;
  pControl->SetID(nId);
  pControl->m_strParameter = lpszParameter ? lpszParameter : L"";
  pControl->m_bTemporary = bTemporary;
  return InsertControl(pControl, nBefore);
}

CXTPControl *CXTPControls::AddClone(CXTPControl *pControl, int nBefore, BOOL bRecursive) {
  return InsertControl(pControl->Clone(bRecursive), nBefore);
}

void CXTPControls::Remove(CXTPControl *pControl) {
  if (!pControl) return;
  if (m_pParent && m_pParent->GetSelected() == pControl) m_pParent->SetSelected(-1);
  ASSERT(pControl->m_pControls == this);
  int nIndex = pControl->GetIndex();
  if (nIndex >= 0 && nIndex < GetCount() && m_arrControls[static_cast<size_t>(nIndex)] == pControl) {
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
  }
  RefreshIndexes();
}

void CXTPControls::RemoveAt(int nIndex) {
  Remove(GetAt(nIndex));
}

void CXTPControls::RemoveAll() {
  std::vector<CXTPControl *> controls;
  controls.swap(m_arrControls);
  for (CXTPControl *pControl : controls) {
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
  }
}

// ---------------------------------------------------------------------------
// Menus

BOOL CXTPControls::LoadMenu(CMenu *pMenu) {
  return pMenu ? LoadMenu(pMenu->GetSafeHmenu()) : FALSE;
}

BOOL CXTPControls::LoadMenu(HMENU hMenu) {
  if (!hMenu) return FALSE;
  BOOL bBeginGroup = FALSE;
  const int nCount = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < nCount; i++) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_TYPE | MIIM_ID;
    if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_SEPARATOR) || (info.wID == 0 && !::GetSubMenu(hMenu, i))) {
      bBeginGroup = TRUE;
      continue;
    }
    CXTPControl *pControl = AddMenuItem(hMenu, i);
    if (!pControl) continue;
    if (bBeginGroup) pControl->SetBeginGroup(TRUE);
    bBeginGroup = FALSE;
    if (info.fState & MFS_CHECKED) pControl->SetChecked(TRUE);
    if (info.fState & MFS_DISABLED) pControl->SetEnabled(FALSE);
  }
  return TRUE;
}

CXTPControl *CXTPControls::AddMenuItem(CMenu *pMenu, int nIndex) {
  return pMenu ? AddMenuItem(pMenu->GetSafeHmenu(), nIndex) : nullptr;
}

CXTPControl *CXTPControls::AddMenuItem(HMENU hMenu, int nIndex) {
  HMENU hSubMenu = ::GetSubMenu(hMenu, nIndex);
  int nId = static_cast<int>(::GetMenuItemID(hMenu, nIndex));
  if (hSubMenu) nId = 0;
  const BOOL bDefault = static_cast<int>(::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED)) == nIndex;
  if (nId == 0xFF00) return nullptr;

  wchar_t szText[256] = {};
  ::GetMenuStringW(hMenu, static_cast<UINT>(nIndex), szText, 256, MF_BYPOSITION);

  XTP_COMMANDBARS_CREATECONTROL cs;
  cs.nID = nId;
  cs.pControl = nullptr;
  cs.bToolBar = FALSE;
  cs.nIndex = nIndex;
  cs.hMenu = hMenu;
  cs.pCommandBar = m_pParent;
  cs.strCaption = szText;
  cs.controlType = hSubMenu ? xtpControlPopup : xtpControlButton;
  cs.dwFlags = 0;

  CXTPControl *pControl = nullptr;
  if (NotifySite(WM_XTP_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) != 0) pControl = cs.pControl;

  if (!pControl) {
    switch (cs.controlType) {
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup: {
      CString strTitle = CXTPPaintManager::StripAccelerators(cs.strCaption);
      HMENU hLoaded = nullptr;
      if (!hSubMenu && cs.nID > 0) {
        hLoaded = LoadMenuResourceHandle(static_cast<UINT>(cs.nID));
        hSubMenu = hLoaded ? ::GetSubMenu(hLoaded, 0) : nullptr;
      }
      pControl = CreatePopupControl(cs.controlType, cs.nID, strTitle, hSubMenu, FALSE);
      if (hLoaded) ::DestroyMenu(hLoaded);
      break;
    }
    case xtpControlComboBox:
      pControl = new CXTPControlComboBox;
      break;
    case xtpControlEdit:
      pControl = new CXTPControlEdit;
      break;
    default:
      pControl = NewMenuItemControl(static_cast<int>(cs.nID), cs.strCaption);
      break;
    }
  }
  pControl->m_controlType = cs.controlType;
  pControl->m_dwFlags = cs.dwFlags;
  pControl->SetID(cs.nID);
  pControl->SetCaption(cs.strCaption);
  pControl->SetDefaultItem(bDefault);
  m_arrControls.push_back(pControl);
  RefreshIndexes();
  cs.pControl = pControl;
  NotifySite(WM_XTP_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
  return pControl;
}

// ---------------------------------------------------------------------------
// Finding and walking

CXTPControl *CXTPControls::FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const {
  for (CXTPControl *pControl : m_arrControls) {
    if ((type == xtpControlError || pControl->GetType() == type) && (!bVisible || pControl->IsVisible()) &&
        (nId == -1 || pControl->GetID() == nId))
      return pControl;
    if (bRecursive && IsPopupType(pControl->GetType())) {
      CXTPCommandBar *pBar = pControl->GetCommandBar();
      if (pBar && pBar->GetControls()) {
        if (CXTPControl *pFound = pBar->GetControls()->FindControl(type, nId, bVisible, TRUE)) return pFound;
      }
    }
  }
  return nullptr;
}

CXTPControl *CXTPControls::FindControl(int nId) const {
  return FindControl(xtpControlError, nId, FALSE, FALSE);
}

CXTPControl *CXTPControls::HitTest(CPoint point) const {
  for (CXTPControl *pControl : m_arrControls)
    if (pControl->IsVisible() && pControl->GetRect().PtInRect(point)) return pControl;
  return nullptr;
}

int CXTPControls::GetNextIndex(int nIndex, int nDirection, BOOL bKeyboard, BOOL bSkipTemporary,
                               BOOL bSkipCollapsed) const {
  const int nCount = GetCount();
  if (nCount == 0) return -1;
  // A start left over from before the list changed counts as no start.
  if (nIndex < -1 || nIndex >= nCount) nIndex = -1;
  nDirection = nDirection < 0 ? -1 : 1;

  auto fits = [&](const CXTPControl *pControl) {
    DWORD dwIgnored = xtpHideScroll | (bSkipCollapsed ? 0 : xtpHideExpand);
    if (pControl->GetHideFlags() & ~dwIgnored) return FALSE;
    if (bKeyboard && (pControl->GetFlags() & xtpFlagSkipFocus)) return FALSE;
    if (bSkipTemporary && pControl->GetTemporary()) return FALSE;
    return TRUE;
  };

  const int nStart = nIndex;
  int i = (nStart == -1 && nDirection == -1) ? nCount - 1 : nStart + nDirection;
  // Every control is looked at once at most.
  for (int nSteps = 0; nSteps <= nCount; nSteps++) {
    if (i < 0 || i >= nCount) {
      if (nStart == -1) return -1;
      i = i < 0 ? nCount - 1 : 0;
    }
    if (i == nStart) return nStart;
    if (fits(m_arrControls[static_cast<size_t>(i)])) return i;
    i += nDirection;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Copies and customisation

CXTPControls *CXTPControls::Duplicate(BOOL bRecursive) {
  CXTPControls *pCopy = new CXTPControls;
  pCopy->m_pCommandBars = GetCommandBars();
  for (CXTPControl *pControl : m_arrControls)
    if (!pControl->GetTemporary()) pCopy->AddClone(pControl, -1, bRecursive);
  if (m_pOriginalControls) pCopy->m_pOriginalControls = m_pOriginalControls->Duplicate(bRecursive);
  return pCopy;
}

void CXTPControls::CreateOriginalControls() {
  if (m_pOriginalControls) m_pOriginalControls->InternalRelease();
  m_pOriginalControls = nullptr;
  m_pOriginalControls = Duplicate(TRUE);
}

void CXTPControls::SetOriginalControls(CXTPControls *pOriginal) {
  if (m_pOriginalControls == pOriginal) return;
  if (m_pOriginalControls) {
    m_pOriginalControls->RemoveAll();
    m_pOriginalControls->InternalRelease();
  }
  m_pOriginalControls = pOriginal;
}

BOOL CXTPControls::Compare(const CXTPControls *pOther) const {
  if (!pOther) return FALSE;
  int i = 0, j = 0;
  const int n = GetCount(), m = pOther->GetCount();
  for (;;) {
    while (i < n && GetAt(i)->GetTemporary()) i++;
    while (j < m && pOther->GetAt(j)->GetTemporary()) j++;
    if (i >= n || j >= m) return i >= n && j >= m;
    if (!GetAt(i)->Compare(pOther->GetAt(j))) return FALSE;
    i++;
    j++;
  }
}

BOOL CXTPControls::IsChanged() const {
  if (!m_pOriginalControls) return TRUE;
  return !m_pOriginalControls->Compare(this);
}

// ---------------------------------------------------------------------------
// Layout

int CXTPControls::GetVisibleCount(BOOL bIgnoreWraps) const {
  int nCount = 0;
  for (CXTPControl *pControl : m_arrControls) {
    DWORD dwFlags = pControl->GetHideFlags();
    if (!bIgnoreWraps) dwFlags &= ~static_cast<DWORD>(xtpHideWrap);
    if (dwFlags == 0) nCount++;
  }
  return nCount;
}

CSize CXTPControls::CalcDynamicSize(CDC *pDC, int nLength, DWORD dwMode, const CRect &rcBorder, int nWidth) {
  for (int i = GetCount() - 1; i >= 0; i--) GetAt(i)->OnCalcDynamicSize(dwMode);

  CXTPControlsLayout::Records records(m_arrControls.size());
  for (size_t i = 0; i < m_arrControls.size(); i++) {
    CXTPControl *pControl = m_arrControls[i];
    XTP_LAYOUT_RECORD &r = records[i];
    r.bVisible = (pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideWrap)) == 0;
    r.szControl = r.bVisible ? pControl->GetSize(pDC) : CSize(0, 0);
    r.rcControl = pControl->GetRect();
    r.bBeginGroup = pControl->GetBeginGroup();
    r.dwFlags = pControl->GetFlags();
  }
  const int nMRUWidth = m_pParent ? m_pParent->GetMRUWidth() : 0;
  CSize sz = CXTPControlsLayout::Calculate(records, nLength, dwMode, rcBorder, nWidth, nMRUWidth);
  if (dwMode & LM_COMMIT) {
    for (size_t i = 0; i < m_arrControls.size(); i++) {
      CXTPControl *pControl = m_arrControls[i];
      const XTP_LAYOUT_RECORD &r = records[i];
      pControl->SetHideFlag(xtpHideWrap, r.bHide);
      pControl->SetRowRect(r.rcRow);
      if (!r.bHide) pControl->SetRect(r.rcControl);
      pControl->SetWrap(r.bWrap);
    }
  }
  return sz;
}
