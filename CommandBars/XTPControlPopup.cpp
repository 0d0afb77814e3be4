#include "XTPControlPopup.h"

#include <unordered_set>

#include "XTPCommandBars.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPShadowsManager.h"

namespace {

// The parent's timer that opens a submenu after the mouse rests on it.
const UINT_PTR kHoverTimer = 0x1B65F;

// Every bar reachable from the bar through popup controls, each once.
bool BarReaches(CXTPCommandBar *pFrom, CXTPCommandBar *pTarget,
                std::unordered_set<CXTPCommandBar *> &visited) {
  if (!pFrom || !visited.insert(pFrom).second) return false;
  if (pFrom == pTarget) return true;
  CXTPControls *pControls = pFrom->GetControls();
  for (int i = 0; pControls && i < pControls->GetCount(); i++) {
    auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControls->GetAt(i));
    if (pPopup && BarReaches(pPopup->GetCommandBar(), pTarget, visited)) return true;
  }
  return false;
}

} // namespace

IMPLEMENT_SERIAL(CXTPControlPopup, CXTPControlButton, VERSIONABLE_SCHEMA | 8)

CXTPControlPopup::CXTPControlPopup() {
  m_controlType = xtpControlPopup;
}

CXTPControlPopup::~CXTPControlPopup() {
  SetCommandBar(nullptr);
}

CXTPControlPopup *CXTPControlPopup::CreateControlPopup(XTPControlType controlType) {
  CXTPControlPopup *pControl = new CXTPControlPopup;
  pControl->m_controlType = controlType;
  return pControl;
}

void CXTPControlPopup::SetCommandBar(CXTPCommandBar *pBar) {
  if (pBar == m_pCommandBar) return;
  if (pBar) pBar->InternalAddRef();
  if (m_pCommandBar) {
    // A bar shared by copies forgets only the control that opens it now.
    auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(m_pCommandBar);
    if (pPopupBar && pPopupBar->GetControlPopup() == this) pPopupBar->SetControlPopup(nullptr);
    m_pCommandBar->InternalRelease();
  }
  m_pCommandBar = pBar;
  if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
    static_cast<CXTPPopupBar *>(pBar)->SetControlPopup(this);
}

void CXTPControlPopup::Copy(CXTPControl *pControl, BOOL bRecursive) {
  auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControl);
  ASSERT(pPopup != nullptr);
  CXTPControlButton::Copy(pControl, bRecursive);
  if (!pPopup) return;
  CXTPCommandBar *pSource = pPopup->m_pCommandBar;
  if (!bRecursive || !pSource) {
    // A plain copy opens the same menu as its source (a torn-off toolbar's
    // menus hold what the menu's did).
    SetCommandBar(pSource);
    return;
  }
  // A deep copy gets a bar of the source bar's own class, with its tear-off,
  // shadow and border settings; this control holds its only reference.
  CXTPCommandBar *pBar = pSource->Clone(TRUE);
  if (!pBar) return;
  SetCommandBar(pBar);
  pBar->InternalRelease();
}

BOOL CXTPControlPopup::Compare(CXTPControl *pOther) {
  if (!CXTPControlButton::Compare(pOther)) return FALSE;
  auto *pPopup = dynamic_cast<CXTPControlPopup *>(pOther);
  if (pPopup == nullptr) return FALSE;
  // A menu whose items the user changed is a changed menu: the bar that
  // holds it must be stored with the customisation.
  if (m_pCommandBar == nullptr || pPopup->m_pCommandBar == nullptr) return TRUE;
  return m_pCommandBar->GetControls()->Compare(pPopup->m_pCommandBar->GetControls());
}

BOOL CXTPControlPopup::ContainsBar(CXTPControl *pControl) {
  CXTPCommandBar *pTarget = pControl ? pControl->GetCommandBar() : nullptr;
  if (!m_pCommandBar || !pTarget) return FALSE;
  // One walk down from this bar, each bar visited once: asking both ways at
  // every level costs 2^depth and never ends on a bar that holds itself.
  std::unordered_set<CXTPCommandBar *> visited;
  return BarReaches(m_pCommandBar, pTarget, visited);
}

BOOL CXTPControlPopup::IsInSplitCommandPart(CPoint pt) const {
  const BOOL bPopupBar = m_pParent && m_pParent->GetType() == xtpBarTypePopup;
  return pt.x < m_rcControl.right - GetSplitArrowWidth(bPopupBar);
}

CRect CXTPControlPopup::GetPressRect() const {
  if (m_controlType != xtpControlSplitButtonPopup) return m_rcControl;
  CRect rc = m_rcControl;
  rc.right -= GetSplitArrowWidth(FALSE);
  return rc;
}

void CXTPControlPopup::OnUnderlineActivate() {
  if (m_pParent) m_pParent->SetPopuped(m_nIndex, FALSE);
}

void CXTPControlPopup::OnSetPopup(BOOL bPopup) {
  m_bPopup = bPopup;
  if (!bPopup) {
    if (m_pCommandBar) m_pCommandBar->SetTrackingMode(FALSE, TRUE, FALSE);
    RedrawParent();
    return;
  }
  ASSERT(m_pCommandBar);
  if (!m_pCommandBar) return;
  if (!m_pCommandBar->GetTrackingMode()) {
    if (auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(m_pCommandBar))
      pPopupBar->Popup(this, m_bSelected == 2);
  }
  UpdateShadow();
}

void CXTPControlPopup::OnClick(BOOL bKeyboard, CPoint pt) {
  if (!m_bEnabled || !m_pParent) return;
  CXTPReferenceHold holdControl(this);
  CXTPReferenceHold holdParent(m_pParent);
  const BOOL bCustomize = IsCustomizeMode();
  if (bCustomize) {
    CXTPCommandBars *pCommandBars = GetCommandBars();
    ASSERT(pCommandBars);
    if (pCommandBars) pCommandBars->SetDragControl(this);
  }
  const BOOL bParentPopup = m_pParent->GetPosition() == xtpBarPopup;
  if (m_bPopup && !bParentPopup) {
    // A second click on an open menu title closes it.
    m_pParent->SetTrackingMode(FALSE, TRUE, FALSE);
    return;
  }
  if (!bCustomize && m_controlType == xtpControlSplitButtonPopup) {
    if (bKeyboard) {
      OnExecute();
      return;
    }
    if (IsInSplitCommandPart(pt)) {
      if (m_pParent->GetType() == xtpBarTypePopup) {
        // The command runs when the button comes up over it.
        if (m_pParent->GetSafeHwnd()) ::KillTimer(m_pParent->GetSafeHwnd(), kHoverTimer);
      } else if (TrackPress(pt)) {
        OnExecute();
      }
      return;
    }
  }
  m_pParent->SetPopuped(m_nIndex, FALSE);
  if (bCustomize) OnCustomizeStartDrag(pt);
}

void CXTPControlPopup::OnLButtonUp(CPoint point) {
  if (m_bEnabled && m_controlType == xtpControlSplitButtonPopup && m_pParent &&
      m_pParent->GetType() == xtpBarTypePopup && IsInSplitCommandPart(point))
    OnExecute();
}

void CXTPControlPopup::OnMouseHover() {
  if (m_bEnabled && m_pParent &&
      (m_pParent->GetTrackingMode() == 2 || m_pParent->GetPosition() == xtpBarPopup)) {
    m_pParent->SetPopuped(m_nIndex, FALSE);
    return;
  }
  CXTPControlButton::OnMouseHover();
}

BOOL CXTPControlPopup::OnSetSelected(int bSelected) {
  if (!CXTPControlButton::OnSetSelected(bSelected)) return FALSE;
  CXTPCommandBar *pParent = m_pParent;
  if (!pParent) return TRUE;
  const BOOL bParentPopupPos = pParent->GetPosition() == xtpBarPopup;
  if (pParent->GetType() != xtpBarTypePopup && m_controlType != xtpControlPopup) {
    if (m_bEnabled && bSelected == 2 && pParent->GetTrackingMode() == 2) pParent->SetPopuped(m_nIndex, FALSE);
  } else if (m_bEnabled && bSelected && pParent->GetTrackingMode() == 2 && !bParentPopupPos) {
    pParent->SetPopuped(m_nIndex, FALSE);
  } else if (!bSelected && m_bPopup && !bParentPopupPos) {
    pParent->SetPopuped(-1);
  }
  return TRUE;
}

void CXTPControlPopup::UpdateShadow() {
  if (!m_pParent || m_pParent->GetPosition() == xtpBarPopup) return;
  auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(m_pCommandBar);
  if (pPopupBar && pPopupBar->GetShowShadow()) XTPShadowsManager()->SetShadow(this);
}

void CXTPControlPopup::AdjustExcludeRect(CRect &rc) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (!pPaintManager || !m_pParent) return;
  const XTPBarPosition pos = m_pParent->GetPosition();
  pPaintManager->AdjustExcludeRect(rc, this, pos == xtpBarLeft || pos == xtpBarRight || pos == xtpBarPopup);
}

void CXTPControlPopup::OnExpandTimer() {
  auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(m_pCommandBar);
  if (m_bPopup && pPopupBar && m_controlType == xtpControlPopup) pPopupBar->ExpandMenu();
}

BOOL CXTPControlPopup::OnLButtonDblClk(CPoint point) {
  if (m_controlType != xtpControlPopup && m_controlType != xtpControlButtonPopup)
    return CXTPControlButton::OnLButtonDblClk(point);
  if (!m_pParent) return FALSE;
  CXTPReferenceHold hold(this);
  if (!m_bPopup) {
    CXTPCommandBar *pBar = m_pCommandBar;
    OnClick(FALSE, point);
    if (pBar != m_pCommandBar) return FALSE; // the click gave the control another bar
  }
  auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(m_pCommandBar);
  if (!m_bPopup || !pPopupBar) return FALSE;
  const int nDefault = pPopupBar->GetDefaultItem(TRUE);
  if (nDefault != -1) {
    CXTPControl *pDefault = pPopupBar->GetControl(nDefault);
    CXTPReferenceHold holdDefault(pDefault);
    pDefault->OnExecute();
    return TRUE;
  }
  if (pPopupBar->HasHiddenCommands()) {
    pPopupBar->ExpandMenu();
    return TRUE;
  }
  return FALSE;
}

void CXTPControlPopup::OnCustomizeDragOver(CXTPControl *pDataObject, CPoint /*point*/, DWORD & /*dwEffect*/) {
  if (!m_pParent || !m_pCommandBar || !m_pCommandBar->IsCustomizable()) return;
  auto *pDragged = dynamic_cast<CXTPControlPopup *>(pDataObject);
  if (pDragged && pDragged->ContainsBar(this)) {
    // Dropping a menu into its own submenu would make it hold itself.
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
    return;
  }
  m_pParent->SetPopuped(m_nIndex, FALSE);
}
