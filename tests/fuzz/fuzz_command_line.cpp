#include <cstddef>
#include <cstdint>
#include <string>

#include "base/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  int startTab = size >= 2 ? (data[0] << 8 | data[1]) + 5000 : 0;
  tavrin::ExplorerRequest request = tavrin::parseExplorerCommandLine(line, startTab);
  if (request.startPage < 6026) __builtin_trap();
  if (line.size() > 772 && (request.quit || request.startMonitor || request.restoreDelayed)) __builtin_trap();
  return 0;
}
