#include "WndPreHandler.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Object.h"
#include "ThreadState.h"
#include "Wnd.h"

namespace {

struct PreHandlerRecord {
  HWND hWnd = nullptr;
  std::vector<CWndPreHandler *> handlers; // null: removed while a walk was going on
  WNDPROC pfnChainedOld = nullptr;        // what our chained procedure passes messages on to
  bool chained = false;                   // our procedure is in the window's chain
  int walks = 0;                          // walks over the handlers going on
  bool gone = false;                      // WM_NCDESTROY came
};
using RecordPtr = std::shared_ptr<PreHandlerRecord>;

// Process-wide, as the windows' procedures are; made once and never freed, so
// that services unhooking windows while the program ends still find it.
class PreHandlerRegistry {
public:
  RecordPtr Find(HWND hWnd) {
    if (m_count.load(std::memory_order_relaxed) == 0) return nullptr;
    Lock lock(m_lock);
    auto it = m_records.find(hWnd);
    return it == m_records.end() ? nullptr : it->second;
  }
  void Add(const RecordPtr &record) {
    Lock lock(m_lock);
    m_records[record->hWnd] = record;
    m_count.store(m_records.size(), std::memory_order_relaxed);
  }
  // Only that record: a handle reused meanwhile keeps its own.
  void Erase(const RecordPtr &record) {
    Lock lock(m_lock);
    auto it = m_records.find(record->hWnd);
    if (it != m_records.end() && it->second == record) m_records.erase(it);
    m_count.store(m_records.size(), std::memory_order_relaxed);
  }

private:
  class Lock {
  public:
    explicit Lock(SRWLOCK &lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~Lock() { ::ReleaseSRWLockExclusive(&m_lock); }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

  private:
    SRWLOCK &m_lock;
  };

  SRWLOCK m_lock = SRWLOCK_INIT;
  std::unordered_map<HWND, RecordPtr> m_records;
  std::atomic<size_t> m_count{0};
};

PreHandlerRegistry &Registry() {
  static auto *registry = new PreHandlerRegistry;
  return *registry;
}

LRESULT CALLBACK ChainedWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC CurrentProc(HWND hWnd) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

void Chain(PreHandlerRecord &record) {
  record.pfnChainedOld = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(record.hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainedWndProc)));
  record.chained = true;
}

// Once no walk is going on: drops the places of removed handlers and, when
// none is left, the record, taking our procedure out of the chain only while
// it is on top (a later procedure passes on to it).
void TidyUp(const RecordPtr &record) {
  if (record->walks > 0) return;
  auto &handlers = record->handlers;
  handlers.erase(std::remove(handlers.begin(), handlers.end(), nullptr), handlers.end());
  if (!handlers.empty() || record->gone) return;
  if (record->chained) {
    if (CurrentProc(record->hWnd) != &ChainedWndProc) {
      TRACE(L"Window %p was subclassed after its pre-handlers: their procedure stays as a pass-through\n",
            static_cast<void *>(record->hWnd));
      return;
    }
    ::SetWindowLongPtrW(record->hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->pfnChainedOld));
  }
  Registry().Erase(record);
}

// Asks the handlers, the one added last first. Handlers removed meanwhile are
// skipped, handlers added meanwhile wait for the next message, and after the
// window was destroyed nobody more is asked.
BOOL Walk(const RecordPtr &record, HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam,
          LRESULT &lResult) {
  struct WalkScope {
    const RecordPtr &record;
    explicit WalkScope(const RecordPtr &r) : record(r) { ++record->walks; }
    ~WalkScope() {
      --record->walks;
      TidyUp(record);
    }
  } scope(record);
  for (size_t i = record->handlers.size(); i-- > 0;) {
    CWndPreHandler *pHandler = record->handlers[i];
    if (pHandler == nullptr) continue;
    if (pHandler->OnPreHandleMessage(hWnd, message, wParam, lParam, lResult)) return TRUE;
    if (record->gone) break;
  }
  return FALSE;
}

// WM_NCDESTROY: the window's handlers are taken off and told, the one added
// last first; a walk going on keeps the record until it is over.
void WindowGone(const RecordPtr &record) {
  record->gone = true;
  Registry().Erase(record);
  std::vector<CWndPreHandler *> handlers;
  handlers.swap(record->handlers);
  record->handlers.assign(handlers.size(), nullptr); // a walk going on indexes these places
  for (auto it = handlers.rbegin(); it != handlers.rend(); ++it)
    if (*it != nullptr) (*it)->OnPreHandledWindowGone(record->hWnd);
}

LRESULT CALLBACK ChainedWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam); // not reached: see TidyUp
  // Read before any handler runs: the record may end under it.
  const WNDPROC pfnOld = record->pfnChainedOld;
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  const MSG oldMsg = pState->lastSentMsg;
  pState->lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {}};
  LRESULT lResult = 0;
  BOOL bHandled = FALSE;
  if (message == WM_NCDESTROY) {
    if (CurrentProc(hWnd) == &ChainedWndProc)
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
    AfxCallGuarded(
        message, [&] { WindowGone(record); }, [] {});
  } else {
    bHandled = AfxCallGuarded(
        message, [&] { return Walk(record, hWnd, message, wParam, lParam, lResult); }, [] { return FALSE; });
  }
  pState->lastSentMsg = oldMsg;
  // A window a handler destroyed has no procedure to pass on to any more.
  if (bHandled || (record->gone && message != WM_NCDESTROY)) return lResult;
  return ::CallWindowProcW(pfnOld, hWnd, message, wParam, lParam);
}

} // namespace

BOOL AfxAddPreHandler(HWND hWnd, CWndPreHandler *pHandler) {
  if (pHandler == nullptr || !::IsWindow(hWnd)) return FALSE;
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr) {
    record = std::make_shared<PreHandlerRecord>();
    record->hWnd = hWnd;
    // A window bound to an object is dispatched by the framework already.
    if (CWnd::FromHandlePermanent(hWnd) == nullptr) Chain(*record);
    Registry().Add(record);
  }
  auto &handlers = record->handlers;
  if (std::find(handlers.begin(), handlers.end(), pHandler) != handlers.end()) return FALSE;
  handlers.push_back(pHandler);
  return TRUE;
}

BOOL AfxRemovePreHandler(HWND hWnd, CWndPreHandler *pHandler) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr || pHandler == nullptr) return FALSE;
  auto &handlers = record->handlers;
  auto it = std::find(handlers.begin(), handlers.end(), pHandler);
  if (it == handlers.end()) return FALSE;
  *it = nullptr; // TidyUp closes the gap once no walk indexes the list
  TidyUp(record);
  return TRUE;
}

int AfxGetPreHandlerCount(HWND hWnd) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr) return 0;
  return static_cast<int>(std::count_if(record->handlers.begin(), record->handlers.end(),
                                        [](CWndPreHandler *p) { return p != nullptr; }));
}

BOOL AfxIsPreHandlerProcChained(HWND hWnd) {
  RecordPtr record = Registry().Find(hWnd);
  return record != nullptr && record->chained;
}

BOOL AfxCallPreHandlers(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr || record->chained) return FALSE;
  if (message == WM_NCDESTROY) {
    WindowGone(record);
    return FALSE;
  }
  return Walk(record, hWnd, message, wParam, lParam, lResult);
}

void AfxPreHandlersOnDetach(HWND hWnd) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr || record->chained || record->gone || !::IsWindow(hWnd)) return;
  Chain(*record);
}

void AfxPreHandlersOnSubclass(HWND hWnd) {
  RecordPtr record = Registry().Find(hWnd);
  if (record == nullptr || !record->chained || record->gone || record->walks > 0) return;
  if (CurrentProc(hWnd) != &ChainedWndProc) return; // under a later procedure it must stay
  ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->pfnChainedOld));
  record->chained = false;
  TidyUp(record); // a pass-through without handlers ends here
}
