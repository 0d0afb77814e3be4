#include "ProgressBar.h"

BEGIN_MESSAGE_MAP(CProgressBar, CProgressCtrl)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CRect ProgressBarLayout(const CRect &pane, int captionWidth, int blankWidth, int percent) {
  CRect rect = pane;
  if (captionWidth > 0) rect.left += captionWidth + 4 * blankWidth;
  if (rect.left > rect.right) rect.left = rect.right;
  rect.right -= (100 - percent) * rect.Width() / 100;
  if (rect.right < rect.left) rect.right = rect.left;
  int inset = rect.Height() / 10;
  rect.top += inset;
  rect.bottom -= inset;
  return rect;
}

namespace {

CStatusBar *MainStatusBar() {
  CWnd *main = AfxGetMainWnd();
  if (main == nullptr || main->m_hWnd == nullptr) return nullptr;
  CWnd *bar = main->IsFrameWnd() ? static_cast<CFrameWnd *>(main)->GetMessageBar()
                                 : main->GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
  return bar && bar->IsKindOf(RUNTIME_CLASS(CStatusBar)) ? static_cast<CStatusBar *>(bar) : nullptr;
}

} // namespace

int CProgressBar::TextWidth(LPCTSTR text) {
  // The caption changes with every step of a search; a device context of the
  // status bar for each measure is several round trips to the window server
  // under Wine. A screen-compatible memory one measures the same.
  if (m_measureDC == nullptr) m_measureDC = ::CreateCompatibleDC(nullptr);
  if (m_measureDC == nullptr) return 0;
  HGDIOBJ old = ::SelectObject(m_measureDC, m_statusBar->GetFontHandle());
  SIZE size = {};
  ::GetTextExtentPoint32W(m_measureDC, text, lstrlenW(text), &size);
  ::SelectObject(m_measureDC, old);
  return size.cx;
}

CProgressBar::CProgressBar(LPCTSTR caption, int percent, int maximum, BOOL smooth, int pane) {
  Create(caption, percent, maximum, smooth, pane);
}

CProgressBar::~CProgressBar() {
  if (m_measureDC != nullptr) ::DeleteDC(m_measureDC);
  if (m_hWnd == nullptr) return;
  ShowWindow(SW_HIDE);
  if (m_statusBar != nullptr && m_statusBar->m_hWnd != nullptr) {
    CString restored = m_savedPaneText;
    if (m_pane == 0) restored.LoadString(AFX_IDS_IDLEMESSAGE);
    m_statusBar->SetPaneText(m_pane, restored);
    m_statusBar->UpdateWindow();
  }
  DestroyWindow();
}

BOOL CProgressBar::Create(LPCTSTR caption, int percent, int maximum, BOOL smooth, int pane) {
  m_statusBar = MainStatusBar();
  if (m_statusBar == nullptr) return FALSE;
  CRect paneRect;
  m_statusBar->GetItemRect(pane, &paneRect);
  DWORD style = WS_CHILD | WS_VISIBLE | (smooth ? PBS_SMOOTH : 0);
  if (!CProgressCtrl::Create(style, paneRect, m_statusBar, 1)) return FALSE;
  SetRange32(0, maximum);
  CProgressCtrl::SetStep(1);
  m_caption = caption ? caption : L"";
  m_percent = percent;
  m_pane = pane;
  m_savedPaneText = m_statusBar->GetPaneText(pane);
  Layout();
  return TRUE;
}

void CProgressBar::Layout() {
  if (m_hWnd == nullptr || m_statusBar == nullptr) return;
  // Every erase of the bar lays it out again: the pane's text is set, drawn
  // and measured only when it is not the caption already (each measure and
  // each drawing is a round trip to the window system under Wine).
  if (IsWindowVisible() && m_statusBar->GetPaneText(m_pane) != m_caption) {
    m_statusBar->SetPaneText(m_pane, m_caption);
    m_statusBar->UpdateWindow();
  }
  if (m_blankWidth < 0) m_blankWidth = TextWidth(L" ");
  if (m_measuredCaption != m_caption) {
    m_measuredCaption = m_caption;
    m_captionWidth = m_caption.IsEmpty() ? 0 : TextWidth(m_caption);
  }
  CRect pane;
  m_statusBar->GetItemRect(m_pane, &pane);
  CRect rect = ProgressBarLayout(pane, m_captionWidth, m_blankWidth, m_percent);
  if (rect != m_lastRect) {
    m_lastRect = rect;
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
    Invalidate();
  }
}

void CProgressBar::MakeVisible() {
  if (m_hWnd != nullptr && !IsWindowVisible()) ShowWindow(SW_SHOW);
}

void CProgressBar::SetText(LPCTSTR caption) {
  m_caption = caption ? caption : L"";
  Layout();
}

void CProgressBar::SetBarColour(COLORREF colour) {
  if (m_hWnd != nullptr) SetBarColor(colour);
}

void CProgressBar::SetRange(int lower, int upper, int step) {
  if (m_hWnd == nullptr) return;
  SetRange32(lower, upper);
  CProgressCtrl::SetStep(step);
}

int CProgressBar::SetStep(int step) {
  MakeVisible();
  return m_hWnd ? CProgressCtrl::SetStep(step) : 0;
}

int CProgressBar::SetPos(int pos) {
  MakeVisible();
  return m_hWnd ? CProgressCtrl::SetPos(pos) : 0;
}

int CProgressBar::StepIt() {
  MakeVisible();
  return m_hWnd ? CProgressCtrl::StepIt() : 0;
}

int SteppedPosition(int pos, int lower, int upper, unsigned steps) {
  if (upper <= lower) return pos;
  const long long target = static_cast<long long>(pos) + steps;
  if (target <= upper) return static_cast<int>(target);
  // Each step past the upper end lands at lower + 1, and the bar then runs
  // through lower + 1 .. upper again.
  const long long span = static_cast<long long>(upper) - lower;
  const long long beyond = target - upper;
  return static_cast<int>(lower + 1 + (beyond - 1) % span);
}

void CProgressBar::StepBy(unsigned steps) {
  MakeVisible();
  if (m_hWnd == nullptr || steps == 0) return;
  PBRANGE range = {};
  SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  CProgressCtrl::SetPos(SteppedPosition(GetPos(), range.iLow, range.iHigh, steps));
}

BOOL CProgressBar::OnEraseBkgnd(CDC *pDC) {
  Layout();
  return CProgressCtrl::OnEraseBkgnd(pDC);
}
