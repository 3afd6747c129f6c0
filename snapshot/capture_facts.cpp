// The system queries behind machine.ini.
#include "snapshot/capture_facts.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/error_codes.h"
#include "snapshot/file_version.h"
#include "snapshot/scoped_handle.h"

namespace snapshot {
namespace {

constexpr std::uint32_t kBrandLeaf = 0x80000002;
constexpr std::uint32_t kLastBrandLeaf = 0x80000004;

void CaptureSystem(platform::Platform& os, MachineRecord& r) {
  platform::OsVersionRecord version;
  if (os.system_info.GetVersionEx(&version)) {
    r.major = version.major_version;
    r.minor = version.minor_version;
    r.build = version.build_number;
    r.service_pack_major = version.service_pack_major;
    r.service_pack_minor = version.service_pack_minor;
    r.product_type = version.product_type;
  }
  std::uint32_t product = 0;
  if (os.system_info.FindKernelFunction(platform::KernelFunction::GetProductInfo) ==
          platform::FunctionLookup::Found &&
      os.system_info.GetProductInfo(r.major, r.minor, r.service_pack_major, r.service_pack_minor,
                                    &product))
    r.product_code = product;

  const platform::ProcessorRecord processor = os.system_info.GetNativeSystemInfo();
  r.architecture = processor.architecture;
  r.processor_level = processor.level;
  r.processor_revision = processor.revision;
  r.processors = processor.number_of_processors;
  r.wow64 = r.launcher_bits == 32 && r.Is64BitMachine();

  if (os.system_info.Cpuid(0x80000000).eax >= kLastBrandLeaf) {
    char brand[49] = {};
    for (std::uint32_t leaf = kBrandLeaf; leaf <= kLastBrandLeaf; ++leaf) {
      const platform::CpuidRegisters regs = os.system_info.Cpuid(leaf);
      const std::uint32_t words[] = {regs.eax, regs.ebx, regs.ecx, regs.edx};
      std::memcpy(brand + 16 * (leaf - kBrandLeaf), words, sizeof words);
    }
    r.cpu_brand = brand;
  }
  platform::MemoryTotals memory;
  if (os.system_info.GlobalMemoryStatusEx(&memory)) r.memory_bytes = memory.total_physical;
  std::string name;
  if (os.system_info.GetComputerName(&name)) r.computer_name = name;
  r.dpi = static_cast<std::uint32_t>(os.ui.GetDeviceCaps(platform::kLogPixelsY));

  // The offset of local time now: the local clock read as if it were UTC, converted.
  const platform::LocalTime now = os.system.GetLocalTime();
  platform::SystemTime fields;
  fields.year = static_cast<std::uint16_t>(now.year);
  fields.month = static_cast<std::uint16_t>(now.month);
  fields.day = static_cast<std::uint16_t>(now.day);
  fields.hour = static_cast<std::uint16_t>(now.hour);
  fields.minute = static_cast<std::uint16_t>(now.minute);
  platform::FileTime utc = 0;
  platform::FileTime local = 0;
  if (os.files.SystemTimeToFileTime(fields, &utc) && os.files.FileTimeToLocalFileTime(utc, &local))
    r.utc_offset = static_cast<std::int32_t>((static_cast<std::int64_t>(local - utc)) / 600000000);
}

// Reads the process token's information; a query that fails is a denial, except
// where a system older than Windows Vista knows no elevation or integrity.
class TokenReader {
 public:
  TokenReader(platform::Platform& os, platform::Handle token, const MachineRecord& r,
              Denials& denials)
      : os_(os), token_(token), pre_vista_(r.major < 6), denials_(denials) {}

  // The variable-size information, or nothing when it cannot be read.
  std::vector<std::uint8_t> Bytes(platform::TokenInformationClass information) {
    std::uint32_t needed = 0;
    // The size query fails by design; only a failure with nothing to size is one.
    if (!os_.security.GetTokenInformation(token_, information, nullptr, 0, &needed) &&
        needed == 0) {
      Failed();
      return {};
    }
    if (needed == 0 || needed > 4096) return {};
    std::vector<std::uint8_t> buffer(needed);
    if (!os_.security.GetTokenInformation(token_, information, buffer.data(), needed, &needed)) {
      Failed();
      return {};
    }
    return buffer;
  }

  std::uint32_t Number(platform::TokenInformationClass information, std::uint32_t fallback) {
    std::uint32_t value = 0;
    std::uint32_t returned = 0;
    if (os_.security.GetTokenInformation(token_, information, &value, sizeof value, &returned))
      return value;
    Failed();
    return fallback;
  }

 private:
  void Failed() {
    const std::uint32_t error = os_.system.GetLastError();
    if (!(pre_vista_ && error == platform::kErrorInvalidParameter))
      denials_.Failure("GetTokenInformation", error);
  }

  platform::Platform& os_;
  platform::Handle token_;
  bool pre_vista_;
  Denials& denials_;
};

void CaptureUser(platform::Platform& os, MachineRecord& r, Denials& denials) {
  std::string name;
  if (os.security.GetUserName(&name)) r.user_name = name;
  std::uint8_t admins[platform::kMaxSidSize] = {};
  std::uint32_t admins_size = sizeof admins;
  bool member = false;
  if (os.security.CreateWellKnownSid(platform::WellKnownSid::BuiltinAdministrators, admins,
                                     &admins_size) &&
      os.security.CheckTokenMembership(platform::kCurrentToken, admins, &member))
    r.token_admin = member;

  ScopedHandle token(os.system);
  if (!os.security.OpenProcessToken(platform::kTokenQuery, token.receive())) {
    denials.Failure("OpenProcessToken", os.system.GetLastError());
    return;
  }
  using Class = platform::TokenInformationClass;
  TokenReader reader(os, token.get(), r, denials);
  std::vector<std::uint8_t> user = reader.Bytes(Class::User);
  if (user.size() >= sizeof(platform::TokenUser)) {
    platform::TokenUser record;
    std::memcpy(&record, user.data(), sizeof record);
    std::string text, account, domain;
    if (os.security.ConvertSidToStringSid(record.sid, &text)) r.user_sid = text;
    if (os.security.LookupAccountSid(record.sid, &account, &domain)) r.user_domain = domain;
  }
  r.elevated = reader.Number(Class::Elevation, 0) != 0;
  const std::uint32_t type = reader.Number(Class::ElevationType, 1);
  r.administrators_member = r.token_admin || type == platform::kTokenElevationTypeLimited;
  std::vector<std::uint8_t> label = reader.Bytes(Class::IntegrityLevel);
  if (label.size() >= sizeof(platform::TokenMandatoryLabel)) {
    platform::TokenMandatoryLabel record;
    std::memcpy(&record, label.data(), sizeof record);
    const std::uint8_t count = static_cast<const std::uint8_t*>(record.sid)[1];
    if (count > 0) r.integrity_rid = *os.security.GetSidSubAuthority(record.sid, count - 1u);
  }
}

void CaptureFolders(platform::Platform& os, MachineRecord& r) {
  static constexpr struct {
    const char* key;
    platform::KnownFolder folder;
  } kFolders[] = {
      {"windows", platform::KnownFolder::Windows},
      {"system", platform::KnownFolder::System},
      {"system_x86", platform::KnownFolder::SystemX86},
      {"local_app_data", platform::KnownFolder::LocalAppData},
      {"programs", platform::KnownFolder::Programs},
      {"program_data", platform::KnownFolder::ProgramData},
      {"fonts", platform::KnownFolder::Fonts},
  };
  for (const auto& entry : kFolders) {
    std::string path;
    if (os.system_info.SHGetKnownFolderPath(entry.folder, &path) < 0) path.clear();
    r.folders.emplace_back(entry.key, path);
  }
  std::string appdata;
  if (!os.system_info.GetEnvironmentVariable("APPDATA", &appdata)) appdata.clear();
  r.folders.emplace_back("appdata", appdata);
}

void CaptureNetwork(platform::Platform& os, MachineRecord& r) {
  std::uint32_t size = 0;
  std::vector<std::uint8_t> buffer;
  // The table may grow between the size query and the read: one retry.
  for (int attempt = 0; attempt < 2; ++attempt) {
    buffer.assign(size, 0);
    auto* table = size >= sizeof(platform::IpAddrTable)
                      ? reinterpret_cast<platform::IpAddrTable*>(buffer.data())
                      : nullptr;
    const std::uint32_t status = os.network.GetIpAddrTable(table, &size);
    if (status == 0 && table != nullptr) break;
    if (status != platform::kErrorInsufficientBuffer) size = 0;
  }
  if (buffer.size() >= sizeof(platform::IpAddrTable)) {
    std::uint32_t count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const std::size_t room = (buffer.size() - offsetof(platform::IpAddrTable, rows)) /
                             sizeof(platform::IpAddrRow);
    for (std::uint32_t i = 0; i < count && i < room; ++i) {
      platform::IpAddrRow row;
      std::memcpy(&row, buffer.data() + offsetof(platform::IpAddrTable, rows) + i * sizeof row,
                  sizeof row);
      MachineRecord::Interface entry;
      if (!os.network.InetNtop(row.address, &entry.address) ||
          !os.network.InetNtop(row.mask, &entry.mask))
        continue;
      entry.index = row.index;
      entry.type = row.type;
      r.interfaces.push_back(entry);
    }
  }
  std::uint32_t best = 0;
  if (os.network.GetBestInterface(0x08080808, &best) == 0) r.best_interface = best;

  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    const std::uint32_t type = os.network.GetDriveType(root);
    if (type != platform::kDriveRemote && type != platform::kDriveNoRootDir) continue;
    std::string remote;
    const std::uint32_t status = os.network.WNetGetConnection(std::string_view(root, 2), &remote);
    if (status == 0 && type == platform::kDriveRemote)
      r.drives.push_back({letter, remote, true});
    else if (status == platform::kErrorConnectionUnavail)
      r.drives.push_back({letter, remote, false});
  }
}

}  // namespace

MachineRecord CaptureFacts(platform::Platform& os, std::string_view launcher_path,
                           Denials& denials) {
  MachineRecord r;
  r.launcher_path = launcher_path;
  // The 64-bit build of the launcher is the one named with "64".
  const std::string_view file = launcher_path.substr(launcher_path.find_last_of('\\') + 1);
  r.launcher_bits = file.size() >= 6 && file.substr(file.size() - 6) == "64.exe" ? 64 : 32;
  CaptureSystem(os, r);
  CaptureUser(os, r, denials);
  CaptureFolders(os, r);
  CaptureNetwork(os, r);
  r.launcher_version = FileVersion(os.files, launcher_path);
  return r;
}

}  // namespace snapshot
