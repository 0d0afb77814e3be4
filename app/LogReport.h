// The text report that Save Log writes: a title line, an empty line, then per
// log row its activity at the margin and its text and status indented by 20
// blanks, rows separated by dashed lines. Texts are in the system's narrow
// code page, lines end in CR LF.
#pragma once

#include <array>
#include <string>
#include <vector>

// The three columns of one log row: activity, text, status.
using LogRow = std::array<std::wstring, 3>;

std::string BuildLogReport(const std::wstring &title, const std::vector<LogRow> &rows);

// The file name Save Log writes to: the chosen name with ".Txt" added, always.
std::wstring LogReportFileName(const std::wstring &chosenName);
