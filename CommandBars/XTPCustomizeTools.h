// CXTPCustomizeDragTool: moves or copies a control between command bars with
// the mouse, in customise mode or with Alt held. It holds the mouse capture
// and runs its own message loop: the bar under the cursor shows where the
// control would land, Ctrl switches from moving to copying, and on release
// that bar takes the control.
//
// CXTPNewToolbarDlg: names a new toolbar, or gives an existing one a new title.
#pragma once

#include <vector>

#include "Dialog.h"
#include "Framework.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPToolBar;

// What a drag did.
enum XTPDropEffect {
  // Escape, the right button, a lost capture or a quit: nothing changes.
  xtpDropCancelled = -1,
  // Released where no bar took the control: it leaves its bar.
  xtpDropNone = 0,
  xtpDropCopy = 1,
  xtpDropMove = 2,
  // Released before the mouse moved, or dropped on itself.
  xtpDropStay = 5,
};

class CXTPCustomizeDragTool {
public:
  explicit CXTPCustomizeDragTool(CXTPCommandBars *pCommandBars);
  // The bars still registered forget the tool.
  ~CXTPCustomizeDragTool();
  CXTPCustomizeDragTool(const CXTPCustomizeDragTool &) = delete;
  CXTPCustomizeDragTool &operator=(const CXTPCustomizeDragTool &) = delete;

  // One drag of the control, from a bar or (bFromList) from the customise
  // sheet's command list; the result is one of XTPDropEffect.
  int PerformDrag(CXTPControl *pControl, BOOL bFromList = FALSE);

  // Bars beyond the command bars' own that take drops (a customise sheet's
  // preview, say); the ones registered last are on top.
  // Every bar of the command bars registers when its window is made and
  // leaves when it goes.
  void Register(CXTPCommandBar *pBar);
  void Unregister(CXTPCommandBar *pBar);
  BOOL IsRegistered(const CXTPCommandBar *pBar) const;
  // The window that holds the capture: this one, else the site frame.
  HWND GetWindow() const { return m_hWndExplicit; }
  void SetWindow(HWND hWnd) { m_hWndExplicit = hWnd; }

  // The bar the control is over while dragging, and the cursor shown (the
  // resource id: 9301 copy, 9302 move, 9303 no drop).
  CXTPCommandBar *GetTarget() const { return m_pTarget; }
  UINT GetCursorId() const { return m_nCursorId; }

  // Where the loop takes its messages, so tests can feed it.
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }

private:
  int RunLoop(HWND hWndCapture);
  void TrackPoint(CPoint ptScreen);
  void UpdateCursor();
  // The bars that take drops, bottom first.
  std::vector<CXTPCommandBar *> Targets() const;

  CXTPCommandBars *m_pCommandBars;
  CXTPControl *m_pControl = nullptr;
  HWND m_hWndExplicit = nullptr;
  BOOL m_bMove = FALSE;
  BOOL m_bFromList = FALSE;
  CXTPCommandBar *m_pTarget = nullptr;
  CPoint m_ptStart;
  CPoint m_ptLast;
  std::vector<CXTPCommandBar *> m_arrTargets;
  UINT m_nCursorId = 0;
  static GetMessageFunction s_pfnGetMessage;
};

class CXTPNewToolbarDlg : public CDialog {
public:
  // The first id a new toolbar gets, and the last one there is.
  static constexpr UINT kFirstToolbarId = 0xE800;
  static constexpr UINT kLastToolbarId = 0xE8FE;

  // pToolBar null: a new toolbar; else the one to rename.
  CXTPNewToolbarDlg(CWnd *pParentWnd, CXTPCommandBars *pCommandBars, CXTPToolBar *pToolBar = nullptr);

  // The name first offered: "Custom n" with the first n no bar has.
  CString SuggestName() const;
  // Checks a name as OK does: 0 when fine (m_nNewID then set), else the
  // string id of the complaint (blank, limit reached, taken).
  UINT ValidateName(const CString &strName);

  CString m_strToolbar;
  UINT m_nNewID = 0;

protected:
  void DoDataExchange(CDataExchange *pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  CXTPToolBar *m_pToolBar;
  CXTPCommandBars *m_pCommandBars;
};
