// The main frame's furniture: the status bar, the command bars with the menu
// bar "Menu Bar" and the toolbar "Standard", the tooltips, and the View
// menu's settings of the bars (toolbar size, theme, tooltip style).
#include "CommandBarSettings.h"
#include "CommandBarTheme.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "XTPCommandBars.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"
#include "XTPPaintManager.h"
#include "XTPToolBar.h"
#include "resource.h"

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
// Pane 0 shows prompts and the progress bar, pane 1 the totals and pane 2
// the current item; only pane 3 stays an indicator.
constexpr int kPromptPaneWidth = 300;
constexpr int kTotalsPaneWidth = 350;
constexpr int kTipWidth = 200;
// The toolbar images at the other icon sizes, and those of the commands
// that only the menus show.
const UINT kCommandImages[] = {IDR_TOOLBAR_MEDIUM, IDR_TOOLBAR_LARGE, IDR_COMMAND_IMAGES};

BOOL Failed(const wchar_t *trace) {
  OutputDebugStringW(trace);
  return FALSE;
}

} // namespace

BOOL CMainFrame::CreateStatusBar() {
  if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 4))
    return Failed(L"Failed to create status bar\n");
  m_statusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, kPromptPaneWidth);
  m_statusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, kTotalsPaneWidth);
  m_statusBar.SetPaneInfo(2, ID_SEPARATOR, SBPS_STRETCH, 0);
  m_statusBar.SetPaneText(1, L"");
  m_statusBar.SetPaneText(2, L"");
  return TRUE;
}

BOOL CMainFrame::CreateCommandBars() {
  if (XTPGetPaintManager() == nullptr) CXTPPaintManager::SetTheme(xtpThemeDefault);
  if (!InitCommandBars()) return Failed(L"Failed to create command bars object.\n");
  CXTPCommandBars *commandBars = GetCommandBars();
  if (commandBars->SetMenu(L"Menu Bar", IDR_MAINFRAME) == nullptr)
    return Failed(L"Failed to create menu bar.\n");
  m_pToolBar = commandBars->AddToolBar(L"Standard", xtpBarTop);
  if (m_pToolBar == nullptr || !m_pToolBar->LoadToolBar(IDR_MAINFRAME))
    return Failed(L"Failed to create toolbar\n");
  m_pToolBar->SetButtonSize(CSize(0, 0));
  for (UINT images : kCommandImages) XTPGetImageManager()->SetIcons(images);
  commandBars->GetPaintManager()->GetIconsInfo()->bUseDisabledIcons = TRUE;
  commandBars->HideCommands(kFrameHiddenCommands, 2);
  CXTPCommandBarsOptions *options = commandBars->GetCommandBarsOptions();
  options->bAlwaysShowFullMenus = FALSE;
  // The user's options, then where the bars stood when the program closed.
  commandBars->LoadOptions(kCommandBarsProfile);
  commandBars->LoadBarState(kCommandBarsProfile);
  options->bShowExpandButtonAlways = FALSE;
  m_statusBar.SetCommandBars(commandBars);
  return TRUE;
}

void CMainFrame::ApplySavedSettings() {
  InterfaceSettings settings = InterfaceSettings::Load(HKEY_LOCAL_MACHINE, kProductKeyPath);
  if (ApplyCommandBarTheme(settings.theme)) SetThemeFlags(settings.theme);
  CXTPCommandBars *commandBars = GetCommandBars();
  ApplyToolbarSize(*commandBars->GetCommandBarsOptions(), settings.toolbarSize);
  // Without a stored style the tips take the one the View menu shows
  // checked, so the menu never names a style the tips do not have.
  CQuendalVarnothApp &app = TheQvApp();
  TooltipStyle style = settings.tooltipStyle;
  if (style == TooltipStyle::Unchanged)
    style = app.BalloonTooltips ? TooltipStyle::Balloon : TooltipStyle::Office;
  ApplyTooltipStyle(*commandBars->GetToolTipContext(), style);
  app.BalloonTooltips = style == TooltipStyle::Balloon ? 1 : 0;
}

void CMainFrame::SetUpToolTips() {
  CXTPCommandBarsOptions *options = GetCommandBars()->GetCommandBarsOptions();
  options->ShowKeyboardCues(xtpKeyboardCuesShowWindowsDefault);
  options->bToolBarAccelTips = TRUE;
  EnableToolTips(TRUE);
  m_toolTipContext.SetModuleToolTipContext();
  m_toolTipContext.SetStyle(xtpToolTipRTF);
  m_toolTipContext.SetMaxTipWidth(kTipWidth);
}

void CMainFrame::RedrawFrame() {
  RecalcLayout(FALSE);
  GetCommandBars()->RedrawCommandBars();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CMainFrame::OnToolbarSize(UINT nID) {
  ToolbarSize size = nID == ID_VIEW_TOOLBAR_LARGE    ? ToolbarSize::Large
                     : nID == ID_VIEW_TOOLBAR_MEDIUM ? ToolbarSize::Medium
                                                     : ToolbarSize::Small;
  ApplyToolbarSize(*GetCommandBars()->GetCommandBarsOptions(), size);
  StoreToolbarSize(TheQvApp().ProductSettings, size);
  RedrawFrame();
}

void CMainFrame::OnUpdateToolbarSize(CCmdUI *pCmdUI) {
  const ToolbarSize size = ShownToolbarSize(*GetCommandBars()->GetCommandBarsOptions());
  const bool checked = (pCmdUI->m_nID == ID_VIEW_TOOLBAR_LARGE && size == ToolbarSize::Large) ||
                       (pCmdUI->m_nID == ID_VIEW_TOOLBAR_MEDIUM && size == ToolbarSize::Medium) ||
                       (pCmdUI->m_nID == ID_VIEW_TOOLBAR_SMALL && size == ToolbarSize::Small);
  pCmdUI->SetCheck(checked ? 1 : 0);
}

void CMainFrame::SetThemeFlags(ThemeSetting theme) {
  CQuendalVarnothApp &app = TheQvApp();
  app.ThemeOffice2000 = theme == ThemeSetting::Office2000;
  app.ThemeOfficeXP = theme == ThemeSetting::OfficeXP;
  app.ThemeOffice2003 = theme == ThemeSetting::Office2003;
  app.ThemeNativeXP = theme == ThemeSetting::NativeXP;
}

void CMainFrame::OnTheme(UINT nID) {
  auto theme = static_cast<ThemeSetting>(nID - ID_VIEW_THEME_OFFICE2000 + 1);
  ApplyCommandBarTheme(theme);
  RedrawFrame();
  StoreTheme(TheQvApp().ProductSettings, theme);
  SetThemeFlags(theme);
}

void CMainFrame::OnUpdateTheme(CCmdUI *pCmdUI) {
  const CQuendalVarnothApp &app = TheQvApp();
  const int flags[] = {app.ThemeOffice2000, app.ThemeOfficeXP, app.ThemeOffice2003, app.ThemeNativeXP};
  pCmdUI->SetCheck(flags[pCmdUI->m_nID - ID_VIEW_THEME_OFFICE2000] ? 1 : 0);
}

void CMainFrame::OnTooltipStyle(UINT nID) {
  TooltipStyle style = nID == ID_VIEW_TOOLTIP_BALLOON ? TooltipStyle::Balloon : TooltipStyle::Office;
  ApplyTooltipStyle(*GetCommandBars()->GetToolTipContext(), style);
  TheQvApp().BalloonTooltips = style == TooltipStyle::Balloon ? 1 : 0;
  StoreTooltipStyle(TheQvApp().ProductSettings, style);
}

void CMainFrame::OnUpdateTooltipStyle(CCmdUI *pCmdUI) {
  bool balloon = TheQvApp().BalloonTooltips != 0;
  pCmdUI->SetCheck((pCmdUI->m_nID == ID_VIEW_TOOLTIP_BALLOON) == balloon ? 1 : 0);
}
