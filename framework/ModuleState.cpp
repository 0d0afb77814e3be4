#include "ModuleState.h"

namespace {

// The state of the one module the program consists of.
struct ModuleState {
  HINSTANCE hInstance = nullptr;
  HINSTANCE hResource = nullptr;
};

ModuleState &State() {
  static ModuleState state;
  return state;
}

} // namespace

HINSTANCE AfxGetInstanceHandle() {
  ModuleState &state = State();
  if (state.hInstance == nullptr) state.hInstance = GetModuleHandleW(nullptr);
  return state.hInstance;
}

void AfxSetInstanceHandle(HINSTANCE hInstance) {
  State().hInstance = hInstance;
}

HINSTANCE AfxGetResourceHandle() {
  ModuleState &state = State();
  return state.hResource != nullptr ? state.hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) {
  State().hResource = hResource;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  HINSTANCE hResource = AfxGetResourceHandle();
  if (FindResourceW(hResource, lpszName, lpszType) != nullptr) return hResource;
  return AfxGetInstanceHandle();
}
