// The runtime version comparison, the installer state texts and command lines.
#include <gtest/gtest.h>

#include "deps/redist_rules.h"

namespace {

TEST(RuntimeVersion, ComparesFourNumbersAgainstTheMinimum) {
  const struct {
    const char* text;
    bool current;
  } cases[] = {
      {"v14.40.33810.00", true}, {"14.21.27702.1", false}, {"14.21.27702.2", true}, {"14.21.27703.0", true},
      {"14.30.30704.00", true},  {"14.3", false},          {"13.99.99999.99", false}, {"15", true},
      {"", false},               {"...", false},           {"x.y.z.w", false},        {"14.21.27702.2.9", true},
      {"14.21.-1.9", false},     {"99999999999999999999", true},
  };
  for (const auto& c : cases) EXPECT_EQ(RuntimeVersionIsCurrent(c.text), c.current) << c.text;
}

TEST(InstallerState, EveryStateHasItsTextAndOthersTheUnknownOne) {
  EXPECT_STREQ(InstallerStateText(-7), "-7 Component Disabled");
  EXPECT_STREQ(InstallerStateText(2), "2 Uninstalled (or action state absent but clients remain)");
  EXPECT_STREQ(InstallerStateText(5), "5 Use default, local or source installation.");
  EXPECT_STREQ(InstallerStateText(-8), "? Unknown return code.");
  EXPECT_STREQ(InstallerStateText(6), "? Unknown return code.");
}

TEST(InstallerCommandLine, OptionsCountOnlyWithTextAndLoseTheirDoubleQuotes) {
  CommandLine line;
  ASSERT_TRUE(BuildInstallerCommandLine(InstallerKind::VcRuntime, "C:\\c", "vc.exe", "  ", line));
  EXPECT_EQ(line.view(), "/passive /promptrestart /log \"C:\\c\\vc.exe.log\"");
  ASSERT_TRUE(BuildInstallerCommandLine(InstallerKind::NetFramework, "C:\\c", "n.exe", "A=\"b c\"", line));
  EXPECT_EQ(line.view(),
            "/passive /promptrestart /showrmui /chainingpackage tavix /log \"C:\\c\\n.exe.log\" /msioptions \"A='b c'\"");
}

TEST(InstallerCommandLine, OptionsThatDoNotFitAreLeftOut) {
  CommandLine line;
  const std::string folder(150, 'f');
  ASSERT_TRUE(BuildInstallerCommandLine(InstallerKind::VcRuntime, folder, "vc.exe", std::string(99, 'o'), line));
  EXPECT_EQ(line.view().find("/msioptions"), std::string_view::npos);
  EXPECT_FALSE(BuildInstallerCommandLine(InstallerKind::VcRuntime, std::string(259, 'f'), "vc.exe", "", line));
}

}  // namespace
