#pragma once
// The registry-script text (version 5.00) the settings export writes: key
// headers and value lines that the registry editor imports back to the same
// names, types and data.
#include <string>
#include <string_view>

namespace tavrin {

constexpr char kRegScriptHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

// The name of a registry root in a script, by the root's handle value
// (0x80000000 HKEY_CLASSES_ROOT ... 0x80000005 HKEY_CURRENT_CONFIG);
// HKEY_LOCAL_MACHINE for any other.
std::string regScriptRootName(unsigned long rootHandleValue);

// "\" and '"' with a backslash before them.
std::string regScriptEscape(std::string_view text);

// A key or value name that a script line can carry: one without CR or LF (a
// line break would end the line early and let the rest read as a line of its
// own, a key header or a value of another key).
bool regScriptNameUsable(std::string_view name);

// One value as read: its type, its bytes exactly, and for the text types
// (1, 2, 7) the same text as UTF-16LE bytes, which the script's hex form of
// those types holds.
struct RegScriptValue {
  std::string name;  // empty: the default value
  unsigned long type = 0;
  std::string data;
  std::string wideData;
};

// The value's line with its CR LF: "name"="text" for a string without line
// breaks (a final zero byte is implied), dword:xxxxxxxx for a four-byte
// DWORD, hex: for binary data, hex(n): for every other type and for strings
// the quoted form cannot carry. The default value's name is "@".
std::string regScriptValueLine(const RegScriptValue& value);

}  // namespace tavrin
