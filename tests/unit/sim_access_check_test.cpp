// The simulated workstation's access decisions from SDDL descriptors.
#include <gtest/gtest.h>

#include "platform/sim/access_check.h"

namespace {

using sim::AccessAllowed;
using sim::AccessToken;
using sim::ObjectKind;

const AccessToken kClerk{{"S-1-5-21-1-2-3-1001", "S-1-1-0", "S-1-5-32-545", "S-1-5-11"}};
const AccessToken kElevated{{"S-1-5-21-1-2-3-1001", "S-1-1-0", "S-1-5-32-545", "S-1-5-11", "S-1-5-32-544"}};

constexpr const char* kSoftware = "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;BU)";
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyWrite64 = 0x20106;
constexpr std::uint32_t kFileWrite = 0x120116;

struct Case {
  const char* name;
  const char* sddl;
  bool inherited;
  ObjectKind kind;
  const AccessToken* token;
  std::uint32_t access;
  bool allowed;
};

const Case kCases[] = {
    {"users read a machine key", kSoftware, true, ObjectKind::Key, &kClerk, kKeyRead, true},
    {"users may not write one", kSoftware, true, ObjectKind::Key, &kClerk, kKeyWrite64, false},
    {"administrators may", kSoftware, true, ObjectKind::Key, &kElevated, kKeyWrite64, true},
    {"no DACL grants everything", "O:BA", false, ObjectKind::File, &kClerk, kFileWrite, true},
    {"an empty DACL grants nothing", "D:", false, ObjectKind::File, &kElevated, 0x120089, false},
    {"everyone full access", "D:(A;OICI;FA;;;WD)", true, ObjectKind::File, &kClerk, kFileWrite, true},
    {"a deny entry first wins", "D:(D;;FW;;;WD)(A;;FA;;;WD)", false, ObjectKind::File, &kClerk, kFileWrite, false},
    {"a deny entry after the grant is too late", "D:(A;;FA;;;WD)(D;;FW;;;WD)", false, ObjectKind::File, &kClerk,
     kFileWrite, true},
    {"folder-only entries do not reach files", "D:(A;CI;FA;;;WD)", true, ObjectKind::File, &kClerk, kFileWrite, false},
    {"inherit-only entries skip the object itself", "D:(A;OICIIO;FA;;;WD)", false, ObjectKind::Folder, &kClerk,
     kFileWrite, false},
    {"hexadecimal rights", "D:(A;;0x120116;;;BU)", false, ObjectKind::File, &kClerk, kFileWrite, true},
    {"generic rights map to the object's rights", "D:(A;;GR;;;BU)", false, ObjectKind::Key, &kClerk, kKeyRead, true},
    {"a literal user SID", "D:(A;;FA;;;S-1-5-21-1-2-3-1001)", false, ObjectKind::File, &kClerk, kFileWrite, true},
    {"an entry the sim cannot read grants nothing", "D:(A;;ZZ;;;WD)", false, ObjectKind::File, &kClerk, 0x1, false},
};

TEST(AccessCheck, DecidesFromTheDescriptor) {
  for (const Case& c : kCases)
    EXPECT_EQ(AccessAllowed(c.sddl, c.inherited, c.kind, *c.token, c.access), c.allowed) << c.name;
}

}  // namespace
