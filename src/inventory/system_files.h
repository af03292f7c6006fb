#pragma once
// The watched system files (HOSTS, the boot files Autoexec.bat and
// Config.sys, and any other registered under Sysfiles) with their kept
// copies in the data folder. The Monitor compares each live file with what
// was registered and lets the user accept (the copy is refreshed) or reject
// (the copy is written back) a change.
#include <windows.h>

#include <string>
#include <vector>

namespace tavrin {

// HKEY_LOCAL_MACHINE; one sub-key per file, named by its short name.
constexpr char kSysfilesKey[] = "Software\\Quennet\\Tavrin\\Sysfiles";

// Registers the built-in files and dates the registration (the key's
// default value). Run by the start-up of either program while that date is missing.
void setUpWatchedSystemFiles();

std::string hostsFilePath();
// The kept copy of a registered file: the data folder + its short name.
std::string keptCopyPath(const std::string& shortName);

// Writes the file's Date, Size, Type, Comment (when not empty) and Location
// and keeps a copy of it. 1 when the file exists and the copy was made; a
// missing file leaves an empty sub-key, which is never examined.
int registerSystemFile(const std::string& shortName, const std::string& path, const std::string& comment, int type);

struct WatchedFile {
  std::string shortName, location, comment;
  int type = 0;
};
// Every registered file that has a Location.
std::vector<WatchedFile> watchedFiles();

// Whether the live file changed since it was registered or accepted. A
// missing stored size or date is taken from the live file (the date then
// counts as unchanged); a missing file has not changed.
bool watchedFileChangedNow(const WatchedFile& file);

// Accept: the live file becomes the kept copy, then its date and size are
// stored. Reject: the kept copy replaces the live file (which keeps its
// attributes). With `stopWatching`, the sub-key goes (accept keeps the date
// and size without a Location, so the file is never examined again). Nothing
// is stored or dropped when the copy failed: 0, with the last error set.
int acceptFileChange(const WatchedFile& file, bool stopWatching);
int rejectFileChange(const WatchedFile& file, bool stopWatching);

// The Options page's View HOSTS: Notepad in the HOSTS folder; without a
// HOSTS file, message 736 and nothing is created. 1 when Notepad started.
int viewHostsFile(HWND owner);

}  // namespace tavrin
