#include "bench/timed_platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace bench {

CallClock::CallClock() {
  constexpr int kReadings = 1'000'000;
  const Clock::time_point start = Clock::now();
  Clock::time_point last = start;
  for (int i = 0; i < kReadings; ++i) last = Clock::now();
  reading_ = (last - start) / kReadings;
}

class TimedPlatform::Files final : public platform::FileSystem {
 public:
  Files(platform::FileSystem& inner, CallClock& clock) : inner_(inner), clock_(clock) {}

  bool AppendToFile(std::string_view path, std::string_view text) override {
    CallClock::Scope timed(clock_);
    return inner_.AppendToFile(path, text);
  }
  bool DeleteFile(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.DeleteFile(path);
  }
  bool SetCurrentDirectory(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.SetCurrentDirectory(path);
  }
  std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view default_value,
                                      std::string_view path, std::uint32_t buffer_size) override {
    CallClock::Scope timed(clock_);
    return inner_.GetPrivateProfileString(section, key, default_value, path, buffer_size);
  }
  void CloseAllStreams() override {
    CallClock::Scope timed(clock_);
    inner_.CloseAllStreams();
  }
  std::uint32_t GetFileVersionInfoSize(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.GetFileVersionInfoSize(path);
  }
  bool GetFileVersionInfo(std::string_view path, std::uint32_t size, std::vector<std::uint8_t>& block) override {
    CallClock::Scope timed(clock_);
    return inner_.GetFileVersionInfo(path, size, block);
  }
  bool VerQueryValue(const std::vector<std::uint8_t>& block, std::string_view sub_block,
                     std::vector<std::uint8_t>& value) override {
    CallClock::Scope timed(clock_);
    return inner_.VerQueryValue(block, sub_block, value);
  }
  platform::Handle CreateFile(std::string_view path, std::uint32_t desired_access, std::uint32_t share_mode,
                              std::uint32_t creation_disposition, std::uint32_t flags_and_attributes) override {
    CallClock::Scope timed(clock_);
    return inner_.CreateFile(path, desired_access, share_mode, creation_disposition, flags_and_attributes);
  }
  bool ReadFile(platform::Handle file, void* buffer, std::uint32_t size, std::uint32_t* bytes_read) override {
    CallClock::Scope timed(clock_);
    return inner_.ReadFile(file, buffer, size, bytes_read);
  }
  bool WriteFile(platform::Handle file, const void* buffer, std::uint32_t size,
                 std::uint32_t* bytes_written) override {
    CallClock::Scope timed(clock_);
    return inner_.WriteFile(file, buffer, size, bytes_written);
  }
  std::uint32_t SetFilePointer(platform::Handle file, std::int32_t distance, std::uint32_t move_method) override {
    CallClock::Scope timed(clock_);
    return inner_.SetFilePointer(file, distance, move_method);
  }
  std::uint32_t GetFileSize(platform::Handle file, std::uint32_t* size_high) override {
    CallClock::Scope timed(clock_);
    return inner_.GetFileSize(file, size_high);
  }
  bool GetFileTime(platform::Handle file, platform::FileTime* last_write) override {
    CallClock::Scope timed(clock_);
    return inner_.GetFileTime(file, last_write);
  }
  bool FileTimeToLocalFileTime(platform::FileTime utc, platform::FileTime* local) override {
    CallClock::Scope timed(clock_);
    return inner_.FileTimeToLocalFileTime(utc, local);
  }
  bool FileTimeToSystemTime(platform::FileTime time, platform::SystemTime* fields) override {
    CallClock::Scope timed(clock_);
    return inner_.FileTimeToSystemTime(time, fields);
  }
  bool SystemTimeToFileTime(const platform::SystemTime& fields, platform::FileTime* time) override {
    CallClock::Scope timed(clock_);
    return inner_.SystemTimeToFileTime(fields, time);
  }
  void WriteStandardOutput(std::string_view text) override {
    CallClock::Scope timed(clock_);
    inner_.WriteStandardOutput(text);
  }
  bool WriteTextFile(std::string_view path, std::string_view text, int* c_runtime_error) override {
    CallClock::Scope timed(clock_);
    return inner_.WriteTextFile(path, text, c_runtime_error);
  }
  platform::Handle FindFirstFile(std::string_view pattern, platform::FindData* first) override {
    CallClock::Scope timed(clock_);
    return inner_.FindFirstFile(pattern, first);
  }
  bool FindNextFile(platform::Handle search, platform::FindData* next) override {
    CallClock::Scope timed(clock_);
    return inner_.FindNextFile(search, next);
  }
  bool FindClose(platform::Handle search) override {
    CallClock::Scope timed(clock_);
    return inner_.FindClose(search);
  }
  std::uint32_t GetFileAttributes(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.GetFileAttributes(path);
  }
  bool PathIsDirectoryEmpty(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.PathIsDirectoryEmpty(path);
  }
  bool CopyFile(std::string_view existing_path, std::string_view new_path, bool fail_if_exists) override {
    CallClock::Scope timed(clock_);
    return inner_.CopyFile(existing_path, new_path, fail_if_exists);
  }
  bool CreateDirectory(std::string_view path) override {
    CallClock::Scope timed(clock_);
    return inner_.CreateDirectory(path);
  }
  bool SetFileAttributes(std::string_view path, std::uint32_t attributes) override {
    CallClock::Scope timed(clock_);
    return inner_.SetFileAttributes(path, attributes);
  }
  bool SetFileTime(platform::Handle file, platform::FileTime last_write) override {
    CallClock::Scope timed(clock_);
    return inner_.SetFileTime(file, last_write);
  }
  bool Wow64DisableWow64FsRedirection(void** old_value) override {
    CallClock::Scope timed(clock_);
    return inner_.Wow64DisableWow64FsRedirection(old_value);
  }
  bool Wow64RevertWow64FsRedirection(void* old_value) override {
    CallClock::Scope timed(clock_);
    return inner_.Wow64RevertWow64FsRedirection(old_value);
  }

 private:
  platform::FileSystem& inner_;
  CallClock& clock_;
};

class TimedPlatform::System final : public platform::System {
 public:
  System(platform::System& inner, CallClock& clock) : inner_(inner), clock_(clock) {}

  platform::ErrorCode GetLastError() override {
    CallClock::Scope timed(clock_);
    return inner_.GetLastError();
  }
  void SetLastError(platform::ErrorCode code) override {
    CallClock::Scope timed(clock_);
    inner_.SetLastError(code);
  }
  void Sleep(std::uint32_t milliseconds) override {
    CallClock::Scope timed(clock_);
    inner_.Sleep(milliseconds);
  }
  platform::LocalTime GetLocalTime() override {
    CallClock::Scope timed(clock_);
    return inner_.GetLocalTime();
  }
  bool IsDebuggerPresent() override {
    CallClock::Scope timed(clock_);
    return inner_.IsDebuggerPresent();
  }
  void OutputDebugString(std::string_view text) override {
    CallClock::Scope timed(clock_);
    inner_.OutputDebugString(text);
  }
  bool FormatMessage(std::uint32_t code, std::string* text) override {
    CallClock::Scope timed(clock_);
    return inner_.FormatMessage(code, text);
  }
  void* HeapAlloc(std::size_t size) override {
    CallClock::Scope timed(clock_);
    return inner_.HeapAlloc(size);
  }
  bool HeapFree(void* block) override {
    CallClock::Scope timed(clock_);
    return inner_.HeapFree(block);
  }
  bool CloseHandle(platform::Handle handle) override {
    CallClock::Scope timed(clock_);
    return inner_.CloseHandle(handle);
  }

 private:
  platform::System& inner_;
  CallClock& clock_;
};

TimedPlatform::TimedPlatform(platform::Platform& os, CallClock& clock)
    : files_(std::make_unique<Files>(os.files, clock)),
      system_(std::make_unique<System>(os.system, clock)),
      platform_{*files_,  os.registry, os.processes, os.ui,      *system_,
                os.shell, os.system_info, os.security, os.network} {}

TimedPlatform::~TimedPlatform() = default;

}  // namespace bench
