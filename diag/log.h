// The debug, error and preload logs.
//
// Records are appended line by line to files in the launcher's folder; the files are
// never held open. Debug records are written only while a debug level above 0 is in
// force; error records always raise ErrorRecordCount, logged or not.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string_view>

#include "base/printf_format.h"

struct Launcher;

// Sets the log paths and the level, deletes or keeps old logs and writes the banner.
// `folder` ends with a backslash. Always true.
bool OpenLogFiles(Launcher& l, std::string_view folder);

void WriteDebugRecord(Launcher& l, std::int32_t level, const char* format, va_list args);
void WriteErrorRecord(Launcher& l, const char* format, va_list args);

// Whether DebugLog writes a record: a debug level is in force and the logs are open.
bool DebugLoggingOn(const Launcher& l);

// The writers behind the front ends below, which have already matched the format
// against its arguments; not for direct use.
namespace log_detail {
void DebugLog(Launcher& l, const char* format, ...);
void DebugLogLevel(Launcher& l, std::int32_t level, const char* format, ...);
void ErrorLog(Launcher& l, const char* format, ...);
}  // namespace log_detail

// Formats are literals checked against their arguments when compiled (see
// launcher/printf_format.h); outside text is always an argument.
template <class... Args>
void DebugLog(Launcher& l, FormatFor<Args...> format, Args... args) {
  log_detail::DebugLog(l, format.c_str(), args...);
}
template <class... Args>
void DebugLogLevel(Launcher& l, std::int32_t level, FormatFor<Args...> format, Args... args) {
  log_detail::DebugLogLevel(l, level, format.c_str(), args...);
}
template <class... Args>
void ErrorLog(Launcher& l, FormatFor<Args...> format, Args... args) {
  log_detail::ErrorLog(l, format.c_str(), args...);
}

// The text forms still pass their text through the formatter ("%%" becomes "%"), so
// they take only fixed texts without conversions.
void DebugLogText(Launcher& l, ConstantText text);
void DebugLogDetailText(Launcher& l, ConstantText text);
void ErrorLogText(Launcher& l, ConstantText text);

void TraceEnter(Launcher& l, const char* routine);
void TraceExit(Launcher& l, const char* routine);
void TraceBlockEnter(Launcher& l, const char* block);
void TraceBlockExit(Launcher& l, const char* block);

// One nesting level deeper for the work done on behalf of a step; never below 0.
void RaiseLogNesting(Launcher& l);
void LowerLogNesting(Launcher& l);

// Raises the nesting depth for its lifetime.
class LogNestingScope {
 public:
  explicit LogNestingScope(Launcher& l) : l_(l) { RaiseLogNesting(l_); }
  ~LogNestingScope() { LowerLogNesting(l_); }
  LogNestingScope(const LogNestingScope&) = delete;
  LogNestingScope& operator=(const LogNestingScope&) = delete;

 private:
  Launcher& l_;
};

// TraceEnter on construction, TraceExit on every way out.
class TraceScope {
 public:
  TraceScope(Launcher& l, const char* routine) : l_(l), routine_(routine) { TraceEnter(l_, routine_); }
  ~TraceScope() { TraceExit(l_, routine_); }
  TraceScope(const TraceScope&) = delete;
  TraceScope& operator=(const TraceScope&) = delete;

 private:
  Launcher& l_;
  const char* routine_;
};
