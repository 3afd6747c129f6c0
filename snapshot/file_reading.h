// Reading a file of the workstation through the platform, as the launcher reads it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "snapshot/byte_source.h"
#include "snapshot/scoped_handle.h"

namespace snapshot {

// An open file: its size and time, and its first `limit` bytes in pieces of 64 KiB.
class SourceFile : public ByteSource {
 public:
  SourceFile(platform::Platform& os, std::string_view path, std::uint64_t limit);

  // Whether the file could be opened and its size and time read.
  bool ok() const { return ok_; }
  std::uint64_t size() const { return size_; }
  platform::FileTime last_write() const { return last_write_; }

  // The next piece; false on a read error or a file shorter than it said.
  bool Next(std::span<const std::uint8_t>* piece) override;

 private:
  platform::Platform& os_;
  ScopedHandle file_;
  bool ok_ = false;
  std::uint64_t size_ = 0;
  platform::FileTime last_write_ = 0;
  std::uint64_t left_ = 0;  // bytes still to read
  std::vector<std::uint8_t> buffer_;
};

// The first `limit` bytes of a file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileStart(platform::Platform& os, std::string_view path,
                                        std::uint64_t limit);

}  // namespace snapshot
