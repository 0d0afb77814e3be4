// The menu-sound worker: which sounds it plays, and how it stops.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "XTPSoundManager.h"

namespace {

// Records what the worker plays; a sound can be held "playing" until the
// test lets it go.
struct FakePlayer {
  std::mutex lock;
  std::vector<std::wstring> played; // "-" for the purge at the worker's end
  HANDLE hPlaying = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE hRelease = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);

  std::vector<std::wstring> Played() {
    std::lock_guard<std::mutex> guard(lock);
    return played;
  }
  // Waits until the record has at least n entries.
  bool WaitFor(size_t n) {
    for (int i = 0; i < 400; ++i) {
      if (Played().size() >= n) return true;
      ::Sleep(5);
    }
    return false;
  }
};

FakePlayer *g_player = nullptr;

BOOL FakePlay(LPCWSTR lpszSound, HMODULE, DWORD dwFlags) {
  {
    std::lock_guard<std::mutex> guard(g_player->lock);
    g_player->played.push_back(lpszSound != nullptr ? lpszSound : L"-");
  }
  if (lpszSound != nullptr) {
    EXPECT_EQ(dwFlags, static_cast<DWORD>(SND_ALIAS | SND_NOWAIT | SND_NODEFAULT));
    ::SetEvent(g_player->hPlaying);
    ::WaitForSingleObject(g_player->hRelease, INFINITE);
  } else {
    EXPECT_EQ(dwFlags, static_cast<DWORD>(SND_PURGE));
  }
  return TRUE;
}

class SoundManager : public ::testing::Test {
protected:
  void SetUp() override { g_player = &m_player; }
  void TearDown() override {
    ::SetEvent(m_player.hRelease);
    m_manager.StopThread();
    g_player = nullptr;
  }
  // Holds the next sound in "playing" until Release.
  void HoldNextSound() {
    ::ResetEvent(m_player.hRelease);
    ::ResetEvent(m_player.hPlaying);
  }
  void Release() { ::SetEvent(m_player.hRelease); }

  FakePlayer m_player;
  CXTPSoundManager m_manager{FakePlay};
};

TEST_F(SoundManager, DisabledRequestsStartNoWorker) {
  m_manager.EnableSystemSounds(FALSE);
  m_manager.PlaySystemSound(xtpSoundMenuCommand);
  EXPECT_FALSE(m_manager.IsThreadRunning());
  m_manager.StopThread(); // nothing to stop
  EXPECT_TRUE(m_player.Played().empty());
}

TEST_F(SoundManager, PlaysEachRequestAndPurgesWhenStopped) {
  m_manager.PlaySystemSound(xtpSoundMenuPopup);
  EXPECT_TRUE(m_manager.IsThreadRunning());
  ASSERT_TRUE(m_player.WaitFor(1));
  m_manager.PlaySystemSound(xtpSoundMenuCommand);
  ASSERT_TRUE(m_player.WaitFor(2));
  m_manager.StopThread();
  EXPECT_FALSE(m_manager.IsThreadRunning());
  ASSERT_TRUE(m_player.WaitFor(3));
  EXPECT_EQ(m_player.Played(), (std::vector<std::wstring>{L"MenuPopup", L"MenuCommand", L"-"}));
}

TEST_F(SoundManager, ALaterRequestReplacesOneNotYetTaken) {
  HoldNextSound();
  m_manager.PlaySystemSound(xtpSoundMenuCommand);
  ASSERT_EQ(::WaitForSingleObject(m_player.hPlaying, 2000), WAIT_OBJECT_0);
  // Both arrive while the first sound plays: only the later one is played,
  // and it is not lost to the worker clearing the request it had taken.
  m_manager.PlaySystemSound(xtpSoundMenuCommand);
  m_manager.PlaySystemSound(xtpSoundMenuPopup);
  Release();
  ASSERT_TRUE(m_player.WaitFor(2));
  ::Sleep(50);
  EXPECT_EQ(m_player.Played(), (std::vector<std::wstring>{L"MenuCommand", L"MenuPopup"}));
}

TEST_F(SoundManager, AWorkerThatOutlivesItsStopStillEnds) {
  HoldNextSound();
  m_manager.PlaySystemSound(xtpSoundMenuCommand);
  ASSERT_EQ(::WaitForSingleObject(m_player.hPlaying, 2000), WAIT_OBJECT_0);
  // The stop times out while the sound plays; a new worker starts at once.
  m_manager.StopThread();
  EXPECT_FALSE(m_manager.IsThreadRunning());
  m_manager.PlaySystemSound(xtpSoundMenuPopup);
  Release();
  // The first worker ends (its purge) instead of playing on beside the new one.
  ASSERT_TRUE(m_player.WaitFor(3));
  m_manager.StopThread();
  ASSERT_TRUE(m_player.WaitFor(4));
  ::Sleep(50);
  std::vector<std::wstring> played = m_player.Played();
  ASSERT_EQ(played.size(), 4u);
  EXPECT_EQ(std::count(played.begin(), played.end(), L"-"), 2);
  EXPECT_EQ(std::count(played.begin(), played.end(), L"MenuPopup"), 1);
  EXPECT_EQ(played[0], L"MenuCommand");
}

TEST(SoundManagerGlobal, IsOneInstanceEnabledAtStart) {
  EXPECT_EQ(XTPSoundManager(), XTPSoundManager());
  EXPECT_TRUE(XTPSoundManager()->IsSystemSoundsEnabled());
  EXPECT_FALSE(XTPSoundManager()->IsThreadRunning());
}

} // namespace
