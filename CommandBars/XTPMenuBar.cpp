#include "XTPMenuBar.h"

#include "FrameWnd.h"
#include "Menu.h"
#include "XTPCommandBars.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"

IMPLEMENT_DYNCREATE(CXTPMenuBar, CXTPToolBar)

CXTPMenuBar::CXTPMenuBar() {
  m_barType = xtpBarTypeMenuBar;
}

CXTPMenuBar::~CXTPMenuBar() {
  UnhookSite();
  if (m_hMenuFrame != nullptr) ::DestroyMenu(m_hMenuFrame);
  m_hMenuFrame = nullptr;
}

void CXTPMenuBar::UnhookSite() {
  if (m_hWndSite != nullptr) XTPHookManager()->RemoveHook(m_hWndSite, this);
  m_hWndSite = nullptr;
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

  // The frame tracks the menu it loaded as its default menu and would destroy
  // it, or put it back on the window, while the bar holds it: it is handed
  // over so the bar is its only owner.
  const HMENU hMenu = ::GetMenu(m_hWndSite);
  if (hMenu != nullptr) {
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
  return CXTPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
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
