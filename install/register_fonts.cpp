// Registering the product's fonts until log-off.
#include "install/register_fonts.h"

#include "base/launcher.h"
#include "install/product_fonts.h"

void RegisterFonts(Launcher& l) {
  for (const char* font : kProductFonts) {
    // A cut path would register another file.
    FixedString<260> path;
    if (path.format("%s%s", l.folders.WinDir.c_str(), font)) (void)l.os.ui.AddFontResource(path.view());
  }
}
