// The shadows under popup bars and open popup controls.
//
// Every shadow is a strip of its own: a top-most, click-through window along
// the right or the bottom edge of its owner. Where the system has layered
// windows the strip carries a per-pixel alpha bitmap (four pixels that fade
// outwards); elsewhere it is a plain two-pixel strip in the button shadow
// colour. A hook on the owner shows, hides and destroys the strips with it.
#pragma once

#include "Framework.h"

#include <list>
#include <vector>

#include "XTPHookManager.h"

class CXTPShadowsManager;
class CXTPPaintManager;
class CXTPPopupBar;
class CXTPControl;

typedef BOOL(WINAPI *PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT *, SIZE *, HDC, POINT *, COLORREF,
                                             BLENDFUNCTION *, DWORD);

class CXTPShadowWnd : public CWnd, public CXTPHookClient {
public:
  CXTPShadowWnd(CXTPShadowsManager *pManager, BOOL bHorizontal, BOOL bThemeShadow, COLORREF clrShadow);
  ~CXTPShadowWnd() override;

  BOOL IsHorizontal() const { return m_bHorizontal; }
  HWND GetOwnerHwnd() const { return m_hWndOwner; }
  CRect GetWindowRectangle() const;

  BOOL CreateShadow(HWND hWndOwner);
  // Takes the rectangle out of the window's region when the two meet.
  void ExcludeRect(CRect rc);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

  // The premultiplied pixels of a strip, rows from the top, 0xAARRGGBB.
  // k is 1 for a theme's shadow and 2 for the system's drop shadow.
  static std::vector<DWORD> BuildBits(BOOL bHorizontal, int cx, int cy, COLORREF clr, int k);

private:
  friend class CXTPShadowsManager;
  void UpdateLayered(int cx, int cy);

  CXTPShadowsManager *m_pManager;
  BOOL m_bHorizontal;
  BOOL m_bThemeShadow;
  COLORREF m_clrShadow;
  HWND m_hWndOwner = nullptr; // null once the strip is going
};

class CXTPShadowsManager {
public:
  CXTPShadowsManager();
  ~CXTPShadowsManager();
  CXTPShadowsManager(const CXTPShadowsManager &) = delete;
  CXTPShadowsManager &operator=(const CXTPShadowsManager &) = delete;

  // Shadows of a popup bar that leave the exclude rectangle (screen) free.
  void SetShadow(CXTPPopupBar *pBar, const CRect &rcExclude);
  // Shadows of a control whose popup is open.
  void SetShadow(CXTPControl *pControl);
  // Shadows for any owner window: what the two above come to. bThemeShadow
  // says the paint manager draws shadows itself.
  void SetShadow(HWND hWndOwner, const CRect &rcOwner, const CRect &rcExclude, BOOL bThemeShadow,
                 COLORREF clr);
  void RemoveShadow(HWND hWndOwner);

  BOOL IsLayeredAvailable() const { return m_pfnUpdateLayeredWindow != nullptr; }
  int GetThickness() const { return IsLayeredAvailable() ? 4 : 2; }
  const std::list<CXTPShadowWnd *> &GetShadows() const { return m_shadows; }
  int GetShadowCount(HWND hWndOwner) const;

  // What decides whether a theme without shadows of its own gets the
  // system's drop shadow; the tests set both ways.
  void SetDropShadowOverride(int nOverride) { m_nDropShadowOverride = nOverride; }
  void SetLayeredAvailable(BOOL bAvailable);
  BOOL PrepareShadowsForTest(CXTPPaintManager *pPaintManager, BOOL bCustomize) const {
    return PrepareShadows(pPaintManager, bCustomize);
  }

private:
  friend class CXTPShadowWnd;
  BOOL IsDropShadowOn() const;
  BOOL PrepareShadows(CXTPPaintManager *pPaintManager, BOOL bCustomize) const;
  void CreateShadow(BOOL bHorizontal, const CRect &rcOwner, const CRect &rcExclude, HWND hWndOwner,
                    BOOL bThemeShadow, COLORREF clr);
  void DestroyShadow(CXTPShadowWnd *pShadow);

  PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
  PFNUPDATELAYEREDWINDOW m_pfnSystem = nullptr;
  std::list<CXTPShadowWnd *> m_shadows;
  int m_nDropShadowOverride = -1; // -1: ask the system
};

// The process's shadows manager.
CXTPShadowsManager *XTPShadowsManager();
