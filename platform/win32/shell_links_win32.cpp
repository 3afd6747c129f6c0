// Windows side: shell links through IShellLinkA and IPersistFile.
#include "platform/win32/windows_api.h"

#include <new>
#include <string>

#include "platform/win32/shell_win32.h"

namespace win32 {
namespace {

// The interfaces of one link object, released together.
struct LinkObject {
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
};

LinkObject* ObjectOf(platform::ShellLink link) { return reinterpret_cast<LinkObject*>(link); }

}  // namespace

platform::HResult Win32Shell::CreateShellLink(platform::ShellLink* link) {
  IShellLinkA* shell_link = nullptr;
  const HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          reinterpret_cast<void**>(&shell_link));
  if (FAILED(result)) return result;
  // Without memory for the pair the link object is released at once, never leaked.
  LinkObject* object = new (std::nothrow) LinkObject{shell_link, nullptr};
  if (object == nullptr) {
    shell_link->Release();
    return E_OUTOFMEMORY;
  }
  *link = reinterpret_cast<platform::ShellLink>(object);
  return result;
}

platform::HResult Win32Shell::SetShellLinkField(platform::ShellLink link, platform::ShellLinkField field,
                                                std::string_view value) {
  IShellLinkA* shell_link = ObjectOf(link)->link;
  const std::string text(value);
  switch (field) {
    case platform::ShellLinkField::Path: return shell_link->SetPath(text.c_str());
    case platform::ShellLinkField::WorkingDirectory: return shell_link->SetWorkingDirectory(text.c_str());
    case platform::ShellLinkField::Description: return shell_link->SetDescription(text.c_str());
    case platform::ShellLinkField::Arguments: return shell_link->SetArguments(text.c_str());
    case platform::ShellLinkField::IconLocation: return shell_link->SetIconLocation(text.c_str(), 0);
  }
  return E_INVALIDARG;
}

platform::HResult Win32Shell::QueryPersistFile(platform::ShellLink link) {
  LinkObject* object = ObjectOf(link);
  return object->link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&object->file));
}

platform::HResult Win32Shell::SaveShellLink(platform::ShellLink link, std::string_view path) {
  WCHAR wide[MAX_PATH] = {};
  const std::string text(path);
  if (MultiByteToWideChar(CP_THREAD_ACP, 0, text.c_str(), -1, wide, MAX_PATH) == 0)
    return HRESULT_FROM_WIN32(GetLastError());
  return ObjectOf(link)->file->Save(wide, TRUE);
}

void Win32Shell::ReleaseShellLink(platform::ShellLink link) {
  LinkObject* object = ObjectOf(link);
  if (object->file != nullptr) object->file->Release();
  object->link->Release();
  delete object;
}

}  // namespace win32
