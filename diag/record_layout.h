// The text of log records: date and time prefix, tags, indentation, the message
// limit and the wrapping of long debug records into lines of the log file.
//
// Pure functions: no file, clock or debugger is touched here, so the layout can be
// checked column by column without a machine.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "platform/types.h"

// Column at which the message of a debug record starts at nesting depth 0; every
// depth adds three spaces of indentation.
inline constexpr std::size_t kMessageColumn = 33;
inline constexpr std::size_t kIndentPerDepth = 3;
// Message characters per line of a wrapped debug record.
inline constexpr std::size_t kWrapWidth = 120;
// Longest message of a debug record; a longer one keeps its first kCutMessageLength
// characters followed by kCutMarker.
inline constexpr std::size_t kDebugMessageLimit = 2046;
inline constexpr std::size_t kCutMessageLength = 2040;
inline constexpr std::string_view kCutMarker = " (...)";

// The three tags, exactly 8 characters each.
inline constexpr std::string_view kDiagnosticTag = "DEBUG   ";
inline constexpr std::string_view kDeveloperTag = "DEBUG X ";
inline constexpr std::string_view kErrorTag = "ERROR !!";

// Date "MM/DD/YY" and time "HH:MM:SS" (24-hour clock) of a record.
struct RecordStamp {
  FixedString<9> date;
  FixedString<9> time;
};

RecordStamp MakeRecordStamp(const platform::LocalTime& local);

// "DEBUG X " for the developer level (100 and above), "DEBUG   " below it.
std::string_view DebugRecordTag(std::int32_t level);

// printf into a string of exactly the formatted length; nothing when the format
// fails or the memory cannot be obtained (the record is then dropped).
std::optional<std::string> FormatRecordMessage(const char* format, va_list args);

// Applies the debug message limit.
void LimitDebugMessage(std::string& message);

// Date, space, time, " TAVIX ", tag, space, `indent` spaces, message.
std::string BuildDebugRecord(const RecordStamp& stamp, std::string_view tag, std::size_t indent,
                             std::string_view message);

// The lines of the debug log that hold `record` (as built by BuildDebugRecord with
// `indent`): the record itself when message and indentation fit in 120 characters,
// otherwise a first line cut at its last space and continuation lines of at most 120
// message characters, each indented to the message column.
std::vector<std::string> WrapDebugRecord(std::string_view record, std::size_t indent);

// The error writer builds its lines in 2,048-character records. A longer line is cut
// to the record: an error message that long comes only from an unusual path or file
// name, and its beginning (routine and reason) is what the reader needs.
//
// Error-log line: date, time, " TAVIX ", "ERROR !!", two spaces, message; no
// indentation.
MessageBuffer BuildErrorLogLine(const RecordStamp& stamp, std::string_view message);
// The same record in the debug log: laid out like a debug record with the error tag
// and the indentation of the current depth, never wrapped.
MessageBuffer BuildErrorDebugLine(const RecordStamp& stamp, std::size_t indent,
                                  std::string_view message);
