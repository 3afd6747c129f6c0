// Builds a minimal TrueType font for the end-to-end tests, so that the launcher's font
// registration can be proven under Wine without any third-party font: one empty glyph,
// a character map with no characters, and the name table naming FAMILY. It holds the
// tables a font loader insists on (head, hhea, maxp, hmtx, loca, glyf, OS/2, name,
// cmap, post), each with its checksum, in big-endian byte order.
//
//   make_test_font FILE FAMILY
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void U16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}
void U32(Bytes& b, std::uint32_t v) {
  U16(b, v >> 16);
  U16(b, v & 0xFFFF);
}
void Zeros(Bytes& b, std::size_t n) { b.insert(b.end(), n, 0); }

constexpr std::uint32_t kUnitsPerEm = 1000;
constexpr std::uint32_t kAscender = 800;
constexpr std::uint32_t kDescender = 0x10000 - 200;  // -200 as a signed 16-bit field
constexpr std::uint32_t kAdvance = 500;

Bytes Head() {
  Bytes b;
  U32(b, 0x00010000);  // version
  U32(b, 0x00010000);  // font revision
  U32(b, 0);           // checksum adjustment, filled in last
  U32(b, 0x5F0F3CF5);  // magic number
  U16(b, 0x000B);      // baseline at y=0, left sidebearing at x=0, integer scaling
  U16(b, kUnitsPerEm);
  Zeros(b, 16);        // created and modified
  Zeros(b, 8);         // bounding box of an empty glyph
  U16(b, 0);           // style
  U16(b, 8);           // smallest readable size in pixels
  U16(b, 2);           // font direction hint
  U16(b, 0);           // short loca offsets
  U16(b, 0);           // glyph data format
  return b;
}

Bytes Hhea() {
  Bytes b;
  U32(b, 0x00010000);
  U16(b, kAscender);
  U16(b, kDescender);
  U16(b, 0);  // line gap
  U16(b, kAdvance);
  Zeros(b, 6);  // minimum sidebearings, maximum extent
  U16(b, 1);    // caret slope rise: upright
  Zeros(b, 14); // caret slope run and offset, reserved, metric data format
  U16(b, 1);    // one horizontal metric
  return b;
}

Bytes Maxp() {
  Bytes b;
  U32(b, 0x00010000);
  U16(b, 1);     // one glyph
  Zeros(b, 26);  // every maximum of an empty glyph is 0
  return b;
}

Bytes Hmtx() {
  Bytes b;
  U16(b, kAdvance);
  U16(b, 0);
  return b;
}

// Short offsets, halved: the one glyph starts and ends at 0.
Bytes Loca() { return Bytes(4, 0); }

Bytes Os2() {
  Bytes b;
  U16(b, 1);          // version
  U16(b, kAdvance);   // average width
  U16(b, 400);        // weight: normal
  U16(b, 5);          // width: medium
  U16(b, 0);          // embedding: installable
  Zeros(b, 20);       // sub- and superscript sizes and offsets, strikeout
  U16(b, 0);          // family class
  Zeros(b, 10);       // panose
  U32(b, 1);          // Unicode range: Basic Latin
  Zeros(b, 12);
  b.insert(b.end(), {'N', 'O', 'N', 'E'});  // vendor
  U16(b, 0x0040);     // regular
  U16(b, 0x20);       // first character
  U16(b, 0x7E);       // last character
  U16(b, kAscender);  // typographic ascender
  U16(b, kDescender);
  U16(b, 0);          // typographic line gap
  U16(b, kAscender);  // Windows ascent and descent
  U16(b, 200);
  U32(b, 1);          // code page range: Latin 1
  U32(b, 0);
  return b;
}

// Family, subfamily, unique and full name, for Windows in US English (UTF-16).
Bytes Name(const std::string& family) {
  const std::vector<std::pair<std::uint32_t, std::string>> names = {
      {1, family}, {2, "Regular"}, {3, family + " Regular"}, {4, family}};
  Bytes b, text;
  U16(b, 0);
  U16(b, static_cast<std::uint32_t>(names.size()));
  U16(b, static_cast<std::uint32_t>(6 + 12 * names.size()));
  for (const auto& [id, value] : names) {
    U16(b, 3);       // Windows
    U16(b, 1);       // Unicode BMP
    U16(b, 0x0409);  // US English
    U16(b, id);
    U16(b, static_cast<std::uint32_t>(2 * value.size()));
    U16(b, static_cast<std::uint32_t>(text.size()));
    for (const char c : value) U16(text, static_cast<unsigned char>(c));
  }
  b.insert(b.end(), text.begin(), text.end());
  return b;
}

// A Windows Unicode map of format 4 with only the closing segment: no character maps.
Bytes Cmap() {
  Bytes b;
  U16(b, 0);
  U16(b, 1);
  U16(b, 3);
  U16(b, 1);
  U32(b, 12);
  U16(b, 4);   // format
  U16(b, 24);  // length
  U16(b, 0);   // language
  U16(b, 2);   // twice the segment count
  U16(b, 2);   // search range
  U16(b, 0);   // entry selector
  U16(b, 0);   // range shift
  U16(b, 0xFFFF);  // end code
  U16(b, 0);       // reserved
  U16(b, 0xFFFF);  // start code
  U16(b, 1);       // delta: 0xFFFF maps to glyph 0
  U16(b, 0);       // range offset
  return b;
}

Bytes Post() {
  Bytes b;
  U32(b, 0x00030000);  // no glyph names
  Zeros(b, 28);
  return b;
}

std::uint32_t Checksum(const Bytes& b, std::size_t from, std::size_t length) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < length; i += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 4; ++k) word = (word << 8) | (i + k < length ? b[from + i + k] : 0);
    sum += word;
  }
  return sum;
}

Bytes Font(const std::string& family) {
  // Sorted by tag, as the table directory must be.
  const std::vector<std::pair<const char*, Bytes>> tables = {
      {"OS/2", Os2()}, {"cmap", Cmap()}, {"glyf", Bytes{}}, {"head", Head()}, {"hhea", Hhea()},
      {"hmtx", Hmtx()}, {"loca", Loca()}, {"maxp", Maxp()}, {"name", Name(family)}, {"post", Post()}};
  Bytes font;
  U32(font, 0x00010000);
  U16(font, static_cast<std::uint32_t>(tables.size()));
  U16(font, 128);  // search range: 16 times the largest power of two not above the count
  U16(font, 3);
  U16(font, static_cast<std::uint32_t>(16 * tables.size() - 128));
  std::size_t offset = 12 + 16 * tables.size();
  std::size_t head_offset = 0;
  Bytes data;
  for (const auto& [tag, table] : tables) {
    Bytes padded = table;
    padded.resize((table.size() + 3) & ~std::size_t{3}, 0);
    font.insert(font.end(), tag, tag + 4);
    U32(font, Checksum(padded, 0, padded.size()));
    U32(font, static_cast<std::uint32_t>(offset + data.size()));
    U32(font, static_cast<std::uint32_t>(table.size()));
    if (std::string(tag) == "head") head_offset = offset + data.size();
    data.insert(data.end(), padded.begin(), padded.end());
  }
  font.insert(font.end(), data.begin(), data.end());
  const std::uint32_t adjustment = 0xB1B0AFBA - Checksum(font, 0, font.size());
  for (int k = 0; k < 4; ++k) font[head_offset + 8 + k] = static_cast<std::uint8_t>(adjustment >> (24 - 8 * k));
  return font;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_test_font FILE FAMILY\n");
    return 2;
  }
  const Bytes font = Font(argv[2]);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(font.data()), static_cast<std::streamsize>(font.size()));
  return out ? 0 : 1;
}
