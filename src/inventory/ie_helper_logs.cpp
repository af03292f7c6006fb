#include "ie_helper_logs.h"

#include <windows.h>

#include <string>
#include <vector>

#include "base/entry_tables.h"
#include "base/ie_helper_rules.h"
#include "base/text.h"
#include "class_lookup.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kMenuExtKey[] = "Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr char kPluginsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Plugins\\Extension";
constexpr char kDistributionUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr char kAdvancedOptionsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\AdvancedOptions";
constexpr char kZoneDomainsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
constexpr std::size_t kClassDataWidth = 128;
constexpr int kTrustedZone = 2;
constexpr int kExtensionButton = 1;
constexpr int kExtensionMenuItem = 2;

std::vector<std::string> subKeysOf(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  reg::readSubKeyNames(root, path, names);
  return names;
}

std::vector<reg::Value> valuesOf(const char* path) {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_LOCAL_MACHINE, path, values);
  return values;
}

std::string text(HKEY root, const std::string& key, const char* name) {
  std::string value;
  reg::readString(root, key, name, value);
  return value;
}

void addExtensionsOf(EntryList& list, HKEY root, const char* suffix) {
  for (const std::string& id : subKeysOf(root, kExtensionsKey)) {
    const std::string key = std::string(kExtensionsKey) + "\\" + id;
    std::string path = text(root, key, "script");
    if (path.empty()) path = text(root, key, "exec");
    if (path.empty()) path = lookUpClass(id).serverPath;
    if (path.empty()) continue;
    path += suffix;
    const std::string button = text(root, key, "ButtonText");
    list.add(button.empty() ? "(no name)" : button, path, id, "", kExtensionButton, 0);
    if (reg::valueExists(root, key, "MenuText"))
      list.add(text(root, key, "MenuText"), path, id, "", kExtensionMenuItem, 0);
  }
}

bool trustedValueIn(HKEY root, const std::string& key) {
  for (const char* scheme : {"*", "http", "https"})
    if (reg::valueExists(root, key, scheme) && reg::readSmallNumber(root, key, scheme) == kTrustedZone) return true;
  return false;
}

void addTrustedDomainsOf(EntryList& list, HKEY root) {
  for (const std::string& domain : subKeysOf(root, kZoneDomainsKey)) {
    const std::string key = std::string(kZoneDomainsKey) + "\\" + domain;
    bool trusted = trustedValueIn(root, key);
    for (const std::string& sub : trusted ? std::vector<std::string>() : subKeysOf(root, key))
      trusted = trusted || trustedValueIn(root, key + "\\" + sub);
    if (trusted) list.add(domain, "", "", "", 0, 0);
  }
}

}  // namespace

int logHelperObjects(EntryList& list) {
  list.clear();
  for (const std::string& id : subKeysOf(HKEY_LOCAL_MACHINE, kBrowserHelperObjectsKey)) {
    const ClassInfo info = lookUpClass(id);
    list.add(info.name, info.serverPath, id, "", typecode::kBrowserHelper, 0);
  }
  return list.count();
}

int logToolbars(EntryList& list) {
  list.clear();
  for (const reg::Value& value : valuesOf(kToolbarKey)) {
    const ClassInfo info = lookUpClass(value.name);
    VersionRecord version;
    if (!info.serverPath.empty()) readVersionRecord(info.serverPath, version);
    list.add(info.name, info.serverPath, value.name, version.companyName, typecode::kBrowserHelper, 0);
  }
  return list.count();
}

int logMenuExtensions(EntryList& list) {
  list.clear();
  for (const std::string& item : subKeysOf(HKEY_CURRENT_USER, kMenuExtKey)) {
    const std::string target = text(HKEY_CURRENT_USER, std::string(kMenuExtKey) + "\\" + item, "");
    if (!target.empty()) list.add(item, target, item, "", 0, 0);
  }
  return list.count();
}

int logExtensions(EntryList& list) {
  list.clear();
  addExtensionsOf(list, HKEY_LOCAL_MACHINE, "");
  addExtensionsOf(list, HKEY_CURRENT_USER, " (HKCU)");
  return list.count();
}

int logPlugins(EntryList& list) {
  list.clear();
  for (const std::string& plugin : subKeysOf(HKEY_LOCAL_MACHINE, kPluginsKey)) {
    const std::string location = text(HKEY_LOCAL_MACHINE, std::string(kPluginsKey) + "\\" + plugin, "Location");
    if (!location.empty()) list.add(plugin, location, plugin, "", 0, 0);
  }
  return list.count();
}

int logDistributionUnits(EntryList& list) {
  list.clear();
  for (const std::string& unit : subKeysOf(HKEY_LOCAL_MACHINE, kDistributionUnitsKey)) {
    const std::string codeBase = text(
        HKEY_LOCAL_MACHINE, std::string(kDistributionUnitsKey) + "\\" + unit + "\\DownloadInformation", "CODEBASE");
    if (codeBase.empty()) continue;
    const ClassInfo info = lookUpClass(unit);
    list.add(info.name, codeBase, info.serverPath, unit, 0, 0);
  }
  return list.count();
}

int logDelayLoadObjects(EntryList& list) {
  list.clear();
  for (const reg::Value& value : valuesOf(kDelayLoadKey)) {
    if (value.data.empty() || isSystemShellObject(value.data)) continue;
    const ClassInfo info = lookUpClass(value.data);
    if (!info.serverPath.empty())
      list.add(info.name, info.serverPath, cut(value.data, kClassDataWidth), value.name, 0, 0);
  }
  return list.count();
}

int logSharedTaskSchedulers(EntryList& list) {
  list.clear();
  for (const reg::Value& value : valuesOf(kSharedTaskSchedulerKey)) {
    if (value.data.empty()) continue;
    const ClassInfo info = lookUpClass(value.name);
    if (!info.serverPath.empty())
      list.add(info.name, info.serverPath, value.name, cut(value.data, kClassDataWidth), 0, 0);
  }
  return list.count();
}

int logAdvancedOptions(EntryList& list) {
  list.clear();
  for (const std::string& option : subKeysOf(HKEY_LOCAL_MACHINE, kAdvancedOptionsKey)) {
    const std::string key = std::string(kAdvancedOptionsKey) + "\\" + option;
    const std::string help = text(HKEY_LOCAL_MACHINE, key, "HelpID");
    if (contains(help, "iexplore.hlp")) continue;
    list.add(text(HKEY_LOCAL_MACHINE, key, "Text"), help, folderOf(text(HKEY_LOCAL_MACHINE, key, "Bitmap")), "", 0, 0);
  }
  return list.count();
}

int logTrustedDomains(EntryList& list) {
  list.clear();
  addTrustedDomainsOf(list, HKEY_LOCAL_MACHINE);
  addTrustedDomainsOf(list, HKEY_CURRENT_USER);
  return list.count();
}

}  // namespace tavrin
