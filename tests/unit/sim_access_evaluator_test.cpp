// The simulated workstation's access evaluator against hand-worked descriptors: the
// rights each token is granted when it asks for the most it may have.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/access_check.h"
#include "tests/unit/machine_folder_refusal.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sddl.h"
#include "platform/sim/security_table.h"

namespace {

using sim::AccessToken;
using sim::ObjectKind;

const AccessToken kClerk{{"S-1-5-21-7-1001", "S-1-1-0", "S-1-5-32-545", "S-1-5-11"}};
const AccessToken kAdmin{{"S-1-5-21-7-500", "S-1-1-0", "S-1-5-32-545", "S-1-5-11", "S-1-5-32-544"}};

struct Case {
  const char* name;
  const char* sddl;
  int depth;
  ObjectKind kind;
  const AccessToken* token;
  std::uint32_t granted;
};

// Worked by hand: FA = 0x1F01FF, FR = 0x120089, FW = 0x120116, KA = 0xF003F,
// KR = 0x20019; the owner's implicit rights are 0x60000.
const Case kCases[] = {
    {"null DACL grants all of a file's rights", "O:BAD:NO_ACCESS_CONTROL", 0, ObjectKind::File, &kClerk, 0x1F01FF},
    {"no DACL at all is a null DACL", "O:BA", 0, ObjectKind::Key, &kClerk, 0xF003F},
    {"empty DACL grants nothing", "D:", 0, ObjectKind::Folder, &kAdmin, 0},
    {"empty DACL leaves the owner its implicit rights", "O:S-1-5-21-7-1001D:", 0, ObjectKind::File, &kClerk,
     0x60000},
    {"owner rights only on the object's own descriptor", "O:S-1-5-21-7-1001D:", 1, ObjectKind::File, &kClerk, 0},
    {"deny first withholds what it names", "D:(D;;FW;;;WD)(A;;FA;;;WD)", 0, ObjectKind::File, &kClerk,
     0x1F01FF & ~0x120116u},
    {"deny after a grant is too late", "D:(A;;FA;;;WD)(D;;FW;;;WD)", 0, ObjectKind::File, &kClerk, 0x1F01FF},
    {"a deny for another group does not apply", "D:(D;;FA;;;BA)(A;;FR;;;BU)", 0, ObjectKind::File, &kClerk,
     0x120089},
    {"a generic deny withholds the rights it maps to", "D:(D;;GW;;;WD)(A;;FA;;;WD)", 0, ObjectKind::File,
     &kClerk, 0xD00E9},
    {"a deny leaves the owner its implicit rights", "O:S-1-5-21-7-1001D:(D;;FA;;;WD)", 0, ObjectKind::File,
     &kClerk, 0x60000},
    {"an inherited deny comes before an inherited grant", "D:(D;OI;FW;;;WD)(A;OI;FA;;;WD)", 1, ObjectKind::File,
     &kClerk, 0xD00E9},
    {"a literal user SID", "D:(A;;FA;;;S-1-5-21-7-1001)", 0, ObjectKind::File, &kClerk, 0x1F01FF},
    {"grants of several groups add up", "D:(A;;FR;;;BU)(A;;0x116;;;AU)", 0, ObjectKind::File, &kClerk, 0x12019F},
    {"generic all maps to a key's rights", "D:(A;;GA;;;WD)", 0, ObjectKind::Key, &kClerk, 0xF003F},
    {"generic read maps to a file's rights", "D:(A;;GR;;;WD)", 0, ObjectKind::File, &kClerk, 0x120089},
    {"generic execute maps to a folder's rights", "D:(A;;GX;;;WD)", 0, ObjectKind::Folder, &kClerk, 0x1200A0},
    {"generic write maps to a key's rights", "D:(A;;GW;;;WD)", 0, ObjectKind::Key, &kClerk, 0x20006},
    {"administrators only for a token that holds them", "D:(A;OICI;FA;;;BA)(A;OICI;FR;;;BU)", 0,
     ObjectKind::Folder, &kClerk, 0x120089},
    {"the administrator's token holds them", "D:(A;OICI;FA;;;BA)(A;OICI;FR;;;BU)", 0, ObjectKind::Folder, &kAdmin,
     0x1F01FF},
    {"OI reaches a file in the folder", "D:(A;OI;FA;;;WD)", 1, ObjectKind::File, &kClerk, 0x1F01FF},
    {"OI alone does not reach a sub-folder", "D:(A;OI;FA;;;WD)", 1, ObjectKind::Folder, &kClerk, 0},
    {"CI reaches a sub-folder", "D:(A;CI;FA;;;WD)", 1, ObjectKind::Folder, &kClerk, 0x1F01FF},
    {"CI alone does not reach a file", "D:(A;CI;FA;;;WD)", 1, ObjectKind::File, &kClerk, 0},
    {"IO skips the folder itself", "D:(A;OICIIO;FA;;;WD)", 0, ObjectKind::Folder, &kClerk, 0},
    {"IO still reaches its children", "D:(A;OICIIO;FA;;;WD)", 1, ObjectKind::File, &kClerk, 0x1F01FF},
    {"NP reaches the children", "D:(A;OICINP;FA;;;WD)", 1, ObjectKind::Folder, &kClerk, 0x1F01FF},
    {"NP stops at the children", "D:(A;OICINP;FA;;;WD)", 2, ObjectKind::File, &kClerk, 0},
    {"a machine key reaches a clerk read-only", "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;BU)", 3,
     ObjectKind::Key, &kClerk, 0x20019},
    {"the unrestricted descriptor", "O:BAD:(A;OICI;FA;;;WD)(A;OICI;FA;;;BA)", 0, ObjectKind::Folder, &kClerk,
     0x1F01FF},
};

TEST(AccessEvaluator, GrantsWhatTheHandWorkedDescriptorsGrant) {
  for (const Case& c : kCases) {
    std::string error;
    auto descriptor = sim::ParseSddl(c.sddl, &error);
    ASSERT_TRUE(descriptor) << c.name << ": " << error;
    EXPECT_EQ(sim::GrantedAccess(*descriptor, c.depth, c.kind, *c.token), c.granted) << c.name;
  }
}

struct Refusal {
  const char* sddl;
  const char* why;
};
const Refusal kRefusals[] = {
    {"D:(A;;FA;;;XX)", "unknown SID alias \"XX\""},
    {"D:(A;;ZZ;;;WD)", "unknown right \"ZZ\""},
    {"D:(A;;FA;;WD)", "not valid SDDL"},
    {"D:(A;QQ;FA;;;WD)", "unknown entry flag \"QQ\""},
    {"Q:BA", "not valid SDDL"},
    {"D:(A;;FA;;;WD", "not valid SDDL"},
    {"D:(AU;;FA;;;WD)", "unsupported access entry type"},
    {"O:BAO:BA", "not valid SDDL"},
};

TEST(AccessEvaluator, SecurityTxtWithABadDescriptorIsRefusedNamingTheLine) {
  for (const Refusal& r : kRefusals) {
    const std::string text = "C:\\Good\tD:(A;;FA;;;WD)\nC:\\Bad\t" + std::string(r.sddl) + "\n";
    SCOPED_TRACE(r.sddl);
    ExpectRefusal([&] { sim::ParseSecurityText(text, "security.txt"); }, "security.txt", 2, r.why);
  }
}

TEST(AccessEvaluator, AnOverflowingEntryListIsRefused) {
  std::string sddl = "D:";
  for (std::size_t i = 0; i <= sim::kMaxAces; ++i) sddl += "(A;;FR;;;WD)";
  std::string error;
  EXPECT_FALSE(sim::ParseSddl(sddl, &error));
  EXPECT_EQ(error, "more than 64 access entries");
  sddl.resize(sddl.size() - 12);
  EXPECT_TRUE(sim::ParseSddl(sddl, &error));
}

}  // namespace
