// The toolkit's resources in the program: the built executable carries them
// beside its own (its script includes the toolkit's), and the program finds
// them through the toolkit's resource manager, with a language library
// current that translates only the program's texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XTGlobal.h"
#include "XTPImageManager.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "resource.h"

namespace {

const LPCWSTR kToolBar = MAKEINTRESOURCEW(241);

// The built program, loaded for its resources only.
class ProgramFile : public ::testing::Test {
protected:
  void SetUp() override {
    m_hProgram =
        ::LoadLibraryExW(QV_PROGRAM, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(m_hProgram, nullptr);
  }
  void TearDown() override {
    if (m_hProgram) ::FreeLibrary(m_hProgram);
  }
  BOOL Has(UINT nID, LPCWSTR lpszType) const {
    return ::FindResourceW(m_hProgram, MAKEINTRESOURCEW(nID), lpszType) != nullptr;
  }
  // The colour depth of the (first) image of a cursor, read from the image:
  // the group's entry does not say it.
  WORD CursorBitCount(UINT nID) const {
    HRSRC hGroup = ::FindResourceW(m_hProgram, MAKEINTRESOURCEW(nID), RT_GROUP_CURSOR);
    if (!hGroup || ::SizeofResource(m_hProgram, hGroup) < 6 + 14) return 0;
    const BYTE *pDir = static_cast<const BYTE *>(::LockResource(::LoadResource(m_hProgram, hGroup)));
    const UINT nImage = pDir[6 + 12] | pDir[6 + 13] << 8; // header 6; the entry's image id at 12
    HRSRC hImage = ::FindResourceW(m_hProgram, MAKEINTRESOURCEW(nImage), RT_CURSOR);
    if (!hImage || ::SizeofResource(m_hProgram, hImage) < 4 + 16) return 0;
    const BYTE *pImage = static_cast<const BYTE *>(::LockResource(::LoadResource(m_hProgram, hImage)));
    return static_cast<WORD>(pImage[4 + 14] | pImage[4 + 15] << 8); // hot spot 4; biBitCount at 14
  }

  HMODULE m_hProgram = nullptr;
};

TEST_F(ProgramFile, CarriesTheToolkitsResourcesBesideItsOwn) {
  struct Case {
    UINT id;
    LPCWSTR type;
  } cases[] = {
      {XT_IDS_DIDYOUKNOW / 16 + 1, RT_STRING},
      {XTP_IDS_DOCKINGPANE_AUTOHIDE / 16 + 1, RT_STRING},
      {XT_IDC_HAND, RT_GROUP_CURSOR},
      {XTP_IDC_CURSOR_PENCIL, RT_GROUP_CURSOR},
      {XT_IDM_POPUP, RT_MENU},
      {XTP_IDR_CUSTOMIZEMENU, RT_MENU},
      {XT_IDB_LIGHTBULB, RT_BITMAP},
      {XTP_IDB_DOCKINGPANE_STICKERS, RT_BITMAP},
      {XT_IDR_TBAR_HDR, kToolBar},
      {XT_IDD_TIPOFTHEDAY, RT_DIALOG},
      {XTP_IDD_NEWTOOLBAR, RT_DIALOG},
      // and the program's own
      {IDR_MAINFRAME, kToolBar},
      {IDR_MAINFRAME, RT_MENU},
      {IDC_LINK_HAND, RT_GROUP_CURSOR},
      {IDS_NO_VALID_DRIVE / 16 + 1, RT_STRING},
  };
  for (const Case &c : cases) EXPECT_TRUE(Has(c.id, c.type)) << c.id;
}

// Both scripts name a "res/Hand.cur": each must keep its own picture (the
// program's is drawn in 32 bits, the toolkit's in black and white).
TEST_F(ProgramFile, EachHandCursorIsItsOwnPicture) {
  EXPECT_EQ(CursorBitCount(IDC_LINK_HAND), 32);
  EXPECT_EQ(CursorBitCount(XT_IDC_HAND), 1);
}

// The language library is current, as in a French start: the program's texts
// come from it, the toolkit's (which it does not carry) from the executable.
class FrenchCurrent : public ::testing::Test {
protected:
  void SetUp() override {
    const std::wstring path = std::wstring(QV_LANGUAGE_DIR) + L"/French.dll";
    m_hFrench = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m_hFrench, nullptr);
    m_hSaved = AfxGetResourceHandle();
    AfxSetResourceHandle(m_hFrench);
  }
  void TearDown() override {
    AfxSetResourceHandle(m_hSaved);
    if (m_hFrench) ::FreeLibrary(m_hFrench);
  }

  HMODULE m_hFrench = nullptr;
  HINSTANCE m_hSaved = nullptr;
};

TEST_F(FrenchCurrent, ProgramAndShownToolkitTextsAreTranslatedOthersFoundInTheExecutable) {
  CXTPResourceManager *pManager = XTPGetResourceManager();
  CString text;
  ASSERT_TRUE(pManager->LoadString(&text, IDS_NO_VALID_DRIVE));
  EXPECT_EQ(text, L"Aucun lecteur logique valide trouv\u00e9");
  ASSERT_TRUE(pManager->LoadString(&text, XT_IDS_DIDYOUKNOW));
  EXPECT_EQ(text, L"Le saviez-vous...");
  ASSERT_TRUE(pManager->LoadString(&text, XTP_ID_TOOLBAR_EXPAND));
  EXPECT_EQ(text, L"\nOptions de la barre d'outils");
  // Registry names are stored, not shown: the same in every language.
  ASSERT_TRUE(pManager->LoadString(&text, XT_IDS_REG_SETTINGS));
  EXPECT_EQ(text, L"Settings");
}

TEST_F(FrenchCurrent, ToolkitMenuBitmapToolbarAndDialogAreFound) {
  CXTPResourceManager *pManager = XTPGetResourceManager();
  CMenu menu;
  ASSERT_TRUE(pManager->LoadMenu(&menu, XT_IDM_POPUP));
  EXPECT_EQ(::GetMenuItemCount(menu.GetSubMenu(2)->GetSafeHmenu()), 4);

  CBitmap bitmap;
  ASSERT_TRUE(pManager->LoadBitmap(&bitmap, XT_IDB_LIGHTBULB));
  BITMAP bm = {};
  ASSERT_TRUE(::GetObjectW(bitmap.GetSafeHandle(), sizeof(bm), &bm));
  EXPECT_EQ(bm.bmWidth, 26);

  CXTPImageManager images;
  ASSERT_TRUE(images.SetIcons(XT_IDR_TBAR_HDR));
  for (UINT id = XT_IDC_SORTASC; id <= XT_IDC_ALIGNRIGHT; id++)
    EXPECT_NE(images.GetImage(id, 16), nullptr) << id;

  EXPECT_NE(pManager->LoadDialogTemplate(XT_IDD_TIPOFTHEDAY), nullptr);
}

TEST(ToolkitCursors, DisplayDataLoadsEveryCursorFromTheProgram) {
  CXTAuxData &data = XTGetAuxData();
  ASSERT_TRUE(data.LoadSysCursors());
  const HCURSOR cursors[] = {data.hcurDragCopy, data.hcurDragMove,  data.hcurDragNone, data.hcurHand,
                             data.hcurHandNone, data.hcurHSplitBar, data.hcurVSplitBar};
  for (HCURSOR hCursor : cursors) EXPECT_NE(hCursor, nullptr);
}

} // namespace
