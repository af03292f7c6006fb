#pragma once
// Small helpers for tests that run under Wine against the real registry and files.
#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

// The folder the programs are installed in for the test run.
std::string programDir();
// Folder of the running test program.
std::string testDir();
// A fresh empty folder under the prefix's temporary folder.
std::string freshFolder(const std::string& name);

std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& content);
std::vector<std::string> lines(const std::string& text);

// Whole registry trees (tests clean up what they touched).
void deleteTree(HKEY root, const std::string& path);
void deleteValue(HKEY root, const std::string& path, const std::string& name);
bool setString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
               DWORD type = REG_SZ);
bool setBinary(HKEY root, const std::string& path, const std::string& name, const std::string& bytes,
               DWORD type = REG_BINARY);
// The raw stored data and its type; false when missing.
bool rawValue(HKEY root, const std::string& path, const std::string& name, std::string& data, DWORD& type);

}  // namespace testutil
