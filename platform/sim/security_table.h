// Simulated workstation: the security descriptors of objects that have one of their
// own, read from and written back to security.txt ("OBJECT<TAB>SDDL" per line);
// a descriptor that is not valid SDDL refuses the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class SecurityTable {
 public:
  struct Entry {
    std::string object;  // Windows path or registry key ("HKLM\SOFTWARE\...")
    std::string sddl;
  };

  // The descriptor of the object itself, if it has one.
  std::optional<std::string> Own(std::string_view object) const;
  // The descriptor in force: the object's own, else its nearest ancestor's; a drive
  // root without a line grants full access to Everyone. `*depth`, when asked for,
  // counts the levels between the object and the descriptor's owner (0: its own).
  std::string Effective(std::string_view object, int* depth = nullptr) const;
  void Set(std::string_view object, std::string_view sddl);
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;  // in file order; new objects at the end
};

// The descriptor of a drive root without a line: full access to Everyone.
inline constexpr std::string_view kEveryoneFullAccess = "D:(A;OICI;FA;;;WD)";

SecurityTable ParseSecurityText(std::string_view text, const std::string& file_name);
std::string WriteSecurityText(const SecurityTable& table);

}  // namespace sim
