#include "XTPMenuBar.h"

#include "Dc.h"
#include "DocTemplate.h"
#include "Document.h"
#include "FrameWnd.h"
#include "MDIFrameWnd.h"
#include "Menu.h"
#include "XTPCommandBars.h"
#include "XTPHookManager.h"
#include "XTPImageManager.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

// ---- the system buttons of a maximised child

CXTPMenuBarMDIButton::CXTPMenuBarMDIButton(int nId, LPCTSTR lpszGlyph) {
  m_nId = nId;
  m_dwFlags |= 0x1B;
  SetCaption(lpszGlyph);
  // Not part of the menu: customisation and comparisons pass over them.
  SetTemporary(TRUE);
}

UINT CXTPMenuBarMDIButton::GetSysCommand() const {
  if (m_nId == XTP_ID_MENUBAR_CLOSE) return SC_CLOSE;
  if (m_nId == XTP_ID_MENUBAR_RESTORE) return SC_RESTORE;
  return SC_MINIMIZE;
}

void CXTPMenuBarMDIButton::OnExecute() {
  auto *pMenuBar = dynamic_cast<CXTPMenuBar *>(m_pParent);
  HWND hWndChild = pMenuBar != nullptr ? pMenuBar->GetActiveMdiChild() : nullptr;
  ASSERT(hWndChild != nullptr);
  // Posted: the child may go away, and this button with it.
  if (hWndChild != nullptr) ::PostMessageW(hWndChild, WM_SYSCOMMAND, GetSysCommand(), 0);
}

void CXTPMenuBarMDIButton::Draw(CDC *pDC) {
  if (CXTPPaintManager *pPaintManager = GetPaintManager()) pPaintManager->DrawControlEntry(pDC, this);
  LOGFONTW lf = {};
  const int nTenths = ::MulDiv(80, 96, pDC->GetDeviceCaps(LOGPIXELSX));
  lf.lfHeight = -::MulDiv(nTenths, pDC->GetDeviceCaps(LOGPIXELSY), 720);
  lf.lfCharSet = SYMBOL_CHARSET;
  wcscpy(lf.lfFaceName, L"Marlett");
  HFONT hFont = ::CreateFontIndirectW(&lf);
  HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), hFont);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOld = pDC->SetTextColor(::GetSysColor(GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  CRect rc = GetRect();
  const CString strGlyph = GetCaption();
  ::DrawTextW(pDC->GetSafeHdc(), strGlyph, strGlyph.GetLength(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  pDC->SetTextColor(clrOld);
  pDC->SetBkMode(nOldMode);
  ::SelectObject(pDC->GetSafeHdc(), hOld);
  ::DeleteObject(hFont);
}

void CXTPMenuBarMDISysItem::OnExecute() {
  CXTPReferenceHold hold(this);
  if (m_pParent != nullptr) m_pParent->GetRootParent()->OnTrackLost();
  if (::IsWindow(m_hWndChild)) ::PostMessageW(m_hWndChild, WM_SYSCOMMAND, static_cast<WPARAM>(m_nId), 0);
}

CXTPMenuBarMDIMenuIcon::CXTPMenuBarMDIMenuIcon(HWND hWndChild, HMENU hSysMenu) {
  m_nId = XTP_ID_MENUBAR_SYSMENU;
  m_controlType = xtpControlPopup;
  m_dwFlags |= 0x18;
  SetCaption(L"-");
  SetTemporary(TRUE);
  SetChild(hWndChild, hSysMenu);
}

CXTPMenuBarMDIMenuIcon::~CXTPMenuBarMDIMenuIcon() {
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
}

void CXTPMenuBarMDIMenuIcon::SetChild(HWND hWndChild, HMENU hSysMenu) {
  m_hWndChild = hWndChild;
  m_hSysMenu = hSysMenu;
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
  m_hIcon = nullptr;
  if (hWndChild != nullptr) {
    const HICON hIcon = CXTPMenuBar::GetChildIcon(hWndChild);
    if (hIcon != nullptr) m_hIcon = static_cast<HICON>(::CopyImage(hIcon, IMAGE_ICON, 16, 16, 0));
  }
  RebuildPopup();
}

void CXTPMenuBarMDIMenuIcon::RebuildPopup() {
  CXTPCommandBars *pCommandBars = m_pParent != nullptr ? m_pParent->GetCommandBars() : nullptr;
  auto *pPopup = new CXTPMenuBarMDIPopupBar;
  pPopup->SetCommandBars(pCommandBars);
  pPopup->SetCustomizable(FALSE);
  CXTPControls *pControls = pPopup->GetControls();
  const int nCount = ::IsMenu(m_hSysMenu) ? ::GetMenuItemCount(m_hSysMenu) : 0;
  const int nDefault =
      ::IsMenu(m_hSysMenu) ? static_cast<int>(::GetMenuDefaultItem(m_hSysMenu, TRUE, GMDI_USEDISABLED)) : -1;
  BOOL bBeginGroup = FALSE;
  for (int i = 0; i < nCount; i++) {
    const UINT nId = ::GetMenuItemID(m_hSysMenu, i);
    if (nId == 0) {
      bBeginGroup = TRUE;
      continue;
    }
    CXTPControl *pControl = nullptr;
    if (nId >= 0xF000 && nId < 0xF1F0) {
      wchar_t szText[256] = {};
      ::GetMenuStringW(m_hSysMenu, i, szText, 256, MF_BYPOSITION);
      pControl = pControls->AddControl(new CXTPMenuBarMDISysItem(m_hWndChild), static_cast<int>(nId));
      pControl->SetFlags(pControl->GetFlags() | xtpFlagManualUpdate);
      pControl->SetCaption(szText);
      CString strDescription;
      if (strDescription.LoadString(0xEF00 + ((nId - 0xF000) >> 4))) pControl->SetDescription(strDescription);
      pControl->SetDefaultItem(nDefault == i);
      pControl->SetEnabled((::GetMenuState(m_hSysMenu, i, MF_BYPOSITION) & MF_DISABLED) == 0);
    } else {
      pControl = pControls->AddMenuItem(m_hSysMenu, i);
    }
    if (pControl != nullptr && bBeginGroup) pControl->SetBeginGroup(TRUE);
    bBeginGroup = FALSE;
  }
  SetCommandBar(pPopup);
  pPopup->InternalRelease();
}

void CXTPMenuBarMDIMenuIcon::OnSetPopup(BOOL bPopup) {
  // The system menu's states change with the child's (restore is off until
  // it is maximised): read it again each time it opens.
  if (bPopup) RebuildPopup();
  CXTPControlPopup::OnSetPopup(bPopup);
}

void CXTPMenuBarMDIMenuIcon::Draw(CDC *pDC) {
  if (m_hIcon == nullptr) return;
  const CRect rc = GetRect();
  ::DrawIconEx(pDC->GetSafeHdc(), rc.left, rc.top, m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
}

// ---- the menu bar

IMPLEMENT_SERIAL(CXTPMenuBar, CXTPToolBar, VERSIONABLE_SCHEMA | 8)

BEGIN_MESSAGE_MAP(CXTPMenuBar, CXTPToolBar)
ON_WM_TIMER()
END_MESSAGE_MAP()

CXTPMenuBar::CXTPMenuBar() {
  m_barType = xtpBarTypeMenuBar;
}

CXTPMenuBar::~CXTPMenuBar() {
  UnhookSite();
  ReleaseTemplateMenus();
  if (m_hMenuFrame != nullptr) ::DestroyMenu(m_hMenuFrame);
  m_hMenuFrame = nullptr;
}

void CXTPMenuBar::UnhookSite() {
  if (m_hWndSite != nullptr) XTPHookManager()->RemoveHook(m_hWndSite, this);
  if (m_hWndMdiClient != nullptr) XTPHookManager()->RemoveHook(m_hWndMdiClient, this);
  if (m_hWndActiveChild != nullptr) XTPHookManager()->RemoveHook(m_hWndActiveChild, this);
  m_hWndSite = m_hWndMdiClient = m_hWndActiveChild = nullptr;
  m_bMdiApp = FALSE;
}

void CXTPMenuBar::ReleaseTemplateMenus() {
  for (auto &entry : m_mapTemplates) {
    entry.second->RemoveAll();
    entry.second->InternalRelease();
  }
  m_mapTemplates.clear();
}

BOOL CXTPMenuBar::LoadMenu(UINT nIDResource) {
  ASSERT(GetControlCount() == 0);
  if (nIDResource != 0) {
    CMenu menu;
    if (!menu.LoadMenu(nIDResource)) return FALSE;
    if (!CXTPCommandBar::LoadMenu(&menu, TRUE)) return FALSE;
    m_nIDResource = nIDResource;
    m_nIDCurrentMenu = nIDResource;
  }
  const HWND hWndSite = GetOwnerSite();
  if (hWndSite == nullptr || !::IsWindow(hWndSite)) return TRUE;
  UnhookSite();
  m_hWndSite = hWndSite;
  XTPHookManager()->SetHook(m_hWndSite, this);
  CWnd *pSiteWnd = CWnd::FromHandlePermanent(m_hWndSite);
  if (pSiteWnd != nullptr && pSiteWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
    m_bMdiApp = TRUE;
    m_hWndMdiClient = static_cast<CMDIFrameWnd *>(pSiteWnd)->m_hWndMDIClient;
    if (m_hWndMdiClient != nullptr) XTPHookManager()->SetHook(m_hWndMdiClient, this);
  }
  if (m_pCommandBars != nullptr) {
    static const UINT kSysCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    if (CXTPImageManager *pImageManager = m_pCommandBars->GetImageManager())
      pImageManager->SetIconsFromBitmap(XTP_IDB_MENUBAR_SYSBUTTONS, kSysCommands, 4, CSize(16, 16));
  }

  // The frame tracks the menu it loaded as its default menu and would destroy
  // it, or put it back on the window, while the bar holds it: it is handed
  // over so the bar is its only owner.
  // A child window has no menu: what GetMenu answers for it is its id.
  const BOOL bChildSite = (::GetWindowLongW(m_hWndSite, GWL_STYLE) & WS_CHILD) != 0;
  const HMENU hMenu = bChildSite ? nullptr : ::GetMenu(m_hWndSite);
  if (hMenu != nullptr && ::IsMenu(hMenu)) {
    CWnd *pSite = CWnd::FromHandlePermanent(m_hWndSite);
    if (pSite != nullptr && pSite->IsFrameWnd()) static_cast<CFrameWnd *>(pSite)->HandOffMenu(hMenu);
    ::SetMenu(m_hWndSite, nullptr);
    if (m_hMenuFrame != nullptr && m_hMenuFrame != hMenu) ::DestroyMenu(m_hMenuFrame);
    m_hMenuFrame = hMenu;
  }
  return TRUE;
}

int CXTPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) {
  // Alt or F10 without a character: the bar takes the keyboard instead of the
  // system's menu loop.
  if (nMessage == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
    CXTPMouseManager *pMouse = XTPGetMouseManager();
    if (IsVisible() && !(pMouse && pMouse->IsMouseLocked()) && ::GetKeyState(VK_SHIFT) >= 0 &&
        !IsCustomizeMode()) {
      CXTPReferenceHold hold(HoldableThis());
      if (m_pCommandBars != nullptr) {
        m_pCommandBars->ActivateBar(this, 0);
      } else {
        SetTrackingMode(TRUE, TRUE, TRUE);
      }
      lResult = 0;
      return xtpHookHandled;
    }
  }
  switch (nMessage) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    if (hWnd == nullptr || hWnd != m_hWndActiveChild) break;
    [[fallthrough]];
  case WM_MDICREATE:
  case WM_MDIDESTROY:
  case WM_MDIACTIVATE:
    // The buttons follow once the change has settled.
    if (IsWindowAlive()) ::PostMessageW(m_hWnd, WM_TIMER, kRefreshMdiTimerId, 0);
    break;
  case WM_MDISETMENU:
    if (IsVisible()) {
      const HMENU hMenu = reinterpret_cast<HMENU>(wParam);
      if (!(m_dwFlags & xtpFlagIgnoreSetMenuMessage) && (hMenu != nullptr || m_hMenuFrame != nullptr))
        SwitchMenu(hMenu != nullptr ? hMenu : m_hMenuFrame);
      if (m_hWndSite != nullptr) ::SetMenu(m_hWndSite, nullptr);
      RefreshMdiButtons();
      lResult = 0;
      return xtpHookHandled;
    }
    // A hidden bar still keeps the native menu off the frame.
    if (m_hWndSite != nullptr && ::GetMenu(m_hWndSite) == nullptr) {
      lResult = 0;
      return xtpHookHandled;
    }
    break;
  }
  return CXTPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void CXTPMenuBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kRefreshMdiTimerId) {
    RefreshMdiButtons();
    return;
  }
  CXTPCommandBar::OnTimer(nIDEvent);
}

HWND CXTPMenuBar::GetActiveMdiChild(BOOL *pbMaximized) const {
  BOOL bMaximized = FALSE;
  HWND hWndChild = nullptr;
  if (m_bMdiApp && ::IsWindow(m_hWndMdiClient)) {
    hWndChild = reinterpret_cast<HWND>(
        ::SendMessageW(m_hWndMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
    if (hWndChild != nullptr && !::IsWindow(hWndChild)) hWndChild = nullptr;
  }
  if (pbMaximized != nullptr) *pbMaximized = hWndChild != nullptr && bMaximized;
  return hWndChild;
}

void CXTPMenuBar::HookActiveChild(HWND hWndChild) {
  // A destroyed child took its hook with it; its handle may come back as
  // another window's.
  if (m_hWndActiveChild != nullptr && !::IsWindow(m_hWndActiveChild)) m_hWndActiveChild = nullptr;
  if (hWndChild == m_hWndActiveChild) return;
  if (m_hWndActiveChild != nullptr) XTPHookManager()->RemoveHook(m_hWndActiveChild, this);
  m_hWndActiveChild = hWndChild;
  if (m_hWndActiveChild != nullptr) XTPHookManager()->SetHook(m_hWndActiveChild, this);
}

void CXTPMenuBar::RefreshMdiButtons() {
  if (!m_bMdiApp) return;
  BOOL bMaximized = FALSE;
  HWND hWndChild = GetActiveMdiChild(&bMaximized);
  HookActiveChild(hWndChild);
  if (IsVisible()) UpdateSystemButtons(hWndChild, bMaximized);
}

void CXTPMenuBar::UpdateSystemButtons(HWND hWndChild, BOOL bMaximized) {
  const DWORD dwStyle = hWndChild != nullptr ? static_cast<DWORD>(::GetWindowLongW(hWndChild, GWL_STYLE)) : 0;
  BOOL bChanged = FALSE;

  auto *pIcon = static_cast<CXTPMenuBarMDIMenuIcon *>(m_pControls->FindControl(XTP_ID_MENUBAR_SYSMENU));
  HMENU hSysMenu =
      bMaximized && (m_dwFlags & xtpFlagAddMDISysPopup) ? ::GetSystemMenu(hWndChild, FALSE) : nullptr;
  if (hSysMenu != nullptr && ::IsMenu(hSysMenu)) {
    if (pIcon == nullptr) {
      CXTPControl *pNew = m_pControls->AddControl(new CXTPMenuBarMDIMenuIcon(nullptr, nullptr),
                                                  XTP_ID_MENUBAR_SYSMENU, L"", 0, TRUE);
      pIcon = static_cast<CXTPMenuBarMDIMenuIcon *>(pNew);
      pIcon->SetCaption(L"");
      pIcon->SetChild(hWndChild, hSysMenu); // now with the bar's command bars
      bChanged = TRUE;
    } else if (pIcon->GetSysMenu() != hSysMenu || pIcon->GetChild() != hWndChild) {
      pIcon->SetChild(hWndChild, hSysMenu);
      Redraw();
    }
  } else if (pIcon != nullptr) {
    m_pControls->Remove(pIcon);
    bChanged = TRUE;
  }

  struct SystemButton {
    int nId;
    DWORD dwStyleNeeded;
    DWORD dwHideFlag;
    LPCTSTR lpszGlyph;
  };
  static const SystemButton kButtons[] = {
      {XTP_ID_MENUBAR_MINIMIZE, WS_MINIMIZEBOX, xtpFlagHideMinimizeBox, L"0"},
      {XTP_ID_MENUBAR_RESTORE, WS_MAXIMIZEBOX, xtpFlagHideMaximizeBox, L"2"},
      {XTP_ID_MENUBAR_CLOSE, 0, xtpFlagHideClose, L"r"},
  };
  for (const SystemButton &button : kButtons) {
    CXTPControl *pButton = m_pControls->FindControl(button.nId);
    const BOOL bWanted = bMaximized && (dwStyle & button.dwStyleNeeded) == button.dwStyleNeeded &&
                         !(m_dwFlags & button.dwHideFlag);
    if (pButton == nullptr && bWanted) {
      m_pControls->AddControl(new CXTPMenuBarMDIButton(button.nId, button.lpszGlyph), button.nId,
                              button.lpszGlyph, -1, TRUE);
      bChanged = TRUE;
    } else if (pButton != nullptr && !bMaximized) {
      m_pControls->Remove(pButton);
      bChanged = TRUE;
    }
  }
  if (bChanged) OnRecalcLayout();
}

void CXTPMenuBar::AttachControls(CXTPControls *pControls) {
  m_pControls = pControls;
  m_pControls->SetParent(this);
  m_pControls->RefreshIndexes();
  OnControlsChanged();
}

void CXTPMenuBar::SwitchMenu(HMENU hMenu) {
  // The command bars hold the one rule for the menu shown now, so a program
  // that replaces it changes the menu bar too.
  UINT nId = m_nIDResource;
  if (hMenu != m_hMenuFrame) nId = m_pCommandBars != nullptr ? m_pCommandBars->GetActiveMenuID() : 0;
  if (nId == 0 || m_nIDCurrentMenu == 0 || nId == m_nIDCurrentMenu) return;
  if (!::IsMenu(hMenu)) return;
  CMenu menu;
  menu.Attach(hMenu);
  if (m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeAvail()) {
    // The shown list waits in the map for its document type to come back,
    // customisations and all.
    CXTPReferenceHold hold(HoldableThis());
    SetTrackingMode(0, TRUE, FALSE);
    auto old = m_mapTemplates.find(m_nIDCurrentMenu);
    if (old != m_mapTemplates.end()) {
      old->second->RemoveAll();
      old->second->InternalRelease();
      m_mapTemplates.erase(old);
    }
    m_pControls->SetParent(nullptr);
    m_mapTemplates[m_nIDCurrentMenu] = m_pControls;
    m_pControls = nullptr;
    auto stored = m_mapTemplates.find(nId);
    if (stored != m_mapTemplates.end()) {
      CXTPControls *pControls = stored->second;
      m_mapTemplates.erase(stored);
      AttachControls(pControls);
      if (!IsCustomizeMode()) {
        // The original set follows the menu as the program has it now.
        auto *pOriginal = new CXTPControls;
        pOriginal->SetCommandBars(m_pCommandBars);
        pOriginal->LoadMenu(&menu);
        m_pControls->SetOriginalControls(pOriginal);
      }
    } else {
      auto *pControls = new CXTPControls;
      pControls->SetCommandBars(m_pCommandBars);
      AttachControls(pControls);
      m_pControls->LoadMenu(&menu);
      m_pControls->CreateOriginalControls();
    }
  } else {
    CXTPCommandBar::LoadMenu(&menu, TRUE);
  }
  menu.Detach();
  OnRecalcLayout();
  m_nIDCurrentMenu = nId;
}

void CXTPMenuBar::Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive) {
  CXTPToolBar::Copy(pCommandBar, bRecursive);
  auto *pMenuBar = dynamic_cast<CXTPMenuBar *>(pCommandBar);
  if (pMenuBar == nullptr) return;
  m_nIDResource = pMenuBar->m_nIDResource;
  ReleaseTemplateMenus();
  for (const auto &entry : pMenuBar->m_mapTemplates)
    m_mapTemplates[entry.first] = entry.second->Duplicate(TRUE);
}

CXTPCommandBar *CXTPMenuBar::Clone(BOOL bRecursive) {
  auto *pBar = static_cast<CXTPMenuBar *>(RUNTIME_CLASS(CXTPMenuBar)->CreateObject());
  pBar->Copy(this, bRecursive);
  return pBar;
}

void CXTPMenuBar::Reset() {
  CXTPReferenceHold hold(HoldableThis());
  if (!m_mapTemplates.empty() || !m_pControls->GetOriginalControls()) {
    if (m_nIDCurrentMenu != 0 && AskReset()) {
      CMenu menu;
      VERIFY(menu.LoadMenu(m_nIDCurrentMenu));
      SetTrackingMode(0, TRUE, FALSE);
      CXTPCommandBar::LoadMenu(&menu, TRUE);
    }
  } else if (IsCustomizeMode()) {
    CXTPToolBar::Reset();
  }
  RefreshMdiButtons();
  OnIdleUpdateCmdUI(TRUE);
  OnRecalcLayout();
}

void CXTPMenuBar::PrepareForStore() {
  m_bDirtyMenu = FALSE;
  if (!m_mapTemplates.empty()) {
    SwitchMenu(m_hMenuFrame);
    m_bDirtyMenu = TRUE;
  }
  for (auto it = m_mapTemplates.begin(); it != m_mapTemplates.end();) {
    if (!it->second->IsChanged()) {
      it->second->RemoveAll();
      it->second->InternalRelease();
      it = m_mapTemplates.erase(it);
    } else {
      ++it;
    }
  }
}

HICON CXTPMenuBar::GetChildIcon(HWND hWndChild) {
  HICON hIcon = nullptr;
  // Any other window may give the message a meaning of its own.
  CWnd *pChild = CWnd::FromHandlePermanent(hWndChild);
  if (pChild != nullptr && pChild->IsFrameWnd() && (pChild->GetStyle() & WS_CHILD)) {
    hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, XTP_WM_QUERYCHILDICON, 0, 0));
  }
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, WM_GETICON, ICON_SMALL, 0));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndChild, WM_GETICON, ICON_BIG, 0));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWndChild, GCLP_HICONSM));
  if (hIcon == nullptr) hIcon = ::LoadIconW(nullptr, IDI_WINLOGO);
  return hIcon;
}
