#include "class_lookup.h"

#include "base/ie_helper_rules.h"
#include "sys/registry.h"

namespace tavrin {

ClassInfo lookUpClass(const std::string& classId) {
  const std::string key = "CLSID\\" + bracedClassId(classId);
  ClassInfo info;
  reg::readString(HKEY_CLASSES_ROOT, key, "", info.name);
  reg::readString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", info.serverPath);
  return info;
}

}  // namespace tavrin
