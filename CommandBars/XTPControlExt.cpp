#include "XTPControlExt.h"

#include <algorithm>
#include <functional>

#include "Document.h"
#include "MDIFrameWnd.h"
#include "RecentFileList.h"
#include "WinApp.h"
#include "XTPColorManager.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControlToolbars.h"
#include "XTPControls.h"
#include "XTPPropExchange.h"
#include "XTPTabClientWnd.h"

IMPLEMENT_SERIAL(CXTPControlLabel, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlLabel::CXTPControlLabel() {
  m_controlType = xtpControlLabel;
  // Not a focus stop, and never dragged away in customise mode.
  m_dwFlags = xtpFlagSkipFocus | xtpFlagNoMovable;
}

IMPLEMENT_SERIAL(CXTPControlWindowList, CXTPControlButton, VERSIONABLE_SCHEMA | 8)
IMPLEMENT_SERIAL(CXTPControlRecentFileList, CXTPControlButton, VERSIONABLE_SCHEMA | 8)
IMPLEMENT_SERIAL(CXTPControlOleItems, CXTPControlButton, VERSIONABLE_SCHEMA | 8)
IMPLEMENT_SERIAL(CXTPControlWorkspaceActions, CXTPControlButton, VERSIONABLE_SCHEMA | 8)
IMPLEMENT_SERIAL(CXTPControlSelector, CXTPControl, VERSIONABLE_SCHEMA | 8)

namespace {

// Takes away what the control added at its last expansion. Returns the list
// to add the new items to, or null when nothing is to be added: the control
// is not where its bar says it is, or the bars are being customised (then the
// control shows as itself so it can be moved).
CXTPControls *BeginExpansion(CXTPControl *pControl, const std::function<bool(CXTPControl *)> &isOwnItem) {
  CXTPCommandBar *pParent = pControl->GetParent();
  CXTPControls *pControls = pParent ? pParent->GetControls() : nullptr;
  if (!pControls || pControls->GetAt(pControl->GetIndex()) != pControl) return nullptr;
  while (CXTPControl *pNext = pControls->GetAt(pControl->GetIndex() + 1)) {
    if (!isOwnItem(pNext)) break;
    pControls->Remove(pNext);
  }
  if (pControl->IsCustomizeMode()) {
    pControl->SetHideFlag(xtpHideGeneric, FALSE);
    return nullptr;
  }
  pControl->SetHideFlag(xtpHideGeneric, TRUE);
  return pControls;
}

// An added item: a button that keeps its own state (no update handler).
CXTPControl *AddItem(CXTPControls *pControls, int nId, const CString &strCaption, int nAt) {
  CXTPControl *pItem = pControls->Add(xtpControlButton, nId, nullptr, nAt, TRUE);
  pItem->SetCaption(strCaption);
  pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
  return pItem;
}

CMDIFrameWnd *GetMDIFrame(CXTPControl *pControl) {
  CXTPCommandBars *pCommandBars = pControl->GetCommandBars();
  return pCommandBars ? dynamic_cast<CMDIFrameWnd *>(pCommandBars->GetSite()) : nullptr;
}

} // namespace

// --- Window list ---------------------------------------------------------------

void CXTPControlWindowList::OnCalcDynamicSize(DWORD /*dwMode*/) {
  const int nFirst = m_nFirstWindowId;
  // Only items it added itself (temporary ones): numbered from 1, a client's
  // children share their ids with the menu's own commands.
  CXTPControls *pControls =
      BeginExpansion(this, [nFirst](CXTPControl *p) { return p->GetTemporary() && p->GetID() >= nFirst; });
  if (!pControls) return;
  CMDIFrameWnd *pFrame = GetMDIFrame(this);
  if (!pFrame || !::IsWindow(pFrame->m_hWndMDIClient)) return;
  HWND hClient = pFrame->m_hWndMDIClient;
  HWND hActive = reinterpret_cast<HWND>(::SendMessageW(hClient, WM_MDIGETACTIVE, 0, 0));
  int nAt = m_nIndex + 1;
  int nItems = 0;
  for (int nId = m_nFirstWindowId; nItems < kMaxItems; nId++) {
    HWND hChild = ::GetDlgItem(hClient, nId);
    if (!hChild) break;
    if (!(::GetWindowLongW(hChild, GWL_STYLE) & WS_VISIBLE)) continue;
    wchar_t szText[260] = {};
    ::GetWindowTextW(hChild, szText, 260);
    nItems++;
    CXTPControl *pItem = AddItem(pControls, nId, CXTPControlToolbars::MenuCaption(nItems, szText), nAt++);
    if (nItems == 1) pItem->SetBeginGroup(TRUE);
    pItem->SetChecked(hChild == hActive);
  }
  // Clients that number their children from elsewhere are followed at the
  // next expansion.
  const int nActiveId = hActive ? ::GetDlgCtrlID(hActive) : 0;
  if (nActiveId >= 0x8000 && nActiveId <= 0x800E)
    m_nFirstWindowId = 0x8000;
  else if (nActiveId >= 1 && nActiveId <= 14)
    m_nFirstWindowId = 1;
}

// --- Recent files ----------------------------------------------------------------

void CXTPControlRecentFileList::OnCalcDynamicSize(DWORD /*dwMode*/) {
  CXTPControls *pControls = BeginExpansion(
      this, [](CXTPControl *p) { return p->GetID() >= kFirstFileId && p->GetID() <= kLastFileId; });
  if (!pControls) return;
  CWinApp *pApp = AfxGetApp();
  CRecentFileList *pList = pApp ? pApp->m_pRecentFileList : nullptr;
  if (!pList) return;
  wchar_t szCurDir[MAX_PATH] = {};
  const int nCurDir = static_cast<int>(::GetCurrentDirectoryW(MAX_PATH, szCurDir));
  int nAt = m_nIndex + 1;
  for (int i = 0; i < pList->GetSize() && kFirstFileId + i <= kLastFileId; i++) {
    CString strName;
    if (!pList->GetDisplayName(strName, i, szCurDir, nCurDir) || strName.IsEmpty()) break;
    AddItem(pControls, kFirstFileId + i, CXTPControlToolbars::MenuCaption(i + 1, strName), nAt++);
  }
}

// --- OLE verbs ----------------------------------------------------------------------

void CXTPControlOleItems::OnCalcDynamicSize(DWORD /*dwMode*/) {
  CXTPControls *pControls =
      BeginExpansion(this, [](CXTPControl *p) { return p->GetParameter() == kItemParameter; });
  if (!pControls) return;
  CXTPCommandBars *pCommandBars = GetCommandBars();
  auto *pFrame = pCommandBars ? dynamic_cast<CFrameWnd *>(pCommandBars->GetSite()) : nullptr;
  CFrameWnd *pActive = pFrame ? pFrame->GetActiveFrame() : nullptr;
  CDocument *pDocument = pActive ? pActive->GetActiveDocument() : nullptr;
  auto *pOleDocument = dynamic_cast<CXTPOleItemsDocument *>(pDocument);
  if (!pOleDocument) return;
  CString strCaption;
  HMENU hVerbs = pOleDocument->CreateSelectedItemVerbMenu(strCaption);
  if (!hVerbs) return;
  CXTPControl *pPopup = pControls->Add(xtpControlPopup, 0, kItemParameter, m_nIndex + 1, TRUE);
  pPopup->SetCaption(strCaption);
  pPopup->SetFlags(pPopup->GetFlags() | xtpFlagManualUpdate);
  if (CXTPCommandBar *pVerbs = pPopup->GetCommandBar()) pVerbs->GetControls()->LoadMenu(hVerbs);
  ::DestroyMenu(hVerbs);
}

// --- Tab-group commands ------------------------------------------------------------

void CXTPControlWorkspaceActions::OnCalcDynamicSize(DWORD /*dwMode*/) {
  CXTPControls *pControls =
      BeginExpansion(this, [](CXTPControl *p) { return p->GetID() >= 9420 && p->GetID() <= 9423; });
  if (!pControls) return;
  CMDIFrameWnd *pFrame = GetMDIFrame(this);
  auto *pClient =
      pFrame ? dynamic_cast<CXTPTabClientWnd *>(CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient)) : nullptr;
  if (!pClient) return;
  const UINT kOrder[] = {XTP_ID_WORKSPACE_NEWHORIZONTAL, XTP_ID_WORKSPACE_NEWVERTICAL,
                         XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_MOVENEXT};
  int nAt = m_nIndex + 1;
  for (UINT nId : kOrder) {
    if (!pClient->CanRunGroupCommand(nId)) continue;
    CXTPControl *pItem = pControls->Add(xtpControlButton, static_cast<int>(nId), nullptr, nAt, TRUE);
    pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
    if (nAt == m_nIndex + 1 && GetBeginGroup()) pItem->SetBeginGroup(TRUE);
    nAt++;
  }
}

// --- Selector ----------------------------------------------------------------------------

CXTPControlSelector::CXTPControlSelector() {
  m_controlType = xtpControlButton;
}

CSize CXTPControlSelector::GetSize(CDC * /*pDC*/) {
  return CSize(m_szGrid.cx * m_szItemSize.cx, m_szGrid.cy * m_szItemSize.cy);
}

void CXTPControlSelector::Draw(CDC *pDC) {
  const CRect rc = GetRect();
  for (int i = 0; i < m_szGrid.cx; i++)
    for (int j = 0; j < m_szGrid.cy; j++) {
      CRect rcItem(rc.left + i * m_szItemSize.cx, rc.top + j * m_szItemSize.cy,
                   rc.left + (i + 1) * m_szItemSize.cx, rc.top + (j + 1) * m_szItemSize.cy);
      rcItem.DeflateRect(1, 1);
      const BOOL bSelected = i < m_szSelected.cx && j < m_szSelected.cy;
      pDC->FillSolidRect(rcItem, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      const COLORREF clrText = bSelected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : XTPGetColor(46);
      pDC->Draw3dRect(rcItem, XTPGetColor(43), XTPGetColor(43));
      OnDrawItem(pDC, rcItem, clrText);
    }
}

CSize CXTPControlSelector::HitTest(CPoint point) const {
  const CRect rc = GetRect();
  CSize sz(0, 0);
  for (int i = 0; i < m_szGrid.cx; i++)
    if (rc.left + i * m_szItemSize.cx < point.x) sz.cx = i + 1;
  for (int j = 0; j < m_szGrid.cy; j++)
    if (rc.top + j * m_szItemSize.cy < point.y) sz.cy = j + 1;
  return sz;
}

BOOL CXTPControlSelector::GrowGrid(CPoint point) {
  const CRect rc = GetRect();
  CSize szGrid = m_szGrid;
  if (m_szItemSize.cx > 0 && point.x > rc.left + m_szGrid.cx * m_szItemSize.cx)
    szGrid.cx = std::min<LONG>(m_szItemsMax.cx, static_cast<LONG>((point.x - rc.left) / m_szItemSize.cx + 1));
  if (m_szItemSize.cy > 0 && point.y > rc.top + m_szGrid.cy * m_szItemSize.cy)
    szGrid.cy = std::min<LONG>(m_szItemsMax.cy, static_cast<LONG>((point.y - rc.top) / m_szItemSize.cy + 1));
  if (szGrid == m_szGrid) return FALSE;
  m_szGrid = szGrid;
  return TRUE;
}

void CXTPControlSelector::OnMouseMove(CPoint point) {
  if (::GetKeyState(VK_LBUTTON) < 0 && GrowGrid(point)) {
    SetSelected(HitTest(point));
    m_bInRelayout = TRUE;
    if (m_pParent) m_pParent->OnRecalcLayout();
    m_bInRelayout = FALSE;
    return;
  }
  SetSelected(HitTest(point));
}

void CXTPControlSelector::OnClick(BOOL /*bKeyboard*/, CPoint /*pt*/) {
  if (m_szSelected.cx <= 0 || m_szSelected.cy <= 0) return;
  m_szLastSelected = m_szSelected;
  CXTPControl::OnExecute();
}

void CXTPControlSelector::OnCalcDynamicSize(DWORD /*dwMode*/) {
  // A popup opening starts from the small grid with nothing chosen; the
  // layouts the growing grid asks for keep what the drag made.
  if (m_bInRelayout) return;
  m_szGrid = m_szItemsCount;
  SetSelected(CSize(0, 0), TRUE);
}

void CXTPControlSelector::SetSelected(CSize szSelected, BOOL bForce) {
  if (szSelected == m_szSelected && !bForce) return;
  m_szSelected = szSelected;
  RedrawParent();
  CXTPCommandBars *pCommandBars = GetCommandBars();
  HWND hSite = pCommandBars ? pCommandBars->GetSiteHwnd() : nullptr;
  if (!hSite) return;
  NMXTPCONTROL nm = {};
  nm.hdr.hwndFrom = nullptr;
  nm.hdr.idFrom = static_cast<UINT_PTR>(m_nId);
  nm.hdr.code = kSelectionChanged;
  nm.pControl = this;
  ::SendMessageW(hSite, XTP_TBN_COMMAND_NOTIFY, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(&nm));
}

void CXTPControlSelector::Copy(CXTPControl *pControl, BOOL bRecursive) {
  auto *pSelector = dynamic_cast<CXTPControlSelector *>(pControl);
  ASSERT(pSelector != nullptr);
  if (pSelector) {
    m_szItemsCount = pSelector->m_szItemsCount;
    m_szItemsMax = pSelector->m_szItemsMax;
    m_szItemSize = pSelector->m_szItemSize;
  }
  CXTPControl::Copy(pControl, bRecursive);
}

void CXTPControlSelector::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControl::DoPropExchange(pPX);
  PX_Size(pPX, L"ItemsCount", m_szItemsCount, CSize(0, 0));
  PX_Size(pPX, L"ItemsMax", m_szItemsMax, CSize(0, 0));
  PX_Size(pPX, L"ItemSize", m_szItemSize, CSize(0, 0));
}
