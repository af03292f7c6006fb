#pragma once
// The program file behind a startup command, with the folder and variable
// values of this machine; existence tests that also look in the Windows and
// system folders; long path names; startup shortcuts; the Disabled folder.
#include <windows.h>

#include <string>

#include "base/command_text.h"
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

// Whether a program file exists (a folder does not count). A name shorter
// than 32 characters is also looked for in the Windows folder and then in the
// system folder; found in the system folder, `name` becomes the short form of
// its full path there. `name` changes in no other case.
bool programFileExists(std::string& name);

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
