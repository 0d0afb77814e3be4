// CXTPControls: the ordered list of controls of one command bar. It creates
// controls by type and id, builds them from a menu, copies lists, keeps an
// original copy to detect customisation, finds and hit-tests controls, walks
// them in keyboard order and lays them out in rows and columns.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"

#include <vector>

#include "XTPControl.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CMenu;
struct CXTPCommandBarsExchangeParam;

// Layout modes beside the framework's LM_ flags.
#ifndef LM_STRETCH
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40
#endif
#define LM_HIDEWRAP 0x80 // hide what does not fit instead of wrapping
#define LM_POPUP 0x100   // wrap at every group start and balance the shape

// One control's place in a layout pass.
struct XTP_LAYOUT_RECORD {
  CRect rcControl;
  CRect rcRow;
  CSize szControl;
  BOOL bVisible = TRUE;
  BOOL bWrap = FALSE;
  BOOL bHide = FALSE;
  BOOL bBeginGroup = FALSE;
  DWORD dwFlags = 0; // the control's flags (right-aligned, stretched)
};

// The layout engine, free of windows and controls: sizes in, places out.
class CXTPControlsLayout {
public:
  typedef std::vector<XTP_LAYOUT_RECORD> Records;

  // Breaks rows at nWidth (heights for vertical bars); returns the rows.
  static int WrapRecords(Records &records, int nWidth, DWORD &dwMode, BOOL bVert);
  // Places the records in rows (columns when bVertDock) and gives the extent.
  static CSize MeasureRecords(Records &records, BOOL bVertDock);
  // The shape closest to square (popups of many items).
  static CSize BalanceRecords(Records &records, DWORD &dwMode);
  // The width whose rows fit the length (floating bars).
  static CSize FitLength(Records &records, int nLength, DWORD &dwMode);
  // Margins, centring in rows, stretched and right-aligned controls.
  static void PositionRecords(Records &records, CRect rcMargins, DWORD dwMode, CSize szBar);

  // The whole pass but measuring and applying the controls.
  static CSize Calculate(Records &records, int nLength, DWORD dwMode, CRect rcMargins, int nMinLength,
                         int nMRUWidth);
};

// The menu-item block of messages 1327 and 1334.
struct XTP_COMMANDBARS_CREATECONTROL {
  int nID;
  CXTPControl *pControl;
  BOOL bToolBar;
  int nIndex;
  HMENU hMenu;
  CXTPCommandBar *pCommandBar;
  CString strCaption;
  XTPControlType controlType;
  DWORD dwFlags;
};

// The creation block of message 1328 (a popup bar for a popup control).
struct XTP_COMMANDBARS_CREATEBAR {
  CXTPCommandBar *pCommandBar;
  BOOL bPopup;
  BOOL bExpandBar;
  BOOL bTearOffBar;
  BOOL bFloatingBar;
  LPCTSTR lpcstrCaption;
  UINT nID;
};

#define WM_XTP_BEFORECREATECONTROL 0x52F
#define WM_XTP_CREATECOMMANDBAR 0x530
#define WM_XTP_AFTERCREATECONTROL 0x536

class CXTPControls : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPControls)
public:
  CXTPControls();
  ~CXTPControls() override;

  virtual void DoPropExchange(CXTPPropExchange *pPX);

  void SetParent(CXTPCommandBar *pParent);
  CXTPCommandBar *GetParent() const { return m_pParent; }
  CXTPCommandBars *GetCommandBars() const;
  void SetCommandBars(CXTPCommandBars *pCommandBars) { m_pCommandBars = pCommandBars; }

  int GetCount() const { return static_cast<int>(m_arrControls.size()); }
  CXTPControl *GetAt(int nIndex) const;
  CXTPControl *GetFirst() const { return GetAt(0); }
  void GetNext(CXTPControl *&pControl) const;

  CXTPControl *Add(XTPControlType controlType, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                   BOOL bTemporary = FALSE);
  CXTPControl *Add(CXTPControl *pControl, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                   BOOL bTemporary = FALSE) {
    return AddControl(pControl, nId, lpszParameter, nBefore, bTemporary);
  }
  CXTPControl *AddControl(CXTPControl *pControl, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                          BOOL bTemporary = FALSE);
  CXTPControl *AddClone(CXTPControl *pControl, int nBefore = -1, BOOL bRecursive = FALSE);
  void Remove(CXTPControl *pControl);
  void RemoveAt(int nIndex);
  void RemoveAll();

  BOOL LoadMenu(CMenu *pMenu);
  BOOL LoadMenu(HMENU hMenu);
  CXTPControl *AddMenuItem(HMENU hMenu, int nIndex);
  CXTPControl *AddMenuItem(CMenu *pMenu, int nIndex);

  CXTPControl *FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const;
  CXTPControl *FindControl(int nId) const;
  CXTPControl *HitTest(CPoint point) const;
  int GetNextIndex(int nIndex, int nDirection, BOOL bKeyboard = TRUE, BOOL bSkipTemporary = FALSE,
                   BOOL bSkipCollapsed = TRUE) const;

  CXTPControls *Duplicate(BOOL bRecursive = FALSE);
  void CreateOriginalControls();
  CXTPControls *GetOriginalControls() const { return m_pOriginalControls; }
  // Takes pOriginal as the original set (null: none).
  void SetOriginalControls(CXTPControls *pOriginal);
  BOOL IsChanged() const;
  BOOL Compare(const CXTPControls *pOther) const;

  int GetVisibleCount(BOOL bIgnoreWraps = FALSE) const;
  CSize CalcDynamicSize(CDC *pDC, int nLength, DWORD dwMode, const CRect &rcBorder, int nWidth = 0);

  void RefreshIndexes();

  // Where menu resources come from (the resource manager), replaceable by
  // tests that watch the handles the list loads.
  typedef HMENU (*MenuLoader)(UINT nID);
  static void SetMenuLoader(MenuLoader pfn);
  static HMENU LoadMenuResourceHandle(UINT nID);

  // Sends a message to the list's site; 0 without one.
  LRESULT NotifySite(UINT nMessage, WPARAM wParam, LPARAM lParam) const;

private:
  CXTPControl *CreatePopupControl(XTPControlType type, int nId, LPCTSTR lpszCaption, HMENU hSubMenu,
                                  BOOL bRemoveExisting);
  CXTPControl *InsertControl(CXTPControl *pControl, int nBefore);
  // The original and customised sets stored with a loaded list.
  void ExchangeNestedControls(CXTPPropExchange *pPX, CXTPCommandBarsExchangeParam *pParam);

  CXTPCommandBar *m_pParent = nullptr;
  std::vector<CXTPControl *> m_arrControls;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPControls *m_pOriginalControls = nullptr;
};
