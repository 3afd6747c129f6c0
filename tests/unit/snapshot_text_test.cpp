// The snapshot's writers read back by the simulated workstation's own readers:
// machine.ini gives the same facts, registry.reg is written as the simulation
// writes it, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/fault_injector.h"
#include "platform/sim/machine.h"
#include "platform/sim/registry_tree.h"
#include "snapshot/machine_ini_text.h"
#include "snapshot/registry_text.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(SnapshotRegistryText, IsTheRegeditFormatTheSimulationWrites) {
  const std::vector<std::uint8_t> long_blob(60, 0xab);
  const std::vector<snapshot::RegistryKeyRecord> keys = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher",
       false,
       {{"Path", 1, Bytes(std::string_view("C:\\Portavel \"x\"\0", 16))},
        {"", 1, Bytes(std::string_view("default\0", 8))},
        {"Debug", 4, {0x2c, 0x01, 0, 0}},
        {"Short", 4, {1, 2}},
        {"Lines", 1, Bytes(std::string_view("a\r\nb\0", 5))},
        {"Blob", 3, long_blob},
        {"Big", 11, {1, 2, 3, 4, 5, 6, 7, 8}}}},
      {"HKEY_LOCAL_MACHINE\\Software\\Veltrix Solutions Inc.", true, {}},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix", false, {{"A", 1, Bytes(std::string_view("1\0", 2))}}},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", false, {}},
  };
  const std::string text = snapshot::RegistryText(keys);
  EXPECT_EQ(sim::WriteRegistryText(sim::ParseRegistryText(text, "registry.reg")), text);
  const sim::RegistryTree tree = sim::ParseRegistryText(text, "registry.reg");
  const sim::RegistryKey* launcher =
      tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher");
  ASSERT_NE(launcher, nullptr);
  for (const auto& value : keys[0].values) {
    SCOPED_TRACE(value.name);
    ASSERT_NE(launcher->Value(value.name), nullptr);
    EXPECT_EQ(launcher->Value(value.name)->data, value.data);
  }
  EXPECT_FALSE(tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.")->reflection);
}

TEST(SnapshotMachineIni, GivesTheSameFactsBack) {
  snapshot::MachineRecord r;
  r.major = 6;
  r.minor = 1;
  r.build = 7601;
  r.service_pack_major = 1;
  r.product_type = 3;
  r.product_code = 0x7;
  r.architecture = 9;
  r.wow64 = true;
  r.computer_name = "PC7\nsecond line";
  r.memory_bytes = 17179869184ull;
  r.cpu_brand = "Brand; with # signs";
  r.processors = 12;
  r.processor_level = 6;
  r.processor_revision = 0xa05;
  r.dpi = 144;
  r.utc_offset = -300;
  r.user_name = "anna";
  r.user_domain = "OFFICE";
  r.user_sid = "S-1-5-21-1-2-3-1104";
  r.administrators_member = true;
  r.elevated = true;
  r.token_admin = true;
  r.integrity_rid = 0x3000;
  r.launcher_path = "D:\\Apps\\Tavix.exe";
  r.launcher_version = "2.3.4.5";
  r.versions = {{"D:\\Apps\\redist\\a.dll", "1.2.3.4"}};
  r.folders = {{"windows", "C:\\WINDOWS"}, {"appdata", ""}};
  r.interfaces = {{"10.0.0.7", "255.255.255.0", 3, 0x5}, {"192.168.1.2", "255.255.0.0", 9, 0}};
  r.best_interface = 3;
  r.drives = {{'H', "\\\\srv\\home", true}, {'P', "\\\\srv\\p", false}};

  const sim::Machine m =
      sim::ParseMachineIni(snapshot::MachineIniText(r), "machine.ini", sim::KnownOperations());
  EXPECT_EQ(m.os.build, 7601u);
  EXPECT_EQ(m.os.service_pack_major, 1u);
  EXPECT_EQ(m.os.product_type, sim::ProductType::Server);
  EXPECT_EQ(m.os.product_code, 7u);
  EXPECT_EQ(m.os.wow64, true);
  EXPECT_EQ(m.machine.computer_name, "PC7 second line");
  EXPECT_EQ(m.machine.memory_bytes, r.memory_bytes);
  EXPECT_EQ(m.machine.cpu_brand, r.cpu_brand);
  EXPECT_EQ(m.machine.processor_revision, 0xa05u);
  EXPECT_EQ(m.machine.dpi, 144u);
  EXPECT_EQ(m.machine.utc_offset, -300);
  EXPECT_EQ(m.user.domain, "OFFICE");
  EXPECT_EQ(m.user.sid, r.user_sid);
  EXPECT_TRUE(m.user.elevated);
  EXPECT_EQ(m.user.integrity_rid, 0x3000u);
  EXPECT_EQ(m.launcher.path, r.launcher_path);
  EXPECT_EQ(m.launcher.version, "2.3.4.5");
  EXPECT_EQ(m.versions.at("D:\\Apps\\redist\\A.DLL"), "1.2.3.4");
  EXPECT_EQ(m.folders.windows, "C:\\WINDOWS");
  EXPECT_EQ(m.folders.appdata, "");
  ASSERT_EQ(m.network.interfaces.size(), 2u);
  EXPECT_EQ(m.network.interfaces[0].flags, (std::vector<std::string>{"primary", "dynamic"}));
  EXPECT_EQ(m.network.interfaces[1].index, 9u);
  EXPECT_EQ(m.network.best_interface, 3u);
  ASSERT_EQ(m.network.drives.size(), 2u);
  EXPECT_FALSE(m.network.drives[1].connected);
  EXPECT_EQ(m.network.drives[1].remote, "\\\\srv\\p");
}

}  // namespace
