// Simulated workstation: replacement table of the system's message texts.
#include "platform/sim/system_messages.h"

#include <array>
#include <utility>

namespace sim {
namespace {

struct MessageText {
  std::uint32_t code;
  std::string_view text;
};

constexpr std::array kMessages = {
    MessageText{0, "The operation completed successfully. "},
    MessageText{1, "Incorrect function. "},
    MessageText{2, "The system cannot find the file specified. "},
    MessageText{3, "The system cannot find the path specified. "},
    MessageText{5, "Access is denied. "},
    MessageText{6, "The handle is invalid. "},
    MessageText{8, "Not enough memory resources are available to process this command. "},
    MessageText{13, "The data is invalid. "},
    MessageText{18, "There are no more files. "},
    MessageText{32, "The process cannot access the file because it is being used by another process. "},
    MessageText{38, "Reached the end of the file. "},
    MessageText{87, "The parameter is incorrect. "},
    MessageText{112, "There is not enough space on the disk. "},
    MessageText{120, "This function is not supported on this system. "},
    MessageText{123, "The filename, directory name, or volume label syntax is incorrect. "},
    MessageText{183, "Cannot create a file when that file already exists. "},
    MessageText{234, "More data is available. "},
    MessageText{1155, "No application is associated with the specified file for this operation. "},
    MessageText{1157, "One of the library files needed to run this application cannot be found. "},
    MessageText{1223, "The operation was canceled by the user. "},
    MessageText{1314, "A required privilege is not held by the client. "},
    MessageText{1629, "The data present is not of the expected type. "},
    MessageText{1630, "Data of this type is not supported. "},
    MessageText{1813, "The specified resource type cannot be found in the image file. "},
    // HRESULT forms of Win32 codes share the Win32 texts.
    MessageText{0x80070002, "The system cannot find the file specified. "},
    MessageText{0x80070005, "Access is denied. "},
};

}  // namespace

std::optional<std::string_view> SystemMessageText(std::uint32_t code) {
  for (const auto& message : kMessages)
    if (message.code == code) return message.text;
  return std::nullopt;
}

}  // namespace sim
