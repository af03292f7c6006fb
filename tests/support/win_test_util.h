#pragma once
// Small helpers for tests that run under Wine against the real registry and files.
#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

// The folder the programs are installed in for the test run.
std::string programDir();
// Folder of the running test program.
std::string testDir();
// A fresh empty folder under the prefix's temporary folder.
std::string freshFolder(const std::string& name);
// Deletes the folder with everything in it.
void removeFolder(const std::string& folder);

std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& content);
std::vector<std::string> lines(const std::string& text);
// The file system's 8.3 form of an existing path; empty when it has none.
std::string shortPathOf(const std::string& path);

// Whole registry trees (tests clean up what they touched).
void deleteTree(HKEY root, const std::string& path);
void deleteValue(HKEY root, const std::string& path, const std::string& name);
bool setString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
               DWORD type = REG_SZ);
bool setBinary(HKEY root, const std::string& path, const std::string& name, const std::string& bytes,
               DWORD type = REG_BINARY);
// The stored text up to its first zero byte; "<missing>" when there is no such value.
std::string valueOf(HKEY root, const std::string& path, const std::string& name);
// The names of the key's values, in the registry's order; none when the key is missing.
std::vector<std::string> valueNames(HKEY root, const std::string& path);
// The raw stored data and its type; false when missing.
bool rawValue(HKEY root, const std::string& path, const std::string& name, std::string& data, DWORD& type);

// Remembers the values of registry keys and puts them back (and removes values
// added since) when it goes out of scope. Sub-keys are left alone.
class RegistrySnapshot {
 public:
  RegistrySnapshot(HKEY root, std::vector<std::string> paths);
  ~RegistrySnapshot();
  RegistrySnapshot(const RegistrySnapshot&) = delete;
  RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;
  // Removes every value of the remembered keys.
  void clearValues() const;

 private:
  struct SavedValue {
    std::string name, data;
    DWORD type;
  };
  struct SavedKey {
    std::string path;
    std::vector<SavedValue> values;
  };
  HKEY root_;
  std::vector<SavedKey> keys_;
};

// win.ini's program lists ([windows] load= and run=): read, and put back as they were at the end of the scope.
std::string winIniPrograms(const char* key);
class WinIniPrograms {
 public:
  WinIniPrograms() : load_(winIniPrograms("load")), run_(winIniPrograms("run")) {}
  ~WinIniPrograms() {
    WriteProfileStringA("windows", "load", load_.c_str());
    WriteProfileStringA("windows", "run", run_.c_str());
  }
  WinIniPrograms(const WinIniPrograms&) = delete;
  WinIniPrograms& operator=(const WinIniPrograms&) = delete;

 private:
  std::string load_, run_;
};

// Grants only reading on an existing key until the end of the scope, so that
// writes into it fail as they would for a user without rights.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, std::string path);
  ~ReadOnlyKey();
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  bool ok() const { return ok_; }

 private:
  bool setAccess(DWORD rights);
  HKEY root_;
  std::string path_;
  bool ok_ = false;
};

}  // namespace testutil
