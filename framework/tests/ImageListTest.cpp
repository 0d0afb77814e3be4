#include <gtest/gtest.h>

#include "Dc.h"
#include "GdiObject.h"
#include "ImageList.h"

namespace {

// A strip of `count` 16x16 images side by side, each filled with its own colour
// on a magenta background corner that serves as the mask colour.
void MakeStrip(CBitmap &bitmap, int count) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 16 * count, 16));
  CBitmap *old = dc.SelectObject(&bitmap);
  for (int i = 0; i < count; ++i) {
    dc.FillSolidRect(16 * i, 0, 16, 16, RGB(40 * i, 100, 200));
    dc.SetPixel(16 * i, 0, RGB(255, 0, 255));
  }
  dc.SelectObject(old);
}

TEST(ImageList, AddCountsImagesAcrossAStrip) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
  EXPECT_EQ(list.GetImageCount(), 0);
  CBitmap strip;
  MakeStrip(strip, 3);
  EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
  EXPECT_EQ(list.GetImageCount(), 3);

  HICON icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
  EXPECT_EQ(list.Add(icon), 3);
  EXPECT_EQ(list.GetImageCount(), 4);

  IMAGEINFO info = {};
  ASSERT_TRUE(list.GetImageInfo(1, &info));
  EXPECT_EQ(info.rcImage.right - info.rcImage.left, 16);

  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 3);
  EXPECT_FALSE(list.Remove(7));
  EXPECT_TRUE(list.RemoveAll());
  EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(ImageList, ExtractedIconIsTheCallers) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
  CBitmap strip;
  MakeStrip(strip, 1);
  ASSERT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
  HICON icon = list.ExtractIcon(0);
  ASSERT_NE(icon, nullptr);
  ICONINFO info = {};
  EXPECT_TRUE(::GetIconInfo(icon, &info));
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ::DestroyIcon(icon);
  EXPECT_EQ(list.ExtractIcon(5), nullptr);
}

TEST(ImageList, DrawPaintsTheImage) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
  CBitmap strip;
  MakeStrip(strip, 2);
  ASSERT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);

  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CBitmap target;
  ASSERT_TRUE(target.CreateCompatibleBitmap(nullptr, 32, 32));
  CBitmap *old = dc.SelectObject(&target);
  dc.FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
  EXPECT_TRUE(list.Draw(&dc, 1, CPoint(8, 8), ILD_TRANSPARENT));
  EXPECT_EQ(dc.GetPixel(12, 12), RGB(40, 100, 200));
  EXPECT_EQ(dc.GetPixel(8, 8), RGB(255, 255, 255)); // the masked corner lets the background through
  EXPECT_EQ(dc.GetPixel(4, 4), RGB(255, 255, 255));
  dc.SelectObject(old);
}

TEST(ImageListOwnership, CreatedListIsDestroyedAttachedListSurvives) {
  HIMAGELIST raw = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
  ASSERT_NE(raw, nullptr);
  {
    CImageList wrapper;
    EXPECT_TRUE(wrapper.Attach(raw));
    EXPECT_FALSE(wrapper.IsOwned());
    ImageList_SetImageCount(raw, 2);
  }
  {
    CImageList::FromHandle(raw)->DeleteImageList();
    CImageList::DeleteTempMap();
  }
  // Still alive: it still answers and can be destroyed by its owner.
  EXPECT_EQ(ImageList_GetImageCount(raw), 2);
  EXPECT_TRUE(ImageList_Destroy(raw));

  CImageList owner;
  ASSERT_TRUE(owner.Create(8, 8, ILC_COLOR24, 1, 1));
  EXPECT_TRUE(owner.IsOwned());
  HIMAGELIST made = owner.Detach();
  EXPECT_EQ(owner.GetSafeHandle(), nullptr);
  EXPECT_TRUE(ImageList_Destroy(made));
}

TEST(ImageListOwnership, DuplicateIsIndependent) {
  CImageList first;
  ASSERT_TRUE(first.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
  CBitmap strip;
  MakeStrip(strip, 2);
  first.Add(&strip, RGB(255, 0, 255));
  CImageList copy;
  ASSERT_TRUE(copy.Create(&first));
  first.DeleteImageList();
  EXPECT_EQ(copy.GetImageCount(), 2);
  EXPECT_FALSE(copy.Create(static_cast<CImageList *>(nullptr)));
}

} // namespace
