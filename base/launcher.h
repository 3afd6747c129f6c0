// One run of the launcher: the platform it runs on and the process-wide records.
//
// Every routine takes the run as its first argument instead of reaching for globals,
// so that a test can run the launcher many times in one process.
#pragma once

#include "base/log_state.h"
#include "base/fs_redirection_state.h"
#include "base/run_state.h"
#include "platform/platform.h"
#include "base/known_folders.h"
#include "base/system_info.h"

struct Launcher {
  explicit Launcher(platform::Platform& platform) : os(platform) {}
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;

  platform::Platform& os;
  RunState run;
  LogState log;
  SystemInfoObject sys;
  KnownFoldersList folders;
  FsRedirectionState fs_redirection;
  // Replace mode: true at start, cleared when a file could not be backed up or copied.
  bool SystemFilesReplaced = true;
};

// Thrown by DisposeApp to end the run; the entry point catches it and exits with
// `code`, so every scope unwinds and releases what it holds on the way out.
struct ProcessExit {
  int code;
};
