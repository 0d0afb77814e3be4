// CDocument: the data a template's views show. It keeps the list of its
// views and routes the commands they pass on to it.
#pragma once

#include "CString.h"
#include "CmdTarget.h"
#include "Collections.h"

class CView;
class CFrameWnd;
class CDocTemplate;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
public:
  CDocument() = default;
  ~CDocument() override;

  BOOL m_bAutoDelete = TRUE; // deleted when its last view goes
  BOOL m_bEmbedded = FALSE;

  const CString &GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCTSTR lpszTitle);
  const CString &GetPathName() const { return m_strPathName; }
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate *GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  void AddView(CView *pView);
  void RemoveView(CView *pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView *GetNextView(POSITION &rPosition) const {
    return static_cast<CView *>(m_viewList.GetNext(rPosition));
  }
  void UpdateAllViews(CView *pSender, LPARAM lHint = 0L, CObject *pHint = nullptr);
  void UpdateFrameCounts();

  virtual void DeleteContents() {}
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  // Destroys the frames of every view, then the contents, then (auto-delete) itself.
  virtual void OnCloseDocument();
  virtual BOOL CanCloseFrame(CFrameWnd *pFrame);
  virtual BOOL SaveModified() { return TRUE; }
  virtual void PreCloseFrame(CFrameWnd *) {}
  virtual void OnChangedViewList();

  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;

protected:
  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate *m_pDocTemplate = nullptr;
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bClosing = FALSE;

  friend class CDocTemplate;
};
