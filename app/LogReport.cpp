#include "LogReport.h"

#include <windows.h>

namespace {

// Report texts are cut at 260 characters and 260 bytes, as every text of the
// program is.
constexpr int kTextLimit = 260;

std::string Narrow(const std::wstring &text) {
  std::wstring cut = text.substr(0, kTextLimit);
  char buffer[kTextLimit];
  int length =
      WideCharToMultiByte(CP_ACP, 0, cut.c_str(), (int)cut.size(), buffer, kTextLimit, nullptr, nullptr);
  if (length <= 0 && !cut.empty()) {
    // Too long for the buffer once converted: convert whole, then cut the bytes.
    int needed = WideCharToMultiByte(CP_ACP, 0, cut.c_str(), (int)cut.size(), nullptr, 0, nullptr, nullptr);
    std::string whole((size_t)(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
      WideCharToMultiByte(CP_ACP, 0, cut.c_str(), (int)cut.size(), &whole[0], needed, nullptr, nullptr);
    return whole.substr(0, kTextLimit);
  }
  return std::string(buffer, (size_t)(length > 0 ? length : 0));
}

} // namespace

std::string BuildLogReport(const std::wstring &title, const std::vector<LogRow> &rows) {
  const std::wstring dashes(19, L'-');
  const std::string indent(20, ' ');
  std::string report = Narrow(dashes + title + dashes);
  report += "\r\n\r\n";
  bool first = true;
  for (const LogRow &row : rows) {
    if (!row[0].empty()) {
      if (!first) report += std::string(79, '-') + "\r\n";
      report += Narrow(row[0]) + "\r\n";
    }
    for (int column = 1; column < 3; column++)
      if (!row[column].empty()) report += indent + Narrow(row[column]) + "\r\n";
    first = false;
  }
  return report;
}

std::wstring LogReportFileName(const std::wstring &chosenName) {
  return chosenName + L".Txt";
}
