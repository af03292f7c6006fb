#pragma once
// Walking folders.
#include <windows.h>

#include <functional>
#include <string>

namespace tavrin {

// Called with an item's full path and attributes; returns true to stop the walk.
using FolderVisitor = std::function<bool(const std::string& path, DWORD attributes)>;

// Visits every item of the folder in the order the file system returns them,
// sub-folders first walked themselves while depth > 0; "." entries are skipped.
// Returns false when the walk was stopped by the visitor.
bool walkFolder(const std::string& folder, int depth, const FolderVisitor& visit);

}  // namespace tavrin
