#include <gtest/gtest.h>

#include "Menu.h"

namespace {

constexpr UINT kMenu = 300;

TEST(Menu, LoadsFromTheResourcesAndWalksItsPopups) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kMenu));
  EXPECT_TRUE(menu.IsOwned());
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  CMenu *file = menu.GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->IsOwned());
  EXPECT_EQ(file->GetMenuItemCount(), 3);
  EXPECT_EQ(file->GetMenuItemID(0), 301u);
  EXPECT_EQ(file->GetMenuItemID(1), 0u); // separator
  CMenu *view = menu.GetSubMenu(1);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetMenuItemID(3), static_cast<UINT>(-1)); // opens a popup
  EXPECT_EQ(menu.GetSubMenu(5), nullptr);

  CString text;
  EXPECT_EQ(file->GetMenuString(302, text, MF_BYCOMMAND), 5);
  EXPECT_EQ(text, CString(L"E&xit"));
  EXPECT_EQ(menu.GetMenuString(999, text, MF_BYCOMMAND), 0);
  EXPECT_TRUE(text.IsEmpty());
}

TEST(Menu, MissingResourceLeavesTheWrapperEmpty) {
  CMenu menu;
  EXPECT_FALSE(menu.LoadMenu(4321));
  EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
}

TEST(Menu, EnableAndCheckChangeTheItemState) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kMenu));
  CMenu *view = menu.GetSubMenu(1);
  ASSERT_NE(view, nullptr);

  EXPECT_EQ(view->EnableMenuItem(311, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_NE(view->GetMenuState(311, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(view->CheckMenuItem(312, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(MF_UNCHECKED));
  EXPECT_NE(view->GetMenuState(312, MF_BYCOMMAND) & MF_CHECKED, 0u);

  // Radio checks clear the rest of the range.
  EXPECT_TRUE(view->CheckMenuRadioItem(311, 313, 313, MF_BYCOMMAND));
  EXPECT_EQ(view->GetMenuState(312, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_NE(view->GetMenuState(313, MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Items inside nested popups are found by command too.
  EXPECT_NE(menu.CheckMenuItem(321, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(-1));
  EXPECT_EQ(menu.GetMenuState(9999, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(Menu, BuildsAndEditsMenus) {
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  EXPECT_TRUE(popup.AppendMenu(MF_STRING, 10, L"Ten"));
  EXPECT_TRUE(popup.AppendMenu(MF_SEPARATOR));
  EXPECT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 9, L"Nine"));
  EXPECT_EQ(popup.GetMenuItemCount(), 3);
  EXPECT_TRUE(popup.ModifyMenu(10, MF_BYCOMMAND | MF_STRING, 11, L"Eleven"));
  CString text;
  popup.GetMenuString(11, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString(L"Eleven"));
  EXPECT_TRUE(popup.DeleteMenu(2, MF_BYPOSITION));
  EXPECT_EQ(popup.GetMenuItemCount(), 2);

  // A popup moved into a bar belongs to the bar: remove it before the
  // wrapper that made it would destroy it a second time.
  CMenu bar;
  ASSERT_TRUE(bar.CreateMenu());
  ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.GetSafeHmenu()), L"Popup"));
  EXPECT_EQ(bar.GetSubMenu(0)->GetSafeHmenu(), popup.GetSafeHmenu());
  EXPECT_TRUE(bar.RemoveMenu(0, MF_BYPOSITION));
  EXPECT_TRUE(::IsMenu(popup.GetSafeHmenu()));
}

TEST(MenuOwnership, AttachedAndTemporaryMenusSurvive) {
  HMENU raw = ::CreatePopupMenu();
  {
    CMenu wrapper;
    wrapper.Attach(raw);
    EXPECT_FALSE(wrapper.IsOwned());
  }
  CMenu::FromHandle(raw)->DestroyMenu();
  CMenu::DeleteTempMap();
  EXPECT_TRUE(::IsMenu(raw));
  ::DestroyMenu(raw);

  HMENU made = nullptr;
  {
    CMenu owner;
    ASSERT_TRUE(owner.CreatePopupMenu());
    made = owner.GetSafeHmenu();
  }
  EXPECT_FALSE(::IsMenu(made));
}

} // namespace
