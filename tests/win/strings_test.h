#pragma once
#include <utility>
#include <vector>

// Every IDS_ name the program's code uses, with its number (generated from the sources).
std::vector<std::pair<const char*, int>> usedMonitorStrings();
std::vector<std::pair<const char*, int>> usedExplorerStrings();
