// What the three pages of the search wizard share: the "Show wizard on
// startup" box (1007) kept in step with "KOVA_SW", the support link with its
// hand cursor and colours, the separator line, the page font and the help
// topic of the chosen kind of search.
#pragma once

#include "Framework.h"

class CMainFrame;
class CQuendalVarnothApp;

// The support web address every page shows and opens.
extern const wchar_t kSupportAddress[];

class CWizardPage : public CPropertyPage {
public:
  // linkId: the page's support-link static; helpBase: the help context of
  // the fast search (advanced and disk scan follow it).
  CWizardPage(UINT templateId, UINT linkId, DWORD helpBase);

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnShowWizardCheck();
  afx_msg void OnSupportLink();
  afx_msg void OnWizardPageHelp();
  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
  afx_msg HBRUSH OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor);

  bool LinkVisited() const { return m_linkVisited; }

protected:
  // Check box 1007 from the application's flag.
  void ShowWizardCheckFromApp();
  // Sets the page's bold, italic, underlined Arial on a control.
  void UseTitleFont(UINT controlId);
  // Wizard buttons of the page's sheet (PSWIZB_ flags).
  void SetSheetButtons(DWORD buttons);
  // Whether the hand cursor shows over this control (the link by default).
  virtual bool ShowsHandOver(UINT controlId) const { return controlId == m_linkId; }
  // The left edge and width of the separator line under the page's title.
  virtual CRect SeparatorRect() const { return CRect(196, 24, 582, 25); }

  static CQuendalVarnothApp &App();
  // The main window, when it is the program's frame.
  static CMainFrame *Frame();

  UINT m_linkId;
  DWORD m_helpBase;
  bool m_linkVisited = false;
  HCURSOR m_handCursor = nullptr;
  CFont m_titleFont;
  CFont m_linkFont;

  DECLARE_MESSAGE_MAP()
};
