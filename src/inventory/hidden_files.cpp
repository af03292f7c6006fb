#include "hidden_files.h"

#include <windows.h>
#include <shellapi.h>

#include "base/entry_tables.h"
#include "base/file_watch_rules.h"
#include "data_folder.h"
#include "date_text.h"
#include "history.h"
#include "processes.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/handles.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr std::size_t kHiddenPathWidth = 259;
// Processes running one file are few; the search ends anyway.
constexpr int kStopAttempts = 8;

struct ScannedFolder {
  std::string path;
  int depth;
};

std::vector<ScannedFolder> scannedFolders() {
  std::vector<ScannedFolder> folders = {{"C:\\", 0}, {windowsFolder(), 0}, {systemFolder(), 1}};
  std::string commonFiles;
  if (reg::readString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                      commonFiles) > 0)
    folders.push_back({commonFiles, 1});
  folders.push_back({tempFolder(), 1});
  return folders;
}

// Each process running the file is stopped once; one that will not stop is not tried again.
void stopProcessesOf(const std::string& path, const std::string& displayName) {
  DWORD last = 0;
  for (int i = 0; i < kStopAttempts; ++i) {
    const DWORD id = findProcessOfProgram(path);
    if (id == 0 || id == last) break;
    last = id;
    stopProgram(path, displayName, false, "");
  }
}

bool copyOver(const std::string& from, const std::string& to) {
  // An earlier copy may be read-only; the copy must replace it.
  const DWORD old = GetFileAttributesA(to.c_str());
  if (old != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

int registerRestartDeletion(const std::string& path) {
  if (isWindowsNtFamily()) return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
  // The restart program of 9x knows only 8.3 names.
  const std::string shortPath = shortPathName(path);
  if (shortPath.empty()) return 0;
  const std::string restartFile = windowsFolder() + "\\wininit.ini";
  std::string before;
  if (fileExists(restartFile) && !readFileText(restartFile, 1u << 20, before)) return 0;
  const std::string after = addRestartDeletion(before, shortPath);
  // Appending cannot lose what the file held; only an insert rewrites it.
  if (after.compare(0, before.size(), before) == 0)
    return appendFileText(restartFile, after.substr(before.size())) ? 1 : 0;
  return writeFileText(restartFile, after) ? 1 : 0;
}

}  // namespace

int enumerateHiddenFiles(EntryList& list) {
  list.clear();
  for (const ScannedFolder& folder : scannedFolders()) {
    if (folder.path.empty()) continue;
    const bool complete = walkFolder(folder.path, folder.depth, [&](const std::string& path, DWORD attributes) {
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & FILE_ATTRIBUTE_HIDDEN)) return false;
      if (path.size() > kHiddenPathWidth) return false;
      VersionRecord version;
      readVersionRecord(path, version);
      return list.add(version.productName, path, path, "", typecode::kHiddenFile,
                      (attributes & FILE_ATTRIBUTE_SYSTEM) ? 0 : 1) == 0;
    });
    if (!complete) break;  // the list is full
  }
  return list.count();
}

std::string vaultSlotPath(const std::string& path) { return vaultFolder() + "\\" + vaultSlotName(path); }

int quarantineFile(const std::string& displayName, const std::string& path) {
  stopProcessesOf(path, displayName);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Deleting what never reached the vault would lose the file for good.
  const bool deleted = copyOver(path, vaultSlotPath(path)) && DeleteFileA(path.c_str());
  if (deleted)
    writeHistory(displayName, path, "", typecode::kHiddenFile, action::kHiddenDeleteFile);
  else if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(path.c_str(), attributes);
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedHiddenKey, path);
  return deleted ? 1 : 0;
}

int restoreFromVault(const std::string& path) {
  std::string slot = vaultSlotPath(path);
  if (!fileExists(slot)) slot = vaultFolder() + "\\" + oldVaultSlotName(path);
  if (!fileExists(slot) || !copyOver(slot, path)) return 0;
  // Approved before it is hidden, so a patrol running meanwhile never asks about it.
  approveHiddenFile(path);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(slot.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(slot.c_str()) ? 1 : 0;
}

int deleteAtRestart(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (registerRestartDeletion(path)) return 1;
  // A file that will not go keeps what it was; the caller reports the first error.
  const DWORD error = GetLastError();
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
  SetLastError(error);
  return 0;
}

int unhideFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  const DWORD kept = attributes & ~FILE_ATTRIBUTE_HIDDEN;
  return SetFileAttributesA(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) ? 1 : 0;
}

bool viewInNotepad(const std::string& path) {
  const std::string notepad = windowsFolder() + "\\notepad.exe", quoted = "\"" + path + "\"";
  return reinterpret_cast<INT_PTR>(
             ShellExecuteA(nullptr, "open", notepad.c_str(), quoted.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

bool lastWrittenText(const std::string& path, std::string& out) {
  out.clear();
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  FILETIME written;
  if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written)) return false;
  CalendarTime local;
  if (localTimeOfFileTime((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime, local))
    out = dateTimeTextOf(local);
  return true;
}

bool isHiddenFileApproved(const std::string& path) {
  std::string date;
  return reg::readString(HKEY_CURRENT_USER, kApprovedHiddenKey, path, date) > 0;
}

void approveHiddenFile(const std::string& path) {
  reg::writeString(HKEY_CURRENT_USER, kApprovedHiddenKey, path, currentDateTimeText());
}

}  // namespace tavrin
