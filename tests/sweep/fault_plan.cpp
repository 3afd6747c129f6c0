#include "tests/sweep/fault_plan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/text_case.h"

namespace sweep {

std::uint32_t ErrorFor(std::string_view operation) {
  // Everything else fails as Windows fails a denied file or key: error 5.
  static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 10> kErrors = {{
      {"HeapAlloc", 8},
      {"LocalAlloc", 8},
      {"NtSetInformationKey", 0xC0000022},  // an NTSTATUS
      {"WriteTextFile", 13},                // the C runtime's errno
      {"GetProcAddress", 127},
      {"GetModuleHandle", 126},
      {"CloseHandle", 6},
      {"RegCloseKey", 6},
      {"WaitForSingleObject", 6},
      {"CreateProcess", 2},
  }};
  for (const auto& [name, error] : kErrors)
    if (EqualsIgnoreCase(name, operation)) return error;
  return 5;
}

bool SilentByDesign(std::string_view operation) {
  static constexpr std::string_view kSilent[] = {
      "AppendToFile",  // a log line that cannot be written is lost without a trace
  };
  return std::any_of(std::begin(kSilent), std::end(kSilent),
                     [&](std::string_view name) { return EqualsIgnoreCase(name, operation); });
}

bool LossReportedByDesign(std::string_view file_name, const std::vector<std::string>& records) {
  static constexpr std::string_view kReplacementFailed[] = {
      "InstallTABFile: The attempt to install or upgrade ",
      "InstallFileName: Failed to copy ",
  };
  return std::any_of(records.begin(), records.end(), [&](const std::string& record) {
    return record.find(file_name) != std::string::npos &&
           std::any_of(std::begin(kReplacementFailed), std::end(kReplacementFailed),
                       [&](std::string_view start) { return record.rfind(start, 0) == 0; });
  });
}

std::vector<std::uint32_t> CallsToFail(std::uint32_t calls, bool all) {
  std::vector<std::uint32_t> numbers;
  if (all) {
    for (std::uint32_t n = 1; n <= calls; ++n) numbers.push_back(n);
    return numbers;
  }
  for (std::uint32_t n : {1u, (calls + 1) / 2, calls})
    if (n >= 1 && (numbers.empty() || numbers.back() != n)) numbers.push_back(n);
  return numbers;
}

}  // namespace sweep
