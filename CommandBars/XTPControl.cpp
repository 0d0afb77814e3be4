#include "XTPControl.h"
#include "XTPCustomizeTools.h"

#include <algorithm>
#include <memory>

#include "XTPCaptureLoop.h"
#include "XTPCommandBar.h"
#include "XTPCommandBarList.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPImageManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPPropExchange.h"
#include "XTPResource.h"
#include "XTPCaptureLoop.h"
#include "XTPManageState.h"
#include "XTPResourceManager.h"
#include "XTPSoundManager.h"

IMPLEMENT_SERIAL(CXTPControl, CCmdTarget, VERSIONABLE_SCHEMA | 8)

CXTPControl::GetMessageFunction CXTPControl::s_pfnGetMessage = nullptr;

int CXTPControl::ClampResizeEdge(int x, int nFixedEdge, BOOL bLeftEdge, int nMinWidth) {
  return bLeftEdge ? std::min(x, nFixedEdge - nMinWidth) : std::max(x, nFixedEdge + nMinWidth);
}

CXTPControl::CXTPControl() = default;

CXTPControl::~CXTPControl() = default;

CString CXTPControl::GetTooltip(LPPOINT /*pPoint*/, LPRECT /*lpRectTip*/, int * /*nHit*/) const {
  return m_strTooltipText;
}

void CXTPControl::SetBeginGroup(BOOL bBeginGroup) {
  m_bBeginGroup = bBeginGroup;
  DelayLayoutParent();
}

void CXTPControl::SetEnabled(BOOL bEnabled) {
  if (m_bEnabled == bEnabled) return;
  m_bEnabled = bEnabled;
  RedrawParent();
}

void CXTPControl::SetChecked(BOOL bChecked) {
  if (m_bChecked == bChecked) return;
  m_bChecked = bChecked;
  RedrawParent();
}

void CXTPControl::SetDefaultItem(BOOL bDefault) {
  if (m_bDefaultItem == bDefault) return;
  m_bDefaultItem = bDefault;
  DelayLayoutParent();
}

void CXTPControl::SetRect(CRect rcControl) {
  m_rcControl = rcControl;
}

void CXTPControl::SetHideFlags(DWORD dwFlags) {
  m_dwHideFlags = dwFlags;
}

BOOL CXTPControl::SetHideFlag(DWORD dwFlag, BOOL bSet) {
  DWORD dwFlags = bSet ? (m_dwHideFlags | dwFlag) : (m_dwHideFlags & ~dwFlag);
  if (dwFlags == m_dwHideFlags) return FALSE;
  SetHideFlags(dwFlags);
  return TRUE;
}

void CXTPControl::SetExpandedOnly(BOOL bExpandedOnly) {
  m_bExpandedOnly = bExpandedOnly;
  if (!bExpandedOnly) SetHideFlag(xtpHideExpand, FALSE);
}

int CXTPControl::GetIconId() const {
  if (m_nCustomIconId != 0) return m_nCustomIconId;
  return m_nIconId > 0 ? m_nIconId : m_nId;
}

void CXTPControl::SetIconId(int nId) {
  if (m_nIconId == nId) return;
  m_nIconId = nId;
  RedrawParent();
}

void CXTPControl::SetID(int nId) {
  if (m_nId != nId && m_strCaption.IsEmpty()) {
    CString strPrompt;
    if (nId > 0 && XTPGetResourceManager()->LoadString(&strPrompt, static_cast<UINT>(nId)))
      SetPrompt(strPrompt);
  }
  m_nId = nId;
}

void CXTPControl::SetPrompt(LPCTSTR lpszPrompt) {
  CString strPrompt = lpszPrompt;
  if (strPrompt.IsEmpty()) return;
  int nNewLine = strPrompt.Find(L'\n');
  if (nNewLine >= 0) {
    m_strDescriptionText = strPrompt.Left(nNewLine);
    m_strTooltipText = strPrompt.Mid(nNewLine + 1);
  } else {
    m_strDescriptionText = strPrompt;
    m_strTooltipText = strPrompt;
  }
  SetCaption(m_strTooltipText);
}

void CXTPControl::SetCaption(LPCTSTR lpszCaption) {
  CString strCaption = lpszCaption;
  int nTab = strCaption.Find(L'\t');
  if (nTab >= 0) {
    m_strShortcutTextAuto = strCaption.Mid(nTab + 1);
    strCaption = strCaption.Left(nTab);
  }
  if (m_strCaption != strCaption) {
    m_strCaption = strCaption;
    DelayLayoutParent();
  }
}

BOOL CXTPControl::IsCaptionVisible() {
  if (m_pParent && m_pParent->GetType() == xtpBarTypePopup) return TRUE;
  if (GetCaption().IsEmpty()) return FALSE;
  switch (GetStyle()) {
  case xtpButtonCaption:
  case xtpButtonIconAndCaption:
    return TRUE;
  case xtpButtonIcon:
    return FALSE;
  default:
    break;
  }
  switch (GetType()) {
  case xtpControlButton:
  case xtpControlButtonPopup:
  case xtpControlSplitButtonPopup:
    return GetImage(0) == nullptr;
  case xtpControlPopup:
  case xtpControlLabel:
    return TRUE;
  default:
    return FALSE;
  }
}

BOOL CXTPControl::Compare(CXTPControl *pOther) {
  return pOther && GetStyle() == pOther->GetStyle() && GetType() == pOther->GetType() &&
         GetID() == pOther->GetID() && GetBeginGroup() == pOther->GetBeginGroup() &&
         GetIconId() == pOther->GetIconId() && m_strCaption == pOther->m_strCaption &&
         m_strTooltipText == pOther->m_strTooltipText &&
         m_strDescriptionText == pOther->m_strDescriptionText &&
         m_strCustomCaption == pOther->m_strCustomCaption && m_nCustomStyle == pOther->m_nCustomStyle &&
         m_strParameter == pOther->m_strParameter &&
         (m_dwHideFlags & xtpHideCustomize) == (pOther->m_dwHideFlags & xtpHideCustomize);
}

void CXTPControl::Copy(CXTPControl *pControl, BOOL /*bRecursive*/) {
  m_nId = pControl->m_nId;
  m_nTag = pControl->m_nTag;
  m_dwFlags = pControl->m_dwFlags;
  m_controlType = pControl->m_controlType;
  m_strCaption = pControl->m_strCaption;
  m_strShortcutText = pControl->m_strShortcutText;
  m_strShortcutTextAuto = pControl->m_strShortcutTextAuto;
  m_strTooltipText = pControl->m_strTooltipText;
  m_strDescriptionText = pControl->m_strDescriptionText;
  // Compared, so copied: a copy must equal its original.
  m_strParameter = pControl->m_strParameter;
  m_nCustomIconId = pControl->m_nCustomIconId;
  m_nIconId = pControl->m_nIconId;
  m_bTemporary = pControl->m_bTemporary;
  m_strCustomCaption = pControl->m_strCustomCaption;
  m_strCategory = pControl->m_strCategory;
  m_dwHideFlags = pControl->m_dwHideFlags;
  m_bDefaultItem = pControl->m_bDefaultItem;
  m_bEnabled = pControl->m_bEnabled;
  m_bChecked = pControl->m_bChecked;
  m_nCustomStyle = pControl->m_nCustomStyle;
  m_buttonStyle = pControl->m_buttonStyle;
  m_bBeginGroup = pControl->m_bBeginGroup;
  m_bCloseSubMenuOnClick = pControl->m_bCloseSubMenuOnClick;
  m_setDocTemplatesAssigned = pControl->m_setDocTemplatesAssigned;
  m_setDocTemplatesExcluded = pControl->m_setDocTemplatesExcluded;
}

CXTPControl *CXTPControl::Clone(BOOL bRecursive) {
  CXTPControl *pControl = static_cast<CXTPControl *>(GetRuntimeClass()->CreateObject());
  pControl->Copy(this, bRecursive);
  return pControl;
}

CSize CXTPControl::GetSize(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager ? pPaintManager->DrawControl(pDC, this, FALSE) : CSize(0, 0);
}

void CXTPControl::Draw(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (pPaintManager) pPaintManager->DrawControl(pDC, this, TRUE);
}

CXTPImageManagerIcon *CXTPControl::GetImage(int nWidth) {
  CXTPImageManager *pImageManager = GetImageManager();
  if (!pImageManager || GetIconId() <= 0) return nullptr;
  return pImageManager->GetImage(static_cast<UINT>(GetIconId()), nWidth);
}

namespace {

// A set of menu resource ids as a section: a count, then the ids in order.
// An empty set is left out where the exchange allows default values.
void PX_IdSet(CXTPPropExchange *pPX, LPCTSTR pszPropName, std::set<UINT> &set) {
  if (pPX->IsStoring() && set.empty() && pPX->IsAllowDefaultValues()) return;
  std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(pszPropName));
  if (!pSection) return;
  int nCount = static_cast<int>(set.size());
  PX_Int(pSection.get(), L"Count", nCount, 0);
  if (pPX->IsLoading()) set.clear();
  auto it = set.begin();
  for (int i = 0; i < nCount; i++) {
    CString strItem;
    strItem.Format(L"Id%d", i);
    DWORD dwId = pPX->IsLoading() ? 0 : *it++;
    PX_DWord(pSection.get(), strItem, dwId, 0);
    if (pPX->IsLoading()) set.insert(dwId);
  }
}

} // namespace

void CXTPControl::ExchangeCustomIcon(CXTPPropExchange *pPX) {
  CXTPCommandBarsExchangeParam *pParam = CXTPCommandBarsExchangeParam::FromExchange(pPX);
  CXTPCommandBars *pCommandBars = pParam != nullptr ? pParam->pCommandBars : nullptr;
  if (pCommandBars == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
  std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"CustomIcon"));
  // A refused picture leaves the control with its command's own.
  if (!pCommandBars->GetImageManager()->ExchangeCustomIconSet(static_cast<UINT>(m_nCustomIconId),
                                                              pSection.get()))
    m_nCustomIconId = 0;
}

void CXTPControl::DoPropExchange(CXTPPropExchange *pPX) {
  long lTag = m_nTag, lFlags = static_cast<long>(m_dwFlags), lHideFlags = static_cast<long>(m_dwHideFlags);
  PX_Int(pPX, L"Type", m_controlType, xtpControlButton);
  PX_Int(pPX, L"Id", m_nId, -1);
  PX_Int(pPX, L"IconId", m_nIconId, 0);
  PX_Bool(pPX, L"BeginGroup", m_bBeginGroup, FALSE);
  PX_Long(pPX, L"Tag", lTag, 0);
  PX_Long(pPX, L"Flags", lFlags, 0);
  PX_Long(pPX, L"HideFlags", lHideFlags, 0);
  PX_String(pPX, L"Caption", m_strCaption, L"");
  PX_String(pPX, L"ShortcutText", m_strShortcutText, L"");
  PX_String(pPX, L"TooltipText", m_strTooltipText, L"");
  PX_String(pPX, L"DescriptionText", m_strDescriptionText, L"");
  PX_String(pPX, L"Parameter", m_strParameter, L"");
  PX_Int(pPX, L"CustomIconId", m_nCustomIconId, 0);
  PX_String(pPX, L"CustomCaption", m_strCustomCaption, L"");
  if (pPX->m_nSchema > 1) PX_String(pPX, L"Category", m_strCategory, L"");
  if (m_nCustomIconId > 0) ExchangeCustomIcon(pPX);
  if (pPX->m_nSchema > 3) {
    PX_IdSet(pPX, L"DocTemplatesExcluded", m_setDocTemplatesExcluded);
    PX_IdSet(pPX, L"DocTemplatesAssigned", m_setDocTemplatesAssigned);
    PX_Bool(pPX, L"DefaultItem", m_bDefaultItem, FALSE);
  }
  if (pPX->m_nSchema > 6) PX_Bool(pPX, L"CloseSubMenuOnClick", m_bCloseSubMenuOnClick, TRUE);
  if (pPX->m_nSchema > 7) PX_Int(pPX, L"CustomStyle", m_nCustomStyle, 0);
  if (pPX->IsLoading()) {
    m_nTag = static_cast<int>(lTag);
    m_dwFlags = static_cast<DWORD>(lFlags);
    m_dwHideFlags = static_cast<DWORD>(lHideFlags);
  }
}

BOOL CXTPControl::OnSetSelected(int bSelected) {
  if (bSelected == m_bSelected) return FALSE;
  if (bSelected == 2 && m_pParent) m_pParent->SetPopuped(-1);
  m_bSelected = bSelected;
  if (m_pParent) {
    m_pParent->SetStatusText(this, bSelected != 0);
  }
  RedrawParent();
  return TRUE;
}

void CXTPControl::OnMouseHover() {
  if (!m_pParent) return;
  // SetPopuped answers whether a popup opened, so whether one was open is
  // asked before it closes.
  const BOOL bWasOpen = m_pParent->GetPopupedIndex() != -1;
  m_pParent->SetPopuped(-1);
  if (bWasOpen && m_pParent->GetTrackingMode() == 2 && m_pParent->GetType() != xtpBarTypePopup)
    m_pParent->SetTrackingMode(0, TRUE, FALSE);
}

UINT *CXTPControl::GetRootReturnCommand(CXTPCommandBar *pParent) {
  return pParent ? pParent->GetRootParent()->m_pReturnCmd : nullptr;
}

void CXTPControl::OnExecute() {
  // The command handler may remove this control or reset its bar: both stay
  // alive until the click is over.
  CXTPReferenceHold holdControl(this);
  CXTPCommandBar *pParent = m_pParent;
  CXTPReferenceHold holdParent(pParent);

  XTPSoundManager()->PlaySystemSound(xtpSoundMenuCommand);
  m_bPressed = 2;

  if (UINT *pReturnCmd = GetRootReturnCommand(pParent)) {
    pParent->GetRootParent()->OnTrackLost();
    *pReturnCmd = static_cast<UINT>(m_nId);
    m_bPressed = 0;
    return;
  }

  NMXTPCONTROL notify = {};
  notify.hdr.hwndFrom = nullptr;
  notify.hdr.idFrom = static_cast<UINT_PTR>(m_nId);
  notify.hdr.code = CBN_XTP_EXECUTE;
  notify.pControl = this;

  CXTPCommandBars *pCommandBars = pParent ? pParent->GetCommandBars() : nullptr;
  if (pCommandBars) {
    if (m_nId != 0) pCommandBars->SetCommandUsed(static_cast<UINT>(m_nId));
    if (auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(pParent)) {
      CXTPControl *pOpener = pPopupBar->GetControlPopup();
      if (pOpener && pOpener->GetID() != 0) pCommandBars->SetCommandUsed(static_cast<UINT>(pOpener->GetID()));
    }
  }

  const BOOL bCloseSubMenus = m_bCloseSubMenuOnClick;
  if (bCloseSubMenus && pParent) pParent->GetRootParent()->OnTrackLost();

  const int nId = m_nId;
  if (nId != 0 && pParent) {
    HWND hWndTarget = pParent->GetUpdateTarget();
    if (hWndTarget) {
      LRESULT lResult = ::SendMessageW(hWndTarget, XTP_TBN_COMMAND_NOTIFY, static_cast<WPARAM>(nId),
                                       reinterpret_cast<LPARAM>(&notify));
      if (lResult == 0) ::SendMessageW(hWndTarget, WM_COMMAND, static_cast<WPARAM>(nId), 0);
    }
    if (!bCloseSubMenus) {
      pParent->OnIdleUpdateCmdUI(FALSE);
      pParent->Redraw();
    }
  }
  m_bPressed = 0;
}

BOOL CXTPControl::IsCursorOver() const {
  if (!m_pParent || !m_pParent->GetSafeHwnd()) return FALSE;
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
  return m_rcControl.PtInRect(pt);
}

BOOL CXTPControl::IsCustomizeMode() const {
  return m_pParent && m_pParent->IsCustomizeMode();
}

CXTPCommandBars *CXTPControl::GetCommandBars() const {
  if (m_pParent) return m_pParent->GetCommandBars();
  return m_pControls ? m_pControls->GetCommandBars() : nullptr;
}

CXTPImageManager *CXTPControl::GetImageManager() const {
  if (m_pParent) return m_pParent->GetImageManager();
  if (CXTPCommandBars *pCommandBars = GetCommandBars()) return pCommandBars->GetImageManager();
  return XTPGetImageManager();
}

CXTPPaintManager *CXTPControl::GetPaintManager() const {
  if (m_pParent) return m_pParent->GetPaintManager();
  if (CXTPCommandBars *pCommandBars = GetCommandBars()) return pCommandBars->GetPaintManager();
  return XTPGetPaintManager();
}

void CXTPControl::RedrawParent() {
  if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->DelayRedraw();
}

void CXTPControl::InvalidateParent() {
  if (m_pParent && m_pParent->GetSafeHwnd()) ::InvalidateRect(m_pParent->GetSafeHwnd(), nullptr, FALSE);
}

void CXTPControl::DelayLayoutParent() {
  if (m_pParent) m_pParent->DelayLayout();
}

// ---------------------------------------------------------------------------
// Customisation

void CXTPControl::OnCustomizeStartDrag(CPoint point) {
  ASSERT(m_pParent && m_pParent->GetCommandBars());
  CXTPCommandBars *pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
  if (!pCommandBars) return;
  if (pCommandBars->GetDragControl() == this && IsCustomizeResizeAllow() && OnCustomizeResize(point)) return;
  CXTPReferenceHold hold(this);
  pCommandBars->SetDragControl(this);
  const int nEffect = pCommandBars->GetDragTool()->PerformDrag(this, FALSE);
  // Dropped where no bar took it, or moved: it leaves this bar. A cancelled
  // drag changes nothing.
  if ((nEffect == xtpDropNone || nEffect == xtpDropMove) && m_pParent && m_pControls) {
    CXTPCommandBar *pParent = m_pParent;
    CXTPReferenceHold holdParent(pParent);
    pParent->SetPopuped(-1);
    pParent->SetSelected(-1);
    if (pCommandBars->GetDragControl() == this) pCommandBars->SetDragControl(nullptr);
    CXTPControls *pControls = m_pControls;
    const int nIndex = GetIndex();
    CXTPControl *pNext = pControls->GetAt(nIndex + 1);
    if (m_bBeginGroup && pNext) pNext->SetBeginGroup(TRUE);
    if (nIndex == 0 && pNext) pNext->SetBeginGroup(FALSE);
    pControls->Remove(this);
    pParent->DelayLayout();
    pParent->OnRecalcLayout();
    if (pParent->GetSafeHwnd()) pParent->Invalidate(FALSE);
  }
  pCommandBars->SetDragControl(pCommandBars->GetDragControl());
}

BOOL CXTPControl::OnCustomizeResize(CPoint point) {
  CXTPCommandBars *pCommandBars = GetCommandBars();
  if (!pCommandBars || pCommandBars->GetDragControl() != this || !m_rcControl.PtInRect(point)) return FALSE;
  const BOOL bLeftEdge = point.x - m_rcControl.left <= 3;
  if (!bLeftEdge && m_rcControl.right - point.x > 3) return FALSE;

  CXTPReferenceHold holdControl(this);
  pCommandBars->SetDragControl(nullptr);
  RedrawParent();
  HWND hWnd = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
  if (hWnd) ::UpdateWindow(hWnd);
  HCURSOR hCursor = ::LoadCursorW(XTPGetResourceInstance(), MAKEINTRESOURCEW(XTP_IDC_SIZECONTROL));
  if (hCursor) ::SetCursor(hCursor);

  // The new width shows as an inverted two-pixel frame on the bar.
  CRect rcTrack = m_rcControl;
  auto invertFrame = [&](const CRect &rc) {
    if (!hWnd) return;
    HDC hDC = ::GetDC(hWnd);
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), 2, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.bottom - 2, rc.Width(), 2, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
    ::PatBlt(hDC, rc.right - 2, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
    ::ReleaseDC(hWnd, hDC);
  };
  invertFrame(rcTrack);

  CXTPCaptureLoop loop(hWnd, CXTPCaptureLoop::kEscapeCancels);
  loop.SetMessageSource(s_pfnGetMessage);
  const CXTPCaptureLoop::EndReason reason = loop.Run([&](const MSG &msg) {
    if (msg.message == WM_MOUSEMOVE) {
      const int x = GET_X_LPARAM(msg.lParam);
      invertFrame(rcTrack);
      if (bLeftEdge)
        rcTrack.left = ClampResizeEdge(x, rcTrack.right, TRUE, GetCustomizeMinWidth());
      else
        rcTrack.right = ClampResizeEdge(x, rcTrack.left, FALSE, GetCustomizeMinWidth());
      invertFrame(rcTrack);
      return CXTPCaptureLoop::kHandled;
    }
    return msg.message == WM_LBUTTONUP ? CXTPCaptureLoop::kEnd : CXTPCaptureLoop::kDispatch;
  });
  const BOOL bCommit = reason == CXTPCaptureLoop::kEnded;

  invertFrame(rcTrack);
  loop.Release();
  pCommandBars->SetDragControl(this);
  if (bCommit && rcTrack.Width() != m_rcControl.Width()) {
    SetWidth(rcTrack.Width());
    DelayLayoutParent();
  }
  RedrawParent();
  return TRUE;
}

void CXTPControl::OnCustomizeDragOver(CXTPControl * /*pDataObject*/, CPoint /*point*/, DWORD & /*dwEffect*/) {
  if (!m_pParent) return;
  m_pParent->SetPopuped(-1);
  m_pParent->SetSelected(-1);
}
