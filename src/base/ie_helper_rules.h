#pragma once
// Where the browser's add-ons are registered and the rules that name them and
// decide what their removal may touch; decided on the text alone.
#include <string>
#include <string_view>

namespace tavrin {

// Under HKEY_LOCAL_MACHINE.
constexpr char kBrowserHelperObjectsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
constexpr char kToolbarKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
constexpr char kExtensionsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";

// Where an add-on of a type code is registered, as the pages, the reports and
// the information dialog show it: HKLM\ and the location's key; empty for
// a code other than 900 to 902.
std::string addOnLocation(int typeCode);

// "{id}" for an identifier given without its opening brace; unchanged otherwise.
std::string bracedClassId(std::string_view classId);

// Name of a helper object or toolbar: the product name, else the file name
// of its server, else `fallback` (the class's own name or its identifier), so
// that no add-on is nameless: its approval is a value named after it.
std::string addOnName(std::string_view productName, std::string_view serverPath, std::string_view fallback);

// Name of a button extension: its button text, or "Related" when that text
// points into shdoclc.dll. The program's product name (or file name, when
// the version resource has no product name) wins wherever the program has
// version information.
std::string extensionName(std::string_view buttonText, bool programHasVersion, std::string_view productName,
                          std::string_view programFile);

// The registration an add-on's removal deletes: a whole key (helper objects,
// extensions) or one value of the Toolbar key.
struct AddOnRegistration {
  std::string keyPath;    // under HKEY_LOCAL_MACHINE
  std::string valueName;  // the toolbar's value; empty for a whole key
  // What the history records as the deleted key: the key, or the Toolbar key
  // and the value name joined by "\".
  std::string historyKey() const;
};

// False unless the type code is 900 to 902 and the entry's key names one
// registration: not empty, and for a whole key without a backslash (which
// would reach a key below another add-on's or a parent's).
bool addOnRegistration(int typeCode, std::string_view key, AddOnRegistration& out);

// Undoing a removal from its history key: the helper-object key to create
// again, or the Toolbar value to write again. Extensions keep their settings
// in the deleted key and cannot be rebuilt from the record.
struct AddOnRestore {
  std::string keyToCreate;
  std::string toolbarValue;
};
AddOnRestore addOnRestore(std::string_view historyKey);

// The system's own shell objects that the hijack-style log leaves out of the
// delay-load list (compared without regard to case).
bool isSystemShellObject(std::string_view classId);

}  // namespace tavrin
