#pragma once
// Rules of the hidden-file vault, the watched system files and the restart
// file (wininit.ini), decided on text alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

// Vault slot of a quarantined file: its file name followed by a hash of its
// whole path, so files of one name from different folders keep their own
// slots. Slots written before were named by the file name alone; restoring
// still looks there when the new slot is missing.
std::string vaultSlotName(std::string_view path);
std::string oldVaultSlotName(std::string_view path);

// HOSTS: on the NT family below the system folder, else in the Windows folder.
std::string hostsPathOf(bool ntFamily, std::string_view windowsFolder, std::string_view systemFolder);

// What is recorded of a watched file, and what the live file shows.
struct FileStamp {
  std::string date;          // date-time text of the last write (minutes)
  std::string size;          // decimal text
  std::uint64_t writeTime = 0;  // exact last-write time; 0 when not recorded
};

// A watched file changed when its date differs and, for the built-in files
// (type 0), its size differs too, so touching a file alone raises nothing.
// The date compares the exact write times when both are known: the date text
// only has minutes, and an edit within the minute of the record would
// otherwise never be noticed.
bool watchedFileChanged(const FileStamp& stored, const FileStamp& live, int type);

// The restart file after adding "NUL=<shortPath>" to its [rename] section;
// the section header is added when missing. When the section is the last
// one (or new), the result is the old text with lines appended.
std::string addRestartDeletion(std::string_view restartFile, std::string_view shortPath);

// Largest part of the restart file shown.
constexpr std::size_t kRestartTextLimit = 16384;
// The restart file as shown: at most kRestartTextLimit bytes, every line
// break as CR LF, zero bytes as blanks.
std::string restartCommandsDisplay(std::string_view restartFile);

}  // namespace tavrin
