#include "DocTemplate.h"

#include "Document.h"
#include "FrameWnd.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass *pDocClass, CRuntimeClass *pFrameClass,
                           CRuntimeClass *pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
  LoadTemplate();
}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString &rString, DocStringIndex index) const {
  return AfxExtractSubString(rString, m_strDocStrings, (int)index);
}

CDocument *CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr) return nullptr;
  CObject *pObject = m_pDocClass->CreateObject();
  if (pObject == nullptr) return nullptr;
  if (!pObject->IsKindOf(RUNTIME_CLASS(CDocument))) {
    delete pObject;
    return nullptr;
  }
  auto *pDocument = static_cast<CDocument *>(pObject);
  AddDocument(pDocument);
  return pDocument;
}

CFrameWnd *CDocTemplate::CreateNewFrame(CDocument *pDoc, CFrameWnd *pOther) {
  if (m_pFrameClass == nullptr) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject *pObject = m_pFrameClass->CreateObject();
  if (pObject == nullptr) return nullptr;
  if (!pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    delete pObject;
    return nullptr;
  }
  auto *pFrame = static_cast<CFrameWnd *>(pObject);
  // A frame that fails to load has deleted itself (PostNcDestroy).
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd *pFrame, CDocument *pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument *pDoc) {
  pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument *pDoc) {
  pDoc->m_pDocTemplate = nullptr;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    CDocument *pDoc = GetNextDoc(pos);
    pDoc->OnCloseDocument();
    pos = GetFirstDocPosition(); // the list changed under us
  }
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass *pDocClass, CRuntimeClass *pFrameClass,
                                       CRuntimeClass *pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  // The template goes at exit; a document still open must not call back into it.
  if (m_pOnlyDoc != nullptr) {
    CDocument *pDoc = m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
    CDocTemplate::RemoveDocument(pDoc);
  }
}

void CSingleDocTemplate::AddDocument(CDocument *pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument *pDoc) {
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
  CDocTemplate::RemoveDocument(pDoc);
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc == nullptr ? nullptr : BEFORE_START_POSITION;
}

CDocument *CSingleDocTemplate::GetNextDoc(POSITION &rPos) const {
  CDocument *pDoc = rPos == BEFORE_START_POSITION ? m_pOnlyDoc : nullptr;
  rPos = nullptr;
  return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument *pDocument) {
  CString strDocName;
  if (!GetDocString(strDocName, docName) || strDocName.IsEmpty()) {
    if (!strDocName.LoadString(AFX_IDS_UNTITLED)) strDocName = L"Untitled";
  }
  pDocument->SetTitle(strDocName);
}

CDocument *CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument *pDocument = nullptr;
  CFrameWnd *pFrame = nullptr;
  BOOL bCreated = FALSE;
  if (m_pOnlyDoc != nullptr) {
    // One document at a time: it is reused for New and Open.
    pDocument = m_pOnlyDoc;
    if (!pDocument->SaveModified()) return nullptr;
    CWnd *pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->IsFrameWnd()) pFrame = static_cast<CFrameWnd *>(pMainWnd);
  } else {
    pDocument = CreateNewDocument();
    bCreated = TRUE;
  }
  if (pDocument == nullptr) return nullptr;

  if (pFrame == nullptr) {
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE; // a failed frame must not take the document with it
    pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
      if (bCreated) delete pDocument;
      return nullptr;
    }
  }

  if (lpszPathName == nullptr) {
    SetDefaultTitle(pDocument);
    if (!bMakeVisible) pDocument->m_bEmbedded = TRUE;
    if (!pDocument->OnNewDocument()) {
      if (bCreated) pFrame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      if (bCreated) pFrame->DestroyWindow();
      return nullptr;
    }
    pDocument->SetPathName(lpszPathName);
  }

  CWinThread *pThread = AfxGetThread();
  if (bCreated && pThread != nullptr && pThread->m_pMainWnd == nullptr) pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}
