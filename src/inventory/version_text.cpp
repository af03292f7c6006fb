#include "version_text.h"

#include "base/command_text.h"
#include "base/text.h"
#include "sys/paths.h"
#include "sys/version.h"

namespace tavrin {
namespace {
std::string productVersionOf(const std::string& path) {
  VersionRecord record;
  readVersionRecord(path, record);
  return record.productVersion;
}
}  // namespace

std::string versionText() {
  const std::string folder = programFolder();
  std::string text = productVersionOf(folder + "\\Tavrin.exe");
  const std::string self = moduleFileName();
  // The file's own name decides, not a folder that happens to hold the word.
  if (contains(fileNamePart(self), "hijack")) {
    std::string own = productVersionOf(self);
    if (!text.empty()) text += ":";
    text += own;
  } else if (fileExists(folder + "\\TavrinEx.exe")) {
    text += ":" + productVersionOf(folder + "\\TavrinEx.exe");
  }
  return text;
}

}  // namespace tavrin
