#include "files.h"

#include "handles.h"

namespace tavrin {

bool walkFolder(const std::string& folder, int depth, const FolderVisitor& visit) {
  std::string base = folder;
  if (base.empty() || base.back() != '\\') base += '\\';
  WIN32_FIND_DATAA found;
  UniqueFind search(FindFirstFileA((base + "*.*").c_str(), &found));
  if (!search) return true;
  do {
    const std::string path = base + found.cFileName;
    const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory && found.cFileName[0] == '.') continue;
    if (directory && depth > 0 && !walkFolder(path, depth - 1, visit)) return false;
    if (visit(path, found.dwFileAttributes)) return false;
  } while (FindNextFileA(search.get(), &found));
  return true;
}

}  // namespace tavrin
