// CMiniFrameWnd: a frame with the small caption of a tool window, for
// windows that float beside a main frame and belong to it (floating panes,
// palettes). With MFS_SYNCACTIVE its caption keeps in step with its owner's:
// activating the mini frame leaves the owner's caption active, and the mini
// frame's caption shows active while its owner is.
#pragma once

#include "FrameWnd.h"

// Mini-frame styles (in the low word, unused by the frame's window class).
#define MFS_SYNCACTIVE 0x00000100L   // activation in step with the owner frame
#define MFS_4THICKFRAME 0x00000200L  // no sizing by the corners
#define MFS_THICKFRAME 0x00000400L   // sizing border
#define MFS_MOVEFRAME 0x00000800L    // moved by any point of its edge
#define MFS_BLOCKSYSMENU 0x00001000L // a click on the caption's icon does not open the system menu

class CMiniFrameWnd : public CFrameWnd {
public:
  CMiniFrameWnd() = default;
  ~CMiniFrameWnd() override = default;

  // As CWnd::CreateEx, always with the tool window's small caption.
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT &rect, CWnd *pParentWnd = nullptr, UINT nID = 0);

  BOOL IsSyncActive() const { return (GetStyle() & MFS_SYNCACTIVE) != 0; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // Whether activation moving to hWndOther keeps this frame's caption active:
  // the owner frame, or another popup of the same owner that keeps in step.
  BOOL IsSyncedWith(HWND hWndOther) const;
};
