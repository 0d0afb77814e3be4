#include "SignatureChoice.h"

#include "HeaderFile.h"

#include <algorithm>

void SignatureChoice::Load(std::vector<HeaderRecord> records) {
  m_records = std::move(records);
  for (HeaderRecord &record : m_records)
    record.m_selected = IsDefaultSelectedExtension(record.m_extension) ? 1 : 0;
}

void SignatureChoice::Keep(const std::vector<HeaderRecord> &chosenBefore) {
  if (chosenBefore.empty()) return;
  for (HeaderRecord &record : m_records) {
    const bool chosen =
        std::any_of(chosenBefore.begin(), chosenBefore.end(), [&](const HeaderRecord &before) {
          return before.m_softwareName == record.m_softwareName && before.m_extension == record.m_extension;
        });
    record.m_selected = chosen ? 1 : 0;
  }
}

size_t SignatureChoice::SelectedCount() const {
  return static_cast<size_t>(std::count_if(
      m_records.begin(), m_records.end(), [](const HeaderRecord &record) { return record.m_selected != 0; }));
}

std::vector<size_t> SignatureChoice::RecordsOfGroup(uint8_t group) const {
  std::vector<size_t> shown;
  for (size_t index = 0; index < m_records.size(); ++index)
    if (group == 0 || m_records[index].m_group == group) shown.push_back(index);
  return shown;
}

void SignatureChoice::SetSelected(size_t record, bool selected) {
  if (record < m_records.size()) m_records[record].m_selected = selected ? 1 : 0;
}

void SignatureChoice::SelectAll() {
  for (HeaderRecord &record : m_records) record.m_selected = 1;
}

void SignatureChoice::UnselectAll() {
  for (HeaderRecord &record : m_records) record.m_selected = 0;
}

SignatureChoice::RemoveResult SignatureChoice::Remove(size_t record) {
  if (record >= m_records.size()) return RemoveResult::NoSuchRecord;
  if (m_records[record].m_predefined != 0) return RemoveResult::Predefined;
  m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(record));
  return RemoveResult::Removed;
}

bool SignatureChoice::SetSizeKb(size_t record, uint64_t kilobytes) {
  return record < m_records.size() && SetSizeKb(m_records[record], kilobytes);
}

bool SignatureChoice::SetSizeKb(HeaderRecord &changed, uint64_t kilobytes) {
  if (kilobytes == 0 || kilobytes > kMaxSizeKb) return false;
  changed.m_maxSize = static_cast<uint32_t>(kilobytes * 1024);
  if (changed.m_sizeUnit == 0 && kilobytes % 1024 != 0) changed.m_sizeUnit = 1;
  return true;
}

void SignatureChoice::Replace(size_t record, HeaderRecord changed) {
  if (record < m_records.size()) m_records[record] = std::move(changed);
}

size_t SignatureChoice::Append(HeaderRecord added) {
  m_records.push_back(std::move(added));
  return m_records.size() - 1;
}

std::vector<HeaderRecord> SignatureChoice::Chosen() const {
  std::vector<HeaderRecord> chosen;
  for (const HeaderRecord &record : m_records)
    if (record.m_selected != 0) chosen.push_back(record);
  return chosen;
}
