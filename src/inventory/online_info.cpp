#include "online_info.h"

#include <windows.h>
#include "base/command_text.h"
#include "base/text.h"
#include "date_text.h"
#include "detection_store.h"
#include "help_pages.h"
#include "program_file.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/version.h"
#include "version_text.h"

namespace tavrin {
namespace {
constexpr char kLookupPath[] = "cgi-bin/extrainfo12.pl?";
}

std::string onlineInformationAddress(int typeCode, const std::string& programPath, const std::string& name) {
  std::string file = programFileOfCommand(programPath);
  const bool exists = programFileExists(file);
  VersionRecord version;
  if (exists) readVersionRecord(file, version);
  const std::string fileName = exists ? fileNamePart(file) : name;
  const std::size_t dot = fileName.find('.');
  std::string language = loadString(IDS_LANGUAGE, 8);
  if (language.empty()) language = "en";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const bool dated = exists && GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
  std::string address = makerWebHost() + kLookupPath;
  address += "program=" + (exists ? webText(fileName) : name);
  address += "&vendor=" + webText(version.companyName);
  address += "&build=" + webText(versionText());
  address += "&Type=" + std::to_string(typeCode);
  address += "&Loc=" + webText(language);
  address += "&ext=" + webText(dot == std::string::npos ? std::string() : fileName.substr(dot + 1));
  address += "&version=" + webText(version.productVersion);
  address += "&name=" + webText(version.productName);
  address += "&copy=" + webText(version.legalCopyright);
  address += "&detail=" + webText(version.fileDescription);
  address += "&created=" + webText(dated ? fileTimeText(data.ftCreationTime) : std::string());
  address += "&detected=" + webText(exists ? firstDetectionDate(file, typeCode % 1000) : std::string());
  address += "&fsize=" + (dated ? std::to_string(data.nFileSizeLow) : std::string());
  address += "&path=" + webText(programPath);
  return address;
}

bool openOnlineInformation(int typeCode, const std::string& programPath, const std::string& name) {
  return openWebAddress(onlineInformationAddress(typeCode, programPath, name));
}

}  // namespace tavrin
