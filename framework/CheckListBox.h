// A list box whose rows carry a check box. The box of a row toggles with a
// click on it or with the space bar, and each toggle sends the parent
// WM_COMMAND with CLBN_CHKCHANGE. The list must be owner-drawn with strings
// (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); the check marks live beside the
// rows, so item data stays free for the caller.
#pragma once

#include <vector>

#include "ListBox.h"

#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif

class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)
public:
  CCheckListBox() = default;

  // 0 clear, 1 ticked; the states of rows that do not exist read as 0.
  void SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;

  // The box's rectangle inside a row's rectangle.
  static CRect CheckBoxRect(const CRect &rcItem);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Toggle(int nIndex);
  std::vector<int> m_checks;
};
