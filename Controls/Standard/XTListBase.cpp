#include "XTListBase.h"

#include <algorithm>

#include "XTColorRef.h"
#include "XTGlobal.h"
#include "XTMemDC.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTPScrollBarsHold.h"
#include "XTRegistryManager.h"

namespace {

// The extra room a heading needs beside its text, and beside a sort arrow.
constexpr int kHeadingPadding = 12;
constexpr int kSortArrowRoom = 24;

// The piece at the index of a comma list, when it holds a number.
// The pieces of a comma list; a final comma ends the last piece.
int PieceCount(const CString &strList) {
  if (strList.IsEmpty()) return 0;
  int nCount = 1;
  for (int i = 0; i < strList.GetLength(); ++i)
    if (strList[i] == L',' && i + 1 < strList.GetLength()) ++nCount;
  return nCount;
}

bool PieceAt(const CString &strList, int nIndex, int &nValue) {
  if (nIndex < 0) return false;
  int nStart = 0;
  for (int i = 0; i < nIndex; ++i) {
    nStart = strList.Find(L',', nStart);
    if (nStart < 0) return false;
    ++nStart;
  }
  int nEnd = strList.Find(L',', nStart);
  CString strPiece = strList.Mid(nStart, (nEnd < 0 ? strList.GetLength() : nEnd) - nStart);
  strPiece.Trim();
  if (strPiece.IsEmpty()) return false;
  wchar_t *pEnd = nullptr;
  long lValue = wcstol(strPiece, &pEnd, 10);
  if (pEnd == strPiece.GetString() || *pEnd != 0) return false;
  nValue = static_cast<int>(lValue);
  return true;
}

bool IsCode(UINT code, UINT wide, UINT narrow) {
  return code == wide || code == narrow;
}

} // namespace

CXTListBase::CXTListBase() {
  RefreshMetrics();
}

CXTListBase::~CXTListBase() = default;

CListCtrl &CXTListBase::List() const {
  ASSERT(m_pListCtrl != nullptr);
  // A list view's control object shares the view's window; keep it in step.
  if (m_pListWnd != nullptr) m_pListCtrl->m_hWnd = m_pListWnd->m_hWnd;
  return *m_pListCtrl;
}

BOOL CXTListBase::IsReportView() const {
  return List().m_hWnd != nullptr && (List().GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

CHeaderCtrl *CXTListBase::GetHeaderCtrl() const {
  CHeaderCtrl *pHeader = List().GetHeaderCtrl();
  ASSERT(pHeader != nullptr);
  return pHeader;
}

CXTFlatHeaderCtrl *CXTListBase::GetFlatHeaderCtrl() const {
  HWND hHeader = reinterpret_cast<HWND>(List().SendMessage(LVM_GETHEADER));
  CWnd *pWnd = CWnd::FromHandlePermanent(hHeader);
  return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CXTFlatHeaderCtrl))
             ? static_cast<CXTFlatHeaderCtrl *>(pWnd)
             : nullptr;
}

BOOL CXTListBase::IsHeaderNotify(const NMHDR *pNMHDR) const {
  if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || List().m_hWnd == nullptr) return FALSE;
  return pNMHDR->hwndFrom == reinterpret_cast<HWND>(List().SendMessage(LVM_GETHEADER));
}

COLORREF CXTListBase::GetBkColor() const {
  return m_bCustomColors && m_clrBack != static_cast<COLORREF>(-1) ? m_clrBack : ::GetSysColor(COLOR_WINDOW);
}

COLORREF CXTListBase::GetTextColor() const {
  return m_bCustomColors && m_clrText != static_cast<COLORREF>(-1) ? m_clrText
                                                                   : ::GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF CXTListBase::GetSortBkColor() const {
  return m_clrSortBack != static_cast<COLORREF>(-1) ? m_clrSortBack : GetBkColor();
}

COLORREF CXTListBase::GetSortTextColor() const {
  return m_clrSortText != static_cast<COLORREF>(-1) ? m_clrSortText : GetTextColor();
}

void CXTListBase::RefreshMetrics() {
  m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
  m_clrSortText = GetTextColor();
  m_clrSortBack = CXTColorRef(GetBkColor()).Subtract(CXTColorRef(8, 8, 8));
}

int CXTListBase::GetSortedColumn(BOOL *pbAscending) const {
  if (pbAscending != nullptr) *pbAscending = m_bAscending;
  return m_nSortedCol;
}

int CXTListBase::MarkSortedColumn(int nCol, BOOL bAscending) {
  const int nOld = m_nSortedCol;
  m_nSortedCol = nCol;
  m_bAscending = bAscending == 1;
  if (List().m_hWnd == nullptr) return nOld;
  HWND hHeader = reinterpret_cast<HWND>(List().SendMessage(LVM_GETHEADER));
  CWnd *pWnd = CWnd::FromHandlePermanent(hHeader);
  if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CXTHeaderCtrl)))
    static_cast<CXTHeaderCtrl *>(pWnd)->MarkSortedColumn(nCol, m_bAscending);
  return nOld;
}

BOOL CXTListBase::SortList(int nCol, BOOL bAscending) {
  TRACE(L"Column sort on column index %d, ascending=%d\n", nCol, bAscending);
  return TRUE;
}

void CXTListBase::AddExtendedStyle(DWORD dwExStyle) {
  ASSERT(List().m_hWnd != nullptr);
  List().SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, GetExtendedStyle() | dwExStyle);
}

DWORD CXTListBase::GetExtendedStyle() {
  ASSERT(List().m_hWnd != nullptr);
  return static_cast<DWORD>(List().SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

BOOL CXTListBase::ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd) {
  ASSERT(List().m_hWnd != nullptr);
  const DWORD dwOld = GetExtendedStyle();
  const DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
  if (dwNew == dwOld) return FALSE;
  List().SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNew);
  return TRUE;
}

// --- columns ---

int CXTListBase::GetColumnCount() {
  if (!IsReportView()) return -1;
  CHeaderCtrl *pHeader = List().GetHeaderCtrl();
  return pHeader != nullptr ? pHeader->GetItemCount() : -1;
}

int CXTListBase::AddColumn(LPCTSTR lpszHeading, int nWidth, int nFormat) {
  const int nCount = GetColumnCount();
  if (nCount < 0) return -1;
  CListCtrl &list = List();
  if (nWidth == -1)
    nWidth =
        nCount > 0 ? list.GetColumnWidth(nCount - 1) : list.GetStringWidth(lpszHeading) + kHeadingPadding;
  return list.InsertColumn(nCount, lpszHeading, nFormat, nWidth, nCount);
}

BOOL CXTListBase::InsertColumns(int nCount, const int *pWidths, const CString *pHeadings) {
  for (int i = 0; i < nCount; ++i)
    if (List().InsertColumn(i, pHeadings[i], LVCFMT_LEFT, pWidths[i], i) == -1) return FALSE;
  return TRUE;
}

BOOL CXTListBase::InsertColumns(int nCount, const int *pWidths, const int *pHeadingIds) {
  for (int i = 0; i < nCount; ++i) {
    CString strHeading;
    strHeading.LoadString(static_cast<UINT>(pHeadingIds[i]));
    if (List().InsertColumn(i, strHeading, LVCFMT_LEFT, pWidths[i], i) == -1) return FALSE;
  }
  return TRUE;
}

void CXTListBase::AutoSizeColumn(int nCol) {
  CListCtrl &list = List();
  CHeaderCtrl *pHeader = list.GetHeaderCtrl();
  const int nCount = GetColumnCount();
  if (pHeader == nullptr || nCount <= 0) return;
  CXTFlatHeaderCtrl *pFlat = GetFlatHeaderCtrl();
  list.SetRedraw(FALSE);
  HDC hDC = ::GetDC(pHeader->m_hWnd);
  HGDIOBJ hOldFont = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(pHeader->SendMessage(WM_GETFONT)));
  // Every column is sized by its own index: the headings and widths then
  // belong to the same column even when the user has reordered them.
  for (int i = nCol < 0 ? 0 : nCol; i < (nCol < 0 ? nCount : nCol + 1) && i < nCount; ++i) {
    list.SetColumnWidth(i, LVSCW_AUTOSIZE);
    const int nMeasured = list.GetColumnWidth(i);
    wchar_t szHeading[MAX_PATH + 1] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = szHeading;
    item.cchTextMax = MAX_PATH;
    pHeader->GetItem(i, &item);
    SIZE size = {};
    ::GetTextExtentPoint32W(hDC, szHeading, static_cast<int>(wcslen(szHeading)), &size);
    int nHeading = size.cx + kHeadingPadding;
    if (pFlat != nullptr && pFlat->HasSortArrow() && i == m_nSortedCol) nHeading += kSortArrowRoom;
    int nWidth = std::max(std::max(nMeasured, nHeading), m_nMinColWidth);
    if (m_nMaxColWidth > 0) nWidth = std::min(nWidth, m_nMaxColWidth);
    list.SetColumnWidth(i, nWidth);
  }
  ::SelectObject(hDC, hOldFont);
  ::ReleaseDC(pHeader->m_hWnd, hDC);
  list.SetRedraw(TRUE);
  list.Invalidate();
}

BOOL CXTListBase::AttachFlatHeader(BOOL bBoldFont) {
  if (!IsReportView() || m_flatHeader.m_hWnd != nullptr) return FALSE;
  HWND hHeader = reinterpret_cast<HWND>(List().SendMessage(LVM_GETHEADER));
  if (hHeader == nullptr || !m_flatHeader.SubclassWindow(hHeader)) return FALSE;
  m_flatHeader.SetFontBold(bBoldFont);
  return TRUE;
}

// --- saved widths ---

void CXTListBase::EnableColumnWidthSaving(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  m_bAutoSave = TRUE;
  if (lpszSection == nullptr)
    XTPGetResourceManager()->LoadString(&m_strSection, XT_IDS_REG_SETTINGS);
  else
    m_strSection = lpszSection;
  if (lpszEntry == nullptr)
    XTPGetResourceManager()->LoadString(&m_strEntry, XT_IDS_REG_COLINFO);
  else
    m_strEntry = lpszEntry;
  if (lpszDefault != nullptr) m_strDefault = lpszDefault;
  LoadColumnWidths();
}

CString CXTListBase::ReadStoredWidths() {
  CXTRegistryManager regManager(HKEY_CURRENT_USER);
  return regManager.GetProfileString(m_strSection, m_strEntry, m_strDefault);
}

int CXTListBase::GetStoredColumnWidth(int nCol) {
  int nWidth = -1;
  const CString strStored = ReadStoredWidths();
  if (PieceAt(strStored, nCol, nWidth)) return nWidth;
  // A list stored when the list had fewer columns has nothing for the others:
  // they get width 0. No list at all leaves every column as it was built.
  const int nPieces = PieceCount(strStored);
  if (nPieces == 0) return -1;
  if (nCol >= nPieces) return 0;
  // A piece that is no number keeps the column's default.
  if (PieceAt(m_strDefault, nCol, nWidth)) return nWidth;
  return -1;
}

void CXTListBase::RestoreColumnWidth(int nCol) {
  const int nWidth = GetStoredColumnWidth(nCol);
  if (nWidth >= 0) List().SetColumnWidth(nCol, nWidth);
}

void CXTListBase::LoadColumnWidths() {
  const int nCount = GetColumnCount();
  if (nCount <= 0) return;
  CHeaderCtrl *pHeader = GetHeaderCtrl();
  for (int nPos = 0; nPos < nCount; ++nPos) RestoreColumnWidth(pHeader->OrderToIndex(nPos));
}

void CXTListBase::SaveColumnWidths() {
  const int nCount = GetColumnCount();
  if (nCount <= 0) return;
  // By column index, as they are read back.
  CString strWidths;
  for (int nCol = 0; nCol < nCount; ++nCol) {
    CString strPiece;
    strPiece.Format(L"%d,", List().GetColumnWidth(nCol));
    strWidths += strPiece;
  }
  CXTRegistryManager regManager(HKEY_CURRENT_USER);
  regManager.WriteProfileString(m_strSection, m_strEntry, strWidths);
}

// --- rows ---

int CXTListBase::FindCellAtPoint(CPoint point, int *pCol) {
  CListCtrl &list = List();
  int nRow = list.HitTest(point);
  if (pCol != nullptr) *pCol = 0;
  if (!IsReportView()) return nRow;
  CHeaderCtrl *pHeader = list.GetHeaderCtrl();
  const int nColumns = GetColumnCount();
  const int nTop = list.GetTopIndex();
  const int nLast = std::min(nTop + list.GetCountPerPage(), list.GetItemCount());
  for (nRow = nTop; nRow < nLast; ++nRow) {
    CRect rcRow;
    list.GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
    if (!rcRow.PtInRect(point)) continue;
    int x = rcRow.left;
    for (int nPos = 0; nPos < nColumns; ++nPos) {
      const int nWidth = list.GetColumnWidth(pHeader->OrderToIndex(nPos));
      if (point.x >= x && point.x <= x + nWidth) {
        if (pCol != nullptr) *pCol = nPos;
        return nRow;
      }
      x += nWidth;
    }
  }
  return -1;
}

int CXTListBase::CopyRow(int nSource, int nTarget) {
  if (nSource == nTarget || nSource < 0 || nTarget < 0) return -1;
  CListCtrl &list = List();
  // The whole text, however long: file names alone run to 260 characters.
  CString strText = list.GetItemText(nSource, 0);
  LVITEMW item = {};
  item.mask = LVIF_IMAGE | LVIF_PARAM;
  item.iItem = nSource;
  if (!list.GetItem(&item)) return -1;
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = nTarget;
  item.iSubItem = 0;
  item.pszText = const_cast<LPWSTR>(strText.GetString());
  const int nInserted = list.InsertItem(&item);
  if (nInserted < 0) return -1;
  if (nInserted <= nSource) ++nSource; // the source moved down a row
  const int nColumns = GetColumnCount();
  for (int nSub = 1; nSub < nColumns; ++nSub) {
    CString strSub = list.GetItemText(nSource, nSub);
    if (!strSub.IsEmpty()) list.SetItemText(nInserted, nSub, strSub);
  }
  return nSource;
}

BOOL CXTListBase::MoveRow(int nSource, int nTarget) {
  const int nOld = CopyRow(nSource, nTarget);
  return nOld >= 0 && List().DeleteItem(nOld);
}

// --- colours ---

void CXTListBase::SetListColors(COLORREF clrText, COLORREF clrBack) {
  m_clrText = clrText;
  m_clrBack = clrBack;
  m_bCustomColors = TRUE;
  // The sorted column's tint follows the list's own background.
  RefreshMetrics();
  if (List().m_hWnd != nullptr)
    List().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CXTListBase::SetRowColors(const XT_ROWCOLOR &rowColor) {
  SetRowColors(rowColor.nRow, rowColor.crText, rowColor.crBack);
}

void CXTListBase::SetRowColors(int nRow, COLORREF clrText, COLORREF clrBack) {
  if (XT_ROWCOLOR *pRow = FindRowColors(nRow)) {
    pRow->crText = clrText;
    pRow->crBack = clrBack;
  } else {
    m_rowColors[nRow] = {nRow, clrBack, clrText};
  }
  CListCtrl &list = List();
  if (list.m_hWnd == nullptr) return;
  const int nTop = list.GetTopIndex();
  if (nRow >= nTop && nRow <= nTop + list.GetCountPerPage()) list.RedrawItems(nRow, nRow);
}

void CXTListBase::RemoveAllRowColors() {
  m_rowColors.clear();
}

XT_ROWCOLOR *CXTListBase::FindRowColors(int nRow) {
  auto found = m_rowColors.find(nRow);
  return found != m_rowColors.end() ? &found->second : nullptr;
}

void CXTListBase::CellColors(int nRow, int nSubItem, BOOL bSelected, COLORREF &clrText, COLORREF &clrBack) {
  const bool bSorted = m_bSortTint && nSubItem == m_nSortedCol;
  // A selected row shows the selection, whatever its own colours.
  const XT_ROWCOLOR *pRow = m_bRowColors && !bSelected ? FindRowColors(nRow) : nullptr;
  if (!List().IsWindowEnabled()) {
    clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrBack = ::GetSysColor(COLOR_3DFACE);
  } else if (pRow != nullptr) {
    clrText = pRow->crText;
    clrBack =
        bSorted ? static_cast<COLORREF>(CXTColorRef(pRow->crBack).Blend(GetSortBkColor(), 50)) : pRow->crBack;
  } else if (bSorted) {
    clrText = GetSortTextColor();
    clrBack = GetSortBkColor();
  } else if (m_bCustomColors) {
    clrText = GetTextColor();
    clrBack = GetBkColor();
  } else {
    clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrBack = ::GetSysColor(COLOR_WINDOW);
  }
}

void CXTListBase::OnCustomDraw(NMHDR *pNMHDR, LRESULT *pResult) {
  auto *pDraw = reinterpret_cast<NMLVCUSTOMDRAW *>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  switch (pDraw->nmcd.dwDrawStage) {
  case CDDS_PREPAINT:
  case CDDS_ITEMPREPAINT:
    *pResult = CDRF_NOTIFYSUBITEMDRAW;
    break;
  case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
    const int nRow = static_cast<int>(pDraw->nmcd.dwItemSpec);
    const BOOL bSelected = (List().GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    CellColors(nRow, pDraw->iSubItem, bSelected, pDraw->clrText, pDraw->clrTextBk);
    break;
  }
  default:
    break;
  }
}

// --- window messages ---

CRect CXTListBase::GetRowsRect() const {
  CListCtrl &list = List();
  CRect rcRows;
  list.GetClientRect(&rcRows);
  CHeaderCtrl *pHeader = IsReportView() ? list.GetHeaderCtrl() : nullptr;
  if (pHeader != nullptr && pHeader->IsWindowVisible()) {
    CRect rcHeader;
    pHeader->GetWindowRect(&rcHeader);
    list.ScreenToClient(&rcHeader);
    rcRows.top = std::max(rcRows.top, rcHeader.bottom);
  }
  return rcRows;
}

void CXTListBase::PaintRows(CDC *pDC, const CRect &rcRows) {
  CListCtrl &list = List();
  const BOOL bEnabled = list.IsWindowEnabled();
  pDC->FillSolidRect(&rcRows, bEnabled ? GetBkColor() : ::GetSysColor(COLOR_3DFACE));
  CHeaderCtrl *pHeader = IsReportView() ? list.GetHeaderCtrl() : nullptr;
  if (pHeader != nullptr && m_bSortTint && m_nSortedCol >= 0 && bEnabled) {
    // Below the last row the sorted column goes on as a strip of its tint;
    // a disabled list is grey throughout, as its cells are.
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    if (!::GetScrollInfo(list.m_hWnd, SB_HORZ, &si)) si.nPos = 0;
    int x = rcRows.left - si.nPos;
    for (int nPos = 0; nPos < pHeader->GetItemCount(); ++nPos) {
      const int nCol = pHeader->OrderToIndex(nPos);
      const int nWidth = list.GetColumnWidth(nCol);
      if (nCol == m_nSortedCol) {
        CRect rcStrip(x, rcRows.top, x + nWidth, rcRows.bottom);
        pDC->FillSolidRect(&rcStrip, GetSortBkColor());
        break;
      }
      x += nWidth;
    }
  }
  DefaultListProc(WM_PAINT, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
}

void CXTListBase::OnPaint() {
  CWnd *pWnd = m_pListWnd != nullptr ? m_pListWnd : m_pListCtrl;
  CPaintDC dc(pWnd);
  const CRect rcRows = GetRowsRect();
  // Only the part the paint asks for is drawn: the list draws the rows its
  // buffer covers, so a new row at the end (or the strip a scroll uncovers)
  // costs one row, not every row in view.
  CRect rcDraw;
  if (rcDraw.IntersectRect(&rcRows, &dc.m_ps.rcPaint)) {
    // Drawn off screen and copied in one step: the rows never flicker.
    CXTMemDC memDC(&dc, rcDraw);
    if (!memDC.IsValid()) return;
    // The list sets its scroll bars again as it paints.
    CXTPScrollBarsHold bars(pWnd->m_hWnd);
    PaintRows(&memDC, rcRows);
  }
  CHeaderCtrl *pHeader = IsReportView() ? List().GetHeaderCtrl() : nullptr;
  if (pHeader == nullptr) return;
  // The header is drawn again when the paint reaches its band; a paint of
  // rows below it (a new row, a scroll) leaves it as it is.
  CRect rcHeader;
  pHeader->GetWindowRect(&rcHeader);
  List().ScreenToClient(&rcHeader);
  CRect rcTouched;
  if (!rcTouched.IntersectRect(&rcHeader, &dc.m_ps.rcPaint)) return;
  pHeader->Invalidate();
  pHeader->UpdateWindow();
}

LRESULT CXTListBase::OnPrintClient(WPARAM wParam, LPARAM) {
  // Printing draws what painting draws, so the list can be captured.
  CDC *pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  PaintRows(pDC, GetRowsRect());
  return 0;
}

void CXTListBase::OnDestroy() {
  if (m_bAutoSave) SaveColumnWidths();
}

LRESULT CXTListBase::OnListBaseMessage(WPARAM, LPARAM) {
  if (!m_bInitControl) return 0;
  m_bInitControl = FALSE;
  FinishListSetUp();
  return 0;
}

void CXTListBase::PostSetUpMessage() {
  List().PostMessage(XTWM_INITIAL_UPDATE);
}

void CXTListBase::FinishListSetUp() {
  if (m_bAutoFont) List().SetFont(&XTGetAuxData().font, TRUE);
}

BOOL CXTListBase::IsBelowMinimum(const HDITEMW *pItem) const {
  return pItem != nullptr && (pItem->mask & HDI_WIDTH) && pItem->cxy < m_nMinColWidth;
}

void CXTListBase::RaiseToMinimum(HDITEMW *pItem) const {
  if (IsBelowMinimum(pItem)) pItem->cxy = m_nMinColWidth;
}

void CXTListBase::OnHeaderItemClick(const NMHEADERW *pHeader) {
  const int nCol = pHeader->iItem;
  BOOL bAscending = TRUE;
  if (pHeader->iButton == 0) {
    bAscending = nCol == m_nSortedCol ? !m_bAscending : TRUE;
  } else if (pHeader->iButton == 1) {
    // The header's own Sort Ascending / Sort Descending chose the direction.
    GetFlatHeaderCtrl()->ReadSortedColumn(&bAscending);
  } else {
    return;
  }
  MarkSortedColumn(nCol, bAscending);
  SortList(nCol, bAscending);
}

BOOL CXTListBase::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
  if (IsHeaderNotify(pNMHDR)) {
    auto *pHeader = reinterpret_cast<NMHEADERW *>(pNMHDR);
    const UINT code = pNMHDR->code;
    if (IsCode(code, HDN_ENDTRACKW, HDN_ENDTRACKA) || IsCode(code, HDN_ITEMCHANGINGW, HDN_ITEMCHANGINGA)) {
      RaiseToMinimum(pHeader->pitem);
    } else if (IsCode(code, HDN_ITEMCHANGEDW, HDN_ITEMCHANGEDA) && IsBelowMinimum(pHeader->pitem)) {
      // Header controls that apply the width they announced rather than the
      // raised one (Wine's) get the minimum once the list has taken the change.
      if (!DefaultNotify(wParam, lParam, pResult)) *pResult = DefaultListProc(WM_NOTIFY, wParam, lParam);
      List().SetColumnWidth(pHeader->iItem, m_nMinColWidth);
      return TRUE;
    } else if (IsCode(code, HDN_BEGINTRACKW, HDN_BEGINTRACKA) ||
               IsCode(code, HDN_DIVIDERDBLCLICKW, HDN_DIVIDERDBLCLICKA)) {
      if (m_bNoColSizing) {
        *pResult = TRUE;
        return TRUE;
      }
    } else if (IsCode(code, HDN_ITEMCLICKW, HDN_ITEMCLICKA)) {
      if (GetFlatHeaderCtrl() != nullptr) OnHeaderItemClick(pHeader);
    }
  }
  return DefaultNotify(wParam, lParam, pResult);
}
