// Full-access checks through Authz against folder descriptors from security.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "access/rights_check.h"
#include "base/launcher.h"
#include "tests/support/test_workstation.h"

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
  for (const auto& c : kCases) {
    test_support::Workstation w;
    fs::create_directories(w.C("Data"));
    w.Write("machine.ini", std::string("[fail]\n") + c.fail + "\n");
    w.Write("registry.reg", "");
    w.Write("security.txt", std::string(c.security) + "\n");
    Launcher l(w.Load());
    l.sys.HasVersionInfo = true;  // the invoker check loads nothing more
    std::uint32_t needed = 0;
    l.os.security.GetFileSecurity("C:\\Data", 5, nullptr, 0, &needed);
    std::vector<std::uint8_t> descriptor(needed);
    ASSERT_TRUE(l.os.security.GetFileSecurity("C:\\Data", 5, descriptor.data(), needed, &needed));
    const RightsCheckResult result = c.everyone ? CheckEveryoneRightsInFile(l, descriptor.data())
                                                : CheckInvokerRightsInFile(l, descriptor.data());
    EXPECT_EQ(std::make_tuple(result, l.log.ErrorRecordCount), std::make_tuple(c.result, c.errors))
        << c.security << " " << c.fail;
  }
}

}  // namespace
