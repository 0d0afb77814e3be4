// COleDataObject: the receiving side of a data transfer (the clipboard or a
// drop), over the platform's IDataObject.
#pragma once

#include "FrameworkCore.h"

#include <objidl.h>

class COleDataObject {
public:
  COleDataObject() = default;
  ~COleDataObject() { Release(); }
  COleDataObject(const COleDataObject &) = delete;
  COleDataObject &operator=(const COleDataObject &) = delete;

  void Attach(IDataObject *lpDataObject, BOOL bAutoRelease = TRUE);
  IDataObject *Detach();
  void Release();
  // The clipboard's current contents; needs OLE initialised on the thread.
  BOOL AttachClipboard();

  BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
  // A global block of the format that the caller owns and frees, or null.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

private:
  IDataObject *m_lpDataObject = nullptr;
  BOOL m_bAutoRelease = TRUE;
};
