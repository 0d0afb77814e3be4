#pragma once

#include "Wnd.h"
#include <ole2.h>

// A drop target that never takes a drop: data dragged over it only brings
// forward the pane under the cursor, so the user can reach a hidden one.
class CXTPDockingPaneHoverDropTarget : public IDropTarget {
public:
  virtual ~CXTPDockingPaneHoverDropTarget() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
      *ppv = static_cast<IDropTarget *>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG nRefs = --m_nRefs;
    if (nRefs == 0) delete this;
    return nRefs;
  }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *, DWORD, POINTL pt, DWORD *pdwEffect) override {
    return DragOver(0, pt, pdwEffect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD *pdwEffect) override {
    OnHover(CPoint(pt.x, pt.y));
    *pdwEffect = DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject *, DWORD, POINTL, DWORD *pdwEffect) override {
    *pdwEffect = DROPEFFECT_NONE;
    return S_OK;
  }
  ULONG GetRefCount() const { return m_nRefs; }

protected:
  // The cursor, in screen coordinates, over the target's window.
  virtual void OnHover(CPoint ptScreen) = 0;

private:
  ULONG m_nRefs = 1;
};
