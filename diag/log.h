// The debug, error and preload logs.
//
// Records are appended line by line to files in the launcher's folder; the files are
// never held open. Debug records are written only while a debug level above 0 is in
// force; error records always raise ErrorRecordCount, logged or not.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

// Sets the log paths and the level, deletes or keeps old logs and writes the banner.
// `folder` ends with a backslash. Always true.
bool OpenLogFiles(Launcher& l, std::string_view folder);

void WriteDebugRecord(Launcher& l, std::int32_t level, const char* format, va_list args);
void WriteErrorRecord(Launcher& l, const char* format, va_list args);

void DebugLog(Launcher& l, const char* format, ...) PORTAVEL_PRINTF(2, 3);
void DebugLogText(Launcher& l, const char* text);
void DebugLogLevel(Launcher& l, std::int32_t level, const char* format, ...) PORTAVEL_PRINTF(3, 4);
void DebugLogDetailText(Launcher& l, const char* text);
void ErrorLog(Launcher& l, const char* format, ...) PORTAVEL_PRINTF(2, 3);
void ErrorLogText(Launcher& l, const char* text);

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
