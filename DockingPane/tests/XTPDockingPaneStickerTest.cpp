// Translucent drags: the highlight windows that show where a pane would go,
// and the docking stickers a pane is dropped on. The cursor is moved with
// SetCursorPos and the mouse messages are posted before the drag's own loop
// starts; a probe message posted between them reads the drag's windows while
// the loop runs. No window is ever activated.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneStickerWnd.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPResource.h"

void PrintTo(const CRect &rc, std::ostream *os) {
  *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

const UINT WM_PROBE = WM_APP + 7;

class SiteFrame : public CFrameWnd {
public:
  std::function<void()> m_probe;
  INT_PTR m_nCancelAction = -1; // an action code to refuse

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PROBE) {
      if (m_probe) m_probe();
      return 0;
    }
    if (message == WM_DOCKINGPANE_NOTIFY) {
      if (wParam == XTP_DPN_ACTION) {
        auto *pAction = reinterpret_cast<XTP_DOCKINGPANE_ACTION *>(lParam);
        if (pAction->action == m_nCancelAction) pAction->bCancel = TRUE;
      }
      return TRUE;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

using dptest::Shape;

CRect WindowRect(HWND hWnd) {
  CRect rc;
  ::GetWindowRect(hWnd, &rc);
  return rc;
}

// What the probe saw of a drag in progress.
struct Seen {
  std::vector<DWORD> masks;
  std::vector<CRect> stickerRects;
  std::vector<int> hotParts;
  BOOL bHighlight = FALSE;
  CRect rcHighlight;
  DWORD dwHighlightExStyle = 0;
  BOOL bTab = FALSE;
  CRect rcTab;
  BYTE nAlpha = 0;
  HWND hActive = nullptr;
};

// Where the middle of a sticker's part lies on the screen.
CPoint PartPoint(const CRect &rcSticker, int nPart, BOOL bCross) {
  if (!bCross) return rcSticker.CenterPoint();
  switch (nPart) {
  case CXTPDockingPaneStickerWnd::partTop:
    return rcSticker.TopLeft() + CPoint(46, 15);
  case CXTPDockingPaneStickerWnd::partLeft:
    return rcSticker.TopLeft() + CPoint(15, 46);
  case CXTPDockingPaneStickerWnd::partBottom:
    return rcSticker.TopLeft() + CPoint(46, 78);
  case CXTPDockingPaneStickerWnd::partRight:
    return rcSticker.TopLeft() + CPoint(78, 46);
  default:
    return rcSticker.TopLeft() + CPoint(46, 46);
  }
}

class DockingStickers : public dptest::DockingSiteTest<SiteFrame> {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateSite(L"sticker test", m_dwFrameExStyle));
    m_pManager->SetAlphaDockingContext(TRUE);
    m_pManager->SetShowDockingContextStickers(TRUE);
    ShowLeftAndBottomPanes(160);
  }
  // Drags pObject from ptFrom over ptOver (where the stickers come up) to
  // the point pickDrop chooses from the stickers then shown, reads the
  // drag's windows there and lets go.
  Seen DragOnto(CXTPDockingPaneBase *pObject, CPoint ptFrom, CPoint ptOver,
                std::function<CPoint(const CXTPDockingPaneContext &)> pickDrop) {
    Pump();
    Seen seen;
    CXTPDockingPaneContext *pContext = m_pManager->GetDragContext();
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PostMove(CPoint(ptFrom.x + 10, ptFrom.y + 10));
    PostMove(ptOver);
    // The drop point depends on where the stickers came up: the first probe
    // moves there, the second reads what the move did.
    ::PostMessage(m_hFrame, WM_PROBE, 0, 0);
    int nProbe = 0;
    m_pFrame->m_probe = [&]() {
      if (nProbe++ == 0) {
        PostMove(pickDrop(*pContext));
        ::PostMessage(m_hFrame, WM_PROBE, 0, 0);
        return;
      }
      for (CXTPDockingPaneStickerWnd *pSticker : pContext->GetStickers()) {
        seen.masks.push_back(pSticker->GetMask());
        seen.stickerRects.push_back(WindowRect(pSticker->GetSafeHwnd()));
        seen.hotParts.push_back(pSticker->GetHotPart());
      }
      HWND hHighlight = pContext->GetHighlightWnd().GetSafeHwnd();
      seen.bHighlight = hHighlight != nullptr && ::IsWindowVisible(hHighlight);
      if (hHighlight != nullptr) {
        seen.rcHighlight = WindowRect(hHighlight);
        seen.dwHighlightExStyle = static_cast<DWORD>(::GetWindowLongPtr(hHighlight, GWL_EXSTYLE));
        DWORD dwFlags = 0;
        ::GetLayeredWindowAttributes(hHighlight, nullptr, &seen.nAlpha, &dwFlags);
      }
      HWND hTab = pContext->GetTabHighlightWnd().GetSafeHwnd();
      seen.bTab = hTab != nullptr && ::IsWindowVisible(hTab);
      if (hTab != nullptr) seen.rcTab = WindowRect(hTab);
      seen.hActive = ::GetForegroundWindow();
      ::PostMessage(m_hFrame, WM_LBUTTONUP, 0, 0);
    };
    pContext->Drag(pObject, ptFrom);
    m_pFrame->m_probe = nullptr;
    m_pFrame->RecalcLayout();
    Pump();
    return seen;
  }

  DWORD m_dwFrameExStyle = 0;
};

// The sticker in the list with this mask, or null.
const CXTPDockingPaneStickerWnd *FindSticker(const CXTPDockingPaneContext &context, DWORD dwMask) {
  for (CXTPDockingPaneStickerWnd *pSticker : context.GetStickers())
    if (pSticker->GetMask() == dwMask) return pSticker;
  return nullptr;
}

TEST_F(DockingStickers, EachArrowDocksThePaneWhereItPoints) {
  enum Over { overNone, overBottom, overClient };
  struct Case {
    const char *pszName;
    Over over;       // where the drag first comes to
    DWORD dwSticker; // the sticker dropped on
    int nPart;       // and its part
    // Where the cross stands at the drop: the sticker dropped on may lie
    // over another container, or over the dragged pane itself (no cross).
    Over crossAtDrop;
    const char *pszShape;
  } cases[] = {
      {"cross on a container, top", overBottom, 31, CXTPDockingPaneStickerWnd::partTop, overBottom,
       "V(H(C ) T1 T2 )"},
      {"cross on a container, left", overBottom, 31, CXTPDockingPaneStickerWnd::partLeft, overBottom,
       "V(H(C ) H(T1 T2 ) )"},
      {"cross on a container, bottom", overBottom, 31, CXTPDockingPaneStickerWnd::partBottom, overBottom,
       "V(H(C ) T2 T1 )"},
      {"cross on a container, right", overBottom, 31, CXTPDockingPaneStickerWnd::partRight, overBottom,
       "V(H(C ) H(T2 T1 ) )"},
      {"cross on a container, centre: joins its tabs", overBottom, 31, CXTPDockingPaneStickerWnd::partCentre,
       overBottom, "V(H(C ) T21 )"},
      {"cross on the client area, right", overClient, 15, CXTPDockingPaneStickerWnd::partRight, overClient,
       "V(H(C T1 ) T2 )"},
      {"cross on the client area, top", overClient, 15, CXTPDockingPaneStickerWnd::partTop, overClient,
       "V(H(V(T1 C ) ) T2 )"},
      {"side sticker, top: across the whole frame", overClient, 4, CXTPDockingPaneStickerWnd::partTop,
       overClient, "V(T1 H(C ) T2 )"},
      {"side sticker, left (over the dragged pane)", overClient, 1, CXTPDockingPaneStickerWnd::partLeft,
       overNone, "H(T1 V(H(C ) T2 ) )"},
      {"side sticker, bottom (over the bottom pane)", overClient, 8, CXTPDockingPaneStickerWnd::partBottom,
       overBottom, "V(H(C ) T2 T1 )"},
      {"side sticker, right", overClient, 2, CXTPDockingPaneStickerWnd::partRight, overClient,
       "H(V(H(C ) T2 ) T1 )"},
  };
  BOOL bFirst = TRUE;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    if (!bFirst) {
      TearDown();
      SetUp();
      if (HasFatalFailure()) return;
    }
    bFirst = FALSE;
    CXTPDockingPaneBase *pDragged = m_pLeft->GetContainer();
    CXTPDockingPaneBase *pOver =
        c.over == overBottom ? m_pBottom->GetContainer() : m_pManager->GetClientPane();
    const CRect rcOver = ScreenRect(pOver);
    const CRect rcBottom = ScreenRect(m_pBottom->GetContainer());
    const CRect rcFrame = ScreenRect(m_pManager->GetTopPane());
    const HWND hActiveBefore = ::GetForegroundWindow();
    // Where the drop should show: the manager's own preview of the docking.
    CRect rcExpected;
    CXTPDockingPaneBase *pTarget = c.dwSticker >= 15 ? pOver : m_pManager->GetTopPane();
    if (c.nPart == CXTPDockingPaneStickerWnd::partCentre) {
      rcExpected = rcOver;
      rcExpected.bottom -= std::min(rcExpected.Height() / 2, 20);
    } else {
      const XTPDockingPaneDirection direction =
          c.nPart == CXTPDockingPaneStickerWnd::partLeft    ? xtpPaneDockLeft
          : c.nPart == CXTPDockingPaneStickerWnd::partRight ? xtpPaneDockRight
          : c.nPart == CXTPDockingPaneStickerWnd::partTop   ? xtpPaneDockTop
                                                            : xtpPaneDockBottom;
      m_pManager->GetDockingRect(rcExpected, pDragged, direction, pTarget);
    }
    BOOL bFound = FALSE;
    const Seen seen = DragOnto(
        pDragged, CaptionPoint(pDragged), rcOver.CenterPoint(), [&](const CXTPDockingPaneContext &context) {
          const CXTPDockingPaneStickerWnd *pSticker = FindSticker(context, c.dwSticker);
          bFound = pSticker != nullptr;
          if (!bFound) return rcOver.CenterPoint();
          return PartPoint(WindowRect(pSticker->GetSafeHwnd()), c.nPart, pSticker->IsCross());
        });
    ASSERT_TRUE(bFound);
    // The cross over what the cursor is on, then the four sides of the frame.
    std::vector<DWORD> masks = {4, 1, 8, 2};
    if (c.crossAtDrop != overNone) masks.insert(masks.begin(), c.crossAtDrop == overBottom ? 31 : 15);
    ASSERT_EQ(masks, seen.masks);
    if (c.crossAtDrop != overNone) {
      const CRect rcCrossOver = c.crossAtDrop == overBottom ? rcBottom : rcOver;
      EXPECT_EQ(
          CRect(CPoint(rcCrossOver.CenterPoint().x - 46, rcCrossOver.CenterPoint().y - 46), CSize(93, 93)),
          seen.stickerRects[0]);
    }
    const CPoint ptFrame = rcFrame.CenterPoint();
    const size_t nSides = seen.stickerRects.size() - 4;
    EXPECT_EQ(CRect(CPoint(ptFrame.x - 21, rcFrame.top + 16), CSize(43, 30)), seen.stickerRects[nSides]);
    EXPECT_EQ(CRect(CPoint(rcFrame.left + 16, ptFrame.y - 21), CSize(30, 43)), seen.stickerRects[nSides + 1]);
    EXPECT_EQ(CRect(CPoint(ptFrame.x - 21, rcFrame.bottom - 46), CSize(43, 30)),
              seen.stickerRects[nSides + 2]);
    EXPECT_EQ(CRect(CPoint(rcFrame.right - 46, ptFrame.y - 21), CSize(30, 43)),
              seen.stickerRects[nSides + 3]);
    // Only the arrow under the cursor is lit.
    for (size_t i = 0; i < seen.masks.size(); i++)
      EXPECT_EQ(seen.masks[i] == c.dwSticker ? c.nPart : 0, seen.hotParts[i]) << "sticker " << i;
    EXPECT_TRUE(seen.bHighlight);
    EXPECT_EQ(rcExpected, seen.rcHighlight);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              seen.dwHighlightExStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_EQ(100, seen.nAlpha);
    EXPECT_EQ(c.nPart == CXTPDockingPaneStickerWnd::partCentre, seen.bTab);
    if (seen.bTab) {
      EXPECT_EQ(CRect(rcOver.left + 5, rcExpected.bottom, rcOver.left + 55, rcOver.bottom), seen.rcTab);
    }
    EXPECT_EQ(hActiveBefore, seen.hActive);

    EXPECT_EQ(c.pszShape, Shape(m_pManager->GetTopPane()));
    // Every window of the drag is gone with it, and nothing holds the desktop.
    EXPECT_TRUE(m_pManager->GetDragContext()->GetStickers().empty());
    EXPECT_EQ(nullptr, m_pManager->GetDragContext()->GetHighlightWnd().GetSafeHwnd());
    EXPECT_EQ(nullptr, m_pManager->GetDragContext()->GetTabHighlightWnd().GetSafeHwnd());
    EXPECT_FALSE(m_pManager->GetDragContext()->IsDesktopHeld());
    EXPECT_EQ(nullptr, ::GetCapture());
  }
}

TEST_F(DockingStickers, OffTheArrowsThePaneFloatsWhereTheHighlightShowedIt) {
  CXTPDockingPaneBase *pDragged = m_pLeft->GetContainer();
  const CRect rcClient = ScreenRect(m_pManager->GetClientPane());
  // Inside the client area, away from its cross and from the side stickers.
  const CPoint ptDrop(rcClient.left + 30, rcClient.top + 30);
  CRect rcDragged = ScreenRect(pDragged);
  const CPoint ptFrom = CaptionPoint(pDragged);
  const Seen seen = DragOnto(pDragged, ptFrom, rcClient.CenterPoint(),
                             [&](const CXTPDockingPaneContext &) { return ptDrop; });
  EXPECT_EQ(0, std::count_if(seen.hotParts.begin(), seen.hotParts.end(), [](int n) { return n != 0; }));
  EXPECT_TRUE(seen.bHighlight);
  rcDragged.OffsetRect(ptDrop - ptFrom);
  EXPECT_EQ(rcDragged, seen.rcHighlight);
  EXPECT_EQ("V(H(C ) T2 )", Shape(m_pManager->GetTopPane()));
  ASSERT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(m_pLeft->GetDockingSite()));
}

TEST_F(DockingStickers, AWholeFloatingFrameDroppedOnAnArrowDocksItsPanes) {
  CXTPDockingPaneMiniWnd *pMiniWnd = m_pManager->FloatPane(m_pLeft, CRect(700, 100, 860, 260));
  ASSERT_NE(nullptr, pMiniWnd);
  m_pFrame->RecalcLayout();
  Pump();
  ASSERT_EQ("V(H(C ) T2 )", Shape(m_pManager->GetTopPane()));
  CRect rcMini;
  pMiniWnd->CWnd::GetWindowRect(&rcMini);
  const CRect rcClient = ScreenRect(m_pManager->GetClientPane());
  const Seen seen = DragOnto(pMiniWnd->GetTopPane(), CPoint(rcMini.left + 30, rcMini.top + 8),
                             rcClient.CenterPoint(), [&](const CXTPDockingPaneContext &context) {
                               const CXTPDockingPaneStickerWnd *pCross = FindSticker(context, 15);
                               if (pCross == nullptr) return rcClient.CenterPoint();
                               return PartPoint(WindowRect(pCross->GetSafeHwnd()),
                                                CXTPDockingPaneStickerWnd::partLeft, TRUE);
                             });
  ASSERT_FALSE(seen.hotParts.empty());
  EXPECT_EQ(CXTPDockingPaneStickerWnd::partLeft, seen.hotParts[0]);
  EXPECT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ(m_hFrame, ::GetParent(m_pLeft->GetContainer()->GetPaneHwnd()));
  EXPECT_FALSE(pMiniWnd->IsWindowVisible());
}

TEST_F(DockingStickers, ARefusedArrowIsNotLitAndTheDropFloats) {
  m_pFrame->m_nCancelAction = xtpPaneActionDocking;
  CXTPDockingPaneBase *pDragged = m_pLeft->GetContainer();
  const CRect rcBottom = ScreenRect(m_pBottom->GetContainer());
  const Seen seen = DragOnto(
      pDragged, CaptionPoint(pDragged), rcBottom.CenterPoint(), [&](const CXTPDockingPaneContext &context) {
        const CXTPDockingPaneStickerWnd *pCross = FindSticker(context, 31);
        if (pCross == nullptr) return rcBottom.CenterPoint();
        return PartPoint(WindowRect(pCross->GetSafeHwnd()), CXTPDockingPaneStickerWnd::partTop, TRUE);
      });
  ASSERT_FALSE(seen.hotParts.empty());
  EXPECT_EQ(0, seen.hotParts[0]);
  EXPECT_EQ("V(H(C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(m_pLeft->GetDockingSite()));
}

TEST_F(DockingStickers, WithoutStickersTheHighlightFollowsTheSidesRule) {
  m_pManager->SetShowDockingContextStickers(FALSE);
  CXTPDockingPaneBase *pDragged = m_pLeft->GetContainer();
  const CRect rcClient = ScreenRect(m_pManager->GetClientPane());
  const CPoint ptDrop(rcClient.right - 5, rcClient.CenterPoint().y);
  CRect rcExpected;
  m_pManager->GetDockingRect(rcExpected, pDragged, xtpPaneDockRight, m_pManager->GetClientPane());
  const Seen seen = DragOnto(pDragged, CaptionPoint(pDragged), rcClient.CenterPoint(),
                             [&](const CXTPDockingPaneContext &) { return ptDrop; });
  EXPECT_TRUE(seen.masks.empty());
  EXPECT_TRUE(seen.bHighlight);
  EXPECT_EQ(rcExpected, seen.rcHighlight);
  EXPECT_TRUE(m_pManager->GetDragContext()->IsTranslucent());
  EXPECT_FALSE(m_pManager->GetDragContext()->IsStickerMode());
  EXPECT_EQ("V(H(C T1 ) T2 )", Shape(m_pManager->GetTopPane()));
}

TEST_F(DockingStickers, RightToLeftEachSideArrowDocksOnItsOwnSideOfTheScreen) {
  struct Case {
    const char *pszName;
    DWORD dwSticker;
    int nPart;
  } cases[] = {
      {"left", 1, CXTPDockingPaneStickerWnd::partLeft},
      {"right", 2, CXTPDockingPaneStickerWnd::partRight},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    TearDown();
    m_dwFrameExStyle = WS_EX_LAYOUTRTL;
    SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(m_pManager->IsLayoutRTL());
    // Pane 1 stands first in its splitter: on the right of the screen.
    const CRect rcFrame = ScreenRect(m_pManager->GetTopPane());
    ASSERT_EQ(rcFrame.right, ScreenRect(m_pLeft->GetContainer()).right);
    CXTPDockingPaneBase *pDragged = m_pBottom->GetContainer();
    const CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    const Seen seen = DragOnto(
        pDragged, CaptionPoint(pDragged), rcClient.CenterPoint(), [&](const CXTPDockingPaneContext &context) {
          const CXTPDockingPaneStickerWnd *pSticker = FindSticker(context, c.dwSticker);
          if (pSticker == nullptr) return rcClient.CenterPoint();
          return PartPoint(WindowRect(pSticker->GetSafeHwnd()), c.nPart, FALSE);
        });
    const CRect rcDocked = ScreenRect(m_pBottom->GetContainer());
    const CRect rcHalf = c.nPart == CXTPDockingPaneStickerWnd::partLeft
                             ? CRect(rcFrame.left, rcFrame.top, rcFrame.CenterPoint().x, rcFrame.bottom)
                             : CRect(rcFrame.CenterPoint().x, rcFrame.top, rcFrame.right, rcFrame.bottom);
    // The preview and the docked pane both on the side the arrow points to.
    EXPECT_TRUE(seen.bHighlight);
    EXPECT_EQ(rcHalf, rcHalf | seen.rcHighlight);
    EXPECT_EQ(rcHalf, rcHalf | rcDocked);
    EXPECT_EQ(rcFrame.Height(), rcDocked.Height());
  }
}

// A sticker's window is cut to its picture, and the part under a point is
// read from the picture, pixel by pixel.
TEST(DockingStickerWnd, TheShapeAndTheHitTestFollowThePicture) {
  struct Case {
    const char *pszName;
    DWORD dwMask;
    CSize size;
    CPoint pt;    // in the sticker
    int nPart;    // found there
    BOOL bInside; // in the window's region
  } cases[] = {
      {"cross: top arrow", 31, CSize(93, 93), CPoint(46, 15), CXTPDockingPaneStickerWnd::partTop, TRUE},
      {"cross: left arrow", 31, CSize(93, 93), CPoint(15, 46), CXTPDockingPaneStickerWnd::partLeft, TRUE},
      {"cross: bottom arrow", 31, CSize(93, 93), CPoint(46, 78), CXTPDockingPaneStickerWnd::partBottom, TRUE},
      {"cross: right arrow", 31, CSize(93, 93), CPoint(78, 46), CXTPDockingPaneStickerWnd::partRight, TRUE},
      {"cross: centre", 31, CSize(93, 93), CPoint(46, 46), CXTPDockingPaneStickerWnd::partCentre, TRUE},
      {"cross: a corner between the arrows", 31, CSize(93, 93), CPoint(2, 2), 0, FALSE},
      {"client's cross: no centre", 15, CSize(93, 93), CPoint(46, 46), 0, TRUE},
      {"top sticker", 4, CSize(43, 30), CPoint(21, 15), CXTPDockingPaneStickerWnd::partTop, TRUE},
      {"right sticker", 2, CSize(30, 43), CPoint(15, 21), CXTPDockingPaneStickerWnd::partRight, TRUE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    EXPECT_EQ(c.size, CXTPDockingPaneStickerWnd::GetStickerSize(c.dwMask));
    HRGN hShape = CXTPDockingPaneStickerWnd::CreateShapeRegion(c.dwMask, c.size);
    ASSERT_NE(nullptr, hShape);
    EXPECT_EQ(c.bInside, ::PtInRegion(hShape, c.pt.x, c.pt.y));
    CXTPDockingPaneStickerWnd sticker(c.dwMask);
    const CRect rc(CPoint(200, 150), c.size);
    ASSERT_TRUE(sticker.Create(nullptr, rc, hShape));
    EXPECT_EQ(c.nPart, sticker.HitTest(rc.TopLeft() + c.pt));
    EXPECT_EQ(0, sticker.HitTest(CPoint(rc.right + 1, rc.top)));
    ::DeleteObject(hShape);
  }
}

// The pixels of a top sticker as DrawStickers paints it, or as the given
// sheet's top arrow is when copied without its transparent green.
std::vector<COLORREF> TopArrowPixels(const CXTPDockingPaneStickerWnd *pSticker, UINT nSheet) {
  const CSize size(43, 30);
  HDC hScreen = ::GetDC(nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, size.cx, size.cy);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  const RECT rc = {0, 0, size.cx, size.cy};
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (pSticker != nullptr) {
    pSticker->DrawStickers(hDC);
  } else {
    LPCTSTR lpszName = MAKEINTRESOURCE(nSheet);
    auto hSheet = static_cast<HBITMAP>(
        ::LoadImageW(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName, IMAGE_BITMAP, 0, 0, 0));
    HDC hSheetDC = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOldSheet = ::SelectObject(hSheetDC, hSheet);
    ::TransparentBlt(hDC, 0, 0, size.cx, size.cy, hSheetDC, 0, 0, size.cx, size.cy, RGB(0, 255, 0));
    ::SelectObject(hSheetDC, hOldSheet);
    ::DeleteDC(hSheetDC);
    ::DeleteObject(hSheet);
  }
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size.cy; y++)
    for (int x = 0; x < size.cx; x++) pixels.push_back(::GetPixel(hDC, x, y));
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hDC);
  return pixels;
}

TEST(DockingStickerWnd, TheArrowsTakeTheSheetOfTheSystemColourScheme) {
  const struct {
    const char *pszName;
    int nTheme;
    UINT nSheet;
  } cases[] = {
      {"blue", xtpSystemThemeBlue, XTP_IDB_DOCKINGPANE_STICKERS},
      {"olive", xtpSystemThemeOlive, XTP_IDB_DOCKINGPANE_STICKERS_OLIVE},
      {"silver", xtpSystemThemeSilver, XTP_IDB_DOCKINGPANE_STICKERS_SILVER},
      {"none known", xtpSystemThemeUnknown, XTP_IDB_DOCKINGPANE_STICKERS},
  };
  CXTPDockingPaneStickerWnd sticker(CXTPDockingPaneStickerWnd::partTop);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.pszName);
    XTPGetColorManager()->SetSystemTheme(c.nTheme);
    EXPECT_EQ(TopArrowPixels(nullptr, c.nSheet), TopArrowPixels(&sticker, 0));
  }
  XTPGetColorManager()->SetSystemTheme(xtpSystemThemeAuto);
  // The sheets differ, so the comparison tells them apart.
  EXPECT_NE(TopArrowPixels(nullptr, XTP_IDB_DOCKINGPANE_STICKERS),
            TopArrowPixels(nullptr, XTP_IDB_DOCKINGPANE_STICKERS_OLIVE));
  EXPECT_NE(TopArrowPixels(nullptr, XTP_IDB_DOCKINGPANE_STICKERS),
            TopArrowPixels(nullptr, XTP_IDB_DOCKINGPANE_STICKERS_SILVER));
}

} // namespace
