#include "sinstance.h"

namespace {

// The first instance's mapping: it must outlive the checker, which start-up
// destroys, so later starts can still find it. Closed by the system at exit.
HANDLE g_firstInstanceMapping = nullptr;

class MutexLock {
public:
  explicit MutexLock(HANDLE mutex) : m_mutex(mutex) {
    if (m_mutex) WaitForSingleObject(m_mutex, INFINITE);
  }
  ~MutexLock() {
    if (m_mutex) ReleaseMutex(m_mutex);
  }
  MutexLock(const MutexLock &) = delete;
  MutexLock &operator=(const MutexLock &) = delete;

private:
  HANDLE m_mutex;
};

} // namespace

CInstanceChecker::CInstanceChecker(LPCTSTR mappingSuffix) {
  m_mappingName = L"CInstanceChecker_MMF_";
  m_mappingName += mappingSuffix ? mappingSuffix : L"";
  m_mutex = CreateMutexW(nullptr, FALSE, nullptr);
}

CInstanceChecker::~CInstanceChecker() {
  if (m_openedMapping) CloseHandle(m_openedMapping);
  if (m_mutex) CloseHandle(m_mutex);
}

BOOL CInstanceChecker::PreviousInstanceRunning() {
  if (m_openedMapping) CloseHandle(m_openedMapping);
  m_openedMapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, m_mappingName.GetString());
  return m_openedMapping != nullptr;
}

BOOL CInstanceChecker::TrackFirstInstanceRunning(HWND mainWindow) {
  if (g_firstInstanceMapping == nullptr)
    g_firstInstanceMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                kMappingSize, m_mappingName.GetString());
  if (g_firstInstanceMapping == nullptr) return FALSE;
  void *view = MapViewOfFile(g_firstInstanceMapping, FILE_MAP_WRITE, 0, 0, kMappingSize);
  if (view == nullptr) return FALSE;
  {
    MutexLock lock(m_mutex);
    ULONGLONG handle = (ULONGLONG)(ULONG_PTR)mainWindow;
    CopyMemory(view, &handle, sizeof(handle));
  }
  UnmapViewOfFile(view);
  return TRUE;
}

HWND CInstanceChecker::ActivatePreviousInstance() {
  if (m_openedMapping == nullptr) return nullptr;
  HWND window = nullptr;
  if (void *view = MapViewOfFile(m_openedMapping, FILE_MAP_READ, 0, 0, kMappingSize)) {
    ULONGLONG handle = 0;
    {
      MutexLock lock(m_mutex);
      CopyMemory(&handle, view, sizeof(handle));
    }
    UnmapViewOfFile(view);
    window = (HWND)(ULONG_PTR)handle;
  }
  CloseHandle(m_openedMapping);
  m_openedMapping = nullptr;
  // The mapping may hold nothing yet (the first instance is still starting)
  // or a window that is gone: touch only a live window.
  if (window == nullptr || !IsWindow(window)) return nullptr;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(window));
  return window;
}
