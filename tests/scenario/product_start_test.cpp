// Scenario tests of the product's start: the instance file handed to the product with
// -i (and the legacy command line when it cannot be written), a product whose
// folder is missing, and the COM library opened and closed around the run.
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

// A shipping clerk without administrator rights on a Windows 10 22H2 Pro workstation.
void ClerksWorkstation(Machine& m) {
  m.Append("machine.ini",
           "computer_name = SHIPPING07\n"
           "[user]\nname = mfeldt\nadministrators_member = false\n"
           "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary\nbest_interface = 11\n");
  m.Write("registry.reg", "");
}

TEST(InstanceFile, TheProductGetsItsPathInQuotesAndTheFileDescribesTheRun) {
  Machine m;
  ClerksWorkstation(m);
  RunResult run = m.Run("-d -i clear Batch");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  EXPECT_EQ(ReadText(m.C("Portavel/instance.t1")),
            "[INSTANCE]\r\n"
            "LAUNCHER=TAVIX\r\n"
            "TAVIX=C:\\Portavel\\Tavix.exe\r\n"
            "TAVIXVER=1.0.0.0\r\n"
            "TAVIXTYPE=32\r\n"
            "ARGS=-d -i clear Batch\r\n"
            "CMDLINE=CLEAR,BATCH\r\n"
            "WFOLDER=C:\\Portavel\r\n"
            "[ENVIRONMENT]\r\n"
            "WINDIR=C:\\Windows\\\r\n"
            "SYSDIR=C:\\Windows\\System32\\\r\n"
            "USERDIR=C:\\Users\\mfeldt\\AppData\\Local\\\r\n"
            "PROGDATADIR=C:\\ProgramData\\Veltrix\\\r\n"
            "TCACHEPARENTDIR=C:\\Users\\mfeldt\\AppData\\Local\\Norvane\\Portavel\\\r\n"
            "TAVIXDEBUGLOG=C:\\Portavel\\TavixDebug.log\r\n"
            "TAVIXERRORLOG=C:\\Portavel\\TavixError.log\r\n"
            "[METRICS]\r\n"
            "USERNAME=mfeldt\r\n"
            "OSNAME=Windows 10 Professional 22H2 (2022 Update)\r\n"
            "OSVERSION=10.0.19045\r\n"
            "COMPUTERNAME=SHIPPING07\r\n"
            "CPUNAME=Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz\r\n"
            "IPADDRESS=192.168.20.57\r\n"
            "ISUSERLOCALADMIN=N\r\n"
            "ISUSERDOMAINADMIN=N\r\n"
            "ISPROCESSELEVATED=N\r\n"
            "ISUACENABLED=Y\r\n"
            "ADMININVOKED=N\r\n");
  EXPECT_EQ(m.Lines("processes.log"),
            std::vector<std::string>{"CREATE app=\"C:\\Portavel\\tsystem1.exe\" "
                                     "cmdline=\"\"\"C:\\Portavel\\instance.t1\"\" CLEAR BATCH\" cwd=\"C:\\Portavel\" show=0 flags=0x00000208"});
  const auto log = m.DebugLog();
  EXPECT_TRUE(Contains(log, "WinMain: Using instance file, created \"C:\\Portavel\\instance.t1\"."));
  EXPECT_FALSE(Contains(log, "legacy"));
  // The COM library is opened last in the set-up, before the mode, and closed at the end.
  const std::size_t init = FindLine(log, "InitCOM: Standard COM library initialized.");
  const std::size_t dispose = FindLine(log, "DisposeCOM: Standard COM library disposed.");
  ASSERT_LT(dispose + 1, log.size());
  EXPECT_EQ(init + 1, FindLine(log, "WinMain: Standard Start."));
  EXPECT_LT(FindLine(log, "Initialize: Application executing from"), init);
  EXPECT_EQ(MessageOf(log.at(dispose + 1)), "Ending launcher application with exit code 0.");
}

// Engine commands follow the launcher's path, in capitals, switches left out.
TEST(InstanceFile, WithoutTheSwitchNoFileIsWrittenAndNoLegacyRecord) {
  Machine m;
  ClerksWorkstation(m);
  m.Run("-d clear Batch -kl");
  EXPECT_FALSE(fs::exists(m.C("Portavel/instance.t1")));
  EXPECT_FALSE(Contains(m.DebugLog(), "legacy"));
  EXPECT_EQ(m.Lines("processes.log"),
            std::vector<std::string>{"CREATE app=\"C:\\Portavel\\tsystem1.exe\" "
                                     "cmdline=\"C:\\Portavel\\Tavix.exe CLEAR BATCH\" cwd=\"C:\\Portavel\" show=0 flags=0x00000208"});
}

// The causes of a failed creation are the instance file routine's own tests.
TEST(InstanceFile, WhenItCannotBeWrittenTheProductGetsTheLegacyCommandLine) {
  Machine m;
  ClerksWorkstation(m);
  fs::create_directories(m.C("Portavel/instance.t1"));
  RunResult run = m.Run("-d -i clear");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  EXPECT_TRUE(Contains(m.ErrorLog(), "Failed to create T1 instance file \"C:\\Portavel\\instance.t1\"; "
                                     "[ERRNO 0x0000000d/C0013] The data is invalid. "));
  EXPECT_TRUE(Contains(m.DebugLog(), "WinMain: Using legacy command line passing."));
  EXPECT_EQ(m.Lines("processes.log"),
            std::vector<std::string>{"CREATE app=\"C:\\Portavel\\tsystem1.exe\" "
                                     "cmdline=\"C:\\Portavel\\Tavix.exe CLEAR\" cwd=\"C:\\Portavel\" show=0 flags=0x00000208"});
}

TEST(ProductStart, AMissingFolderFailsWithThePathText) {
  Machine m;
  // The launcher's own folder is gone from the drive; its records reach the debugger.
  m.Append("machine.ini", "[launcher]\npath = C:\\Gone\\Tavix.exe\ndebugger = true\n");
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 110) << run.out << run.err;
  EXPECT_TRUE(m.Lines("processes.log").empty());
  const std::string debugger = m.Text("debugger.log");
  EXPECT_NE(debugger.find("ExecuteProcessEx: ERROR: The process has failed to start. The specified path was not "
                          "found.; [WIN32 0x00000003/C0003]"),
            std::string::npos)
      << debugger;
}

TEST(ComLibrary, AFailureIsReportedAndTheRunGoesOn) {
  Machine m;
  ClerksWorkstation(m);
  m.Append("machine.ini", "[fail]\nCoInitialize = 1:5\n");
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(Contains(m.ErrorLog(), "InitCOM: Unable to initialize the standard COM library on the current "
                                     "thread; [HRESULT 0x80070005/C0005] Access is denied. "));
  EXPECT_TRUE(Contains(m.DebugLog(), "DisposeCOM: Standard COM library disposed."));
  EXPECT_EQ(m.Lines("processes.log").size(), 1u);
}

}  // namespace
}  // namespace scenario
