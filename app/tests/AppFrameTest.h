// A test that makes the program's main frame in this process, through the
// program's document template and resources, and takes it down again.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

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
  }
  void TearDown() override {
    if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    DrainQueue(); // the main window's end posts a quit
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
