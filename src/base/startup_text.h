#pragma once
// Text rules of the less visible autostart places.
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Winlogon UserInit: the program after the first comma (leading blanks
// removed), or the value without a comma that ends it. False without a comma.
bool userinitProgram(std::string_view value, std::string& program);
// Winlogon Shell: the program after the first blank (leading blanks removed),
// the whole value without a blank, or the value without a blank that ends it.
// False for an empty value.
bool shellProgram(std::string_view value, std::string& program);

// AppInit_Dlls pieces: every comma or blank ends a piece, empty pieces
// included, and the final piece ends at the end of the text.
std::vector<std::string> appInitPieces(std::string_view value);

// The approved-list value name of a startup entry: its program path with
// every "=" turned into ":".
std::string startupKeyOf(std::string_view programPath);

}  // namespace tavrin
