// The WOW64 file-system redirection guard. The launcher is a 32-bit program that must
// reach the real system folders of 64-bit Windows, so every routine that touches
// system locations switches redirection off around its file operations and on again
// at once. The guard is a switch, not a counter: the first switch back on also ends
// an outer section's.
#pragma once

#include <exception>

struct Launcher;

// Switches redirection off: true when file operations may go on (redirection off,
// or a process that is not redirected at all).
bool DisableFSCompatibility(Launcher& l);

// Switches redirection back on; true. When that fails the run cannot go on safely
// and ends through AbortApplication (exit code 6): it does not return then.
bool EnableFSCompatibility(Launcher& l);

// Redirection off for the life of the object: ok() tells whether the file operations
// may go on. Redirection is switched back on when the object goes out of scope, if
// it was switched off; not while the run is already ending by an exception, when no
// file operation follows.
class FsRedirectionOff {
 public:
  explicit FsRedirectionOff(Launcher& l);
  ~FsRedirectionOff() noexcept(false);
  FsRedirectionOff(const FsRedirectionOff&) = delete;
  FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

  bool ok() const { return ok_; }

 private:
  Launcher& l_;
  bool ok_;
  int exceptions_at_start_ = std::uncaught_exceptions();
};
