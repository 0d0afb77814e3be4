// CCmdTarget: the root of every class that receives commands, with its message
// map and the reference count that lets shared objects delete themselves.
//
// A message map is a static table of entries, one per handled message or
// command. Each entry carries a small typed thunk: a function instantiated for
// the handler's exact signature that unpacks the message's parameters and
// calls the member function. Dispatch therefore never calls a member function
// through a pointer of a different type.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <type_traits>

#include "Object.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;

// Command codes passed to OnCmdMsg as nCode.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// Notifications of a control that its parent sends back to the control itself.
#define WM_REFLECT_BASE 0xBC00

// What a thunk receives: the message and, for commands, the routed id and code.
struct AFX_DISPATCH {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  UINT nID = 0;           // command or control id
  UINT nCode = 0;         // command, control or notification code
  void *pExtra = nullptr; // CCmdUI* for updates, AFX_NOTIFY* for notifications
  LRESULT result = 0;
};

// Returns FALSE when the handler declined (the _EX variants), TRUE otherwise.
typedef BOOL (*AFX_THUNK)(CCmdTarget *pTarget, AFX_DISPATCH &d);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;            // window message, WM_COMMAND or WM_NOTIFY (+ WM_REFLECT_BASE)
  UINT nCode;               // control or notification code; CN_UPDATE_COMMAND_UI for updates
  UINT nID;                 // first command or control id
  UINT nLastID;             // last id of a range
  const UINT *pnRegistered; // registered message id, for ON_REGISTERED_MESSAGE
  AFX_THUNK pfn;            // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP *(*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY *lpEntries;
};

// The payload of a routed WM_NOTIFY.
struct AFX_NOTIFY {
  LRESULT *pResult;
  NMHDR *pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether one exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget *pTarget;
  AFX_THUNK pfn;
};

// Marks a registered message entry in nMessage.
#define AFX_REGISTERED_MESSAGE 0xC000

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
  static const AFX_MSGMAP *GetThisMessageMap();                                                              \
  const AFX_MSGMAP *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
  const AFX_MSGMAP *theClass::GetMessageMap() const {                                                        \
    return GetThisMessageMap();                                                                              \
  }                                                                                                          \
  const AFX_MSGMAP *theClass::GetThisMessageMap() {                                                          \
    typedef theClass ThisClass;                                                                              \
    typedef baseClass TheBaseClass;                                                                          \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
  { 0, 0, 0, 0, nullptr, nullptr }                                                                           \
  }                                                                                                          \
  ;                                                                                                          \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};              \
  return &messageMap;                                                                                        \
  }

// The same for a class template; type_name is the template's parameter and
// baseClass may be that parameter itself (a frame template over any frame).
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                                           \
  template <class type_name> const AFX_MSGMAP *theClass<type_name>::GetMessageMap() const {                  \
    return GetThisMessageMap();                                                                              \
  }                                                                                                          \
  template <class type_name> const AFX_MSGMAP *theClass<type_name>::GetThisMessageMap() {                    \
    typedef theClass<type_name> ThisClass;                                                                   \
    typedef baseClass TheBaseClass;                                                                          \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;

  // Routes a command, update request or notification to this object's map.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo);

  // Reference count of shared objects: the last release calls OnFinalRelease,
  // which deletes the object.
  DWORD InternalAddRef() { return ++m_dwRef; }
  DWORD InternalRelease();
  DWORD ExternalAddRef() { return InternalAddRef(); }
  DWORD ExternalRelease() { return InternalRelease(); }
  virtual void OnFinalRelease() { delete this; }
  // For objects that only their last release deletes (never their owner nor
  // the end of their window): the window procedure then holds a reference
  // for the length of each message, so a handler may drop the last one.
  void EnableCountedLifetime() { m_bCountedLifetime = TRUE; }
  BOOL HasCountedLifetime() const { return m_bCountedLifetime; }
  // Takes the dispatch reference; none on an object whose last release is
  // already under way (its window ends while it is deleted).
  BOOL HoldForDispatch() {
    if (!m_bCountedLifetime || m_dwRef <= 0) return FALSE;
    ++m_dwRef;
    return TRUE;
  }
  void EnableAutomation() {}

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // Looks up this object's map (and its bases') for a window message entry.
  static const AFX_MSGMAP_ENTRY *FindMessageEntry(const AFX_MSGMAP_ENTRY *pEntry, UINT nMsg, UINT nCode,
                                                  UINT nID);

protected:
  static const AFX_MSGMAP *GetThisMessageMap();
  virtual const AFX_MSGMAP *GetMessageMap() const;

  LONG m_dwRef = 1;
  BOOL m_bCountedLifetime = FALSE;
};

// Calls a thunk for a command (shared by the window and frame dispatch code).
BOOL AfxDispatchCmdMsg(CCmdTarget *pTarget, UINT nID, int nCode, AFX_THUNK pfn, void *pExtra);

// ---------------------------------------------------------------------------
// Thunks of the command entries. Each is instantiated for the handler F of
// class T; T is the class whose map holds the entry. F may be a member of a
// base class of T (handlers are named plainly or as Base::Handler); the
// static_assert checks it has the signature the entry calls for.
namespace AfxThunk {

template <class T> inline T *Target(CCmdTarget *p) {
  return static_cast<T *>(p);
}

template <class T, auto F> BOOL Cmd(CCmdTarget *p, AFX_DISPATCH &) {
  static_assert(std::is_convertible<decltype(F), void (T::*)()>::value, "handler signature");
  (Target<T>(p)->*F)();
  return TRUE;
}
template <class T, auto F> BOOL CmdEx(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), BOOL (T::*)(UINT)>::value, "handler signature");
  return (Target<T>(p)->*F)(d.nID);
}
template <class T, auto F> BOOL CmdRange(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), void (T::*)(UINT)>::value, "handler signature");
  (Target<T>(p)->*F)(d.nID);
  return TRUE;
}
template <class T, auto F> BOOL UpdateUI(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), void (T::*)(CCmdUI *)>::value, "handler signature");
  (Target<T>(p)->*F)(static_cast<CCmdUI *>(d.pExtra));
  return TRUE;
}
template <class T, auto F> BOOL Notify(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), void (T::*)(NMHDR *, LRESULT *)>::value,
                "handler signature");
  auto *n = static_cast<AFX_NOTIFY *>(d.pExtra);
  (Target<T>(p)->*F)(n->pNMHDR, n->pResult);
  return TRUE;
}
template <class T, auto F> BOOL NotifyRange(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), void (T::*)(UINT, NMHDR *, LRESULT *)>::value,
                "handler signature");
  auto *n = static_cast<AFX_NOTIFY *>(d.pExtra);
  (Target<T>(p)->*F)(d.nID, n->pNMHDR, n->pResult);
  return TRUE;
}
template <class T, auto F> BOOL NotifyEx(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), BOOL (T::*)(UINT, NMHDR *, LRESULT *)>::value,
                "handler signature");
  auto *n = static_cast<AFX_NOTIFY *>(d.pExtra);
  return (Target<T>(p)->*F)(d.nID, n->pNMHDR, n->pResult);
}
template <class T, auto F> BOOL NotifyReflectEx(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), BOOL (T::*)(NMHDR *, LRESULT *)>::value,
                "handler signature");
  auto *n = static_cast<AFX_NOTIFY *>(d.pExtra);
  return (Target<T>(p)->*F)(n->pNMHDR, n->pResult);
}
template <class T, auto F> BOOL ControlReflectEx(CCmdTarget *p, AFX_DISPATCH &) {
  static_assert(std::is_convertible<decltype(F), BOOL (T::*)()>::value, "handler signature");
  return (Target<T>(p)->*F)();
}
template <class T, auto F> BOOL Message(CCmdTarget *p, AFX_DISPATCH &d) {
  static_assert(std::is_convertible<decltype(F), LRESULT (T::*)(WPARAM, LPARAM)>::value, "handler signature");
  d.result = (Target<T>(p)->*F)(d.wParam, d.lParam);
  return TRUE;
}

} // namespace AfxThunk

#define AFX_THUNK_OF(kind, memberFxn) (&AfxThunk::kind<ThisClass, memberFxn>)

// Commands from menus, accelerators and controls.
#define ON_COMMAND(id, memberFxn)                                                                            \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK_OF(Cmd, &ThisClass::memberFxn)},
#define ON_COMMAND_EX(id, memberFxn)                                                                         \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK_OF(CmdEx, &ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
  {WM_COMMAND,     CN_COMMAND, (UINT)(id),                                                                   \
   (UINT)(idLast), nullptr,    AFX_THUNK_OF(CmdRange, &ThisClass::memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                           \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK_OF(CmdEx, &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI,                                                                         \
   (UINT)(id), (UINT)(id),                                                                                   \
   nullptr,    AFX_THUNK_OF(UpdateUI, &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI,                                                                         \
   (UINT)(id), (UINT)(idLast),                                                                               \
   nullptr,    AFX_THUNK_OF(UpdateUI, &ThisClass::memberFxn)},

// Control notifications through WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode),                                                                    \
   (UINT)(id), (UINT)(id),                                                                                   \
   nullptr,    AFX_THUNK_OF(Cmd, &ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                 \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode),                                                                    \
   (UINT)(id), (UINT)(idLast),                                                                               \
   nullptr,    AFX_THUNK_OF(CmdRange, &ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// Notifications through WM_NOTIFY.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
  {WM_NOTIFY,  (UINT)(WORD)(int)(wNotifyCode),                                                               \
   (UINT)(id), (UINT)(id),                                                                                   \
   nullptr,    AFX_THUNK_OF(Notify, &ThisClass::memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
  {WM_NOTIFY,  (UINT)(WORD)(int)(wNotifyCode),                                                               \
   (UINT)(id), (UINT)(idLast),                                                                               \
   nullptr,    AFX_THUNK_OF(NotifyRange, &ThisClass::memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                             \
  {WM_NOTIFY,  (UINT)(WORD)(int)(wNotifyCode),                                                               \
   (UINT)(id), (UINT)(id),                                                                                   \
   nullptr,    AFX_THUNK_OF(NotifyEx, &ThisClass::memberFxn)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                               \
  {WM_NOTIFY,  (UINT)(WORD)(int)(wNotifyCode),                                                               \
   (UINT)(id), (UINT)(idLast),                                                                               \
   nullptr,    AFX_THUNK_OF(NotifyEx, &ThisClass::memberFxn)},

// Notifications the parent reflects back to the control that sent them.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                            \
  {WM_NOTIFY + WM_REFLECT_BASE,                                                                              \
   (UINT)(WORD)(int)(wNotifyCode),                                                                           \
   0,                                                                                                        \
   0,                                                                                                        \
   nullptr,                                                                                                  \
   AFX_THUNK_OF(Notify, &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                         \
  {WM_NOTIFY + WM_REFLECT_BASE,                                                                              \
   (UINT)(WORD)(int)(wNotifyCode),                                                                           \
   0,                                                                                                        \
   0,                                                                                                        \
   nullptr,                                                                                                  \
   AFX_THUNK_OF(NotifyReflectEx, &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                           \
  {WM_COMMAND + WM_REFLECT_BASE,                                                                             \
   (UINT)(WORD)(wNotifyCode),                                                                                \
   0,                                                                                                        \
   0,                                                                                                        \
   nullptr,                                                                                                  \
   AFX_THUNK_OF(Cmd, &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                        \
  {WM_COMMAND + WM_REFLECT_BASE,                                                                             \
   (UINT)(WORD)(wNotifyCode),                                                                                \
   0,                                                                                                        \
   0,                                                                                                        \
   nullptr,                                                                                                  \
   AFX_THUNK_OF(ControlReflectEx, &ThisClass::memberFxn)},

// User and registered messages: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                       \
  {(UINT)(message), 0, 0, 0, nullptr, AFX_THUNK_OF(Message, &ThisClass::memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
  {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(nMessageVariable), AFX_THUNK_OF(Message, &ThisClass::memberFxn)},
