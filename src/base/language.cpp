#include "language.h"

#include "text.h"

namespace tavrin {

int languageIdOf(std::string_view text) {
  static const struct {
    const char* text;
    int id;
  } kRows[] = {
      {"us", 9},  {"de", 7},  {"fr", 12}, {"es", 10}, {"it", 16}, {"se", 29}, {"\xEA\xE0\xEA", 25},
      {"ru", 25}, {"pt", 22}, {"pl", 21}, {"no", 20}, {"gr", 8},  {"nl", 19}, {"br", 22},
      {"sq", 28}, {"tr", 31}, {"ar", 1},  {"fi", 11}, {"cn", 4},
  };
  for (const auto& row : kRows)
    if (equalsNoCase(text, row.text)) return row.id;
  return 0;
}

}  // namespace tavrin
