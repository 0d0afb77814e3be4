// The toolkit's resource loading and its module guard.
#include <gtest/gtest.h>

#include "ModuleState.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

namespace {

// Sets a toolkit resource module for one test and clears it again.
class ToolkitModule {
public:
  explicit ToolkitModule(HMODULE hModule) { XTPSetResourceInstance(hModule); }
  ~ToolkitModule() { XTPSetResourceInstance(nullptr); }
};

// Stands in for the command bars' tool bar: notes which resource module was
// current when it was asked to load.
class FakeToolBar : public CXTPResourceToolBar {
public:
  BOOL LoadToolBar(UINT nIDResource) override {
    m_nLoaded = nIDResource;
    m_hCurrentResource = AfxGetResourceHandle();
    return TRUE;
  }
  UINT m_nLoaded = 0;
  HINSTANCE m_hCurrentResource = nullptr;
};

TEST(ManageState, WithoutAToolkitModuleChangesNothing) {
  HINSTANCE hResource = AfxGetResourceHandle();
  HINSTANCE hInstance = AfxGetInstanceHandle();
  {
    CXTPManageState state;
    EXPECT_FALSE(state.IsActive());
    EXPECT_EQ(AfxGetResourceHandle(), hResource);
    state.Undo();
  }
  EXPECT_EQ(AfxGetResourceHandle(), hResource);
  EXPECT_EQ(AfxGetInstanceHandle(), hInstance);
}

TEST(ManageState, MakesTheToolkitModuleCurrentUntilUndone) {
  HINSTANCE hResource = AfxGetResourceHandle();
  HINSTANCE hInstance = AfxGetInstanceHandle();
  HMODULE hToolkit = ::GetModuleHandleW(L"kernel32.dll");
  ToolkitModule module(hToolkit);
  {
    CXTPManageState state;
    EXPECT_TRUE(state.IsActive());
    EXPECT_EQ(AfxGetResourceHandle(), hToolkit);
    EXPECT_EQ(AfxGetInstanceHandle(), hInstance);
    state.Undo();
    EXPECT_EQ(AfxGetResourceHandle(), hResource);
    // A second undo must not put back handles changed since the first.
    AfxSetResourceHandle(hToolkit);
    state.Undo();
    EXPECT_EQ(AfxGetResourceHandle(), hToolkit);
    AfxSetResourceHandle(hResource);
  }
  EXPECT_EQ(AfxGetResourceHandle(), hResource);

  CXTPManageStatePtr held;
  EXPECT_EQ(AfxGetResourceHandle(), hToolkit);
  held.Release();
  EXPECT_EQ(AfxGetResourceHandle(), hResource);
}

TEST(ResourceManager, LoadsTheToolkitsAndTheProgramsStrings) {
  CXTPResourceManager *pManager = XTPGetResourceManager();
  ASSERT_EQ(pManager, XTPGetResourceManager());
  EXPECT_TRUE(pManager->IsValid());
  struct Case {
    UINT id;
    BOOL found;
    const wchar_t *text;
  } cases[] = {{XT_IDS_REG_SETTINGS, TRUE, L"Settings"},
               {XT_IDS_REG_COLINFO, TRUE, L"Column Info"},
               {100, TRUE, L"The program's own text"},
               {101, FALSE, L"unchanged"}};
  for (const Case &c : cases) {
    CString text(L"unchanged");
    EXPECT_EQ(pManager->LoadString(&text, c.id), c.found) << c.id;
    EXPECT_EQ(text, c.text) << c.id;
  }
}

TEST(ResourceManager, AToolkitModuleWithoutTheResourceFallsBackToTheProgram) {
  ToolkitModule module(::GetModuleHandleW(L"kernel32.dll"));
  CString text;
  EXPECT_TRUE(XTPGetResourceManager()->LoadString(&text, XT_IDS_REG_SETTINGS));
  EXPECT_EQ(text, L"Settings");
  CMenu menu;
  EXPECT_TRUE(XTPGetResourceManager()->LoadMenu(&menu, 200));
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
}

TEST(ResourceManager, LoadsMenusAndDialogTemplates) {
  CXTPResourceManager *pManager = XTPGetResourceManager();
  CMenu menu;
  ASSERT_TRUE(pManager->LoadMenu(&menu, 200));
  EXPECT_EQ(::GetMenuItemCount(menu.GetSubMenu(0)->GetSafeHmenu()), 1);
  CMenu missingMenu;
  EXPECT_FALSE(pManager->LoadMenu(&missingMenu, 299));

  LPCDLGTEMPLATE pTemplate = pManager->LoadDialogTemplate(300);
  ASSERT_NE(pTemplate, nullptr);
  // A DIALOGEX template starts with version 1 and signature 0xFFFF; its
  // style sits after the help id and extended style.
  const WORD *pWords = reinterpret_cast<const WORD *>(pTemplate);
  EXPECT_EQ(pWords[0], 1);
  EXPECT_EQ(pWords[1], 0xFFFF);
  EXPECT_EQ(pManager->LoadDialogTemplate(301), nullptr);

  CBitmap bitmap;
  EXPECT_FALSE(pManager->LoadBitmap(&bitmap, 400));
}

TEST(ResourceManager, LoadsAToolBarWithTheToolkitModuleCurrent) {
  FakeToolBar bar;
  EXPECT_TRUE(XTPGetResourceManager()->LoadToolBar(&bar, 9000));
  EXPECT_EQ(bar.m_nLoaded, 9000u);
  EXPECT_EQ(bar.m_hCurrentResource, AfxGetResourceHandle());

  HMODULE hToolkit = ::GetModuleHandleW(L"kernel32.dll");
  ToolkitModule module(hToolkit);
  EXPECT_TRUE(XTPGetResourceManager()->LoadToolBar(&bar, 9001));
  EXPECT_EQ(bar.m_hCurrentResource, hToolkit);
  EXPECT_NE(AfxGetResourceHandle(), hToolkit);
}

} // namespace
