#pragma once
// The online information page of a program: the maker's lookup, opened in the user's browser.
#include <string>

namespace tavrin {

// The lookup address for an entry (type code as the caller means it, the
// entry's program path as stored, its name for when no file resolves).
std::string onlineInformationAddress(int typeCode, const std::string& programPath, const std::string& name);
// Opens it with the shell; false when the shell could not.
bool openOnlineInformation(int typeCode, const std::string& programPath, const std::string& name);

}  // namespace tavrin
