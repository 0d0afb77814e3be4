// The module handles the program loads its resources from: the executable and,
// when a language module is in use, that module first.
#pragma once

#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// The module that holds the resource: the current resource module when it has
// it, otherwise the executable, so a language module missing a resource falls
// back to the built-in one.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
