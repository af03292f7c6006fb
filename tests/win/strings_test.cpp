// The programs' string tables against the system's texts, byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "strings_test.h"
#include "support/win_test_util.h"

namespace {

// tsv texts write line breaks as \n, tabs as \t and other bytes as \xNN.
std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      char next = text[i + 1];
      if (next == 'n') { out += '\n'; ++i; continue; }
      if (next == 't') { out += '\t'; ++i; continue; }
      if (next == 'x' && i + 3 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 2])) &&
          isxdigit(static_cast<unsigned char>(text[i + 3]))) {
        out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
        i += 3;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::map<int, std::string> expectedTable(const std::string& program) {
  std::map<int, std::string> table;
  for (const std::string& line : testutil::lines(testutil::readFile(TAVRIN_STRINGS_TSV))) {
    std::size_t a = line.find('\t'), b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos || line.substr(0, a) != program) continue;
    table[std::stoi(line.substr(a + 1, b - a - 1))] = unescape(line.substr(b + 1));
  }
  return table;
}

BOOL CALLBACK collectBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(param)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

class StringTable : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(StringTable, HoldsExactlyTheSystemsTextsAndEveryStringTheCodeUses) {
  const std::string program = GetParam();
  const std::string exe = testutil::programDir() + (program == "monitor" ? "\\Tavrin.exe" : "\\TavrinEx.exe");
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << exe;
  const auto expected = expectedTable(program);
  ASSERT_GT(expected.size(), 100u);
  for (const auto& [id, text] : expected) {
    char buffer[2048] = {};
    int n = LoadStringA(module, static_cast<UINT>(id), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)), text) << program << " string " << id;
  }
  // Nothing in the table that the list does not name.
  std::set<int> blocks;
  EnumResourceNamesA(module, MAKEINTRESOURCEA(6), collectBlock, reinterpret_cast<LONG_PTR>(&blocks));
  for (int block : blocks) {
    for (int id = (block - 1) * 16; id < block * 16; ++id) {
      char buffer[8];
      if (LoadStringA(module, static_cast<UINT>(id), buffer, sizeof buffer) > 0) {
        EXPECT_TRUE(expected.count(id) && !expected.at(id).empty()) << program << " has an unlisted string " << id;
      }
    }
  }
  // A number the code loads is one of the system's strings (those with a text hold it, as above).
  const auto used = program == "monitor" ? usedMonitorStrings() : usedExplorerStrings();
  EXPECT_FALSE(used.empty());
  for (const auto& [name, id] : used)
    EXPECT_TRUE(expected.count(id)) << program << " uses " << name << " (" << id << "), no string of the system";
  FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Programs, StringTable, ::testing::Values("monitor", "explorer"));
