// The operating system's name and edition word: the rows of the two tables no test
// machine reaches, the order in which the rows are tried, and names too long for
// their field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sysinfo/os_naming_table.h"

namespace {

struct EditionCase {
  std::uint32_t code;
  const char* word;
};

// The listed codes are the system inspection's tests.
TEST(EditionName, NoneAndCodesOutsideTheTable) {
  const EditionCase cases[] = {
      {0, ""},
      {5, "(ProductCode 0X5)"},
      {0xABCDEF01, "(ProductCode 0XABCDEF01)"},
  };
  for (const EditionCase& c : cases) {
    OsNameText edition;
    edition.assign_cut("left over");
    EditionNameFor(c.code, edition);
    EXPECT_STREQ(edition.c_str(), c.word) << c.code;
  }
}

// The facts of a system; the tests and the edition are set per case.
struct System {
  std::uint32_t major, minor, build;
  bool server = false;
  const char* edition = "";
  const char* code_name = "";
  bool sp1 = false;         // Windows 7 service pack 1 or later
  bool xp_sp3 = false;      // Windows XP service pack 3 or later
  std::uint32_t platform_id = 2;
  std::uint8_t product_type = 1;
};

OsNamingFacts FactsOf(const System& s) {
  OsNamingFacts f;
  f.major = s.major;
  f.minor = s.minor;
  f.build = s.build;
  f.platform_id = s.platform_id;
  f.product_type = s.server ? 3 : s.product_type;
  f.server = s.server;
  f.win10_or_greater = s.major >= 10;
  f.win7_sp1_or_greater = s.sp1 || s.major > 6 || (s.major == 6 && s.minor > 1);
  f.xp_sp3_or_greater = s.xp_sp3 || s.major >= 6;
  f.edition = s.edition;
  f.code_name = s.code_name;
  return f;
}

struct NameCase {
  const char* label;
  System system;
  const char* name;
  bool supported;
  bool windows7;
};

class OsName : public ::testing::TestWithParam<NameCase> {};

// A row with an edition is checked twice: as it is, and without the edition, whose
// name is the same with the edition word left out.
TEST_P(OsName, IsChosenByTheFirstRowThatHolds) {
  const NameCase& c = GetParam();
  const OsNameChoice choice = ChooseOsName(FactsOf(c.system));
  EXPECT_STREQ(choice.name.c_str(), c.name);
  EXPECT_EQ(choice.supported, c.supported);
  EXPECT_EQ(choice.windows7, c.windows7);
  if (*c.system.edition == '\0') return;
  System plain = c.system;
  plain.edition = "";
  std::string name = c.name;
  if (const std::size_t at = name.find(std::string(" ") + c.system.edition); at != std::string::npos)
    name.erase(at, std::strlen(c.system.edition) + 1);
  const OsNameChoice plain_choice = ChooseOsName(FactsOf(plain));
  EXPECT_EQ(plain_choice.name.view(), name) << "without the edition";
  EXPECT_EQ(plain_choice.supported, c.supported);
  EXPECT_EQ(plain_choice.windows7, c.windows7);
}

// The names of the listed releases are the system inspection's tests; these are the
// rows a run of the test machines does not reach.
constexpr NameCase kNames[] = {
    {"Win11Above23H2", {10, 0, 22632}, "Windows 11 (23H2 Or Newer)", true, false},
    // unknown channel: with and without a release name
    {"CodeNameGap", {10, 0, 22100, false, "", "2009"}, "Windows 10/11 CodeName 2009 (Unknown Update Channel)", true, false},
    {"CodeNameEdition", {10, 0, 22100, false, "Home", "24H2"}, "Windows 10/11 Home CodeName 24H2 (Unknown Update Channel)", true, false},
    {"BuildEdition", {10, 0, 22100, false, "Home"}, "Windows 10/11 Home Build 22100 (Unknown Update Channel)", true, false},
    {"BuildBelowRange", {10, 0, 18000}, "Windows 10/11 Build 18000 (Unknown Update Channel)", true, false},
    // A listed build wins over the release name.
    {"ListedBuildIgnoresCodeName", {10, 0, 19045, false, "", "23H2"}, "Windows 10 22H2 (2022 Update)", true, false},
    {"WinMe", {4, 90, 3000, false, "", "", false, false, 1}, "Windows ME", false, false},
    {"Win95", {4, 0, 950, false, "", "", false, false, 1}, "Windows 95", false, false},
    {"NoVersionData", {0, 0, 0, false, "", "", false, false, 0, 0}, "Unknown", false, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, OsName, ::testing::ValuesIn(kNames),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(OsNameLength, ALongEditionWithALongFormIsCutTo63Characters) {
  System system{10, 0, 22100, false, "Enterprise LTSC"};
  OsNameChoice choice = ChooseOsName(FactsOf(system));
  const std::string whole = "Windows 10/11 Enterprise LTSC Build 22100 (Unknown Update Channel)";
  EXPECT_EQ(choice.name.view(), whole.substr(0, 63));

  system.edition = "Professional";
  system.code_name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";  // 31 characters, the field's most
  choice = ChooseOsName(FactsOf(system));
  EXPECT_EQ(choice.name.size(), 63u);
  EXPECT_EQ(choice.name.view(), std::string("Windows 10/11 Professional CodeName ABCDEFGHIJKLMNOPQRSTUVWXYZ01234 (Unknown Update "
                                            "Channel)").substr(0, 63));
}

TEST(OsNameGroups, OnlySixPointTwoAndLaterReadAReleaseName) {
  EXPECT_FALSE(IsWindows8OrLater(6, 1) || IsWindows8OrLater(5, 2));
  EXPECT_TRUE(IsWindows8OrLater(6, 2) && IsWindows8OrLater(6, 3) && IsWindows8OrLater(10, 0));
}

}  // namespace
