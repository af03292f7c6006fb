#pragma once
// Walking folders, reading what a file's directory entry says, and whole-file
// reads and writes.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "handles.h"

namespace tavrin {

// Called with an item's full path and attributes; returns true to stop the walk.
using FolderVisitor = std::function<bool(const std::string& path, DWORD attributes)>;

// Visits every item of the folder in the order the file system returns them,
// sub-folders first walked themselves while depth > 0; "." entries are skipped.
// Returns false when the walk was stopped by the visitor.
bool walkFolder(const std::string& folder, int depth, const FolderVisitor& visit);

struct FileFacts {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;  // UTC, 100-ns units since 1601
  DWORD attributes = 0;
};
// False when the path names nothing.
bool readFileFacts(const std::string& path, FileFacts& facts);

// The 8.3 form of an existing path; empty when there is none.
std::string shortPathName(const std::string& path);

// At most `limit` bytes from the start of the file; false when it cannot be
// opened or read (`out` is then empty). Others may keep writing to it.
bool readFileText(const std::string& path, std::size_t limit, std::string& out);
// Creates or replaces the file with the text; false when not all of it was
// written or the file did not close cleanly.
bool writeFileText(const std::string& path, const std::string& text);
// A new empty file in the folder of `path`, for a replacement made beside it;
// empty when none could be made.
std::string temporaryFileBeside(const std::string& path);
// Moves `source` over `target` in one step (on Windows 9x, which has no
// MoveFileEx, by deleting the target first); false when it could not.
bool moveOver(const std::string& source, const std::string& target);
// Appends to the file, creating it when missing.
bool appendFileText(const std::string& path, const std::string& text);

// A file written anew piece by piece, for output too large to build in
// memory first. The first failure (create, write or close) is kept with its
// system error; later writes do nothing.
class FileWriter {
 public:
  explicit FileWriter(const std::string& path);
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  FileWriter& operator<<(std::string_view text);
  // Writes what is buffered and closes the file; true when all was written.
  bool close();
  DWORD error() const { return error_; }

 private:
  void flush();
  UniqueFile file_;
  std::string buffer_;
  DWORD error_ = 0;
};

// Starts notepad.exe on the file (quoted), in `folder` when given; false when
// it could not be started (the last error says why).
bool openInNotepad(const std::string& path, const std::string& folder = "");

}  // namespace tavrin
