// The simulated workstation's files by handle: opening by disposition, sharing
// between handles, reading, writing and seeking, sizes, the calendar's bounds, and
// every one of these failed through [fail].
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "test_machine.h"
#include "platform/error_codes.h"
#include "platform/platform.h"

namespace {

using unit::TestMachine;

using platform::kErrorInvalidHandle;
using platform::kErrorNegativeSeek;
constexpr platform::ErrorCode kAlreadyExists = 183;

// 2026-12-06 08:30:15.250 UTC as a FILETIME.
constexpr platform::FileTime kSampleTime = 134410194152500000ull;

platform::Handle OpenForReading(platform::Platform& os, std::string_view path, std::uint32_t share = 0) {
  return os.files.CreateFile(path, platform::kGenericRead, share, platform::kOpenExisting,
                             platform::kFileAttributeNormal);
}

std::string ReadAll(platform::Platform& os, platform::Handle file, std::uint32_t size) {
  std::string bytes(size, '\0');
  std::uint32_t read = 0;
  EXPECT_TRUE(os.files.ReadFile(file, bytes.data(), size, &read));
  bytes.resize(read);
  return bytes;
}

TEST(SimFileHandles, ReadsFromItsOwnPositionAndEndsWithZeroBytes) {
  TestMachine machine;
  machine.PutFile("C:\\Portavel\\data.bin", "0123456789");
  auto& os = machine.platform();
  platform::Handle file = OpenForReading(os, "data.bin");  // relative to C:\Portavel
  ASSERT_NE(file, platform::kInvalidHandle);
  EXPECT_EQ(ReadAll(os, file, 4), "0123");
  EXPECT_EQ(ReadAll(os, file, 4), "4567");
  EXPECT_EQ(ReadAll(os, file, 4), "89");
  EXPECT_EQ(ReadAll(os, file, 4), "");
  EXPECT_EQ(os.files.SetFilePointer(file, 2, platform::kFileBegin), 2u);
  EXPECT_EQ(ReadAll(os, file, 3), "234");
  EXPECT_EQ(os.files.SetFilePointer(file, -1, platform::kFileCurrent), 4u);
  EXPECT_EQ(os.files.SetFilePointer(file, -3, platform::kFileEnd), 7u);
  EXPECT_EQ(ReadAll(os, file, 10), "789");
  EXPECT_EQ(os.files.SetFilePointer(file, -11, platform::kFileEnd), platform::kInvalidSetFilePointer);
  EXPECT_EQ(os.system.GetLastError(), kErrorNegativeSeek);
  std::uint32_t high = 99;
  EXPECT_EQ(os.files.GetFileSize(file, &high), 10u);
  EXPECT_EQ(high, 0u);
  EXPECT_TRUE(os.system.CloseHandle(file));
  // A closed handle is no longer a file.
  char byte;
  std::uint32_t read = 0;
  EXPECT_FALSE(os.files.ReadFile(file, &byte, 1, &read));
  EXPECT_EQ(os.system.GetLastError(), kErrorInvalidHandle);
  EXPECT_EQ(os.files.GetFileSize(file, nullptr), platform::kInvalidFileSize);
  EXPECT_EQ(os.system.GetLastError(), kErrorInvalidHandle);
}

TEST(SimFileHandles, AMissingFileOrFolderFailsAsOnWindows) {
  TestMachine machine;
  auto& os = machine.platform();
  const std::pair<const char*, platform::ErrorCode> cases[] = {{"missing.dll", platform::kErrorFileNotFound},
                                                               {"C:\\Nowhere\\missing.dll", platform::kErrorPathNotFound},
                                                               {"C:\\Portavel", platform::kErrorAccessDenied},
                                                               {"", platform::kErrorPathNotFound}};
  for (const auto& [path, error] : cases) {
    EXPECT_EQ(OpenForReading(os, path), platform::kInvalidHandle) << path;
    EXPECT_EQ(os.system.GetLastError(), error) << path;
  }
  // An empty name is not the current folder.
  EXPECT_EQ(os.files.GetFileAttributes(""), platform::kInvalidFileAttributes);
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorPathNotFound);
}

TEST(SimFileHandles, AFileOpenedWithoutSharingCannotBeOpenedAgainUntilClosed) {
  TestMachine machine;
  machine.PutFile("C:\\Portavel\\tsystem0.dll", "archive");
  auto& os = machine.platform();
  platform::Handle first = OpenForReading(os, "tsystem0.dll");
  ASSERT_NE(first, platform::kInvalidHandle);
  EXPECT_EQ(OpenForReading(os, "C:\\PORTAVEL\\TSYSTEM0.DLL", platform::kFileShareRead),
            platform::kInvalidHandle);
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorSharingViolation);
  ASSERT_TRUE(os.system.CloseHandle(first));
  // Read sharing admits readers but no writer.
  platform::Handle reader = OpenForReading(os, "tsystem0.dll", platform::kFileShareRead);
  EXPECT_NE(OpenForReading(os, "tsystem0.dll", platform::kFileShareRead), platform::kInvalidHandle);
  EXPECT_EQ(os.files.CreateFile("tsystem0.dll", platform::kGenericWrite, platform::kFileShareRead | platform::kFileShareWrite,
                                platform::kCreateAlways, platform::kFileAttributeNormal),
            platform::kInvalidHandle);
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorSharingViolation);
  EXPECT_NE(reader, first);
}

// A read-only file is not replaced or deleted (5); a file another process holds open
// is not copied or deleted (32).
TEST(SimFileHandles, ReadOnlyAndLockedFilesRefuseAsOnWindows) {
  TestMachine machine("[files]\nC:\\Portavel\\ro.txt = readonly\nc:\\portavel\\HELD.txt = locked\n");
  for (const char* name : {"ro.txt", "held.txt", "plain.txt"}) machine.PutFile(std::string(unit::kFolder) + name, name);
  auto& os = machine.Load();
  // Opening them is the scenarios' (held files); copying onto them and deleting them is not.
  const std::tuple<const char*, const char*, platform::ErrorCode> copies[] = {
      {"plain.txt", "ro.txt", platform::kErrorAccessDenied},
      {"plain.txt", "held.txt", platform::kErrorSharingViolation},
      {"held.txt", "new.txt", platform::kErrorSharingViolation},
      {"ro.txt", nullptr, platform::kErrorAccessDenied},  // deleted
      {"held.txt", nullptr, platform::kErrorSharingViolation}};
  for (const auto& [from, to, error] : copies) {
    EXPECT_FALSE(to ? os.files.CopyFile(from, to, false) : os.files.DeleteFile(from)) << from;
    EXPECT_EQ(os.system.GetLastError(), error) << from;
  }
  EXPECT_EQ(machine.File("C:\\Portavel\\ro.txt"), "ro.txt");
  EXPECT_EQ(machine.File("C:\\Portavel\\held.txt"), "held.txt");

  // A copy takes the attribute along; clearing it makes the file an ordinary one.
  ASSERT_TRUE(os.files.CopyFile("RO.TXT", "copy.txt", false));
  EXPECT_EQ(os.files.GetFileAttributes("copy.txt"), 0x21u);
  EXPECT_EQ(os.files.GetFileAttributes("plain.txt"), 0x20u);
  ASSERT_TRUE(os.files.SetFileAttributes("ro.txt", platform::kFileAttributeNormal));
  EXPECT_EQ(os.files.GetFileAttributes("ro.txt"), 0x20u);
  EXPECT_TRUE(os.files.DeleteFile("ro.txt"));
}

// Names resolve without regard to case through the folder listings the machine keeps,
// after its own changes; a file put there from outside is found by its own spelling.
TEST(SimFileHandles, NamesResolveAfterEveryChangeOfTheirFolder) {
  TestMachine machine;
  machine.PutFile("C:\\Portavel\\plain.txt", "x");
  auto& os = machine.platform();
  EXPECT_EQ(os.files.GetFileAttributes("NEW.txt"), platform::kInvalidFileAttributes);
  ASSERT_TRUE(os.files.CopyFile("plain.txt", "New.Txt", false));
  EXPECT_EQ(os.files.GetFileAttributes("new.TXT"), 0x20u);
  ASSERT_TRUE(os.files.DeleteFile("NEW.txt"));
  EXPECT_EQ(os.files.GetFileAttributes("new.txt"), platform::kInvalidFileAttributes);
  machine.WriteC("Portavel/Outside.txt", "y");
  EXPECT_EQ(os.files.GetFileAttributes("Outside.txt"), 0x20u);  // spelt as on the host
}

TEST(SimFileHandles, CreateAlwaysEmptiesAnExistingFileAndSaysItExisted) {
  TestMachine machine;
  machine.PutFile("C:\\Portavel\\filelist.txt", "an old and longer report");
  auto& os = machine.platform();
  platform::Handle file = os.files.CreateFile("filelist.txt", platform::kGenericWrite, 0,
                                              platform::kCreateAlways, platform::kFileAttributeNormal);
  ASSERT_NE(file, platform::kInvalidHandle);
  EXPECT_EQ(os.system.GetLastError(), kAlreadyExists);
  std::uint32_t written = 0;
  EXPECT_TRUE(os.files.WriteFile(file, "new\r\n", 5, &written));
  EXPECT_EQ(written, 5u);
  // A handle opened for writing only cannot read.
  char byte;
  std::uint32_t read = 7;
  EXPECT_FALSE(os.files.ReadFile(file, &byte, 1, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorAccessDenied);
  os.system.CloseHandle(file);
  EXPECT_EQ(machine.File("C:\\Portavel\\filelist.txt"), "new\r\n");

  platform::Handle fresh = os.files.CreateFile("C:\\Portavel\\new.txt", platform::kGenericWrite, 0,
                                               platform::kCreateAlways, platform::kFileAttributeNormal);
  ASSERT_NE(fresh, platform::kInvalidHandle);
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorSuccess);
  os.system.CloseHandle(fresh);
  EXPECT_EQ(machine.File("C:\\Portavel\\new.txt"), "");
}

// A file's time and its local time by the machine's offset are the listing mode's
// scenario test.
TEST(SimFileTimes, CalendarFieldsConvertBothWaysAndTheDayOfWeekIsNotLookedAt) {
  TestMachine machine;
  auto& files = machine.platform().files;
  platform::FileTime time = 0;
  ASSERT_TRUE(files.SystemTimeToFileTime({2026, 12, 4, 6, 8, 30, 15, 250}, &time));
  EXPECT_EQ(time, kSampleTime);
  platform::SystemTime fields;
  ASSERT_TRUE(files.FileTimeToSystemTime(0, &fields));
  EXPECT_EQ(std::tie(fields.year, fields.month, fields.day, fields.day_of_week),
            std::make_tuple(1601, 1, 1, 1));  // 1 January 1601 was a Monday
  EXPECT_FALSE(files.FileTimeToSystemTime(platform::FileTime{1} << 63, &fields));
  EXPECT_EQ(machine.platform().system.GetLastError(), platform::kErrorInvalidParameter);
}

TEST(SimFileTimes, FieldsOutsideTheCalendarAreRefused) {
  const platform::SystemTime refused[] = {
      {1600, 12, 0, 31, 0, 0, 0, 0}, {2026, 2, 0, 29, 0, 0, 0, 0},
      {2026, 12, 0, 6, 0, 0, 0, 1000}, {30828, 1, 0, 1, 0, 0, 0, 0},
  };
  TestMachine machine;
  auto& files = machine.platform().files;
  for (const platform::SystemTime& fields : refused) {
    platform::FileTime time = 0;
    EXPECT_FALSE(files.SystemTimeToFileTime(fields, &time))
        << fields.year << "-" << fields.month << "-" << fields.day << " " << fields.hour << ":"
        << fields.minute << ":" << fields.second << "." << fields.milliseconds;
  }
  platform::FileTime leap = 0;
  EXPECT_TRUE(files.SystemTimeToFileTime({2028, 2, 0, 29, 23, 59, 59, 999}, &leap));
}

// The launcher's routines fail the other file operations through [fail]; these are
// left: a failed read reports no bytes, and the time conversions fail with the error given.
// faults.log names every failed call, with the path it was given.
TEST(SimFileHandles, AFailedReadReportsNoBytesAndConversionsFailThroughTheFailSection) {
  TestMachine machine(
      "[fail]\nReadFile = 1\nCreateFile = 2:32\nFileTimeToLocalFileTime = 1:87\nSystemTimeToFileTime = 1:87\n");
  machine.PutFile("C:\\Portavel\\a.txt", "abc");
  auto& os = machine.platform();
  platform::Handle file = OpenForReading(os, "a.txt");
  char buffer[3];
  std::uint32_t count = 9;
  EXPECT_FALSE(os.files.ReadFile(file, buffer, 3, &count));
  EXPECT_EQ(std::make_tuple(count, os.system.GetLastError()), std::make_tuple(0u, platform::kErrorAccessDenied));
  EXPECT_EQ(ReadAll(os, file, 3), "abc");  // the second call succeeds
  os.system.CloseHandle(file);
  EXPECT_EQ(OpenForReading(os, "a.txt"), platform::kInvalidHandle);
  platform::FileTime time = 0;
  EXPECT_FALSE(os.files.FileTimeToLocalFileTime(kSampleTime, &time));
  EXPECT_EQ(os.system.GetLastError(), platform::kErrorInvalidParameter);
  EXPECT_FALSE(os.files.SystemTimeToFileTime({2026, 12, 0, 6, 0, 0, 0, 0}, &time));
  EXPECT_EQ(machine.Text("faults.log"),
            "FAIL ReadFile call=1 error=5\n"
            "FAIL CreateFile call=2 error=32 \"a.txt\"\n"
            "FAIL FileTimeToLocalFileTime call=1 error=87\n"
            "FAIL SystemTimeToFileTime call=1 error=87\n");
}

}  // namespace
