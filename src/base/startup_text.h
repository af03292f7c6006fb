#pragma once
// Text rules of the less visible autostart places.
#include <functional>
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

// AppInit_Dlls without the DLL: every piece whose long form (from `longForm`)
// differs from it is kept with a "," after it; a last piece is kept without
// one, and when the last piece is the DLL the comma before it goes too.
std::string appInitWithout(std::string_view value, std::string_view dll,
                           const std::function<std::string(const std::string&)>& longForm);

// The approved-list value name of a startup entry: its program path with
// every "=" turned into ":".
std::string startupKeyOf(std::string_view programPath);

}  // namespace tavrin
