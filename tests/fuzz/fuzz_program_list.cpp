#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text.h"

// The list and the program are split at the first zero byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t zero = input.find('\0');
  std::string list = input.substr(0, zero);
  std::string program = zero == std::string::npos ? std::string() : input.substr(zero + 1);
  std::string removed = tavrin::removeFromProgramList(list, program);
  if (removed.size() > list.size() + 1) __builtin_trap();
  if (!removed.empty() && removed.back() != ';') __builtin_trap();
  // Removing twice changes nothing more.
  if (tavrin::removeFromProgramList(removed, program) != removed) __builtin_trap();
  std::string added = tavrin::addToProgramList(list, program);
  if (added.size() != list.size() + 1 + program.size()) __builtin_trap();
  tavrin::leadingNumber(input);
  tavrin::webText(input);
  tavrin::contains(list, program);
  return 0;
}
