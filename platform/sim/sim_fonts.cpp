// Simulated workstation: fonts registered for the session leave no file behind, so
// each registration is a line of system.log.
#include <system_error>

#include "platform/sim/journal.h"
#include "platform/sim/sim_user_interface.h"

namespace sim {

int SimUserInterface::AddFontResource(std::string_view path) {
  int added = 0;
  if (!s_.Fails("AddFontResource")) {
    std::error_code ec;
    const auto host = s_.Resolve(path);
    added = host && std::filesystem::is_regular_file(*host, ec) ? 1 : 0;
  }
  s_.system_log.Append("ADDFONT " + Quoted(path) + " result=" + std::to_string(added));
  return added;
}

}  // namespace sim
