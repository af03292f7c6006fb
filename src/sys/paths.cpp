#include "paths.h"

#include <vector>

namespace tavrin {
namespace {

template <typename Fill>
std::string sizedText(Fill fill) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    UINT n = fill(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() < n ? n + 1 : buffer.size() * 2);
    if (buffer.size() > 32768) return std::string();
  }
}

}  // namespace

std::string moduleFileName(HMODULE module) {
  return sizedText([module](char* b, UINT n) { return static_cast<UINT>(GetModuleFileNameA(module, b, n)); });
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string programFolder() { return folderOf(moduleFileName()); }

std::string windowsFolder() {
  return sizedText([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
}

std::string systemFolder() {
  return sizedText([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
}

bool expandEnvironment(const std::string& text, std::string& out) {
  out.clear();
  DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) return false;
  // Windows 9x answers in characters, NT sometimes one more: leave room.
  std::vector<char> buffer(size + 2);
  const DWORD written = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (written == 0 || written > buffer.size()) return false;
  out.assign(buffer.data());
  return true;
}

std::string tempFolder() {
  std::string folder = sizedText([](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HMODULE loadSystemLibrary(const std::string& fileName) {
  const std::string folder = systemFolder();
  if (folder.empty()) return nullptr;
  return LoadLibraryA((folder + "\\" + fileName).c_str());
}

HMODULE loadProgramFolderLibrary(const std::string& fileName) {
  const std::string folder = programFolder();
  if (folder.empty()) return nullptr;
  return LoadLibraryA((folder + "\\" + fileName).c_str());
}

}  // namespace tavrin
