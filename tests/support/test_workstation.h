// Temporary simulated workstations for the unit, scenario, fuzz and benchmark code:
// a machine folder in a temporary folder (machine.ini, registry.reg, security.txt,
// the files of its drives, the install archive), loaded in this process or run by
// launcher-sim as a separate process, and its logs and journals read back.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "tools/tabpack/archive_writer.h"

namespace sim {
class SimWorkstation;
}

namespace test_support {

namespace fs = std::filesystem;

// The bytes of a host file (empty when it cannot be read), and its lines without
// their CR LF ends.
std::string ReadText(const fs::path& path);
std::vector<std::string> ReadLines(const fs::path& path);
std::vector<std::string> SplitLines(const std::string& text);
// Writes a host file whole, creating its folders.
void WriteFile(const fs::path& path, const std::string& bytes);

// The clock every test machine starts with: 2026-12-06 08:30:00.
inline constexpr const char* kMachineIni = "[machine]\nclock = 2026-12-06T08:30:00\n";

// The system values every Windows installation holds and the launcher reads on every
// run, as regedit sections: UAC's policy, which both registry views share, and the
// release name in both views.
std::string SystemKeys(const std::string& enable_lua = "\"EnableLUA\"=dword:00000001\r\n",
                       const std::string& current_version =
                           "\"DisplayVersion\"=\"22H2\"\r\n\"ReleaseId\"=\"2009\"\r\n");
// A registry.reg holding exactly `sections`.
std::string BareRegistryFile(const std::string& sections);
// A registry.reg holding the system values and then `sections`: a fresh Windows.
std::string RegistryFile(const std::string& sections = "");

// One record of a debug log: its tag, nesting depth and message, wrapped lines joined.
struct Record {
  std::string tag;
  std::size_t depth = 0;
  std::string message;
};
std::vector<Record> ParseDebugLog(const std::vector<std::string>& lines);
std::vector<std::string> MessagesOf(const std::vector<Record>& records);
// The debug log's text with every wrapped record joined back onto one line (CR LF
// ends kept), so that a test can look for a whole message however long it is.
std::string UnwrapDebugLog(const std::string& text);
// The message of a debug log line: what follows its 33-character prefix.
std::string MessageOf(const std::string& line);
// The messages of the error log's lines: what follows their 34-character prefix.
std::vector<std::string> ErrorMessages(const std::vector<std::string>& lines);
// Whether a line holds `text`; how many do; the position of the first, or the number
// of lines when none does.
bool Contains(const std::vector<std::string>& lines, std::string_view text);
std::size_t CountLines(const std::vector<std::string>& lines, std::string_view text);
std::size_t FindLine(const std::vector<std::string>& lines, std::string_view text);

// One file of an install archive, written at 2026-11-30 16:20:05.125 UTC unless given.
inline constexpr tabpack::UtcTime kRecordTime = {2026, 11, 30, 16, 20, 5, 125};
tabpack::MemoryFile ArchiveFile(const std::string& name, const std::string& destination, std::uint32_t rule,
                                const std::string& contents, tabpack::UtcTime time = kRecordTime);
// A host file's time for a UTC time.
fs::file_time_type HostTime(const tabpack::UtcTime& time);

// Names the cases of a parameterised test by their `name`.
inline constexpr auto ByName = [](const auto& info) { return std::string(info.param.name); };

struct RunResult {
  int exit_status = -1;  // the program's exit status
  std::string out;       // standard output
  std::string err;       // standard error
};

// How long a program may run before it counts as hung and is killed.
inline constexpr unsigned kHangSeconds = 60;

// Runs `program` with `args`, collecting its output and exit status; a program that
// hangs is killed after kHangSeconds and has the exit status -1.
RunResult RunProgram(const char* program, const std::vector<std::string>& args);
// Runs launcher-sim with `args`.
RunResult RunLauncherSim(const std::vector<std::string>& args);

class Workstation {
 public:
  // An empty machine folder whose drive C holds C:\Portavel, the launcher's folder.
  Workstation();
  ~Workstation();
  Workstation(const Workstation&) = delete;
  Workstation& operator=(const Workstation&) = delete;

  const fs::path& root() const { return root_; }
  // Leaves the folder on disk for a reader of a failed test.
  void Keep() { keep_ = true; }

  // A file of the machine folder, by its path relative to the folder.
  void Write(const std::string& relative, const std::string& text) const;
  void Append(const std::string& relative, const std::string& text) const;
  std::string Text(const std::string& relative) const { return ReadText(root_ / relative); }
  std::vector<std::string> Lines(const std::string& relative) const { return ReadLines(root_ / relative); }
  // A file on drive C, by its path below C:\ with forward slashes.
  void WriteC(const std::string& path_on_c, const std::string& text = "") const;
  fs::path C(const std::string& path_on_c) const { return root_ / "drives" / "C" / path_on_c; }
  // C:\Portavel\tsystem0.dll holding `files`.
  void PutArchive(const std::vector<tabpack::MemoryFile>& files) const;

  // The launcher's logs: their lines, and the debug log's records.
  std::vector<std::string> DebugLog() const { return ReadLines(C("Portavel/TavixDebug.log")); }
  std::vector<std::string> ErrorLog() const { return ReadLines(C("Portavel/TavixError.log")); }
  std::vector<Record> Records() const { return ParseDebugLog(DebugLog()); }
  // Whether `log` ("debug", "error", or a journal such as "ui.log") shows `text`: a
  // line holds it, or a record's message, wrapped lines joined, does.
  bool Shows(const std::string& log, const std::string& text) const;

  // Loads the folder as a workstation in this process (again after a change).
  platform::Platform& Load();
  platform::Platform& platform();
  // The bytes of a file on the loaded machine by its Windows path, or nothing when
  // it does not exist.
  std::optional<std::string> File(std::string_view windows_path) const;
  void PutFile(std::string_view windows_path, const std::string& bytes) const;
  // What the attached debugger received.
  std::string Debugger() const { return Text("debugger.log"); }

  // Whether the loaded machine's file can be opened without sharing: no handle of it
  // is left open, which would keep everyone else out.
  bool IsClosed(std::string_view windows_path);

  // Runs launcher-sim on the folder with `command_line`.
  RunResult Run(const std::string& command_line) const;

 private:
  fs::path root_;
  bool keep_ = false;
  std::unique_ptr<sim::SimWorkstation> loaded_;
};

}  // namespace test_support
