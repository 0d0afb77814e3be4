// The log view: its columns, the rows that log calls add, the counters the
// command table reads, and Clear Log.
#include <windows.h>

#include <gtest/gtest.h>

#include <typeinfo>

#include "QuendalVarnoth.h"
#include "SimpleListView.h"

namespace {

class SimpleListViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    ASSERT_TRUE(m_parent.CreateEx(0, windowClass, L"log test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  600, 200, nullptr, nullptr));
    m_view = static_cast<CSimpleListView *>(RUNTIME_CLASS(CSimpleListView)->CreateObject());
    ASSERT_TRUE(m_view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 600, 100), &m_parent,
                               AFX_IDW_PANE_FIRST));
    m_view->SendMessage(WM_INITIALUPDATE);
  }
  void TearDown() override {
    if (m_parent.m_hWnd != nullptr) m_parent.DestroyWindow();
  }
  int TopRow() const { return (int)m_view->SendMessage(LVM_GETTOPINDEX); }

  CQuendalVarnothApp m_app;
  CWnd m_parent;
  CSimpleListView *m_view = nullptr; // deletes itself with its window
};

TEST_F(SimpleListViewTest, InitialUpdateRegistersTheViewOnce) {
  EXPECT_EQ(m_app.LogView, m_view);
  HWND header = reinterpret_cast<HWND>(m_view->SendMessage(LVM_GETHEADER));
  EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
  m_view->SendMessage(WM_INITIALUPDATE);
  EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
}

// The header is the toolkit's, shaded, with a picture before each title:
// printed into a bitmap, each column shows its picture's own colours (the
// pure green around them is the mask and never shows).
TEST_F(SimpleListViewTest, HeaderShowsAPictureInEachColumn) {
  const CXTHeaderCtrl &header = m_view->Header();
  ASSERT_EQ(header.GetSafeHwnd(), reinterpret_cast<HWND>(m_view->SendMessage(LVM_GETHEADER)));
  ASSERT_NE(header.GetTheme(), nullptr);
  EXPECT_EQ(typeid(*header.GetTheme()), typeid(CXTHeaderThemeShaded));
  CRect client;
  ::GetClientRect(header.GetSafeHwnd(), &client);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = client.Width();
  info.bmiHeader.biHeight = -client.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(hDC, hBitmap);
  ::SendMessageW(header.GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
  const COLORREF face = header.GetTheme()->m_cr3DFace, text = header.GetTheme()->m_crText;
  for (int column = 0; column < 3; column++) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    ASSERT_TRUE(Header_GetItem(header.GetSafeHwnd(), column, &item));
    EXPECT_NE(item.fmt & HDF_BITMAP, 0) << column;
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(item.hbm), &cx, &cy)) << column;
    EXPECT_EQ(cx, 16);
    CRect rc;
    Header_GetItemRect(header.GetSafeHwnd(), column, &rc);
    int picture = 0, green = 0;
    for (int y = rc.top + 2; y < rc.bottom - 3; y++)
      for (int x = rc.left + 6; x < rc.left + 6 + cx; x++) {
        const COLORREF pixel = ::GetPixel(hDC, x, y);
        picture += pixel != face && pixel != text ? 1 : 0;
        green += pixel == RGB(0, 255, 0) ? 1 : 0;
      }
    EXPECT_GT(picture, 20) << column;
    EXPECT_EQ(green, 0) << column;
  }
  ::SelectObject(hDC, old);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hDC);
}

TEST_F(SimpleListViewTest, RowsKeepTheirColumnsAndCount) {
  m_view->AddLogEntry(L"Fast Search", L"Logical Drive C:", L"Started", CSimpleListView::Started);
  m_view->AddLogEntry(nullptr, L"Reading sector 7", L"Error", CSimpleListView::Error | 0x100);
  EXPECT_EQ(m_view->GetLogRowCount(), 2);
  EXPECT_EQ(m_app.LogRowCount, 2);
  EXPECT_EQ(m_app.LogNotEmpty, 1);
  EXPECT_EQ(m_view->GetLogItemText(0, 0), CString(L"Fast Search"));
  EXPECT_EQ(m_view->GetLogItemText(1, 0), CString(L""));
  EXPECT_EQ(m_view->GetLogItemText(1, 2), CString(L"Error"));
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  m_view->SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, CSimpleListView::Error); // only the low byte counts
  std::vector<LogRow> rows = m_view->GetLogRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1], L"Logical Drive C:");
}

TEST_F(SimpleListViewTest, TheNewestRowIsAlwaysInView) {
  const int perPage = (int)m_view->SendMessage(LVM_GETCOUNTPERPAGE);
  ASSERT_GT(perPage, 0);
  for (int rows = 1; rows <= perPage + 13; rows++) {
    m_view->AddLogEntry(L"step", L"text", L"", CSimpleListView::Completed);
    const int newest = rows - 1;
    EXPECT_LE(TopRow(), newest) << rows;
    EXPECT_GE(TopRow() + perPage - 1, newest) << rows;
  }
}

TEST_F(SimpleListViewTest, ClearLogEmptiesTheView) {
  m_view->AddLogEntry(L"a", L"b", L"c", CSimpleListView::Completed);
  m_view->ClearLog();
  EXPECT_EQ(m_view->GetLogRowCount(), 0);
}

} // namespace
