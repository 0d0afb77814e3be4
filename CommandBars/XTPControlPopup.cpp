#include "XTPControlPopup.h"

#include "XTPPopupBar.h"

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
    if (m_pCommandBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
      static_cast<CXTPPopupBar *>(m_pCommandBar)->SetControlPopup(nullptr);
    m_pCommandBar->InternalRelease();
  }
  m_pCommandBar = pBar;
  if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
    static_cast<CXTPPopupBar *>(pBar)->SetControlPopup(this);
}

void CXTPControlPopup::Copy(CXTPControl *pControl, BOOL bRecursive) {
  CXTPControlButton::Copy(pControl, bRecursive);
  auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControl);
  if (!pPopup || !pPopup->m_pCommandBar) return;
  CXTPPopupBar *pBar = CXTPPopupBar::CreatePopupBar(pPopup->m_pCommandBar->GetCommandBars());
  pBar->SetTitle(pPopup->m_pCommandBar->GetTitle());
  if (bRecursive) {
    CXTPControls *pSource = pPopup->m_pCommandBar->GetControls();
    for (int i = 0; i < pSource->GetCount(); i++) {
      CXTPControl *pChild = pSource->GetAt(i);
      if (!pChild->GetTemporary()) pBar->GetControls()->AddClone(pChild, -1, TRUE);
    }
  }
  SetCommandBar(pBar);
  pBar->InternalRelease();
}

BOOL CXTPControlPopup::Compare(CXTPControl *pOther) {
  return CXTPControlButton::Compare(pOther);
}
