// The geometry of dragging a toolbar: keeping the grabbed point inside the
// moved rectangle, choosing the dock bar the cursor is near, and the
// rectangle a floating bar takes when one of its edges is dragged. Kept
// free of windows so the drag loop only feeds it cursor positions.
#pragma once
#include "Framework.h"

// Layout-mode bits a bar's size calculation reads while it floats.
constexpr DWORD kLayoutHorz = 0x02;
constexpr DWORD kLayoutMRUWidth = 0x04;
constexpr DWORD kLayoutLengthY = 0x20;
constexpr DWORD kLayoutCommit = 0x40;

class CXTPDockContext {
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
