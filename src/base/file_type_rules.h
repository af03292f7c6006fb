#pragma once
// Text rules of the monitored file-type associations: the list of monitored
// extensions and what an added one must pass, the program the lists show for
// an open command, the patrol's comparison and the split of an icon location.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command_text.h"

namespace tavrin {

// Results of adding an extension; each but kAdded is the message to show.
namespace filetype {
constexpr int kAdded = 0;
constexpr int kInvalid = 761;
constexpr int kAlreadyMonitored = 762;
constexpr int kListFull = 763;
}  // namespace filetype

// The list and a new token together must stay below this length.
constexpr std::size_t kFileTypeListLimit = 1020;
// Tokens are read no longer than this.
constexpr std::size_t kExtensionTokenWidth = 256;

// The text without one leading dot.
std::string extensionToken(std::string_view text);
// A token that can only name an extension: not empty, at most
// kExtensionTokenWidth characters, no second leading dot, without the list's
// separator ";", the key separators "\" and "/", blanks and control characters.
bool isValidExtensionToken(std::string_view token);
// The usable tokens of a list in order, without a leading dot and cut at
// kExtensionTokenWidth; invalid ones are skipped so they never address other keys.
std::vector<std::string> monitoredTokens(std::string_view list);
// Whether the list holds the extension, ignoring case and a leading dot.
bool listHoldsExtension(std::string_view list, std::string_view text);
// filetype::kAdded when the text may be appended to the list, else the
// refusal: invalid, list full or already monitored (in that order).
int checkNewExtension(std::string_view list, std::string_view text);
// The list with the token appended and ";" after it.
std::string listWithExtension(std::string_view list, std::string_view token);
// The list without every token naming the extension (ignoring case and a
// leading dot, as the listing reads them), each kept one followed by ";".
std::string listWithoutExtension(std::string_view list, std::string_view text);
// An initialised list holds a ";" somewhere.
bool isMonitoredList(std::string_view list);

// What the patrol compares: the text after the last "\", with double quotes
// dropped and "=" read as ":" on both sides, ignoring case. A change of the
// program's folder alone is no change.
bool sameAssociationProgram(std::string_view snapshot, std::string_view current);

// The program a list shows for an open command: a string id (746 for a
// command that runs the file itself, 742 for an empty one) or, with
// stringId 0, the program file (a RUNDLL32 command's library) and its name.
struct AssociationProgram {
  int stringId = 0;
  std::string programFile;
  std::string fileName;
};
AssociationProgram associationProgram(std::string_view command, const CommandExpansion& values);

// A DefaultIcon value split at its last comma: the file (quotes dropped) and
// the icon's number. `hasIndex` is false without a comma; the path then holds
// the whole text.
struct IconLocation {
  std::string path;
  int index = 0;
  bool hasIndex = false;
};
IconLocation splitIconLocation(std::string_view text);

}  // namespace tavrin
