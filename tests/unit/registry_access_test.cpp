// Reading single registry values: every outcome and its record. Writing them is
// checked by the preload configuration and cache tests.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "config/registry_access.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;
using test_support::BareRegistryFile;

const std::string kRuntimeKey = "SOFTWARE\\Vendor\\Runtime";

std::string Values(const std::string& values) {
  return BareRegistryFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Runtime]\r\n" + values + "\r\n" +
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n" + values + "\r\n");
}

const std::string kStored = Values(
    "\"Installed\"=dword:0000012c\r\n\"Version\"=\"v14.40\"\r\n\"Blob\"=hex:01,02\r\n"
    "\"Short\"=hex(4):01,02\r\n\"Unterminated\"=hex(1):41,42,43,44\r\n");

struct ReadCase {
  const char* name;
  const char* value;
  std::uint32_t expected_type;
  std::uint32_t buffer_size;
  bool read;
  const char* record;  // what follows "GetRegistryValue: Path "SOFTWARE\Vendor\Runtime" "
};

const ReadCase kReads[] = {
    {"a DWORD shows its whole value", "Installed", 4, 4, true,
     "Key: \"Installed\" Result: Success. Type: DWORD Value: 300"},
    {"a text", "Version", 1, 260, true, "Key: \"Version\" Result: Success. Type: SZ Value: v14.40"},
    {"another stored type", "Blob", 0, 260, true, "Key: \"Blob\" Result: Success. Type: Unspecified."},
    {"a missing value", "Absent", 4, 4, false,
     "Result: FAILED to retrieve value \"Absent\". Reason: [WIN32 0x00000002/C0002]"},
    // Another type than the caller expects is read as it is stored.
    {"a DWORD where a text is expected", "Installed", 1, 260, true,
     "Key: \"Installed\" Result: Success. Type: DWORD Value: 300"},
    {"a text too large where a DWORD is expected", "Version", 4, 4, false,
     "Result: FAILED to retrieve value \"Version\". Reason: [WIN32 0x000000ea/C0234]"},
    {"a DWORD of two bytes", "Short", 4, 4, false,
     "Result: FAILED to retrieve value \"Short\". Reason: [WIN32 0x0000000d/C0013]"},
    {"a text larger than the buffer", "Version", 1, 4, false,
     "Result: FAILED to retrieve value \"Version\". Reason: [WIN32 0x000000ea/C0234]"},
    {"a text filling the buffer without terminator", "Unterminated", 1, 4, false,
     "Result: FAILED to retrieve value \"Unterminated\". Reason: [WIN32 0x000000ea/C0234]"},
    {"a text without terminator that fits", "Unterminated", 1, 260, true,
     "Key: \"Unterminated\" Result: Success. Type: SZ Value: ABCD"},
};

bool HasRecordStarting(const InspectionRun& run, const std::string& start) {
  for (const auto& message : run.Messages())
    if (message.rfind(start, 0) == 0) return true;
  return false;
}

TEST(GetRegistryValue, ReportsEveryOutcome) {
  for (const ReadCase& c : kReads) {
    InspectionRun run("", kStored, 1);
    std::array<char, 260> buffer{};
    std::uint32_t type = c.expected_type;
    std::uint32_t size = c.buffer_size;
    EXPECT_EQ(GetRegistryValue(run.l, kRuntimeKey, c.value, &type, buffer.data(), &size), c.read) << c.name;
    EXPECT_TRUE(HasRecordStarting(run, "GetRegistryValue: Path \"" + kRuntimeKey + "\" " + c.record)) << c.name;
    EXPECT_EQ(run.l.log.ErrorRecordCount, 0) << c.name;
    EXPECT_EQ(run.l.log.LogNestingDepth, 0) << c.name;
  }
}

TEST(GetRegistryValue, AMissingKeyOrNoBufferFails) {
  InspectionRun run("", kStored, 1);
  std::uint32_t type = 4, size = 4, value = 0;
  EXPECT_FALSE(GetRegistryValue(run.l, "SOFTWARE\\Nowhere", "Installed", &type, &value, &size));
  EXPECT_TRUE(HasRecordStarting(run, "GetRegistryValue: Path \"SOFTWARE\\Nowhere\" Result: FAILED to open key. "
                                     "Reason: [WIN32 0x00000002/C0002]"));
  EXPECT_FALSE(GetRegistryValue(run.l, kRuntimeKey, "Installed", &type, nullptr, &size));
  EXPECT_TRUE(run.Logged("GetRegistryValue: Path \"" + kRuntimeKey +
                         "\" Result: FAILED to retrieve value \"Installed\": destination pointer is null."));
  EXPECT_EQ(run.l.log.LogNestingDepth, 0);
}

TEST(ReadLauncherValue, ReadsTextAndReportsTheRest) {
  InspectionRun run("", kStored, 1);
  LauncherValue value;
  EXPECT_TRUE(ReadLauncherValue(run.l, "Version", value));
  EXPECT_EQ(value.view(), "v14.40");
  EXPECT_TRUE(run.Logged("Registry access: Read success from key \"Version\" in \"SOFTWARE\\Veltrix Solutions "
                         "Inc.\\Launcher\". Value=v14.40"));
  EXPECT_FALSE(ReadLauncherValue(run.l, "NetFxMSIOpts", value));
  EXPECT_TRUE(value.empty());
  EXPECT_TRUE(HasRecordStarting(run, "Registry access did not succeed: Key not found while reading key "
                                     "\"NetFxMSIOpts\""));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
  // A value that is not text is an error of the run, never bytes taken for text.
  EXPECT_FALSE(ReadLauncherValue(run.l, "Installed", value));
  EXPECT_TRUE(value.empty());
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
}

TEST(ReadLauncherValue, AFailingQueryOrOpenIsAnError) {
  for (const char* fail : {"[fail]\nRegQueryValueEx = 1\n", "[fail]\nRegOpenKeyEx = 1\n"}) {
    InspectionRun run(fail, kStored, 1);
    LauncherValue value;
    EXPECT_FALSE(ReadLauncherValue(run.l, "Version", value)) << fail;
    EXPECT_EQ(run.l.log.ErrorRecordCount, 1) << fail;
  }
}

}  // namespace
