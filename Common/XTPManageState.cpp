#include "XTPManageState.h"

#include "ModuleState.h"

namespace {

struct ToolkitModules {
  HMODULE hResource = nullptr;
  HMODULE hInstance = nullptr;
};

ToolkitModules &Modules() {
  static ToolkitModules modules;
  return modules;
}

} // namespace

HMODULE XTPGetResourceInstance() {
  return Modules().hResource;
}

HMODULE XTPGetInstanceHandle() {
  return Modules().hInstance;
}

void XTPSetResourceInstance(HMODULE hResource, HMODULE hInstance) {
  Modules().hResource = hResource;
  Modules().hInstance = hInstance;
}

CXTPManageState::CXTPManageState() {
  HMODULE hResource = XTPGetResourceInstance();
  if (hResource == nullptr) return;
  m_hSavedResource = AfxGetResourceHandle();
  m_hSavedInstance = AfxGetInstanceHandle();
  AfxSetResourceHandle(hResource);
  // The instance handle is only borrowed when the program has none yet; a
  // program's own instance must stay the one windows are registered under.
  if (m_hSavedInstance == nullptr && XTPGetInstanceHandle() != nullptr)
    AfxSetInstanceHandle(XTPGetInstanceHandle());
  m_bActive = TRUE;
}

CXTPManageState::~CXTPManageState() {
  Undo();
  m_hSavedResource = nullptr;
  m_hSavedInstance = nullptr;
}

void CXTPManageState::Undo() {
  if (!m_bActive) return;
  AfxSetResourceHandle(m_hSavedResource);
  AfxSetInstanceHandle(m_hSavedInstance);
  m_bActive = FALSE;
}
