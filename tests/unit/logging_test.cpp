// The logs on a simulated workstation: which files are opened, deleted and kept,
// what each record looks like in them, what an attached debugger receives, and the
// logged heap and handle helpers.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "diag/heap_helpers.h"
#include "diag/log.h"
#include "diag/record_layout.h"
#include "base/launcher.h"
#include "test_machine.h"
#include "tests/support/test_text.h"

namespace {

using unit::kDebugLog;
using unit::kErrorLog;
using unit::kFolder;
using unit::kPreloadLog;
using unit::Prefix;
using test_support::Has;
using test_support::Pointer;

const std::string kRule(119, '-');

// The six banner lines as the debug log holds them.
std::string Banner() {
  const std::string p = Prefix("DEBUG   ");
  return p + " \r\n" + p + kRule + "\r\n" + p + "Portavel Desktop Launcher v1.2.3.4\r\n" + p +
         " \r\n" + p + "Copyright (C) 2026 Veltrix Solutions Inc.\r\n" + p + kRule + "\r\n";
}

std::string Line(std::string_view tag, std::size_t depth, std::string_view message) {
  return Prefix(tag, depth) + std::string(message) + "\r\n";
}

// A launcher whose logs a test opens itself.
struct LoggedRun : unit::LoggedRun {
  explicit LoggedRun(const std::string& ini = "") : unit::LoggedRun(ini, unit::kNoLogging) {}
};

TEST(OpenLogFiles, WithoutDebugLevelNoFileIsTouchedAndErrorsOnlyCount) {
  LoggedRun run("[launcher]\ndebugger = true\n");
  run.machine.PutFile(kDebugLog, "previous run\r\n");
  run.machine.PutFile(kErrorLog, "previous errors\r\n");

  ErrorLog(run.l, "Early: failed %d", 1);  // before the logs are opened
  EXPECT_TRUE(OpenLogFiles(run.l, kFolder));
  DebugLog(run.l, "Routine: step");
  DebugLogLevel(run.l, kDeveloperLevel, "Routine: detail");
  ErrorLogText(run.l, "Routine: failed");

  EXPECT_EQ(std::tie(run.l.log.LoggingEnabled, run.l.log.DebugLevel, run.l.log.ErrorRecordCount),
            std::make_tuple(false, 0, 2));
  EXPECT_EQ(run.machine.File(kDebugLog), "previous run\r\n");
  EXPECT_EQ(run.machine.File(kErrorLog), "previous errors\r\n");
  EXPECT_FALSE(run.machine.File(kPreloadLog));
  EXPECT_EQ(run.machine.Debugger(), "");
  // The paths are known all the same (the instance file names them).
  EXPECT_EQ(run.l.log.DebugLogPath.view(), kDebugLog);
}

// The switches and the registry set the level; old logs are deleted unless appending.
// A preload starts a fresh log of its own at level 1 whatever else says, and keeps the
// other logs.
TEST(OpenLogFiles, SwitchesRegistryAndPreloadSetTheLevelAndKeepOrDeleteTheOldLogs) {
  struct Case {
    const char* name;
    bool preload, developer, diagnostic, append;
    std::int32_t registry_level, level;
  };
  const Case cases[] = {
      {"-d", false, false, true, false, 0, 1},
      {"registry 5 -d -kl", false, false, true, true, 5, 5},
      {"registry 5 -d100", false, true, false, false, 5, 100},
      {"registry 200 -d100", false, true, false, false, 200, 200},
      {"plain preload", true, false, false, false, 0, 1},
      {"preload -kl", true, false, false, true, 0, 1},
      {"preload with everything", true, true, true, true, 100, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoggedRun run;
    run.machine.PutFile(kPreloadLog, "previous preload\r\n");
    run.machine.PutFile(kErrorLog, "previous errors\r\n");
    run.machine.PutFile(kDebugLog, "previous debug\r\n");
    run.l.run.PreloadMode = c.preload;
    run.l.run.DeveloperDebugLogging = c.developer;
    run.l.run.DiagnosticLogging = c.diagnostic;
    run.l.run.AppendLogFiles = c.append;
    run.l.log.DebugLevel = c.registry_level;

    OpenLogFiles(run.l, kFolder);
    // A deleted error log comes back with the first error only.
    const std::optional<std::string> old_errors =
        c.append || c.preload ? std::optional<std::string>("previous errors\r\n") : std::nullopt;
    EXPECT_EQ(run.machine.File(kErrorLog), old_errors);
    DebugLogLevel(run.l, kDeveloperLevel, "Routine: developer detail");
    ErrorLogText(run.l, "Routine: failed");

    EXPECT_EQ(std::tie(run.l.log.DebugLevel, run.l.log.LoggingEnabled), std::make_tuple(c.level, true));
    const std::string_view log = c.preload ? kPreloadLog : kDebugLog;
    EXPECT_EQ(run.l.log.DebugLogPath.view(), log);
    const std::string developer_record =
        c.level >= kDeveloperLevel ? Line("DEBUG X ", 0, "Routine: developer detail") : "";
    EXPECT_EQ(run.machine.File(log), (c.append && !c.preload ? "previous debug\r\n" : "") + Banner() +
                                         developer_record + Line("ERROR !!", 0, "Routine: failed"));
    EXPECT_EQ(run.machine.File(kErrorLog), old_errors.value_or("") + Prefix("ERROR !!") + " Routine: failed\r\n");
    // The log the run does not write is left as it was.
    EXPECT_EQ(run.machine.File(c.preload ? kDebugLog : kPreloadLog),
              c.preload ? "previous debug\r\n" : "previous preload\r\n");
  }
}

TEST(OpenLogFiles, LocalTimeOfTheMachineStampsTheRecords) {
  // In [machine]: 08:30 UTC is 07:00 local.
  unit::LoggedRun run("utc_offset = -90\n", unit::kDiagnostic);
  EXPECT_EQ(run.machine.File(kDebugLog)->substr(0, 33), "12/06/26 07:00:00 TAVIX DEBUG    ");
}

TEST(ErrorRecords, ErrorLogUnindentedDebugLogIndented) {
  unit::LoggedRun run("[launcher]\ndebugger = true\n", unit::kDiagnostic);
  const std::string banner_to_debugger = run.machine.Debugger();

  RaiseLogNesting(run.l);
  ErrorLog(run.l, "Routine: Failed to open \"%s\"; %s", "C:\\x.dat", "[WIN32 0x00000005/C0005]");

  const std::string message = "Routine: Failed to open \"C:\\x.dat\"; [WIN32 0x00000005/C0005]";
  EXPECT_EQ(run.machine.File(kErrorLog), Prefix("ERROR !!") + " " + message + "\r\n");
  EXPECT_EQ(run.machine.File(kDebugLog), Banner() + Line("ERROR !!", 1, message));
  EXPECT_EQ(run.machine.Debugger(), banner_to_debugger + Prefix("ERROR !!", 1) + message + "\n");
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
}

// At the diagnostic level the traces write nothing but still set the depth.
TEST(DebugRecords, AboveTheLevelInForceNothingIsWrittenButTracesStillNest) {
  unit::LoggedRun run("[launcher]\ndebugger = true\n", unit::kDiagnostic);
  const std::string debugger = run.machine.Debugger();

  DebugLogLevel(run.l, kDeveloperLevel, "Routine: handle %d", 7);
  DebugLogDetailText(run.l, "Routine: detail");
  TraceEnter(run.l, "Routine");
  DebugLogText(run.l, "Routine: step");
  TraceExit(run.l, "Routine");

  EXPECT_EQ(run.machine.File(kDebugLog), Banner() + Line("DEBUG   ", 1, "Routine: step"));
  EXPECT_EQ(run.machine.Debugger(), debugger + Prefix("DEBUG   ", 1) + "Routine: step\n");
  EXPECT_EQ(run.l.log.LogNestingDepth, 0);
}

TEST(DebugRecords, DebuggerGetsTheUnwrappedRecord) {
  unit::LoggedRun run("[launcher]\ndebugger = true\n");
  const std::string before_file = *run.machine.File(kDebugLog);
  const std::string before_debugger = run.machine.Debugger();

  std::string message = "Routine:";
  while (message.size() < 300) message += " word";
  RaiseLogNesting(run.l);
  RaiseLogNesting(run.l);
  DebugLogLevel(run.l, kDeveloperLevel, "%s", message.c_str());

  const std::string record = Prefix("DEBUG X ", 2) + message;
  std::string wrapped;
  for (const std::string& line : WrapDebugRecord(record, 6)) wrapped += line + "\r\n";
  EXPECT_EQ(run.machine.File(kDebugLog), before_file + wrapped);
  EXPECT_EQ(run.machine.Debugger(), before_debugger + record + "\n");
}

TEST(DebugRecords, DeveloperRecordsReachTheDebuggerBeforeTheLogsOpen) {
  LoggedRun run("[launcher]\ndebugger = true\n");
  run.l.log.DebugLevel = 100;  // from the registry, logs not yet open
  DebugLogLevel(run.l, kDeveloperLevel, "InitParams: len=%d", 4);
  DebugLog(run.l, "Routine: diagnostic");
  EXPECT_EQ(run.machine.Debugger(), Prefix("DEBUG X ") + "InitParams: len=4\n");
  EXPECT_FALSE(run.machine.File(kDebugLog));
}

TEST(DebugRecords, OverlongMessageIsCutWithAMarker) {
  unit::LoggedRun run("[launcher]\ndebugger = true\n", unit::kDiagnostic);
  DebugLog(run.l, "%s", std::string(2047, 'm').c_str());
  EXPECT_TRUE(Has(run.machine.Debugger(), std::string(2040, 'm') + " (...)\n"));
}

TEST(Tracing, EntryAndExitRecordsAndDepth) {
  unit::LoggedRun run;

  TraceExit(run.l, "Unbalanced");  // at depth 0
  EXPECT_EQ(run.l.log.LogNestingDepth, 0);
  TraceEnter(run.l, "Outer");
  TraceBlockEnter(run.l, "Block");
  DebugLog(run.l, "Outer: inside");
  TraceBlockExit(run.l, "Block");
  TraceExit(run.l, "Outer");
  LowerLogNesting(run.l);
  EXPECT_EQ(run.l.log.LogNestingDepth, 0);

  EXPECT_EQ(run.machine.File(kDebugLog),
            Banner() + Line("DEBUG X ", 0, "@ } Unbalanced") + Line("DEBUG X ", 0, "@ Outer() {") +
                Line("DEBUG X ", 1, "# Entered \"Block\" {") + Line("DEBUG   ", 2, "Outer: inside") +
                Line("DEBUG X ", 1, "# } Exited \"Block\"") + Line("DEBUG X ", 0, "@ } Outer"));
}

TEST(HeapHelpers, SecondReleaseIsRecordedAndDoesNotReachTheHeap) {
  // A second HeapFree would fail and leave an error record.
  unit::LoggedRun run("[fail]\nHeapFree = 2\n");
  char* block = nullptr;
  ASSERT_TRUE(HeapAllocHlpr(run.l, &block, 16, "Table"));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[15], 0);  // zero-filled
  const std::string address = Pointer(&block);
  const std::string allocated = Pointer(block);

  for (int release = 0; release < 2; ++release) {
    HeapFreeHlpr(run.l, &block, "Table");
    EXPECT_EQ(static_cast<void*>(block), ReleasedPointer());
  }

  const std::string log = *run.machine.File(kDebugLog);
  const std::string released = Pointer(ReleasedPointer());
  EXPECT_EQ(test_support::CountLines(test_support::SplitLines(log), "Freeing"), 1u);
  EXPECT_TRUE(Has(log, "HeapFreeHlpr: Freeing heap allocated memory for Table at address " + allocated + " (" +
                           address + ")\r\n"));
  EXPECT_TRUE(Has(log, "HeapFreeHlpr: Allocated memory for Table is already free. (INVALID_HANDLE_VALUE): " +
                           released + " (" + address + ")\r\n"));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(HeapHelpers, AFailedAllocationAndNullArgumentsAreErrors) {
  unit::LoggedRun run("[fail]\nHeapAlloc = 1:8\nHeapFree = 1\n");
  int* table = nullptr;
  EXPECT_FALSE(HeapAllocHlpr(run.l, &table, 64, "Table"));
  EXPECT_EQ(table, nullptr);
  EXPECT_FALSE(HeapAllocHlpr(run.l, static_cast<void**>(nullptr), 8, "Table"));
  HeapFreeHlpr(run.l, static_cast<void**>(nullptr), nullptr);
  // A variable that was never allocated is not handed to the heap, where it would fail.
  void* never_allocated = nullptr;
  HeapFreeHlpr(run.l, &never_allocated, "Table");
  EXPECT_EQ(never_allocated, nullptr);

  EXPECT_EQ(run.l.log.ErrorRecordCount, 3);
  const std::string error = Prefix("ERROR !!") + " ";
  EXPECT_EQ(run.machine.File(kErrorLog),
            error + "HeapAllocHlpr: Failed to allocate heap memory for Table (size requested=64); "
                    "[WIN32 0x00000008/C0008] Not enough memory resources are available to process this command. \r\n" +
                error + "HeapAllocHlpr: Pointer to be used for memory allocation for Table is invalid. (nullptr)\r\n" +
                error + "HeapFreeHlpr: Pointer to allocated memory is invalid. (nullptr)\r\n");
  EXPECT_TRUE(Has(run.machine.File(kDebugLog).value_or(""), "HeapFreeHlpr: Allocated memory for Table is already free."));
}

TEST(CloseAndDestroyHandle, ClosesOnceThenRecordsAlreadyFree) {
  unit::LoggedRun run;
  run.machine.PutFile("C:\\Portavel\\held.dat", "x");
  auto open = [&] {
    return run.l.os.files.CreateFile("C:\\Portavel\\held.dat", platform::kGenericRead, 0, platform::kOpenExisting,
                                     platform::kFileAttributeNormal);
  };
  platform::Handle file = open();
  ASSERT_NE(file, platform::kInvalidHandle);
  const std::string held = Pointer(reinterpret_cast<void*>(file));
  const std::string address = Pointer(&file);
  const std::size_t before = run.machine.File(kDebugLog)->size();
  CloseAndDestroyHandle(run.l, file, "hFile");
  EXPECT_EQ(file, platform::kInvalidHandle);
  CloseAndDestroyHandle(run.l, file, "hFile");
  EXPECT_NE(open(), platform::kInvalidHandle);  // the file is no longer held

  EXPECT_EQ(run.machine.File(kDebugLog)->substr(before),
            Line("DEBUG X ", 0, "CloseAndDestroyHandle: Closing hFile=" + held + " (" + address + ")") +
                Line("DEBUG X ", 0, "CloseAndDestroyHandle: Handle hFile is already free. (INVALID_HANDLE_VALUE): " +
                                        Pointer(ReleasedPointer()) + " (" + address + ")"));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

}  // namespace
