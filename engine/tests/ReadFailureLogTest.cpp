// How failed reads reach the log: a line each outside a pass and for the
// first few of a pass, then one line per run of failures with its range.
#include "ReadFailureLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Lines {
  std::vector<std::string> m_lines;
  ReadFailureLog m_log{[this](uint64_t first, uint64_t last) {
    m_lines.push_back(first == last ? std::to_string(first)
                                    : std::to_string(first) + "-" + std::to_string(last));
  }};
};

TEST(ReadFailureLog, PastAHandfulOneLinePerRunOfFailures) {
  Lines lines;
  {
    ReadFailureLog::Pass pass(lines.m_log);
    for (uint64_t s = 0; s < 5; ++s) lines.m_log.Add(10 + s);
    // A chunk that failed, then its records retried one by one inside it.
    lines.m_log.Add(100, 512);
    for (uint64_t s = 100; s < 612; s += 2) lines.m_log.Add(s, 2);
    lines.m_log.Add(612); // right after the run: still the same run
    lines.m_log.Add(700); // a gap: a new run
    lines.m_log.Add(701, 3);
    EXPECT_EQ(lines.m_lines.size(), 6u) << "the open run is written when it ends";
  }
  const std::vector<std::string> expected = {"10", "11", "12", "13", "14", "100-612", "700-703"};
  EXPECT_EQ(lines.m_lines, expected);
}

TEST(ReadFailureLog, OutsideAPassEveryFailureIsALine) {
  Lines lines;
  for (uint64_t s = 0; s < 8; ++s) lines.m_log.Add(s);
  EXPECT_EQ(lines.m_lines.size(), 8u);
  {
    // A new pass starts its handful again; a pass inside it changes nothing.
    ReadFailureLog::Pass pass(lines.m_log);
    ReadFailureLog::Pass inner(lines.m_log);
    for (uint64_t s = 0; s < 8; ++s) lines.m_log.Add(s);
  }
  EXPECT_EQ(lines.m_lines.size(), 8u + 6u);
  EXPECT_EQ(lines.m_lines.back(), "5-7");
}

TEST(ReadFailureLog, RangeText) {
  EXPECT_TRUE(ReadFailureRangeText(u"Error reading sectors :", 4096, 8191) ==
              u"Error reading sectors : 4096 - 8191");
}

} // namespace
