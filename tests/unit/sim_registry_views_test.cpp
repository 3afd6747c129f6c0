// The simulated registry's two views on a 64-bit machine: HKLM\SOFTWARE is redirected
// to WOW6432Node for a 32-bit caller, except the keys Windows shares between views.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/unit/test_machine.h"

namespace {

// Each key holds "Where" naming the view whose copy it is.
const std::string kRegistry =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
    "\"Where\"=\"64\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\r\n\"Where\"=\"64\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}]\r\n\"Where\"=\"64\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n\"Where\"=\"64\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n"
    "\"Where\"=\"64\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
    "\"Where\"=\"32\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Classes\\.txt]\r\n\"Where\"=\"32\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Classes\\CLSID\\{1}]\r\n\"Where\"=\"32\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"Where\"=\"32\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n"
    "\"Where\"=\"32\"\r\n\r\n";

// The copy a 32-bit caller reads in its own view.
std::string Where(unit::TestMachine& machine, const char* key) {
  char data[8] = {};
  std::uint32_t size = sizeof data;
  const auto error = machine.platform().registry.RegGetValue(
      platform::kHKeyLocalMachine, key, "Where", platform::kRrfRtRegSz, nullptr, data, &size);
  return error == 0 ? data : "error " + std::to_string(error);
}

TEST(SimRegistryViews, SharedKeysAreOneCopyForBothViews) {
  unit::TestMachine machine("", kRegistry);  // the 32-bit launcher on 64-bit Windows
  struct Row {
    const char* key;
    const char* seen;
  } rows[] = {
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "64"},
      {"SOFTWARE\\Classes\\.txt", "64"},
      {"SOFTWARE\\Classes\\CLSID\\{1}", "32"},
      {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "32"},
      {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", "64"},
  };
  for (const Row& row : rows) EXPECT_EQ(Where(machine, row.key), row.seen) << row.key;
}

}  // namespace
