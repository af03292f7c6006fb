#pragma once
// Choosing the five version texts of a file from its version resource.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavrin {

constexpr std::size_t kVersionFieldWidth = 127;
// Version resources this large or larger are not read at all.
constexpr std::size_t kVersionResourceLimit = 8192;

struct VersionRecord {
  std::string productName;
  std::string productVersion;
  std::string companyName;
  std::string fileDescription;
  std::string legalCopyright;
};

// Looks up one string value by its sub-block ("\StringFileInfo\040904b0\ProductName");
// false when the value is missing.
using VersionLookup = std::function<bool(const std::string& subBlock, std::string& value)>;

// Translation entries as (language << 16) | code page, in resource order.
// The last translation that has a product name decides all five texts; a text
// that is missing or longer than the field width is empty. A product name that
// says "Operating System" is replaced by the file description.
// Returns true when the product name is not empty.
bool pickVersionRecord(const std::vector<std::uint32_t>& translations, const VersionLookup& lookup,
                       VersionRecord& record);

}  // namespace tavrin
