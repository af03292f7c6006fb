#include "profile.h"

#include <windows.h>

#include <vector>

#include "base/text.h"
#include "paths.h"

namespace tavrin::profile {

bool writeWindowsValue(const std::string& name, const std::string& value) {
  // The profile writer fails on a read-only win.ini; other attributes stay.
  const std::string iniPath = windowsFolder() + "\\win.ini";
  DWORD attributes = GetFileAttributesA(iniPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(iniPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return WriteProfileStringA("windows", name.c_str(), value.c_str()) != FALSE;
}

std::string readWindowsValue(const std::string& name) {
  // Read the whole value: a list cut short and written back would lose programs.
  std::vector<char> buffer(512);
  for (;;) {
    DWORD n = GetProfileStringA("windows", name.c_str(), "", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n + 1 < buffer.size() || buffer.size() >= 1u << 20) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

bool addProgram(const std::string& listName, const std::string& program) {
  return writeWindowsValue(listName, addToProgramList(readWindowsValue(listName), program));
}

}  // namespace tavrin::profile
