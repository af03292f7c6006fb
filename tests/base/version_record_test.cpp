#include "base/version_record.h"

#include <gtest/gtest.h>

#include <map>

using namespace tavrin;

namespace {

struct FakeResource {
  std::map<std::string, std::string> values;
  VersionLookup lookup() const {
    return [this](const std::string& subBlock, std::string& value) {
      auto it = values.find(subBlock);
      if (it == values.end()) return false;
      value = it->second;
      return true;
    };
  }
};

const std::uint32_t kEnglish = 0x040904b0;
const std::uint32_t kGerman = 0x040704e4;

}  // namespace

// The fields, the translations and an operating system's product are read from
// real resources in the Windows tests; here the cases those files do not hold.
TEST(VersionRecord, ALaterPairWithoutANameKeepsTheEarlierOneAnd128CharactersAreTooMany) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\ProductName", "English"},
                  {"\\StringFileInfo\\040904b0\\CompanyName", "Acme Inc"},
                  {"\\StringFileInfo\\040704e4\\ProductVersion", "2.0"}}};
  VersionRecord record;
  EXPECT_TRUE(pickVersionRecord({kEnglish, kGerman}, r.lookup(), record));
  EXPECT_EQ(record.productName, "English");
  EXPECT_EQ(record.companyName, "Acme Inc");
  EXPECT_EQ(record.productVersion, "");
  EXPECT_FALSE(pickVersionRecord({}, r.lookup(), record));
  EXPECT_EQ(record.productName, "");
  // A 127-character field fits, a 128-character one reads as empty.
  FakeResource wide{{{"\\StringFileInfo\\040904b0\\ProductName", "P"},
                     {"\\StringFileInfo\\040904b0\\CompanyName", std::string(128, 'c')},
                     {"\\StringFileInfo\\040904b0\\FileDescription", std::string(127, 'd')}}};
  pickVersionRecord({kEnglish}, wide.lookup(), record);
  EXPECT_EQ(record.companyName, "");
  EXPECT_EQ(record.fileDescription, std::string(127, 'd'));
  wide.values["\\StringFileInfo\\040904b0\\ProductName"] = std::string(128, 'p');
  EXPECT_FALSE(pickVersionRecord({kEnglish}, wide.lookup(), record));
}
