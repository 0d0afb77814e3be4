// CXTPDockingPane: a dockable pane with an id, a title and options that
// hosts one child window. It always lives in a tabbed container, which draws
// its caption and tab; the pane places and shows its window there.
#pragma once

#include "CmdTarget.h"
#include "CreateContext.h"
#include "XTPDockingPaneBase.h"

class CFrameWnd;
class CDocument;
class CXTPImageManagerIcon;

class CXTPDockingPane : public CCmdTarget, public CXTPDockingPaneBase {
public:
  explicit CXTPDockingPane(CXTPDockingPaneLayout *pLayout);
  ~CXTPDockingPane() override;

  virtual COLORREF GetItemColor();
  virtual void Copy(CXTPDockingPane *pPane);

  void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
  void OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) override;
  void OnFocusChanged() override;
  void SetParentContainer(CXTPDockingPaneBase *pContainer) override;
  BOOL DoPropExchange(CXTPPropExchange *pPX) override;
  CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions) override;
  BOOL IsAutoHidden() const override;

  void SetID(int nID);
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  void SetInitialRect(const CRect &rc);
  CString GetTitle() const;
  CString GetShortTitle() const;
  int GetID() const { return m_nID; }
  int GetIconID() const { return m_nIconID != -1 ? m_nIconID : m_nID; }
  void SetIconID(int nIconID) { m_nIconID = nIconID; }
  CXTPImageManagerIcon *GetIcon(int nWidth = 16) const;
  DWORD GetOptions() const;
  void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
  void SetMinTrackSize(CSize sz) { m_ptMinTrackSize = sz; }
  void SetMaxTrackSize(CSize sz) { m_ptMaxTrackSize = sz; }
  BOOL IsValid() const { return m_hwndChild != nullptr; }
  HWND GetChildHwnd() const { return m_hwndChild; }

  void Attach(CWnd *pWnd);
  // Hands this pane's window to pPane (the same pane in another layout),
  // into pPane's container when it has one; this pane keeps none.
  void MoveWindowTo(CXTPDockingPane *pPane);
  // A frame with a view of the given class made as the pane's window; the
  // view is returned and has had its initial update. Null (and the pane
  // left as it was) when the frame cannot be made.
  CWnd *AttachView(CWnd *pParentWnd, CRuntimeClass *pViewClass, CDocument *pDocument = nullptr,
                   CCreateContext *pContext = nullptr);
  void ShowWindow(BOOL bShow = TRUE);
  void Close();
  void Hide();
  void SetFocus();
  BOOL IsFocus() const;
  BOOL IsClosed() const { return m_pParentContainer == nullptr; }
  BOOL IsSelected() const;
  CWnd *GetParentFrame() const;

protected:
  // The frame AttachView makes (it deletes itself with its window).
  virtual CFrameWnd *NewViewFrame();

private:
  HWND m_hwndChild = nullptr;
  int m_nID = 0;
  int m_nIconID = -1;
  CString m_strTitle;
  DWORD m_dwOptions = 0;
  DWORD_PTR m_dwData = 0;
  CSize m_ptMinTrackSize{0, 0};
  CSize m_ptMaxTrackSize{32000, 32000};
};
