#include "XTPDockingPaneContext.h"

#include <cstdlib>

#include "XTPCaptureLoop.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneStickerWnd.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"

namespace {

const int kOutline = 4;
const int kSideLimit = 20;
// How opaque the highlight windows are, of 255.
const BYTE kHighlightAlpha = 100;
const int kStickerInset = 16;

// The tab hung below a rectangle when the drop would join a tab group.
int TabHeight(const CRect &rc) {
  return std::min(rc.Height() / 2, 20);
}
int TabWidth(const CRect &rc) {
  return std::min(rc.Width() - 5, 50);
}

// The slot of a sticker's shape in the context's cache: top, left, bottom, right, cross.
int ShapeSlot(DWORD dwMask) {
  if (CXTPDockingPaneStickerWnd::IsCrossMask(dwMask)) return 4;
  switch (dwMask) {
  case CXTPDockingPaneStickerWnd::partTop:
    return 0;
  case CXTPDockingPaneStickerWnd::partLeft:
    return 1;
  case CXTPDockingPaneStickerWnd::partBottom:
    return 2;
  default:
    return 3;
  }
}

XTPDockingPaneDirection PartDirection(int nPart) {
  switch (nPart) {
  case CXTPDockingPaneStickerWnd::partRight:
    return xtpPaneDockRight;
  case CXTPDockingPaneStickerWnd::partTop:
    return xtpPaneDockTop;
  case CXTPDockingPaneStickerWnd::partBottom:
    return xtpPaneDockBottom;
  default:
    return xtpPaneDockLeft;
  }
}

// The 4-pixel frame of rc, and with bAttach the frame of a tab hanging below it.
HRGN OutlineRegion(CRect rc, BOOL bAttach) {
  HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
  if (rc.IsRectEmpty()) return hRgn;
  auto frame = [](const CRect &r) {
    HRGN hOuter = ::CreateRectRgnIndirect(&r);
    CRect rcInner = r;
    rcInner.DeflateRect(kOutline, kOutline);
    HRGN hInner = ::CreateRectRgnIndirect(&rcInner);
    ::CombineRgn(hOuter, hOuter, hInner, RGN_DIFF);
    ::DeleteObject(hInner);
    return hOuter;
  };
  if (!bAttach) {
    HRGN hFrame = frame(rc);
    ::CombineRgn(hRgn, hFrame, nullptr, RGN_COPY);
    ::DeleteObject(hFrame);
    return hRgn;
  }
  const int nTabHeight = TabHeight(rc);
  const int nTabWidth = TabWidth(rc);
  CRect rcBody = rc;
  rcBody.bottom -= nTabHeight;
  CRect rcTab(rc.left + 5, rcBody.bottom - kOutline, rc.left + 5 + nTabWidth, rc.bottom);
  HRGN hBody = frame(rcBody);
  HRGN hTab = frame(rcTab);
  ::CombineRgn(hRgn, hBody, hTab, RGN_OR);
  // The stretch where the two outlines meet stays open, so the tab reads as part of the body.
  CRect rcJoin(rcTab.left + kOutline, rcTab.top, rcTab.right - kOutline, rcBody.bottom);
  HRGN hJoin = ::CreateRectRgnIndirect(&rcJoin);
  ::CombineRgn(hRgn, hRgn, hJoin, RGN_DIFF);
  ::DeleteObject(hJoin);
  ::DeleteObject(hBody);
  ::DeleteObject(hTab);
  return hRgn;
}

HBRUSH CreateHalftoneBrush() {
  WORD pattern[8];
  for (int i = 0; i < 8; i++) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
  HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
  ::DeleteObject(hBitmap);
  return hBrush;
}

void CollectPanes(CXTPDockingPaneBase *pObject, CXTPDockingPaneBaseList *pList) {
  if (pObject->GetType() == xtpPaneTypeDockingPane)
    pList->push_back(pObject);
  else
    pObject->FindPane(xtpPaneTypeDockingPane, pList);
}

} // namespace

CXTPDesktopDrawLock::CXTPDesktopDrawLock() {
  HWND hDesktop = ::GetDesktopWindow();
  m_bLocked = ::LockWindowUpdate(hDesktop);
  m_hDC = ::GetDCEx(hDesktop, nullptr,
                    m_bLocked ? DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE : DCX_WINDOW | DCX_CACHE);
}

CXTPDesktopDrawLock::~CXTPDesktopDrawLock() {
  if (m_bLocked) ::LockWindowUpdate(nullptr);
  if (m_hDC != nullptr) ::ReleaseDC(::GetDesktopWindow(), m_hDC);
}

CXTPCaptureLoop::MessageSource CXTPDockingPaneContext::s_pfnMessageSource = nullptr;

LRESULT CXTPDockingPaneContextHighlightWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  default:
    return CWnd::WindowProc(message, wParam, lParam);
  }
}

CXTPDockingPaneContext::CXTPDockingPaneContext(CXTPDockingPaneManager *pManager) : m_pManager(pManager) {
  // Layered windows are not there on every system: without them a drag
  // keeps to the outline.
  if (HMODULE hUser = ::GetModuleHandleW(L"USER32"))
    m_pfnSetLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFunc>(
        reinterpret_cast<void *>(::GetProcAddress(hUser, "SetLayeredWindowAttributes")));
}

CXTPDockingPaneContext::~CXTPDockingPaneContext() {
  delete m_pLock;
  DestroyStickers();
  DeleteStickerRegions();
  if (m_wndContext.m_hWnd != nullptr) m_wndContext.DestroyWindow();
  if (m_wndAttachedTab.m_hWnd != nullptr) m_wndAttachedTab.DestroyWindow();
}

void CXTPDockingPaneContext::Drag(CXTPDockingPaneBase *pPane, CPoint pt) {
  if (pPane == nullptr || m_bTracking) return;
  CRect rc;
  pPane->GetWindowRect(&rc);
  // The least move that puts the point inside the rectangle.
  if (pt.x < rc.left) rc.OffsetRect(pt.x - rc.left, 0);
  if (pt.x > rc.right) rc.OffsetRect(pt.x - rc.right, 0);
  if (pt.y < rc.top) rc.OffsetRect(0, pt.y - rc.top);
  if (pt.y > rc.bottom) rc.OffsetRect(0, pt.y - rc.bottom);
  m_rcDragRect = rc;
  m_ptLast = m_ptStart = pt;
  m_bPastThreshold = FALSE;
  m_pPane = pPane;
  m_pTarget = nullptr;
  m_bAttach = m_bAttachLast = FALSE;
  m_bFloatable = TRUE;
  m_bUseAlphaContext = m_pManager->IsAlphaDockingContext() && m_pfnSetLayeredWindowAttributes != nullptr;
  m_bUseStickers = m_bUseAlphaContext && m_pManager->IsShowDockingContextStickers();
  CXTPDockingPaneBaseList lst;
  CollectPanes(pPane, &lst);
  for (CXTPDockingPaneBase *p : lst) {
    auto *pDockingPane = static_cast<CXTPDockingPane *>(p);
    if ((pDockingPane->GetOptions() & xtpPaneNoFloatable) != 0 ||
        m_pManager->NotifyOwner(xtpPaneActionFloating, pDockingPane) != 0)
      m_bFloatable = FALSE;
  }
  Track();
}

void CXTPDockingPaneContext::Track() {
  if (::GetCapture() != nullptr) return;
  CWnd *pSite = m_pPane->GetDockingSite();
  ASSERT(pSite != nullptr);
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return;
  m_bTracking = TRUE;
  InitLoop();
  BOOL bDrop = FALSE;
  {
    CXTPCaptureLoop loop(pSite->GetSafeHwnd(), CXTPCaptureLoop::kEscapeCancels);
    loop.SetMessageSource(s_pfnMessageSource);
    loop.Run([&](const MSG &msg) {
      switch (msg.message) {
      case WM_LBUTTONUP:
        bDrop = TRUE;
        return CXTPCaptureLoop::kEnd;
      case WM_MOUSEMOVE:
        if (m_bPastThreshold || std::abs(msg.pt.x - m_ptStart.x) > kThreshold ||
            std::abs(msg.pt.y - m_ptStart.y) > kThreshold) {
          Move(msg.pt);
          m_bPastThreshold = TRUE;
        }
        return CXTPCaptureLoop::kHandled;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
          Move(msg.pt);
          m_bPastThreshold = TRUE;
        }
        return CXTPCaptureLoop::kHandled;
      default:
        return CXTPCaptureLoop::kDispatch;
      }
    });
  }
  EndLoop();
  m_bTracking = FALSE;
  if (bDrop && m_bPastThreshold) Drop();
}

void CXTPDockingPaneContext::Drop() {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  XTPDockingPaneAction action;
  if (m_bAttach) {
    ASSERT(m_pTarget != nullptr && m_pTarget->GetType() == xtpPaneTypeTabbedContainer);
    m_pManager->AttachPane(m_pPane, m_pTarget);
    action = xtpPaneActionAttached;
  } else if (m_pTarget != nullptr) {
    m_pManager->DockPane(m_pPane, m_pManager->MirrorDirection(m_direction), m_pTarget);
    action = xtpPaneActionDocked;
  } else if (m_bFloatable) {
    CRect rc = m_rcDragRect;
    if (rc.top < 0) rc.OffsetRect(0, -rc.top);
    CWnd *pSite = m_pPane->GetDockingSite();
    if (m_pPane->GetType() == xtpPaneTypeSplitterContainer && pSite != nullptr &&
        pSite->GetSafeHwnd() != nullptr && CXTPDockingPaneMiniWnd::IsMiniWnd(pSite)) {
      pSite->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      m_pManager->FloatPane(m_pPane, rc);
    }
    action = xtpPaneActionFloated;
  } else {
    return;
  }
  for (CXTPDockingPaneBase *p : lst) m_pManager->NotifyOwner(action, static_cast<CXTPDockingPane *>(p));
}

void CXTPDockingPaneContext::Move(CPoint pt) {
  CRect rc = m_rcDragRect;
  rc.OffsetRect(pt - m_ptLast);
  CRect rcWork = XTPMultiMonitor::GetWorkArea(rc);
  CRect rcTest;
  if (rcTest.IntersectRect(&rc, &rcWork)) m_rcDragRect = rc;
  m_pTarget = nullptr;
  m_bAttach = FALSE;
  m_rcStickerPane.SetRectEmpty();
  m_pStickerPane = nullptr;
  if (::GetKeyState(VK_CONTROL) >= 0) FindTarget(pt);
  m_ptLast = pt;
  if (m_bUseStickers) {
    UpdateStickers();
    HitTestStickers(pt);
  }
  DrawFocusRect();
}

void CXTPDockingPaneContext::FindTarget(CPoint pt) {
  for (CXTPDockingPaneInfo &info : *m_pManager->GetPaneList()) {
    CXTPDockingPaneBase *pContainer = info.pPane->GetContainer();
    if (pContainer == nullptr || pContainer->GetType() != xtpPaneTypeTabbedContainer) continue;
    CXTPDockingPaneBase *pParent = pContainer->GetContainer();
    if (pParent == nullptr || pParent->GetType() != xtpPaneTypeSplitterContainer) continue;
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pContainer);
    if (pTabbed->GetSafeHwnd() == nullptr || (pTabbed->GetStyle() & WS_VISIBLE) == 0) continue;
    if (m_pPane->ContainsPane(pContainer)) continue;
    CRect rc;
    pTabbed->CWnd::GetWindowRect(&rc);
    if (pTabbed->IsTabDropArea(rc, pt) && CanAttach(pContainer)) {
      m_pTarget = pContainer;
      m_rcTarget = rc;
      m_bAttach = TRUE;
      return;
    }
    if (m_bUseStickers) {
      if (rc.PtInRect(pt)) {
        m_rcStickerPane = rc;
        m_pStickerPane = pContainer;
        return;
      }
      continue;
    }
    if (HitTestSides(rc, pt, pContainer, TRUE)) return;
  }
  CRect rc;
  if (m_bUseStickers) {
    // With stickers the drop is on an arrow: here only the cross is placed.
    if (CXTPDockingPaneBase *pClient = m_pManager->GetClientPane()) {
      pClient->GetWindowRect(&rc);
      if (rc.PtInRect(pt)) {
        m_rcStickerPane = rc;
        m_pStickerPane = pClient;
        return;
      }
    }
    if (CXTPDockingPaneBase *pTop = m_pManager->GetTopPane()) {
      pTop->GetWindowRect(&rc);
      if (rc.PtInRect(pt)) m_rcStickerPane = rc;
    }
    return;
  }
  if (CXTPDockingPaneBase *pClient = m_pManager->GetClientPane()) {
    pClient->GetWindowRect(&rc);
    if (HitTestSides(rc, pt, pClient, TRUE)) return;
  }
  if (CXTPDockingPaneBase *pTop = m_pManager->GetTopPane()) {
    pTop->GetWindowRect(&rc);
    HitTestSides(rc, pt, pTop, FALSE);
  }
}

BOOL CXTPDockingPaneContext::HitTestSides(CRect rc, CPoint pt, CXTPDockingPaneBase *pTarget, BOOL bInside) {
  double dLimit = kSideLimit;
  double dRatio = 1;
  if (bInside && !m_bFloatable) {
    dLimit = 32000;
    if (rc.Height() > 1 && rc.Width() > 1) dRatio = static_cast<double>(rc.Height()) / rc.Width();
  }
  if (rc.Width() == 0 || rc.Height() == 0) return FALSE;
  if (bInside) {
    if (!rc.PtInRect(pt)) return FALSE;
  } else {
    CRect rcOuter = rc;
    rcOuter.InflateRect(kSideLimit, kSideLimit);
    if (!rcOuter.PtInRect(pt)) return FALSE;
  }
  const int nSign = bInside ? 1 : -1;
  double dBest = dLimit;
  BOOL bFound = FALSE;
  XTPDockingPaneDirection direction = xtpPaneDockLeft;
  const struct {
    double dSigned;
    XTPDockingPaneDirection direction;
  } sides[] = {
      {static_cast<double>(pt.y - rc.top), xtpPaneDockTop},
      {static_cast<double>(rc.bottom - pt.y), xtpPaneDockBottom},
      {(pt.x - rc.left) * dRatio, xtpPaneDockLeft},
      {(rc.right - pt.x) * dRatio, xtpPaneDockRight},
  };
  for (const auto &side : sides) {
    const double dDistance = side.dSigned < 0 ? -side.dSigned : side.dSigned;
    if (dDistance < dBest && nSign * side.dSigned >= 0) {
      dBest = dDistance;
      direction = side.direction;
      bFound = TRUE;
    }
  }
  if (!bFound) return FALSE;
  if (!CanDock(pTarget, direction)) return FALSE;
  m_direction = direction;
  m_pManager->GetDockingRect(m_rcTarget, m_pPane, direction, pTarget);
  m_pTarget = pTarget;
  return TRUE;
}

BOOL CXTPDockingPaneContext::CanDock(CXTPDockingPaneBase *pContainer, XTPDockingPaneDirection direction) {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  for (CXTPDockingPaneBase *p : lst)
    if (m_pManager->NotifyOwner(xtpPaneActionDocking, static_cast<CXTPDockingPane *>(p), pContainer,
                                direction) != 0)
      return FALSE;
  return TRUE;
}

BOOL CXTPDockingPaneContext::CanAttach(CXTPDockingPaneBase *pContainer) {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  for (CXTPDockingPaneBase *p : lst)
    if (m_pManager->NotifyOwner(xtpPaneActionAttaching, static_cast<CXTPDockingPane *>(p), pContainer,
                                xtpPaneDockLeft) != 0)
      return FALSE;
  return TRUE;
}

void CXTPDockingPaneContext::InitLoop() {
  m_rcLast.SetRectEmpty();
  m_bAttachLast = FALSE;
  m_rcStickerPane.SetRectEmpty();
  m_pStickerPane = nullptr;
  // Translucent drags draw in windows of their own: the desktop stays free.
  if (m_bUseAlphaContext) return;
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
  ASSERT(m_pLock == nullptr);
  delete m_pLock;
  m_pLock = new CXTPDesktopDrawLock;
}

void CXTPDockingPaneContext::EndLoop() {
  if (m_bUseAlphaContext) {
    if (m_wndContext.m_hWnd != nullptr) m_wndContext.DestroyWindow();
    if (m_wndAttachedTab.m_hWnd != nullptr) m_wndAttachedTab.DestroyWindow();
    DestroyStickers();
    DeleteStickerRegions();
    return;
  }
  if (m_pLock == nullptr) return;
  DrawFocusRect(TRUE);
  delete m_pLock;
  m_pLock = nullptr;
}

CRect CXTPDockingPaneContext::CurrentRect() const {
  if (m_pTarget != nullptr) return m_rcTarget;
  if (!m_bFloatable) return CRect(0, 0, 0, 0);
  return m_rcDragRect;
}

void CXTPDockingPaneContext::DrawFocusRect(BOOL bRemoveRect) {
  if (m_bUseAlphaContext)
    DrawTranslucent();
  else
    DrawOutline(bRemoveRect);
}

void CXTPDockingPaneContext::DrawOutline(BOOL bRemoveRect) {
  if (m_pLock == nullptr || m_pLock->GetDC() == nullptr) return;
  const CRect rc = bRemoveRect ? CRect(0, 0, 0, 0) : CurrentRect();
  const BOOL bAttach = bRemoveRect ? FALSE : m_bAttach;
  HRGN hNew = OutlineRegion(rc, bAttach);
  HRGN hOld = OutlineRegion(m_rcLast, m_bAttachLast);
  ::CombineRgn(hNew, hNew, hOld, RGN_XOR);
  HDC hDC = m_pLock->GetDC();
  ::SelectClipRgn(hDC, hNew);
  CRect rcClip;
  ::GetClipBox(hDC, &rcClip);
  HBRUSH hBrush = CreateHalftoneBrush();
  HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
  ::PatBlt(hDC, rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), PATINVERT);
  ::SelectObject(hDC, hOldBrush);
  ::SelectClipRgn(hDC, nullptr);
  ::DeleteObject(hBrush);
  ::DeleteObject(hNew);
  ::DeleteObject(hOld);
  m_rcLast = rc;
  m_bAttachLast = bAttach;
}

// ---------------------------------------------------------------------------
// Translucent drags and stickers

void CXTPDockingPaneContext::DrawTranslucent() {
  CRect rc = CurrentRect();
  if (m_bAttach && !rc.IsRectEmpty()) {
    const int nTabHeight = TabHeight(rc);
    rc.bottom -= nTabHeight;
    PlaceHighlight(m_wndAttachedTab,
                   CRect(rc.left + 5, rc.bottom, rc.left + 5 + TabWidth(rc), rc.bottom + nTabHeight));
  } else if (m_wndAttachedTab.m_hWnd != nullptr) {
    m_wndAttachedTab.DestroyWindow();
  }
  if (rc.IsRectEmpty()) {
    if (m_wndContext.m_hWnd != nullptr) m_wndContext.DestroyWindow();
  } else {
    PlaceHighlight(m_wndContext, rc);
  }
  m_rcLast = rc;
  m_bAttachLast = m_bAttach;
}

void CXTPDockingPaneContext::PlaceHighlight(CXTPDockingPaneContextHighlightWnd &wnd, const CRect &rc) {
  if (wnd.m_hWnd != nullptr) {
    CRect rcOld;
    wnd.GetWindowRect(&rcOld);
    if (rcOld.Size() != rc.Size()) wnd.DestroyWindow();
  }
  if (wnd.m_hWnd == nullptr) {
    if (!wnd.CreateEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                      AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr), L"", WS_POPUP, rc,
                      m_pManager->GetSite(), 0))
      return;
    m_pfnSetLayeredWindowAttributes(wnd.m_hWnd, 0, kHighlightAlpha, LWA_ALPHA);
  }
  wnd.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CXTPDockingPaneContext::UpdateStickers() {
  if (m_rcStickerPane.IsRectEmpty()) {
    DestroyStickers();
    return;
  }
  const CPoint ptCentre = m_rcStickerPane.CenterPoint();
  const int nHalf = CXTPDockingPaneStickerWnd::kCrossSize / 2;
  const CRect rcCross(CPoint(ptCentre.x - nHalf, ptCentre.y - nHalf),
                      CSize(CXTPDockingPaneStickerWnd::kCrossSize, CXTPDockingPaneStickerWnd::kCrossSize));
  if (!m_lstStickers.empty()) {
    CRect rcFirst;
    m_lstStickers.front()->GetWindowRect(&rcFirst);
    if (rcFirst == rcCross || (m_pStickerPane == nullptr && m_lstStickers.size() == 4)) return;
  }
  DestroyStickers();
  if (m_pStickerPane != nullptr) {
    // The client area takes panes beside it but no tabs: no centre.
    AddSticker(m_pStickerPane->GetType() == xtpPaneTypeClient ? 15 : 31, rcCross);
  }
  CXTPDockingPaneBase *pTop = m_pManager->GetTopPane();
  if (pTop == nullptr) return;
  CRect rcFrame;
  pTop->GetWindowRect(&rcFrame);
  const CPoint pt = rcFrame.CenterPoint();
  const int nFar = kStickerInset + 30;
  AddSticker(CXTPDockingPaneStickerWnd::partTop,
             CRect(CPoint(pt.x - 21, rcFrame.top + kStickerInset), CSize(43, 30)));
  AddSticker(CXTPDockingPaneStickerWnd::partLeft,
             CRect(CPoint(rcFrame.left + kStickerInset, pt.y - 21), CSize(30, 43)));
  AddSticker(CXTPDockingPaneStickerWnd::partBottom,
             CRect(CPoint(pt.x - 21, rcFrame.bottom - nFar), CSize(43, 30)));
  AddSticker(CXTPDockingPaneStickerWnd::partRight,
             CRect(CPoint(rcFrame.right - nFar, pt.y - 21), CSize(30, 43)));
}

void CXTPDockingPaneContext::AddSticker(DWORD dwMask, const CRect &rc) {
  ASSERT(m_lstStickers.size() < 5);
  if (m_lstStickers.size() >= 5) return;
  HRGN &hShape = m_rgnStickers[ShapeSlot(dwMask)];
  if (hShape == nullptr) hShape = CXTPDockingPaneStickerWnd::CreateShapeRegion(dwMask, rc.Size());
  auto *pSticker = new CXTPDockingPaneStickerWnd(dwMask);
  if (!pSticker->Create(m_pManager->GetSite(), rc, hShape)) {
    delete pSticker;
    return;
  }
  m_lstStickers.push_back(pSticker);
}

void CXTPDockingPaneContext::DestroyStickers() {
  for (CXTPDockingPaneStickerWnd *pSticker : m_lstStickers) delete pSticker;
  m_lstStickers.clear();
}

void CXTPDockingPaneContext::DeleteStickerRegions() {
  for (HRGN &hRgn : m_rgnStickers) {
    if (hRgn != nullptr) ::DeleteObject(hRgn);
    hRgn = nullptr;
  }
}

BOOL CXTPDockingPaneContext::HitTestStickers(CPoint pt) {
  CXTPDockingPaneStickerWnd *pHit = nullptr;
  int nPart = CXTPDockingPaneStickerWnd::partNone;
  for (CXTPDockingPaneStickerWnd *pSticker : m_lstStickers) {
    nPart = pSticker->HitTest(pt);
    if (nPart == CXTPDockingPaneStickerWnd::partNone) continue;
    pHit = pSticker;
    CXTPDockingPaneBase *pTarget = m_pStickerPane;
    CRect rcTarget = m_rcStickerPane;
    if (!pSticker->IsCross()) {
      pTarget = m_pManager->GetTopPane();
      pTarget->GetWindowRect(&rcTarget);
    }
    m_pTarget = pTarget;
    m_rcTarget = rcTarget;
    m_bAttach = FALSE;
    if (nPart == CXTPDockingPaneStickerWnd::partCentre) {
      m_bAttach = TRUE;
      if (!CanAttach(pTarget)) {
        m_pTarget = nullptr;
        m_bAttach = FALSE;
        nPart = CXTPDockingPaneStickerWnd::partNone;
      }
    } else {
      const XTPDockingPaneDirection direction = PartDirection(nPart);
      if (CanDock(pTarget, direction)) {
        m_direction = direction;
        m_pManager->GetDockingRect(m_rcTarget, m_pPane, direction, pTarget);
      } else {
        m_pTarget = nullptr;
        nPart = CXTPDockingPaneStickerWnd::partNone;
      }
    }
    break;
  }
  for (CXTPDockingPaneStickerWnd *pSticker : m_lstStickers) {
    const int nHot = pSticker == pHit ? nPart : CXTPDockingPaneStickerWnd::partNone;
    if (pSticker->GetHotPart() != nHot) {
      pSticker->SetHotPart(nHot);
      pSticker->UpdateWindow();
    }
  }
  return pHit != nullptr;
}
