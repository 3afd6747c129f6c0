// Scenario tests: a machine folder built in a temporary folder, and launcher-sim run
// on it as a separate process, as a user or an acceptance test would run it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "tools/tabpack/archive_writer.h"

namespace scenario {

namespace fs = std::filesystem;

struct RunResult {
  int exit_status = -1;  // the runner's exit status
  std::string out;       // standard output
  std::string err;       // standard error
};

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::vector<std::string> ReadLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadText(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The system values every Windows installation holds and the launcher reads on every
// run (UAC's EnableLUA, the release name), as regedit sections: the release name in
// both registry views, the policies once, as both views share them. A test machine
// starts with them so that their absence is no error of every run.
inline constexpr const char* kSystemRegistryKeys =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
    "\"EnableLUA\"=dword:00000001\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"DisplayVersion\"=\"22H2\"\r\n\"ReleaseId\"=\"2009\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"DisplayVersion\"=\"22H2\"\r\n\"ReleaseId\"=\"2009\"\r\n\r\n";

// The runtimes a current workstation has, where their installers leave them: both VC
// runtimes' keys in the 32-bit view of a 64-bit system, the 32-bit one also at its place
// on a 32-bit system (a key no 64-bit check reads), .NET Framework 4.8 in both views.
// A run finds every dependency current and asks for no rights.
inline constexpr const char* kCurrentRuntimeKeys =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full]\r\n"
    "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ff4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full]\r\n"
    "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ff4\r\n\r\n";

// A registry.reg of a fresh Windows without the runtimes: the system values, then `sections`.
inline std::string WindowsRegistryFile(const std::string& sections = "") {
  return std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kSystemRegistryKeys + sections;
}

// A registry.reg of a current workstation: the system values, the runtimes, then `sections`.
inline std::string RegistryFile(const std::string& sections = "") {
  return WindowsRegistryFile(kCurrentRuntimeKeys + sections);
}

// How long a program may run before it counts as hung and is killed.
inline constexpr unsigned kHangSeconds = 60;

// Runs `program` with `args`, collecting its output and exit status; a program that
// hangs is killed after kHangSeconds and has the exit status -1.
inline RunResult RunProgram(const char* program, const std::vector<std::string>& args) {
  int out_pipe[2], err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    close(out_pipe[0]);
    close(err_pipe[0]);
    alarm(kHangSeconds);  // survives the exec
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  auto drain = [](int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(fd);
    return text;
  };
  RunResult result;
  // Standard output first: the programs write little to standard error, so its pipe
  // never fills while it waits.
  result.out = drain(out_pipe[0]);
  result.err = drain(err_pipe[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class Machine {
 public:
  Machine() {
    char pattern[] = "/tmp/portavel-scenario-XXXXXX";
    root_ = mkdtemp(pattern);
    fs::create_directories(root_ / "drives" / "C" / "Portavel");
    // The product's configuration location, and an archive whose one record is unused:
    // a run finds nothing to install and nothing missing.
    fs::create_directories(root_ / "drives" / "C" / "ProgramData" / "Veltrix");
    WriteC("Portavel/tsystem0.dll", tabpack::BuildArchive({{}}));
    // The registration utility and a redist\ folder without libraries: the COM check
    // finds nothing to register. The start menu's Programs folder, which Windows makes
    // for every user, takes the launcher's shortcuts.
    WriteC("Portavel/UTL/InstCOM.exe", "utility");
    fs::create_directories(C("Portavel/redist"));
    fs::create_directories(C("Users/clerk/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"));
    Write("machine.ini", "[machine]\nclock = 2026-12-06T08:30:00\n");
    Write("registry.reg", RegistryFile());
  }
  ~Machine() {
    std::error_code ec;
    if (!::testing::Test::HasFailure()) fs::remove_all(root_, ec);
    else std::fprintf(stderr, "machine folder kept: %s\n", root_.c_str());
  }
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  const fs::path& root() const { return root_; }

  // A file of the machine folder, by its path relative to the folder.
  void Write(const std::string& relative, const std::string& text) const {
    fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }
  void Append(const std::string& relative, const std::string& text) const {
    std::ofstream(root_ / relative, std::ios::binary | std::ios::app) << text;
  }
  // A file on drive C, by its path below C:\ with forward slashes.
  void WriteC(const std::string& path_on_c, const std::string& text = "") const {
    Write("drives/C/" + path_on_c, text);
  }
  fs::path C(const std::string& path_on_c) const { return root_ / "drives" / "C" / path_on_c; }

  std::string Text(const std::string& relative) const { return ReadText(root_ / relative); }
  std::vector<std::string> Lines(const std::string& relative) const { return ReadLines(root_ / relative); }
  std::vector<std::string> DebugLog() const { return ReadLines(C("Portavel/TavixDebug.log")); }
  std::vector<std::string> ErrorLog() const { return ReadLines(C("Portavel/TavixError.log")); }

  RunResult Run(const std::string& command_line) const {
    return RunArgs({"--machine", root_.string(), "--cmdline", command_line});
  }

  static RunResult RunArgs(const std::vector<std::string>& args) { return RunProgram(LAUNCHER_SIM, args); }

 private:
  fs::path root_;
};

// The message of a log line: what follows the 33-character prefix of a debug line.
inline std::string MessageOf(const std::string& line) { return line.size() > 33 ? line.substr(33) : ""; }

// The last line of the runner's output: "exit code N".
inline std::string LastLine(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

}  // namespace scenario
