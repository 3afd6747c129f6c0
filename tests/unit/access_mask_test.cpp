// Granted access masks as records of named rights: the words, their order and the
// flags the callers read.
#include <gtest/gtest.h>

#include <string>

#include "access/access_mask.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;

struct Case {
  RightsObject object;
  std::uint32_t mask;
  const char* words;  // after "(%8X): "
  bool full;
};

const Case kCases[] = {
    {RightsObject::FileSystem, 0, "None.", false},
    {RightsObject::FileSystem, 0x1F01FF,
     "FullAccess*; Read; Write; Append; Delete; DeleteChild; Execute; Synchronize; ReadAttr; WriteAttr; "
     "ReadEA; WriteEA; ReadSecurity; WriteSecurity.",
     true},
    // Modify: everything but FILE_DELETE_CHILD, WRITE_DAC and WRITE_OWNER.
    {RightsObject::FileSystem, 0x1301BF,
     "Read; Write; Append; Delete; Execute; Synchronize; ReadAttr; WriteAttr; ReadEA; WriteEA; ReadSecurity.",
     false},
    // WRITE_OWNER has no word, but full access needs it.
    {RightsObject::FileSystem, 0x701FF,
     "AllSpecific*; Read; Write; Append; Delete; DeleteChild; Execute; ReadAttr; WriteAttr; ReadEA; WriteEA; "
     "ReadSecurity; WriteSecurity.",
     false},
    {RightsObject::FileSystem, 0xF0000, "AllStandard*; Delete; ReadSecurity; WriteSecurity.", false},
    {RightsObject::Registry, 0xF013F,
     "FullAccess*; Read; Write; Append; Delete; Enumerate; Notify; CreateLink; ReadSecurity; WriteSecurity; "
     "WOW64_64KEY.",
     true},
    {RightsObject::Registry, 0x20319, "Read; Enumerate; Notify; ReadSecurity; WOW64_32KEY; WOW64_64KEY; WOW64_RES.",
     false},
    {RightsObject::Registry, 0x100000, "Synchronize.", false},
};

TEST(ParseAccessMask, NamesTheGrantedRightsInOrder) {
  for (const Case& c : kCases) {
    InspectionRun run("", inspection_test::kFreshRegistry, 1);
    GrantedRights rights;
    rights.flags.fill(1);
    EXPECT_TRUE(ParseAccessMask(run.l, c.mask, rights, c.object));
    char head[128];
    std::snprintf(head, sizeof head, "ParseAccessMask found granted %s rights within Access Mask (%8X): ",
                  c.object == RightsObject::FileSystem ? "file system" : "registry", c.mask);
    EXPECT_TRUE(run.Logged(head + std::string(c.words))) << c.words;
    EXPECT_EQ(rights.FullAccess(), c.full) << c.words;
    EXPECT_EQ(rights.flags[12], 0) << c.words;
  }
}

TEST(ParseAccessMask, FullAccessSetsTheSummaryAndSingleSlots) {
  InspectionRun run("", inspection_test::kFreshRegistry, 1);
  GrantedRights rights;
  ParseAccessMask(run.l, 0x1F01FF, rights, RightsObject::FileSystem);
  for (int slot : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16}) EXPECT_EQ(rights.flags[slot], 1) << slot;
  ParseAccessMask(run.l, 0, rights, RightsObject::FileSystem);
  for (auto flag : rights.flags) EXPECT_EQ(flag, 0);
}

}  // namespace
