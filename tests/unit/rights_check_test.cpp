// Full-access checks through Authz against folder descriptors from security.txt.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "access/rights_check.h"
#include "base/launcher.h"
#include "platform/sim/sim_platform.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  const char* security;
  const char* fail;
  bool everyone;
  RightsCheckResult result;
  int errors;
};

const Case kCases[] = {
    {"", "", true, RightsCheckResult::True, 0},
    {"C:\\Data\tD:(A;;FR;;;WD)(A;;FA;;;BU)", "", true, RightsCheckResult::False, 0},
    {"C:\\Data\tD:(A;;FA;;;BU)", "", true, RightsCheckResult::Error, 1},  // ACCESS_DENIED reply
    {"C:\\Data\tD:(A;;FA;;;BU)", "", false, RightsCheckResult::True, 0},
    {"C:\\Data\tD:(A;;0x1301bf;;;BU)(A;;FR;;;WD)", "", false, RightsCheckResult::False, 0},
    {"", "AuthzInitializeResourceManager = 1", true, RightsCheckResult::Error, 1},
    {"", "AuthzInitializeContextFromSid = 1", true, RightsCheckResult::Error, 1},
    {"", "AllocateAndInitializeSid = 1", true, RightsCheckResult::Error, 2},
    {"", "SetEntriesInAcl = 1", true, RightsCheckResult::Error, 2},
    {"", "AuthzAccessCheck = 1", true, RightsCheckResult::Error, 1},
    {"", "AuthzInitializeContextFromToken = 1", false, RightsCheckResult::Error, 1},
    {"", "AuthzAccessCheck = 1", false, RightsCheckResult::Error, 1},
};

TEST(RightsCheck, AuthzAnswersAsTheDescriptorGrants) {
  static std::atomic<int> counter{0};
  for (const auto& c : kCases) {
    const fs::path folder = fs::temp_directory_path() / ("portavel-rights-" + std::to_string(::getpid()) +
                                                         "-" + std::to_string(counter++));
    fs::remove_all(folder);
    fs::create_directories(folder / "drives" / "C" / "Data");
    std::ofstream(folder / "machine.ini") << "[fail]\n" << c.fail << "\n";
    std::ofstream(folder / "registry.reg") << "";
    std::ofstream(folder / "security.txt") << c.security << "\n";
    {
      auto ws = sim::SimWorkstation::Load(folder);
      Launcher l(ws->platform());
      l.sys.HasVersionInfo = true;  // the invoker check loads nothing more
      std::uint32_t needed = 0;
      ws->platform().security.GetFileSecurity("C:\\Data", 5, nullptr, 0, &needed);
      std::vector<std::uint8_t> descriptor(needed);
      ASSERT_TRUE(ws->platform().security.GetFileSecurity("C:\\Data", 5, descriptor.data(), needed,
                                                          &needed));
      const RightsCheckResult result = c.everyone ? CheckEveryoneRightsInFile(l, descriptor.data())
                                                  : CheckInvokerRightsInFile(l, descriptor.data());
      EXPECT_EQ(result, c.result) << c.security << " " << c.fail;
      EXPECT_EQ(l.log.ErrorRecordCount, c.errors) << c.security << " " << c.fail;
    }
    fs::remove_all(folder);
  }
}

}  // namespace
