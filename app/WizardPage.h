// What the three pages of the search wizard share: the "Show wizard on
// startup" box (1007) kept in step with "KOVA_SW", the support link with its
// hand cursor and colours, the separator line, the page font and the help
// topic of the chosen kind of search.
#pragma once

#include "Framework.h"
#include "HeaderRecord.h"

#include <vector>

class CMainFrame;
class CQuendalVarnothApp;

// The support web address every page shows and opens.
extern const wchar_t kSupportAddress[];

// The help contexts of a page for the fast search, the advanced search and
// the disk scan.
struct WizardHelpContexts {
  DWORD fast;
  DWORD advanced;
  DWORD disk;
};

class CWizardPage : public CPropertyPage {
public:
  // linkId: the page's support-link static.
  CWizardPage(UINT templateId, UINT linkId, WizardHelpContexts help);

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
  // The Finish that starts a search of the drive list's record: offers to
  // save the results it replaces (owned by the wizard, which stays disabled
  // under the offer and the save's dialogs) and posts startMessage to the
  // frame. FALSE keeps the wizard open: while this Finish is still offering
  // or saving, or an engine, loader or writer call is on the stack, a second
  // Finish would free the engine that call still uses. headers: the
  // signatures the search matches (none for a fast search).
  BOOL FinishWithSearch(int record, UINT startMessage, std::vector<HeaderRecord> headers = {});
  // Whether the hand cursor shows over this control (the link by default).
  virtual bool ShowsHandOver(UINT controlId) const { return controlId == m_linkId; }
  // The left edge and width of the separator line under the page's title.
  virtual CRect SeparatorRect() const { return CRect(196, 24, 582, 25); }

  static CQuendalVarnothApp &App();
  // The main window, when it is the program's frame.
  static CMainFrame *Frame();

  UINT m_linkId;
  WizardHelpContexts m_help;
  bool m_finishing = false;
  bool m_linkVisited = false;
  HCURSOR m_handCursor = nullptr;
  CFont m_titleFont;
  CFont m_linkFont;

  DECLARE_MESSAGE_MAP()
};
