// The image manager: icon sets and widths, state fallbacks, derived images,
// drawing probed by pixel (plain, alpha, mirrored), strips and image lists,
// and icon and bitmap files that lie about their sizes.
#include <gtest/gtest.h>

#include <ole2.h>

#include "XTPImageManager.h"
#include "MemoryCanvas.h"
#include "XTPColorManager.h"
#include "XTPPropExchange.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A 32-bit top-down DIB of one colour (BGRA bytes through RGBQUAD), or of a
// per-pixel function.
template <typename F> HBITMAP MakeAlphaBitmap(int width, int height, F pixel) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP hBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto *p = static_cast<RGBQUAD *>(bits);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) p[y * width + x] = pixel(x, y);
  return hBitmap;
}

HBITMAP SolidAlpha(int width, int height, RGBQUAD q) {
  return MakeAlphaBitmap(width, height, [q](int, int) { return q; });
}

RGBQUAD Bgra(BYTE b, BYTE g, BYTE r, BYTE a) {
  return RGBQUAD{b, g, r, a};
}

// A colour icon; with leftClear its left half is transparent by the mask.
HICON MakeIcon(int size, COLORREF color, bool leftClear = false) {
  // Transparent pixels are black in the colour image, as the mask's XOR wants.
  HBITMAP hColor = MakeAlphaBitmap(size, size, [=](int x, int) {
    if (leftClear && x < size / 2) return RGBQUAD{0, 0, 0, 0};
    return RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0};
  });
  const int stride = ((size + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<size_t>(stride) * size, 0);
  if (leftClear)
    for (int y = 0; y < size; y++)
      for (int x = 0; x < size / 2; x++) mask[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
  HBITMAP hMask = CreateBitmap(size, size, 1, 1, mask.data());
  ICONINFO info = {TRUE, 0, 0, hMask, hColor};
  HICON hIcon = CreateIconIndirect(&info);
  DeleteObject(hColor);
  DeleteObject(hMask);
  return hIcon;
}

COLORREF PixelOf(HBITMAP hBitmap, int x, int y) {
  HDC hDC = CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = SelectObject(hDC, hBitmap);
  COLORREF c = GetPixel(hDC, x, y);
  SelectObject(hDC, hOld);
  DeleteDC(hDC);
  return c;
}

// Bytes of the first pixel of an alpha handle's bitmap, in BGRA order.
RGBQUAD FirstPixel(const CXTPIconHandle &h) {
  DIBSECTION ds = {};
  EXPECT_TRUE(GetObject(h.GetBitmap(), sizeof(ds), &ds));
  RGBQUAD q = {};
  if (ds.dsBm.bmBits) {
    // Top-down sections start with row 0; bottom-up ones with the last row.
    const auto *p = static_cast<const RGBQUAD *>(ds.dsBm.bmBits);
    q = ds.dsBmih.biHeight < 0 ? p[0] : p[(ds.dsBm.bmHeight - 1) * ds.dsBm.bmWidth];
  }
  return q;
}

class ImageManagerTest : public ::testing::Test {
protected:
  CXTPIconHandle Icon(int size, COLORREF color, bool leftClear = false) {
    CXTPIconHandle h;
    h.SetIcon(MakeIcon(size, color, leftClear));
    return h; // the copy shares; keep the owner alive in owners
  }
  CXTPImageManager manager;
};

TEST_F(ImageManagerTest, NewCommandsTakeOnlyTheNormalImage) {
  HICON hIcon = MakeIcon(16, 0x0000FF);
  CXTPIconHandle handle(hIcon);
  EXPECT_FALSE(manager.SetIcon(handle, 100, CSize(16, 16), xtpImageDisabled));
  EXPECT_EQ(manager.GetIconSet(100), nullptr);
  EXPECT_FALSE(manager.SetIcon(CXTPIconHandle(), 100));
  EXPECT_TRUE(manager.SetIcon(handle, 100)); // size from the icon
  ASSERT_NE(manager.GetIconSet(100), nullptr);
  EXPECT_TRUE(manager.SetIcon(handle, 100, CSize(16, 16), xtpImageDisabled));
  CXTPImageManagerIcon *pIcon = manager.GetImage(100, 16);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_EQ(pIcon->GetExtent(), CSize(16, 16));
  // The manager stores its own copies: the caller's icon is still its own.
  DestroyIcon(hIcon);
  EXPECT_NE(pIcon->GetIcon().GetIcon(), hIcon);
  EXPECT_EQ(manager.GetImage(999, 16), nullptr);
}

TEST_F(ImageManagerTest, CustomIdsCountUpFromTheFirst) {
  HICON hIcon = MakeIcon(16, 0x00FF00);
  EXPECT_EQ(manager.AddIcon(CXTPIconHandle(hIcon)), 68267u);
  EXPECT_EQ(manager.SetIcon(CXTPIconHandle(hIcon)), 68268u);
  EXPECT_EQ(manager.AddIcon(CXTPIconHandle()), 0u);
  EXPECT_NE(manager.GetIconSet(68268), nullptr);
  DestroyIcon(hIcon);
}

TEST_F(ImageManagerTest, StatesFallBackToNormal) {
  HICON hNormal = MakeIcon(16, 0x0000FF), hHot = MakeIcon(16, 0x00FF00);
  manager.SetIcon(CXTPIconHandle(hNormal), 1);
  CXTPImageManagerIcon *pIcon = manager.GetImage(1);
  EXPECT_EQ(&pIcon->GetHotIcon(), &pIcon->GetIcon());
  EXPECT_EQ(&pIcon->GetCheckedIcon(), &pIcon->GetIcon());
  manager.SetIcon(CXTPIconHandle(hHot), 1, CSize(16, 16), xtpImageHot);
  EXPECT_NE(&pIcon->GetHotIcon(), &pIcon->GetIcon());
  EXPECT_EQ(&pIcon->GetCheckedIcon(), &pIcon->GetHotIcon());
  DestroyIcon(hNormal);
  DestroyIcon(hHot);
}

TEST_F(ImageManagerTest, NearestWidthIsScaledAndDroppedOnRefresh) {
  HICON h16 = MakeIcon(16, 0x0000FF), h32 = MakeIcon(32, 0xFF0000);
  manager.SetIcon(CXTPIconHandle(h16), 7);
  manager.SetIcon(CXTPIconHandle(h32), 7);
  CXTPImageManagerIconSet *pSet = manager.GetIconSet(7);
  EXPECT_EQ(manager.GetImage(7, 32)->GetWidth(), 32);
  CXTPImageManagerIcon *p20 = manager.GetImage(7, 20);
  ASSERT_NE(p20, nullptr);
  EXPECT_TRUE(p20->IsScaled());
  EXPECT_EQ(p20->GetExtent(), CSize(20, 20));
  EXPECT_EQ(pSet->GetIcons().size(), 3u);
  EXPECT_EQ(manager.GetImage(7, 20), p20); // stored
  // Made from the 16 icon: red.
  MemoryCanvas canvas(24, 24);
  p20->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(10, 10), 0x0000FFu);
  manager.RefreshAll();
  EXPECT_EQ(pSet->GetIcons().size(), 2u);
  DestroyIcon(h16);
  DestroyIcon(h32);
}

TEST_F(ImageManagerTest, AlphaIconsAreNotScaled) {
  HBITMAP hBitmap = SolidAlpha(16, 16, Bgra(0, 0, 255, 255));
  manager.SetIcon(CXTPIconHandle(hBitmap), 8);
  CXTPImageManagerIcon *pIcon = manager.GetImage(8, 20);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_EQ(pIcon->GetWidth(), 16);
  EXPECT_EQ(manager.GetIconSet(8)->GetIcons().size(), 1u);
  DeleteObject(hBitmap);
}

TEST_F(ImageManagerTest, DerivedImagesOfAnAlphaBitmap) {
  HBITMAP hBitmap = SolidAlpha(4, 4, Bgra(50, 200, 100, 128));
  manager.SetIcon(CXTPIconHandle(hBitmap), 9);
  CXTPImageManagerIcon *pIcon = manager.GetImage(9, 4);
  RGBQUAD faded = FirstPixel(pIcon->GetFadedIcon());
  EXPECT_EQ(faded.rgbRed, 146);
  EXPECT_EQ(faded.rgbGreen, 216);
  EXPECT_EQ(faded.rgbBlue, 111);
  EXPECT_EQ(faded.rgbReserved, 128);
  RGBQUAD disabled = FirstPixel(pIcon->GetDisabledIcon());
  EXPECT_EQ(disabled.rgbRed, 197);
  EXPECT_EQ(disabled.rgbGreen, 197);
  EXPECT_EQ(disabled.rgbBlue, 197);
  EXPECT_EQ(disabled.rgbReserved, 128);
  COLORREF base = XTPGetColor(XPCOLOR_HIGHLIGHT);
  RGBQUAD shadow = FirstPixel(pIcon->GetShadowIcon());
  EXPECT_EQ(shadow.rgbRed, static_cast<BYTE>(GetRValue(base) * 0.75));
  EXPECT_EQ(shadow.rgbBlue, static_cast<BYTE>(GetBValue(base) * 0.75));
  EXPECT_EQ(shadow.rgbReserved, 128);
  // An explicit disabled image wins over the derived one.
  HBITMAP hGrey = SolidAlpha(4, 4, Bgra(9, 9, 9, 255));
  manager.SetIcon(CXTPIconHandle(hGrey), 9, CSize(4, 4), xtpImageDisabled);
  EXPECT_EQ(FirstPixel(pIcon->GetDisabledIcon()).rgbRed, 9);
  DeleteObject(hBitmap);
  DeleteObject(hGrey);
}

TEST_F(ImageManagerTest, DerivedIconsChangeOnlyCoveredPixels) {
  HICON hIcon = MakeIcon(16, RGB(255, 0, 0), true);
  manager.SetIcon(CXTPIconHandle(hIcon), 10);
  CXTPImageManagerIcon *pIcon = manager.GetImage(10, 16);
  MemoryCanvas canvas(16, 16, 0x00FF00);
  pIcon->Draw(&canvas.dc, CPoint(0, 0), pIcon->GetDisabledIcon());
  EXPECT_EQ(canvas.Pixel(2, 8), 0x00FF00u);           // transparent half shows the background
  EXPECT_EQ(canvas.Pixel(12, 8), RGB(139, 139, 139)); // grey of pure red
  pIcon->Draw(&canvas.dc, CPoint(0, 0), pIcon->GetFadedIcon());
  EXPECT_EQ(canvas.Pixel(12, 8), RGB(255, 76, 76));
  DestroyIcon(hIcon);
}

TEST_F(ImageManagerTest, AlphaDrawingBlendsAndMirrors) {
  ASSERT_TRUE(manager.IsAlphaIconsAvailable());
  // Left half opaque red, right half half-transparent blue.
  HBITMAP hBitmap =
      MakeAlphaBitmap(16, 16, [](int x, int) { return x < 8 ? Bgra(0, 0, 255, 255) : Bgra(255, 0, 0, 128); });
  manager.SetIcon(CXTPIconHandle(hBitmap), 11);
  CXTPImageManagerIcon *pIcon = manager.GetImage(11, 16);
  MemoryCanvas canvas(16, 16);
  pIcon->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(2, 2), RGB(255, 0, 0));
  COLORREF blended = canvas.Pixel(12, 2);
  EXPECT_NEAR(GetRValue(blended), 127, 2);
  EXPECT_EQ(GetBValue(blended), 255);

  MemoryCanvas mirrored(16, 16);
  manager.SetDrawMirrored(TRUE);
  pIcon->Draw(&mirrored.dc, CPoint(0, 0));
  EXPECT_EQ(mirrored.Pixel(13, 2), RGB(255, 0, 0));
  EXPECT_EQ(GetBValue(mirrored.Pixel(2, 2)), 255);
  DeleteObject(hBitmap);
}

TEST_F(ImageManagerTest, MirroredIconsAreFlippedNotSkipped) {
  HICON hIcon = MakeIcon(16, RGB(0, 0, 255), true); // right half blue
  manager.SetIcon(CXTPIconHandle(hIcon), 12);
  manager.SetDrawMirrored(TRUE);
  MemoryCanvas canvas(16, 16);
  manager.GetImage(12, 16)->Draw(&canvas.dc, CPoint(0, 0));
  // A negated width draws nothing or unflipped; the flipped copy puts the
  // blue half on the left.
  EXPECT_EQ(canvas.Pixel(2, 8), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(13, 8), 0xFFFFFFu);
  DestroyIcon(hIcon);
}

TEST_F(ImageManagerTest, MonoDrawingPaintsTheSilhouette) {
  HICON hIcon = MakeIcon(16, RGB(0, 0, 255), true);
  manager.SetIcon(CXTPIconHandle(hIcon), 13);
  CXTPImageManagerIcon *pIcon = manager.GetImage(13, 16);
  MemoryCanvas canvas(16, 16);
  pIcon->DrawMono(&canvas.dc, CPoint(0, 0), pIcon->GetIcon(), CSize(16, 16), RGB(0, 128, 0));
  EXPECT_EQ(canvas.Pixel(12, 8), RGB(0, 128, 0));
  EXPECT_EQ(canvas.Pixel(2, 8), 0xFFFFFFu);
  DestroyIcon(hIcon);
}

TEST_F(ImageManagerTest, MirroredMonoDrawingFlipsTheSilhouette) {
  HICON hIcon = MakeIcon(16, RGB(0, 0, 255), true); // right half blue
  manager.SetIcon(CXTPIconHandle(hIcon), 14);
  manager.SetDrawMirrored(TRUE);
  CXTPImageManagerIcon *pIcon = manager.GetImage(14, 16);
  manager.SetDrawMirrored(TRUE);
  MemoryCanvas canvas(20, 16, RGB(255, 255, 0));
  pIcon->DrawMono(&canvas.dc, CPoint(2, 0), pIcon->GetIcon(), CSize(16, 16), RGB(0, 128, 0));
  EXPECT_EQ(canvas.Pixel(4, 8), RGB(0, 128, 0)) << "the silhouette on the left";
  EXPECT_EQ(canvas.Pixel(15, 8), RGB(255, 255, 0)) << "the clear half leaves the background";
  EXPECT_EQ(canvas.Pixel(0, 8), RGB(255, 255, 0)) << "nothing left of the point";
  DestroyIcon(hIcon);
}

TEST_F(ImageManagerTest, FadedIconsStayAsTheyAreOnAPaletteScreen) {
  HICON hIcon = MakeIcon(16, RGB(255, 0, 0));
  HBITMAP hBitmap = SolidAlpha(16, 16, Bgra(0, 0, 255, 255));
  manager.SetIcon(CXTPIconHandle(hIcon), 15);
  manager.SetIcon(CXTPIconHandle(hBitmap), 16);
  const struct {
    int bits;
    COLORREF icon, alpha;
  } cases[] = {{8, RGB(255, 0, 0), RGB(255, 76, 76)}, {16, RGB(255, 76, 76), RGB(255, 76, 76)}};
  for (const auto &c : cases) {
    XTPGetColorManager()->SetDisplayBitsPerPixel(c.bits);
    for (UINT nID : {15u, 16u}) {
      CXTPImageManagerIcon *pIcon = manager.GetImage(nID, 16);
      pIcon->Refresh();
      MemoryCanvas canvas(16, 16);
      pIcon->Draw(&canvas.dc, CPoint(0, 0), pIcon->GetFadedIcon());
      EXPECT_EQ(canvas.Pixel(8, 8), nID == 15 ? c.icon : c.alpha) << c.bits << " bits, id " << nID;
    }
  }
  XTPGetColorManager()->SetDisplayBitsPerPixel(0);
  DestroyIcon(hIcon);
  DeleteObject(hBitmap);
}

TEST_F(ImageManagerTest, TheImageListPathDrawsAsTheScreenPathDoes) {
  HICON hIcon = MakeIcon(16, RGB(0, 0, 255), true);
  MemoryCanvas screen(40, 40, RGB(0, 255, 0)), printed(40, 40, RGB(0, 255, 0));
  EXPECT_FALSE(CXTPImageManager::IsPrinterDC(screen.dc.GetSafeHdc()));
  ::DrawIconEx(screen.dc.GetSafeHdc(), 4, 4, hIcon, 32, 32, 0, nullptr, DI_NORMAL);
  ASSERT_TRUE(CXTPImageManager::DrawIconThroughImageList(printed.dc.GetSafeHdc(), CPoint(4, 4), hIcon,
                                                         CSize(32, 32)));
  for (CPoint pt : {CPoint(2, 10), CPoint(8, 10), CPoint(30, 10), CPoint(35, 35), CPoint(37, 37)})
    EXPECT_EQ(printed.Pixel(pt.x, pt.y), screen.Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
  EXPECT_EQ(printed.Pixel(30, 10), RGB(0, 0, 255));
  EXPECT_EQ(printed.Pixel(8, 10), RGB(0, 255, 0));
  DestroyIcon(hIcon);
}

TEST(IconHandle, CopiesDoNotCarryThePremultipliedImage) {
  HBITMAP hBitmap = SolidAlpha(4, 4, Bgra(0, 0, 255, 128));
  CXTPIconHandle owner;
  owner.SetAlphaBitmap(hBitmap);
  ASSERT_TRUE(owner.PreMultiply());
  CXTPIconHandle shared(owner);
  EXPECT_FALSE(shared.HasPreMultiplied()); // else clearing either deletes it twice
  EXPECT_EQ(shared.GetBitmap(), owner.GetBitmap());
  CXTPIconHandle duplicate;
  duplicate = owner;
  EXPECT_FALSE(duplicate.HasPreMultiplied());
  EXPECT_NE(duplicate.GetBitmap(), owner.GetBitmap());
  owner.Clear();
  // The duplicate owns its own pixels and still makes its own premultiplied copy.
  HBITMAP hPre = duplicate.PreMultiply();
  ASSERT_TRUE(hPre);
  EXPECT_EQ(GetRValue(PixelOf(hPre, 0, 0)), 128);
  DeleteObject(hBitmap);
}

TEST(IconHandle, ExtentOfIconsAndBitmaps) {
  HICON hIcon = MakeIcon(24, 0);
  EXPECT_EQ(CXTPIconHandle::GetExtent(hIcon), CSize(24, 24));
  BYTE andBits[32 * 4] = {}, xorBits[32 * 4] = {};
  HICON hMono = CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits);
  EXPECT_EQ(CXTPIconHandle::GetExtent(hMono), CSize(32, 32)); // mask is twice as high
  HBITMAP hBitmap = SolidAlpha(5, 7, Bgra(0, 0, 0, 0));
  EXPECT_EQ(CXTPIconHandle(hBitmap).GetExtent(), CSize(5, 7));
  DestroyIcon(hIcon);
  DestroyIcon(hMono);
  DeleteObject(hBitmap);
}

TEST_F(ImageManagerTest, AlphaStripIsCutAndSeparatorsSkipped) {
  const COLORREF colours[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  HBITMAP hStrip = MakeAlphaBitmap(48, 16, [&](int x, int) {
    COLORREF c = colours[x / 16];
    return Bgra(GetBValue(c), GetGValue(c), GetRValue(c), 255);
  });
  const UINT ids[] = {20, 0, 21, 22};
  ASSERT_TRUE(manager.SetIconsFromAlphaStrip(hStrip, ids, 4, CSize(16, 16)));
  EXPECT_EQ(manager.GetIconSet(0), nullptr);
  for (int i = 0; i < 3; i++) {
    RGBQUAD q = FirstPixel(manager.GetImage(20 + i, 16)->GetIcon());
    EXPECT_EQ(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), colours[i]) << i;
  }
  EXPECT_FALSE(manager.SetIconsFromAlphaStrip(hStrip, ids, 4, CSize(20, 16))); // 48 is not whole 20s
  DeleteObject(hStrip);
}

TEST_F(ImageManagerTest, ImageListIconsGoToTheirIds) {
  HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
  HICON a = MakeIcon(16, RGB(255, 0, 0)), b = MakeIcon(16, RGB(0, 255, 0));
  ImageList_AddIcon(hList, a);
  ImageList_AddIcon(hList, b);
  const UINT ids[] = {30, 31};
  ASSERT_TRUE(manager.SetIcons(hList, ids, 2));
  MemoryCanvas canvas(16, 16);
  manager.GetImage(31, 16)->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 255, 0));
  EXPECT_FALSE(manager.SetIcons(nullptr, ids, 2));
  ASSERT_TRUE(manager.SetIcons(hList, nullptr, 0)); // image i to id i
  EXPECT_NE(manager.GetIconSet(1), nullptr);
  ImageList_Destroy(hList);
  DestroyIcon(a);
  DestroyIcon(b);
}

// ---- files

void Put16(std::vector<BYTE> &v, size_t at, unsigned value) {
  v[at] = static_cast<BYTE>(value);
  v[at + 1] = static_cast<BYTE>(value >> 8);
}

void Put32(std::vector<BYTE> &v, size_t at, unsigned value) {
  for (int i = 0; i < 4; i++) v[at + i] = static_cast<BYTE>(value >> (8 * i));
}

// A one-entry .ico file of a 32-bit image, bottom row blue, others red.
std::vector<BYTE> IconFile(int size) {
  const size_t header = 40, pixels = static_cast<size_t>(size) * size * 4;
  const size_t mask = static_cast<size_t>(((size + 31) / 32) * 4) * size;
  std::vector<BYTE> v(6 + 16 + header + pixels + mask, 0);
  Put16(v, 2, 1);
  Put16(v, 4, 1);
  v[6] = static_cast<BYTE>(size);
  v[7] = static_cast<BYTE>(size);
  Put16(v, 6 + 4, 1);
  Put16(v, 6 + 6, 32);
  Put32(v, 6 + 8, static_cast<unsigned>(header + pixels + mask));
  Put32(v, 6 + 12, 22);
  Put32(v, 22, 40);
  Put32(v, 26, size);
  Put32(v, 30, size * 2);
  Put16(v, 34, 1);
  Put16(v, 36, 32);
  for (int y = 0; y < size; y++)
    for (int x = 0; x < size; x++) {
      size_t at = 62 + (static_cast<size_t>(y) * size + x) * 4;
      v[at + 3] = 255;
      v[at + (y == 0 ? 0 : 2)] = 255; // rows are stored bottom first
    }
  return v;
}

std::vector<BYTE> PackedDib(int width, int height) {
  const size_t pixels = static_cast<size_t>(width) * std::abs(height) * 4;
  std::vector<BYTE> v(40 + pixels, 0);
  Put32(v, 0, 40);
  Put32(v, 4, static_cast<unsigned>(width));
  Put32(v, 8, static_cast<unsigned>(height));
  Put16(v, 12, 1);
  Put16(v, 14, 32);
  for (size_t i = 0; i < pixels; i += 4) {
    v[40 + i + 1] = 255; // green
    v[40 + i + 3] = 255;
  }
  v[40 + 2] = 255; // first stored pixel red+green
  return v;
}

TEST(ImageFiles, IconFileImageIsReadTheRightWayUp) {
  std::vector<BYTE> file = IconFile(16);
  HBITMAP hBitmap = CXTPImageManager::AlphaBitmapFromIconFile(file.data(), file.size(), 16);
  ASSERT_TRUE(hBitmap);
  EXPECT_EQ(PixelOf(hBitmap, 0, 15), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(hBitmap, 0, 0), RGB(255, 0, 0));
  DeleteObject(hBitmap);
  EXPECT_EQ(CXTPImageManager::AlphaBitmapFromIconFile(file.data(), file.size(), 32), nullptr);
  hBitmap = CXTPImageManager::AlphaBitmapFromIconFile(file.data(), file.size(), 0);
  EXPECT_TRUE(hBitmap);
  DeleteObject(hBitmap);
}

TEST(ImageFiles, HostileIconFilesAreRefused) {
  const struct {
    const char *what;
    void (*damage)(std::vector<BYTE> &);
  } kCases[] = {
      {"directory longer than the file", [](std::vector<BYTE> &v) { Put16(v, 4, 5000); }},
      {"image offset past the end", [](std::vector<BYTE> &v) { Put32(v, 6 + 12, 0xFFFFFFF0); }},
      {"image size past the end", [](std::vector<BYTE> &v) { Put32(v, 6 + 8, 0x7FFFFFFF); }},
      {"offset plus size wraps 32 bits",
       [](std::vector<BYTE> &v) {
         Put32(v, 6 + 8, 0xFFFFFFFF);
         Put32(v, 6 + 12, 22);
       }},
      {"huge width", [](std::vector<BYTE> &v) { Put32(v, 26, 0x40000000); }},
      {"huge height", [](std::vector<BYTE> &v) { Put32(v, 30, 0x7FFFFFFE); }},
      {"negative width", [](std::vector<BYTE> &v) { Put32(v, 26, 0xFFFFFFF0); }},
      {"pixels beyond the image bytes", [](std::vector<BYTE> &v) { Put32(v, 26, 64); }},
      {"header size zero", [](std::vector<BYTE> &v) { Put32(v, 22, 0); }},
      {"header size past the image", [](std::vector<BYTE> &v) { Put32(v, 22, 0x100000); }},
      {"not an icon", [](std::vector<BYTE> &v) { Put16(v, 2, 2); }},
  };
  for (const auto &c : kCases) {
    std::vector<BYTE> file = IconFile(16);
    c.damage(file);
    EXPECT_EQ(CXTPImageManager::AlphaBitmapFromIconFile(file.data(), file.size(), 0), nullptr) << c.what;
  }
  std::vector<BYTE> file = IconFile(16);
  for (size_t cut : {size_t(0), size_t(5), size_t(21), size_t(40), file.size() - 1})
    EXPECT_EQ(CXTPImageManager::AlphaBitmapFromIconFile(file.data(), cut, 0), nullptr) << cut;
}

TEST(ImageFiles, PackedBitmapsBothWaysUpAndHostileSizes) {
  std::vector<BYTE> up = PackedDib(4, 3), down = PackedDib(4, -3);
  HBITMAP hUp = CXTPImageManager::AlphaBitmapFromPackedDib(up.data(), up.size());
  HBITMAP hDown = CXTPImageManager::AlphaBitmapFromPackedDib(down.data(), down.size());
  ASSERT_TRUE(hUp);
  ASSERT_TRUE(hDown);
  EXPECT_EQ(PixelOf(hUp, 0, 2), RGB(255, 255, 0)); // first stored row is the bottom
  EXPECT_EQ(PixelOf(hDown, 0, 0), RGB(255, 255, 0));
  DeleteObject(hUp);
  DeleteObject(hDown);

  const struct {
    const char *what;
    void (*damage)(std::vector<BYTE> &);
  } kCases[] = {
      // A negative height once passed the size check as a negative product.
      {"top-down height beyond the pixels",
       [](std::vector<BYTE> &v) { Put32(v, 8, static_cast<unsigned>(-3000)); }},
      {"most negative height", [](std::vector<BYTE> &v) { Put32(v, 8, 0x80000000); }},
      {"width times height overflows 32 bits",
       [](std::vector<BYTE> &v) {
         Put32(v, 4, 0x10000);
         Put32(v, 8, 0x10000);
       }},
      {"24 bits", [](std::vector<BYTE> &v) { Put16(v, 14, 24); }},
      {"header size zero", [](std::vector<BYTE> &v) { Put32(v, 0, 0); }},
      {"header larger than the data", [](std::vector<BYTE> &v) { Put32(v, 0, 0x10000); }},
      {"zero width", [](std::vector<BYTE> &v) { Put32(v, 4, 0); }},
      {"compressed", [](std::vector<BYTE> &v) { Put32(v, 16, BI_RLE8); }},
  };
  for (const auto &c : kCases) {
    std::vector<BYTE> dib = PackedDib(4, 3);
    c.damage(dib);
    EXPECT_EQ(CXTPImageManager::AlphaBitmapFromPackedDib(dib.data(), dib.size()), nullptr) << c.what;
  }
  EXPECT_EQ(CXTPImageManager::AlphaBitmapFromPackedDib(up.data(), up.size() - 1), nullptr);
}

class TempFile {
public:
  explicit TempFile(const std::vector<BYTE> &bytes) {
    WCHAR dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"img", 0, path);
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  ~TempFile() { DeleteFileW(path); }
  WCHAR path[MAX_PATH];
};

TEST(ImageFiles, FilesOnDisk) {
  TempFile icon(IconFile(16));
  HBITMAP hBitmap = CXTPImageManager::LoadIconFile(icon.path);
  ASSERT_TRUE(hBitmap);
  DeleteObject(hBitmap);

  std::vector<BYTE> bmp(14, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  std::vector<BYTE> dib = PackedDib(2, 2);
  bmp.insert(bmp.end(), dib.begin(), dib.end());
  TempFile alpha(bmp);
  EXPECT_TRUE(CXTPImageManager::IsAlphaBitmapFile(alpha.path));
  Put16(bmp, 14 + 14, 24);
  TempFile plain(bmp);
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapFile(plain.path));
  TempFile shortFile(std::vector<BYTE>(bmp.begin(), bmp.begin() + 30));
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapFile(shortFile.path));
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapFile(L"Z:\\no\\such\\file.bmp"));
  EXPECT_EQ(CXTPImageManager::LoadIconFile(L"Z:\\no\\such\\file.ico"), nullptr);
}

TEST(ImageManagerGlobal, ClipboardFormatsAreRegistered) {
  XTPGetImageManager();
  WCHAR name[64] = {};
  ASSERT_GT(GetClipboardFormatNameW(XTPClipboardFormatToolBarImage(), name, 64), 0);
  EXPECT_STREQ(name, L"Pallux ToolBar Image");
  ASSERT_GT(GetClipboardFormatNameW(XTPClipboardFormatAlphaBitmap(), name, 64), 0);
  EXPECT_STREQ(name, L"Alpha Bitmap Image");
}

// ---- persistence and clipboard

// Two commands: 40 with a 16 icon (hot image too) and a 32 alpha image, 41
// with a masked 16 icon; a scaled 20 icon of 40 that must not be stored.
void FillForStorage(CXTPImageManager &manager) {
  HICON hRed = MakeIcon(16, RGB(255, 0, 0)), hHot = MakeIcon(16, RGB(0, 255, 0));
  HICON hHalf = MakeIcon(16, RGB(0, 0, 255), true);
  HBITMAP hAlpha = SolidAlpha(32, 32, Bgra(10, 20, 30, 40));
  manager.SetIcon(CXTPIconHandle(hRed), 40);
  manager.SetIcon(CXTPIconHandle(hHot), 40, CSize(16, 16), xtpImageHot);
  manager.SetIcon(CXTPIconHandle(hAlpha), 40);
  manager.SetIcon(CXTPIconHandle(hHalf), 41);
  // 20 is nearer 16 than 32, and 16 is not alpha: a scaled copy.
  ASSERT_TRUE(manager.GetImage(40, 20)->IsScaled());
  DestroyIcon(hRed);
  DestroyIcon(hHot);
  DestroyIcon(hHalf);
  DeleteObject(hAlpha);
}

void ExpectStoredImages(CXTPImageManager &manager) {
  ASSERT_EQ(manager.GetImages().size(), 2u);
  CXTPImageManagerIconSet *pSet = manager.GetIconSet(40);
  ASSERT_NE(pSet, nullptr);
  ASSERT_EQ(pSet->GetIcons().size(), 2u); // no scaled 20
  CXTPImageManagerIcon *p16 = manager.GetImage(40, 16);
  MemoryCanvas canvas(16, 16);
  p16->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(255, 0, 0));
  p16->Draw(&canvas.dc, CPoint(0, 0), p16->GetHotIcon());
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 255, 0));
  CXTPImageManagerIcon *p32 = manager.GetImage(40, 32);
  ASSERT_TRUE(p32->IsAlpha());
  RGBQUAD q = FirstPixel(p32->GetIcon());
  EXPECT_EQ(q.rgbBlue, 10);
  EXPECT_EQ(q.rgbReserved, 40);
  MemoryCanvas half(16, 16);
  manager.GetImage(41, 16)->Draw(&half.dc, CPoint(0, 0));
  EXPECT_EQ(half.Pixel(2, 8), 0xFFFFFFu); // the mask came back too
  EXPECT_EQ(half.Pixel(12, 8), RGB(0, 0, 255));
}

std::vector<BYTE> StoreToBytes(CXTPImageManager &manager) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    manager.Serialize(ar);
    ar.Close();
  }
  const size_t size = static_cast<size_t>(file.GetLength());
  BYTE *p = file.Detach();
  std::vector<BYTE> bytes(p, p + size);
  free(p);
  return bytes;
}

TEST(ImagePersistence, ArchiveRoundTripLeavesOutScaledIcons) {
  CXTPImageManager source, target;
  FillForStorage(source);
  std::vector<BYTE> bytes = StoreToBytes(source);
  HICON hOld = MakeIcon(16, 0);
  target.SetIcon(CXTPIconHandle(hOld), 99); // replaced by the load
  DestroyIcon(hOld);
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  target.Serialize(ar);
  EXPECT_EQ(target.GetIconSet(99), nullptr);
  ExpectStoredImages(target);
}

// A monochrome icon (a mask bitmap only, twice as tall): the left half lets
// the background through, the right half is black.
HICON MakeMonoIcon(int size) {
  const int stride = ((size + 15) / 16) * 2;
  std::vector<BYTE> bits(static_cast<size_t>(stride) * size * 2, 0);
  for (int y = 0; y < size; y++) // AND half: 1 keeps the background
    for (int x = 0; x < size / 2; x++) bits[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
  HBITMAP hMask = CreateBitmap(size, size * 2, 1, 1, bits.data()); // XOR half all 0
  ICONINFO info = {TRUE, 0, 0, hMask, nullptr};
  HICON hIcon = CreateIconIndirect(&info);
  DeleteObject(hMask);
  return hIcon;
}

// Each kind of icon comes back from the archive as it was drawn: a colour
// icon with its mask, an alpha image, and a monochrome icon, which has no
// colour bitmap to store.
TEST(ImagePersistence, EachKindOfIconRoundTripsThroughTheArchive) {
  CXTPImageManager source, target;
  HICON hMono = MakeMonoIcon(16), hColor = MakeIcon(16, RGB(0, 0, 255), true);
  HBITMAP hAlpha = SolidAlpha(16, 16, Bgra(0, 200, 0, 255));
  ASSERT_TRUE(hMono != nullptr);
  ASSERT_TRUE(source.SetIcon(CXTPIconHandle(hMono), 50));
  ASSERT_TRUE(source.SetIcon(CXTPIconHandle(hColor), 51));
  ASSERT_TRUE(source.SetIcon(CXTPIconHandle(hAlpha), 52));
  DestroyIcon(hMono);
  DestroyIcon(hColor);
  DeleteObject(hAlpha);
  std::vector<BYTE> bytes = StoreToBytes(source);
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  ASSERT_NO_THROW(target.Serialize(ar));
  const struct {
    UINT id;
    COLORREF left, right;
  } kCases[] = {
      {50, RGB(255, 0, 0), RGB(0, 0, 0)},
      {51, RGB(255, 0, 0), RGB(0, 0, 255)},
      {52, RGB(0, 200, 0), RGB(0, 200, 0)},
  };
  for (const auto &c : kCases) {
    CXTPImageManagerIcon *pIcon = target.GetImage(c.id, 16);
    ASSERT_NE(pIcon, nullptr) << c.id;
    EXPECT_EQ(pIcon->GetExtent(), CSize(16, 16)) << c.id;
    MemoryCanvas canvas(16, 16, RGB(255, 0, 0));
    pIcon->Draw(&canvas.dc, CPoint(0, 0));
    EXPECT_EQ(canvas.Pixel(2, 8), c.left) << c.id;
    EXPECT_EQ(canvas.Pixel(12, 8), c.right) << c.id;
  }
}

// An icon given one of its own images keeps a picture: the setters copy what
// they are given before they clear what the icon holds.
TEST(ImageManagerIcon, GivenItsOwnImagesItKeepsThem) {
  CXTPImageManager manager;
  HICON hBlue = MakeIcon(16, RGB(0, 0, 255));
  ASSERT_TRUE(manager.SetIcon(CXTPIconHandle(hBlue), 60));
  DestroyIcon(hBlue);
  CXTPImageManagerIcon *pIcon = manager.GetImage(60, 16);
  ASSERT_NE(pIcon, nullptr);
  pIcon->SetHotIcon(pIcon->GetFadedIcon());
  pIcon->SetDisabledIcon(pIcon->GetDisabledIcon());
  pIcon->SetIcon(pIcon->GetIcon());
  ASSERT_FALSE(pIcon->GetIcon().IsEmpty());
  MemoryCanvas canvas(16, 16);
  pIcon->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 0, 255));
  CXTPIconHandle handle;
  handle.SetIcon(MakeIcon(16, RGB(0, 255, 0)));
  handle.SetIcon(handle.GetIcon()); // the same icon again: still there
  MemoryCanvas again(16, 16);
  pIcon->Draw(&again.dc, CPoint(0, 0), handle);
  EXPECT_EQ(again.Pixel(8, 8), RGB(0, 255, 0));
}

TEST(ImagePersistence, RegistryRoundTrip) {
  const wchar_t kKey[] = L"Software\\QvToolkitImageTest";
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  HKEY hKey = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
  CXTPImageManager source, target;
  FillForStorage(source);
  {
    CXTPPropExchangeRegistry px(FALSE, hKey, L"Images");
    source.DoPropExchange(&px);
  }
  {
    CXTPPropExchangeRegistry px(TRUE, hKey, L"Images");
    target.DoPropExchange(&px);
  }
  ExpectStoredImages(target);
  RegCloseKey(hKey);
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

TEST(ImagePersistence, DamagedArchivesThrowArchiveExceptions) {
  CXTPImageManager source;
  FillForStorage(source);
  const std::vector<BYTE> good = StoreToBytes(source);
  // Cut at many places, and with one byte flipped at many places: every
  // load either succeeds or throws an exception of the class layer; none
  // crashes or allocates what a damaged count says.
  for (size_t cut = 0; cut < good.size(); cut += 97) {
    std::vector<BYTE> bytes(good.begin(), good.begin() + cut);
    CXTPImageManager target;
    try {
      CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
      CArchive ar(&file, CArchive::load);
      target.Serialize(ar);
    } catch (CException *e) {
      e->Delete();
    }
  }
  for (size_t at = 0; at < good.size(); at += 13) {
    std::vector<BYTE> bytes = good;
    bytes[at] ^= 0xFF;
    CXTPImageManager target;
    try {
      CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
      CArchive ar(&file, CArchive::load);
      target.Serialize(ar);
    } catch (CException *e) {
      e->Delete();
    }
  }
}

class ClipboardTest : public ::testing::Test {
protected:
  void SetUp() override {
    hWnd = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(hWnd));
    EmptyClipboard();
  }
  void TearDown() override {
    CloseClipboard();
    DestroyWindow(hWnd);
  }
  HWND hWnd = nullptr;
};

TEST_F(ClipboardTest, IconSetGoesThroughTheClipboardUnderANewId) {
  CXTPImageManager manager;
  FillForStorage(manager);
  EXPECT_FALSE(manager.CopyToClipboard(12345));
  ASSERT_TRUE(manager.CopyToClipboard(40));
  const UINT first = manager.m_nCustomID;
  UINT nID = manager.PasteFromClipboard();
  EXPECT_EQ(nID, first + 1);
  ASSERT_NE(manager.GetIconSet(nID), nullptr);
  EXPECT_EQ(manager.GetIconSet(nID)->GetIcons().size(), 2u);
  MemoryCanvas canvas(16, 16);
  manager.GetImage(nID, 16)->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(255, 0, 0));
}

TEST_F(ClipboardTest, IconSetComesFromADataObject) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  CXTPImageManager manager;
  FillForStorage(manager);
  ASSERT_TRUE(manager.CopyToClipboard(40));
  CloseClipboard();
  IDataObject *pData = nullptr;
  ASSERT_EQ(OleGetClipboard(&pData), S_OK);
  const UINT nID = manager.PasteFromClipboard(pData);
  pData->Release();
  EXPECT_EQ(nID, manager.m_nCustomID);
  ASSERT_NE(manager.GetIconSet(nID), nullptr);
  EXPECT_EQ(manager.GetIconSet(nID)->GetIcons().size(), 2u);

  // A data object without the format gives nothing and takes no id.
  ASSERT_TRUE(OpenClipboard(hWnd));
  EmptyClipboard();
  CloseClipboard();
  ASSERT_EQ(OleGetClipboard(&pData), S_OK);
  const UINT nBefore = manager.m_nCustomID;
  EXPECT_EQ(manager.PasteFromClipboard(pData), 0u);
  EXPECT_EQ(manager.m_nCustomID, nBefore);
  pData->Release();
  EXPECT_EQ(manager.PasteFromClipboard(static_cast<IDataObject *>(nullptr)), 0u);
  ASSERT_TRUE(OpenClipboard(hWnd));
  OleUninitialize();
}

TEST_F(ClipboardTest, DamagedClipboardDataGivesNoId) {
  CXTPImageManager manager;
  auto put = [](const std::vector<BYTE> &bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
  };
  EXPECT_EQ(manager.PasteFromClipboard(HGLOBAL(nullptr)), 0u);
  // A wrong check text, a pixel count of 4 GiB, and plain rubbish.
  const std::vector<std::vector<BYTE>> kBad = {
      {1, 0, 'X', 0},
      {0x15, 'C', 'X', 'T', 'P', 'I', 'm', 'a', 'g', 'e', 'M',
       'a',  'n', 'a', 'g', 'e', 'r', 'I', 'c', 'o', 'n', 's'},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
  };
  for (const auto &bytes : kBad) {
    HGLOBAL h = put(bytes);
    EXPECT_EQ(manager.PasteFromClipboard(h), 0u);
    GlobalFree(h);
  }
  EXPECT_TRUE(manager.GetImages().empty());
}

TEST(ToolBarResources, IdsWithoutSeparators) {
  std::vector<UINT> ids;
  const BYTE good[] = {1, 0, 16, 0, 15, 0, 3, 0, 10, 0, 0, 0, 11, 0};
  ASSERT_TRUE(CXTPImageManager::ParseToolBarResource(good, sizeof(good), ids));
  EXPECT_EQ(ids, (std::vector<UINT>{10, 11}));
  EXPECT_FALSE(CXTPImageManager::ParseToolBarResource(good, sizeof(good) - 1, ids)); // count past the end
  EXPECT_FALSE(CXTPImageManager::ParseToolBarResource(good, 7, ids));
}

TEST(ToolBarResources, MaskedStripGivesOneIconPerButton) {
  CXTPImageManager manager;
  ASSERT_TRUE(manager.SetIcons(500));
  const COLORREF colours[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (int i = 0; i < 3; i++) {
    CXTPImageManagerIcon *pIcon = manager.GetImage(100 + i, 16);
    ASSERT_NE(pIcon, nullptr) << i;
    EXPECT_FALSE(pIcon->IsAlpha());
    MemoryCanvas canvas(16, 16);
    pIcon->Draw(&canvas.dc, CPoint(0, 0));
    EXPECT_EQ(canvas.Pixel(8, 8), colours[i]) << i;
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFFFFFFu) << i; // magenta was the mask
  }
  EXPECT_EQ(manager.GetIconSet(0), nullptr);
}

TEST(ToolBarResources, AlphaStripKeepsItsAlpha) {
  CXTPImageManager manager;
  EXPECT_TRUE(CXTPImageManager::IsAlphaBitmapResource(501));
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapResource(500));
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapResource(9999));
  ASSERT_TRUE(manager.SetIcons(501));
  CXTPImageManagerIcon *pIcon = manager.GetImage(111, 16);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_TRUE(pIcon->IsAlpha());
  MemoryCanvas canvas(16, 16);
  pIcon->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(1, 1), 0xFFFFFFu);
}

TEST(ToolBarResources, DamagedOrMissingToolBarsLoadNothing) {
  CXTPImageManager manager;
  EXPECT_FALSE(manager.SetIcons(502));
  EXPECT_FALSE(manager.SetIcons(9999));
  EXPECT_TRUE(manager.GetImages().empty());
}

TEST(ImageFiles, AlphaBitmapCopiesAreIndependent) {
  HBITMAP hBitmap = SolidAlpha(3, 2, Bgra(1, 2, 3, 4));
  HBITMAP hCopy = CXTPImageManager::CopyAlphaBitmap(hBitmap);
  ASSERT_TRUE(hCopy);
  EXPECT_NE(hCopy, hBitmap);
  DeleteObject(hBitmap);
  CXTPIconHandle copy(hCopy);
  EXPECT_EQ(copy.GetExtent(), CSize(3, 2));
  EXPECT_EQ(FirstPixel(copy).rgbReserved, 4);
  DeleteObject(hCopy);
  EXPECT_EQ(CXTPImageManager::CopyAlphaBitmap(nullptr), nullptr);
}

} // namespace
