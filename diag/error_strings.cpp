// Descriptions of system error codes: the bracketed tag and the system's text.
#include "diag/error_strings.h"

#include <cstdarg>
#include <string>

#include "diag/log.h"
#include "base/launcher.h"

namespace {

// Each format reads the whole code and its low 16 bits, checked when compiled.
using TagFormatText = PrintfFormat<unsigned, int>;

struct TagFormat {
  ErrorCodeKind kind;
  TagFormatText format;
};

// Whole code in hexadecimal, then its low 16 bits in decimal.
constexpr TagFormat kTagFormats[] = {
    {ErrorCodeKind::Win32, "[WIN32 0x%08x/C%04d]"},
    {ErrorCodeKind::NtStatus, "[NTSTATUS 0x%08x/C%04d]"},
    {ErrorCodeKind::HResult, "[HRESULT 0x%08x/C%04d]"},
    {ErrorCodeKind::Errno, "[ERRNO 0x%08x/C%04d]"},
};
// A kind outside the table names no kind at all.
constexpr TagFormatText kBareTagFormat = "[0x%08x/C%04d]";

TagFormatText TagFormatOf(ErrorCodeKind kind) {
  for (const TagFormat& entry : kTagFormats) {
    if (entry.kind == kind) return entry.format;
  }
  return kBareTagFormat;
}

}  // namespace

std::size_t FormatErrorCode(std::uint32_t code, FixedString<64>& tag, ErrorCodeKind kind) {
  if (!tag.format(TagFormatOf(kind).c_str(), static_cast<unsigned>(code), static_cast<int>(code & 0xFFFF))) {
    tag.clear();
    return 0;
  }
  return tag.size();
}

std::string DescribeError(Launcher& l, std::uint32_t code, ErrorCodeKind kind) {
  FixedString<64> tag;
  FormatErrorCode(code, tag, kind);
  std::string description(tag.view());
  // The code goes to the system unchanged, whatever its kind.
  std::string text;
  if (l.os.system.FormatMessage(code, &text)) {
    description.append(" ").append(text);
  } else {
    ErrorLogText(l, "FormatErrorString: Failed to retrieve formatted error description.");
    description.append(" Unknown Error");
  }
  return description;
}

void log_detail::ErrorLogWithCode(Launcher& l, std::uint32_t code, const char* format, ...) {
  FixedString<64> tag;
  MessageBuffer tagged_format;
  // The tag holds no '%', so the tagged format reads just the caller's arguments.
  // Without a tag, or when format and tag do not fit the 2,048-character buffer, the
  // caller's format is used alone: a cut format could end inside a conversion.
  const bool tagged = FormatErrorCode(code, tag, ErrorCodeKind::Win32) > 0 &&
                      tagged_format.format("%s; %s", format, tag.c_str());
  va_list args;
  va_start(args, format);
  WriteErrorRecord(l, tagged ? tagged_format.c_str() : format, args);
  va_end(args);
}
