#pragma once
// The version resources of files, and the family of the running Windows.
#include <string>

#include "base/version_record.h"

namespace tavrin {

// The five version texts of a file (all empty without a readable version
// resource); true when the product name is not empty.
bool readVersionRecord(const std::string& path, VersionRecord& record);

// True on the NT family, false on Windows 9x.
bool isWindowsNtFamily();

}  // namespace tavrin
