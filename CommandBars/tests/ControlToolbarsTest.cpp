// View > Toolbars: the listed toolbars (only the closeable ones that want a
// place in the menu), their checks, items replaced rather than added again at
// each layout, the control shown as itself in customise mode, an item showing
// and hiding its bar, and the menu caption rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControlToolbars.h"
#include "XTPPopupBar.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

struct Fixture {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPPopupBar *pMenu = nullptr;
  CXTPControl *pList = nullptr;

  Fixture() {
    const struct {
      LPCTSTR lpszTitle;
      BOOL bCloseable;
      BOOL bListed;
      BOOL bVisible;
    } kBars[] = {
        {L"Standard", TRUE, TRUE, TRUE},
        {L"Not closeable", FALSE, TRUE, TRUE},
        {L"Not listed", TRUE, FALSE, TRUE},
        {L"Find && Replace", TRUE, TRUE, FALSE},
    };
    for (const auto &b : kBars) {
      CXTPToolBar *pBar = new CXTPToolBar;
      pBar->SetTitle(b.lpszTitle);
      pBar->SetCloseable(b.bCloseable);
      pBar->SetContextMenuPresent(b.bListed);
      pCommandBars->AddBar(pBar);
      pBar->InternalRelease();
      pBar->CreateFloatingWindow(nullptr, TRUE);
      pBar->SetVisible(b.bVisible);
    }
    pMenu = CXTPPopupBar::CreatePopupBar(pCommandBars);
    pMenu->GetControls()->Add(xtpControlButton, 100)->SetCaption(L"Before");
    pList = pMenu->GetControls()->Add(new CXTPControlToolbars, XTP_ID_TOOLBARLIST);
    pMenu->GetControls()->Add(xtpControlButton, 101)->SetCaption(L"After");
  }
  ~Fixture() {
    pMenu->InternalRelease();
    pCommandBars->InternalRelease();
  }
  void Layout() { pList->OnCalcDynamicSize(0); }
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> v;
    for (int i = 0; i < pMenu->GetControlCount(); i++) {
      CXTPControl *p = pMenu->GetControl(i);
      if (p->GetHideFlags() & xtpHideGeneric) continue;
      v.push_back(std::wstring(static_cast<LPCTSTR>(p->GetCaption())) + (p->GetChecked() ? L"*" : L""));
    }
    return v;
  }
};

TEST(ControlToolbars, ListsCloseableListedToolbarsWithTheirChecks) {
  Fixture f;
  f.Layout();
  const std::vector<std::wstring> expected = {L"Before", L"Standard*", L"Find &&&& Replace", L"After"};
  EXPECT_EQ(expected, f.Captions());
  EXPECT_EQ(0, f.pMenu->GetControl(2)->GetTag());
  EXPECT_EQ(3, f.pMenu->GetControl(3)->GetTag());
  // Laid out again: the items are replaced, not added a second time.
  f.Layout();
  f.Layout();
  EXPECT_EQ(expected, f.Captions());
}

TEST(ControlToolbars, AnItemShowsAndHidesItsBar) {
  Fixture f;
  f.Layout();
  f.pMenu->GetControl(2)->OnExecute(); // "Standard"
  EXPECT_FALSE(f.pCommandBars->GetAt(0)->IsVisible());
  f.Layout();
  f.pMenu->GetControl(3)->OnExecute(); // the hidden one
  EXPECT_TRUE(f.pCommandBars->GetAt(3)->IsVisible());
  f.Layout();
  const std::vector<std::wstring> expected = {L"Before", L"Standard", L"Find &&&& Replace*", L"After"};
  EXPECT_EQ(expected, f.Captions());
}

TEST(ControlToolbars, CustomiseModeShowsTheControlItself) {
  Fixture f;
  f.Layout();
  f.pCommandBars->SetCustomizeMode(TRUE);
  f.Layout();
  EXPECT_EQ(3, f.pMenu->GetControlCount());
  EXPECT_EQ(0u, f.pList->GetHideFlags() & xtpHideGeneric);
  f.pCommandBars->SetCustomizeMode(FALSE);
}

// A menu's View > Toolbars item becomes the list, whether it comes from a
// menu or is added by id; other ids stay plain buttons.
TEST(ControlToolbars, MenuItemOfTheToolbarListIdBecomesTheList) {
  Fixture f;
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuW(hMenu, MF_STRING, XTP_ID_TOOLBARLIST, L"&Toolbar");
  ::AppendMenuW(hMenu, MF_STRING, 102, L"&Other");
  CXTPPopupBar *pBar = CXTPPopupBar::CreatePopupBar(f.pCommandBars);
  CMenu menu;
  menu.Attach(hMenu);
  ASSERT_TRUE(pBar->LoadMenu(&menu));
  ASSERT_EQ(2, pBar->GetControlCount());
  EXPECT_TRUE(pBar->GetControl(0)->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  EXPECT_FALSE(pBar->GetControl(1)->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  CXTPControl *pAdded = pBar->GetControls()->Add(xtpControlButton, XTP_ID_TOOLBARLIST);
  EXPECT_TRUE(pAdded->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  // Laid out, the list stands in for the listed bars.
  pBar->GetControl(0)->OnCalcDynamicSize(0);
  EXPECT_EQ(CString(L"Standard"), pBar->GetControl(1)->GetCaption());
  pBar->InternalRelease();
}

TEST(ControlToolbars, MenuCaptionRule) {
  const struct {
    int n;
    LPCTSTR lpszText;
    LPCTSTR lpszCaption;
  } kCases[] = {
      {0, L"A&B", L"A&&B"},     {1, L"Doc", L"&1 Doc"},  {9, L"Doc", L"&9 Doc"},
      {10, L"Doc", L"1&0 Doc"}, {11, L"Doc", L"11 Doc"},
  };
  for (const auto &c : kCases)
    EXPECT_STREQ(c.lpszCaption, CXTPControlToolbars::MenuCaption(c.n, c.lpszText)) << c.n;
}

} // namespace
