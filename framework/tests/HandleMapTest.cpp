// The temporary wrappers of handles owned elsewhere: one per handle and class
// on each thread, never owning the handle, gone when the map is freed.
#include <gtest/gtest.h>

#include <richedit.h>

#include <thread>

#include "Framework.h"

namespace {

struct Wrapper {
  int m_handle = 0;
  int m_attachCount = 0;
};
struct DerivedWrapper : Wrapper {};

TEST(TempHandleMap, OneWrapperPerKeyMadeOnce) {
  CTempHandleMap<int, Wrapper> map;
  auto attach = [](Wrapper &w) {
    w.m_handle = 5;
    w.m_attachCount++;
  };
  Wrapper *first = map.Lookup(5, attach);
  EXPECT_EQ(map.Lookup(5, attach), first);
  EXPECT_EQ(first->m_attachCount, 1);
  EXPECT_EQ(map.Find(5), first);
  EXPECT_EQ(map.Find(6), nullptr);
  DerivedWrapper *derived = map.Lookup<DerivedWrapper>(7, [](DerivedWrapper &w) { w.m_handle = 7; });
  EXPECT_EQ(derived->m_handle, 7);
  EXPECT_EQ(map.GetCount(), 2u);
  map.DeleteAll();
  EXPECT_EQ(map.GetCount(), 0u);
  EXPECT_EQ(map.Find(5), nullptr);
}

TEST(TempHandleMap, EachThreadHasItsOwnWrappers) {
  HMENU hMenu = ::CreatePopupMenu();
  CMenu *mine = CMenu::FromHandle(hMenu);
  CMenu *theirs = nullptr;
  std::thread([&] {
    theirs = CMenu::FromHandle(hMenu);
    CMenu::DeleteTempMap();
  }).join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(CMenu::FromHandle(hMenu), mine);
  CMenu::DeleteTempMap();
  EXPECT_TRUE(::IsMenu(hMenu)); // the wrappers never owned it
  ::DestroyMenu(hMenu);
}

TEST(TempHandleMap, WrappersOfEveryKindGiveTheirHandleAndOwnNothing) {
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, 4, 4);
  HIMAGELIST hList = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
  CDC *dc = CDC::FromHandle(hDC);
  EXPECT_EQ(dc->GetSafeHdc(), hDC);
  EXPECT_EQ(dc->m_hAttribDC, hDC);
  EXPECT_EQ(CImageList::FromHandle(hList)->GetSafeHandle(), hList);
  // One handle asked for as two classes gives two wrappers of those classes.
  CBitmap *bitmap = CBitmap::FromHandle(hBitmap);
  CGdiObject *object = CGdiObject::FromHandle(hBitmap);
  EXPECT_NE(static_cast<CGdiObject *>(bitmap), object);
  EXPECT_TRUE(bitmap->IsKindOf(RUNTIME_CLASS(CBitmap)));
  EXPECT_EQ(object->GetSafeHandle(), (HGDIOBJ)hBitmap);
  EXPECT_EQ(CBitmap::FromHandle(hBitmap), bitmap);
  EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
  EXPECT_EQ(CBitmap::FromHandle(nullptr), nullptr);

  CDC::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  CImageList::DeleteTempMap();
  BITMAP bm = {};
  EXPECT_EQ(::GetObject(hBitmap, sizeof(bm), &bm), (int)sizeof(bm));
  EXPECT_EQ(ImageList_GetImageCount(hList), 0); // still a list
  EXPECT_TRUE(ImageList_Destroy(hList));
  EXPECT_TRUE(::DeleteObject(hBitmap));
  EXPECT_TRUE(::DeleteDC(hDC));
}

TEST(CommonControls, HelperRegistersAndCreatesEachKind) {
  CWnd parent;
  ASSERT_TRUE(
      parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_OVERLAPPED, 0, 0, 200, 200, nullptr, nullptr));
  struct Case {
    DWORD classes;
    LPCWSTR className;
    DWORD style;
  };
  const Case cases[] = {
      {ICC_PROGRESS_CLASS, PROGRESS_CLASSW, WS_CHILD},
      {ICC_TAB_CLASSES, TOOLTIPS_CLASSW, WS_POPUP}, // tooltips register with the tab classes
      {ICC_COOL_CLASSES, REBARCLASSNAMEW, WS_CHILD},
      {AFX_CC_RICHEDIT, MSFTEDIT_CLASS, WS_CHILD},
  };
  UINT id = 100;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "class " << c.className);
    CWnd control;
    ASSERT_TRUE(AfxCreateCommonControl(&control, c.classes, c.className, 0, c.style, CRect(0, 0, 50, 20),
                                       &parent, c.style == WS_CHILD ? id++ : 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(control.m_hWnd), &control);
    wchar_t name[64] = {};
    ::GetClassNameW(control.m_hWnd, name, 64);
    EXPECT_EQ(_wcsicmp(name, c.className), 0) << name;
    control.DestroyWindow();
  }
  EXPECT_TRUE(AfxInitCommonControls(ICC_PROGRESS_CLASS | AFX_CC_RICHEDIT)); // already done: no work
  parent.DestroyWindow();
}

} // namespace
