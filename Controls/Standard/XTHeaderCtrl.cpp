#include "XTHeaderCtrl.h"

#include "ListView.h"
#include "WindowDc.h"
#include "XTGlobal.h"
#include "XTMemDC.h"
#include "XTPDrawHelpers.h"
#include "XTPResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CXTHeaderCtrl, CHeaderCtrl)
ON_WM_WINDOWPOSCHANGING()
ON_WM_SETCURSOR()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_SYSCOLORCHANGE()
ON_WM_RBUTTONDOWN()
ON_NOTIFY_REFLECT(HDN_ITEMCHANGINGW, OnItemChanging)
ON_COMMAND(XT_IDC_SORTASC, OnSortAscending)
ON_COMMAND(XT_IDC_SORTDSC, OnSortDescending)
ON_COMMAND(XT_IDC_ALIGNLEFT, OnAlignLeft)
ON_COMMAND(XT_IDC_ALIGNCENTER, OnAlignCenter)
ON_COMMAND(XT_IDC_ALIGNRIGHT, OnAlignRight)
ON_MESSAGE(HDM_LAYOUT, OnLayout)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kHotTimer = 1;
constexpr UINT kHotTimerMs = 10;
// The position of the header's own popup in menu 9014.
constexpr int kHeaderPopup = 2;
constexpr int kItemTextChars = 256;
constexpr UINT kAllItemFields = 0xBF; // every HDI_ field but HDI_DI_SETITEM

BOOL ScreenReadsRightToLeft() {
  HDC hDC = ::GetDC(nullptr);
  const UINT align = ::GetTextAlign(hDC);
  ::ReleaseDC(nullptr, hDC);
  return align != GDI_ERROR && (align & TA_RTLREADING) != 0;
}

} // namespace

CXTHeaderCtrl::CXTHeaderCtrl()
    : CXTThemeManagerStyleHost(RUNTIME_CLASS(CXTHeaderThemeFactory)),
      m_bRTL(ScreenReadsRightToLeft() ? 1 : 0) {}

CXTHeaderCtrl::~CXTHeaderCtrl() = default;

CXTHeaderTheme *CXTHeaderCtrl::GetTheme() const {
  return dynamic_cast<CXTHeaderTheme *>(GetSuitableTheme());
}

CWnd *CXTHeaderCtrl::GetParentList() const {
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent == nullptr) return nullptr;
  CWnd *pParent = CWnd::FromHandle(hParent);
  if (pParent->IsKindOf(RUNTIME_CLASS(CListCtrl)) || pParent->IsKindOf(RUNTIME_CLASS(CListView)))
    return pParent;
  wchar_t name[32] = {};
  ::GetClassNameW(hParent, name, 32);
  return lstrcmpiW(name, WC_LISTVIEWW) == 0 ? pParent : nullptr;
}

int CXTHeaderCtrl::HitTest(CPoint pt, UINT *pFlags) const {
  HDHITTESTINFO info = {};
  info.pt = pt;
  const int item = static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (pFlags != nullptr) *pFlags = info.flags;
  return item;
}

int CXTHeaderCtrl::GetItemUnderCursor() const {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  UINT flags = 0;
  const int item = HitTest(pt, &flags);
  return (flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)) != 0 ? item : -1;
}

BOOL CXTHeaderCtrl::IsItemHeldDown(int iItem) {
  if (!m_bLBtnDown) return FALSE;
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  UINT flags = 0;
  return HitTest(pt, &flags) == iItem && (flags & HHT_ONHEADER) != 0;
}

void CXTHeaderCtrl::ApplyHeaderFont(BOOL bBoldFont) {
  ASSERT(::IsWindow(m_hWnd));
  if (!::IsWindow(m_hWnd)) return;
  CXTAuxData &aux = XTGetAuxData();
  SetFont(bBoldFont ? &aux.fontBold : &aux.font, FALSE);
}

void CXTHeaderCtrl::SetFontBold(BOOL bBoldFont) {
  if (!::IsWindow(m_hWnd)) return;
  ApplyHeaderFont(bBoldFont);
  RedrawWindow();
}

void CXTHeaderCtrl::SetMenuID(UINT nMenuID, int nSubMenuIndex) {
  m_popupMenuID = nMenuID;
  m_nPos = nSubMenuIndex;
}

int CXTHeaderCtrl::MarkSortedColumn(int nColumn, BOOL bAscending) {
  ASSERT(nColumn < GetItemCount());
  const int previous = m_iSortCol;
  m_iSortCol = nColumn;
  m_bAscending = bAscending;
  if (::IsWindow(m_hWnd)) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return previous;
}

int CXTHeaderCtrl::ReadSortedColumn(BOOL *pbAscending) const {
  if (pbAscending != nullptr) *pbAscending = m_bAscending;
  return m_iSortCol;
}

void CXTHeaderCtrl::ShowSortArrow(BOOL bSortArrow) {
  CXTHeaderTheme *pTheme = GetTheme();
  if (pTheme == nullptr) return;
  const DWORD style = pTheme->GetDrawStyle();
  pTheme->SetDrawStyle(bSortArrow ? style | XTHDR_SORTARROW : style & ~XTHDR_SORTARROW, this);
}

BOOL CXTHeaderCtrl::HasSortArrow() {
  CXTHeaderTheme *pTheme = GetTheme();
  return pTheme != nullptr && (pTheme->GetDrawStyle() & XTHDR_SORTARROW) != 0;
}

BOOL CXTHeaderCtrl::SetBitmap(int iCol, UINT uBitmapID, BOOL bRemove, COLORREF crMask) {
  if (CXTHeaderTheme *pTheme = GetTheme()) return pTheme->SetBitmap(iCol, uBitmapID, bRemove, crMask, this);
  HDITEMW item = {};
  item.mask = HDI_FORMAT | HDI_BITMAP;
  if (!GetItem(iCol, &item)) return FALSE;
  HBITMAP hOld = (item.fmt & HDF_BITMAP) ? item.hbm : nullptr;
  if (bRemove) {
    item.fmt &= ~HDF_BITMAP;
    item.hbm = nullptr;
  } else {
    // The control draws the picture itself here; a missing resource leaves the
    // column as it was rather than flagging a picture that is not there.
    auto hBitmap = static_cast<HBITMAP>(
        ::LoadImageW(AfxFindResourceHandle(MAKEINTRESOURCEW(uBitmapID), RT_BITMAP),
                     MAKEINTRESOURCEW(uBitmapID), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (hBitmap == nullptr) return FALSE;
    item.fmt |= HDF_BITMAP;
    item.hbm = hBitmap;
  }
  const BOOL bDone = SetItem(iCol, &item);
  if (!bDone && !bRemove) ::DeleteObject(item.hbm);
  // The header never owns the bitmaps it is given.
  if (bDone && hOld != nullptr) ::DeleteObject(hOld);
  return bDone;
}

BOOL CXTHeaderCtrl::IsColumnFrozen(int iCol) const {
  return std::find(m_arFrozenCols.begin(), m_arFrozenCols.end(), iCol) != m_arFrozenCols.end();
}

void CXTHeaderCtrl::FreezeColumn(int iCol) {
  if (!IsColumnFrozen(iCol)) m_arFrozenCols.push_back(iCol);
}

void CXTHeaderCtrl::ThawColumn(int iCol) {
  m_arFrozenCols.erase(std::remove(m_arFrozenCols.begin(), m_arFrozenCols.end(), iCol), m_arFrozenCols.end());
}

int CXTHeaderCtrl::GetFrozenColumnsWidth() {
  int width = 0;
  for (int iCol : m_arFrozenCols) {
    CRect rc;
    if (GetItemRect(iCol, &rc)) width += rc.Width();
  }
  return width;
}

void CXTHeaderCtrl::ShareWidthAmongColumns(int nTotalWidth) {
  const int count = GetItemCount();
  int frozen = 0;
  for (int iCol : m_arFrozenCols) frozen += iCol >= 0 && iCol < count ? 1 : 0;
  const int shared = count - frozen;
  if (shared < 1) return;
  const int width = nTotalWidth / shared;
  if (width <= m_iMinWidth) return;
  CWnd *pList = GetParentList();
  for (int i = 0; i < count; i++) {
    if (IsColumnFrozen(i)) continue;
    if (pList != nullptr) {
      pList->SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
    } else {
      HDITEMW item = {};
      item.mask = HDI_WIDTH;
      item.cxy = width;
      SetItem(i, &item);
    }
  }
}

void CXTHeaderCtrl::ResizeColumnsToFit(int nWidth) {
  if (nWidth < 1) {
    CRect rc;
    GetClientRect(&rc);
    nWidth = rc.Width();
  }
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent != nullptr && (::GetWindowLongPtrW(hParent, GWL_STYLE) & WS_VSCROLL))
    nWidth -= ::GetSystemMetrics(SM_CXVSCROLL);
  nWidth -= GetFrozenColumnsWidth();
  ShareWidthAmongColumns(nWidth);
}

BOOL CXTHeaderCtrl::RecalcLayout() {
  if (!::IsWindow(m_hWnd)) return FALSE;
  CRect rc;
  GetClientRect(&rc);
  WINDOWPOS wp = {};
  HDLAYOUT layout = {&rc, &wp};
  Layout(&layout);
  SetWindowPos(CWnd::FromHandle(wp.hwndInsertAfter), wp.x, wp.y, wp.cx, wp.cy, wp.flags | SWP_FRAMECHANGED);
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent != nullptr && ::IsWindow(hParent)) {
    // Nudging the list's size makes it lay its header out again. Its outer
    // size, not its client size: a framed list would shrink by its border.
    CRect rcParent;
    ::GetWindowRect(hParent, &rcParent);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    ::SetWindowPos(hParent, nullptr, 0, 0, rcParent.Width(), rcParent.Height() + 1, flags);
    ::SetWindowPos(hParent, nullptr, 0, 0, rcParent.Width(), rcParent.Height(), flags);
  }
  return TRUE;
}

void CXTHeaderCtrl::OnWindowPosChanging(WINDOWPOS *lpwndpos) {
  if (!m_bAutoSize || GetItemCount() == 0) {
    CHeaderCtrl::OnWindowPosChanging(lpwndpos);
    return;
  }
  CRect rc;
  GetClientRect(&rc);
  if (!(lpwndpos->flags & SWP_NOSIZE) && lpwndpos->cx != rc.Width()) ResizeColumnsToFit(lpwndpos->cx);
}

BOOL CXTHeaderCtrl::OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message) {
  if (!m_arFrozenCols.empty()) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const int item = HitTest(pt);
    bool arrow = item >= 0 && IsColumnFrozen(item);
    CRect rc;
    if (!arrow && item >= 0 && GetItemRect(item, &rc)) {
      // The divider on the near side of an item resizes its neighbour.
      HDITEMW info = {};
      info.mask = HDI_ORDER;
      GetItem(item, &info);
      const bool nearHalf = m_bRTL ? pt.x >= rc.CenterPoint().x : pt.x < rc.CenterPoint().x;
      if (nearHalf && info.iOrder > 0) arrow = IsColumnFrozen(OrderToIndex(info.iOrder - 1)) != FALSE;
    }
    if (arrow) {
      ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
      return TRUE;
    }
  }
  return CHeaderCtrl::OnSetCursor(pWnd, nHitTest, message);
}

void CXTHeaderCtrl::OnPaint() {
  CXTHeaderTheme *pTheme = GetTheme();
  if (pTheme == nullptr) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CXTMemDC memDC(&dc, rc);
  pTheme->DrawHeader(&memDC, this);
}

LRESULT CXTHeaderCtrl::OnPrintClient(WPARAM wParam, LPARAM) {
  CXTHeaderTheme *pTheme = GetTheme();
  if (pTheme == nullptr) return Default();
  pTheme->DrawHeader(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), this);
  return 0;
}

BOOL CXTHeaderCtrl::OnEraseBkgnd(CDC *) {
  return TRUE;
}

void CXTHeaderCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bLBtnDown = TRUE;
  CHeaderCtrl::OnLButtonDown(nFlags, point);
}

void CXTHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  m_bLBtnDown = FALSE;
  CHeaderCtrl::OnLButtonUp(nFlags, point);
}

void CXTHeaderCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  CXTHeaderTheme *pTheme = GetTheme();
  if (pTheme != nullptr && pTheme->DrawsWithVisualStyles(this)) SetTimer(kHotTimer, kHotTimerMs);
  CHeaderCtrl::OnMouseMove(nFlags, point);
}

void CXTHeaderCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHotTimer) {
    CHeaderCtrl::OnTimer(nIDEvent);
    return;
  }
  const int item = GetItemUnderCursor();
  if (item < 0) {
    KillTimer(kHotTimer);
    if (m_bPainted) RedrawWindow();
    m_bPainted = FALSE;
    m_iHotItem = -1;
    return;
  }
  if (item != m_iHotItem) {
    m_iHotItem = item;
    m_bPainted = FALSE;
  }
  if (!m_bPainted) {
    RedrawWindow();
    m_bPainted = TRUE;
  }
  CHeaderCtrl::OnTimer(nIDEvent);
}

void CXTHeaderCtrl::OnDestroy() {
  if (CXTHeaderTheme *pTheme = GetTheme()) pTheme->CleanUp(this);
  CHeaderCtrl::OnDestroy();
}

void CXTHeaderCtrl::OnSysColorChange() {
  CHeaderCtrl::OnSysColorChange();
  if (CXTHeaderTheme *pTheme = GetTheme()) pTheme->RefreshMetrics();
}

void CXTHeaderCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  m_pt = point;
  HWND hParent = ::GetParent(m_hWnd);
  const bool noSort = hParent != nullptr && (::GetWindowLongPtrW(hParent, GWL_STYLE) & LVS_NOSORTHEADER);
  if (noSort || !m_bEnableMenus) {
    CHeaderCtrl::OnRButtonDown(nFlags, point);
    return;
  }
  CPoint ptScreen = point;
  ClientToScreen(&ptScreen);
  if (m_popupMenuID != 0) {
    CMenu menu;
    VERIFY(XTPGetResourceManager()->LoadMenu(&menu, m_popupMenuID));
    CMenu *pPopup = menu.GetSubMenu(m_nPos);
    ASSERT(pPopup != nullptr);
    if (pPopup == nullptr) return;
    CWnd *pOwner = GetOwner();
    XTPPopupContextMenu(pPopup->m_hMenu, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y,
                        pOwner != nullptr ? pOwner->m_hWnd : m_hWnd);
    return;
  }
  const int column = HitTest(point);
  if (column < 0) return;
  CMenu menu;
  VERIFY(XTPGetResourceManager()->LoadMenu(&menu, XT_IDM_POPUP));
  CMenu *pPopup = menu.GetSubMenu(kHeaderPopup);
  ASSERT(pPopup != nullptr);
  if (pPopup == nullptr) return;
  if (column == m_iSortCol)
    ::CheckMenuItem(pPopup->m_hMenu, m_bAscending ? XT_IDC_SORTASC : XT_IDC_SORTDSC,
                    MF_BYCOMMAND | MF_CHECKED);
  if (CWnd *pList = GetParentList()) {
    LVCOLUMNW info = {};
    info.mask = LVCF_FMT;
    if (pList->SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info))) {
      static const UINT kAlignCommand[4] = {XT_IDC_ALIGNLEFT, XT_IDC_ALIGNRIGHT, XT_IDC_ALIGNCENTER,
                                            XT_IDC_ALIGNLEFT};
      ::CheckMenuItem(pPopup->m_hMenu, kAlignCommand[info.fmt & 3], MF_BYCOMMAND | MF_CHECKED);
    }
  }
  XTPPopupContextMenu(pPopup->m_hMenu, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, m_hWnd,
                      XT_IDR_TBAR_HDR);
}

void CXTHeaderCtrl::OnItemChanging(NMHDR *pNMHDR, LRESULT *pResult) {
  auto *pHeader = reinterpret_cast<NMHEADERW *>(pNMHDR);
  *pResult = FALSE;
  if (IsColumnFrozen(pHeader->iItem))
    *pResult = TRUE;
  else if (pHeader->pitem != nullptr && (pHeader->pitem->mask & HDI_WIDTH) &&
           pHeader->pitem->cxy < m_iMinWidth)
    *pResult = TRUE;
}

void CXTHeaderCtrl::SendSortClick(BOOL bAscending) {
  const int column = HitTest(m_pt);
  if (column < 0) return;
  if (column == m_iSortCol && m_bAscending == bAscending) return;
  m_iSortCol = column;
  m_bAscending = bAscending;
  CWnd *pList = GetParentList();
  ASSERT(pList != nullptr);
  if (pList == nullptr) return;
  wchar_t text[kItemTextChars] = {};
  HDITEMW item = {};
  item.mask = kAllItemFields;
  item.pszText = text;
  item.cchTextMax = kItemTextChars;
  GetItem(column, &item);
  NMHEADERW notify = {};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = HDN_ITEMCLICKW;
  notify.iItem = column;
  notify.iButton = 1;
  notify.pitem = &item;
  const WPARAM id = notify.hdr.idFrom;
  const LPARAM lParam = reinterpret_cast<LPARAM>(&notify);
  // The list and whatever it holds each hear of the click, as of a mouse click.
  pList->SendMessage(WM_NOTIFY, id, lParam);
  pList->SendMessageToDescendants(WM_NOTIFY, id, lParam, TRUE, TRUE);
  Invalidate();
}

void CXTHeaderCtrl::OnSortAscending() {
  SendSortClick(TRUE);
}

void CXTHeaderCtrl::OnSortDescending() {
  SendSortClick(FALSE);
}

BOOL CXTHeaderCtrl::SetAlign(int nFormat) {
  const int column = HitTest(m_pt);
  if (column < 0) return FALSE;
  CWnd *pList = GetParentList();
  if (pList == nullptr) return FALSE;
  LVCOLUMNW info = {};
  info.mask = LVCF_FMT;
  if (!pList->SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info))) return FALSE;
  info.fmt = (info.fmt & ~LVCFMT_JUSTIFYMASK) | nFormat;
  pList->SendMessage(LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  pList->SendMessage(LVM_SETWORKAREAS, 0, 0);
  return TRUE;
}

void CXTHeaderCtrl::OnAlignLeft() {
  SetAlign(LVCFMT_LEFT);
}

void CXTHeaderCtrl::OnAlignCenter() {
  SetAlign(LVCFMT_CENTER);
}

void CXTHeaderCtrl::OnAlignRight() {
  SetAlign(LVCFMT_RIGHT);
}

LRESULT CXTHeaderCtrl::OnLayout(WPARAM, LPARAM lParam) {
  CXTHeaderTheme *pTheme = GetTheme();
  if (pTheme != nullptr && pTheme->Layout(reinterpret_cast<LPHDLAYOUT>(lParam), this)) return TRUE;
  return Default();
}
