// The signatures the signature page offers and which of them are chosen for
// the next search. Rows of the page's list carry the position of their record
// here, so a check, a size or a removal always reaches the row's own record,
// whatever filter or sort the list shows.
#pragma once

#include "HeaderRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SignatureChoice {
public:
  // Takes the signature file's records in file order; those of the default
  // extensions are chosen, every other one is not.
  void Load(std::vector<HeaderRecord> records);

  // The choice of an earlier search offered again: exactly the records that
  // were chosen then (matched by name and extension) are chosen. Nothing
  // changes when none was chosen then.
  void Keep(const std::vector<HeaderRecord> &chosenBefore);

  const std::vector<HeaderRecord> &Records() const { return m_records; }
  size_t SelectedCount() const;
  bool AnySelected() const { return SelectedCount() > 0; }
  bool AllSelected() const { return SelectedCount() == m_records.size(); }

  // The records a group filter shows, in file order (group 0: all).
  std::vector<size_t> RecordsOfGroup(uint8_t group) const;

  void SetSelected(size_t record, bool selected);
  void SelectAll();
  void UnselectAll();

  enum class RemoveResult { Removed, Predefined, NoSuchRecord };
  // Removes one user record; a shipped one stays.
  RemoveResult Remove(size_t record);

  // The largest size the list's size column takes, in kilobytes: the stored
  // byte count is 32 bits wide.
  static constexpr uint64_t kMaxSizeKb = UINT32_MAX / 1024;
  // Sets the record's maximum size from kilobytes; false (nothing changes)
  // for 0 or more than kMaxSizeKb. A megabyte unit stays only while the size
  // is still a whole number of megabytes, so the Edit dialog shows it exactly.
  bool SetSizeKb(size_t record, uint64_t kilobytes);
  // The same rule on one record.
  static bool SetSizeKb(HeaderRecord &record, uint64_t kilobytes);

  // A record the user changed in the Edit dialog.
  void Replace(size_t record, HeaderRecord changed);
  // A record the user added (already appended to the file); its position.
  size_t Append(HeaderRecord added);

  // Copies of the chosen records, in file order: what the search matches.
  std::vector<HeaderRecord> Chosen() const;

private:
  std::vector<HeaderRecord> m_records;
};
