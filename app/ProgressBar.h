// A progress bar inside one pane of the main window's status bar, with a
// caption that the pane shows to its left. While it exists the pane's own
// text is put aside; it comes back when the bar goes.
#pragma once

#include "Framework.h"

// Where the bar goes in its pane: right of the caption (its width plus four
// blanks) when there is one, percent of the remaining width, a tenth of the
// height off at top and bottom.
CRect ProgressBarLayout(const CRect &pane, int captionWidth, int blankWidth, int percent);

// Where a bar at pos within lower..upper stands after that many steps of 1:
// past the upper end it starts over from the lower end, as the control's
// own step does.
int SteppedPosition(int pos, int lower, int upper, unsigned steps);

class CProgressBar : public CProgressCtrl {
public:
  CProgressBar() = default;
  // Made in the status bar of the main window; without one, no window is made.
  CProgressBar(LPCTSTR caption, int percent, int maximum, BOOL smooth, int pane);
  ~CProgressBar() override;

  BOOL Create(LPCTSTR caption, int percent, int maximum, BOOL smooth, int pane);
  void SetText(LPCTSTR caption);
  void SetBarColour(COLORREF colour);
  void SetRange(int lower, int upper, int step);
  int SetStep(int step);
  int SetPos(int pos);
  int StepIt();
  // As that many StepIt() calls, in one move.
  void StepBy(unsigned steps);

  afx_msg BOOL OnEraseBkgnd(CDC *pDC);

private:
  CString m_caption;
  CString m_savedPaneText;
  int m_percent = 100;
  int m_pane = 0;
  CRect m_lastRect;
  // The caption's and a blank's width in the status bar's font, measured once.
  CString m_measuredCaption;
  int m_captionWidth = 0;
  int m_blankWidth = -1;
  CStatusBar *m_statusBar = nullptr;
  // A memory device context, made once, that the captions are measured on.
  HDC m_measureDC = nullptr;

  int TextWidth(LPCTSTR text);
  void Layout();
  void MakeVisible();

  DECLARE_MESSAGE_MAP()
};
