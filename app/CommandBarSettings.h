// The main frame's command-bar settings: the icon sizes that the toolbar-size
// setting stands for, the tooltip style, and the commands the frame keeps out
// of its shortened menus. The frame applies them at creation and from the
// View menu; the View menu's check marks read them back from the bars.
#pragma once

#include "AppSettings.h"
#include "Framework.h"

class CXTPCommandBarsOptions;
class CXTPToolTipContext;

// The framework's print commands: the program prints nothing, so a menu that
// carries them keeps them behind its expand item.
extern const UINT kFrameHiddenCommands[2];

// The profile name the bars' layout and options are kept under.
extern const wchar_t kCommandBarsProfile[];

// Large: large icons of 48 x 48; Medium: large icons of 32 x 32; Small: large
// icons off and normal icons of 16 x 16. Unchanged leaves the options as
// they are (as the saved options gave them).
void ApplyToolbarSize(CXTPCommandBarsOptions &options, ToolbarSize size);
// The size the bars show now, for the check marks.
ToolbarSize ShownToolbarSize(const CXTPCommandBarsOptions &options);

// Balloon or office-style tips, each with a title and the information
// icon; Unchanged leaves the context as it is.
void ApplyTooltipStyle(CXTPToolTipContext &context, TooltipStyle style);
