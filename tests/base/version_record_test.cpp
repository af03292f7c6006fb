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

TEST(VersionRecord, TakesAllFiveFieldsOfATranslation) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\ProductName", "Widget"},
                  {"\\StringFileInfo\\040904b0\\ProductVersion", "1.2"},
                  {"\\StringFileInfo\\040904b0\\CompanyName", "Acme"},
                  {"\\StringFileInfo\\040904b0\\FileDescription", "Widget tool"},
                  {"\\StringFileInfo\\040904b0\\LegalCopyright", "(c) Acme"}}};
  VersionRecord record;
  EXPECT_TRUE(pickVersionRecord({kEnglish}, r.lookup(), record));
  EXPECT_EQ(record.productName, "Widget");
  EXPECT_EQ(record.productVersion, "1.2");
  EXPECT_EQ(record.companyName, "Acme");
  EXPECT_EQ(record.fileDescription, "Widget tool");
  EXPECT_EQ(record.legalCopyright, "(c) Acme");
}

TEST(VersionRecord, LastTranslationWithAProductNameDecidesEverything) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\ProductName", "English"},
                  {"\\StringFileInfo\\040904b0\\CompanyName", "Acme Inc"},
                  {"\\StringFileInfo\\040704e4\\ProductName", "Deutsch"},
                  {"\\StringFileInfo\\040704e4\\ProductVersion", "2.0"}}};
  VersionRecord record;
  EXPECT_TRUE(pickVersionRecord({kEnglish, kGerman}, r.lookup(), record));
  EXPECT_EQ(record.productName, "Deutsch");
  EXPECT_EQ(record.productVersion, "2.0");
  EXPECT_EQ(record.companyName, "");  // not kept from the earlier pair

  // A later pair without a product name keeps what the earlier one gave.
  r.values.erase("\\StringFileInfo\\040704e4\\ProductName");
  EXPECT_TRUE(pickVersionRecord({kEnglish, kGerman}, r.lookup(), record));
  EXPECT_EQ(record.productName, "English");
  EXPECT_EQ(record.companyName, "Acme Inc");
}

TEST(VersionRecord, OverlongFieldIsEmpty) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\ProductName", "P"},
                  {"\\StringFileInfo\\040904b0\\CompanyName", std::string(128, 'c')},
                  {"\\StringFileInfo\\040904b0\\FileDescription", std::string(127, 'd')}}};
  VersionRecord record;
  pickVersionRecord({kEnglish}, r.lookup(), record);
  EXPECT_EQ(record.companyName, "");
  EXPECT_EQ(record.fileDescription, std::string(127, 'd'));
  r.values["\\StringFileInfo\\040904b0\\ProductName"] = std::string(128, 'p');
  EXPECT_FALSE(pickVersionRecord({kEnglish}, r.lookup(), record));
}

TEST(VersionRecord, OperatingSystemProductShowsTheDescription) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\ProductName", "Some\xAE Windows\xAE operating system"},
                  {"\\StringFileInfo\\040904b0\\FileDescription", "Windows Explorer"}}};
  VersionRecord record;
  EXPECT_TRUE(pickVersionRecord({kEnglish}, r.lookup(), record));
  EXPECT_EQ(record.productName, "Windows Explorer");
}

TEST(VersionRecord, NoTranslationOrNoProductNameGivesEmptyTexts) {
  FakeResource r{{{"\\StringFileInfo\\040904b0\\CompanyName", "Acme"}}};
  VersionRecord record;
  record.productName = "stale";
  EXPECT_FALSE(pickVersionRecord({}, r.lookup(), record));
  EXPECT_EQ(record.productName, "");
  EXPECT_FALSE(pickVersionRecord({kEnglish}, r.lookup(), record));
  EXPECT_EQ(record.companyName, "");
}
