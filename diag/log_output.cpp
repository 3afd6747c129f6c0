// Where log records go: the log files and an attached debugger.
#include "diag/log_output.h"

#include <new>
#include <string>

#include "base/launcher.h"

void AppendLogLine(Launcher& l, const PathBuffer& path, std::string_view line) {
  if (path.empty()) return;
  try {
    std::string text;
    text.reserve(line.size() + 1);
    text.append(line).append("\n");
    l.os.files.AppendToFile(path.view(), text);
  } catch (const std::bad_alloc&) {
    // The line is lost like a line whose file cannot be opened.
  }
}

void DeleteLogFile(Launcher& l, const PathBuffer& path) {
  if (path.empty()) return;
  l.os.files.DeleteFile(path.view());
}

void SendToDebugger(Launcher& l, std::string_view record) {
  if (!l.os.system.IsDebuggerPresent()) return;
  l.os.system.OutputDebugString(record);
  l.os.system.OutputDebugString("\n");
}

RecordStamp CurrentRecordStamp(Launcher& l) { return MakeRecordStamp(l.os.system.GetLocalTime()); }
