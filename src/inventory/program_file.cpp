#include "program_file.h"

#include <cctype>
#include <unordered_map>
#include <vector>

#include "base/entry_tables.h"
#include "base/text.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/version.h"

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

// The names in each folder listed so far (lower case, long and short forms),
// each marked when it is a folder; null while no FolderListings lives. Each
// thread has its own: a page's fill holds listings while the Services page's
// signer worker, or the Monitor's start-up worker, looks files up too.
struct Folder {
  bool listed = false;
  std::unordered_map<std::string, bool> names;
};
thread_local std::unordered_map<std::string, Folder>* folders = nullptr;

const Folder& folderListing(const std::string& folder) {
  const std::string key = lower(folder);
  const auto found = folders->find(key);
  if (found != folders->end()) return found->second;
  Folder& listing = (*folders)[key];
  WIN32_FIND_DATAA item;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &item);
  if (find == INVALID_HANDLE_VALUE) return listing;
  listing.listed = true;
  do {
    const bool isFolder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    listing.names[lower(item.cFileName)] = isFolder;
    if (item.cAlternateFileName[0]) listing.names[lower(item.cAlternateFileName)] = isFolder;
  } while (FindNextFileA(find, &item));
  FindClose(find);
  return listing;
}

// What the listings show of a path: Unknown when no listing lives or when the
// path holds whatever the system might read otherwise than as written (other
// path forms, wildcards, "." and "..", trailing dots and blanks, letters
// beyond ASCII, whose case this does not fold); Absent when a part is missing
// or a file stands where the path goes on below it.
enum class Listed { Absent, File, Folder, Unknown };

Listed listedAs(const std::string& path) {
  if (!folders) return Listed::Unknown;
  if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || path[2] != '\\')
    return Listed::Unknown;
  std::string folder = path.substr(0, 2);
  std::size_t start = 3;
  while (true) {
    std::size_t end = path.find_first_of("\\/", start);
    const bool last = end == std::string::npos;
    if (last) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == ".." || part.find_first_of("*?") != std::string::npos)
      return Listed::Unknown;
    for (char c : part)
      if (static_cast<unsigned char>(c) >= 0x80) return Listed::Unknown;
    const Folder& listing = folderListing(folder);
    if (!listing.listed) return Listed::Unknown;
    const std::size_t kept = part.find_last_not_of(". ");
    const std::string trimmed = kept == std::string::npos ? std::string() : part.substr(0, kept + 1);
    if (trimmed != part) {
      // A trailing dot or blank the system may drop.
      if (last) return Listed::Unknown;
      const auto plain = listing.names.find(lower(trimmed));
      if (plain != listing.names.end() && plain->second) return Listed::Unknown;
    }
    const auto found = listing.names.find(lower(part));
    if (found == listing.names.end()) return Listed::Absent;
    if (last) return found->second ? Listed::Folder : Listed::File;
    if (!found->second) return Listed::Absent;
    folder += "\\" + part;
    start = end + 1;
  }
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
  if (listedAs(path) == Listed::Absent || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
  PathConversion convert = longPathConversion();
  std::string longPath;
  if (!convert || !convertPath(convert, path, longPath)) return path;
  return longPath;
}

bool programFileExists(std::string& name) {
  if (name.empty()) return false;
  std::string shortName;
  // The listings answer for thousands of commands at the cost of one listing per folder.
  const Listed listed = listedAs(name);
  if (listed == Listed::File) return true;
  if (listed == Listed::Unknown && shortPathForm(name, shortName) && isFile(shortName)) return true;
  if (name.size() >= kBareNameLimit) return false;
  if (isFile(windowsFolder() + "\\" + name)) return true;
  const std::string inSystemFolder = systemFolder() + "\\" + name;
  if (!isFile(inSystemFolder)) return false;
  name = shortPathForm(inSystemFolder, shortName) ? shortName : inSystemFolder;
  return true;
}

namespace {

// The program file in the case the command writes it. Wine finds a name so
// written at once; an upper-case one makes it search the folder name by name.
std::string asWritten(const std::string& command, const std::string& file) {
  const std::string text = removeQuotes(command);
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos || text.size() - start < file.size()) return file;
  std::string written = text.substr(start, file.size());
  return equalsNoCase(written, file) ? written : file;
}

}  // namespace

ProgramFiles::Known& ProgramFiles::lookUp(const std::string& command) {
  const std::string file = programFileOfCommand(command);
  const auto found = known_.find(file);
  if (found != known_.end()) return found->second;
  Known& known = known_[file];
  std::string& written = known.facts.written;
  written = asWritten(command, file);
  const std::string asked = written;
  known.facts.exists = programFileExists(written);
  // Found as a bare name in the system folder: the full path, as programFileExists gives it.
  known.facts.file = written == asked ? file : written;
  return known;
}

const ProgramFiles::Facts& ProgramFiles::of(const std::string& command) { return lookUp(command).facts; }

const VersionRecord& ProgramFiles::versionOf(const std::string& command) {
  Known& known = lookUp(command);
  if (!known.versionRead && known.facts.exists) readVersionRecord(known.facts.written, known.version);
  known.versionRead = true;
  return known.version;
}

FolderListings::FolderListings() {
  if (folders) return;
  folders = new std::unordered_map<std::string, Folder>();
  owner_ = true;
}

FolderListings::~FolderListings() {
  if (!owner_) return;
  delete folders;
  folders = nullptr;
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
