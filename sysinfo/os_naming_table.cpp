// The edition table and the name table of the operating systems the launcher knows.
#include "sysinfo/os_naming_table.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "base/printf_format.h"

namespace {

struct EditionRow {
  std::uint32_t code;
  const char* word;
};

constexpr EditionRow kEditions[] = {
    {1, "Ultimate"},           {2, "Home Basic"},         {3, "Home Premium"},
    {4, "Enterprise"},         {10, "Enterprise"},        {38, "Enterprise"},
    {140, "Enterprise"},       {6, "Business"},           {7, "Standard"},
    {36, "Standard"},          {79, "Standard"},          {8, "Datacenter"},
    {37, "Datacenter"},        {80, "Datacenter"},        {42, "Hyper-V"},
    {48, "Professional"},      {99, "Home (China)"},      {101, "Home"},
    {112, "Pro Education"},    {121, "Education"},        {125, "Enterprise LTSC"},
    {127, "Professional LTSC"}, {139, "Professional (China)"}, {161, "Pro for Workstations"},
};

// Which versions a row is for: 6.1, 6.0, 6.2 and later, or before 6.
enum class Group : std::uint8_t { Seven, Vista, EightAndLater, Older };

// A condition on one fact: none, the fact holds, the fact does not hold.
enum class Need : std::uint8_t { Any, Yes, No };

// What fills the row's forms besides the edition: nothing, the release name, the build.
enum class Fill : std::uint8_t { Edition, EditionAndCodeName, EditionAndBuild };

constexpr std::uint32_t kAnyBuild = UINT32_MAX;
constexpr int kAny = -1;

struct NameRow {
  Group group;
  Need server = Need::Any;
  Need win10 = Need::Any;
  Need win7_sp1 = Need::Any;
  Need xp_sp3 = Need::Any;
  Need workstation_type = Need::Any;  // product type 1
  Need code_name = Need::Any;
  std::uint32_t build_from = 0;
  std::uint32_t build_to = kAnyBuild;
  int major = kAny;
  int minor = kAny;
  int platform_id = kAny;
  const char* with_edition = nullptr;  // none: the row has no edition form
  const char* plain = "";
  Fill fill = Fill::Edition;
  bool supported = false;
  bool windows7 = false;
};

constexpr NameRow Build(std::uint32_t build, const char* with_edition, const char* plain) {
  return {.group = Group::EightAndLater, .server = Need::No, .build_from = build, .build_to = build,
          .with_edition = with_edition, .plain = plain, .supported = true};
}

constexpr NameRow ServerBuild(std::uint32_t build, const char* with_edition, const char* plain) {
  return {.group = Group::EightAndLater, .server = Need::Yes, .build_from = build, .build_to = build,
          .with_edition = with_edition, .plain = plain, .supported = true};
}

constexpr NameRow Older(int major, int minor, int platform_id, const char* name,
                        Need xp_sp3 = Need::Any) {
  return {.group = Group::Older, .xp_sp3 = xp_sp3, .major = major, .minor = minor,
          .platform_id = platform_id, .plain = name};
}

// The first row that holds gives the name.
constexpr NameRow kNames[] = {
    // 6.1
    {.group = Group::Seven, .server = Need::Yes, .with_edition = "Windows Server 2008 R2 %s",
     .plain = "Windows Server 2008 R2", .supported = true},
    {.group = Group::Seven, .win7_sp1 = Need::Yes, .with_edition = "Windows 7 SP1 %s",
     .plain = "Windows 7 SP1", .supported = true, .windows7 = true},
    {.group = Group::Seven, .with_edition = "Windows 7 %s", .plain = "Windows 7", .supported = true,
     .windows7 = true},
    // 6.0
    {.group = Group::Vista, .workstation_type = Need::Yes, .with_edition = "Windows Vista %s",
     .plain = "Windows Vista"},
    {.group = Group::Vista, .plain = "Windows Server 2008"},
    // 6.2 and later
    {.group = Group::EightAndLater, .win10 = Need::No, .plain = "Windows 8 Or Newer", .supported = true},
    ServerBuild(14393, "Windows Server %s 2016", "Windows Server 2016"),
    ServerBuild(17763, "Windows Server %s 2019", "Windows Server 2019"),
    ServerBuild(20348, "Windows Server %s 2022", "Windows Server 2022"),
    {.group = Group::EightAndLater, .server = Need::Yes, .build_from = 20349,
     .plain = "Windows Server 2022 Or Newer", .supported = true},
    {.group = Group::EightAndLater, .server = Need::Yes, .plain = "Windows Server", .supported = true},
    Build(10240, "Windows 10 %s 1507 (RTM)", "Windows 10 1507 (RTM)"),
    Build(10586, "Windows 10 %s 1511 (November Update)", "Windows 10 1511 (November Update)"),
    Build(14393, "Windows 10 %s 1607 (Anniversary Update)", "Windows 10 1607 (Anniversary Update)"),
    Build(15063, "Windows 10 %s 1703 (Creators Update)", "Windows 10 1703 (Creators Update)"),
    Build(16299, "Windows 10 %s 1709 (Fall Creators Update)", "Windows 10 1709 (Fall Creators Update)"),
    Build(17134, "Windows 10 %s 1803 (April 2018 Update)", "Windows 10 1803 (April 2018 Update)"),
    Build(17763, "Windows 10 %s 1809 (October 2018 Update)", "Windows 10 1809 (October 2018 Update)"),
    Build(18362, "Windows 10 %s 1903 (May 2019 Update)", "Windows 10 1903 (May 2019 Update)"),
    Build(18363, "Windows 10 %s 1909 (November 2019 Update)", "Windows 10 1909 (November 2019 Update)"),
    Build(19041, "Windows 10 %s 2004 (May 2020 Update)", "Windows 10 2004 (May 2020 Update)"),
    Build(19042, "Windows 10 %s 20H2 (October 2020 Update)", "Windows 10 20H2 (October 2020 Update)"),
    Build(19043, "Windows 10 %s 21H1 (May 2021 Update)", "Windows 10 21H1 (May 2021 Update)"),
    Build(19044, "Windows 10 %s 21H2 (November 2021 Update)", "Windows 10 21H2 (November 2021 Update)"),
    Build(19045, "Windows 10 %s 22H2 (2022 Update)", "Windows 10 22H2 (2022 Update)"),
    Build(22000, "Windows 11 %s 21H2", "Windows 11 21H2"),
    Build(22621, "Windows 11 %s 22H2 (2022 Update)", "Windows 11 22H2 (2022 Update)"),
    Build(22631, "Windows 11 %s 23H2 (2023 Update)", "Windows 11 23H2 (2023 Update)"),
    {.group = Group::EightAndLater, .server = Need::No, .build_from = 19046, .build_to = 21999,
     .with_edition = "Windows 10 %s (22H2 Or Newer)", .plain = "Windows 10 (22H2 Or Newer)",
     .supported = true},
    {.group = Group::EightAndLater, .server = Need::No, .build_from = 22632,
     .with_edition = "Windows 11 %s (23H2 Or Newer)", .plain = "Windows 11 (23H2 Or Newer)",
     .supported = true},
    {.group = Group::EightAndLater, .server = Need::No, .code_name = Need::Yes,
     .with_edition = "Windows 10/11 %s CodeName %s (Unknown Update Channel)",
     .plain = "Windows 10/11 CodeName %s (Unknown Update Channel)", .fill = Fill::EditionAndCodeName,
     .supported = true},
    {.group = Group::EightAndLater, .server = Need::No,
     .with_edition = "Windows 10/11 %s Build %d (Unknown Update Channel)",
     .plain = "Windows 10/11 Build %d (Unknown Update Channel)", .fill = Fill::EditionAndBuild,
     .supported = true},
    // before 6
    Older(5, 1, kAny, "Windows XP SP3", Need::Yes),
    Older(5, 1, kAny, "Windows XP"),
    Older(5, 2, kAny, "Windows Server 2003"),
    Older(kAny, 10, kAny, "Windows 98"),
    Older(kAny, 51, kAny, "Windows NT 3.51"),
    Older(kAny, 90, kAny, "Windows ME"),
    Older(5, kAny, kAny, "Windows 2000"),
    Older(kAny, kAny, 1, "Windows 95"),
    Older(kAny, kAny, 2, "Windows NT"),
    Older(kAny, kAny, kAny, "Unknown"),
};

// The forms are formats filled from the row's fill: each must read exactly what its
// fill passes (the plain form of an edition-only row is copied, not formatted).
constexpr bool FormsFit(const NameRow& row) {
  using printf_format::FormatFits;
  const bool no_edition_form = row.with_edition == nullptr;
  switch (row.fill) {
    case Fill::Edition:
      return no_edition_form || FormatFits<const char*>(row.with_edition);
    case Fill::EditionAndCodeName:
      return (no_edition_form || FormatFits<const char*, const char*>(row.with_edition)) &&
             FormatFits<const char*>(row.plain);
    case Fill::EditionAndBuild:
      return (no_edition_form || FormatFits<const char*, int>(row.with_edition)) && FormatFits<int>(row.plain);
  }
  return false;
}
static_assert(std::all_of(std::begin(kNames), std::end(kNames), FormsFit));

Group GroupOf(const OsNamingFacts& f) {
  if (f.major < 6) return Group::Older;
  if (f.major == 6 && f.minor == 0) return Group::Vista;
  if (f.major == 6 && f.minor == 1) return Group::Seven;
  return Group::EightAndLater;
}

bool Satisfies(Need need, bool fact) { return need == Need::Any || (need == Need::Yes) == fact; }

bool Equals(int wanted, std::uint32_t value) {
  return wanted == kAny || static_cast<std::uint32_t>(wanted) == value;
}

bool Holds(const NameRow& r, const OsNamingFacts& f) {
  return r.group == GroupOf(f) && Satisfies(r.server, f.server) &&
         Satisfies(r.win10, f.win10_or_greater) && Satisfies(r.win7_sp1, f.win7_sp1_or_greater) &&
         Satisfies(r.xp_sp3, f.xp_sp3_or_greater) &&
         Satisfies(r.workstation_type, f.product_type == 1) &&
         Satisfies(r.code_name, !f.code_name.empty()) && f.build >= r.build_from &&
         f.build <= r.build_to && Equals(r.major, f.major) && Equals(r.minor, f.minor) &&
         Equals(r.platform_id, f.platform_id);
}

}  // namespace

void EditionNameFor(std::uint32_t product_code, OsNameText& edition) {
  edition.clear();
  if (product_code == 0) return;
  const auto row = std::find_if(std::begin(kEditions), std::end(kEditions),
                                [product_code](const EditionRow& r) { return r.code == product_code; });
  if (row != std::end(kEditions)) edition.assign_cut(row->word);
  else edition.format_cut("(ProductCode %#X)", product_code);
}

bool IsWindows8OrLater(std::uint32_t major, std::uint32_t minor) {
  return major > 6 || (major == 6 && minor >= 2);
}

OsNameChoice ChooseOsName(const OsNamingFacts& facts) {
  // The last row holds for every version, so a row is always found.
  const NameRow& row = *std::find_if(std::begin(kNames), std::end(kNames),
                                     [&facts](const NameRow& r) { return Holds(r, facts); });
  OsNameText edition;
  if (!facts.edition.empty()) edition.assign_cut(facts.edition);
  FixedString<32> code_name;
  if (!facts.code_name.empty()) code_name.assign_cut(facts.code_name);
  const bool edition_form = row.with_edition != nullptr && !edition.empty();
  const int build = static_cast<int>(facts.build);

  OsNameChoice choice;
  choice.supported = row.supported;
  choice.windows7 = row.windows7;
  // A long edition word with the longer forms does not fit: the name is cut.
  switch (row.fill) {
    case Fill::Edition:
      if (edition_form) choice.name.format_cut(row.with_edition, edition.c_str());
      else choice.name.assign_cut(row.plain);
      break;
    case Fill::EditionAndCodeName:
      if (edition_form) choice.name.format_cut(row.with_edition, edition.c_str(), code_name.c_str());
      else choice.name.format_cut(row.plain, code_name.c_str());
      break;
    case Fill::EditionAndBuild:
      if (edition_form) choice.name.format_cut(row.with_edition, edition.c_str(), build);
      else choice.name.format_cut(row.plain, build);
      break;
  }
  return choice;
}
