#include "version.h"

#include <windows.h>

#include <vector>

namespace tavrin {

bool readVersionRecord(const std::string& path, VersionRecord& record) {
  record = VersionRecord{};
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0 || size >= kVersionResourceLimit) return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return false;

  void* table = nullptr;
  UINT tableBytes = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &table, &tableBytes) || !table) return false;
  std::vector<std::uint32_t> translations;
  const WORD* pairs = static_cast<const WORD*>(table);
  for (UINT i = 0; i + 1 < tableBytes / sizeof(WORD); i += 2)
    translations.push_back((static_cast<std::uint32_t>(pairs[i]) << 16) | pairs[i + 1]);

  auto lookup = [&block](const std::string& subBlock, std::string& value) {
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), &text, &length) || !text) return false;
    value.assign(static_cast<const char*>(text), strnlen(static_cast<const char*>(text), length));
    return true;
  };
  return pickVersionRecord(translations, lookup, record);
}

bool isWindowsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace tavrin
