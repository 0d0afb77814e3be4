#include "XTGlobal.h"

#include <shlwapi.h>

#include <cstddef>

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTVersionManager.h"

namespace {

const int kCursorIds[7] = {9011, 9008, 9009, 9010, 9012, 9970, 9971};

bool MakeFont(CFont &font, const LOGFONTW &lf) {
  return font.CreateFontIndirect(&lf) != FALSE;
}

} // namespace

CXTAuxData::CXTAuxData() {
  SetOSFlags(XTGetVersionManager());
  GetComCtlVersion();
  UpdateSysColors();
  UpdateSysMetrics();
  LoadSysCursors();
  UpdateSysFonts();
}

void CXTAuxData::SetOSFlags(const CXTVersionManager &version) {
  bWin95 = version.IsWin95() ? 1 : 0;
  bWin98 = version.IsWin98() ? 1 : 0;
  bWinNT4 = version.IsWinNT4() ? 1 : 0;
  bWin2K = version.IsWin2K() ? 1 : 0;
  bWinXP = version.IsWinXP() ? 1 : 0;
}

CXTAuxData::~CXTAuxData() {
  FreeSysCursors();
  DeleteFonts();
}

CXTAuxData &XTGetAuxData() {
  static CXTAuxData data;
  return data;
}

void CXTAuxData::UpdateSysColors() {
  CXTPColorManager *pManager = XTPGetColorManager();
  pManager->RefreshColors();
  auto color = [pManager](int nIndex) { return pManager->GetColor(nIndex); };
  clr3DFace = color(COLOR_BTNFACE);
  clr3DShadow = color(COLOR_BTNSHADOW);
  clr3DDkShadow = color(COLOR_3DDKSHADOW);
  clr3DHilight = color(COLOR_BTNHIGHLIGHT);
  clr3DLight = color(COLOR_3DLIGHT);
  clrBtnText = color(COLOR_BTNTEXT);
  clrGrayText = color(COLOR_GRAYTEXT);
  clrHighlight = color(COLOR_HIGHLIGHT);
  clrHighlightText = color(COLOR_HIGHLIGHTTEXT);
  clrMenu = color(COLOR_MENU);
  clrMenuText = color(COLOR_MENUTEXT);
  clrWindow = color(COLOR_WINDOW);
  clrWindowFrame = color(COLOR_WINDOWFRAME);
  clrWindowText = color(COLOR_WINDOWTEXT);
  clrActiveCaption = color(COLOR_ACTIVECAPTION);
  clrInActiveCaption = color(COLOR_INACTIVECAPTION);
  clrGradActiveCapt = color(COLOR_GRADIENTACTIVECAPTION);
  // Index 28 is a system colour the manager's table leaves 0: ask the system.
  clrGradInActiveCapt = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
  clrActiveCaptText = color(COLOR_CAPTIONTEXT);
  clrInactiveCaptText = color(COLOR_INACTIVECAPTIONTEXT);
  for (int i = 0; i < 18; i++) clrXP[i] = color(30 + i);
  clrXPTabInactiveBack = color(48);
  clrXPTabInactiveText = color(49);
}

void CXTAuxData::UpdateSysMetrics() {
  cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
  cxSize = cySize = 18;
  cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
  cyMenuItem = ::GetSystemMetrics(SM_CYMENU);
}

BOOL CXTAuxData::LoadSysCursors() {
  FreeSysCursors();
  if (!hInstance) hInstance = ::GetModuleHandleW(nullptr);
  HCURSOR *slots[7] = {&hcurDragNone, &hcurDragCopy,  &hcurDragMove, &hcurHand,
                       &hcurHandNone, &hcurHSplitBar, &hcurVSplitBar};
  for (int i = 0; i < 7; i++) {
    *slots[i] = ::LoadCursorW(hInstance, MAKEINTRESOURCEW(kCursorIds[i]));
    if (!*slots[i]) return FALSE;
  }
  hcurMove = ::LoadCursorW(nullptr, IDC_SIZEALL);
  return hcurMove != nullptr;
}

void CXTAuxData::FreeSysCursors() {
  // Cursors loaded from a module's resources are shared and need no
  // destruction; only forget them.
  hcurDragNone = hcurDragCopy = hcurDragMove = hcurHand = hcurHandNone = hcurHSplitBar = hcurVSplitBar =
      hcurMove = nullptr;
}

void CXTAuxData::DeleteFonts() {
  CFont *fonts[] = {&font,          &fontBold,          &fontULine,   &fontVert,   &fontVertBold,
                    &fontIconTitle, &fontIconTitleBold, &fontMarlett, &fontStatus, &fontSmCaption};
  for (CFont *f : fonts) f->DeleteObject();
}

BOOL CXTAuxData::FontExists(LPCTSTR lpszFaceName) {
  return CXTPDrawHelpers::FontExists(lpszFaceName);
}

BOOL CXTAuxData::UpdateSysFonts(LPCTSTR lpszFaceName, LPCTSTR lpszVertFaceName) {
  DeleteFonts();
  NONCLIENTMETRICSW ncm = {};
  // The structure as the oldest supported systems know it, without the
  // padded-border field that older systems reject.
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(ncm.lfMessageFont);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return FALSE;
  LOGFONTW lf = ncm.lfMenuFont;
  if (lpszFaceName && *lpszFaceName && FontExists(lpszFaceName))
    lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
  else if ((!lpszFaceName || !*lpszFaceName) && bUseSolidShadows && lf.lfCharSet < 3 && FontExists(L"Tahoma"))
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);

  LOGFONTW lfBold = lf, lfULine = lf;
  lfBold.lfWeight = FW_BOLD;
  lfULine.lfUnderline = TRUE;

  LOGFONTW lfVert = lf;
  if (lpszVertFaceName && *lpszVertFaceName) {
    if (FontExists(lpszVertFaceName)) lstrcpynW(lfVert.lfFaceName, lpszVertFaceName, LF_FACESIZE);
  } else if (lstrcmpW(lf.lfFaceName, L"Tahoma") != 0 && FontExists(L"Arial")) {
    lstrcpynW(lfVert.lfFaceName, L"Arial", LF_FACESIZE);
  }
  lfVert.lfEscapement = 2700;
  lfVert.lfOrientation = 900;
  LOGFONTW lfVertBold = lfVert;
  lfVertBold.lfWeight = FW_BOLD;

  LOGFONTW lfIcon = {};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0);
  LOGFONTW lfIconBold = lfIcon;
  lfIconBold.lfWeight = FW_BOLD;

  LOGFONTW lfMarlett = {};
  lfMarlett.lfHeight = lfIcon.lfHeight;
  lfMarlett.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lfMarlett.lfFaceName, L"Marlett", LF_FACESIZE);

  return MakeFont(font, lf) && MakeFont(fontBold, lfBold) && MakeFont(fontULine, lfULine) &&
         MakeFont(fontVert, lfVert) && MakeFont(fontVertBold, lfVertBold) &&
         MakeFont(fontIconTitle, lfIcon) && MakeFont(fontIconTitleBold, lfIconBold) &&
         MakeFont(fontMarlett, lfMarlett) && MakeFont(fontStatus, ncm.lfStatusFont) &&
         MakeFont(fontSmCaption, ncm.lfSmCaptionFont);
}

DWORD CXTAuxData::GetComCtlVersion() {
  if (dwComCtlVersion != static_cast<DWORD>(-1)) return dwComCtlVersion;
  dwComCtlVersion = 0;
  HMODULE hModule = ::LoadLibraryW(L"COMCTL32.DLL");
  if (!hModule) return dwComCtlVersion;
  auto fn = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void *>(::GetProcAddress(hModule, "DllGetVersion")));
  if (fn) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(fn(&info))) dwComCtlVersion = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
  }
  ::FreeLibrary(hModule);
  return dwComCtlVersion;
}

// The non-client metrics size the refresh passes must be the documented 500
// bytes on every build, not one that grows with the headers.
static_assert(offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW) == 500, "NONCLIENTMETRICS size");
