// CXTPDockingPaneContext: the drag of a pane, a tabbed container or a whole
// floating frame with the mouse. It runs its own loop while the button is
// held, outlines where the object would go (beside a container, at a side of
// the frame, as a tab, or floating), asks the site about each step and
// carries the drop out through the manager. The manager owns one for its
// whole life.
#pragma once
#include "FrameworkCore.h"
#include "XTPCaptureLoop.h"
#include "XTPDockingPaneBase.h"

#include <vector>

class CXTPDockingPaneManager;
class CXTPDockingPaneStickerWnd;
class CXTPDockingPaneTabbedContainer;

// A translucent window in the highlight colour that shows, in place of the
// outline, where a dragged pane would go.
class CXTPDockingPaneContextHighlightWnd : public CWnd {
protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The desktop's window DC and the lock on its updates during an outline drag.
// Whoever holds one gives both back however the drag ends.
class CXTPDesktopDrawLock {
public:
  CXTPDesktopDrawLock();
  ~CXTPDesktopDrawLock();
  CXTPDesktopDrawLock(const CXTPDesktopDrawLock &) = delete;
  CXTPDesktopDrawLock &operator=(const CXTPDesktopDrawLock &) = delete;
  HDC GetDC() const { return m_hDC; }
  BOOL IsLocked() const { return m_bLocked; }

private:
  HDC m_hDC = nullptr;
  BOOL m_bLocked = FALSE;
};

class CXTPDockingPaneContext {
public:
  explicit CXTPDockingPaneContext(CXTPDockingPaneManager *pManager);
  virtual ~CXTPDockingPaneContext();
  CXTPDockingPaneContext(const CXTPDockingPaneContext &) = delete;
  CXTPDockingPaneContext &operator=(const CXTPDockingPaneContext &) = delete;

  // Runs a whole drag of pPane that begins at pt (screen).
  virtual void Drag(CXTPDockingPaneBase *pPane, CPoint pt);

  // The side-and-distance rule: whether pt (screen) picks a side of rc to
  // dock beside pTarget; inside, pt must lie in rc, else within 20 pixels
  // outside it. Public for tests.
  BOOL HitTestSides(CRect rc, CPoint pt, CXTPDockingPaneBase *pTarget, BOOL bInside);

  // The state of the drag in progress (or of the last one), for tests.
  CXTPDockingPaneBase *GetTarget() const { return m_pTarget; }
  BOOL IsAttach() const { return m_bAttach; }
  XTPDockingPaneDirection GetDirection() const { return m_direction; }
  BOOL IsPastThreshold() const { return m_bPastThreshold; }
  BOOL IsFloatable() const { return m_bFloatable; }
  CRect GetDragRect() const { return m_rcDragRect; }
  BOOL IsDragging() const { return m_pLock != nullptr || m_bTracking; }
  // Whether the desktop was held (DC or lock) when the drag's loop ended.
  BOOL IsDesktopHeld() const { return m_pLock != nullptr; }

  // Whether the drag in progress (or the last one) showed translucent
  // windows, and stickers with them.
  BOOL IsTranslucent() const { return m_bUseAlphaContext; }
  BOOL IsStickerMode() const { return m_bUseStickers; }
  // The windows of a translucent drag, for tests: the highlight, the tab
  // below it when the drop would join a tab group, and the stickers.
  const CWnd &GetHighlightWnd() const { return m_wndContext; }
  const CWnd &GetTabHighlightWnd() const { return m_wndAttachedTab; }
  const std::vector<CXTPDockingPaneStickerWnd *> &GetStickers() const { return m_lstStickers; }

  // Where drag loops take their messages (null: the thread's queue). Tests
  // feed key messages this way.
  static void SetMessageSource(CXTPCaptureLoop::MessageSource pfnSource) { s_pfnMessageSource = pfnSource; }

  // How far the cursor must move before a drag counts.
  static const int kThreshold = 4;

protected:
  virtual void Track();
  virtual void Move(CPoint pt);
  virtual void InitLoop();
  virtual void EndLoop();
  virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
  virtual void FindTarget(CPoint pt);
  BOOL CanDock(CXTPDockingPaneBase *pContainer, XTPDockingPaneDirection direction);
  BOOL CanAttach(CXTPDockingPaneBase *pContainer);

private:
  typedef BOOL(WINAPI *SetLayeredWindowAttributesFunc)(HWND, COLORREF, BYTE, DWORD);
  static CXTPCaptureLoop::MessageSource s_pfnMessageSource;
  void Drop();
  CRect CurrentRect() const;
  void DrawOutline(BOOL bRemoveRect);
  void DrawTranslucent();
  void PlaceHighlight(CXTPDockingPaneContextHighlightWnd &wnd, const CRect &rc);
  void UpdateStickers();
  void DestroyStickers();
  // The sticker windows' hit test at pt; sets the target. TRUE when a sticker answered.
  BOOL HitTestStickers(CPoint pt);
  void AddSticker(DWORD dwMask, const CRect &rc);
  void DeleteStickerRegions();

  CXTPDockingPaneManager *m_pManager;
  CXTPDockingPaneBase *m_pPane = nullptr;
  CXTPDockingPaneBase *m_pTarget = nullptr;
  CRect m_rcTarget;
  CRect m_rcDragRect;
  CRect m_rcLast;
  CPoint m_ptLast;
  CPoint m_ptStart;
  // Apart from the start point: a drag that began at the screen's (0, 0)
  // has not passed the threshold yet.
  BOOL m_bPastThreshold = FALSE;
  BOOL m_bAttach = FALSE;
  BOOL m_bAttachLast = FALSE;
  BOOL m_bFloatable = TRUE;
  BOOL m_bTracking = FALSE;
  XTPDockingPaneDirection m_direction = xtpPaneDockLeft;
  CXTPDesktopDrawLock *m_pLock = nullptr;

  // Translucent drags.
  CXTPDockingPaneContextHighlightWnd m_wndContext;
  CXTPDockingPaneContextHighlightWnd m_wndAttachedTab;
  SetLayeredWindowAttributesFunc m_pfnSetLayeredWindowAttributes = nullptr;
  BOOL m_bUseAlphaContext = FALSE;
  BOOL m_bUseStickers = FALSE;
  // The container (or client area) under the cursor whose cross sticker shows.
  CRect m_rcStickerPane;
  CXTPDockingPaneBase *m_pStickerPane = nullptr;
  std::vector<CXTPDockingPaneStickerWnd *> m_lstStickers;
  // The shapes of the stickers, made once per drag: top, left, bottom, right, cross.
  HRGN m_rgnStickers[5] = {};
};
