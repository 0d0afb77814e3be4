// CView: a child window that shows a document. It routes the commands it does
// not handle to its document, tells its frame when it becomes active, and
// deletes itself when its window goes.
#pragma once

#include "CreateContext.h"
#include "Wnd.h"

class CDocument;
class CFrameWnd;

// The style a frame gives the views it creates.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
public:
  CView() = default;
  ~CView() override;

  CDocument *GetDocument() const { return m_pDocument; }

  virtual void OnDraw(CDC *) {}
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
  virtual void OnUpdate(CView *pSender, LPARAM lHint, CObject *pHint);
  virtual void OnActivateView(BOOL bActivate, CView *pActivateView, CView *pDeactiveView);
  virtual void OnActivateFrame(UINT, CFrameWnd *) {}

  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd *pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

protected:
  CDocument *m_pDocument = nullptr;

  void PostNcDestroy() override { delete this; } // views are always made with new

  friend class CDocument;
  DECLARE_MESSAGE_MAP()
};

// A view that is a common control: the control's own class paints it.
class CCtrlView : public CView {
  DECLARE_DYNAMIC(CCtrlView)
public:
  CCtrlView(LPCTSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}

  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnDraw(CDC *) override {}

  afx_msg void OnPaint() { Default(); }

protected:
  CString m_strClass;
  DWORD m_dwDefaultStyle;

  DECLARE_MESSAGE_MAP()
};
