#include "XTPCommandBarAccessible.h"

#include "XTPCommandBar.h"
#include "XTPControl.h"

namespace {

typedef LRESULT(WINAPI *LresultFromObjectFunction)(REFIID, WPARAM, LPUNKNOWN);

// Looked up once for the process. A failed look-up is kept too: a system
// without the library must not have it searched for on every request.
LresultFromObjectFunction FindLresultFromObject() {
  static const LresultFromObjectFunction pfn = []() -> LresultFromObjectFunction {
    HMODULE hModule = ::LoadLibraryW(L"oleacc.dll");
    if (hModule == nullptr) return nullptr;
    return reinterpret_cast<LresultFromObjectFunction>(
        reinterpret_cast<void *>(::GetProcAddress(hModule, "LresultFromObject")));
  }();
  return pfn;
}

} // namespace

LRESULT CXTPCommandBarAccessible::GetObjectResult(WPARAM wParam) {
  LresultFromObjectFunction pfn = FindLresultFromObject();
  return pfn ? pfn(IID_IAccessible, wParam, static_cast<IAccessible *>(this)) : 0;
}

CString CXTPCommandBarAccessible::StripMnemonics(const CString &strCaption) {
  CString strResult;
  const int nLength = strCaption.GetLength();
  for (int i = 0; i < nLength; i++) {
    if (strCaption[i] != L'&') {
      strResult += strCaption[i];
    } else if (i + 1 < nLength && strCaption[i + 1] == L'&') {
      strResult += L'&';
      i++;
    }
  }
  return strResult;
}

STDMETHODIMP CXTPCommandBarAccessible::QueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
    *ppv = static_cast<IAccessible *>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CXTPCommandBarAccessible::AddRef() {
  return m_pBar->InternalAddRef();
}

STDMETHODIMP_(ULONG) CXTPCommandBarAccessible::Release() {
  return m_pBar->InternalRelease();
}

int CXTPCommandBarAccessible::ChildIndex(const VARIANT &varChild) const {
  if (varChild.vt != VT_I4) return -1;
  if (varChild.lVal < 1 || varChild.lVal > m_pBar->GetControlCount()) return -1;
  return varChild.lVal - 1;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accParent(IDispatch **ppdispParent) {
  if (ppdispParent == nullptr) return E_INVALIDARG;
  *ppdispParent = nullptr;
  return S_OK;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accChildCount(long *pcountChildren) {
  if (pcountChildren == nullptr) return E_INVALIDARG;
  *pcountChildren = m_pBar->GetControlCount();
  return S_OK;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accChild(VARIANT, IDispatch **ppdispChild) {
  if (ppdispChild == nullptr) return E_INVALIDARG;
  *ppdispChild = nullptr;
  return S_OK;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accName(VARIANT varChild, BSTR *pszName) {
  if (pszName == nullptr) return E_INVALIDARG;
  *pszName = nullptr;
  const int nIndex = ChildIndex(varChild);
  if (nIndex < 0) return E_INVALIDARG;
  CXTPControl *pControl = m_pBar->GetControl(nIndex);
  CString strName = StripMnemonics(pControl->GetCaption());
  CString strShortcut = pControl->GetShortcutText();
  if (strShortcut.IsEmpty()) strShortcut = pControl->GetKeyBindingText();
  if (!strShortcut.IsEmpty()) strName += L"\t" + strShortcut;
  *pszName = ::SysAllocString(strName);
  return *pszName ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accRole(VARIANT varChild, VARIANT *pvarRole) {
  if (pvarRole == nullptr) return E_INVALIDARG;
  ::VariantInit(pvarRole);
  if (varChild.vt != VT_I4 || varChild.lVal < 0) return E_INVALIDARG;
  pvarRole->vt = VT_I4;
  pvarRole->lVal = varChild.lVal == CHILDID_SELF ? ROLE_SYSTEM_MENUPOPUP : ROLE_SYSTEM_MENUITEM;
  return S_OK;
}

STDMETHODIMP CXTPCommandBarAccessible::get_accState(VARIANT varChild, VARIANT *pvarState) {
  if (pvarState == nullptr) return E_INVALIDARG;
  const int nIndex = ChildIndex(varChild);
  if (nIndex < 0) return E_NOTIMPL;
  pvarState->vt = VT_I4;
  pvarState->lVal = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  if (nIndex == m_pBar->GetSelectedIndex())
    pvarState->lVal |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
  return S_OK;
}

STDMETHODIMP CXTPCommandBarAccessible::accLocation(long *pxLeft, long *pyTop, long *pcxWidth, long *pcyHeight,
                                                   VARIANT varChild) {
  if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr)
    return E_INVALIDARG;
  CRect rcWindow(0, 0, 0, 0);
  if (m_pBar->GetSafeHwnd() != nullptr) m_pBar->GetWindowRect(&rcWindow);
  CRect rc = rcWindow;
  const int nIndex = ChildIndex(varChild);
  if (nIndex >= 0) {
    rc = m_pBar->GetControl(nIndex)->GetRect();
    rc.OffsetRect(rcWindow.TopLeft());
  }
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.Width();
  *pcyHeight = rc.Height();
  return S_OK;
}
