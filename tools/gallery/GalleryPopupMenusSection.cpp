#include "GalleryPopupMenusSection.h"

#include <cstdlib>
#include <cstring>

#include "GalleryIcon.h"
#include "GalleryResource.h"
#include "XTGlobal.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPDefaultTheme.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

namespace {

enum {
  kNew = 300,
  kOpen,
  kSave,
  kSaveAs,
  kPrint,
  kWrap,
  kStatus,
  kRecent1,
  kRecent2,
  kRecent3,
  kExit,
  kBold,
  kItalic,
  kUnderline,
  kAlignLeft,
  kAlignCenter,
  kAlignRight,
  kSortUp,
  kSortDown,
  kRow = 400,
  kColour = 500, // the palette's colours (its toolbar resource), kColour to kColour + kColourCount - 1
  kFormatBarId = 0x7A01
};

const wchar_t *const kLabels[CGalleryMenuBoard::kMenus] = {
    L"File menu", L"Shortened menu", L"Long menu", L"Right-aligned", L"Tear-off menu", L"Colour palette"};

const int kColourCount = 16;
const UINT kOpenFromStart = WM_APP + 40;

CXTPControl *Add(CXTPPopupBar *pBar, int nId, LPCTSTR lpszCaption, LPCTSTR lpszShortcut = nullptr,
                 BOOL bGroup = FALSE) {
  CXTPControl *p = pBar->GetControls()->Add(xtpControlButton, nId);
  p->SetCaption(lpszCaption);
  if (lpszShortcut) p->SetShortcutText(lpszShortcut);
  if (bGroup) p->SetBeginGroup(TRUE);
  return p;
}

} // namespace

BEGIN_MESSAGE_MAP(CGalleryMenuBoard, CWnd)
ON_COMMAND_RANGE(kNew, kColour + kColourCount - 1, OnMenuCommand)
END_MESSAGE_MAP()

CGalleryMenuBoard::CGalleryMenuBoard() {
  m_pImages = new CXTPImageManager;
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetImageManager(m_pImages);
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  m_pCommandBars->GetCommandBarsOptions()->animationType = xtpAnimateNone;
  m_pShortCommandBars = new CXTPCommandBars;
  m_pImages->InternalAddRef();
  m_pShortCommandBars->SetImageManager(m_pImages);
  m_pShortCommandBars->SetPaintManager(new CXTPDefaultTheme);
  m_pShortCommandBars->GetCommandBarsOptions()->animationType = xtpAnimateNone;
  m_pShortCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  Build();
}

CGalleryMenuBoard::~CGalleryMenuBoard() {
  for (CXTPPopupBar *pMenu : m_pMenus) {
    if (!pMenu) continue;
    pMenu->SetTrackingMode(0);
    pMenu->GetControls()->RemoveAll();
    pMenu->InternalRelease();
  }
  m_pShortCommandBars->InternalRelease();
  m_pCommandBars->InternalRelease();
}

void CGalleryMenuBoard::Build() {
  const struct {
    int nId;
    COLORREF clr;
  } kIcons[] = {
      {kNew, RGB(250, 250, 250)},        {kOpen, RGB(240, 190, 60)},      {kSave, RGB(60, 90, 200)},
      {kPrint, RGB(110, 110, 110)},      {kExit, RGB(200, 60, 60)},       {kBold, RGB(30, 30, 30)},
      {kItalic, RGB(90, 160, 90)},       {kUnderline, RGB(60, 140, 220)}, {kAlignLeft, RGB(220, 140, 60)},
      {kAlignCenter, RGB(180, 90, 200)}, {kAlignRight, RGB(90, 200, 200)}};
  for (const auto &icon : kIcons) {
    HICON hIcon = MakeGallerySquareIcon(icon.clr);
    m_pImages->SetIcon(CXTPIconHandle(hIcon), static_cast<UINT>(icon.nId), CSize(16, 16), 0);
    ::DestroyIcon(hIcon);
  }

  CXTPPopupBar *pFile = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  Add(pFile, kNew, L"&New", L"Ctrl+N");
  Add(pFile, kOpen, L"&Open...", L"Ctrl+O");
  Add(pFile, kSave, L"&Save", L"Ctrl+S");
  Add(pFile, kSaveAs, L"Save &As...");
  CXTPPopupBar *pRecent = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  Add(pRecent, kRecent1, L"&1 C:\\Recovered\\report.doc");
  Add(pRecent, kRecent2, L"&2 D:\\Photos\\IMG_0042.JPG");
  Add(pRecent, kRecent3, L"&3 E:\\scan.qvs");
  auto *pRecentItem = static_cast<CXTPControlPopup *>(pFile->GetControls()->Add(xtpControlPopup, 0));
  pRecentItem->SetCaption(L"&Recent Files");
  pRecentItem->SetCommandBar(pRecent);
  pRecent->InternalRelease();
  Add(pFile, kPrint, L"&Print...", L"Ctrl+P", TRUE);
  Add(pFile, kWrap, L"&Word Wrap", nullptr, TRUE)->SetChecked(TRUE);
  Add(pFile, kStatus, L"Status &Bar")->SetChecked(TRUE);
  Add(pFile, kExit, L"E&xit", L"Alt+F4", TRUE);
  m_pMenus[0] = pFile;

  CXTPPopupBar *pShort = CXTPPopupBar::CreatePopupBar(m_pShortCommandBars);
  Add(pShort, kNew, L"&New", L"Ctrl+N");
  Add(pShort, kOpen, L"&Open...", L"Ctrl+O");
  Add(pShort, kSaveAs, L"Save &As...");
  Add(pShort, kPrint, L"&Print...", L"Ctrl+P", TRUE);
  Add(pShort, kStatus, L"Status &Bar");
  Add(pShort, kExit, L"E&xit", L"Alt+F4", TRUE);
  m_pShortCommandBars->HideCommand(kSaveAs);
  m_pShortCommandBars->HideCommand(kStatus);
  m_pMenus[1] = pShort;

  CXTPPopupBar *pLong = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  for (int i = 0; i < 80; i++) {
    CString str;
    str.Format(L"Recovered file %02d", i + 1);
    Add(pLong, kRow + i, str, nullptr, i > 0 && i % 10 == 0);
  }
  m_pMenus[2] = pLong;

  // Dragged out by its band, this one becomes the "Format" toolbar.
  CXTPPopupBar *pFormat = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  Add(pFormat, kBold, L"&Bold", L"Ctrl+B");
  Add(pFormat, kItalic, L"&Italic", L"Ctrl+I");
  Add(pFormat, kUnderline, L"&Underline", L"Ctrl+U");
  Add(pFormat, kAlignLeft, L"Align &Left", nullptr, TRUE);
  Add(pFormat, kAlignCenter, L"&Center");
  Add(pFormat, kAlignRight, L"Align &Right");
  pFormat->SetTearOffPopup(L"Format", kFormatBarId, 200);
  m_pMenus[kTearOffMenu] = pFormat;

  CXTPPopupBar *pSort = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  Add(pSort, kSortUp, L"Sort &Ascending");
  Add(pSort, kSortDown, L"Sort &Descending");
  Add(pSort, kAlignRight, L"Align &Right", nullptr, TRUE);
  // Shown together with the tear-off menu in pictures: it stays over it.
  pSort->SetNested(TRUE);
  m_pMenus[kRightAlignedMenu] = pSort;

  // A popup laid out as a toolbar, its colours a toolbar resource: with no
  // width of its own it balances its buttons into a square.
  CXTPPopupToolBar *pPalette = CXTPPopupToolBar::CreatePopupToolBar(m_pCommandBars);
  pPalette->LoadToolBar(IDR_GALLERY_PALETTE);
  m_pMenus[kPaletteMenu] = pPalette;
}

BOOL CGalleryMenuBoard::Create(CWnd *pParent, const CRect &rc, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, L"", WS_CHILD | WS_VISIBLE, rc, pParent, nID)) return FALSE;
  m_pCommandBars->SetSite(this);
  m_pShortCommandBars->SetSite(this);
  return TRUE;
}

void CGalleryMenuBoard::OpenMenu(int i, BOOL bSubmenu) {
  CRect rc = LabelRect(i);
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&rc), 2);
  CXTPPopupBar *pMenu = m_pMenus[i];
  pMenu->SetTrackingMode(0);
  if (i == kRightAlignedMenu) {
    // Its right edge lines up with the label's.
    CXTPCommandBars::TrackPopupMenu(pMenu, TPM_RIGHTALIGN | TPM_RETURNCMD, rc.right, rc.bottom, this, &rc);
    return;
  }
  pMenu->Popup(rc.left, rc.bottom, &rc);
  if (bSubmenu && i == 0) {
    // The recent-files row, opened as the right arrow opens it.
    for (int k = 0; k < pMenu->GetControlCount(); k++) {
      if (pMenu->GetControl(k)->GetType() != xtpControlPopup) continue;
      pMenu->SetSelected(k, TRUE);
      pMenu->SetPopuped(k, TRUE);
      break;
    }
  }
}

void CGalleryMenuBoard::TearOffForPicture() {
  // The drag a user makes: press on the band, move well away, release.
  OpenMenu(kTearOffMenu);
  CXTPPopupBar *pMenu = m_pMenus[kTearOffMenu];
  const HWND hWndMenu = pMenu->GetSafeHwnd();
  if (!hWndMenu) return;
  const CPoint ptBand = pMenu->GetTearOffGripperRect().CenterPoint();
  const CPoint ptDrop = ptBand + CPoint(120, 200);
  ::PostMessageW(hWndMenu, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptDrop.x, ptDrop.y));
  ::PostMessageW(hWndMenu, WM_LBUTTONUP, 0, MAKELPARAM(ptDrop.x, ptDrop.y));
  ::SendMessageW(hWndMenu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptBand.x, ptBand.y));
}

void CGalleryMenuBoard::Paint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  ::FillRect(hDC, &rcClient, ::GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ hOld = ::SelectObject(hDC, XTGetAuxData().font.GetSafeHandle());
  ::SetBkMode(hDC, TRANSPARENT);
  for (int i = 0; i < kMenus; i++) {
    CRect rc = LabelRect(i);
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(hDC, &rc, EDGE_RAISED, BF_RECT);
    ::DrawTextW(hDC, kLabels[i], -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  ::SelectObject(hDC, hOld);
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CGalleryMenuBoard::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    Paint();
    return 0;
  case WM_LBUTTONDOWN:
    for (int i = 0; i < kMenus; i++)
      if (LabelRect(i).PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) OpenMenu(i);
    return 0;
  case WM_SHOWWINDOW:
    // For pictures of the page: the file menu opens by itself, with its
    // submenu; "tearoff" opens the tear-off menu and the right-aligned one.
    if (wParam && std::getenv("QV_GALLERY_OPEN_MENU")) ::PostMessageW(m_hWnd, kOpenFromStart, 0, 0);
    break;
  case kOpenFromStart:
    if (const char *psz = std::getenv("QV_GALLERY_OPEN_MENU"); psz && std::strcmp(psz, "tearoff") == 0) {
      OpenMenu(kTearOffMenu);
      OpenMenu(kRightAlignedMenu);
    } else if (psz && std::strcmp(psz, "palette") == 0) {
      OpenMenu(kPaletteMenu);
      m_pMenus[kPaletteMenu]->SetSelected(6, TRUE); // one colour hot, as under the mouse
    } else if (psz && std::strcmp(psz, "expanded") == 0) {
      // The shortened menu after its expand item: the rarely used rows
      // shaded among the others.
      OpenMenu(kShortMenu);
      m_pMenus[kShortMenu]->ExpandMenu();
    } else if (psz && std::strcmp(psz, "torn") == 0) {
      TearOffForPicture();
    } else {
      OpenMenu(0, TRUE);
    }
    return 0;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CGalleryPopupMenusSection::Create(CWnd *pParent, const CRect &rcBody) {
  m_board.Create(pParent, CRect(rcBody.left, rcBody.top, rcBody.left + 850, rcBody.top + 40), 260);
}
