// The simulated workstation's drives: Windows paths onto the folder's trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/error_codes.h"
#include "platform/sim/drives.h"

namespace {

namespace fs = std::filesystem;

class DrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("portavel-drives-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "drives" / "C" / "Windows" / "System32");
    std::ofstream(root_ / "drives" / "C" / "Windows" / "System32" / "Kernel32.DLL") << "x";
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

TEST_F(DrivesTest, ExistingEntriesResolveWhateverTheCase) {
  sim::Drives drives(root_);
  platform::ErrorCode error = 0;
  auto host = drives.Resolve("c:\\WINDOWS\\system32\\kernel32.dll", "C:\\", &error);
  ASSERT_TRUE(host);
  EXPECT_EQ(*host, root_ / "drives" / "C" / "Windows" / "System32" / "Kernel32.DLL");
}

TEST_F(DrivesTest, NewEntriesKeepTheirCaseBelowExistingOnes) {
  sim::Drives drives(root_);
  platform::ErrorCode error = 0;
  auto host = drives.Resolve("C:\\windows\\Fonts\\New.TTF", "C:\\", &error);
  ASSERT_TRUE(host);
  EXPECT_EQ(*host, root_ / "drives" / "C" / "Windows" / "Fonts" / "New.TTF");
}

TEST_F(DrivesTest, RelativePathsAndDotsResolveAgainstTheCurrentFolder) {
  sim::Drives drives(root_);
  platform::ErrorCode error = 0;
  auto host = drives.Resolve("..\\System32\\.\\kernel32.dll", "C:\\Windows\\Temp", &error);
  ASSERT_TRUE(host);
  EXPECT_EQ(host->filename(), "Kernel32.DLL");
  EXPECT_EQ(*sim::Drives::Normalize("\\a\\b", "c:\\x"), "C:\\a\\b");
  EXPECT_EQ(*sim::Drives::Normalize("C:\\a\\..\\..\\b", "C:\\"), "C:\\b");
}

TEST_F(DrivesTest, UnknownDrivesBadNamesAndUncPathsAreRefused) {
  sim::Drives drives(root_);
  struct Case {
    const char* path;
    platform::ErrorCode error;
  } cases[] = {
      {"Q:\\file.txt", platform::kErrorPathNotFound},
      {"C:\\Windows\\bad|name.txt", 123},
      {"\\\\server\\share\\file", platform::kErrorPathNotFound},
      {"C:relative", platform::kErrorPathNotFound},
  };
  for (const auto& c : cases) {
    platform::ErrorCode error = 0;
    EXPECT_FALSE(drives.Resolve(c.path, "C:\\", &error)) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
  }
}

}  // namespace
