#include "data_folder.h"

#include <windows.h>

#include "base/page_rules.h"
#include "program_file.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

int dataFolder(std::string& out) {
  std::string appData;
  if (reg::readString(HKEY_CURRENT_USER, kShellFolders, "AppData", appData, MAX_PATH) > 0) {
    if (appData.back() == '\\') appData.pop_back();
    const std::string folder = appData + "\\Tavrin";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\vault").c_str(), nullptr);
    if (isFolder(folder + "\\vault")) {
      out = folder;
      return 1;
    }
  }
  out = programFolder();
  return out.empty() ? 0 : 1;
}

std::string dataFolderPath() {
  std::string folder;
  dataFolder(folder);
  return folder;
}

std::string vaultFolder() {
  const std::string vault = dataFolderPath() + "\\vault";
  CreateDirectoryA(vault.c_str(), nullptr);
  return vault;
}

std::string existingNoteFile(const std::string& programPath) {
  const std::string name = noteFileName(programFileOfCommand(programPath));
  for (const std::string& folder : {programFolder(), dataFolderPath()}) {
    const std::string path = folder + "\\" + name;
    if (fileExists(path)) return path;
  }
  return "";
}

}  // namespace tavrin
