// tabpack: outside text (manifest fields, archive names, paths) as it is shown in
// messages and listings. Every byte outside printable ASCII is written \xHH, so a
// name cannot move the cursor, recolour the terminal or hide the rest of a line,
// and a long text is cut so that one field cannot flood a message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabpack {

// A manifest field or an archive name; a legal archive name (49 bytes) always fits.
inline constexpr std::size_t kShownField = 64;
// A path of the command line.
inline constexpr std::size_t kShownPath = 260;

// `text` escaped, cut after `longest` shown characters with "..." appended.
std::string Shown(std::string_view text, std::size_t longest = kShownField);
// The same in double quotes.
std::string QuotedShown(std::string_view text, std::size_t longest = kShownField);

}  // namespace tabpack
