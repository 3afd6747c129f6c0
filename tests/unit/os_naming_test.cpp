// The operating system's name and edition word: every row of the two tables, the
// order in which the rows are tried, and names too long for their field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sysinfo/os_naming_table.h"

namespace {

struct EditionCase {
  std::uint32_t code;
  const char* word;
};

TEST(EditionName, EveryCodeOfTheTableAndTheOthers) {
  const EditionCase cases[] = {
      {0, ""}, {1, "Ultimate"}, {2, "Home Basic"}, {3, "Home Premium"}, {4, "Enterprise"}, {10, "Enterprise"},
      {38, "Enterprise"}, {140, "Enterprise"}, {6, "Business"}, {7, "Standard"}, {36, "Standard"},
      {79, "Standard"}, {8, "Datacenter"}, {37, "Datacenter"}, {80, "Datacenter"}, {42, "Hyper-V"},
      {48, "Professional"}, {99, "Home (China)"}, {101, "Home"}, {112, "Pro Education"}, {121, "Education"},
      {125, "Enterprise LTSC"}, {127, "Professional LTSC"}, {139, "Professional (China)"},
      {161, "Pro for Workstations"}, {0x31, "(ProductCode 0X31)"}, {5, "(ProductCode 0X5)"},
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

constexpr NameCase kNames[] = {
    // 6.1
    {"Server2008R2Standard", {6, 1, 7601, true, "Standard"}, "Windows Server 2008 R2 Standard", true, false},
    {"Win7Sp1Professional", {6, 1, 7601, false, "Professional", "", true}, "Windows 7 SP1 Professional", true, true},
    {"Win7Ultimate", {6, 1, 7600, false, "Ultimate"}, "Windows 7 Ultimate", true, true},
    // 6.0
    {"VistaBusiness", {6, 0, 6002, false, "Business"}, "Windows Vista Business", false, false},
    {"Server2008HasNoEditionForm", {6, 0, 6001, true, "Standard"}, "Windows Server 2008", false, false},
    {"Vista2008DomainControllerType", {6, 0, 6001, false, "", "", false, false, 2, 2}, "Windows Server 2008", false, false},
    // 6.2 and later before Windows 10
    {"Win8", {6, 2, 9200, false, "Professional"}, "Windows 8 Or Newer", true, false},
    {"Win81", {6, 3, 9600}, "Windows 8 Or Newer", true, false},
    {"Server2012R2", {6, 3, 9600, true, "Standard"}, "Windows 8 Or Newer", true, false},
    // servers
    {"Server2016Standard", {10, 0, 14393, true, "Standard"}, "Windows Server Standard 2016", true, false},
    {"Server2019Datacenter", {10, 0, 17763, true, "Datacenter"}, "Windows Server Datacenter 2019", true, false},
    {"Server2022Standard", {10, 0, 20348, true, "Standard"}, "Windows Server Standard 2022", true, false},
    {"ServerAbove2022", {10, 0, 20349, true, "Standard"}, "Windows Server 2022 Or Newer", true, false},
    {"Server2025", {10, 0, 26100, true}, "Windows Server 2022 Or Newer", true, false},
    {"ServerOtherBuild", {10, 0, 20000, true, "Standard"}, "Windows Server", true, false},
    {"ServerOldBuild", {10, 0, 10240, true}, "Windows Server", true, false},
    // Windows 10 and 11 by build
    {"Win10_1507", {10, 0, 10240, false, "Professional"}, "Windows 10 Professional 1507 (RTM)", true, false},
    {"Win10_1511", {10, 0, 10586, false, "Home"}, "Windows 10 Home 1511 (November Update)", true, false},
    {"Win10_1607", {10, 0, 14393, false, "Education"}, "Windows 10 Education 1607 (Anniversary Update)", true, false},
    {"Win10_1703", {10, 0, 15063, false, "Professional"}, "Windows 10 Professional 1703 (Creators Update)", true, false},
    {"Win10_1709", {10, 0, 16299, false, "Enterprise"}, "Windows 10 Enterprise 1709 (Fall Creators Update)", true, false},
    {"Win10_1803", {10, 0, 17134, false, "Professional"}, "Windows 10 Professional 1803 (April 2018 Update)", true, false},
    {"Win10_1809", {10, 0, 17763, false, "Professional"}, "Windows 10 Professional 1809 (October 2018 Update)", true, false},
    {"Win10_1903", {10, 0, 18362, false, "Home"}, "Windows 10 Home 1903 (May 2019 Update)", true, false},
    {"Win10_1909", {10, 0, 18363, false, "Professional"}, "Windows 10 Professional 1909 (November 2019 Update)", true, false},
    {"Win10_2004", {10, 0, 19041, false, "Professional"}, "Windows 10 Professional 2004 (May 2020 Update)", true, false},
    {"Win10_20H2", {10, 0, 19042, false, "Home"}, "Windows 10 Home 20H2 (October 2020 Update)", true, false},
    {"Win10_21H1", {10, 0, 19043, false, "Professional"}, "Windows 10 Professional 21H1 (May 2021 Update)", true, false},
    {"Win10_21H2", {10, 0, 19044, false, "Enterprise LTSC"}, "Windows 10 Enterprise LTSC 21H2 (November 2021 Update)", true, false},
    {"Win10_22H2", {10, 0, 19045, false, "Professional"}, "Windows 10 Professional 22H2 (2022 Update)", true, false},
    {"Win11_21H2", {10, 0, 22000, false, "Professional"}, "Windows 11 Professional 21H2", true, false},
    {"Win11_22H2", {10, 0, 22621, false, "Home"}, "Windows 11 Home 22H2 (2022 Update)", true, false},
    {"Win11_23H2", {10, 0, 22631, false, "Professional"}, "Windows 11 Professional 23H2 (2023 Update)", true, false},
    // ranges
    {"Win10Above22H2", {10, 0, 19046}, "Windows 10 (22H2 Or Newer)", true, false},
    {"Win10RangeEnd", {10, 0, 21999, false, "Professional"}, "Windows 10 Professional (22H2 Or Newer)", true, false},
    {"Win11Above23H2", {10, 0, 22632}, "Windows 11 (23H2 Or Newer)", true, false},
    {"Win11_24H2", {10, 0, 26100, false, "Professional"}, "Windows 11 Professional (23H2 Or Newer)", true, false},
    // unknown channel: with and without a release name
    {"CodeNameGap", {10, 0, 22100, false, "", "2009"}, "Windows 10/11 CodeName 2009 (Unknown Update Channel)", true, false},
    {"CodeNameEdition", {10, 0, 22100, false, "Home", "24H2"}, "Windows 10/11 Home CodeName 24H2 (Unknown Update Channel)", true, false},
    {"BuildEdition", {10, 0, 22100, false, "Home"}, "Windows 10/11 Home Build 22100 (Unknown Update Channel)", true, false},
    {"BuildBelowRange", {10, 0, 18000}, "Windows 10/11 Build 18000 (Unknown Update Channel)", true, false},
    {"Build22001", {10, 0, 22001}, "Windows 10/11 Build 22001 (Unknown Update Channel)", true, false},
    {"Build22620", {10, 0, 22620}, "Windows 10/11 Build 22620 (Unknown Update Channel)", true, false},
    {"Build22622", {10, 0, 22622}, "Windows 10/11 Build 22622 (Unknown Update Channel)", true, false},
    {"Build22630", {10, 0, 22630}, "Windows 10/11 Build 22630 (Unknown Update Channel)", true, false},
    // A listed build wins over the release name.
    {"ListedBuildIgnoresCodeName", {10, 0, 19045, false, "", "23H2"}, "Windows 10 22H2 (2022 Update)", true, false},
    // before 6
    {"XpSp3", {5, 1, 2600, false, "Professional", "", false, true}, "Windows XP SP3", false, false},
    {"Xp", {5, 1, 2600}, "Windows XP", false, false},
    {"Server2003", {5, 2, 3790}, "Windows Server 2003", false, false},
    {"Win98", {4, 10, 1998, false, "", "", false, false, 1}, "Windows 98", false, false},
    {"NT351", {3, 51, 1057}, "Windows NT 3.51", false, false},
    {"WinMe", {4, 90, 3000, false, "", "", false, false, 1}, "Windows ME", false, false},
    {"Win2000", {5, 0, 2195}, "Windows 2000", false, false},
    {"Win95", {4, 0, 950, false, "", "", false, false, 1}, "Windows 95", false, false},
    {"NT4", {4, 0, 1381}, "Windows NT", false, false},
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
