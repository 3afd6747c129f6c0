// The known folders: the trailing backslashes, the records of folders that cannot be
// resolved, the cache parent before Windows 7, a list that loads once, and paths too
// long for their fields. The usual places are in a run's instance file, shortcuts and
// fonts.
#include <gtest/gtest.h>

#include <string>

#include "sysinfo/known_folders_loader.h"
#include "sysinfo/special_folder.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;

TEST(KnownFolders, APathThatAlreadyEndsInABackslashGetsNoSecond) {
  InspectionRun run("[folders]\nprogram_data = D:\\Data\\\nfonts = D:\\Fonts\\\n");
  LoadKnownFoldersList(run.l);
  EXPECT_EQ(std::string(run.l.folders.ProgDataDir.view()) + "|" + std::string(run.l.folders.FonDir.view()),
            "D:\\Data\\\\Veltrix\\|D:\\Fonts\\");
}

struct FailureCase {
  const char* key;
  const char* record;  // none: the kind's failure is not reported
  const char* empty_fields;
};

class KnownFolderFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(KnownFolderFailure, LeavesTheFieldEmptyWithTheKindsRecord) {
  const FailureCase& c = GetParam();
  InspectionRun run(std::string("[folders]\n") + c.key + " =\n");
  ASSERT_TRUE(LoadKnownFoldersList(run.l));
  const KnownFoldersList& f = run.l.folders;
  const struct {
    const char* name;
    const PathBuffer& field;
  } fields[] = {{"WinDir", f.WinDir},          {"SysDir", f.SysDir},         {"SysWOW64Dir", f.SysWOW64Dir},
                {"FonDir", f.FonDir},          {"UserDir", f.UserDir},       {"StartMenuDir", f.StartMenuDir},
                {"ProgDataDir", f.ProgDataDir}, {"TCacheParentDir", f.TCacheParentDir}};
  std::string empty;
  for (const auto& field : fields)
    if (field.field.empty()) empty += std::string(field.name) + ";";
  EXPECT_EQ(empty, c.empty_fields);
  EXPECT_EQ(run.Errors(), c.record ? std::vector<std::string>{c.record} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KnownFolderFailure,
    ::testing::Values(
        FailureCase{"windows",
                    "GetSpecialFolder: Could not retrieve Windows folder location. This operation may require rights "
                    "that are being prevent by a system policy.",
                    "WinDir;"},
        // The cache parent comes from the same folder on Windows 7 and later.
        FailureCase{"local_app_data", nullptr, "UserDir;TCacheParentDir;"},
        FailureCase{"fonts", nullptr, "FonDir;"}),
    [](const auto& info) { return std::string(info.param.key); });

TEST(KnownFolders, ASecondLoadChangesNothingAndWritesOnlyItsTraces) {
  InspectionRun run;
  LoadKnownFoldersList(run.l);
  (void)run.l.folders.WinDir.assign("X:\\Kept\\");
  const std::size_t records = run.Records().size();
  LoadKnownFoldersList(run.l);
  EXPECT_EQ(run.l.folders.WinDir.view(), "X:\\Kept\\");
  const auto after = run.Messages();
  EXPECT_EQ(std::vector<std::string>(after.begin() + records, after.end()),
            (std::vector<std::string>{"@ LoadKnownFoldersList() {", "@ } LoadKnownFoldersList"}));
}

TEST(SpecialFolder, AnUnknownKindIsAnErrorAndLeavesThePathAlone) {
  InspectionRun run;
  PathBuffer path;
  (void)path.assign("unchanged");
  EXPECT_FALSE(GetSpecialFolder(run.l, 8, path));
  EXPECT_FALSE(GetSpecialFolder(run.l, -1, path));
  EXPECT_EQ(path.view(), "unchanged");
  EXPECT_EQ(run.Errors(), (std::vector<std::string>{"Unknown folder type.", "Unknown folder type."}));
}

TEST(SpecialFolder, TheCacheParentBeforeWindows7ComesFromAppData) {
  InspectionRun vista("[os]\nmajor = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\n");
  PathBuffer path;
  EXPECT_TRUE(GetSpecialFolder(vista.l, kFolderCacheParent, path));
  EXPECT_EQ(path.view(), "C:\\Users\\clerk\\AppData\\Roaming\\Norvane\\Portavel");
  EXPECT_TRUE(vista.l.sys.IsLoaded);

  InspectionRun without("[os]\nmajor = 6\nminor = 0\n[folders]\nappdata =\n");
  EXPECT_FALSE(GetSpecialFolder(without.l, kFolderCacheParent, path));
  EXPECT_EQ(path.view(), "C:\\Windows");
  LoadKnownFoldersList(without.l);
  EXPECT_EQ(without.l.folders.TCacheParentDir.view(), "C:\\Windows\\");
  EXPECT_EQ(without.l.log.ErrorRecordCount, 0);

  InspectionRun failing("[os]\nmajor = 6\nminor = 0\n[fail]\nGetEnvironmentVariable = 1\n");
  EXPECT_FALSE(GetSpecialFolder(failing.l, kFolderCacheParent, path));
  EXPECT_EQ(path.view(), "C:\\Windows");
}

TEST(KnownFolders, PathsThatFillTheFieldAreCutNeverOverflowed) {
  const std::string long_folder = "C:\\" + std::string(255, 'a');  // 258 characters
  InspectionRun run("[folders]\nlocal_app_data = " + long_folder + "\nwindows = C:\\" + std::string(256, 'w') + "\n");
  LoadKnownFoldersList(run.l);
  EXPECT_EQ(run.l.folders.UserDir.view(), long_folder + "\\");
  EXPECT_EQ(run.l.folders.TCacheParentDir.size(), PathBuffer::kCapacity);
  EXPECT_EQ(run.l.folders.TCacheParentDir.view(), (long_folder + "\\Norvane\\Portavel").substr(0, 259));
  // 259 characters fill the field: no room for the backslash.
  EXPECT_EQ(run.l.folders.WinDir.size(), 259u);
  EXPECT_NE(run.l.folders.WinDir.back(), '\\');
}

}  // namespace
