// The process-wide run state: the launcher's own paths and version, its command
// line split into arguments and engine commands, the switch flags and the status
// window's state.
#pragma once

#include <cstdint>

#include "base/library_version.h"
#include "base/fixed_string.h"
#include "platform/types.h"
#include "platform/user_interface.h"

struct RunState {
  PathBuffer LauncherPath;
  PathBuffer LauncherFolder;  // LauncherPath up to its last backslash, without it
  LibraryVersion LauncherVersion;
  PathBuffer CommandLineCopy;

  // Both blocks come from the process heap; each begins with a table of pointers
  // into its own string area. The arguments' table ends with a null entry; the
  // engine commands' table has one slot per argument and is read up to
  // EngineCommandCount.
  char** ParamsArray = nullptr;
  std::int32_t ArgumentCount = 0;
  char** EngineCommands = nullptr;
  std::int32_t EngineCommandCount = 0;
  std::size_t ArgumentBlockSize = 0;  // bytes in each of the two blocks

  bool PreloadMode = false;
  bool SilentMode = false;
  bool RepairMode = false;
  bool DiagnosticLogging = false;
  bool DeveloperDebugLogging = false;
  bool AppendLogFiles = false;
  bool UsingInstanceFile = false;
  bool ElevateProcessRequestIndicator = false;

  // The status window: the splash dialog (or the replace-mode window) with its
  // texts, fonts, background and the rectangles the texts are drawn in.
  platform::WindowHandle StatusWindow = platform::kNoWindow;
  platform::WindowHandle ProgressBar = platform::kNoWindow;
  MessageBuffer StatusText;
  MessageBuffer SubStatusText;
  platform::GdiObject StatusFont = platform::kNoObject;
  platform::GdiObject SubStatusFont = platform::kNoObject;
  platform::GdiObject SplashBitmap = platform::kNoObject;
  platform::Rect StatusRect;
  platform::Rect SubStatusRect;
  platform::Rect CopyrightRect;
};
