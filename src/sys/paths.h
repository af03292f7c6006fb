#pragma once
// Folders of the running program and of the system, and loading of libraries
// by full path only: the default search order would load a DLL planted in the
// current folder.
#include <windows.h>

#include <string>

namespace tavrin {

// Full file name of a module (nullptr: the running program).
std::string moduleFileName(HMODULE module = nullptr);
// Folder of the running program's file, without a trailing backslash.
std::string programFolder();
std::string windowsFolder();
std::string systemFolder();
// The temporary-files folder, without a trailing backslash.
std::string tempFolder();
// Everything before the last backslash (the whole text when there is none).
std::string folderOf(const std::string& path);
bool fileExists(const std::string& path);
// Environment variables expanded, at any length; false when the expansion fails.
bool expandEnvironment(const std::string& text, std::string& out);

HMODULE loadSystemLibrary(const std::string& fileName);
HMODULE loadProgramFolderLibrary(const std::string& fileName);

}  // namespace tavrin
