// The IPv4 address of the interface the system would reach the Internet through.
#pragma once

#include "base/fixed_string.h"

struct Launcher;

using IpAddressText = FixedString<16>;

// Lists every local IPv4 address with its interface flags in the debug log and
// leaves the dotted address of the best interface in `address` ("0.0.0.0" when none
// is found). Failures end the listing with a record; none is an error record.
void GetNetworkAddress(Launcher& l, IpAddressText& address);
