// Windows side: the real machine behind every platform interface.
#include "platform/win32/win32_platform.h"

namespace win32 {

Win32Platform::Win32Platform(HINSTANCE module)
    : processes_(module),
      ui_(module),
      platform_{files_, registry_,    processes_, ui_,      system_,
                shell_, system_info_, security_,  network_} {}

}  // namespace win32
