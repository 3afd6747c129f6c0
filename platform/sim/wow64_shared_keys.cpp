// Simulated workstation: the keys of HKLM\SOFTWARE shared by both registry views, as
// Windows 7 and later list them ("Registry Keys Affected by WOW64").
#include "platform/sim/wow64_shared_keys.h"

#include "platform/sim/text_util.h"

namespace sim {
namespace {

struct KeyRule {
  std::string_view key;  // below HKLM\SOFTWARE
  bool shared;
};

// Classes is shared apart from the COM and media registrations under it, which stay
// one per view.
constexpr KeyRule kRules[] = {
    {"Classes", true},
    {"Classes\\CLSID", false},
    {"Classes\\DirectShow", false},
    {"Classes\\Interface", false},
    {"Classes\\Media Type", false},
    {"Classes\\MediaFoundation", false},
    {"Clients", true},
    {"Microsoft\\COM3", true},
    {"Microsoft\\Cryptography\\Calais\\Current", true},
    {"Microsoft\\Cryptography\\Calais\\Readers", true},
    {"Microsoft\\Cryptography\\Services", true},
    {"Microsoft\\CTF\\SystemShared", true},
    {"Microsoft\\CTF\\TIP", true},
    {"Microsoft\\DFS", true},
    {"Microsoft\\Driver Signing", true},
    {"Microsoft\\EnterpriseCertificates", true},
    {"Microsoft\\EventSystem", true},
    {"Microsoft\\MSMQ", true},
    {"Microsoft\\Non-Driver Signing", true},
    {"Microsoft\\Notepad\\DefaultFonts", true},
    {"Microsoft\\OLE", true},
    {"Microsoft\\RAS", true},
    {"Microsoft\\RPC", true},
    {"Microsoft\\Shared Tools\\MSInfo", true},
    {"Microsoft\\SystemCertificates", true},
    {"Microsoft\\TermServLicensing", true},
    {"Microsoft\\Transaction Server", true},
    {"Microsoft\\Windows\\CurrentVersion\\App Paths", true},
    {"Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes", true},
    {"Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers", true},
    {"Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons", true},
    {"Microsoft\\Windows\\CurrentVersion\\Explorer\\KindMap", true},
    {"Microsoft\\Windows\\CurrentVersion\\Group Policy", true},
    {"Microsoft\\Windows\\CurrentVersion\\Policies", true},
    {"Microsoft\\Windows\\CurrentVersion\\PreviewHandlers", true},
    {"Microsoft\\Windows\\CurrentVersion\\Setup", true},
    {"Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Console", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\FontDpi", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\FontLink", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\FontMapper", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Fonts", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Gre_Initialize", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\LanguagePack", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\NetworkCards", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Perflib", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Ports", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Print", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\ProfileList", true},
    {"Microsoft\\Windows NT\\CurrentVersion\\Time Zones", true},
    {"Policies", true},
    {"RegisteredApplications", true},
};

// Whether `path` is `key` or below it, without regard to case.
bool IsAtOrBelow(std::string_view path, std::string_view key) {
  return StartsWithIgnoreCase(path, key) && (path.size() == key.size() || path[key.size()] == '\\');
}

}  // namespace

bool IsSharedSoftwareKey(std::string_view below_software) {
  const KeyRule* nearest = nullptr;
  for (const KeyRule& rule : kRules)
    if (IsAtOrBelow(below_software, rule.key) && (!nearest || rule.key.size() > nearest->key.size()))
      nearest = &rule;
  return nearest != nullptr && nearest->shared;
}

}  // namespace sim
