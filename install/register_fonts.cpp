// Registering the product's fonts until log-off.
#include "install/register_fonts.h"

#include "base/launcher.h"

void RegisterFonts(Launcher& l) {
  static constexpr const char* kFonts[] = {"Fonts\\Norvane Narrow Normal.ttf", "Fonts\\norvanenarrowbold.ttf",
                                           "Fonts\\Norvanenarrowsemibold.ttf", "Fonts\\CODE128W.ttf"};
  for (const char* font : kFonts) {
    // A cut path would register another file.
    FixedString<260> path;
    if (path.format("%s%s", l.folders.WinDir.c_str(), font)) (void)l.os.ui.AddFontResource(path.view());
  }
}
