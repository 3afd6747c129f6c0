// The installer's two decisions without a machine: where a record goes and whether its
// rule installs it.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "install/install_destination.h"
#include "install/install_rule.h"
#include "install/install_rules.h"

namespace {

TABFileRecord Record(const char* name, const char* destination) {
  TABFileRecord record{};
  std::strncpy(record.FileName, name, sizeof record.FileName - 1);
  std::strncpy(record.Destination, destination, sizeof record.Destination - 1);
  return record;
}

KnownFoldersList Folders() {
  KnownFoldersList f;
  (void)f.WinDir.assign("C:\\Windows\\");
  (void)f.SysDir.assign("C:\\Windows\\system32\\");
  (void)f.SysWOW64Dir.assign("C:\\Windows\\SysWOW64\\");
  (void)f.FonDir.assign("C:\\Windows\\Fonts\\");
  return f;
}

// The destinations and the rules on a workstation are the archive install's own tests;
// these are the cases a run cannot reach or does not show.
TEST(ResolveDestination, AnUnknownOrOverlongDestinationIsRefused) {
  InstallDestination out{};
  for (const char* code : {"SYSX", ""})
    EXPECT_EQ(ResolveDestination(Record("a.dll", code), Folders(), true, out), DestinationOutcome::UnknownCode) << code;
  KnownFoldersList folders = Folders();
  (void)folders.WinDir.assign("C:\\" + std::string(250, 'w') + "\\");
  // Refused rather than cut.
  EXPECT_EQ(ResolveDestination(Record("twelve.chars", "WIN"), folders, true, out), DestinationOutcome::TooLong);
  EXPECT_EQ(ResolveDestination(Record("a", "WIN"), folders, true, out), DestinationOutcome::Resolved);
}

TEST(RuleInstalls, ComparesTheWholeTimeToTheMinute) {
  const TABFileTime record_time = {2026, 11, 30, 1, 16, 20, 0, 0};
  // A year later but a month earlier: newer, never taken apart field by field.
  InstalledFile later;
  later.time = {2027, 1, 1, 30, 16, 20, 5, 125};
  later.size = 10;
  EXPECT_TRUE(RuleInstalls(INSTALL_DIFFERENT, later, record_time, 10));
  EXPECT_FALSE(RuleInstalls(INSTALL_NEWER, later, record_time, 10));
  EXPECT_FALSE(RuleInstalls(0, std::nullopt, record_time, 10));
}

TEST(InstallRuleName, NamesTheFourRulesOnly) {
  EXPECT_STREQ(InstallRuleName(INSTALL_DIFFERENT), "INSTALL_DIFFERENT");
  EXPECT_STREQ(InstallRuleName(INSTALL_DOES_NOT_EXIST), "INSTALL_DOES_NOT_EXIST");
  EXPECT_EQ(InstallRuleName(INSTALL_UPGRADE), nullptr);
}

}  // namespace
