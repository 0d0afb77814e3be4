#include "RecoveryClashAnswers.h"

#include "SafeFileName.h"

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
  const std::u16string folder = path.substr(0, nameStart);
  const std::u16string name = path.substr(nameStart);
  for (int number = 1; number <= kMaxCopyNumber; ++number) {
    std::string digits = std::to_string(number);
    // The number must fit with the name: a name already at the length
    // Windows allows gives way before its extension.
    std::u16string candidate =
        folder + NumberedFileName(name, u" (" + std::u16string(digits.begin(), digits.end()) + u")");
    if (!exists(candidate)) return candidate;
  }
  return {};
}
