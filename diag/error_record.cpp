// Error records: counted always, written to the error log once the logs are open
// and, while debug logging is on, also into the debug log at the current depth.
#include <cstdarg>
#include <optional>
#include <string>

#include "diag/log.h"
#include "diag/log_output.h"
#include "diag/record_layout.h"
#include "base/launcher.h"

namespace {

// The text form still passes its text through the formatter (a "%%" becomes "%").
void WriteErrorRecordText(Launcher& l, const char* text, ...) {
  va_list args;
  va_start(args, text);
  WriteErrorRecord(l, text, args);
  va_end(args);
}

}  // namespace

void WriteErrorRecord(Launcher& l, const char* format, va_list args) {
  ++l.log.ErrorRecordCount;
  // Runs without debug logging keep no error log; the count still reaches the verdict.
  if (!l.log.LoggingEnabled) return;

  const std::optional<std::string> message = FormatRecordMessage(format, args);
  if (!message) return;
  const RecordStamp stamp = CurrentRecordStamp(l);
  AppendLogLine(l, l.log.ErrorLogPath, BuildErrorLogLine(stamp, *message).view());

  if (l.log.DebugLevel <= 0) return;
  const std::size_t indent = kIndentPerDepth * static_cast<std::size_t>(l.log.LogNestingDepth);
  const MessageBuffer line = BuildErrorDebugLine(stamp, indent, *message);
  AppendLogLine(l, l.log.DebugLogPath, line.view());
  SendToDebugger(l, line.view());
}

void log_detail::ErrorLog(Launcher& l, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteErrorRecord(l, format, args);
  va_end(args);
}

void ErrorLogText(Launcher& l, ConstantText text) { WriteErrorRecordText(l, text.c_str()); }
