// Control list: the layout engine by tables of widths and controls, keyboard
// order including stale starts, building from menus (states, groups, the
// loaded menu freed, the site's blocks carrying pointers), copies and the
// customisation check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlComboBox.h"
#include "XTPControlExt.h"
#include "XTPControlPopup.h"
#include "XTPControlToolbars.h"
#include "XTPPopupBar.h"

using namespace cbtest;

namespace {

typedef CXTPControlsLayout::Records Records;

// Records from a compact description: 'b' a 23 x 22 button, 'w' a 40 x 22
// one, 'B' / 'W' the same starting a group, '-' a hidden one, 'r' a
// right-aligned button, 's' a stretched one.
Records Make(const char *lpszSpec) {
  Records records;
  for (const char *p = lpszSpec; *p; p++) {
    XTP_LAYOUT_RECORD r;
    r.szControl = (*p == 'w' || *p == 'W') ? CSize(40, 22) : CSize(23, 22);
    r.bBeginGroup = *p == 'B' || *p == 'W';
    r.bVisible = *p != '-';
    r.dwFlags = *p == 'r' ? 0x01 : *p == 's' ? 0x20 : 0;
    records.push_back(r);
  }
  return records;
}

// The rows as a string: each control's row number, '.' for not placed.
std::string Rows(const Records &records) {
  std::string rows;
  int nRow = 0;
  bool bFirst = true;
  for (const XTP_LAYOUT_RECORD &r : records) {
    if (!r.bVisible || r.bHide) {
      rows += '.';
      continue;
    }
    if (r.bWrap && !bFirst) nRow++;
    bFirst = false;
    rows += static_cast<char>('0' + nRow);
  }
  return rows;
}

TEST(ControlsLayout, WrappingTable) {
  const struct {
    const char *spec;
    int nWidth;
    DWORD dwMode;
    const char *rows;
    int nRows;
  } kCases[] = {
      {"bbbbb", 60, 0, "00112", 3}, // two 23-pixel buttons fit in 60
      {"bbbbb", 200, 0, "00000", 1},
      {"bbBbb", 80, 0, "00111", 2},           // the break moves to the group start
      {"bbbBb", 80, 0, "00011", 2},           // 23+23+23 fits, the group's gap does not
      {"bbbbb", 60, LM_HIDEWRAP, "00...", 0}, // hidden instead of wrapped
      {"bBbBb", 1000, LM_POPUP, "01122", 3},  // popups break at every group
      {"w", 10, 0, "0", 1},                   // the first control always fits
  };
  for (const auto &c : kCases) {
    Records records = Make(c.spec);
    DWORD dwMode = c.dwMode;
    int nRows = CXTPControlsLayout::WrapRecords(records, c.nWidth, dwMode, FALSE);
    CXTPControlsLayout::MeasureRecords(records, FALSE);
    EXPECT_EQ(Rows(records), c.rows) << c.spec << " at " << c.nWidth;
    EXPECT_EQ(nRows, c.nRows) << c.spec << " at " << c.nWidth;
  }
  // A control hidden by its flags takes no room.
  Records records = Make("b-bbb");
  DWORD dwMode = 0;
  EXPECT_EQ(CXTPControlsLayout::WrapRecords(records, 50, dwMode, FALSE), 2);
  EXPECT_EQ(Rows(records), "0.011");
}

TEST(ControlsLayout, DockedRowsWithMarginsAndCentring) {
  // Three rows of five 23-pixel buttons docked at the top in 60 pixels.
  Records records = Make("bbbbb");
  records[1].szControl.cy = 26; // a taller control sets its row's height
  CSize sz = CXTPControlsLayout::Calculate(records, 60 + 4, LM_HORZDOCK | LM_COMMIT, CRect(2, 2, 2, 2), 0, 0);
  EXPECT_EQ(Rows(records), "00112");
  EXPECT_EQ(sz, CSize(46 + 4, 26 + 22 + 22 + 4));
  EXPECT_EQ(records[0].rcControl, CRect(2, 4, 25, 26)) << "centred in the taller row";
  EXPECT_EQ(records[1].rcControl, CRect(25, 2, 48, 28));
  EXPECT_EQ(records[2].rcControl, CRect(2, 28, 25, 50));
  EXPECT_EQ(records[4].rcControl, CRect(2, 50, 25, 72));
  EXPECT_EQ(records[2].rcRow, CRect(2, 28, 48, 50));
}

TEST(ControlsLayout, GroupGapsInRowsAndBetweenRows) {
  Records records = Make("bBbB");
  CSize sz = CXTPControlsLayout::Calculate(records, 200, LM_HORZDOCK, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(sz, CSize(4 * 23 + 2 * 6, 22));
  EXPECT_EQ(records[1].rcControl.left, 23 + 6);

  records = Make("bbB");
  sz = CXTPControlsLayout::Calculate(records, 50, LM_HORZDOCK, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(Rows(records), "001");
  EXPECT_EQ(records[2].rcControl.top, 22 + 6) << "a group that starts a row leaves a gap above it";
  EXPECT_EQ(sz.cy, 22 + 6 + 22);
}

TEST(ControlsLayout, HiddenControlsForTheChevron) {
  Records records = Make("bbbbb");
  CSize sz = CXTPControlsLayout::Calculate(records, 80, LM_HORZDOCK | LM_HIDEWRAP | LM_COMMIT,
                                           CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(Rows(records), "000..");
  EXPECT_TRUE(records[3].bHide && records[4].bHide);
  EXPECT_EQ(sz, CSize(69, 22));
}

TEST(ControlsLayout, VerticalDockMakesColumns) {
  Records records = Make("bbbb");
  CSize sz = CXTPControlsLayout::Calculate(records, 50, LM_VERTDOCK | LM_COMMIT, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(Rows(records), "0011");
  EXPECT_EQ(sz, CSize(46, 44));
  // The first column is on the right.
  EXPECT_EQ(records[0].rcControl, CRect(23, 0, 46, 22));
  EXPECT_EQ(records[1].rcControl, CRect(23, 22, 46, 44));
  EXPECT_EQ(records[2].rcControl, CRect(0, 0, 23, 22));
}

TEST(ControlsLayout, NoVisibleControlTakesTheMinimum) {
  Records records = Make("--");
  EXPECT_EQ(CXTPControlsLayout::Calculate(records, 100, LM_HORZDOCK, CRect(1, 2, 3, 4), 40, 0),
            CSize(27, 40));
  EXPECT_EQ(CXTPControlsLayout::Calculate(records, 100, 0, CRect(1, 2, 3, 4), 40, 0), CSize(40, 28));
  Records none;
  EXPECT_EQ(CXTPControlsLayout::Calculate(none, 100, 0, CRect(0, 0, 0, 0), 0, 0), CSize(23, 22));
}

TEST(ControlsLayout, MinimumStretchRightAlignAndStretched) {
  Records records = Make("bb");
  // The minimum is a height when docked horizontally, else a width.
  EXPECT_EQ(CXTPControlsLayout::Calculate(records, 300, LM_HORZDOCK, CRect(0, 0, 0, 0), 100, 0),
            CSize(46, 100));
  EXPECT_EQ(CXTPControlsLayout::Calculate(records, 300, LM_VERTDOCK, CRect(0, 0, 0, 0), 100, 0),
            CSize(100, 44));
  EXPECT_EQ(CXTPControlsLayout::Calculate(records, 300, LM_HORZDOCK | LM_STRETCH, CRect(0, 0, 0, 0), 0, 0).cx,
            300);

  records = Make("bbr");
  CXTPControlsLayout::Calculate(records, 200, LM_HORZDOCK | LM_STRETCH | LM_COMMIT, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(records[2].rcControl, CRect(177, 0, 200, 22)) << "flush with the far edge";
  EXPECT_EQ(records[1].rcControl.left, 23);

  records = Make("bsbs");
  CXTPControlsLayout::Calculate(records, 201, LM_HORZDOCK | LM_STRETCH | LM_COMMIT, CRect(0, 0, 0, 0), 0, 0);
  // 201 - 92 = 109 free: 54 to the first stretched control, 55 to the last.
  EXPECT_EQ(records[1].rcControl, CRect(23, 0, 23 + 23 + 54, 22));
  EXPECT_EQ(records[2].rcControl.left, 23 + 23 + 54);
  EXPECT_EQ(records[3].rcControl.right, 201);
}

TEST(ControlsLayout, PopupShapesAreBalanced) {
  // Twelve items without groups would make one tall column; with no width
  // remembered the shape is balanced towards a square.
  Records records = Make("bbbbbbbbbbbb");
  CSize sz = CXTPControlsLayout::Calculate(records, 0, LM_POPUP, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_LE(sz.cy, 2 * sz.cx) << sz.cx << " x " << sz.cy;
  EXPECT_GE(sz.cx, sz.cy / 2);
  // With a width remembered, that width is kept.
  records = Make("bbbbbb");
  sz = CXTPControlsLayout::Calculate(records, 0, LM_POPUP, CRect(0, 0, 0, 0), 0, 69);
  EXPECT_EQ(sz, CSize(69, 44));
}

TEST(ControlsLayout, FloatingFitsTheLength) {
  // Width 100 gives two rows of four; the narrowest width with two rows is 92.
  Records records = Make("bbbbbbbb");
  CSize sz = CXTPControlsLayout::Calculate(records, 100, 0, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(sz, CSize(92, 44));
  // A height asked for: three rows of 22.
  records = Make("bbbbbbbbb");
  sz = CXTPControlsLayout::Calculate(records, 66, LM_LENGTHY, CRect(0, 0, 0, 0), 0, 0);
  EXPECT_EQ(sz.cy, 66);
  EXPECT_EQ(sz.cx, 69);
}

// A list of three buttons on a bar without a window.
class ControlList : public ::testing::Test {
protected:
  void TearDown() override { bar.GetControls()->RemoveAll(); }
  CXTPControls *List() { return bar.GetControls(); }
  TestBar bar{xtpBarTypeNormal, xtpBarTop};
};

TEST_F(ControlList, NextIndexWalksAndWraps) {
  for (int i = 0; i < 3; i++) List()->Add(xtpControlButton, 100 + i);
  const struct {
    int nStart, nDirection, nExpected;
  } kCases[] = {
      {-1, -1, 2},
      {-1, 1, 0},
      {0, 1, 1},
      {2, 1, 0},
      {0, -1, 2},
      // A start left from before the list shrank counts as no start.
      {7, 1, 0},
      {7, -1, 2},
      {-5, 1, 0},
      {3, 1, 0},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(List()->GetNextIndex(c.nStart, c.nDirection), c.nExpected) << c.nStart << " " << c.nDirection;

  // Keyboard order skips what it cannot focus.
  List()->GetAt(1)->SetFlags(xtpFlagSkipFocus);
  EXPECT_EQ(List()->GetNextIndex(0, 1, TRUE), 2);
  EXPECT_EQ(List()->GetNextIndex(0, 1, FALSE), 1);
  List()->GetAt(1)->SetFlags(0);
  List()->GetAt(1)->SetHideFlag(xtpHideScroll, TRUE);
  EXPECT_EQ(List()->GetNextIndex(0, 1), 1) << "scrolled-out controls are still walked";
  List()->GetAt(1)->SetHideFlags(xtpHideExpand);
  EXPECT_EQ(List()->GetNextIndex(0, 1, TRUE, FALSE, TRUE), 2);
  EXPECT_EQ(List()->GetNextIndex(0, 1, TRUE, FALSE, FALSE), 1);
  List()->GetAt(1)->SetHideFlags(0);
  List()->GetAt(2)->SetTemporary(TRUE);
  EXPECT_EQ(List()->GetNextIndex(1, 1, TRUE, TRUE), 0);
}

TEST_F(ControlList, NextIndexWithNothingToFocusEnds) {
  EXPECT_EQ(List()->GetNextIndex(-1, 1), -1) << "empty list";
  for (int i = 0; i < 3; i++) List()->Add(xtpControlButton, 100 + i)->SetHideFlag(xtpHideGeneric, TRUE);
  EXPECT_EQ(List()->GetNextIndex(-1, 1), -1);
  EXPECT_EQ(List()->GetNextIndex(-1, -1), -1);
  EXPECT_EQ(List()->GetNextIndex(1, 1), 1) << "back at the start";
  EXPECT_EQ(List()->GetNextIndex(9, 1), -1) << "a stale start neither loops nor overruns";
  EXPECT_EQ(List()->GetNextIndex(-9, -1), -1);
}

TEST_F(ControlList, AddInsertRemoveAndFind) {
  CXTPControl *a = List()->Add(xtpControlButton, 1);
  CXTPControl *c = List()->Add(xtpControlButton, 3);
  CXTPControl *b = List()->Add(xtpControlButton, 2, L"param", 1, TRUE);
  ASSERT_EQ(List()->GetCount(), 3);
  EXPECT_EQ(List()->GetAt(1), b);
  EXPECT_EQ(b->GetIndex(), 1);
  EXPECT_EQ(c->GetIndex(), 2);
  EXPECT_EQ(b->GetParent(), &bar);
  EXPECT_TRUE(b->GetTemporary());
  EXPECT_EQ(std::wstring(b->GetParameter()), L"param");
  EXPECT_EQ(List()->GetAt(3), nullptr);
  EXPECT_EQ(List()->GetAt(-1), nullptr);
  CXTPControl *pWalk = List()->GetFirst();
  List()->GetNext(pWalk);
  EXPECT_EQ(pWalk, b);

  EXPECT_EQ(List()->FindControl(3), c);
  EXPECT_EQ(List()->FindControl(xtpControlButton, -1, FALSE, FALSE), a);
  c->SetHideFlag(xtpHideGeneric, TRUE);
  EXPECT_EQ(List()->FindControl(xtpControlButton, 3, TRUE, FALSE), nullptr);
  a->SetRect(CRect(0, 0, 23, 22));
  EXPECT_EQ(List()->HitTest(CPoint(5, 5)), a);
  EXPECT_EQ(List()->HitTest(CPoint(50, 5)), nullptr);
  EXPECT_EQ(List()->GetVisibleCount(), 2);

  bar.SetSelected(1);
  List()->Remove(b);
  EXPECT_EQ(bar.GetSelectedIndex(), -1) << "removing the selected control clears the selection";
  EXPECT_EQ(c->GetIndex(), 1);
  List()->RemoveAt(0);
  EXPECT_EQ(List()->GetCount(), 1);
}

TEST_F(ControlList, AddMakesEachType) {
  const struct {
    XTPControlType type;
    CRuntimeClass *pClass;
    XTPControlType made; // the type of the control made
  } kCases[] = {
      {xtpControlButton, RUNTIME_CLASS(CXTPControlButton), xtpControlButton},
      {xtpControlPopup, RUNTIME_CLASS(CXTPControlPopup), xtpControlPopup},
      {xtpControlButtonPopup, RUNTIME_CLASS(CXTPControlPopup), xtpControlButtonPopup},
      {xtpControlComboBox, RUNTIME_CLASS(CXTPControlComboBox), xtpControlComboBox},
      {xtpControlEdit, RUNTIME_CLASS(CXTPControlEdit), xtpControlEdit},
      {xtpControlCustom, RUNTIME_CLASS(CXTPControlCustom), xtpControlButton},
      {xtpControlLabel, RUNTIME_CLASS(CXTPControlLabel), xtpControlLabel},
  };
  for (const auto &c : kCases) {
    CXTPControl *pControl = List()->Add(c.type, 0);
    ASSERT_NE(pControl, nullptr);
    EXPECT_EQ(pControl->GetRuntimeClass(), c.pClass) << c.type;
    EXPECT_EQ(pControl->GetType(), c.made) << c.type;
  }
  auto *pPopup = static_cast<CXTPControlPopup *>(List()->GetAt(1));
  ASSERT_NE(pPopup->GetCommandBar(), nullptr);
  EXPECT_TRUE(pPopup->GetCommandBar()->IsPopupBar());
}

TEST_F(ControlList, TheRunTimeListsComeFromTheirIds) {
  // Add and a menu item make the special list controls of their ids, not
  // plain buttons; each list expands into the current entries later.
  const struct {
    int nId;
    LPCTSTR lpszMenuText;
    CRuntimeClass *pByAdd;  // made by Add
    CRuntimeClass *pByMenu; // made from a menu item with the text
  } kCases[] = {
      {35000, L"&Windows", RUNTIME_CLASS(CXTPControlWindowList), RUNTIME_CLASS(CXTPControlWindowList)},
      {35002, L"Tab groups", RUNTIME_CLASS(CXTPControlWorkspaceActions), RUNTIME_CLASS(CXTPControlWorkspaceActions)},
      {35003, L"Recent", RUNTIME_CLASS(CXTPControlRecentFileList), RUNTIME_CLASS(CXTPControlButton)},
      {57616, L"Recent File", RUNTIME_CLASS(CXTPControlButton), RUNTIME_CLASS(CXTPControlRecentFileList)},
      {57872, L"<<OLE VERBS GO HERE>>", RUNTIME_CLASS(CXTPControlButton), RUNTIME_CLASS(CXTPControlOleItems)},
      {57872, L"&Object", RUNTIME_CLASS(CXTPControlButton), RUNTIME_CLASS(CXTPControlButton)},
      {59392, L"&Toolbars", RUNTIME_CLASS(CXTPControlToolbars), RUNTIME_CLASS(CXTPControlToolbars)},
      {101, L"&New", RUNTIME_CLASS(CXTPControlButton), RUNTIME_CLASS(CXTPControlButton)},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << c.nId << " " << testing::PrintToString(std::wstring(c.lpszMenuText)));
    CXTPControl *pAdded = List()->Add(xtpControlButton, c.nId);
    EXPECT_EQ(pAdded->GetRuntimeClass(), c.pByAdd);
    EXPECT_EQ(pAdded->GetID(), c.nId);
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, static_cast<UINT_PTR>(c.nId), c.lpszMenuText);
    CXTPControl *pItem = List()->AddMenuItem(hMenu, 0);
    ::DestroyMenu(hMenu);
    ASSERT_NE(pItem, nullptr);
    EXPECT_EQ(pItem->GetRuntimeClass(), c.pByMenu);
    EXPECT_EQ(pItem->GetID(), c.nId);
    EXPECT_EQ(pItem->GetType(), xtpControlButton);
  }
}

HMENU BuildMenu() {
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuW(hMenu, MF_STRING, 101, L"&New\tCtrl+N");
  ::AppendMenuW(hMenu, MF_STRING | MF_CHECKED, 102, L"&Wrap");
  ::AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(hMenu, MF_STRING | MF_GRAYED, 103, L"&Paste");
  HMENU hSub = ::CreatePopupMenu();
  ::AppendMenuW(hSub, MF_STRING, 201, L"One");
  ::AppendMenuW(hSub, MF_STRING, 202, L"Two");
  ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), L"&Recent && Old");
  ::AppendMenuW(hMenu, MF_STRING, 0xFF00, L"Nothing");
  ::SetMenuDefaultItem(hMenu, 0, TRUE);
  return hMenu;
}

TEST_F(ControlList, LoadMenuKeepsStatesGroupsAndSubMenus) {
  HMENU hMenu = BuildMenu();
  ASSERT_TRUE(List()->LoadMenu(hMenu));
  ::DestroyMenu(hMenu);
  ASSERT_EQ(List()->GetCount(), 4) << "the 0xFF00 item makes no control";
  CXTPControl *pNew = List()->GetAt(0);
  EXPECT_EQ(pNew->GetID(), 101);
  EXPECT_EQ(std::wstring(pNew->GetCaption()), L"&New");
  EXPECT_EQ(std::wstring(pNew->GetKeyBindingText()), L"Ctrl+N");
  EXPECT_TRUE(pNew->GetDefaultItem());
  EXPECT_TRUE(List()->GetAt(1)->GetChecked());
  EXPECT_FALSE(List()->GetAt(1)->GetBeginGroup());
  CXTPControl *pPaste = List()->GetAt(2);
  EXPECT_TRUE(pPaste->GetBeginGroup()) << "the item after the separator starts a group";
  EXPECT_FALSE(pPaste->GetEnabled());
  CXTPControl *pRecent = List()->GetAt(3);
  EXPECT_EQ(pRecent->GetType(), xtpControlPopup);
  ASSERT_NE(pRecent->GetCommandBar(), nullptr);
  EXPECT_EQ(std::wstring(pRecent->GetCommandBar()->GetTitle()), L"Recent & Old");
  ASSERT_EQ(pRecent->GetCommandBar()->GetControls()->GetCount(), 2);
  EXPECT_EQ(pRecent->GetCommandBar()->GetControls()->GetAt(1)->GetID(), 202);
  EXPECT_EQ(List()->FindControl(xtpControlButton, 202, FALSE, TRUE),
            pRecent->GetCommandBar()->GetControls()->GetAt(1));
  EXPECT_EQ(List()->FindControl(xtpControlButton, 202, FALSE, FALSE), nullptr);
}

// The menu resource a popup is built from, watched: the list must free it.
std::vector<HMENU> g_loaded;
HMENU LoadWatched(UINT) {
  HMENU hBar = ::CreateMenu();
  ::AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu()), L"&Edit");
  g_loaded.push_back(hBar);
  return hBar;
}

TEST_F(ControlList, MenuLoadedForAPopupIsFreed) {
  g_loaded.clear();
  CXTPControls::SetMenuLoader(&LoadWatched);
  CXTPControl *pPopup = List()->Add(xtpControlPopup, 4000);
  CXTPControls::SetMenuLoader(nullptr);
  ASSERT_EQ(g_loaded.size(), 1u);
  EXPECT_FALSE(::IsMenu(g_loaded[0]));
  EXPECT_EQ(std::wstring(pPopup->GetCaption()), L"&Edit");
  EXPECT_EQ(pPopup->GetID(), 0) << "a plain popup keeps no id";
  EXPECT_EQ(pPopup->GetCommandBar()->GetControls()->GetCount(), 4);

  g_loaded.clear();
  CXTPControls::SetMenuLoader(&LoadWatched);
  CXTPControl *pSplit = List()->Add(xtpControlSplitButtonPopup, 4001);
  CXTPControls::SetMenuLoader(nullptr);
  EXPECT_FALSE(::IsMenu(g_loaded[0]));
  EXPECT_EQ(pSplit->GetID(), 4001);
}

// The site's blocks carry pointers whole: a popup bar the site makes for
// the control, and a control it makes for a menu item, are the ones used.
TEST_F(ControlList, SiteSuppliesBarsAndControlsThroughItsBlocks) {
  MessageSite site;
  CWnd siteWnd;
  siteWnd.Attach(site.GetHwnd());
  CXTPCommandBars commandBars;
  commandBars.SetSite(&siteWnd);
  bar.SetCommandBars(&commandBars);

  CXTPPopupBar *pOwnBar = CXTPPopupBar::CreatePopupBar(&commandBars);
  CXTPControl *pOwnControl = new CXTPControlButton;
  site.answer = [&](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
    if (message == WM_XTP_CREATECOMMANDBAR) {
      auto *cs = reinterpret_cast<XTP_COMMANDBARS_CREATEBAR *>(lParam);
      EXPECT_TRUE(cs->bPopup);
      cs->pCommandBar = pOwnBar;
      return 1;
    }
    if (message == WM_XTP_BEFORECREATECONTROL) {
      auto *cs = reinterpret_cast<XTP_COMMANDBARS_CREATECONTROL *>(lParam);
      if (cs->nID == 102) {
        cs->pControl = pOwnControl;
        cs->strCaption = L"Mine";
        return 1;
      }
    }
    return 0;
  };
  HMENU hMenu = BuildMenu();
  List()->LoadMenu(hMenu);
  ::DestroyMenu(hMenu);
  EXPECT_EQ(List()->GetAt(1), pOwnControl);
  EXPECT_EQ(std::wstring(pOwnControl->GetCaption()), L"Mine");
  EXPECT_EQ(List()->GetAt(3)->GetCommandBar(), pOwnBar);
  int nAfter = 0;
  for (const auto &e : site.log) nAfter += e.message == WM_XTP_AFTERCREATECONTROL;
  EXPECT_EQ(nAfter, 4 + 2) << "the sub-menu's items too";
  pOwnBar->InternalRelease();
  List()->RemoveAll();
  siteWnd.Detach();
}

TEST_F(ControlList, OriginalCopyDetectsCustomisation) {
  List()->Add(xtpControlButton, 1);
  List()->Add(xtpControlPopup, 0)->GetCommandBar()->GetControls()->Add(xtpControlButton, 5);
  EXPECT_TRUE(List()->IsChanged()) << "no original yet";
  List()->CreateOriginalControls();
  EXPECT_FALSE(List()->IsChanged());
  List()->Add(xtpControlButton, 2, nullptr, -1, TRUE);
  EXPECT_FALSE(List()->IsChanged()) << "temporary controls do not count";
  List()->GetAt(0)->SetChecked(TRUE);
  EXPECT_FALSE(List()->IsChanged());
  List()->GetAt(0)->SetCaption(L"Renamed");
  EXPECT_TRUE(List()->IsChanged());

  CXTPControls *pCopy = List()->Duplicate(TRUE);
  EXPECT_EQ(pCopy->GetCount(), 2) << "no temporary control in the copy";
  EXPECT_TRUE(pCopy->Compare(List()));
  ASSERT_NE(pCopy->GetOriginalControls(), nullptr);
  EXPECT_EQ(pCopy->GetAt(1)->GetCommandBar()->GetControls()->GetCount(), 1) << "recursive copy";
  pCopy->InternalRelease();
}

TEST_F(ControlList, CalcDynamicSizeAppliesTheLayout) {
  CXTPPaintManager *pTheme = new CXTPDefaultTheme;
  bar.SetPaintManager(pTheme);
  for (int i = 0; i < 5; i++) List()->Add(xtpControlButton, 100 + i);
  HDC hDC = ::CreateCompatibleDC(nullptr);
  CDC dc;
  dc.Attach(hDC);
  CSize sz = List()->CalcDynamicSize(&dc, 80, LM_HORZDOCK | LM_HIDEWRAP | LM_COMMIT, CRect(2, 2, 2, 2));
  dc.Detach();
  ::DeleteDC(hDC);
  EXPECT_EQ(sz, CSize(69 + 4, 23 + 4));
  EXPECT_EQ(List()->GetAt(0)->GetRect(), CRect(2, 2, 25, 25));
  EXPECT_EQ(List()->GetAt(3)->GetHideFlags(), static_cast<DWORD>(xtpHideWrap));
  EXPECT_EQ(List()->GetVisibleCount(FALSE), 5);
  EXPECT_EQ(List()->GetVisibleCount(TRUE), 3);
}

} // namespace
