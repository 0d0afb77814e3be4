// First page of the search wizard: which kind of search to run (fast,
// advanced, physical disk scan), with a description of the chosen kind.
#pragma once

#include "WizardPage.h"
#include "XTButton.h"

#include <vector>

enum class SearchKindChoice { Fast = 0, Advanced = 1, PhysicalDisk = 2 };

// The kind the application's three flags name (fast when none is set).
SearchKindChoice CurrentSearchKind(const int (&searchKind)[3]);
// The string ids of a kind's description lines; 0 stands for a line
// holding one blank.
const std::vector<UINT> &SearchKindDescription(SearchKindChoice kind);

class CSelSearchTypeDlg : public CWizardPage {
public:
  CSelSearchTypeDlg();

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  afx_msg void OnFastFileSearch();
  afx_msg void OnAdvancedFileSearch();
  afx_msg void OnPhysicalDiskScan();
  afx_msg void OnPaint();

  CXTButton &KindButton(SearchKindChoice kind);
  DWORD ButtonStyle() const { return m_buttonStyle; }

protected:
  void DoDataExchange(CDataExchange *pDX) override;
  bool ShowsHandOver(UINT controlId) const override;

private:
  // The chosen kind's button drawn pressed in, the other two out.
  void ShowChosen(SearchKindChoice kind);
  // The 40 by 40 pictures of bitmap 135 (green is clear), one per kind.
  void SetButtonIcons();
  // The style word on all three buttons.
  void ApplyButtonStyle();
  void ChooseKind(SearchKindChoice kind);
  void FillDescription(SearchKindChoice kind);
  // The tip of the day after start-up, on this page's first paint.
  void CheckStartupTip();

  DWORD m_buttonStyle = xtButtonSemiFlat;
  bool m_visualStyleOption = false; // the visual style's own push buttons
  bool m_framedOption = true;       // the shared Office theme's framed look
  bool m_focusOption = true;
  CXTButton m_physicalButton; // 1006
  CXTButton m_advancedButton; // 1005
  CXTButton m_fastButton;     // 1003

  DECLARE_MESSAGE_MAP()
};
