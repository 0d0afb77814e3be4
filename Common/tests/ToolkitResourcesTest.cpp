// The toolkit's own resources, as XTPResources.rc puts them into a program:
// each id with its type, the texts, bitmaps, cursors, menus and dialogs that
// the toolkit's classes rely on, and the header's toolbar read through the
// loaders.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "MemoryCanvas.h"
#include "XTPImageManager.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

namespace {

HMODULE Program() {
  return ::GetModuleHandleW(nullptr);
}

// The bytes of one resource of the program, empty when it has none.
std::vector<BYTE> ResourceBytes(UINT nID, LPCWSTR lpszType) {
  HRSRC hFound = ::FindResourceW(Program(), MAKEINTRESOURCEW(nID), lpszType);
  if (!hFound) return {};
  const BYTE *pData = static_cast<const BYTE *>(::LockResource(::LoadResource(Program(), hFound)));
  return std::vector<BYTE>(pData, pData + ::SizeofResource(Program(), hFound));
}

const LPCWSTR kToolBar = MAKEINTRESOURCEW(241);

struct Presence {
  UINT id;
  LPCWSTR type;
};

// Every resource but the strings (below), by id and type.
const Presence kResources[] = {
    {XT_IDB_LIGHTBULB, RT_BITMAP},
    {XT_IDM_POPUP, RT_MENU},
    {XT_IDR_TBAR_HDR, kToolBar},
    {XT_IDR_TBAR_HDR, RT_BITMAP},
    {XT_IDD_TIPOFTHEDAY, RT_DIALOG},
    {XT_IDC_DRAGCOPY, RT_GROUP_CURSOR},
    {XT_IDC_DRAGMOVE, RT_GROUP_CURSOR},
    {XT_IDC_HAND, RT_GROUP_CURSOR},
    {XT_IDC_DRAGNONE, RT_GROUP_CURSOR},
    {XT_IDC_HANDNONE, RT_GROUP_CURSOR},
    {XTP_IDC_COMMANDBARS_DRAGCOPY, RT_GROUP_CURSOR},
    {XTP_IDC_COMMANDBARS_DRAGMOVE, RT_GROUP_CURSOR},
    {XTP_IDC_COMMANDBARS_DRAGDELETE, RT_GROUP_CURSOR},
    {XTP_IDD_PAGE_TOOLBARS, RT_DIALOG},
    {XTP_IDD_PAGE_COMMANDS, RT_DIALOG},
    {XTP_IDD_NEWTOOLBAR, RT_DIALOG},
    {XTP_IDR_CUSTOMIZEMENU, RT_MENU},
    {XTP_IDD_IMAGEEDITOR_DIALOG, RT_DIALOG},
    {XTP_IDB_IMAGEEDITOR_TOOLS, RT_BITMAP},
    {XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA, RT_BITMAP},
    {XTP_IDC_CURSOR_LINE, RT_GROUP_CURSOR},
    {XTP_IDC_CURSOR_PICKCOLOR, RT_GROUP_CURSOR},
    {XTP_IDC_CURSOR_FILL, RT_GROUP_CURSOR},
    {XTP_IDC_CURSOR_PENCIL, RT_GROUP_CURSOR},
    {XTP_IDB_MENUBAR_SYSBUTTONS, RT_BITMAP},
    {XTP_IDB_DOCKINGPANE_STICKERS_BACK, RT_BITMAP},
    {XTP_IDB_DOCKINGPANE_STICKERS, RT_BITMAP},
    {XTP_IDB_DOCKINGPANE_STICKERS_OLIVE, RT_BITMAP},
    {XTP_IDB_DOCKINGPANE_STICKERS_SILVER, RT_BITMAP},
    {XTP_IDC_HSPLITBAR, RT_GROUP_CURSOR},
    {XTP_IDC_VSPLITBAR, RT_GROUP_CURSOR},
    {XTP_IDC_SIZECONTROL, RT_GROUP_CURSOR},
};

TEST(ToolkitResources, EveryResourceIsThereWithItsType) {
  for (const Presence &r : kResources)
    EXPECT_NE(::FindResourceW(Program(), MAKEINTRESOURCEW(r.id), r.type), nullptr)
        << r.id << " of type " << reinterpret_cast<ULONG_PTR>(r.type);
}

// Every string the toolkit loads by id.
const UINT kStrings[] = {XT_IDS_REG_SETTINGS,
                         XT_IDS_REG_COLINFO,
                         XT_IDS_TIPTEXT,
                         XT_IDS_DIDYOUKNOW,
                         XT_IDS_FILE_ABSENT,
                         XT_IDS_FILE_CORRUPT,
                         XTP_IDS_ADDORREMOVE,
                         XTP_IDS_CUSTOM_BAR,
                         XTP_IDS_ERROR_BLANKNAME,
                         XTP_IDS_ERROR_LIMIT,
                         XTP_IDS_ERROR_EXISTS,
                         XTP_IDS_RENAMETOOLBAR,
                         XTP_IDS_CONFIRM_DELETE,
                         XTP_IDS_ALL_COMMANDS,
                         XTP_IDS_CONFIRM_RESETDATA,
                         XTP_IDS_BUILTINMENUS,
                         XTP_IDS_CONFIRM_UPDATE,
                         XTP_IDS_RESET_TOOLBAR,
                         XTP_IDS_IMAGEEDITOR_FILTER,
                         XTP_ID_BUTTON_PENCIL,
                         XTP_ID_BUTTON_FILL,
                         XTP_ID_BUTTON_GETCOLOR,
                         XTP_ID_BUTTON_LINE,
                         XTP_ID_BUTTON_RECTANGLE,
                         XTP_ID_BUTTON_CIRCLE,
                         XTP_ID_BUTTON_COPY,
                         XTP_ID_BUTTON_PASTE,
                         XTP_ID_BUTTON_CLEAR,
                         XTP_ID_BUTTON_UNDO,
                         XTP_ID_BUTTON_REDO,
                         XTP_ID_BUTTON_OPEN,
                         XTP_ID_TOOLBAR_EXPAND,
                         XTP_ID_TOOLBAR_HIDE,
                         XTP_ID_MENUBAR_CLOSE,
                         XTP_ID_MENUBAR_RESTORE,
                         XTP_ID_MENUBAR_MINIMIZE,
                         XTP_IDS_ANIMATION_SYSDEF,
                         XTP_IDS_ANIMATION_RANDOM,
                         XTP_IDS_ANIMATION_UNFOLD,
                         XTP_IDS_ANIMATION_SLIDE,
                         XTP_IDS_ANIMATION_FADE,
                         XTP_IDS_ANIMATION_NONE,
                         XTP_ID_WORKSPACE_MOVEPREVIOUS,
                         XTP_ID_WORKSPACE_MOVENEXT,
                         XTP_ID_WORKSPACE_NEWHORIZONTAL,
                         XTP_ID_WORKSPACE_NEWVERTICAL,
                         XTP_IDS_CLR_BLACK,
                         XTP_IDS_CLR_DARK_BLUE,
                         XTP_IDS_CLR_DARK_RED,
                         XTP_IDS_CLR_DARK_YELLOW,
                         XTP_IDS_CLR_GREEN,
                         XTP_IDS_CLR_TEAL,
                         XTP_IDS_CLR_BLUE,
                         XTP_IDS_CLR_GRAY50,
                         XTP_IDS_CLR_RED,
                         XTP_IDS_CLR_VIOLET,
                         XTP_IDS_CLR_PINK,
                         XTP_IDS_CLR_YELLOW,
                         XTP_IDS_CLR_BRIGHT_GREEN,
                         XTP_IDS_CLR_TURQUOISE,
                         XTP_IDS_CLR_GRAY25,
                         XTP_IDS_CLR_WHITE,
                         XTP_IDS_DOCKINGPANE_AUTOHIDE,
                         XTP_IDS_DOCKINGPANE_CLOSE,
                         XTP_IDS_DOCKINGPANE_MAXIMIZE,
                         XTP_IDS_DOCKINGPANE_RESTORE,
                         XTP_IDS_DOCKINGPANE_MENU};

TEST(ToolkitResources, EveryStringHasText) {
  for (UINT id : kStrings) {
    CString text;
    EXPECT_TRUE(XTPGetResourceManager()->LoadString(&text, id)) << id;
    EXPECT_FALSE(text.IsEmpty()) << id;
  }
}

// Texts whose escapes, format specifiers or separators a script easily garbles.
TEST(ToolkitResources, TextsKeepTheirEscapesAndSpecifiers) {
  struct Case {
    UINT id;
    const wchar_t *text;
  } cases[] = {
      {XTP_ID_TOOLBAR_HIDE, L"\nClose"},
      {XTP_ID_WORKSPACE_NEWVERTICAL, L"\nNew &Vertical Tab Group"},
      {XTP_IDS_CUSTOM_BAR, L"Custom %d"},
      {XTP_IDS_CLR_GRAY50, L"Gray-50%"},
      {XTP_IDS_ERROR_EXISTS, L"A toolbar named '%s' already exists. Type another name."},
      {XT_IDS_DIDYOUKNOW, L"Did you know..."},
      {XTP_IDS_ANIMATION_SYSDEF, L"(System default)"},
      {XTP_IDS_DOCKINGPANE_AUTOHIDE, L"Auto Hide"},
  };
  for (const Case &c : cases) {
    CString text;
    XTPGetResourceManager()->LoadString(&text, c.id);
    EXPECT_EQ(text, c.text) << c.id;
  }
  CString filter;
  XTPGetResourceManager()->LoadString(&filter, XTP_IDS_IMAGEEDITOR_FILTER);
  EXPECT_EQ(filter.Left(35), L"All Picture Files|*.bmp;*.wmf;*.emf");
  EXPECT_EQ(filter.Right(20), L"All Files(*.*)|*.*||");
}

// ---- bitmaps

struct BitmapCase {
  UINT id;
  int width, height, bits;
};

TEST(ToolkitResources, BitmapsHaveTheSizesTheirUsersCutThemBy) {
  const BitmapCase cases[] = {
      {XT_IDB_LIGHTBULB, 26, 26, 24},
      {XT_IDR_TBAR_HDR, 5 * 16, 16, 24},
      {XTP_IDB_MENUBAR_SYSBUTTONS, 4 * 16, 16, 24},
      {XTP_IDB_IMAGEEDITOR_TOOLS, 16 * 16, 16, 24},
      {XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA, 16 * 16, 16, 32},
      {XTP_IDB_DOCKINGPANE_STICKERS_BACK, 43, 43, 24},
      {XTP_IDB_DOCKINGPANE_STICKERS, 120, 109, 24},
      {XTP_IDB_DOCKINGPANE_STICKERS_OLIVE, 120, 109, 24},
      {XTP_IDB_DOCKINGPANE_STICKERS_SILVER, 120, 109, 24},
  };
  for (const BitmapCase &c : cases) {
    CBitmap bitmap;
    ASSERT_TRUE(XTPGetResourceManager()->LoadBitmap(&bitmap, c.id)) << c.id;
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectW(bitmap.GetSafeHandle(), sizeof(bm), &bm)) << c.id;
    EXPECT_EQ(bm.bmWidth, c.width) << c.id;
    EXPECT_EQ(bm.bmHeight, c.height) << c.id;
    EXPECT_EQ(CXTPImageManager::IsAlphaBitmapResource(c.id), c.bits == 32) << c.id;
  }
}

// The pixels of a bitmap resource, top row first, as COLORREFs.
std::vector<COLORREF> Pixels(UINT nID, int &cx, int &cy) {
  HBITMAP hBitmap = static_cast<HBITMAP>(
      ::LoadImageW(Program(), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP bm = {};
  ::GetObjectW(hBitmap, sizeof(bm), &bm);
  cx = bm.bmWidth;
  cy = bm.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<RGBQUAD> quads(static_cast<size_t>(cx) * cy);
  HDC hDC = ::GetDC(nullptr);
  ::GetDIBits(hDC, hBitmap, 0, cy, quads.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  ::DeleteObject(hBitmap);
  std::vector<COLORREF> pixels;
  for (const RGBQUAD &q : quads) pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
  return pixels;
}

// The docking stickers are hit-tested by drawing a part onto black and
// reading the pixel under the mouse: a part must have no black pixel, and
// its rounded corners stay pure green, the sheets' transparent colour.
TEST(ToolkitResources, StickerPartsAreNeverBlackAndTheirCornersTransparent) {
  const RECT parts[] = {{0, 0, 43, 30},    {43, 0, 86, 30},   {86, 0, 119, 33},  {0, 33, 30, 76},
                        {30, 33, 60, 76},  {60, 33, 90, 76},  {90, 33, 120, 76}, {0, 76, 43, 106},
                        {43, 76, 86, 106}, {86, 76, 119, 109}};
  const COLORREF kGreen = RGB(0, 255, 0);
  for (UINT id : {XTP_IDB_DOCKINGPANE_STICKERS, XTP_IDB_DOCKINGPANE_STICKERS_OLIVE,
                  XTP_IDB_DOCKINGPANE_STICKERS_SILVER}) {
    int cx = 0, cy = 0;
    std::vector<COLORREF> pixels = Pixels(id, cx, cy);
    ASSERT_EQ(pixels.size(), 120u * 109u) << id;
    for (const RECT &rc : parts) {
      int black = 0, opaque = 0;
      for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) {
          COLORREF clr = pixels[y * cx + x];
          black += clr == 0;
          opaque += clr != kGreen;
        }
      EXPECT_EQ(black, 0) << id << " part at " << rc.left << "," << rc.top;
      EXPECT_GT(opaque, (rc.right - rc.left) * (rc.bottom - rc.top) * 9 / 10) << id;
      EXPECT_EQ(pixels[rc.top * cx + rc.left], kGreen) << id << " part at " << rc.left << "," << rc.top;
    }
  }
  int cx = 0, cy = 0;
  std::vector<COLORREF> back = Pixels(XTP_IDB_DOCKINGPANE_STICKERS_BACK, cx, cy);
  ASSERT_EQ(back.size(), 43u * 43u);
  EXPECT_EQ(back[0], kGreen);
  EXPECT_NE(back[21 * 43 + 21], kGreen);
  EXPECT_NE(back[21 * 43 + 21], 0u);
}

// ---- cursors

TEST(ToolkitResources, CursorsLoadWithTheirHotSpots) {
  struct Case {
    UINT id;
    POINT hot;
  } cases[] = {
      {XT_IDC_DRAGCOPY, {0, 0}},
      {XTP_IDC_COMMANDBARS_DRAGCOPY, {0, 0}},
      {XTP_IDC_COMMANDBARS_DRAGMOVE, {0, 0}},
      {XTP_IDC_COMMANDBARS_DRAGDELETE, {0, 0}},
      {XTP_IDC_SIZECONTROL, {15, 15}},
      {XTP_IDC_CURSOR_LINE, {15, 15}},
      {XTP_IDC_CURSOR_PENCIL, {1, 30}},
      {XTP_IDC_CURSOR_PICKCOLOR, {1, 30}},
      {XTP_IDC_CURSOR_FILL, {1, 27}},
  };
  for (const Case &c : cases) {
    HCURSOR hCursor = ::LoadCursorW(Program(), MAKEINTRESOURCEW(c.id));
    ASSERT_NE(hCursor, nullptr) << c.id;
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hCursor, &info)) << c.id;
    EXPECT_FALSE(info.fIcon) << c.id;
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(c.hot.x)) << c.id;
    EXPECT_EQ(info.yHotspot, static_cast<DWORD>(c.hot.y)) << c.id;
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
  }
}

// ---- toolbar

const UINT kHeaderCommands[] = {XT_IDC_SORTASC, XT_IDC_SORTDSC, XT_IDC_ALIGNLEFT, XT_IDC_ALIGNCENTER,
                                XT_IDC_ALIGNRIGHT};

TEST(ToolkitResources, HeaderToolBarIsSixteenBitWords) {
  std::vector<BYTE> data = ResourceBytes(XT_IDR_TBAR_HDR, kToolBar);
  ASSERT_EQ(data.size(), 8u + 5u * 2u);
  auto word = [&data](size_t i) { return static_cast<UINT>(data[2 * i] | data[2 * i + 1] << 8); };
  EXPECT_EQ(word(0), 1u); // version
  EXPECT_EQ(word(1), 16u);
  EXPECT_EQ(word(2), 16u);
  EXPECT_EQ(word(3), 5u);
  std::vector<UINT> ids;
  ASSERT_TRUE(CXTPImageManager::ParseToolBarResource(data.data(), data.size(), ids));
  EXPECT_EQ(ids, std::vector<UINT>(std::begin(kHeaderCommands), std::end(kHeaderCommands)));
}

// A toolbar that reads its resource as the command bars' loader does: from
// the resource module the manager makes current.
class ReadingToolBar : public CXTPResourceToolBar {
public:
  BOOL LoadToolBar(UINT nIDResource) override {
    HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), kToolBar);
    HRSRC hFound = ::FindResourceW(hModule, MAKEINTRESOURCEW(nIDResource), kToolBar);
    if (!hFound) return FALSE;
    const BYTE *pData = static_cast<const BYTE *>(::LockResource(::LoadResource(hModule, hFound)));
    return CXTPImageManager::ParseToolBarResource(pData, ::SizeofResource(hModule, hFound), m_ids);
  }
  std::vector<UINT> m_ids;
};

TEST(ToolkitResources, HeaderToolBarLoadsThroughTheResourceManager) {
  ReadingToolBar toolBar;
  ASSERT_TRUE(XTPGetResourceManager()->LoadToolBar(&toolBar, XT_IDR_TBAR_HDR));
  EXPECT_EQ(toolBar.m_ids, std::vector<UINT>(std::begin(kHeaderCommands), std::end(kHeaderCommands)));
  ReadingToolBar missing;
  EXPECT_FALSE(XTPGetResourceManager()->LoadToolBar(&missing, XT_IDR_TBAR_HDR + 1));
}

TEST(ToolkitResources, HeaderToolBarGivesTheImageManagerItsCommandImages) {
  CXTPImageManager manager;
  ASSERT_TRUE(manager.SetIcons(XT_IDR_TBAR_HDR));
  for (UINT id : kHeaderCommands) {
    CXTPImageManagerIcon *pIcon = manager.GetImage(id, 16);
    ASSERT_NE(pIcon, nullptr) << id;
    MemoryCanvas canvas(16, 16);
    pIcon->Draw(&canvas.dc, CPoint(0, 0));
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFFFFFFu) << id; // the magenta ground is the mask
    int ink = 0;
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) ink += canvas.Pixel(x, y) != 0xFFFFFFu;
    EXPECT_GT(ink, 10) << id;
  }
  // Sort ascending: the arrow's shaft on the left.
  MemoryCanvas canvas(16, 16);
  manager.GetImage(XT_IDC_SORTASC, 16)->Draw(&canvas.dc, CPoint(0, 0));
  EXPECT_NE(canvas.Pixel(2, 8), 0xFFFFFFu);
}

TEST(ToolkitResources, EditorStripsCutIntoSixteenImages) {
  UINT ids[16];
  for (UINT i = 0; i < 16; i++) ids[i] = 100 + i;
  for (UINT strip : {XTP_IDB_IMAGEEDITOR_TOOLS, XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA}) {
    CXTPImageManager manager;
    manager.m_clrMask = RGB(192, 192, 192); // the light grey the editor masks with
    ASSERT_TRUE(manager.SetIconsFromBitmap(strip, ids, 16, CSize(16, 16))) << strip;
    for (UINT id : ids) EXPECT_NE(manager.GetImage(id, 16), nullptr) << strip << " image " << id - 100;
    EXPECT_EQ(manager.GetImage(ids[0], 16)->IsAlpha(), strip == XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA);
  }
}

// ---- menus

UINT ItemId(HMENU hMenu, int nPos) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID;
  ::GetMenuItemInfoW(hMenu, nPos, TRUE, &info);
  return info.wID;
}

CString ItemText(HMENU hMenu, int nPos) {
  wchar_t text[128] = {};
  ::GetMenuStringW(hMenu, nPos, text, 128, MF_BYPOSITION);
  return text;
}

TEST(ToolkitResources, HeaderMenuIsTheThirdPopup) {
  CMenu menu;
  ASSERT_TRUE(XTPGetResourceManager()->LoadMenu(&menu, XT_IDM_POPUP));
  HMENU hMenu = menu.GetSafeHmenu();
  ASSERT_EQ(::GetMenuItemCount(hMenu), 3);
  EXPECT_EQ(ItemText(hMenu, 0), L"RClickOutlookBar");
  EXPECT_EQ(ItemText(hMenu, 1), L"RClickHexEdit");
  EXPECT_EQ(ItemText(hMenu, 2), L"RClickHeader");
  for (int i = 0; i < 3; i++) EXPECT_NE(::GetSubMenu(hMenu, i), nullptr) << i;
  HMENU hHeader = ::GetSubMenu(hMenu, 2);
  ASSERT_EQ(::GetMenuItemCount(hHeader), 4);
  EXPECT_EQ(ItemId(hHeader, 0), static_cast<UINT>(XT_IDC_SORTASC));
  EXPECT_EQ(ItemText(hHeader, 0), L"Sort Ascending");
  EXPECT_EQ(ItemId(hHeader, 1), static_cast<UINT>(XT_IDC_SORTDSC));
  EXPECT_EQ(::GetMenuState(hHeader, 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(ItemText(hHeader, 3), L"Alignment");
  HMENU hAlign = ::GetSubMenu(hHeader, 3);
  ASSERT_EQ(::GetMenuItemCount(hAlign), 3);
  const UINT align[] = {XT_IDC_ALIGNLEFT, XT_IDC_ALIGNCENTER, XT_IDC_ALIGNRIGHT};
  const wchar_t *texts[] = {L"Align Left", L"Align Center", L"Align Right"};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(ItemId(hAlign, i), align[i]);
    EXPECT_EQ(ItemText(hAlign, i), texts[i]);
  }
}

TEST(ToolkitResources, CustomizeMenuCarriesItsCommandsAndThePictureSubmenu) {
  CMenu menu;
  ASSERT_TRUE(XTPGetResourceManager()->LoadMenu(&menu, XTP_IDR_CUSTOMIZEMENU));
  ASSERT_EQ(::GetMenuItemCount(menu.GetSafeHmenu()), 1);
  EXPECT_EQ(ItemText(menu.GetSafeHmenu(), 0), L"Customize");
  HMENU hPopup = ::GetSubMenu(menu.GetSafeHmenu(), 0);
  std::vector<UINT> commands;
  for (int i = 0; i < ::GetMenuItemCount(hPopup); i++) {
    if (::GetMenuState(hPopup, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
    commands.push_back(ItemId(hPopup, i));
    if (ItemId(hPopup, i) == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) {
      EXPECT_NE(::GetSubMenu(hPopup, i), nullptr);
      EXPECT_EQ(ItemText(hPopup, i), L"Change &Button Image");
    }
  }
  const std::vector<UINT> expected = {XTP_ID_CUSTOMIZE_RESET,
                                      XTP_ID_CUSTOMIZE_DELETE,
                                      XTP_ID_CUSTOMIZE_NAME,
                                      XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE,
                                      XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE,
                                      XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE,
                                      XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE,
                                      XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE,
                                      XTP_ID_CUSTOMIZE_DEFAULTSTYLE,
                                      XTP_ID_CUSTOMIZE_TEXTONLY,
                                      XTP_ID_CUSTOMIZE_IMAGEANDTEXT,
                                      XTP_ID_CUSTOMIZE_BEGINAGROUP};
  EXPECT_EQ(commands, expected);
}

// ---- dialogs

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

struct DialogCase {
  UINT id;
  const wchar_t *caption;
  std::vector<std::pair<UINT, const wchar_t *>> controls; // id and text (null: any)
};

// Each template made into a window: its caption, the controls the toolkit's
// classes bind by id with their texts, and every control inside the client.
TEST(ToolkitResources, DialogsHaveTheControlsTheirClassesBind) {
  const DialogCase cases[] = {
      {XT_IDD_TIPOFTHEDAY,
       L"Tip of the Day",
       {{IDOK, L"&Close"},
        {XT_IDC_CHK_DAYTIP_SHOW, L"&Show tips at startup"},
        {XT_IDC_BTN_DAYTIP_NEXT, L"&Next Tip"},
        {XT_IDC_BTN_DAYTIP_BORDER, L""}}},
      {XTP_IDD_IMAGEEDITOR_DIALOG,
       L"Button Editor",
       {{XTP_IDC_STATIC_TOOLS, L"Tools"},
        {XTP_IDC_STATIC_MOVE, L"Move"},
        {XTP_IDC_STATIC_COLORS, L"Colors"},
        {XTP_IDC_CLR_ERASE, nullptr},
        {XTP_IDC_CLR_PICKER, nullptr},
        {XTP_IDC_STATIC_PICTURE, nullptr},
        {XTP_IDC_STATIC_PREVIEW, nullptr},
        {IDOK, L"OK"},
        {IDCANCEL, L"Cancel"}}},
      {XTP_IDD_PAGE_TOOLBARS,
       L"Tool&bars",
       {{XTP_IDC_LIST_TOOLBARS, nullptr},
        {XTP_IDC_BUTTON_NEW, L"&New..."},
        {XTP_IDC_BUTTON_RENAME, L"&Rename..."},
        {XTP_IDC_BUTTON_DELETE, L"&Delete"},
        {XTP_IDC_BUTTON_RESETTOOLBAR, L"R&eset..."}}},
      {XTP_IDD_PAGE_COMMANDS,
       L"&Commands",
       {{XTP_IDC_LIST_CATEGORIES, nullptr}, {XTP_IDC_LIST_COMMANDS, nullptr}}},
      {XTP_IDD_NEWTOOLBAR,
       L"New Toolbar",
       {{XTP_IDC_TOOLBAR_NAME, nullptr}, {IDOK, L"OK"}, {IDCANCEL, L"Cancel"}}},
  };
  // Property pages are child templates: they need a parent.
  HWND hParent =
      ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hParent, nullptr);
  for (const DialogCase &c : cases) {
    LPCDLGTEMPLATE pTemplate = XTPGetResourceManager()->LoadDialogTemplate(c.id);
    ASSERT_NE(pTemplate, nullptr) << c.id;
    HWND hDlg = ::CreateDialogIndirectParamW(Program(), pTemplate, hParent, QuietDialog, 0);
    ASSERT_NE(hDlg, nullptr) << c.id;
    wchar_t text[256] = {};
    ::GetWindowTextW(hDlg, text, 256);
    EXPECT_STREQ(text, c.caption) << c.id;
    RECT rcClient;
    ::GetClientRect(hDlg, &rcClient);
    for (const auto &[nControl, pszText] : c.controls) {
      HWND hControl = ::GetDlgItem(hDlg, static_cast<int>(nControl));
      ASSERT_NE(hControl, nullptr) << c.id << " control " << nControl;
      if (pszText) {
        ::GetWindowTextW(hControl, text, 256);
        EXPECT_STREQ(text, pszText) << c.id << " control " << nControl;
      }
    }
    std::set<int> ids;
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
      RECT rc;
      ::GetWindowRect(hChild, &rc);
      ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT *>(&rc), 2);
      const int nId = ::GetDlgCtrlID(hChild);
      EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= rcClient.right && rc.bottom <= rcClient.bottom)
          << c.id << " control " << nId;
      if (nId != -1 && nId != 0xFFFF) {
        EXPECT_TRUE(ids.insert(nId).second) << c.id << " control " << nId << " twice";
      }
    }
    ::DestroyWindow(hDlg);
  }
  ::DestroyWindow(hParent);
}

} // namespace
