// The preload's configuration work: the legacy settings files relocated to the cache
// parent folder, and whether the cache is in use recorded in the registry.
#include <string>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kCacheParent = "Users/clerk/AppData/Local/Norvane/Portavel/";

TEST(PreloadConfiguration, CopiesTheSettingsFilesThatAreNotThereYet) {
  Machine m;
  m.WriteC("Windows/tavix.ini", "[old]\n");
  m.WriteC("Windows/tpengine.ini", "[engine]\n");
  m.WriteC(std::string(kCacheParent) + "tpengine.ini", "[kept]\n");
  m.Run("-d preload");
  EXPECT_EQ(ReadText(m.C(std::string(kCacheParent) + "tavix.ini")), "[old]\n");
  EXPECT_EQ(ReadText(m.C(std::string(kCacheParent) + "tpengine.ini")), "[kept]\n");
  EXPECT_FALSE(fs::exists(m.C(std::string(kCacheParent) + "tavix.var")));
  EXPECT_TRUE(Contains(m.Lines("drives/C/Portavel/TavixPreload.log"), "InitConfigLocations: Checking configuration."));
}

TEST(PreloadConfiguration, AFailedCopyIsAnErrorNamingTheDestination) {
  Machine m;
  m.Append("machine.ini", "[fail]\nCopyFile = 1\n");
  m.WriteC("Windows/tavix.var", "x");
  m.WriteC(std::string(kCacheParent) + "keep.txt", "");
  m.Run("-d preload");
  EXPECT_TRUE(Contains(m.ErrorLog(), "File Relocation: Failed to copy "
                                     "C:\\USERS\\CLERK\\APPDATA\\LOCAL\\NORVANE\\PORTAVEL\\TAVIX.VAR"));
}

TEST(PreloadConfiguration, AFailedRecordOfTheCacheIsAnError) {
  Machine m;
  m.Append("machine.ini", "[user]\ntoken_admin = true\nelevated = true\n[fail]\nRegSetValueEx = 2\n");
  m.Run("-d preload");
  EXPECT_TRUE(Contains(m.ErrorLog(), "Tavix registry access failed: Error while writing key \"UsingTCache\""));
}

}  // namespace
}  // namespace scenario
