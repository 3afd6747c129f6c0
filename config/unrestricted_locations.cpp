// Full-access tests of files and folders, and the repairs that open folders and the
// configuration key to every user.
#include "config/unrestricted_locations.h"

#include "access/rights_check.h"
#include "access/security_descriptor_set.h"
#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/heap_helpers.h"
#include "diag/log.h"
#include "install/file_checks.h"
#include "install/fs_redirection.h"
#include "install/scoped_release.h"
#include "platform/error_codes.h"
#include "platform/files.h"
#include "platform/security.h"
#include "sysinfo/system_info_loader.h"

namespace {

// Owner and DACL: what a full-access test needs of a file's descriptor.
constexpr std::uint32_t kOwnerAndDacl =
    platform::kOwnerSecurityInformation | platform::kDaclSecurityInformation;

// Everything a registry key can grant, for the Everyone entry merged into the key.
constexpr std::uint32_t kEveryKeyRight = 0xF20FFFFF;

// An existing folder is opened to read and rewrite its access list.
constexpr std::uint32_t kFolderRepairAccess =
    platform::kGenericRead | platform::kGenericWrite | platform::kStandardRightsAll;

using LongDescription = FixedString<1024>;

bool AdminInvoked(Launcher& l) {
  if (!l.sys.UserLoaded) LoadSystemInfoObject(l);
  return l.sys.AdminInvoked;
}

template <std::size_t N>
FixedString<N> Describe(Launcher& l, std::uint32_t code) {
  FixedString<N> description;
  FormatErrorString(l, code, description);
  return description;
}

// A LocalAlloc'd block (descriptor or ACL) released when it goes out of scope.
class LocalBlock {
 public:
  explicit LocalBlock(Launcher& l) : l_(l) {}
  ~LocalBlock() {
    if (block_) l_.os.security.LocalFree(block_);
  }
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;
  void** receive() { return &block_; }
  void* get() const { return block_; }

 private:
  Launcher& l_;
  void* block_ = nullptr;
};

// The messages of one test that differ between files and folders.
struct DescriptorTexts {
  const char* routine;
  FormatFor<const char*, const char*> size_query_failed;
  bool size_query_failure_is_error;
  FormatFor<> allocation_failed;
  FormatFor<const char*, const char*> read_failed;
};

// Reads the owner and DACL of `path` into a "pSD" heap block; false after a record.
bool ReadDescriptor(Launcher& l, const PathBuffer& path, const DescriptorTexts& texts, void*& sd) {
  platform::Security& security = l.os.security;
  std::uint32_t needed = 0;
  if (!security.GetFileSecurity(path.view(), kOwnerAndDacl, nullptr, 0, &needed) &&
      l.os.system.GetLastError() != platform::kErrorInsufficientBuffer) {
    const auto description = Describe<512>(l, l.os.system.GetLastError());
    if (texts.size_query_failure_is_error)
      ErrorLog(l, texts.size_query_failed, path.c_str(), description.c_str());
    else
      DebugLog(l, texts.size_query_failed, path.c_str(), description.c_str());
    return false;
  }
  DebugLogLevel(l, 100, "%s: Size required to store security descriptor: %d", texts.routine,
                static_cast<int>(needed));
  if (!HeapAllocHlpr(l, &sd, needed, "pSD")) {
    ErrorLog(l, texts.allocation_failed);
    return false;
  }
  DebugLogLevel(l, 100, "%s: pSD heap pointer from HeapAllocHlpr = %p.", texts.routine, sd);
  if (!security.GetFileSecurity(path.view(), kOwnerAndDacl, sd, needed, &needed)) {
    ErrorLog(l, texts.read_failed, path.c_str(),
             Describe<512>(l, l.os.system.GetLastError()).c_str());
    return false;
  }
  DebugLogLevel(l, 100, "%s: Obtained security descriptor at %p from GetFileSecurity. IsValidSecurityDescriptor=%s",
                texts.routine, sd, security.IsValidSecurityDescriptor(sd) ? "true" : "false");
  return true;
}

// Releases the "pSD" slot with its record, also when nothing was allocated.
void ReleaseDescriptor(Launcher& l, const char* routine, void*& sd) {
  DebugLogLevel(l, 100, "%s: pSD heap pointer to HeapFreeHlpr = %p.", routine, sd);
  HeapFreeHlpr(l, &sd, "pSD");
}

PathBuffer Bounded(std::string_view text) {
  PathBuffer path;
  path.assign_cut(text);
  return path;
}

RightsCheckResult CheckInvokerNested(Launcher& l, const void* sd) {
  LogNestingScope nested(l);
  return CheckInvokerRightsInFile(l, sd);
}

bool FolderUnrestricted(Launcher& l, const PathBuffer& path, bool check_everyone) {
  void* sd = nullptr;
  if (!DirectoryExists(l, path.view())) {
    DebugLog(l, "IsFolderUnrestricted: Folder \"%s\" does not exist.", path.c_str());
    ReleaseDescriptor(l, "IsFolderUnrestricted", sd);
    return false;
  }
  static const DescriptorTexts kTexts{
      "IsFolderUnrestricted", "IsFolderUnrestricted: Failed to open folder \"%s\"; %s", false,
      "IsFolderUnrestricted failed: Failed to allocate security descriptor",
      "IsFolderUnrestricted: Error while opening security descriptor for folder \"%s\"; %s"};
  RightsCheckResult result = RightsCheckResult::Error;
  if (ReadDescriptor(l, path, kTexts, sd)) {
    if (check_everyone) {
      DebugLog(l, "IsFolderUnrestricted: Validating \"Everyone\" access on folder \"%s\"...", path.c_str());
      result = CheckEveryoneRightsInFile(l, sd);
    } else {
      DebugLog(l, "IsFolderUnrestricted: Validating process invoker access on folder \"%s\"...", path.c_str());
      result = CheckInvokerRightsInFile(l, sd);
    }
    if (result == RightsCheckResult::True)
      DebugLog(l, "IsFolderUnrestricted: Folder \"%s\" is unrestricted.", path.c_str());
    else if (result == RightsCheckResult::False)
      DebugLog(l, "IsFolderUnrestricted: \"Everyone\" does not have full access to folder \"%s\".", path.c_str());
    else
      DebugLog(l, "IsFolderUnrestricted: Couldn't validate \"Everyone\" access on folder \"%s\".", path.c_str());
  }
  ReleaseDescriptor(l, "IsFolderUnrestricted", sd);
  return result == RightsCheckResult::True;
}

// A created or repaired folder carries no attributes of its own; false after a record.
bool SetNormalAttributes(Launcher& l, const PathBuffer& path) {
  if (l.os.files.SetFileAttributes(path.view(), platform::kFileAttributeNormal)) return true;
  ErrorLog(l, "Tavix program data folder modification failed: Error while setting attributes on \"%s\"; %s",
           path.c_str(), Describe<1024>(l, l.os.system.GetLastError()).c_str());
  return false;
}

bool CreateFolder(Launcher& l, const PathBuffer& path) {
  DebugLog(l, "CreateUnrestrictedFolder: Folder \"%s\" does not exist. It will now be created.", path.c_str());
  ScopedSecurityDescriptorSet set(l);
  bool created = false;
  if (!set.Create()) {
    ErrorLog(l, "CreateUnrestrictedFolder failed: Error while creating security descriptor for folder \"%s\".",
             path.c_str());
  } else {
    DebugLogLevel(l, 100, "CreateUnrestrictedFolder: pSDSet.pSD = %p", set.get().pSD);
    DebugLog(l, "CreateUnrestrictedFolder: Creating \"%s\" folder...", path.c_str());
    if (!l.os.security.CreateDirectory(path.view(), set.get().pSD)) {
      ErrorLog(l, "Tavix program data folder modification failed: Error while creating \"%s\"; %s",
               path.c_str(), Describe<1024>(l, l.os.system.GetLastError()).c_str());
    } else if (SetNormalAttributes(l, path)) {
      DebugLog(l, "CreateUnrestrictedFolder: Created \"%s\" folder successfully.", path.c_str());
      created = true;
    }
  }
  return created;
}

// Sets the unrestricted entries in an existing folder's access list, keeping its
// other entries.
bool OpenUpFolder(Launcher& l, const PathBuffer& path) {
  DebugLog(l, "CreateUnrestrictedFolder: Folder \"%s\" already exists. It will be checked for security settings.",
           path.c_str());
  platform::Security& security = l.os.security;
  // Released in reverse: the folder's handle, the set, the new DACL, the descriptor read.
  LocalBlock descriptor(l);
  LocalBlock new_dacl(l);
  ScopedSecurityDescriptorSet set(l);
  platform::Handle folder = l.os.files.CreateFile(path.view(), kFolderRepairAccess, platform::kFileShareRead,
                                                  platform::kOpenExisting, platform::kFileFlagBackupSemantics);
  const platform::ErrorCode open_error = l.os.system.GetLastError();
  ScopedHandle folder_guard(l, folder, "hFile");
  DebugLogLevel(l, 100, "CreateUnrestrictedFolder: Obtained file handle: %p", reinterpret_cast<void*>(folder));
  if (folder == platform::kInvalidHandle) {
    ErrorLog(l, "Tavix program data folder modification failed: Failed to open folder \"%s\"; %s", path.c_str(),
             Describe<1024>(l, open_error).c_str());
    return false;
  }
  void* old_dacl = nullptr;
  if (const auto code = security.GetFileSecurityInfo(folder, platform::kDaclSecurityInformation, &old_dacl,
                                                     descriptor.receive())) {
    ErrorLog(l, "Tavix program data folder modification failed: Error while opening security descriptor for folder \"%s\"; %s",
             path.c_str(), Describe<1024>(l, code).c_str());
    return false;
  }
  if (!set.Create()) {
    ErrorLog(l, "CreateUnrestrictedFolder failed: Error while creating security descriptor for folder \"%s\".",
             path.c_str());
    return false;
  }
  DebugLogLevel(l, 100, "CreateUnrestrictedFolder: pSDSet.pSD = %p", set.get().pSD);
  if (const auto code = security.SetEntriesInAcl(set.get().ExplicitAccess, old_dacl, new_dacl.receive())) {
    ErrorLog(l, "Tavix program data folder modification failed: Error while merging security descriptor; %s",
             Describe<1024>(l, code).c_str());
    return false;
  }
  if (const auto code = security.SetFileSecurityInfo(folder, platform::kDaclSecurityInformation, new_dacl.get())) {
    ErrorLog(l, "Tavix program data folder modification failed: Error while writing security descriptor for key \"%s\"; %s",
             path.c_str(), Describe<1024>(l, code).c_str());
    return false;
  }
  if (!SetNormalAttributes(l, path)) return false;
  DebugLog(l, "CreateUnrestrictedFolder: Modified security on existing \"%s\" folder.", path.c_str());
  return true;
}

}  // namespace

bool IsFileUnrestricted(Launcher& l, std::string_view target) {
  if (!IsLoadedWin7OrGreater(l)) return false;
  const PathBuffer path = Bounded(target);
  DebugLog(l, "IsFileUnrestricted: Checking target \"%s\".", path.c_str());
  void* sd = nullptr;
  if (!FileExist(l, path.view())) {
    ErrorLog(l, "IsFileUnrestricted: File \"%s\" does not exist or is blocked.", path.c_str());
    ReleaseDescriptor(l, "IsFileUnrestricted", sd);
    return false;
  }
  static const DescriptorTexts kTexts{
      "IsFileUnrestricted",
      "IsFileUnrestricted: Failed to open security descriptor for target file \"%s\"; %s", true,
      "IsFileUnrestricted failed: Failed to allocate security descriptor",
      "IsFileUnrestricted: Error while opening security descriptor for target file \"%s\"; %s"};
  bool unrestricted = false;
  if (ReadDescriptor(l, path, kTexts, sd)) {
    DebugLog(l, "IsFileUnrestricted: Validating process invoker access on target \"%s\"...", path.c_str());
    const RightsCheckResult result = CheckInvokerNested(l, sd);
    if (result == RightsCheckResult::True) {
      DebugLog(l, "IsFileUnrestricted: Target \"%s\" appears unrestricted.", path.c_str());
      unrestricted = true;
    } else if (result == RightsCheckResult::False) {
      ErrorLog(l, "IsFileUnrestricted: Process invoker does not have full access to target file \"%s\".", path.c_str());
    } else {
      ErrorLog(l, "IsFileUnrestricted: Couldn't validate process invoker access on target file \"%s\".", path.c_str());
    }
  }
  ReleaseDescriptor(l, "IsFileUnrestricted", sd);
  return unrestricted;
}

bool IsFolderUnrestricted(Launcher& l, std::string_view folder, bool check_everyone) {
  if (!IsLoadedWin7OrGreater(l)) return false;
  const PathBuffer path = Bounded(folder);
  DebugLog(l, "IsFolderUnrestricted: Checking folder \"%s\".", path.c_str());
  if (!DisableFSCompatibility(l)) return false;
  const bool unrestricted = FolderUnrestricted(l, path, check_everyone);
  EnableFSCompatibility(l);
  return unrestricted;
}

bool CreateUnrestrictedFolder(Launcher& l, std::string_view folder) {
  TraceScope trace(l, "CreateUnrestrictedFolder");
  const PathBuffer path = Bounded(folder);
  if (!IsLoadedWin7OrGreater(l)) {
    if (DirectoryExists(l, path.view()))
      DebugLog(l, "CreateUnrestrictedFolder: Folder \"%s\" already exists.", path.c_str());
    else
      DebugLog(l, "CreateUnrestrictedFolder: Folder \"%s\" does not exist. It will now be created.", path.c_str());
    return false;
  }
  if (!AdminInvoked(l)) {
    if (DirectoryExists(l, path.view()))
      DebugLog(l, "CreateUnrestrictedFolder: Process does not have admin rights. Attempting to modify \"%s\" without admin rights will likely fail.",
               path.c_str());
    else
      DebugLog(l, "CreateUnrestrictedFolder: Process does not have admin rights. Attempting to create \"%s\" without admin rights will likely fail.",
               path.c_str());
    return false;
  }
  if (!DisableFSCompatibility(l)) {
    ErrorLogText(l, "Tavix program data folder modification failed: Failed to disable WOW64 FS redirection");
    return false;
  }
  bool done;
  if (!DirectoryExists(l, path.view())) {
    done = CreateFolder(l, path);
    DebugLog(l, "CreateUnrestrictedFolder: Enabling file system redirection (Token %p).", static_cast<void*>(nullptr));
  } else {
    done = OpenUpFolder(l, path);
  }
  EnableFSCompatibility(l);
  return done;
}

std::uint32_t RemoveRegistryKeySecurity(Launcher& l, platform::RegKey key, std::string_view key_path) {
  if (!IsLoadedWin7OrGreater(l)) {
    DebugLogLevel(l, 100, "RemoveRegistryKeySecurity: Function failed. This function requires Windows 7 or newer operating system.");
    return 1;
  }
  const FixedString<1024> path = [&] {
    FixedString<1024> text;
    text.assign_cut(key_path);
    return text;
  }();
  if (!AdminInvoked(l)) {
    ErrorLog(l, "Tavix registry modification failed: Administrative rights are required to open/modify security descriptor for key \"%s\"",
             path.c_str());
    return 1;
  }
  LocalBlock descriptor(l);
  LocalBlock new_dacl(l);
  void* old_dacl = nullptr;
  if (const auto code = l.os.registry.GetKeySecurityInfo(key, platform::kDaclSecurityInformation,
                                                          &old_dacl, descriptor.receive())) {
    ErrorLog(l, "Tavix registry modification failed: Error while opening security descriptor for key \"%s\"; %s",
             path.c_str(), Describe<1024>(l, code).c_str());
    return 0;
  }
  const platform::ExplicitAccess everyone[] = {
      {kEveryKeyRight, platform::AccessMode::Set, platform::kSubContainersAndObjectsInherit,
       platform::TrusteeForm::Name, platform::TrusteeType::Group, nullptr, "Everyone"}};
  if (const auto code = l.os.security.SetEntriesInAcl(everyone, old_dacl, new_dacl.receive())) {
    ErrorLog(l, "Tavix registry modification failed: Error while merging security descriptor information intended for key \"%s\"; %s",
             path.c_str(), Describe<1024>(l, code).c_str());
    return 0;
  }
  if (const auto code = l.os.registry.SetKeySecurityInfo(key, platform::kDaclSecurityInformation,
                                                          new_dacl.get())) {
    ErrorLog(l, "Tavix registry modification failed: Error while writing security descriptor for key \"%s\"; %s",
             path.c_str(), Describe<1024>(l, code).c_str());
    return 0;
  }
  return 1;
}
