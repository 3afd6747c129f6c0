// The standard start's check and repair of the configuration key, the program-data
// folder, the cache folder and win.ini: each location in each state, with and without
// the authority to repair it, and a second run after a repair.
#include <gtest/gtest.h>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

const std::string kElevatedAdmin = std::string(kMachineIni) + "[user]\ntoken_admin = true\nelevated = true\n";
const std::string kVista = "[os]\nmajor = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\nproduct_code = 6\n";
constexpr const char* kProgramData = "ProgramData/Veltrix";
constexpr const char* kCache = "Users/clerk/AppData/Local/Norvane/Portavel/_tcache1";

void RemoveKey(Machine& m) {
  m.Write("registry.reg", WindowsRegistryFile(kCurrentRuntimeKeys));
  m.Write("security.txt", "");
}

// Sets one location into a state; the others stay valid.
struct LocationCase {
  const char* name;
  void (*prepare)(Machine&);
  const char* finding;  // in the first run's debug log
  const char* repair;   // in the first run's debug log
  int errors;           // the first run's error records
  bool repairable;
  bool clerk_finds_fault = true;  // a standard user's run asks for the repair
};

const LocationCase kLocations[] = {
    {"AllValid", [](Machine&) {}, "InitConfigLocations: Configuration environment is valid.",
     "IsFileUnrestricted: Target \"C:\\Windows\\win.ini\" appears unrestricted.", 0, true, false},
    // The launcher's start creates the missing key for an administrator, with the rights
    // HKLM\SOFTWARE hands down.
    {"KeyMissing", RemoveKey,
     "CheckConfigRegistry: Couldn't validate Everyone access on key \"HKLM\\SOFTWARE\\Veltrix Solutions Inc.\"",
     "UpdateConfigRegistry: Registry tasks completed successfully.", 1, true},
    {"KeyForAdministrators",
     [](Machine& m) { m.Write("security.txt", "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KA;;;BA)(A;CI;KR;;;WD)\n"); },
     "CheckConfigRegistry: Everyone does not have full access to key \"HKLM\\SOFTWARE\\Veltrix Solutions Inc.\"; update is required.",
     "UpdateConfigRegistry: Removing registry key security.", 0, true},
    {"ProgramDataMissing", [](Machine& m) { fs::remove_all(m.C(kProgramData)); },
     "IsFolderUnrestricted: Folder \"C:\\ProgramData\\Veltrix\" does not exist.",
     "CreateUnrestrictedFolder: Created \"C:\\ProgramData\\Veltrix\" folder successfully.", 0, true},
    {"ProgramDataForAdministrators",
     [](Machine& m) { m.Append("security.txt", "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BA)(A;OICI;FR;;;WD)\n"); },
     "IsFolderUnrestricted: \"Everyone\" does not have full access to folder \"C:\\ProgramData\\Veltrix\".",
     "CreateUnrestrictedFolder: Modified security on existing \"C:\\ProgramData\\Veltrix\" folder.", 0, true},
    {"ProgramDataBlockedByAFile",
     [](Machine& m) {
       fs::remove_all(m.C(kProgramData));
       m.WriteC(kProgramData, "in the way");
     },
     "IsFolderUnrestricted: Folder \"C:\\ProgramData\\Veltrix\" does not exist.",
     "Tavix program data folder modification failed: Error while creating/modifying \"C:\\ProgramData\\Veltrix\"", 3,
     false},
    // The cache is the invoker's: an administrator holds it when it is restricted to them.
    {"CacheForAdministrators",
     [](Machine& m) { m.Append("security.txt", "C:\\Users\\clerk\\AppData\\Local\\Norvane\tD:(A;OICI;FA;;;BA)\n"); },
     "IsFolderUnrestricted: Folder \"C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1\" is unrestricted.",
     "InitConfigLocations: Configuration environment is valid.", 0, true},
    {"CacheBlockedByAFile",
     [](Machine& m) {
       fs::remove_all(m.C("Users/clerk/AppData/Local/Norvane"));
       m.WriteC("Users/clerk/AppData/Local/Norvane", "in the way");
     },
     "IsFolderUnrestricted: Folder \"C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1\" does not exist.",
     "UpdateCacheFolder failed: Error while creating/modifying \"C:\\Users\\clerk\\AppData\\Local\\Norvane\"", 2, false},
    {"CacheMissing", [](Machine& m) { fs::remove_all(m.C(kCache)); },
     "IsFolderUnrestricted: Folder \"C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1\" does not exist.",
     "UpdateCacheFolder: File system tasks completed successfully.", 0, false},
    {"WinIniMissing", [](Machine& m) { fs::remove(m.C("Windows/win.ini")); },
     "IsFileUnrestricted: File \"C:\\Windows\\win.ini\" does not exist or is blocked.",
     "InitConfigLocations: C:\\Windows\\win.ini appears to be blocked.", 2, false, false},
};

class Location : public ::testing::TestWithParam<LocationCase> {};

TEST_P(Location, IsFoundAndRepairedByAnAdministrator) {
  const LocationCase& c = GetParam();
  Machine m;
  m.Write("machine.ini", kElevatedAdmin);
  c.prepare(m);
  ASSERT_EQ(LastLine(m.Run("-d").out), "exit code 0");
  const std::string log = UnwrapDebugLog(m.Text("drives/C/Portavel/TavixDebug.log"));
  EXPECT_NE(log.find(c.finding), std::string::npos) << c.finding;
  EXPECT_NE(log.find(c.repair), std::string::npos) << c.repair;
  EXPECT_EQ(m.ErrorLog().size(), static_cast<std::size_t>(c.errors));
  EXPECT_FALSE(Contains(m.Lines("ui.log"), "ELEVATE"));
  if (!c.repairable) return;
  // The cache folder itself is made when the cache is filled, so a repaired workstation
  // keeps only what the repair made; a second run finds it valid and changes nothing.
  const std::string security = m.Text("security.txt");
  const std::string registry = m.Text("registry.reg");
  fs::remove(m.C("Portavel/TavixDebug.log"));
  m.Run("-d");
  EXPECT_TRUE(m.Shows("debug", "InitConfigLocations: Configuration environment is valid."));
  EXPECT_EQ(m.Text("security.txt"), security);
  EXPECT_EQ(m.Text("registry.reg"), registry);
}

// A standard user under UAC who declines elevation: a fault is reported as the missing
// authority and nothing is changed.
TEST_P(Location, IsLeftAsItIsWhenTheClerkDeclinesElevation) {
  const LocationCase& c = GetParam();
  Machine m;
  m.Write("machine.ini", kMachineIni);
  c.prepare(m);
  const std::string security = m.Text("security.txt");
  ASSERT_EQ(LastLine(m.Run("-d").out), "exit code 0");
  EXPECT_EQ(Contains(m.Lines("ui.log"), "ELEVATE answer=cancel"), c.clerk_finds_fault);
  EXPECT_EQ(m.Shows("error", "InitConfigLocations: Authority failure. This operation requires full administrator rights."),
            c.clerk_finds_fault);
  EXPECT_EQ(m.Text("security.txt"), security);
}

INSTANTIATE_TEST_SUITE_P(States, Location, ::testing::ValuesIn(kLocations), ByName);

// The existing folder is repaired through its handle, which is closed before the set,
// the new access list and the descriptor read are released; a handle that never
// opened is released as already free.
TEST(ConfigLocations, TheFolderHandleIsClosedOnEveryWayOut) {
  for (const bool opens : {true, false}) {
    Machine m;
    m.Write("machine.ini", kElevatedAdmin + (opens ? "" : "[fail]\nCreateFile = 1\n"));
    m.Append("security.txt", "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BA)\n");
    m.Run("-d100");
    const std::string log = UnwrapDebugLog(m.Text("drives/C/Portavel/TavixDebug.log"));
    const std::size_t handle = log.find("CreateUnrestrictedFolder: Obtained file handle: ");
    const std::size_t outcome = log.find(opens ? "CreateUnrestrictedFolder: Modified security on existing" :
                                                 "Failed to open folder \"C:\\ProgramData\\Veltrix\"");
    const std::size_t closed = log.find(opens ? "CloseAndDestroyHandle: Closing hFile=" :
                                                "CloseAndDestroyHandle: Handle hFile is already free.");
    EXPECT_LT(handle, outcome);
    EXPECT_LT(outcome, closed);
    EXPECT_NE(closed, std::string::npos) << opens;
  }
}

// A location that is not there still releases its empty descriptor slot, with the
// release's records.
TEST(ConfigLocations, AMissingLocationStillReleasesItsDescriptorSlot) {
  Machine m;
  fs::remove_all(m.C(kProgramData));
  fs::remove(m.C("Windows/win.ini"));
  m.Run("-d100");
  const std::vector<std::string> log = m.DebugLog();
  for (const auto& [missing, release] :
       {std::pair{"IsFolderUnrestricted: Folder \"C:\\ProgramData\\Veltrix\" does not exist.",
                  "IsFolderUnrestricted: pSD heap pointer to HeapFreeHlpr = "},
        std::pair{"IsFileUnrestricted: File \"C:\\Windows\\win.ini\" does not exist or is blocked.",
                  "IsFileUnrestricted: pSD heap pointer to HeapFreeHlpr = "}}) {
    const std::size_t at = FindLine(log, missing);
    ASSERT_LT(at + 1, log.size()) << missing;
    EXPECT_NE(log[at + 1].find(release), std::string::npos) << log[at + 1];
  }
}

TEST(ConfigLocations, ARepairedKeyHoldsItsProgressAndTheLaunchersValues) {
  Machine m;
  m.Write("machine.ini", kElevatedAdmin);
  RemoveKey(m);
  m.Run("-d");
  const std::string registry = m.Text("registry.reg");
  EXPECT_NE(registry.find("\"_icode\"=dword:00000003"), std::string::npos) << registry;
  EXPECT_NE(registry.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]"), std::string::npos);
  EXPECT_NE(registry.find("\"Debug\"=dword:00000000"), std::string::npos);
  EXPECT_NE(m.Text("security.txt").find("HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;OICI;0xf20fffff;;;WD)"),
            std::string::npos);
}

// A workstation whose configuration key is missing, run with and without the rights
// to repair it.
struct AuthorityCase {
  const char* name;
  std::string ini;
  bool uac;
  const char* ui;       // the dialog line in ui.log, or empty: none
  int exit_status;
  bool repaired;
  bool authority_failure;
};

const AuthorityCase kAuthorities[] = {
    {"ElevatedAdministrator", kElevatedAdmin, true, "", 0, true, false},
    {"ClerkElevates", std::string(kMachineIni) + "[ui]\nelevation_dialog = elevate\n", true,
     "ELEVATE answer=elevate", 1, false, false},
    {"ClerkCancels", kMachineIni, true, "ELEVATE answer=cancel", 0, false, true},
    {"ClerkWithoutUac", kMachineIni, false, "", 0, false, true},
    {"AdministratorWithoutUac", std::string(kMachineIni) + "[user]\ntoken_admin = true\n", false, "", 0, true, false},
    {"ElevatedWithoutAdministrators", std::string(kMachineIni) + "[user]\nelevated = true\n", true, "", 0, false,
     true},
    {"ClerkOnVista", std::string(kMachineIni) + kVista, true, "", 0, false, true},
    {"AdministratorOnVista", kElevatedAdmin + kVista, true, "", 0, true, false},
};

class Authority : public ::testing::TestWithParam<AuthorityCase> {};

TEST_P(Authority, DecidesWhetherTheKeyIsRepaired) {
  const AuthorityCase& c = GetParam();
  Machine m;
  m.Write("machine.ini", c.ini);
  const std::string lua = c.uac ? "\"EnableLUA\"=dword:00000001\r\n" : "\"EnableLUA\"=dword:00000000\r\n";
  m.Write("registry.reg", BareRegistryFile(SystemKeys(lua) + kCurrentRuntimeKeys));
  m.Write("security.txt", "");
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, c.exit_status) << run.out << run.err;
  const auto ui = m.Lines("ui.log");
  if (*c.ui) EXPECT_TRUE(Contains(ui, c.ui));
  else EXPECT_FALSE(Contains(ui, "ELEVATE"));
  EXPECT_EQ(m.Text("registry.reg").find("Veltrix Solutions Inc.]") != std::string::npos, c.repaired);
  EXPECT_EQ(m.Shows("error", "InitConfigLocations: Authority failure. This operation requires full administrator rights."),
            c.authority_failure);
  if (c.exit_status == 1) {
    EXPECT_TRUE(Contains(m.Lines("processes.log"), "params=\"-d -el\""));
  }
}

INSTANTIATE_TEST_SUITE_P(Users, Authority, ::testing::ValuesIn(kAuthorities), ByName);

// A cache parent folder inside the Windows folder counts as defaulted, and so does any
// folder when the Windows folder cannot be found: a repair reports it and leaves it.
TEST(ConfigLocations, ADefaultedCacheFolderIsReportedAndLeftAlone) {
  const struct {
    const char* name;
    const char* folders;
    const char* parent;
  } cases[] = {
      {"InsideWindows", "[folders]\nlocal_app_data = C:\\Windows\\Profiles\\clerk\n",
       "C:\\Windows\\Profiles\\clerk\\Norvane\\Portavel\\"},
      {"WindowsFolderUnknown", "[folders]\nwindows =\n", "C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Write("machine.ini", kElevatedAdmin + c.folders);
    m.Run("-d -r");
    EXPECT_TRUE(m.Shows("error", std::string("UpdateCacheFolder failed: Cache folder is being defaulted to \"") +
                                     c.parent + "\", and cannot be modified."));
    EXPECT_FALSE(Contains(m.DebugLog(), "File Relocation"));
  }
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// A failed operation during a repair is an error record naming the step, and the run
// goes on.
struct RepairFaultCase {
  const char* name;
  const char* fail;
  void (*prepare)(Machine&);
  const char* error;
  const char* icode;  // the key's progress code afterwards, or empty
};

void RestrictProgramData(Machine& m) {
  m.Append("security.txt", "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BA)\n");
}

const RepairFaultCase kRepairFaults[] = {
    {"RegDisableReflectionKey", "RegDisableReflectionKey = 1", RemoveKey,
     "Tavix registry modification failed: Error while disabling reflection on handle for key \"HKLM\\SOFTWARE\"", ""},
    // The system information looks up four functions first.
    {"GetProcAddress", "GetProcAddress = 5", RemoveKey,
     "Tavix registry modification failed: Error while loading ntdll:NtSetInformationKey proc address", "00000001"},
    {"NtSetInformationKey", "NtSetInformationKey = 1:0xC0000022", RemoveKey,
     "Tavix registry modification failed: Error while executing ntdll:NtSetInformationKey; [NTSTATUS 0xc0000022", "00000001"},
    {"SetSecurityInfoOfTheKey", "SetSecurityInfo = 1", RemoveKey,
     "Tavix registry modification failed: Error while writing security descriptor for key \"SOFTWARE\\Veltrix Solutions Inc.\"",
     "00000002"},
    {"OpenTheFolder", "CreateFile = 1:32", RestrictProgramData,
     "Tavix program data folder modification failed: Failed to open folder \"C:\\ProgramData\\Veltrix\"; [WIN32 0x00000020/C0032]",
     ""},
    // The key's check reads its descriptor first.
    {"GetSecurityInfoOfTheFolder", "GetSecurityInfo = 2", RestrictProgramData,
     "Tavix program data folder modification failed: Error while opening security descriptor for folder \"C:\\ProgramData\\Veltrix\"",
     ""},
    {"SetSecurityInfoOfTheFolder", "SetSecurityInfo = 1", RestrictProgramData,
     "Tavix program data folder modification failed: Error while writing security descriptor for key \"C:\\ProgramData\\Veltrix\"",
     ""},
    {"SetFileAttributesOfARepairedFolder", "SetFileAttributes = 1", RestrictProgramData,
     "Tavix program data folder modification failed: Error while setting attributes on \"C:\\ProgramData\\Veltrix\"",
     ""},
    {"SetFileAttributesOfANewFolder", "SetFileAttributes = 1", [](Machine& m) { fs::remove_all(m.C(kProgramData)); },
     "Tavix program data folder modification failed: Error while setting attributes on \"C:\\ProgramData\\Veltrix\"",
     ""},
    // The two folders read their descriptors first, in two calls each.
    {"GetFileSecurity", "GetFileSecurity = 5", [](Machine&) {},
     "IsFileUnrestricted: Failed to open security descriptor for target file \"C:\\Windows\\win.ini\"", ""},
};

class RepairFault : public ::testing::TestWithParam<RepairFaultCase> {};

TEST_P(RepairFault, IsAnErrorRecordAndTheRunGoesOn) {
  const RepairFaultCase& c = GetParam();
  Machine m;
  m.Write("machine.ini", kElevatedAdmin + "[fail]\n" + c.fail + "\n");
  c.prepare(m);
  EXPECT_EQ(LastLine(m.Run("-d").out), "exit code 0");
  EXPECT_TRUE(m.Shows("error", c.error)) << c.error;
  if (*c.icode) {
    EXPECT_NE(m.Text("registry.reg").find(std::string("\"_icode\"=dword:") + c.icode), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, RepairFault, ::testing::ValuesIn(kRepairFaults), ByName);

// The repair step asks the shell itself, so a failed look-up is one record, tagged with
// the shell's own result, not the check's record again.
TEST(RepairFault, ProgramDataLookupIsOneRecordWithTheShellsResult) {
  Machine m;
  // The known folders list asks for eight folders and the check for three before it.
  m.Write("machine.ini", kElevatedAdmin + "[fail]\nSHGetKnownFolderPath = 12:0x80070005\n");
  RestrictProgramData(m);
  EXPECT_EQ(LastLine(m.Run("-d").out), "exit code 0");
  EXPECT_EQ(CountLines(ReadLines(m.C("Portavel/TavixError.log")), "Program Data folder location"), 1u);
  EXPECT_TRUE(m.Shows("error",
                      "Tavix program data folder modification failed: Could not retrieve Program Data folder location. "
                      "This operation may require rights that are being prevent by a system policy.; [WIN32 0x80070005"));
}

// Without ntdll in the process the key's flags are left as they are, without a record,
// and the repair goes on: the call, set to fail here, is never made.
TEST(RepairFault, NtdllMissingLeavesTheFlagsWithoutARecord) {
  Machine m;
  // The system information asks for four modules first.
  m.Write("machine.ini", kElevatedAdmin + "[fail]\nGetModuleHandle = 5\nNtSetInformationKey = 1:0xC0000022\n");
  RemoveKey(m);
  EXPECT_EQ(LastLine(m.Run("-d").out), "exit code 0");
  EXPECT_FALSE(Contains(m.ErrorLog(), "ntdll"));
  EXPECT_NE(m.Text("registry.reg").find("\"_icode\"=dword:00000003"), std::string::npos);
}

}  // namespace
}  // namespace scenario
