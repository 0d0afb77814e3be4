#include "Document.h"

#include "Archive.h"
#include "DocTemplate.h"
#include "Exception.h"
#include "File.h"
#include "FrameWnd.h"
#include "View.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
  // Views outliving their document must not reach back into it.
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) GetNextView(pos)->m_pDocument = nullptr;
  m_viewList.RemoveAll();
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL) {
  m_strPathName = lpszPathName;
  LPCTSTR pszName = wcsrchr(lpszPathName, L'\\');
  SetTitle(pszName != nullptr ? pszName + 1 : lpszPathName);
}

void CDocument::AddView(CView *pView) {
  if (pView == nullptr || pView->m_pDocument == this) return;
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView *pView) {
  if (pView == nullptr || pView->m_pDocument != this) return;
  POSITION pos = m_viewList.Find(pView);
  if (pos != nullptr) m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  // The last view gone: an auto-delete document goes with it.
  if (m_bClosing) return;
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView *pSender, LPARAM lHint, CObject *pHint) {
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CView *pView = GetNextView(pos);
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::UpdateFrameCounts() {
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CView *pView = GetNextView(pos);
    if (pView->m_hWnd == nullptr) continue;
    if (CFrameWnd *pFrame = pView->GetParentFrame()) pFrame->OnUpdateFrameTitle(TRUE);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
  CFile file;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite)) return FALSE;
  DeleteContents();
  try {
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
  } catch (CException *e) {
    e->Delete();
    DeleteContents();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  CFile file;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return FALSE;
  try {
    CArchive ar(&file, CArchive::store);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
  } catch (CException *e) {
    e->Delete();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Destroying a frame destroys its views, which leave the list themselves.
  m_bClosing = TRUE;
  while (!m_viewList.IsEmpty()) {
    auto *pView = static_cast<CView *>(m_viewList.GetHead());
    CFrameWnd *pFrame = pView->m_hWnd != nullptr ? pView->GetParentFrame() : nullptr;
    if (pFrame == nullptr) {
      RemoveView(pView);
      continue;
    }
    PreCloseFrame(pFrame);
    pFrame->DestroyWindow();
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) RemoveView(pView); // the frame failed to go
  }
  m_bClosing = FALSE;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd *pFrameArg) {
  // Other frames still showing the document keep it alive without asking.
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CView *pView = GetNextView(pos);
    CFrameWnd *pFrame = pView->GetParentFrame();
    if (pFrame != nullptr && pFrame != pFrameArg) return TRUE;
  }
  return SaveModified();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
