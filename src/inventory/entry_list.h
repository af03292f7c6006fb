#pragma once
// The entry list: what the last enumeration of any inventory found, read by
// pages, reports and patrol checks by index. Each program owns one.
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

struct Entry {
  Entry() = default;
  // What the startup actions are given: where the entry is, not what a list showed of it.
  Entry(std::string name_, std::string programPath_, std::string key_, int typeCode_, int flag_ = 0)
      : name(std::move(name_)), programPath(std::move(programPath_)), key(std::move(key_)), typeCode(typeCode_),
        flag(flag_) {}

  std::string name;         // at most 127 characters
  std::string programPath;  // at most 259, without double quotes, long-path form
  std::string key;          // at most 259: shortcut file, class id, value name ...
  int typeCode = 0;
  int flag = 0;             // meaning chosen by the inventory that filled it
  std::string detail;       // at most 1023
};

// The program path an entry list holds for the one given: without double
// quotes, cut to its width, in long form when it names a file. Approvals and
// look-ups of a listed entry go by this form.
std::string listedProgramPath(const std::string& programPath);

class EntryList {
 public:
  static constexpr std::size_t kCapacity = 4096;
  static constexpr std::size_t kNameWidth = 127;
  static constexpr std::size_t kPathFieldWidth = 259;
  static constexpr std::size_t kDetailWidth = 1023;

  // `caption` replaces any name that contains the product word; cookie
  // entries (type 500) stop at `cookieLimit` entries in the list.
  EntryList(std::string caption, int cookieLimit);

  void setCookieLimit(int cookieLimit) { cookieLimit_ = cookieLimit; }
  const std::string& caption() const { return caption_; }

  void clear();
  // 1 when the entry was appended; 0 when the list is full or a cookie entry
  // would pass the cookie limit. Texts are cut to their widths.
  int add(const std::string& name, const std::string& programPath, const std::string& key,
          const std::string& detail, int typeCode, int flag);
  // The same limits and widths, but the texts stay as given: no long-path
  // forms, no name replacement (cookie paths and values are no files, and a
  // cookie's name must stay the name it is kept and removed under).
  int addAsIs(Entry entry);
  int count() const { return static_cast<int>(entries_.size()); }

  // Replaces an entry's key (cut to its width), as when an action changed
  // what it shows; an index outside the list changes nothing.
  void setKey(int index, const std::string& key);

  // Reads of an index outside the list give an empty text or 0.
  std::string name(int index) const;
  std::string programPath(int index) const;
  std::string key(int index) const;
  std::string detail(int index) const;
  int typeCode(int index) const;
  int flag(int index) const;
  // The whole entry; an empty one outside the list.
  const Entry& entry(int index) const;
  // The former type code in the entry's disabled marker; 0 when it has none.
  int disabledState(int index) const;

 private:
  const Entry* at(int index) const;
  bool hasRoomFor(int typeCode) const;

  std::string caption_;
  int cookieLimit_;
  std::vector<Entry> entries_;
};

// The disabled markers read in one pass over their key, for a page that asks
// about thousands of rows (EntryList::disabledState reads one value a call).
class DisabledMarkers {
 public:
  // As EntryList::disabledState for an entry of this name.
  int stateOf(const std::string& name);
  // Whether any marker text is stored under this name, as hasDisabledMarker.
  bool marked(const std::string& name);
  void clear();

 private:
  std::string textOf(const std::string& name);
  bool read_ = false;
  std::map<std::string, std::string> texts_;  // marker texts by value name in lower case
};

}  // namespace tavrin
