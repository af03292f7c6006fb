#include "ie_helper_rules.h"

#include "command_text.h"
#include "text.h"

namespace tavrin {
namespace {

// "prefix\rest" with a non-empty rest free of backslashes: the rest; otherwise empty.
std::string childOf(std::string_view path, std::string_view prefix) {
  if (path.size() <= prefix.size() + 1 || !equalsNoCase(path.substr(0, prefix.size()), prefix) ||
      path[prefix.size()] != '\\')
    return std::string();
  const std::string_view rest = path.substr(prefix.size() + 1);
  return rest.find('\\') == std::string_view::npos ? std::string(rest) : std::string();
}

}  // namespace

std::string addOnLocation(int typeCode) {
  switch (typeCode) {
    case 900: return std::string("HKLM\\") + kBrowserHelperObjectsKey;
    case 901: return std::string("HKLM\\") + kToolbarKey;
    case 902: return std::string("HKLM\\") + kExtensionsKey;
    default: return std::string();
  }
}

std::string bracedClassId(std::string_view classId) {
  if (!classId.empty() && classId[0] == '{') return std::string(classId);
  return "{" + std::string(classId) + "}";
}

std::string addOnName(std::string_view productName, std::string_view serverPath, std::string_view fallback) {
  if (!productName.empty()) return std::string(productName);
  const std::string file = fileNamePart(removeQuotes(serverPath));
  return file.empty() ? std::string(fallback) : file;
}

std::string extensionName(std::string_view buttonText, bool programHasVersion, std::string_view productName,
                          std::string_view programFile) {
  if (programHasVersion) {
    const std::string file = fileNamePart(programFile);
    if (!productName.empty() || !file.empty()) return productName.empty() ? file : std::string(productName);
  }
  return contains(buttonText, "shdoclc.dll") ? "Related" : std::string(buttonText);
}

std::string AddOnRegistration::historyKey() const {
  return valueName.empty() ? keyPath : keyPath + "\\" + valueName;
}

bool addOnRegistration(int typeCode, std::string_view key, AddOnRegistration& out) {
  out = AddOnRegistration{};
  if (key.empty()) return false;
  const bool wholeKey = typeCode == 900 || typeCode == 902;
  if (wholeKey && key.find('\\') != std::string_view::npos) return false;
  switch (typeCode) {
    case 900:
      out.keyPath = std::string(kBrowserHelperObjectsKey) + "\\" + std::string(key);
      return true;
    case 901:
      out.keyPath = kToolbarKey;
      out.valueName = std::string(key);
      return true;
    case 902:
      out.keyPath = std::string(kExtensionsKey) + "\\" + std::string(key);
      return true;
    default:
      return false;
  }
}

AddOnRestore addOnRestore(std::string_view historyKey) {
  AddOnRestore restore;
  const std::string helper = childOf(historyKey, kBrowserHelperObjectsKey);
  if (!helper.empty()) restore.keyToCreate = std::string(kBrowserHelperObjectsKey) + "\\" + helper;
  restore.toolbarValue = childOf(historyKey, kToolbarKey);
  return restore;
}

bool isSystemShellObject(std::string_view classId) {
  static const char* const kShellObjects[] = {
      "{7849596a-48ea-486e-8937-a2a3009f31a9}", "{fbeb8a05-beee-4442-804e-409d6c4515e9}",
      "{E6FB5E20-DE35-11CF-9C87-00AA005127ED}", "{35CEC8A3-2BE6-11D2-8773-92E220524153}"};
  for (const char* id : kShellObjects)
    if (equalsNoCase(classId, id)) return true;
  return false;
}

}  // namespace tavrin
