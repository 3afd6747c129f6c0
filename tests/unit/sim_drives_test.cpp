// The simulated workstation's drives: Windows paths onto the folder's trees.
#include <gtest/gtest.h>

#include "platform/error_codes.h"
#include "platform/sim/drives.h"
#include "tests/support/test_workstation.h"

namespace {

TEST(SimDrives, ResolvesWhateverTheCaseAndRefusesWhatIsNoPathOnADrive) {
  test_support::Workstation w;
  w.WriteC("Windows/System32/Kernel32.DLL", "x");
  sim::Drives drives(w.root());
  platform::ErrorCode error = 0;
  // Existing entries whatever the case; new ones keep theirs.
  EXPECT_EQ(drives.Resolve("c:\\WINDOWS\\system32\\kernel32.dll", "C:\\", &error), w.C("Windows/System32/Kernel32.DLL"));
  EXPECT_EQ(drives.Resolve("C:\\windows\\Fonts\\New.TTF", "C:\\", &error), w.C("Windows/Fonts/New.TTF"));
  // Relative paths and dots against the current folder.
  EXPECT_EQ(drives.Resolve("..\\System32\\.\\kernel32.dll", "C:\\Windows\\Temp", &error),
            w.C("Windows/System32/Kernel32.DLL"));
  EXPECT_EQ(*sim::Drives::Normalize("\\a\\b", "c:\\x"), "C:\\a\\b");
  EXPECT_EQ(*sim::Drives::Normalize("C:\\a\\..\\..\\b", "C:\\"), "C:\\b");
  const struct {
    const char* path;
    platform::ErrorCode error;
  } refused[] = {
      {"Q:\\file.txt", platform::kErrorPathNotFound},
      {"C:\\Windows\\bad|name.txt", 123},
      {"\\\\server\\share\\file", platform::kErrorPathNotFound},
      {"C:relative", platform::kErrorPathNotFound},
  };
  for (const auto& c : refused) {
    EXPECT_FALSE(drives.Resolve(c.path, "C:\\", &error)) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
  }
}

}  // namespace
