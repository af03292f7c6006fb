#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/version_record.h"

// Input: a count of translations (first byte), their 4-byte ids, then
// "subblock=value" lines making up the resource's strings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::size_t count = data[0] % 8, pos = 1;
  std::vector<std::uint32_t> translations;
  for (std::size_t i = 0; i < count && pos + 4 <= size; ++i, pos += 4)
    translations.push_back(std::uint32_t(data[pos]) << 24 | std::uint32_t(data[pos + 1]) << 16 |
                           std::uint32_t(data[pos + 2]) << 8 | data[pos + 3]);
  std::map<std::string, std::string> values;
  std::string rest(reinterpret_cast<const char*>(data) + pos, size - pos);
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find('\n', start);
    if (end == std::string::npos) end = rest.size();
    std::string line = rest.substr(start, end - start);
    std::size_t eq = line.find('=');
    if (eq != std::string::npos) values["\\StringFileInfo\\" + line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  tavrin::VersionRecord record;
  bool named = tavrin::pickVersionRecord(
      translations,
      [&](const std::string& key, std::string& value) {
        auto it = values.find(key);
        if (it == values.end()) return false;
        value = it->second;
        return true;
      },
      record);
  for (const std::string* field : {&record.productName, &record.productVersion, &record.companyName,
                                   &record.fileDescription, &record.legalCopyright})
    if (field->size() > tavrin::kVersionFieldWidth) __builtin_trap();
  if (named == record.productName.empty()) __builtin_trap();
  return 0;
}
