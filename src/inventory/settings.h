#pragma once
// Options under HKEY_CURRENT_USER Software\Quennet\Tavrin\Options, the string
// loader with its registry overrides, and the start-up initialisation both
// programs run.
#include <windows.h>

#include <string>

namespace tavrin {

constexpr char kSystemKey[] = "Software\\Quennet\\Tavrin";
constexpr char kOptionsKey[] = "Software\\Quennet\\Tavrin\\Options";
constexpr char kMachineRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProductVersion[] = "12.0.2007.5";

// Missing or empty: the default; text not starting with a number: 0.
int readOption(const std::string& name, int defaultValue);
// Writes the decimal text, then Update = "1"; the result of the second write.
int writeOption(const std::string& name, int value);

// Primary language id passed to every message box; set by the start-up initialisation.
WORD languageId();
void setLanguageFromStrings();

// A string of the program's table, or its LString<id> override (machine-wide,
// consulted unless the language is 9), cut to `capacity` - 1 characters.
std::string loadString(UINT id, std::size_t capacity = 1024);

bool isWindowsNtFamily();

// Start-up initialisation of both programs: language, trace switch, begin line.
// `programName` goes into the begin line ("Tavrin", "TavrinEx").
void startupInitialisation(const char* programName);

// Whether the machine-wide Run key holds the Monitor's value (string 2, else 622).
bool isMonitorRegistered();
// On: the machine's Run key gets the Monitor's quoted path and the path is
// approved; off: both go. The result of the Run-key write or removal.
bool registerMonitor(bool on);

}  // namespace tavrin
