// A test that makes the program's main frame in this process, through the
// program's document template and resources, and takes it down again.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "resource.h"

class AppFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    DrainQueue();
    m_app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQuendalVarnothDoc),
                                                RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CLeftView)));
    CCommandLineInfo commandLine;
    ASSERT_TRUE(m_app.ProcessShellCommand(commandLine));
    m_frame = static_cast<CMainFrame *>(m_app.m_pMainWnd);
    ASSERT_NE(m_frame, nullptr);
    ASSERT_TRUE(m_frame->IsKindOf(RUNTIME_CLASS(CMainFrame)));
    ParkPointer();
  }
  void TearDown() override {
    if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    DrainQueue(); // the main window's end posts a quit
  }
  // The display is shared by the tests: a pointer an earlier one left over
  // where this frame's toolbar comes would light a button and put its
  // prompt into the status bar. The bottom right corner holds no command.
  // Under Wine the move can be lost while the server still reports the old
  // place, so it is made until the pointer is seen there.
  static void ParkPointer() {
    const POINT corner = {::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1};
    for (int tries = 0; tries < 50; ++tries) {
      ::SetCursorPos(corner.x, corner.y);
      POINT now = {};
      if (::GetCursorPos(&now) && now.x == corner.x && now.y == corner.y) break;
      ::Sleep(10);
    }
    // Moves the window met at the old place are dropped, not hot-tracked.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
  }
  // The frame made again through the template, with the resources current
  // now (a language library's); true when it was made.
  bool RemakeFrame() {
    m_frame->DestroyWindow();
    DrainQueue();
    CCommandLineInfo commandLine;
    const bool made = m_app.ProcessShellCommand(commandLine) != FALSE;
    m_frame = static_cast<CMainFrame *>(m_app.m_pMainWnd);
    return made;
  }
  // Drops what is waiting without dispatching it.
  static void DrainQueue() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // Dispatches what is waiting (posted start messages run their search here).
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  CQuendalVarnothApp m_app;
  CMainFrame *m_frame = nullptr; // deletes itself with its window
};

// When QV_SHOT_HOLD names a folder, the window stays up a while after a
// "<name>.ready" file appears there, so a screenshot can be taken from outside.
inline void HoldForScreenshot(const char *name) {
  const char *folder = std::getenv("QV_SHOT_HOLD");
  if (folder == nullptr) return;
  std::ofstream(std::string(folder) + "/" + name + ".ready") << "ready\n";
  const DWORD until = ::GetTickCount() + 4000;
  while (::GetTickCount() < until) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(20);
  }
}
