// Simulated workstation: SIDs, access lists and security descriptors as the launcher
// holds them in memory. SIDs have their binary Windows form; an access list or a
// descriptor is a tagged block holding its SDDL text, so that the launcher can only
// pass it back to the platform, as with the opaque structures of Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/access_check.h"
#include "platform/sim/sddl.h"
#include "platform/sim/security_table.h"

namespace sim {

// A SID in its binary form and as text ("S-1-1-0").
std::vector<std::uint8_t> SidBytes(std::uint8_t authority, std::span<const std::uint32_t> subs);
std::string SidText(const void* sid);
// The binary form of a SID text "S-1-<authority>-<sub>..." (checked when the machine
// was read); sub-authorities beyond 15 are dropped.
std::vector<std::uint8_t> SidBytesOfText(std::string_view text);

// A new access list (freed with std::free, as LocalFree is in the simulation).
void* NewAclBlock(const std::vector<Ace>& aces);
// The entries of an access list block; nothing for a block that is not one.
std::optional<std::vector<Ace>> AclOfBlock(const void* acl);

// A self-relative descriptor: its size, and the block written into `size` bytes.
// `*dacl`, when asked for, points at the access list inside the block.
std::size_t DescriptorBlockSize(const Descriptor& descriptor);
void WriteDescriptorBlock(const Descriptor& descriptor, void* block, void** dacl = nullptr);

// A new self-relative descriptor (std::free) of the parts `information` asks for;
// null when memory runs out.
void* NewDescriptorBlock(Descriptor descriptor, std::uint32_t information, void** dacl);

// An absolute descriptor in a caller's buffer: owner SID and access list pointers.
void InitializeAbsoluteDescriptor(void* block);
bool SetAbsoluteDacl(void* block, const void* acl);
bool SetAbsoluteOwner(void* block, const void* sid);

// The descriptor a block (self-relative or absolute) stands for.
std::optional<Descriptor> DescriptorOfBlock(const void* block);

// The descriptor an object has in effect: its own, or the entries it inherits from
// the nearest ancestor with a line, marked inherited. `fallback` serves a top without
// a line (registry roots).
Descriptor MaterializedDescriptor(const SecurityTable& table, std::string_view object,
                                  ObjectKind kind, std::string_view fallback);

// The inheritable entries of a parent's descriptor as a new child receives them.
std::vector<Ace> InheritedEntries(const Descriptor& parent, ObjectKind kind);

}  // namespace sim
