// The command bars' layout and options kept in the user's profile between
// runs: where every bar stands, whether the frame's status bar shows, and
// the options with the hidden and used commands.
#include <algorithm>
#include <climits>
#include <memory>

#include "FrameWnd.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPDialogBar.h"
#include "XTPDockBar.h"
#include "XTPPaintManager.h"
#include "XTPDockContext.h"
#include "XTPDockState.h"
#include "XTPMenuBar.h"
#include "XTPPropExchange.h"

namespace {

constexpr UINT kStatusBarId = 59393; // AFX_IDW_STATUS_BAR
constexpr int kMissing = INT_MIN;
// More entries than this in one dock bar are not read (a damaged count).
constexpr int kMaxDockEntries = 2 * CXTPDockState::kMaxStoredBars + 2;

CWnd *FrameStatusBar(CWnd *pSite) {
  CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(pSite);
  if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr) return nullptr;
  HWND hWnd = ::GetDlgItem(pFrame->GetSafeHwnd(), kStatusBarId);
  return hWnd ? CWnd::FromHandle(hWnd) : nullptr;
}

CString DockBarSection(LPCTSTR lpszProfileName, int nIndex) {
  CString strSection;
  strSection.Format(L"%s-DockBar%d", lpszProfileName, nIndex);
  return strSection;
}

// A set of command ids as the profile keeps it: a count (16 bits, or 0xFFFF
// and 32 bits), then each id with the value TRUE, all little-endian.
std::vector<BYTE> StoreCommandSet(const std::set<UINT> &commands) {
  std::vector<BYTE> bytes;
  auto put = [&bytes](DWORD dw, int nBytes) {
    for (int i = 0; i < nBytes; i++) bytes.push_back(static_cast<BYTE>(dw >> (8 * i)));
  };
  const DWORD nCount = static_cast<DWORD>(commands.size());
  if (nCount < 0xFFFF) {
    put(nCount, 2);
  } else {
    put(0xFFFF, 2);
    put(nCount, 4);
  }
  for (UINT nID : commands) {
    put(nID, 4);
    put(TRUE, 4);
  }
  return bytes;
}

// FALSE for bytes that do not hold a whole set; the set is then untouched.
BOOL LoadCommandSet(const BYTE *pData, DWORD nBytes, std::set<UINT> &commands) {
  size_t nPos = 0;
  auto get = [&](int nSize, DWORD &dw) {
    if (nBytes - nPos < static_cast<size_t>(nSize)) return false;
    dw = 0;
    for (int i = 0; i < nSize; i++) dw |= static_cast<DWORD>(pData[nPos + i]) << (8 * i);
    nPos += static_cast<size_t>(nSize);
    return true;
  };
  DWORD nCount = 0;
  if (!get(2, nCount)) return FALSE;
  if (nCount == 0xFFFF && !get(4, nCount)) return FALSE;
  // The count must fit the bytes that follow it.
  if (nCount > (nBytes - nPos) / 8) return FALSE;
  std::set<UINT> loaded;
  for (DWORD i = 0; i < nCount; i++) {
    DWORD nID = 0, bValue = 0;
    get(4, nID);
    get(4, bValue);
    if (bValue) loaded.insert(nID);
  }
  commands.swap(loaded);
  return TRUE;
}

void ExchangeCommandSet(CXTPPropExchange *pPX, LPCTSTR lpszName, std::set<UINT> &commands) {
  if (pPX->IsStoring()) {
    if (commands.empty() && pPX->IsAllowDefaultValues()) {
      // Nothing to store; a set stored before must not come back on loading.
      long lNone = 0;
      PX_Long(pPX, lpszName, lNone, 0);
      return;
    }
    std::vector<BYTE> bytes = StoreCommandSet(commands);
    BYTE *pData = bytes.data();
    DWORD nBytes = static_cast<DWORD>(bytes.size());
    PX_Blob(pPX, lpszName, pData, nBytes);
    return;
  }
  BYTE *pData = nullptr;
  DWORD nBytes = 0;
  if (PX_Blob(pPX, lpszName, pData, nBytes) && pData != nullptr) LoadCommandSet(pData, nBytes, commands);
  delete[] pData;
}

} // namespace

// The profile (bUserOptions) keeps what the user chose in the Options page
// and the commands used; an archive also carries the program's own settings,
// among them the set of commands it hides, which a profile must not replace.
void CXTPCommandBarsOptions::DoPropExchange(CXTPPropExchange *pPX, BOOL bUserOptions) {
  pPX->UseDefaultOnLoad(FALSE);
  XTP_COMMANDBARS_ICONSINFO iconsNone = {FALSE, FALSE, FALSE};
  CXTPPaintManager *pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : nullptr;
  XTP_COMMANDBARS_ICONSINFO *pIcons = pPaintManager ? pPaintManager->GetIconsInfo() : &iconsNone;

  long lSchema = 8;
  PX_Long(pPX, L"Schema", lSchema);
  if (pPX->IsStoring()) lSchema = 8;
  PX_Bool(pPX, L"AlwaysShowFullMenus", bAlwaysShowFullMenus, TRUE);
  PX_Bool(pPX, L"ShowFullAfterDelay", bShowFullAfterDelay, TRUE);
  PX_Bool(pPX, L"ToolBarScreenTips", bToolBarScreenTips, TRUE);
  PX_Bool(pPX, L"ToolBarAccelTips", bToolBarAccelTips, FALSE);
  PX_Bool(pPX, L"LargeIcons", bLargeIcons, FALSE);
  if (lSchema > 7) ExchangeCommandSet(pPX, L"UsedCommands", m_mapUsedCommands);
  if (lSchema > 7 || bUserOptions) PX_Int(pPX, L"Animation", animationType, 0);
  if (bUserOptions) return;
  PX_Bool(pPX, L"SyncFloatingBars", bSyncFloatingBars, TRUE);
  PX_Bool(pPX, L"ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
  PX_Size(pPX, L"IconsSize", szIcons, CSize(0, 0));
  PX_Size(pPX, L"LargeIconsSize", szLargeIcons, CSize(0, 0));
  ExchangeCommandSet(pPX, L"HiddenCommands", m_mapHiddenCommands);
  PX_Bool(pPX, L"IconsWithShadow", pIcons->bIconsWithShadow, FALSE);
  PX_Bool(pPX, L"UseDisabledIcons", pIcons->bUseDisabledIcons, FALSE);
  PX_Bool(pPX, L"UseFadedIcons", pIcons->bUseFadedIcons, FALSE);
  if (lSchema > 7) {
    PX_Bool(pPX, L"SyncFloatingBars", bSyncFloatingBars, TRUE);
    PX_Bool(pPX, L"ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
    PX_Bool(pPX, L"DblClickFloat", bDblClickFloat, FALSE);
    PX_Bool(pPX, L"ShowTextBelowIcons", bShowTextBelowIcons, FALSE);
    PX_Bool(pPX, L"AltDragCustomization", bAltDragCustomization, TRUE);
    PX_Bool(pPX, L"AutoHideUnusedPopups", bAutoHideUnusedPopups, TRUE);
    PX_Size(pPX, L"PopupIconsSize", szPopupIcons, CSize(16, 16));
  }
}

void CXTPCommandBarsOptions::Serialize(CArchive &ar) {
  CXTPPropExchangeArchive px(ar);
  DoPropExchange(&px, FALSE);
}

// --- Options in the profile ------------------------------------------------

namespace {

CString OptionsSection(LPCTSTR lpszProfileName) {
  CString strSection;
  strSection.Format(L"%.255s-Options", lpszProfileName);
  return strSection;
}

} // namespace

void CXTPCommandBars::SaveOptions(LPCTSTR lpszProfileName) {
  HKEY hAppKey = AfxGetApp() ? AfxGetApp()->GetAppRegistryKey() : nullptr;
  if (hAppKey == nullptr) return;
  {
    CXTPPropExchangeRegistry px(FALSE, hAppKey, OptionsSection(lpszProfileName));
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  ::RegCloseKey(hAppKey);
}

void CXTPCommandBars::LoadOptions(LPCTSTR lpszProfileName) {
  HKEY hAppKey = AfxGetApp() ? AfxGetApp()->GetAppRegistryKey() : nullptr;
  if (hAppKey == nullptr) return;
  {
    CXTPPropExchangeRegistry px(TRUE, hAppKey, OptionsSection(lpszProfileName));
    // What the profile does not hold stays as the program set it (the
    // exchange itself says so).
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  ::RegCloseKey(hAppKey);
}

// --- Bar state -------------------------------------------------------------

void CXTPCommandBars::GetDockState(CXTPDockState &state) const {
  state.Clear();
  for (CXTPCommandBar *pBar : m_arrBars) {
    CXTPBarInfo *pInfo = state.Add();
    pInfo->m_nBarID = static_cast<UINT>(pBar->GetBarID());
    pInfo->m_pBar = pBar;
    pInfo->m_bVisible = pBar->IsVisible();
    pInfo->m_nMRUWidth = pBar->GetMRUWidth();
    pInfo->m_bFloating = pBar->GetPosition() == xtpBarFloating;
    auto *pToolBar = dynamic_cast<CXTPToolBar *>(pBar);
    CXTPDockContext *pContext = pToolBar ? pToolBar->GetDockingContext() : nullptr;
    if (pContext) {
      // Where it was docked and floated last: a double click after the
      // restart takes it back there.
      pInfo->m_uMRUDockID = static_cast<UINT>(pContext->m_uMRUDockID);
      pInfo->m_rectMRUDockPos = pContext->m_rectMRUDockPos;
      pInfo->m_ptMRUFloatPos = pContext->m_ptMRUFloatPos;
    }
    if (pBar->GetSafeHwnd() != nullptr) {
      CRect rc;
      pBar->GetWindowRect(&rc);
      if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar)) {
        pDockBar->ScreenToClient(&rc);
        // A docked bar's last dock place is where it stands now.
        pInfo->m_uMRUDockID = static_cast<UINT>(pDockBar->GetPosition());
        pInfo->m_rectMRUDockPos = rc;
      }
      pInfo->m_pointPos = rc.TopLeft();
      if (pInfo->m_bFloating) pInfo->m_ptMRUFloatPos = rc.TopLeft();
    }
    pInfo->m_bDialogBar = pBar->IsDialogBar();
    if (auto *pDialogBar = dynamic_cast<CXTPDialogBar *>(pBar)) {
      pInfo->m_szDockingClient = pDialogBar->GetDockingClientSize();
      pInfo->m_szFloatingClient = pDialogBar->GetFloatingClientSize();
    }
  }
}

void CXTPCommandBars::SetDockState(const CXTPDockState &state) {
  for (int i = 0; i < state.GetCount(); i++) {
    CXTPBarInfo *pInfo = state.GetAt(i);
    CXTPToolBar *pBar = GetToolBar(pInfo->m_nBarID);
    pInfo->m_pBar = pBar;
    if (pBar == nullptr) continue;
    if (pInfo->m_bFloating) {
      if (!FloatCommandBar(pBar)) continue;
    } else {
      if (!pBar->CreateFloatingWindow(m_pSite, FALSE)) continue;
      // A bar that floated and that no stored dock bar lists goes back to its
      // last side rather than stay a child of the frame.
      if (CXTPDockBar::FromBar(pBar) == nullptr) {
        const UINT nSide = pInfo->m_uMRUDockID < 4 ? pInfo->m_uMRUDockID : 0;
        if (CXTPDockBar *pDockBar = GetDockBar(static_cast<int>(nSide))) pDockBar->DockCommandBar(pBar);
      }
    }
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!pInfo->m_bFloating) nFlags |= SWP_NOSIZE;
    if (!pInfo->m_bFloating && CXTPDockBar::FromBar(pBar) == nullptr) nFlags |= SWP_NOMOVE;
    pBar->SetMRUWidth(pInfo->m_nMRUWidth);
    if (auto *pDialogBar = dynamic_cast<CXTPDialogBar *>(pBar); pDialogBar && pInfo->m_bDialogBar) {
      pDialogBar->SetDockingClientSize(pInfo->m_szDockingClient);
      pDialogBar->SetFloatingClientSize(pInfo->m_szFloatingClient);
    }
    if (CXTPDockContext *pContext = pBar->GetDockingContext()) {
      pContext->m_uMRUDockID = static_cast<int>(pInfo->m_uMRUDockID < 4 ? pInfo->m_uMRUDockID : 0);
      pContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
      pContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    pBar->SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0,
                       nFlags | (pInfo->m_bVisible > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    // The row layout places a docked bar where it stood along its row, so
    // bars of one row keep their order and their gaps.
    if (CXTPDockBar *pDockBar = pInfo->m_bFloating ? nullptr : CXTPDockBar::FromBar(pBar)) {
      CRect rc;
      pBar->GetWindowRect(&rc);
      pDockBar->SetBarPlace(pBar, CRect(pInfo->m_pointPos, rc.Size()));
    }
    pBar->SetVisible(pInfo->m_bVisible > 0);
    if (pInfo->m_bFloating) pBar->OnRecalcLayout();
  }
}

void CXTPCommandBars::SaveDockBars(LPCTSTR lpszProfileName) const {
  CWinApp *pApp = AfxGetApp();
  for (int i = 0; i < 4; i++) {
    const CString strSection = DockBarSection(lpszProfileName, i);
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    if (m_pDocks[i] == nullptr) continue;
    const std::vector<CXTPCommandBar *> &entries = m_pDocks[i]->GetEntries();
    if (entries.size() <= 1) continue;
    int nWritten = 0, nPrevious = -1;
    for (CXTPCommandBar *pBar : entries) {
      const int nID = pBar ? pBar->GetBarID() : 0;
      if (nID == 0 && nPrevious == 0) continue;
      CString strEntry;
      strEntry.Format(L"Bar#%d", nWritten++);
      pApp->WriteProfileInt(strSection, strEntry, nID);
      nPrevious = nID;
    }
    pApp->WriteProfileInt(strSection, L"Bars", nWritten);
  }
  if (CWnd *pStatusBar = FrameStatusBar(m_pSite)) {
    if (!pStatusBar->IsWindowVisible())
      pApp->WriteProfileInt(lpszProfileName, L"StatusBar", 0);
    else
      pApp->WriteProfileString(lpszProfileName, L"StatusBar", nullptr);
  }
}

void CXTPCommandBars::LoadDockBars(LPCTSTR lpszProfileName) {
  CWinApp *pApp = AfxGetApp();
  for (int i = 0; i < 4; i++) {
    const CString strSection = DockBarSection(lpszProfileName, i);
    const int nBars = static_cast<int>(pApp->GetProfileInt(strSection, L"Bars", 0));
    if (nBars <= 1 || m_pDocks[i] == nullptr) continue;
    std::vector<CXTPCommandBar *> entries;
    for (int k = 0; k < nBars && k < kMaxDockEntries; k++) {
      CString strEntry;
      strEntry.Format(L"Bar#%d", k);
      const int nID = static_cast<int>(pApp->GetProfileInt(strSection, strEntry, kMissing));
      if (nID == kMissing) break;
      entries.push_back(nID != 0 ? GetToolBar(static_cast<UINT>(nID)) : nullptr);
    }
    m_pDocks[i]->LoadEntries(entries);
  }
  CWnd *pStatusBar = FrameStatusBar(m_pSite);
  if (pStatusBar != nullptr && pApp->GetProfileInt(lpszProfileName, L"StatusBar", 1) == 0)
    static_cast<CFrameWnd *>(m_pSite)->ShowControlBar(pStatusBar, FALSE, FALSE);
}

void CXTPCommandBars::SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized) {
  if (AfxGetApp() == nullptr) return;
  CXTPDockState state;
  GetDockState(state);
  state.SaveState(lpszProfileName);
  SaveDockBars(lpszProfileName);
  if (IsCustomizeAvail()) SaveControlsArchive(lpszProfileName, bOnlyCustomized);
  // Storing switched the menu bar back to the default menu.
  CXTPMenuBar *pMenuBar = dynamic_cast<CXTPMenuBar *>(GetMenuBar());
  CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(m_pSite);
  if (pMenuBar && pMenuBar->IsFrameMenuRefreshNeeded() && pFrame && pFrame->GetSafeHwnd())
    pFrame->OnUpdateFrameMenu(nullptr);
  m_pOptions->bDirtyState = FALSE;
}

void CXTPCommandBars::LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent) {
  if (AfxGetApp() == nullptr) return;
  if (IsCustomizeAvail()) LoadControlsArchive(lpszProfileName, bSilent);
  CXTPDockState state;
  state.LoadState(lpszProfileName);
  LoadDockBars(lpszProfileName);
  SetDockState(state);
  RecalcFrameLayout(TRUE);
  m_pOptions->bDirtyState = FALSE;
}
