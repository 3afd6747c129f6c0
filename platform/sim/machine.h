// Simulated workstation: the facts of the machine, read from machine.ini.
//
// Every field has the default of an empty machine.ini: a 64-bit Windows 10 22H2
// workstation, the 32-bit launcher under WOW64, one local administrator whose
// process is not elevated, UAC on.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Case-insensitive ordering for Windows names (paths, keys, operation names).
struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

enum class ProductType { Workstation = 1, DomainController = 2, Server = 3 };

struct OsFacts {
  std::uint32_t major = 10;
  std::uint32_t minor = 0;
  std::uint32_t build = 19045;
  std::uint32_t service_pack_major = 0;
  std::uint32_t service_pack_minor = 0;
  ProductType product_type = ProductType::Workstation;
  std::uint32_t product_code = 0x30;  // PRODUCT_PROFESSIONAL
  std::uint32_t architecture = 9;     // x64
  std::optional<bool> wow64;          // absent: a 32-bit launcher on a 64-bit machine
};

struct MachineFacts {
  std::string computer_name = "WORKSTATION01";
  std::uint64_t memory_bytes = 8ull << 30;
  std::string cpu_brand = "Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz";
  std::uint32_t processors = 6;
  std::uint32_t processor_level = 6;
  std::uint32_t processor_revision = 0x9e0a;
  std::uint32_t dpi = 96;
  std::int32_t utc_offset = 0;  // minutes east of UTC
  // Project addition: the virtual clock's start, UTC "YYYY-MM-DDTHH:MM:SS";
  // absent: the host's current time.
  std::optional<std::string> clock;
};

struct UserFacts {
  std::string name = "clerk";
  std::string domain = "WORKSTATION01";
  std::string sid = "S-1-5-21-3623811015-3361044348-30300820-1001";
  bool administrators_member = true;
  bool token_admin = false;
  bool elevated = false;
  std::uint32_t integrity_rid = 0x2000;
  bool token_query_fails = false;
};

struct LauncherFacts {
  std::uint32_t bits = 32;
  std::string path = "C:\\Portavel\\Tavix.exe";
  std::string version = "1.0.0.0";
  std::string description = "Portavel Desktop Launcher";
  std::string copyright = "Copyright (C) 2026 Veltrix Solutions Inc.";
  bool debugger = false;
};

// A folder key absent from [folders] takes its default; present and empty, the
// folder fails to resolve (std::optional holding "").
struct FolderFacts {
  std::optional<std::string> windows;
  std::optional<std::string> system;
  std::optional<std::string> system_x86;
  std::optional<std::string> local_app_data;
  std::optional<std::string> programs;
  std::optional<std::string> program_data;
  std::optional<std::string> fonts;
  std::optional<std::string> appdata;
};

struct NetworkInterface {
  int number = 0;  // N of interface.N
  std::string address;
  std::string mask;
  std::uint32_t index = 0;
  std::vector<std::string> flags;  // primary, dynamic, disconnected, deleted, transient
};

struct MappedDrive {
  char letter = 'Z';
  std::string remote;  // \\server\share
  bool connected = true;
};

struct NetworkFacts {
  std::vector<NetworkInterface> interfaces;
  std::optional<std::uint32_t> best_interface;
  std::vector<MappedDrive> drives;
};

struct UiAnswers {
  std::string elevation_dialog = "cancel";  // elevate | cancel
  std::string consent = "yes";              // yes | no
  std::string message_box = "ok";           // the button pressed
};

struct ProgramBehaviour {
  bool refuse = false;       // the user refused the consent prompt
  std::int32_t exit_code = 0;
  // Project addition: how long the program runs before it exits ("0 after 400s").
  std::uint32_t run_milliseconds = 0;
};

// The call number of a rule that every call of its operation meets.
inline constexpr std::uint32_t kEveryCall = 0;

struct FaultRule {
  std::uint32_t call = 1;      // the N-th call fails; kEveryCall: each one
  std::uint32_t error = 5;     // with this error
  bool short_transfer = false; // or, for ReadFile and WriteFile, moves half the bytes asked for
};

// A file as the rest of the workstation holds it: read-only, or held open by another
// process that shares it with no one.
struct FileMarks {
  bool read_only = false;
  bool locked = false;
};

struct Machine {
  OsFacts os;
  MachineFacts machine;
  UserFacts user;
  LauncherFacts launcher;
  // Windows path of a file -> its four version numbers "a.b.c.d".
  std::map<std::string, std::string, CaseInsensitiveLess> versions;
  FolderFacts folders;
  NetworkFacts network;
  UiAnswers ui;
  std::map<std::string, ProgramBehaviour, CaseInsensitiveLess> programs;
  // Windows path of a file -> how it is held ([files]).
  std::map<std::string, FileMarks, CaseInsensitiveLess> files;
  // Platform operation name -> the calls that fail.
  std::map<std::string, std::vector<FaultRule>, CaseInsensitiveLess> faults;

  // wow64 as given, or derived: a 32-bit launcher on a 64-bit architecture.
  bool Wow64() const;
};

// Parses machine.ini; throws MachineFolderError naming `file_name` and the line.
// `known_operations` are the platform operation names that [fail] may name.
Machine ParseMachineIni(std::string_view text, const std::string& file_name,
                        const std::vector<std::string_view>& known_operations);

}  // namespace sim
