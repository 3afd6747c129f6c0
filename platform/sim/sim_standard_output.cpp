// Simulated workstation: the launcher's standard output. Windows gives a GUI program
// no console, so what it prints is seen only where its output is redirected; the
// simulated machine redirects it to stdout.log in the machine folder (in text mode,
// every line feed stored as CR LF, as a redirected Windows stream stores it) and
// also passes it to the runner's own standard output.
#include <cstdio>

#include "platform/sim/folder_entries.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_files.h"

namespace sim {

void SimFiles::WriteStandardOutput(std::string_view text) {
  if (s_.Fails("WriteStandardOutput")) return;
  if (auto out = OpenRegularFile(s_.folder / "stdout.log", std::ios::binary | std::ios::app))
    PutTextMode(*out, text);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace sim
