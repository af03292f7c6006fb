#include <cstddef>
#include <cstdint>
#include <string>

#include "base/file_type_rules.h"

// The list and an added text are split at the first zero byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t zero = input.find('\0');
  std::string list = input.substr(0, zero);
  std::string text = zero == std::string::npos ? std::string() : input.substr(zero + 1);
  for (const std::string& token : monitoredTokens(list)) {
    if (!isValidExtensionToken(token)) __builtin_trap();
    if (checkNewExtension(list, token) == filetype::kAdded) __builtin_trap();  // listed, or the list is full
  }
  if (checkNewExtension(list, text) == filetype::kAdded) {
    const std::string added = listWithExtension(list, extensionToken(text));
    if (added.size() >= kFileTypeListLimit + 1 || !listHoldsExtension(added, text)) __builtin_trap();
  }
  if (!sameAssociationProgram(input, input)) __builtin_trap();
  splitIconLocation(input);
  associationProgram(input, CommandExpansion{"C:\\WINDOWS", [](const std::string&, std::string&) { return false; }});
  return 0;
}
