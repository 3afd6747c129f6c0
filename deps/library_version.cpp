// Reading a file's version resource.
#include "deps/library_version.h"

#include <cstring>
#include <vector>

#include "diag/log.h"
#include "install/fs_redirection.h"
#include "base/launcher.h"

namespace {

constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// A text value of the resource, without its terminator, cut to the field.
void CopyText(const std::vector<std::uint8_t>& value, FixedString<256>& field) {
  std::string_view text(reinterpret_cast<const char*>(value.data()), value.size());
  text = text.substr(0, text.find('\0'));
  if (!text.empty()) field.assign_cut(text);
}

}  // namespace

LibraryVersion GetLibraryVersion(Launcher& l, std::string_view path) {
  TraceScope trace(l, "GetLibraryVersion");
  LibraryVersion version;
  const std::uint32_t size = l.os.files.GetFileVersionInfoSize(path);
  if (size == 0) return version;

  std::vector<std::uint8_t> block;
  // The file may lie in a system folder: it is read with WOW64 redirection off.
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) return version;
  if (!l.os.files.GetFileVersionInfo(path, size, block)) return version;

  std::vector<std::uint8_t> value;
  // The fixed block: signature first, file version at bytes 8 to 15.
  if (l.os.files.VerQueryValue(block, "\\", value) && value.size() >= 16 &&
      ReadU32(value, 0) == kFixedFileInfoSignature) {
    const std::uint32_t ms = ReadU32(value, 8);
    const std::uint32_t ls = ReadU32(value, 12);
    version.Major = static_cast<std::int32_t>(ms >> 16);
    version.Minor = static_cast<std::int32_t>(ms & 0xFFFF);
    version.Build = static_cast<std::int32_t>(ls >> 16);
    version.Revision = static_cast<std::int32_t>(ls & 0xFFFF);
  }

  if (l.os.files.VerQueryValue(block, "\\VarFileInfo\\Translation", value) && value.size() >= 4) {
    const unsigned language = value[0] | (value[1] << 8);
    const unsigned code_page = value[2] | (value[3] << 8);
    const struct {
      const char* name;
      FixedString<256>* field;
    } strings[] = {{"ProductName", &version.ProductName},
                   {"CompanyName", &version.CompanyName},
                   {"FileDescription", &version.FileDescription},
                   {"LegalCopyright", &version.LegalCopyright}};
    for (const auto& string : strings) {
      FixedString<255> query;
      query.format_cut("\\StringFileInfo\\%04x%04x\\%s", language, code_page, string.name);
      if (l.os.files.VerQueryValue(block, query.view(), value)) CopyText(value, *string.field);
    }
  }
  return version;
}
