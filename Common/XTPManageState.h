// CXTPManageState: makes the toolkit's resource module current for the length
// of one resource load, so toolkit resources in a separate module are found
// before the application's own. With no toolkit module (the usual case: the
// toolkit's resources are linked into the executable) it changes nothing.
#pragma once

#include <windows.h>

// The toolkit's resource and instance modules; 0 unless a program keeps the
// toolkit's resources in a library of their own.
HMODULE XTPGetResourceInstance();
HMODULE XTPGetInstanceHandle();
void XTPSetResourceInstance(HMODULE hResource, HMODULE hInstance = nullptr);

class CXTPManageState {
public:
  CXTPManageState();
  ~CXTPManageState();
  CXTPManageState(const CXTPManageState &) = delete;
  CXTPManageState &operator=(const CXTPManageState &) = delete;

  // Puts the saved handles back; later calls do nothing.
  void Undo();
  BOOL IsActive() const { return m_bActive; }

private:
  BOOL m_bActive = FALSE;
  HINSTANCE m_hSavedResource = nullptr;
  HINSTANCE m_hSavedInstance = nullptr;
};

// A guard held on the heap, for code that must end it at a point of its own
// choosing rather than at the end of a scope.
class CXTPManageStatePtr {
public:
  CXTPManageStatePtr() : m_pState(new CXTPManageState) {}
  ~CXTPManageStatePtr() { Release(); }
  CXTPManageStatePtr(const CXTPManageStatePtr &) = delete;
  CXTPManageStatePtr &operator=(const CXTPManageStatePtr &) = delete;

  void Release() {
    delete m_pState;
    m_pState = nullptr;
  }

private:
  CXTPManageState *m_pState;
};
