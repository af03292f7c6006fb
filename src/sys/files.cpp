#include "files.h"

#include <shellapi.h>

#include <vector>

#include "handles.h"
#include "paths.h"

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

bool readFileFacts(const std::string& path, FileFacts& facts) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.writeTime =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  facts.attributes = data.dwFileAttributes;
  return true;
}

std::string shortPathName(const std::string& path) {
  std::vector<char> buffer(MAX_PATH + 1);
  DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (n == 0 || n >= buffer.size()) return "";
  return std::string(buffer.data(), n);
}

bool readFileText(const std::string& path, std::size_t limit, std::string& out) {
  out.clear();
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string text(limit, '\0');
  DWORD read = 0;
  if (limit > 0 && !ReadFile(file.get(), &text[0], static_cast<DWORD>(limit), &read, nullptr)) return false;
  text.resize(read);
  out.swap(text);
  return true;
}

namespace {
bool writeAll(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return text.empty() ||
         (WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size());
}

// A short write (a full disk) leaves no error code of its own.
DWORD lastErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error ? error : fallback;
}
}  // namespace

bool writeFileText(const std::string& path, const std::string& text) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The close counts too: a write the system could not finish shows up there.
  return file && writeAll(file.get(), text) && CloseHandle(file.release());
}

std::string temporaryFileBeside(const std::string& path) {
  char temp[MAX_PATH + 1] = {};
  return GetTempFileNameA(folderOf(path).c_str(), "tvr", 0, temp) ? temp : "";
}

bool moveOver(const std::string& source, const std::string& target) {
  if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED && DeleteFileA(target.c_str()) &&
         MoveFileA(source.c_str(), target.c_str());
}

bool appendFileText(const std::string& path, const std::string& text) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) return false;
  return writeAll(file.get(), text);
}

FileWriter::FileWriter(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (!file_) error_ = lastErrorOr(ERROR_CANNOT_MAKE);
}

FileWriter& FileWriter::operator<<(std::string_view text) {
  if (error_) return *this;
  buffer_ += text;
  if (buffer_.size() >= 65536) flush();
  return *this;
}

void FileWriter::flush() {
  SetLastError(0);
  if (!error_ && !buffer_.empty() && !writeAll(file_.get(), buffer_)) error_ = lastErrorOr(ERROR_WRITE_FAULT);
  buffer_.clear();
}

bool FileWriter::close() {
  flush();
  if (file_ && !CloseHandle(file_.release()) && !error_) error_ = lastErrorOr(ERROR_WRITE_FAULT);
  return error_ == 0;
}

bool openInNotepad(const std::string& path, const std::string& folder) {
  const std::string parameters = "\"" + path + "\"";
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "notepad.exe", parameters.c_str(),
                                                             folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace tavrin
