#include "StatusBar.h"

#include "CommonControls.h"

#include "Dc.h"
#include "FrameWnd.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

// Room around a pane's text: its bevel and a little air on either side.
constexpr int kPaneGap = 6;

// Updates one status pane's state from the command handlers.
class CStatusCmdUI : public CCmdUI {
public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    auto *bar = static_cast<CStatusBar *>(m_pOther);
    UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_DISABLED);
    bar->SetPaneStyle(static_cast<int>(m_nIndex), on ? style : style | SBPS_DISABLED);
  }
  void SetCheck(int check) override {
    auto *bar = static_cast<CStatusBar *>(m_pOther);
    UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_POPOUT);
    bar->SetPaneStyle(static_cast<int>(m_nIndex), check != 0 ? style | SBPS_POPOUT : style);
  }
  void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
  void SetText(LPCTSTR text) override {
    static_cast<CStatusBar *>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), text);
  }
};

} // namespace

std::vector<int> CalcStatusPaneEdges(const std::vector<StatusPaneSize> &panes, int barWidth, int paneGap,
                                     int gripWidth) {
  int fixed = 0;
  int stretchIndex = -1;
  for (size_t i = 0; i < panes.size(); ++i) {
    fixed += panes[i].cxText + paneGap;
    if (stretchIndex < 0 && (panes[i].style & SBPS_STRETCH) != 0) stretchIndex = static_cast<int>(i);
  }
  int spare = barWidth - gripWidth - fixed;
  if (spare < 0) spare = 0;

  std::vector<int> edges;
  edges.reserve(panes.size());
  int right = 0;
  for (size_t i = 0; i < panes.size(); ++i) {
    right += panes[i].cxText + paneGap;
    if (static_cast<int>(i) == stretchIndex) right += spare;
    edges.push_back(right);
  }
  return edges;
}

BOOL CStatusBar::Create(CWnd *parent, DWORD style, UINT id) {
  return CreateEx(parent, 0, style, id);
}

BOOL CStatusBar::CreateEx(CWnd *parent, DWORD ctrlStyle, DWORD style, UINT id) {
  DWORD windowStyle =
      TakeBarStyle(style) | ctrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  // A size grip only makes sense when the frame can be resized.
  if (parent != nullptr && (parent->GetStyle() & WS_THICKFRAME) != 0) windowStyle |= SBARS_SIZEGRIP;
  return AfxCreateCommonControl(this, ICC_BAR_CLASSES, STATUSCLASSNAME, 0, windowStyle | WS_CHILD,
                                CRect(0, 0, 0, 0), parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT *ids, int count) {
  if (count < 0 || (count > 0 && ids == nullptr)) return FALSE;
  std::vector<Pane> panes(static_cast<size_t>(count));
  BOOL loaded = TRUE;
  for (int i = 0; i < count; ++i) {
    Pane &pane = panes[i];
    pane.id = ids[i];
    if (pane.id == ID_SEPARATOR) continue;
    if (!pane.text.LoadString(pane.id)) {
      loaded = FALSE;
      continue;
    }
    pane.cxText = TextWidth(pane.text);
  }
  // An empty first pane is the message pane: it stretches and has no bevel.
  if (count > 0 && panes[0].id == ID_SEPARATOR) panes[0].style = SBPS_STRETCH | SBPS_NOBORDERS;
  m_panes = std::move(panes);
  UpdateAllPanes(TRUE, TRUE);
  return loaded;
}

int CStatusBar::CommandToIndex(UINT id) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (m_panes[i].id == id) return i;
  }
  return -1;
}

UINT CStatusBar::GetItemID(int index) const {
  return IsValidIndex(index) ? m_panes[index].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
  ::SetRectEmpty(rect);
  if (IsValidIndex(index) && m_hWnd != nullptr)
    SendMessage(SB_GETRECT, index, reinterpret_cast<LPARAM>(rect));
}

void CStatusBar::GetPaneInfo(int index, UINT &id, UINT &style, int &width) const {
  if (!IsValidIndex(index)) {
    id = style = 0;
    width = 0;
    return;
  }
  id = m_panes[index].id;
  style = m_panes[index].style;
  width = m_panes[index].cxText;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  if (!IsValidIndex(index)) return;
  Pane &pane = m_panes[index];
  bool relayout = pane.style != style || pane.cxText != width;
  pane.id = id;
  pane.style = style;
  pane.cxText = width;
  if (relayout) UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int index) const {
  return IsValidIndex(index) ? m_panes[index].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
  if (!IsValidIndex(index) || m_panes[index].style == style) return;
  m_panes[index].style = style;
  UpdateAllPanes(FALSE, TRUE);
}

CString CStatusBar::GetPaneText(int index) const {
  return IsValidIndex(index) ? m_panes[index].text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update) {
  if (!IsValidIndex(index)) return FALSE;
  CString newText(text != nullptr ? text : L"");
  if (m_panes[index].text == newText) return TRUE;
  m_panes[index].text = newText;
  if (update) SendPaneText(index);
  return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateText) {
  if (m_hWnd == nullptr) return;
  if (updateRects) {
    std::vector<StatusPaneSize> sizes;
    for (const Pane &pane : m_panes) sizes.push_back({pane.style, pane.cxText});
    CRect client;
    GetClientRect(&client);
    std::vector<int> edges = CalcStatusPaneEdges(sizes, client.Width(), kPaneGap, GripWidth());
    // The last pane runs to the end of the bar, over the grip's space.
    if (!edges.empty()) edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.empty() ? nullptr : edges.data()));
  }
  if (updateText) {
    for (int i = 0; i < GetCount(); ++i) SendPaneText(i);
  }
}

void CStatusBar::SendPaneText(int index) {
  if (m_hWnd == nullptr) return;
  const Pane &pane = m_panes[index];
  UINT flags = pane.style & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
  // A disabled pane shows no text.
  LPCTSTR text = (pane.style & SBPS_DISABLED) != 0 ? L"" : static_cast<LPCTSTR>(pane.text);
  SendMessage(SB_SETTEXT, static_cast<WPARAM>(index) | flags, reinterpret_cast<LPARAM>(text));
}

int CStatusBar::TextWidth(const CString &text) const {
  HWND window = m_hWnd;
  HDC hDC = ::GetDC(window);
  HFONT font = window != nullptr ? reinterpret_cast<HFONT>(::SendMessage(window, WM_GETFONT, 0, 0)) : nullptr;
  HGDIOBJ old =
      ::SelectObject(hDC, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(hDC, text, text.GetLength(), &size);
  ::SelectObject(hDC, old);
  ::ReleaseDC(window, hDC);
  return size.cx;
}

int CStatusBar::GripWidth() const {
  return (GetStyle() & SBARS_SIZEGRIP) != 0 ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
  CSize size = CControlBar::CalcFixedLayout(stretch, horizontal);
  HDC hDC = ::GetDC(m_hWnd);
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ old =
      ::SelectObject(hDC, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(hDC, &metrics);
  ::SelectObject(hDC, old);
  ::ReleaseDC(m_hWnd, hDC);
  int height = metrics.tmHeight + 2 * ::GetSystemMetrics(SM_CYEDGE) + m_cyTopBorder + m_cyBottomBorder;
  size.cy = height > m_nMinHeight ? height : m_nMinHeight;
  return size;
}

// Panes are indicators, not commands: one without a handler stays enabled.
void CStatusBar::OnUpdateCmdUI(CFrameWnd *target, BOOL) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = m_panes[i].id;
    if (state.m_nID == ID_SEPARATOR) continue;
    state.DoUpdate(target, FALSE);
  }
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (message != WM_DRAWITEM) return CControlBar::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result != nullptr) *result = TRUE;
  return TRUE;
}

void CStatusBar::OnSize(UINT type, int cx, int cy) {
  CControlBar::OnSize(type, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  m_nMinHeight = static_cast<int>(wParam);
  return Default();
}

// A new font changes every pane's text width.
LRESULT CStatusBar::OnSetFont(WPARAM, LPARAM) {
  LRESULT result = Default();
  for (Pane &pane : m_panes) {
    if (pane.id != ID_SEPARATOR) pane.cxText = TextWidth(pane.text);
  }
  UpdateAllPanes(TRUE, FALSE);
  return result;
}

// The window text of the bar is the text of its first (message) pane.
LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  if (m_panes.empty()) return FALSE;
  return SetPaneText(0, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int room = static_cast<int>(wParam);
  auto *buffer = reinterpret_cast<LPTSTR>(lParam);
  if (room <= 0 || buffer == nullptr) return 0;
  CString text = GetPaneText(0);
  int length = text.GetLength() < room - 1 ? text.GetLength() : room - 1;
  wmemcpy(buffer, text, length);
  buffer[length] = 0;
  return length;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  return GetPaneText(0).GetLength();
}
