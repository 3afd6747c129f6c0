// Granted access masks as records of named rights.
#include "access/access_mask.h"

#include <span>

#include "base/fixed_string.h"
#include "diag/log.h"

namespace {

struct NamedRight {
  std::uint32_t bits;  // all of them must be granted
  int slot;
  const char* word;
};

constexpr NamedRight kFileRights[] = {
    {0x1, 0, "Read; "},          {0x2, 1, "Write; "},         {0x4, 2, "Append; "},
    {0x10000, 9, "Delete; "},    {0x40, 6, "DeleteChild; "},  {0x20, 5, "Execute; "},
    {0x100000, 13, "Synchronize; "}, {0x80, 7, "ReadAttr; "}, {0x100, 8, "WriteAttr; "},
    {0x8, 3, "ReadEA; "},        {0x10, 4, "WriteEA; "},      {0x20000, 10, "ReadSecurity; "},
    {0x40000, 11, "WriteSecurity; "},
};

constexpr NamedRight kRegistryRights[] = {
    {0x1, 0, "Read; "},          {0x2, 1, "Write; "},          {0x4, 2, "Append; "},
    {0x10000, 9, "Delete; "},    {0x8, 3, "Enumerate; "},      {0x10, 4, "Notify; "},
    {0x20, 5, "CreateLink; "},   {0x20000, 10, "ReadSecurity; "}, {0x40000, 11, "WriteSecurity; "},
    {0x200, 6, "WOW64_32KEY; "}, {0x100, 7, "WOW64_64KEY; "},  {0x300, 8, "WOW64_RES; "},
    {0x100000, 13, "Synchronize; "},
};

struct ObjectRights {
  const char* head;
  std::uint32_t full;
  std::uint32_t specific;
  std::span<const NamedRight> rights;
};

constexpr std::uint32_t kAllStandard = 0xF0000;

bool HasAll(std::uint32_t mask, std::uint32_t bits) { return (mask & bits) == bits; }

}  // namespace

bool ParseAccessMask(Launcher& l, std::uint32_t mask, GrantedRights& rights, RightsObject object) {
  const ObjectRights table =
      object == RightsObject::FileSystem
          ? ObjectRights{"file system", 0x1F01FF, 0x1FF, kFileRights}
          : ObjectRights{"registry", 0xF003F, 0x3F, kRegistryRights};
  rights.flags.fill(0);
  MessageBuffer text;
  text.format_cut("ParseAccessMask found granted %s rights within Access Mask (%8X): ", table.head, mask);
  if (mask == 0) {
    text.append_cut("None; ");
  } else {
    if (HasAll(mask, table.full)) {
      text.append_cut("FullAccess*; ");
      rights.flags[GrantedRights::kAllSpecific] = 1;
      rights.flags[GrantedRights::kAllStandard] = 1;
      rights.flags[GrantedRights::kFullAccess] = 1;
    } else {
      if (HasAll(mask, table.specific)) {
        text.append_cut("AllSpecific*; ");
        rights.flags[GrantedRights::kAllSpecific] = 1;
      }
      if (HasAll(mask, kAllStandard)) {
        text.append_cut("AllStandard*; ");
        rights.flags[GrantedRights::kAllStandard] = 1;
      }
    }
    for (const NamedRight& right : table.rights) {
      if (!HasAll(mask, right.bits)) continue;
      text.append_cut(right.word);
      rights.flags[right.slot] = 1;
    }
  }
  text.truncate(text.size() - 2);
  text.append_cut(".");
  DebugLog(l, "%s", text.c_str());
  return true;
}
