// The status window's fonts: Verdana of a size in points, scaled to the screen.
#pragma once

#include <cstdint>

#include "platform/user_interface.h"

// MulDiv: a * b / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Verdana of `points` at weight 400 on a screen of `pixels_per_inch` logical pixels
// per inch (the height is negative: a character height, not a cell height).
platform::FontRequest StatusFontRequest(int points, int pixels_per_inch);
