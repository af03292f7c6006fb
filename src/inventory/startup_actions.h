#pragma once
// Changing the startup locations: disabling and restoring entries.
#include <string>

namespace tavrin {

// Restores the entry when its disabled marker exists, otherwise disables it.
// The disabled copy and marker are written before the entry leaves its
// location, and the location is written back before they are deleted, so an
// interruption never loses the command line. Writes no history record.
// Result: 1 when the registry operation succeeded, 0 otherwise or for a type
// the toggle does not handle.
int toggleStartupEntry(const std::string& name, const std::string& programPath, const std::string& key,
                       int typeCode);

// Whether the entry's disabled marker exists (looked up by the entry's name).
bool hasDisabledMarker(const std::string& name);

}  // namespace tavrin
