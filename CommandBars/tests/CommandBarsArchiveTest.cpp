// The customised bars and controls of a frame through the user's real
// profile: a frame closed with controls moved, copied and deleted, a new
// toolbar and a renamed one comes back the same; a large archive goes to a
// hidden file; damaged and hostile archives load without a crash or a hang
// and leave the program's own bars as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <set>
#include <vector>

#include "Archive.h"
#include "File.h"
#include "WinApp.h"
#include "XTPCommandBarList.h"
#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"
#include "XTPPopupBar.h"
#include "XTPPropExchange.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310, kCustomId = 0xE800;
constexpr wchar_t kProfile[] = L"CommandBars";
constexpr wchar_t kControlsSection[] = L"CommandBars-Controls";
const wchar_t kCompanyKey[] = L"Software\\QvCommandBarsArchiveTestCompany";

// Answers the question about a toolbar the program changed since the state
// was saved, without showing it.
class ArchiveApp : public CWinApp {
public:
  ArchiveApp() : CWinApp(L"QvCommandBarsArchiveTest") { SetRegistryKey(L"QvCommandBarsArchiveTestCompany"); }
  int DoMessageBox(LPCTSTR lpszPrompt, UINT /*nType*/, UINT) override {
    m_prompts.push_back(lpszPrompt);
    return m_nAnswer;
  }
  std::vector<CString> m_prompts;
  int m_nAnswer = IDYES;
};
ArchiveApp theApp;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// A frame whose site answers the customise command: its bars are customisable.
class CustomizingFrame : public CXTPFrameWnd {
public:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingFrame, CXTPFrameWnd)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

// The program's frame as it starts: a menu bar and two toolbars on top.
struct TestFrame {
  TestFrame() {
    pFrame = new CustomizingFrame; // frames delete themselves when destroyed
    if (!pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER)) return;
    pFrame->InitCommandBars();
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pMenuBar = pBars->SetMenu(L"Menu Bar", kMenuId);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    pStandard->LoadToolBar(kStandardId);
    pStandard->SetBarID(kStandardId);
    pSecond = pBars->Add(L"Second", xtpBarTop);
    pSecond->LoadToolBar(kSecondId);
    pSecond->SetBarID(kSecondId);
    pFrame->SetWindowPos(nullptr, 20, 20, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
  }
  ~TestFrame() {
    Pump();
    pFrame->DestroyWindow();
  }
  CXTPPopupBar *FilePopup() const {
    auto *pPopup = dynamic_cast<CXTPControlPopup *>(pMenuBar->GetControl(0));
    return pPopup ? dynamic_cast<CXTPPopupBar *>(pPopup->GetCommandBar()) : nullptr;
  }

  CXTPFrameWnd *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPMenuBar *pMenuBar = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
};

std::vector<int> Ids(const CXTPCommandBar *pBar) {
  std::vector<int> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++)
    if (!pBar->GetControl(i)->GetTemporary()) ids.push_back(pBar->GetControl(i)->GetID());
  return ids;
}

// Whether any bar reachable through popups from pBar reaches a bar on the
// path to it again.
bool ReachesItself(CXTPCommandBar *pBar, std::vector<CXTPCommandBar *> &path) {
  if (std::find(path.begin(), path.end(), pBar) != path.end()) return true;
  if (path.size() > 64) return true;
  path.push_back(pBar);
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    CXTPCommandBar *pChild = pBar->GetControl(i)->GetCommandBar();
    if (pChild && ReachesItself(pChild, path)) return true;
  }
  path.pop_back();
  return false;
}

// A 16 x 16 picture of one opaque colour.
HBITMAP SolidPicture(COLORREF clr) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 16;
  bi.bmiHeader.biHeight = -16;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void *pBits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  auto *pPixels = static_cast<RGBQUAD *>(pBits);
  for (int i = 0; i < 16 * 16; i++) pPixels[i] = RGBQUAD{GetBValue(clr), GetGValue(clr), GetRValue(clr), 255};
  return hBitmap;
}

// The colour at the middle of the command's 16-pixel picture; CLR_INVALID without one.
COLORREF PictureColour(CXTPImageManager *pImages, UINT nCommand) {
  CXTPImageManagerIcon *pIcon = pImages->GetImage(nCommand, 16);
  if (pIcon == nullptr || pIcon->GetIcon().GetBitmap() == nullptr) return CLR_INVALID;
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, pIcon->GetIcon().GetBitmap());
  const COLORREF clr = ::GetPixel(hDC, 8, 8);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  return clr;
}

UINT AddPicture(CXTPImageManager *pImages, COLORREF clr) {
  HBITMAP hBitmap = SolidPicture(clr);
  const UINT nID = pImages->AddIcon(CXTPIconHandle(hBitmap));
  ::DeleteObject(hBitmap);
  return nID;
}

std::vector<BYTE> StoredArchive() {
  BYTE *pData = nullptr;
  UINT nBytes = 0;
  if (!theApp.GetProfileBinary(kControlsSection, L"Controls", &pData, &nBytes)) return {};
  std::vector<BYTE> bytes(pData, pData + nBytes);
  delete[] pData;
  return bytes;
}

void StoreArchive(std::vector<BYTE> bytes) {
  theApp.WriteProfileBinary(kControlsSection, L"Controls", bytes.data(), static_cast<UINT>(bytes.size()));
  theApp.WriteProfileInt(kControlsSection, L"LoadFromFile", 0);
}

class CommandBarsArchive : public testing::Test {
protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey); }

  // Customises a frame as a user would and saves its state.
  static void SaveCustomisedFrame() {
    TestFrame frame;
    ASSERT_NE(frame.pBars, nullptr);
    ASSERT_TRUE(frame.pBars->IsCustomizeAvail());
    CXTPControls *pStandard = frame.pStandard->GetControls();
    CXTPControls *pSecond = frame.pSecond->GetControls();
    // Moved: 303 from Standard to the end of Second.
    CXTPControl *pMoved = pStandard->FindControl(303);
    ASSERT_NE(pMoved, nullptr);
    pSecond->AddClone(pMoved);
    pStandard->Remove(pMoved);
    // Copied: 301 to the front of Second; deleted: 312.
    pSecond->AddClone(pStandard->FindControl(301), 0);
    pSecond->Remove(pSecond->FindControl(312));
    // Renamed, and a new toolbar of the user's.
    frame.pSecond->SetTitle(L"Renamed");
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Custom 1", kCustomId);
    ASSERT_NE(pCustom, nullptr);
    const UINT kCustomButtons[] = {302, 311};
    pCustom->SetButtons(kCustomButtons, 2);
    // A picture the user gave a button.
    const UINT nPicture = AddPicture(frame.pBars->GetImageManager(), RGB(0, 0, 200));
    ASSERT_NE(nPicture, 0u);
    pCustom->GetControls()->FindControl(302)->SetCustomIconId(static_cast<int>(nPicture));
    // A combo box keeps its list and items with it.
    auto *pCombo =
        static_cast<CXTPControlComboBox *>(pCustom->GetControls()->Add(new CXTPControlComboBox, 320));
    pCombo->SetWidth(120);
    for (LPCTSTR lpszItem : {L"first", L"second"}) pCombo->AddString(lpszItem);
    // A command added to the File menu's popup.
    CXTPPopupBar *pFile = frame.FilePopup();
    ASSERT_NE(pFile, nullptr);
    pFile->GetControls()->Add(xtpControlButton, 57603, nullptr, 1);
    frame.pBars->SaveBarState(kProfile);
  }
};

TEST_F(CommandBarsArchive, ACustomisedFrameComesBackAfterARestart) {
  SaveCustomisedFrame();
  EXPECT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), 0u);
  ASSERT_FALSE(StoredArchive().empty());

  TestFrame frame;
  std::vector<int> fileBefore = Ids(frame.FilePopup());
  frame.pBars->LoadBarState(kProfile);
  frame.pFrame->RecalcLayout();
  EXPECT_EQ(Ids(frame.pStandard), (std::vector<int>{301, 302}));
  EXPECT_EQ(frame.pStandard->GetControls()->FindControl(303), nullptr) << "moved away";
  EXPECT_EQ(Ids(frame.pSecond), (std::vector<int>{301, 311, 313, 303}));
  EXPECT_EQ(frame.pSecond->GetTitle(), CString(L"Renamed"));
  // The original sets stay the program's, so Reset still knows them.
  EXPECT_TRUE(frame.pSecond->GetControls()->IsChanged());

  CXTPToolBar *pCustom = frame.pBars->GetToolBar(kCustomId);
  ASSERT_NE(pCustom, nullptr) << "the user's toolbar is made again";
  EXPECT_EQ(pCustom->GetTitle(), CString(L"Custom 1"));
  EXPECT_FALSE(pCustom->IsBuiltIn());
  EXPECT_EQ(Ids(pCustom), (std::vector<int>{302, 311, 320}));
  auto *pCombo = dynamic_cast<CXTPControlComboBox *>(pCustom->GetControls()->FindControl(320));
  ASSERT_NE(pCombo, nullptr);
  EXPECT_EQ(pCombo->GetWidth(), 120);
  ASSERT_EQ(pCombo->GetCount(), 2);
  EXPECT_STREQ(pCombo->GetList()->GetText(1), L"second");
  EXPECT_NE(pCustom->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(pCustom->IsVisible());

  fileBefore.insert(fileBefore.begin() + 1, 57603);
  ASSERT_NE(frame.FilePopup(), nullptr) << "the menu's popup is linked to its loaded bar";
  EXPECT_EQ(Ids(frame.FilePopup()), fileBefore);
}

TEST_F(CommandBarsArchive, AnUnchangedFrameStoresNoBarsAndLoadsAsItIs) {
  {
    TestFrame frame;
    frame.pBars->SaveBarState(kProfile);
  }
  TestFrame frame;
  const std::vector<int> standard = Ids(frame.pStandard), second = Ids(frame.pSecond);
  frame.pBars->LoadBarState(kProfile);
  EXPECT_EQ(Ids(frame.pStandard), standard);
  EXPECT_EQ(Ids(frame.pSecond), second);
  EXPECT_EQ(frame.pBars->GetCount(), 3);
}

// Saves a frame holding the user's toolbar of so many buttons; the file a
// large archive goes to is the given one, or the default when empty.
void SaveFrameWithButtons(int nButtons, LPCTSTR lpszFile = L"", LPCTSTR lpszTitle = L"Many") {
  TestFrame frame;
  frame.pBars->SetStateFileName(lpszFile);
  CXTPToolBar *pCustom = frame.pBars->AddCustomBar(lpszTitle, kCustomId);
  ASSERT_NE(pCustom, nullptr);
  for (int i = 0; i < nButtons; i++) {
    CXTPControl *pControl = pCustom->GetControls()->Add(xtpControlButton, 1000 + i);
    pControl->SetCaption(L"A caption long enough to make the archive grow");
  }
  frame.pBars->SaveBarState(kProfile);
}

// The bytes of the archive saved last, in the profile or in its file.
size_t SavedArchiveBytes() {
  if (theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 0) == 0) return StoredArchive().size();
  const CString strPath = theApp.GetProfileString(kControlsSection, L"Controls", L"");
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  return ::GetFileAttributesExW(strPath, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// Saves the user's toolbar of so many buttons under a title of so many
// characters, with an edit box when asked; the bytes of its archive.
size_t SaveArchiveOf(int nButtons, int nTitle, bool bEdit) {
  {
    TestFrame frame;
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(CString(L'x', nTitle), kCustomId);
    for (int i = 0; i < nButtons; i++)
      pCustom->GetControls()->Add(xtpControlButton, 1000 + i)->SetCaption(L"A caption of some length");
    if (bEdit) pCustom->GetControls()->Add(xtpControlEdit, 999);
    frame.pBars->SaveBarState(kProfile);
  }
  return SavedArchiveBytes();
}

// Saves an archive of exactly so many bytes, or as near as it comes: whole
// buttons first, then the title's characters, two bytes each. Every other
// part has an even length but the edit box's class record, so an edit box
// makes the length odd.
size_t SaveArchiveOfExactly(size_t nBytes) {
  const bool bOdd = nBytes % 2 != 0;
  const size_t nOne = SaveArchiveOf(1, 1, bOdd);
  const size_t nPerButton = SaveArchiveOf(2, 1, bOdd) - nOne;
  if (nPerButton == 0 || nOne > nBytes) return 0;
  // The gap left is below one button's bytes, so the title stays short of the
  // 255 characters whose length takes two bytes more.
  const int nButtons = 1 + static_cast<int>((nBytes - nOne) / nPerButton);
  const size_t nGap = nBytes - SaveArchiveOf(nButtons, 1, bOdd);
  return SaveArchiveOf(nButtons, 1 + static_cast<int>(nGap / 2), bOdd);
}

size_t LoadedButtons() {
  TestFrame frame;
  frame.pBars->LoadBarState(kProfile);
  CXTPToolBar *pCustom = frame.pBars->GetToolBar(kCustomId);
  return pCustom ? Ids(pCustom).size() : 0;
}

TEST_F(CommandBarsArchive, ALargeArchiveGoesToAHiddenFileBesideTheProgramAndComesBack) {
  wchar_t szModule[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
  CString strBeside;
  strBeside.Format(L"%s-%s", szModule, kProfile);
  ::SetFileAttributesW(strBeside, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(strBeside);

  SaveFrameWithButtons(400);
  EXPECT_TRUE(StoredArchive().empty()) << "no bytes in the profile";
  EXPECT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), 1u);
  EXPECT_EQ(theApp.GetProfileString(kControlsSection, L"Controls", L""), strBeside);
  const DWORD dwAttributes = ::GetFileAttributesW(strBeside);
  ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES) << "the file beside the program";
  EXPECT_TRUE(dwAttributes & FILE_ATTRIBUTE_HIDDEN);
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(::GetFileAttributesExW(strBeside, GetFileExInfoStandard, &data));
  EXPECT_GT(data.nFileSizeLow, 16000u);
  EXPECT_EQ(LoadedButtons(), 400u);

  // Saved again, over the hidden file of the last run.
  SaveFrameWithButtons(300);
  EXPECT_EQ(LoadedButtons(), 300u);

  // A small archive goes back into the profile and the old file goes away.
  SaveFrameWithButtons(3);
  EXPECT_FALSE(StoredArchive().empty());
  EXPECT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), 0u);
  EXPECT_EQ(::GetFileAttributesW(strBeside), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(LoadedButtons(), 3u);
}

// The profile takes an archive of up to 16000 bytes; from 16001 it goes to
// the hidden file.
TEST_F(CommandBarsArchive, TheProfileHoldsUpTo16000BytesAndTheFileTheRest) {
  const struct {
    size_t nBytes;
    UINT nFromFile;
  } kCases[] = {{15999, 0}, {16000, 0}, {16001, 1}, {16002, 1}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nBytes);
    ASSERT_EQ(SaveArchiveOfExactly(c.nBytes), c.nBytes);
    EXPECT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), c.nFromFile);
    EXPECT_EQ(StoredArchive().empty(), c.nFromFile == 1) << "the bytes in the profile";
    EXPECT_GT(LoadedButtons(), 80u);
  }
  SaveFrameWithButtons(3); // back into the profile: the hidden file goes away
}

TEST_F(CommandBarsArchive, ALargeArchiveThatCannotBeWrittenToItsFileStaysInTheProfile) {
  wchar_t szTemp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, szTemp);
  CString strFile;
  strFile.Format(L"%sqv-no-such-folder\\bars", szTemp);
  SaveFrameWithButtons(400, strFile);
  EXPECT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), 0u);
  EXPECT_GT(StoredArchive().size(), 16000u);
  EXPECT_EQ(LoadedButtons(), 400u);
}

TEST_F(CommandBarsArchive, AFileNamedByTheProfileLoadsAndAMissingOneLoadsNothing) {
  SaveFrameWithButtons(400);
  ASSERT_EQ(theApp.GetProfileInt(kControlsSection, L"LoadFromFile", 7), 1u);
  const CString strStored = theApp.GetProfileString(kControlsSection, L"Controls", L"");
  // The same bytes in another file the profile names.
  wchar_t szTemp[MAX_PATH] = {}, szFile[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, szTemp);
  ::GetTempFileNameW(szTemp, L"qva", 0, szFile);
  ::DeleteFileW(szFile);
  ASSERT_TRUE(::CopyFileW(strStored, szFile, FALSE));
  ::SetFileAttributesW(strStored, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(strStored);
  theApp.WriteProfileString(kControlsSection, L"Controls", szFile);
  EXPECT_EQ(LoadedButtons(), 400u);
  ::SetFileAttributesW(szFile, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(szFile);
  EXPECT_EQ(LoadedButtons(), 0u) << "a file that is gone loads nothing";
}

TEST_F(CommandBarsArchive, APaletteComesBackLaidOutAsAToolbar) {
  {
    TestFrame frame;
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Colours", kCustomId);
    ASSERT_NE(pCustom, nullptr);
    auto *pOpener = static_cast<CXTPControlPopup *>(pCustom->GetControls()->Add(xtpControlPopup, 0));
    pOpener->SetCaption(L"Colour");
    CXTPPopupToolBar *pPalette = CXTPPopupToolBar::CreatePopupToolBar(frame.pBars);
    for (int i = 0; i < 6; i++) pPalette->GetControls()->Add(xtpControlButton, 700 + i);
    pPalette->SetBorders(CRect(4, 5, 6, 7));
    pOpener->SetCommandBar(pPalette);
    pPalette->InternalRelease();
    frame.pBars->SaveBarState(kProfile);
  }
  TestFrame frame;
  frame.pBars->LoadBarState(kProfile);
  CXTPToolBar *pCustom = frame.pBars->GetToolBar(kCustomId);
  ASSERT_NE(pCustom, nullptr);
  ASSERT_GE(pCustom->GetControlCount(), 1); // and the expand button
  CXTPCommandBar *pBar = pCustom->GetControl(0)->GetCommandBar();
  ASSERT_NE(pBar, nullptr);
  EXPECT_TRUE(pBar->IsKindOf(RUNTIME_CLASS(CXTPPopupToolBar)));
  EXPECT_EQ(pBar->GetType(), xtpBarTypeNormal);
  EXPECT_EQ(static_cast<CXTPPopupBar *>(pBar)->GetBorders(), CRect(4, 5, 6, 7));
  EXPECT_EQ(Ids(pBar), (std::vector<int>{700, 701, 702, 703, 704, 705}));
}

TEST_F(CommandBarsArchive, AToolbarTheProgramChangedAsksBeforeTheUsersVersionReplacesIt) {
  const std::vector<int> kNew = {301, 302, 303, 304}, kUsers = {301, 303};
  const struct {
    const char *name;
    bool bCustomised; // the user had changed Standard before the update
    BOOL bSilent;
    int nAnswer;
    bool bAsked;
    std::vector<int> result;
  } cases[] = {
      {"silent", true, TRUE, IDNO, false, kNew},
      {"asked, keeps the new bar", true, FALSE, IDYES, true, kNew},
      {"asked, keeps the user's bar", true, FALSE, IDNO, true, kUsers},
      {"never customised", false, FALSE, IDNO, false, kNew},
  };
  for (const auto &c : cases) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
    {
      TestFrame frame;
      if (c.bCustomised)
        frame.pStandard->GetControls()->Remove(frame.pStandard->GetControls()->FindControl(302));
      frame.pBars->SaveBarState(kProfile, FALSE);
    }
    // The program's Standard gained a button since.
    TestFrame frame;
    frame.pStandard->GetControls()->Add(xtpControlButton, 304);
    frame.pStandard->GetControls()->CreateOriginalControls();
    theApp.m_prompts.clear();
    theApp.m_nAnswer = c.nAnswer;
    frame.pBars->LoadBarState(kProfile, c.bSilent);
    EXPECT_EQ(!theApp.m_prompts.empty(), c.bAsked) << c.name;
    if (!theApp.m_prompts.empty()) {
      EXPECT_NE(theApp.m_prompts[0].Find(L"'Standard'"), -1) << c.name;
    }
    EXPECT_EQ(Ids(frame.pStandard), c.result) << c.name;
    // Reset goes back to the program's new bar whichever was kept.
    CXTPControls *pOriginal = frame.pStandard->GetControls()->GetOriginalControls();
    ASSERT_NE(pOriginal, nullptr) << c.name;
    std::vector<int> original;
    for (int i = 0; i < pOriginal->GetCount(); i++) original.push_back(pOriginal->GetAt(i)->GetID());
    EXPECT_EQ(original, kNew) << c.name;
  }
  theApp.m_nAnswer = IDYES;
}

TEST_F(CommandBarsArchive, TruncatedAndBitFlippedArchivesLoadWithoutHarm) {
  SaveCustomisedFrame();
  const std::vector<BYTE> good = StoredArchive();
  ASSERT_GT(good.size(), 40u);

  // Cut short anywhere: nothing is merged, the program's bars stay.
  {
    TestFrame frame;
    const std::vector<int> standard = Ids(frame.pStandard), second = Ids(frame.pSecond);
    for (size_t nLength :
         {size_t(0), size_t(1), size_t(3), good.size() / 4, good.size() / 2, good.size() - 1}) {
      StoreArchive(std::vector<BYTE>(good.begin(), good.begin() + static_cast<ptrdiff_t>(nLength)));
      frame.pBars->LoadBarState(kProfile);
      Pump();
      EXPECT_EQ(Ids(frame.pStandard), standard) << nLength;
      EXPECT_EQ(Ids(frame.pSecond), second) << nLength;
      EXPECT_EQ(frame.pBars->GetToolBar(kCustomId), nullptr) << nLength;
    }
  }
  // One bit changed here and there (counts, class tags, ids, texts):
  // whatever loads, the bars stay a tree.
  TestFrame frame;
  const size_t nStep = good.size() / 23 + 1;
  for (size_t nPos = 0; nPos < good.size(); nPos += nStep) {
    std::vector<BYTE> flipped = good;
    flipped[nPos] ^= static_cast<BYTE>(nPos % 2 ? 0x80 : 0x01);
    StoreArchive(flipped);
    frame.pBars->LoadBarState(kProfile);
    Pump();
    for (int i = 0; i < frame.pBars->GetCount(); i++) {
      std::vector<CXTPCommandBar *> path;
      EXPECT_FALSE(ReachesItself(frame.pBars->GetAt(i), path)) << nPos;
    }
  }
  frame.pBars->RedrawCommandBars();
  Pump();
}

TEST_F(CommandBarsArchive, AMenuThatContainsItselfIsRefused) {
  // Stored from bars linked into loops (only a damaged archive holds such
  // links): a popup of Standard opens a bar that opens itself, and one that
  // opens its own parent.
  {
    TestFrame frame;
    // Popup controls are made without their id: it is given afterwards.
    auto addPopup = [](CXTPCommandBar *pBar, int nId, CXTPCommandBar *pOpens) {
      auto *pPopup = static_cast<CXTPControlPopup *>(pBar->GetControls()->Add(xtpControlPopup, nId));
      pPopup->SetID(nId);
      pPopup->SetCommandBar(pOpens);
      return pPopup;
    };
    CXTPPopupBar *pOuterBar = CXTPPopupBar::CreatePopupBar(frame.pBars);
    CXTPPopupBar *pInnerBar = CXTPPopupBar::CreatePopupBar(frame.pBars);
    addPopup(frame.pStandard, 900, pOuterBar);
    CXTPControlPopup *pSelf = addPopup(pOuterBar, 901, pOuterBar);
    addPopup(pOuterBar, 902, pInnerBar);
    CXTPControlPopup *pBack = addPopup(pInnerBar, 903, pOuterBar);
    frame.pBars->SaveBarState(kProfile);
    // The loops are broken again so the bars can go.
    pSelf->SetCommandBar(nullptr);
    pBack->SetCommandBar(nullptr);
    pInnerBar->InternalRelease();
    pOuterBar->InternalRelease();
  }
  TestFrame frame;
  frame.pBars->LoadBarState(kProfile);
  for (int i = 0; i < frame.pBars->GetCount(); i++) {
    std::vector<CXTPCommandBar *> path;
    EXPECT_FALSE(ReachesItself(frame.pBars->GetAt(i), path)) << i;
  }
  CXTPControl *pOuter = frame.pStandard->GetControls()->FindControl(900);
  ASSERT_NE(pOuter, nullptr) << "the rest of the customisation loads";
  CXTPCommandBar *pOuterBar = pOuter->GetCommandBar();
  ASSERT_NE(pOuterBar, nullptr);
  EXPECT_EQ(pOuterBar->GetControls()->FindControl(901)->GetCommandBar(), nullptr);
  CXTPCommandBar *pInnerBar = pOuterBar->GetControls()->FindControl(902)->GetCommandBar();
  ASSERT_NE(pInnerBar, nullptr);
  EXPECT_EQ(pInnerBar->GetControls()->FindControl(903)->GetCommandBar(), nullptr);
}

TEST_F(CommandBarsArchive, HostileCountsAndClassesAreRefusedAtOnce) {
  // A count of bars far beyond the bytes, a class from another family, a
  // bar whose type is not its class's: the program's bars stay.
  std::vector<BYTE> hugeCount{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
  hugeCount.resize(64, 0);
  const std::vector<BYTE> &hostileCount = hugeCount;
  auto archiveOf = [](const std::function<void(CArchive &)> &write) {
    CMemFile file(1024);
    {
      CArchive ar(&file, CArchive::store);
      write(ar);
      ar.Close();
    }
    const UINT nBytes = static_cast<UINT>(file.GetLength());
    BYTE *pData = file.Detach();
    std::vector<BYTE> bytes(pData, pData + nBytes);
    free(pData);
    return bytes;
  };
  const std::vector<BYTE> wrongFamily = archiveOf([](CArchive &ar) {
    ar.WriteCount(1);
    ar.WriteClass(RUNTIME_CLASS(CXTPControl));
  });
  const std::vector<BYTE> wrongType = archiveOf([](CArchive &ar) {
    ar.WriteCount(1);
    ar.WriteClass(RUNTIME_CLASS(CXTPToolBar));
    ar << static_cast<LONG>(xtpBarTypePopup) << static_cast<LONG>(0) << static_cast<LONG>(kStandardId);
    ar << static_cast<LONG>(0) << static_cast<LONG>(0) << CString(L"T") << static_cast<LONG>(1)
       << static_cast<LONG>(0) << static_cast<LONG>(0) << static_cast<LONG>(0);
    ar.WriteCount(0);
    ar << static_cast<LONG>(0) << static_cast<LONG>(0);
    ar << static_cast<LONG>(1) << static_cast<LONG>(0) << static_cast<LONG>(1) << static_cast<LONG>(1);
  });
  TestFrame frame;
  const std::vector<int> standard = Ids(frame.pStandard);
  for (const std::vector<BYTE> *pBytes : {&hostileCount, &wrongFamily, &wrongType}) {
    StoreArchive(*pBytes);
    frame.pBars->LoadBarState(kProfile);
    EXPECT_EQ(Ids(frame.pStandard), standard);
    EXPECT_EQ(frame.pStandard->GetType(), xtpBarTypeNormal);
    EXPECT_EQ(frame.pBars->GetCount(), 3);
  }
}

// The top-level windows of this thread (a combo's list is one).
int ThreadWindowCount() {
  int nCount = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND, LPARAM lParam) -> BOOL {
        ++*reinterpret_cast<int *>(lParam);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&nCount));
  return nCount;
}

TEST_F(CommandBarsArchive, ManyStoredCombosMakeNoWindowsUntilTheirListDropsDown) {
  // A stored layout is bounded only by its size: a window for each combo's
  // list would let it make thousands of windows at start-up.
  constexpr int kCombos = 300;
  {
    TestFrame frame;
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Combos", kCustomId);
    ASSERT_NE(pCustom, nullptr);
    for (int i = 0; i < kCombos; i++) {
      auto *pCombo =
          static_cast<CXTPControlComboBox *>(pCustom->GetControls()->Add(xtpControlComboBox, 2000 + i));
      for (LPCTSTR lpszItem : {L"first", L"second"}) pCombo->AddString(lpszItem);
    }
    frame.pBars->SaveBarState(kProfile);
  }
  TestFrame frame;
  const int nBefore = ThreadWindowCount();
  frame.pBars->LoadBarState(kProfile);
  const int nMade = ThreadWindowCount() - nBefore;
  EXPECT_LT(nMade, 10) << "the loaded toolbar's own windows only";
  CXTPToolBar *pCustom = frame.pBars->GetToolBar(kCustomId);
  ASSERT_NE(pCustom, nullptr);
  auto *pCombo = dynamic_cast<CXTPControlComboBox *>(pCustom->GetControls()->FindControl(2000 + kCombos - 1));
  ASSERT_NE(pCombo, nullptr);
  EXPECT_EQ(pCombo->GetList()->GetSafeHwnd(), nullptr);
  ASSERT_EQ(pCombo->GetCount(), 2) << "the items wait in the list without its window";
  EXPECT_STREQ(pCombo->GetList()->GetText(1), L"second");
  // Chosen before the window exists, the selection is there when it comes.
  pCombo->SetCurSel(1);
  EXPECT_STREQ(pCombo->GetEditText(), L"second");
  ASSERT_TRUE(pCombo->GetList()->CreateListWindow());
  EXPECT_EQ(::SendMessageW(pCombo->GetList()->GetSafeHwnd(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(pCombo->GetList()->GetCurSel(), 1);
}

TEST(CommandBarsArchiveCounts, ACountBeyondTheBytesLeftIsRefused) {
  // Read straight through the exchange: each counted element takes at least
  // one byte, so a count above the bytes that follow cannot be true.
  const struct {
    DWORD dwCount;
    int nFollowing;
    bool bAccepted;
  } cases[] = {{3, 3, true}, {4, 3, false}, {0, 0, true}, {0x7FFFFFFF, 100, false}, {0xFFFE, 0xFFFE, true}};
  for (const auto &c : cases) {
    CMemFile file(1024);
    {
      CArchive ar(&file, CArchive::store);
      ar.WriteCount(c.dwCount);
      for (int i = 0; i < c.nFollowing; i++) ar << static_cast<BYTE>(0);
      ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    bool bAccepted = true;
    try {
      EXPECT_EQ(px.ReadCount(), c.dwCount);
    } catch (CArchiveException *e) {
      bAccepted = false;
      e->Delete();
    }
    EXPECT_EQ(bAccepted, c.bAccepted) << c.dwCount << " before " << c.nFollowing << " bytes";
    ar.Abort();
  }
}

TEST_F(CommandBarsArchive, AButtonsOwnPictureComesBackButNeverReplacesAProgramPicture) {
  constexpr COLORREF kUsers = RGB(0, 0, 200), kProgramsBefore = RGB(200, 0, 0), kPrograms = RGB(0, 200, 0);
  const struct {
    const char *name;
    bool bProgramsId; // the stored id names one of the program's own command pictures
  } cases[] = {{"the user's picture", false}, {"a program picture's id", true}};
  for (const auto &c : cases) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
    UINT nPicture = 0;
    {
      TestFrame frame;
      frame.pBars->SetImageManager(new CXTPImageManager);
      CXTPImageManager *pImages = frame.pBars->GetImageManager();
      HBITMAP hBitmap = SolidPicture(kProgramsBefore);
      pImages->SetIcon(CXTPIconHandle(hBitmap), 301);
      ::DeleteObject(hBitmap);
      nPicture = c.bProgramsId ? 301u : AddPicture(pImages, kUsers);
      CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Pictures", kCustomId);
      ASSERT_NE(pCustom, nullptr);
      const UINT kButtons[] = {302, 311};
      pCustom->SetButtons(kButtons, 2);
      pCustom->GetControls()->FindControl(302)->SetCustomIconId(static_cast<int>(nPicture));
      frame.pBars->SaveBarState(kProfile);
    }
    // A new run: its image manager has only the program's pictures.
    TestFrame frame;
    frame.pBars->SetImageManager(new CXTPImageManager);
    CXTPImageManager *pImages = frame.pBars->GetImageManager();
    HBITMAP hBitmap = SolidPicture(kPrograms);
    pImages->SetIcon(CXTPIconHandle(hBitmap), 301);
    ::DeleteObject(hBitmap);
    frame.pBars->LoadBarState(kProfile);
    CXTPToolBar *pCustom = frame.pBars->GetToolBar(kCustomId);
    ASSERT_NE(pCustom, nullptr) << c.name;
    CXTPControl *pButton = pCustom->GetControls()->FindControl(302);
    ASSERT_NE(pButton, nullptr) << c.name;
    EXPECT_EQ(PictureColour(pImages, 301), kPrograms) << c.name;
    if (c.bProgramsId) {
      EXPECT_EQ(pButton->GetCustomIconId(), 0) << c.name << ": shows its command's own picture";
      continue;
    }
    EXPECT_EQ(pButton->GetCustomIconId(), static_cast<int>(nPicture)) << c.name;
    EXPECT_EQ(PictureColour(pImages, nPicture), kUsers) << c.name;
    EXPECT_GT(AddPicture(pImages, kUsers), nPicture) << c.name << ": a new picture never takes its id";
  }
}

TEST_F(CommandBarsArchive, APictureWithAnIconCountBeyondItsBytesIsRefused) {
  UINT nPicture = 0;
  {
    TestFrame frame;
    frame.pBars->SetImageManager(new CXTPImageManager);
    nPicture = AddPicture(frame.pBars->GetImageManager(), RGB(0, 0, 200));
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Pictures", kCustomId);
    ASSERT_NE(pCustom, nullptr);
    pCustom->GetControls()->Add(xtpControlButton, 302)->SetCustomIconId(static_cast<int>(nPicture));
    frame.pBars->SaveBarState(kProfile);
  }
  // The picture's icon count follows its check text.
  std::vector<BYTE> bytes = StoredArchive();
  std::vector<BYTE> text;
  for (wchar_t ch : std::wstring(L"CXTPImageManagerIcons")) {
    text.push_back(static_cast<BYTE>(ch));
    text.push_back(0);
  }
  auto it = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  ASSERT_NE(it, bytes.end());
  it += static_cast<ptrdiff_t>(text.size());
  ASSERT_EQ(*it, 1) << "one icon, a two-byte count";
  it = bytes.erase(it, it + 2);
  const BYTE kHuge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
  bytes.insert(it, std::begin(kHuge), std::end(kHuge));
  StoreArchive(bytes);

  TestFrame frame;
  frame.pBars->SetImageManager(new CXTPImageManager);
  const std::vector<int> standard = Ids(frame.pStandard);
  frame.pBars->LoadBarState(kProfile);
  EXPECT_EQ(frame.pBars->GetToolBar(kCustomId), nullptr);
  EXPECT_EQ(Ids(frame.pStandard), standard);
  EXPECT_EQ(frame.pBars->GetImageManager()->GetIconSet(nPicture), nullptr);
}

// A control whose loading fails as a damaged archive can make it fail: out
// of memory (a picture whose bitmap cannot be made), a bad argument, or a
// standard exception.
class FailingControl : public CXTPControlButton {
  DECLARE_SERIAL(FailingControl)
public:
  static inline int s_nFailure = 0;
  void DoPropExchange(CXTPPropExchange *pPX) override {
    CXTPControlButton::DoPropExchange(pPX);
    if (!pPX->IsLoading()) return;
    if (s_nFailure == 0) AfxThrowMemoryException();
    if (s_nFailure == 1) AfxThrowInvalidArgException();
    throw std::bad_alloc();
  }
};
IMPLEMENT_SERIAL(FailingControl, CXTPControlButton, VERSIONABLE_SCHEMA | 8)

TEST_F(CommandBarsArchive, AnyFailureWhileLoadingLeavesTheProgramsBars) {
  {
    TestFrame frame;
    CXTPToolBar *pCustom = frame.pBars->AddCustomBar(L"Failing", kCustomId);
    ASSERT_NE(pCustom, nullptr);
    pCustom->GetControls()->Add(new FailingControl, 302);
    frame.pBars->SaveBarState(kProfile);
  }
  for (int nFailure : {0, 1, 2}) {
    FailingControl::s_nFailure = nFailure;
    TestFrame frame;
    const std::vector<int> standard = Ids(frame.pStandard), second = Ids(frame.pSecond);
    frame.pBars->LoadBarState(kProfile);
    EXPECT_EQ(frame.pBars->GetToolBar(kCustomId), nullptr) << nFailure;
    EXPECT_EQ(Ids(frame.pStandard), standard) << nFailure;
    EXPECT_EQ(Ids(frame.pSecond), second) << nFailure;
    EXPECT_EQ(frame.pBars->GetCount(), 3) << nFailure;
  }
}

} // namespace
