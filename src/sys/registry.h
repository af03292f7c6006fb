#pragma once
// Every registry access of both programs. Each operation opens and closes its
// key itself and reports failure by its result and, where noted, a trace line;
// none shows a message. Key paths never start with a backslash; an empty value
// name is the key's default value.
#include <windows.h>

#include <string>

namespace tavrin::reg {

// Capacity of a plain read: 1023 characters and the terminator.
constexpr std::size_t kReadCapacity = 1024;

// 1 when the key exists afterwards.
int createKey(HKEY root, const std::string& path);

// Length of the text read into `out` (0 also when missing). A REG_EXPAND_SZ
// value comes back expanded; when the expansion does not fit, or the text does
// not fit `capacity` (which counts the terminator), `out` is empty and 0 is
// returned. Data larger than kReadCapacity bytes reads as missing.
int readString(HKEY root, const std::string& path, const std::string& name, std::string& out,
               std::size_t capacity = kReadCapacity);

int deleteValue(HKEY root, const std::string& path, const std::string& name);
// Creates the key path when it is missing.
int writeString(HKEY root, const std::string& path, const std::string& name, const std::string& text);
int writeNumber(HKEY root, const std::string& path, const std::string& name, DWORD value);
// First two bytes of the value as a 16-bit quantity (each byte taken as
// signed); 0 when missing. Used for service start types.
int readSmallNumber(HKEY root, const std::string& path, const std::string& name);

// True when the key can be opened for reading.
bool keyExists(HKEY root, const std::string& path);

}  // namespace tavrin::reg
