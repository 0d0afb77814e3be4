// The button editor: its grid arithmetic, the picture operations, and the
// dialog made hidden and driven by mouse messages sent straight to its
// controls (no cursor moves, no window is activated), then through the
// customise sheet: OK stores the picture as the control's image, Cancel
// leaves it.
#include <gtest/gtest.h>

#include <vector>

#include "CommandBarsTestSupport.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControls.h"
#include "XTPCustomizeSheet.h"
#include "XTPImageEditor.h"
#include "XTPImageEditorImage.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"
#include "XTPResource.h"

namespace {

constexpr DWORD kClear = 0xFFFEFF; // the transparent colour's pixel
constexpr DWORD kBlack = 0x000000;
constexpr DWORD kRed = 0xFF0000;

// --- pure arithmetic -------------------------------------------------------

TEST(ImageEditorGrid, CellAndControlSizes) {
  struct Case {
    CSize client, picture, cell, grid;
  } cases[] = {
      {{160, 160}, {16, 16}, {10, 10}, {161, 161}},
      {{162, 165}, {16, 16}, {10, 10}, {161, 161}},
      {{162, 108}, {16, 24}, {10, 4}, {161, 97}},
      // Larger than the grid: one screen pixel a cell, never zero.
      {{108, 108}, {200, 16}, {1, 6}, {201, 97}},
      {{10, 10}, {32, 32}, {1, 1}, {33, 33}},
      {{0, 0}, {16, 16}, {1, 1}, {17, 17}},
      {{160, 160}, {0, 0}, {1, 1}, {1, 1}},
  };
  for (const Case &c : cases) {
    const CSize cell = XTPImageEditorCellSize(c.client, c.picture);
    EXPECT_EQ(c.cell, cell) << c.client.cx << "x" << c.client.cy << " " << c.picture.cx;
    EXPECT_EQ(c.grid, XTPImageEditorGridSize(cell, c.picture)) << c.picture.cx;
  }
}

TEST(ImageEditorGrid, CellUnderAPoint) {
  struct Case {
    CPoint pt;
    CSize cell;
    CPoint expected;
  } cases[] = {
      {{0, 0}, {10, 10}, {0, 0}},    {{9, 9}, {10, 10}, {0, 0}},     {{10, 19}, {10, 10}, {1, 1}},
      {{159, 5}, {10, 10}, {15, 0}}, {{-1, -1}, {10, 10}, {-1, -1}}, {{-10, 25}, {10, 6}, {-1, 4}},
      {{7, 7}, {0, 0}, {7, 7}}, // a zero cell is taken as one pixel
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.expected, XTPImageEditorCellAt(c.pt, c.cell)) << c.pt.x << "," << c.pt.y;
}

TEST(ImageEditorGrid, CellsBetweenTwoMousePositionsJoinThem) {
  using Cells = std::vector<CPoint>;
  struct Case {
    CPoint from, to;
    Cells expected;
  } cases[] = {
      {{3, 3}, {3, 3}, {{3, 3}}},
      {{0, 0}, {3, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
      {{3, 0}, {0, 0}, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}},
      {{0, 0}, {2, 2}, {{0, 0}, {1, 1}, {2, 2}}},
      {{1, 5}, {1, 2}, {{1, 5}, {1, 4}, {1, 3}, {1, 2}}},
      {{0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}},
  };
  for (const Case &c : cases) EXPECT_EQ(c.expected, XTPImageEditorCellsBetween(c.from, c.to)) << c.to.x;
}

// --- pictures --------------------------------------------------------------

std::vector<DWORD> Row(const CXTPImageEditorImage &image, int y) {
  std::vector<DWORD> row;
  for (int x = 0; x < image.Width(); x++) row.push_back(image.GetPixel(x, y) & 0xFFFFFF);
  return row;
}

TEST(ImageEditorImage, ShiftedCopyUncoversTransparentPixels) {
  CXTPImageEditorImage image(4, 2);
  image.SetPixel(0, 0, kRed);
  image.SetPixel(3, 1, kBlack);
  struct Case {
    int dx, dy;
    std::vector<DWORD> row0, row1;
  } cases[] = {
      {1, 0, {kClear, kRed, kClear, kClear}, {kClear, kClear, kClear, kClear}},
      {-1, 0, {kClear, kClear, kClear, kClear}, {kClear, kClear, kBlack, kClear}},
      {0, 1, {kClear, kClear, kClear, kClear}, {kRed, kClear, kClear, kClear}},
      {0, -1, {kClear, kClear, kClear, kBlack}, {kClear, kClear, kClear, kClear}},
  };
  for (const Case &c : cases) {
    auto pMoved = image.Copy(4, 2, c.dx, c.dy);
    EXPECT_EQ(c.row0, Row(*pMoved, 0)) << c.dx << "," << c.dy;
    EXPECT_EQ(c.row1, Row(*pMoved, 1)) << c.dx << "," << c.dy;
  }
}

TEST(ImageEditorImage, FillStopsAtOtherColoursAndReplacementSkipsAlpha) {
  // A black wall splits the picture; the fill stays on its side.
  CXTPImageEditorImage image(5, 3);
  for (int y = 0; y < 3; y++) image.SetPixel(2, y, kBlack);
  image.FloodFill(CPoint(0, 1), kRed);
  EXPECT_EQ((std::vector<DWORD>{kRed, kRed, kBlack, kClear, kClear}), Row(image, 0));
  EXPECT_EQ((std::vector<DWORD>{kRed, kRed, kBlack, kClear, kClear}), Row(image, 2));
  // Outside the picture nothing happens.
  image.FloodFill(CPoint(9, 9), kBlack);
  EXPECT_EQ(kClear, image.GetPixel(4, 0));

  auto pFace = image.Copy(5, 3, 0, 0, XTP_IMAGEEDITOR_TRANSPARENT, RGB(1, 2, 3));
  EXPECT_EQ(0x010203u, pFace->GetPixel(4, 0));
  image.SetAlpha(TRUE);
  auto pAlpha = image.Copy(5, 3, 0, 0, XTP_IMAGEEDITOR_TRANSPARENT, RGB(1, 2, 3));
  EXPECT_EQ(kClear, pAlpha->GetPixel(4, 0) & 0xFFFFFF);
}

TEST(ImageEditorImage, AlphaCleanUpAndOpaqueMarking) {
  CXTPImageEditorImage image(3, 1, TRUE);
  image.SetPixel(0, 0, 0);          // empty: becomes transparent
  image.SetPixel(1, 0, 0x80102030); // half see-through: stays
  image.CleanAlpha();
  EXPECT_EQ(kClear, image.GetPixel(0, 0));
  EXPECT_EQ(0x80102030u, image.GetPixel(1, 0));

  auto pBefore = image.Clone();
  image.SetPixel(1, 0, kRed);   // drawn: opaque
  image.SetPixel(2, 0, kClear); // erased (was already clear): stays see-through
  image.MarkOpaque(pBefore.get());
  EXPECT_EQ(0xFFFF0000u, image.GetPixel(1, 0));
  EXPECT_EQ(kClear, image.GetPixel(2, 0));
}

TEST(ImageEditorImage, ShapesKeepTheirRightAndBottomEdgesOut) {
  CXTPImageEditorImage image(6, 6);
  image.DrawRectangle(CRect(4, 4, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(kRed, image.GetPixel(1, 1));
  EXPECT_EQ(kRed, image.GetPixel(3, 3));
  EXPECT_EQ(kClear, image.GetPixel(2, 2));
  EXPECT_EQ(kClear, image.GetPixel(4, 4));

  CXTPImageEditorImage line(6, 1);
  line.DrawLine(CPoint(0, 0), CPoint(4, 0), RGB(0, 0, 0));
  EXPECT_EQ((std::vector<DWORD>{kBlack, kBlack, kBlack, kBlack, kClear, kClear}), Row(line, 0));
}

// --- the dialog ------------------------------------------------------------

// A dialog that asks nothing: the import file and the colour come from the test.
class QuietEditor : public CXTPImageEditorDlg {
public:
  using CXTPImageEditorDlg::CXTPImageEditorDlg;
  CString m_strImport;
  BOOL AskImportFile(CString &strFileName) override {
    strFileName = m_strImport;
    return !m_strImport.IsEmpty();
  }
  BOOL AskColor(COLORREF &) override { return FALSE; }
};

LPARAM At(CPoint pt) {
  return MAKELPARAM(pt.x, pt.y);
}

class ImageEditor : public testing::Test {
protected:
  void Open(CSize szPicture = CSize(16, 16)) {
    pDlg = std::make_unique<QuietEditor>();
    pDlg->SetPictureSize(szPicture);
    ASSERT_TRUE(pDlg->CreateHidden(nullptr));
    ASSERT_FALSE(pDlg->IsWindowVisible());
    EXPECT_NE(pDlg->GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_FALSE(::GetFocus() && ::IsChild(pDlg->GetSafeHwnd(), ::GetFocus()));
  }
  void TearDown() override {
    if (pDlg && pDlg->GetSafeHwnd()) pDlg->DestroyWindow();
  }
  HWND Grid() { return pDlg->GetPicture().GetSafeHwnd(); }
  // The client point in the middle of a picture cell.
  CPoint Cell(int x, int y) {
    const CSize cell = pDlg->GetPicture().GetCellSize();
    return CPoint(x * cell.cx + cell.cx / 2, y * cell.cy + cell.cy / 2);
  }
  // Presses at the first cell, moves through the others, releases at the last.
  void Stroke(std::vector<CPoint> cells) {
    ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, At(Cell(cells[0].x, cells[0].y)));
    for (size_t i = 1; i < cells.size(); i++)
      ::SendMessageW(Grid(), WM_MOUSEMOVE, MK_LBUTTON, At(Cell(cells[i].x, cells[i].y)));
    ::SendMessageW(Grid(), WM_LBUTTONUP, 0, At(Cell(cells.back().x, cells.back().y)));
  }
  void Command(UINT nID) { ::SendMessageW(pDlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0); }
  void ClickPicker(CXTPImageEditorPicker &picker) {
    ::SendMessageW(picker.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(CPoint(2, 2)));
  }
  DWORD Pixel(int x, int y) {
    const CXTPImageEditorImage *pImage = pDlg->GetPicture().GetCurrent();
    return pImage ? pImage->GetPixel(x, y) & 0xFFFFFF : kClear;
  }
  BOOL Pressed(UINT nID) {
    return (::SendMessageW(pDlg->GetToolsBar(), TB_GETSTATE, nID, 0) & TBSTATE_CHECKED) != 0;
  }
  BOOL Enabled(UINT nID) {
    return (::SendMessageW(pDlg->GetToolsBar(), TB_GETSTATE, nID, 0) & TBSTATE_ENABLED) != 0;
  }

  std::unique_ptr<QuietEditor> pDlg;
};

TEST_F(ImageEditor, TheGridTakesWholeCellsAndTheBarsTheirButtons) {
  Open();
  CRect rc;
  ::GetClientRect(Grid(), &rc);
  const CSize cell = pDlg->GetPicture().GetCellSize();
  EXPECT_GT(cell.cx, 0);
  EXPECT_EQ(CSize(cell.cx * 16 + 1, cell.cy * 16 + 1), rc.Size());
  EXPECT_EQ(12, ::SendMessageW(pDlg->GetToolsBar(), TB_BUTTONCOUNT, 0, 0));
  EXPECT_EQ(4, ::SendMessageW(pDlg->GetMoveBar(), TB_BUTTONCOUNT, 0, 0));
  // Black is chosen, the pencil pressed, nothing to undo yet.
  EXPECT_EQ(RGB(0, 0, 0), pDlg->GetDrawColor());
  EXPECT_TRUE(pDlg->GetPalette(0).m_bSelected);
  EXPECT_TRUE(Pressed(XTP_ID_BUTTON_PENCIL));
  EXPECT_FALSE(Enabled(XTP_ID_BUTTON_UNDO));
  EXPECT_FALSE(Enabled(XTP_ID_BUTTON_REDO));
}

TEST_F(ImageEditor, TheFramesHaveIdsNoCommandUses) {
  Open();
  // The frames keep their texts and no longer answer to a shift command's id.
  const UINT commands[] = {XTP_ID_BUTTON_MOVELEFT, XTP_ID_BUTTON_MOVERIGHT, XTP_ID_BUTTON_MOVEUP,
                           XTP_ID_BUTTON_MOVEDOWN, XTP_IDC_STATIC_TOOLS};
  struct Frame {
    UINT nID;
    const wchar_t *pszText;
  } frames[] = {
      {XTP_IDC_STATIC_MOVE, L"Move"}, {XTP_IDC_STATIC_COLORS, L"Colors"}, {XTP_IDC_STATIC_TOOLS, L"Tools"}};
  for (const Frame &frame : frames) {
    HWND hFrame = ::GetDlgItem(pDlg->GetSafeHwnd(), frame.nID);
    ASSERT_NE(nullptr, hFrame) << frame.nID;
    wchar_t szText[32] = {};
    ::GetWindowTextW(hFrame, szText, 32);
    EXPECT_STREQ(frame.pszText, szText);
    for (UINT nCommand : commands) {
      if (nCommand != XTP_IDC_STATIC_TOOLS) {
        EXPECT_NE(nCommand, frame.nID) << frame.pszText;
      }
    }
  }
}

TEST_F(ImageEditor, ThePencilJoinsTheCellsOfAQuickStroke) {
  Open();
  // One mouse message from (1,1) straight to (6,1): the cells between are drawn too.
  Stroke({{1, 1}, {6, 1}, {6, 4}});
  for (int x = 1; x <= 6; x++) EXPECT_EQ(kBlack, Pixel(x, 1)) << x;
  for (int y = 1; y <= 4; y++) EXPECT_EQ(kBlack, Pixel(6, y)) << y;
  EXPECT_EQ(kClear, Pixel(0, 1));
  EXPECT_EQ(kClear, Pixel(7, 1));
  EXPECT_EQ(kClear, Pixel(5, 2));
  // One stroke, one undo step.
  EXPECT_TRUE(Enabled(XTP_ID_BUTTON_UNDO));
  Command(XTP_ID_BUTTON_UNDO);
  EXPECT_EQ(nullptr, pDlg->GetPicture().GetCurrent());
  EXPECT_TRUE(Enabled(XTP_ID_BUTTON_REDO));
  Command(XTP_ID_BUTTON_REDO);
  EXPECT_EQ(kBlack, Pixel(3, 1));
}

TEST_F(ImageEditor, FillShiftAndTheTransparentPickerErase) {
  Open(CSize(8, 8));
  // A closed black square from (1,1) to (4,4), filled red inside.
  Command(XTP_ID_BUTTON_RECTANGLE);
  EXPECT_TRUE(Pressed(XTP_ID_BUTTON_RECTANGLE));
  EXPECT_FALSE(Pressed(XTP_ID_BUTTON_PENCIL));
  Stroke({{1, 1}, {3, 3}, {5, 5}});
  EXPECT_EQ(kBlack, Pixel(1, 1));
  EXPECT_EQ(kBlack, Pixel(4, 4));
  EXPECT_EQ(kClear, Pixel(5, 5));
  Command(XTP_ID_BUTTON_FILL);
  ClickPicker(pDlg->GetPalette(10));
  EXPECT_EQ(RGB(255, 0, 0), pDlg->GetDrawColor());
  EXPECT_FALSE(pDlg->GetPalette(0).m_bSelected);
  ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, At(Cell(2, 2)));
  ::SendMessageW(Grid(), WM_LBUTTONUP, 0, At(Cell(2, 2)));
  EXPECT_EQ(kRed, Pixel(2, 2));
  EXPECT_EQ(kRed, Pixel(3, 3));
  EXPECT_EQ(kClear, Pixel(0, 0));
  EXPECT_EQ(kClear, Pixel(6, 6));

  // Right and down by one each; the left column and top row come out clear.
  Command(XTP_ID_BUTTON_MOVERIGHT);
  Command(XTP_ID_BUTTON_MOVEDOWN);
  EXPECT_EQ(kBlack, Pixel(2, 2));
  EXPECT_EQ(kRed, Pixel(4, 4));
  EXPECT_EQ(kBlack, Pixel(5, 5));
  EXPECT_EQ(kClear, Pixel(1, 1));
  Command(XTP_ID_BUTTON_MOVELEFT);
  Command(XTP_ID_BUTTON_MOVEUP);
  EXPECT_EQ(kBlack, Pixel(1, 1));

  // The transparent picker draws transparency.
  Command(XTP_ID_BUTTON_PENCIL);
  ClickPicker(pDlg->GetTransparentPicker());
  Stroke({{2, 2}});
  EXPECT_EQ(kClear, Pixel(2, 2));
  EXPECT_EQ(kRed, Pixel(3, 2));
}

TEST_F(ImageEditor, PickingAColourGoesBackToThePreviousTool) {
  Open(CSize(4, 4));
  ClickPicker(pDlg->GetPalette(14)); // blue
  Stroke({{0, 0}});
  Command(XTP_ID_BUTTON_LINE);
  for (int n = 0; n < 2; n++) {
    Command(XTP_ID_BUTTON_GETCOLOR);
    Command(XTP_ID_BUTTON_GETCOLOR);
    ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, At(Cell(0, 0)));
    EXPECT_EQ(xtpToolLine, pDlg->GetCurrentTool()) << n;
    EXPECT_TRUE(pDlg->GetFreePicker().m_bSelected);
    EXPECT_EQ(RGB(0, 0, 255), pDlg->GetDrawColor());
  }
}

TEST_F(ImageEditor, UndoKeepsSixteenStepsAndANewStrokeEmptiesRedo) {
  Open(CSize(20, 4));
  for (int x = 0; x < 17; x++) Stroke({{x, 0}});
  int nUndone = 0;
  while (Enabled(XTP_ID_BUTTON_UNDO)) {
    Command(XTP_ID_BUTTON_UNDO);
    nUndone++;
  }
  EXPECT_EQ(16, nUndone);
  // The first stroke could not be undone.
  EXPECT_EQ(kBlack, Pixel(0, 0));
  EXPECT_EQ(kClear, Pixel(1, 0));
  EXPECT_TRUE(Enabled(XTP_ID_BUTTON_REDO));
  Stroke({{19, 3}});
  EXPECT_FALSE(Enabled(XTP_ID_BUTTON_REDO));

  // Clear, then undo, gives the picture back.
  Command(XTP_ID_BUTTON_CLEAR);
  EXPECT_EQ(nullptr, pDlg->GetPicture().GetCurrent());
  Command(XTP_ID_BUTTON_UNDO);
  EXPECT_EQ(kBlack, Pixel(19, 3));
}

TEST_F(ImageEditor, CopyAndPasteGiveBackTheSamePixels) {
  Open(CSize(6, 6));
  ClickPicker(pDlg->GetPalette(10));
  Stroke({{0, 0}, {5, 5}});
  ClickPicker(pDlg->GetPalette(0));
  Stroke({{5, 0}});
  const std::vector<DWORD> before = pDlg->GetPicture().GetCurrent()->Pixels();

  Command(XTP_ID_BUTTON_COPY);
  ASSERT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  Command(XTP_ID_BUTTON_CLEAR);
  ASSERT_EQ(nullptr, pDlg->GetPicture().GetCurrent());
  Command(XTP_ID_BUTTON_PASTE);
  ASSERT_NE(nullptr, pDlg->GetPicture().GetCurrent());
  std::vector<DWORD> after = pDlg->GetPicture().GetCurrent()->Pixels();
  for (DWORD &dw : after) dw &= 0xFFFFFF;
  EXPECT_EQ(before, after);
  EXPECT_EQ(kClear, Pixel(3, 0));

  // Pasting cuts a larger bitmap at the top left.
  CXTPImageEditorImage big(10, 10);
  big.SetPixel(2, 2, kBlack);
  big.SetPixel(8, 8, kRed);
  HBITMAP hBig = big.CreateBitmap();
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, hBig);
  ::CloseClipboard();
  Command(XTP_ID_BUTTON_PASTE);
  EXPECT_EQ(CSize(6, 6), pDlg->GetPicture().GetCurrent()->GetSize());
  EXPECT_EQ(kBlack, Pixel(2, 2));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST_F(ImageEditor, APictureLargerThanTheGridIsEditedAtOnePixelACell) {
  Open(CSize(200, 200));
  EXPECT_EQ(CSize(1, 1), pDlg->GetPicture().GetCellSize());
  ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, At(CPoint(150, 120)));
  ::SendMessageW(Grid(), WM_LBUTTONUP, 0, At(CPoint(150, 120)));
  EXPECT_EQ(kBlack, Pixel(150, 120));
  // Painting the big grid divides by the cell size too.
  ::RedrawWindow(Grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(ImageEditor, ImportScalesAPictureAndCutsABitmap) {
  Open(CSize(4, 4));
  wchar_t szDir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, szDir);
  const CString strFile = CString(szDir) + L"ImageEditorTestImport.bmp";
  // An 8 x 8 bitmap file, red at (1,1), written by hand: 24 bits, bottom-up.
  {
    const int cx = 8, cy = 8, stride = cx * 3;
    std::vector<BYTE> pixels(stride * cy, 0xFF);
    BYTE *p = &pixels[(cy - 1 - 1) * stride + 1 * 3];
    p[0] = 0;
    p[1] = 0;
    p[2] = 0xFF;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = cx;
    info.biHeight = cy;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE h = ::CreateFileW(strFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD nWritten = 0;
    ::WriteFile(h, &file, sizeof(file), &nWritten, nullptr);
    ::WriteFile(h, &info, sizeof(info), &nWritten, nullptr);
    ::WriteFile(h, pixels.data(), static_cast<DWORD>(pixels.size()), &nWritten, nullptr);
    ::CloseHandle(h);
  }
  pDlg->m_strImport = strFile;
  Command(XTP_ID_BUTTON_OPEN);
  ASSERT_NE(nullptr, pDlg->GetPicture().GetCurrent());
  EXPECT_EQ(kRed, Pixel(1, 1));
  EXPECT_EQ(0xFFFFFFu, Pixel(3, 3));
  EXPECT_TRUE(Enabled(XTP_ID_BUTTON_UNDO));
  // A file that is not there changes nothing.
  pDlg->m_strImport = CString(szDir) + L"ImageEditorTestAbsent.bmp";
  Command(XTP_ID_BUTTON_UNDO);
  Command(XTP_ID_BUTTON_OPEN);
  EXPECT_EQ(nullptr, pDlg->GetPicture().GetCurrent());
  ::DeleteFileW(strFile);
}

// Writes a 16 x 16 icon file of one 32-bit image: opaque red in the middle
// (4..11), empty around.
void WriteAlphaIconFile(const CString &strFile) {
  std::vector<BYTE> bytes;
  auto put16 = [&](unsigned v) {
    bytes.push_back(static_cast<BYTE>(v));
    bytes.push_back(static_cast<BYTE>(v >> 8));
  };
  auto put32 = [&](unsigned v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  const unsigned cbImage = 40 + 16 * 16 * 4 + 16 * 4;
  put16(0), put16(1), put16(1); // directory: an icon, one image
  bytes.push_back(16), bytes.push_back(16), bytes.push_back(0), bytes.push_back(0);
  put16(1), put16(32), put32(cbImage), put32(6 + 16);             // planes, bits, size, offset
  put32(40), put32(16), put32(32), put16(1), put16(32), put32(0); // header: height doubled for the mask
  put32(0), put32(0), put32(0), put32(0), put32(0);
  for (int row = 15; row >= 0; row--) // colour rows, bottom-up
    for (int x = 0; x < 16; x++) put32((x >= 4 && x < 12 && row >= 4 && row < 12) ? 0xFFFF0000u : 0u);
  for (int row = 0; row < 16; row++) put32(0); // mask: alpha decides
  HANDLE h = ::CreateFileW(strFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  DWORD nWritten = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
  ::CloseHandle(h);
}

TEST_F(ImageEditor, ImportOfAnAlphaIconFileGivesAnAlphaPicture) {
  Open(CSize(16, 16));
  wchar_t szDir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, szDir);
  const CString strFile = CString(szDir) + L"ImageEditorTestImport.ico";
  WriteAlphaIconFile(strFile);
  pDlg->m_strImport = strFile;
  Command(XTP_ID_BUTTON_OPEN);
  const CXTPImageEditorImage *pImage = pDlg->GetPicture().GetCurrent();
  ASSERT_NE(nullptr, pImage);
  EXPECT_TRUE(pImage->HasAlpha());
  EXPECT_EQ(0xFFFF0000u, pImage->GetPixel(8, 8));
  EXPECT_TRUE(pImage->IsTransparent(0, 0)); // the empty pixels were cleaned up
  EXPECT_TRUE(Enabled(XTP_ID_BUTTON_UNDO));
  ::DeleteFileW(strFile);
}

TEST_F(ImageEditor, AnIconGoesInAndComesOutWithItsTransparency) {
  // A 16 x 16 icon, red in the middle, see-through around.
  CXTPImageEditorImage source(16, 16);
  for (int y = 4; y < 12; y++)
    for (int x = 4; x < 12; x++) source.SetPixel(x, y, kRed);
  auto pEditor = std::make_unique<QuietEditor>();
  {
    CXTPIconHandle hIcon;
    HBITMAP hBitmap = source.CreateBitmap();
    HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    ::ImageList_AddMasked(hList, hBitmap, XTP_IMAGEEDITOR_TRANSPARENT);
    hIcon.SetIcon(::ImageList_GetIcon(hList, 0, ILD_NORMAL));
    ::ImageList_Destroy(hList);
    ::DeleteObject(hBitmap);
    pEditor->SetIcon(hIcon);
  }
  EXPECT_EQ(CSize(16, 16), pEditor->GetPictureSize());
  pDlg = std::move(pEditor);
  ASSERT_TRUE(pDlg->CreateHidden(nullptr));
  EXPECT_EQ(kRed, Pixel(8, 8));
  EXPECT_EQ(kClear, Pixel(1, 1));
  CXTPIconHandle hOut;
  pDlg->GetIcon(hOut);
  ASSERT_FALSE(hOut.IsEmpty());
  ASSERT_FALSE(hOut.IsAlpha());
  pDlg->DestroyWindow();
  // After the run the edited picture is still there for the caller.
  CXTPIconHandle hAfter;
  pDlg->GetIcon(hAfter);
  EXPECT_FALSE(hAfter.IsEmpty());
}

TEST_F(ImageEditor, AnAlphaPictureKeepsItsAlphaAndErasesToSeeThrough) {
  // A 16 x 16 alpha bitmap: empty (all zero) around, half see-through green in the middle.
  CXTPImageEditorImage source(16, 16, TRUE);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++)
      source.SetPixel(x, y, (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0x80008000 : 0);
  HBITMAP hBitmap = source.CreateBitmap();
  CXTPIconHandle hIn;
  hIn.SetAlphaBitmap(hBitmap);
  ::DeleteObject(hBitmap);
  pDlg = std::make_unique<QuietEditor>();
  pDlg->SetIcon(hIn);
  ASSERT_TRUE(pDlg->CreateHidden(nullptr));
  const CXTPImageEditorImage *pImage = pDlg->GetPicture().GetCurrent();
  ASSERT_NE(nullptr, pImage);
  EXPECT_TRUE(pImage->HasAlpha());
  EXPECT_TRUE(pImage->IsTransparent(0, 0)); // the empty pixels were cleaned up
  EXPECT_EQ(0x80008000u, pImage->GetPixel(8, 8));

  // Red on (0,0) is opaque; the transparent picker over (8,8) leaves it see-through.
  ClickPicker(pDlg->GetPalette(10));
  Stroke({{0, 0}});
  ClickPicker(pDlg->GetTransparentPicker());
  Stroke({{8, 8}});
  pImage = pDlg->GetPicture().GetCurrent();
  EXPECT_EQ(0xFFFF0000u, pImage->GetPixel(0, 0));
  EXPECT_EQ(kClear, pImage->GetPixel(8, 8));
  EXPECT_EQ(0x80008000u, pImage->GetPixel(9, 9));

  CXTPIconHandle hOut;
  pDlg->GetIcon(hOut);
  ASSERT_TRUE(hOut.IsAlpha());
  auto pBack = CXTPImageEditorImage::FromBitmap(hOut.GetBitmap(), TRUE);
  ASSERT_NE(nullptr, pBack);
  EXPECT_EQ(0xFFFF0000u, pBack->GetPixel(0, 0));
  EXPECT_EQ(0u, pBack->GetPixel(8, 8) >> 24);
}

TEST_F(ImageEditor, ToolTipsAreTheTextAfterTheNewline) {
  Open();
  struct Case {
    UINT nID;
    const wchar_t *pszTip;
  } cases[] = {{XTP_ID_BUTTON_PENCIL, L"Pencil"},
               {XTP_ID_BUTTON_CIRCLE, L"Ellipse"},
               {XTP_ID_BUTTON_OPEN, L"Import from File"},
               {XTP_ID_BUTTON_MOVELEFT, L""}};
  for (const Case &c : cases) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = nullptr;
    info.hdr.idFrom = c.nID;
    info.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(pDlg->GetSafeHwnd(), WM_NOTIFY, c.nID, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(c.pszTip, info.szText) << c.nID;
  }
}

// --- through the customise sheet ------------------------------------------

constexpr int kButtonId = 500;

// A sheet that runs the editor hidden: the test's edit, then OK or Cancel.
class EditingSheet : public CXTPCustomizeSheet {
public:
  using CXTPCustomizeSheet::CXTPCustomizeSheet;
  using CXTPCustomizeSheet::OpenImageEditor;
  INT_PTR m_nAnswer = IDOK;
  CSize m_szGiven;
  COLORREF m_clrGiven = 0;

protected:
  INT_PTR RunImageEditor(CXTPImageEditorDlg &dlg) override {
    if (!dlg.CreateHidden(nullptr)) return IDCANCEL;
    m_szGiven = dlg.GetPictureSize();
    const CXTPImageEditorImage *pImage = dlg.GetPicture().GetCurrent();
    m_clrGiven = pImage ? pImage->GetColor(8, 8) : CLR_INVALID;
    // Pencil in blue at (8,8) of a 16 x 16 picture.
    ::SendMessageW(dlg.GetPalette(14).GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    const CSize cell = dlg.GetPicture().GetCellSize();
    const LPARAM at = MAKELPARAM(8 * cell.cx + 1, 8 * cell.cy + 1);
    ::SendMessageW(dlg.GetPicture().GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(dlg.GetPicture().GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    dlg.DestroyWindow();
    return m_nAnswer;
  }
};

using cbtest::ImagePixel;

class ImageEditorSheet : public testing::Test {
protected:
  void SetUp() override {
    pBars->SetSite(nullptr);
    pMenu = CXTPPopupBar::CreatePopupBar(pBars);
    pControl = pMenu->GetControls()->Add(xtpControlButton, kButtonId);
    // The command's own image: a green picture.
    CXTPImageEditorImage green(16, 16);
    green.FloodFill(CPoint(0, 0), 0x008000);
    HBITMAP hBitmap = green.CreateBitmap();
    HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    ::ImageList_AddMasked(hList, hBitmap, XTP_IMAGEEDITOR_TRANSPARENT);
    CXTPIconHandle hIcon;
    hIcon.SetIcon(::ImageList_GetIcon(hList, 0, ILD_NORMAL));
    ::ImageList_Destroy(hList);
    ::DeleteObject(hBitmap);
    pBars->GetImageManager()->SetIcon(hIcon, kButtonId);
    pBars->SetDragControl(pControl);
  }
  void TearDown() override {
    pBars->SetDragControl(nullptr);
    delete pSheet;
    pMenu->InternalRelease();
    pBars->InternalRelease();
  }
  CWinApp app;
  CXTPCommandBars *pBars = new CXTPCommandBars;
  CXTPPopupBar *pMenu = nullptr;
  CXTPControl *pControl = nullptr;
  EditingSheet *pSheet = nullptr;
};

TEST_F(ImageEditorSheet, OkStoresTheEditedPictureAndCancelLeavesIt) {
  pSheet = new EditingSheet(pBars);
  pSheet->m_nAnswer = IDCANCEL;
  EXPECT_FALSE(pSheet->EditButtonImage());
  EXPECT_EQ(CSize(16, 16), pSheet->m_szGiven);
  EXPECT_EQ(RGB(0, 128, 0), pSheet->m_clrGiven);
  EXPECT_LE(pControl->GetCustomIconId(), 0);

  pSheet->m_nAnswer = IDOK;
  ASSERT_TRUE(pSheet->EditButtonImage());
  const int nCustom = pControl->GetCustomIconId();
  ASSERT_GT(nCustom, 0);
  CXTPImageManagerIcon *pImage = pBars->GetImageManager()->GetImage(static_cast<UINT>(nCustom), 16);
  ASSERT_NE(nullptr, pImage);
  EXPECT_EQ(RGB(0, 0, 255), ImagePixel(pImage, 8, 8));
  EXPECT_EQ(RGB(0, 128, 0), ImagePixel(pImage, 2, 2));
  // The command's own image is untouched.
  EXPECT_EQ(RGB(0, 128, 0), ImagePixel(pBars->GetImageManager()->GetImage(kButtonId, 16), 8, 8));
}

} // namespace
