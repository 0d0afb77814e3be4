// CXTAuxData: the display data every toolkit control draws with: system and
// toolkit colours, metrics, interface fonts, cursors and the common-controls
// version. Owners of top-level windows refresh it on colour and settings
// changes.
#pragma once

#include "FrameworkCore.h"
#include "GdiObject.h"

class CXTVersionManager;

class CXTAuxData {
public:
  CXTAuxData();
  ~CXTAuxData();
  CXTAuxData(const CXTAuxData &) = delete;
  CXTAuxData &operator=(const CXTAuxData &) = delete;

  void UpdateSysColors();
  void UpdateSysMetrics();
  // TRUE when all eight cursors loaded; stops at the first that fails.
  BOOL LoadSysCursors();
  void FreeSysCursors();
  // Empty faces keep the system's; FALSE when a font cannot be made.
  BOOL UpdateSysFonts(LPCTSTR lpszFaceName = nullptr, LPCTSTR lpszVertFaceName = nullptr);
  DWORD GetComCtlVersion();
  BOOL IsComCtlValid() { return GetComCtlVersion() >= 0x40048; }
  static BOOL FontExists(LPCTSTR lpszFaceName);

  // The module whose resources hold the cursors (the executable by default).
  void SetResourceModule(HMODULE hModule) { hInstance = hModule; }

  // Colours, in the order the refresh reads them.
  COLORREF clr3DFace, clr3DShadow, clr3DDkShadow, clr3DHilight, clr3DLight, clrBtnText, clrGrayText,
      clrHighlight, clrHighlightText, clrMenu, clrMenuText, clrWindow, clrWindowFrame, clrWindowText,
      clrActiveCaption, clrInActiveCaption, clrGradActiveCapt, clrGradInActiveCapt, clrActiveCaptText,
      clrInactiveCaptText;
  COLORREF clrXP[18]; // toolkit colours 30 to 47
  COLORREF clrXPTabInactiveBack, clrXPTabInactiveText;

  HCURSOR hcurDragCopy = nullptr, hcurDragMove = nullptr, hcurDragNone = nullptr, hcurHand = nullptr,
          hcurHandNone = nullptr, hcurHSplitBar = nullptr, hcurVSplitBar = nullptr, hcurMove = nullptr;

  int cxSmIcon = 0, cySmIcon = 0, cxSize = 18, cySize = 18, cxHThumb = 0, cyVThumb = 0, cyMenuItem = 0;

  // The version manager's answers: each names one release, so Windows Me and
  // every release after XP have none set.
  BYTE bWin95 = 0, bWin98 = 0, bWinNT4 = 0, bWin2K = 0, bWinXP = 0;
  void SetOSFlags(const CXTVersionManager &version);

  CFont font, fontBold, fontULine, fontVert, fontVertBold, fontIconTitle, fontIconTitleBold, fontMarlett,
      fontStatus, fontSmCaption;

  BOOL bUseOfficeFont = FALSE;
  BOOL bUseSolidShadows = FALSE; // prefers "Tahoma" when installed
  BOOL bMenuShadows = TRUE;

  DWORD dwComCtlVersion = static_cast<DWORD>(-1);
  HMODULE hInstance = nullptr;

private:
  void DeleteFonts();
};

CXTAuxData &XTGetAuxData();
