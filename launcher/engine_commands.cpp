// Questions about the engine commands of the command line.
#include <cstdint>
#include <string_view>

#include "launcher/command_line.h"
#include "base/launcher.h"
#include "base/text_case.h"

bool HasEngineCommand(Launcher& l, std::string_view word) {
  for (std::int32_t i = 0; i < l.run.EngineCommandCount; ++i) {
    if (EqualsIgnoreCase(l.run.EngineCommands[i], word)) return true;
  }
  return false;
}
