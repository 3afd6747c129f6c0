// Writes the facts as machine.ini lines. Texts from the workstation are written as
// they are: machine.ini takes everything after "=" up to the line end, so only
// control characters such as line breaks, which no value may hold, become spaces.
#include "snapshot/machine_ini_text.h"

#include <cstdio>
#include <string_view>

#include "snapshot/control_characters.h"

namespace snapshot {
namespace {

class IniWriter {
 public:
  void Section(std::string_view name) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += "[";
    text_ += name;
    text_ += "]\r\n";
  }
  void Text(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += " = ";
    for (char c : value) text_ += IsControlCharacter(c) ? ' ' : c;
    text_ += "\r\n";
  }
  void Number(std::string_view key, std::uint64_t value) { Text(key, std::to_string(value)); }
  void Signed(std::string_view key, std::int64_t value) { Text(key, std::to_string(value)); }
  void Hex(std::string_view key, std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%x", value);
    Text(key, buffer);
  }
  void Boolean(std::string_view key, bool value) { Text(key, value ? "true" : "false"); }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

constexpr std::string_view ProductTypeName(std::uint8_t type) {
  return type == 2 ? "domain_controller" : type == 3 ? "server" : "workstation";
}

std::string InterfaceFlags(std::uint16_t type) {
  static constexpr struct {
    std::uint16_t bit;
    std::string_view name;
  } kFlags[] = {{0x1, "primary"}, {0x4, "dynamic"}, {0x8, "disconnected"},
                {0x40, "deleted"}, {0x80, "transient"}};
  std::string flags;
  for (const auto& flag : kFlags) {
    if (!(type & flag.bit)) continue;
    flags += flags.empty() ? " " : ",";
    flags += flag.name;
  }
  return flags;
}

}  // namespace

std::string FailureRule(std::uint32_t error) { return "*:" + std::to_string(error); }

std::string MachineIniText(const MachineRecord& r) {
  IniWriter ini;
  ini.Section("os");
  ini.Number("major", r.major);
  ini.Number("minor", r.minor);
  ini.Number("build", r.build);
  ini.Number("service_pack_major", r.service_pack_major);
  ini.Number("service_pack_minor", r.service_pack_minor);
  ini.Text("product_type", ProductTypeName(r.product_type));
  ini.Hex("product_code", r.product_code);
  ini.Number("architecture", r.architecture);
  ini.Boolean("wow64", r.wow64);

  ini.Section("machine");
  ini.Text("computer_name", r.computer_name);
  ini.Number("memory_bytes", r.memory_bytes);
  ini.Text("cpu_brand", r.cpu_brand);
  ini.Number("processors", r.processors);
  ini.Number("processor_level", r.processor_level);
  ini.Hex("processor_revision", r.processor_revision);
  ini.Number("dpi", r.dpi);
  ini.Signed("utc_offset", r.utc_offset);

  ini.Section("user");
  if (!r.user_name.empty()) ini.Text("name", r.user_name);
  if (!r.user_domain.empty()) ini.Text("domain", r.user_domain);
  if (!r.user_sid.empty()) ini.Text("sid", r.user_sid);
  ini.Boolean("administrators_member", r.administrators_member);
  ini.Boolean("token_admin", r.token_admin);
  ini.Boolean("elevated", r.elevated);
  ini.Hex("integrity_rid", r.integrity_rid);

  ini.Section("launcher");
  ini.Number("bits", r.launcher_bits);
  ini.Text("path", r.launcher_path);
  if (!r.launcher_version.empty()) ini.Text("version", r.launcher_version);

  ini.Section("versions");
  for (const auto& [path, version] : r.versions) ini.Text(path, version);

  ini.Section("folders");
  for (const auto& [key, path] : r.folders) ini.Text(key, path);

  ini.Section("network");
  int number = 0;
  for (const auto& i : r.interfaces)
    ini.Text("interface." + std::to_string(++number),
             i.address + " " + i.mask + " " + std::to_string(i.index) + InterfaceFlags(i.type));
  if (r.best_interface) ini.Number("best_interface", *r.best_interface);
  for (const auto& d : r.drives)
    ini.Text(std::string("drive.") + d.letter, (d.connected ? "" : "disconnected ") + d.remote);
  if (!r.failures.empty()) ini.Section("fail");
  for (const auto& [operation, error] : r.failures) ini.Text(operation, FailureRule(error));
  return ini.Take();
}

}  // namespace snapshot
