// The installer's two decisions without a machine: where a record goes (destination
// code by the system's width, and the backup kind) and whether its rule installs it.
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

struct DestinationRow {
  const char* code;
  bool sixty_four_bit;
  DestinationOutcome outcome;
  const char* path;
  std::uint32_t backup_kind;
};

TEST(ResolveDestination, MapsEachCodeByTheSystemsWidth) {
  const DestinationRow rows[] = {
      {"CUR", false, DestinationOutcome::Resolved, "a.dll", INSTALL_TO_CUR},
      {"cur", true, DestinationOutcome::Resolved, "a.dll", INSTALL_TO_CUR},
      {"FON", true, DestinationOutcome::Resolved, "C:\\Windows\\Fonts\\a.dll", INSTALL_TO_FON},
      {"WIN", false, DestinationOutcome::Resolved, "C:\\Windows\\a.dll", INSTALL_TO_WIN},
      {"SYS", false, DestinationOutcome::Resolved, "C:\\Windows\\system32\\a.dll", INSTALL_TO_SYS},
      {"SYS", true, DestinationOutcome::Resolved, "C:\\Windows\\SysWOW64\\a.dll", INSTALL_TO_SYS},
      {"sYs", true, DestinationOutcome::Resolved, "C:\\Windows\\SysWOW64\\a.dll", INSTALL_TO_SYS},
      {"S64", false, DestinationOutcome::Resolved, "C:\\Windows\\system32\\a.dll", INSTALL_TO_SYS},
      {"S64", true, DestinationOutcome::Resolved, "C:\\Windows\\system32\\a.dll", INSTALL_TO_SYS},
      {"XYZ", true, DestinationOutcome::UnknownCode, "", 0},
      {"SYSX", true, DestinationOutcome::UnknownCode, "", 0},
      {"", true, DestinationOutcome::UnknownCode, "", 0},
  };
  for (const DestinationRow& row : rows) {
    InstallDestination out{};
    EXPECT_EQ(ResolveDestination(Record("a.dll", row.code), Folders(), row.sixty_four_bit, out),
              row.outcome)
        << row.code;
    if (row.outcome != DestinationOutcome::Resolved) continue;
    EXPECT_EQ(out.path.view(), row.path) << row.code;
    EXPECT_EQ(out.backup_kind, row.backup_kind) << row.code;
  }
}

TEST(ResolveDestination, RefusesAPathLongerThanItsBufferRatherThanCuttingIt) {
  KnownFoldersList folders = Folders();
  (void)folders.WinDir.assign("C:\\" + std::string(250, 'w') + "\\");
  InstallDestination out{};
  EXPECT_EQ(ResolveDestination(Record("twelve.chars", "WIN"), folders, true, out),
            DestinationOutcome::TooLong);
  EXPECT_EQ(ResolveDestination(Record("a", "WIN"), folders, true, out), DestinationOutcome::Resolved);
}

enum Installed { None, MinuteEarlier, SameMinuteOtherSeconds, SameMinuteOtherSize, MinuteLater,
                 YearLaterMonthEarlier };

std::optional<InstalledFile> InstalledAs(Installed state) {
  if (state == None) return std::nullopt;
  InstalledFile file;
  file.time = {2026, 11, 1, 30, 16, 20, 5, 125};
  file.size = 10;
  if (state == MinuteEarlier) file.time.minute = 19;
  if (state == SameMinuteOtherSeconds) file.time.second = 59;
  if (state == SameMinuteOtherSize) file.size = 11;
  if (state == MinuteLater) file.time.minute = 21;
  if (state == YearLaterMonthEarlier) {
    file.time.year = 2027;
    file.time.month = 1;
  }
  return file;
}

TEST(RuleInstalls, ComparesToTheMinuteAsEachRuleSays) {
  const TABFileTime record_time = {2026, 11, 30, 1, 16, 20, 0, 0};
  const Installed states[] = {None, MinuteEarlier, SameMinuteOtherSeconds, SameMinuteOtherSize,
                              MinuteLater, YearLaterMonthEarlier};
  struct Row {
    std::uint32_t rule;
    bool installs[6];  // in the order of `states`
  };
  const Row rows[] = {
      {INSTALL_DIFFERENT, {true, true, false, true, true, true}},
      {INSTALL_NEWER, {true, true, false, false, false, false}},
      {INSTALL_ALWAYS, {true, true, true, true, true, true}},
      {INSTALL_DOES_NOT_EXIST, {true, false, false, false, false, false}},
      {INSTALL_UPGRADE, {false, false, false, false, false, false}},
      {0, {false, false, false, false, false, false}},
  };
  for (const Row& row : rows)
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(RuleInstalls(row.rule, InstalledAs(states[i]), record_time, 10), row.installs[i])
          << "rule " << row.rule << ", installed state " << i;
}

TEST(InstallRuleName, NamesTheFourRulesOnly) {
  EXPECT_STREQ(InstallRuleName(INSTALL_DIFFERENT), "INSTALL_DIFFERENT");
  EXPECT_STREQ(InstallRuleName(INSTALL_DOES_NOT_EXIST), "INSTALL_DOES_NOT_EXIST");
  EXPECT_EQ(InstallRuleName(INSTALL_UPGRADE), nullptr);
}

}  // namespace
