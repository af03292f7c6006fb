#pragma once
#include <string>

namespace tavrin {

struct ClassInfo {
  std::string name;        // the class's registered name
  std::string serverPath;  // its in-process server
};

// Looks a class identifier up under HKEY_CLASSES_ROOT\CLSID (braces are added
// when it lacks them). Never fails: what is missing stays empty.
ClassInfo lookUpClass(const std::string& classId);

}  // namespace tavrin
