// The log lines of failed sector (or cluster) reads. During a pass over a
// disk or volume (while a Pass object lives) the first few failures get a
// line each, as they happen; after those, one line per run of failures that
// follow on one another, with its range, written when the run ends. A dead
// stretch of a disk so gives one line, not one per sector, and the log stays
// readable and its memory bounded. Outside a pass (a single file being read
// for recovery) every failure gets its line at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class ReadFailureLog {
public:
  // Writes one line: a single unit when first == last, else a range.
  using Writer = std::function<void(uint64_t first, uint64_t last)>;
  static constexpr size_t kSingleLines = 5;

  explicit ReadFailureLog(Writer writer) : m_writer(std::move(writer)) {}
  ReadFailureLog(const ReadFailureLog &) = delete;
  ReadFailureLog &operator=(const ReadFailureLog &) = delete;

  // Groups the failures of one pass; its end writes the run still open.
  class Pass {
  public:
    explicit Pass(ReadFailureLog &log) : m_log(log), m_outer(log.m_grouping) {
      if (!m_outer) {
        m_log.m_grouping = true;
        m_log.m_singleLines = 0;
      }
    }
    ~Pass() {
      if (m_outer) return;
      m_log.Flush();
      m_log.m_grouping = false;
    }
    Pass(const Pass &) = delete;
    Pass &operator=(const Pass &) = delete;

  private:
    ReadFailureLog &m_log;
    bool m_outer;
  };

  // A failed read of units [first, first + count); a single line names first.
  void Add(uint64_t first, uint64_t count = 1);
  // Writes the run still open.
  void Flush();

private:
  Writer m_writer;
  bool m_grouping = false;
  size_t m_singleLines = 0;
  bool m_open = false;
  uint64_t m_first = 0;
  uint64_t m_last = 0;
};

// The text of a range line: the message, the first unit, " - ", the last.
std::u16string ReadFailureRangeText(const std::u16string &message, uint64_t first, uint64_t last);
