#include "ControlBar.h"

#include "FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

void CControlBar::SetBorders(int left, int top, int right, int bottom) {
  m_cxLeftBorder = left;
  m_cyTopBorder = top;
  m_cxRightBorder = right;
  m_cyBottomBorder = bottom;
}

BOOL CControlBar::IsVisible() const {
  if ((m_nStateFlags & delayHide) != 0) return FALSE;
  return (GetStyle() & WS_VISIBLE) != 0 || (m_nStateFlags & delayShow) != 0;
}

void CControlBar::DelayShow(BOOL show) {
  m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
  bool visible = (GetStyle() & WS_VISIBLE) != 0;
  if (show && !visible) m_nStateFlags |= delayShow;
  if (!show && visible) m_nStateFlags |= delayHide;
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
  CSize size(0, 0);
  if (stretch) (horizontal ? size.cx : size.cy) = 32767;
  return size;
}

DWORD CControlBar::TakeBarStyle(DWORD style) {
  m_dwStyle = style & CBRS_ALL;
  return style & ~static_cast<DWORD>(CBRS_ALL);
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

// The bar takes a strip off the top or bottom of the rectangle left by the
// bars before it and moves itself there.
LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto *layout = reinterpret_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (layout == nullptr || (GetStyle() & WS_VISIBLE) == 0) return 0;
  bool top = (m_dwStyle & CBRS_ALIGN_TOP) != 0;
  bool bottom = (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0;
  if (!top && !bottom) return 0;

  CSize size = CalcFixedLayout(layout->bStretch, TRUE);
  CRect available(layout->rect);
  int height = size.cy < available.Height() ? size.cy : available.Height();
  if (height < 0) height = 0;
  CRect strip = available;
  if (top) {
    strip.bottom = strip.top + height;
    layout->rect.top += height;
  } else {
    strip.top = strip.bottom - height;
    layout->rect.bottom -= height;
  }
  layout->sizeTotal.cy += height;
  if (size.cx > layout->sizeTotal.cx && size.cx < 32767) layout->sizeTotal.cx = size.cx;
  if (layout->hDWP != nullptr) AfxRepositionWindow(layout, m_hWnd, &strip);
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if ((m_nStateFlags & (delayHide | delayShow)) != 0) {
    bool show = (m_nStateFlags & delayShow) != 0 && (GetStyle() & WS_VISIBLE) == 0;
    bool hide = (m_nStateFlags & delayHide) != 0 && (GetStyle() & WS_VISIBLE) != 0;
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    if (show || hide) {
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
  }
  if ((GetStyle() & WS_VISIBLE) == 0) return 0;
  CWnd *owner = GetOwner();
  if (owner == nullptr) owner = GetParent();
  CFrameWnd *target = DYNAMIC_DOWNCAST(CFrameWnd, owner);
  if (target == nullptr) target = GetParentFrame();
  if (target != nullptr) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
  return 0;
}
