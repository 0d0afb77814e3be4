// CXTPTabManager: the logic of one strip of tabs without a window of its own.
// It owns the tab items, the selection, the hot and pressed states, the scroll
// offset of a strip that is too long, the navigate buttons (scroll left,
// scroll right, close), hit testing, mouse and keyboard handling and the tabs'
// tooltips. The window that shows the strip derives from it and forwards its
// mouse and keyboard events; the tab paint manager places and draws the items.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"

#include "XTPWinThemeWrapper.h"

#include <vector>

class CXTPTabManager;
class CXTPTabPaintManager;

enum XTPTabPosition {
  xtpTabPositionTop = 0,
  xtpTabPositionLeft = 1,
  xtpTabPositionBottom = 2,
  xtpTabPositionRight = 3,
};

enum XTPTabNavigateButton {
  xtpTabNavigateButtonLeft = 0,
  xtpTabNavigateButtonRight = 1,
  xtpTabNavigateButtonClose = 2,
};

enum XTPTabNavigateButtonFlags {
  xtpTabNavigateButtonNone = 0,      // never shown
  xtpTabNavigateButtonAutomatic = 1, // shown when needed
  xtpTabNavigateButtonAlways = 2,
};

// Tab colours 0x1000000 + n (n 0 to 7) name an entry of the eight-colour table.
const COLORREF xtpTabColorFirst = 0x1000000;
const COLORREF xtpTabColorLast = 0x1000007;

// The abstract base the command bars' tab client knows the strip by.
class CXTPTabManagerBase {
public:
  virtual void Refresh() { Reposition(); }
  virtual ~CXTPTabManagerBase() = default;
  virtual void Reposition() = 0;
};

// One tab. Reference counted: the manager releases it when it goes.
class CXTPTabManagerItem : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPTabManagerItem)
  friend class CXTPTabManager;

public:
  CXTPTabManagerItem();

  void SetCaption(LPCTSTR lpszCaption);
  CString GetCaption() const;
  void SetColor(COLORREF clr);
  COLORREF GetColor();
  void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
  CString GetTooltip() const { return m_strToolTip; }
  void Remove();

  HWND GetHandle() const { return m_hWnd; }
  void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
  BOOL IsVisible() const { return m_bVisible; }
  void SetVisible(BOOL bVisible);
  BOOL IsEnabled() const { return m_bEnabled; }
  void SetEnabled(BOOL bEnabled);
  BOOL IsSelected() const;
  BOOL IsHighlighted() const;
  BOOL IsClosable() const { return m_bClosable; }
  void SetClosable(BOOL bClosable) { m_bClosable = bClosable; }

  void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
  DWORD_PTR GetData() const { return m_dwData; }
  int GetImageIndex() const { return m_nImage; }
  void SetImageIndex(int nImage) { m_nImage = nImage; }

  int GetIndex() const { return m_nIndex; }
  CRect GetRect() const { return m_rcItem; }
  void SetRect(const CRect &rc) { m_rcItem = rc; }
  int GetItemRow() const { return m_nItemRow; }
  void SetItemRow(int nRow) { m_nItemRow = nRow; }
  int GetButtonLength() const { return m_nButtonLength; }
  int GetContentLength() const { return m_nContentLength; }
  void SetButtonLength(int nLength) { m_nButtonLength = nLength; }
  void SetContentLength(int nLength) { m_nContentLength = nLength; }
  CXTPTabManager *GetTabManager() const { return m_pTabManager; }

  // The raw value: an RGB colour or an index into the eight-colour table.
  COLORREF GetRawColor() const { return m_clrItem; }

private:
  int m_nButtonLength = 0;
  int m_nContentLength = 0;
  int m_nItemRow = -1;
  int m_nIndex = -1;
  BOOL m_bEnabled = TRUE;
  BOOL m_bVisible = TRUE;
  HWND m_hWnd = nullptr;
  int m_nImage = 0;
  DWORD_PTR m_dwData = 0;
  CRect m_rcItem;
  CString m_strCaption;
  CString m_strToolTip;
  COLORREF m_clrItem = 0;
  CXTPTabManager *m_pTabManager = nullptr;
  int m_nReserved = 0;
  BOOL m_bClosable = TRUE;
};

// The rows of a strip laid out in several rows: (first, last) item per row.
class CXTPTabManagerRowIndexer {
public:
  struct ROW {
    int nFirstItem;
    int nLastItem;
  };
  explicit CXTPTabManagerRowIndexer(CXTPTabManager *pManager) : m_pManager(pManager) {}

  // A new count reallocates the rows; the first then spans every item.
  void SetRowCount(int nRows);
  int GetRowCount() const { return m_nRowCount; }
  ROW &GetRow(int nRow) { return m_arrRows[nRow]; }
  const ROW &GetRow(int nRow) const { return m_arrRows[nRow]; }

private:
  std::vector<ROW> m_arrRows;
  int m_nRowCount = 0;
  CXTPTabManager *m_pManager;
};

// One of the strip's buttons at its far end.
class CXTPTabManagerNavigateButton {
public:
  CXTPTabManagerNavigateButton(CXTPTabManager *pManager, XTPTabNavigateButton nKind,
                               XTPTabNavigateButtonFlags nMode);
  virtual ~CXTPTabManagerNavigateButton() = default;
  CXTPTabManagerNavigateButton(const CXTPTabManagerNavigateButton &) = delete;
  CXTPTabManagerNavigateButton &operator=(const CXTPTabManagerNavigateButton &) = delete;

  // Takes the button's room from the length left to the tabs.
  virtual void AdjustWidth(int &nWidth);
  // Runs the press: repeats while held, executes when released on it.
  virtual void PerformClick(HWND hWnd, CPoint pt);
  // Places (or hides) the button at the far end of the row.
  virtual void Reposition(CRect &rcRow);
  virtual void DrawEntry(CDC *pDC, CRect rc);
  virtual void OnExecute(BOOL bTick);

  void Draw(CDC *pDC);
  void PerformMouseMove(HWND hWnd, CPoint pt);

  XTPTabNavigateButton GetKind() const { return m_nKind; }
  XTPTabNavigateButtonFlags GetFlags() const { return m_nMode; }
  void SetFlags(XTPTabNavigateButtonFlags nMode) { m_nMode = nMode; }
  CRect GetRect() const { return m_rcButton; }
  CSize GetSize() const { return m_szButton; }
  BOOL IsEnabled() const { return m_bEnabled; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsHighlighted() const { return m_bHot; }
  CXTPTabManager *GetTabManager() const { return m_pManager; }

  // How long the press loop waits for a message before repeating; tests
  // count how often the repeat ran.
  static const DWORD kRepeatMs = 20;
  int GetRepeatCount() const { return m_nRepeats; }

protected:
  BOOL IsShownInLayout() const;
  // At the far end of the row, centred across it; the row loses its room.
  void PlaceAtEnd(CRect &rcRow);

  CXTPTabManager *m_pManager;
  XTPTabNavigateButton m_nKind;
  XTPTabNavigateButtonFlags m_nMode;
  CSize m_szButton{14, 15};
  CRect m_rcButton;
  BOOL m_bEnabled = TRUE;
  BOOL m_bPressed = FALSE;
  BOOL m_bHot = FALSE;
  int m_nRepeats = 0;
};

class CXTPTabManagerNavigateButtonScroll : public CXTPTabManagerNavigateButton {
public:
  using CXTPTabManagerNavigateButton::CXTPTabManagerNavigateButton;
  void Reposition(CRect &rcRow) override;
};

class CXTPTabManagerNavigateButtonLeft : public CXTPTabManagerNavigateButtonScroll {
public:
  explicit CXTPTabManagerNavigateButtonLeft(CXTPTabManager *pManager)
      : CXTPTabManagerNavigateButtonScroll(pManager, xtpTabNavigateButtonLeft,
                                           xtpTabNavigateButtonAutomatic) {}
  void Reposition(CRect &rcRow) override;
  void DrawEntry(CDC *pDC, CRect rc) override;
  void OnExecute(BOOL bTick) override;
};

class CXTPTabManagerNavigateButtonRight : public CXTPTabManagerNavigateButtonScroll {
public:
  explicit CXTPTabManagerNavigateButtonRight(CXTPTabManager *pManager)
      : CXTPTabManagerNavigateButtonScroll(pManager, xtpTabNavigateButtonRight,
                                           xtpTabNavigateButtonAutomatic) {}
  void Reposition(CRect &rcRow) override;
  void DrawEntry(CDC *pDC, CRect rc) override;
  void OnExecute(BOOL bTick) override;
};

class CXTPTabManagerNavigateButtonClose : public CXTPTabManagerNavigateButton {
public:
  explicit CXTPTabManagerNavigateButtonClose(CXTPTabManager *pManager)
      : CXTPTabManagerNavigateButton(pManager, xtpTabNavigateButtonClose, xtpTabNavigateButtonNone) {}
  void DrawEntry(CDC *pDC, CRect rc) override;
};

// Where the strip hands a tab's tooltip on. The default fills the record
// through the toolkit's tooltip context; a window may install its own.
class IXTPTabToolTipFiller {
public:
  virtual ~IXTPTabToolTipFiller() = default;
  // Fills the tool record (at least 40 bytes) and returns the tool id.
  virtual INT_PTR FillInToolInfo(TOOLINFO *pToolInfo, HWND hWnd, const CRect &rc, INT_PTR nId,
                                 const CString &strTip, const CString &strCaption) = 0;
};

class CXTPTabManager : public CXTPTabManagerBase {
  // The layout writes the scroll offset it settles on without laying out again.
  friend class CXTPTabPaintManager;

public:
  CXTPTabManager();
  ~CXTPTabManager() override;
  CXTPTabManager(const CXTPTabManager &) = delete;
  CXTPTabManager &operator=(const CXTPTabManager &) = delete;

  // --- virtual operations, in their slot order after the base's ---
  virtual CString GetItemCaption(const CXTPTabManagerItem *pItem) const;
  virtual int GetItemIcon(const CXTPTabManagerItem *pItem) const;
  virtual COLORREF GetItemColor(const CXTPTabManagerItem *pItem) const;
  virtual CString GetItemTooltip(const CXTPTabManagerItem *pItem) const;
  virtual void OnItemsChanged();
  virtual void SetSelectedItem(CXTPTabManagerItem *pItem);
  // What a click on a tab does (the one operation every caller goes through).
  virtual void OnItemClick(CXTPTabManagerItem *pItem);
  virtual void GetItemMetrics(CSize *pSizeNormal, CSize *pSizeMin, CSize *pSizeMax) const;
  virtual CXTPTabPaintManager *GetPaintManager() const = 0;
  virtual void OnPropertyChanged() { Reposition(); }
  virtual void RedrawControl() = 0;
  virtual BOOL IsAllowReorder() const { return m_bAllowReorder; }
  virtual void SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }
  virtual BOOL IsDrawStaticFrame() const;
  // Draws (or with bDraw FALSE only asks for) the item's icon; TRUE when it has one.
  virtual BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw, CSize &szIcon) const = 0;
  virtual XTPTabPosition GetPosition() const;
  virtual void OnScroll(BOOL bRight);
  virtual BOOL IsNavigateButtonVisible(CXTPTabManagerNavigateButton *pButton);
  virtual void TrackTabDrag(HWND hWnd, CPoint pt, CXTPTabManagerItem *pItem);
  virtual void OnNavigateButtonClick(XTPTabNavigateButton /*nKind*/) {}
  // TRUE suppresses hot tracking.
  virtual BOOL IsMouseLocked() const { return FALSE; }
  virtual void PerformKeyDown(HWND hWnd, UINT nChar);
  virtual BOOL IsFocused() const { return FALSE; }

  // --- items ---
  CXTPTabManagerItem *AddItem(int nItem, CXTPTabManagerItem *pItem = nullptr);
  BOOL DeleteItem(int nItem);
  void DeleteAllItems();
  void SetCurSel(int nIndex);
  int GetCurSel() const { return m_pSelected ? m_pSelected->GetIndex() : -1; }
  CXTPTabManagerItem *GetItem(int nIndex) const;
  int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
  CXTPTabManagerItem *GetSelectedItem() const { return m_pSelected; }
  CXTPTabManagerItem *GetHighlightedItem() const { return m_pHighlighted; }
  void SetHighlightedItem(CXTPTabManagerItem *pItem) { m_pHighlighted = pItem; }
  int GetTotalButtonLength() const;

  // --- navigate buttons ---
  CXTPTabManagerNavigateButton *FindNavigateButton(XTPTabNavigateButton nKind) const;
  int GetNavigateButtonCount() const { return static_cast<int>(m_arrNavigateButtons.size()); }
  CXTPTabManagerNavigateButton *GetNavigateButton(int i) const { return m_arrNavigateButtons[i]; }

  // --- scrolling ---
  void SetHeaderOffset(int nOffset);
  int GetHeaderOffset() const { return m_nHeaderOffset; }
  int GetScrollStep() const { return m_nScrollStep; }

  // --- metrics and rectangles written by the layout ---
  void SetItemMetrics(CSize szItem, CSize szMin = CSize(0, 0), CSize szMax = CSize(0, 0));
  CRect GetHeaderRect() const { return m_rcHeaderRect; }
  CRect GetControlRect() const { return m_rcControl; }
  CRect GetClientRect() const { return m_rcClient; }
  void SetHeaderRect(const CRect &rc) { m_rcHeaderRect = rc; }
  void SetControlRect(const CRect &rc) { m_rcControl = rc; }
  void SetClientRect(const CRect &rc) { m_rcClient = rc; }
  CXTPTabManagerRowIndexer *GetRowIndexer() const { return m_pRowIndexer; }

  BOOL IsActive() const { return m_bActive; }
  void SetActive(BOOL bActive) { m_bActive = bActive; }
  BOOL IsHorizontalPosition() const;
  int GetRectLength(const CRect &rc) const { return IsHorizontalPosition() ? rc.Width() : rc.Height(); }

  // --- input ---
  CXTPTabManagerItem *HitTest(CPoint pt) const;
  BOOL PerformClick(HWND hWnd, CPoint pt, BOOL bNoItemClick = FALSE);
  void PerformMouseMove(HWND hWnd, CPoint pt);
  // The tooltip of the tab under the point: the tool id, or -1 for none.
  INT_PTR GetItemToolTip(HWND hWnd, CPoint pt, TOOLINFO *pToolInfo);
  void SetToolTipFiller(IXTPTabToolTipFiller *pFiller) { m_pToolTipFiller = pFiller; }

  CXTPWinThemeWrapper &GetThemeWrapper() { return m_themeTabButton; }

private:
  void ClearItemRefs(CXTPTabManagerItem *pItem);

  CXTPTabManagerItem *m_pSelected = nullptr;
  CXTPTabManagerItem *m_pHighlighted = nullptr;
  int m_nHeaderOffset = 0;
  BOOL m_bAllowReorder = TRUE;
  BOOL m_bActive = TRUE;
  CSize m_szItem{70, 18};
  CSize m_szItemMin{0, 0};
  CSize m_szItemMax{0, 0};
  CRect m_rcHeaderRect;
  CRect m_rcControl;
  CRect m_rcClient;
  std::vector<CXTPTabManagerItem *> m_arrItems;
  std::vector<CXTPTabManagerNavigateButton *> m_arrNavigateButtons;
  CXTPWinThemeWrapper m_themeTabButton;
  CXTPTabManagerRowIndexer *m_pRowIndexer;
  int m_nScrollStep = 20;
  int m_nItemColor = 0;
  IXTPTabToolTipFiller *m_pToolTipFiller = nullptr;
};
