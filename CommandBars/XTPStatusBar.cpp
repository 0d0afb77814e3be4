#include "XTPStatusBar.h"

#include <algorithm>

#include "XTPColorManager.h"
#include "XTPCommandBars.h"
#include "XTPDrawHelpers.h"
#include "XTPPaintManager.h"

IMPLEMENT_DYNAMIC(CXTPStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(CXTPStatusBar, CStatusBar)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_MESSAGE(SB_SETTEXT, OnSetPaneTextMessage)
END_MESSAGE_MAP()

CXTPStatusBar::CXTPStatusBar() {
  CXTPNonClientMetrics ncm;
  m_fontBar.CreateFontIndirect(&ncm.lfStatusFont);
}

CXTPStatusBar::~CXTPStatusBar() {
  for (PaneControl &control : m_arrControls) {
    // The bar owns an auto-delete window object; any other may be gone.
    CWnd *pWnd = control.bAutoDelete ? control.pWnd : LiveWindow(control);
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr) pWnd->DestroyWindow();
    if (control.bAutoDelete) delete control.pWnd;
  }
}

CWnd *CXTPStatusBar::LiveWindow(PaneControl &control) {
  if (control.hWnd == nullptr) {
    // Placed before its window was made: seen bound once it has one.
    control.hWnd = control.pWnd->GetSafeHwnd();
    return control.pWnd;
  }
  if (CWnd::FromHandlePermanent(control.hWnd) == control.pWnd) return control.pWnd;
  return nullptr;
}

BOOL CXTPStatusBar::Create(CWnd *parent, DWORD style, UINT id) {
  return CStatusBar::Create(parent, style | WS_CLIPCHILDREN, id);
}

BOOL CXTPStatusBar::SetIndicators(const UINT *ids, int count) {
  if (m_hWnd != nullptr && m_fontBar.GetSafeHandle() != nullptr)
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontBar.GetSafeHandle()), FALSE);
  if (!CStatusBar::SetIndicators(ids, count)) return FALSE;
  SendMessage(SB_SETMINHEIGHT, kMinHeight);
  return TRUE;
}

BOOL CXTPStatusBar::AddControl(CWnd *pWnd, UINT nID, BOOL bAutoDelete) {
  if (pWnd == nullptr || CommandToIndex(nID) < 0 || GetPaneControl(nID) != nullptr) return FALSE;
  for (const PaneControl &control : m_arrControls) {
    if (control.pWnd == pWnd) return FALSE;
  }
  m_arrControls.push_back({pWnd, nID, bAutoDelete, pWnd->GetSafeHwnd()});
  PlacePaneWindows();
  return TRUE;
}

BOOL CXTPStatusBar::RemoveControl(CWnd *pWnd) {
  auto it = std::find_if(m_arrControls.begin(), m_arrControls.end(),
                         [pWnd](const PaneControl &control) { return control.pWnd == pWnd; });
  if (it == m_arrControls.end()) return FALSE;
  m_arrControls.erase(it);
  return TRUE;
}

CWnd *CXTPStatusBar::GetPaneControl(UINT nID) const {
  for (const PaneControl &control : m_arrControls) {
    if (control.nID == nID) return control.pWnd;
  }
  return nullptr;
}

CXTPPaintManager *CXTPStatusBar::ActivePaintManager() const {
  if (!m_bThemedDrawing) return nullptr;
  return m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : XTPGetPaintManager();
}

CRect CXTPStatusBar::CalcPaneControlRect(const PaneGeometry &pane) {
  CRect rc = pane.rcItem;
  if (pane.bLast) {
    if (pane.nStyle & SBPS_STRETCH) {
      rc.right = pane.rcClient.right;
      if (pane.bSizeGrip) rc.right -= pane.cxSmIcon + pane.cxBorder;
    } else {
      rc.right = rc.left + pane.nWidth + 3 * pane.cxBorder;
    }
  }
  if (!(pane.nStyle & SBPS_NOBORDERS)) rc.DeflateRect(pane.cxBorder, pane.cxBorder);
  return rc;
}

CRect CXTPStatusBar::GetPaneControlRect(int nIndex) const {
  PaneGeometry pane = {};
  GetItemRect(nIndex, &pane.rcItem);
  ::GetClientRect(m_hWnd, &pane.rcClient);
  UINT nID = 0;
  GetPaneInfo(nIndex, nID, pane.nStyle, pane.nWidth);
  pane.bLast = nIndex == GetCount() - 1;
  pane.bSizeGrip = (GetStyle() & SBARS_SIZEGRIP) != 0;
  pane.cxBorder = ::GetSystemMetrics(SM_CXBORDER);
  pane.cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  return CalcPaneControlRect(pane);
}

void CXTPStatusBar::PlacePaneWindows() {
  if (m_hWnd == nullptr) return;
  for (PaneControl &control : m_arrControls) {
    int nIndex = CommandToIndex(control.nID);
    CWnd *pWnd = LiveWindow(control);
    if (nIndex < 0 || pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) continue;
    CRect rc = GetPaneControlRect(nIndex);
    pWnd->MoveWindow(rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
  }
}

void CXTPStatusBar::OnPaint() {
  if (ActivePaintManager() == nullptr) {
    Default();
    return;
  }
  // Left invalid: the pane is drawn by the next paint, with every other pane
  // changed by then.
  if (m_bHoldPaint) return;
  CPaintDC paintDC(this);
  CXTPBufferDC dc(paintDC.GetSafeHdc(), CXTPClientRect(this));
  DrawBar(&dc);
}

LRESULT CXTPStatusBar::OnSetPaneTextMessage(WPARAM, LPARAM) {
  if (ActivePaintManager() == nullptr) return Default();
  // A control that paints its new text at once (Wine's does) would draw the
  // whole bar for each pane a progress step changes.
  m_bHoldPaint = TRUE;
  const LRESULT result = Default();
  m_bHoldPaint = FALSE;
  return result;
}

void CXTPStatusBar::DrawBar(CDC *pDC) {
  CXTPPaintManager *pPaintManager = ActivePaintManager();
  if (pPaintManager == nullptr) return;
  CXTPClientRect rcClient(this);
  pPaintManager->FillStatusBar(pDC, this);
  {
    CXTPFontDC font(pDC, &m_fontBar);
    for (int i = 0; i < GetCount(); i++) pPaintManager->DrawStatusBarPane(pDC, this, i);
  }
  CWnd *pParent = GetParent();
  // A maximised frame cannot be sized from its corner: no gripper then.
  if (pParent != nullptr && (pParent->GetStyle() & WS_THICKFRAME) && (GetStyle() & SBARS_SIZEGRIP) &&
      !pParent->IsZoomed())
    pPaintManager->DrawStatusBarGripper(pDC, rcClient);
}

BOOL CXTPStatusBar::OnEraseBkgnd(CDC *pDC) {
  if (ActivePaintManager() != nullptr) return TRUE;
  return CStatusBar::OnEraseBkgnd(pDC);
}

void CXTPStatusBar::OnSize(UINT nType, int cx, int cy) {
  CStatusBar::OnSize(nType, cx, cy);
  PlacePaneWindows();
  Invalidate(FALSE);
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPStatusBarBasePane, CWnd)

BEGIN_MESSAGE_MAP(CXTPStatusBarBasePane, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CXTPStatusBarBasePane::Create(LPCTSTR lpszWindowName, CWnd *pParentWnd, DWORD dwStyle, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_BYTEALIGNCLIENT);
  if (!CWnd::Create(lpszClass, lpszWindowName, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  m_strWindowText = lpszWindowName != nullptr ? lpszWindowName : L"";
  return TRUE;
}

void CXTPStatusBarBasePane::DrawContent(CDC * /*pDC*/, CRect /*rcClient*/) {}

void CXTPStatusBarBasePane::OnPaint() {
  CPaintDC paintDC(this);
  CXTPClientRect rcClient(this);
  CXTPBufferDC dc(paintDC.GetSafeHdc(), rcClient);
  dc.FillSolidRect(rcClient, XTPGetColor(COLOR_3DFACE));
  DrawContent(&dc, rcClient);
}

BOOL CXTPStatusBarBasePane::OnEraseBkgnd(CDC * /*pDC*/) {
  return TRUE;
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPStatusBarIconPane, CXTPStatusBarBasePane)

BEGIN_MESSAGE_MAP(CXTPStatusBarIconPane, CXTPStatusBarBasePane)
ON_WM_ENABLE()
END_MESSAGE_MAP()

void CXTPStatusBarIconPane::SetIcon(HICON hIcon) {
  m_hIcon = hIcon;
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CXTPStatusBarIconPane::DrawContent(CDC *pDC, CRect rcClient) {
  const BOOL bEnabled = IsWindowEnabled();
  int x = rcClient.left + 2;
  if (m_hIcon != nullptr) {
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    const int y = rcClient.top + (rcClient.Height() - cy) / 2;
    ::DrawState(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, x, y, cx, cy,
                DST_ICON | (bEnabled ? DSS_NORMAL : DSS_DISABLED));
    x += cx + 3;
  }
  if (m_strWindowText.IsEmpty()) return;
  CWnd *pParent = GetParent();
  HFONT hFont = pParent != nullptr ? reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT)) : nullptr;
  CXTPFontDC font(pDC, hFont != nullptr ? hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  CRect rcText(x, rcClient.top, rcClient.right, rcClient.bottom);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(XTPGetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  ::DrawTextW(pDC->GetSafeHdc(), m_strWindowText, -1, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CXTPStatusBarIconPane::OnEnable(BOOL /*bEnable*/) {
  Default();
  Invalidate();
  UpdateWindow();
}
