#include "XTPTabManager.h"

#include "XTPTabPaintManager.h"
#include "XTPTabColorSets.h"
#include "XTPTabAppearance.h"

#include "XTPCaptureLoop.h"
#include "XTPToolTipContext.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPTabManagerItem, CCmdTarget)

// --- item ---

CXTPTabManagerItem::CXTPTabManagerItem() {}

void CXTPTabManagerItem::SetCaption(LPCTSTR lpszCaption) {
  CString strCaption(lpszCaption ? lpszCaption : L"");
  if (strCaption == m_strCaption) return;
  m_strCaption = strCaption;
  if (m_pTabManager) m_pTabManager->Reposition();
}

CString CXTPTabManagerItem::GetCaption() const {
  return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

void CXTPTabManagerItem::SetColor(COLORREF clr) {
  m_clrItem = clr;
  if (m_pTabManager) m_pTabManager->RedrawControl();
}

COLORREF CXTPTabManagerItem::GetColor() {
  return m_pTabManager ? m_pTabManager->GetItemColor(this) : m_clrItem;
}

void CXTPTabManagerItem::Remove() {
  if (m_pTabManager) m_pTabManager->DeleteItem(m_nIndex);
}

void CXTPTabManagerItem::SetVisible(BOOL bVisible) {
  if (m_bVisible == bVisible) return;
  m_bVisible = bVisible;
  if (m_pTabManager) m_pTabManager->Reposition();
}

void CXTPTabManagerItem::SetEnabled(BOOL bEnabled) {
  if (m_bEnabled == bEnabled) return;
  m_bEnabled = bEnabled;
  if (m_pTabManager) m_pTabManager->Reposition();
}

BOOL CXTPTabManagerItem::IsSelected() const {
  return m_pTabManager && m_pTabManager->GetSelectedItem() == this;
}

BOOL CXTPTabManagerItem::IsHighlighted() const {
  return m_pTabManager && m_pTabManager->GetHighlightedItem() == this;
}

// --- row indexer ---

void CXTPTabManagerRowIndexer::SetRowCount(int nRows) {
  if (nRows < 1) nRows = 1;
  if (nRows != m_nRowCount) {
    m_arrRows.assign(nRows, ROW{0, -1});
    m_nRowCount = nRows;
  }
  m_arrRows[0].nFirstItem = 0;
  m_arrRows[0].nLastItem = m_pManager ? m_pManager->GetItemCount() - 1 : -1;
}

// --- navigate buttons ---

CXTPTabManagerNavigateButton::CXTPTabManagerNavigateButton(CXTPTabManager *pManager,
                                                           XTPTabNavigateButton nKind,
                                                           XTPTabNavigateButtonFlags nMode)
    : m_pManager(pManager), m_nKind(nKind), m_nMode(nMode) {}

BOOL CXTPTabManagerNavigateButton::IsShownInLayout() const {
  if (m_nMode == xtpTabNavigateButtonAlways) return TRUE;
  return m_nKind == xtpTabNavigateButtonClose && m_nMode == xtpTabNavigateButtonAutomatic &&
         m_pManager->IsNavigateButtonVisible(const_cast<CXTPTabManagerNavigateButton *>(this));
}

void CXTPTabManagerNavigateButton::AdjustWidth(int &nWidth) {
  if (IsShownInLayout()) nWidth -= m_pManager->IsHorizontalPosition() ? m_szButton.cx : m_szButton.cy;
}

void CXTPTabManagerNavigateButton::Reposition(CRect &rcRow) {
  if (!IsShownInLayout()) {
    m_rcButton.SetRectEmpty();
    return;
  }
  PlaceAtEnd(rcRow);
}

void CXTPTabManagerNavigateButton::PlaceAtEnd(CRect &rcRow) {
  if (m_pManager->IsHorizontalPosition()) {
    int y = rcRow.CenterPoint().y - m_szButton.cy / 2;
    m_rcButton.SetRect(rcRow.right - m_szButton.cx, y, rcRow.right, y + m_szButton.cy);
    rcRow.right -= m_szButton.cx;
  } else {
    int x = rcRow.CenterPoint().x - m_szButton.cx / 2;
    m_rcButton.SetRect(x, rcRow.bottom - m_szButton.cy, x + m_szButton.cx, rcRow.bottom);
    rcRow.bottom -= m_szButton.cy;
  }
}

void CXTPTabManagerNavigateButtonScroll::Reposition(CRect &rcRow) {
  CXTPTabPaintManager *pPaintManager = m_pManager->GetPaintManager();
  XTPTabLayoutStyle nLayout = pPaintManager ? pPaintManager->GetLayout() : xtpTabLayoutAutoSize;
  int nRowLength = m_pManager->GetRectLength(rcRow);
  int nMargin = 0;
  if (pPaintManager && pPaintManager->GetAppearanceSet())
    nMargin = pPaintManager->GetAppearanceSet()->GetStripMargin().left;
  BOOL bFits =
      m_pManager->GetTotalButtonLength() + m_pManager->GetHeaderOffset() - nMargin - 1 <= nRowLength &&
      m_pManager->GetHeaderOffset() >= 0;
  BOOL bHide = m_nMode == xtpTabNavigateButtonNone || nLayout == xtpTabLayoutMultiRow ||
               (m_nMode == xtpTabNavigateButtonAutomatic && (nLayout == xtpTabLayoutCompressed || bFits));
  if (bHide) {
    m_rcButton.SetRectEmpty();
    return;
  }
  PlaceAtEnd(rcRow);
}

void CXTPTabManagerNavigateButtonLeft::Reposition(CRect &rcRow) {
  m_bEnabled = m_pManager->GetHeaderOffset() < 0;
  CXTPTabManagerNavigateButtonScroll::Reposition(rcRow);
}

void CXTPTabManagerNavigateButtonRight::Reposition(CRect &rcRow) {
  m_bEnabled = m_pManager->GetTotalButtonLength() + m_pManager->GetHeaderOffset() >
               m_pManager->GetRectLength(rcRow) - 28;
  CXTPTabManagerNavigateButtonScroll::Reposition(rcRow);
}

void CXTPTabManagerNavigateButton::OnExecute(BOOL bTick) {
  if (!bTick) m_pManager->OnNavigateButtonClick(m_nKind);
}

void CXTPTabManagerNavigateButtonLeft::OnExecute(BOOL bTick) {
  if (bTick) m_pManager->OnScroll(FALSE);
}

void CXTPTabManagerNavigateButtonRight::OnExecute(BOOL bTick) {
  if (bTick) m_pManager->OnScroll(TRUE);
}

void CXTPTabManagerNavigateButton::PerformClick(HWND hWnd, CPoint pt) {
  if (::GetCapture() != nullptr || !m_bEnabled) return;
  DWORD dwLastTick = ::GetTickCount();
  BOOL bReleasedOnButton = FALSE;
  auto showPressed = [&] {
    BOOL bPressed = m_rcButton.PtInRect(pt);
    if (bPressed != m_bPressed) {
      m_bPressed = bPressed;
      m_pManager->RedrawControl();
    }
  };
  showPressed();
  CXTPCaptureLoop loop(hWnd, CXTPCaptureLoop::kEscapeCancels);
  // A button held with the mouse still must go on repeating without
  // spinning: the loop wakes at least once a repeat period.
  loop.SetTimeout(kRepeatMs);
  loop.Run([&](const MSG &msg) {
    if (!m_bEnabled) return CXTPCaptureLoop::kCancel;
    DWORD dwNow = ::GetTickCount();
    if (dwNow - dwLastTick > kRepeatMs) {
      dwLastTick = dwNow;
      m_nRepeats++;
      OnExecute(TRUE);
    }
    switch (msg.message) {
    case WM_NULL:
      break;
    case WM_MOUSEMOVE:
      pt = CPoint(static_cast<DWORD>(msg.lParam));
      break;
    case WM_LBUTTONUP:
      pt = CPoint(static_cast<DWORD>(msg.lParam));
      bReleasedOnButton = m_rcButton.PtInRect(pt);
      return CXTPCaptureLoop::kEnd;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
      return CXTPCaptureLoop::kCancel;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Key presses are swallowed while the button is held.
      break;
    default:
      return CXTPCaptureLoop::kDispatch;
    }
    showPressed();
    return CXTPCaptureLoop::kHandled;
  });
  loop.Release();
  m_bPressed = FALSE;
  PerformMouseMove(hWnd, pt);
  m_pManager->RedrawControl();
  if (bReleasedOnButton) OnExecute(FALSE);
}

void CXTPTabManagerNavigateButton::PerformMouseMove(HWND hWnd, CPoint pt) {
  BOOL bInside = m_rcButton.PtInRect(pt);
  if (!bInside && m_bHot) {
    m_bHot = FALSE;
    m_pManager->RedrawControl();
  } else if (bInside && !m_bHot && m_bEnabled) {
    m_bHot = TRUE;
    m_pManager->RedrawControl();
    if (hWnd && ::IsWindow(hWnd)) {
      TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
      ::_TrackMouseEvent(&tme);
    }
  }
}

void CXTPTabManagerNavigateButton::Draw(CDC *pDC) {
  if (m_rcButton.IsRectEmpty()) return;
  CRect rc = m_rcButton;
  if (CXTPTabPaintManager *pPaintManager = m_pManager->GetPaintManager())
    pPaintManager->DrawNavigateButton(pDC, this, rc);
  DrawEntry(pDC, rc);
}

void CXTPTabManagerNavigateButton::DrawEntry(CDC *, CRect) {}

namespace {

// The glyph's pen and brush: the text colour, hollow when disabled.
class GlyphInk {
public:
  GlyphInk(CDC *pDC, BOOL bEnabled) : m_hDC(pDC->GetSafeHdc()) {
    COLORREF clr = ::GetTextColor(m_hDC);
    m_hPen = ::CreatePen(PS_SOLID, 1, clr);
    m_hBrush = bEnabled ? ::CreateSolidBrush(clr) : nullptr;
    m_hOldPen = ::SelectObject(m_hDC, m_hPen);
    m_hOldBrush = ::SelectObject(m_hDC, m_hBrush ? m_hBrush : ::GetStockObject(NULL_BRUSH));
  }
  ~GlyphInk() {
    ::SelectObject(m_hDC, m_hOldPen);
    ::SelectObject(m_hDC, m_hOldBrush);
    ::DeleteObject(m_hPen);
    if (m_hBrush) ::DeleteObject(m_hBrush);
  }
  GlyphInk(const GlyphInk &) = delete;
  GlyphInk &operator=(const GlyphInk &) = delete;

private:
  HDC m_hDC;
  HPEN m_hPen;
  HBRUSH m_hBrush;
  HGDIOBJ m_hOldPen, m_hOldBrush;
};

void Triangle(CDC *pDC, POINT a, POINT b, POINT c) {
  POINT pts[3] = {a, b, c};
  pDC->Polygon(pts, 3);
}

} // namespace

void CXTPTabManagerNavigateButtonLeft::DrawEntry(CDC *pDC, CRect rc) {
  GlyphInk ink(pDC, m_bEnabled);
  CPoint c = rc.CenterPoint();
  if (m_pManager->IsHorizontalPosition())
    Triangle(pDC, {c.x + 2, c.y - 5}, {c.x - 2, c.y - 1}, {c.x + 2, c.y + 3});
  else
    Triangle(pDC, {c.x - 5, c.y + 2}, {c.x - 1, c.y - 2}, {c.x + 3, c.y + 2});
}

void CXTPTabManagerNavigateButtonRight::DrawEntry(CDC *pDC, CRect rc) {
  GlyphInk ink(pDC, m_bEnabled);
  CPoint c = rc.CenterPoint();
  if (m_pManager->IsHorizontalPosition())
    Triangle(pDC, {c.x - 2, c.y - 5}, {c.x + 2, c.y - 1}, {c.x - 2, c.y + 3});
  else
    Triangle(pDC, {c.x - 5, c.y - 2}, {c.x - 1, c.y + 2}, {c.x + 3, c.y - 2});
}

void CXTPTabManagerNavigateButtonClose::DrawEntry(CDC *pDC, CRect rc) {
  GlyphInk ink(pDC, m_bEnabled);
  const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
  pDC->MoveTo(l + 3, t + 3);
  pDC->LineTo(r - 4, b - 5);
  pDC->MoveTo(l + 4, t + 3);
  pDC->LineTo(r - 3, b - 5);
  pDC->MoveTo(l + 3, b - 6);
  pDC->LineTo(r - 4, t + 2);
  pDC->MoveTo(l + 4, b - 6);
  pDC->LineTo(r - 3, t + 2);
}

// --- manager ---

CXTPTabManager::CXTPTabManager() : m_pRowIndexer(new CXTPTabManagerRowIndexer(this)) {
  m_arrNavigateButtons.push_back(new CXTPTabManagerNavigateButtonLeft(this));
  m_arrNavigateButtons.push_back(new CXTPTabManagerNavigateButtonRight(this));
  m_arrNavigateButtons.push_back(new CXTPTabManagerNavigateButtonClose(this));
  m_pRowIndexer->SetRowCount(1);
}

CXTPTabManager::~CXTPTabManager() {
  for (CXTPTabManagerItem *pItem : m_arrItems) {
    pItem->m_pTabManager = nullptr;
    pItem->InternalRelease();
  }
  m_arrItems.clear();
  for (CXTPTabManagerNavigateButton *pButton : m_arrNavigateButtons) delete pButton;
  delete m_pRowIndexer;
}

CString CXTPTabManager::GetItemCaption(const CXTPTabManagerItem *pItem) const {
  return pItem->m_strCaption;
}

int CXTPTabManager::GetItemIcon(const CXTPTabManagerItem *pItem) const {
  return pItem->m_nImage;
}

COLORREF CXTPTabManager::GetItemColor(const CXTPTabManagerItem *pItem) const {
  return CXTPTabPaintManager::ResolveItemColor(pItem->m_clrItem);
}

CString CXTPTabManager::GetItemTooltip(const CXTPTabManagerItem *pItem) const {
  return pItem->m_strToolTip;
}

void CXTPTabManager::OnItemsChanged() {
  for (size_t i = 0; i < m_arrItems.size(); i++) m_arrItems[i]->m_nIndex = static_cast<int>(i);
  Reposition();
}

void CXTPTabManager::SetSelectedItem(CXTPTabManagerItem *pItem) {
  if (pItem == m_pSelected) return;
  m_pSelected = pItem;
  Reposition();
  if (pItem)
    if (CXTPTabPaintManager *pPaintManager = GetPaintManager()) pPaintManager->EnsureVisible(this, pItem);
}

void CXTPTabManager::OnItemClick(CXTPTabManagerItem *pItem) {
  SetSelectedItem(pItem);
}

void CXTPTabManager::GetItemMetrics(CSize *pSizeNormal, CSize *pSizeMin, CSize *pSizeMax) const {
  if (pSizeNormal) *pSizeNormal = m_szItem;
  if (pSizeMin) *pSizeMin = m_szItemMin;
  if (pSizeMax) *pSizeMax = m_szItemMax;
}

void CXTPTabManager::SetItemMetrics(CSize szItem, CSize szMin, CSize szMax) {
  m_szItem = szItem;
  m_szItemMin = szMin;
  m_szItemMax = szMax;
  Reposition();
}

BOOL CXTPTabManager::IsDrawStaticFrame() const {
  CXTPTabPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager && pPaintManager->m_bStaticFrame;
}

XTPTabPosition CXTPTabManager::GetPosition() const {
  CXTPTabPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager ? pPaintManager->GetPosition() : xtpTabPositionTop;
}

BOOL CXTPTabManager::IsHorizontalPosition() const {
  XTPTabPosition nPosition = GetPosition();
  return nPosition == xtpTabPositionTop || nPosition == xtpTabPositionBottom;
}

void CXTPTabManager::OnScroll(BOOL bRight) {
  SetHeaderOffset(bRight ? m_nHeaderOffset - m_nScrollStep : m_nHeaderOffset + m_nScrollStep);
}

BOOL CXTPTabManager::IsNavigateButtonVisible(CXTPTabManagerNavigateButton *pButton) {
  if (pButton->GetKind() != xtpTabNavigateButtonClose) return TRUE;
  return m_pSelected && m_pSelected->IsClosable();
}

CXTPTabManagerItem *CXTPTabManager::AddItem(int nItem, CXTPTabManagerItem *pItem) {
  if (!pItem) pItem = new CXTPTabManagerItem;
  pItem->m_pTabManager = this;
  if (nItem < 0 || nItem > GetItemCount()) nItem = GetItemCount();
  m_arrItems.insert(m_arrItems.begin() + nItem, pItem);
  pItem->m_clrItem = xtpTabColorFirst + (m_nItemColor % 8);
  m_nItemColor++;
  OnItemsChanged();
  return pItem;
}

void CXTPTabManager::ClearItemRefs(CXTPTabManagerItem *pItem) {
  if (m_pHighlighted == pItem) m_pHighlighted = nullptr;
}

BOOL CXTPTabManager::DeleteItem(int nItem) {
  if (nItem < 0 || nItem >= GetItemCount()) return FALSE;
  CXTPTabManagerItem *pItem = m_arrItems[nItem];
  BOOL bSelected = pItem == m_pSelected;
  ClearItemRefs(pItem);
  m_arrItems.erase(m_arrItems.begin() + nItem);
  if (bSelected) m_pSelected = nullptr;
  pItem->m_pTabManager = nullptr;
  pItem->InternalRelease();
  if (bSelected) SetCurSel(nItem);
  OnItemsChanged();
  return TRUE;
}

void CXTPTabManager::DeleteAllItems() {
  for (CXTPTabManagerItem *pItem : m_arrItems) {
    pItem->m_pTabManager = nullptr;
    pItem->InternalRelease();
  }
  m_arrItems.clear();
  m_pSelected = nullptr;
  m_pHighlighted = nullptr;
  OnItemsChanged();
}

void CXTPTabManager::SetCurSel(int nIndex) {
  if (m_arrItems.empty()) {
    SetSelectedItem(nullptr);
    return;
  }
  nIndex = std::max(0, std::min(nIndex, GetItemCount() - 1));
  SetSelectedItem(m_arrItems[nIndex]);
}

CXTPTabManagerItem *CXTPTabManager::GetItem(int nIndex) const {
  return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[nIndex] : nullptr;
}

CXTPTabManagerNavigateButton *CXTPTabManager::FindNavigateButton(XTPTabNavigateButton nKind) const {
  for (CXTPTabManagerNavigateButton *pButton : m_arrNavigateButtons)
    if (pButton->GetKind() == nKind) return pButton;
  return nullptr;
}

int CXTPTabManager::GetTotalButtonLength() const {
  int nLength = 0;
  for (CXTPTabManagerItem *pItem : m_arrItems) nLength += pItem->GetButtonLength();
  return nLength;
}

void CXTPTabManager::SetHeaderOffset(int nOffset) {
  if (nOffset > 0) nOffset = 0;
  if (nOffset == m_nHeaderOffset) return;
  m_nHeaderOffset = nOffset;
  Reposition();
}

CXTPTabManagerItem *CXTPTabManager::HitTest(CPoint pt) const {
  if (!m_rcControl.PtInRect(pt)) return nullptr;
  if (!m_rcHeaderRect.IsRectEmpty() && !m_rcHeaderRect.PtInRect(pt)) return nullptr;
  for (CXTPTabManagerItem *pItem : m_arrItems)
    if (pItem->GetRect().PtInRect(pt) && pItem->IsVisible() && pItem->IsEnabled()) return pItem;
  return nullptr;
}

BOOL CXTPTabManager::PerformClick(HWND hWnd, CPoint pt, BOOL bNoItemClick) {
  for (CXTPTabManagerNavigateButton *pButton : m_arrNavigateButtons) {
    if (pButton->GetRect().PtInRect(pt)) {
      pButton->PerformClick(hWnd, pt);
      return TRUE;
    }
  }
  if (bNoItemClick) return FALSE;
  CXTPTabManagerItem *pItem = HitTest(pt);
  if (!pItem) return FALSE;
  if (IsAllowReorder())
    TrackTabDrag(hWnd, pt, pItem);
  else
    OnItemClick(pItem);
  return TRUE;
}

void CXTPTabManager::PerformMouseMove(HWND hWnd, CPoint pt) {
  if (hWnd && ::IsWindow(hWnd)) {
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    if (hTop && ::GetActiveWindow() != hTop) return;
  }
  if (IsMouseLocked()) return;
  CXTPTabPaintManager *pPaintManager = GetPaintManager();
  if (pPaintManager && pPaintManager->m_bHotTracking) {
    CXTPTabManagerItem *pItem = HitTest(pt);
    if (pItem != m_pHighlighted) {
      m_pHighlighted = pItem;
      RedrawControl();
      if (pItem && hWnd && ::IsWindow(hWnd)) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
        ::_TrackMouseEvent(&tme);
      }
    }
  }
  for (CXTPTabManagerNavigateButton *pButton : m_arrNavigateButtons) pButton->PerformMouseMove(hWnd, pt);
}

void CXTPTabManager::TrackTabDrag(HWND hWnd, CPoint pt, CXTPTabManagerItem *pItem) {
  CXTPTabManagerItem *pSelected = m_pSelected;
  m_pSelected = pItem;
  CXTPTabPaintManager *pPaintManager = GetPaintManager();
  if (pPaintManager && pPaintManager->m_bHotTracking) m_pHighlighted = pItem;
  Reposition();

  std::vector<CRect> arrRects;
  for (CXTPTabManagerItem *p : m_arrItems) arrRects.push_back(p->GetRect());
  CXTPCaptureLoop loop(hWnd, CXTPCaptureLoop::kEscapeCancels);
  loop.Run([&](const MSG &msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
      pt = CPoint(static_cast<DWORD>(msg.lParam));
      for (size_t i = 0; i < arrRects.size() && i < m_arrItems.size(); i++) {
        if (static_cast<int>(i) != pItem->GetIndex() && arrRects[i].PtInRect(pt)) {
          std::swap(m_arrItems[i], m_arrItems[pItem->GetIndex()]);
          OnItemsChanged();
          break;
        }
      }
      return CXTPCaptureLoop::kHandled;
    case WM_CANCELMODE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
      return CXTPCaptureLoop::kEnd;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      // Keys are swallowed while a tab is dragged.
      return CXTPCaptureLoop::kHandled;
    default:
      return CXTPCaptureLoop::kDispatch;
    }
  });
  loop.Release();
  PerformMouseMove(hWnd, pt);
  m_pSelected = pSelected;
  OnItemClick(pItem);
}

void CXTPTabManager::PerformKeyDown(HWND, UINT nChar) {
  if (m_arrItems.empty()) return;
  int nCurrent = m_pSelected ? m_pSelected->GetIndex() : -1;
  int nTarget = -1;
  BOOL bHorizontal = IsHorizontalPosition();
  if (nChar == VK_END) {
    nTarget = GetItemCount() - 1;
  } else if (nChar == VK_HOME) {
    nTarget = 0;
  } else if (nCurrent >= 0) {
    UINT nPrevious = bHorizontal ? VK_LEFT : VK_UP, nNext = bHorizontal ? VK_RIGHT : VK_DOWN;
    if (nChar == nPrevious && nCurrent > 0) nTarget = nCurrent - 1;
    if (nChar == nNext && nCurrent < GetItemCount() - 1) nTarget = nCurrent + 1;
  }
  if (nTarget >= 0) OnItemClick(m_arrItems[nTarget]);
}

namespace {

// Fills the record through the toolkit's tooltips, with the caption as the
// tip's title, unless a window hands the strip a filler of its own.
class ContextToolTipFiller : public IXTPTabToolTipFiller {
public:
  INT_PTR FillInToolInfo(TOOLINFO *pToolInfo, HWND hWnd, const CRect &rc, INT_PTR nId, const CString &strTip,
                         const CString &strCaption) override {
    CXTPToolTipContext::FillToolDetails(pToolInfo, hWnd, rc, static_cast<UINT_PTR>(nId), strTip, strCaption);
    return nId;
  }
};

} // namespace

INT_PTR CXTPTabManager::GetItemToolTip(HWND hWnd, CPoint pt, TOOLINFO *pToolInfo) {
  CXTPTabPaintManager *pPaintManager = GetPaintManager();
  int nMode = pPaintManager ? pPaintManager->GetToolTipMode() : xtpTabToolTipShrinkedOnly;
  if (nMode == xtpTabToolTipNever) return -1;
  CXTPTabManagerItem *pItem = HitTest(pt);
  if (!pItem) return -1;
  if (nMode == xtpTabToolTipShrinkedOnly && pItem->GetButtonLength() >= pItem->GetContentLength()) return -1;
  CString strTip = GetItemTooltip(pItem);
  if (strTip.IsEmpty()) return -1;
  static ContextToolTipFiller context;
  IXTPTabToolTipFiller *pFiller = m_pToolTipFiller ? m_pToolTipFiller : &context;
  return pFiller->FillInToolInfo(pToolInfo, hWnd, pItem->GetRect(), pItem->GetIndex(), strTip,
                                 GetItemCaption(pItem));
}
