// CXTPShortcutManager: the text of a keyboard shortcut ("Ctrl+S") shown beside
// a menu command, in the user's keyboard language, and the shortcut a frame's
// accelerator table holds for a command. One per interface thread.
#pragma once

#include <windows.h>

#include "CString.h"

class CFrameWnd;
class CXTPShortcutManager;

// What the shortcut manager asks of the command bars: the frame they serve,
// whose accelerator table names the shortcuts of the active frame.
class CXTPShortcutFrameSite {
public:
  virtual ~CXTPShortcutFrameSite() = default;
  virtual CFrameWnd *GetActiveShortcutFrame() = 0;
};

// One accelerator-table entry, as the shortcut manager shows it.
class CXTPShortcutManagerAccel {
public:
  CXTPShortcutManagerAccel(CXTPShortcutManager *pManager, const ACCEL *pAccel)
      : m_pManager(pManager), m_pAccel(pAccel) {}

  // Control 3, Alt 2, Shift 1, no modifier 4: the higher key is the one shown
  // when a command has several shortcuts.
  int GetModifierSortKey() const;
  void FormatAccelerator(CString &strText) const;

private:
  CXTPShortcutManager *m_pManager;
  const ACCEL *m_pAccel;
};

class CXTPShortcutManager {
public:
  CXTPShortcutManager() = default;
  virtual ~CXTPShortcutManager() = default;
  CXTPShortcutManager(const CXTPShortcutManager &) = delete;
  CXTPShortcutManager &operator=(const CXTPShortcutManager &) = delete;

  // TRUE when the frame's accelerator table has an entry for the command.
  // strShortcut keeps its text when it names one of the command's shortcuts;
  // otherwise it becomes the preferred one (or empty without any).
  virtual BOOL FindDefaultAccelerator(UINT nCmd, CString &strShortcut, BOOL bActiveFrame = FALSE);
  virtual CString Format(const ACCEL *pAccel, int *pnSortKey);
  virtual CString GetKeyName(UINT nVirtKey);

  static wchar_t ToUpperChar(wchar_t ch);
  // The English name of a key the system has no name for; empty when the
  // table has none either.
  static CString GetKeyNameFromTable(UINT nVirtKey);

  // The command bars register themselves here for the active-frame lookup.
  void SetFrameSite(CXTPShortcutFrameSite *pSite) { m_pFrameSite = pSite; }

private:
  CXTPShortcutFrameSite *m_pFrameSite = nullptr;
};

// The calling thread's shortcut manager.
CXTPShortcutManager *XTPGetShortcutManager();
