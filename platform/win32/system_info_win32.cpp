// Windows side: the system's own facts.
#include "platform/win32/system_info_win32.h"

#include <cpuid.h>

#include <string>
#include <utility>

namespace win32 {
namespace {

// The published FOLDERID values, spelled out so that no GUID library is linked.
// clang-format off
constexpr GUID kFolderWindows = {0xF38BF404, 0x1D43, 0x42F2, {0x93, 0x05, 0x67, 0xDE, 0x0B, 0x28, 0xFC, 0x23}};
constexpr GUID kFolderSystem = {0x1AC14E77, 0x02E7, 0x4E5D, {0xB7, 0x44, 0x2E, 0xB1, 0xAE, 0x51, 0x98, 0xB7}};
constexpr GUID kFolderSystemX86 = {0xD65231B0, 0xB2F1, 0x4857, {0xA4, 0xCE, 0xA8, 0xE7, 0xC6, 0xEA, 0x7D, 0x27}};
constexpr GUID kFolderLocalAppData = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};
constexpr GUID kFolderPrograms = {0xA77F5D77, 0x2E2B, 0x44C3, {0xA6, 0xA2, 0xAB, 0xA6, 0x01, 0x05, 0x4A, 0x51}};
constexpr GUID kFolderProgramData = {0x62AB5D82, 0xFDC1, 0x4DC3, {0xA9, 0xDD, 0x07, 0x0D, 0x1D, 0x49, 0x5D, 0x97}};
constexpr GUID kFolderFonts = {0xFD228CB7, 0xAE11, 0x4AE3, {0x86, 0x4C, 0x16, 0xF3, 0x91, 0x0A, 0xB8, 0xFE}};
// clang-format on

const GUID& FolderId(platform::KnownFolder folder) {
  switch (folder) {
    case platform::KnownFolder::Windows:
      return kFolderWindows;
    case platform::KnownFolder::System:
      return kFolderSystem;
    case platform::KnownFolder::SystemX86:
      return kFolderSystemX86;
    case platform::KnownFolder::LocalAppData:
      return kFolderLocalAppData;
    case platform::KnownFolder::Programs:
      return kFolderPrograms;
    case platform::KnownFolder::ProgramData:
      return kFolderProgramData;
    case platform::KnownFolder::Fonts:
      return kFolderFonts;
  }
  return kFolderWindows;
}

// A kernel32 function that older systems lack; null when the module or the function
// is missing (the last error tells which).
FARPROC KernelFunction(const char* module_name, const char* function_name) {
  HMODULE kernel32 = GetModuleHandleA(module_name);
  if (kernel32 == nullptr) return nullptr;
  return GetProcAddress(kernel32, function_name);
}

template <class Function>
Function As(FARPROC proc) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}

// Texts are kept in the ANSI code page; the shell's path is converted once. A path
// with a character the code page lacks would come out as another path (a '?' or a
// look-alike letter in its place), so it is refused instead: S_OK and the path, or
// the failure as an HRESULT.
HRESULT ToAnsiPath(PCWSTR wide, std::string* path) {
  // A UTF-8 code page represents every character but takes neither the best-fit flag
  // nor the used-default flag; invalid UTF-16 is refused there instead.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* const used_default_flag = utf8 ? nullptr : &used_default;
  const int bytes =
      WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, used_default_flag);
  if (bytes <= 0) return HRESULT_FROM_WIN32(GetLastError());
  std::string converted(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, flags, wide, -1, converted.data(), bytes, nullptr,
                          used_default_flag) != bytes)
    return HRESULT_FROM_WIN32(GetLastError());
  if (used_default) return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  converted.pop_back();  // the terminator
  *path = std::move(converted);
  return S_OK;
}

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);

}  // namespace

bool Win32SystemInfo::GetVersionEx(platform::OsVersionRecord* version) {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  version->major_version = info.dwMajorVersion;
  version->minor_version = info.dwMinorVersion;
  version->build_number = info.dwBuildNumber;
  version->platform_id = info.dwPlatformId;
  version->csd_version.assign(info.szCSDVersion,
                              strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
  version->service_pack_major = info.wServicePackMajor;
  version->service_pack_minor = info.wServicePackMinor;
  version->suite_mask = info.wSuiteMask;
  version->product_type = info.wProductType;
  return true;
}

bool Win32SystemInfo::VerifyVersionInfo(const platform::VersionCondition& condition) {
  OSVERSIONINFOEXA wanted = {};
  wanted.dwOSVersionInfoSize = sizeof wanted;
  DWORDLONG mask = 0;
  DWORD type = 0;
  if (condition.test == platform::VersionCondition::Test::AtLeast) {
    wanted.dwMajorVersion = condition.major;
    wanted.dwMinorVersion = condition.minor;
    wanted.wServicePackMajor = condition.service_pack_major;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    type = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR;
  } else {
    wanted.wProductType = condition.product_type;
    mask = VerSetConditionMask(mask, VER_PRODUCT_TYPE, VER_EQUAL);
    type = VER_PRODUCT_TYPE;
  }
  return VerifyVersionInfoA(&wanted, type, mask) != FALSE;
}

platform::FunctionLookup Win32SystemInfo::FindKernelFunction(platform::KernelFunction function) {
  const bool wow64 = function == platform::KernelFunction::IsWow64Process;
  HMODULE kernel32 = GetModuleHandleA(wow64 ? "kernel32" : "kernel32.dll");
  if (kernel32 == nullptr) return platform::FunctionLookup::NoModule;
  if (GetProcAddress(kernel32, wow64 ? "IsWow64Process" : "GetProductInfo") == nullptr)
    return platform::FunctionLookup::NoFunction;
  return platform::FunctionLookup::Found;
}

bool Win32SystemInfo::GetProductInfo(std::uint32_t major, std::uint32_t minor,
                                     std::uint32_t service_pack_major,
                                     std::uint32_t service_pack_minor,
                                     std::uint32_t* product_type) {
  *product_type = 0;
  auto get_product_info =
      As<GetProductInfoFunction>(KernelFunction("kernel32.dll", "GetProductInfo"));
  if (get_product_info == nullptr) return false;
  DWORD type = 0;
  const BOOL ok = get_product_info(major, minor, service_pack_major, service_pack_minor, &type);
  *product_type = type;
  return ok != FALSE;
}

bool Win32SystemInfo::IsWow64Process(bool* wow64) {
  auto is_wow64_process = As<IsWow64ProcessFunction>(KernelFunction("kernel32", "IsWow64Process"));
  if (is_wow64_process == nullptr) return false;
  BOOL answer = FALSE;
  if (!is_wow64_process(GetCurrentProcess(), &answer)) return false;
  *wow64 = answer != FALSE;
  return true;
}

namespace {

platform::ProcessorRecord ProcessorOf(const SYSTEM_INFO& info) {
  platform::ProcessorRecord record;
  record.architecture = info.wProcessorArchitecture;
  record.level = info.wProcessorLevel;
  record.revision = info.wProcessorRevision;
  record.number_of_processors = info.dwNumberOfProcessors;
  return record;
}

}  // namespace

platform::ProcessorRecord Win32SystemInfo::GetSystemInfo() {
  SYSTEM_INFO info = {};
  ::GetSystemInfo(&info);
  return ProcessorOf(info);
}

platform::ProcessorRecord Win32SystemInfo::GetNativeSystemInfo() {
  SYSTEM_INFO info = {};
  ::GetNativeSystemInfo(&info);
  return ProcessorOf(info);
}

platform::CpuidRegisters Win32SystemInfo::Cpuid(std::uint32_t leaf) {
  unsigned int a = 0, b = 0, c = 0, d = 0;
  __cpuid(leaf, a, b, c, d);
  return {a, b, c, d};
}

bool Win32SystemInfo::GetComputerName(std::string* name) {
  char buffer[256] = {};
  DWORD size = sizeof buffer;
  if (!GetComputerNameA(buffer, &size)) return false;
  name->assign(buffer, size);
  return true;
}

bool Win32SystemInfo::GlobalMemoryStatusEx(platform::MemoryTotals* totals) {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  if (!::GlobalMemoryStatusEx(&status)) return false;
  totals->total_physical = status.ullTotalPhys;
  totals->total_virtual = status.ullTotalVirtual;
  return true;
}

std::int32_t Win32SystemInfo::SHGetKnownFolderPath(platform::KnownFolder folder,
                                                   std::string* path) {
  PWSTR wide = nullptr;
  HRESULT result = ::SHGetKnownFolderPath(FolderId(folder), 0, nullptr, &wide);
  if (SUCCEEDED(result) && wide != nullptr) {
    result = ToAnsiPath(wide, path);
  }
  CoTaskMemFree(wide);  // the shell allocates the path even for some failures
  return static_cast<std::int32_t>(result);
}

bool Win32SystemInfo::GetEnvironmentVariable(std::string_view name, std::string* value) {
  char buffer[260] = {};
  const DWORD length = GetEnvironmentVariableA(std::string(name).c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  value->assign(buffer, length);
  return true;
}

}  // namespace win32
