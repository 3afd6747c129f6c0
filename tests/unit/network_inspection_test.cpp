// The network inspections: the address listing and the best interface's address,
// the ways the listing ends early, and the mapped-drive listing without drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysinfo/mapped_drives.h"
#include "sysinfo/network_address.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;

// The records after the log's six banner lines.
std::vector<std::string> AfterBanner(const std::vector<std::string>& messages) {
  return messages.size() < 6 ? std::vector<std::string>{}
                             : std::vector<std::string>(messages.begin() + 6, messages.end());
}

constexpr const char* kThreeInterfaces =
    "[network]\n"
    "interface.1 = 192.168.20.57 255.255.255.0 11 primary, dynamic\n"
    "interface.2 = 10.0.0.5 255.0.0.0 12\n"
    "interface.3 = 172.16.1.2 255.255.0.0 13 primary, dynamic, disconnected, deleted, transient\n"
    "best_interface = 11\n";

TEST(NetworkAddress, ListsEveryAddressAndKeepsTheBestInterfaces) {
  InspectionRun run(kThreeInterfaces, inspection_test::kFreshRegistry, 1);
  IpAddressText address;
  GetNetworkAddress(run.l, address);
  EXPECT_EQ(address.view(), "192.168.20.57");
  EXPECT_EQ(AfterBanner(run.Messages()), (std::vector<std::string>{
                                "Network Interfaces: 3",
                                "0: Interface 11:   IP: 192.168.20.57, Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), "
                                "Type/State:Default;Primary;Dynamic ",
                                "1: Interface 12:   IP: 10.0.0.5, Mask: 255.0.0.0, Broadcast: 1.0.0.0 (1), Type/State ",
                                "2: Interface 13:   IP: 172.16.1.2, Mask: 255.255.0.0, Broadcast: 1.0.0.0 (1), "
                                "Type/State:Primary;Dynamic;Disconnected;Deleting;Transient "}));
  // The rows stand one level deeper than their header, by their three spaces.
  EXPECT_EQ(run.DepthOf("Network Interfaces: 3") + 1,
            run.DepthOf("1: Interface 12:   IP: 10.0.0.5, Mask: 255.0.0.0, Broadcast: 1.0.0.0 (1), Type/State "));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(NetworkAddress, OnlyTheLoopbackAndNoRouteLeavesNoAddress) {
  InspectionRun run("[network]\ninterface.1 = 127.0.0.1 255.0.0.0 1\n", inspection_test::kFreshRegistry, 1);
  IpAddressText address;
  (void)address.assign("left over");
  GetNetworkAddress(run.l, address);
  EXPECT_EQ(address.view(), "0.0.0.0");
  EXPECT_EQ(AfterBanner(run.Messages()),
            (std::vector<std::string>{"Network Interfaces: 1",
                                      "0: Interface 1:   IP: 127.0.0.1, Mask: 255.0.0.0, Broadcast: 1.0.0.0 (1), Type/State "}));
}

TEST(NetworkAddress, AMachineWithoutInterfacesListsNone) {
  InspectionRun run("", inspection_test::kFreshRegistry, 1);
  IpAddressText address;
  GetNetworkAddress(run.l, address);
  EXPECT_EQ(address.view(), "0.0.0.0");
  EXPECT_TRUE(run.Logged("Network Interfaces: 0"));
}

struct EndCase {
  const char* name;
  const char* fail;
  std::vector<std::string> records;  // after "Network Interfaces" would stand
  const char* address;
};

class NetworkAddressEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(NetworkAddressEnd, IsARecordAndNoError) {
  const EndCase& c = GetParam();
  InspectionRun run(std::string(kThreeInterfaces) + "[fail]\n" + c.fail + "\n", inspection_test::kFreshRegistry, 1);
  IpAddressText address;
  GetNetworkAddress(run.l, address);
  EXPECT_EQ(address.view(), c.address);
  EXPECT_EQ(AfterBanner(run.Messages()), c.records);
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, NetworkAddressEnd,
    ::testing::Values(
        // The first call only learns the size; the second reads the table.
        EndCase{"TableWithoutText", "GetIpAddrTable = 2:1234", {"GetNetworkAddress failed with error 1234"}, "0.0.0.0"},
        EndCase{"Allocation", "HeapAlloc = 2:8", {"GetNetworkAddress: Memory allocation failed for GetIpAddrTable"},
                "0.0.0.0"},
        EndCase{"FirstAllocation", "HeapAlloc = 1:8",
                {"GetNetworkAddress: Memory allocation failed for GetIpAddrTable"}, "0.0.0.0"},
        EndCase{"AddressTextWithoutText", "InetPton = 1:1234", {"GetNetworkAddress failed with error"}, "0.0.0.0"}),
    test_support::ByName);

// The listing of drives and its faults are the system inspection's tests.
TEST(MappedDrives, NoNetworkDrivesIsNoneOneLevelDeeper) {
  InspectionRun run("", inspection_test::kFreshRegistry, 1);
  ListMappedDrives(run.l);
  EXPECT_EQ(run.DepthOf("None."), run.DepthOf("Mapped Drive(s) Present:") + 1);
}

}  // namespace
