#include "XTPCommandBar.h"

#include <climits>
#include <utility>

#include "ModuleState.h"
#include "ToolBar.h"
#include "XTPCommandBarAccessible.h"

#include "XTPCommandBars.h"
#include "XTPCustomizeSheet.h"
#include "XTPCustomizeTools.h"
#include "XTPControlPopup.h"
#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPShortcutManager.h"
#include "XTPToolBar.h"
#include "XTPToolTipContext.h"

#ifndef WM_HELPHITTEST
#define WM_HELPHITTEST 0x0366
#endif
#ifndef WM_POPMESSAGESTRING
#define WM_POPMESSAGESTRING 0x0375
#endif

namespace {

// Controls that customise mode leaves where they are.
constexpr DWORD kFlagNoMovable = 0x10;
// Controls the update handlers never see.
constexpr DWORD kFlagManualUpdate = 8;
// Popup types, for the help-mode hit test.
BOOL IsPopupType(const CXTPControl *pControl) {
  const XTPControlType type = pControl->GetType();
  return type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup;
}

BOOL IsKeyDown(int nVirtKey) {
  return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

// When the menus let the keys go, the keyboard goes back to the window that
// had it, unless the user or a command has put it somewhere of their own: a
// focus left nowhere, on the frame itself or on a bar would make the next
// Alt+letter or key find no pane to act on.
void GiveFocusBack(HWND hWndBefore, HWND hWndSite) {
  if (!::IsWindow(hWndBefore) || !::IsWindowVisible(hWndBefore) || !::IsWindowEnabled(hWndBefore)) return;
  const HWND hWndNow = ::GetFocus();
  if (hWndNow == hWndBefore) return;
  if (hWndNow != nullptr && hWndNow != hWndSite &&
      dynamic_cast<CXTPCommandBar *>(CWnd::FromHandlePermanent(hWndNow)) == nullptr)
    return;
  if (::GetWindowThreadProcessId(hWndBefore, nullptr) != ::GetCurrentThreadId()) return;
  ::SetFocus(hWndBefore);
}

// The hover delay of the selected control and the expand delay of an open
// popup, as the system's menu delay gives them.
UINT HoverDelay() {
  DWORD dwDelay = 400;
  ::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &dwDelay, 0);
  return dwDelay;
}
constexpr UINT kExpandDelay = 5000;

// The key a caption answers to: the character after "&" (and whether there
// is one), else its first character.
wchar_t MnemonicOf(const CString &strCaption, BOOL &bAmpersand) {
  bAmpersand = FALSE;
  const int nLength = strCaption.GetLength();
  for (int i = 0; i + 1 < nLength; i++) {
    if (strCaption[i] != L'&') continue;
    if (strCaption[i + 1] == L'&') {
      i++; // an escaped "&&" is a plain ampersand
      continue;
    }
    bAmpersand = TRUE;
    return CXTPShortcutManager::ToUpperChar(strCaption[i + 1]);
  }
  return nLength > 0 ? CXTPShortcutManager::ToUpperChar(strCaption[0]) : 0;
}

// The command-UI object of a bar: what update handlers say reaches the control.
class CXTPCommandBarCmdUI : public CCmdUI {
public:
  CXTPControl *m_pControl = nullptr;
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    m_pControl->SetEnabled(bOn);
  }
  void SetCheck(int nCheck) override { m_pControl->SetChecked(nCheck); }
  void SetText(LPCTSTR lpszText) override { m_pControl->SetCaption(lpszText); }
};

} // namespace

IMPLEMENT_SERIAL(CXTPCommandBar, CWnd, VERSIONABLE_SCHEMA | 8)

BEGIN_MESSAGE_MAP(CXTPCommandBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_NCMOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_PRINT, OnPrint)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMessage)
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

CXTPCommandBar::CXTPCommandBar() {
  // A command may destroy the bar that runs it: the window procedure keeps
  // the object alive for the length of each message.
  EnableCountedLifetime();
  m_pControls = new CXTPControls;
  m_pControls->SetParent(this);
}

CXTPCommandBar::~CXTPCommandBar() {
  if (m_nTrackingMode) SetTrackingMode(0, TRUE, FALSE);
  if (CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks()) pHooks->RemoveThreadClient(this);
  if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager()) {
    pMouse->DropTrackedBar(this);
    pMouse->RemoveSelectedBar(this);
  }
  if (m_pControls) {
    m_pControls->RemoveAll();
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
  }
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
  if (m_pImageManager) m_pImageManager->InternalRelease();
  UnregisterFromDragTool();
  ReleaseToolTipContext();
}

void CXTPCommandBar::OnFinalRelease() {
  // The window goes before the object, so no message finds a deleted bar.
  if (m_hWnd != nullptr) DestroyWindow();
  delete this;
}

void CXTPCommandBar::PostNcDestroy() {
  // The object outlives its window; only its last release deletes it.
}

void CXTPCommandBar::SetCommandBars(CXTPCommandBars *pCommandBars) {
  if (pCommandBars == m_pCommandBars) return;
  // Registered with the old owner's drag tool and holding its tips: the
  // bar now belongs to the new one.
  UnregisterFromDragTool();
  ReleaseToolTipContext();
  m_pCommandBars = pCommandBars;
  if (m_hWnd && m_pCommandBars) {
    if (m_barPosition != xtpBarListBox) {
      m_pRegisteredDragTool = m_pCommandBars->GetDragTool();
      m_pRegisteredDragTool->Register(this);
    }
    TakeToolTipContext();
  }
}

void CXTPCommandBar::UnregisterFromDragTool() {
  if (m_pRegisteredDragTool) m_pRegisteredDragTool->Unregister(this);
  m_pRegisteredDragTool = nullptr;
}

void CXTPCommandBar::ReleaseToolTipContext() {
  if (m_pToolTipContext) m_pToolTipContext->InternalRelease();
  m_pToolTipContext = nullptr;
}

void CXTPCommandBar::TakeToolTipContext() {
  ReleaseToolTipContext();
  if (m_pCommandBars == nullptr) {
    if (m_barType != xtpBarTypePopup && m_hWnd) EnableToolTips(TRUE);
    return;
  }
  if (m_barType == xtpBarTypePopup && !m_pCommandBars->GetCommandBarsOptions()->bShowPopupBarToolTips) return;
  // Held for the window's life: tips may still be shown while the bar goes.
  m_pToolTipContext = m_pCommandBars->GetToolTipContext();
  if (m_pToolTipContext) m_pToolTipContext->InternalAddRef();
}

CXTPPaintManager *CXTPCommandBar::GetPaintManager() const {
  if (m_pPaintManager) return m_pPaintManager;
  if (m_pCommandBars) return m_pCommandBars->GetPaintManager();
  const CXTPCommandBar *pRoot = GetRootParent();
  if (pRoot != this && pRoot->m_pPaintManager) return pRoot->m_pPaintManager;
  return XTPGetPaintManager();
}

void CXTPCommandBar::SetPaintManager(CXTPPaintManager *pPaintManager) {
  if (m_pPaintManager) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
}

CXTPImageManager *CXTPCommandBar::GetImageManager() const {
  if (m_pImageManager) return m_pImageManager;
  if (m_pCommandBars) return m_pCommandBars->GetImageManager();
  const CXTPCommandBar *pRoot = GetRootParent();
  if (pRoot != this && pRoot->m_pImageManager) return pRoot->m_pImageManager;
  return XTPGetImageManager();
}

void CXTPCommandBar::SetImageManager(CXTPImageManager *pImageManager) {
  if (m_pImageManager) m_pImageManager->InternalRelease();
  m_pImageManager = pImageManager;
}

CSize CXTPCommandBar::GetIconSize() const {
  if (m_szIcons.cx > 0) return m_szIcons;
  if (m_pCommandBars) {
    CXTPCommandBarsOptions *pOptions = m_pCommandBars->GetCommandBarsOptions();
    if (m_barType == xtpBarTypePopup) return pOptions->szPopupIcons;
    const CSize szIcons = pOptions->szIcons.cx > 0 ? pOptions->szIcons : CSize(16, 16);
    // Large icons without a size of their own are twice the icons' size.
    if (pOptions->bLargeIcons)
      return pOptions->szLargeIcons.cx > 0 ? pOptions->szLargeIcons : CSize(szIcons.cx * 2, szIcons.cy * 2);
    return szIcons;
  }
  return CSize(16, 16);
}

CSize CXTPCommandBar::GetButtonSize() const {
  if (m_szButtons.cx > 0) return m_szButtons;
  CSize szIcon = GetIconSize();
  return CSize(szIcon.cx + 7, szIcon.cy + 7);
}

BOOL CXTPCommandBar::IsTextBelowIcons() const {
  if (m_nTextBelow != kTextBelowFollowOptions) return m_nTextBelow != 0;
  // A menu's rows keep their captions beside the icons.
  return m_pCommandBars && m_barType != xtpBarTypePopup &&
         m_pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons;
}

CFrameWnd *CXTPCommandBar::GetSiteFrame() const {
  return m_pCommandBars ? dynamic_cast<CFrameWnd *>(m_pCommandBars->GetSite()) : nullptr;
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

CXTPControl *CXTPCommandBar::GetControl(int nIndex) const {
  return m_pControls ? m_pControls->GetAt(nIndex) : nullptr;
}

CXTPControl *CXTPCommandBar::GetSelected() const {
  return GetControl(m_nSelected);
}

CXTPCommandBar *CXTPCommandBar::GetRootParent() const {
  const CXTPCommandBar *pBar = this;
  // A parent chain that loops back must not hang the walk.
  for (int nDepth = 0; pBar->m_pParentBar && nDepth < 64; nDepth++) pBar = pBar->m_pParentBar;
  return const_cast<CXTPCommandBar *>(pBar);
}

HWND CXTPCommandBar::GetUpdateTarget() const {
  const CXTPCommandBar *pRoot = GetRootParent();
  if (pRoot->m_hWndNotify) return pRoot->m_hWndNotify;
  if (pRoot->m_hWndOwner) return pRoot->m_hWndOwner;
  if (m_hWndOwner) return m_hWndOwner;
  return GetOwnerSite();
}

HWND CXTPCommandBar::GetOwnerSite() const {
  if (m_pCommandBars && m_pCommandBars->GetSiteHwnd()) return m_pCommandBars->GetSiteHwnd();
  const CXTPCommandBar *pRoot = GetRootParent();
  if (pRoot->m_hWndOwner) return pRoot->m_hWndOwner;
  if (m_hWnd) {
    HWND hWndParent = ::GetAncestor(m_hWnd, GA_ROOT);
    if (hWndParent && hWndParent != m_hWnd) return hWndParent;
  }
  CWnd *pMain = AfxGetMainWnd();
  return pMain ? pMain->GetSafeHwnd() : nullptr;
}

// ---------------------------------------------------------------------------
// Redraw

void CXTPCommandBar::Redraw() {
  m_bDelayRedraw = FALSE;
  if (m_nLockRedraw > 0) return;
  m_nRedrawCount++;
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CXTPCommandBar::UnlockRedraw() {
  if (m_nLockRedraw > 0 && --m_nLockRedraw == 0) Redraw();
}

void CXTPCommandBar::RedrawParents() {
  int nDepth = 0;
  for (CXTPCommandBar *pBar = this; pBar && nDepth < 64; pBar = pBar->m_pParentBar, nDepth++) pBar->Redraw();
}

void CXTPCommandBar::OnControlsChanged() {
  m_nSelected = -1;
  m_nPopuped = -1;
  DelayLayout();
}

// ---------------------------------------------------------------------------
// Selection, popups and tracking

BOOL CXTPCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
  if (nSelected == m_nSelected) return FALSE;
  if (GetControl(nSelected) == nullptr) nSelected = -1;
  m_bKeyboardSelected = bKeyboard;
  CXTPReferenceHold hold(HoldableThis());
  LockRedraw();
  CXTPControl *pOld = GetSelected();
  m_nSelected = -1;
  if (pOld) pOld->OnSetSelected(FALSE);
  m_nSelected = nSelected;
  if (nSelected == -1) {
    if (m_hWnd) ::KillTimer(m_hWnd, kHoverTimerId);
  } else {
    if (bKeyboard && m_hWnd) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nSelected + 1);
    if (CXTPControl *pNew = GetSelected()) pNew->OnSetSelected(bKeyboard ? 2 : 1);
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->SetSelectedBar(this);
    if (!bKeyboard && m_hWnd) ::SetTimer(m_hWnd, kHoverTimerId, HoverDelay(), nullptr);
  }
  UnlockRedraw();
  return TRUE;
}

BOOL CXTPCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard) {
  if (nPopuped == m_nPopuped) return FALSE;
  CXTPReferenceHold hold(HoldableThis());
  LockRedraw();
  if (m_nPopuped != -1) {
    CXTPControl *pOpen = GetControl(m_nPopuped);
    m_nPopuped = -1;
    if (pOpen) pOpen->OnSetPopup(FALSE);
  }
  BOOL bOpened = FALSE;
  CXTPControl *pControl = nPopuped == -1 ? nullptr : GetControl(nPopuped);
  if (pControl && dynamic_cast<CXTPControlPopup *>(pControl) && pControl->GetEnabled()) {
    m_nPopuped = nPopuped;
    SetTrackingMode(2, FALSE, bKeyboard);
    SetSelected(nPopuped, bKeyboard);
    pControl->OnSetPopup(TRUE);
    if (m_hWnd && m_pCommandBars && m_pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
      ::SetTimer(m_hWnd, kExpandTimerId, kExpandDelay, nullptr);
    bOpened = TRUE;
  }
  UnlockRedraw();
  return bOpened;
}

BOOL CXTPCommandBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  if (nMode == m_nTrackingMode || (m_nTrackingMode && nMode)) {
    m_nTrackingMode = nMode;
    return FALSE;
  }
  CXTPReferenceHold hold(HoldableThis());
  m_nTrackingMode = nMode;
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  if (nMode) {
    if (m_barType == xtpBarTypeMenuBar) {
      if (HWND hWndSite = GetOwnerSite())
        ::SendMessageW(hWndSite, kMsgMenuBarTracking, reinterpret_cast<WPARAM>(this), 0);
    }
    m_bTrackingByMouse = !bSelectFirst && !bKeyboard;
    if (m_hWndFocusBefore == nullptr) {
      m_hWndFocusBefore = ::GetFocus();
      if (m_hWndFocusBefore == nullptr) m_hWndFocusBefore = GetOwnerSite();
      if (m_hWndFocusBefore) ::HideCaret(m_hWndFocusBefore);
    }
    if (pMouse) pMouse->PushTrackedBar(this);
    if (CXTPThreadHooks *pHooks = CXTPThreadHooks::GetThreadHooks()) {
      pHooks->AddThreadClient(this);
      m_bHookedThread = TRUE;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (bSelectFirst) SetSelected(m_pControls->GetNextIndex(-1, 1), TRUE);
  } else {
    m_bTrackingByMouse = FALSE;
    if (pMouse) pMouse->DropTrackedBar(this);
    if (m_bHookedThread) {
      if (CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks()) pHooks->RemoveThreadClient(this);
      m_bHookedThread = FALSE;
    }
    SetPopuped(-1, FALSE);
    if (bSelectFirst) SetSelected(-1, FALSE);
    if (m_hWndFocusBefore) {
      const HWND hWndBefore = m_hWndFocusBefore;
      m_hWndFocusBefore = nullptr;
      if (::IsWindow(hWndBefore)) {
        ::ShowCaret(hWndBefore);
        GiveFocusBack(hWndBefore, GetOwnerSite());
      }
    }
    Redraw();
  }
  if (m_pCommandBars) m_pCommandBars->OnTrackingModeChanged(this, nMode);
  return TRUE;
}

void CXTPCommandBar::OnTrackLost() {
  CXTPReferenceHold hold(HoldableThis());
  SetTrackingMode(0, TRUE, FALSE);
}

void CXTPCommandBar::OnTrackingElsewhere() {
  if (m_nPopuped == -1 && !m_bKeyboardSelected) SetSelected(-1, FALSE);
}

int CXTPCommandBar::HitTestTrackedPoint(POINT ptScreen) {
  if (!m_hWnd) return kNotMine;
  CRect rc;
  ::GetWindowRect(m_hWnd, &rc);
  return rc.PtInRect(ptScreen) ? kMine : kNotMine;
}

BOOL CXTPCommandBar::IsInside(CPoint point) const {
  return GetBarClientRect().PtInRect(point);
}

// ---------------------------------------------------------------------------
// Keyboard

int CXTPCommandBar::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM &wParam, LPARAM & /*lParam*/,
                                  LRESULT & /*lResult*/) {
  if (nMessage != WM_KEYDOWN || !m_nTrackingMode) return xtpHookContinue;
  // The thread hooks ask the bars in the order they started tracking: while a
  // popup of this bar tracks, the keys are the popup's.
  CXTPControl *pOpen = m_nPopuped != -1 ? GetControl(m_nPopuped) : nullptr;
  CXTPCommandBar *pChild = pOpen ? pOpen->GetCommandBar() : nullptr;
  if (pChild && pChild->IsTrackingMode()) return xtpHookContinue;
  CXTPReferenceHold hold(HoldableThis());
  // A box with the focus sees the key first: 1 it used it, 2 it is the box's.
  CXTPControl *pSelected = GetSelected();
  if (pSelected && pSelected->IsFocused()) {
    const int nResult = pSelected->OnHookKeyDown(static_cast<UINT>(wParam));
    if (nResult == 1) return xtpHookHandled;
    if (nResult == 2) return xtpHookContinue;
  }
  return OnKeyDown(static_cast<UINT>(wParam)) ? xtpHookHandled : xtpHookContinue;
}

BOOL CXTPCommandBar::OnKeyDown(UINT nChar) {
  if (IsCustomizeMode()) return FALSE;
  CXTPReferenceHold hold(HoldableThis());
  const BOOL bShift = IsKeyDown(VK_SHIFT);
  if (nChar == VK_TAB) {
    // Ctrl+Tab moves the keyboard on to the next toolbar.
    CXTPCommandBar *pRoot = GetRootParent();
    if (IsKeyDown(VK_CONTROL) && m_pCommandBars && pRoot->GetType() == xtpBarTypeNormal) {
      m_pCommandBars->ActivateBar(pRoot, bShift ? -1 : 1);
      return TRUE;
    }
    OnNavigate(bShift ? xtpNavigatePrev : xtpNavigateNext);
    if (CXTPControl *pControl = GetSelected()) {
      if (pControl->IsTabStop()) pControl->OnTab();
    }
    return TRUE;
  }
  if (nChar == VK_RETURN) {
    OnNavigate(xtpNavigateExecute);
    return TRUE;
  }
  const BOOL bHorizontal =
      m_barPosition == xtpBarTop || m_barPosition == xtpBarBottom || m_barPosition == xtpBarFloating;
  const BOOL bRTL = IsLayoutRTL();
  int nCode = -1;
  switch (nChar) {
  case VK_ESCAPE:
    nCode = xtpNavigateLeave;
    break;
  case VK_END:
    nCode = xtpNavigateLast;
    break;
  case VK_HOME:
    nCode = xtpNavigateFirst;
    break;
  case VK_LEFT:
    nCode = bHorizontal ? (bRTL ? xtpNavigateNext : xtpNavigatePrev)
                        : (bRTL ? xtpNavigateOpenPopup : xtpNavigateClosePopup);
    break;
  case VK_RIGHT:
    nCode = bHorizontal ? (bRTL ? xtpNavigatePrev : xtpNavigateNext)
                        : (bRTL ? xtpNavigateClosePopup : xtpNavigateOpenPopup);
    break;
  case VK_UP:
    nCode = bHorizontal ? xtpNavigateClosePopup : xtpNavigatePrev;
    break;
  case VK_DOWN:
    nCode = bHorizontal ? xtpNavigateOpenPopup : xtpNavigateNext;
    break;
  }
  if (nCode != -1) {
    OnNavigate(nCode);
    return TRUE;
  }
  const wchar_t ch = static_cast<wchar_t>(::MapVirtualKeyW(nChar, MAPVK_VK_TO_CHAR) & 0xFFFF);
  if (ch && m_barType == xtpBarTypeNormal && m_pCommandBars && m_pCommandBars->ProcessMnemonic(ch))
    return TRUE;
  if (IsKeyDown(VK_CONTROL)) return FALSE;
  BOOL bAmbiguous = FALSE;
  const int nIndex = ch ? FindAccel(ch, bAmbiguous) : -1;
  if (nIndex == -1) {
    if (nChar != VK_SHIFT && nChar != VK_CONTROL) ::MessageBeep(0);
    return TRUE;
  }
  SetSelected(nIndex, TRUE);
  if (!bAmbiguous) {
    if (CXTPControl *pControl = GetControl(nIndex)) {
      CXTPReferenceHold holdControl(pControl);
      pControl->OnUnderlineActivate();
    }
  }
  return TRUE;
}

void CXTPCommandBar::OnNavigate(int nCode) {
  CXTPReferenceHold hold(HoldableThis());
  switch (nCode) {
  case xtpNavigateNext:
  case xtpNavigatePrev: {
    const int nIndex = m_pControls->GetNextIndex(m_nSelected, nCode == xtpNavigateNext ? 1 : -1);
    if (nIndex != -1) SetSelected(nIndex, TRUE);
    break;
  }
  case xtpNavigateClosePopup:
    SetPopuped(-1, TRUE);
    break;
  case xtpNavigateOpenPopup:
    if (m_nSelected != -1 && m_nPopuped != m_nSelected) SetPopuped(m_nSelected, TRUE);
    break;
  case xtpNavigateLeave:
    if (m_pParentBar) {
      CXTPCommandBar *pParent = m_pParentBar;
      CXTPReferenceHold holdParent(pParent->HoldableThis());
      pParent->SetPopuped(-1, TRUE);
      // The parent tracks on with no menu open: the mouse passing over its
      // other titles only lights them, and one click opens a menu, as after
      // Escape in the system's menu bar.
      if (pParent->GetTrackingMode()) pParent->SetTrackingMode(1, FALSE, TRUE);
    }
    SetTrackingMode(0, TRUE, FALSE);
    break;
  case xtpNavigateExecute:
    if (CXTPControl *pControl = GetSelected()) {
      CXTPReferenceHold holdControl(pControl);
      pControl->OnClick(TRUE, CPoint(0, 0));
    }
    break;
  case xtpNavigateFirst:
    SetSelected(m_pControls->GetNextIndex(-1, 1), TRUE);
    break;
  case xtpNavigateLast:
    SetSelected(m_pControls->GetNextIndex(-1, -1), TRUE);
    break;
  }
}

int CXTPCommandBar::FindAccel(TCHAR chAccel, BOOL &bAmbiguous) const {
  bAmbiguous = FALSE;
  const int nCount = GetControlCount();
  if (nCount == 0) return -1;
  const wchar_t chKey = CXTPShortcutManager::ToUpperChar(chAccel);
  int nAmpersand = -1, nFirstLetter = -1;
  const int nStart = m_pControls->GetNextIndex(m_nSelected, 1);
  if (nStart == -1) return -1;
  int nIndex = nStart;
  do {
    const CXTPControl *pControl = GetControl(nIndex);
    BOOL bAmpersand = FALSE;
    const wchar_t chControl = MnemonicOf(pControl->GetCaption(), bAmpersand);
    if (chControl == chKey) {
      if (bAmpersand) {
        if (nAmpersand != -1) {
          bAmbiguous = TRUE;
          return nAmpersand;
        }
        nAmpersand = nIndex;
      } else if (nFirstLetter == -1) {
        nFirstLetter = nIndex;
      } else {
        bAmbiguous = TRUE;
      }
    }
    const int nNext = m_pControls->GetNextIndex(nIndex, 1);
    if (nNext == -1 || nNext == nIndex) break;
    nIndex = nNext;
  } while (nIndex != nStart);
  if (nAmpersand != -1) {
    // A first-letter match elsewhere does not make an "&" match ambiguous.
    bAmbiguous = FALSE;
    return nAmpersand;
  }
  return nFirstLetter;
}

BOOL CXTPCommandBar::LoadMenu(CMenu *pMenu, BOOL bRemoveControls) {
  if (pMenu == nullptr || !::IsMenu(pMenu->GetSafeHmenu())) return FALSE;
  if (bRemoveControls) m_pControls->RemoveAll();
  if (!m_pControls->LoadMenu(pMenu)) return FALSE;
  if (m_hWnd) {
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent) ::SendMessageW(hWndParent, WM_SIZE, 0, 0);
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Toolbar resources

BOOL CXTPCommandBar::ParseToolBarResource(const BYTE *pData, size_t cbData, std::vector<UINT> &ids,
                                          CSize &szBitmap) {
  ids.clear();
  ToolBarTemplate bar;
  if (!::ParseToolBarResource(pData, cbData, bar)) return FALSE;
  szBitmap = CSize(bar.width, bar.height);
  ids = std::move(bar.ids); // 0 a separator
  return TRUE;
}

const BYTE *CXTPCommandBar::FindToolBarResource(UINT nIDResource, size_t &cbData) {
  cbData = 0;
  HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
  HRSRC hRes =
      hModule ? ::FindResourceW(hModule, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241)) : nullptr;
  HGLOBAL hGlobal = hRes ? ::LoadResource(hModule, hRes) : nullptr;
  const BYTE *pData = hGlobal ? static_cast<const BYTE *>(::LockResource(hGlobal)) : nullptr;
  if (pData != nullptr) cbData = ::SizeofResource(hModule, hRes);
  return pData;
}

BOOL CXTPCommandBar::BuildFromToolBarData(UINT nIDResource, const BYTE *pData, size_t cbData,
                                          BOOL bLoadBitmap) {
  m_pControls->RemoveAll();
  std::vector<UINT> ids;
  CSize szBitmap;
  if (!ParseToolBarResource(pData, cbData, ids, szBitmap)) return FALSE;
  BOOL bResult = SetButtons(ids.data(), static_cast<int>(ids.size()));
  if (!bLoadBitmap) return bResult;
  CXTPImageManager *pImageManager = GetImageManager();
  if (!pImageManager ||
      !pImageManager->SetIconsFromBitmap(nIDResource, ids.data(), static_cast<int>(ids.size()), szBitmap))
    bResult = FALSE;
  if (szBitmap.cx != 16) m_szIcons = szBitmap;
  return bResult;
}

BOOL CXTPCommandBar::SetButtons(const UINT *pButtons, int nCount) {
  m_pControls->RemoveAll();
  BOOL bSeparator = FALSE;
  for (int i = 0; i < nCount; i++) {
    if (pButtons[i] == 0) {
      bSeparator = TRUE;
      continue;
    }
    XTP_COMMANDBARS_CREATECONTROL cs = {};
    cs.nID = static_cast<int>(pButtons[i]);
    cs.bToolBar = TRUE;
    cs.nIndex = i;
    cs.pCommandBar = this;
    cs.strCaption = m_strTitle;
    cs.controlType = xtpControlButton;
    CXTPControl *pControl = nullptr;
    if (m_pControls->NotifySite(WM_XTP_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) &&
        cs.pControl) {
      pControl = m_pControls->AddControl(cs.pControl, cs.nID);
    } else {
      pControl = m_pControls->Add(cs.controlType, cs.nID);
      pControl->SetStyle(static_cast<int>(cs.dwFlags));
      if (cs.controlType == xtpControlPopup) pControl->SetIconId(cs.nID);
    }
    if (bSeparator) {
      pControl->SetBeginGroup(TRUE);
      bSeparator = FALSE;
    }
    cs.pControl = pControl;
    m_pControls->NotifySite(WM_XTP_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Window messages

int CXTPCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  // Every bar but a combo's list takes drops while customising.
  if (m_pCommandBars && m_barPosition != xtpBarListBox) {
    UnregisterFromDragTool();
    m_pRegisteredDragTool = m_pCommandBars->GetDragTool();
    m_pRegisteredDragTool->Register(this);
  }
  TakeToolTipContext();
  return 0;
}

void CXTPCommandBar::OnDestroy() {
  UnregisterFromDragTool();
  if (m_nTrackingMode) SetTrackingMode(0, TRUE, FALSE);
  if (m_hWnd) {
    ::KillTimer(m_hWnd, kHoverTimerId);
    ::KillTimer(m_hWnd, kExpandTimerId);
  }
  CWnd::OnDestroy();
}

void CXTPCommandBar::OnMouseMove(UINT /*nFlags*/, CPoint point) {
  if (!m_hWnd) return;
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  if (pMouse && (pMouse->IsTrackedLock(this) || pMouse->IsMouseLocked())) return;
  const BOOL bActive = ::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT) ||
                       CXTPMouseManager::TopParentIsForeground(m_hWnd);
  if (!m_nTrackingMode && !bActive && m_barPosition != xtpBarPopup) return;
  CXTPReferenceHold hold(HoldableThis());
  if (IsCustomizeMode()) return;
  const BOOL bKeep = !(m_barType == xtpBarTypePopup && m_nPopuped == -1 && !m_bKeyboardSelected);
  int nSelected = (m_nTrackingMode && bKeep) ? m_nSelected : -1;
  for (int i = 0; i < GetControlCount(); i++) {
    CXTPControl *pControl = GetControl(i);
    if (!pControl->IsVisible() || !pControl->GetRect().PtInRect(point)) continue;
    nSelected = i;
    if (pMouse) pMouse->WatchMouseExit(m_hWnd);
    pControl->OnMouseMove(point);
    if (!m_hWnd) return;
  }
  SetSelected(nSelected, FALSE);
}

void CXTPCommandBar::OnNcMouseMove(UINT /*nHitTest*/, CPoint /*point*/) {
  OnMouseLeave();
  if (m_hWnd) Default();
}

void CXTPCommandBar::OnMouseLeave() {
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  if (pMouse && pMouse->IsMouseLocked()) return;
  if (m_nTrackingMode && !(m_barType == xtpBarTypePopup && m_nPopuped == -1)) return;
  if (m_nTrackingMode && m_bKeyboardSelected) return;
  SetSelected(-1, FALSE);
}

// Alt+drag customises only toolbars (the menu bar is one) of command bars
// whose frame offers customising: elsewhere Alt+click is an ordinary click.
BOOL CXTPCommandBar::IsAltDrag(const CXTPControl *pControl) const {
  return m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeAvail() &&
         m_pCommandBars->GetCommandBarsOptions()->bAltDragCustomization && ::GetKeyState(VK_MENU) < 0 &&
         dynamic_cast<const CXTPToolBar *>(this) != nullptr && IsCustomizable() &&
         !(pControl->GetFlags() & kFlagNoMovable);
}

BOOL CXTPCommandBar::RouteButton(UINT message, UINT /*nFlags*/, CPoint point) {
  CXTPControl *pControl = m_pControls->HitTest(point);
  if (pControl == nullptr) return FALSE;
  CXTPReferenceHold hold(HoldableThis());
  CXTPReferenceHold holdControl(pControl);
  const BOOL bCustomize = IsCustomizeMode();
  switch (message) {
  case WM_LBUTTONDOWN:
    if (!bCustomize && IsAltDrag(pControl)) {
      // Alt+drag is a customise-mode drag for its duration; leaving the mode
      // leaves no control selected for customising.
      CXTPCommandBars *pCommandBars = m_pCommandBars;
      CXTPReferenceHold holdBars(pCommandBars);
      pCommandBars->SetCustomizeMode(TRUE);
      SetPopuped(-1);
      SetSelected(-1);
      pControl->OnCustomizeStartDrag(point);
      pCommandBars->SetCustomizeMode(FALSE);
      pCommandBars->RecalcFrameLayout();
      if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->CloseTrackedBars();
      break;
    }
    if (!bCustomize || (IsCustomizable() && !(pControl->GetFlags() & kFlagNoMovable)))
      pControl->OnClick(FALSE, point);
    break;
  case WM_LBUTTONDBLCLK:
    if (!bCustomize) pControl->OnLButtonDblClk(point);
    break;
  case WM_LBUTTONUP:
    if (!bCustomize) pControl->OnLButtonUp(point);
    break;
  case WM_RBUTTONUP:
    if (!bCustomize) {
      if (GetRootParent()->m_bTrackRightButton)
        pControl->OnLButtonUp(point);
      else
        pControl->OnRButtonUp(point);
    }
    break;
  case WM_RBUTTONDOWN:
    if (!bCustomize || !IsCustomizable() || !pControl->IsVisible() || (pControl->GetFlags() & kFlagNoMovable))
      return FALSE;
    SetPopuped(-1);
    SetSelected(-1);
    m_pCommandBars->SetDragControl(pControl);
    // The open customise sheet offers what can be done with the control.
    if (auto *pSheet = dynamic_cast<CXTPCustomizeSheet *>(
            CWnd::FromHandlePermanent(m_pCommandBars->GetCustomizeSheetHwnd()))) {
      CPoint ptScreen = point;
      if (m_hWnd) ClientToScreen(&ptScreen);
      pSheet->ContextMenu(ptScreen.x, ptScreen.y);
    }
    break;
  }
  return TRUE;
}

// The default procedure runs only for a click on no control, and never on a
// window the click's command destroyed.
void CXTPCommandBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!RouteButton(WM_LBUTTONDOWN, nFlags, point) && m_hWnd) Default();
}
void CXTPCommandBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!RouteButton(WM_LBUTTONUP, nFlags, point) && m_hWnd) Default();
}
void CXTPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (!RouteButton(WM_LBUTTONDBLCLK, nFlags, point) && m_hWnd) Default();
}
void CXTPCommandBar::OnRButtonDown(UINT nFlags, CPoint point) {
  if (!RouteButton(WM_RBUTTONDOWN, nFlags, point) && m_hWnd) Default();
}
void CXTPCommandBar::OnRButtonUp(UINT nFlags, CPoint point) {
  if (!RouteButton(WM_RBUTTONUP, nFlags, point) && m_hWnd) Default();
}

void CXTPCommandBar::OnTimer(UINT_PTR nIDEvent) {
  CXTPReferenceHold hold(HoldableThis());
  if (nIDEvent == kHoverTimerId) {
    ::KillTimer(m_hWnd, kHoverTimerId);
    if (CXTPControl *pControl = GetSelected()) {
      CXTPReferenceHold holdControl(pControl);
      pControl->OnMouseHover();
    }
    return;
  }
  if (nIDEvent == kExpandTimerId) {
    ::KillTimer(m_hWnd, kExpandTimerId);
    // The popup left open under the cursor shows its rarely used commands.
    auto *pPopup = dynamic_cast<CXTPControlPopup *>(GetControl(m_nPopuped));
    if (pPopup && m_nPopuped == m_nSelected && pPopup->IsCursorOver()) pPopup->OnExpandTimer();
    return;
  }
  if (m_hWnd) Default();
}

void CXTPCommandBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient = GetBarClientRect();
  {
    CXTPBufferDC dc(hDC, rcClient);
    DrawCommandBar(&dc, CRect(ps.rcPaint));
  }
  ::EndPaint(m_hWnd, &ps);
}

BOOL CXTPCommandBar::OnEraseBkgnd(CDC * /*pDC*/) {
  return TRUE;
}

LRESULT CXTPCommandBar::OnPrint(WPARAM wParam, LPARAM /*lParam*/) {
  CDC dc;
  dc.Attach(reinterpret_cast<HDC>(wParam));
  DrawCommandBar(&dc, GetBarClientRect());
  dc.Detach();
  return TRUE;
}

LRESULT CXTPCommandBar::OnIdleUpdateCmdUIMessage(WPARAM wParam, LPARAM /*lParam*/) {
  OnIdleUpdateCmdUI(static_cast<BOOL>(wParam));
  return 0;
}

LRESULT CXTPCommandBar::OnInitialUpdate(WPARAM, LPARAM) {
  OnIdleUpdateCmdUI(TRUE);
  return 0;
}

BOOL CXTPCommandBar::IsHelpMode() const {
  HWND hWndSite = GetOwnerSite();
  CWnd *pSite = hWndSite ? CWnd::FromHandlePermanent(hWndSite) : nullptr;
  auto *pFrame = dynamic_cast<CFrameWnd *>(pSite);
  return pFrame && pFrame->IsInHelpMode();
}

LRESULT CXTPCommandBar::OnNcHitTest(CPoint point) {
  if (!IsHelpMode()) return Default();
  CPoint ptClient = point;
  ::ScreenToClient(m_hWnd, &ptClient);
  CXTPControl *pControl = m_pControls->HitTest(ptClient);
  if (pControl && IsPopupType(pControl) && pControl->GetID() <= 0) return HTMENU;
  return HTCLIENT;
}

CXTPCommandBarAccessible *CXTPCommandBar::GetAccessible() {
  if (!m_pAccessible) m_pAccessible = std::make_unique<CXTPCommandBarAccessible>(this);
  return m_pAccessible.get();
}

LRESULT CXTPCommandBar::OnGetObject(WPARAM wParam, LPARAM /*lParam*/) {
  return GetAccessible()->GetObjectResult(wParam);
}

void CXTPCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (!IsHelpMode()) {
    Default();
    return;
  }
  CPoint ptClient = point;
  ::ScreenToClient(m_hWnd, &ptClient);
  OnLButtonDown(nHitTest, ptClient);
}

INT_PTR CXTPCommandBar::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  CXTPControl *pControl = m_pControls->HitTest(point);
  if (pControl == nullptr) return -1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(pControl->GetID());
    pTI->rect = pControl->GetRect();
  }
  return pControl->GetID();
}

BOOL CXTPCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  // The context taken when the window was made (popups take one only when
  // the options show tips in them); the bar holds it for the window's life.
  if (m_pToolTipContext != nullptr && m_hWnd != nullptr)
    m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CXTPCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const INT_PTR nHit = OnToolHitTest(point, nullptr);
  if (nHit != -1) return 0x10000 + nHit;
  const int nID = m_hWnd ? ::GetDlgCtrlID(m_hWnd) : 0;
  return nID != 0 ? 0x50000 + nID : 0;
}

// ---------------------------------------------------------------------------
// Command state

void CXTPCommandBar::OnIdleUpdateCmdUI(BOOL bDisableIfNoHandler) {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return;
  HWND hWndTarget = GetUpdateTarget();
  CWnd *pTarget = hWndTarget ? CWnd::FromHandlePermanent(hWndTarget) : nullptr;
  if (pTarget == nullptr) return;
  CXTPReferenceHold hold(HoldableThis());
  ApplyDocTemplateFilters(pTarget);
  const BOOL bNoNotify = GetRootParent()->m_bNoNotify;
  CXTPCommandBarCmdUI state;
  state.m_nIndexMax = static_cast<UINT>(GetControlCount());
  for (int i = 0; i < GetControlCount(); i++) {
    CXTPControl *pControl = GetControl(i);
    if (pControl->GetPressed()) {
      pControl->SetPressed(0);
      DelayRedraw();
    }
    if (bNoNotify || (pControl->GetFlags() & kFlagManualUpdate)) continue;
    state.m_pControl = pControl;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(pControl->GetID());
    if (pTarget->OnCmdMsg(0, static_cast<int>(0xBD11FFFF), &state, nullptr)) continue;
    if (pTarget->OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    if (IsCustomizeMode())
      pControl->SetEnabled(TRUE);
    else
      state.DoUpdate(pTarget, bDisableIfNoHandler);
    if (!m_hWnd) return;
  }
  if (m_bDelayRedraw) {
    m_bDelayRedraw = FALSE;
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
  if (m_bDelayLayout) {
    m_bDelayLayout = FALSE;
    OnRecalcLayout();
  }
  // Windows the bar hosts (a dialog bar's) follow their commands too.
  if (m_hWnd) UpdateDialogControls(pTarget, bDisableIfNoHandler);
}

void CXTPCommandBar::ApplyDocTemplateFilters(CWnd *pTarget) {
  if (m_pCommandBars == nullptr || dynamic_cast<CFrameWnd *>(pTarget) == nullptr) return;
  const UINT nMenuID = m_pCommandBars->GetActiveMenuID();
  if (nMenuID == 0) return;
  for (int i = 0; i < GetControlCount(); i++) {
    CXTPControl *pControl = GetControl(i);
    const std::set<UINT> &assigned = pControl->GetDocTemplatesAssigned();
    const std::set<UINT> &excluded = pControl->GetDocTemplatesExcluded();
    if (assigned.empty() && excluded.empty()) continue;
    // Limited to some documents, or kept out of some.
    const BOOL bHidden = (!assigned.empty() && assigned.count(nMenuID) == 0) ||
                         (!excluded.empty() && excluded.count(nMenuID) != 0);
    if (((pControl->GetHideFlags() & xtpHideDocTemplate) != 0) == bHidden) continue;
    pControl->SetHideFlag(xtpHideDocTemplate, bHidden);
    DelayLayout();
  }
}

void CXTPCommandBar::SetStatusText(CXTPControl *pControl, BOOL bShow) {
  HWND hWndSite = GetOwnerSite();
  if (!hWndSite) return;
  CString strText = (bShow && pControl) ? pControl->GetDescription() : CString();
  if (strText.IsEmpty())
    ::SendMessageW(hWndSite, WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
  else
    ::SendMessageW(hWndSite, WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
  ::SendMessageW(hWndSite, kMsgStatusControl, bShow ? reinterpret_cast<WPARAM>(pControl) : 0, 0);
}

// ---------------------------------------------------------------------------
// Drawing

void CXTPCommandBar::DrawCommandBar(CDC *pDC, CRect /*rcClipBox*/) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (pPaintManager == nullptr) return; // the toolkit is not set up, or already shut down
  pPaintManager->FillCommandBarEntry(pDC, this);
  if (m_dwStyle & CBRS_GRIPPER) pPaintManager->DrawCommandBarGripper(pDC, this, TRUE);
  BOOL bFirst = TRUE;
  for (int i = 0; i < GetControlCount(); i++) {
    CXTPControl *pControl = GetControl(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->GetBeginGroup() && !bFirst)
      pPaintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
    bFirst = FALSE;
    CFont *pFont = pPaintManager->GetCommandBarFont(this);
    CFont *pOldFont = pDC->SelectObject(pFont);
    pControl->Draw(pDC);
    pDC->SelectObject(pOldFont);
  }
  if (IsCustomizeMode()) {
    DrawCustomizeSelection(pDC);
    DrawDropMarker(pDC);
  }
}

void CXTPCommandBar::DrawCustomizeSelection(CDC *pDC) const {
  CXTPControl *pDrag = m_pCommandBars ? m_pCommandBars->GetDragControl() : nullptr;
  if (pDrag == nullptr || pDrag->GetParent() != this) return;
  CRect rc = pDrag->GetRect();
  HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  ::FrameRect(pDC->GetSafeHdc(), &rc, hBrush);
  rc.DeflateRect(1, 1);
  ::FrameRect(pDC->GetSafeHdc(), &rc, hBrush);
}

void CXTPCommandBar::DrawDropMarker(CDC *pDC) const {
  if (m_rcMarker.IsRectEmpty()) return;
  const CRect &rc = m_rcMarker;
  HBRUSH hBrush = ::CreateSolidBrush(XTPGetColor(15));
  HDC hDC = pDC->GetSafeHdc();
  HGDIOBJ hOld = ::SelectObject(hDC, hBrush);
  if (!m_bVerticalMarker) {
    // An I-beam standing across a horizontal bar: two ends and a stem.
    const int xMid = rc.left + rc.Width() / 2 - 1;
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), 2, PATINVERT);
    ::PatBlt(hDC, rc.left, rc.bottom - 2, rc.Width(), 2, PATINVERT);
    ::PatBlt(hDC, xMid, rc.top + 2, 2, rc.Height() - 4, PATINVERT);
  } else {
    const int yMid = rc.top + rc.Height() / 2 - 1;
    ::PatBlt(hDC, rc.left, rc.top, 2, rc.Height(), PATINVERT);
    ::PatBlt(hDC, rc.right - 2, rc.top, 2, rc.Height(), PATINVERT);
    ::PatBlt(hDC, rc.left + 2, yMid, rc.Width() - 4, 2, PATINVERT);
  }
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBrush);
}

// ---------------------------------------------------------------------------
// Customise drag over and drop

int CXTPCommandBar::CalcDropPosition(CPoint point, BOOL &bBefore, CRect &rcMarker) const {
  bBefore = TRUE;
  const CRect rcClient = GetBarClientRect();
  // A vertical bar stacks its controls in columns: the nearest column
  // decides, then the nearest control in it. Other bars (popups too) lay
  // them out in rows: the nearest row, then the nearest control in it.
  const BOOL bColumns = m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight;
  // The marker lies across the bar's flow: between two controls of a row,
  // or between two rows of a popup or a column.
  const BOOL bMarkAlongY = bColumns || m_barType == xtpBarTypePopup;
  auto gap = [](int v, int lo, int hi) { return v < lo ? lo - v : (v > hi ? v - hi : 0); };
  int nBest = -1;
  long long nBestDistance = LLONG_MAX;
  for (int i = 0; i < GetControlCount(); i++) {
    const CXTPControl *pControl = GetControl(i);
    if (!pControl->IsVisible() || (pControl->GetFlags() & kFlagNoMovable)) continue;
    const CRect rc = pControl->GetRect();
    const int nX = gap(point.x, rc.left, rc.right), nY = gap(point.y, rc.top, rc.bottom);
    const long long nDistance =
        bColumns ? static_cast<long long>(nX) * 65536 + nY
                 : static_cast<long long>(nY) * 65536 + (m_barType == xtpBarTypePopup ? 0 : nX);
    if (nDistance < nBestDistance) {
      nBestDistance = nDistance;
      nBest = i;
    }
  }
  if (nBest == -1) {
    rcMarker = CRect(2, 2, 8, rcClient.Height() - 2);
    return -1;
  }
  const CRect rc = GetControl(nBest)->GetRect();
  // After a control, the marker stands in the middle of the gap to the next
  // control when that one goes on the same group.
  const CXTPControl *pNext = nullptr;
  for (int i = nBest + 1; i < GetControlCount() && pNext == nullptr; i++)
    if (GetControl(i)->IsVisible()) pNext = GetControl(i);
  if (pNext && pNext->GetBeginGroup()) pNext = nullptr;
  if (bMarkAlongY) {
    bBefore = point.y < rc.CenterPoint().y;
    int y = bBefore ? rc.top : rc.bottom;
    if (!bBefore && pNext && pNext->GetRect().top >= rc.bottom && pNext->GetRect().left < rc.right &&
        pNext->GetRect().right > rc.left)
      y = (rc.bottom + pNext->GetRect().top) / 2;
    rcMarker = CRect(rc.left, y - 3, rc.right, y + 3);
  } else {
    bBefore = point.x < rc.CenterPoint().x;
    int x = bBefore ? rc.left : rc.right;
    if (!bBefore && pNext && pNext->GetRect().left >= rc.right && pNext->GetRect().top < rc.bottom &&
        pNext->GetRect().bottom > rc.top)
      x = (rc.right + pNext->GetRect().left) / 2;
    rcMarker = CRect(x - 3, rc.top, x + 3, rc.bottom);
  }
  return nBest;
}

void CXTPCommandBar::OnCustomizeDragOver(CXTPControl *pDataObject, CPoint point, DWORD &dwEffect) {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return;
  BOOL bBefore = TRUE;
  CRect rcMarker;
  CalcDropPosition(point, bBefore, rcMarker);
  if (CXTPControl *pOver = m_pControls->HitTest(point)) {
    if (!m_pParentBar && GetControl(m_nPopuped) != pOver) {
      if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->CloseTrackedBars();
    }
    pOver->OnCustomizeDragOver(pDataObject, point, dwEffect);
  }
  if (pDataObject && !pDataObject->IsCustomizeDragOverAvail(this, point, dwEffect)) return;
  m_rcMarker = rcMarker;
  m_bVerticalMarker = m_barType == xtpBarTypePopup || IsVerticalPosition();
  Redraw();
}

void CXTPCommandBar::OnCustomizeDragLeave() {
  if (m_rcMarker.IsRectEmpty()) return;
  m_rcMarker.SetRectEmpty();
  Redraw();
}

void CXTPCommandBar::OnCustomizeDrop(CXTPControl *pDataObject, DWORD &dwEffect, CPoint ptDrop,
                                     CPoint ptDrag) {
  CXTPReferenceHold hold(HoldableThis());
  BOOL bBefore = TRUE;
  CRect rcMarker;
  int nIndex = CalcDropPosition(ptDrop, bBefore, rcMarker);
  CXTPControl *pTarget = GetControl(nIndex);
  if (pDataObject && pTarget == pDataObject) {
    // A control dropped on itself stays, however far it went: a click that
    // jittered by a pixel or two must not delete the button. Only a real
    // move past its middle starts a group there.
    const CSize szMove = ptDrop - ptDrag;
    if ((std::abs(szMove.cx) > 4 || std::abs(szMove.cy) > 4) && !bBefore && nIndex > 0)
      pDataObject->SetBeginGroup(TRUE);
    dwEffect = 5;
  } else if (pDataObject) {
    SetPopuped(-1);
    SetSelected(-1);
    if (!bBefore) nIndex++;
    CXTPControl *pDisplaced = GetControl(nIndex);
    const BOOL bGroup = pDisplaced && pDisplaced->GetBeginGroup();
    if (pDisplaced && bGroup) pDisplaced->SetBeginGroup(FALSE);
    CXTPControl *pCopy = m_pControls->AddClone(pDataObject, nIndex == -1 ? -1 : nIndex, TRUE);
    if (pCopy) {
      if (bGroup) pCopy->SetBeginGroup(TRUE);
      if (m_pCommandBars) m_pCommandBars->SetDragControl(pCopy);
    }
  }
  DelayLayout();
  OnRecalcLayout();
  m_rcMarker.SetRectEmpty();
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// Copies

void CXTPCommandBar::Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive) {
  m_barType = pCommandBar->m_barType;
  m_barPosition = pCommandBar->m_barPosition;
  m_nBarID = pCommandBar->m_nBarID;
  m_dwFlags = pCommandBar->m_dwFlags;
  m_dwStyle = pCommandBar->m_dwStyle;
  m_strTitle = pCommandBar->m_strTitle;
  m_bCustomizable = pCommandBar->m_bCustomizable;
  m_nMRUWidth = pCommandBar->m_nMRUWidth;
  m_szIcons = pCommandBar->m_szIcons;
  m_szButtons = pCommandBar->m_szButtons;
  m_pCommandBars = pCommandBar->m_pCommandBars;
  CXTPControls *pControls = pCommandBar->m_pControls->Duplicate(bRecursive);
  m_pControls->RemoveAll();
  m_pControls->SetParent(nullptr);
  m_pControls->InternalRelease();
  m_pControls = pControls;
  m_pControls->SetParent(this);
  m_pControls->RefreshIndexes();
}

CXTPCommandBar *CXTPCommandBar::Clone(BOOL bRecursive) {
  auto *pBar = static_cast<CXTPCommandBar *>(GetRuntimeClass()->CreateObject());
  if (pBar) pBar->Copy(this, bRecursive);
  return pBar;
}
