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

  // One move of a floating bar's edge (hit-test code nCode, 10 to 17) by
  // delta: moves that edge of rcFloat and gives the length and mode the
  // bar is measured with.
  static void MoveFloatingEdge(int nCode, CRect &rcFloat, CSize delta, int &nLength, DWORD &dwMode);
  // The window rectangle of the re-measured bar: the edge opposite the
  // dragged one stays where it was.
  static CRect ResizedWindowRect(int nCode, const CRect &rcWindow, CSize size);
};
