// Where log records go: the log files, appended line by line and never held open,
// and an attached debugger.
#pragma once

#include <string_view>

#include "diag/record_layout.h"
#include "base/fixed_string.h"

struct Launcher;

// Opens the file for appending, writes `line` and a newline, closes it again. A file
// that cannot be opened (or a path that could not be built) loses the line: there is
// nowhere to report it.
void AppendLogLine(Launcher& l, const PathBuffer& path, std::string_view line);

// Deletes an old log; a missing or locked file is left as it is.
void DeleteLogFile(Launcher& l, const PathBuffer& path);

// Sends a record to an attached debugger, followed by a separate newline.
void SendToDebugger(Launcher& l, std::string_view record);

// Date and time of a record, from the local clock.
RecordStamp CurrentRecordStamp(Launcher& l);
