#include "RecoveryClashAnswers.h"

namespace {

// Beyond this many copies of one name the folder is better left alone.
constexpr int kMaxCopyNumber = 9999;

} // namespace

void RecoveryClashAnswers::Reset() {
  for (int32_t &flag : m_flags) flag = 0;
}

void RecoveryClashAnswers::Choose(ClashButton button) {
  Reset();
  m_flags[static_cast<int>(button)] = 1;
}

ClashAction RecoveryClashAnswers::Standing() const {
  if (IsSet(ClashButton::SkipAll)) return ClashAction::Skip;
  if (IsSet(ClashButton::RenameAll)) return ClashAction::Rename;
  if (IsSet(ClashButton::OverWriteAll)) return ClashAction::OverWrite;
  return ClashAction::Ask;
}

ClashAction RecoveryClashAnswers::LastAnswer() const {
  if (IsSet(ClashButton::Skip) || IsSet(ClashButton::SkipAll)) return ClashAction::Skip;
  if (IsSet(ClashButton::Rename) || IsSet(ClashButton::RenameAll)) return ClashAction::Rename;
  if (IsSet(ClashButton::OverWrite) || IsSet(ClashButton::OverWriteAll)) return ClashAction::OverWrite;
  return ClashAction::Ask;
}

std::u16string ProposeFreeName(const std::u16string &path,
                               const std::function<bool(const std::u16string &)> &exists) {
  const size_t slash = path.find_last_of(u"\\/");
  const size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  size_t dot = path.rfind(u'.');
  // A leading dot (".profile") starts no extension.
  if (dot == std::u16string::npos || dot <= nameStart) dot = path.size();
  const std::u16string stem = path.substr(0, dot);
  const std::u16string extension = path.substr(dot);
  for (int number = 1; number <= kMaxCopyNumber; ++number) {
    std::string digits = std::to_string(number);
    std::u16string candidate = stem + u" (" + std::u16string(digits.begin(), digits.end()) + u")" + extension;
    if (!exists(candidate)) return candidate;
  }
  return {};
}
