// CXTPSoundManager: plays the menu sounds ("MenuCommand" when a command is
// chosen, "MenuPopup" when a popup opens) on a worker thread of its own, since
// playing a sound can take long. The interface thread only posts a request
// word that the worker polls.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

enum XTPSoundManagerState {
  xtpSoundNone = 0,
  xtpSoundMenuCommand = 1,
  xtpSoundMenuPopup = 2,
  xtpSoundTerminate = 3,
};

class CXTPSoundManager {
public:
  // How a sound is played: PlaySound's signature, replaceable so tests can
  // see the worker's calls without a sound device.
  using PlayFunction = BOOL (*)(LPCWSTR lpszSound, HMODULE hModule, DWORD dwFlags);

  explicit CXTPSoundManager(PlayFunction pfnPlay = nullptr);
  ~CXTPSoundManager();
  CXTPSoundManager(const CXTPSoundManager &) = delete;
  CXTPSoundManager &operator=(const CXTPSoundManager &) = delete;

  void PlaySystemSound(XTPSoundManagerState state);
  void StartThread();
  // Asks the worker to end and waits a little for it; a worker still playing
  // a long sound ends on its own afterwards.
  void StopThread();

  void EnableSystemSounds(BOOL bEnable) { m_bEnabled = bEnable; }
  BOOL IsSystemSoundsEnabled() const { return m_bEnabled; }
  BOOL IsThreadRunning() const { return m_hThread != nullptr; }

  // How long StopThread waits for the worker.
  static const DWORD kStopWaitMs = 100;

private:
  struct Worker;
  static DWORD WINAPI WorkerProc(LPVOID lpParameter);

  PlayFunction m_pfnPlay;
  BOOL m_bEnabled = TRUE;
  HANDLE m_hThread = nullptr;
  // Each worker has a request word of its own, so a worker that outlives a
  // timed-out stop still sees its stop request when a new worker starts.
  std::shared_ptr<Worker> m_pWorker;
};

// The process's sound manager.
CXTPSoundManager *XTPSoundManager();
