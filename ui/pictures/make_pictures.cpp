// Draws the launcher's two bitmaps and writes them as BMP files for the resource
// compiler: the splash window's background (550 x 280) and the elevation dialog's
// shield (64 x 64, black where it is transparent), both 24 bits per pixel.
//
//   make_pictures OUTPUT_FOLDER    writes splash.bmp and shield.bmp
//
// Runs on the build machine during a Windows build, so it uses nothing but the
// standard library, and the pictures come out the same on every build.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

Colour Mix(Colour from, Colour to, double share) {
  share = std::clamp(share, 0.0, 1.0);
  auto channel = [share](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * share));
  };
  return {channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue)};
}

class Picture {
 public:
  Picture(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int width() const { return width_; }
  int height() const { return height_; }

  void Set(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = colour;
  }
  Colour Get(int x, int y) const { return pixels_[y * width_ + x]; }

  // A BMP file: bottom-up rows of blue, green, red, each padded to four bytes.
  bool Write(const std::string& path) const {
    const std::uint32_t row = (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
    const std::uint32_t image = row * static_cast<std::uint32_t>(height_);
    constexpr std::uint32_t kHeaders = 14 + 40;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHeaders + image);
    auto put16 = [&bytes](std::uint32_t v) {
      bytes.push_back(v & 0xFF);
      bytes.push_back((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t v) {
      put16(v & 0xFFFF);
      put16(v >> 16);
    };
    bytes.push_back('B');
    bytes.push_back('M');
    put32(kHeaders + image);
    put32(0);
    put32(kHeaders);
    put32(40);  // BITMAPINFOHEADER
    put32(static_cast<std::uint32_t>(width_));
    put32(static_cast<std::uint32_t>(height_));
    put16(1);   // planes
    put16(24);  // bits per pixel
    put32(0);   // BI_RGB
    put32(image);
    put32(3780);  // 96 pixels per inch, in pixels per metre
    put32(3780);
    put32(0);
    put32(0);
    for (int y = height_ - 1; y >= 0; --y) {
      for (int x = 0; x < width_; ++x) {
        const Colour c = Get(x, y);
        bytes.push_back(c.blue);
        bytes.push_back(c.green);
        bytes.push_back(c.red);
      }
      for (std::uint32_t pad = static_cast<std::uint32_t>(width_) * 3; pad < row; ++pad)
        bytes.push_back(0);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
  }

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// Capital letters five pixels wide and seven high, enough for the word marks.
struct Glyph {
  char letter;
  std::array<std::string_view, 7> rows;
};
constexpr std::array kGlyphs = {
    Glyph{'A', {"01110", "10001", "10001", "11111", "10001", "10001", "10001"}},
    Glyph{'D', {"11110", "10001", "10001", "10001", "10001", "10001", "11110"}},
    Glyph{'E', {"11111", "10000", "10000", "11110", "10000", "10000", "11111"}},
    Glyph{'K', {"10001", "10010", "10100", "11000", "10100", "10010", "10001"}},
    Glyph{'L', {"10000", "10000", "10000", "10000", "10000", "10000", "11111"}},
    Glyph{'O', {"01110", "10001", "10001", "10001", "10001", "10001", "01110"}},
    Glyph{'P', {"11110", "10001", "10001", "11110", "10000", "10000", "10000"}},
    Glyph{'R', {"11110", "10001", "10001", "11110", "10100", "10010", "10001"}},
    Glyph{'S', {"01111", "10000", "10000", "01110", "00001", "00001", "11110"}},
    Glyph{'T', {"11111", "00100", "00100", "00100", "00100", "00100", "00100"}},
    Glyph{'V', {"10001", "10001", "10001", "10001", "10001", "01010", "00100"}},
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

int WordWidth(std::string_view word, int scale) {
  return static_cast<int>(word.size()) * (kGlyphWidth + 1) * scale - scale;
}

void DrawWord(Picture& p, std::string_view word, int left, int top, int scale, Colour colour) {
  int x = left;
  for (char letter : word) {
    for (const Glyph& glyph : kGlyphs) {
      if (glyph.letter != letter) continue;
      for (int row = 0; row < kGlyphHeight; ++row)
        for (int column = 0; column < kGlyphWidth; ++column)
          if (glyph.rows[row][column] == '1')
            for (int dy = 0; dy < scale; ++dy)
              for (int dx = 0; dx < scale; ++dx)
                p.Set(x + column * scale + dx, top + row * scale + dy, colour);
    }
    x += (kGlyphWidth + 1) * scale;
  }
}

void DrawCentredWord(Picture& p, std::string_view word, int top, int scale, Colour colour,
                     Colour shadow) {
  const int left = (p.width() - WordWidth(word, scale)) / 2;
  const int offset = std::max(1, scale / 2);
  DrawWord(p, word, left + offset, top + offset, scale, shadow);
  DrawWord(p, word, left, top, scale, colour);
}

// A dark band with the word mark above a light field for the status texts, which
// the launcher draws in black from y = 160 down, with the progress bar at y = 235.
Picture Splash() {
  constexpr Colour kNavy{14, 38, 78};
  constexpr Colour kTeal{20, 98, 128};
  constexpr Colour kWave{36, 124, 152};
  constexpr Colour kAccent{232, 132, 36};
  constexpr Colour kFieldTop{246, 248, 251};
  constexpr Colour kFieldBottom{226, 233, 240};
  constexpr int kBandHeight = 150;
  constexpr int kAccentHeight = 4;

  Picture p(550, 280);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      Colour c;
      if (y < kBandHeight) {
        c = Mix(kNavy, kTeal, static_cast<double>(y) / kBandHeight);
        // Two soft swells across the band, like a sea lane on a chart.
        const double crest = 112 + 9 * std::sin(x / 58.0) + 4 * std::sin(x / 23.0 + 1.3);
        const double depth = y - crest;
        if (depth >= 0 && depth < 18) c = Mix(c, kWave, 1.0 - depth / 18.0);
      } else if (y < kBandHeight + kAccentHeight) {
        c = kAccent;
      } else {
        c = Mix(kFieldTop, kFieldBottom,
                static_cast<double>(y - kBandHeight) / (p.height() - kBandHeight));
      }
      p.Set(x, y, c);
    }
  }
  DrawCentredWord(p, "PORTAVEL", 26, 6, Colour{255, 255, 255}, Colour{8, 22, 48});
  DrawCentredWord(p, "DOVREL DESKTOP", 86, 2, Colour{178, 222, 236}, Colour{8, 22, 48});
  return p;
}

// A shield split into four fields on a black ground; black is the transparent colour,
// so no part of the shield itself is pure black.
Picture Shield() {
  constexpr Colour kBlue{28, 112, 196};
  constexpr Colour kGold{242, 188, 44};
  constexpr Colour kRim{58, 62, 70};
  constexpr double kCentre = 31.5;
  constexpr double kHalfWidth = 25.0;
  constexpr double kTop = 5.0;
  constexpr double kShoulder = 34.0;
  constexpr double kTip = 60.0;

  // Half the shield's width at row y, or a negative number outside it.
  auto half_width = [&](double y) {
    if (y < kTop || y > kTip) return -1.0;
    if (y <= kShoulder) return kHalfWidth;
    const double t = (y - kShoulder) / (kTip - kShoulder);
    return kHalfWidth * std::sqrt(1.0 - t * t);
  };

  Picture p(64, 64);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const double cy = y + 0.5;
      const double dx = std::abs(x + 0.5 - kCentre);
      const double half = half_width(cy);
      if (half < 0 || dx > half) continue;  // stays black
      const bool rim = half - dx < 2.5 || cy - kTop < 2.5 || half_width(cy + 2.5) < dx;
      const bool left = x + 0.5 < kCentre;
      const bool upper = cy < kShoulder - 4;
      p.Set(x, y, rim ? kRim : (left == upper ? kBlue : kGold));
    }
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Splash().Write(folder + "/splash.bmp") || !Shield().Write(folder + "/shield.bmp")) {
    std::fprintf(stderr, "make_pictures: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
