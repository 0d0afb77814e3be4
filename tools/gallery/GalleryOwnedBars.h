// The command bars a gallery section made and owns, at the section's end:
// any tracking stopped, their windows destroyed and the bars released.
#pragma once

#include <vector>

#include "XTPCommandBar.h"

template <class TBar> void DestroyOwnedBars(const std::vector<TBar *> &bars) {
  for (TBar *pBar : bars) {
    pBar->CancelTracking();
    if (pBar->GetSafeHwnd()) pBar->DestroyWindow();
    pBar->InternalRelease();
  }
}
