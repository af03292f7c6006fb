#pragma once
// The program lists "load" and "run" of section "windows" of win.ini.
#include <string>

namespace tavrin::profile {

std::string readWindowsValue(const std::string& name);
// Writes the value, first clearing the read-only attribute of win.ini.
bool writeWindowsValue(const std::string& name, const std::string& value);
// Appends ";" and the program.
bool addProgram(const std::string& listName, const std::string& program);

}  // namespace tavrin::profile
