#include "ModulePath.h"

namespace {
constexpr size_t kMaxPath = 260;
}

std::u16string PathBesideExecutable(const std::u16string &executablePath, const std::u16string &fileName) {
  if (fileName.empty() || fileName.find_first_of(u"\\/:") != std::u16string::npos) return std::u16string();
  if (fileName == u"." || fileName == u"..") return std::u16string();
  const size_t slash = executablePath.find_last_of(u"\\/");
  if (slash == std::u16string::npos) return std::u16string();
  std::u16string path = executablePath.substr(0, slash + 1) + fileName;
  if (path.size() >= kMaxPath) return std::u16string();
  return path;
}
