#pragma once
// Text rules that turn a startup command line into the program file it runs:
// the expansion of folder prefixes and variables, the scan for the program's
// extension, the split into program and parameters, the RUNDLL32 test and the
// small path-text helpers. The platform supplies the folder and variable
// values; everything here is decided on the text alone.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tavrin {

// Widest program file, folder or path text the startup code keeps.
constexpr std::size_t kPathWidth = 259;
// Bare names shorter than this are also looked for in the Windows and system folders.
constexpr std::size_t kBareNameLimit = 32;
// Used when the registry does not say where programs are installed.
constexpr char kDefaultProgramFilesFolder[] = "C:\\Program Files";

// What the expansion of a command needs from the platform.
struct CommandExpansion {
  // Stands for "\SystemRoot\" and "%SystemRoot%\" at the start of a command.
  std::string windowsFolder;
  // Value of the variable written %name% (the name without the percent
  // signs); false when it has none, and the text then stays as written.
  std::function<bool(const std::string& name, std::string& value)> variable;
};

// The command with a leading "\SystemRoot\" or "%SystemRoot%\" (any case,
// possibly after an opening quote) replaced by the Windows folder, and every
// %name% the `variable` lookup knows replaced by its value; at most
// kPathWidth characters.
std::string expandCommand(std::string_view command, const CommandExpansion& values);

// Which extensions end the program part of a command: the second letter after
// the dot is X or L (.EXE, .DLL ...), or for a split also P (.CPL).
enum class ExtensionStop { ProgramOrLibrary, ProgramLibraryOrApplet };

struct ProgramScan {
  std::string programFile;  // upper case, from the last drive letter (or after an opening quote) on
  std::size_t end = 0;      // position in the scanned text just after the extension; its length when none
};

// Copies the text in upper case up to and including the first extension that
// `stop` accepts; the last ":" before it moves the start to the drive letter.
ProgramScan scanProgramFile(std::string_view text, ExtensionStop stop);

// Program file of a command: expansion, then the scan (.EXE, .DLL ...).
// Upper case, at most kPathWidth characters.
std::string programFileText(std::string_view command, const CommandExpansion& values);

struct CommandParts {
  std::string programFile;  // upper case, before any long-path conversion
  std::string parameters;   // the command as given, from just after the program's extension
};

// Split of a command for the Delayed Start list: the scan also stops at .CPL.
// The parameters are taken from the command as given, at the position that
// corresponds to the end of the program in the expanded text, so expanded
// prefixes do not shift them. A quoted program loses its closing quote;
// leading blanks of the parameters stay.
CommandParts splitCommandText(std::string_view command, const CommandExpansion& values);

struct RundllTest {
  bool runsLibrary = false;  // the command starts a DLL through RUNDLL32.EXE
  std::string text;          // what follows RUNDLL32.EXE, or the command unchanged
};

// For "...\RUNDLL32.EXE x.dll,Entry" the text is "x.dll,Entry" (at most
// kPathWidth characters); a quote closing the RUNDLL32 path and the blanks
// after it are skipped.
RundllTest rundllTest(std::string_view command);

std::string removeQuotes(std::string_view text);
// Text after the last backslash (all of it when there is none).
std::string fileNamePart(std::string_view path);
// Position where fileNamePart begins.
std::size_t fileNamePosition(std::string_view path);
std::string removeLeadingBlanks(std::string_view text);
// An empty text stays empty: there is no folder to end.
std::string addTrailingBackslash(std::string_view text);
// Removes one trailing backslash, except from a drive root such as "C:\".
std::string removeTrailingBackslash(std::string_view text);
bool isDriveRoot(std::string_view text);

// Folder part of a program path: everything before the last backslash, with
// the backslash kept for a drive ("C:\"). Empty for a text without a
// backslash, which the caller looks for in the system's folders.
std::string folderPartOf(std::string_view path);

// Display name of an entry whose name is empty: the file-name part of its
// program path without a three-letter extension.
std::string nameFromProgramPath(std::string_view programPath);

}  // namespace tavrin
