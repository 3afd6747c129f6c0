// Reading the resources of a PE file back.
#include "tests/pe/pe_resources.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

namespace pe {
namespace {

// Little-endian reads within a byte range; a read past its end marks the reader bad
// and gives 0, so that a parser checks `ok()` once at the end of a step.
class Reader {
 public:
  Reader(const Bytes& bytes, std::size_t begin = 0, std::size_t end = SIZE_MAX)
      : bytes_(bytes), begin_(begin), end_(std::min(end, bytes.size())), at_(begin) {}

  bool ok() const { return ok_; }
  std::size_t at() const { return at_; }
  void Seek(std::size_t offset) {
    if (offset > end_) ok_ = false;
    else at_ = offset;
  }
  // To the next multiple of four from the start of the data.
  void Align4() { Seek(begin_ + ((at_ - begin_ + 3) & ~std::size_t{3})); }

  std::uint32_t Number(int size) {
    if (!ok_ || at_ + size > end_) {
      ok_ = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += size;
    return value;
  }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Number(2)); }
  std::uint32_t U32() { return Number(4); }
  int S16() { return static_cast<std::int16_t>(U16()); }

  // A UTF-16 text up to its terminator, each unit narrowed to a byte (the launcher's
  // resource texts are ASCII).
  std::string Text() {
    std::string text;
    for (std::uint16_t unit; ok_ && (unit = U16()) != 0;) text.push_back(static_cast<char>(unit));
    return text;
  }
  // A text of `count` UTF-16 units without terminator.
  std::string Text(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; ok_ && i < count; ++i) text.push_back(static_cast<char>(U16()));
    return text;
  }
  // A dialog template's "text or ordinal" field.
  std::string TextOrOrdinal() {
    const std::uint16_t first = U16();
    if (first == 0) return {};
    if (first == 0xFFFF) {
      char number[16];
      std::snprintf(number, sizeof number, "#0x%04x", U16());
      return number;
    }
    std::string text(1, static_cast<char>(first));
    return text + Text();
  }

 private:
  const Bytes& bytes_;
  std::size_t begin_;
  std::size_t end_;
  std::size_t at_;
  bool ok_ = true;
};

struct Section {
  std::uint32_t virtual_address;
  std::uint32_t virtual_size;
  std::uint32_t raw_size;
  std::uint32_t raw_offset;
};

std::optional<std::size_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva) {
  for (const Section& s : sections) {
    const std::uint32_t size = std::max(s.virtual_size, s.raw_size);
    if (rva >= s.virtual_address && rva - s.virtual_address < size)
      return static_cast<std::size_t>(rva - s.virtual_address) + s.raw_offset;
  }
  return std::nullopt;
}

constexpr std::uint32_t kHighBit = 0x80000000u;

// The entries of the resource directory at `offset` (from the start of the
// directory): each entry's name and where it points.
struct DirectoryEntry {
  ResourceName name;
  std::uint32_t target;  // high bit: a sub-directory
};
std::optional<std::vector<DirectoryEntry>> ReadDirectory(const Bytes& file, std::size_t root,
                                                         std::size_t offset) {
  Reader r(file, 0);
  r.Seek(root + offset + 12);
  const std::size_t count = std::size_t{r.U16()} + r.U16();
  std::vector<DirectoryEntry> entries;
  for (std::size_t i = 0; r.ok() && i < count && i < 4096; ++i) {
    const std::uint32_t name = r.U32();
    const std::uint32_t target = r.U32();
    DirectoryEntry entry{{}, target};
    if (name & kHighBit) {
      Reader text(file, 0);
      text.Seek(root + (name & ~kHighBit));
      const std::uint16_t length = text.U16();
      entry.name.text = text.Text(length);
      if (!text.ok()) return std::nullopt;
    } else {
      entry.name.number = static_cast<std::uint16_t>(name);
    }
    entries.push_back(entry);
  }
  if (!r.ok()) return std::nullopt;
  return entries;
}

bool SameName(const ResourceName& a, const ResourceName& b) {
  return a.text.empty() ? b.text.empty() && a.number == b.number : a.text == b.text;
}

}  // namespace

std::optional<ResourceFile> ResourceFile::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open " + path;
    return std::nullopt;
  }
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Reader r(file);
  r.Seek(0x3C);
  const std::uint32_t pe = r.U32();
  r.Seek(pe);
  if (r.U32() != 0x00004550 || !r.ok()) {
    *error = "no PE signature";
    return std::nullopt;
  }
  r.U16();  // machine
  const std::uint16_t section_count = r.U16();
  r.Seek(pe + 20);
  const std::uint16_t optional_size = r.U16();
  const std::size_t optional = pe + 24;
  r.Seek(optional);
  const std::uint16_t magic = r.U16();
  // The data directories follow the optional header's fixed part; resources are the third.
  r.Seek(optional + (magic == 0x20b ? 112 : 96) + 2 * 8);
  const std::uint32_t resource_rva = r.U32();
  r.Seek(optional + optional_size);
  std::vector<Section> sections;
  for (int i = 0; r.ok() && i < section_count; ++i) {
    const std::size_t header = r.at();
    r.Seek(header + 8);
    Section s{};
    s.virtual_size = r.U32();
    s.virtual_address = r.U32();
    s.raw_size = r.U32();
    s.raw_offset = r.U32();
    sections.push_back(s);
    r.Seek(header + 40);
  }
  const auto root = FileOffset(sections, resource_rva);
  if (!r.ok() || resource_rva == 0 || !root) {
    *error = "no resource directory";
    return std::nullopt;
  }

  ResourceFile result;
  const auto types = ReadDirectory(file, *root, 0);
  if (!types) {
    *error = "damaged resource directory";
    return std::nullopt;
  }
  for (const DirectoryEntry& type : *types) {
    if (!(type.target & kHighBit) || !type.name.text.empty()) continue;
    const auto names = ReadDirectory(file, *root, type.target & ~kHighBit);
    if (!names) continue;
    for (const DirectoryEntry& name : *names) {
      if (!(name.target & kHighBit)) continue;
      const auto languages = ReadDirectory(file, *root, name.target & ~kHighBit);
      if (!languages || languages->empty() || ((*languages)[0].target & kHighBit)) continue;
      Reader data(file);
      data.Seek(*root + (*languages)[0].target);
      const std::uint32_t rva = data.U32();
      const std::uint32_t size = data.U32();
      const auto offset = FileOffset(sections, rva);
      if (!data.ok() || !offset || *offset + size > file.size()) continue;
      result.entries_.push_back(
          {type.name.number, name.name,
           Bytes(file.begin() + static_cast<std::ptrdiff_t>(*offset),
                 file.begin() + static_cast<std::ptrdiff_t>(*offset + size))});
    }
  }
  return result;
}

std::optional<Bytes> ResourceFile::Find(std::uint16_t type, const ResourceName& name) const {
  for (const Entry& entry : entries_)
    if (entry.type == type && SameName(entry.name, name)) return entry.data;
  return std::nullopt;
}

namespace {

// The styles of a dialog or a control, extended style first in an extended template.
template <typename Part>
void ReadStyles(Reader& r, bool extended, Part& part) {
  part.style = r.U32();
  part.ex_style = r.U32();
  if (extended) std::swap(part.style, part.ex_style);
}

template <typename Part>
void ReadPlace(Reader& r, Part& part) {
  part.x = r.S16();
  part.y = r.S16();
  part.cx = r.S16();
  part.cy = r.S16();
}

}  // namespace

std::optional<DialogTemplate> ParseDialog(const Bytes& data) {
  constexpr std::uint32_t kDsSetFont = 0x40;
  Reader r(data);
  DialogTemplate dialog;
  dialog.extended = data.size() >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
  if (dialog.extended) r.Seek(8);  // version, signature, help id
  ReadStyles(r, dialog.extended, dialog);
  const std::size_t count = r.U16();
  ReadPlace(r, dialog);
  r.TextOrOrdinal();  // menu
  r.TextOrOrdinal();  // window class
  dialog.caption = r.Text();
  if (dialog.style & kDsSetFont) {
    dialog.point_size = r.U16();
    if (dialog.extended) r.Seek(r.at() + 4);  // weight, italic, character set
    dialog.font = r.Text();
  }
  for (std::size_t i = 0; r.ok() && i < count; ++i) {
    r.Align4();
    DialogItem item;
    if (dialog.extended) r.U32();  // help id
    ReadStyles(r, dialog.extended, item);
    ReadPlace(r, item);
    item.id = dialog.extended ? r.U32() : r.U16();
    item.class_name = r.TextOrOrdinal();
    item.text = r.TextOrOrdinal();
    const std::uint16_t creation_data = r.U16();
    r.Seek(r.at() + creation_data);
    dialog.items.push_back(item);
  }
  if (!r.ok()) return std::nullopt;
  return dialog;
}

namespace {

// One node of the version information: its key, value and children, walked from
// `offset`; string values of the string tables are collected under "TABLE/Key".
bool ReadVersionNode(const Bytes& data, std::size_t offset, int depth, const std::string& table,
                     VersionInfo& info) {
  Reader r(data);
  r.Seek(offset);
  const std::uint16_t length = r.U16();
  const std::uint16_t value_length = r.U16();
  const std::uint16_t type = r.U16();
  const std::string key = r.Text();
  r.Align4();
  const std::size_t end = offset + length;
  if (!r.ok() || length < 6 || end > data.size() || depth > 4) return false;
  if (depth == 0) {
    Reader fixed(data);
    fixed.Seek(r.at());
    if (fixed.U32() != 0xFEEF04BD) return false;
    fixed.U32();  // structure version
    const std::uint32_t high = fixed.U32();
    const std::uint32_t low = fixed.U32();
    info.file_version = {static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                         static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
  }
  if (depth == 3 && type == 1) {
    Reader value(data);
    value.Seek(r.at());
    std::string text = value.Text(value_length);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    info.strings[table + "/" + key] = text;
  }
  // A text value counts in UTF-16 units, a binary one in bytes.
  r.Seek(r.at() + (type == 1 ? 2u * value_length : value_length));
  r.Align4();
  while (r.ok() && r.at() + 6 <= end) {
    const std::size_t child = r.at();
    Reader peek(data);
    peek.Seek(child);
    const std::uint16_t child_length = peek.U16();
    if (child_length == 0) break;
    if (!ReadVersionNode(data, child, depth + 1, depth == 2 ? key : table, info)) return false;
    r.Seek(child + child_length);
    r.Align4();
  }
  return true;
}

}  // namespace

std::optional<VersionInfo> ParseVersion(const Bytes& data) {
  VersionInfo info;
  if (!ReadVersionNode(data, 0, 0, "", info)) return std::nullopt;
  return info;
}

std::optional<std::string> StringTableEntry(const ResourceFile& file, std::uint16_t id) {
  const auto block = file.Find(kRtString, {static_cast<std::uint16_t>(id / 16 + 1), ""});
  if (!block) return std::nullopt;
  Reader r(*block);
  for (int i = 0; i < id % 16; ++i) {
    const std::uint16_t skipped = r.U16();
    r.Seek(r.at() + 2u * skipped);
  }
  const std::uint16_t length = r.U16();
  std::string text = r.Text(length);
  if (!r.ok() || length == 0) return std::nullopt;
  return text;
}

std::optional<BitmapHeader> ParseBitmap(const Bytes& data) {
  Reader r(data);
  if (r.U32() < 40) return std::nullopt;
  BitmapHeader header;
  header.width = static_cast<std::int32_t>(r.U32());
  header.height = static_cast<std::int32_t>(r.U32());
  r.U16();  // planes
  header.bits_per_pixel = r.U16();
  if (!r.ok()) return std::nullopt;
  return header;
}

}  // namespace pe
