// The packer's manifest, times and shown texts, from strings: what each line becomes
// and which lines are refused. The records' bytes are checked by the launcher listing
// what the packer packed.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "install/install_rules.h"
#include "tools/tabpack/manifest.h"
#include "tools/tabpack/shown_text.h"

namespace {

using tabpack::UtcTime;

struct TimeRow {
  const char* text;
  bool accepted;
  UtcTime time;
};

TEST(TabpackTime, ReadsUtcTimesToTheMillisecond) {
  const TimeRow rows[] = {
      {"2026-11-30T16:20:05", true, {2026, 11, 30, 16, 20, 5, 0}},
      {"2026-11-30T16:20:05.125Z", true, {2026, 11, 30, 16, 20, 5, 125}},
      {"30828-01-01T00:00:00", false, {}},
      {"02026-01-01T00:00:00", false, {}},
      {"2026-02-29T00:00:00", false, {}},
      {"2026-12-01T24:00:00", false, {}},
      {"2026-12-01T 1:00:00", false, {}},
      {"2026-12-01T10:00:00.5", false, {}},
      {"2026-12-01T10:00:00+01:00", false, {}},
  };
  for (const TimeRow& row : rows) {
    auto parsed = tabpack::ParseUtcTime(row.text);
    EXPECT_EQ(parsed, row.accepted ? std::optional<UtcTime>(row.time) : std::nullopt) << row.text;
    if (parsed) {
      EXPECT_EQ(tabpack::ParseUtcTime(tabpack::FormatUtcTime(*parsed)), parsed) << row.text;
    }
  }
}

TEST(TabpackManifest, ReadsNamesDestinationsRulesAndTimes) {
  const tabpack::Manifest manifest = tabpack::ParseManifest(
      "# comment\n"
      "\n"
      "   tsystem1.cfg  cur  Newer  2026-11-30T16:20:05.125Z\r\n"
      "\"Shipping Labels.xml\"\tS64\tinstall_different\n"
      "  # indented comment\n"
      "fonts.fon FON 103\n"
      "keep.ini WIN doesnotexist\n");
  ASSERT_EQ(manifest.error, "");
  std::vector<std::string> lines;
  for (const auto& line : manifest.lines)
    lines.push_back(std::to_string(line.line_number) + " " + line.name + " " + line.destination + " " +
                    std::to_string(line.rule) + " " + (line.time ? tabpack::FormatUtcTime(*line.time) : "-"));
  EXPECT_EQ(lines, (std::vector<std::string>{"3 tsystem1.cfg CUR 102 2026-11-30T16:20:05.125Z",
                                             "4 Shipping Labels.xml S64 101 -", "6 fonts.fon FON 103 -",
                                             "7 keep.ini WIN 109 -"}));
}

struct RefusedRow {
  const char* line;
  const char* error;
};

TEST(TabpackManifest, RefusesLinesNoRecordCanHold) {
  const RefusedRow rows[] = {
      {"a.dll CUR", "line 1: expected NAME DESTINATION RULE [TIME], found 2 field(s)"},
      {"a.dll CUR 101 2026-01-01T00:00:00 extra",
       "line 1: expected NAME DESTINATION RULE [TIME], found 5 field(s)"},
      {"\"a.dll CUR 101", "line 1: a quoted name without its closing quote"},
      {"\"a\".dll CUR 101", "line 1: text right after a closing quote"},
      {"\"\" CUR 101", "line 1: an empty name (an empty name marks an unused record)"},
      {"1234567890123456789012345678901234567890123456789 CUR 101", ""},
      {"12345678901234567890123456789012345678901234567890 CUR 101",
       "line 1: the name \"12345678901234567890123456789012345678901234567890\" has 50 characters; "
       "an archive name holds at most 49"},
      {"sub/a.dll CUR 101", "line 1: the name \"sub/a.dll\" is not a bare Windows file name"},
      {".. CUR 101", "line 1: the name \"..\" is not a bare Windows file name"},
      {"a.dll SYS32 101", "line 1: unknown destination \"SYS32\" (one of CUR, FON, WIN, SYS, S64)"},
      {"a.dll SYS 0",
       "line 1: unknown install rule \"0\" (one of 101 Different, 102 Newer, 103 Always, 109 DoesNotExist)"},
      {"a.dll SYS INSTALL_UPGRADE",
       "line 1: unknown install rule \"INSTALL_UPGRADE\" (one of 101 Different, 102 Newer, 103 "
       "Always, 109 DoesNotExist)"},
  };
  for (const RefusedRow& row : rows) {
    EXPECT_EQ(tabpack::ParseManifest(row.line).error, row.error) << row.line;
  }
}

struct ShownRow {
  std::string text;
  std::string shown;
};

TEST(TabpackShownText, EscapesEveryNonPrintableByteAndCutsLongText) {
  const ShownRow rows[] = {
      {"\x1b[2J\x9b" "1m\r\n", "\\x1B[2J\\x9B1m\\x0D\\x0A"},
      {std::string("a\0b", 3), "a\\x00b"},
      {std::string(65, 'a'), std::string(64, 'a') + "..."},
      // An escape is never cut in half.
      {std::string(62, 'a') + "\x1b", std::string(62, 'a') + "..."},
  };
  for (const ShownRow& row : rows) EXPECT_EQ(tabpack::Shown(row.text), row.shown) << row.shown;
}

}  // namespace
