// Simulated workstation: SIDs, access lists and security descriptors in memory.
#include "platform/sim/security_blobs.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace sim {
namespace {

constexpr char kAclTag[4] = {'S', 'A', 'C', 'L'};
constexpr char kSelfRelativeTag[4] = {'S', 'S', 'D', 'R'};
constexpr char kAbsoluteTag[4] = {'A', 'S', 'D', 'R'};

struct AbsoluteDescriptor {
  char tag[4];
  const void* owner;
  const void* dacl;
};

bool Tagged(const void* block, const char (&tag)[4]) {
  return block != nullptr && std::memcmp(block, tag, 4) == 0;
}

std::string AclText(const std::vector<Ace>& aces) {
  Descriptor d;
  d.has_dacl = true;
  d.aces = aces;
  return FormatSddl(d);
}

std::size_t AclBlockSize(const std::vector<Ace>& aces) { return 4 + AclText(aces).size() + 1; }

void WriteAclBlock(const std::vector<Ace>& aces, char* block) {
  const std::string text = AclText(aces);
  std::memcpy(block, kAclTag, 4);
  std::memcpy(block + 4, text.c_str(), text.size() + 1);
}

// An entry of a descriptor `depth` levels up as the object receives it, if it does.
std::optional<Ace> Received(const Ace& ace, int depth, ObjectKind kind) {
  if (depth > 1 && (ace.flags & kAceNoPropagate)) return std::nullopt;
  const bool object_inherit = ace.flags & kAceObjectInherit;
  const bool container_inherit = ace.flags & kAceContainerInherit;
  Ace received = ace;
  if (kind == ObjectKind::File) {
    if (!object_inherit) return std::nullopt;
    received.flags = kAceInherited;
    return received;
  }
  if (!container_inherit && !object_inherit) return std::nullopt;
  if (ace.flags & kAceNoPropagate) {
    if (!container_inherit) return std::nullopt;
    received.flags = kAceInherited;
    return received;
  }
  // A container passes the entry on; one meant for files only is inherit-only here.
  received.flags = kAceInherited | (ace.flags & (kAceObjectInherit | kAceContainerInherit));
  if (!container_inherit) received.flags |= kAceInheritOnly;
  return received;
}

}  // namespace

std::vector<std::uint8_t> SidBytes(std::uint8_t authority, std::span<const std::uint32_t> subs) {
  std::vector<std::uint8_t> bytes = {
      1, static_cast<std::uint8_t>(subs.size()), 0, 0, 0, 0, 0, authority};
  for (std::uint32_t sub : subs)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(sub >> (8 * i)));
  return bytes;
}

std::vector<std::uint8_t> SidBytesOfText(std::string_view text) {
  std::vector<std::uint64_t> numbers;
  std::uint64_t number = 0;
  for (char c : text.substr(text.size() > 4 ? 4 : text.size())) {
    if (c == '-') {
      numbers.push_back(number);
      number = 0;
    } else if (c >= '0' && c <= '9') {
      number = std::min<std::uint64_t>(number * 10 + static_cast<std::uint64_t>(c - '0'), 0xFFFFFFFFu);
    }
  }
  numbers.push_back(number);
  std::vector<std::uint32_t> subs;
  for (std::size_t i = 1; i < numbers.size() && subs.size() < 15; ++i)
    subs.push_back(static_cast<std::uint32_t>(numbers[i]));
  return SidBytes(static_cast<std::uint8_t>(numbers[0]), subs);
}

std::string SidText(const void* sid) {
  const auto* bytes = static_cast<const std::uint8_t*>(sid);
  std::uint64_t authority = 0;
  for (int i = 2; i < 8; ++i) authority = (authority << 8) | bytes[i];
  std::string text = "S-" + std::to_string(bytes[0]) + "-" + std::to_string(authority);
  for (int n = 0; n < bytes[1]; ++n) {
    std::uint32_t sub = 0;
    std::memcpy(&sub, bytes + 8 + 4 * n, 4);
    text += "-" + std::to_string(sub);
  }
  return text;
}

void* NewAclBlock(const std::vector<Ace>& aces) {
  auto* block = static_cast<char*>(std::malloc(AclBlockSize(aces)));
  if (block != nullptr) WriteAclBlock(aces, block);
  return block;
}

std::optional<std::vector<Ace>> AclOfBlock(const void* acl) {
  if (!Tagged(acl, kAclTag)) return std::nullopt;
  std::string error;
  auto parsed = ParseSddl(static_cast<const char*>(acl) + 4, &error);
  if (!parsed) return std::nullopt;
  return parsed->aces;
}

std::size_t DescriptorBlockSize(const Descriptor& descriptor) {
  return 4 + FormatSddl(descriptor).size() + 1 + AclBlockSize(descriptor.aces);
}

void WriteDescriptorBlock(const Descriptor& descriptor, void* block, void** dacl) {
  const std::string text = FormatSddl(descriptor);
  auto* bytes = static_cast<char*>(block);
  std::memcpy(bytes, kSelfRelativeTag, 4);
  std::memcpy(bytes + 4, text.c_str(), text.size() + 1);
  char* acl = bytes + 4 + text.size() + 1;
  WriteAclBlock(descriptor.aces, acl);
  if (dacl) *dacl = descriptor.has_dacl ? acl : nullptr;
}

void* NewDescriptorBlock(Descriptor descriptor, std::uint32_t information, void** dacl) {
  if (!(information & 0x1)) descriptor.owner.clear();  // OWNER_SECURITY_INFORMATION
  if (!(information & 0x2)) descriptor.group.clear();  // GROUP_SECURITY_INFORMATION
  void* block = std::malloc(DescriptorBlockSize(descriptor));
  if (block != nullptr) WriteDescriptorBlock(descriptor, block, dacl);
  return block;
}

void InitializeAbsoluteDescriptor(void* block) {
  AbsoluteDescriptor d{};
  std::memcpy(d.tag, kAbsoluteTag, 4);
  std::memcpy(block, &d, sizeof d);
}

bool SetAbsoluteDacl(void* block, const void* acl) {
  if (!Tagged(block, kAbsoluteTag)) return false;
  static_cast<AbsoluteDescriptor*>(block)->dacl = acl;
  return true;
}

bool SetAbsoluteOwner(void* block, const void* sid) {
  if (!Tagged(block, kAbsoluteTag)) return false;
  static_cast<AbsoluteDescriptor*>(block)->owner = sid;
  return true;
}

std::optional<Descriptor> DescriptorOfBlock(const void* block) {
  std::string error;
  if (Tagged(block, kSelfRelativeTag)) return ParseSddl(static_cast<const char*>(block) + 4, &error);
  if (!Tagged(block, kAbsoluteTag)) return std::nullopt;
  const auto* absolute = static_cast<const AbsoluteDescriptor*>(block);
  Descriptor d;
  if (absolute->owner) d.owner = SidText(absolute->owner);
  if (absolute->dacl) {
    auto aces = AclOfBlock(absolute->dacl);
    if (!aces) return std::nullopt;
    d.has_dacl = true;
    d.aces = std::move(*aces);
  }
  return d;
}

std::vector<Ace> InheritedEntries(const Descriptor& parent, ObjectKind kind) {
  std::vector<Ace> entries;
  if (!parent.has_dacl) return entries;
  for (const Ace& ace : parent.aces)
    if (auto received = Received(ace, 1, kind)) entries.push_back(*received);
  return entries;
}

Descriptor MaterializedDescriptor(const SecurityTable& table, std::string_view object,
                                  ObjectKind kind, std::string_view fallback) {
  int depth = 0;
  std::string text = table.Effective(object, &depth);
  if (text.empty()) text = fallback;
  std::string error;
  Descriptor found = ParseSddl(text, &error).value_or(Descriptor{{}, {}, true, {}});
  if (depth == 0) return found;
  Descriptor d;
  d.has_dacl = true;
  if (!found.has_dacl) {
    d.has_dacl = false;
    return d;
  }
  for (const Ace& ace : found.aces)
    if (auto received = Received(ace, depth, kind)) d.aces.push_back(*received);
  return d;
}

}  // namespace sim
