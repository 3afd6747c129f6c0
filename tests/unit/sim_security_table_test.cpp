// security.txt, read from strings: objects matched without regard to case or a
// folder's trailing backslash, descriptors inherited from the nearest ancestor, and
// malformed lines refused. Writing it back is the configuration repairs' test.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "tests/unit/machine_folder_refusal.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/security_table.h"

namespace sim {
namespace {

SecurityTable Parse(std::string_view text) { return ParseSecurityText(text, "security.txt"); }

constexpr std::string_view kFile =
    "; objects with a descriptor of their own\r\n"
    "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BU)\r\n"
    "\r\n"
    "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KR;;;BU)\r\n"
    "C:\\Portavel\\\tD:P(A;OICI;FA;;;BA)\n"
    "D:\\\tD:(A;OICI;FR;;;WD)\n"
    "HKLM\tD:(A;CI;KA;;;SY)\n";

TEST(SimSecurityTable, OwnMatchesWithoutCaseOrTrailingBackslash) {
  const SecurityTable table = Parse(kFile);
  struct Row {
    const char* object;
    const char* own;  // null: none
  };
  constexpr Row kRows[] = {
      {"C:\\ProgramData\\Veltrix", "D:(A;OICI;FA;;;BU)"},
      {"c:\\programdata\\VELTRIX", "D:(A;OICI;FA;;;BU)"},
      {"C:\\ProgramData\\Veltrix\\", "D:(A;OICI;FA;;;BU)"},
      {"C:\\Portavel", "D:P(A;OICI;FA;;;BA)"},
      {"hklm\\software\\veltrix solutions inc.", "D:(A;CI;KR;;;BU)"},
      {"d:\\", "D:(A;OICI;FR;;;WD)"},
      {"D:", "D:(A;OICI;FR;;;WD)"},
      {"C:\\ProgramData", nullptr},
      {"C:\\ProgramData\\Veltrix\\Data", nullptr},
      {"C:\\", nullptr},
      {"HKLM\\SOFTWARE", nullptr},
  };
  for (const Row& row : kRows)
    EXPECT_EQ(table.Own(row.object), row.own ? std::optional<std::string>(row.own) : std::nullopt) << row.object;
}

TEST(SimSecurityTable, EffectiveIsTheNearestAncestorsDescriptor) {
  const SecurityTable table = Parse(kFile);
  struct Row {
    const char* object;
    std::string_view effective;
  };
  constexpr Row kRows[] = {
      {"C:\\ProgramData\\Veltrix", "D:(A;OICI;FA;;;BU)"},
      {"C:\\ProgramData\\Veltrix\\Logs\\today.log", "D:(A;OICI;FA;;;BU)"},
      {"C:\\PROGRAMDATA\\veltrix\\x\\", "D:(A;OICI;FA;;;BU)"},
      {"C:\\Portavel\\Tavix.exe", "D:P(A;OICI;FA;;;BA)"},
      {"D:\\Data\\x.txt", "D:(A;OICI;FR;;;WD)"},
      // A drive root without a line grants full access to Everyone.
      {"C:\\ProgramData", kEveryoneFullAccess},
      {"C:\\", kEveryoneFullAccess},
      {"c:", kEveryoneFullAccess},
      {"Z:\\Share\\file", kEveryoneFullAccess},
      {"HKLM\\SOFTWARE\\Veltrix Solutions Inc.\\Dovrel", "D:(A;CI;KR;;;BU)"},
      {"HKLM\\SOFTWARE\\Other", "D:(A;CI;KA;;;SY)"},
      {"HKLM", "D:(A;CI;KA;;;SY)"},
      // A registry root without a line: no descriptor known.
      {"HKCU\\Software\\Veltrix", ""},
      {"HKCU", ""},
  };
  for (const Row& row : kRows) EXPECT_EQ(table.Effective(row.object), row.effective) << row.object;
}

TEST(SimSecurityTable, MalformedLinesAreRefusedNamingTheLine) {
  struct Row {
    const char* text;
    int line;
    const char* message;
  };
  constexpr Row kRows[] = {
      {"C:\\Data D:(A;;FA;;;BA)", 1, "no tab"},
      {"; comment\n\nC:\\Data\tD:(A;;FA;;;BA)\nC:\\Other    D:(A;;FA;;;BA)\n", 4, "no tab"},
      {"\tD:(A;;FA;;;BA)", 1, "without an object"},
      {"; objects\rC:\\Data\tD:(A;;FA;;;BA)\r", 1, "a carriage return inside a line"},
      {"\xEF\xBB\xBF"
       "C:\\A\tD:(A;;FA;;;BA)\n\xEF\xBB\xBF"
       "C:\\B\tD:(A;;FA;;;BA)",
       2, "byte order mark"},
      {"C:\\Data\t", 1, "\"C:\\Data\" without a descriptor"},
      {"C:\\Data\tD:(A;;FA;;;BA)\nc:\\data\\\tD:(A;;FR;;;BA)", 2,
       "\"c:\\data\\\" is given twice (first on line 1)"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.text);
    ExpectRefusal([&] { Parse(row.text); }, "security.txt", row.line, row.message);
  }
}

}  // namespace
}  // namespace sim
