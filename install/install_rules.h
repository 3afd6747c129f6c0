// The install numbering shared by the archive, the installer and the backups, and the
// destination codes an archive's records may name.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::uint32_t INSTALL_DIFFERENT = 101;
inline constexpr std::uint32_t INSTALL_NEWER = 102;
inline constexpr std::uint32_t INSTALL_ALWAYS = 103;
inline constexpr std::uint32_t INSTALL_UPGRADE = 104;
inline constexpr std::uint32_t INSTALL_REPLACE = 105;
inline constexpr std::uint32_t INSTALL_TO_CUR = 106;
inline constexpr std::uint32_t INSTALL_TO_WIN = 107;
inline constexpr std::uint32_t INSTALL_TO_SYS = 108;
inline constexpr std::uint32_t INSTALL_DOES_NOT_EXIST = 109;
inline constexpr std::uint32_t INSTALL_TO_FON = 110;

// Destination codes: the launcher's folder, the fonts folder, the Windows folder, the
// 32-bit system folder and the 64-bit system folder.
inline constexpr std::string_view kArchiveDestinations[] = {"CUR", "FON", "WIN", "SYS", "S64"};
