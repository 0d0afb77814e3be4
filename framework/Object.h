// CObject and CRuntimeClass: run-time type information, create-by-name and the
// serialization hooks every persistent class of the program builds on.
#pragma once

#include <windows.h>

class CArchive;
class CObject;

// A stored schema with this bit set lets the loader read older versions of a
// class itself (it asks the archive for the stored schema) instead of failing.
#define VERSIONABLE_SCHEMA (0x80000000)

// Assertions are active in debug builds only, like the rest of the checking.
#ifdef _DEBUG
void AfxAssertFailedLine(const char *file, int line);
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#else
#define ASSERT(f) ((void)sizeof(!(f)))
#define VERIFY(f) ((void)(f))
#endif

void AfxAssertValidObject(const CObject *pOb, const char *file, int line);
#ifdef _DEBUG
#define ASSERT_VALID(pOb) AfxAssertValidObject(pOb, __FILE__, __LINE__)
#else
#define ASSERT_VALID(pOb) ((void)sizeof(pOb))
#endif

// Diagnostic output to the debugger; nothing in release builds.
void AfxTrace(LPCWSTR lpszFormat, ...);
void AfxTrace(LPCSTR lpszFormat, ...);
#define TRACE AfxTrace
#define TRACE0(sz) AfxTrace(sz)
#define TRACE1(sz, p1) AfxTrace(sz, p1)
#define TRACE2(sz, p1, p2) AfxTrace(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) AfxTrace(sz, p1, p2, p3)

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema; // 0xFFFF for classes that cannot be serialized
  CObject *(*m_pfnCreateObject)();
  CRuntimeClass *m_pBaseClass;
  CRuntimeClass *m_pNextClass; // link of the create-by-name registry

  CObject *CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass *pBaseClass) const;

  static CObject *CreateObject(LPCSTR lpszClassName);
  static CObject *CreateObject(LPCWSTR lpszClassName);
  static CRuntimeClass *FromName(LPCSTR lpszClassName);
  static CRuntimeClass *FromName(LPCWSTR lpszClassName);
};

// Adds a class to the create-by-name registry. One static instance per
// IMPLEMENT_ macro; the registry head is constant-initialized, so the order
// in which translation units initialize does not matter.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass *pNewClass);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
  static CRuntimeClass class##class_name;                                                                    \
  static constexpr CRuntimeClass *GetThisClass() {                                                           \
    return &class##class_name;                                                                               \
  }                                                                                                          \
  CRuntimeClass *GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
  DECLARE_DYNAMIC(class_name)                                                                                \
  static CObject *CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
  DECLARE_DYNCREATE(class_name)                                                                              \
  friend CArchive &operator>>(CArchive &ar, class_name *&pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                 \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name),       wSchema,       \
                                                 pfnNew,      RUNTIME_CLASS(base_class_name), nullptr};      \
  CRuntimeClass *class_name::GetRuntimeClass() const {                                                       \
    return RUNTIME_CLASS(class_name);                                                                        \
  }                                                                                                          \
  static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
  CObject *class_name::CreateObject() {                                                                      \
    return new class_name;                                                                                   \
  }                                                                                                          \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
  CObject *class_name::CreateObject() {                                                                      \
    return new class_name;                                                                                   \
  }                                                                                                          \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)                     \
  CArchive &operator>>(CArchive &ar, class_name *&pOb) {                                                     \
    pOb = static_cast<class_name *>(AfxReadObject(ar, RUNTIME_CLASS(class_name)));                           \
    return ar;                                                                                               \
  }

// The same for class templates (a list view over any control view, a frame
// over any frame class). The template's parameter may be its base, so the
// base class is found through GetThisClass rather than by name. Templates are
// not entered in the create-by-name registry: an instance has no one name.
#define RUNTIME_CLASS_T(class_name, T) (class_name<T>::GetThisClass())

#define IMPLEMENT_RUNTIMECLASS_T(class_name, T, base_class_name, wSchema, pfnNew)                            \
  template <class T>                                                                                         \
  CRuntimeClass class_name<T>::class##class_name = {#class_name, sizeof(class_name<T>),           wSchema,   \
                                                    pfnNew,      base_class_name::GetThisClass(), nullptr};  \
  template <class T> CRuntimeClass *class_name<T>::GetRuntimeClass() const {                                 \
    return &class_name<T>::class##class_name;                                                                \
  }

#define IMPLEMENT_DYNAMIC_T(class_name, T, base_class_name)                                                  \
  IMPLEMENT_RUNTIMECLASS_T(class_name, T, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE_T(class_name, T, base_class_name)                                                \
  template <class T> CObject *class_name<T>::CreateObject() {                                                \
    return new class_name<T>;                                                                                \
  }                                                                                                          \
  IMPLEMENT_RUNTIMECLASS_T(class_name, T, base_class_name, 0xFFFF, &class_name<T>::CreateObject)

// Reads an object of the class (or a class derived from it) from an archive.
CObject *AfxReadObject(CArchive &ar, const CRuntimeClass *pClassRefRequested);

class CObject {
public:
  static CRuntimeClass classCObject;
  static constexpr CRuntimeClass *GetThisClass() { return &classCObject; }

  virtual ~CObject() = default;
  CObject(const CObject &) = delete;
  CObject &operator=(const CObject &) = delete;

  virtual CRuntimeClass *GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass *pClass) const;
  BOOL IsSerializable() const;
  virtual void Serialize(CArchive &ar);
  virtual void AssertValid() const {}

protected:
  CObject() = default;
};

CObject *AfxDynamicDownCast(CRuntimeClass *pClass, CObject *pObject);
const CObject *AfxDynamicDownCast(CRuntimeClass *pClass, const CObject *pObject);

#define DYNAMIC_DOWNCAST(class_name, pObject)                                                                \
  (static_cast<class_name *>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), pObject)))

#ifdef _DEBUG
#define STATIC_DOWNCAST(class_name, pObject)                                                                 \
  (ASSERT((pObject) == nullptr || (pObject)->IsKindOf(RUNTIME_CLASS(class_name))),                           \
   static_cast<class_name *>(pObject))
#define ASSERT_KINDOF(class_name, pObject) ASSERT((pObject)->IsKindOf(RUNTIME_CLASS(class_name)))
#else
#define STATIC_DOWNCAST(class_name, pObject) (static_cast<class_name *>(pObject))
#define ASSERT_KINDOF(class_name, pObject) ((void)sizeof(pObject))
#endif
