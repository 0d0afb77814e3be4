#include "LibraryLoader.h"

#include "ModulePath.h"

#include <vector>

std::wstring ExecutablePath() {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return std::wstring();
  return std::wstring(buffer.data(), length);
}

HMODULE LoadLibraryBesideExecutable(const wchar_t *fileName) {
  const std::wstring exe = ExecutablePath();
  const std::u16string path = PathBesideExecutable(std::u16string(exe.begin(), exe.end()),
                                                   std::u16string(fileName, fileName + wcslen(fileName)));
  if (path.empty()) return nullptr;
  const std::wstring wide(path.begin(), path.end());
  // The library's own dependencies are looked for beside it first, too.
  return LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
