// What a command bar tells screen readers: the bar is a menu popup whose
// children are its controls, numbered from 1 in list order, with their
// captions (mnemonic markers taken out, the shortcut after a tab), their
// places on the screen and which one is selected. The object lives as long
// as its bar: its references are the bar's.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "CString.h"

class CXTPCommandBar;

class CXTPCommandBarAccessible : public IAccessible {
public:
  explicit CXTPCommandBarAccessible(CXTPCommandBar *pBar) : m_pBar(pBar) {}
  virtual ~CXTPCommandBarAccessible() = default;

  // The answer to WM_GETOBJECT: the object through LresultFromObject, or 0
  // when the accessibility library is not there.
  LRESULT GetObjectResult(WPARAM wParam);
  // A caption as a reader says it: "&&" a single "&", other "&" dropped.
  static CString StripMnemonics(const CString &strCaption);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT *) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override {
    return E_NOTIMPL;
  }
  // IAccessible
  STDMETHODIMP get_accParent(IDispatch **ppdispParent) override;
  STDMETHODIMP get_accChildCount(long *pcountChildren) override;
  STDMETHODIMP get_accChild(VARIANT varChild, IDispatch **ppdispChild) override;
  STDMETHODIMP get_accName(VARIANT varChild, BSTR *pszName) override;
  STDMETHODIMP get_accValue(VARIANT, BSTR *pszValue) override { return NotImplemented(pszValue); }
  STDMETHODIMP get_accDescription(VARIANT, BSTR *psz) override { return NotImplemented(psz); }
  STDMETHODIMP get_accRole(VARIANT varChild, VARIANT *pvarRole) override;
  STDMETHODIMP get_accState(VARIANT varChild, VARIANT *pvarState) override;
  STDMETHODIMP get_accHelp(VARIANT, BSTR *psz) override { return NotImplemented(psz); }
  STDMETHODIMP get_accHelpTopic(BSTR *psz, VARIANT, long *) override { return NotImplemented(psz); }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR *psz) override { return NotImplemented(psz); }
  STDMETHODIMP get_accFocus(VARIANT *pvar) override { return NotImplemented(pvar); }
  STDMETHODIMP get_accSelection(VARIANT *pvar) override { return NotImplemented(pvar); }
  STDMETHODIMP get_accDefaultAction(VARIANT, BSTR *psz) override { return NotImplemented(psz); }
  STDMETHODIMP accSelect(long, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP accLocation(long *pxLeft, long *pyTop, long *pcxWidth, long *pcyHeight,
                           VARIANT varChild) override;
  STDMETHODIMP accNavigate(long, VARIANT, VARIANT *pvar) override { return NotImplemented(pvar); }
  STDMETHODIMP accHitTest(long, long, VARIANT *pvar) override { return NotImplemented(pvar); }
  STDMETHODIMP accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  // Every method checks its out pointer: a null one is E_INVALIDARG, not a crash.
  template <class T> static HRESULT NotImplemented(T *pOut) { return pOut ? E_NOTIMPL : E_INVALIDARG; }
  // The control's index for a child id of 1 to the count, else -1.
  int ChildIndex(const VARIANT &varChild) const;

  CXTPCommandBar *m_pBar;
};
