// Windows side: existence tests and the WOW64 file-system redirection switch.
#include <cstring>
#include <string>

#include "platform/win32/files_win32.h"

namespace win32 {

namespace {

void Take(const WIN32_FIND_DATAA& data, platform::FindData* found) {
  if (found == nullptr) return;
  found->name.assign(data.cFileName, strnlen(data.cFileName, MAX_PATH));
  found->attributes = data.dwFileAttributes;
}

}  // namespace

platform::Handle Win32FileSystem::FindFirstFile(std::string_view pattern, platform::FindData* first) {
  WIN32_FIND_DATAA data = {};
  HANDLE search = FindFirstFileA(std::string(pattern).c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) Take(data, first);
  return reinterpret_cast<platform::Handle>(search);
}

bool Win32FileSystem::FindNextFile(platform::Handle search, platform::FindData* next) {
  WIN32_FIND_DATAA data = {};
  if (!FindNextFileA(reinterpret_cast<HANDLE>(search), &data)) return false;
  Take(data, next);
  return true;
}

bool Win32FileSystem::FindClose(platform::Handle search) {
  return ::FindClose(reinterpret_cast<HANDLE>(search)) != FALSE;
}

std::uint32_t Win32FileSystem::GetFileAttributes(std::string_view path) {
  return GetFileAttributesA(std::string(path).c_str());
}

bool Win32FileSystem::PathIsDirectoryEmpty(std::string_view path) {
  return ::PathIsDirectoryEmptyA(std::string(path).c_str()) != FALSE;
}

bool Win32FileSystem::Wow64DisableWow64FsRedirection(void** old_value) {
  return ::Wow64DisableWow64FsRedirection(old_value) != FALSE;
}

bool Win32FileSystem::Wow64RevertWow64FsRedirection(void* old_value) {
  return ::Wow64RevertWow64FsRedirection(old_value) != FALSE;
}

}  // namespace win32
