#include "services.h"

#include <vector>

#include "base/task_service_text.h"
#include "base/text.h"
#include "detection_store.h"
#include "program_file.h"
#include "signer.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/services.h"

namespace tavrin {
namespace {

// What the registry says of one service, its texts read whole.
struct ServiceKey {
  std::string keyName;
  std::string imagePath;  // expanded
  std::string displayName;
  std::string description;
  int start = 0;
};

std::string textOf(const reg::Value& value) {
  if (value.type != REG_EXPAND_SZ) return value.data;
  std::string expanded;
  return expandEnvironment(value.data, expanded) ? expanded : value.data;
}

bool readServiceKey(const std::string& keyName, ServiceKey& service) {
  const std::string path = std::string(kServicesKey) + "\\" + keyName;
  std::vector<reg::Value> values;
  if (!reg::readValues(HKEY_LOCAL_MACHINE, path, values)) return false;
  service = ServiceKey{};
  service.keyName = keyName;
  for (const reg::Value& value : values) {
    if (equalsNoCase(value.name, "ImagePath")) service.imagePath = textOf(value);
    if (equalsNoCase(value.name, "DisplayName")) service.displayName = textOf(value);
    if (equalsNoCase(value.name, "Description")) service.description = textOf(value);
  }
  if (service.imagePath.empty()) return false;
  service.start = reg::readSmallNumber(HKEY_LOCAL_MACHINE, path, "Start");
  return true;
}

std::string serviceDll(const std::string& keyName) {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_LOCAL_MACHINE, std::string(kServicesKey) + "\\" + keyName + "\\Parameters", values);
  for (const reg::Value& value : values)
    if (equalsNoCase(value.name, "ServiceDll")) return textOf(value);
  return std::string();
}

// Visits every service key that names an ImagePath, in registry order.
template <typename Visit>
void forEachServiceKey(Visit visit) {
  std::vector<std::string> names;
  if (!reg::readSubKeyNames(HKEY_LOCAL_MACHINE, kServicesKey, names)) return;
  for (const std::string& name : names) {
    ServiceKey service;
    if (!name.empty() && readServiceKey(name, service)) visit(service);
  }
}

}  // namespace

int enumerateServices(EntryList& list, bool hideMicrosoft) {
  list.clear();
  UniqueService manager = scm::openManager();
  const std::string startTexts[] = {loadString(IDS_START_AUTOMATIC, 64), loadString(IDS_START_MANUAL, 64),
                                    loadString(IDS_START_DISABLED, 64)};
  forEachServiceKey([&](const ServiceKey& service) {
    if (!isProgramService(service.imagePath)) return;
    std::string name;
    if (!scm::displayNameOf(manager.get(), service.keyName, name)) name = service.displayName;
    const int typeCode = serviceTypeCode(service.imagePath);
    std::string program = service.imagePath;
    if (typeCode == typecode::kServiceSvchost) {
      const std::string dll = serviceDll(service.keyName);
      if (!dll.empty()) program = dll;
    }
    if (hideMicrosoft && isVerifiedMicrosoft(program)) return;
    const int startText = serviceListStartText(service.start);
    list.add(name, program, startText ? startTexts[startText - IDS_START_AUTOMATIC] : "0", service.description, typeCode, 0);
  });
  return list.count();
}

int serviceDescriptionForProgram(const std::string& programFile, std::string& description) {
  description.clear();
  bool found = false;
  forEachServiceKey([&](const ServiceKey& service) {
    if (found) return;
    const std::string program =
        contains(service.imagePath, "svchost.exe") ? serviceDll(service.keyName) : service.imagePath;
    if (program.empty() || !equalsNoCase(programFileOfCommand(program), programFile)) return;
    found = true;
    description = cut(service.description, 1023);
  });
  return static_cast<int>(description.size());
}

int serviceDisplayName(const std::string& keyName, std::string& displayName) {
  return scm::displayNameOf(keyName, displayName) ? 1 : 0;
}

bool isServiceApproved(const std::string& name) { return isApproved(kApprovedServicesKey, name); }

void approveService(const std::string& name, int typeCode) {
  reg::writeString(HKEY_CURRENT_USER, kApprovedServicesKey, name, std::to_string(typeCode));
}

}  // namespace tavrin
