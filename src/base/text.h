#pragma once
// Text rules shared by every module: the containment test, cutting to field
// widths, list editing and the small conversions shown to users.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Longest text the containment test looks into; anything longer contains nothing.
constexpr std::size_t kContainLimit = 772;

// printf into a std::string (no fixed buffer).
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

char lowerChar(char c);
std::string lower(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

// Case-insensitive substring test; a text longer than kContainLimit contains nothing.
bool contains(std::string_view text, std::string_view part);

// The first `width` characters of text (the whole text when shorter).
std::string cut(std::string_view text, std::size_t width);

// Pieces of a separated list; empty pieces vanish.
std::vector<std::string> splitList(std::string_view list, char separator);

// win.ini program lists ("a;b;"): removal keeps every other piece, each followed by ";".
std::string removeFromProgramList(std::string_view list, std::string_view program);
// The same with a test of each piece: keeps those `matches` refuses.
std::string removeFromProgramList(std::string_view list, const std::function<bool(const std::string&)>& matches);
// Addition appends ";" and the program, so an empty list becomes ";program".
std::string addToProgramList(std::string_view list, std::string_view program);

// 1234567 -> "1,234,567"
std::string thousandsText(long long value);

// Blanks become "%20", "&" becomes "+" (query strings).
std::string webText(std::string_view text);

// Integer at the start of a text (after blanks, optional sign); 0 when there is none.
long leadingNumber(std::string_view text);

}  // namespace tavrin
