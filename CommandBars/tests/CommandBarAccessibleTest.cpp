// What screen readers hear of a command bar: through WM_GETOBJECT and the
// system's accessibility library where it answers, and through the object
// itself: names without mnemonic markers and with shortcuts, roles, the
// selected control's state, places on the screen, and null out pointers
// refused.
#include <gtest/gtest.h>

#include <oleacc.h>

#include "XTPCommandBarAccessible.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"

namespace {

constexpr UINT kMenuId = 128;

VARIANT Child(long nChild, VARTYPE vt = VT_I4) {
  VARIANT var;
  ::VariantInit(&var);
  var.vt = vt;
  var.lVal = nChild;
  return var;
}

class CommandBarAccessible : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CXTPFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    CXTPCommandBars *pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pBar = pBars->Add(L"Tools", xtpBarTop);
    ASSERT_NE(pBar, nullptr);
    const struct {
      int nID;
      const wchar_t *lpszCaption;
      const wchar_t *lpszShortcut;
    } controls[] = {
        {401, L"&Open", L"Ctrl+O"}, {402, L"Save && &Close", L""}, {403, L"Plain", L""}, {404, L"A&", L""}};
    for (const auto &c : controls) {
      CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, c.nID);
      pControl->SetCaption(c.lpszCaption);
      pControl->SetShortcutText(c.lpszShortcut);
    }
    pFrame->SetWindowPos(nullptr, 30, 40, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    pAcc = pBar->GetAccessible();
  }
  void TearDown() override {
    if (pFrame) pFrame->DestroyWindow();
  }
  // The child id of the control with that command (the bar's own buttons
  // come first).
  long ChildOf(int nID) const {
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetID() == nID) return i + 1;
    return -1;
  }
  CString Name(long nChild) {
    BSTR bstr = nullptr;
    if (FAILED(pAcc->get_accName(Child(nChild), &bstr))) return L"<failed>";
    CString str(bstr);
    ::SysFreeString(bstr);
    return str;
  }

  CXTPFrameWnd *pFrame = nullptr;
  CXTPToolBar *pBar = nullptr;
  IAccessible *pAcc = nullptr;
};

TEST_F(CommandBarAccessible, NamesRolesAndStatesOfTheControls) {
  long nCount = 0;
  ASSERT_EQ(pAcc->get_accChildCount(&nCount), S_OK);
  EXPECT_EQ(nCount, pBar->GetControlCount());
  EXPECT_STREQ(Name(ChildOf(401)), L"Open\tCtrl+O");
  EXPECT_STREQ(Name(ChildOf(402)), L"Save & Close");
  EXPECT_STREQ(Name(ChildOf(403)), L"Plain");
  EXPECT_STREQ(Name(ChildOf(404)), L"A");
  EXPECT_STREQ(CXTPCommandBarAccessible::StripMnemonics(L"&&&&&"), L"&&");

  BSTR bstr = nullptr;
  EXPECT_EQ(pAcc->get_accName(Child(0), &bstr), E_INVALIDARG) << "the bar has no name of its own";
  EXPECT_EQ(pAcc->get_accName(Child(nCount + 1), &bstr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accName(Child(1, VT_I2), &bstr), E_INVALIDARG);

  const struct {
    long nChild;
    VARTYPE vt;
    HRESULT hr;
    long nRole;
  } roles[] = {{0, VT_I4, S_OK, ROLE_SYSTEM_MENUPOPUP},
               {1, VT_I4, S_OK, ROLE_SYSTEM_MENUITEM},
               {nCount + 5, VT_I4, S_OK, ROLE_SYSTEM_MENUITEM},
               {-1, VT_I4, E_INVALIDARG, 0},
               {1, VT_BSTR, E_INVALIDARG, 0}};
  for (const auto &r : roles) {
    VARIANT role = Child(99);
    EXPECT_EQ(pAcc->get_accRole(Child(r.nChild, r.vt), &role), r.hr) << r.nChild;
    if (r.hr == S_OK)
      EXPECT_EQ(role.lVal, r.nRole) << r.nChild;
    else
      EXPECT_EQ(role.vt, VT_EMPTY);
  }

  const long nSave = ChildOf(402);
  pBar->SetSelected(static_cast<int>(nSave - 1));
  VARIANT state;
  ASSERT_EQ(pAcc->get_accState(Child(nSave), &state), S_OK);
  EXPECT_EQ(state.lVal, 0x300086);
  ASSERT_EQ(pAcc->get_accState(Child(ChildOf(401)), &state), S_OK);
  EXPECT_EQ(state.lVal, 0x300000);
  EXPECT_EQ(pAcc->get_accState(Child(0), &state), E_NOTIMPL);
  pBar->SetSelected(-1);
}

TEST_F(CommandBarAccessible, LocationsAreOnTheScreen) {
  CRect rcWindow;
  pBar->GetWindowRect(&rcWindow);
  long x = 0, y = 0, cx = 0, cy = 0;
  ASSERT_EQ(pAcc->accLocation(&x, &y, &cx, &cy, Child(0)), S_OK);
  EXPECT_EQ(CRect(x, y, x + cx, y + cy), rcWindow);
  const long nSave = ChildOf(402);
  ASSERT_EQ(pAcc->accLocation(&x, &y, &cx, &cy, Child(nSave)), S_OK);
  CRect rcControl = pBar->GetControl(static_cast<int>(nSave - 1))->GetRect();
  rcControl.OffsetRect(rcWindow.TopLeft());
  EXPECT_EQ(CRect(x, y, x + cx, y + cy), rcControl);
  EXPECT_FALSE(rcControl.IsRectEmpty());
  ASSERT_EQ(pAcc->accLocation(&x, &y, &cx, &cy, Child(77)), S_OK);
  EXPECT_EQ(CRect(x, y, x + cx, y + cy), rcWindow) << "an unknown child gives the bar";
}

TEST_F(CommandBarAccessible, NullOutPointersAreRefusedEverywhere) {
  const VARIANT one = Child(1);
  long n = 0;
  EXPECT_EQ(pAcc->get_accParent(nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accChildCount(nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accChild(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accName(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accValue(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accDescription(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accRole(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accState(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accHelp(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accHelpTopic(nullptr, one, &n), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accKeyboardShortcut(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accFocus(nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accSelection(nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->get_accDefaultAction(one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->accLocation(nullptr, &n, &n, &n, one), E_INVALIDARG);
  EXPECT_EQ(pAcc->accNavigate(NAVDIR_NEXT, one, nullptr), E_INVALIDARG);
  EXPECT_EQ(pAcc->accHitTest(0, 0, nullptr), E_INVALIDARG);
  // The ones with somewhere to write say they are not there.
  BSTR bstr = nullptr;
  EXPECT_EQ(pAcc->get_accValue(one, &bstr), E_NOTIMPL);
  EXPECT_EQ(pAcc->accDoDefaultAction(one), E_NOTIMPL);
  UINT nInfo = 0;
  EXPECT_EQ(pAcc->GetTypeInfoCount(&nInfo), E_NOTIMPL);
}

TEST_F(CommandBarAccessible, ScreenReadersReachTheBarThroughItsWindow) {
  // The system's library, where it answers for this window.
  HMODULE hOleAcc = ::LoadLibraryW(L"oleacc.dll");
  ASSERT_NE(hOleAcc, nullptr);
  typedef HRESULT(WINAPI * FromWindow)(HWND, DWORD, REFIID, void **);
  typedef HRESULT(WINAPI * FromLresult)(LRESULT, REFIID, WPARAM, void **);
  auto pfnFromWindow = reinterpret_cast<FromWindow>(
      reinterpret_cast<void *>(::GetProcAddress(hOleAcc, "AccessibleObjectFromWindow")));
  auto pfnFromLresult =
      reinterpret_cast<FromLresult>(reinterpret_cast<void *>(::GetProcAddress(hOleAcc, "ObjectFromLresult")));
  ASSERT_TRUE(pfnFromWindow != nullptr && pfnFromLresult != nullptr);
  IAccessible *pFromWindow = nullptr;
  if (SUCCEEDED(pfnFromWindow(pBar->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                              reinterpret_cast<void **>(&pFromWindow))) &&
      pFromWindow != nullptr) {
    long nCount = 0;
    EXPECT_EQ(pFromWindow->get_accChildCount(&nCount), S_OK);
    EXPECT_EQ(nCount, pBar->GetControlCount());
    VARIANT role;
    EXPECT_EQ(pFromWindow->get_accRole(Child(0), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUPOPUP);
    pFromWindow->Release();
  }
  // The window message itself: a result the library made from the object.
  const LRESULT lResult = pBar->SendMessage(WM_GETOBJECT, 0, OBJID_CLIENT);
  EXPECT_NE(lResult, 0);
  IAccessible *pFromResult = nullptr;
  if (lResult > 0 &&
      SUCCEEDED(pfnFromLresult(lResult, IID_IAccessible, 0, reinterpret_cast<void **>(&pFromResult)))) {
    long nCount = 0;
    EXPECT_EQ(pFromResult->get_accChildCount(&nCount), S_OK);
    EXPECT_EQ(nCount, pBar->GetControlCount());
    pFromResult->Release();
  }
  // The interface answers for IUnknown and IDispatch too, on the bar's count.
  const ULONG nBefore = pAcc->AddRef();
  pAcc->Release();
  IUnknown *pUnknown = nullptr;
  ASSERT_EQ(pAcc->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&pUnknown)), S_OK);
  EXPECT_EQ(pAcc->AddRef(), nBefore + 1);
  pAcc->Release();
  pUnknown->Release();
  IDispatch *pDispatch = nullptr;
  EXPECT_EQ(pAcc->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&pDispatch)), S_OK);
  if (pDispatch) pDispatch->Release();
  IUnknown *pOther = nullptr;
  EXPECT_EQ(pAcc->QueryInterface(IID_IClassFactory, reinterpret_cast<void **>(&pOther)), E_NOINTERFACE);
}

} // namespace
