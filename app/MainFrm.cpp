#include "MainFrm.h"

#include <utility>
#include <vector>

#include "AddNewHeader.h"
#include "AppEngineServices.h"
#include "AppSettings.h"
#include "CommandBarSettings.h"
#include "XTPCommandBars.h"
#include "HeaderFile.h"
#include "FileMask.h"
#include "ProgressBar.h"
#include "LeftView.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "ScanSession.h"
#include "SignatureStore.h"
#include "SimpleListView.h"
#include "XTPDockingPane.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CXTPFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_ERASEBKGND()
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(ID_EDIT_SAVE_LOG, OnEditSaveLog)
ON_COMMAND(ID_EDIT_CLEAR_LOG, OnEditClearLog)
ON_COMMAND(ID_TOOLS_ADD_NEW_HEADER, OnAddNewHeader)
ON_UPDATE_COMMAND_UI(ID_TOOLS_ADD_NEW_HEADER, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_EDIT_SAVE_LOG, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_LOG, OnUpdateCommandState)
ON_COMMAND_RANGE(ID_VIEW_TOOLBAR_LARGE, ID_VIEW_TOOLBAR_SMALL, OnToolbarSize)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR_LARGE, ID_VIEW_TOOLBAR_SMALL, OnUpdateToolbarSize)
ON_COMMAND_RANGE(ID_VIEW_THEME_OFFICE2000, ID_VIEW_THEME_NATIVEXP, OnTheme)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_THEME_OFFICE2000, ID_VIEW_THEME_NATIVEXP, OnUpdateTheme)
ON_COMMAND_RANGE(ID_VIEW_TOOLTIP_BALLOON, ID_VIEW_TOOLTIP_OFFICE, OnTooltipStyle)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLTIP_BALLOON, ID_VIEW_TOOLTIP_OFFICE, OnUpdateTooltipStyle)
ON_COMMAND(ID_VIEW_PROGRESS_COLOUR, OnProgressColour)
ON_COMMAND(ID_VIEW_TIPS_ON_STARTUP, OnTipsOnStartup)
ON_UPDATE_COMMAND_UI(ID_VIEW_TIPS_ON_STARTUP, OnUpdateTipsOnStartup)
ON_COMMAND_RANGE(ID_VIEW_SMALLICON, ID_VIEW_DETAILS, OnListStyle)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_SMALLICON, ID_VIEW_DETAILS, OnUpdateListStyle)
ON_COMMAND(ID_HELP_FINDER, OnHelpTopics)
ON_COMMAND(ID_HELP, OnHelpTopics)
ON_COMMAND(ID_NEXT_PANE, OnNextPane)
ON_COMMAND(ID_PREV_PANE, OnPrevPane)
ON_COMMAND(ID_TOOLS_STOP_PROCESS, OnStopProcess)
ON_COMMAND(ID_EDIT_GO_UP, OnGoUp)
ON_UPDATE_COMMAND_UI(ID_EDIT_GO_UP, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_TOOLS_STOP_PROCESS, OnUpdateCommandState)
ON_COMMAND(ID_FILE_RUN_WIZARD, OnRunWizard)
ON_UPDATE_COMMAND_UI(ID_FILE_RUN_WIZARD, OnUpdateCommandState)
ON_MESSAGE(UWM_START_FAST_SCAN, OnStartFastScan)
ON_MESSAGE(UWM_START_ADVANCED_SCAN, OnStartAdvancedScan)
ON_COMMAND(ID_FILE_OPEN_SCAN_INFO, OnOpenScanInfo)
ON_COMMAND(ID_TOOLS_SAVE_SCAN_INFO, OnSaveScanInfo)
ON_COMMAND(ID_EDIT_SELECT_ALL_ENTRIES, OnSelectAll)
ON_COMMAND(ID_EDIT_UNSELECT_ALL_ENTRIES, OnUnselectAll)
ON_COMMAND(ID_TOOLS_RECOVER_ALL, OnRecoverAll)
ON_COMMAND(ID_TOOLS_RECOVER_SELECTED, OnRecoverSelected)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_SCAN_INFO, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_TOOLS_SAVE_SCAN_INFO, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL_ENTRIES, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNSELECT_ALL_ENTRIES, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_TOOLS_RECOVER_ALL, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_TOOLS_RECOVER_SELECTED, OnUpdateCommandState)
ON_COMMAND(ID_EDIT_FIND_ENTRIES, OnFindEntries)
ON_COMMAND(ID_EDIT_FIND_NEXT_ENTRY, OnFindNextEntry)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_ENTRIES, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_NEXT_ENTRY, OnUpdateCommandState)
ON_COMMAND(ID_TOOLS_FILE_MASK, OnFileMask)
ON_COMMAND(ID_TOOLS_UNMASK, OnUnmask)
ON_UPDATE_COMMAND_UI(ID_TOOLS_FILE_MASK, OnUpdateCommandState)
ON_UPDATE_COMMAND_UI(ID_TOOLS_UNMASK, OnUpdateCommandState)
ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, OnDockingPaneNotify)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_fileMask(std::make_unique<FileMaskState>()) {
  ProgressColour = ReadRegistryDword(HKEY_LOCAL_MACHINE, kProductKeyPath, L"KOVA_PBc").value_or(CLR_DEFAULT);
}

CMainFrame::~CMainFrame() {
  // The search session reads through the services this frame owns.
  if (CWinApp *winApp = AfxGetApp()) {
    CQuendalVarnothApp &app = *static_cast<CQuendalVarnothApp *>(winApp);
    app.FatEngine = nullptr;
    app.NtfsEngine = nullptr;
    app.Session.reset();
  }
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CXTPFrameWnd::OnCreate(lpcs) == -1) return -1;
  if (!CreateStatusBar() || !CreateCommandBars()) return -1;
  m_engineServices = std::make_unique<AppEngineServices>(TheQvApp(), *this);
  ApplySavedSettings();
  SetUpToolTips();
  CreateLogPane();
  CQuendalVarnothApp &app = TheQvApp();
  if (app.ScanWindowInfo == nullptr) app.ScanWindowInfo = new CQuendalVarnothApp::ScanWindowBlock{};
  app.ScanWindowInfo->mainWindow = m_hWnd;
  RecalcLayout();
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  return 0;
}

void CMainFrame::CreateLogPane() {
  m_paneManager.InstallInFrame(this);
  m_paneManager.SetTheme(5);
  m_paneManager.CreatePane(ID_PANE_LOG, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  // The log is always there: its pane can neither close nor hide itself.
  m_paneManager.SetDefaultPaneOptions(xtpPaneNoCloseable | xtpPaneNoHideable);
}

LRESULT CMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam) {
  if (wParam != XTP_DPN_SHOWWINDOW) return 0;
  auto *pane = reinterpret_cast<CXTPDockingPane *>(lParam);
  // A pane shown again after a move keeps the view it got the first time.
  if (!pane->IsValid() && pane->GetID() == ID_PANE_LOG)
    pane->AttachView(this, RUNTIME_CLASS(CSimpleListView));
  return 1;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext *pContext) {
  if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CLeftView), CSize(240, 240), pContext) ||
      !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CQuendalVarnothView), CSize(100, 100), pContext)) {
    m_wndSplitter.DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

BOOL CMainFrame::OnEraseBkgnd(CDC *pDC) {
  // The bars and the views cover the client area; what shows between them
  // is the face colour of the bars.
  CRect client;
  GetClientRect(&client);
  ::FillRect(pDC->GetSafeHdc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

void CMainFrame::RecalcLayout(BOOL bNotify) {
  // The panes are the frame's children other than its bars.
  std::vector<std::pair<HWND, CRect>> panes;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(child);
    if (id >= AFX_IDW_CONTROLBAR_FIRST && id <= AFX_IDW_CONTROLBAR_LAST) continue;
    CRect rect;
    ::GetWindowRect(child, &rect);
    panes.emplace_back(child, rect);
  }
  CXTPFrameWnd::RecalcLayout(bNotify);
  // A moved pane is not always drawn again by the system: a list that was
  // painting its rows while its header moved kept the old header's pixels,
  // or none. Drawn again whole, it goes through its own buffered paint.
  for (const auto &[child, before] : panes) {
    CRect after;
    if (!::IsWindow(child) || !::IsWindowVisible(child) || !::GetWindowRect(child, &after) || after == before)
      continue;
    ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void CMainFrame::OnWindowPosChanged(WINDOWPOS *pPos) {
  CXTPFrameWnd::OnWindowPosChanged(pPos);
  // The bars ask for their commands' states only while they are visible, and
  // at start-up the wizard opens before any idle pass: shown now, they get
  // the states before their first paint.
  if (pPos->flags & SWP_SHOWWINDOW) RefreshCommandStates();
}

CWnd *CMainFrame::SplitterPane(int column) {
  if (m_wndSplitter.m_hWnd == nullptr) return nullptr;
  // Asking the splitter lists its child windows, a round trip to the window
  // server under Wine, and every command's state asks for both panes. The
  // handle found is kept and looked up in the process's own window map,
  // which forgets it when its window goes.
  HWND &known = m_paneWindows[column];
  if (CWnd *pane = CWnd::FromHandlePermanent(known)) return pane;
  CWnd *pane = m_wndSplitter.GetPane(0, column);
  known = pane != nullptr ? pane->m_hWnd : nullptr;
  return pane;
}

CQuendalVarnothView *CMainFrame::GetRightPane() {
  CWnd *pane = SplitterPane(1);
  return pane && pane->IsKindOf(RUNTIME_CLASS(CQuendalVarnothView)) ? static_cast<CQuendalVarnothView *>(pane)
                                                                    : nullptr;
}

CLeftView *CMainFrame::GetLeftPane() {
  CWnd *pane = SplitterPane(0);
  return pane && pane->IsKindOf(RUNTIME_CLASS(CLeftView)) ? static_cast<CLeftView *>(pane) : nullptr;
}

CommandContext CMainFrame::CurrentCommandContext() {
  const CQuendalVarnothApp &app = TheQvApp();
  CommandContext context;
  context.scanRunning = app.ScanRunning != 0;
  context.scanPhaseBusy = ScanPhaseBusy != 0;
  context.rebuildBusy = RebuildBusy != 0;
  context.resultsPresent = app.ResultsPresent != 0;
  context.scanInfoSaved = app.ScanInfoSaved != 0;
  context.findNextAvailable = app.FindNextAvailable != 0;
  context.anyChecked = app.AnyChecked != 0;
  context.allChecked = app.AllChecked != 0;
  context.maskApplied = app.MaskApplied != 0;
  context.logHasRows = app.LogRowCount > 0;
  context.engineCallActive = EngineCallDepth > 0;
  context.errorBoxOpen = m_engineServices != nullptr && m_engineServices->ErrorBoxOpen();
  context.fileListPresent = GetRightPane() != nullptr;
  context.treeSelectionIsRoot = true;
  if (CLeftView *tree = GetLeftPane()) {
    HTREEITEM selected = tree->GetTreeCtrl().GetSelectedItem();
    // The root is the item without a parent, whatever its text (a folder
    // may well be called "Root").
    context.treeSelectionIsRoot =
        selected == nullptr || tree->GetTreeCtrl().GetParentItem(selected) == nullptr;
  }
  return context;
}

void CMainFrame::OnUpdateCommandState(CCmdUI *pCmdUI) {
  pCmdUI->Enable(IsCommandEnabled(pCmdUI->m_nID, CurrentCommandContext()));
}

BOOL CMainFrame::PreTranslateMessage(MSG *pMsg) {
  CQuendalVarnothApp &app = TheQvApp();
  const bool keyDown = pMsg->message == WM_KEYDOWN;
  const bool anyKeyDown = keyDown || pMsg->message == WM_SYSKEYDOWN;
  if (keyDown && FilterPaneKeys(pMsg)) return TRUE;
  if (keyDown && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN)) pMsg->wParam = 0;
  // Without results the function keys have nothing to act on; F3 (Find Next)
  // and F4 go on to their own rules.
  if (anyKeyDown && app.ResultsPresent == 0 && pMsg->wParam >= VK_F1 && pMsg->wParam <= VK_F12 &&
      pMsg->wParam != VK_F3 && pMsg->wParam != VK_F4)
    pMsg->wParam = 0;
  // The program has no documents to create or open: N and O never act.
  if (anyKeyDown && (pMsg->wParam == 'N' || pMsg->wParam == 'O')) pMsg->wParam = 0;
  return CXTPFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::SwitchPaneFocus() {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  CQuendalVarnothView *list = GetRightPane();
  if (tree == nullptr || list == nullptr) return;
  if (app.TreeHasFocus) {
    app.TreeHasFocus = 0;
    list->SetFocus();
    if (app.ListFocusedOnce == 0) {
      list->GetListCtrl().SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      app.ListFocusedOnce = 1;
    }
    return;
  }
  CTreeCtrl &treeCtrl = tree->GetTreeCtrl();
  if (HTREEITEM root = treeCtrl.GetRootItem()) treeCtrl.SelectSetFirstVisible(root);
  tree->SetFocus();
  app.TreeHasFocus = 1;
}

void CMainFrame::OnGoUp() {
  CLeftView *tree = GetLeftPane();
  if (tree == nullptr) return;
  CTreeCtrl &treeCtrl = tree->GetTreeCtrl();
  HTREEITEM selected = treeCtrl.GetSelectedItem();
  HTREEITEM parent = selected ? treeCtrl.GetParentItem(selected) : nullptr;
  if (parent == nullptr) return;
  treeCtrl.Expand(parent, TVE_EXPAND);
  treeCtrl.SelectItem(parent);
}

void CMainFrame::OnEditSaveLog() {
  if (CSimpleListView *log = TheQvApp().LogView) log->SaveLog(this);
}

void CMainFrame::OnEditClearLog() {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.LogView) app.LogView->ClearLog();
  app.LogNotEmpty = 0;
  app.LogRowCount = 0;
}

void CMainFrame::OnAddNewHeader() {
  CQuendalVarnothApp &app = TheQvApp();
  // The file the wizard's signature page uses, beside the program when the
  // product key names no folder.
  CAddNewHeader dialog(SignatureFilePath(), [&app](const std::wstring &line) {
    if (app.LogView)
      app.LogView->AddLogEntry(nullptr, line.c_str(), nullptr, static_cast<int>(LogStatus::Error));
  });
  dialog.DoModal();
}

void CMainFrame::OnProgressColour() {
  static COLORREF customColours[16] = {};
  CHOOSECOLORW choose = {};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = m_hWnd;
  choose.rgbResult = ProgressColour == CLR_DEFAULT ? ::GetSysColor(COLOR_HIGHLIGHT) : ProgressColour;
  choose.lpCustColors = customColours;
  choose.Flags = CC_ANYCOLOR | CC_RGBINIT;
  if (!ChooseColorW(&choose)) return;
  ProgressColour = choose.rgbResult;
  StoreProgressColour(TheQvApp().ProductSettings, ProgressColour);
}

void CMainFrame::OnTipsOnStartup() {
  CQuendalVarnothApp &app = TheQvApp();
  app.TipsOnStartup = !app.TipsOnStartup;
  // The profile value says whether tips are NOT shown at start.
  app.WriteProfileInt(L"Tip", L"StartUp", app.TipsOnStartup ? 0 : 1);
}

void CMainFrame::OnUpdateTipsOnStartup(CCmdUI *pCmdUI) {
  pCmdUI->SetCheck(TheQvApp().TipsOnStartup ? 1 : 0);
}

namespace {

DWORD ListStyleOfCommand(UINT nID) {
  switch (nID) {
  case ID_VIEW_SMALLICON:
    return LVS_SMALLICON;
  case ID_VIEW_LARGEICON:
    return LVS_ICON;
  case ID_VIEW_LIST:
    return LVS_LIST;
  default:
    return LVS_REPORT;
  }
}

} // namespace

void CMainFrame::OnListStyle(UINT nID) {
  CQuendalVarnothView *list = GetRightPane();
  if (list == nullptr || !list->ModifyStyle(LVS_TYPEMASK, ListStyleOfCommand(nID))) return;
  // The control lays the items out again but repaints only part of itself:
  // without a full redraw the old view's items stay on the screen.
  const DWORD style = ListStyleOfCommand(nID);
  if (style == LVS_ICON || style == LVS_SMALLICON) list->GetListCtrl().Arrange(LVA_DEFAULT);
  list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CMainFrame::OnUpdateListStyle(CCmdUI *pCmdUI) {
  CQuendalVarnothView *list = GetRightPane();
  pCmdUI->Enable(list != nullptr);
  if (list != nullptr)
    pCmdUI->SetRadio((list->GetStyle() & LVS_TYPEMASK) == ListStyleOfCommand(pCmdUI->m_nID));
}

void CMainFrame::OnClose() {
  CQuendalVarnothApp &app = TheQvApp();
  SaveCancelled = 0;
  CString text;
  // After Stop the engine may still be unwinding inside the message pump:
  // the frame and the engine must outlive it.
  if (app.ScanRunning || EngineCallDepth > 0) {
    text.LoadString(IDS_CANNOT_EXIT);
    ::MessageBoxW(m_hWnd, text, kProductTitle, MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  // Cancel, or a save that was cancelled or failed, keeps the window open.
  if (!OfferToSaveResults()) return;
  if (CXTPCommandBars *commandBars = GetCommandBars()) {
    commandBars->SaveOptions(kCommandBarsProfile);
    commandBars->SaveBarState(kCommandBarsProfile);
  }
  delete app.ScanWindowInfo;
  app.ScanWindowInfo = nullptr;
  delete app.FindDialog;
  app.FindDialog = nullptr;
  app.LogView = nullptr;
  CXTPFrameWnd::OnClose();
}
