#include "registry.h"

#include <shlwapi.h>

#include "handles.h"
#include "trace.h"

namespace tavrin::reg {
namespace {

UniqueKey openKey(HKEY root, const std::string& path, REGSAM access) {
  UniqueKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

// Expands environment variables at whatever length they need; false when
// the expansion fails.
bool expand(const std::string& text, std::string& out) {
  std::vector<char> buffer(text.size() + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return false;
    if (needed <= buffer.size()) {
      out.assign(buffer.data());
      return true;
    }
    buffer.resize(needed);  // a variable changed in between: once more, larger
  }
  return false;
}

// The value's data at its real size: asked for its size, read, and asked
// again when it grew in between. False when missing.
bool queryData(HKEY key, const std::string& name, std::vector<BYTE>& data, DWORD& type) {
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  for (int attempt = 0; attempt < 4; ++attempt) {
    data.resize(size + 1);
    size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
    if (result == ERROR_SUCCESS) {
      data.resize(size);
      return true;
    }
    if (result != ERROR_MORE_DATA) return false;
  }
  return false;
}

}  // namespace

int createKey(HKEY root, const std::string& path) {
  UniqueKey key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS) {
    key.release();
    trace::line("ERROR RegCreateKey", path);
    return 0;
  }
  return 1;
}

int readString(HKEY root, const std::string& path, const std::string& name, std::string& out,
               std::size_t capacity) {
  out.clear();
  std::string text;
  {
    UniqueKey key = openKey(root, path, KEY_READ);
    if (!key) return 0;
    std::vector<BYTE> data;
    DWORD type = 0;
    if (!queryData(key.get(), name, data, type)) return 0;
    // Data need not be terminated (binary values, careless writers): stop at the first zero or the end.
    std::size_t length = 0;
    while (length < data.size() && data[length] != 0) ++length;
    text.assign(reinterpret_cast<const char*>(data.data()), length);
    if (type == REG_EXPAND_SZ) {
      std::string expanded;
      if (!expand(text, expanded)) {
        trace::line(text, "Registry Error #1023: String can not be expanded");
        return 0;  // never hand out a half-expanded path
      }
      text = expanded;
    }
  }
  if (text.size() >= capacity) {
    trace::line(text, "Registry Error #1024: Buffer overflow contained");
    return 0;
  }
  out = text;
  return static_cast<int>(out.size());
}

int deleteValue(HKEY root, const std::string& path, const std::string& name) {
  UniqueKey key = openKey(root, path, KEY_WRITE);
  if (!key) return 0;
  if (RegDeleteValueA(key.get(), name.c_str()) != ERROR_SUCCESS) {
    trace::line("ERROR RegDeleteValue", name);
    return 0;
  }
  return 1;
}

int writeString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  return writeText(root, path, name, text, false);
}

int writeStrings(HKEY root, const std::string& path, const std::vector<std::pair<std::string, std::string>>& values) {
  if (values.empty()) return 0;
  UniqueKey key = openKey(root, path, KEY_ALL_ACCESS);
  if (!key) {
    if (!createKey(root, path)) return 0;
    key = openKey(root, path, KEY_ALL_ACCESS);
    if (!key) return 0;
  }
  int written = 0;
  for (const auto& [name, text] : values)
    written += RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  return written;
}

int writeNumber(HKEY root, const std::string& path, const std::string& name, DWORD value) {
  UniqueKey key = openKey(root, path, KEY_WRITE);
  if (!key) {
    if (!createKey(root, path)) return 0;
    key = openKey(root, path, KEY_WRITE);
    if (!key) return 0;
  }
  return RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

int readSmallNumber(HKEY root, const std::string& path, const std::string& name) {
  UniqueKey key = openKey(root, path, KEY_READ);
  if (!key) return 0;
  std::vector<BYTE> data;
  DWORD type = 0;
  if (!queryData(key.get(), name, data, type)) return 0;
  data.resize(data.size() < 2 ? 2 : data.size());
  return static_cast<signed char>(data[0]) + static_cast<signed char>(data[1]) * 256;
}

HKEY rootOf(Hive hive) {
  switch (hive) {
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::Users:
      break;
  }
  return HKEY_USERS;
}

bool keyExists(HKEY root, const std::string& path) { return static_cast<bool>(openKey(root, path, KEY_READ)); }

bool valueExists(HKEY root, const std::string& path, const std::string& name) {
  UniqueKey key = openKey(root, path, KEY_READ);
  return key && RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

int deleteTree(HKEY root, const std::string& path) {
  SHDeleteKeyA(root, path.c_str());
  return !keyExists(root, path);
}

namespace {
// `whole`: the data exactly as stored; otherwise up to its first zero byte.
bool enumerateValues(HKEY root, const std::string& path, std::vector<Value>& values, bool whole) {
  values.clear();
  UniqueKey key = openKey(root, path, KEY_READ);
  if (!key) return false;
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return true;
  std::vector<char> name(longestName + 2);
  std::vector<BYTE> data(longestData + 2);
  for (DWORD index = 0; index < count; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    Value value;
    LONG result = RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, &value.type, data.data(),
                                &dataLength);
    if (result == ERROR_MORE_DATA) {
      // The key changed since it was measured: take the name alone, then the
      // data by name with a buffer of the size it asks for.
      nameLength = static_cast<DWORD>(name.size());
      if (RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        continue;
      DWORD needed = 0;
      if (RegQueryValueExA(key.get(), name.data(), nullptr, &value.type, nullptr, &needed) != ERROR_SUCCESS) continue;
      data.resize(needed + 2);
      dataLength = needed;
      result = RegQueryValueExA(key.get(), name.data(), nullptr, &value.type, data.data(), &dataLength);
    }
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;
    value.name.assign(name.data(), nameLength);
    std::size_t length = 0;
    while (length < dataLength && (whole || data[length] != 0)) ++length;
    value.data.assign(reinterpret_cast<const char*>(data.data()), length);
    values.push_back(std::move(value));
  }
  return true;
}
}  // namespace

bool readValues(HKEY root, const std::string& path, std::vector<Value>& values) {
  return enumerateValues(root, path, values, false);
}

bool readRawValues(HKEY root, const std::string& path, std::vector<Value>& values) {
  return enumerateValues(root, path, values, true);
}

bool readSubKeyNames(HKEY root, const std::string& path, std::vector<std::string>& names) {
  names.clear();
  UniqueKey key = openKey(root, path, KEY_READ);
  if (!key) return false;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return true;
  std::vector<char> name(longest + 2);
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG result = RegEnumKeyExA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.emplace_back(name.data(), length);
  }
  return true;
}

bool readValue(HKEY root, const std::string& path, const std::string& name, Value& value, bool whole) {
  value = Value{};
  UniqueKey key = openKey(root, path, KEY_READ);
  std::vector<BYTE> data;
  if (!key || !queryData(key.get(), name, data, value.type)) return false;
  std::size_t length = 0;
  while (length < data.size() && (whole || data[length] != 0)) ++length;
  value.name = name;
  value.data.assign(reinterpret_cast<const char*>(data.data()), length);
  return true;
}

bool valueText(const Value& value, std::string& out) {
  if (value.type != REG_EXPAND_SZ) {
    out = value.data;
    return true;
  }
  if (expand(value.data, out)) return true;
  trace::line(value.data, "Registry Error #1023: String can not be expanded");
  return false;
}

int writeText(HKEY root, const std::string& path, const std::string& name, const std::string& text,
              bool expandable) {
  UniqueKey key = openKey(root, path, KEY_ALL_ACCESS);
  if (!key) {
    trace::line("ERROR RegOpenKeyEx:SetRegValue", path);
    if (!createKey(root, path)) return 0;
    key = openKey(root, path, KEY_ALL_ACCESS);
    if (!key) return 0;
  }
  return RegSetValueExA(key.get(), name.c_str(), 0, expandable ? REG_EXPAND_SZ : REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1)) ==
         ERROR_SUCCESS;
}

}  // namespace tavrin::reg
