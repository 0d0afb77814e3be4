// The main window: the folder tree and the file list side by side, the log
// along the bottom, the program's command table and settings commands, the
// keyboard filter and the close sequence.
#pragma once

#include <memory>

#include "AppSettings.h"
#include "CommandStates.h"
#include "Framework.h"

class CFrameStandIns;
class CProgressBar;
class CLeftView;
class CQuendalVarnothView;

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
public:
  CMainFrame();
  ~CMainFrame() override;

  CQuendalVarnothView *GetRightPane();
  CLeftView *GetLeftPane();
  CStatusBar *GetStatusBar();

  // The state the command table reads, gathered from the application, this
  // frame and the views.
  CommandContext CurrentCommandContext();

  // What a running search calls: progress bar in status pane 0, totals in
  // pane 1, the current item in pane 2, and the end of the search.
  void ShowReadingProgress(UINT range, LPCTSTR caption);
  void CreateScanProgressBar(UINT range);
  // 1 at once when a stop was asked; else the pump's answer.
  int StepScanProgress(UINT count);
  void UpdateFoundProgress(UINT progressMode, UINT foundCount, UINT secondaryCount);
  void UpdateTotalsPane(UINT folders, UINT files, ULONGLONG bytes);
  void SetCurrentItemPane(LPCTSTR text, BOOL show);
  void DeleteScanProgressBar();
  void OnScanFinished(UINT foundCount);
  void ResetBusyFlags();
  CProgressBar *GetScanProgressBar() const { return m_scanProgressBar.get(); }

  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;
  BOOL PreTranslateMessage(MSG *pMsg) override;

  int CheckedFolderCount = 0;
  int CheckedFileCount = 0;
  int ListClickCounters[2] = {0, 0};
  COLORREF ProgressColour = 0;
  int RebuildBusy = 0;
  int ScanPhaseBusy = 0;
  int SaveCancelled = 0;

protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnUpdateCommandState(CCmdUI *pCmdUI);
  afx_msg void OnEditSaveLog();
  afx_msg void OnEditClearLog();
  afx_msg void OnToolbarSize(UINT nID);
  afx_msg void OnUpdateToolbarSize(CCmdUI *pCmdUI);
  afx_msg void OnTheme(UINT nID);
  afx_msg void OnUpdateTheme(CCmdUI *pCmdUI);
  afx_msg void OnTooltipStyle(UINT nID);
  afx_msg void OnUpdateTooltipStyle(CCmdUI *pCmdUI);
  afx_msg void OnProgressColour();
  afx_msg void OnTipsOnStartup();
  afx_msg void OnUpdateTipsOnStartup(CCmdUI *pCmdUI);
  afx_msg void OnListStyle(UINT nID);
  afx_msg void OnUpdateListStyle(CCmdUI *pCmdUI);
  afx_msg void OnHelpTopics();
  afx_msg void OnStopProcess();
  afx_msg void OnGoUp();

private:
  std::unique_ptr<CFrameStandIns> m_standIns;
  CSplitterWnd m_wndSplitter;
  // The one progress bar of a running search, or null.
  std::unique_ptr<CProgressBar> m_scanProgressBar;

  void ApplySavedSettings();
  void SetThemeFlags(ThemeSetting theme);
  void RedrawFrame();
  // Tab moves the focus between the tree and the list.
  void SwitchPaneFocus();

  DECLARE_MESSAGE_MAP()
};
