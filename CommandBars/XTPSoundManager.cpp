#include "XTPSoundManager.h"

#include <mmsystem.h>

namespace {

BOOL SystemPlaySound(LPCWSTR lpszSound, HMODULE hModule, DWORD dwFlags) {
  return ::PlaySoundW(lpszSound, hModule, dwFlags);
}

// Played synchronously on the worker; SND_NODEFAULT keeps a missing alias
// silent instead of beeping.
const DWORD kPlayFlags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT;
const DWORD kPollMs = 5;

} // namespace

struct CXTPSoundManager::Worker {
  std::atomic<LONG> request{xtpSoundNone};
  PlayFunction pfnPlay = nullptr;
};

CXTPSoundManager::CXTPSoundManager(PlayFunction pfnPlay)
    : m_pfnPlay(pfnPlay != nullptr ? pfnPlay : SystemPlaySound) {}

CXTPSoundManager::~CXTPSoundManager() {
  StopThread();
}

void CXTPSoundManager::PlaySystemSound(XTPSoundManagerState state) {
  if (!m_bEnabled) return;
  if (m_hThread == nullptr) StartThread();
  // Without a worker (the thread could not be made) the request is kept but
  // never played.
  if (m_pWorker) m_pWorker->request.store(state);
}

void CXTPSoundManager::StartThread() {
  if (m_hThread != nullptr) return;
  auto pWorker = std::make_shared<Worker>();
  pWorker->pfnPlay = m_pfnPlay;
  m_pWorker = pWorker;
  // The thread holds a reference of its own: it may outlive this manager's
  // interest in it after a stop that timed out.
  auto *pThreadRef = new std::shared_ptr<Worker>(pWorker);
  HANDLE hThread = ::CreateThread(nullptr, 0, WorkerProc, pThreadRef, CREATE_SUSPENDED, nullptr);
  if (hThread == nullptr) {
    delete pThreadRef;
    return;
  }
  ::SetThreadPriority(hThread, THREAD_PRIORITY_BELOW_NORMAL);
  ::ResumeThread(hThread);
  m_hThread = hThread;
}

void CXTPSoundManager::StopThread() {
  if (m_hThread == nullptr) return;
  m_pWorker->request.store(xtpSoundTerminate);
  ::WaitForSingleObject(m_hThread, kStopWaitMs);
  ::CloseHandle(m_hThread);
  m_hThread = nullptr;
  m_pWorker.reset();
}

DWORD WINAPI CXTPSoundManager::WorkerProc(LPVOID lpParameter) {
  std::unique_ptr<std::shared_ptr<Worker>> pThreadRef(static_cast<std::shared_ptr<Worker> *>(lpParameter));
  Worker &worker = **pThreadRef;
  for (;;) {
    LONG request = worker.request.load();
    if (request == xtpSoundTerminate) break;
    if (request == xtpSoundMenuCommand || request == xtpSoundMenuPopup) {
      worker.pfnPlay(request == xtpSoundMenuCommand ? L"MenuCommand" : L"MenuPopup", nullptr, kPlayFlags);
      // Clear only the request just played: one that came in meanwhile (a
      // newer sound, or the stop) stays for the next pass.
      worker.request.compare_exchange_strong(request, xtpSoundNone);
    }
    ::Sleep(kPollMs);
  }
  worker.pfnPlay(nullptr, nullptr, SND_PURGE);
  return 0;
}

CXTPSoundManager *XTPSoundManager() {
  static CXTPSoundManager manager;
  return &manager;
}
