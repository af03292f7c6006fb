#include "entry_list.h"

#include <algorithm>
#include <utility>

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/text.h"
#include "program_file.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr char kProductWord[] = "Tavrin";

// The long form when it fits the field; a longer one would be cut into a path
// that names nothing, so the form given (which fits) is kept instead.
std::string longFormWithin(const std::string& path, std::size_t width) {
  std::string longPath = longPathForm(path);
  return longPath.size() <= width ? longPath : path;
}

}  // namespace

std::string listedProgramPath(const std::string& programPath) {
  const std::string unquoted = removeQuotes(cut(programPath, EntryList::kPathFieldWidth));
  // Shorter texts are no path worth asking the file system about.
  return unquoted.size() >= 4 ? longFormWithin(unquoted, EntryList::kPathFieldWidth) : unquoted;
}

EntryList::EntryList(std::string caption, int cookieLimit) : caption_(std::move(caption)), cookieLimit_(cookieLimit) {}

void EntryList::clear() { entries_.clear(); }

int EntryList::add(const std::string& name, const std::string& programPath, const std::string& key,
                   const std::string& detail, int typeCode, int flag) {
  if (!hasRoomFor(typeCode)) return 0;

  Entry entry;
  entry.detail = cut(detail, kDetailWidth);
  const std::string unquoted = removeQuotes(cut(programPath, kPathFieldWidth));
  // The key is converted only when the program path was.
  const bool convert = unquoted.size() >= 4;
  entry.programPath = listedProgramPath(programPath);

  const std::string givenName = cut(name, kNameWidth);
  if (givenName.empty())
    entry.name = cut(nameFromProgramPath(entry.programPath), kNameWidth);
  else if (contains(givenName, kProductWord))
    entry.name = cut(caption_, kNameWidth);
  else
    entry.name = givenName;

  const std::string givenKey = cut(key, kPathFieldWidth);
  // A Startup-folder file is its own key: its long form is already known.
  if (!convert)
    entry.key = givenKey;
  else if (givenKey == unquoted)
    entry.key = entry.programPath;
  else
    entry.key = longFormWithin(givenKey, kPathFieldWidth);
  entry.typeCode = typeCode;
  entry.flag = flag;
  entries_.push_back(std::move(entry));
  return 1;
}

bool EntryList::hasRoomFor(int typeCode) const {
  return entries_.size() < kCapacity && (typeCode != typecode::kCookie || count() < cookieLimit_);
}

int EntryList::addAsIs(Entry entry) {
  if (!hasRoomFor(entry.typeCode)) return 0;
  entry.name = cut(entry.name, kNameWidth);
  entry.programPath = cut(entry.programPath, kPathFieldWidth);
  entry.key = cut(entry.key, kPathFieldWidth);
  entry.detail = cut(entry.detail, kDetailWidth);
  entries_.push_back(std::move(entry));
  return 1;
}

const Entry* EntryList::at(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return &entries_[static_cast<std::size_t>(index)];
}

std::string EntryList::name(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->name : std::string();
}

std::string EntryList::programPath(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->programPath : std::string();
}

void EntryList::setKey(int index, const std::string& key) {
  if (index >= 0 && index < count()) entries_[static_cast<std::size_t>(index)].key = cut(key, kPathFieldWidth);
}

std::string EntryList::key(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->key : std::string();
}

std::string EntryList::detail(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->detail : std::string();
}

int EntryList::typeCode(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->typeCode : 0;
}

int EntryList::flag(int index) const {
  const Entry* entry = at(index);
  return entry ? entry->flag : 0;
}

const Entry& EntryList::entry(int index) const {
  static const Entry kNone;
  const Entry* e = at(index);
  return e ? *e : kNone;
}

int EntryList::disabledState(int index) const {
  const Entry* entry = at(index);
  // An empty name would read the key's default value, which marks nothing.
  if (!entry || entry->name.empty()) return 0;
  std::string marker;
  if (reg::readString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, entry->name, marker) == 0) return 0;
  return disabledMarkerCode(marker);
}

void DisabledMarkers::clear() {
  read_ = false;
  texts_.clear();
}

namespace {
// The registry also folds the case of letters beyond ASCII: such a name is asked for.
bool asciiOnly(const std::string& name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
}  // namespace

std::string DisabledMarkers::textOf(const std::string& name) {
  if (name.empty()) return std::string();
  if (!read_) {
    read_ = true;
    std::vector<reg::Value> values;
    reg::readValues(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, values);
    for (const reg::Value& value : values) {
      std::string text;
      if (!reg::valueText(value, text)) text.clear();
      texts_[lower(value.name)] = text;
    }
  }
  const auto found = texts_.find(lower(name));
  if (found != texts_.end()) return found->second;
  std::string text;
  if (!asciiOnly(name)) reg::readString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, text);
  return text;
}

int DisabledMarkers::stateOf(const std::string& name) { return disabledMarkerCode(textOf(name)); }

bool DisabledMarkers::marked(const std::string& name) { return !textOf(name).empty(); }

}  // namespace tavrin
