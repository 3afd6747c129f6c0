// Windows side: files opened by handle, their times and the standard output stream.
#include "platform/win32/files_win32.h"

#include <cstdio>
#include <string>

namespace win32 {
namespace {

HANDLE AsHandle(platform::Handle handle) { return reinterpret_cast<HANDLE>(handle); }

FILETIME ToFileTime(platform::FileTime time) {
  FILETIME converted;
  converted.dwLowDateTime = static_cast<DWORD>(time);
  converted.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return converted;
}

platform::FileTime FromFileTime(const FILETIME& time) {
  return (static_cast<platform::FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

platform::Handle Win32FileSystem::CreateFile(std::string_view path, std::uint32_t desired_access,
                                             std::uint32_t share_mode,
                                             std::uint32_t creation_disposition,
                                             std::uint32_t flags_and_attributes) {
  HANDLE file = CreateFileA(std::string(path).c_str(), desired_access, share_mode, nullptr,
                            creation_disposition, flags_and_attributes, nullptr);
  return reinterpret_cast<platform::Handle>(file);
}

bool Win32FileSystem::ReadFile(platform::Handle file, void* buffer, std::uint32_t size,
                               std::uint32_t* bytes_read) {
  DWORD count = 0;
  const BOOL read = ::ReadFile(AsHandle(file), buffer, size, &count, nullptr);
  *bytes_read = count;
  return read != FALSE;
}

bool Win32FileSystem::WriteFile(platform::Handle file, const void* buffer, std::uint32_t size,
                                std::uint32_t* bytes_written) {
  DWORD count = 0;
  const BOOL written = ::WriteFile(AsHandle(file), buffer, size, &count, nullptr);
  *bytes_written = count;
  return written != FALSE;
}

std::uint32_t Win32FileSystem::SetFilePointer(platform::Handle file, std::int32_t distance,
                                              std::uint32_t move_method) {
  return ::SetFilePointer(AsHandle(file), distance, nullptr, move_method);
}

std::uint32_t Win32FileSystem::GetFileSize(platform::Handle file, std::uint32_t* size_high) {
  DWORD high = 0;
  const DWORD low = ::GetFileSize(AsHandle(file), &high);
  if (size_high) *size_high = high;
  return low;
}

bool Win32FileSystem::GetFileTime(platform::Handle file, platform::FileTime* last_write) {
  FILETIME written = {};
  if (!::GetFileTime(AsHandle(file), nullptr, nullptr, &written)) return false;
  *last_write = FromFileTime(written);
  return true;
}

bool Win32FileSystem::FileTimeToLocalFileTime(platform::FileTime utc, platform::FileTime* local) {
  const FILETIME in = ToFileTime(utc);
  FILETIME out = {};
  if (!::FileTimeToLocalFileTime(&in, &out)) return false;
  *local = FromFileTime(out);
  return true;
}

bool Win32FileSystem::FileTimeToSystemTime(platform::FileTime time, platform::SystemTime* fields) {
  const FILETIME in = ToFileTime(time);
  SYSTEMTIME out = {};
  if (!::FileTimeToSystemTime(&in, &out)) return false;
  *fields = {out.wYear, out.wMonth, out.wDayOfWeek, out.wDay,
             out.wHour, out.wMinute, out.wSecond,    out.wMilliseconds};
  return true;
}

bool Win32FileSystem::SystemTimeToFileTime(const platform::SystemTime& fields,
                                           platform::FileTime* time) {
  const SYSTEMTIME in = {fields.year, fields.month,  fields.day_of_week, fields.day,
                         fields.hour, fields.minute, fields.second,      fields.milliseconds};
  FILETIME out = {};
  if (!::SystemTimeToFileTime(&in, &out)) return false;
  *time = FromFileTime(out);
  return true;
}

void Win32FileSystem::WriteStandardOutput(std::string_view text) {
  // A GUI program has no console: the text is seen only where the output is
  // redirected, and nothing is written otherwise.
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace win32
