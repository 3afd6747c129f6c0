// The bytes of a file being written, handed over in pieces so that a large file
// never has to be held whole.
#pragma once

#include <cstdint>
#include <span>

namespace snapshot {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next piece, an empty one at the end; false when the bytes cannot be had.
  virtual bool Next(std::span<const std::uint8_t>* piece) = 0;
};

// Bytes held in memory, handed over at once.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Next(std::span<const std::uint8_t>* piece) override {
    *piece = bytes_;
    bytes_ = {};
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace snapshot
