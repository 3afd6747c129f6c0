// A probe of the end-to-end tests: it loads a shell link through IShellLinkA and
// IPersistFile and prints what it holds, one field a line, in the form the simulated
// workstation writes its links in, so that both are checked against the same text:
//
//   [Shortcut]
//   Target=C:\e2e\standard\Tavix64.exe
//   Arguments=-d -i
//   WorkingDirectory=C:\e2e\standard
//   Description=Starts the Dovrel PV launcher program in diagnostic mode.
//   IconLocation=C:\e2e\standard\Tavix64.exe,0
//
//   read_shortcut LINK     exit code 0, or 1 with the failed call on stderr
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>

namespace {

// Releases a COM interface at the end of its scope.
template <typename Interface>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p_ != nullptr) p_->Release();
  }
  Interface* operator->() const { return p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  Interface* p_ = nullptr;
};

class ComSession {
 public:
  ComSession() : result_(CoInitialize(nullptr)) {}
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  ~ComSession() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

bool Failed(HRESULT result, const char* call) {
  if (SUCCEEDED(result)) return false;
  std::fprintf(stderr, "%s failed: 0x%08lx\n", call, static_cast<unsigned long>(result));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: read_shortcut LINK\n");
    return 2;
  }
  ComSession com;
  if (Failed(com.result(), "CoInitialize")) return 1;
  Held<IShellLinkA> link;
  if (Failed(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out()),
             "CoCreateInstance"))
    return 1;
  Held<IPersistFile> file;
  if (Failed(link->QueryInterface(IID_IPersistFile, file.out()), "QueryInterface")) return 1;
  wchar_t wide[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH) == 0) {
    std::fprintf(stderr, "the link path does not fit in %d characters\n", MAX_PATH);
    return 1;
  }
  if (Failed(file->Load(wide, STGM_READ), "IPersistFile::Load")) return 1;

  char target[MAX_PATH] = {};
  char arguments[INFOTIPSIZE] = {};
  char folder[MAX_PATH] = {};
  char description[INFOTIPSIZE] = {};
  char icon[MAX_PATH] = {};
  int icon_index = -1;
  // SLGP_RAWPATH: the target as it was set, not resolved against the file system.
  if (Failed(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH), "GetPath") ||
      Failed(link->GetArguments(arguments, INFOTIPSIZE), "GetArguments") ||
      Failed(link->GetWorkingDirectory(folder, MAX_PATH), "GetWorkingDirectory") ||
      Failed(link->GetDescription(description, INFOTIPSIZE), "GetDescription") ||
      Failed(link->GetIconLocation(icon, MAX_PATH, &icon_index), "GetIconLocation"))
    return 1;
  std::printf("[Shortcut]\nTarget=%s\nArguments=%s\nWorkingDirectory=%s\nDescription=%s\nIconLocation=%s,%d\n", target,
              arguments, folder, description, icon, icon_index);
  return 0;
}
