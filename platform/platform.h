// Everything the launcher reaches of the operating system, one narrow interface per
// area. The simulated workstation (platform/sim/) and Windows (platform/win32/) each
// provide all of them.
#pragma once

#include "platform/files.h"
#include "platform/network.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"

namespace platform {

struct Platform {
  FileSystem& files;
  Registry& registry;
  Processes& processes;
  UserInterface& ui;
  System& system;
  Shell& shell;
  SystemInformation& system_info;
  Security& security;
  Network& network;
};

}  // namespace platform
