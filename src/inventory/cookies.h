#pragma once
// The browser's cookies: the Internet Explorer cookie folder (one file per
// cookie) and the Mozilla profile's cookies.txt (one line per cookie); the
// filter texts ("nuts") that remove cookies, the cookies the user keeps, and
// the cleaned Mozilla file that the Monitor puts in place once the browser
// has closed (a running browser would write its own copy back over it).
#include <string>
#include <vector>

#include "entry_list.h"

namespace tavrin {

constexpr char kNutsKey[] = "Software\\Quennet\\Tavrin\\Nuts";
constexpr char kKeptCookiesKey[] = "Software\\Quennet\\Tavrin\\Cookies";
// Filter texts and pending removals together; the Explorer adds no filter text beyond.
constexpr int kNutLimit = 256;
constexpr int kNutFilterText = 1;
constexpr int kNutPendingRemoval = 2;

// The default browser's kind (1 to 6) from the HTTP open command, else from
// Internet Explorer's program.
int browserKind();
// Whether "Mozilla" exists in the user's application-data folder.
bool mozillaPresent();

// 1 when the folder ends in "\" and holds index.dat, 2 when it does not and
// folder\index.dat exists; 0 otherwise and for paths of fewer than 3 or more
// than 250 characters.
int indexFileCheck(const std::string& folder);
// 1 with the folder, ending in "\"; 0 with string 968 in `folder`.
int findIECookieFolder(std::string& folder);
// 1 with the Mozilla profile folder, without a trailing "\"; 0 when none is found.
int findMozillaProfileFolder(std::string& folder);
// The folder of a cookie mode as the pages show it; string 968 when there is none.
std::string cookieFolderText(int cookieMode);
// Stores the folder of a file the user picked (everything before its last
// "\") as IECookieFolder or CookieFolder; the stored folder, empty on failure.
std::string storeCookieFolder(int cookieMode, const std::string& pickedFile);

struct Nut {
  std::string text;  // at most 512 characters
  int number = 0;    // kNutFilterText or kNutPendingRemoval
};
// Every value of the Nuts key, in enumeration order.
std::vector<Nut> loadNuts();
enum class AddNut { Added, Empty, Blank, LimitReached, Failed };
// Stores a filter text and runs a filter pass of the mode at once (the list
// holds what that pass listed). Refused when empty, blank or over the limit.
AddNut addNut(const std::string& text, EntryList& list, int cookieMode);
// 1 when the filter text's value was deleted.
int removeNut(const std::string& text);

enum class CookieRun { List, Filter };
// Clears the list and lists the cookies of the mode. Internet Explorer: the
// .txt files of the cookie folder that are not system files, type 500, up to
// the list's cookie limit; a filter run first deletes every file whose path a
// nut matches. Mozilla: one entry (type 504) per cookie line; a filter run
// lists nothing and writes cookiesnew.txt without the cookies the nuts name,
// then sets UpdateCookieFile once the whole copy is written. The count listed.
int listCookies(EntryList& list, int cookieMode, CookieRun run);

// A Mozilla cookie the user removed whose removal awaits the Monitor.
bool isPendingRemoval(const std::string& listName);
bool isCookieKept(const std::string& listName);
// Remembers the kept ones, removes the others (its kept value goes; an IE
// file is deleted, a Mozilla cookie gets a pending removal) and, in the
// Mozilla mode, runs a filter pass so that the cleaned copy omits them.
void removeCookies(const std::vector<std::string>& removed, const std::vector<std::string>& kept, int cookieMode,
                   EntryList& list);

// Monitor: while UpdateCookieFile is set and no Mozilla window exists, cleans
// the current cookies.txt of the profile folder, replaces it in one step and
// then deletes the flag and the pending removals that copy applied. 1 when
// the file was replaced.
int putCleanedMozillaFileInPlace(const std::string& profileFolder);

}  // namespace tavrin
