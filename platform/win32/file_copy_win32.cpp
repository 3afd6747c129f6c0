// Windows side: copying files, creating folders, setting attributes and stamping a
// file's time.
#include "platform/win32/files_win32.h"

#include <string>

namespace win32 {

bool Win32FileSystem::CopyFile(std::string_view existing_path, std::string_view new_path,
                               bool fail_if_exists) {
  return ::CopyFileA(std::string(existing_path).c_str(), std::string(new_path).c_str(),
                     fail_if_exists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::CreateDirectory(std::string_view path) {
  return ::CreateDirectoryA(std::string(path).c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::SetFileAttributes(std::string_view path, std::uint32_t attributes) {
  return ::SetFileAttributesA(std::string(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::SetFileTime(platform::Handle file, platform::FileTime last_write) {
  FILETIME written;
  written.dwLowDateTime = static_cast<DWORD>(last_write);
  written.dwHighDateTime = static_cast<DWORD>(last_write >> 32);
  return ::SetFileTime(reinterpret_cast<HANDLE>(file), nullptr, nullptr, &written) != FALSE;
}

}  // namespace win32
