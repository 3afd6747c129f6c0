// The queries a workstation denied while a snapshot read it, kept so that the machine
// folder makes a replay meet the same denials.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace snapshot {

class Denials {
 public:
  // A key ("HKLM\SOFTWARE\...") or a file or folder the user may not read: its
  // security.txt line grants the user nothing.
  void Object(std::string_view object, bool key);
  // A query that failed where no descriptor can say why: machine.ini fails every call
  // of the operation with the error. The first error of an operation stands.
  void Failure(std::string_view operation, std::uint32_t error);

  // A query of `object` that failed with `error`: access denied is the object's
  // descriptor, any other error a failure of the operation.
  void Query(std::string_view operation, std::uint32_t error, std::string_view object, bool key);

  struct DeniedObject {
    std::string object;
    bool key = false;
  };
  const std::vector<DeniedObject>& objects() const { return objects_; }
  const std::vector<std::pair<std::string, std::uint32_t>>& failures() const { return failures_; }

 private:
  std::vector<DeniedObject> objects_;
  std::vector<std::pair<std::string, std::uint32_t>> failures_;
};

// A descriptor that grants a key or a file or folder to SYSTEM and, unless the user's
// token holds Administrators, to Administrators, and to no one else.
std::string DenyingSddl(bool key, bool administrators_in_token);

}  // namespace snapshot
