// Simulated workstation: machine.ini, the facts of the machine.
//
// Each section is a table of its keys; a key absent from the file keeps the default
// that machine.h gives it. Sections whose keys are names ([versions], [files],
// [programs], [fail], [network]) read each entry by its form instead.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

#include "platform/sim/ini_reader.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/machine_ini_values.h"
#include "platform/sim/text_lines.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

// One entry of the file being read; its readers throw MachineFolderError naming the
// entry's line and key.
class Field {
 public:
  Field(const IniEntry& entry, const std::string& file_name)
      : entry_(entry), file_name_(file_name) {}

  const std::string& key() const { return entry_.key; }
  const std::string& text() const { return entry_.value; }

  [[noreturn]] void Fail(const std::string& what) const {
    throw MachineFolderError(file_name_, entry_.line, entry_.key + ": " + what);
  }

  std::uint64_t Unsigned(std::uint64_t max) const {
    const auto value = ParseUnsigned(text(), max);
    if (!value) Fail(Quoted() + " is not a number from 0 to " + std::to_string(max));
    return *value;
  }
  std::uint32_t Uint32() const { return static_cast<std::uint32_t>(Unsigned(UINT32_MAX)); }
  std::uint32_t Uint16() const { return static_cast<std::uint32_t>(Unsigned(UINT16_MAX)); }

  std::int32_t Int32(std::int32_t min, std::int32_t max) const {
    const auto value = ParseSigned(text(), min, max);
    if (!value)
      Fail(Quoted() + " is not a number from " + std::to_string(min) + " to " +
           std::to_string(max));
    return static_cast<std::int32_t>(*value);
  }

  bool Boolean() const {
    const auto value = ParseBoolean(text());
    if (!value) Fail(Quoted() + " is not true or false");
    return *value;
  }

  // One of `choices`, returned as the choice is spelt there.
  std::string OneOf(std::initializer_list<std::string_view> choices) const {
    for (std::string_view choice : choices)
      if (EqualsIgnoreCase(text(), choice)) return std::string(choice);
    std::string list;
    for (std::string_view choice : choices)
      list += (list.empty() ? "" : ", ") + std::string(choice);
    Fail(Quoted() + " is not one of " + list);
  }

  std::string Version() const {
    if (!IsFileVersion(text())) Fail(Quoted() + " is not a version a.b.c.d (each 0 to 65535)");
    return text();
  }

  std::string Quoted() const { return "\"" + text() + "\""; }

 private:
  const IniEntry& entry_;
  const std::string& file_name_;
};

using KeyReader = void (*)(Machine&, const Field&);
struct KeyRule {
  std::string_view key;
  KeyReader read;
};

constexpr KeyRule kOsKeys[] = {
    {"major", [](Machine& m, const Field& f) { m.os.major = f.Uint32(); }},
    {"minor", [](Machine& m, const Field& f) { m.os.minor = f.Uint32(); }},
    {"build", [](Machine& m, const Field& f) { m.os.build = f.Uint32(); }},
    {"service_pack_major",
     [](Machine& m, const Field& f) { m.os.service_pack_major = f.Uint16(); }},
    {"service_pack_minor",
     [](Machine& m, const Field& f) { m.os.service_pack_minor = f.Uint16(); }},
    {"product_type",
     [](Machine& m, const Field& f) {
       const std::string type = f.OneOf({"workstation", "server", "domain_controller"});
       m.os.product_type = type == "workstation" ? ProductType::Workstation
                           : type == "server"    ? ProductType::Server
                                                 : ProductType::DomainController;
     }},
    {"product_code", [](Machine& m, const Field& f) { m.os.product_code = f.Uint32(); }},
    {"architecture", [](Machine& m, const Field& f) { m.os.architecture = f.Uint16(); }},
    {"wow64", [](Machine& m, const Field& f) { m.os.wow64 = f.Boolean(); }},
};

constexpr KeyRule kMachineKeys[] = {
    {"computer_name", [](Machine& m, const Field& f) { m.machine.computer_name = f.text(); }},
    {"memory_bytes",
     [](Machine& m, const Field& f) { m.machine.memory_bytes = f.Unsigned(UINT64_MAX); }},
    {"cpu_brand", [](Machine& m, const Field& f) { m.machine.cpu_brand = f.text(); }},
    {"processors", [](Machine& m, const Field& f) { m.machine.processors = f.Uint32(); }},
    {"processor_level", [](Machine& m, const Field& f) { m.machine.processor_level = f.Uint16(); }},
    {"processor_revision",
     [](Machine& m, const Field& f) { m.machine.processor_revision = f.Uint16(); }},
    {"dpi", [](Machine& m, const Field& f) { m.machine.dpi = f.Uint32(); }},
    // A day either way is more than any time zone is away from UTC.
    {"utc_offset", [](Machine& m, const Field& f) { m.machine.utc_offset = f.Int32(-1440, 1440); }},
    {"clock",
     [](Machine& m, const Field& f) {
       if (!IsUtcTimestamp(f.text()))
         f.Fail(f.Quoted() + " is not a UTC time YYYY-MM-DDTHH:MM:SS from 1601 to 30827");
       m.machine.clock = f.text();
     }},
};

constexpr KeyRule kUserKeys[] = {
    {"name", [](Machine& m, const Field& f) { m.user.name = f.text(); }},
    {"domain", [](Machine& m, const Field& f) { m.user.domain = f.text(); }},
    {"sid",
     [](Machine& m, const Field& f) {
       if (!IsSid(f.text())) f.Fail(f.Quoted() + " is not a SID S-1-...");
       m.user.sid = f.text();
     }},
    {"administrators_member",
     [](Machine& m, const Field& f) { m.user.administrators_member = f.Boolean(); }},
    {"token_admin", [](Machine& m, const Field& f) { m.user.token_admin = f.Boolean(); }},
    {"elevated", [](Machine& m, const Field& f) { m.user.elevated = f.Boolean(); }},
    {"integrity_rid", [](Machine& m, const Field& f) { m.user.integrity_rid = f.Uint32(); }},
    {"token_query_fails",
     [](Machine& m, const Field& f) { m.user.token_query_fails = f.Boolean(); }},
};

constexpr KeyRule kLauncherKeys[] = {
    {"bits",
     [](Machine& m, const Field& f) {
       const std::string bits = f.OneOf({"32", "64"});
       m.launcher.bits = bits == "32" ? 32 : 64;
     }},
    {"path",
     [](Machine& m, const Field& f) {
       if (!IsDrivePath(f.text())) f.Fail(f.Quoted() + " is not a path on a drive (C:\\...)");
       m.launcher.path = f.text();
     }},
    {"version", [](Machine& m, const Field& f) { m.launcher.version = f.Version(); }},
    {"description", [](Machine& m, const Field& f) { m.launcher.description = f.text(); }},
    {"copyright", [](Machine& m, const Field& f) { m.launcher.copyright = f.text(); }},
    {"debugger", [](Machine& m, const Field& f) { m.launcher.debugger = f.Boolean(); }},
};

constexpr KeyRule kFolderKeys[] = {
    {"windows", [](Machine& m, const Field& f) { m.folders.windows = f.text(); }},
    {"system", [](Machine& m, const Field& f) { m.folders.system = f.text(); }},
    {"system_x86", [](Machine& m, const Field& f) { m.folders.system_x86 = f.text(); }},
    {"local_app_data", [](Machine& m, const Field& f) { m.folders.local_app_data = f.text(); }},
    {"programs", [](Machine& m, const Field& f) { m.folders.programs = f.text(); }},
    {"program_data", [](Machine& m, const Field& f) { m.folders.program_data = f.text(); }},
    {"fonts", [](Machine& m, const Field& f) { m.folders.fonts = f.text(); }},
    {"appdata", [](Machine& m, const Field& f) { m.folders.appdata = f.text(); }},
};

constexpr KeyRule kUiKeys[] = {
    {"elevation_dialog",
     [](Machine& m, const Field& f) {
       m.ui.elevation_dialog = f.OneOf({"elevate", "cancel"});
     }},
    {"consent",
     [](Machine& m, const Field& f) {
       m.ui.consent = f.OneOf({"yes", "no"});
     }},
    {"message_box",
     [](Machine& m, const Field& f) {
       // The buttons whose IDs MessageBox can return.
       m.ui.message_box = f.OneOf(
           {"ok", "cancel", "abort", "retry", "ignore", "yes", "no", "tryagain", "continue"});
     }},
};

// Splits `text` at `separator`, each part trimmed.
std::vector<std::string_view> SplitTrimmed(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t end = text.find(separator);
    parts.push_back(TrimBlanks(text.substr(0, end)));
    if (end == std::string_view::npos) return parts;
    text.remove_prefix(end + 1);
  }
}

// Splits `text` at runs of spaces and tabs.
std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  while (true) {
    text = TrimBlanks(text);
    if (text.empty()) return words;
    const std::size_t end = text.find_first_of(" \t");
    words.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
  }
}

// What the readers of whole sections need beyond the entry.
struct ReadContext {
  const std::vector<std::string_view>& known_operations;
};

// [versions]: "C:\Portavel\redist\Foo.dll = 2.1.0.5".
void ReadVersion(Machine& machine, const Field& field, const ReadContext&) {
  machine.versions[field.key()] = field.Version();
}

// [files]: "C:\Windows\Fonts\X.ttf = readonly, locked", a comma list of marks.
void ReadFileMarks(Machine& machine, const Field& field, const ReadContext&) {
  FileMarks marks;
  for (std::string_view mark : SplitTrimmed(field.text(), ',')) {
    if (EqualsIgnoreCase(mark, "readonly"))
      marks.read_only = true;
    else if (EqualsIgnoreCase(mark, "locked"))
      marks.locked = true;
    else
      field.Fail("\"" + std::string(mark) + "\" is not readonly or locked");
  }
  machine.files[field.key()] = marks;
}

// [programs]: "0", "refuse", or an exit code with how long the program runs,
// "259 after 1500ms" / "0 after 400s".
void ReadProgram(Machine& machine, const Field& field, const ReadContext&) {
  const std::vector<std::string_view> words = SplitWords(field.text());
  const auto bad = [&field] {
    field.Fail(field.Quoted() + " is not an exit code, \"refuse\" or \"CODE after TIME\"");
  };
  ProgramBehaviour behaviour;
  if (words.size() == 1 && EqualsIgnoreCase(words[0], "refuse")) {
    behaviour.refuse = true;
  } else if (words.size() == 1 || (words.size() == 3 && EqualsIgnoreCase(words[1], "after"))) {
    // Exit codes are DWORDs; negative numbers stand for the same 32 bits.
    const auto code = ParseSigned(words[0], INT32_MIN, UINT32_MAX);
    if (!code) bad();
    behaviour.exit_code = static_cast<std::int32_t>(static_cast<std::uint32_t>(*code));
    if (words.size() == 3) {
      std::string_view time = words[2];
      std::uint64_t unit = 0;
      if (time.size() > 2 && EqualsIgnoreCase(time.substr(time.size() - 2), "ms")) {
        unit = 1;
        time.remove_suffix(2);
      } else if (time.size() > 1 && EqualsIgnoreCase(time.substr(time.size() - 1), "s")) {
        unit = 1000;
        time.remove_suffix(1);
      }
      // Only decimal numbers: "0x10s" would read oddly.
      const auto amount = unit == 0 || StartsWithIgnoreCase(time, "0x")
                              ? std::nullopt
                              : ParseUnsigned(time, UINT32_MAX / unit);
      if (!amount)
        field.Fail("\"" + std::string(words[2]) + "\" is not a time such as 400s or 1500ms");
      behaviour.run_milliseconds = static_cast<std::uint32_t>(*amount * unit);
    }
  } else {
    bad();
  }
  machine.programs[field.key()] = behaviour;
}

// [network]: interface.N, best_interface, drive.X.
void ReadNetwork(Machine& machine, const Field& field, const ReadContext&) {
  const std::string_view key = field.key();
  constexpr std::string_view kInterface = "interface.";
  constexpr std::string_view kDrive = "drive.";

  if (EqualsIgnoreCase(key, "best_interface")) {
    machine.network.best_interface = field.Uint32();
    return;
  }

  if (StartsWithIgnoreCase(key, kInterface)) {
    const auto number = ParseUnsigned(key.substr(kInterface.size()), INT32_MAX);
    if (!number || StartsWithIgnoreCase(key.substr(kInterface.size()), "0x"))
      field.Fail("the interface number is not a decimal number");
    NetworkInterface entry;
    entry.number = static_cast<int>(*number);
    for (const NetworkInterface& other : machine.network.interfaces)
      if (other.number == entry.number)
        field.Fail("interface " + std::to_string(entry.number) + " is given twice");

    const std::vector<std::string_view> words = SplitWords(field.text());
    if (words.size() < 3) field.Fail(field.Quoted() + " is not \"ADDRESS MASK INDEX [FLAGS]\"");
    if (!IsIpv4Address(words[0]))
      field.Fail("\"" + std::string(words[0]) + "\" is not an IPv4 address");
    if (!IsIpv4Address(words[1]))
      field.Fail("\"" + std::string(words[1]) + "\" is not an IPv4 mask");
    const auto index = ParseUnsigned(words[2], UINT32_MAX);
    if (!index) field.Fail("\"" + std::string(words[2]) + "\" is not an interface index");
    entry.address = words[0];
    entry.mask = words[1];
    entry.index = static_cast<std::uint32_t>(*index);

    // The flags are the rest of the line after the index, a comma list.
    if (words.size() > 3) {
      const std::string_view text = field.text();
      const std::size_t flags_start = static_cast<std::size_t>(words[3].data() - text.data());
      for (std::string_view flag : SplitTrimmed(text.substr(flags_start), ',')) {
        static constexpr std::string_view kFlags[] = {"primary", "dynamic", "disconnected",
                                                      "deleted", "transient"};
        const auto known =
            std::find_if(std::begin(kFlags), std::end(kFlags),
                         [flag](std::string_view k) { return EqualsIgnoreCase(flag, k); });
        if (known == std::end(kFlags))
          field.Fail("\"" + std::string(flag) +
                     "\" is not a flag (primary, dynamic, disconnected, deleted, transient)");
        entry.flags.emplace_back(*known);
      }
    }
    machine.network.interfaces.push_back(std::move(entry));
    return;
  }

  if (StartsWithIgnoreCase(key, kDrive)) {
    const std::string_view letter = key.substr(kDrive.size());
    const char lower = letter.size() == 1 ? FoldCase(letter[0]) : '\0';
    if (lower < 'a' || lower > 'z')
      field.Fail("\"" + std::string(letter) + "\" is not a drive letter");
    MappedDrive drive;
    drive.letter = static_cast<char>(lower - 'a' + 'A');
    std::string_view remote = field.text();
    const std::vector<std::string_view> words = SplitWords(remote);
    if (!words.empty() && EqualsIgnoreCase(words[0], "disconnected")) {
      drive.connected = false;
      remote = TrimBlanks(remote.substr(words[0].size()));
    }
    if (!IsUncShare(remote))
      field.Fail("\"" + std::string(remote) + "\" is not a share \\\\server\\share");
    drive.remote = remote;
    machine.network.drives.push_back(std::move(drive));
    return;
  }

  field.Fail("not interface.N, best_interface or drive.X");
}

// [fail]: "CopyFile = 2:5" fails the second CopyFile with error 5; several rules for
// one operation are a comma list ("CopyFile = 2:5, 4"); without ":ERROR" the error
// is 5 (access denied). "ReadFile = 3:short" makes the third read succeed with half the
// bytes asked for; only the two transfers can be short. "*" for N (alone in its list)
// fails every call: a snapshot cannot know which call of the replayed run meets the
// denial it saw.
void ReadFaults(Machine& machine, const Field& field, const ReadContext& context) {
  const auto known =
      std::find_if(context.known_operations.begin(), context.known_operations.end(),
                   [&field](std::string_view name) { return EqualsIgnoreCase(name, field.key()); });
  if (known == context.known_operations.end()) field.Fail("not a platform operation that can fail");

  std::vector<FaultRule> rules;
  for (std::string_view text : SplitTrimmed(field.text(), ',')) {
    const std::size_t colon = text.find(':');
    const std::string_view number = TrimBlanks(text.substr(0, colon));
    const auto call = number == "*" ? std::optional<std::uint64_t>(kEveryCall)
                                    : ParseUnsigned(number, UINT32_MAX);
    if (!call || (*call == kEveryCall && number != "*"))
      field.Fail("\"" + std::string(text) + "\" is not N or N:ERROR with N from 1 or *");
    FaultRule rule;
    rule.call = static_cast<std::uint32_t>(*call);
    const std::string_view after = colon == std::string_view::npos ? "" : TrimBlanks(text.substr(colon + 1));
    if (EqualsIgnoreCase(after, "short")) {
      if (!EqualsIgnoreCase(*known, "ReadFile") && !EqualsIgnoreCase(*known, "WriteFile"))
        field.Fail("only ReadFile and WriteFile can be short");
      rule.short_transfer = true;
    } else if (colon != std::string_view::npos) {
      const auto error = ParseUnsigned(after, UINT32_MAX);
      if (!error || *error == 0)
        field.Fail("\"" + std::string(text) + "\" does not name an error other than 0");
      rule.error = static_cast<std::uint32_t>(*error);
    }
    if (!rules.empty() && (rule.call == kEveryCall || rules[0].call == kEveryCall))
      field.Fail("\"*\" stands alone: it fails every call");
    for (const FaultRule& other : rules)
      if (other.call == rule.call)
        field.Fail("call " + std::to_string(rule.call) + " is given twice");
    rules.push_back(rule);
  }
  std::sort(rules.begin(), rules.end(),
            [](const FaultRule& a, const FaultRule& b) { return a.call < b.call; });
  machine.faults[std::string(*known)] = std::move(rules);
}

struct SectionRule {
  std::string_view name;
  std::span<const KeyRule> keys;  // empty: the keys are names, read by `read_entry`
  void (*read_entry)(Machine&, const Field&, const ReadContext&);
};

constexpr SectionRule kSections[] = {
    {"os", kOsKeys, nullptr},
    {"machine", kMachineKeys, nullptr},
    {"user", kUserKeys, nullptr},
    {"launcher", kLauncherKeys, nullptr},
    {"versions", {}, ReadVersion},
    {"files", {}, ReadFileMarks},
    {"folders", kFolderKeys, nullptr},
    {"network", {}, ReadNetwork},
    {"ui", kUiKeys, nullptr},
    {"programs", {}, ReadProgram},
    {"fail", {}, ReadFaults},
};

}  // namespace

bool Machine::Wow64() const {
  if (os.wow64) return *os.wow64;
  const bool is_64_bit_machine =
      os.architecture == 6 || os.architecture == 9 || os.architecture == 12;
  return launcher.bits == 32 && is_64_bit_machine;
}

Machine ParseMachineIni(std::string_view text, const std::string& file_name,
                        const std::vector<std::string_view>& known_operations) {
  const IniDocument document = ReadIni(text, file_name);
  const ReadContext context{known_operations};
  Machine machine;
  for (const IniSection& section : document.sections) {
    const auto rule = std::find_if(
        std::begin(kSections), std::end(kSections),
        [&section](const SectionRule& r) { return EqualsIgnoreCase(r.name, section.name); });
    if (rule == std::end(kSections))
      throw MachineFolderError(file_name, section.line, "unknown section [" + section.name + "]");

    for (const IniEntry& entry : section.entries) {
      const Field field(entry, file_name);
      if (rule->read_entry != nullptr) {
        rule->read_entry(machine, field, context);
      } else {
        const auto key =
            std::find_if(rule->keys.begin(), rule->keys.end(),
                         [&entry](const KeyRule& k) { return EqualsIgnoreCase(k.key, entry.key); });
        if (key == rule->keys.end())
          throw MachineFolderError(file_name, entry.line,
                                   "unknown key \"" + entry.key + "\" in [" + section.name + "]");
        key->read(machine, field);
      }
    }
  }

  // Interfaces are reported by their number, mapped drives by letter, whatever the
  // order of the lines.
  std::sort(
      machine.network.interfaces.begin(), machine.network.interfaces.end(),
      [](const NetworkInterface& a, const NetworkInterface& b) { return a.number < b.number; });
  std::sort(machine.network.drives.begin(), machine.network.drives.end(),
            [](const MappedDrive& a, const MappedDrive& b) { return a.letter < b.letter; });
  return machine;
}

}  // namespace sim
