#pragma once
// Shortcut (.lnk) files through the shell's link object. The calling thread
// must have initialised COM; otherwise both functions return the creation
// error.
#include <windows.h>

#include <string>

namespace tavrin {

struct ResolvedShortcut {
  // The code of reading the target path when the link resolved; otherwise
  // the code of the step that stopped (creating the object, loading the file,
  // resolving).
  HRESULT result = E_FAIL;
  bool resolved = false;    // the resolve answered S_OK
  std::string target;       // short form of the target path, up to 259 characters
  std::string description;  // up to 259 characters
};

// Loads a shortcut and resolves it without any user interface, giving up
// after 500 ms. Critical-error dialogs (an empty floppy or CD drive) are off
// meanwhile. Target and description are read only when the link resolved;
// the target stays empty when reading it failed. Any other code of the
// resolve comes back as it is, with both texts empty: the caller decides what
// a non-error code other than 0 means to the user. A shortcut path longer
// than a Windows path gives HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE).
ResolvedShortcut resolveShortcut(const std::string& shortcutPath);

struct ShortcutFields {
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string description;
  std::string iconFile;
  int iconIndex = 0;
};

// Writes a shortcut file (replacing one that exists). The result of the save,
// or the first error of creating the link object or setting a field.
HRESULT writeShortcut(const std::string& shortcutPath, const ShortcutFields& fields);

}  // namespace tavrin
