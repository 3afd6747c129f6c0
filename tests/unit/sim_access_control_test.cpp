// The simulated workstation's security operations: Authz checks against descriptors
// read from security.txt, descriptors written back, and every operation failable.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/error_codes.h"
#include "platform/sim/sim_platform.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kFileAllAccess = 0x1F01FF;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

class SecurityMachine {
 public:
  SecurityMachine(const std::string& ini, const std::string& security) {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() /
              ("portavel-acl-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "drives" / "C" / "ProgramData" / "Veltrix");
    std::ofstream(folder_ / "machine.ini") << ini;
    std::ofstream(folder_ / "registry.reg")
        << "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.]\n";
    std::ofstream(folder_ / "security.txt") << security;
    ws_ = sim::SimWorkstation::Load(folder_);
  }
  ~SecurityMachine() {
    ws_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  platform::Security& security() { return ws_->platform().security; }
  platform::FileSystem& files() { return ws_->platform().files; }
  platform::Registry& registry() { return ws_->platform().registry; }
  platform::System& system() { return ws_->platform().system; }
  std::string SavedSecurity() {
    ws_->Save();
    std::ifstream in(folder_ / "security.txt");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

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

 private:
  fs::path folder_;
  std::unique_ptr<sim::SimWorkstation> ws_;
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

TEST(SimAccessControl, MergedEntriesAreWrittenBackAndSeenAgain) {
  SecurityMachine m("[user]\ntoken_admin = true\n",
                    "C:\\ProgramData\\Veltrix\tO:BAD:(A;;FR;;;WD)(A;;FA;;;BA)\n");
  platform::Security& s = m.security();
  void* dacl = nullptr;
  void* descriptor = nullptr;
  const platform::Handle folder = OpenFolder(m, kVeltrix, kRepairAccess);
  ASSERT_EQ(s.GetFileSecurityInfo(folder, platform::kDaclSecurityInformation, &dacl, &descriptor), 0u);
  const std::uint32_t world[] = {0};
  void* everyone = nullptr;
  ASSERT_TRUE(s.AllocateAndInitializeSid(platform::SidAuthority::World, world, &everyone));
  platform::ExplicitAccess entry{kFileAllAccess, platform::AccessMode::Set, 3,
                                 platform::TrusteeForm::Sid, platform::TrusteeType::WellKnownGroup,
                                 everyone, nullptr};
  void* merged = nullptr;
  ASSERT_EQ(s.SetEntriesInAcl({&entry, 1}, dacl, &merged), 0u);
  ASSERT_EQ(s.SetFileSecurityInfo(folder, platform::kDaclSecurityInformation, merged), 0u);
  m.system().CloseHandle(folder);
  s.LocalFree(merged);
  s.LocalFree(descriptor);
  s.FreeSid(everyone);
  EXPECT_EQ(m.FolderGranted(kVeltrix, true), kFileAllAccess);
  EXPECT_NE(m.SavedSecurity().find("C:\\ProgramData\\Veltrix\tO:BAD:(A;;0x1f01ff;;;BA)(A;OICI;0x1f01ff;;;WD)(A;OICIID;0x1f01ff;;;WD)\n"),
            std::string::npos)
      << m.SavedSecurity();
}

TEST(SimAccessControl, FolderCreatedWithDescriptorUnderARestrictedParent) {
  const char* restricted = "C:\\ProgramData\tD:(A;OICI;FR;;;WD)(A;OICI;FA;;;BA)\n";
  for (bool admin : {false, true}) {
    SecurityMachine m(admin ? "[user]\ntoken_admin = true\n" : "", restricted);
    platform::Security& s = m.security();
    std::vector<std::uint8_t> absolute(platform::kSecurityDescriptorMinLength);
    const std::uint32_t world[] = {0};
    void* everyone = nullptr;
    ASSERT_TRUE(s.AllocateAndInitializeSid(platform::SidAuthority::World, world, &everyone));
    platform::ExplicitAccess entry{kFileAllAccess, platform::AccessMode::Set, 3,
                                   platform::TrusteeForm::Sid,
                                   platform::TrusteeType::WellKnownGroup, everyone, nullptr};
    void* acl = nullptr;
    ASSERT_EQ(s.SetEntriesInAcl({&entry, 1}, nullptr, &acl), 0u);
    ASSERT_TRUE(s.InitializeSecurityDescriptor(absolute.data()));
    ASSERT_TRUE(s.SetSecurityDescriptorDacl(absolute.data(), acl));
    ASSERT_TRUE(s.SetSecurityDescriptorOwner(absolute.data(), everyone));
    EXPECT_EQ(m.Granted(absolute.data(), true), kFileAllAccess);
    EXPECT_EQ(s.CreateDirectory("C:\\ProgramData\\New", absolute.data()), admin);
    if (admin) EXPECT_EQ(m.FolderGranted("C:\\ProgramData\\New", true), kFileAllAccess);
    else EXPECT_EQ(m.system().GetLastError(), platform::kErrorAccessDenied);
    s.LocalFree(acl);
    s.FreeSid(everyone);
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
      {"open fails", std::string(kAdmin) + "[fail]\nCreateFile = 1:32\n", "", kRepairAccess, kBackup,
       platform::kOpenExisting, 32, 0, 0},
      {"read fails", std::string(kAdmin) + "[fail]\nGetSecurityInfo = 1:8\n", "", kRepairAccess, kBackup,
       platform::kOpenExisting, 0, 8, 0},
      {"write fails", std::string(kAdmin) + "[fail]\nSetSecurityInfo = 1\n", "", kRepairAccess, kBackup,
       platform::kOpenExisting, 0, 0, 5},
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
      {"[fail]\nSetFileAttributes = 1:87\n", "", true, 87},
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

TEST(SimAccessControl, KeyDescriptorReadAndReplaced) {
  SecurityMachine m("[user]\ntoken_admin = true\n",
                    "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KA;;;BA)(A;CI;KR;;;BU)\n");
  platform::RegKey key = 0;
  ASSERT_EQ(m.registry().RegOpenKeyEx(platform::kHKeyLocalMachine, "SOFTWARE\\Veltrix Solutions Inc.",
                                      0xF013F, &key), 0u);
  void* dacl = nullptr;
  void* descriptor = nullptr;
  ASSERT_EQ(m.registry().GetKeySecurityInfo(key, 7, &dacl, &descriptor), 0u);
  EXPECT_EQ(m.Granted(descriptor, true), 0u);
  platform::ExplicitAccess entry{0xF20FFFFF, platform::AccessMode::Set, 3,
                                 platform::TrusteeForm::Name, platform::TrusteeType::Group, nullptr,
                                 "Everyone"};
  void* merged = nullptr;
  ASSERT_EQ(m.security().SetEntriesInAcl({&entry, 1}, dacl, &merged), 0u);
  ASSERT_EQ(m.registry().SetKeySecurityInfo(key, 4, merged), 0u);
  m.security().LocalFree(merged);
  m.security().LocalFree(descriptor);
  ASSERT_EQ(m.registry().GetKeySecurityInfo(key, 7, &dacl, &descriptor), 0u);
  EXPECT_EQ(m.Granted(descriptor, true).value_or(0) & kKeyAllAccess, kKeyAllAccess);
  m.security().LocalFree(descriptor);
  bool disabled = false;
  EXPECT_EQ(m.registry().RegQueryReflectionKey(key, &disabled), 0u);
  EXPECT_TRUE(disabled);  // Windows 10 reflects no key
  std::uint32_t status = 1;
  EXPECT_TRUE(m.registry().NtSetKeyControlFlags(key, 10, &status));
  EXPECT_EQ(status, 0u);
  m.registry().RegCloseKey(key);
}

TEST(SimAccessControl, EveryOperationFailsWhenTold) {
  struct Case {
    const char* fail;
    std::uint32_t error;
  };
  const Case cases[] = {
      {"AuthzInitializeResourceManager", 5}, {"AuthzInitializeContextFromSid", 5},
      {"AuthzInitializeContextFromToken", 5}, {"AuthzAccessCheck", 5},
      {"GetFileSecurity", 5},
      {"SetEntriesInAcl", 1332}, {"InitializeSecurityDescriptor", 5},
      {"SetSecurityDescriptorDacl", 5}, {"SetSecurityDescriptorOwner", 5},
      {"CreateDirectory", 5}, {"RegQueryReflectionKey", 5}, {"RegDisableReflectionKey", 5},
      {"RegEnableReflectionKey", 5}, {"GetSecurityInfo", 5}, {"SetSecurityInfo", 5},
      {"GetProcAddress", 127}, {"NtSetInformationKey", 0xC0000022},
  };
  for (const auto& c : cases) {
    SecurityMachine m("[user]\ntoken_admin = true\n[fail]\n" + std::string(c.fail) + " = 1:" +
                          std::to_string(c.error) + "\n",
                      "");
    platform::Security& s = m.security();
    platform::Registry& r = m.registry();
    const std::string name = c.fail;
    platform::RegKey key = 0;
    ASSERT_EQ(r.RegOpenKeyEx(platform::kHKeyLocalMachine, "SOFTWARE", 0xF013F, &key), 0u);
    std::uint32_t needed = 0;
    void* dacl = nullptr;
    void* descriptor = nullptr;
    std::vector<std::uint8_t> absolute(platform::kSecurityDescriptorMinLength);
    s.InitializeSecurityDescriptor(absolute.data());
    bool disabled = false;
    std::uint32_t status = 0;
    std::uint32_t result = 0;
    if (name.starts_with("Authz")) {
      EXPECT_FALSE(m.Granted(absolute.data(), name != "AuthzInitializeContextFromToken"));
      result = m.system().GetLastError();
    } else if (name == "GetFileSecurity") {
      EXPECT_FALSE(s.GetFileSecurity(kVeltrix, 5, nullptr, 0, &needed));
      result = m.system().GetLastError();
    } else if (name == "SetEntriesInAcl") {
      result = s.SetEntriesInAcl({}, nullptr, &dacl);
    } else if (name == "InitializeSecurityDescriptor") {
      result = m.system().GetLastError();
    } else if (name == "SetSecurityDescriptorDacl") {
      EXPECT_FALSE(s.SetSecurityDescriptorDacl(absolute.data(), nullptr));
      result = m.system().GetLastError();
    } else if (name == "SetSecurityDescriptorOwner") {
      EXPECT_FALSE(s.SetSecurityDescriptorOwner(absolute.data(), nullptr));
      result = m.system().GetLastError();
    } else if (name == "CreateDirectory") {
      EXPECT_FALSE(s.CreateDirectory("C:\\ProgramData\\New", absolute.data()));
      result = m.system().GetLastError();
    } else if (name == "RegQueryReflectionKey") {
      result = r.RegQueryReflectionKey(key, &disabled);
    } else if (name == "RegDisableReflectionKey") {
      result = r.RegDisableReflectionKey(key);
    } else if (name == "RegEnableReflectionKey") {
      result = r.RegEnableReflectionKey(key);
    } else if (name == "GetSecurityInfo") {
      result = r.GetKeySecurityInfo(key, 7, &dacl, &descriptor);
    } else if (name == "SetSecurityInfo") {
      result = r.SetKeySecurityInfo(key, 4, nullptr);
    } else if (name == "GetProcAddress") {
      EXPECT_FALSE(r.NtSetKeyControlFlags(key, 10, &status));
      result = m.system().GetLastError();
    } else {
      EXPECT_TRUE(r.NtSetKeyControlFlags(key, 10, &status));
      result = status;
    }
    EXPECT_EQ(result, c.error) << c.fail;
    r.RegCloseKey(key);
  }
}

}  // namespace
