// The shell and COM: programs started the way a user starts them (with elevation
// where the verb asks for it) and the COM library of the launcher's thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/processes.h"
#include "platform/types.h"

namespace platform {

// COM results.
using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;

struct ShellStart {
  WindowHandle owner = kNoWindow;  // owner of any window the shell shows (consent, errors)
  std::string_view verb;           // empty: the file's default verb
  std::string_view file;
  std::string_view parameters;
  std::uint16_t show = kSwShowNormal;
};

// A shell link object (IShellLinkA with its IPersistFile), by number.
using ShellLink = std::uintptr_t;

// The IShellLinkA setters; the icon is always the file's first (index 0).
enum class ShellLinkField { Path, WorkingDirectory, Description, Arguments, IconLocation };

class Shell {
 public:
  virtual ~Shell() = default;

  // ShellExecuteExA with SEE_MASK_NOCLOSEPROCESS and no working folder. On success
  // `*process` is the started program's process handle, or 0 when the shell started
  // none of its own; the caller closes it. A refused consent prompt fails with
  // ERROR_CANCELLED (1223).
  virtual bool ShellExecuteEx(const ShellStart& start, Handle* process) = 0;

  // CoInitialize(NULL): S_OK, S_FALSE when the thread's library was already
  // initialised, or a failure HRESULT.
  virtual HResult CoInitialize() = 0;

  // CoUninitialize.
  virtual void CoUninitialize() = 0;

  // CoCreateInstance of CLSID_ShellLink (in-process, no outer object) asking for
  // IShellLinkA; fails with CO_E_NOTINITIALIZED when the thread has no COM library.
  virtual HResult CreateShellLink(ShellLink* link) = 0;

  // One of the link's setters (SetPath, SetWorkingDirectory, SetDescription,
  // SetArguments, SetIconLocation with index 0).
  virtual HResult SetShellLinkField(ShellLink link, ShellLinkField field, std::string_view value) = 0;

  // QueryInterface of the link for IPersistFile.
  virtual HResult QueryPersistFile(ShellLink link) = 0;

  // IPersistFile::Save of the link at `path` (converted to a wide path with the
  // thread's ANSI code page), remembering the path.
  virtual HResult SaveShellLink(ShellLink link, std::string_view path) = 0;

  // Releases the link's interfaces.
  virtual void ReleaseShellLink(ShellLink link) = 0;
};

}  // namespace platform
