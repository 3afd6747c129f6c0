// Error descriptions: the tag of every kind of code and the system text after it.
#include "diag/error_strings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "diag/log.h"
#include "test_machine.h"
#include "base/launcher.h"

namespace {

TEST(FormatErrorCode, TagOfEveryKind) {
  struct Case {
    std::uint32_t code;
    ErrorCodeKind kind;
    std::string_view tag;
  };
  const Case cases[] = {
      {0, ErrorCodeKind::Win32, "[WIN32 0x00000000/C0000]"},
      {9999, ErrorCodeKind::Win32, "[WIN32 0x0000270f/C9999]"},
      {10000, ErrorCodeKind::Win32, "[WIN32 0x00002710/C10000]"},
      {0xFFFFFFFF, ErrorCodeKind::Win32, "[WIN32 0xffffffff/C65535]"},
      {0x80070002, ErrorCodeKind::HResult, "[HRESULT 0x80070002/C0002]"},
      {0x800401F0, ErrorCodeKind::HResult, "[HRESULT 0x800401f0/C0496]"},
      {0xC0000022, ErrorCodeKind::NtStatus, "[NTSTATUS 0xc0000022/C0034]"},
      {2, ErrorCodeKind::Errno, "[ERRNO 0x00000002/C0002]"},
      {0x0001FFFF, static_cast<ErrorCodeKind>(-1), "[0x0001ffff/C65535]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    FixedString<64> tag;
    EXPECT_EQ(FormatErrorCode(c.code, tag, c.kind), c.tag.size());
    EXPECT_EQ(tag.view(), c.tag);
  }
}

using unit::TestMachine;

constexpr const char* kNoText = "FormatErrorString: Failed to retrieve formatted error description.";

TEST(DescribeError, TagAndSystemTextOrUnknownError) {
  struct Case {
    std::uint32_t code;
    ErrorCodeKind kind;
    std::string_view description;
    int error_records;
  };
  // The system's texts end in the space that replaced their final line break.
  const Case cases[] = {
      {5, ErrorCodeKind::Win32, "[WIN32 0x00000005/C0005] Access is denied. ", 0},
      {120, ErrorCodeKind::Win32,
       "[WIN32 0x00000078/C0120] This function is not supported on this system. ", 0},
      {0x80070002, ErrorCodeKind::HResult,
       "[HRESULT 0x80070002/C0002] The system cannot find the file specified. ", 0},
      {2, ErrorCodeKind::Errno, "[ERRNO 0x00000002/C0002] The system cannot find the file specified. ",
       0},
      {0x800401F0, ErrorCodeKind::HResult, "[HRESULT 0x800401f0/C0496] Unknown Error", 1},
      {0xFFFFFFFF, ErrorCodeKind::Win32, "[WIN32 0xffffffff/C65535] Unknown Error", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    TestMachine machine;
    Launcher l(machine.platform());
    EXPECT_EQ(DescribeError(l, c.code, c.kind), c.description);
    EXPECT_EQ(l.log.ErrorRecordCount, c.error_records);
  }
}

TEST(DescribeError, UnknownCodeWritesItsOwnErrorRecordFirst) {
  unit::LoggedRun run("", unit::kDiagnostic);
  ErrorDescription description;
  FormatErrorString(run.l, 0x12345, description);
  ErrorLog(run.l, "Routine: Failed; %s", description.c_str());
  EXPECT_EQ(run.Errors(), (std::vector<std::string>{kNoText, "Routine: Failed; [WIN32 0x00012345/C9029] Unknown Error"}));
}

TEST(FormatErrorString, CutToTheCallersBuffer) {
  TestMachine machine;
  Launcher l(machine.platform());
  FixedString<30> small;
  FormatErrorString(l, 5, small);
  EXPECT_EQ(small.view(), "[WIN32 0x00000005/C0005] Acce");
}

TEST(ErrorLogWithCode, AppendsTheTagWithoutSystemText) {
  unit::LoggedRun run("", unit::kDiagnostic);
  ErrorLogWithCode(run.l, 5, "Routine: Failed to open \"%s\" (%d%%)", "C:\\x.dat", 50);
  EXPECT_EQ(run.Errors(), std::vector<std::string>{"Routine: Failed to open \"C:\\x.dat\" (50%); [WIN32 0x00000005/C0005]"});
}

// 2,029 characters of format: with "; " and the tag they would not fit the
// 2,048-character buffer. Each "%%" prints one character, so the record stays short.
constexpr std::array<char, 2030> kLongFormat = [] {
  std::array<char, 2030> format{};
  const std::string_view start = "Routine: ";
  std::size_t i = 0;
  for (char c : start) format[i++] = c;
  while (i + 1 < format.size()) format[i++] = '%';
  return format;
}();

TEST(ErrorLogWithCode, FormatTooLongForTheTagIsUsedAlone) {
  unit::LoggedRun run("", unit::kDiagnostic);
  ErrorLogWithCode(run.l, 5, kLongFormat.data());
  EXPECT_EQ(run.Errors(), std::vector<std::string>{"Routine: " + std::string(1010, '%')});
}

}  // namespace
