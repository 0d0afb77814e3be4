// CXTPToolTipContext: the tooltip settings of one owner (command bars, the
// docking-pane manager, the main frame) and the one tooltip window that
// serves the owner's windows. The owner's windows give it their mouse and
// key messages; it hit-tests the window, registers the tool under the cursor,
// relays mouse events and hides tips on clicks and keys. Tips come in four
// styles, can carry a title with an icon, and in the rich-text style show RTF
// in a read-only rich edit sized to the narrowest width that keeps its height.
#pragma once

#include "Framework.h"

#include <memory>

enum XTPToolTipStyle {
  xtpToolTipStandard = 0,
  xtpToolTipBalloon = 1,
  xtpToolTipOffice = 2, // a 3-D frame drawn over the window
  xtpToolTipRTF = 3,    // the tip text is RTF
};

// What a tool record with room for lParam points at: the description (shown
// as the tip's text under a title) and the title.
struct XTP_TOOLTIP_TITLE {
  LPWSTR lpszDescription;
  LPWSTR lpszTitle;
};

// Copies at most size - 1 characters of src and always ends dest (size 0
// writes nothing). Returns dest.
wchar_t *XTPStrCpy(wchar_t *dest, size_t size, const wchar_t *src);

class CXTPToolTipContext;

class CXTPToolTipWnd : public CToolTipCtrl {
public:
  explicit CXTPToolTipWnd(CXTPToolTipContext *pContext) : m_pContext(pContext) {}
  ~CXTPToolTipWnd() override;

  CRichEditCtrl &GetRichEdit() { return m_wndRichEdit; }
  // Lays the rich edit's text out at ever narrower widths and returns the
  // narrowest size whose height is that at the maximum tip width.
  CSize GetRichEditSize();

protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
  afx_msg void OnCustomDraw(NMHDR *pNMHDR, LRESULT *pResult);
  afx_msg void OnShow(NMHDR *pNMHDR, LRESULT *pResult);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

private:
  void ShowRichText();
  void LayOutRichEdit(int nWidth);

  CXTPToolTipContext *m_pContext;
  CRichEditCtrl m_wndRichEdit;
  CSize m_szRequested;
};

class CXTPToolTipContext : public CCmdTarget {
public:
  CXTPToolTipContext();
  ~CXTPToolTipContext() override;
  CXTPToolTipContext(const CXTPToolTipContext &) = delete;
  CXTPToolTipContext &operator=(const CXTPToolTipContext &) = delete;

  // The balloon style is refused when the common controls cannot draw it.
  void SetStyle(int nStyle);
  int GetStyle() const { return m_nStyle; }
  void SetMaxTipWidth(int nWidth);
  int GetMaxTipWidth() const { return m_nMaxTipWidth; }
  // Needs common controls 5.80; nIcon is TTM_SETTITLE's icon (1 information).
  void ShowTitle(BOOL bShow, int nIcon = 1);
  BOOL IsShowTitle() const { return m_bShowTitle; }
  int GetTitleIcon() const { return m_nTitleIcon; }
  BOOL IsBalloonSupported() const { return m_dwComCtlVersion >= 0x00050050; }
  // -1 gives the toolkit's tip colours back.
  void SetTipColors(COLORREF clrBack, COLORREF clrText);
  COLORREF GetTipBkColor() const;
  COLORREF GetTipTextColor() const;
  // (major << 16) | minor of the loaded common controls, 0 when unknown.
  static DWORD GetComCtlVersion();

  // For an owner that calls it from its own message handling.
  void FeedOwnerMessage(CWnd *pWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The same, under the name the program's frames and panes use.
  void FilterToolTipMessage(CWnd *pWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FeedOwnerMessage(pWnd, message, wParam, lParam);
  }
  // bOwner: the owner itself calls, so no walk from the message's window.
  void FilterToolTipMessage(CWnd *pWndOwner, MSG *pMsg, BOOL bOwner);

  // Makes this the tooltip filter of every window of the thread that enables
  // tooltips; the last context installed serves, and leaves when destroyed.
  void InstallModuleFilter();
  void SetModuleToolTipContext() { InstallModuleFilter(); }
  static CXTPToolTipContext *GetModuleToolTipContext();
  static void ModuleToolTipFilter(MSG *pMsg, CWnd *pWnd);

  // What an owner's OnToolHitTest calls: the window, rectangle and id of the
  // tool, a malloc'd copy of the tip text, and, when the record carries
  // lParam and both are given, copies of the description and the title.
  static void FillToolDetails(TTTOOLINFOW *pTI, HWND hWnd, const RECT &rect, UINT_PTR nID, LPCTSTR lpszTip,
                              LPCTSTR lpszTitle = nullptr, LPCTSTR lpszDescription = nullptr);

  // Streams the text into the rich edit, as RTF when it reads as RTF and as
  // plain text otherwise; returns the characters read.
  long StreamText(CRichEditCtrl &wndRichEdit, LPCTSTR lpszText);

  CXTPToolTipWnd *GetToolTip() const { return m_pToolTip.get(); }
  const TTTOOLINFOW &GetLastTool() const { return m_lastTool; }

protected:
  DWORD m_dwComCtlVersion;

private:
  CXTPToolTipWnd *EnsureToolTip(CWnd *pParentOwner);
  void DeleteToolTip();
  void RegisterTool(TTTOOLINFOW &hit, const XTP_TOOLTIP_TITLE &pair);
  void ActivateTool(const TTTOOLINFOW &hit, CWnd *pParentOwner);

  BOOL m_bShowTitle = FALSE;
  int m_nStyle = xtpToolTipStandard;
  int m_nTitleIcon = 1;
  int m_nMaxTipWidth;
  std::unique_ptr<CXTPToolTipWnd> m_pToolTip;
  TTTOOLINFOW m_lastTool = {};
  COLORREF m_clrTipBack = (COLORREF)-1;
  COLORREF m_clrTipText = (COLORREF)-1;
};
