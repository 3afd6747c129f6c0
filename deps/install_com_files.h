// Installing the product's COM libraries: every DLL of the redist folder that is
// missing or older in the system folder (all of them in repair mode) is
// un-registered, backed up, replaced and registered through UTL\InstCOM.exe.
#pragma once

#include <string_view>

struct Launcher;

// True when the redist folder was listed to its end or holds no DLL; false when the
// registration utility is missing, redirection cannot be switched off or the listing
// fails. A component that fails does not change the result.
bool InstallCOMFiles(Launcher& l);

// One library: true when it is current or was installed.
bool CheckComponent(Launcher& l, std::string_view name, std::string_view source_folder,
                    std::string_view destination_folder, std::string_view utility);

// Replaces and registers one library: true when the new copy is in place and the
// utility reported no error.
bool InstallComponent(Launcher& l, std::string_view label, std::string_view source, std::string_view destination,
                      std::string_view utility, bool installed);
