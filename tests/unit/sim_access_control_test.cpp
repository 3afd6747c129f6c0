// The simulated workstation's security operations: Authz checks against descriptors
// read from security.txt, descriptors written back, and every operation failable.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/error_codes.h"
#include "tests/support/test_workstation.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kFileAllAccess = 0x1F01FF;

class SecurityMachine : public test_support::Workstation {
 public:
  SecurityMachine(const std::string& ini, const std::string& security) {
    fs::create_directories(C("ProgramData/Veltrix"));
    Write("machine.ini", ini);
    Write("registry.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.]\n");
    Write("security.txt", security);
    Load();
  }
  platform::Security& security() { return platform().security; }
  platform::FileSystem& files() { return platform().files; }
  platform::Registry& registry() { return platform().registry; }
  platform::System& system() { return platform().system; }

  // The rights a descriptor grants Everyone, or the invoker's token; nothing when a
  // step fails.
  std::optional<std::uint32_t> Granted(const void* descriptor, bool everyone) {
    platform::Security& s = security();
    platform::AuthzHandle manager = 0;
    platform::AuthzHandle context = 0;
    if (!s.AuthzInitializeResourceManager(&manager)) return std::nullopt;
    const std::uint32_t world[] = {0};
    void* sid = nullptr;
    platform::Handle token = 0;
    bool made = everyone ? s.AllocateAndInitializeSid(platform::SidAuthority::World, world, &sid) &&
                               s.AuthzInitializeContextFromSid(manager, sid, &context)
                         : s.OpenProcessToken(0xA, &token) &&
                               s.AuthzInitializeContextFromToken(manager, token, &context);
    std::uint32_t granted = 0;
    std::uint32_t reply = 0;
    made = made && s.AuthzAccessCheck(context, descriptor, sid, &granted, &reply);
    if (sid) s.FreeSid(sid);
    if (token) system().CloseHandle(token);
    if (context) s.AuthzFreeContext(context);
    s.AuthzFreeResourceManager(manager);
    if (!made) return std::nullopt;
    return granted;
  }

  std::optional<std::uint32_t> FolderGranted(std::string_view path, bool everyone) {
    std::uint32_t needed = 0;
    security().GetFileSecurity(path, 5, nullptr, 0, &needed);
    std::vector<std::uint8_t> buffer(needed);
    if (!security().GetFileSecurity(path, 5, buffer.data(), needed, &needed)) return std::nullopt;
    EXPECT_TRUE(security().IsValidSecurityDescriptor(buffer.data()));
    return Granted(buffer.data(), everyone);
  }

};

constexpr const char* kVeltrix = "C:\\ProgramData\\Veltrix";

// The folder repair's handle: read, write and every standard right.
constexpr std::uint32_t kRepairAccess = 0xC01F0000;

platform::Handle OpenFolder(SecurityMachine& m, std::string_view path, std::uint32_t access,
                            std::uint32_t flags = platform::kFileFlagBackupSemantics,
                            std::uint32_t disposition = platform::kOpenExisting) {
  return m.files().CreateFile(path, access, platform::kFileShareRead, disposition, flags);
}

TEST(SimAccessControl, AuthzGrantsWhatTheFolderDescriptorSays) {
  struct Case {
    const char* security;
    bool everyone;
    std::optional<std::uint32_t> granted;  // nothing: the descriptor cannot be read
  };
  const Case cases[] = {
      {"", true, kFileAllAccess},  // the drive root's default, inherited
      {"C:\\ProgramData\tD:(A;OICI;FR;;;WD)\n", true, 0x120089},
      {"C:\\ProgramData\\Veltrix\tD:(A;;FA;;;BA)(A;;FR;;;BU)\n", true, 0},
      {"C:\\ProgramData\\Veltrix\tD:(A;;FA;;;BU)\n", false, kFileAllAccess},
      {"C:\\ProgramData\\Veltrix\tD:(D;;FA;;;WD)(A;;FA;;;BU)\n", false, std::nullopt},
  };
  for (const auto& c : cases) {
    SecurityMachine m("", c.security);
    EXPECT_EQ(m.FolderGranted(kVeltrix, c.everyone), c.granted) << c.security;
  }
}

// A folder opens by handle only with backup semantics and only with rights its
// descriptor grants the token; the handle reads and writes the folder's DACL with the
// rights it was opened with. Get/SetSecurityInfo count with the keys' calls.
TEST(SimAccessControl, AFolderHandleServesItsSecurityWithTheRightsItWasOpenedWith) {
  constexpr const char* kAdmin = "[user]\ntoken_admin = true\n";
  constexpr const char* kForAdministrators = "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BA)(A;OICI;FR;;;BU)\n";
  constexpr std::uint32_t kBackup = platform::kFileFlagBackupSemantics;
  struct Row {
    const char* name;
    std::string ini;
    const char* security;
    std::uint32_t access, flags, disposition;
    std::uint32_t open_error, get_error, set_error;  // 0: succeeds
  };
  const Row rows[] = {
      {"administrator repairs", kAdmin, kForAdministrators, kRepairAccess, kBackup, platform::kOpenExisting, 0, 0, 0},
      {"no backup semantics", kAdmin, "", kRepairAccess, 0, platform::kOpenExisting, 5, 0, 0},
      {"created like a file", kAdmin, "", kRepairAccess, kBackup, platform::kCreateAlways, 5, 0, 0},
      {"clerk may not write", "", kForAdministrators, kRepairAccess, kBackup, platform::kOpenExisting, 5, 0, 0},
      {"clerk reads", "", kForAdministrators, platform::kGenericRead, kBackup, platform::kOpenExisting, 0, 0, 5},
  };
  for (const Row& row : rows) {
    SecurityMachine m(row.ini, row.security);
    const platform::Handle folder = OpenFolder(m, kVeltrix, row.access, row.flags, row.disposition);
    if (row.open_error) {
      EXPECT_EQ(folder, platform::kInvalidHandle) << row.name;
      EXPECT_EQ(m.system().GetLastError(), row.open_error) << row.name;
      continue;
    }
    ASSERT_NE(folder, platform::kInvalidHandle) << row.name;
    char byte;
    std::uint32_t read = 0;
    EXPECT_FALSE(m.files().ReadFile(folder, &byte, 1, &read)) << row.name;  // no bytes in a folder
    void* dacl = nullptr;
    void* descriptor = nullptr;
    EXPECT_EQ(m.security().GetFileSecurityInfo(folder, platform::kDaclSecurityInformation, &dacl, &descriptor),
              row.get_error) << row.name;
    if (row.get_error == 0) {
      EXPECT_EQ(m.security().SetFileSecurityInfo(folder, platform::kDaclSecurityInformation, dacl),
                row.set_error) << row.name;
      m.security().LocalFree(descriptor);
    }
    EXPECT_TRUE(m.system().CloseHandle(folder));
  }
}

// A plain new folder needs FILE_ADD_SUBDIRECTORY on its parent, new attributes need
// FILE_WRITE_ATTRIBUTES.
TEST(SimAccessControl, PlainFoldersAndAttributesNeedTheirRights) {
  const char* restricted = "C:\\ProgramData\tD:(A;OICI;FR;;;WD)(A;OICI;FA;;;BA)\n";
  struct Row {
    const char* ini;
    const char* security;
    bool created;
    std::uint32_t attributes_error;  // 0: set
  };
  const Row rows[] = {
      {"", restricted, false, 5},
      {"[user]\ntoken_admin = true\n", restricted, true, 0},
      {"", "", true, 0},
  };
  for (const Row& row : rows) {
    SecurityMachine m(row.ini, row.security);
    EXPECT_EQ(m.files().CreateDirectory("C:\\ProgramData\\New"), row.created) << row.ini << row.security;
    if (!row.created) {
      EXPECT_EQ(m.system().GetLastError(), platform::kErrorAccessDenied);
    }
    EXPECT_EQ(m.files().SetFileAttributes(kVeltrix, platform::kFileAttributeNormal), row.attributes_error == 0);
    if (row.attributes_error) {
      EXPECT_EQ(m.system().GetLastError(), row.attributes_error) << row.ini;
    }
  }
  SecurityMachine m("", "");
  EXPECT_FALSE(m.files().SetFileAttributes("C:\\ProgramData\\Missing", platform::kFileAttributeNormal));
  EXPECT_EQ(m.system().GetLastError(), platform::kErrorFileNotFound);
}

// The operations the repair scenarios never see fail (the others are failed there).
TEST(SimAccessControl, EveryOperationFailsWhenTold) {
  using Call = std::uint32_t (*)(SecurityMachine&, void* descriptor, platform::RegKey key);
  const std::pair<const char*, Call> cases[] = {
      {"AuthzInitializeResourceManager", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.Granted(d, true) ? 0u : m.system().GetLastError(); }},
      {"AuthzInitializeContextFromSid", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.Granted(d, true) ? 0u : m.system().GetLastError(); }},
      {"AuthzInitializeContextFromToken", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.Granted(d, false) ? 0u : m.system().GetLastError(); }},
      {"AuthzAccessCheck", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.Granted(d, true) ? 0u : m.system().GetLastError(); }},
      {"SetEntriesInAcl", [](SecurityMachine& m, void*, platform::RegKey) {
         void* acl = nullptr;
         return m.security().SetEntriesInAcl({}, nullptr, &acl); }},
      {"InitializeSecurityDescriptor", [](SecurityMachine& m, void*, platform::RegKey) {
         return m.system().GetLastError(); }},  // failed while the descriptor was made
      {"SetSecurityDescriptorDacl", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.security().SetSecurityDescriptorDacl(d, nullptr) ? 0u : m.system().GetLastError(); }},
      {"SetSecurityDescriptorOwner", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.security().SetSecurityDescriptorOwner(d, nullptr) ? 0u : m.system().GetLastError(); }},
      {"CreateDirectory", [](SecurityMachine& m, void* d, platform::RegKey) {
         return m.security().CreateDirectory("C:\\ProgramData\\New", d) ? 0u : m.system().GetLastError(); }},
      {"RegQueryReflectionKey", [](SecurityMachine& m, void*, platform::RegKey key) {
         bool disabled = false;
         return m.registry().RegQueryReflectionKey(key, &disabled); }},
      {"RegEnableReflectionKey", [](SecurityMachine& m, void*, platform::RegKey key) {
         return m.registry().RegEnableReflectionKey(key); }},
  };
  for (const auto& [name, call] : cases) {
    SecurityMachine m("[user]\ntoken_admin = true\n[fail]\n" + std::string(name) + " = 1:1332\n", "");
    platform::RegKey key = 0;
    ASSERT_EQ(m.registry().RegOpenKeyEx(platform::kHKeyLocalMachine, "SOFTWARE", 0xF013F, &key), 0u);
    std::vector<std::uint8_t> absolute(platform::kSecurityDescriptorMinLength);
    m.security().InitializeSecurityDescriptor(absolute.data());
    EXPECT_EQ(call(m, absolute.data(), key), 1332u) << name;
    m.registry().RegCloseKey(key);
  }
}

}  // namespace
