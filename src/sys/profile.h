#pragma once
// The program lists "load" and "run" of section "windows" of win.ini.
#include <string>

namespace tavrin::profile {

std::string readWindowsValue(const std::string& name);
// Drops every piece equal to the program (any case); the rest keep a ";" each.
bool removeProgram(const std::string& listName, const std::string& program);
// Appends ";" and the program.
bool addProgram(const std::string& listName, const std::string& program);

}  // namespace tavrin::profile
