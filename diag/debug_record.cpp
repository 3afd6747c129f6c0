// Debug records: the core writer, its level-gated front ends and the entry/exit
// traces with the nesting depth they maintain.
#include <cstdarg>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "diag/log.h"
#include "diag/log_output.h"
#include "diag/record_layout.h"
#include "base/launcher.h"

bool DebugLoggingOn(const Launcher& l) { return l.log.DebugLevel > 0 && l.log.LoggingEnabled; }

namespace {

// The text forms still pass their text through the formatter (a "%%" becomes "%").
void WriteDebugRecordText(Launcher& l, std::int32_t level, const char* text, ...) {
  va_list args;
  va_start(args, text);
  WriteDebugRecord(l, level, text, args);
  va_end(args);
}

// The wrapped lines are all built before the first is written, so a record whose
// lines cannot be allocated leaves no partial trace in the file.
void AppendWrappedRecord(Launcher& l, std::string_view record, std::size_t indent) {
  try {
    const std::vector<std::string> lines = WrapDebugRecord(record, indent);
    for (const std::string& line : lines) AppendLogLine(l, l.log.DebugLogPath, line);
  } catch (const std::bad_alloc&) {
    // No line of this record reaches the file.
  }
}

}  // namespace

void WriteDebugRecord(Launcher& l, std::int32_t level, const char* format, va_list args) {
  if (level > l.log.DebugLevel) return;
  const std::size_t indent = kIndentPerDepth * static_cast<std::size_t>(l.log.LogNestingDepth);

  std::optional<std::string> message = FormatRecordMessage(format, args);
  if (!message) return;
  try {
    LimitDebugMessage(*message);
    const std::string record =
        BuildDebugRecord(CurrentRecordStamp(l), DebugRecordTag(level), indent, *message);
    if (l.log.LoggingEnabled) AppendWrappedRecord(l, record, indent);
    // The debugger sees every record at the level in force, logs open or not.
    SendToDebugger(l, record);
  } catch (const std::bad_alloc&) {
    // The record is dropped.
  }
}

void log_detail::DebugLog(Launcher& l, const char* format, ...) {
  if (!DebugLoggingOn(l)) return;
  va_list args;
  va_start(args, format);
  WriteDebugRecord(l, kDiagnosticLevel, format, args);
  va_end(args);
}

void DebugLogText(Launcher& l, ConstantText text) {
  if (!DebugLoggingOn(l)) return;
  WriteDebugRecordText(l, kDiagnosticLevel, text.c_str());
}

// Developer records pass even before the logs are open, so that a debugger attached
// to an early developer-level run sees them.
void log_detail::DebugLogLevel(Launcher& l, std::int32_t level, const char* format, ...) {
  if (!DebugLoggingOn(l) && level != kDeveloperLevel) return;
  va_list args;
  va_start(args, format);
  WriteDebugRecord(l, level, format, args);
  va_end(args);
}

void DebugLogDetailText(Launcher& l, ConstantText text) {
  WriteDebugRecordText(l, kDeveloperLevel, text.c_str());
}

void RaiseLogNesting(Launcher& l) { ++l.log.LogNestingDepth; }

void LowerLogNesting(Launcher& l) {
  if (l.log.LogNestingDepth > 0) --l.log.LogNestingDepth;
}

// Traces are developer detail: they appear above the diagnostic level only, while
// the depth follows every traced routine whatever the level.
void TraceEnter(Launcher& l, const char* routine) {
  if (l.log.DebugLevel > kDiagnosticLevel) DebugLogLevel(l, kDeveloperLevel, "@ %s() {", routine);
  RaiseLogNesting(l);
}

void TraceExit(Launcher& l, const char* routine) {
  LowerLogNesting(l);
  if (l.log.DebugLevel > kDiagnosticLevel) DebugLogLevel(l, kDeveloperLevel, "@ } %s", routine);
}

void TraceBlockEnter(Launcher& l, const char* block) {
  if (l.log.DebugLevel > kDiagnosticLevel) {
    DebugLogLevel(l, kDeveloperLevel, "# Entered \"%s\" {", block);
  }
  RaiseLogNesting(l);
}

void TraceBlockExit(Launcher& l, const char* block) {
  LowerLogNesting(l);
  if (l.log.DebugLevel > kDiagnosticLevel) {
    DebugLogLevel(l, kDeveloperLevel, "# } Exited \"%s\"", block);
  }
}
