// The status window's fonts.
#include "ui/status_fonts.h"

#include <limits>

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kNormalWeight = 400;

}  // namespace

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
  if (result > std::numeric_limits<std::int32_t>::max() ||
      result < -std::numeric_limits<std::int32_t>::max()) {
    return -1;
  }
  return static_cast<std::int32_t>(result);
}

platform::FontRequest StatusFontRequest(int points, int pixels_per_inch) {
  platform::FontRequest font;
  font.height = -MulDiv(points, pixels_per_inch, kPointsPerInch);
  font.weight = kNormalWeight;
  font.char_set = platform::kAnsiCharset;
  font.out_precision = platform::kOutStrokePrecis;
  font.clip_precision = platform::kClipStrokePrecis;
  font.quality = platform::kDraftQuality;
  font.pitch_and_family = platform::kVariablePitch | platform::kFfSwiss;
  font.face = "Verdana";
  return font;
}
