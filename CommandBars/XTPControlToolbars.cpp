#include "XTPControlToolbars.h"

#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPMouseManager.h"

IMPLEMENT_SERIAL(CXTPControlToolbars, CXTPControlButton, VERSIONABLE_SCHEMA | 8)
IMPLEMENT_DYNCREATE(CXTPControlToolbarsItem, CXTPControlButton)

CXTPControlToolbars::CXTPControlToolbars() {
  m_nId = XTP_ID_TOOLBARLIST;
}

CString CXTPControlToolbars::MenuCaption(int n, const CString &strText) {
  CString strEscaped = strText;
  strEscaped.Replace(L"&", L"&&");
  CString strCaption;
  if (n == 0)
    strCaption = strEscaped;
  else if (n < 10)
    strCaption.Format(L"&%i %s", n, static_cast<LPCTSTR>(strEscaped));
  else if (n == 10)
    strCaption.Format(L"1&0 %s", static_cast<LPCTSTR>(strEscaped));
  else
    strCaption.Format(L"%i %s", n, static_cast<LPCTSTR>(strEscaped));
  return strCaption;
}

void CXTPControlToolbars::OnCalcDynamicSize(DWORD /*dwMode*/) {
  CXTPControls *pControls = m_pParent ? m_pParent->GetControls() : nullptr;
  if (!pControls || pControls->GetAt(m_nIndex) != this) return;
  while (CXTPControl *pNext = pControls->GetAt(m_nIndex + 1)) {
    if (pNext->GetParameter() != kItemParameter) break;
    pControls->Remove(pNext);
  }
  CXTPCommandBars *pCommandBars = m_pParent->GetCommandBars();
  if (IsCustomizeMode()) {
    SetHideFlag(xtpHideGeneric, FALSE);
    return;
  }
  SetHideFlag(xtpHideGeneric, TRUE);
  if (!pCommandBars) return;
  int nAt = m_nIndex + 1;
  for (int i = 0; i < pCommandBars->GetCount(); i++) {
    CXTPCommandBar *pBar = pCommandBars->GetAt(i);
    if (pBar->GetType() != xtpBarTypeNormal || !pBar->IsContextMenuPresent() || !pBar->IsCloseable())
      continue;
    CXTPControl *pItem = pControls->Add(new CXTPControlToolbarsItem, m_nId, kItemParameter, nAt++, TRUE);
    pItem->SetTag(i);
    pItem->SetCaption(MenuCaption(0, pBar->GetTitle()));
    pItem->SetChecked(pBar->IsVisible());
    pItem->SetFlags(8); // no update handler decides its check
  }
}

BOOL CXTPControlToolbars::ToggleVisible(CXTPCommandBars *pCommandBars, int nIndex) {
  return pCommandBars != nullptr && pCommandBars->ToggleVisible(nIndex);
}

void CXTPControlToolbarsItem::OnExecute() {
  CXTPReferenceHold holdControl(this);
  CXTPCommandBars *pCommandBars = GetCommandBars();
  // The menu closes before the bar changes, so no popup stays over a bar
  // that moved.
  if (CXTPMouseManager *pMouseManager = CXTPMouseManager::GetThreadMouseManager())
    pMouseManager->SendTrackLost();
  CXTPControlToolbars::ToggleVisible(pCommandBars, m_nTag);
}
