// registry.reg, read from and written to strings: the regedit export format byte for
// byte (escaping, dword, hex wrapping, default values, key switches), round trips,
// case-insensitive lookups with case-preserving writes, and malformed files refused
// with the right line.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "tests/unit/machine_folder_refusal.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/registry_tree.h"

namespace sim {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

RegistryTree Parse(std::string_view text) { return ParseRegistryText(text, "registry.reg"); }

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

RegistryValue Value(std::string name, std::uint32_t type, std::vector<std::uint8_t> data) {
  return RegistryValue{std::move(name), type, std::move(data)};
}

// `text` with its LF line ends as CR LF, as the writer ends lines.
std::string CrLf(std::string_view text) {
  std::string result;
  for (char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return result;
}

TEST(SimRegistryText, AnEmptyFileIsAnEmptyRegistry) {
  const RegistryTree tree = Parse("");
  EXPECT_EQ(tree.roots().size(), 5u);
  EXPECT_EQ(WriteRegistryText(tree), kHeader);
}

// Each value line as read (any hand-written form) and as written back (regedit's form;
// a text up to its first NUL, or its bytes when it cannot stay on one line).
TEST(SimRegistryText, EveryValueFormReadsAndWritesBackAsRegeditWritesIt) {
  struct Row {
    const char* read;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    const char* written;
  };
  const Row kRows[] = {
      {"@=\"default\"", 1, Bytes(std::string_view("default\0", 8)), "@=\"default\""},
      {"\"Path\"=\"C:\\\\Portavel\\\\\"", 1, Bytes(std::string_view("C:\\Portavel\\\0", 13)),
       "\"Path\"=\"C:\\\\Portavel\\\\\""},
      {"\"Quote\"=\"say \\\"hi\\\"\"", 1, Bytes(std::string_view("say \"hi\"\0", 9)), "\"Quote\"=\"say \\\"hi\\\"\""},
      {"\"Loose\"=\"C:\\Portavel\"", 1, Bytes(std::string_view("C:\\Portavel\0", 12)), "\"Loose\"=\"C:\\\\Portavel\""},
      {"  \"Spaced\" = \"x\"  ", 1, {'x', 0}, "\"Spaced\"=\"x\""},
      {"\"v\"=hex(1):61,62", 1, Bytes("ab"), "\"v\"=\"ab\""},
      {"\"v\"=hex(1):61,62,00,63,64,00", 1, Bytes(std::string_view("ab\0cd\0", 6)), "\"v\"=\"ab\""},
      {"\"v\"=hex(1):", 1, {}, "\"v\"=\"\""},
      {"\"v\"=hex(1):61,0a,62,00", 1, Bytes(std::string_view("a\nb\0", 4)), "\"v\"=hex(1):61,0a,62,00"},
      {"\"Count\"=dword:0000012C", 4, {0x2c, 0x01, 0, 0}, "\"Count\"=dword:0000012c"},
      {"\"Short\"=dword:7", 4, {7, 0, 0, 0}, "\"Short\"=dword:00000007"},
      {"\"Word\"=hex(4):01,02", 4, {1, 2}, "\"Word\"=hex(4):01,02"},  // not four bytes: no dword: form
      {"\"Blob\"=hex:01,AB,ff", 3, {0x01, 0xab, 0xff}, "\"Blob\"=hex:01,ab,ff"},
      {"\"Empty\"=hex:", 3, {}, "\"Empty\"=hex:"},
      {"\"Expand\"=hex(2):25,00", 2, {0x25, 0}, "\"Expand\"=hex(2):25,00"},
      {"\"Multi\"=hex(7):61,00,00,\\\n   00", 7, {0x61, 0, 0, 0}, "\"Multi\"=hex(7):61,00,00,00"},
      {"\"Big\"=hex(b):01,02,03,04,05,06,07,08", 11, {1, 2, 3, 4, 5, 6, 7, 8}, "\"Big\"=hex(b):01,02,03,04,05,06,07,08"},
      {"\"None\"=hex(0):", 0, {}, "\"None\"=hex(0):"},
      {"\"Odd\"=hex(20000):01", 0x20000, {1}, "\"Odd\"=hex(20000):01"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.read);
    const RegistryTree tree = Parse("Windows Registry Editor Version 5.00\n; hand-written\n[HKEY_USERS\\K]\n" +
                                    std::string(row.read) + "\n");
    const RegistryKey* key = tree.Find("HKEY_USERS\\K");
    ASSERT_TRUE(key && key->values.size() == 1);
    EXPECT_EQ(std::tie(key->values[0].type, key->values[0].data), std::tie(row.type, row.data));
    EXPECT_EQ(WriteRegistryText(tree), std::string(kHeader) + CrLf("[HKEY_USERS\\K]\n" + std::string(row.written) + "\n\n"));
  }
}

TEST(SimRegistryText, LongHexDataIsWrappedAsRegeditWrapsIt) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 60; ++i) data.push_back(static_cast<std::uint8_t>(i));
  RegistryTree tree;
  tree.Create("HKEY_LOCAL_MACHINE\\K")->SetValue(Value("ProductId", 3, data));
  // 21 bytes after the 16 characters of the prefix, 25 on each following line.
  EXPECT_EQ(
      WriteRegistryText(tree),
      std::string(kHeader) +
          CrLf("[HKEY_LOCAL_MACHINE\\K]\n"
               "\"ProductId\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,"
               "\\\n"
               "  15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,\\\n"
               "  2e,2f,30,31,32,33,34,35,36,37,38,39,3a,3b\n"
               "\n"));
}

TEST(SimRegistryText, WrappedLinesStayWithin80ColumnsAndReadBack) {
  // Up to a name of 66 characters the first line can hold a byte and stay within 80.
  for (std::size_t name_length = 0; name_length <= 66; ++name_length) {
    for (std::size_t size : {0u, 1u, 20u, 21u, 22u, 25u, 26u, 50u, 200u}) {
      std::vector<std::uint8_t> data(size, 0xee);
      RegistryTree tree;
      tree.Create("HKEY_LOCAL_MACHINE\\K")->SetValue(Value(std::string(name_length, 'n'), 7, data));
      const std::string text = WriteRegistryText(tree);
      std::size_t start = 0;
      while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        start = end + 2;
      }
      const RegistryTree back = Parse(text);
      const RegistryValue* value =
          back.Find("HKEY_LOCAL_MACHINE\\K")->Value(std::string(name_length, 'n'));
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(value->data, data);
      EXPECT_EQ(value->type, 7u);
    }
  }
}

TEST(SimRegistryText, LookupsIgnoreCaseAndWritesKeepIt) {
  RegistryTree tree;
  tree.Create("HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix");
  RegistryKey* sub = tree.Create("hkey_local_machine\\software\\VELTRIX\\Sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(tree.Find("HKEY_LOCAL_MACHINE\\Software\\veltrix\\SUB"), sub);
  sub->SetValue(Value("InstallPath", 1, {'a', 0}));
  sub->SetValue(Value("INSTALLPATH", 1, {'b', 0}));  // the same value, its name kept
  ASSERT_EQ(sub->values.size(), 1u);
  EXPECT_EQ(sub->Value("installpath")->data, (std::vector<std::uint8_t>{'b', 0}));

  // Children sorted without regard to case: a byte order would put "B" before "a".
  RegistryTree users;
  for (const char* name : {"b", "C", "a", "B2"}) users.Create(std::string("HKEY_USERS\\") + name);
  EXPECT_EQ(WriteRegistryText(users),
            std::string(kHeader) + CrLf("[HKEY_USERS\\a]\n\n[HKEY_USERS\\b]\n\n[HKEY_USERS\\B2]\n\n[HKEY_USERS\\C]\n\n"));
  EXPECT_NE(WriteRegistryText(tree).find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix\\Sub]\r\n\"InstallPath\"=\"b\""),
            std::string::npos);
}

TEST(SimRegistryText, KeySwitchesAreComments) {
  const RegistryTree tree =
      Parse(CrLf("Windows Registry Editor Version 5.00\n"
                 "\n"
                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n"
                 "; reflection=off\n"
                 "; virtualization = OFF\n"
                 "\n"
                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\B]\n"
                 "; reflection=on\n"
                 "; just a comment\n"
                 "\"x\"=\"y\"\n"));
  const RegistryKey* a = tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\A");
  const RegistryKey* b = tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\B");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(std::tie(a->reflection, a->virtualization, b->reflection, b->virtualization),
            std::make_tuple(false, false, true, true));
  EXPECT_TRUE(tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE")->reflection);
  // Written back with the parent key, only the switches that are off.
  EXPECT_EQ(WriteRegistryText(tree), CrLf("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
                                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n; reflection=off\n; virtualization=off\n\n"
                                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\B]\n\"x\"=\"y\"\n\n"));
}

TEST(SimRegistryText, MalformedFilesAreRefusedNamingTheLine) {
  struct Row {
    std::string text;
    int line;
    const char* message;
  };
  const std::string h = "Windows Registry Editor Version 5.00\n";
  const std::string k = h + "[HKEY_USERS\\A]\n";  // values on line 3
  const Row kRows[] = {
      {"REGEDIT4\n", 1, "the first line is not"},
      {"Windows Registry Editor Version 5.00\r\r[HKEY_USERS\\A]\r", 1, "a carriage return inside a line"},
      {h + "\n[HKLM\\SOFTWARE]", 3, "unknown root key \"HKLM\""},
      {h + "[HKEY_LOCAL_MACHINE\\A", 2, "does not end with ']'"},
      {h + "[HKEY_LOCAL_MACHINE\\A\\\\B]", 2, "an empty name"},
      {h + "[-HKEY_LOCAL_MACHINE\\A]", 2, "deleting a key"},
      {h + "\"x\"=\"y\"", 2, "a value before the first [key]"},
      {k + "\"x\"=-", 3, "deleting a value"},
      {k + "\"x\"=", 3, "without data"},
      {k + "\"x=\"y\"", 3, "not followed by '='"},
      {k + "\"x\\\"=1", 3, "closing quote"},
      {k + "\"x\"=\"y\"z", 3, "text after the closing quote"},
      {k + "x=1", 3, "not a [key]"},
      {k + "\"x\"=dword:123456789", 3, "dword:"},
      {k + "\"x\"=qword:1", 3, "data that is not"},
      {k + "\"x\"=hex:1g", 3, "\"1g\" is not a hex byte"},
      {k + "\"x\"=hex:01,,02", 3, "\"\" is not a hex byte"},
      {k + "\"x\"=hex:01,", 3, "ending with ','"},
      {k + "\"x\"=hex:01\\\n02", 3, "must end with"},
      {k + "\"x\"=hex:01,\\\n  02,\\\n  zz", 5, "\"zz\" is not a hex byte"},
      {k + "\"x\"=hex:01,\\\n", 3, "past the end of the file"},
      {k + "\"x\"=hex(123456789):01", 3, "hex(N):"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.text);
    ExpectRefusal([&] { Parse(row.text); }, "registry.reg", row.line, row.message);
  }
}

TEST(SimRegistryText, KeyNamesAndDepthKeepWindowsLimits) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  EXPECT_NO_THROW(Parse(header + "[HKEY_USERS\\" + std::string(255, 'k') + "]\n"));
  EXPECT_THROW(Parse(header + "[HKEY_USERS\\" + std::string(256, 'k') + "]\n"), MachineFolderError);
  std::string deep = "HKEY_USERS";
  for (int i = 0; i < 512; ++i) deep += "\\k";
  EXPECT_NO_THROW(Parse(header + "[" + deep + "]\n"));
  EXPECT_THROW(Parse(header + "[" + deep + "\\k]\n"), MachineFolderError);
}

}  // namespace
}  // namespace sim
