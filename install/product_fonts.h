// The product's four fonts, below the Windows folder.
#pragma once

inline constexpr const char* kProductFonts[] = {
    "Fonts\\Norvane Narrow Normal.ttf", "Fonts\\norvanenarrowbold.ttf",
    "Fonts\\Norvanenarrowsemibold.ttf", "Fonts\\CODE128W.ttf"};
