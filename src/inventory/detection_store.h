#pragma once
// The system's memory of what it has seen: first-detection dates under
// Software\Quennet\Detected and the approved lists under Software\Quennet\Tavrin.
#include <map>
#include <string>

#include "entry_list.h"

namespace tavrin {

constexpr char kDetectedKey[] = "Software\\Quennet\\Detected";
constexpr char kApprovedStartupKey[] = "Software\\Quennet\\Tavrin\\Run";
constexpr char kApprovedIEHelpersKey[] = "Software\\Quennet\\Tavrin\\IEHelpers";

// The Detected sub-key of a type code ("Startup", "IEHelper", ...).
const char* detectionCategoryOf(int typeCode);
// The stored first-detection date of a program file; empty when none.
std::string firstDetectionDate(const std::string& programFile, int typeCode);
// 1 when a date was already stored; 0 when one was written now or the program
// file does not exist.
int recordFirstDetection(const std::string& programPath, const std::string& category);

// The first-detection dates of whole categories, each key read in one pass
// when first asked: dating every row of a page value by value costs a
// registry round trip a row.
class DetectionDates {
 public:
  // As firstDetectionDate.
  std::string dateOf(const std::string& programFile, int typeCode);
  // As recordFirstDetection for a file known to exist, then the date it has.
  std::string record(const std::string& programFile, int typeCode);
  void clear() { categories_.clear(); }

 private:
  struct Stored {
    std::string date;  // empty for a value too long to be a date
  };
  // Value names in upper case: the registry compares them so.
  std::map<std::string, Stored>& category(const char* name);
  std::map<std::string, std::map<std::string, Stored>> categories_;
};

// Approves a startup entry: its type code (or 1103 for a delayed program)
// under its startup key.
void approveStartup(const std::string& programPath, int approval);

// Approves an add-on: its type code under its name.
void approveIEHelper(const std::string& name, int typeCode);

// Whether an approved-list value exists and reads as a number other than 0.
bool isApproved(const std::string& key, const std::string& valueName);
// A startup entry: looked up by its startup key, then by its name.
bool isStartupApproved(const std::string& programPath, const std::string& name);

// While one lives, each inventory the baselines below list is listed once and
// that listing reused: a first run makes several baselines of one machine.
// Whatever changes an inventory's places in the meantime calls
// forgetSharedListings.
class SharedListings {
 public:
  SharedListings();
  ~SharedListings();
  SharedListings(const SharedListings&) = delete;
  SharedListings& operator=(const SharedListings&) = delete;

 private:
  bool owner_ = false;
};
void forgetSharedListings();

// One-time and on-request baselines; each enumerates into `list` and leaves it
// empty. A baseline's marker is written after its values: one ended half-way
// is made again at the next start.
void initialiseDetectionDates(EntryList& list);
void initialiseApprovedStartups(EntryList& list);
void rebuildApprovedStartups(EntryList& list);
void initialiseApprovedServices(EntryList& list);
// The Tasks and IEHelpers lists of a store that an earlier build made
// without them: each filled once from what is present, then marked "P".
void initialiseApprovedTasks(EntryList& list);
// Also approves the startup entries again, unless they were approved just
// now from the same listing.
void initialiseApprovedHidden(EntryList& list, bool startupsApproved);

}  // namespace tavrin
