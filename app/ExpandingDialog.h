// A dialog that opens showing only its upper part, the part covered by an
// invisible marker control, until its expand button shows the rest. Controls
// outside the marker are disabled while they are hidden, so hidden criteria
// never take keys or focus.
#pragma once

#include "Framework.h"

class CExpandingDialog : public CDialog {
public:
  // expandedState: where the wanted state lives between openings (the
  // application's flag for the dialog); the expand button flips it. None:
  // the dialog keeps it itself. changeText: the button shows the expanded
  // text when expanded; without it expanding is for good and disables it.
  CExpandingDialog(UINT templateId, CWnd *parent, UINT markerId, UINT buttonId, UINT secondId,
                   CString collapsedText, CString expandedText, bool changeText,
                   bool *expandedState = nullptr);

  BOOL OnInitDialog() override;
  // Shows the whole dialog or its upper part; nothing when it already does.
  void Expand(bool expand);
  // Asks OnExpanding, then shows what the wanted state says.
  void ToggleExpand();
  bool IsExpanded() const { return m_expanded; }

  // Whether the dialog may change (current state given); yes by default.
  virtual BOOL OnExpanding(bool expanded);
  // After a change (new state given).
  virtual void OnExpanded(bool expanded);

protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
  CString m_collapsedText;
  CString m_expandedText;
  UINT m_markerId;
  UINT m_buttonId;
  UINT m_secondId;
  bool m_changeText;
  CSize m_fullSize;
  bool m_expanded = true;
  bool m_ownState = false;
  bool *m_wanted;
};
