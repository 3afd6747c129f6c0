// Windows side: files written whole through the C runtime in text mode, which
// stores every line feed as CR LF.
#include "platform/win32/files_win32.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

namespace win32 {
namespace {

struct CloseStream {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

}  // namespace

bool Win32FileSystem::WriteTextFile(std::string_view path, std::string_view text, int* c_runtime_error) {
  const std::string file(path);
  errno = 0;
  std::unique_ptr<std::FILE, CloseStream> stream(std::fopen(file.c_str(), "w"));
  if (!stream) {
    *c_runtime_error = errno;
    return false;
  }
  // Only the opening is checked: the text is short and written at once.
  std::fwrite(text.data(), 1, text.size(), stream.get());
  return true;
}

}  // namespace win32
