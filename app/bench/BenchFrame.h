// The program's main frame as the benchmark programs make it: the document
// template the program registers, the frame made from an empty command line,
// shown maximized unless the run asks for it hidden.
#pragma once

#include <windows.h>

#include <cstdio>

#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "resource.h"

// The frame, or nullptr (said on the output) when it could not be made.
inline CMainFrame *OpenBenchFrame(CQuendalVarnothApp &app, bool hidden) {
  app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQuendalVarnothDoc),
                                            RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CLeftView)));
  CCommandLineInfo commandLine;
  if (!app.ProcessShellCommand(commandLine)) {
    std::printf("the main frame could not be made\n");
    return nullptr;
  }
  auto *frame = static_cast<CMainFrame *>(app.m_pMainWnd);
  if (!hidden) frame->ShowWindow(SW_SHOWMAXIMIZED);
  return frame;
}
