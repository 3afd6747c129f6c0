// Windows side: the one place that includes the Windows headers.
//
// The platform interfaces name their methods after the Windows calls they stand for
// (DeleteFile, MessageBox, RegOpenKeyEx, ...), and <windows.h> defines most of those
// names as macros that pick the ...A or ...W function. Every Windows-side source
// includes this file before any platform header, so the macros are gone by the time
// the interfaces are declared; the Windows side always calls the explicit ...A
// functions. A Windows header that is needed later belongs here, above the #undefs,
// or it would define the macros again.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The shell's program start, COM, and the shield of elevation buttons.
#include <shellapi.h>
#include <objbase.h>
#include <commctrl.h>
// Known folders; the IP helper, Winsock address texts and network connections.
#include <shlobj.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <winnetwk.h>
// Path tests of the shell's light-weight utilities.
#include <shlwapi.h>
// Access lists and Authz access checks.
#include <aclapi.h>
#include <authz.h>
// SIDs and descriptors as text.
#include <sddl.h>

// Files, folders and settings files.
#undef AddFontResource
#undef CopyFile
#undef CreateDirectory
#undef CreateFile
#undef DeleteFile
#undef FindFirstFile
#undef FindNextFile
#undef GetFileAttributes
#undef GetPrivateProfileString
#undef PathIsDirectoryEmpty
#undef SetCurrentDirectory
#undef SetFileAttributes

// Version resources.
#undef GetFileVersionInfo
#undef GetFileVersionInfoSize
#undef VerQueryValue

// Security descriptors and access lists.
#undef GetFileSecurity
#undef SetEntriesInAcl

// Registry.
#undef RegCreateKeyEx
#undef RegEnumValue
#undef RegGetValue
#undef RegOpenKeyEx
#undef RegSetValueEx

// Processes and the running system.
#undef CreateProcess
#undef ShellExecuteEx
#undef FormatMessage
#undef GetComputerName
#undef GetModuleFileName
#undef GetStartupInfo
#undef GetVersionEx
#undef OutputDebugString
#undef VerifyVersionInfo
#undef GetEnvironmentVariable

// The user, the network and the drives.
#undef GetUserName
#undef ConvertSidToStringSid
#undef LookupAccountSid
#undef GetDriveType
#undef InetNtop
#undef InetPton
#undef WNetGetConnection

// Windows, dialogs, painting and resources.
#undef CreateDialogParam
#undef CreateFont
#undef CreateWindowEx
#undef DialogBoxParam
#undef DrawText
#undef GetObject
#undef LoadBitmap
#undef LoadString
#undef MessageBox
#undef SetDlgItemText
#undef SetWindowText
