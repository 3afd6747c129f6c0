// tabpack: reading the manifest and checking what a record may hold.
#include "tools/tabpack/manifest.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "install/install_rules.h"
#include "tools/tabpack/shown_text.h"

namespace tabpack {
namespace {

struct RuleNames {
  std::uint32_t rule;
  std::string_view name;
  std::string_view constant;
};
constexpr RuleNames kRules[] = {
    {INSTALL_DIFFERENT, "Different", "INSTALL_DIFFERENT"},
    {INSTALL_NEWER, "Newer", "INSTALL_NEWER"},
    {INSTALL_ALWAYS, "Always", "INSTALL_ALWAYS"},
    {INSTALL_DOES_NOT_EXIST, "DoesNotExist", "INSTALL_DOES_NOT_EXIST"},
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Splits a line into fields; a field may stand in double quotes to hold blanks.
bool SplitFields(std::string_view line, std::vector<std::string>* fields, std::string* error) {
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) return true;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) {
        *error = "a quoted name without its closing quote";
        return false;
      }
      fields->emplace_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
      if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
        *error = "text right after a closing quote";
        return false;
      }
    } else {
      std::size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
      fields->emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
}

}  // namespace

std::string CheckName(std::string_view name) {
  constexpr std::size_t kLongest = kTABFileNameBytes - 1;
  if (name.empty()) return "an empty name (an empty name marks an unused record)";
  if (name.size() > kLongest)
    return "the name " + QuotedShown(name) + " has " + std::to_string(name.size()) +
           " characters; an archive name holds at most " + std::to_string(kLongest);
  // The installer puts the name after a folder: it must stay a bare file name.
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
      return "the name " + QuotedShown(name) + " is not a bare Windows file name";
  }
  if (name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
    return "the name " + QuotedShown(name) + " is not a bare Windows file name";
  return {};
}

std::optional<std::string> DestinationCode(std::string_view text) {
  const std::string code = Upper(text);
  for (std::string_view known : kArchiveDestinations)
    if (code == known) return code;
  return std::nullopt;
}

std::optional<std::uint32_t> InstallRule(std::string_view text) {
  const std::string upper = Upper(text);
  for (const RuleNames& rule : kRules) {
    if (upper == std::to_string(rule.rule) || upper == Upper(rule.name) || upper == rule.constant)
      return rule.rule;
  }
  return std::nullopt;
}

std::string_view RuleName(std::uint32_t rule) {
  for (const RuleNames& known : kRules)
    if (known.rule == rule) return known.name;
  return {};
}

Manifest ParseManifest(std::string_view text) {
  Manifest manifest;
  std::set<std::string> seen;  // DESTINATION/NAME in upper case
  std::istringstream lines{std::string(text)};
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto fail = [&](const std::string& why) {
      manifest.lines.clear();
      manifest.error = "line " + std::to_string(number) + ": " + why;
      return manifest;
    };
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;

    std::vector<std::string> fields;
    std::string error;
    if (!SplitFields(line, &fields, &error)) return fail(error);
    if (fields.size() < 3 || fields.size() > 4)
      return fail("expected NAME DESTINATION RULE [TIME], found " + std::to_string(fields.size()) +
                  " field(s)");

    ManifestLine entry;
    entry.line_number = number;
    entry.name = fields[0];
    if (std::string why = CheckName(entry.name); !why.empty()) return fail(why);
    auto destination = DestinationCode(fields[1]);
    if (!destination)
      return fail("unknown destination " + QuotedShown(fields[1]) + " (one of CUR, FON, WIN, SYS, S64)");
    entry.destination = *destination;
    auto rule = InstallRule(fields[2]);
    if (!rule)
      return fail("unknown install rule " + QuotedShown(fields[2]) +
                  " (one of 101 Different, 102 Newer, 103 Always, 109 DoesNotExist)");
    entry.rule = *rule;
    if (fields.size() == 4) {
      entry.time = ParseUtcTime(fields[3]);
      if (!entry.time)
        return fail("the time " + QuotedShown(fields[3]) +
                    " is not a UTC time YYYY-MM-DDTHH:MM:SS[.mmm] from 1601 to 30827");
    }
    if (!seen.insert(entry.destination + "/" + Upper(entry.name)).second)
      return fail(QuotedShown(entry.name) + " is listed twice for " + entry.destination);
    manifest.lines.push_back(std::move(entry));
  }
  // Such an archive would hold no record, which the launcher refuses to open.
  if (manifest.lines.empty())
    manifest.error = "no file to pack: the manifest holds only blank lines and comments";
  return manifest;
}

}  // namespace tabpack
