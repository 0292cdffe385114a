// Builders of tiny image files for the texture tests, byte by byte, so each
// test shows the layout (or the fault) it reads: BMP, Targa, GIF, PCX and
// palette PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagefiles {

inline std::string le16(uint32_t v) { return {char(v), char(v >> 8)}; }
inline std::string le32(uint32_t v) { return le16(v) + le16(v >> 16); }
inline std::string be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

// A BMP with a `headerSize`-byte information header whose fields past the
// first 40 are zero but for `masks`, then `palette`, then `pixels`.
std::string bmp(uint32_t headerSize, int width, int height, int bits, uint32_t compression, const std::string& masks,
                const std::string& palette, const std::string& pixels, uint32_t colours = 0);

// A Targa: header, no identification field, the colour map (entries of
// `mapBits` bits starting at index `mapFirst`; none when `map` is empty),
// then the pixel data as given. `descriptor` holds the attribute bits and the
// row and column order.
std::string tga(int type, int width, int height, int depth, const std::string& pixels, const std::string& map = "",
                int mapFirst = 0, int mapBits = 24, int descriptor = 0);

// One GIF frame: its place on the logical screen, its colour indices (each
// below 128) row by row as stored, interlaced or not, and a local colour
// table (RGB triples, a power of two of them) when not empty.
struct GifFrame {
  int left, top, width, height;
  std::string indices;
  bool interlaced = false;
  std::string localTable = "";
  int transparent = -1;  // the index a graphic control extension makes transparent
};

// A GIF89a of the frames on a screen of `width` x `height` with `globalTable`
// (RGB triples, a power of two of them, or none) and background index
// `background`. The pixel data is coded with 8-bit codes, a clear code first.
std::string gif(int width, int height, const std::string& globalTable, int background,
                const std::vector<GifFrame>& frames);

// A PCX of version 5 (or `version`) whose pixel data is `planeRows` (each
// row's planes one after another, `bytesPerLine` bytes each) run-length coded
// one byte at a time, followed by a 256-colour palette when one is given.
std::string pcx(int bits, int planes, int width, int height, int bytesPerLine, const std::string& planeRows,
                const std::string& header16 = "", const std::string& palette256 = "", int version = 5);

// A PNG of 8-bit palette indices, one row after another, with the RGB
// triples of `palette` and, when not empty, the alpha values of `alphas`.
std::string palettePng(int width, int height, const std::string& palette, const std::string& indices,
                       const std::string& alphas = "");

inline const uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

}  // namespace imagefiles
