#include "file_types.h"

#include <windows.h>

#include "base/entry_tables.h"
#include "base/file_type_rules.h"
#include "base/text.h"
#include "program_file.h"
#include "string_loader.h"
#include "string_ids.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kStoreRoot[] = "Software\\Quennet\\Tavrin";
constexpr char kMarker[] = "Do not edit.";
constexpr char kMachineClasses[] = "Software\\Classes\\";
constexpr char kFileExtsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr char kOpenCommand[] = "\\shell\\open\\command";
constexpr int kListedKinds[] = {association::kClass, association::kApplication, association::kProgId};

struct Place {
  HKEY root;
  std::string key;
  const char* value;
};

Place namePlace(const std::string& extension, int kind) {
  switch (kind) {
    case association::kClass:
      return {HKEY_LOCAL_MACHINE, kMachineClasses + extension, ""};
    case association::kApplication:
      return {HKEY_CURRENT_USER, kFileExtsKey + extension, "Application"};
    case association::kProgId:
      return {HKEY_CURRENT_USER, kFileExtsKey + extension, "ProgID"};
    default:
      return {HKEY_CLASSES_ROOT, extension, ""};
  }
}

// The root class is read through HKEY_CLASSES_ROOT but put back machine-wide.
Place nameRestorePlace(const std::string& extension, int kind) {
  if (kind == association::kRootClass) return {HKEY_LOCAL_MACHINE, kMachineClasses + extension, ""};
  return namePlace(extension, kind);
}

Place commandPlace(const std::string& name, int kind) {
  switch (kind) {
    case association::kClass:
      return {HKEY_LOCAL_MACHINE, kMachineClasses + name + kOpenCommand, ""};
    case association::kApplication:
      return {HKEY_CLASSES_ROOT, "Applications\\" + name + kOpenCommand, ""};
    default:
      return {HKEY_CLASSES_ROOT, name + kOpenCommand, ""};
  }
}

std::string storeKey(const char* store) { return std::string(kStoreRoot) + "\\" + store; }

// Where a kind's snapshot keeps the name of each extension, and the command of each name.
std::string nameStore(int kind) {
  static const char* const kStores[] = {"Ext", "ExtApp", "ExtProgID", "ExtRoot"};
  return storeKey(kStores[kind - 1]);
}
std::string commandStore(int kind) { return storeKey(kind == association::kRootClass ? "ClassRoot" : "Class"); }

bool validKind(int kind) { return kind >= association::kClass && kind <= association::kRootClass; }

// ".token", or empty when the text is no usable extension.
std::string dottedExtension(const std::string& text) {
  const std::string token = extensionToken(text);
  return isValidExtensionToken(token) ? "." + token : std::string();
}

// Expanded and whole; false when missing or empty.
bool readText(const Place& place, std::string& text) {
  return reg::readString(place.root, place.key, place.value, text) > 0;
}

// The name and the command's value as stored, for a snapshot that keeps both verbatim.
bool resolveStored(const std::string& extension, int kind, std::string& name, reg::Value& command) {
  if (!readText(namePlace(extension, kind), name)) return false;
  const Place place = commandPlace(name, kind);
  return reg::readValue(place.root, place.key, place.value, command) && !command.data.empty();
}

bool snapshotName(const std::string& extension, int kind, std::string& name) {
  reg::Value value;
  if (!reg::readValue(HKEY_CURRENT_USER, nameStore(kind), extension, value) || value.data.empty()) return false;
  name = value.data;
  return true;
}

// Cleared first, so a value that cannot be deleted holds nothing stale.
void clearAndDelete(const std::string& key, const std::string& name) {
  reg::writeString(HKEY_CURRENT_USER, key, name, "");
  reg::deleteValue(HKEY_CURRENT_USER, key, name);
}

}  // namespace

bool resolveAssociation(const std::string& extension, int kind, Association& out) {
  out = Association{};
  const std::string dotted = dottedExtension(extension);
  if (dotted.empty() || !validKind(kind)) return false;
  std::string name, command;
  reg::Value stored;
  if (!resolveStored(dotted, kind, name, stored) || !reg::valueText(stored, command)) return false;
  out.extension = dotted;
  out.kind = kind;
  out.name = name;
  out.command = command;
  return true;
}

std::string monitoredExtensionList() {
  // Read whole: a list cut here and written back by Remove would lose its end.
  std::string list;
  reg::readString(HKEY_CURRENT_USER, kFileTypeListKey, "", list);
  return list;
}

std::vector<Association> monitoredAssociations() {
  std::vector<Association> found;
  for (const std::string& token : monitoredTokens(monitoredExtensionList())) {
    for (int kind : kListedKinds) {
      Association association;
      if (resolveAssociation(token, kind, association)) found.push_back(std::move(association));
    }
  }
  return found;
}

std::string fileTypeProgramText(const std::string& command, std::string* programFile) {
  const AssociationProgram program = associationProgram(command, machineExpansion());
  if (programFile) *programFile = program.programFile;
  return program.stringId ? loadString(static_cast<UINT>(program.stringId)) : program.fileName;
}

int enumerateFileTypes(EntryList& list) {
  list.clear();
  for (const Association& association : monitoredAssociations()) {
    std::string description;
    readText({HKEY_LOCAL_MACHINE, kMachineClasses + association.name, ""}, description);
    std::string key = association.name;
    if (description.empty()) {
      std::string file;
      fileTypeProgramText(association.command, &file);
      VersionRecord version;
      if (programFileExists(file)) readVersionRecord(file, version);
      description = version.productName;
      if (!version.fileDescription.empty()) key = version.fileDescription;
    }
    list.add(description, association.command, key, association.extension, typecode::kFileType, association.kind);
  }
  return list.count();
}

int snapshotAssociation(const std::string& extension, int kind) {
  const std::string dotted = dottedExtension(extension);
  if (dotted.empty() || !validKind(kind)) return 0;
  std::string name;
  reg::Value command;
  if (!resolveStored(dotted, kind, name, command)) return 0;
  // The command as stored, type and all: Restore must write back what was there.
  const int named = reg::writeString(HKEY_CURRENT_USER, nameStore(kind), dotted, name);
  const int kept =
      reg::writeText(HKEY_CURRENT_USER, commandStore(kind), name, command.data, command.type == REG_EXPAND_SZ);
  return named && kept ? 1 : 0;
}

int restoreAssociation(const std::string& extension, int kind) {
  const std::string dotted = dottedExtension(extension);
  std::string name;
  if (dotted.empty() || !validKind(kind) || !snapshotName(dotted, kind, name)) return 0;
  const Place namePlaceOf = nameRestorePlace(dotted, kind);
  int written = reg::writeString(namePlaceOf.root, namePlaceOf.key, namePlaceOf.value, name);
  reg::Value command;
  if (reg::readValue(HKEY_CURRENT_USER, commandStore(kind), name, command)) {
    const Place place = commandPlace(name, kind);
    written = reg::writeText(place.root, place.key, place.value, command.data, command.type == REG_EXPAND_SZ) &&
              written;
  }
  if (!written) trace::line("ERROR RestoreFileType", dotted);
  return written ? 1 : 0;
}

bool snapshotCommand(const Association& association, std::string& command) {
  command.clear();
  std::string name;
  if (!validKind(association.kind) || !snapshotName(association.extension, association.kind, name)) return false;
  reg::Value stored;
  if (!reg::readValue(HKEY_CURRENT_USER, commandStore(association.kind), name, stored) || stored.data.empty())
    return false;
  return reg::valueText(stored, command);
}

int addMonitoredExtension(const std::string& text) {
  const std::string list = monitoredExtensionList();
  const int verdict = checkNewExtension(list, text);
  if (verdict != filetype::kAdded) return verdict;
  const std::string token = extensionToken(text);
  for (int kind : kListedKinds) snapshotAssociation(token, kind);
  if (!reg::writeString(HKEY_CURRENT_USER, kFileTypeListKey, "", listWithExtension(list, token)))
    trace::line("ERROR AddFileType", token);
  return filetype::kAdded;
}

bool classInUse(const std::string& name) {
  for (const Association& association : monitoredAssociations())
    if (equalsNoCase(association.name, name)) return true;
  return false;
}

int removeMonitoredExtension(const std::string& extension) {
  const std::string token = extensionToken(extension);
  reg::writeString(HKEY_CURRENT_USER, kFileTypeListKey, "", listWithoutExtension(monitoredExtensionList(), token));
  const std::string dotted = "." + token;
  clearAndDelete(storeKey("ExtType"), dotted);
  for (int kind : kListedKinds) {
    std::string name;
    if (!snapshotName(dotted, kind, name)) continue;
    clearAndDelete(nameStore(kind), dotted);
    // Another monitored type may share the class; its snapshot stays.
    if (!classInUse(name)) clearAndDelete(commandStore(kind), name);
  }
  return 1;
}

int createClassInfo() {
  trace::line("CreateClassInfo", "");
  std::string marker;
  reg::readString(HKEY_CURRENT_USER, kFileTypeMarkerKey, "", marker);
  if (marker.empty())
    for (const char* store : {"Ext", "ExtApp", "ExtProgID", "Class"})
      reg::createKey(HKEY_CURRENT_USER, storeKey(store));
  if (!isMonitoredList(monitoredExtensionList()))
    reg::writeString(HKEY_CURRENT_USER, kFileTypeListKey, "", loadString(IDS_DEFAULT_FILE_TYPES));
  // Only what has no snapshot yet: retaking one at start would make a change
  // made while no program ran the new baseline.
  int taken = 0;
  for (const Association& association : monitoredAssociations()) {
    std::string command;
    if (!snapshotCommand(association, command)) taken += snapshotAssociation(association.extension, association.kind);
  }
  if (marker != kMarker) reg::writeString(HKEY_CURRENT_USER, kFileTypeMarkerKey, "", kMarker);
  return taken;
}

bool fileTypeIcon(const std::string& extension, std::string& path, int& index) {
  path.clear();
  index = 0;
  const std::string dotted = dottedExtension(extension);
  std::string name, icon;
  if (dotted.empty() || !readText(namePlace(dotted, association::kClass), name)) return false;
  if (!readText({HKEY_LOCAL_MACHINE, kMachineClasses + name + "\\DefaultIcon", ""}, icon)) return false;
  const IconLocation location = splitIconLocation(icon);
  if (location.hasIndex) {
    path = location.path;
    index = location.index;
    return true;
  }
  Association association;
  if (resolveAssociation(dotted, association::kClass, association)) fileTypeProgramText(association.command, &path);
  if (path.empty()) path = location.path;
  return true;
}

}  // namespace tavrin
