// The command-bar theme behind each View > Themes choice, and the switch
// itself: the theme becomes the process's paint manager, which every bar
// that has none of its own draws through at its next paint.
#pragma once

#include "AppSettings.h"

// The paint manager's theme id for a choice: Office 2000 the classic theme,
// Office XP the Office theme, Office 2003 and Native XP their own; -1 for no
// choice.
int PaintThemeOf(ThemeSetting theme);

// Installs the chosen theme with disabled icons drawn from the real icons;
// FALSE (and nothing changed) for no choice.
bool ApplyCommandBarTheme(ThemeSetting theme);
