#include "Object.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Zero-initialized before any dynamic initialization runs.
CRuntimeClass *g_pFirstClass = nullptr;

std::string NarrowClassName(LPCWSTR lpszClassName) {
  std::string name;
  for (; *lpszClassName != L'\0'; ++lpszClassName) {
    // Class names are C++ identifiers; anything else cannot match.
    if (*lpszClassName > 0x7F) return std::string();
    name += static_cast<char>(*lpszClassName);
  }
  return name;
}

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _init_CObject(RUNTIME_CLASS(CObject));

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass *pNewClass) {
  pNewClass->m_pNextClass = g_pFirstClass;
  g_pFirstClass = pNewClass;
}

CObject *CRuntimeClass::CreateObject() const {
  if (m_pfnCreateObject == nullptr) return nullptr;
  return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass *pBaseClass) const {
  for (const CRuntimeClass *p = this; p != nullptr; p = p->m_pBaseClass)
    if (p == pBaseClass) return TRUE;
  return FALSE;
}

CRuntimeClass *CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  for (CRuntimeClass *p = g_pFirstClass; p != nullptr; p = p->m_pNextClass)
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  return nullptr;
}

CRuntimeClass *CRuntimeClass::FromName(LPCWSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  std::string name = NarrowClassName(lpszClassName);
  return name.empty() ? nullptr : FromName(name.c_str());
}

CObject *CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  CRuntimeClass *pClass = FromName(lpszClassName);
  return pClass == nullptr ? nullptr : pClass->CreateObject();
}

CObject *CRuntimeClass::CreateObject(LPCWSTR lpszClassName) {
  CRuntimeClass *pClass = FromName(lpszClassName);
  return pClass == nullptr ? nullptr : pClass->CreateObject();
}

CRuntimeClass *CObject::GetRuntimeClass() const {
  return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass *pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const {
  return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void CObject::Serialize(CArchive &) {}

CObject *AfxDynamicDownCast(CRuntimeClass *pClass, CObject *pObject) {
  return pObject != nullptr && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

const CObject *AfxDynamicDownCast(CRuntimeClass *pClass, const CObject *pObject) {
  return pObject != nullptr && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

void AfxAssertFailedLine(const char *file, int line) {
  char text[512];
  std::snprintf(text, sizeof text, "Assertion failed: %s(%d)\n", file, line);
  OutputDebugStringA(text);
  std::fputs(text, stderr);
  std::abort();
}

void AfxAssertValidObject(const CObject *pOb, const char *file, int line) {
  if (pOb == nullptr) AfxAssertFailedLine(file, line);
  pOb->AssertValid();
}

void AfxTrace(LPCWSTR lpszFormat, ...) {
#ifdef _DEBUG
  wchar_t text[1024];
  va_list args;
  va_start(args, lpszFormat);
  _vsnwprintf(text, 1023, lpszFormat, args);
  va_end(args);
  text[1023] = L'\0';
  OutputDebugStringW(text);
#else
  (void)lpszFormat;
#endif
}

void AfxTrace(LPCSTR lpszFormat, ...) {
#ifdef _DEBUG
  char text[1024];
  va_list args;
  va_start(args, lpszFormat);
  _vsnprintf(text, 1023, lpszFormat, args);
  va_end(args);
  text[1023] = '\0';
  OutputDebugStringA(text);
#else
  (void)lpszFormat;
#endif
}
