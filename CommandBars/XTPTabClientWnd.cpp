#include "XTPTabClientWnd.h"

#include "CmdUI.h"
#include "MDIFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPTabAppearance.h"

#include <algorithm>
#include <cmath>

CXTPTabClientWnd::GetMessageFunction CXTPTabClientWnd::s_pfnGetMessage = nullptr;

namespace {

// The frame parts a tabbed child does without: its tab stands for them.
const LONG kChildStylesRemoved = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Shown by its own style, whether or not the frame is on screen yet.
BOOL IsShownChild(HWND hWnd) {
  return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void StripChildFrame(HWND hWnd) {
  ::SetWindowLongW(hWnd, GWL_STYLE, ::GetWindowLongW(hWnd, GWL_STYLE) & ~kChildStylesRemoved);
  ::SetWindowLongW(hWnd, GWL_EXSTYLE, ::GetWindowLongW(hWnd, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
}

} // namespace

// --- Workspace -----------------------------------------------------------

CXTPTabPaintManager *CXTPTabClientWorkspace::GetPaintManager() const {
  return m_pClient->GetPaintManager();
}

void CXTPTabClientWorkspace::Reposition() {
  m_pClient->RecalcLayout();
}

void CXTPTabClientWorkspace::RedrawControl() {
  if (m_pClient->GetSafeHwnd()) m_pClient->Invalidate(FALSE);
}

BOOL CXTPTabClientWorkspace::DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw,
                                      CSize &szIcon) const {
  HWND hWnd = pItem->GetHandle();
  if (!::IsWindow(hWnd)) return FALSE;
  HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
  if (!hIcon) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
  if (!hIcon) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICON));
  if (!hIcon) return FALSE;
  szIcon = CSize(16, 16);
  if (bDraw) ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
  return TRUE;
}

CString CXTPTabClientWorkspace::GetItemCaption(const CXTPTabManagerItem *pItem) const {
  // The document's title changes with its window text; the tab follows.
  wchar_t szText[260] = {};
  if (::IsWindow(pItem->GetHandle())) ::GetWindowTextW(pItem->GetHandle(), szText, 260);
  return szText;
}

void CXTPTabClientWorkspace::OnItemClick(CXTPTabManagerItem *pItem) {
  SetSelectedItem(pItem);
  if (m_pClient->GetSafeHwnd() && ::IsWindow(pItem->GetHandle()))
    ::SendMessageW(m_pClient->GetSafeHwnd(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pItem->GetHandle()), 0);
}

CXTPTabManagerItem *CXTPTabClientWorkspace::FindItemByWindow(HWND hWnd) const {
  for (int i = 0; i < GetItemCount(); i++)
    if (GetItem(i)->GetHandle() == hWnd) return GetItem(i);
  return nullptr;
}

// --- Client: weights -------------------------------------------------------

void CXTPTabClientWnd::ReweightSplitter(double &dFirst, double &dSecond, int nSplitterPos, int nBandStart,
                                        int nBandLength, int nSplitterSize, BOOL bMirrored) {
  // A collapsed client has no band to share: the weights stay.
  if (nBandLength <= 0) return;
  const double dTotal = dFirst + dSecond + nSplitterSize;
  double dNew = static_cast<double>(nSplitterPos - nBandStart) / nBandLength * dTotal;
  if (bMirrored) dNew = dTotal - dNew - nSplitterSize;
  dFirst = std::max(0.0, dNew);
  dSecond = std::max(0.0, dTotal - dFirst - nSplitterSize);
}

double CXTPTabClientWnd::SplitWeight(double &dOld, int nSplitterSize) {
  const double dNew = dOld / 2;
  // A group narrower than the splitter would go below nothing.
  dOld = std::max(0.0, dOld - dNew - nSplitterSize);
  return dNew;
}

std::vector<int> CXTPTabClientWnd::ShareLength(const std::vector<double> &arrWeights, int nLength,
                                               int nSplitterSize) {
  std::vector<int> arrLengths(arrWeights.size(), 0);
  if (arrWeights.empty()) return arrLengths;
  const int nCount = static_cast<int>(arrWeights.size());
  const int nAvail = std::max(0, nLength - (nCount - 1) * nSplitterSize);
  double dSum = 0;
  for (double d : arrWeights) dSum += std::max(0.0, d);
  int nGiven = 0;
  for (int i = 0; i < nCount - 1; i++) {
    const double dShare = dSum > 0 ? std::max(0.0, arrWeights[i]) / dSum : 1.0 / nCount;
    arrLengths[i] = std::min(nAvail - nGiven, static_cast<int>(std::lround(nAvail * dShare)));
    nGiven += arrLengths[i];
  }
  arrLengths[nCount - 1] = nAvail - nGiven;
  return arrLengths;
}

// --- Client ----------------------------------------------------------------

CXTPTabClientWnd::CXTPTabClientWnd() {
  m_hCursorHoriz = ::LoadCursorW(nullptr, IDC_SIZENS);
  m_hCursorVert = ::LoadCursorW(nullptr, IDC_SIZEWE);
}

CXTPTabClientWnd::~CXTPTabClientWnd() {
  Detach();
}

BOOL CXTPTabClientWnd::Attach(CMDIFrameWnd *pFrame) {
  if (m_bAttached || !pFrame || !::IsWindow(pFrame->m_hWndMDIClient)) return FALSE;
  if (!SubclassWindow(pFrame->m_hWndMDIClient)) return FALSE;
  m_pFrame = pFrame;
  m_bAttached = TRUE;
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) StripChildFrame(h);
  RecalcLayout();
  return TRUE;
}

void CXTPTabClientWnd::Detach() {
  m_bAttached = FALSE;
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) {
    m_paintManager.RemoveChangeListener(pWorkspace);
    delete pWorkspace;
  }
  m_arrWorkspaces.clear();
  m_pActiveWorkspace = nullptr;
  if (m_hWnd) UnsubclassWindow();
  m_pFrame = nullptr;
}

CXTPTabClientWorkspace *CXTPTabClientWnd::GetWorkspace(int nIndex) const {
  return nIndex >= 0 && nIndex < GetWorkspaceCount() ? m_arrWorkspaces[nIndex] : nullptr;
}

int CXTPTabClientWnd::FindIndex(const CXTPTabManager *pWorkspace) const {
  for (int i = 0; i < GetWorkspaceCount(); i++)
    if (m_arrWorkspaces[i] == pWorkspace) return i;
  return -1;
}

CXTPTabManagerItem *CXTPTabClientWnd::FindItem(HWND hWnd) const {
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
    if (CXTPTabManagerItem *pItem = pWorkspace->FindItemByWindow(hWnd)) return pItem;
  return nullptr;
}

HWND CXTPTabClientWnd::GetActiveChild() const {
  if (!m_hWnd) return nullptr;
  return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
}

CXTPTabClientWorkspace *CXTPTabClientWnd::AddWorkspace(int nIndex) {
  auto *pWorkspace = new CXTPTabClientWorkspace(this);
  m_paintManager.AddChangeListener(pWorkspace);
  nIndex = std::clamp(nIndex, 0, GetWorkspaceCount());
  m_arrWorkspaces.insert(m_arrWorkspaces.begin() + nIndex, pWorkspace);
  return pWorkspace;
}

// --- Group commands ----------------------------------------------------------

BOOL CXTPTabClientWnd::CanRunGroupCommand(UINT nID, CXTPTabClientWorkspace **ppWorkspace) const {
  CXTPTabManagerItem *pItem = FindItem(GetActiveChild());
  if (!pItem) return FALSE;
  auto *pWorkspace = static_cast<CXTPTabClientWorkspace *>(pItem->GetTabManager());
  if (ppWorkspace) *ppWorkspace = pWorkspace;
  const int nIndex = FindIndex(pWorkspace);
  const int nCount = GetWorkspaceCount();
  switch (nID) {
  case XTP_ID_WORKSPACE_MOVEPREVIOUS:
    return nIndex > 0;
  case XTP_ID_WORKSPACE_MOVENEXT:
    return nIndex < nCount - 1;
  case XTP_ID_WORKSPACE_NEWHORIZONTAL:
    return (nCount == 1 || m_bHorizontalGroups) && pWorkspace->GetItemCount() > 1;
  case XTP_ID_WORKSPACE_NEWVERTICAL:
    return (nCount == 1 || !m_bHorizontalGroups) && pWorkspace->GetItemCount() > 1;
  }
  return TRUE;
}

void CXTPTabClientWnd::OnGroupCommand(UINT nID) {
  CXTPTabClientWorkspace *pWorkspace = nullptr;
  if (!CanRunGroupCommand(nID, &pWorkspace)) return;
  CXTPTabManagerItem *pItem = FindItem(GetActiveChild());
  const int nIndex = FindIndex(pWorkspace);
  switch (nID) {
  case XTP_ID_WORKSPACE_MOVEPREVIOUS:
    MoveItem(pItem, GetWorkspace(nIndex - 1), xtpTabClientMoveToGroup);
    break;
  case XTP_ID_WORKSPACE_MOVENEXT:
    MoveItem(pItem, GetWorkspace(nIndex + 1), xtpTabClientMoveToGroup);
    break;
  case XTP_ID_WORKSPACE_NEWHORIZONTAL:
    MoveItem(pItem, nullptr, xtpTabClientNewHorizontalGroup);
    break;
  case XTP_ID_WORKSPACE_NEWVERTICAL:
    MoveItem(pItem, nullptr, xtpTabClientNewVerticalGroup);
    break;
  }
}

BOOL CXTPTabClientWnd::OnUpdateGroupCommand(CCmdUI *pCmdUI) const {
  if (pCmdUI->m_nID < XTP_ID_WORKSPACE_MOVEPREVIOUS || pCmdUI->m_nID > XTP_ID_WORKSPACE_NEWVERTICAL)
    return FALSE;
  pCmdUI->Enable(CanRunGroupCommand(pCmdUI->m_nID));
  return TRUE;
}

BOOL CXTPTabClientWnd::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  if (!m_bAttached || nID < XTP_ID_WORKSPACE_MOVEPREVIOUS || nID > XTP_ID_WORKSPACE_NEWVERTICAL)
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI))
    return OnUpdateGroupCommand(static_cast<CCmdUI *>(pExtra));
  if (nCode != CN_COMMAND) return FALSE;
  if (pHandlerInfo) return TRUE;
  OnGroupCommand(nID);
  return TRUE;
}

void CXTPTabClientWnd::ResetWeightsToLengths() {
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) {
    const CRect rc = pWorkspace->GetControlRect();
    pWorkspace->m_dWeight = m_bHorizontalGroups ? rc.Height() : rc.Width();
  }
}

void CXTPTabClientWnd::MoveItem(CXTPTabManagerItem *pItem, CXTPTabClientWorkspace *pTarget, int nMode) {
  auto *pSource = static_cast<CXTPTabClientWorkspace *>(pItem->GetTabManager());
  if (!pSource) return;
  m_bLockActivate = m_bLockLayout = TRUE;
  if (nMode == xtpTabClientNewHorizontalGroup || nMode == xtpTabClientNewVerticalGroup) {
    ResetWeightsToLengths();
    pTarget = AddWorkspace(FindIndex(pSource) + 1);
    pTarget->m_dWeight = SplitWeight(pSource->m_dWeight, m_nSplitterSize);
    m_bHorizontalGroups = nMode == xtpTabClientNewHorizontalGroup;
  }
  ASSERT(pTarget != nullptr);
  if (pTarget && pTarget != pSource) {
    // One more reference keeps the item alive between the two lists.
    pItem->InternalAddRef();
    pSource->DeleteItem(pItem->GetIndex());
    pTarget->AddItem(-1, pItem);
    pTarget->SetSelectedItem(pItem);
  }
  m_bLockActivate = m_bLockLayout = FALSE;
  m_bDirty = TRUE;
  RecalcLayout();
}

// --- Layout ------------------------------------------------------------------

void CXTPTabClientWnd::SyncItems() {
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
    for (int i = pWorkspace->GetItemCount() - 1; i >= 0; i--) {
      HWND hWnd = pWorkspace->GetItem(i)->GetHandle();
      if (!::IsWindow(hWnd) || ::GetParent(hWnd) != m_hWnd || !IsShownChild(hWnd)) pWorkspace->DeleteItem(i);
    }
  // New documents join the group of the active one; the oldest child first
  // (the bottom of the z-order), so the tabs keep the order of opening.
  HWND hActive = GetActiveChild();
  CXTPTabManagerItem *pActiveItem = FindItem(hActive);
  // A new child is active before it has a tab: the group of the document
  // active before it takes it.
  CXTPTabClientWorkspace *pHome =
      pActiveItem ? static_cast<CXTPTabClientWorkspace *>(pActiveItem->GetTabManager()) : nullptr;
  if (!pHome && FindIndex(m_pActiveWorkspace) >= 0) pHome = m_pActiveWorkspace;
  if (!pHome && !m_arrWorkspaces.empty()) pHome = m_arrWorkspaces[0];
  HWND hChild = ::GetWindow(m_hWnd, GW_CHILD);
  for (HWND h = hChild ? ::GetWindow(hChild, GW_HWNDLAST) : nullptr; h; h = ::GetWindow(h, GW_HWNDPREV)) {
    if (!IsShownChild(h) || FindItem(h)) continue;
    if (!pHome) pHome = AddWorkspace(0);
    CXTPTabManagerItem *pItem = pHome->AddItem(-1);
    pItem->SetHandle(h);
  }
  // The active document's tab is the selected one of its group; every other
  // group shows a document too.
  if (CXTPTabManagerItem *pItem = FindItem(hActive)) {
    auto *pWorkspace = static_cast<CXTPTabClientWorkspace *>(pItem->GetTabManager());
    pWorkspace->CXTPTabManager::SetSelectedItem(pItem);
    m_pActiveWorkspace = pWorkspace;
    for (CXTPTabClientWorkspace *pOther : m_arrWorkspaces) pOther->SetActive(pOther == pWorkspace);
  }
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
    if (!pWorkspace->GetSelectedItem() && pWorkspace->GetItemCount() > 0)
      pWorkspace->CXTPTabManager::SetSelectedItem(pWorkspace->GetItem(0));
}

void CXTPTabClientWnd::RemoveEmptyWorkspaces() {
  for (int i = GetWorkspaceCount() - 1; i >= 0; i--) {
    CXTPTabClientWorkspace *pWorkspace = m_arrWorkspaces[i];
    if (pWorkspace->GetItemCount() > 0) continue;
    // The neighbour takes the room the empty group and its splitter leave.
    if (CXTPTabClientWorkspace *pNeighbour = GetWorkspace(i > 0 ? i - 1 : 1))
      pNeighbour->m_dWeight += pWorkspace->m_dWeight + m_nSplitterSize;
    m_paintManager.RemoveChangeListener(pWorkspace);
    m_arrWorkspaces.erase(m_arrWorkspaces.begin() + i);
    if (m_pActiveWorkspace == pWorkspace) m_pActiveWorkspace = nullptr;
    delete pWorkspace;
  }
}

void CXTPTabClientWnd::RecalcLayout() {
  if (!m_bAttached || !m_hWnd || m_bInLayout || m_bLockLayout) return;
  m_bInLayout = TRUE;
  SyncItems();
  RemoveEmptyWorkspaces();
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  std::vector<double> arrWeights;
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) arrWeights.push_back(pWorkspace->m_dWeight);
  const std::vector<int> arrLengths =
      ShareLength(arrWeights, m_bHorizontalGroups ? rcClient.Height() : rcClient.Width(), m_nSplitterSize);
  HDC hDC = ::GetDC(m_hWnd);
  CDC dc;
  dc.Attach(hDC);
  int nPos = m_bHorizontalGroups ? rcClient.top : rcClient.left;
  for (int i = 0; i < GetWorkspaceCount(); i++) {
    CXTPTabClientWorkspace *pWorkspace = m_arrWorkspaces[i];
    CRect rc = rcClient;
    CRect rcSplitter(0, 0, 0, 0);
    const BOOL bLast = i == GetWorkspaceCount() - 1;
    if (m_bHorizontalGroups) {
      rc.top = nPos;
      rc.bottom = nPos + arrLengths[i];
      if (!bLast) rcSplitter = CRect(rc.left, rc.bottom, rc.right, rc.bottom + m_nSplitterSize);
    } else {
      rc.left = nPos;
      rc.right = nPos + arrLengths[i];
      if (!bLast) rcSplitter = CRect(rc.right, rc.top, rc.right + m_nSplitterSize, rc.bottom);
    }
    nPos += arrLengths[i] + m_nSplitterSize;
    pWorkspace->m_rcSplitter = rcSplitter;
    m_paintManager.RepositionTabControl(pWorkspace, &dc, rc);
  }
  dc.Detach();
  ::ReleaseDC(m_hWnd, hDC);
  PlaceChildren();
  m_bDirty = FALSE;
  m_bInLayout = FALSE;
  Invalidate(FALSE);
}

void CXTPTabClientWnd::PlaceChildren() {
  // Every document of a group covers the group's client part; the selected
  // one goes on top of the others.
  for (int nPass = 0; nPass < 2; nPass++)
    for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) {
      const CRect rc = pWorkspace->GetClientRect();
      for (int i = 0; i < pWorkspace->GetItemCount(); i++) {
        CXTPTabManagerItem *pItem = pWorkspace->GetItem(i);
        const BOOL bSelected = pItem == pWorkspace->GetSelectedItem();
        if (bSelected != (nPass == 1)) continue;
        ::SetWindowPos(pItem->GetHandle(), HWND_TOP, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOACTIVATE | (bSelected ? 0 : SWP_NOZORDER));
      }
    }
}

void CXTPTabClientWnd::Refresh(BOOL bRecalcFrame) {
  if (!m_pFrame || m_bRefreshing) return;
  m_bRefreshing = TRUE;
  RecalcLayout();
  if (!m_arrWorkspaces.empty()) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (m_bAttached)
      for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) pWorkspace->PerformMouseMove(m_hWnd, pt);
    else
      m_arrWorkspaces[0]->PerformMouseMove(m_hWnd, pt);
  }
  if (bRecalcFrame && m_bAttached) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOZORDER);
    if (CXTPCommandBars *pCommandBars = GetCommandBars())
      pCommandBars->RecalcFrameLayout(FALSE);
    else
      m_pFrame->RecalcLayout();
  }
  m_bRefreshing = FALSE;
}

// --- Splitter ------------------------------------------------------------------

int CXTPTabClientWnd::SplitterHit(CPoint point) const {
  for (int i = 0; i < GetWorkspaceCount() - 1; i++)
    if (m_arrWorkspaces[i]->m_rcSplitter.PtInRect(point)) return i;
  return -1;
}

void CXTPTabClientWnd::TrackSplitter(int nIndex, CPoint point) {
  if (nIndex < 0 || nIndex >= GetWorkspaceCount() - 1) return;
  ResetWeightsToLengths();
  CXTPTabClientWorkspace *pFirst = m_arrWorkspaces[nIndex];
  CXTPTabClientWorkspace *pSecond = m_arrWorkspaces[nIndex + 1];
  const CRect rcFirst = pFirst->GetControlRect();
  const CRect rcSecond = pSecond->GetControlRect();
  CRect rcBand;
  rcBand.UnionRect(&rcFirst, &rcSecond);
  const BOOL bMirrored = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  CRect rcSplitter = pFirst->m_rcSplitter;
  const CPoint ptOffset(point.x - rcSplitter.left, point.y - rcSplitter.top);
  ::SetCapture(m_hWnd);
  for (;;) {
    MSG msg;
    const BOOL bGot = s_pfnGetMessage ? s_pfnGetMessage(&msg) : ::GetMessageW(&msg, nullptr, 0, 0);
    if (!bGot) {
      if (!s_pfnGetMessage) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_CANCELMODE ||
        (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
      break;
    if (msg.message != WM_MOUSEMOVE) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      continue;
    }
    const CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
    int nPos = 0;
    int nBandStart = 0;
    int nBandLength = 0;
    if (m_bHorizontalGroups) {
      nPos = std::clamp(
          static_cast<int>(pt.y - ptOffset.y), static_cast<int>(rcBand.top),
          std::max(static_cast<int>(rcBand.top), static_cast<int>(rcBand.bottom) - m_nSplitterSize));
      rcSplitter.MoveToY(nPos);
      nBandStart = rcBand.top;
      nBandLength = rcBand.Height();
    } else {
      nPos = std::clamp(
          static_cast<int>(pt.x - ptOffset.x), static_cast<int>(rcBand.left),
          std::max(static_cast<int>(rcBand.left), static_cast<int>(rcBand.right) - m_nSplitterSize));
      rcSplitter.MoveToX(nPos);
      nBandStart = rcBand.left;
      nBandLength = rcBand.Width();
    }
    ReweightSplitter(pFirst->m_dWeight, pSecond->m_dWeight, nPos, nBandStart, nBandLength, m_nSplitterSize,
                     bMirrored);
    RecalcLayout();
    ::UpdateWindow(m_hWnd);
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

BOOL CXTPTabClientWnd::OnButtonDown(CPoint point) {
  const int nSplitter = SplitterHit(point);
  if (nSplitter >= 0) {
    TrackSplitter(nSplitter, point);
    return TRUE;
  }
  for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
    if (pWorkspace->GetHeaderRect().PtInRect(point)) {
      pWorkspace->PerformClick(m_hWnd, point);
      return TRUE;
    }
  return FALSE;
}

// --- Painting and messages -------------------------------------------------------

void CXTPTabClientWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  HDC hMemDC = ::CreateCompatibleDC(hDC);
  HBITMAP hBitmap =
      ::CreateCompatibleBitmap(hDC, std::max(1, rcClient.Width()), std::max(1, rcClient.Height()));
  HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
  CDC dc;
  dc.Attach(hMemDC);
  dc.FillSolidRect(rcClient, ::GetSysColor(COLOR_APPWORKSPACE));
  if (m_bAttached) {
    for (int i = GetWorkspaceCount() - 1; i >= 0; i--) {
      CXTPTabClientWorkspace *pWorkspace = m_arrWorkspaces[i];
      m_paintManager.DrawTabControl(pWorkspace, &dc, pWorkspace->GetControlRect());
      CRect rcSplitter = pWorkspace->m_rcSplitter;
      if (!rcSplitter.IsRectEmpty() && m_paintManager.GetAppearanceSet())
        m_paintManager.GetAppearanceSet()->DrawWorkspaceFramePart(&dc, &rcSplitter,
                                                                  m_bHorizontalGroups ? 3 : 2);
    }
  }
  ::BitBlt(hDC, 0, 0, rcClient.Width(), rcClient.Height(), hMemDC, 0, 0, SRCCOPY);
  dc.Detach();
  ::SelectObject(hMemDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hMemDC);
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CXTPTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_bAttached) return CWnd::WindowProc(message, wParam, lParam);
  switch (message) {
  case WM_MDICREATE: {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    if (HWND hChild = reinterpret_cast<HWND>(lResult)) {
      StripChildFrame(hChild);
      ::SetWindowPos(hChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      RecalcLayout();
    }
    return lResult;
  }
  case WM_MDIDESTROY:
  case WM_MDIACTIVATE:
  case WM_MDINEXT:
  case WM_MDISETMENU:
  case WM_SIZE: {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    m_bDirty = TRUE;
    RecalcLayout();
    return lResult;
  }
  case WM_ERASEBKGND:
    return TRUE;
  case WM_PAINT:
    // A document closed without telling the client leaves its tab behind.
    for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
      for (int i = 0; i < pWorkspace->GetItemCount(); i++)
        if (!::IsWindow(pWorkspace->GetItem(i)->GetHandle()) ||
            !IsShownChild(pWorkspace->GetItem(i)->GetHandle()))
          m_bDirty = TRUE;
    if (m_bDirty) RecalcLayout();
    OnPaint();
    return 0;
  case WM_MOUSEMOVE: {
    const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces) pWorkspace->PerformMouseMove(m_hWnd, pt);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
    break;
  }
  case WM_MOUSELEAVE:
    for (CXTPTabClientWorkspace *pWorkspace : m_arrWorkspaces)
      pWorkspace->PerformMouseMove(m_hWnd, CPoint(-1, -1));
    return 0;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (OnButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
      return 0;
    break;
  case WM_SETCURSOR:
    if (LOWORD(lParam) == HTCLIENT) {
      CPoint pt;
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hWnd, &pt);
      if (SplitterHit(pt) >= 0) {
        ::SetCursor(m_bHorizontalGroups ? m_hCursorHoriz : m_hCursorVert);
        return TRUE;
      }
    }
    break;
  case WM_SYSCOLORCHANGE:
  case WM_SETTINGCHANGE: {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    m_paintManager.RefreshMetrics();
    Refresh(TRUE);
    return lResult;
  }
  case WM_NCDESTROY: {
    // The client goes with its frame: its groups go with it.
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    Detach();
    return lResult;
  }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
