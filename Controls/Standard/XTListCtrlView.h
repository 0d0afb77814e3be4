// CXTListView and CXTListCtrl: a list view and a list control that carry the
// list base. CXTListViewBase joins the base to either window class and routes
// the window's messages to it.
#pragma once

#include "XTListBase.h"

template <class TBase> class CXTListViewBase : public TBase, public CXTListBase {
  DECLARE_DYNAMIC(CXTListViewBase)
public:
  // Names both bases have: the list base's are the ones that know its colours.
  using CXTListBase::GetBkColor;
  using CXTListBase::GetExtendedStyle;
  using CXTListBase::GetHeaderCtrl;
  using CXTListBase::GetTextColor;

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    return CXTListBase::OnNotify(wParam, lParam, pResult);
  }

protected:
  void PreSubclassWindow() override {
    TBase::PreSubclassWindow();
    PostSetUpMessage();
  }
  BOOL DefaultNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    return TBase::OnNotify(wParam, lParam, pResult);
  }
  LRESULT DefaultListProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return TBase::DefWindowProc(message, wParam, lParam);
  }

  afx_msg void OnCustomDrawReflect(NMHDR *pNMHDR, LRESULT *pResult) { OnCustomDraw(pNMHDR, pResult); }
  afx_msg void OnDestroy() {
    CXTListBase::OnDestroy();
    TBase::OnDestroy();
  }
  afx_msg BOOL OnEraseBkgnd(CDC *) { return TRUE; }
  afx_msg void OnPaint() { CXTListBase::OnPaint(); }
  afx_msg LRESULT OnPrintClientMessage(WPARAM wParam, LPARAM lParam) {
    return CXTListBase::OnPrintClient(wParam, lParam);
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (TBase::OnCreate(lpCreateStruct) == -1) return -1;
    this->SendMessage(XTWM_INITIAL_UPDATE);
    return 0;
  }
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam) {
    return OnListBaseMessage(wParam, lParam);
  }
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    TBase::OnSettingChange(uFlags, lpszSection);
    RefreshMetrics();
  }

  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC_T(CXTListViewBase, TBase, TBase)

BEGIN_TEMPLATE_MESSAGE_MAP(CXTListViewBase, TBase, TBase)
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDrawReflect)
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClientMessage)
ON_WM_CREATE()
ON_MESSAGE(XTWM_INITIAL_UPDATE, OnInitialUpdateMessage)
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

class CXTListView : public CXTListViewBase<CListView> {
  DECLARE_DYNCREATE(CXTListView)
public:
  CXTListView();
};

class CXTListCtrl : public CXTListViewBase<CListCtrl> {
  DECLARE_DYNCREATE(CXTListCtrl)
public:
  CXTListCtrl();
};
