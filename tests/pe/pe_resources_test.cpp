// The resources of a built launcher, read back from its PE file: the manifest, the
// version information, the dialogs, the string table and the bitmaps.
//
//   pe_resource_tests EXECUTABLE [gtest options]
#include <gtest/gtest.h>

#include <string>

#include "tests/pe/pe_resources.h"
#include "platform/resource_ids.h"

namespace {

std::string g_executable;

class LauncherResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    file_ = pe::ResourceFile::Load(g_executable, &error);
    if (!file_) load_error_ = error;
  }
  void SetUp() override { ASSERT_TRUE(file_.has_value()) << g_executable << ": " << load_error_; }

  static std::optional<pe::DialogTemplate> Dialog(const std::string& name) {
    auto data = file_->Find(pe::kRtDialog, {0, name});
    if (!data) return std::nullopt;
    return pe::ParseDialog(*data);
  }

  static inline std::optional<pe::ResourceFile> file_;
  static inline std::string load_error_;
};

TEST_F(LauncherResources, ManifestRunsAsInvokerWithCommonControls6OnWindows7And10) {
  auto data = file_->Find(pe::kRtManifest, {1, ""});
  ASSERT_TRUE(data.has_value()) << "no manifest with id 1";
  const std::string manifest(data->begin(), data->end());
  for (const char* part : {
           "level=\"asInvoker\"",
           "name=\"Microsoft.Windows.Common-Controls\"",
           "version=\"6.0.0.0\"",
           "publicKeyToken=\"6595b64144ccf1df\"",
           "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
           "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10
       }) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

TEST_F(LauncherResources, VersionNamesTheLauncherWithTheProjectsVersion) {
  auto data = file_->Find(pe::kRtVersion, {1, ""});
  ASSERT_TRUE(data.has_value());
  auto version = pe::ParseVersion(*data);
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->strings["040904b0/FileDescription"], "Portavel Desktop Launcher");
  EXPECT_EQ(version->strings["040904b0/FileVersion"], PORTAVEL_FILE_VERSION);
  EXPECT_FALSE(version->strings["040904b0/LegalCopyright"].empty());
  const auto& v = version->file_version;
  EXPECT_EQ(std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
                std::to_string(v[3]),
            PORTAVEL_FILE_VERSION);
}

TEST_F(LauncherResources, SplashDialogIsABorderlessExtendedTemplateWithoutControls) {
  auto dialog = Dialog("DOVRELPV_SPLASH");
  ASSERT_TRUE(dialog.has_value());
  EXPECT_TRUE(dialog->extended);
  // WS_POPUP | WS_VISIBLE | DS_CENTER | DS_SETFOREGROUND | DS_SETFONT
  EXPECT_EQ(dialog->style, 0x90000A40u);
  EXPECT_EQ(dialog->ex_style, 0u);
  EXPECT_EQ(dialog->cx, 366);
  EXPECT_EQ(dialog->cy, 172);
  EXPECT_EQ(dialog->caption, "");
  EXPECT_EQ(dialog->point_size, 8);
  EXPECT_EQ(dialog->font, "MS Sans Serif");
  EXPECT_TRUE(dialog->items.empty());
}

TEST_F(LauncherResources, VerifyDialogIsAClassicTemplateWithItsCentredLine) {
  auto dialog = Dialog("VERIFYDIALOG");
  ASSERT_TRUE(dialog.has_value());
  EXPECT_FALSE(dialog->extended);
  EXPECT_EQ(dialog->style, 0x80C800C0u);
  EXPECT_EQ(dialog->ex_style, 0u);
  EXPECT_EQ(dialog->cx, 235);
  EXPECT_EQ(dialog->cy, 61);
  EXPECT_EQ(dialog->caption, "Portavel");
  EXPECT_EQ(dialog->point_size, 8);
  EXPECT_EQ(dialog->font, "MS Sans Serif");
  ASSERT_EQ(dialog->items.size(), 1u);
  const pe::DialogItem& line = dialog->items[0];
  EXPECT_EQ(line.id, static_cast<std::uint32_t>(IDC_VERIFY_TEXT));
  // STATIC, by its predefined number or by name.
  EXPECT_TRUE(line.class_name == "#0x0082" || line.class_name == "STATIC") << line.class_name;
  EXPECT_EQ(line.style, 0x50020001u);
  EXPECT_EQ(line.ex_style, 0u);
  EXPECT_EQ((std::array{line.x, line.y, line.cx, line.cy}), (std::array{10, 10, 215, 40}));
  EXPECT_EQ(line.text, "Verifying files...");
}

TEST_F(LauncherResources, StringTableHoldsTheFourTexts) {
  struct Entry {
    std::uint16_t id;
    const char* text;
  };
  for (const Entry& entry : {Entry{122, TEXT_ELEVATION_PROMPT}, Entry{123, TEXT_ERROR_CAPTION},
                             Entry{124, TEXT_ERROR_HEADING}, Entry{125, TEXT_CRITICAL_FAILURE}}) {
    EXPECT_EQ(pe::StringTableEntry(*file_, entry.id).value_or("<missing>"), entry.text) << entry.id;
  }
  EXPECT_EQ(std::string(TEXT_ELEVATION_PROMPT).size(), 95u);
}

TEST_F(LauncherResources, BitmapsHaveTheirSizesAndDepth) {
  struct Expected {
    std::uint16_t id;
    int width, height;
  };
  for (const Expected& e : {Expected{2002, 64, 64}, Expected{2011, 550, 280}}) {
    auto data = file_->Find(pe::kRtBitmap, {e.id, ""});
    ASSERT_TRUE(data.has_value()) << e.id;
    auto header = pe::ParseBitmap(*data);
    ASSERT_TRUE(header.has_value()) << e.id;
    EXPECT_EQ(header->width, e.width) << e.id;
    // Positive: stored bottom-up, as LoadBitmapA expects.
    EXPECT_EQ(header->height, e.height) << e.id;
    EXPECT_EQ(header->bits_per_pixel, 24) << e.id;
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: pe_resource_tests EXECUTABLE [gtest options]\n");
    return 2;
  }
  g_executable = argv[1];
  return RUN_ALL_TESTS();
}
