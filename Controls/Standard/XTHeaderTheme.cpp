#include "XTHeaderTheme.h"

#include "XTHeaderCtrl.h"
#include "XTPResourceManager.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNCREATE(CXTHeaderThemeFactory, CXTThemeManagerStyleFactory)

namespace {

constexpr int kTextChars = 255;
// The header's own owner-draw type, as the list draws its items.
constexpr UINT kHeaderDrawType = 4;
// Visual-style parts and states of the "HEADER" class.
constexpr int kPartBackground = 0, kPartItem = 1;
constexpr int kStateNormal = 1, kStateHot = 2, kStatePressed = 3;

void Line(CDC *pDC, COLORREF clr, int x1, int y1, int x2, int y2) {
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hPen);
  ::MoveToEx(pDC->m_hDC, x1, y1, nullptr);
  ::LineTo(pDC->m_hDC, x2, y2);
  ::SelectObject(pDC->m_hDC, hOld);
  ::DeleteObject(hPen);
}

void Polyline(CDC *pDC, COLORREF clr, std::initializer_list<POINT> points) {
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hPen);
  ::Polyline(pDC->m_hDC, points.begin(), static_cast<int>(points.size()));
  ::SelectObject(pDC->m_hDC, hOld);
  ::DeleteObject(hPen);
}

// Fills the whole header and frames it, its right edge pushed out of sight
// so the last divider is the item's own.
void FrameHeader(LPDRAWITEMSTRUCT lpDIS, COLORREF face, COLORREF topLeft, COLORREF bottomRight) {
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  pDC->FillSolidRect(rc, face);
  rc.right += 2;
  pDC->Draw3dRect(rc, topLeft, bottomRight);
}

} // namespace

std::vector<int> XTHeaderDisplayOrder(const std::vector<int> &orders) {
  const int count = static_cast<int>(orders.size());
  std::vector<int> display(count, -1);
  std::vector<int> strays;
  for (int item = 0; item < count; item++) {
    const int position = orders[item];
    // A position the header should never give, or one given twice, must not
    // write outside the table or hide an item: such items go last.
    if (position >= 0 && position < count && display[position] < 0)
      display[position] = item;
    else
      strays.push_back(item);
  }
  display.erase(std::remove(display.begin(), display.end(), -1), display.end());
  display.insert(display.end(), strays.begin(), strays.end());
  return display;
}

CXTHeaderTheme::CXTHeaderTheme() {
  RefreshMetrics();
}

CXTHeaderTheme::~CXTHeaderTheme() = default;

COLORREF CXTHeaderTheme::BlendColor(COLORREF c1, COLORREF c2, double f) {
  auto channel = [f](int a, int b) { return static_cast<int>(a - (a - b) * f); };
  return RGB(channel(GetRValue(c1), GetRValue(c2)), channel(GetGValue(c1), GetGValue(c2)),
             channel(GetBValue(c1), GetBValue(c2)));
}

void CXTHeaderTheme::RefreshMetrics() {
  m_crText = ::GetSysColor(COLOR_BTNTEXT);
  m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
  m_cr3DShadow = ::GetSysColor(COLOR_3DSHADOW);
  m_cr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  m_cr3DHighLight = ::GetSysColor(COLOR_3DHILIGHT);
}

BOOL CXTHeaderTheme::DrawsWithVisualStyles(CXTHeaderCtrl *pHeader) {
  if (!(m_dwDrawStyle & XTHDR_VISUALSTYLES)) return FALSE;
  HWND hWnd = pHeader != nullptr ? pHeader->GetSafeHwnd() : nullptr;
  if (m_themeWrapper.GetThemeHandle() == nullptr || m_hWndThemeOpen != hWnd) {
    m_hWndThemeOpen = hWnd;
    m_themeWrapper.OpenThemeData(hWnd, L"HEADER");
  }
  return m_themeWrapper.GetThemeHandle() != nullptr && m_themeWrapper.IsAppThemed() &&
         m_themeWrapper.IsThemeActive();
}

void CXTHeaderTheme::SetDrawStyle(DWORD dwDrawStyle, CXTHeaderCtrl *pHeader) {
  m_dwDrawStyle = dwDrawStyle;
  m_bUseWinThemes = DrawsWithVisualStyles(pHeader) && (dwDrawStyle & XTHDR_VISUALSTYLES);
}

BOOL CXTHeaderTheme::Layout(LPHDLAYOUT, CXTHeaderCtrl *) {
  return FALSE;
}

void CXTHeaderTheme::CleanUp(CXTHeaderCtrl *pHeader) {
  if (pHeader == nullptr || pHeader->GetSafeHwnd() == nullptr) return;
  for (int i = 0; i < pHeader->GetItemCount(); i++) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    if (!pHeader->GetItem(i, &item) || !(item.fmt & HDF_BITMAP) || item.hbm == nullptr) continue;
    ImageList_Destroy(reinterpret_cast<HIMAGELIST>(item.hbm));
    item.hbm = nullptr;
    item.fmt &= ~HDF_BITMAP;
    pHeader->SetItem(i, &item);
  }
}

BOOL CXTHeaderTheme::SetBitmap(int iCol, UINT uBitmapID, BOOL bRemove, COLORREF crMask,
                               CXTHeaderCtrl *pHeader) {
  HDITEMW item = {};
  item.mask = HDI_FORMAT | HDI_BITMAP;
  if (pHeader == nullptr || !pHeader->GetItem(iCol, &item)) return FALSE;
  if (bRemove) {
    if ((item.fmt & HDF_BITMAP) && item.hbm != nullptr)
      ImageList_Destroy(reinterpret_cast<HIMAGELIST>(item.hbm));
    item.hbm = nullptr;
    item.fmt &= ~HDF_BITMAP;
    return pHeader->SetItem(iCol, &item);
  }
  CBitmap bitmap;
  if (!XTPGetResourceManager()->LoadBitmap(&bitmap, uBitmapID)) return FALSE;
  BITMAP info = {};
  if (::GetObjectW(bitmap.m_hObject, sizeof(info), &info) == 0) return FALSE;
  HIMAGELIST hList = ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
  if (hList == nullptr) return FALSE;
  if (ImageList_AddMasked(hList, static_cast<HBITMAP>(bitmap.m_hObject), crMask) < 0) {
    ImageList_Destroy(hList);
    return FALSE;
  }
  if ((item.fmt & HDF_BITMAP) && item.hbm != nullptr)
    ImageList_Destroy(reinterpret_cast<HIMAGELIST>(item.hbm));
  item.hbm = reinterpret_cast<HBITMAP>(hList);
  item.fmt |= HDF_BITMAP;
  return pHeader->SetItem(iCol, &item);
}

void CXTHeaderTheme::DrawHeader(CDC *pDC, CXTHeaderCtrl *pHeader) {
  CRect rcClient;
  ::GetClientRect(pHeader->m_hWnd, &rcClient);
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = kHeaderDrawType;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.hwndItem = pHeader->m_hWnd;
  dis.hDC = pDC->m_hDC;
  dis.rcItem = rcClient;
  if (!m_bUseWinThemes || !PaintStyledHeaderBackground(&dis)) PaintHeaderBackground(&dis);

  HGDIOBJ hOldFont = ::SelectObject(pDC->m_hDC, reinterpret_cast<HFONT>(pHeader->SendMessage(WM_GETFONT)));
  pDC->SetBkColor(m_cr3DFace);
  pDC->SetTextColor(m_crText);
  pDC->SetBkMode(TRANSPARENT);

  const int count = pHeader->GetItemCount();
  std::vector<int> orders(count);
  for (int i = 0; i < count; i++) {
    HDITEMW item = {};
    item.mask = HDI_ORDER;
    orders[i] = pHeader->GetItem(i, &item) ? item.iOrder : -1;
  }
  const int hotItem = (m_dwDrawStyle & XTHDR_HOTTRACKING) ? pHeader->GetItemUnderCursor() : -1;

  m_pPaintingHeader = pHeader;
  int x = rcClient.left;
  for (int index : XTHeaderDisplayOrder(orders)) {
    wchar_t text[kTextChars + 1] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_BITMAP | HDI_LPARAM | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = kTextChars;
    if (!pHeader->GetItem(index, &item)) continue;
    dis.itemID = static_cast<UINT>(index);
    dis.rcItem = CRect(x, rcClient.top, x + item.cxy, rcClient.bottom);
    dis.itemState = 0;
    if (index == hotItem) dis.itemState |= ODS_HOTLIGHT;
    if (pHeader->IsItemHeldDown(index)) dis.itemState |= ODS_SELECTED;
    dis.itemData = reinterpret_cast<ULONG_PTR>(&item);
    if (!m_bUseWinThemes || !PaintStyledItemBackground(&dis)) PaintItemBackground(&dis);
    PaintHeaderItem(&dis, pHeader);
    x += item.cxy;
  }
  m_pPaintingHeader = nullptr;
  ::SelectObject(pDC->m_hDC, hOldFont);
}

void CXTHeaderTheme::PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS) {
  FrameHeader(lpDIS, m_cr3DFace, m_cr3DHighLight, m_cr3DDkShadow);
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  rc.right += 2;
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, m_cr3DFace, m_cr3DShadow);
}

BOOL CXTHeaderTheme::PaintStyledHeaderBackground(LPDRAWITEMSTRUCT lpDIS) {
  if (!(m_dwDrawStyle & XTHDR_HOTTRACKING)) return FALSE;
  if (FAILED(m_themeWrapper.DrawThemeBackground(lpDIS->hDC, kPartBackground, kStateNormal, &lpDIS->rcItem,
                                                nullptr))) {
    TRACE0("Error drawing background using WinTheme API.\n");
    return FALSE;
  }
  return TRUE;
}

void CXTHeaderTheme::PaintItemBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const int r = rc.right, b = rc.bottom;
  if (lpDIS->itemState & ODS_SELECTED) {
    pDC->Draw3dRect(rc, m_cr3DShadow, m_cr3DShadow);
    Line(pDC, m_cr3DHighLight, r, 1, r, b - 1);
    Line(pDC, m_cr3DFace, rc.left + 1, b - 2, r - 1, b - 2);
    return;
  }
  Line(pDC, m_cr3DShadow, r - 2, 1, r - 2, b - 1);
  Line(pDC, m_cr3DDkShadow, r - 1, 0, r - 1, b - 1);
  Line(pDC, m_cr3DHighLight, r, 1, r, b - 1);
}

BOOL CXTHeaderTheme::PaintStyledItemBackground(LPDRAWITEMSTRUCT lpDIS) {
  const int state = (lpDIS->itemState & ODS_SELECTED)   ? kStatePressed
                    : (lpDIS->itemState & ODS_HOTLIGHT) ? kStateHot
                                                        : kStateNormal;
  if (FAILED(m_themeWrapper.DrawThemeBackground(lpDIS->hDC, kPartItem, state, &lpDIS->rcItem, nullptr))) {
    TRACE0("Error drawing background using WinTheme API.\n");
    return FALSE;
  }
  return TRUE;
}

void CXTHeaderTheme::PaintHeaderItem(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl *pHeader) {
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  auto *pItem = reinterpret_cast<HDITEMW *>(lpDIS->itemData);
  HGDIOBJ hOldFont = ::SelectObject(pDC->m_hDC, reinterpret_cast<HFONT>(pHeader->SendMessage(WM_GETFONT)));
  const int sortColumn = pHeader->ReadSortedColumn();
  const bool sorted = sortColumn >= 0 && static_cast<UINT>(sortColumn) == lpDIS->itemID;
  const bool pressed = (lpDIS->itemState & ODS_SELECTED) != 0;

  CRect rc(lpDIS->rcItem);
  rc.DeflateRect(m_sizePadding.cx, 0);
  if (sorted) rc.right -= m_sizeArrow.cx + 2 * m_iArrowPadding;

  LPCWSTR text = pItem->pszText != nullptr ? pItem->pszText : L"";
  const CSize size = pDC->GetTextExtent(text, lstrlenW(text));
  const int top = m_sizePadding.cy < 1 ? rc.top + (rc.Height() - size.cy) / 2 : rc.top + m_sizePadding.cy;
  CRect rcText(rc.left, top, rc.right, top + size.cy);
  if ((pItem->fmt & HDF_BITMAP) && pItem->hbm != nullptr) PaintItemImage(lpDIS, rcText, pHeader);

  const CRect rcBounds = rcText;
  switch (pItem->fmt & HDF_JUSTIFYMASK) {
  case HDF_RIGHT:
    rcText.left = rcText.right - size.cx;
    break;
  case HDF_CENTER:
    rcText.left += (rcText.Width() - size.cx) / 2;
    rcText.right = rcText.left + size.cx;
    break;
  default:
    rcText.right = rcText.left + size.cx;
    break;
  }
  rcText.left = std::max(rcText.left, rcBounds.left);
  rcText.right = std::min(rcText.right, rcBounds.right);

  if ((m_dwDrawStyle & XTHDR_SORTARROW) && sorted) {
    DRAWITEMSTRUCT dis = *lpDIS;
    dis.rcItem = rcText;
    BOOL ascending = TRUE;
    pHeader->ReadSortedColumn(&ascending);
    DrawSortArrow(&dis, ascending);
  }
  if (rcText.Width() > 0) {
    if (pressed) rcText.OffsetRect(1, 1);
    pDC->DrawText(text, -1, rcText, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
  }
  ::SelectObject(pDC->m_hDC, hOldFont);
}

void CXTHeaderTheme::PaintItemImage(LPDRAWITEMSTRUCT lpDIS, CRect &rcText, CXTHeaderCtrl *) {
  auto *pItem = reinterpret_cast<HDITEMW *>(lpDIS->itemData);
  auto hList = reinterpret_cast<HIMAGELIST>(pItem->hbm);
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(hList, &cx, &cy)) return;
  rcText.left += cx + m_sizePadding.cx;
  const CRect rcItem(lpDIS->rcItem);
  CPoint pt(rcItem.left + m_sizePadding.cx, rcItem.top + (rcItem.Height() - cy) / 2);
  if (lpDIS->itemState & ODS_SELECTED) pt.Offset(1, 1);
  if (pt.x + cx > rcItem.right) return;
  ImageList_Draw(hList, 0, lpDIS->hDC, pt.x, pt.y, ILD_TRANSPARENT);
}

void CXTHeaderTheme::DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, BOOL bAscending) {
  const CRect rcText(lpDIS->rcItem);
  CPoint pt(rcText.right + m_iArrowPadding, rcText.top - 1 + (rcText.Height() - m_sizeArrow.cy) / 2);
  if (pt.x < rcText.left) return;
  if (lpDIS->itemState & ODS_SELECTED) pt.Offset(1, 1);
  const int half = m_sizeArrow.cx / 2;
  const int cx = pt.x + half;
  const int top = pt.y, bottom = pt.y + m_sizeArrow.cy;
  const int base = bAscending ? bottom : top, tip = bAscending ? top : bottom;
  POINT pts[3] = {{cx - half, base}, {cx + half, base}, {cx, tip}};
  DrawArrow(CDC::FromHandle(lpDIS->hDC), pts, bAscending);
}

void CXTHeaderTheme::DrawArrow(CDC *pDC, POINT ptsArrow[3], BOOL bAscending) {
  // Etched: the lit edges in the highlight, the others in the shadow.
  const COLORREF light = m_cr3DHighLight;
  if (bAscending) {
    Polyline(pDC, light, {ptsArrow[2], ptsArrow[1], ptsArrow[0]});
    Polyline(pDC, m_cr3DShadow, {ptsArrow[0], ptsArrow[2]});
  } else {
    Polyline(pDC, m_cr3DShadow, {ptsArrow[2], ptsArrow[0], ptsArrow[1]});
    Polyline(pDC, light, {ptsArrow[2], ptsArrow[1]});
  }
}

CXTHeaderThemeFlat::CXTHeaderThemeFlat() {
  m_dwDrawStyle = XTHDR_SORTARROW;
}

void CXTHeaderThemeFlat::PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS) {
  FrameHeader(lpDIS, m_cr3DFace, m_cr3DHighLight, m_cr3DShadow);
}

void CXTHeaderThemeFlat::PaintItemBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  const int r = lpDIS->rcItem.right, b = lpDIS->rcItem.bottom;
  Line(pDC, m_cr3DShadow, r - 2, 2, r - 2, b - 2);
  Line(pDC, m_cr3DHighLight, r - 1, 2, r - 1, b - 2);
}

CXTHeaderThemeShaded::CXTHeaderThemeShaded() {
  m_dwDrawStyle = XTHDR_SORTARROW;
  m_sizePadding = CSize(6, 2);
}

int CXTHeaderThemeShaded::TextHeight(CXTHeaderCtrl *pHeader) {
  // The list lays its header out again on every change of its items; a
  // device context of the header's each time is a round trip to the window
  // server under Wine. The height is measured again when the font differs.
  const auto hFont = reinterpret_cast<HFONT>(pHeader->SendMessage(WM_GETFONT));
  LOGFONTW lf = {};
  const bool bDescribed = hFont != nullptr && ::GetObjectW(hFont, sizeof(lf), &lf) == sizeof(lf);
  if (bDescribed && m_nTextHeight >= 0 && memcmp(&lf, &m_lfMeasured, sizeof(lf)) == 0) return m_nTextHeight;
  HDC hDC = ::GetDC(pHeader->m_hWnd);
  HGDIOBJ hOld = ::SelectObject(hDC, hFont);
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(hDC, &tm);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(pHeader->m_hWnd, hDC);
  m_lfMeasured = lf;
  m_nTextHeight = bDescribed ? static_cast<int>(tm.tmHeight) : -1;
  return tm.tmHeight;
}

BOOL CXTHeaderThemeShaded::Layout(LPHDLAYOUT lpHDL, CXTHeaderCtrl *pHeader) {
  if (lpHDL == nullptr || lpHDL->prc == nullptr || lpHDL->pwpos == nullptr || pHeader == nullptr)
    return FALSE;
  const int height = TextHeight(pHeader) + 10;
  RECT &rc = *lpHDL->prc;
  WINDOWPOS &wp = *lpHDL->pwpos;
  wp.hwnd = pHeader->m_hWnd;
  wp.hwndInsertAfter = nullptr;
  wp.x = rc.left;
  wp.y = rc.top;
  wp.cx = rc.right - rc.left;
  wp.cy = height;
  wp.flags = SWP_NOZORDER | SWP_NOACTIVATE;
  rc.top += height;
  return TRUE;
}

void CXTHeaderThemeShaded::PaintHeaderBackground(LPDRAWITEMSTRUCT lpDIS) {
  FrameHeader(lpDIS, m_cr3DFace, m_cr3DHighLight, BlendColor(m_cr3DFace, m_cr3DShadow, 0.6));
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  Line(pDC, BlendColor(m_cr3DFace, m_cr3DShadow, 0.4), rc.left, rc.bottom - 2, rc.right, rc.bottom - 2);
  Line(pDC, BlendColor(m_cr3DFace, m_cr3DShadow, 0.25), rc.left, rc.bottom - 3, rc.right, rc.bottom - 3);
}

void CXTHeaderThemeShaded::PaintItemBackground(LPDRAWITEMSTRUCT lpDIS) {
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  const int r = lpDIS->rcItem.right, b = lpDIS->rcItem.bottom;
  Line(pDC, m_cr3DShadow, r - 2, 2, r - 2, b - 4);
  Line(pDC, m_cr3DHighLight, r - 1, 2, r - 1, b - 4);
}

CXTThemeManagerStyle *CXTHeaderThemeFactory::CreateTheme(int nThemeId) {
  CXTHeaderTheme *pTheme = nullptr;
  switch (nThemeId) {
  case 1:
    pTheme = new CXTHeaderThemeFlat;
    break;
  case 2:
    pTheme = new CXTHeaderThemeShaded;
    break;
  default:
    pTheme = new CXTHeaderTheme;
    break;
  }
  pTheme->SetThemeId(nThemeId);
  return pTheme;
}
