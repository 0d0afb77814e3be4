// Keys and mouse clicks given to a combo box the way the program's own
// message loop delivers them: windows see their keys before they are
// translated and dispatched.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "Framework.h"

// Each key down and up at the window, then what is waiting is pumped.
inline void TypeKeys(HWND window, std::initializer_list<UINT> keys) {
  for (UINT key : keys) {
    ::PostMessageW(window, WM_KEYDOWN, key, 0);
    ::PostMessageW(window, WM_KEYUP, key, 0);
  }
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    if (!AfxPreTranslateMessage(&message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
}

// A click on the box drops its list; a click on the list's item chooses it.
// False when the list did not open.
inline bool ChooseWithMouse(HWND combo, int item) {
  RECT box = {};
  ::GetClientRect(combo, &box);
  const LPARAM middle = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  ::SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  ::SendMessageW(combo, WM_LBUTTONUP, 0, middle);
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetComboBoxInfo(combo, &info) || !::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
  RECT row = {};
  ::SendMessageW(info.hwndList, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  ::SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
  ::SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}
