// What the file mask keeps of the found entries: file types given as
// "*.ext" separated by ";", deleted or missing state, a size range and a
// date condition. Pure functions, so the dialog only gathers the criteria.
#pragma once

#include "EntryRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// The longest file type kept; longer pieces are cut, never overrun.
constexpr size_t kMaxMaskTypeLength = 256;

// The types of the text: split at ";", blanks dropped, empty pieces left
// out, each piece at most kMaxMaskTypeLength characters.
std::vector<std::u16string> SplitMaskTypes(const std::u16string &text);

// The byte limit of a number of KB, in 64 bits; none above what 64 bits
// hold.
uint64_t KilobytesToBytes(uint64_t kilobytes);

struct FileMaskCriteria {
  std::vector<std::u16string> types; // empty: every type
  bool matchCase = false;
  bool deleted = true;
  bool missing = true;
  bool sizeFromOn = false;
  uint64_t sizeFrom = 0; // bytes
  bool sizeUptoOn = false;
  uint64_t sizeUpto = 0; // bytes
  bool dateOn = false;
  bool creationDate = true; // else the modification date
  enum class DateMode { LastMonths, LastDays, Between } dateMode = DateMode::LastMonths;
  int lastCount = 0;
  int64_t fromDay = 0; // day numbers of "between", in either order
  int64_t toDay = 0;
};

// What the File Mask dialog shows again at its next opening in the same run
// of the program: the choices its start does not set afresh.
struct FileMaskChoices {
  std::u16string typesText;
  bool matchCase = false;
  bool creationDate = true;
  FileMaskCriteria::DateMode dateMode = FileMaskCriteria::DateMode::LastMonths;
};

// Whether a type node keeps a file of that name: "*.*" keeps every file,
// any other node must equal "*." followed by the name's extension (the part
// after its last "."), exactly with matchCase and case-blind otherwise.
bool MaskTypeMatches(const std::u16string &type, const std::u16string &name, bool matchCase);

// Whether the mask keeps a file (folders are never tested); today: today's
// day number; ntfs: the entry's dates are NTFS file times.
bool FileMaskKeeps(const FileMaskCriteria &criteria, const EntryRecord &record, const std::u16string &name,
                   bool ntfs, int64_t today);
