// The Save Log report, compared line by line with the expected text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogReport.h"

namespace {

const std::wstring kTitle = L"Message Log Report of Quendal Varnoth File Recovery";
const std::string kTitleLine = "-------------------Message Log Report of Quendal Varnoth File Recovery"
                               "-------------------\r\n\r\n";
const std::string kSeparator = std::string(79, '-') + "\r\n";
const std::string kIndent(20, ' ');

TEST(LogReportTest, RowsAreBlocksSeparatedByDashes) {
  std::vector<LogRow> rows = {
      {L"Fast Search", L"Logical Drive C:", L"Started on Wed Dec  9 23:00:00 2026"},
      {L"Fast Search", L"Logical Drive C:", L"Completed"},
  };
  std::string expected = kTitleLine + "Fast Search\r\n" + kIndent + "Logical Drive C:\r\n" + kIndent +
                         "Started on Wed Dec  9 23:00:00 2026\r\n" + kSeparator + "Fast Search\r\n" +
                         kIndent + "Logical Drive C:\r\n" + kIndent + "Completed\r\n";
  EXPECT_EQ(BuildLogReport(kTitle, rows), expected);
}

TEST(LogReportTest, RowWithoutActivityJoinsThePreviousBlock) {
  std::vector<LogRow> rows = {
      {L"", L"first text", L""},
      {L"Reading", L"", L"Error"},
      {L"", L"more text", L"Completed"},
  };
  std::string expected = kTitleLine + kIndent + "first text\r\n" + kSeparator + "Reading\r\n" + kIndent +
                         "Error\r\n" + kIndent + "more text\r\n" + kIndent + "Completed\r\n";
  EXPECT_EQ(BuildLogReport(kTitle, rows), expected);
}

TEST(LogReportTest, EmptyLogGivesTheTitleOnly) {
  EXPECT_EQ(BuildLogReport(kTitle, {}), kTitleLine);
}

TEST(LogReportTest, TextsAreCutAt260Characters) {
  std::wstring longText(400, L'x');
  std::string report = BuildLogReport(kTitle, {{L"a", longText, L""}});
  EXPECT_EQ(report, kTitleLine + "a\r\n" + kIndent + std::string(260, 'x') + "\r\n");
}

TEST(LogReportTest, FileNameAlwaysGainsTxt) {
  EXPECT_EQ(LogReportFileName(L"C:\\Logs\\report"), L"C:\\Logs\\report.Txt");
  EXPECT_EQ(LogReportFileName(L"C:\\Logs\\report.txt"), L"C:\\Logs\\report.txt.Txt");
}

} // namespace
