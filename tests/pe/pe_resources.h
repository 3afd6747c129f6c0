// Reads the resources of a Windows executable back, so that tests can check what the
// resource compiler put into Tavix.exe and Tavix64.exe: the resource directory of
// a PE file, and the formats of dialogs, version information, string tables and
// bitmaps. Every read is bounds-checked: a damaged file gives nothing, never a crash.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pe {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint16_t kRtBitmap = 2;
inline constexpr std::uint16_t kRtDialog = 5;
inline constexpr std::uint16_t kRtString = 6;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

// A resource's name: a number, or a text when `text` is not empty.
struct ResourceName {
  std::uint16_t number = 0;
  std::string text;
};

class ResourceFile {
 public:
  // The resources of the PE file at `path`; nothing, with the reason in `error`, when
  // it cannot be read or has no resource directory.
  static std::optional<ResourceFile> Load(const std::string& path, std::string* error);

  // The data of a resource in its first language, or nothing.
  std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name) const;

 private:
  struct Entry {
    std::uint16_t type;
    ResourceName name;
    Bytes data;
  };
  std::vector<Entry> entries_;
};

// A control of a dialog template; `class_name` is "#0x0082" for a predefined class
// given by its number.
struct DialogItem {
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  std::string class_name;
  std::string text;
};

struct DialogTemplate {
  bool extended = false;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  int point_size = 0;
  std::string font;
  std::vector<DialogItem> items;
};
std::optional<DialogTemplate> ParseDialog(const Bytes& data);

struct VersionInfo {
  std::array<std::uint16_t, 4> file_version{};
  // StringFileInfo values by "TABLE/Key", e.g. "040904b0/FileDescription".
  std::map<std::string, std::string> strings;
};
std::optional<VersionInfo> ParseVersion(const Bytes& data);

// Entry `id` of the string table, or nothing when it is absent or empty.
std::optional<std::string> StringTableEntry(const ResourceFile& file, std::uint16_t id);

struct BitmapHeader {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
};
std::optional<BitmapHeader> ParseBitmap(const Bytes& data);

}  // namespace pe
