// Windows side: files, folders, settings files and version resources.
#include "platform/win32/files_win32.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace win32 {
namespace {

// VerQueryValueA hands out string values with their length in characters; whether
// that length counts the terminator depends on how the resource was compiled.
bool IsStringValue(std::string_view sub_block) {
  constexpr std::string_view kStrings = "\\StringFileInfo\\";
  if (sub_block.size() < kStrings.size()) return false;
  return _strnicmp(sub_block.data(), kStrings.data(), kStrings.size()) == 0;
}

}  // namespace

bool Win32FileSystem::AppendToFile(std::string_view path, std::string_view text) {
  // Text mode: the runtime stores every "\n" as CR LF.
  std::FILE* file = std::fopen(std::string(path).c_str(), "a+");
  if (file == nullptr) return false;
  std::fputs(std::string(text).c_str(), file);
  std::fclose(file);
  return true;
}

bool Win32FileSystem::DeleteFile(std::string_view path) {
  return DeleteFileA(std::string(path).c_str()) != FALSE;
}

bool Win32FileSystem::SetCurrentDirectory(std::string_view path) {
  return SetCurrentDirectoryA(std::string(path).c_str()) != FALSE;
}

std::string Win32FileSystem::GetPrivateProfileString(std::string_view section,
                                                     std::string_view key,
                                                     std::string_view default_value,
                                                     std::string_view path,
                                                     std::uint32_t buffer_size) {
  if (buffer_size == 0) return {};
  std::string buffer(buffer_size, '\0');
  const DWORD length = GetPrivateProfileStringA(
      std::string(section).c_str(), std::string(key).c_str(),
      std::string(default_value).c_str(), buffer.data(), buffer_size,
      std::string(path).c_str());
  buffer.resize(length);
  return buffer;
}

void Win32FileSystem::CloseAllStreams() { _fcloseall(); }

std::uint32_t Win32FileSystem::GetFileVersionInfoSize(std::string_view path) {
  DWORD ignored = 0;
  return GetFileVersionInfoSizeA(std::string(path).c_str(), &ignored);
}

bool Win32FileSystem::GetFileVersionInfo(std::string_view path, std::uint32_t size,
                                         std::vector<std::uint8_t>& block) {
  block.assign(size, 0);
  return GetFileVersionInfoA(std::string(path).c_str(), 0, size, block.data()) != FALSE;
}

bool Win32FileSystem::VerQueryValue(const std::vector<std::uint8_t>& block,
                                    std::string_view sub_block,
                                    std::vector<std::uint8_t>& value) {
  // String values come back converted to the code page, in the spare room that
  // GetFileVersionInfoA left at the end of the block; they are copied out of it.
  void* found = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), std::string(sub_block).c_str(), &found, &length) ||
      found == nullptr) {
    return false;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(found);
  value.assign(bytes, bytes + length);
  if (IsStringValue(sub_block) && (value.empty() || value.back() != 0)) value.push_back(0);
  return true;
}

}  // namespace win32
