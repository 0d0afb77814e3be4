// CXTPControlToolbars: the View > Toolbars entry of a menu. It hides itself
// and, each time its bar is laid out, stands in for one checked item per
// toolbar that wants to be listed; choosing an item shows or hides that bar.
#pragma once

#include "XTPControlButton.h"

#define XTP_ID_TOOLBARLIST 59392

class CXTPCommandBars;

class CXTPControlToolbars : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlToolbars)
public:
  // The items' parameter text, by which earlier items are recognised.
  static constexpr LPCTSTR kItemParameter = L"CXTPControlToolbar";

  CXTPControlToolbars();
  void OnCalcDynamicSize(DWORD dwMode) override;

  // Shows a hidden bar, hides a shown one (the bar at an index of the
  // command bars); FALSE when there is none.
  static BOOL ToggleVisible(CXTPCommandBars *pCommandBars, int nIndex);
  // A menu item's caption: "&" doubled, numbered from 1 with its mnemonic.
  static CString MenuCaption(int n, const CString &strText);
};

// One listed toolbar: its tag is the bar's index in the command bars.
class CXTPControlToolbarsItem : public CXTPControlButton {
  DECLARE_DYNCREATE(CXTPControlToolbarsItem)
public:
  void OnExecute() override;
};
