// The folder of the running program, with its trailing backslash, where the
// end-to-end stand-ins leave what they record; empty when it cannot be had.
#pragma once

#include <windows.h>

#include <string>

inline std::string OwnFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return {};
  std::string folder(path, length);
  folder.erase(folder.rfind('\\') + 1);
  return folder;
}
