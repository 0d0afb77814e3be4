#include "XTPWinThemeWrapper.h"

#include <shlwapi.h>

namespace {

// "UxTheme.dll" loaded once for the process; functions found on first use.
class UxThemeLibrary {
public:
  static UxThemeLibrary &Get() {
    static UxThemeLibrary library;
    return library;
  }
  HMODULE Module() const { return m_hModule; }

  template <typename Fn> Fn Find(FARPROC &slot, const char *name) {
    if (!slot && m_hModule) slot = GetProcAddress(m_hModule, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(slot));
  }

  FARPROC open = nullptr, close = nullptr, drawBackground = nullptr, color = nullptr, themeName = nullptr,
          appThemed = nullptr, themeActive = nullptr;

private:
  UxThemeLibrary() : m_hModule(LoadLibraryW(L"UxTheme.dll")) {}
  ~UxThemeLibrary() {
    if (m_hModule) FreeLibrary(m_hModule);
  }
  HMODULE m_hModule;
};

XTPVisualStyleApi &SystemApi() {
  static XTPVisualStyleApi api;
  return api;
}

XTPVisualStyleApi *g_pReplacementApi = nullptr;

} // namespace

XTPVisualStyleApi *XTPGetVisualStyleApi() {
  return g_pReplacementApi ? g_pReplacementApi : &SystemApi();
}

XTPVisualStyleApi *XTPSetVisualStyleApi(XTPVisualStyleApi *pApi) {
  XTPVisualStyleApi *pOld = g_pReplacementApi;
  g_pReplacementApi = pApi;
  return pOld;
}

HTHEME XTPVisualStyleApi::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<HTHEME(WINAPI *)(HWND, LPCWSTR)>(lib.open, "OpenThemeData");
  return fn ? fn(hWnd, pszClassList) : nullptr;
}

HRESULT XTPVisualStyleApi::CloseThemeData(HTHEME hTheme) {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<HRESULT(WINAPI *)(HTHEME)>(lib.close, "CloseThemeData");
  return fn ? fn(hTheme) : E_FAIL;
}

HRESULT XTPVisualStyleApi::DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId,
                                               const RECT *pRect, const RECT *pClipRect) {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, const RECT *, const RECT *)>(
      lib.drawBackground, "DrawThemeBackground");
  return fn ? fn(hTheme, hDC, iPartId, iStateId, pRect, pClipRect) : E_FAIL;
}

HRESULT XTPVisualStyleApi::GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                         COLORREF *pColor) {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<HRESULT(WINAPI *)(HTHEME, int, int, int, COLORREF *)>(lib.color, "GetThemeColor");
  return fn ? fn(hTheme, iPartId, iStateId, iPropId, pColor) : E_FAIL;
}

HRESULT XTPVisualStyleApi::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                               LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR pszSizeBuff,
                                               int cchMaxSizeChars) {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<HRESULT(WINAPI *)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>(lib.themeName,
                                                                               "GetCurrentThemeName");
  return fn ? fn(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff,
                 cchMaxSizeChars)
            : E_FAIL;
}

BOOL XTPVisualStyleApi::IsAppThemed() {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<BOOL(WINAPI *)()>(lib.appThemed, "IsAppThemed");
  return fn ? fn() : FALSE;
}

BOOL XTPVisualStyleApi::IsThemeActive() {
  UxThemeLibrary &lib = UxThemeLibrary::Get();
  auto fn = lib.Find<BOOL(WINAPI *)()>(lib.themeActive, "IsThemeActive");
  return fn ? fn() : FALSE;
}

DWORD XTPVisualStyleApi::GetComCtlVersion() {
  HMODULE hModule = LoadLibraryW(L"comctl32.dll");
  if (!hModule) return 0;
  DWORD version = 0;
  auto fn =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void *>(GetProcAddress(hModule, "DllGetVersion")));
  if (fn) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(fn(&info))) version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
  }
  FreeLibrary(hModule);
  return version;
}

BOOL XTPVisualStyleApi::IsLibraryLoaded() {
  return UxThemeLibrary::Get().Module() != nullptr;
}

CXTPWinThemeWrapper::~CXTPWinThemeWrapper() {
  CloseThemeData();
}

HRESULT CXTPWinThemeWrapper::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  CloseThemeData();
  m_hTheme = XTPGetVisualStyleApi()->OpenThemeData(hWnd, pszClassList);
  return m_hTheme ? S_OK : E_FAIL;
}

HRESULT CXTPWinThemeWrapper::CloseThemeData() {
  if (!m_hTheme) return E_FAIL;
  HRESULT hr = XTPGetVisualStyleApi()->CloseThemeData(m_hTheme);
  m_hTheme = nullptr;
  return hr;
}

HRESULT CXTPWinThemeWrapper::DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT *pRect,
                                                 const RECT *pClipRect) {
  return XTPGetVisualStyleApi()->DrawThemeBackground(m_hTheme, hDC, iPartId, iStateId, pRect, pClipRect);
}

HRESULT CXTPWinThemeWrapper::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF *pColor) {
  COLORREF color = 0;
  HRESULT hr = XTPGetVisualStyleApi()->GetThemeColor(m_hTheme, iPartId, iStateId, iPropId, &color);
  if (SUCCEEDED(hr) && pColor) *pColor = color;
  return hr;
}

HRESULT CXTPWinThemeWrapper::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                                 LPWSTR pszColorBuff, int cchMaxColorChars,
                                                 LPWSTR pszSizeBuff, int cchMaxSizeChars) {
  return XTPGetVisualStyleApi()->GetCurrentThemeName(pszThemeFileName, cchMaxNameChars, pszColorBuff,
                                                     cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

BOOL CXTPWinThemeWrapper::IsAppThemed() {
  return m_hTheme ? XTPGetVisualStyleApi()->IsAppThemed() : FALSE;
}

BOOL CXTPWinThemeWrapper::IsThemeActive() {
  return XTPGetVisualStyleApi()->IsThemeActive();
}

BOOL CXTPWinThemeWrapper::IsAppThemeReady() {
  XTPVisualStyleApi *api = XTPGetVisualStyleApi();
  return api->IsLibraryLoaded() && api->IsThemeActive() && api->IsAppThemed() &&
         HIWORD(api->GetComCtlVersion()) > 5;
}

DWORD CXTPWinThemeWrapper::GetComCtlVersion() {
  return XTPGetVisualStyleApi()->GetComCtlVersion();
}
