#pragma once
// Every registry access of both programs. Each operation opens and closes its
// key itself and reports failure by its result and, where noted, a trace line;
// none shows a message. Key paths never start with a backslash; an empty value
// name is the key's default value.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/entry_tables.h"

namespace tavrin::reg {

// A read without a limit of its own takes the value whole.
constexpr std::size_t kWholeValue = static_cast<std::size_t>(-1);

// 1 when the key exists afterwards.
int createKey(HKEY root, const std::string& path);

// Length of the text read into `out` (0 also when missing), read at the
// value's real size up to its first zero byte. A REG_EXPAND_SZ value comes
// back expanded; when the expansion fails, or the text does not fit
// `capacity` (which counts the terminator), `out` is empty and 0 is returned.
int readString(HKEY root, const std::string& path, const std::string& name, std::string& out,
               std::size_t capacity = kWholeValue);

int deleteValue(HKEY root, const std::string& path, const std::string& name);
// Creates the key path when it is missing.
int writeString(HKEY root, const std::string& path, const std::string& name, const std::string& text);
// Many texts under one key opened once (a baseline writes thousands); the
// number written.
int writeStrings(HKEY root, const std::string& path, const std::vector<std::pair<std::string, std::string>>& values);
int writeNumber(HKEY root, const std::string& path, const std::string& name, DWORD value);
// First two bytes of the value as a 16-bit quantity (each byte taken as
// signed); 0 when missing. Used for service start types.
int readSmallNumber(HKEY root, const std::string& path, const std::string& name);

// The registry root of a hive of the startup tables.
HKEY rootOf(Hive hive);

// True when the key can be opened for reading.
bool keyExists(HKEY root, const std::string& path);
// True when the value exists, whatever its type or length.
bool valueExists(HKEY root, const std::string& path, const std::string& name);
// Deletes a key with everything below it; 1 when it is gone afterwards.
int deleteTree(HKEY root, const std::string& path);

struct Value {
  std::string name;
  std::string data;  // up to the first zero byte; REG_EXPAND_SZ data unexpanded
  DWORD type = REG_NONE;
};
// Every value of a key in enumeration order, whatever the length of names and
// data (an autostart entry must not hide behind a long command line). False
// when the key cannot be opened.
bool readValues(HKEY root, const std::string& path, std::vector<Value>& values);
// The same with every value's bytes exactly as stored, zero bytes included.
bool readRawValues(HKEY root, const std::string& path, std::vector<Value>& values);
// Names of the sub-keys; false when the key cannot be opened.
bool readSubKeyNames(HKEY root, const std::string& path, std::vector<std::string>& names);

// One value at its real size, data up to the first zero byte and
// REG_EXPAND_SZ data unexpanded (as readValues gives it), or with `whole`
// every byte as stored; false when missing.
bool readValue(HKEY root, const std::string& path, const std::string& name, Value& value, bool whole = false);
// The text a reader uses: REG_EXPAND_SZ data expanded at any length; false
// when the expansion fails.
bool valueText(const Value& value, std::string& out);
// Writes text as REG_EXPAND_SZ when `expandable`, else as REG_SZ; creates the
// key path when it is missing.
int writeText(HKEY root, const std::string& path, const std::string& name, const std::string& text,
              bool expandable);

}  // namespace tavrin::reg
