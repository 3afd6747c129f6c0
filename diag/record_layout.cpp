// The text of log records, independent of files, clock and debugger.
#include "diag/record_layout.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "base/log_state.h"

namespace {

// Appends `count` spaces, as many as the record still holds.
void AppendSpacesCut(MessageBuffer& out, std::size_t count) {
  constexpr std::string_view kSpaces = "                                ";
  while (count > 0 && out.size() < MessageBuffer::kCapacity) {
    const std::size_t piece = std::min(count, kSpaces.size());
    out.append_cut(kSpaces.substr(0, piece));
    count -= piece;
  }
}

// Date, space, time, " TAVIX ", tag: the common start of every line.
void FormatLinePrefix(MessageBuffer& out, const RecordStamp& stamp, std::string_view tag) {
  out.format_cut("%s %s TAVIX %.*s", stamp.date.c_str(), stamp.time.c_str(),
                 static_cast<int>(tag.size()), tag.data());
}

}  // namespace

RecordStamp MakeRecordStamp(const platform::LocalTime& local) {
  RecordStamp stamp;
  stamp.date.format_cut("%02d/%02d/%02d", local.month, local.day, local.year % 100);
  stamp.time.format_cut("%02d:%02d:%02d", local.hour, local.minute, local.second);
  return stamp;
}

std::string_view DebugRecordTag(std::int32_t level) {
  return level >= kDeveloperLevel ? kDeveloperTag : kDiagnosticTag;
}

std::optional<std::string> FormatRecordMessage(const char* format, va_list args) {
  va_list counting;
  va_copy(counting, args);
  const int length = std::vsnprintf(nullptr, 0, format, counting);
  va_end(counting);
  if (length < 0) return std::nullopt;
  try {
    std::string message(static_cast<std::size_t>(length), '\0');
    // The string's own terminator takes the formatter's final '\0'.
    std::vsnprintf(message.data(), message.size() + 1, format, args);
    return message;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void LimitDebugMessage(std::string& message) {
  if (message.size() <= kDebugMessageLimit) return;
  message.resize(kCutMessageLength);
  message.append(kCutMarker);
}

std::string BuildDebugRecord(const RecordStamp& stamp, std::string_view tag, std::size_t indent,
                             std::string_view message) {
  std::string record;
  record.reserve(kMessageColumn + indent + message.size());
  record.append(stamp.date.view()).append(" ").append(stamp.time.view());
  record.append(" TAVIX ").append(tag).append(" ");
  record.append(indent, ' ').append(message);
  return record;
}

std::vector<std::string> WrapDebugRecord(std::string_view record, std::size_t indent) {
  const std::size_t column = kMessageColumn + indent;
  const std::string_view message = record.substr(std::min(column, record.size()));
  if (message.size() + indent <= kWrapWidth) return {std::string(record)};

  std::vector<std::string> lines;
  // First line: the record up to the last space among its first 153 + indent
  // characters, without that space. The space before the message column always
  // exists, so a message without a space among its first 120 characters leaves the
  // first line with the prefix alone.
  const std::string_view head = record.substr(0, column + kWrapWidth);
  const std::size_t space = head.rfind(' ');
  lines.emplace_back(head.substr(0, space));
  std::size_t position = space + 1 > column ? space + 1 - column : 0;

  // Continuation lines of at most 120 message characters, each cut just after its
  // last space (which stays on the line) when it has one.
  const std::string margin(column, ' ');
  while (message.size() - position > kWrapWidth) {
    const std::string_view piece = message.substr(position, kWrapWidth);
    const std::size_t last_space = piece.rfind(' ');
    const std::size_t taken = last_space == std::string_view::npos ? kWrapWidth : last_space + 1;
    lines.push_back(margin + std::string(piece.substr(0, taken)));
    position += taken;
  }
  if (position < message.size()) lines.push_back(margin + std::string(message.substr(position)));
  return lines;
}

MessageBuffer BuildErrorLogLine(const RecordStamp& stamp, std::string_view message) {
  MessageBuffer line;
  FormatLinePrefix(line, stamp, kErrorTag);
  line.append_cut("  ");
  line.append_cut(message);
  return line;
}

MessageBuffer BuildErrorDebugLine(const RecordStamp& stamp, std::size_t indent,
                                  std::string_view message) {
  MessageBuffer line;
  FormatLinePrefix(line, stamp, kErrorTag);
  line.append_cut(" ");
  AppendSpacesCut(line, indent);
  line.append_cut(message);
  return line;
}
