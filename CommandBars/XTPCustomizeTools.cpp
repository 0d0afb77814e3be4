#include "XTPCustomizeTools.h"

#include <algorithm>

#include "DataExchange.h"
#include "WinApp.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTPToolBar.h"

CXTPCustomizeDragTool::GetMessageFunction CXTPCustomizeDragTool::s_pfnGetMessage = nullptr;

CXTPCustomizeDragTool::CXTPCustomizeDragTool(CXTPCommandBars *pCommandBars) : m_pCommandBars(pCommandBars) {}

CXTPCustomizeDragTool::~CXTPCustomizeDragTool() {
  std::vector<CXTPCommandBar *> bars;
  bars.swap(m_arrTargets);
  for (CXTPCommandBar *pBar : bars) pBar->OnDragToolGone(this);
}

void CXTPCustomizeDragTool::Register(CXTPCommandBar *pBar) {
  if (pBar && !IsRegistered(pBar)) m_arrTargets.push_back(pBar);
}

BOOL CXTPCustomizeDragTool::IsRegistered(const CXTPCommandBar *pBar) const {
  return std::find(m_arrTargets.begin(), m_arrTargets.end(), pBar) != m_arrTargets.end();
}

void CXTPCustomizeDragTool::Unregister(CXTPCommandBar *pBar) {
  m_arrTargets.erase(std::remove(m_arrTargets.begin(), m_arrTargets.end(), pBar), m_arrTargets.end());
  if (m_pTarget == pBar) m_pTarget = nullptr;
}

std::vector<CXTPCommandBar *> CXTPCustomizeDragTool::Targets() const {
  std::vector<CXTPCommandBar *> targets;
  auto add = [&targets](CXTPCommandBar *pBar) {
    if (std::find(targets.begin(), targets.end(), pBar) == targets.end()) targets.push_back(pBar);
  };
  for (int i = 0; i < m_pCommandBars->GetCount(); i++) add(m_pCommandBars->GetAt(i));
  for (CXTPCommandBar *pBar : m_arrTargets) add(pBar);
  // The popups a drag opened over the bars lie above them, the deepest on
  // top: a control dragged over a menu can be dropped into it.
  const size_t nBars = targets.size();
  for (size_t i = 0; i < nBars; i++) {
    CXTPCommandBar *pBar = targets[i];
    for (int nDepth = 0; nDepth < CXTPCommandBars::kMaxMenuDepth; nDepth++) {
      CXTPControl *pOpen = pBar->GetControl(pBar->GetPopupedIndex());
      CXTPCommandBar *pPopup = pOpen ? pOpen->GetCommandBar() : nullptr;
      if (pPopup == nullptr || pPopup->GetSafeHwnd() == nullptr || !pPopup->IsVisible()) break;
      add(pPopup);
      pBar = pPopup;
    }
  }
  return targets;
}

int CXTPCustomizeDragTool::PerformDrag(CXTPControl *pControl, BOOL bFromList) {
  if (m_pCommandBars == nullptr || pControl == nullptr) return xtpDropCancelled;
  HWND hWndCapture = m_hWndExplicit ? m_hWndExplicit : m_pCommandBars->GetSiteHwnd();
  if (hWndCapture == nullptr || !::IsWindow(hWndCapture)) return xtpDropCancelled;
  m_pControl = pControl;
  ::SetCapture(hWndCapture);
  m_bMove = FALSE;
  m_pTarget = nullptr;
  m_bFromList = bFromList;
  ::GetCursorPos(&m_ptStart);
  m_ptLast = m_ptStart;
  m_nCursorId = 0;
  const int nResult = RunLoop(hWndCapture);
  if (m_pTarget) m_pTarget->OnCustomizeDragLeave();
  m_pTarget = nullptr;
  if (::GetCapture() == hWndCapture) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  m_pControl = nullptr;
  return nResult;
}

int CXTPCustomizeDragTool::RunLoop(HWND hWndCapture) {
  int nEffect = xtpDropStay;
  BOOL bMoved = FALSE;
  for (;;) {
    if (::GetCapture() != hWndCapture) return xtpDropCancelled;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
    const BOOL bGot = s_pfnGetMessage ? s_pfnGetMessage(&msg) : ::GetMessageW(&msg, nullptr, 0, 0);
    if (!bGot || msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return xtpDropCancelled;
    }
    if (::GetCapture() != hWndCapture) return xtpDropCancelled;
    BOOL bRelease = FALSE;
    switch (msg.message) {
    case WM_MOUSEMOVE: {
      CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      ::ClientToScreen(msg.hwnd, &point);
      m_ptLast = point;
      if (!bMoved) {
        bMoved = TRUE;
        if (CXTPCommandBar *pParent = m_pControl->GetParent()) {
          CPoint ptBar = point;
          if (pParent->GetSafeHwnd()) pParent->ScreenToClient(&ptBar);
          DWORD dwEffect = 0;
          m_pControl->OnCustomizeDragOver(m_pControl, ptBar, dwEffect);
        }
      }
      m_bMove = !(msg.wParam & MK_CONTROL);
      TrackPoint(point);
      nEffect = xtpDropNone;
      if (!(msg.wParam & MK_LBUTTON)) bRelease = TRUE;
      break;
    }
    case WM_KEYDOWN:
      if (msg.wParam == VK_ESCAPE) return xtpDropCancelled;
      if (msg.wParam == VK_CONTROL && m_bMove) {
        m_bMove = FALSE;
        UpdateCursor();
      }
      break;
    case WM_KEYUP:
      if (msg.wParam == VK_CONTROL && !m_bMove) {
        m_bMove = TRUE;
        UpdateCursor();
      }
      break;
    case WM_LBUTTONUP:
      bRelease = TRUE;
      break;
    case WM_RBUTTONDOWN:
      return xtpDropCancelled;
    default:
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      break;
    }
    if (!bRelease) continue;
    if (m_pTarget != nullptr) {
      DWORD dwEffect = m_bMove ? xtpDropMove : xtpDropCopy;
      CPoint ptDrop = m_ptLast, ptStart = m_ptStart;
      if (m_pTarget->GetSafeHwnd()) {
        m_pTarget->ScreenToClient(&ptDrop);
        m_pTarget->ScreenToClient(&ptStart);
      }
      CXTPCommandBar *pTarget = m_pTarget;
      m_pTarget = nullptr;
      pTarget->OnCustomizeDrop(m_pControl, dwEffect, ptDrop, ptStart);
      nEffect = static_cast<int>(dwEffect);
    }
    return nEffect;
  }
}

void CXTPCustomizeDragTool::TrackPoint(CPoint ptScreen) {
  CXTPCommandBar *pHit = nullptr;
  const std::vector<CXTPCommandBar *> targets = Targets();
  for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
    CXTPCommandBar *pBar = *it;
    if (!pBar->IsVisible() || pBar->GetSafeHwnd() == nullptr) continue;
    CRect rc;
    pBar->GetWindowRect(&rc);
    if (rc.PtInRect(ptScreen)) {
      pHit = pBar;
      break;
    }
  }
  if (m_pTarget != nullptr && m_pTarget != pHit) {
    m_pTarget->OnCustomizeDragLeave();
    m_pTarget = nullptr;
  }
  if (pHit != nullptr) {
    CPoint ptClient = ptScreen;
    pHit->ScreenToClient(&ptClient);
    DWORD dwEffect = m_bMove ? xtpDropMove : xtpDropCopy;
    // A bar takes controls only while it may be customised.
    if (m_pTarget == nullptr && pHit->IsCustomizable()) m_pTarget = pHit;
    if (m_pTarget == pHit) pHit->OnCustomizeDragOver(m_pControl, ptClient, dwEffect);
  }
  UpdateCursor();
}

void CXTPCustomizeDragTool::UpdateCursor() {
  if (m_pTarget == nullptr)
    m_nCursorId = XTP_IDC_COMMANDBARS_DRAGDELETE;
  else if (!m_bMove || m_bFromList)
    m_nCursorId = XTP_IDC_COMMANDBARS_DRAGCOPY;
  else
    m_nCursorId = XTP_IDC_COMMANDBARS_DRAGMOVE;
  if (HCURSOR hCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nCursorId)))
    ::SetCursor(hCursor);
}

CXTPCustomizeDragTool *CXTPCommandBars::GetDragTool() {
  if (!m_pDragTool) m_pDragTool = std::make_unique<CXTPCustomizeDragTool>(this);
  return m_pDragTool.get();
}

// --- New Toolbar dialog ----------------------------------------------------

CXTPNewToolbarDlg::CXTPNewToolbarDlg(CWnd *pParentWnd, CXTPCommandBars *pCommandBars, CXTPToolBar *pToolBar)
    : m_pToolBar(pToolBar), m_pCommandBars(pCommandBars) {
  InitModalIndirect(XTPGetResourceManager()->LoadDialogTemplate(XTP_IDD_NEWTOOLBAR), pParentWnd);
}

CString CXTPNewToolbarDlg::SuggestName() const {
  CString strFormat;
  XTPGetResourceManager()->LoadString(&strFormat, XTP_IDS_CUSTOM_BAR);
  for (int n = 1;; n++) {
    CString strName;
    strName.Format(strFormat, n);
    BOOL bTaken = FALSE;
    for (int i = 0; i < m_pCommandBars->GetCount() && !bTaken; i++)
      bTaken = m_pCommandBars->GetAt(i)->GetTitle() == strName;
    if (!bTaken) return strName;
  }
}

UINT CXTPNewToolbarDlg::ValidateName(const CString &strName) {
  if (strName.IsEmpty()) return XTP_IDS_ERROR_BLANKNAME;
  UINT nNewID = kFirstToolbarId;
  for (int i = 0; i < m_pCommandBars->GetCount(); i++) {
    CXTPCommandBar *pBar = m_pCommandBars->GetAt(i);
    if (m_pToolBar == nullptr && static_cast<UINT>(pBar->GetBarID()) == nNewID) {
      if (++nNewID > kLastToolbarId) return XTP_IDS_ERROR_LIMIT;
      i = -1;
      continue;
    }
    if (pBar != m_pToolBar && pBar->GetTitle() == strName) return XTP_IDS_ERROR_EXISTS;
  }
  m_nNewID = nNewID;
  return 0;
}

void CXTPNewToolbarDlg::DoDataExchange(CDataExchange *pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, XTP_IDC_TOOLBAR_NAME, m_strToolbar);
}

BOOL CXTPNewToolbarDlg::OnInitDialog() {
  if (m_pToolBar == nullptr) {
    m_strToolbar = SuggestName();
  } else {
    m_strToolbar = m_pToolBar->GetTitle();
    CString strCaption;
    XTPGetResourceManager()->LoadString(&strCaption, XTP_IDS_RENAMETOOLBAR);
    SetWindowText(strCaption);
  }
  return CDialog::OnInitDialog();
}

void CXTPNewToolbarDlg::OnOK() {
  UpdateData(TRUE);
  const UINT nError = ValidateName(m_strToolbar);
  if (nError == XTP_IDS_ERROR_EXISTS) {
    CString strFormat, strMessage;
    XTPGetResourceManager()->LoadString(&strFormat, XTP_IDS_ERROR_EXISTS);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strToolbar));
    AfxMessageBox(strMessage, MB_ICONERROR);
    return;
  }
  if (nError != 0) {
    XTPGetResourceManager()->ShowMessageBox(nError, MB_ICONERROR);
    if (nError == XTP_IDS_ERROR_LIMIT) EndDialog(IDCANCEL);
    return;
  }
  EndDialog(IDOK);
}
