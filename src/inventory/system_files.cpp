#include "system_files.h"

#include <cstdlib>

#include "base/file_watch_rules.h"
#include "base/text.h"
#include "data_folder.h"
#include "date_text.h"
#include "options.h"
#include "string_loader.h"
#include "string_ids.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

std::string keyOf(const std::string& shortName) { return std::string(kSysfilesKey) + "\\" + shortName; }

FileStamp stampOf(const FileFacts& facts) {
  FileStamp stamp;
  CalendarTime local;
  if (localTimeOfFileTime(facts.writeTime, local)) stamp.date = dateTimeTextOf(local);
  stamp.size = std::to_string(facts.size);
  stamp.writeTime = facts.writeTime;
  return stamp;
}

bool readLiveStamp(const std::string& path, FileStamp& stamp) {
  FileFacts facts;
  if (!readFileFacts(path, facts) || (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  stamp = stampOf(facts);
  return true;
}

void storeDate(const std::string& key, const FileStamp& stamp) {
  reg::writeString(HKEY_LOCAL_MACHINE, key, "Date", stamp.date);
  // The date text has minutes only; the exact time tells an edit within the minute.
  reg::writeString(HKEY_LOCAL_MACHINE, key, "WriteTime", std::to_string(stamp.writeTime));
}

std::string readValue(const std::string& key, const char* name) {
  std::string text;
  reg::readString(HKEY_LOCAL_MACHINE, key, name, text);
  return text;
}

// Keeps the last error of a failed step across the clean-up after it.
struct ErrorKeeper {
  DWORD error = GetLastError();
  ~ErrorKeeper() { SetLastError(error); }
};

DWORD clearAttributes(const std::string& path, DWORD mask) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & mask))
    SetFileAttributesA(path.c_str(), attributes & ~mask);
  return attributes;
}

void putAttributesBack(const std::string& path, DWORD attributes) {
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
}

// A plain copy for the kept copy, which is ours.
bool copyOverKeptCopy(const std::string& live, const std::string& kept) {
  const DWORD liveAttributes = clearAttributes(live, FILE_ATTRIBUTE_READONLY);
  const DWORD keptAttributes = clearAttributes(kept, FILE_ATTRIBUTE_READONLY);
  const bool copied = CopyFileA(live.c_str(), kept.c_str(), FALSE) != FALSE;
  ErrorKeeper keep;
  putAttributesBack(live, liveAttributes);
  putAttributesBack(kept, keptAttributes);
  return copied;
}

// The live file is replaced in one step from a copy beside it, so a failure
// half way never leaves it cut short.
bool replaceLiveFile(const std::string& kept, const std::string& live) {
  constexpr DWORD kProtecting = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const std::string temp = temporaryFileBeside(live);
  if (temp.empty()) return false;
  const DWORD keptAttributes = clearAttributes(kept, FILE_ATTRIBUTE_READONLY);
  bool replaced = CopyFileA(kept.c_str(), temp.c_str(), FALSE) != FALSE;
  const DWORD liveAttributes = replaced ? clearAttributes(live, kProtecting) : INVALID_FILE_ATTRIBUTES;
  if (replaced) replaced = moveOver(temp, live);
  ErrorKeeper keep;
  if (!replaced) DeleteFileA(temp.c_str());
  putAttributesBack(kept, keptAttributes);
  putAttributesBack(live, liveAttributes);
  return replaced;
}

}  // namespace

std::string hostsFilePath() { return hostsPathOf(isWindowsNtFamily(), windowsFolder(), systemFolder()); }

std::string keptCopyPath(const std::string& shortName) { return dataFolderPath() + "\\" + shortName; }

int registerSystemFile(const std::string& shortName, const std::string& path, const std::string& comment, int type) {
  const std::string key = keyOf(shortName);
  reg::createKey(HKEY_LOCAL_MACHINE, key);
  FileStamp stamp;
  if (!readLiveStamp(path, stamp)) return 0;
  storeDate(key, stamp);
  reg::writeString(HKEY_LOCAL_MACHINE, key, "Size", stamp.size);
  reg::writeString(HKEY_LOCAL_MACHINE, key, "Type", std::to_string(type));
  if (!comment.empty()) reg::writeString(HKEY_LOCAL_MACHINE, key, "Comment", comment);
  reg::writeString(HKEY_LOCAL_MACHINE, key, "Location", path);
  return copyOverKeptCopy(path, keptCopyPath(shortName)) ? 1 : 0;
}

void setUpWatchedSystemFiles() {
  reg::createKey(HKEY_LOCAL_MACHINE, kSysfilesKey);
  registerSystemFile("HOSTS", hostsFilePath(), "HOST file can be used to protect or redirect domain access.", 0);
  registerSystemFile("Autoexec.bat", "C:\\autoexec.bat", "Runs at system boot time at command level.", 0);
  registerSystemFile("Config.sys", "C:\\Config.sys", "Used at system boot time at command level.", 0);
  reg::writeString(HKEY_LOCAL_MACHINE, kSysfilesKey, "", currentDateTimeText());
}

std::vector<WatchedFile> watchedFiles() {
  std::vector<WatchedFile> files;
  std::vector<std::string> names;
  reg::readSubKeyNames(HKEY_LOCAL_MACHINE, kSysfilesKey, names);
  for (const std::string& name : names) {
    WatchedFile file;
    file.shortName = cut(name, 255);
    const std::string key = keyOf(file.shortName);
    if (reg::readString(HKEY_LOCAL_MACHINE, key, "Location", file.location, MAX_PATH) == 0) continue;
    file.comment = readValue(key, "Comment");
    file.type = static_cast<int>(leadingNumber(readValue(key, "Type")));
    files.push_back(file);
  }
  return files;
}

bool watchedFileChangedNow(const WatchedFile& file) {
  FileStamp live;
  if (!readLiveStamp(file.location, live)) return false;
  const std::string key = keyOf(file.shortName);
  FileStamp stored;
  stored.size = readValue(key, "Size");
  if (leadingNumber(stored.size) == 0) {
    reg::writeString(HKEY_LOCAL_MACHINE, key, "Size", live.size);
    stored.size = live.size;
  }
  if (reg::readString(HKEY_LOCAL_MACHINE, key, "Date", stored.date) == 0) {
    storeDate(key, live);
    return false;
  }
  stored.writeTime = static_cast<std::uint64_t>(std::strtoull(readValue(key, "WriteTime").c_str(), nullptr, 10));
  return watchedFileChanged(stored, live, file.type);
}

int acceptFileChange(const WatchedFile& file, bool stopWatching) {
  FileStamp live;
  if (!readLiveStamp(file.location, live)) return 0;
  if (!copyOverKeptCopy(file.location, keptCopyPath(file.shortName))) return 0;
  const std::string key = keyOf(file.shortName);
  // Without its Location the sub-key keeps the answer but is never examined.
  if (stopWatching) reg::deleteTree(HKEY_LOCAL_MACHINE, key);
  storeDate(key, live);
  reg::writeString(HKEY_LOCAL_MACHINE, key, "Size", live.size);
  return 1;
}

int rejectFileChange(const WatchedFile& file, bool stopWatching) {
  if (!replaceLiveFile(keptCopyPath(file.shortName), file.location)) return 0;
  if (stopWatching) reg::deleteTree(HKEY_LOCAL_MACHINE, keyOf(file.shortName));
  return 1;
}

int viewHostsFile(HWND owner) {
  const std::string hosts = hostsFilePath();
  if (!fileExists(hosts)) {
    messageBox(owner, loadString(IDS_HOSTS_NOT_FOUND), loadString(IDS_CAPTION, 32), MB_OK | MB_ICONINFORMATION,
               languageId());
    return 0;
  }
  return openInNotepad(hosts, folderOf(hosts)) ? 1 : 0;
}

}  // namespace tavrin
