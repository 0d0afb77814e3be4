// CDocTemplate and CSingleDocTemplate: what a resource id, a document class, a
// frame class and a view class make together. OpenDocumentFile(nullptr)
// creates the document, the frame (LoadFrame with the template's resource id)
// and the view (through the frame's OnCreateClient).
#pragma once

#include "CString.h"
#include "CmdTarget.h"
#include "Collections.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
public:
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
  };

  ~CDocTemplate() override = default;

  UINT m_nIDResource;
  CRuntimeClass *m_pDocClass;
  CRuntimeClass *m_pFrameClass;
  CRuntimeClass *m_pViewClass;
  CString m_strDocStrings; // the '\n'-separated template string of m_nIDResource

  virtual BOOL GetDocString(CString &rString, DocStringIndex index) const;
  virtual CDocument *OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual CDocument *CreateNewDocument();
  virtual CFrameWnd *CreateNewFrame(CDocument *pDoc, CFrameWnd *pOther);
  virtual void InitialUpdateFrame(CFrameWnd *pFrame, CDocument *pDoc, BOOL bMakeVisible = TRUE);
  virtual void AddDocument(CDocument *pDoc);
  virtual void RemoveDocument(CDocument *pDoc);
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument *GetNextDoc(POSITION &rPos) const = 0;
  virtual void SetDefaultTitle(CDocument *pDocument) = 0;
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual void LoadTemplate();

protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass *pDocClass, CRuntimeClass *pFrameClass,
               CRuntimeClass *pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass *pDocClass, CRuntimeClass *pFrameClass,
                     CRuntimeClass *pViewClass);
  ~CSingleDocTemplate() override;

  CDocument *OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void AddDocument(CDocument *pDoc) override;
  void RemoveDocument(CDocument *pDoc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument *GetNextDoc(POSITION &rPos) const override;
  void SetDefaultTitle(CDocument *pDocument) override;

protected:
  CDocument *m_pOnlyDoc = nullptr;
};
