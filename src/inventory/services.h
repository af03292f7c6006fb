#pragma once
// The Windows services that run a program (an executable or a shared-host
// service library), listed from the registry and named by their display names.
#include <string>

#include "entry_list.h"

namespace tavrin {

constexpr char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services";
constexpr char kApprovedServicesKey[] = "Software\\Quennet\\Tavrin\\Services";

// Clears the list and adds one entry per service: name = display name (the
// manager's, else the registry's DisplayName), program path = ImagePath
// expanded (for a shared host its ServiceDll when there is one), key = start
// text (664-666, or "0"), detail = Description, type 700 or 701. Kernel
// drivers and services without an ImagePath are left out; with
// `hideMicrosoft`, so are services whose program file carries a verified
// Microsoft signature (a version resource only claiming Microsoft does not
// count). Returns the count.
int enumerateServices(EntryList& list, bool hideMicrosoft);

// The Description of the first service whose program file (ImagePath, or its
// ServiceDll when ImagePath names svchost.exe) equals `programFile` ignoring
// case; its length, or 0 with an empty text when none matches.
int serviceDescriptionForProgram(const std::string& programFile, std::string& description);

// GetServiceDisplayNameA of a key name; 1 on success.
int serviceDisplayName(const std::string& keyName, std::string& displayName);

// The approved list, named by the display name as listed.
bool isServiceApproved(const std::string& name);
void approveService(const std::string& name, int typeCode);

}  // namespace tavrin
