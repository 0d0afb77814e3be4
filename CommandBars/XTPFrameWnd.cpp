#include "XTPFrameWnd.h"

namespace {

// Registered at start-up, as the message's users expect it before any window.
const UINT g_nNotificationSinkMessage = ::RegisterWindowMessageW(L"XTPNotificationSinkMTOnEvent");

} // namespace

UINT XTPNotificationSinkMessage() {
  return g_nNotificationSinkMessage;
}
