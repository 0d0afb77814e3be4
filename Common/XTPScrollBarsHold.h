// CXTPScrollBarsHold: keeps a window's scroll bars from being drawn on the
// screen while it lives, and draws once, when it ends, the bars that
// changed meanwhile.
//
// Common controls set their scroll bars again while they paint, often to
// what they already were, and each such call draws the bar anew. Under Wine
// one drawing of a scroll bar costs about sixty calls to the window server,
// more than the rest of a paint of the control.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class CXTPScrollBarsHold {
public:
  // The window is made not drawable on the screen (its own visible flag,
  // not the control's redraw state) until the hold ends.
  explicit CXTPScrollBarsHold(HWND hWnd);
  ~CXTPScrollBarsHold();
  CXTPScrollBarsHold(const CXTPScrollBarsHold &) = delete;
  CXTPScrollBarsHold &operator=(const CXTPScrollBarsHold &) = delete;

private:
  // What the scroll bars of a window show: which are there, and their range,
  // page and position.
  struct Look {
    LONG style = 0;
    SCROLLINFO bars[2] = {};

    static Look Of(HWND hWnd);
  };

  HWND m_hWnd;
  Look m_before;
  // The parts still to paint of the windows inside, which the system
  // validates with the window when it stops drawing it.
  std::vector<std::pair<HWND, RECT>> m_pendingChildren;
  // Where the children were: one moved or resized while the window was not
  // drawable lost the paint the move asked for.
  std::vector<std::pair<HWND, RECT>> m_childPlaces;
};
