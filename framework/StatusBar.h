// CStatusBar: the frame's status bar, a status window docked at the bottom.
// Panes are set up from indicator ids (each pane's text and width come from
// the string of that id); a pane can stretch to fill the bar.
#pragma once

#include <vector>

#include "CString.h"
#include "ControlBar.h"
#include "GdiObject.h"

#ifndef SBPS_NORMAL
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000
#endif

// What the pane layout needs to know of one pane.
struct StatusPaneSize {
  UINT style; // SBPS_ flags
  int cxText; // width of the pane's text area
};

// The right edge of every pane in a bar of the given width: panes follow each
// other from the left, each as wide as its text plus the gap; the first
// stretching pane takes whatever room is left (never less than its text),
// and the space of a size grip at the right end is kept free for it.
std::vector<int> CalcStatusPaneEdges(const std::vector<StatusPaneSize> &panes, int barWidth, int paneGap,
                                     int gripWidth);

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
public:
  CStatusBar() = default;

  BOOL Create(CWnd *parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd *parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);

  // One pane per id; ID_SEPARATOR makes an empty pane. FALSE when the
  // string of an id is missing.
  BOOL SetIndicators(const UINT *ids, int count);
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const;
  void GetItemRect(int index, LPRECT rect) const;
  void GetPaneInfo(int index, UINT &id, UINT &style, int &width) const;
  void SetPaneInfo(int index, UINT id, UINT style, int width);
  UINT GetPaneStyle(int index) const;
  void SetPaneStyle(int index, UINT style);
  CString GetPaneText(int index) const;
  void GetPaneText(int index, CString &text) const { text = GetPaneText(index); }
  BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
  // Sends the pane edges (and texts) to the status window.
  void UpdateAllPanes(BOOL updateRects, BOOL updateText);

  CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
  void OnUpdateCmdUI(CFrameWnd *target, BOOL disableIfNoHandler) override;
  // Owner-drawn panes paint here (the frame reflects WM_DRAWITEM back).
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
  struct Pane {
    UINT id = 0;
    UINT style = SBPS_NORMAL;
    int cxText = 0;
    CString text;
  };

  bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
  int TextWidth(const CString &text) const;
  int GripWidth() const;
  void SendPaneText(int index);

  std::vector<Pane> m_panes;
  int m_nMinHeight = 0;

  DECLARE_MESSAGE_MAP()
};
