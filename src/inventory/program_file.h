#pragma once
// The program file behind a startup command, with the folder and variable
// values of this machine; existence tests that also look in the Windows and
// system folders; long path names; startup shortcuts; the Disabled folder.
#include <windows.h>

#include <string>
#include <unordered_map>

#include "base/command_text.h"
#include "base/version_record.h"
#include "sys/shortcut.h"

namespace tavrin {

// This machine's values for the expansion of commands: the Windows folder,
// %ProgramFiles% from the registry's ProgramFilesDir (else the usual
// folder), any other variable from the environment.
CommandExpansion machineExpansion();

// Upper case, arguments removed, at most 259 characters.
std::string programFileOfCommand(const std::string& command);

// For the Delayed Start list: the program file in its long-path form and the
// parameters as given (see splitCommandText).
CommandParts splitCommand(const std::string& command);

// The long form of a path that exists; the path as given when it does not, on
// Windows 95 (which lacks the conversion) and for anything else the
// conversion refuses, such as a whole command line.
std::string longPathForm(const std::string& path);

// While one lives on a thread (an enumeration, a first run, a page's fill),
// longPathForm and programFileExists on that thread first look for each part
// of a path in its folder's listing, read once, before they ask the file
// system: Wine answers a name that is not there by reading the whole folder,
// an enumeration asks about thousands of command lines, which name no file,
// and a first run about hundreds of program files.
class FolderListings {
 public:
  FolderListings();
  ~FolderListings();
  FolderListings(const FolderListings&) = delete;
  FolderListings& operator=(const FolderListings&) = delete;

 private:
  bool owner_ = false;
};

// Whether a program file exists (a folder does not count). A name shorter
// than 32 characters is also looked for in the Windows folder and then in the
// system folder; found in the system folder, `name` becomes the short form of
// its full path there. `name` changes in no other case.
bool programFileExists(std::string& name);

// A page's questions about the program files of its rows, each file looked up
// once however many rows name it: a crowded machine lists thousands of rows
// and a few hundred files. Cleared when the page fills again.
class ProgramFiles {
 public:
  struct Facts {
    std::string file;     // programFileOfCommand, as programFileExists leaves it
    std::string written;  // the same file as the command writes it: what to open
    bool exists = false;
  };
  const Facts& of(const std::string& command);
  // The version texts of the command's program file; empty when there is none.
  const VersionRecord& versionOf(const std::string& command);
  void clear() { known_.clear(); }

 private:
  struct Known {
    Facts facts;
    bool versionRead = false;
    VersionRecord version;
  };
  Known& lookUp(const std::string& command);
  // By program file: the rows of one program differ in their arguments.
  std::unordered_map<std::string, Known> known_;
};

// Folder of a program path ("C:\" for a file in a drive's root); for a bare
// name, the Windows or system folder that holds it. Empty when there is no
// answer.
std::string folderOfProgram(const std::string& path);

// resolveShortcut for the startup lists: a shortcut whose resolve answers a
// non-error code other than 0 is described as string 730 ("Local File not
// found.").
ResolvedShortcut resolveStartupShortcut(const std::string& shortcutPath);

// The folder "Disabled" in the program folder, where disabled Startup-folder
// files are kept; empty when the program folder is unknown or longer than 260
// characters.
std::string disabledFolder();
// Creates the Disabled folder when it is missing; 1 when it exists afterwards.
int createDisabledFolder();

}  // namespace tavrin
