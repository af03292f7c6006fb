#include "class_lookup.h"

#include "sys/registry.h"

namespace tavrin {

ClassInfo lookUpClass(const std::string& classId) {
  const std::string braced = (!classId.empty() && classId[0] == '{') ? classId : "{" + classId + "}";
  const std::string key = "CLSID\\" + braced;
  ClassInfo info;
  reg::readString(HKEY_CLASSES_ROOT, key, "", info.name);
  reg::readString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", info.serverPath);
  return info;
}

}  // namespace tavrin
