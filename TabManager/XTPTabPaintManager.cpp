#include "XTPTabPaintManager.h"

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPTabAppearance.h"
#include "XTPTabColorSets.h"

#include <algorithm>
#include <numeric>
#include <set>

// --- pure layout arithmetic ---

namespace XTPTabLayout {

void Compress(std::vector<int> &arrLengths, int nRoom) {
  const int n = static_cast<int>(arrLengths.size());
  if (n == 0) return;
  int nTotal = std::accumulate(arrLengths.begin(), arrLengths.end(), 0);
  if (nTotal <= nRoom) return;
  if (n == 1) {
    arrLengths[0] = nRoom;
    return;
  }
  std::vector<int> arrOrder(n);
  std::iota(arrOrder.begin(), arrOrder.end(), 0);
  std::stable_sort(arrOrder.begin(), arrOrder.end(),
                   [&](int a, int b) { return arrLengths[a] > arrLengths[b]; });
  int nExcess = nTotal - nRoom;
  int nLevel = arrLengths[arrOrder[0]];
  int nGroup = 0;
  while (nGroup < n && arrLengths[arrOrder[nGroup]] == nLevel) nGroup++;
  while (nGroup < n) {
    int nNext = arrLengths[arrOrder[nGroup]];
    int nCut = nGroup * (nLevel - nNext);
    if (nCut >= nExcess) {
      for (int i = 0; i < nGroup; i++) arrLengths[arrOrder[i]] = nLevel - nExcess / nGroup;
      return;
    }
    nExcess -= nCut;
    nLevel = nNext;
    for (int i = 0; i < nGroup; i++) arrLengths[arrOrder[i]] = nLevel;
    while (nGroup < n && arrLengths[arrOrder[nGroup]] == nLevel) nGroup++;
  }
  for (int i = 0; i < n; i++) arrLengths[i] = nRoom / n;
}

std::vector<int> GreedyRows(const std::vector<int> &arrLengths, int nRoom) {
  std::vector<int> arrFirst{0};
  int nRow = 0, nCount = 0;
  for (int i = 0; i < static_cast<int>(arrLengths.size()); i++) {
    if (nCount > 0 && nRow + arrLengths[i] > nRoom) {
      arrFirst.push_back(i);
      nRow = 0;
      nCount = 0;
    }
    nRow += arrLengths[i];
    nCount++;
  }
  return arrFirst;
}

namespace {

// The balancing search: row r starting at item nFirst; the items not yet
// placed are always the suffix from nFirst, so (r, nFirst) decides the
// outcome and a failure is remembered.
class RowSearch {
public:
  RowSearch(const std::vector<int> &arrLengths, int nRows, int nRoom, BOOL bEvenRows)
      : m_arrLengths(arrLengths), m_n(static_cast<int>(arrLengths.size())), m_nRows(nRows), m_nRoom(nRoom),
        m_bEven(bEvenRows), m_arrFirst(nRows, static_cast<int>(arrLengths.size())),
        m_arrSuffix(arrLengths.size() + 1, 0) {
    for (int i = m_n - 1; i >= 0; i--) m_arrSuffix[i] = m_arrSuffix[i + 1] + arrLengths[i];
  }

  bool Row(int r, int nFirst) {
    if (m_setFailed.count(static_cast<long long>(r) * (m_n + 1) + nFirst)) return false;
    m_nSteps++;
    m_arrFirst[r] = nFirst;
    for (int k = r + 1; k < m_nRows; k++) m_arrFirst[k] = m_n;
    const int nRest = m_arrSuffix[nFirst];
    const int nLimit = m_bEven ? std::min(m_nRoom, nRest / (m_nRows - r)) : m_nRoom;
    int nRow = 0, nCount = 0;
    for (int i = nFirst; i < m_n; i++) {
      const int nLength = m_arrLengths[i];
      if (nRow + nLength > nLimit && nCount > 0 && nLength >= 1) {
        if (r == m_nRows - 1) return Fail(r, nFirst);
        if (Row(r + 1, i)) return true;
        if (nRow + nLength > m_nRoom) return Fail(r, nFirst);
        m_arrFirst[r] = nFirst;
      }
      nRow += nLength;
      nCount++;
    }
    for (int k = r + 1; k < m_nRows; k++) m_arrFirst[k] = m_n;
    return true;
  }

  const std::vector<int> &Result() const { return m_arrFirst; }
  int Steps() const { return m_nSteps; }

private:
  bool Fail(int r, int nFirst) {
    m_setFailed.insert(static_cast<long long>(r) * (m_n + 1) + nFirst);
    return false;
  }

  const std::vector<int> &m_arrLengths;
  const int m_n, m_nRows, m_nRoom;
  const BOOL m_bEven;
  std::vector<int> m_arrFirst;
  std::vector<int> m_arrSuffix;
  std::set<long long> m_setFailed;
  int m_nSteps = 0;
};

} // namespace

std::vector<int> BalanceRows(const std::vector<int> &arrLengths, int nRows, int nRoom, BOOL bEvenRows,
                             int *pnSteps) {
  if (pnSteps) *pnSteps = 0;
  if (nRows <= 1 || arrLengths.empty()) return std::vector<int>{0};
  RowSearch search(arrLengths, nRows, nRoom, bEvenRows);
  bool bFound = search.Row(0, 0);
  if (pnSteps) *pnSteps = search.Steps();
  // No split into that many rows: the greedy one still shows every tab.
  if (!bFound) return GreedyRows(arrLengths, nRoom);
  return search.Result();
}

void JustifyRow(std::vector<int> &arrLengths, int nFirst, int nLast, int nRoom) {
  int nFree = nRoom;
  for (int i = nFirst; i <= nLast; i++) nFree -= arrLengths[i];
  for (int i = nFirst; i <= nLast; i++) {
    int nAdd = nFree / (nLast - i + 1);
    arrLengths[i] += nAdd;
    nFree -= nAdd;
  }
}

int ScrollIntoView(int nOffset, int nItemStart, int nItemEnd, int nHeaderStart, int nHeaderEnd, int nMargin) {
  if (nItemStart < nHeaderStart)
    nOffset += nHeaderStart + nMargin - nItemStart;
  else if (nItemEnd > nHeaderEnd)
    nOffset -= nItemEnd - nHeaderEnd;
  return std::min(nOffset, 0);
}

int FitOffset(int nOffset, int nItemsEnd, int nUsableEnd) {
  if (nOffset < 0 && nItemsEnd < nUsableEnd) nOffset = std::min(0, nOffset + nUsableEnd - nItemsEnd);
  return nOffset;
}

CString MiddleEllipsis(const CString &strText, int nWidth,
                       const std::function<int(const CString &)> &pfnWidth) {
  if (pfnWidth(strText) <= nWidth) return strText;
  for (int nKeep = strText.GetLength() - 1; nKeep > 0; nKeep--) {
    CString strTry = strText.Left((nKeep + 1) / 2) + L"..." + strText.Right(nKeep / 2);
    if (pfnWidth(strTry) <= nWidth) return strTry;
  }
  return CString(L"...");
}

} // namespace XTPTabLayout

// --- paint manager ---

namespace {

const COLORREF kItemColors[8] = {0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0,
                                 0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8};

BOOL IsVertical(XTPTabPosition nPosition) {
  return nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight;
}

// The paint manager owns its appearance and colour set: a new one takes the
// old one's place (freeing it) and measures itself for its owner.
template <class TPart> void AdoptPart(TPart *&pSlot, TPart *pPart, CXTPTabPaintManager *pOwner) {
  delete pSlot;
  pSlot = pPart;
  pPart->SetOwner(pOwner);
  pPart->RefreshMetrics();
}

} // namespace

CXTPTabPaintManager::CXTPTabPaintManager() {
  SetAppearance(xtpTabAppearancePropertyPage);
  RefreshMetrics();
}

CXTPTabPaintManager::~CXTPTabPaintManager() {
  delete m_pAppearanceSet;
  delete m_pColorSet;
}

COLORREF CXTPTabPaintManager::ResolveItemColor(COLORREF clr) {
  if (clr >= xtpTabColorFirst && clr <= xtpTabColorLast) return kItemColors[clr - xtpTabColorFirst];
  return clr;
}

CXTPTabAppearance *CXTPTabPaintManager::SetAppearance(int nAppearance) {
  m_nAppearance = nAppearance;
  return SetAppearanceSet(XTPCreateTabAppearance(nAppearance));
}

CXTPTabAppearance *CXTPTabPaintManager::SetAppearanceSet(CXTPTabAppearance *pAppearance) {
  if (pAppearance) {
    AdoptPart(m_pAppearanceSet, pAppearance, this);
    SetColor(pAppearance->GetPreferredColorSet());
  }
  OnPropertyChanged();
  return m_pAppearanceSet;
}

CXTPTabColorSet *CXTPTabPaintManager::SetColor(int nColorSet) {
  m_nColorSet = nColorSet;
  return SetColorSet(XTPCreateTabColorSet(nColorSet));
}

CXTPTabColorSet *CXTPTabPaintManager::SetColorSet(CXTPTabColorSet *pColorSet) {
  if (pColorSet) AdoptPart(m_pColorSet, pColorSet, this);
  OnPropertyChanged();
  return m_pColorSet;
}

void CXTPTabPaintManager::SetPosition(XTPTabPosition nPosition) {
  m_tabPosition = nPosition;
  OnPropertyChanged();
}

void CXTPTabPaintManager::SetLayout(XTPTabLayoutStyle nLayout) {
  m_tabLayout = nLayout;
  OnPropertyChanged();
}

void CXTPTabPaintManager::AddChangeListener(CXTPTabManager *pManager) {
  if (std::find(m_arrChangeListeners.begin(), m_arrChangeListeners.end(), pManager) ==
      m_arrChangeListeners.end())
    m_arrChangeListeners.push_back(pManager);
}

void CXTPTabPaintManager::RemoveChangeListener(CXTPTabManager *pManager) {
  m_arrChangeListeners.erase(std::remove(m_arrChangeListeners.begin(), m_arrChangeListeners.end(), pManager),
                             m_arrChangeListeners.end());
}

void CXTPTabPaintManager::OnPropertyChanged() {
  std::vector<CXTPTabManager *> arrListeners = m_arrChangeListeners;
  for (CXTPTabManager *pManager : arrListeners) pManager->OnPropertyChanged();
}

BOOL CXTPTabPaintManager::AreSchemeColorsDisabled() const {
  return m_bDisableLunaColors || XTPGetColorManager()->IsSystemThemeColorsDisabled();
}

void CXTPTabPaintManager::RefreshMetrics() {
  if (m_bUseStandardFont) {
    LOGFONT lf = {};
    VERIFY(::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0));
    SetFontIndirect(&lf, TRUE);
  }
  if (m_pColorSet) m_pColorSet->RefreshMetrics();
  if (m_pAppearanceSet) m_pAppearanceSet->RefreshMetrics();
}

void CXTPTabPaintManager::SetFontIndirect(const LOGFONT *pLogFont, BOOL bUseStandardFont) {
  m_bUseStandardFont = bUseStandardFont;
  if (!pLogFont) return;
  m_fntNormal.DeleteObject();
  m_fntBold.DeleteObject();
  m_fntVerticalNormal.DeleteObject();
  m_fntVerticalBold.DeleteObject();

  LOGFONT lf = *pLogFont;
  lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
  VERIFY(m_fntNormal.CreateFontIndirect(&lf));
  lf.lfWeight = FW_BOLD;
  VERIFY(m_fntBold.CreateFontIndirect(&lf));

  CString strFace = CXTPDrawHelpers::GetDefaultFontName();
  lstrcpynW(lf.lfFaceName, strFace, LF_FACESIZE);
  lf.lfOrientation = 900;
  lf.lfEscapement = 2700;
  if (lf.lfHeight < 0 && lf.lfHeight > -11) lf.lfHeight = -11;
  lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
  VERIFY(m_fntVerticalNormal.CreateFontIndirect(&lf));
  lf.lfWeight = FW_BOLD;
  VERIFY(m_fntVerticalBold.CreateFontIndirect(&lf));
}

void CXTPTabPaintManager::DrawNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) {
  if (m_pColorSet) m_pColorSet->PaintNavigateButton(pDC, pButton, rc);
}

void CXTPTabPaintManager::EnsureVisible(CXTPTabManager *pTabManager, CXTPTabManagerItem *pItem) {
  CRect rcItem = pItem->GetRect(), rcHeader = pTabManager->GetHeaderRect();
  if (rcItem.IsRectEmpty() || rcHeader.IsRectEmpty()) return;
  int nMargin = m_pAppearanceSet ? m_pAppearanceSet->GetStripMargin().left : 0;
  int nOffset = pTabManager->GetHeaderOffset();
  int nNew = pTabManager->IsHorizontalPosition()
                 ? XTPTabLayout::ScrollIntoView(nOffset, rcItem.left, rcItem.right, rcHeader.left,
                                                rcHeader.right, nMargin)
                 : XTPTabLayout::ScrollIntoView(nOffset, rcItem.top, rcItem.bottom, rcHeader.top,
                                                rcHeader.bottom, nMargin);
  pTabManager->SetHeaderOffset(nNew);
}

void CXTPTabPaintManager::DrawTabControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  if (m_pAppearanceSet) m_pAppearanceSet->DrawControl(pTabManager, pDC, rcControl);
}

void CXTPTabPaintManager::AdjustClientRect(CXTPTabManager *pTabManager, CRect &rcClient) {
  if (pTabManager->IsDrawStaticFrame())
    CXTPTabAppearance::DeflateRectByPosition(rcClient, 2, 1, 2, 2, pTabManager->GetPosition());
  if (pTabManager->GetItemCount() > 0 && m_pAppearanceSet)
    m_pAppearanceSet->ShrinkToClient(pTabManager, rcClient);
}

void CXTPTabPaintManager::RepositionTabControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcClient) {
  pTabManager->SetHeaderRect(CRect(0, 0, 0, 0));
  pTabManager->SetControlRect(rcClient);
  pTabManager->SetClientRect(rcClient);
  pTabManager->GetRowIndexer()->SetRowCount(1);
  for (int i = 0; i < pTabManager->GetItemCount(); i++) pTabManager->GetItem(i)->SetItemRow(0);
  if (m_pAppearanceSet) m_pAppearanceSet->LayoutTabs(pTabManager, pDC, rcClient);
  CRect rc = pTabManager->GetClientRect();
  AdjustClientRect(pTabManager, rc);
  pTabManager->SetClientRect(rc);
}

namespace {

// Every tab's length as the appearance measures it (hidden tabs take none),
// also kept on the item as its button and content length.
std::vector<int> MeasureTabs(CXTPTabAppearance *pAppearance, CDC *pDC, CXTPTabManager *pTabManager) {
  std::vector<int> arrLengths(pTabManager->GetItemCount());
  for (int i = 0; i < static_cast<int>(arrLengths.size()); i++) {
    CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
    int nLength = pItem->IsVisible() ? pAppearance->MeasureTab(pDC, pItem) : 0;
    pItem->SetButtonLength(nLength);
    pItem->SetContentLength(nLength);
    arrLengths[i] = nLength;
  }
  return arrLengths;
}

// The strip's geometry turned to a common frame: "along" runs with the tabs.
struct StripAxis {
  BOOL bHorizontal;
  int Start(const CRect &rc) const { return bHorizontal ? rc.left : rc.top; }
  int End(const CRect &rc) const { return bHorizontal ? rc.right : rc.bottom; }
  // A rectangle from along [a0, a1) and across [c0, c1).
  CRect Make(int a0, int a1, int c0, int c1) const {
    return bHorizontal ? CRect(a0, c0, a1, c1) : CRect(c0, a0, c1, a1);
  }
};

// Where row 0 (next to the client area) and the rows beyond it lie across
// the strip: the outer row's edge is the control's edge plus the top margin.
int RowStart(XTPTabPosition nPosition, const CRect &rc, int nRowHeight, int nMarginTop, int nRows, int nRow,
             int nSpacing) {
  int nOuter = nRows - 1 - nRow;
  int nStep = nOuter * (nRowHeight + nSpacing);
  switch (nPosition) {
  case xtpTabPositionTop:
    return rc.top + nMarginTop + nStep;
  case xtpTabPositionLeft:
    return rc.left + nMarginTop + nStep;
  case xtpTabPositionBottom:
    return rc.bottom - nRowHeight - nMarginTop - nStep;
  default:
    return rc.right - nRowHeight - nMarginTop - nStep;
  }
}

} // namespace

void CXTPTabPaintManager::LayoutTabsGeneric(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  const XTPTabPosition nPosition = pTabManager->GetPosition();
  CRect R = rcControl;
  if (pTabManager->IsDrawStaticFrame()) CXTPTabAppearance::DeflateRectByPosition(R, 2, 1, 2, 2, nPosition);
  CXTPTabAppearance::DeflateRectByPosition(R, m_rcControlMargin, nPosition);

  if (m_tabLayout == xtpTabLayoutMultiRow) {
    LayoutMultiRow(pTabManager, pDC, R);
    return;
  }
  CRect rcHeader = m_pAppearanceSet->ComputeStripRect(R, pTabManager);
  pTabManager->SetHeaderRect(rcHeader);
  const int nCount = pTabManager->GetItemCount();
  if (nCount == 0) return;

  const CRect M = m_pAppearanceSet->GetStripMargin();
  const int B = m_pAppearanceSet->GetRowHeight(pTabManager);
  std::vector<int> arrLengths = MeasureTabs(m_pAppearanceSet, pDC, pTabManager);
  const StripAxis axis{pTabManager->IsHorizontalPosition()};
  int W = (axis.bHorizontal ? R.Width() : R.Height()) - M.left - M.right;
  for (int b = pTabManager->GetNavigateButtonCount() - 1; b >= 0; b--)
    pTabManager->GetNavigateButton(b)->AdjustWidth(W);
  if (m_tabLayout == xtpTabLayoutCompressed) {
    XTPTabLayout::Compress(arrLengths, W);
    for (int i = 0; i < nCount; i++) pTabManager->GetItem(i)->SetButtonLength(arrLengths[i]);
  }

  const int nAcross = RowStart(nPosition, R, B, M.top, 1, 0, 0);
  const int nStart = axis.Start(R) + M.left;
  auto placeButtons = [&]() {
    CRect rcRow = axis.Make(nStart, axis.End(rcHeader) - 1, nAcross, nAcross + B);
    for (int b = pTabManager->GetNavigateButtonCount() - 1; b >= 0; b--)
      pTabManager->GetNavigateButton(b)->Reposition(rcRow);
    return axis.End(rcRow);
  };
  int nUsableEnd = placeButtons();
  const int nTotal = pTabManager->GetTotalButtonLength();
  int nOffset = XTPTabLayout::FitOffset(pTabManager->GetHeaderOffset(),
                                        nStart + pTabManager->GetHeaderOffset() + nTotal, nUsableEnd);
  if (nOffset != pTabManager->GetHeaderOffset()) {
    pTabManager->m_nHeaderOffset = nOffset;
    nUsableEnd = placeButtons();
  }
  int a = nStart + nOffset;
  for (int i = 0; i < nCount; i++) {
    CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
    int nLength = pItem->GetButtonLength();
    pItem->SetRect(axis.Make(a, a + nLength, nAcross, nAcross + B));
    a += nLength;
  }
  if (axis.bHorizontal)
    rcHeader.right = nUsableEnd;
  else
    rcHeader.bottom = nUsableEnd;
  pTabManager->SetHeaderRect(rcHeader);
}

void CXTPTabPaintManager::LayoutMultiRow(CXTPTabManager *pTabManager, CDC *pDC, CRect R) {
  const XTPTabPosition nPosition = pTabManager->GetPosition();
  CRect rcHeader = m_pAppearanceSet->ComputeStripRect(R, pTabManager);
  pTabManager->SetHeaderRect(rcHeader);
  pTabManager->m_nHeaderOffset = 0;
  const int nCount = pTabManager->GetItemCount();
  if (nCount == 0) return;

  const StripAxis axis{pTabManager->IsHorizontalPosition()};
  const CRect M = m_pAppearanceSet->GetStripMargin();
  const int B = m_pAppearanceSet->GetRowHeight(pTabManager);
  int nUsableEnd = axis.End(rcHeader) - 1;
  for (int b = pTabManager->GetNavigateButtonCount() - 1; b >= 0; b--)
    pTabManager->GetNavigateButton(b)->AdjustWidth(nUsableEnd);
  const int W = nUsableEnd - (axis.Start(R) + M.left + M.right);

  std::vector<int> arrLengths = MeasureTabs(m_pAppearanceSet, pDC, pTabManager);
  std::vector<int> arrFirst = XTPTabLayout::GreedyRows(arrLengths, W);
  if (arrFirst.size() > 1)
    arrFirst =
        XTPTabLayout::BalanceRows(arrLengths, static_cast<int>(arrFirst.size()), W, m_bMultiRowJustified);
  const int nRows = static_cast<int>(arrFirst.size());

  // Rows as (first, last) in the order they lie from the client area out.
  std::vector<CXTPTabManagerRowIndexer::ROW> arrRows(nRows);
  for (int r = 0; r < nRows; r++) arrRows[r] = {arrFirst[r], (r + 1 < nRows ? arrFirst[r + 1] : nCount) - 1};
  CXTPTabManagerItem *pSelected = pTabManager->GetSelectedItem();
  if (!m_bMultiRowFixedSelection && pSelected) {
    for (int r = 1; r < nRows; r++)
      if (pSelected->GetIndex() >= arrRows[r].nFirstItem && pSelected->GetIndex() <= arrRows[r].nLastItem)
        std::swap(arrRows[0], arrRows[r]);
  }
  if (nRows >= 2 && m_bMultiRowJustified)
    for (const auto &row : arrRows)
      if (row.nFirstItem <= row.nLastItem)
        XTPTabLayout::JustifyRow(arrLengths, row.nFirstItem, row.nLastItem, W);

  CXTPTabManagerRowIndexer *pIndexer = pTabManager->GetRowIndexer();
  pIndexer->SetRowCount(nRows);
  const int nSpacing = m_pAppearanceSet->GetRowSpacing();
  for (int r = 0; r < nRows; r++) {
    pIndexer->GetRow(r) = arrRows[r];
    int nAcross = RowStart(nPosition, R, B, M.top, nRows, r, nSpacing);
    int a = axis.Start(R) + M.left;
    for (int i = arrRows[r].nFirstItem; i <= arrRows[r].nLastItem; i++) {
      CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
      pItem->SetButtonLength(arrLengths[i]);
      pItem->SetRect(axis.Make(a, a + arrLengths[i], nAcross, nAcross + B));
      pItem->SetItemRow(r);
      a += arrLengths[i];
    }
  }
  rcHeader = m_pAppearanceSet->ComputeStripRect(R, pTabManager);
  if (axis.bHorizontal)
    rcHeader.right = nUsableEnd;
  else
    rcHeader.bottom = nUsableEnd;
  pTabManager->SetHeaderRect(rcHeader);
  CRect rcRow = rcHeader;
  for (int b = pTabManager->GetNavigateButtonCount() - 1; b >= 0; b--)
    pTabManager->GetNavigateButton(b)->Reposition(rcRow);
}

void CXTPTabPaintManager::DrawControlGeneric(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  const XTPTabPosition nPosition = pTabManager->GetPosition();
  CRect R = rcControl;
  if (pTabManager->IsDrawStaticFrame()) {
    pDC->Draw3dRect(R, m_pColorSet->edgeDark, m_pColorSet->edgeDark);
    CXTPTabAppearance::DeflateRectByPosition(R, 1, 1, 1, 1, nPosition);
    pDC->Draw3dRect(R, m_pColorSet->edgeFace, m_pColorSet->edgeFace);
    CXTPTabAppearance::DeflateRectByPosition(R, 1, 0, 1, 1, nPosition);
  }
  if (m_bFillBackground) pDC->FillSolidRect(R, m_pColorSet->edgeFace);
  CXTPTabAppearance::DeflateRectByPosition(R, m_rcControlMargin, nPosition);
  pDC->SetBkMode(TRANSPARENT);
  CRect rcStrip = m_bFillBackground ? m_pAppearanceSet->PaintBackground(pTabManager, pDC, R)
                                    : m_pAppearanceSet->ComputeStripRect(R, pTabManager);
  for (int b = 0; b < pTabManager->GetNavigateButtonCount(); b++) {
    CRect rcButton = pTabManager->GetNavigateButton(b)->GetRect();
    if (rcButton.IsRectEmpty()) continue;
    if (pTabManager->IsHorizontalPosition())
      rcStrip.right = std::min(rcStrip.right, rcButton.left);
    else
      rcStrip.bottom = std::min(rcStrip.bottom, rcButton.top);
    break;
  }
  int nSaved = pDC->SaveDC();
  pDC->IntersectClipRect(rcStrip);
  m_pColorSet->ExcludeClientCorner(pDC, R, pTabManager);
  DrawRows(pTabManager, pDC, rcStrip);
  pDC->RestoreDC(nSaved);
  for (int b = 0; b < pTabManager->GetNavigateButtonCount(); b++)
    pTabManager->GetNavigateButton(b)->Draw(pDC);
}

void CXTPTabPaintManager::DrawRows(CXTPTabManager *pTabManager, CDC *pDC, const CRect &) {
  CRect rcClip;
  pDC->GetClipBox(&rcClip);
  auto drawItem = [&](CXTPTabManagerItem *pItem) {
    CRect rcItem = pItem->GetRect(), rcMeet;
    if (pItem->IsVisible() && rcMeet.IntersectRect(rcItem, rcClip)) m_pAppearanceSet->DrawTab(pDC, pItem);
  };
  CXTPTabManagerRowIndexer *pIndexer = pTabManager->GetRowIndexer();
  CXTPTabManagerItem *pSelected = pTabManager->GetSelectedItem();
  for (int r = pIndexer->GetRowCount() - 1; r >= 0; r--) {
    int nFirst = pIndexer->GetRow(r).nFirstItem, nLast = pIndexer->GetRow(r).nLastItem;
    if (pIndexer->GetRowCount() == 1) {
      nFirst = 0;
      nLast = pTabManager->GetItemCount() - 1;
    }
    int nBackTo = nFirst;
    if (m_pAppearanceSet->IsDrawLeftToRight()) {
      // Forward up to the selected tab, then back from the row's end to it,
      // so that each side overlaps towards the selected tab.
      int i = nFirst;
      for (; i <= nLast && pTabManager->GetItem(i) != pSelected; i++) drawItem(pTabManager->GetItem(i));
      nBackTo = i;
    }
    CXTPTabManagerItem *pDrawSelected = nullptr;
    for (int i = nLast; i >= nBackTo; i--) {
      CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
      drawItem(pItem);
      if (pItem == pSelected) pDrawSelected = pItem;
    }
    if (pDrawSelected) drawItem(pDrawSelected);
  }
}

void CXTPTabPaintManager::DrawFocusRect(CDC *pDC, CXTPTabManagerItem *, CRect rcItem) {
  if (!m_bShowFocusRect) return;
  rcItem.DeflateRect(3, 3);
  pDC->SetTextColor(0);
  pDC->SetBkColor(0xFFFFFF);
  pDC->DrawFocusRect(rcItem);
}

int CXTPTabPaintManager::DrawSingleButtonIconAndText(CDC *pDC, CXTPTabManagerItem *pItem, CRect rcItem,
                                                     BOOL bDraw) {
  CXTPTabManager *pManager = pItem->GetTabManager();
  const XTPTabPosition nPosition = pManager->GetPosition();
  const BOOL bVertical = IsVertical(nPosition);
  CFont *pFont = (m_bBoldSelected && pItem->IsSelected() && pManager->IsActive()) ? GetBoldFont(bVertical)
                                                                                  : GetFont(bVertical);
  CFont *pMeasureFont =
      (m_bBoldSelected && pItem->IsSelected() && pManager->IsActive()) ? GetBoldFont(FALSE) : GetFont(FALSE);
  CSize szIcon = m_szIcon;
  BOOL bIcon = m_bShowIcons && pManager->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, szIcon);
  const int nIconExtent = bIcon ? (bVertical ? szIcon.cy : szIcon.cx) : 0;
  const BOOL bShowCaption = m_tabLayout != xtpTabLayoutSelectedText || pItem->IsSelected();
  const UINT nPrefix = m_bDrawTextNoPrefix ? DT_NOPREFIX : 0;

  // Widths are measured in the upright font: the turned one has the same advances.
  HDC hMeasure = pDC ? pDC->GetSafeHdc() : nullptr;
  HDC hScreen = nullptr;
  if (!hMeasure) hMeasure = hScreen = ::GetDC(nullptr);
  auto textWidth = [&](const CString &str, CFont *pUse) {
    HGDIOBJ hOld = ::SelectObject(hMeasure, pUse->GetSafeHandle() ? pUse->GetSafeHandle()
                                                                  : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rc = {0, 0, 0, 0};
    ::DrawTextW(hMeasure, str, str.GetLength(), &rc, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | nPrefix);
    ::SelectObject(hMeasure, hOld);
    return static_cast<int>(rc.right - rc.left);
  };
  CString strCaption = pItem->GetCaption();
  if (!bVertical || m_bDrawTextNoPrefix) {
    // as it is
  } else {
    StripMnemonics(strCaption);
  }

  int nContent;
  if (m_tabLayout == xtpTabLayoutFixed) {
    CSize szItem;
    pManager->GetItemMetrics(&szItem, nullptr, nullptr);
    nContent = szItem.cx;
  } else if (m_tabLayout == xtpTabLayoutSelectedText) {
    if (!pItem->IsSelected()) {
      nContent = nIconExtent + 8;
    } else {
      int nWidest = 0;
      for (int i = 0; i < pManager->GetItemCount(); i++)
        nWidest = std::max(nWidest, textWidth(pManager->GetItem(i)->GetCaption(), pMeasureFont));
      nContent = nWidest + 12 + nIconExtent;
    }
  } else {
    nContent = textWidth(pItem->GetCaption(), pMeasureFont) + 12 + nIconExtent;
  }
  int nButton = nContent + m_rcButtonMargin.left + m_rcButtonMargin.right;
  CSize szMin, szMax;
  pManager->GetItemMetrics(nullptr, &szMin, &szMax);
  if (szMin.cx > 0) nButton = std::max(nButton, static_cast<int>(szMin.cx));
  if (szMax.cx >= 1) nButton = std::min(nButton, static_cast<int>(szMax.cx));

  if (!bDraw) {
    if (hScreen) ::ReleaseDC(nullptr, hScreen);
    return nButton;
  }
  if (hScreen) ::ReleaseDC(nullptr, hScreen);

  const StripAxis axis{!bVertical};
  int nLength = axis.End(rcItem) - axis.Start(rcItem);
  int nLead = 0;
  int nNeed = nContent + m_rcButtonMargin.left + m_rcButtonMargin.right;
  if (nLength > nNeed) nLead = (nLength - nNeed) / 2;
  int a = axis.Start(rcItem) + nLead + 6 + m_rcButtonMargin.left;
  int nEnd = axis.End(rcItem);
  // Across the strip: the top and bottom margins, exchanged for bottom and right strips.
  int nNear = m_rcButtonMargin.top, nFar = m_rcButtonMargin.bottom;
  if (nPosition == xtpTabPositionBottom || nPosition == xtpTabPositionRight) std::swap(nNear, nFar);
  int c0 = (bVertical ? rcItem.left : rcItem.top) + nNear;
  int c1 = (bVertical ? rcItem.right : rcItem.bottom) - nFar;

  if (bIcon && a + nIconExtent <= nEnd) {
    int nIconAcross = bVertical ? szIcon.cx : szIcon.cy;
    int cIcon = (c0 + c1 - nIconAcross) / 2;
    CPoint pt = bVertical ? CPoint(cIcon, a) : CPoint(a, cIcon);
    pManager->DrawIcon(pDC, pt, pItem, TRUE, szIcon);
    a += nIconExtent + 2;
  }
  int nTextEnd = nEnd - m_rcButtonMargin.right - 2;
  if (bShowCaption && nTextEnd > a && (!bVertical || nTextEnd - a >= 8)) {
    CXTPFontDC font(pDC, pFont);
    if (!bVertical) {
      CRect rcText(a, c0, nTextEnd, c1);
      UINT nFormat = DT_SINGLELINE | DT_VCENTER | nPrefix;
      if (m_bDrawTextPathEllipsis && strCaption.Find(L'\\') >= 0) {
        pDC->DrawText(strCaption, rcText, nFormat | DT_PATH_ELLIPSIS);
      } else if (m_bDrawTextPathEllipsis) {
        CString strShown = XTPTabLayout::MiddleEllipsis(
            strCaption, rcText.Width(), [&](const CString &s) { return textWidth(s, pFont); });
        pDC->DrawText(strShown, rcText, nFormat);
      } else {
        pDC->DrawText(strCaption, rcText, nFormat | DT_END_ELLIPSIS);
      }
    } else {
      // The turned font writes downwards with its glyphs to the left of the
      // reference point: centre the text's height across the column.
      TEXTMETRIC tm = {};
      pDC->GetTextMetrics(&tm);
      CString strShown = strCaption;
      int nRoom = nTextEnd - a;
      if (textWidth(strShown, pFont) > nRoom) {
        int n = strShown.GetLength();
        while (n > 0 && textWidth(strCaption.Left(n) + L"...", pFont) > nRoom) n--;
        strShown = strCaption.Left(n) + L"...";
      }
      int x = (c0 + c1 + tm.tmHeight) / 2;
      CRect rcClip(c0, a, c1, nTextEnd);
      pDC->ExtTextOut(x, a, ETO_CLIPPED, rcClip, strShown, nullptr);
    }
  }
  if (pItem->IsSelected() && pManager->IsFocused()) DrawFocusRect(pDC, pItem, rcItem);
  return nButton;
}
