// Combo boxes on a bar and the toolkit's edit: a text chosen from the list
// by keys (F4, arrows, Enter) or by the mouse runs the combo's command, Esc
// closes the list without it; the edit's Cut, Copy and Paste follow the
// selection and the clipboard and run from its context menu; plain edits
// unless the rich-edit switch is turned on; the combo's settings and items
// saved and loaded, its style word kept as it stands.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Archive.h"
#include "CommandBarsTestSupport.h"
#include "File.h"
#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControls.h"
#include "XTPDefaultTheme.h"
#include "XTPPropExchange.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

std::function<BOOL(MSG *)> g_feed;
BOOL FeedMessage(MSG *pMsg) {
  return g_feed(pMsg);
}

// Feeds the messages in order to the loops that take theirs through a seam;
// past the last one the loop is told the queue failed.
struct Feed {
  std::vector<std::function<MSG()>> steps;
  size_t nNext = 0;
  Feed() {
    g_feed = [this](MSG *pMsg) -> BOOL {
      if (nNext >= steps.size()) return -1;
      *pMsg = steps[nNext++]();
      return TRUE;
    };
    CXTPControlComboBoxList::SetGetMessageFunction(&FeedMessage);
    CXTPCommandBars::SetGetMessageFunction(&FeedMessage);
  }
  ~Feed() {
    CXTPControlComboBoxList::SetGetMessageFunction(nullptr);
    CXTPCommandBars::SetGetMessageFunction(nullptr);
    g_feed = nullptr;
  }
};

MSG Key(HWND hWnd, UINT vk) {
  return MSG{hWnd, WM_KEYDOWN, vk, 1, 0, {0, 0}};
}

struct ComboFixture {
  MessageSite site;
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPToolBar *pBar = new CXTPToolBar;
  CXTPControlComboBox *pCombo = nullptr;
  CXTPControlEdit *pFind = nullptr;

  ComboFixture() {
    pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    pCommandBars->AddBar(pBar);
    pBar->InternalRelease();
    pBar->SetOwnerWindow(site.GetHwnd());
    pBar->StorePosition(xtpBarFloating);
    pCombo = static_cast<CXTPControlComboBox *>(pBar->GetControls()->Add(new CXTPControlComboBox, 200));
    pCombo->SetFlags(pCombo->GetFlags() | xtpFlagManualUpdate);
    pCombo->SetDropDown(TRUE);
    for (LPCTSTR lpszText : {L"50%", L"100%", L"200%"}) pCombo->AddString(lpszText);
    pFind = static_cast<CXTPControlEdit *>(pBar->GetControls()->Add(xtpControlEdit, 201));
    pFind->SetFlags(pFind->GetFlags() | xtpFlagManualUpdate);
    pBar->CreateFloatingWindow(nullptr, TRUE);
    pBar->SetWindowPos(nullptr, 100, 100, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    pBar->SetVisible(TRUE);
    pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  }
  ~ComboFixture() { pCommandBars->InternalRelease(); }
  HWND List() const { return pCombo->GetList()->GetSafeHwnd(); }
  HWND Edit() const { return pCombo->GetEditCtrl()->GetSafeHwnd(); }
  std::vector<WPARAM> Commands() const {
    std::vector<WPARAM> v;
    for (const auto &e : site.log)
      if (e.message == WM_COMMAND) v.push_back(e.wParam);
    return v;
  }
};

TEST(ComboBox, TheDropDownHasAnEditOnItsBar) {
  ComboFixture f;
  ASSERT_NE(f.pCombo->GetEditCtrl(), nullptr);
  EXPECT_EQ(::GetParent(f.Edit()), f.pBar->GetSafeHwnd());
  EXPECT_TRUE(::IsWindowVisible(f.Edit()));
  CRect rcEdit;
  ::GetWindowRect(f.Edit(), &rcEdit);
  ::MapWindowPoints(nullptr, f.pBar->GetSafeHwnd(), reinterpret_cast<POINT *>(&rcEdit), 2);
  CRect rcInside;
  const CRect rcCombo = f.pCombo->GetRect();
  EXPECT_TRUE(rcInside.IntersectRect(&rcEdit, &rcCombo) && rcInside == rcEdit) << "inside the combo";
  f.pCombo->SetEditText(L"typed");
  EXPECT_STREQ(L"typed", f.pCombo->GetEditText());
  // Without the edit the text is kept, and comes back with a new edit.
  f.pCombo->SetDropDown(FALSE);
  EXPECT_EQ(nullptr, f.pCombo->GetEditCtrl());
  EXPECT_STREQ(L"typed", f.pCombo->GetEditText());
}

TEST(ComboBox, TakenOffItsBarItsFieldGoesButTheTypedTextStays) {
  ComboFixture f;
  HWND hEdit = f.Edit();
  ::SetWindowTextW(hEdit, L"typed in the field");
  f.pCombo->SetParent(nullptr);
  EXPECT_FALSE(::IsWindow(hEdit));
  EXPECT_EQ(nullptr, f.pCombo->GetEditCtrl());
  EXPECT_STREQ(L"typed in the field", f.pCombo->GetEditText());
  // Back on a bar the field comes back with the text.
  f.pCombo->SetParent(f.pBar);
  f.pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  ASSERT_NE(nullptr, f.pCombo->GetEditCtrl());
  wchar_t szText[64] = {};
  ::GetWindowTextW(f.Edit(), szText, 64);
  EXPECT_STREQ(L"typed in the field", szText);
}

TEST(ComboBox, FieldsFollowTheirControlsStateAndPlace) {
  ComboFixture f;
  HWND hFields[] = {f.Edit(), f.pFind->GetEditCtrl()->GetSafeHwnd()};
  CXTPControl *pControls[] = {f.pCombo, f.pFind};
  for (int i = 0; i < 2; i++) {
    SCOPED_TRACE(i);
    pControls[i]->SetEnabled(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(hFields[i])) << "a disabled control takes no typing";
    pControls[i]->SetEnabled(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(hFields[i]));
    pControls[i]->SetHideFlags(xtpHideWrap);
    EXPECT_FALSE(::IsWindowVisible(hFields[i])) << "no field left over a hidden control";
    pControls[i]->SetHideFlags(xtpNoHide);
    EXPECT_TRUE(::IsWindowVisible(hFields[i]));
  }
}

TEST(ComboBox, FieldsGivenAwayByAClosedMenuComeBackAtTheNextLayout) {
  ComboFixture f;
  // What a popup bar does with its children's windows when it closes.
  HWND hFields[] = {f.Edit(), f.pFind->GetEditCtrl()->GetSafeHwnd()};
  for (HWND hField : hFields) {
    ::ShowWindow(hField, SW_HIDE);
    ::SetParent(hField, f.site.GetHwnd());
  }
  f.pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  for (HWND hField : hFields) {
    EXPECT_EQ(f.pBar->GetSafeHwnd(), ::GetParent(hField));
    EXPECT_TRUE(::IsWindowVisible(hField));
  }
}

TEST(ComboBox, KeysChooseFromTheListAndRunTheCommand) {
  const struct {
    const char *name;
    std::vector<UINT> keys;
    int nSel;
    LPCTSTR lpszText;
    std::vector<WPARAM> commands;
  } kCases[] = {
      {"down, down, enter", {VK_DOWN, VK_DOWN, VK_RETURN}, 1, L"100%", {200}},
      {"down, tab, enter", {VK_DOWN, VK_TAB, VK_RETURN}, 0, L"50%", {200}},
      {"past the last, escape", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_ESCAPE}, 2, L"200%", {}},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    ComboFixture f;
    Feed feed;
    for (UINT vk : c.keys) feed.steps.push_back([&f, vk] { return Key(f.List(), vk); });
    // F4 in the edit drops the list down.
    ::SendMessageW(f.Edit(), WM_KEYDOWN, VK_F4, 1);
    EXPECT_EQ(c.keys.size(), feed.nNext);
    EXPECT_FALSE(::IsWindowVisible(f.List()));
    EXPECT_FALSE(f.pCombo->GetDroppedState());
    EXPECT_EQ(c.nSel, f.pCombo->GetCurSel());
    EXPECT_STREQ(c.lpszText, f.pCombo->GetEditText());
    EXPECT_EQ(c.commands, f.Commands());
  }
}

TEST(ComboBox, TheMouseChoosesFromTheListAndRunsTheCommand) {
  ComboFixture f;
  Feed feed;
  CRect rcItem;
  feed.steps = {
      // The release of the press that opened the list, over the combo.
      [&] {
        EXPECT_TRUE(::IsWindowVisible(f.List()));
        EXPECT_TRUE(f.pCombo->GetDroppedState());
        ::SendMessageW(f.List(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
        return MSG{f.List(), WM_LBUTTONUP, 0, MAKELPARAM(5, -8), 0, {0, 0}};
      },
      [&] {
        return MSG{f.List(), WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 4, rcItem.top + 2), 0, {0, 0}};
      },
      [&] {
        EXPECT_EQ(2, f.pCombo->GetList()->GetCurSel()) << "the item under the mouse is selected";
        EXPECT_TRUE(f.Commands().empty());
        return MSG{f.List(), WM_LBUTTONUP, 0, MAKELPARAM(rcItem.left + 4, rcItem.top + 2), 0, {0, 0}};
      },
  };
  f.pCombo->OnClick(FALSE, f.pCombo->GetRect().CenterPoint());
  EXPECT_EQ(3u, feed.nNext);
  EXPECT_EQ(2, f.pCombo->GetCurSel());
  EXPECT_STREQ(L"200%", f.pCombo->GetEditText());
  EXPECT_EQ(std::vector<WPARAM>{200}, f.Commands());
}

TEST(ComboBox, AKeyboardClickDropsAComboWithoutFieldDown) {
  ComboFixture f;
  f.pCombo->SetDropDown(FALSE);
  Feed feed;
  BOOL bDropped = FALSE;
  feed.steps = {[&] {
    bDropped = f.pCombo->GetDroppedState() && ::IsWindowVisible(f.List());
    return Key(f.List(), VK_ESCAPE);
  }};
  f.pCombo->OnClick(TRUE);
  EXPECT_TRUE(bDropped);
  EXPECT_TRUE(f.Commands().empty());
  // A disabled combo stays closed.
  f.pCombo->SetEnabled(FALSE);
  f.pCombo->OnClick(FALSE);
  EXPECT_EQ(1u, feed.nNext);
}

TEST(ComboBox, APressOutsideTheListClosesItWithoutTheCommand) {
  ComboFixture f;
  Feed feed;
  feed.steps = {[&] { return MSG{f.List(), WM_LBUTTONDOWN, 0, MAKELPARAM(-50, -50), 0, {0, 0}}; }};
  f.pCombo->DropDown();
  EXPECT_EQ(1u, feed.nNext);
  EXPECT_FALSE(f.pCombo->GetDroppedState());
  EXPECT_TRUE(f.Commands().empty());
}

TEST(ComboBox, ListHeightFollowsTheItemsUpToTwelve) {
  for (int nItems : {0, 5, 12, 20}) {
    SCOPED_TRACE(nItems);
    ComboFixture f;
    f.pCombo->GetList()->ResetContent();
    for (int i = 0; i < nItems; i++) f.pCombo->AddString(std::to_wstring(i).c_str());
    CRect rcList;
    Feed feed;
    feed.steps = {[&] {
      ::GetWindowRect(f.List(), &rcList);
      return Key(f.List(), VK_ESCAPE);
    }};
    f.pCombo->DropDown();
    const int nRows = std::min(12, std::max(1, nItems));
    EXPECT_EQ(nRows * f.pCombo->GetList()->GetItemHeight() + 4, rcList.Height());
    EXPECT_EQ(f.pCombo->GetWidth(), rcList.Width());
  }
}

void SetClipboardText(HWND hWnd, LPCWSTR lpszText) {
  ASSERT_TRUE(::OpenClipboard(hWnd));
  ::EmptyClipboard();
  if (lpszText) {
    const size_t nBytes = (wcslen(lpszText) + 1) * sizeof(wchar_t);
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    memcpy(::GlobalLock(hData), lpszText, nBytes);
    ::GlobalUnlock(hData);
    ::SetClipboardData(CF_UNICODETEXT, hData);
  }
  ::CloseClipboard();
}

std::wstring ClipboardText(HWND hWnd) {
  std::wstring str;
  if (!::OpenClipboard(hWnd)) return L"<busy>";
  if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
    str = static_cast<LPCWSTR>(::GlobalLock(hData));
    ::GlobalUnlock(hData);
  }
  ::CloseClipboard();
  return str;
}

TEST(Edit, CutCopyAndPasteFollowTheSelectionAndTheClipboard) {
  ComboFixture f;
  CXTPEdit *pEdit = f.pCombo->GetEditCtrl();
  pEdit->SetWindowText(L"hello world");
  SetClipboardText(f.Edit(), nullptr);
  pEdit->SetSel(3, 3);
  EXPECT_FALSE(pEdit->IsCommandEnabled(ID_EDIT_CUT));
  EXPECT_FALSE(pEdit->IsCommandEnabled(ID_EDIT_COPY));
  EXPECT_FALSE(pEdit->IsCommandEnabled(ID_EDIT_PASTE)) << "nothing on the clipboard";
  pEdit->SetSel(0, 5);
  EXPECT_TRUE(pEdit->IsCommandEnabled(ID_EDIT_CUT));
  EXPECT_TRUE(pEdit->IsCommandEnabled(ID_EDIT_COPY));
  pEdit->OnCommand(ID_EDIT_COPY, 0);
  EXPECT_EQ(L"hello", ClipboardText(f.Edit()));
  EXPECT_TRUE(pEdit->IsCommandEnabled(ID_EDIT_PASTE));
  pEdit->SetSel(11, 11);
  pEdit->OnCommand(ID_EDIT_PASTE, 0);
  EXPECT_STREQ(L"hello worldhello", f.pCombo->GetEditText());
}

// The popup the context menu tracks, found among the thread's windows.
CXTPPopupBar *FindTrackedPopup() {
  CXTPPopupBar *pFound = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto *pPopup = dynamic_cast<CXTPPopupBar *>(CWnd::FromHandlePermanent(hWnd));
        if (pPopup && ::IsWindowVisible(hWnd) && !dynamic_cast<CXTPControlComboBoxList *>(pPopup)) {
          *reinterpret_cast<CXTPPopupBar **>(lParam) = pPopup;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&pFound));
  return pFound;
}

TEST(Edit, ContextMenuOffersCutCopyPasteAndRunsTheChoice) {
  ComboFixture f;
  CXTPEdit *pEdit = f.pCombo->GetEditCtrl();
  pEdit->SetWindowText(L"abc");
  pEdit->SetSel(1, 1);
  SetClipboardText(f.Edit(), nullptr);
  std::vector<std::wstring> items;
  Feed feed;
  feed.steps = {[&] {
    CXTPPopupBar *pPopup = FindTrackedPopup();
    EXPECT_NE(pPopup, nullptr);
    if (!pPopup) return MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
      CXTPControl *p = pPopup->GetControl(i);
      items.push_back(std::to_wstring(p->GetID()) + L" " + static_cast<LPCTSTR>(p->GetCaption()) +
                      (p->GetEnabled() ? L"" : L" (off)"));
    }
    // "Cut", as the mouse would release over it.
    const CPoint pt = pPopup->GetControl(0)->GetRect().CenterPoint();
    ::SendMessageW(pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    return MSG{f.site.GetHwnd(), WM_NULL, 0, 0, 0, {0, 0}};
  }};
  // Without the focus the whole text is selected first.
  EXPECT_TRUE(pEdit->ShowContextMenu(f.pCombo, CPoint(2, 2)));
  EXPECT_EQ((std::vector<std::wstring>{L"57635 Cut", L"57634 Copy", L"57637 Paste (off)"}), items);
  EXPECT_EQ(L"abc", ClipboardText(f.Edit()));
  EXPECT_STREQ(L"", f.pCombo->GetEditText());
  EXPECT_NE(f.Edit(), ::GetFocus()) << "a cut into an edit without the focus leaves the focus";
}

TEST(EditControl, ItsFieldRunsTheCommandOnEnterAndOffersTheMenu) {
  ComboFixture f;
  ASSERT_NE(f.pFind->GetEditCtrl(), nullptr);
  HWND hField = f.pFind->GetEditCtrl()->GetSafeHwnd();
  EXPECT_EQ(f.pBar->GetSafeHwnd(), ::GetParent(hField));
  EXPECT_TRUE(::IsWindowVisible(hField));
  f.pFind->SetEditText(L"find me");
  ::SendMessageW(hField, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(std::vector<WPARAM>{201}, f.Commands());

  SetClipboardText(hField, nullptr);
  Feed feed;
  feed.steps = {[&] {
    CXTPPopupBar *pPopup = FindTrackedPopup();
    EXPECT_NE(pPopup, nullptr);
    if (!pPopup) return MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    const CPoint pt = pPopup->GetControl(1)->GetRect().CenterPoint(); // "Copy"
    ::SendMessageW(pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    return MSG{f.site.GetHwnd(), WM_NULL, 0, 0, 0, {0, 0}};
  }};
  CPoint pt(3, 3);
  ::ClientToScreen(hField, &pt);
  ::SendMessageW(hField, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hField), MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(1u, feed.nNext);
  EXPECT_EQ(L"find me", ClipboardText(hField));
}

TEST(EditControl, SettingsAreSaved) {
  CXTPControlEdit edit;
  edit.ShowLabel(TRUE);
  edit.SetWidth(140);
  edit.SetReadOnly(TRUE);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    edit.DoPropExchange(&px);
  }
  file.SeekToBegin();
  CXTPControlEdit loaded;
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  loaded.DoPropExchange(&px);
  EXPECT_TRUE(loaded.GetShowLabel());
  EXPECT_EQ(140, loaded.GetWidth());
  EXPECT_TRUE(loaded.GetReadOnly());
}

TEST(Edit, PlainUnlessTheRichEditSwitchIsOn) {
  EXPECT_FALSE(CXTPEdit::IsRichEditEnabled());
  MessageSite site;
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr));
  wchar_t szClass[32] = {};
  {
    CXTPEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 80, 20), &parent, 1));
    ::GetClassNameW(edit.GetSafeHwnd(), szClass, 32);
    EXPECT_STREQ(L"Edit", szClass);
  }
  CXTPEdit::SetRichEditEnabled(TRUE);
  {
    CXTPEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 80, 20), &parent, 1));
    ::GetClassNameW(edit.GetSafeHwnd(), szClass, 32);
    EXPECT_STREQ(CXTPRichEditLoader::Instance().GetClassName(), szClass);
  }
  CXTPEdit::SetRichEditEnabled(FALSE);
  parent.DestroyWindow();
}

TEST(Edit, RichEditLoaderFallsBackToTheOlderLibrary) {
  CXTPRichEditLoader loader("NO_SUCH_RICHED.DLL", "RICHED32.DLL");
  EXPECT_STREQ(L"RICHEDIT", loader.GetClassName());
  CXTPRichEditLoader usual;
  EXPECT_STREQ(L"RichEdit20W", usual.GetClassName());
  EXPECT_NE(nullptr, usual.GetModule());
}

// Stores the combo and loads the stored settings into a new one.
CXTPControlComboBox *RoundTrip(CXTPControlComboBox *pCombo) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    pCombo->DoPropExchange(&px);
  }
  file.SeekToBegin();
  auto *pLoaded = new CXTPControlComboBox;
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  pLoaded->DoPropExchange(&px);
  return pLoaded;
}

TEST(ComboBox, SettingsAndItemsAreSavedAndTheStyleKeptAsItStands) {
  CXTPControlComboBox combo;
  combo.SetWidth(150);
  combo.SetComboStyle(1);
  combo.SetDropDown(TRUE); // no bar: no edit window yet
  for (LPCTSTR lpszText : {L"one", L"two & three"}) combo.AddString(lpszText);
  CXTPControlComboBox *pLoaded = RoundTrip(&combo);
  EXPECT_EQ(150, pLoaded->GetWidth());
  EXPECT_EQ(1, pLoaded->GetComboStyle());
  EXPECT_TRUE(pLoaded->GetDropDown());
  ASSERT_EQ(2, pLoaded->GetCount());
  EXPECT_STREQ(L"two & three", pLoaded->GetList()->GetText(1));
  EXPECT_TRUE(pLoaded->Compare(&combo));
  pLoaded->InternalRelease();

  // A copy takes the style, the width, the text and the items.
  CXTPControlComboBox copy;
  combo.SetEditText(L"two");
  copy.Copy(&combo);
  EXPECT_EQ(1, copy.GetComboStyle());
  EXPECT_EQ(150, copy.GetWidth());
  EXPECT_STREQ(L"two", copy.GetEditText());
  EXPECT_EQ(2, copy.GetCount());
}

TEST(ComboBox, AListWithoutItsWindowSavesNoItems) {
  CXTPControlComboBox empty;
  EXPECT_EQ(nullptr, empty.GetList()->GetSafeHwnd());
  CXTPControlComboBox *pLoaded = RoundTrip(&empty);
  EXPECT_EQ(0, pLoaded->GetCount());
  EXPECT_EQ(0, pLoaded->GetComboStyle());
  pLoaded->InternalRelease();
}

} // namespace
