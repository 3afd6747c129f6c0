// The text of log records, checked without a machine: the stamp's fields, the message
// limit and the wrapping of long debug records. The tags, the message's column at each
// depth and the error lines in both logs are the logging tests' full lines.
#include "diag/record_layout.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace {

const RecordStamp kStamp = MakeRecordStamp({2026, 12, 6, 8, 30, 0, 0});

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

std::optional<std::string> Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::optional<std::string> message = FormatRecordMessage(format, args);
  va_end(args);
  return message;
}

std::string Prefix(std::string_view tag, std::size_t indent) {
  return "12/06/26 08:30:00 TAVIX " + std::string(tag) + " " + std::string(indent, ' ');
}

TEST(RecordStamp, DateAndTimeHaveTwoDigitFields) {
  struct Case {
    platform::LocalTime local;
    const char* date;
    const char* time;
  };
  const Case cases[] = {
      {{2001, 1, 2, 23, 5, 9, 999}, "01/02/01", "23:05:09"},
      {{1999, 10, 31, 12, 59, 59, 0}, "10/31/99", "12:59:59"},
  };
  for (const Case& c : cases) {
    const RecordStamp stamp = MakeRecordStamp(c.local);
    EXPECT_EQ(std::string(stamp.date.view()) + " " + std::string(stamp.time.view()), std::string(c.date) + " " + c.time);
  }
}

TEST(LimitDebugMessage, LongMessagesKeep2040CharactersAndAMarker) {
  struct Case {
    std::size_t length;
    std::size_t limited;
    bool cut;
  };
  const Case cases[] = {{0, 0, false}, {2046, 2046, false}, {2047, 2046, true}, {10000, 2046, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string message;
    for (std::size_t i = 0; i < c.length; ++i) message.push_back(static_cast<char>('a' + i % 26));
    const std::string original = message;
    LimitDebugMessage(message);
    EXPECT_EQ(message.size(), c.limited);
    EXPECT_EQ(message, c.cut ? original.substr(0, 2040) + " (...)" : original);
  }
}

TEST(FormatRecordMessage, FormatsToTheExactLength) {
  EXPECT_EQ(Format("FileExist: \"%s\" is present.", "C:\\a.txt"),
            "FileExist: \"C:\\a.txt\" is present.");
  EXPECT_EQ(Format("%d%%", 50), "50%");
  EXPECT_EQ(Format("%s", ""), "");
  EXPECT_EQ(Format("%s!", Repeat('q', 5000).c_str()), Repeat('q', 5000) + "!");
}

// Splits a message into words of the given lengths separated by single spaces.
std::string Words(std::initializer_list<std::pair<char, std::size_t>> words) {
  std::string text;
  for (const auto& [c, n] : words) {
    if (!text.empty()) text.push_back(' ');
    text.append(n, c);
  }
  return text;
}

TEST(WrapDebugRecord, LinesFollowTheWrappingRule) {
  struct Case {
    const char* name;
    std::size_t indent;
    std::string message;
    // Expected lines: the first as its message part after the prefix (the prefix
    // minus `first_prefix_cut` trailing characters), then continuation texts.
    std::size_t first_prefix_cut;
    std::string first;
    std::vector<std::string> continuations;
  };
  const Case cases[] = {
      {"exactly 120 at depth 0 stays one line", 0, Words({{'a', 60}, {'b', 59}}), 0,
       Words({{'a', 60}, {'b', 59}}), {}},
      {"121 at depth 0 wraps", 0, Words({{'a', 60}, {'b', 60}}), 0, Repeat('a', 60),
       {Repeat('b', 60)}},
      {"115 at depth 2 wraps", 6, Words({{'a', 57}, {'b', 57}}), 0, Repeat('a', 57),
       {Repeat('b', 57)}},
      {"continuations keep their last space", 0,
       Words({{'a', 100}, {'b', 100}, {'c', 50}}), 0, Repeat('a', 100),
       {Repeat('b', 100) + " ", Repeat('c', 50)}},
      {"space as the 120th character", 0, Repeat('a', 119) + " " + Repeat('b', 5), 0,
       Repeat('a', 119), {Repeat('b', 5)}},
      {"no space: the cut falls in the prefix", 3, Repeat('x', 130), 1, "",
       {Repeat('x', 120), Repeat('x', 10)}},
      {"a continuation without a space takes 120", 0,
       Repeat('a', 10) + " " + Repeat('b', 250), 0, Repeat('a', 10),
       {Repeat('b', 120), Repeat('b', 120), Repeat('b', 10)}},
      {"deep record shorter than the first line", 30, Words({{'a', 60}, {'b', 40}}), 0,
       Repeat('a', 60), {Repeat('b', 40)}},
      {"message ending in its only space", 30, Repeat('a', 100) + " ", 0, Repeat('a', 100), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string prefix = Prefix(kDiagnosticTag, c.indent);
    const std::string record = BuildDebugRecord(kStamp, kDiagnosticTag, c.indent, c.message);
    const std::vector<std::string> lines = WrapDebugRecord(record, c.indent);
    ASSERT_EQ(lines.size(), 1 + c.continuations.size());
    EXPECT_EQ(lines[0], prefix.substr(0, prefix.size() - c.first_prefix_cut) + c.first);
    for (std::size_t i = 0; i < c.continuations.size(); ++i) {
      EXPECT_EQ(lines[i + 1], std::string(33 + c.indent, ' ') + c.continuations[i]);
    }
  }
}

TEST(WrapDebugRecord, NoLineExceedsTheLineBuffer) {
  for (std::size_t indent : {0u, 3u, 6u, 45u}) {
    for (std::size_t length : {121u, 200u, 241u, 500u, 2046u}) {
      std::string message;
      for (std::size_t i = 0; i < length; ++i) message.push_back(i % 7 == 6 ? ' ' : 'w');
      const std::string record = BuildDebugRecord(kStamp, kDeveloperTag, indent, message);
      std::string rebuilt;
      for (const std::string& line : WrapDebugRecord(record, indent)) {
        EXPECT_LE(line.size(), indent + 153);
        rebuilt += line.size() > 33 + indent ? line.substr(33 + indent) : "";
      }
      // Only the space at the first cut is dropped.
      std::string expected = message;
      expected.erase(expected.rfind(' ', 119), 1);
      EXPECT_EQ(rebuilt, expected) << "indent " << indent << " length " << length;
    }
  }
}

TEST(ErrorLines, LongErrorRecordsAreCutToTheRecord) {
  const std::string message = Repeat('e', 3000);
  EXPECT_EQ(BuildErrorLogLine(kStamp, message).size(), MessageBuffer::kCapacity);
  EXPECT_EQ(BuildErrorDebugLine(kStamp, 9, message).size(), MessageBuffer::kCapacity);
  EXPECT_EQ(BuildErrorDebugLine(kStamp, 5000, "x").view(),
            Prefix(kErrorTag, MessageBuffer::kCapacity - 33));
  // An error message is never wrapped, however long.
  const std::string line(BuildErrorLogLine(kStamp, Repeat('f', 300)).view());
  EXPECT_EQ(line, "12/06/26 08:30:00 TAVIX ERROR !!  " + Repeat('f', 300));
}

}  // namespace
