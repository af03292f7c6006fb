#include "win_test_util.h"

#include <aclapi.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>

#include "sys/paths.h"

namespace testutil {

std::string programDir() {
  char buffer[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("TAVRIN_PROGRAM_DIR", buffer, sizeof buffer);
  return n && n < sizeof buffer ? std::string(buffer, n) : std::string("C:\\Program Files\\Tavrin");
}

std::string testDir() { return tavrin::programFolder(); }

void removeFolder(const std::string& folder) {
  std::string doubleNull = folder + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = doubleNull.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&op);
}

std::string freshFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "tavrin-" + name;
  removeFolder(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

bool writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  return static_cast<bool>(out);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
    start = end + 1;
  }
  return out;
}

std::string shortPathOf(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void deleteTree(HKEY root, const std::string& path) { SHDeleteKeyA(root, path.c_str()); }

void deleteValue(HKEY root, const std::string& path, const std::string& name) {
  SHDeleteValueA(root, path.c_str(), name.c_str());
}

bool setBinary(HKEY root, const std::string& path, const std::string& name, const std::string& bytes, DWORD type) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG result = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool setString(HKEY root, const std::string& path, const std::string& name, const std::string& value, DWORD type) {
  return setBinary(root, path, name, std::string(value.c_str(), value.size() + 1), type);
}

std::string valueOf(HKEY root, const std::string& path, const std::string& name) {
  std::string data;
  DWORD type = 0;
  return rawValue(root, path, name, data, type) ? std::string(data.c_str()) : std::string("<missing>");
}

bool rawValue(HKEY root, const std::string& path, const std::string& name, std::string& data, DWORD& type) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (result == ERROR_SUCCESS) {
    data.resize(size);
    result = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    data.resize(size);
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::string winIniPrograms(const char* key) {
  char buffer[4096] = {};
  GetProfileStringA("windows", key, "", buffer, sizeof buffer);
  return buffer;
}

std::vector<std::string> valueNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    LONG result = RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

RegistrySnapshot::RegistrySnapshot(HKEY root, std::vector<std::string> paths) : root_(root) {
  for (const std::string& path : paths) {
    SavedKey saved{path, {}};
    for (const std::string& name : valueNames(root, path)) {
      SavedValue value{name, "", REG_NONE};
      if (rawValue(root, path, name, value.data, value.type)) saved.values.push_back(value);
    }
    keys_.push_back(saved);
  }
}

void RegistrySnapshot::clearValues() const {
  for (const SavedKey& key : keys_)
    for (const std::string& name : valueNames(root_, key.path)) deleteValue(root_, key.path, name);
}

RegistrySnapshot::~RegistrySnapshot() {
  clearValues();
  for (const SavedKey& key : keys_)
    for (const SavedValue& value : key.values) setBinary(root_, key.path, value.name, value.data, value.type);
}

ReadOnlyKey::ReadOnlyKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
  ok_ = setAccess(KEY_READ);
}

ReadOnlyKey::~ReadOnlyKey() { setAccess(KEY_ALL_ACCESS); }

bool ReadOnlyKey::setAccess(DWORD rights) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, path_.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSA access{};
  access.grfAccessPermissions = rights | READ_CONTROL | WRITE_DAC;
  access.grfAccessMode = SET_ACCESS;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
  PACL acl = nullptr;
  const bool done = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS &&
                    SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
  if (acl) LocalFree(acl);
  FreeSid(everyone);
  RegCloseKey(key);
  return done;
}

}  // namespace testutil
