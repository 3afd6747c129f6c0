// Simulated workstation: files and folders on the machine folder's drives.
#include "platform/sim/sim_files.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/journal.h"
#include "platform/sim/text_util.h"
#include "platform/sim/version_block.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

constexpr platform::ErrorCode kErrorResourceTypeNotFound = 1813;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The value of a key in INI text as GetPrivateProfileString finds it: first match,
// blanks trimmed, one pair of enclosing quotes removed.
std::optional<std::string> FindProfileValue(const std::string& text, std::string_view section,
                                            std::string_view key) {
  std::istringstream lines(text);
  std::string line;
  bool in_section = false;
  while (std::getline(lines, line)) {
    std::string_view l = Trim(line);
    if (l.empty() || l.front() == ';') continue;
    if (l.front() == '[') {
      std::size_t close = l.find(']');
      in_section = close != std::string_view::npos &&
                   EqualsIgnoreCase(Trim(l.substr(1, close - 1)), section);
      continue;
    }
    if (!in_section) continue;
    std::size_t eq = l.find('=');
    if (eq == std::string_view::npos || !EqualsIgnoreCase(Trim(l.substr(0, eq)), key)) continue;
    std::string_view value = Trim(l.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace

bool SimFiles::AppendToFile(std::string_view path, std::string_view text) {
  if (s_.Fails("AppendToFile", nullptr, path)) return false;
  auto host = s_.Resolve(path);
  if (!host) return false;
  std::error_code ec;
  if (!fs::is_directory(host->parent_path(), ec) || fs::is_directory(*host, ec)) {
    s_.last_error = platform::kErrorPathNotFound;
    return false;
  }
  std::ofstream out(*host, std::ios::binary | std::ios::app);
  s_.drives.Changed(*host);
  if (!out) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  PutTextMode(out, text);
  return static_cast<bool>(out);
}

bool SimFiles::DeleteFile(std::string_view path) {
  if (s_.Fails("DeleteFile", nullptr, path)) return false;
  auto host = s_.Resolve(path);
  if (!host) return false;
  std::error_code ec;
  if (!fs::exists(*host, ec)) {
    s_.last_error = fs::is_directory(host->parent_path(), ec) ? platform::kErrorFileNotFound
                                                              : platform::kErrorPathNotFound;
    return false;
  }
  if (fs::is_directory(*host, ec) || s_.read_only.count(*host)) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  // No handle shares deletion: a file open anywhere stays.
  if (s_.open_files.InUse(*host)) {
    s_.last_error = platform::kErrorSharingViolation;
    return false;
  }
  const bool removed = fs::remove(*host, ec);
  s_.drives.Changed(*host);
  if (!removed) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  return true;
}

bool SimFiles::SetCurrentDirectory(std::string_view path) {
  if (s_.Fails("SetCurrentDirectory", nullptr, path)) return false;
  auto normal = Drives::Normalize(path, s_.current_directory);
  auto host = s_.Resolve(path);
  std::error_code ec;
  if (!normal || !host) return false;
  if (!fs::is_directory(*host, ec)) {
    s_.last_error = fs::exists(*host, ec) ? platform::kErrorAccessDenied : platform::kErrorFileNotFound;
    return false;
  }
  s_.current_directory = *normal;
  return true;
}

std::string SimFiles::GetPrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view default_value,
                                              std::string_view path, std::uint32_t buffer_size) {
  const std::size_t keep = buffer_size ? buffer_size - 1 : 0;
  std::string value(default_value);
  if (!s_.Fails("GetPrivateProfileString", nullptr, path)) {
    if (auto host = s_.Resolve(path)) {
      std::ifstream in(*host, std::ios::binary);
      if (in) {
        std::stringstream text;
        text << in.rdbuf();
        if (auto found = FindProfileValue(text.str(), section, key)) value = *found;
        else s_.last_error = platform::kErrorFileNotFound;
      } else {
        s_.last_error = platform::kErrorFileNotFound;
      }
    }
  }
  return value.substr(0, keep);
}

std::vector<std::uint8_t> SimFiles::VersionBlock(std::string_view path) {
  auto normal = Drives::Normalize(path, s_.current_directory);
  if (!normal) {
    s_.last_error = platform::kErrorPathNotFound;
    return {};
  }
  const auto& launcher = s_.machine.launcher;
  if (EqualsIgnoreCase(*normal, launcher.path)) {
    auto facts = ParseVersionNumbers(launcher.version).value_or(VersionFacts{});
    facts.strings = {{"CompanyName", "Veltrix Solutions Inc."},
                     {"FileDescription", launcher.description},
                     {"LegalCopyright", launcher.copyright},
                     {"ProductName", "Portavel"}};
    return SerializeVersionBlock(facts);
  }
  auto host = s_.Resolve(*normal);
  std::error_code ec;
  if (!host) return {};
  if (!fs::is_regular_file(*host, ec)) {
    s_.last_error = platform::kErrorFileNotFound;
    return {};
  }
  // [versions] names files where they really are: a redirected process reads the
  // version of the SysWOW64 copy.
  auto listed = s_.machine.versions.find(s_.Redirected(*normal));
  auto facts = listed == s_.machine.versions.end() ? std::nullopt : ParseVersionNumbers(listed->second);
  if (!facts) {
    s_.last_error = kErrorResourceTypeNotFound;
    return {};
  }
  return SerializeVersionBlock(*facts);
}

std::uint32_t SimFiles::GetFileVersionInfoSize(std::string_view path) {
  if (s_.Fails("GetFileVersionInfoSize", nullptr, path)) return 0;
  return static_cast<std::uint32_t>(VersionBlock(path).size());
}

bool SimFiles::GetFileVersionInfo(std::string_view path, std::uint32_t size,
                                  std::vector<std::uint8_t>& block) {
  if (s_.Fails("GetFileVersionInfo", nullptr, path)) return false;
  block = VersionBlock(path);
  if (block.empty()) return false;
  if (block.size() > size) {
    s_.last_error = platform::kErrorInsufficientBuffer;
    return false;
  }
  return true;
}

bool SimFiles::VerQueryValue(const std::vector<std::uint8_t>& block, std::string_view sub_block,
                             std::vector<std::uint8_t>& value) {
  if (s_.Fails("VerQueryValue")) return false;
  auto found = QueryVersionBlock(block, sub_block);
  if (!found) return false;
  value = std::move(*found);
  return true;
}

}  // namespace sim
