// CXTPWinThemeWrapper: the system's visual-style functions without a link-time
// dependency on them. "UxTheme.dll" is loaded once by name and each function
// is looked up on first use, so the program runs unchanged where visual styles
// are missing. Every call goes through an XTPVisualStyleApi; tests install a
// fake one, since visual styles are never active under Wine.
#pragma once

#include <windows.h>

typedef HANDLE HTHEME;

// The visual-style functions the wrapper forwards to. The default instance
// binds them lazily from "UxTheme.dll"; a missing library or function gives
// E_FAIL (or FALSE / null).
class XTPVisualStyleApi {
public:
  virtual ~XTPVisualStyleApi() = default;
  virtual HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
  virtual HRESULT CloseThemeData(HTHEME hTheme);
  virtual HRESULT DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId, const RECT *pRect,
                                      const RECT *pClipRect);
  virtual HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF *pColor);
  virtual HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                      int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
  virtual BOOL IsAppThemed();
  virtual BOOL IsThemeActive();
  // (major << 16) | minor of "comctl32.dll", 0 when unknown.
  virtual DWORD GetComCtlVersion();
  // TRUE when "UxTheme.dll" could be loaded.
  virtual BOOL IsLibraryLoaded();
};

// The process's visual-style functions: the installed replacement, or the
// system's. XTPSetVisualStyleApi returns the previous replacement (null for
// the system's); the caller keeps ownership of what it installs.
XTPVisualStyleApi *XTPGetVisualStyleApi();
XTPVisualStyleApi *XTPSetVisualStyleApi(XTPVisualStyleApi *pApi);

class CXTPWinThemeWrapper {
public:
  CXTPWinThemeWrapper() = default;
  virtual ~CXTPWinThemeWrapper();
  CXTPWinThemeWrapper(const CXTPWinThemeWrapper &) = delete;
  CXTPWinThemeWrapper &operator=(const CXTPWinThemeWrapper &) = delete;

  // Closes any open handle first; S_OK when the class's data opened.
  HRESULT OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
  HRESULT CloseThemeData();
  HRESULT DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT *pRect, const RECT *pClipRect);
  // A failure leaves *pColor untouched.
  HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF *pColor);
  HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                              int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
  // FALSE without an open handle, without asking the system.
  BOOL IsAppThemed();
  BOOL IsThemeActive();
  BOOL IsAppThemeReady();
  static DWORD GetComCtlVersion();

  HTHEME GetThemeHandle() const { return m_hTheme; }

private:
  HTHEME m_hTheme = nullptr;
};
