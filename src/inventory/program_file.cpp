#include "program_file.h"

#include <vector>

#include "base/entry_tables.h"
#include "base/text.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
// Longest path the conversions below will hand out (the limit of "\\?\" paths).
constexpr DWORD kLongestPath = 32767;

using PathConversion = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// Runs a GetShortPathNameA-style conversion with a buffer sized from its answer.
bool convertPath(PathConversion convert, const std::string& path, std::string& out) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD n = convert(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n > kLongestPath + 1) return false;
    if (n < buffer.size()) {
      out.assign(buffer.data(), n);
      return true;
    }
    buffer.resize(n + 1);  // n counted the terminator
  }
  return false;
}

bool isWindows95() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && info.dwMinorVersion == 0;
}

// Looked up at run time: the first Windows 95 has no such export.
PathConversion longPathConversion() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return nullptr;
  return reinterpret_cast<PathConversion>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")));
}

bool shortPathForm(const std::string& path, std::string& out) { return convertPath(GetShortPathNameA, path, out); }

// Open-for-existence answers no for folders; so does this.
bool isFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool environmentVariable(const std::string& name, std::string& value) {
  DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0 || needed > kLongestPath) return false;
  std::vector<char> buffer(needed);
  DWORD n = GetEnvironmentVariableA(name.c_str(), buffer.data(), needed);
  if (n == 0 || n >= needed) return false;
  value.assign(buffer.data(), n);
  return true;
}

}  // namespace

CommandExpansion machineExpansion() {
  CommandExpansion values;
  values.windowsFolder = windowsFolder();
  values.variable = [](const std::string& name, std::string& value) {
    if (equalsNoCase(name, "ProgramFiles")) {
      if (reg::readString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", value) == 0)
        value = kDefaultProgramFilesFolder;
      return true;
    }
    return environmentVariable(name, value);
  };
  return values;
}

std::string programFileOfCommand(const std::string& command) {
  return programFileText(command, machineExpansion());
}

CommandParts splitCommand(const std::string& command) {
  CommandParts parts = splitCommandText(command, machineExpansion());
  parts.programFile = longPathForm(parts.programFile);
  return parts;
}

std::string longPathForm(const std::string& path) {
  if (path.empty() || isWindows95()) return path;
  // What names no file has no long form. One look-up says so far more cheaply
  // than the conversion's search of every folder on the way (a command line
  // with arguments, the usual Run value, never names a file).
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
  PathConversion convert = longPathConversion();
  std::string longPath;
  if (!convert || !convertPath(convert, path, longPath)) return path;
  return longPath;
}

bool programFileExists(std::string& name) {
  if (name.empty()) return false;
  std::string shortName;
  if (shortPathForm(name, shortName) && isFile(shortName)) return true;
  if (name.size() >= kBareNameLimit) return false;
  if (isFile(windowsFolder() + "\\" + name)) return true;
  const std::string inSystemFolder = systemFolder() + "\\" + name;
  if (!isFile(inSystemFolder)) return false;
  name = shortPathForm(inSystemFolder, shortName) ? shortName : inSystemFolder;
  return true;
}

std::string folderOfProgram(const std::string& path) {
  if (path.find('\\') != std::string::npos) return folderPartOf(path);
  if (path.empty() || path.size() >= kBareNameLimit) return std::string();
  for (const std::string& folder : {windowsFolder(), systemFolder()})
    if (!folder.empty() && folder.size() <= kPathWidth && isFile(folder + "\\" + path)) return folder;
  return std::string();
}

ResolvedShortcut resolveStartupShortcut(const std::string& shortcutPath) {
  ResolvedShortcut shortcut = resolveShortcut(shortcutPath);
  // Not resolved without an error: the link could not find its target. Say so
  // instead of showing nothing.
  if (!shortcut.resolved && SUCCEEDED(shortcut.result))
    shortcut.description = loadString(IDS_LOCAL_FILE_NOT_FOUND);
  return shortcut;
}

std::string disabledFolder() {
  const std::string folder = programFolder();
  if (folder.size() > MAX_PATH) return std::string();
  return disabledFolderIn(folder);
}

int createDisabledFolder() {
  const std::string folder = disabledFolder();
  if (folder.empty()) return 0;
  CreateDirectoryA(folder.c_str(), nullptr);
  DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

}  // namespace tavrin
