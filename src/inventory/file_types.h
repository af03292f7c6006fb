#pragma once
// The "open" commands of the monitored file extensions: the associations of
// each, their snapshot under HKEY_CURRENT_USER Software\Quennet\Tavrin, the
// list of monitored extensions with Add and Remove, and what the Monitor's
// check and its undo need.
#include <string>

#include "entry_list.h"

namespace tavrin {

// The association kinds, kept as the entry's flag.
namespace association {
constexpr int kClass = 1;        // HKLM Software\Classes\.ext
constexpr int kApplication = 2;  // the user's FileExts value Application
constexpr int kProgId = 3;       // the user's FileExts value ProgID
constexpr int kRootClass = 4;    // HKEY_CLASSES_ROOT\.ext; snapshotted and restored only
}  // namespace association

// Snapshot keys, each below Software\Quennet\Tavrin. The default value of
// `Class` is the list of monitored extensions.
constexpr char kFileTypeListKey[] = "Software\\Quennet\\Tavrin\\Class";
constexpr char kFileTypeMarkerKey[] = "Software\\Quennet\\Tavrin\\Ext";

struct Association {
  std::string extension;  // with its dot, in the letter case of the list
  int kind = 0;
  std::string name;       // class, application or identifier
  std::string command;    // the open command as the shell runs it (variables expanded)
};

// Resolves one kind for an extension given with or without its dot. False
// when the name or the command is missing or empty, or the extension is no
// valid token.
bool resolveAssociation(const std::string& extension, int kind, Association& out);

// The monitored-extension list as stored (the whole value).
std::string monitoredExtensionList();
// Every existing association of kinds 1 to 3, in list order and kind order.
std::vector<Association> monitoredAssociations();
// Clears the list and fills it with one type-400 entry per monitored
// association: description, command, class, extension, kind. The count.
int enumerateFileTypes(EntryList& list);

// The snapshot of one kind: its name under the extension and the command,
// verbatim with its value type, under the name. 1 when both were written.
int snapshotAssociation(const std::string& extension, int kind);
// Writes the snapshotted name and command back where they were read. 1 when
// everything that was snapshotted was written; 0 when there is no snapshot
// or a write failed.
int restoreAssociation(const std::string& extension, int kind);

// The snapshot's command of an association, expanded for comparison; false
// when none was taken.
bool snapshotCommand(const Association& association, std::string& command);

// 0 when added (its associations snapshotted), else the message id:
// 761 not a usable extension, 763 list full, 762 already monitored. Nothing
// changes on a refusal.
int addMonitoredExtension(const std::string& text);
// Drops the extension (without its dot) from the list with its snapshot
// names, and each snapshot command no listed association still uses. 1.
int removeMonitoredExtension(const std::string& extension);
// Whether any listed association resolves to the name.
bool classInUse(const std::string& name);

// At every start of either program: creates the area with the default list
// when it is missing, otherwise snapshots the listed associations that have
// no snapshot yet. The number snapshotted.
int createClassInfo();

// The icon of a kind-1 association: its DefaultIcon split at the last comma;
// without a comma, the command's program file and 0. False without a
// DefaultIcon.
bool fileTypeIcon(const std::string& extension, std::string& path, int& index);
// The program shown for a command (file name, or string 746 / 742) and the
// program file to read version information from (empty for a string).
std::string fileTypeProgramText(const std::string& command, std::string* programFile = nullptr);

}  // namespace tavrin
