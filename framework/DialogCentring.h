// CDialogCentring: centres the next dialog box the system makes for an owner
// (a common file dialog, the folder picker), which the framework does not
// create itself and so cannot place at its initialisation. Lives on the
// stack around the call that shows the dialog.
#pragma once

#include <windows.h>

class CDialogCentring {
public:
  explicit CDialogCentring(HWND owner);
  ~CDialogCentring();
  CDialogCentring(const CDialogCentring &) = delete;
  CDialogCentring &operator=(const CDialogCentring &) = delete;

private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
  // Centres the window when it is the awaited dialog; true once done.
  bool Place(HWND window);

  HWND m_owner;
  HHOOK m_hook = nullptr;
  bool m_done = false;
  CDialogCentring *m_outer = nullptr;
};
