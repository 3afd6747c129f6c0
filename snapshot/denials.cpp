#include "snapshot/denials.h"

#include <algorithm>

#include "base/text_case.h"
#include "platform/error_codes.h"

namespace snapshot {

void Denials::Object(std::string_view object, bool key) {
  const bool known = std::any_of(objects_.begin(), objects_.end(), [&](const DeniedObject& o) {
    return EqualsIgnoreCase(o.object, object);
  });
  if (!known) objects_.push_back({std::string(object), key});
}

void Denials::Failure(std::string_view operation, std::uint32_t error) {
  const bool known = std::any_of(failures_.begin(), failures_.end(),
                                 [&](const auto& f) { return f.first == operation; });
  if (!known) failures_.emplace_back(operation, error);
}

void Denials::Query(std::string_view operation, std::uint32_t error, std::string_view object,
                    bool key) {
  if (error == platform::kErrorAccessDenied)
    Object(object, key);
  else
    Failure(operation, error);
}

std::string DenyingSddl(bool key, bool administrators_in_token) {
  // Protected, so that nothing the object's parents grant reaches the user.
  const std::string rights = key ? "CI;KA" : "OICI;FA";
  std::string sddl = "D:P(A;" + rights + ";;;SY)";
  if (!administrators_in_token) sddl += "(A;" + rights + ";;;BA)";
  return sddl;
}

}  // namespace snapshot
