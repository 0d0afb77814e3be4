// Popup menus run modally for a caller: TrackPopupMenu and the toolbars
// context menu.
#include "XTPCommandBars.h"

#include "WinThread.h"
#include "XTPDrawHelpers.h"
#include "XTPFrameWnd.h"
#include "XTPImageManager.h"
#include "XTPControlButton.h"
#include "XTPControlToolbars.h"
#include "XTPMouseManager.h"
#include "XTPPopupBar.h"

#ifndef WM_KICKIDLE
#define WM_KICKIDLE 0x036A
#endif

CXTPCommandBars::GetMessageFunction CXTPCommandBars::s_pfnGetMessage = nullptr;

namespace {

constexpr int kIdCustomize = 35001;
// Controls the update handlers leave alone.
constexpr DWORD kFlagManualUpdate = 8;

// Runs the thread's messages while the popup tracks. A quit ends the loop
// and is posted again, so the thread's own loop still sees it; an error of
// GetMessageW ends it too, rather than spinning.
void RunPopupLoop(CXTPPopupBar *pPopup, CXTPCommandBars::GetMessageFunction pfnGetMessage) {
  while (pPopup->IsTrackingMode()) {
    MSG msg = {};
    const BOOL bGot = pfnGetMessage ? pfnGetMessage(&msg) : ::GetMessageW(&msg, nullptr, 0, 0);
    if (bGot <= 0) {
      if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      pPopup->OnTrackLost();
      break;
    }
    if (!pPopup->IsTrackingMode()) {
      // The message is for whatever comes after the popup.
      ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      break;
    }
    if (msg.message == WM_KICKIDLE) continue;
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

} // namespace

UINT CXTPCommandBars::TrackPopupMenu(CXTPPopupBar *pPopup, UINT nFlags, int x, int y, CWnd *pWndOwner,
                                     LPCRECT lpExclude, CWnd *pWndNotify) {
  ASSERT(pPopup != nullptr);
  if (pPopup == nullptr) return 0;
  CXTPReferenceHold hold(pPopup);
  // The owner is where the popup belongs (its status texts, the bars it
  // makes; none given keeps the one it has); the notify window, when given,
  // receives its commands.
  if (pWndOwner && pWndOwner->GetSafeHwnd()) pPopup->SetOwnerWindow(pWndOwner->GetSafeHwnd());
  pPopup->SetNotifyWindow(pWndNotify ? pWndNotify->GetSafeHwnd() : nullptr);

  const BOOL bReturnCmd = (nFlags & TPM_RETURNCMD) != 0;
  UINT nResult = bReturnCmd ? 0 : TRUE;
  UINT nChosen = 0;
  pPopup->m_pReturnCmd = bReturnCmd ? &nChosen : nullptr;
  pPopup->SetTrackRightButton((nFlags & TPM_RIGHTBUTTON) != 0);
  pPopup->SetNoNotify((nFlags & TPM_NONOTIFY) != 0);
  // Right-aligned: the popup's right edge at x; otherwise its left edge.
  pPopup->SetPopupFlags((nFlags & TPM_RIGHTALIGN) ? (xtpPopupLeft | xtpPopupDown) : xtpPopupDown);

  // A nested popup opens over the ones already tracked and leaves them open.
  if (!pPopup->IsNested()) {
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) {
      pMouse->CloseTrackedBars();
      pMouse->IgnoreLButtonUp();
    }
    ::ReleaseCapture();
  }

  if (!pPopup->Popup(x, y, lpExclude)) {
    pPopup->m_pReturnCmd = nullptr;
    return 0;
  }
  RunPopupLoop(pPopup, s_pfnGetMessage);
  // The result variable lives on this frame: the popup must not keep it.
  pPopup->m_pReturnCmd = nullptr;
  if (bReturnCmd) nResult = nChosen;
  return nResult;
}

CXTPPopupBar *CXTPCommandBars::GetToolbarsPopup() {
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(this);
  int nListed = 0;
  for (int i = 0; i < GetCount(); i++) {
    CXTPCommandBar *pBar = GetAt(i);
    if (pBar->GetType() != xtpBarTypeNormal || !pBar->IsCloseable() || !pBar->IsContextMenuPresent())
      continue;
    // Choosing the item shows or hides the bar.
    CXTPControl *pControl = pPopup->GetControls()->AddControl(new CXTPControlToolbarsItem, 0);
    pControl->SetTag(i);
    pControl->SetCaption(pBar->GetTitle());
    pControl->SetFlags(pControl->GetFlags() | kFlagManualUpdate);
    HWND hWnd = pBar->GetSafeHwnd();
    pControl->SetChecked(hWnd && ::IsWindowVisible(hWnd));
    nListed++;
  }
  if (m_bCustomizeAvail && nListed > 0) {
    CXTPControl *pCustomize = pPopup->GetControls()->Add(xtpControlButton, kIdCustomize);
    pCustomize->SetBeginGroup(TRUE);
  }
  return pPopup;
}

void CXTPCommandBars::ContextMenu(int x, int y) {
  if (IsCustomizeMode()) return;
  CXTPPopupBar *pPopup = GetToolbarsPopup();
  if (pPopup->GetControlCount() > 0) {
    // The popup's window takes the site's right-to-left layout when made.
    CXTPReferenceHold hold(pPopup);
    if (pPopup->Popup(x, y, nullptr)) RunPopupLoop(pPopup, s_pfnGetMessage);
  }
  pPopup->InternalRelease();
}

namespace {

// The menu's pictures for the popup and every sub-menu it opens: a sub-menu
// would otherwise draw its owner's.
void GiveImages(CXTPCommandBar *pBar, CXTPImageManager *pImages) {
  pImages->InternalAddRef();
  pBar->SetImageManager(pImages);
  for (int i = 0; i < pBar->GetControlCount(); i++)
    if (CXTPCommandBar *pSub = pBar->GetControl(i)->GetCommandBar()) GiveImages(pSub, pImages);
}

} // namespace

CXTPCommandBars *XTPGetFrameCommandBars(CWnd *pFrame) {
  auto *pHook = dynamic_cast<CXTPCommandBarsFrameHook *>(pFrame);
  return pHook != nullptr ? pHook->GetCommandBars() : nullptr;
}

UINT XTPPopupContextMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd, int nIDBitmap) {
  if (XTPPopupContextMenuHandler pfnHandler = XTPGetPopupContextMenuHandler())
    return pfnHandler(hMenu, nFlags | TPM_NONOTIFY, x, y, hWnd, nIDBitmap);
  CXTPCommandBars *pCommandBars = XTPGetFrameCommandBars(AfxGetMainWnd());
  if (pCommandBars == nullptr || hMenu == nullptr)
    return static_cast<UINT>(::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWnd, nullptr));
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
  pPopup->LoadMenu(CMenu::FromHandle(hMenu));
  if (nIDBitmap > 0) {
    auto *pImages = new CXTPImageManager;
    pImages->SetIcons(static_cast<UINT>(nIDBitmap));
    GiveImages(pPopup, pImages);
    pImages->InternalRelease();
  }
  const UINT nResult =
      CXTPCommandBars::TrackPopupMenu(pPopup, nFlags | TPM_NONOTIFY, x, y, CWnd::FromHandle(hWnd));
  pPopup->InternalRelease();
  return nResult;
}
