#include "version_record.h"

#include "text.h"

namespace tavrin {

bool pickVersionRecord(const std::vector<std::uint32_t>& translations, const VersionLookup& lookup,
                       VersionRecord& record) {
  record = VersionRecord{};
  for (std::uint32_t translation : translations) {
    const std::string prefix = format("\\StringFileInfo\\%04x%04x\\", (translation >> 16) & 0xffffu,
                                      translation & 0xffffu);
    std::string product;
    if (!lookup(prefix + "ProductName", product)) continue;
    auto field = [&](const char* name, const std::string* known) {
      std::string value;
      if (known)
        value = *known;
      else if (!lookup(prefix + name, value))
        return std::string();
      return value.size() > kVersionFieldWidth ? std::string() : value;
    };
    record.productName = field("ProductName", &product);
    record.productVersion = field("ProductVersion", nullptr);
    record.companyName = field("CompanyName", nullptr);
    record.fileDescription = field("FileDescription", nullptr);
    record.legalCopyright = field("LegalCopyright", nullptr);
  }
  if (contains(record.productName, "Operating System")) record.productName = record.fileDescription;
  return !record.productName.empty();
}

}  // namespace tavrin
