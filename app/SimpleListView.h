// The message log: one row per step or error of a search, a scan-file load
// or write, with its activity, text, status and a picture (completed,
// started, error). Save Log writes the rows to a text report.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "Framework.h"
#include "LogReport.h"
#include "XTHeaderCtrl.h"
#include "XTListCtrlView.h"

class CSimpleListView : public CXTListView {
  DECLARE_DYNCREATE(CSimpleListView)
public:
  enum RowImage { Completed = 0, Started = 1, Error = 2 };

  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnInitialUpdate() override;

  // Appends one row; the image is the low byte of the last argument.
  void AddLogEntry(LPCTSTR activity, LPCTSTR text, LPCTSTR status, int image);
  CString GetLogItemText(int row, int column) const;
  int GetLogRowCount() const;
  void ClearLog();
  std::vector<LogRow> GetLogRows() const;

  // Asks for a file name and writes the report; nothing on Cancel or when
  // the file cannot be created.
  void SaveLog(CWnd *owner);

  const CXTHeaderCtrl &Header() const { return m_header; }

protected:
  // The program's log pointer goes with the window, not only with the close.
  afx_msg void OnDestroy();
  // A column the header widened is drawn again whole.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // What of the list and its header was waiting to be painted.
  class PendingPaint {
  public:
    PendingPaint() = default;
    PendingPaint(const PendingPaint &) = delete;
    PendingPaint &operator=(const PendingPaint &) = delete;
    ~PendingPaint();
    void Note(CListCtrl &list);
    // Marks it again, the rows moved by the pixels the rows scrolled.
    void MarkAgain(CListCtrl &list, int scrolledBy) const;

  private:
    HRGN m_rows = nullptr;
    HWND m_header = nullptr;
    RECT m_headerRect = {};
  };
  // Shows a row added while the list was not drawable: moves the rows in
  // view up when the list scrolled from topBefore, and marks the new row
  // and the scroll bars (and what was pending before) for the next paint.
  void ShowAddedRow(int row, int topBefore, const PendingPaint &pending);
  // Widens the activity column as far as the row's activity needs to be
  // shown whole.
  void FitActivity(int row, LPCTSTR activity);
  // Marks the column's cells, top to bottom, for the next paint.
  void RedrawColumn(int column);

  CImageList m_rowImages;
  // The list's own header, subclassed: shaded, a picture beside each title.
  CXTHeaderCtrl m_header;
  // The activities measured for the activity column so far.
  std::set<std::wstring> m_fittedActivities;

  DECLARE_MESSAGE_MAP()
};
