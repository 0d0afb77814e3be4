// The button editor's gallery page: the editor lives in the page on the
// sample picture, and its OK stores the edited picture for the page's button.
// Mouse messages go straight to the grid: no cursor moves, nothing is activated.
#include <gtest/gtest.h>

#include "GalleryImageEditorSection.h"
#include "XTPImageEditor.h"
#include "XTPResource.h"

namespace {

COLORREF IconPixel(const CXTPIconHandle &hIcon, int x, int y) {
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 16, 16);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  RECT rc = {0, 0, 16, 16};
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::DrawIconEx(hDC, 0, 0, hIcon.GetIcon(), 16, 16, 0, nullptr, DI_NORMAL);
  const COLORREF clr = ::GetPixel(hDC, x, y);
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hDC);
  return clr;
}

TEST(GalleryImageEditor, ThePageHostsTheEditorAndOkStoresItsPicture) {
  CWnd page;
  ASSERT_TRUE(page.CreateEx(0, L"Static", L"", WS_POPUP, 0, 0, 900, 400, nullptr, nullptr));
  {
    CGalleryImageEditorSection section;
    section.Create(&page, CRect(0, 0, 900, 300));
    CXTPImageEditorDlg *pEditor = section.GetEditor();
    ASSERT_NE(nullptr, pEditor);
    ASSERT_NE(nullptr, pEditor->GetSafeHwnd());
    EXPECT_EQ(page.GetSafeHwnd(), ::GetParent(pEditor->GetSafeHwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(pEditor->GetSafeHwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_NE(pEditor->GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_NE(page.GetSafeHwnd(), ::GetActiveWindow());
    // The sample: see-through corners, a white highlight at (5,5).
    const CXTPImageEditorImage *pImage = pEditor->GetPicture().GetCurrent();
    ASSERT_NE(nullptr, pImage);
    EXPECT_TRUE(pImage->IsTransparent(0, 0));
    EXPECT_EQ(RGB(255, 255, 255), pImage->GetColor(5, 5));
    EXPECT_EQ(RGB(255, 255, 255), IconPixel(section.GetStored(), 5, 5));

    // Black over the highlight, then OK.
    const CSize cell = pEditor->GetPicture().GetCellSize();
    const LPARAM at = MAKELPARAM(5 * cell.cx + 1, 5 * cell.cy + 1);
    ::SendMessageW(pEditor->GetPicture().GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(pEditor->GetPicture().GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(RGB(255, 255, 255), IconPixel(section.GetStored(), 5, 5));
    ::SendMessageW(pEditor->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(RGB(0, 0, 0), IconPixel(section.GetStored(), 5, 5));
    // The page stays: OK stores, it does not end the editor.
    EXPECT_TRUE(::IsWindow(pEditor->GetSafeHwnd()));
    EXPECT_EQ(RGB(255, 255, 255), IconPixel(section.GetStored(), 0, 0));
  }
  page.DestroyWindow();
}

} // namespace
