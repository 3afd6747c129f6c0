// Simulated workstation: the ordering of Windows names, which compare without
// regard to ASCII case.
#include <algorithm>

#include "platform/sim/machine.h"
#include "platform/sim/text_util.h"

namespace sim {

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
  });
}

}  // namespace sim
