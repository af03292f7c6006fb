#pragma once
#include <string_view>

namespace tavrin {

// Primary language id for message boxes, from the program's language text ("us" gives 9);
// 0 for a text not in the table.
int languageIdOf(std::string_view text);

}  // namespace tavrin
