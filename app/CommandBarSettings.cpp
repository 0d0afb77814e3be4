#include "CommandBarSettings.h"

#include "XTPCommandBars.h"
#include "XTPToolTipContext.h"

const UINT kFrameHiddenCommands[2] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW};
const wchar_t kCommandBarsProfile[] = L"CommandBars";

namespace {

constexpr int kTitleIcon = 1;
constexpr int kSmallIcons = 16;
constexpr int kMediumIcons = 32;
constexpr int kLargeIcons = 48;

} // namespace

void ApplyToolbarSize(CXTPCommandBarsOptions &options, ToolbarSize size) {
  switch (size) {
  case ToolbarSize::Large:
    options.bLargeIcons = TRUE;
    options.szLargeIcons = CSize(kLargeIcons, kLargeIcons);
    break;
  case ToolbarSize::Medium:
    options.bLargeIcons = TRUE;
    options.szLargeIcons = CSize(kMediumIcons, kMediumIcons);
    break;
  case ToolbarSize::Small:
    options.bLargeIcons = FALSE;
    options.szIcons = CSize(kSmallIcons, kSmallIcons);
    break;
  case ToolbarSize::Unchanged:
    break;
  }
}

ToolbarSize ShownToolbarSize(const CXTPCommandBarsOptions &options) {
  if (!options.bLargeIcons) return ToolbarSize::Small;
  // Saved options may turn large icons on without a size: the bars then
  // draw them at 32 x 32.
  if (options.szLargeIcons == CSize(kLargeIcons, kLargeIcons)) return ToolbarSize::Large;
  if (options.szLargeIcons == CSize(kMediumIcons, kMediumIcons) || options.szLargeIcons.cx <= 0)
    return ToolbarSize::Medium;
  return ToolbarSize::Unchanged;
}

void ApplyTooltipStyle(CXTPToolTipContext &context, TooltipStyle style) {
  if (style == TooltipStyle::Unchanged) return;
  context.SetStyle(style == TooltipStyle::Balloon ? xtpToolTipBalloon : xtpToolTipOffice);
  context.ShowTitle(TRUE, kTitleIcon);
}
