#pragma once
// The data folder both programs share: the user's application-data folder
// followed by "\Tavrin", holding the vault of quarantined files and the kept
// copies of watched system files.
#include <string>

namespace tavrin {

// The data folder, created with its "vault" when missing. When the
// application-data folder is unknown or the vault can neither be created nor
// found, it is the program folder. Returns 1 when a folder was found.
int dataFolder(std::string& out);
std::string dataFolderPath();
// The folder "vault" in the data folder.
std::string vaultFolder();
// The note file of a program (program folder, else the data folder); empty when none exists.
std::string existingNoteFile(const std::string& programPath);

}  // namespace tavrin
