// A tab strip for tests: a tab manager laid out by its own paint manager on a
// screen-compatible context, with tab lengths and row heights fixed by a test
// appearance so that layouts do not depend on the system font.
#pragma once

#include "XTPTabManager.h"
#include "XTPTabPaintManager.h"
#include "XTPTabAppearanceStyles.h"
#include "XTPTabColorSets.h"

#include <vector>

// Style 0 whose tabs are as long as their item data says and whose rows are
// 20 pixels high.
class FixedLengthAppearance : public CXTPTabAppearance0 {
public:
  int MeasureTab(CDC *, CXTPTabManagerItem *pItem) override { return static_cast<int>(pItem->GetData()); }
  int GetRowHeight(CXTPTabManager *) override { return 20; }
};

class TestStrip : public CXTPTabManager {
public:
  TestStrip() { paint.AddChangeListener(this); }
  ~TestStrip() override { paint.RemoveChangeListener(this); }

  void UseFixedLengths() { paint.SetAppearanceSet(new FixedLengthAppearance); }
  // Adds tabs of the given lengths (for the fixed-length appearance).
  void AddTabs(const std::vector<int> &arrLengths) {
    for (int nLength : arrLengths) {
      CXTPTabManagerItem *pItem = AddItem(-1);
      pItem->SetData(static_cast<DWORD_PTR>(nLength));
    }
    Reposition();
  }

  CXTPTabPaintManager *GetPaintManager() const override { return &paint; }
  void Reposition() override {
    HDC hDC = ::GetDC(nullptr);
    CDC dc;
    dc.Attach(hDC);
    paint.RepositionTabControl(this, &dc, rcControl);
    dc.Detach();
    ::ReleaseDC(nullptr, hDC);
    repositions++;
  }
  void RedrawControl() override {
    redraws++;
    if (hWnd) ::InvalidateRect(hWnd, nullptr, FALSE);
  }
  BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *, BOOL bDraw, CSize &szIcon) const override {
    if (!icons) return FALSE;
    szIcon = CSize(16, 16);
    if (bDraw) pDC->FillSolidRect(pt.x, pt.y, 16, 16, RGB(0, 128, 0));
    return TRUE;
  }
  BOOL IsFocused() const override { return focused; }
  void OnNavigateButtonClick(XTPTabNavigateButton nKind) override { clicks.push_back(nKind); }

  std::vector<int> Lengths() const {
    std::vector<int> arr;
    for (int i = 0; i < GetItemCount(); i++) arr.push_back(GetItem(i)->GetRect().Width());
    return arr;
  }

  mutable CXTPTabPaintManager paint;
  CRect rcControl{0, 0, 300, 100};
  HWND hWnd = nullptr;
  BOOL icons = FALSE;
  BOOL focused = FALSE;
  int repositions = 0;
  int redraws = 0;
  std::vector<XTPTabNavigateButton> clicks;
};
