// The main frame's help: Help Topics and F1, context help (Shift+F1) with the
// topics of the frame's parts, and F6 / Shift+F6 between the panes.
#include "HelpFiles.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "XTPCommandBar.h"

namespace {

constexpr UINT kHelpHitTest = 0x0366;
constexpr LRESULT kHelpHitCommand = 0x10000;

// The first row takes the focus, not the selection, when no row has it.
void ShowRowFocus(CListCtrl &list) {
  if (list.GetItemCount() > 0 && list.GetNextItem(-1, LVNI_FOCUSED) < 0)
    list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
}

} // namespace

void CMainFrame::OnHelpTopics() {
  TheQvApp().ShowHelp(m_hWnd, 0);
}

void CMainFrame::OnNextPane() {
  MovePaneFocus(1);
}

void CMainFrame::OnPrevPane() {
  MovePaneFocus(-1);
}

void CMainFrame::MovePaneFocus(int step) {
  CQuendalVarnothApp &app = TheQvApp();
  CWnd *tree = GetLeftPane();
  CWnd *list = GetRightPane();
  CWnd *panes[] = {tree, list, app.LogView};
  constexpr int kPanes = 3;
  const HWND focus = ::GetFocus();
  int current = -1;
  for (int i = 0; i < kPanes; ++i)
    if (panes[i] != nullptr && panes[i]->m_hWnd != nullptr &&
        (focus == panes[i]->m_hWnd || ::IsChild(panes[i]->m_hWnd, focus)))
      current = i;
  // From outside the panes, F6 starts at the tree and Shift+F6 at the log;
  // a pane that is not there is passed over.
  int next = current >= 0 ? current + step : (step > 0 ? 0 : kPanes - 1);
  for (int tried = 0; tried < kPanes; ++tried, next += step) {
    CWnd *pane = panes[(next % kPanes + kPanes) % kPanes];
    if (pane == nullptr || pane->m_hWnd == nullptr || !pane->IsWindowVisible()) continue;
    pane->SetFocus();
    // A list whose rows have no focus would show no sign of having it.
    if (pane == list) ShowRowFocus(GetRightPane()->GetListCtrl());
    if (pane == app.LogView) ShowRowFocus(app.LogView->GetListCtrl());
    // Space and Tab follow where the focus is.
    if (pane == tree) app.TreeHasFocus = 1;
    if (pane == list) app.TreeHasFocus = 0;
    return;
  }
}

DWORD CMainFrame::HelpContextOfWindow(HWND hWnd, CPoint ptScreen) {
  CWnd *tree = GetLeftPane();
  CWnd *list = GetRightPane();
  CSimpleListView *log = TheQvApp().LogView;
  for (HWND h = hWnd; h != nullptr && h != m_hWnd; h = ::GetParent(h)) {
    if ((tree != nullptr && h == tree->m_hWnd) || (list != nullptr && h == list->m_hWnd)) return IDH_RESULTS;
    if (log != nullptr && h == log->m_hWnd) return IDH_LOG;
    if (h == GetStatusBar()->m_hWnd) return IDH_RESULTS;
    if (auto *bar = DYNAMIC_DOWNCAST(CXTPCommandBar, CWnd::FromHandlePermanent(h))) {
      CPoint pt = ptScreen;
      bar->ScreenToClient(&pt);
      // A command bar answers the help hit test with 0x10000 plus the
      // command of the control at the point.
      const LRESULT hit = bar->SendMessage(kHelpHitTest, 0, MAKELPARAM(pt.x, pt.y));
      if (hit > kHelpHitCommand && hit < kHelpHitCommand + 0x10000)
        return HelpContextOfCommand(static_cast<UINT>(hit - kHelpHitCommand));
      return IDH_MAIN_WINDOW;
    }
  }
  return IDH_MAIN_WINDOW;
}

void CMainFrame::OnContextHelpClick(HWND hWndHit, CPoint ptScreen) {
  TheQvApp().ShowHelp(m_hWnd, HelpContextOfWindow(hWndHit, ptScreen));
}
