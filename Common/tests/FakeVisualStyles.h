// A visual-style source for tests: visual styles are never active under Wine,
// so the toolkit's themed paths are driven by this fake, which answers from
// its fields and records every (class, part, state) it is asked about.
#pragma once

#include "XTPWinThemeWrapper.h"

#include <string>
#include <vector>

class FakeVisualStyles : public XTPVisualStyleApi {
public:
  struct Call {
    std::wstring what;  // function name
    std::wstring klass; // class list of the open handle
    int part;
    int state;
  };

  FakeVisualStyles() { m_pPrevious = XTPSetVisualStyleApi(this); }
  ~FakeVisualStyles() override { XTPSetVisualStyleApi(m_pPrevious); }

  HTHEME OpenThemeData(HWND, LPCWSTR pszClassList) override {
    calls.push_back({L"OpenThemeData", pszClassList, 0, 0});
    if (!themed) return nullptr;
    openClasses.push_back(pszClassList);
    return reinterpret_cast<HTHEME>(openClasses.size());
  }
  HRESULT CloseThemeData(HTHEME hTheme) override {
    calls.push_back({L"CloseThemeData", ClassOf(hTheme), 0, 0});
    closed++;
    return S_OK;
  }
  HRESULT DrawThemeBackground(HTHEME hTheme, HDC, int iPartId, int iStateId, const RECT *,
                              const RECT *) override {
    calls.push_back({L"DrawThemeBackground", ClassOf(hTheme), iPartId, iStateId});
    return themed ? S_OK : E_FAIL;
  }
  HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF *pColor) override {
    calls.push_back({L"GetThemeColor", ClassOf(hTheme), iPartId, iStateId});
    lastProperty = iPropId;
    if (!themed) return E_FAIL;
    *pColor = themeColor;
    return S_OK;
  }
  HRESULT GetCurrentThemeName(LPWSTR file, int fileChars, LPWSTR color, int colorChars, LPWSTR,
                              int) override {
    if (!themed) return E_FAIL;
    lstrcpynW(file, themeFile.c_str(), fileChars);
    lstrcpynW(color, colorScheme.c_str(), colorChars);
    return S_OK;
  }
  BOOL IsAppThemed() override { return themed; }
  BOOL IsThemeActive() override { return themed; }
  DWORD GetComCtlVersion() override { return comctlVersion; }
  BOOL IsLibraryLoaded() override { return libraryLoaded; }

  std::wstring ClassOf(HTHEME hTheme) const {
    size_t i = reinterpret_cast<size_t>(hTheme);
    return i >= 1 && i <= openClasses.size() ? openClasses[i - 1] : L"";
  }

  BOOL themed = TRUE;
  BOOL libraryLoaded = TRUE;
  DWORD comctlVersion = 6 << 16;
  std::wstring themeFile = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
  std::wstring colorScheme = L"NormalColor";
  COLORREF themeColor = 0x123456;
  int lastProperty = 0;
  int closed = 0;
  std::vector<std::wstring> openClasses;
  std::vector<Call> calls;

private:
  XTPVisualStyleApi *m_pPrevious;
};
