// The main window: the folder tree and the file list side by side, the log
// along the bottom, the program's command table and settings commands, the
// keyboard filter and the close sequence.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "AppSettings.h"
#include "CommandStates.h"
#include "Framework.h"
#include "TickClock.h"
#include "WorkPacer.h"
#include "XTPDockingPaneManager.h"
#include "XTPFrameWnd.h"
#include "XTPStatusBar.h"
#include "XTPToolTipContext.h"

class AppEngineServices;
class CXTPToolBar;
class CProgressBar;
class CLeftView;
class CQuendalVarnothView;
class ScanSession;
class FileMaskState;
struct FileMaskCriteria;

// Posted by the wizard's Finish; the frame runs the search once the wizard
// has closed.
constexpr UINT UWM_START_FAST_SCAN = WM_APP + 0x28;
constexpr UINT UWM_START_ADVANCED_SCAN = WM_APP + 0x29;

class CMainFrame : public CXTPFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
public:
  CMainFrame();
  ~CMainFrame() override;

  // The bars' layout, then every pane it moved or resized is drawn again
  // whole, its column headers too.
  void RecalcLayout(BOOL bNotify = TRUE) override;

  CQuendalVarnothView *GetRightPane();
  CLeftView *GetLeftPane();
  CStatusBar *GetStatusBar() { return &m_statusBar; }
  // The toolbar "Standard", owned by the command bars.
  CXTPToolBar *GetStandardToolBar() const { return m_pToolBar; }
  // The docking panes of this frame: the log's pane along the bottom.
  CXTPDockingPaneManager *GetDockingPaneManager() { return &m_paneManager; }

  // The state the command table reads, gathered from the application, this
  // frame and the views.
  CommandContext CurrentCommandContext();

  // What a running search calls: progress bar in status pane 0, totals in
  // pane 1, the current item in pane 2, and the end of the search.
  void ShowReadingProgress(UINT range, LPCTSTR caption);
  void CreateScanProgressBar(UINT range);
  // 1 at once when a stop was asked; else the pump's answer.
  int StepScanProgress(UINT count);
  // A search's entry adds come here one by one; the caption, the bar, the
  // totals noted since and the pump follow at the pace of the engines' own
  // pump, as each of them costs a round trip under Wine.
  void UpdateFoundProgress(UINT progressMode, UINT foundCount, UINT secondaryCount);
  void UpdateTotalsPane(UINT folders, UINT files, ULONGLONG bytes);
  // Totals shown with the next paced found count, or at the end of the search.
  void NoteTotals(UINT folders, UINT files, ULONGLONG bytes);
  // The clock of that pace (tests give a fake one).
  void SetPaceClock(PaceInterval::Clock clock);
  // Slower than the pump: under Wine each new caption and totals text costs
  // a few milliseconds of drawing, and ten counts a second read as well.
  static constexpr uint32_t kFoundIntervalMs = 100;
  // Brings the bars' buttons in line with the command table at once: they
  // read it when the program is idle, which it never is during a search.
  void RefreshCommandStates();
  void SetCurrentItemPane(LPCTSTR text, BOOL show);
  void DeleteScanProgressBar();
  void OnScanFinished(UINT foundCount);
  void ResetBusyFlags();
  CProgressBar *GetScanProgressBar() const { return m_scanProgressBar.get(); }
  // The one services object through which the engines, the drive list and
  // the scan-file code reach this frame and its views; it lives as long as
  // the frame, and the search session that uses it goes before it.
  AppEngineServices &EngineServices() { return *m_engineServices; }
  // Offers to save results that were not saved before they are replaced
  // (Yes saves them, No goes on); FALSE when the user cancelled. owner: the
  // window over which the offer and the save's dialogs open, disabled under
  // them (null: this frame). Defined in MainFrmScanFiles.cpp beside Save
  // Scan Information.
  BOOL OfferToSaveResults(CWnd *owner = nullptr);
  // What Open Saved Scan Information, Save Scan Information and the two
  // recovery commands do once their file or folder dialog has answered
  // (MainFrmScanFiles.cpp, MainFrmRecovery.cpp). chosen: the save dialog's
  // name, to which ".DAT" is appended. RecoverInto is FALSE when the
  // destination was refused or nothing could run; SaveScanFileAs is FALSE
  // only when the file would lie on the searched drive (the save dialog
  // then comes back).
  void OpenScanFile(const std::wstring &path);
  BOOL SaveScanFileAs(const std::wstring &chosen);
  BOOL RecoverInto(const std::wstring &destination, BOOL selectedOnly);
  // File Mask's rebuild of the tree keeping what the criteria keep (a mask
  // applied before is removed first) and Unmask's return of the full
  // results (MainFrmFind.cpp); DropFileMask forgets a mask whose results
  // were replaced by a new search or a load.
  // Both run as a search does: the running state on (commands, Exit and
  // the check boxes wait), a progress bar, and messages pumped at the
  // rebuild clock's pace. Stop ends the mask's rebuild with the files kept
  // so far; Unmask cannot be stopped.
  void ApplyFileMask(const FileMaskCriteria &criteria);
  void RemoveFileMask();
  void DropFileMask();
  static constexpr UINT kMaskProgressRange = 50000;
  static constexpr UINT kUnmaskProgressRange = 25000;
  // The clock of the rebuilds' pump (tests give a fake one).
  void SetRebuildClock(WorkPacer::Clock clock) { m_rebuildClock = std::move(clock); }

  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;
  BOOL PreTranslateMessage(MSG *pMsg) override;

  int CheckedFolderCount = 0;
  int CheckedFileCount = 0;
  int ListClickCounters[2] = {0, 0};
  COLORREF ProgressColour = CLR_DEFAULT;
  int RebuildBusy = 0;
  int ScanPhaseBusy = 0;
  int SaveCancelled = 0;
  // How many engine, scan-file loader or writer calls are on the stack (see
  // EngineCallScope): Stop only lowers the running flag while the engine is
  // still inside the message pump, so commands that free the engine or this
  // frame wait until the count is back to 0.
  int EngineCallDepth = 0;

protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnWindowPosChanged(WINDOWPOS *pPos);
  afx_msg void OnUpdateCommandState(CCmdUI *pCmdUI);
  afx_msg void OnEditSaveLog();
  afx_msg void OnEditClearLog();
  afx_msg void OnAddNewHeader();
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
  // Help Topics and F1: the program's help at its start page
  // (MainFrmHelp.cpp, with the panes' keys and context help).
  afx_msg void OnHelpTopics();
  // F6 and Shift+F6: the focus to the next or previous of the tree, the
  // list and the log.
  afx_msg void OnNextPane();
  afx_msg void OnPrevPane();
  void OnContextHelpClick(HWND hWndHit, CPoint ptScreen) override;
  afx_msg void OnStopProcess();
  afx_msg void OnGoUp();
  afx_msg void OnRunWizard();
  afx_msg LRESULT OnStartFastScan(WPARAM, LPARAM);
  afx_msg LRESULT OnStartAdvancedScan(WPARAM, LPARAM);
  afx_msg void OnOpenScanInfo();
  afx_msg void OnSaveScanInfo();
  afx_msg void OnSelectAll();
  afx_msg void OnUnselectAll();
  afx_msg void OnRecoverAll();
  afx_msg void OnRecoverSelected();
  // Find and Find Next (MainFrmFind.cpp).
  afx_msg void OnFindEntries();
  afx_msg void OnFindNextEntry();
  // File Mask and Unmask (FileMask.cpp's state, MainFrmFind.cpp).
  afx_msg void OnFileMask();
  afx_msg void OnUnmask();
  // The docking panes' notices: a pane about to be shown gets its window.
  afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);

private:
  CXTPStatusBar m_statusBar;
  CXTPToolBar *m_pToolBar = nullptr;
  // The frame's own tooltip settings, the module's while the frame lives.
  CXTPToolTipContext m_toolTipContext;
  CXTPDockingPaneManager m_paneManager;
  // The window that owns the save's dialogs while a save offer runs for
  // another window (the wizard); null: this frame.
  CWnd *m_saveOwner = nullptr;
  CWnd &SaveDialogOwner() { return m_saveOwner != nullptr ? *m_saveOwner : *this; }
  CSplitterWnd m_wndSplitter;
  // The splitter's pane windows as last found (see SplitterPane).
  HWND m_paneWindows[2] = {nullptr, nullptr};
  CWnd *SplitterPane(int column);
  // The one progress bar of a running search, or null.
  std::unique_ptr<CProgressBar> m_scanProgressBar;
  std::unique_ptr<AppEngineServices> m_engineServices;
  // The found count's pace: the first count of a bar shows at once.
  PaceInterval m_foundPace{&TickMilliseconds, kFoundIntervalMs, true};
  unsigned m_foundStepsPending = 0;
  struct NotedTotals {
    UINT folders = 0;
    UINT files = 0;
    ULONGLONG bytes = 0;
  };
  std::optional<NotedTotals> m_notedTotals;
  std::unique_ptr<FileMaskState> m_fileMask;
  WorkPacer::Clock m_rebuildClock;

  // The furniture, in the order creation needs it (MainFrmBars.cpp); each
  // FALSE after a debug trace naming what failed.
  BOOL CreateStatusBar();
  BOOL CreateCommandBars();
  void SetUpToolTips();
  // The log's docking pane along the bottom; its view comes with its first show.
  void CreateLogPane();
  void ApplySavedSettings();
  void ShowNotedTotals();
  // The caption "n Entries Found" for count, the bar moved by steps.
  void ShowFoundCount(UINT count, unsigned steps);
  void SetThemeFlags(ThemeSetting theme);
  void RedrawFrame();
  // Tab moves the focus between the tree and the list.
  void SwitchPaneFocus();
  // Moves the focus by step (1 or -1) through the tree, the list and the log.
  void MovePaneFocus(int step);
  // The help context of a window of this frame (a tool bar button's command
  // at the point), the main window's where the window has none.
  DWORD HelpContextOfWindow(HWND hWnd, CPoint ptScreen);
  // Space, Enter and Tab while the tree or the list has the focus
  // (MainFrmPaneKeys.cpp); TRUE when the key was used up.
  BOOL FilterPaneKeys(MSG *pMsg);
  // The engine entries of the two start messages.
  void RunFastScan(ScanSession &session);
  void RunAdvancedScan(ScanSession &session);
  // The running state, flags and progress bar of a mask's or Unmask's
  // rebuild, and its end as a search's end.
  void StartRebuild(UINT progressRange);
  void EndRebuild(UINT placed);
  // Save Scan Information while a mask is applied: told, and nothing saved.
  BOOL RefuseSaveWhileMasked();

  DECLARE_MESSAGE_MAP()
};
