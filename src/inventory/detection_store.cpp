#include "detection_store.h"

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

#include "base/command_text.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "date_text.h"
#include "file_types.h"
#include "hidden_files.h"
#include "ie_helpers.h"
#include "processes.h"
#include "program_file.h"
#include "scheduled_tasks.h"
#include "services.h"
#include "startup_enum.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr char kSystemKeyPath[] = "Software\\Quennet\\Tavrin";
// Room for a stored date with its terminator.
constexpr std::size_t kDateCapacity = 24;

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// An inventory the store dates and approves. Adding an inventory is one row.
struct Inventory {
  const char* detectedCategory;
  // Approved list under Software\Quennet\Tavrin and the trace text of its
  // initialisation; null for inventories approved elsewhere.
  const char* approvedList;
  const char* approvalTrace;
  // False when the inventory's source could not be read.
  bool (*enumerate)(EntryList& list);
  // The approved value's name of an entry.
  std::string (*approvedName)(const EntryList& list, int index);
  // The list carries the marker "P" once filled from a source that could be read.
  bool marked;
};

bool enumerateAllStartup(EntryList& list) { return enumerateStartup(list, false, 0) >= 0; }
std::string startupName(const EntryList& list, int index) { return startupKeyOf(list.programPath(index)); }
std::string entryName(const EntryList& list, int index) { return list.name(index); }

bool enumerateAllTasks(EntryList& list) {
  bool reached = false;
  enumerateTasks(list, &reached);
  return reached;
}
// Every installed service, whatever the listing option says.
bool enumerateAllServices(EntryList& list) { return enumerateServices(list, false) >= 0; }
bool enumerateAllFileTypes(EntryList& list) { return enumerateFileTypes(list) >= 0; }
// A folder that cannot be listed adds nothing; the scan itself always completes.
bool enumerateAllHidden(EntryList& list) {
  enumerateHiddenFiles(list);
  return true;
}
// A missing add-on location holds no add-ons: the registry is always read.
bool enumerateAllIEHelpers(EntryList& list) { return enumerateIEHelpers(list) >= 0; }
bool enumerateRunningPrograms(EntryList& list) { return listRunningPrograms(list) >= 0; }

// In the order their dates are recorded.
const Inventory kInventories[] = {
    {"Startup", "Run", "StarupList - tavrin", enumerateAllStartup, startupName, false},
    {"IEHelper", "IEHelpers", "IEHelperList - tavrin", enumerateAllIEHelpers, entryName, true},
    {"Tasks", "Tasks", "GetScheduledTasks - tavrin", enumerateAllTasks, entryName, true},
    {"Services", nullptr, nullptr, enumerateAllServices, entryName, false},
    {"FileTypes", nullptr, nullptr, enumerateAllFileTypes, nullptr, false},
    {"ActiveTasks", nullptr, nullptr, enumerateRunningPrograms, nullptr, false},
    {"Hidden", nullptr, nullptr, enumerateAllHidden, entryName, false},
};

const char* const kCategories[] = {"Startup", "IEHelper", "Services", "Tasks", "ActiveTasks", "FileTypes", "Hidden"};

std::string approvedKey(const char* list) { return std::string(kSystemKeyPath) + "\\" + list; }

bool startsWithP(HKEY root, const std::string& key) {
  std::string marker;
  return reg::readString(root, key, "", marker) > 0 && marker[0] == 'P';
}

bool holdsApprovals(const std::string& key) {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_CURRENT_USER, key, values);
  for (const reg::Value& value : values)
    if (!value.name.empty()) return true;
  return false;
}

struct Listing {
  bool read = false;
  EntryList list{"", 0};
};
// The listings shared while a SharedListings lives; null otherwise.
std::map<bool (*)(EntryList&), Listing>* sharedListings = nullptr;

bool enumerate(const Inventory& inventory, EntryList& list) {
  if (!sharedListings) return inventory.enumerate(list);
  const auto found = sharedListings->find(inventory.enumerate);
  if (found != sharedListings->end()) {
    list = found->second.list;
    return found->second.read;
  }
  Listing& listing = (*sharedListings)[inventory.enumerate];
  listing.read = inventory.enumerate(list);
  listing.list = list;
  return listing.read;
}

const Inventory& inventoryOf(const char* detectedCategory) {
  for (const Inventory& inventory : kInventories)
    if (std::string(inventory.detectedCategory) == detectedCategory) return inventory;
  return kInventories[0];
}

// Writes the type code of every entry under its approved name.
void approveInventory(const Inventory& inventory, EntryList& list) {
  trace::line("InitRegStartups", inventory.approvalTrace);
  const bool read = enumerate(inventory, list);
  const std::string key = approvedKey(inventory.approvedList);
  std::vector<std::pair<std::string, std::string>> approvals;
  for (int i = 0; i < list.count(); ++i)
    approvals.emplace_back(inventory.approvedName(list, i), std::to_string(list.typeCode(i)));
  reg::writeStrings(HKEY_CURRENT_USER, key, approvals);
  if (inventory.marked && read) reg::writeString(HKEY_CURRENT_USER, key, "", "P");
  list.clear();
}

// Dates every listed program file that has none in `category` yet, as
// recordFirstDetection would one by one: the key read once, the new dates
// written at once, each file looked up once.
void recordDetections(const EntryList& list, const std::string& category) {
  const std::string key = std::string(kDetectedKey) + "\\" + category;
  std::vector<reg::Value> values;
  reg::readValues(HKEY_CURRENT_USER, key, values);
  std::set<std::string> dated;
  for (const reg::Value& value : values) dated.insert(upper(value.name));
  ProgramFiles files;
  const std::string now = currentDateTimeText();
  std::vector<std::pair<std::string, std::string>> dates;
  for (int i = 0; i < list.count(); ++i) {
    if (list.programPath(i).empty()) continue;
    const ProgramFiles::Facts& facts = files.of(list.programPath(i));
    if (facts.exists && dated.insert(upper(facts.file)).second) dates.emplace_back(facts.file, now);
  }
  reg::writeStrings(HKEY_CURRENT_USER, key, dates);
}

}  // namespace

SharedListings::SharedListings() {
  if (sharedListings) return;
  sharedListings = new std::map<bool (*)(EntryList&), Listing>();
  owner_ = true;
}

SharedListings::~SharedListings() {
  if (!owner_) return;
  delete sharedListings;
  sharedListings = nullptr;
}

void forgetSharedListings() {
  if (sharedListings) sharedListings->clear();
}

const char* detectionCategoryOf(int typeCode) {
  if (typeCode >= 900 && typeCode <= 902) return "IEHelper";
  if (typeCode == 700 || typeCode == 701) return "Services";
  if (typeCode == 800) return "Tasks";
  if (typeCode == 400) return "FileTypes";
  if (typeCode == 370) return "Hidden";
  if (typeCode < 300) return "Startup";
  return "ActiveTasks";
}

std::string firstDetectionDate(const std::string& programFile, int typeCode) {
  std::string date;
  reg::readString(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\" + detectionCategoryOf(typeCode), programFile,
                  date, kDateCapacity);
  return date;
}

int recordFirstDetection(const std::string& programPath, const std::string& category) {
  std::string file = programFileOfCommand(programPath);
  if (!programFileExists(file)) return 0;
  const std::string key = std::string(kDetectedKey) + "\\" + category;
  if (reg::valueExists(HKEY_CURRENT_USER, key, file)) return 1;
  reg::writeString(HKEY_CURRENT_USER, key, file, currentDateTimeText());
  return 0;
}

std::map<std::string, DetectionDates::Stored>& DetectionDates::category(const char* name) {
  const auto found = categories_.find(name);
  if (found != categories_.end()) return found->second;
  std::map<std::string, Stored>& dates = categories_[name];
  std::vector<reg::Value> values;
  reg::readValues(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\" + name, values);
  for (const reg::Value& value : values) {
    Stored stored;
    // firstDetectionDate's limit: a longer text is no date.
    if (!reg::valueText(value, stored.date) || stored.date.size() >= kDateCapacity) stored.date.clear();
    dates.emplace(upper(value.name), std::move(stored));
  }
  return dates;
}

std::string DetectionDates::dateOf(const std::string& programFile, int typeCode) {
  const auto& dates = category(detectionCategoryOf(typeCode));
  const auto found = dates.find(upper(programFile));
  return found == dates.end() ? std::string() : found->second.date;
}

std::string DetectionDates::record(const std::string& programFile, int typeCode) {
  const char* name = detectionCategoryOf(typeCode);
  auto& dates = category(name);
  const std::string key = upper(programFile);
  const auto found = dates.find(key);
  if (found != dates.end()) return found->second.date;
  Stored stored;
  stored.date = currentDateTimeText();
  reg::writeString(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\" + name, programFile, stored.date);
  return dates.emplace(key, std::move(stored)).first->second.date;
}

void approveIEHelper(const std::string& name, int typeCode) {
  reg::writeString(HKEY_CURRENT_USER, kApprovedIEHelpersKey, name, std::to_string(typeCode));
}

void approveStartup(const std::string& programPath, int approval) {
  reg::writeString(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(programPath), std::to_string(approval));
}

bool isApproved(const std::string& key, const std::string& valueName) {
  std::string data;
  return reg::readString(HKEY_CURRENT_USER, key, valueName, data) > 0 && leadingNumber(data) != 0;
}

bool isStartupApproved(const std::string& programPath, const std::string& name) {
  return isApproved(kApprovedStartupKey, startupKeyOf(programPath)) || isApproved(kApprovedStartupKey, name);
}

void initialiseDetectionDates(EntryList& list) {
  std::string created;
  if (reg::readString(HKEY_CURRENT_USER, kDetectedKey, "", created) > 0) return;
  const std::string started = currentDateTimeText();
  reg::createKey(HKEY_CURRENT_USER, kDetectedKey);
  for (const char* category : kCategories) reg::createKey(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\" + category);
  for (const Inventory& inventory : kInventories) {
    enumerate(inventory, list);
    recordDetections(list, inventory.detectedCategory);
  }
  list.clear();
  // Written last: a start ended half-way dates again at the next start.
  reg::writeString(HKEY_CURRENT_USER, kDetectedKey, "", started);
}

void initialiseApprovedStartups(EntryList& list) {
  for (const Inventory& inventory : kInventories)
    if (inventory.approvedList) approveInventory(inventory, list);
}

void initialiseApprovedTasks(EntryList& list) {
  for (const Inventory& inventory : kInventories)
    if (inventory.marked && !startsWithP(HKEY_CURRENT_USER, approvedKey(inventory.approvedList)))
      approveInventory(inventory, list);
}

void rebuildApprovedStartups(EntryList& list) {
  trace::line("Cleanup Run Registry", "tavrin");
  for (const char* name : {"Run", "IEHelpers", "Tasks"}) {
    reg::deleteTree(HKEY_CURRENT_USER, approvedKey(name));
    reg::createKey(HKEY_CURRENT_USER, approvedKey(name));
  }
  initialiseApprovedStartups(list);
}

void initialiseApprovedServices(EntryList& list) {
  const std::string key = approvedKey("Services");
  // A marker over an empty list was written by a build that could not list
  // services yet: every machine has some.
  if (startsWithP(HKEY_CURRENT_USER, key) && holdsApprovals(key)) return;
  reg::deleteTree(HKEY_CURRENT_USER, key);
  reg::createKey(HKEY_CURRENT_USER, key);
  enumerate(inventoryOf("Services"), list);
  for (int i = 0; i < list.count(); ++i) approveService(list.name(i), list.typeCode(i));
  list.clear();
  // The marker last: a list it marks is complete.
  reg::writeString(HKEY_CURRENT_USER, key, "", "P");
}

void initialiseApprovedHidden(EntryList& list, bool startupsApproved) {
  const std::string key = approvedKey("Hidden");
  if (startsWithP(HKEY_CURRENT_USER, key)) return;
  reg::deleteTree(HKEY_CURRENT_USER, key);
  reg::createKey(HKEY_CURRENT_USER, key);
  reg::createKey(HKEY_CURRENT_USER, kDetectedKey);
  if (!startupsApproved) initialiseApprovedStartups(list);
  enumerate(inventoryOf("Hidden"), list);
  for (int i = 0; i < list.count(); ++i)
    if (!list.programPath(i).empty()) approveHiddenFile(list.programPath(i));
  list.clear();
  reg::writeString(HKEY_CURRENT_USER, key, "", "P");
}

}  // namespace tavrin
