// The process-wide logging state.
#pragma once

#include <cstdint>

#include "base/fixed_string.h"

inline constexpr std::int32_t kDiagnosticLevel = 1;
inline constexpr std::int32_t kDeveloperLevel = 100;

struct LogState {
  std::int32_t DebugLevel = 0;  // 0 off, 1 diagnostic, 100 developer
  bool LevelFromRegistry = false;
  bool LoggingEnabled = false;
  std::int32_t LogNestingDepth = 0;
  std::int32_t ErrorRecordCount = 0;
  PathBuffer ErrorLogPath;
  PathBuffer DebugLogPath;
};
