// CXTPDockContext: one toolbar's drag. The bar itself docks, floats and
// moves while the mouse moves (there is no outline frame and Esc keeps what
// was moved); the edges of a floating bar resize it; a double click toggles
// it between its last docked and its last floating place.
// The geometry (keeping the grabbed point inside the moved rectangle,
// choosing the dock bar the cursor is near, the rectangle a floating bar
// takes when one of its edges is dragged) is kept in static functions free
// of windows, so the drag loop only feeds them cursor positions.
#pragma once
#include "Framework.h"
#include "XTPCaptureLoop.h"

class CXTPToolBar;
class CXTPDockBar;

// Layout-mode bits a bar's size calculation reads while it floats.
constexpr DWORD kLayoutHorz = 0x02;
constexpr DWORD kLayoutMRUWidth = 0x04;
constexpr DWORD kLayoutLengthY = 0x20;
constexpr DWORD kLayoutCommit = 0x40;

class CXTPDockContext {
public:
  // Made by the toolbar, which owns it; the bar must have its command bars.
  explicit CXTPDockContext(CXTPToolBar *pBar);
  virtual ~CXTPDockContext();
  CXTPDockContext(const CXTPDockContext &) = delete;
  CXTPDockContext &operator=(const CXTPDockContext &) = delete;

  // A press on the bar's gripper or empty body (screen point): the bar
  // follows the mouse until the button is released or Esc is pressed.
  virtual void StartDrag(CPoint point);
  // A press on an edge of a floating bar (hit-test code 10 to 17).
  virtual void StartResize(int nHitTest, CPoint point);
  // A double click: a floating bar docks where it was docked last, a docked
  // one floats where it floated last (when the options allow it).
  virtual void ToggleDocking();

  // 1 while moving, the edge's hit-test code while resizing, 0 at rest.
  int GetMode() const { return m_nMode; }
  // The tracking loop's message source (GetMessage by default), fed by tests.
  static void SetMessageSource(CXTPCaptureLoop::MessageSource pfn) { s_pfnMessageSource = pfn; }

  // What the bar's floating window and its saved state read and write.
  CSize m_sizeLastFloating = CSize(0, 0); // (0, 0): none known yet
  int m_uMRUDockID = 0;                   // the last docked side, 0 top to 3 right
  CRect m_rectMRUDockPos;                 // where it was docked, in that dock bar's client area
  CPoint m_ptMRUFloatPos = CPoint(0, 0);  // top-left of its last floating window (screen)

protected:
  // The loop shared by the drag and the resize.
  virtual void Track();
  void OnMove(CPoint point);
  void OnResizeToolBar(CPoint point);
  void OnResizeDialogBar(CPoint point);
  // The dock bar of a side, through the bar's site.
  CXTPDockBar *GetDockBar(int nPosition) const;
  CXTPDockBar *GetCurrentDockBar() const;
  CFrameWnd *GetFrame() const;
  // Remember where the bar is docked, or floats, now, for the double click.
  void RememberDockPlace();
  void RememberFloatPlace();
  void MarkOptionsChanged();

  CXTPToolBar *m_pBar;
  int m_nMode = 0;
  CPoint m_ptLast;
  CRect m_rectDragFrame;
  CRect m_rectFloat;
  static CXTPCaptureLoop::MessageSource s_pfnMessageSource;

public:
  // Moves the rectangle the least distance that brings the point on or into it.
  static void AdjustRectangle(CRect &rect, CPoint point);

  // How close (strictly) the cursor must come to a dock bar to dock there.
  static constexpr int kDockDistance = 20;
  // The index of the dock bar (0 top, 1 bottom, 2 left, 3 right) whose
  // window rectangle lies strictly within kDockDistance of the point; the
  // current one (or -1) wins over the others. -1 when none.
  static int FindDockBar(CPoint point, const CRect rcDockBars[4], int nCurrent);

  // What one cursor move of a drag does: dock into dock bar 0..3, float
  // (kMoveFloat) or leave the bar where it is (kMoveStay). A dock bar near
  // the cursor whose side the bar does not allow (dwAllowed: 1 top, 2
  // bottom, 4 left, 8 right) falls through to floating when 0x10 allows it.
  static constexpr int kMoveFloat = -1;
  static constexpr int kMoveStay = -2;
  static int ChooseMove(CPoint point, const CRect rcDockBars[4], int nCurrent, DWORD dwAllowed);
  // The rectangle a bar just floated takes: its measured size at the drag
  // rectangle's top-left, moved so the cursor stays on it.
  static CRect FloatRectangle(CPoint ptTopLeft, CSize size, CPoint point);

  // Where a double click floats a docked bar: its last floating place, or
  // its present window's top-left while it has never floated (either
  // coordinate below 1).
  static CPoint ToggleFloatPoint(CPoint ptFloat, const CRect &rcWindow);

  // One move of a dialog bar's edge or corner (hit-test code 10 to 17).
  static void MoveDialogBarEdges(int nCode, CRect &rcFloat, CSize delta);

  // One move of a floating bar's edge (hit-test code nCode, 10 to 17) by
  // delta: moves that edge of rcFloat and gives the length and mode the
  // bar is measured with.
  static void MoveFloatingEdge(int nCode, CRect &rcFloat, CSize delta, int &nLength, DWORD &dwMode);
  // The window rectangle of the re-measured bar: the edge opposite the
  // dragged one stays where it was.
  static CRect ResizedWindowRect(int nCode, const CRect &rcWindow, CSize size);
};
