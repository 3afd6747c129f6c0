// The state of the WOW64 file-system redirection guard, one per process.
#pragma once

struct FsRedirectionState {
  // Set once when the process turns out not to run under WOW64: from then on the
  // guard does nothing.
  bool exempt = false;
  // Redirection is switched off by the guard.
  bool redirection_off = false;
  // What Wow64DisableWow64FsRedirection gave, handed back to switch redirection on.
  void* token = nullptr;
};
