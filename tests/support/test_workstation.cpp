#include "tests/support/test_workstation.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/sim/sim_platform.h"

namespace test_support {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> ReadLines(const fs::path& path) { return SplitLines(ReadText(path)); }

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string SystemKeys(const std::string& enable_lua, const std::string& current_version) {
  std::string sections =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n" +
      enable_lua + "\r\n";
  for (const char* view : {"", "WOW6432Node\\"})
    sections += std::string("[HKEY_LOCAL_MACHINE\\SOFTWARE\\") + view +
                "Microsoft\\Windows NT\\CurrentVersion]\r\n" + current_version + "\r\n";
  return sections;
}

std::string BareRegistryFile(const std::string& sections) {
  return "Windows Registry Editor Version 5.00\r\n\r\n" + sections;
}

std::string RegistryFile(const std::string& sections) { return BareRegistryFile(SystemKeys() + sections); }

namespace {

// The lines of a debug log with every wrapped record joined back onto one line: the
// first continuation lost the space it was cut at, later ones keep theirs.
std::vector<std::string> UnwrappedLines(const std::vector<std::string>& lines) {
  std::vector<std::string> records;
  bool continued = false;
  for (const std::string& line : lines) {
    if (records.empty() || line.empty() || line.front() != ' ') {
      records.push_back(line);
      continued = false;
      continue;
    }
    if (!continued) records.back().push_back(' ');
    continued = true;
    records.back().append(line.substr(line.find_first_not_of(' ')));
  }
  return records;
}

}  // namespace

std::vector<Record> ParseDebugLog(const std::vector<std::string>& lines) {
  constexpr std::size_t kTagColumn = 24;
  constexpr std::size_t kMessageColumn = 33;
  std::vector<Record> records;
  for (const std::string& line : UnwrappedLines(lines)) {
    Record record;
    if (line.size() >= kMessageColumn) {
      record.tag = line.substr(kTagColumn, 8);
      const std::string rest = line.substr(kMessageColumn);
      const std::size_t start = std::min(rest.find_first_not_of(' '), rest.size());
      record.depth = start / 3;
      record.message = rest.substr(start);
    }
    records.push_back(record);
  }
  return records;
}

std::vector<std::string> MessagesOf(const std::vector<Record>& records) {
  std::vector<std::string> messages;
  for (const Record& record : records) messages.push_back(record.message);
  return messages;
}

std::string UnwrapDebugLog(const std::string& text) {
  std::string joined;
  for (const std::string& record : UnwrappedLines(SplitLines(text))) joined.append(record).append("\r\n");
  return joined;
}

std::string MessageOf(const std::string& line) { return line.size() > 33 ? line.substr(33) : ""; }

std::vector<std::string> ErrorMessages(const std::vector<std::string>& lines) {
  std::vector<std::string> messages;
  for (const std::string& line : lines)
    if (line.size() > 34) messages.push_back(line.substr(34));
  return messages;
}

std::size_t FindLine(const std::vector<std::string>& lines, std::string_view text) {
  return std::find_if(lines.begin(), lines.end(),
                      [&](const std::string& line) { return line.find(text) != std::string::npos; }) -
         lines.begin();
}

bool Contains(const std::vector<std::string>& lines, std::string_view text) {
  return FindLine(lines, text) < lines.size();
}

std::size_t CountLines(const std::vector<std::string>& lines, std::string_view text) {
  return std::count_if(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

tabpack::MemoryFile ArchiveFile(const std::string& name, const std::string& destination, std::uint32_t rule,
                                const std::string& contents, tabpack::UtcTime time) {
  tabpack::MemoryFile file;
  file.record.name = name;
  file.record.destination = destination;
  file.record.rule = rule;
  file.record.time = time;
  file.contents = contents;
  return file;
}

fs::file_time_type HostTime(const tabpack::UtcTime& t) {
  using namespace std::chrono;
  const sys_days day = year{t.year} / t.month / t.day;
  return file_clock::from_sys(day + hours{t.hour} + minutes{t.minute} + seconds{t.second} +
                              milliseconds{t.millisecond});
}

RunResult RunProgram(const char* program, const std::vector<std::string>& args) {
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

RunResult RunLauncherSim(const std::vector<std::string>& args) { return RunProgram(LAUNCHER_SIM, args); }

Workstation::Workstation() {
  std::string pattern = (fs::temp_directory_path() / "portavel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  root_ = pattern;
  fs::create_directories(C("Portavel"));
}

Workstation::~Workstation() {
  loaded_.reset();
  std::error_code ignored;
  if (!keep_) fs::remove_all(root_, ignored);
}

void Workstation::Write(const std::string& relative, const std::string& text) const {
  WriteFile(root_ / relative, text);
}

void Workstation::Append(const std::string& relative, const std::string& text) const {
  std::ofstream(root_ / relative, std::ios::binary | std::ios::app) << text;
}

void Workstation::WriteC(const std::string& path_on_c, const std::string& text) const {
  WriteFile(C(path_on_c), text);
}

void Workstation::PutArchive(const std::vector<tabpack::MemoryFile>& files) const {
  WriteC("Portavel/tsystem0.dll", tabpack::BuildArchive(files));
}

bool Workstation::Shows(const std::string& log, const std::string& text) const {
  if (log == "debug") return Contains(MessagesOf(Records()), text) || Contains(DebugLog(), text);
  return Contains(log == "error" ? ErrorLog() : Lines(log), text);
}

platform::Platform& Workstation::Load() {
  loaded_.reset();
  loaded_ = sim::SimWorkstation::Load(root_);
  return loaded_->platform();
}

platform::Platform& Workstation::platform() { return loaded_ ? loaded_->platform() : Load(); }

std::optional<std::string> Workstation::File(std::string_view windows_path) const {
  const fs::path path = loaded_->HostPath(windows_path);
  if (!std::ifstream(path)) return std::nullopt;
  return ReadText(path);
}

void Workstation::PutFile(std::string_view windows_path, const std::string& bytes) const {
  std::ofstream(loaded_->HostPath(windows_path), std::ios::binary) << bytes;
}

bool Workstation::IsClosed(std::string_view windows_path) {
  auto& os = platform();
  const platform::Handle probe = os.files.CreateFile(windows_path, platform::kGenericRead, 0,
                                                     platform::kOpenExisting, platform::kFileAttributeNormal);
  if (probe == platform::kInvalidHandle) return false;
  os.system.CloseHandle(probe);
  return true;
}

RunResult Workstation::Run(const std::string& command_line) const {
  return RunLauncherSim({"--machine", root_.string(), "--cmdline", command_line});
}

}  // namespace test_support
