// Marks an engine, scan-file loader or writer call as being on the stack for
// as long as the scope lives. Such calls pump messages, so commands run while
// they are inside; the frame's count tells the commands that would free the
// engine or the frame (Run Wizard, Open, File Mask, Exit) to wait.
#pragma once

#include "MainFrm.h"
#include "QuendalVarnoth.h"

class EngineCallScope {
public:
  explicit EngineCallScope(CMainFrame &frame) : m_frame(frame) { ++m_frame.EngineCallDepth; }
  // A quit that came while the call ran is let through once it has returned.
  ~EngineCallScope() {
    if (--m_frame.EngineCallDepth == 0) TheQvApp().PostHeldQuit();
  }
  EngineCallScope(const EngineCallScope &) = delete;
  EngineCallScope &operator=(const EngineCallScope &) = delete;

private:
  CMainFrame &m_frame;
};
