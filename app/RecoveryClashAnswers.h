// The answers to recovery's "File already exists" question. Six flags, in
// the order Skip, Skip All, Rename, Rename All, OverWrite, OverWrite All:
// each button sets its own flag and clears the other five. An "All" answer
// stands for the rest of the run, so the question is not asked again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum class ClashButton { Skip = 0, SkipAll, Rename, RenameAll, OverWrite, OverWriteAll };
enum class ClashAction { Ask, Skip, Rename, OverWrite };

class RecoveryClashAnswers {
public:
  // A new run asks again.
  void Reset();
  void Choose(ClashButton button);
  bool IsSet(ClashButton button) const { return m_flags[static_cast<int>(button)] != 0; }

  // What to do with the next clash without asking: Ask unless an "All"
  // answer was given.
  ClashAction Standing() const;
  // What the last answer asks for this clash (after the question).
  ClashAction LastAnswer() const;

private:
  int32_t m_flags[6] = {};
};

// A free name beside an existing file: "name (1).ext", "name (2).ext", ...
// (the number before the last dot; after the whole name when it has no
// extension). exists answers for a full path. Empty when no number up to
// a large limit is free.
std::u16string ProposeFreeName(const std::u16string &path,
                               const std::function<bool(const std::u16string &)> &exists);
