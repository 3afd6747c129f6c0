// The COM library of the launcher's thread on a simulated workstation.
#include <gtest/gtest.h>

#include <string>

#include "diag/log.h"
#include "lifetime/com_library.h"
#include "base/launcher.h"
#include "tests/unit/test_machine.h"

namespace {

using unit::TestMachine;

bool Has(const std::optional<std::string>& text, const std::string& part) {
  return text && text->find(part) != std::string::npos;
}

TEST(InitCOM, ASecondInitialisationIsOnlyDeveloperDetail) {
  TestMachine m;
  Launcher l(m.platform());
  unit::SetLauncherVersion(l);
  l.run.DeveloperDebugLogging = true;
  OpenLogFiles(l, unit::kFolder);
  InitCOM(l);
  InitCOM(l);
  const auto debug = m.File(unit::kDebugLog);
  EXPECT_TRUE(Has(debug, unit::Prefix("DEBUG   ") + "InitCOM: Standard COM library initialized.\r\n"));
  EXPECT_TRUE(Has(debug, unit::Prefix("DEBUG X ") + "InitCOM: Standard COM library already initialized.\r\n"));
  DisposeCOM(l);
  DisposeCOM(l);
  EXPECT_TRUE(Has(m.File(unit::kDebugLog), "DisposeCOM: Standard COM library disposed.\r\n"));
  EXPECT_EQ(l.log.ErrorRecordCount, 0);
}

}  // namespace
