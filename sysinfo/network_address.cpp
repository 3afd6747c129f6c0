// The IPv4 address of the interface the system would reach the Internet through, and
// the listing of every local IPv4 address.
#include "sysinfo/network_address.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "diag/log.h"
#include "base/launcher.h"
#include "platform/error_codes.h"

namespace {

// A well-known public address: the system is asked which interface leads there, and
// the address itself is never contacted.
constexpr const char* kReferenceDestination = "8.8.8.8";

struct FlagWord {
  std::uint16_t flag;
  const char* word;
};

// In the order the words are written.
constexpr FlagWord kFlagWords[] = {
    {platform::kIpAddrPrimary, "Primary;"},           {platform::kIpAddrDynamic, "Dynamic;"},
    {platform::kIpAddrDisconnected, "Disconnected;"}, {platform::kIpAddrDeleted, "Deleting;"},
    {platform::kIpAddrTransient, "Transient;"},
};

// A block of the process heap for the address table, released when it goes out of scope.
class TableBlock {
 public:
  TableBlock(Launcher& l, std::uint32_t size) : l_(l) { Allocate(size); }
  ~TableBlock() { Release(); }
  TableBlock(const TableBlock&) = delete;
  TableBlock& operator=(const TableBlock&) = delete;

  // Releases the block and takes one of the new size.
  void Allocate(std::uint32_t size) {
    Release();
    block_ = l_.os.system.HeapAlloc(size);
    size_ = block_ != nullptr ? size : 0;
  }
  platform::IpAddrTable* table() const { return static_cast<platform::IpAddrTable*>(block_); }
  std::uint32_t size() const { return size_; }

  // The rows that lie within the block (the table declares one and runs on).
  std::uint32_t RowsThatFit() const {
    constexpr std::size_t kRows = offsetof(platform::IpAddrTable, rows);
    return size_ < kRows
               ? 0
               : static_cast<std::uint32_t>((size_ - kRows) / sizeof(platform::IpAddrRow));
  }
  platform::IpAddrRow Row(std::uint32_t i) const {
    platform::IpAddrRow row;
    std::memcpy(&row,
                static_cast<const std::uint8_t*>(block_) + offsetof(platform::IpAddrTable, rows) +
                    i * sizeof row,
                sizeof row);
    return row;
  }

 private:
  void Release() {
    if (block_ != nullptr) l_.os.system.HeapFree(block_);
    block_ = nullptr;
  }

  Launcher& l_;
  void* block_ = nullptr;
  std::uint32_t size_ = 0;
};

// The dotted form of an address; empty when it cannot be converted.
std::string Dotted(Launcher& l, std::uint32_t address) {
  std::string text;
  if (!l.os.network.InetNtop(address, &text)) text.clear();
  return text;
}

// As a 32-bit Windows long.
long AsLong(std::uint32_t value) { return static_cast<long>(static_cast<std::int32_t>(value)); }

}  // namespace

void GetNetworkAddress(Launcher& l, IpAddressText& address) {
  address.assign_cut("0.0.0.0");

  // A buffer for one row first; the system tells the size it needs.
  std::uint32_t size = sizeof(platform::IpAddrTable);
  TableBlock block(l, size);
  if (block.table() != nullptr &&
      l.os.network.GetIpAddrTable(block.table(), &size) == platform::kErrorInsufficientBuffer)
    block.Allocate(size);
  if (block.table() == nullptr) {
    DebugLogText(l, "GetNetworkAddress: Memory allocation failed for GetIpAddrTable");
    return;
  }
  size = block.size();
  const std::uint32_t result = l.os.network.GetIpAddrTable(block.table(), &size);
  if (result != 0) {
    DebugLog(l, "GetNetworkAddress failed with error %d", static_cast<int>(result));
    std::string text;
    if (l.os.system.FormatMessage(result, &text)) DebugLog(l, "\tError: %s", text.c_str());
    return;
  }

  std::uint32_t destination = 0;
  if (l.os.network.InetPton(kReferenceDestination, &destination) != 1) {
    std::string text;
    if (l.os.system.FormatMessage(l.os.system.GetLastError(), &text))
      DebugLog(l, "GetNetworkAddress failed with error: %s", text.c_str());
    else
      DebugLogText(l, "GetNetworkAddress failed with error");
    return;
  }
  // Not checked: without a route the index stays 0, which no row has.
  std::uint32_t best = 0;
  (void)l.os.network.GetBestInterface(destination, &best);

  const std::uint32_t count = block.table()->count;
  DebugLog(l, "Network Interfaces: %ld", AsLong(count));
  const std::uint32_t rows = count < block.RowsThatFit() ? count : block.RowsThatFit();
  for (std::uint32_t i = 0; i < rows; ++i) {
    const platform::IpAddrRow row = block.Row(i);
    MessageBuffer state;
    state.assign_cut("Type/State:");
    if (row.index == best) {
      state.append_cut("Default;");
      const std::string dotted = Dotted(l, row.address);
      if (!dotted.empty()) address.assign_cut(dotted);
    }
    for (const FlagWord& flag : kFlagWords)
      if (row.type & flag.flag) state.append_cut(flag.word);
    // The last ";" goes, or the colon when no word was written.
    state.truncate(state.size() - 1);
    state.append_cut(" ");
    const std::string ip = Dotted(l, row.address);
    const std::string mask = Dotted(l, row.mask);
    const std::string broadcast = Dotted(l, row.broadcast);
    DebugLog(l, "   %d: Interface %ld:   IP: %s, Mask: %s, Broadcast: %s (%ld), %s",
             static_cast<int>(i), AsLong(row.index), ip.c_str(), mask.c_str(), broadcast.c_str(),
             AsLong(row.broadcast), state.c_str());
  }
}
