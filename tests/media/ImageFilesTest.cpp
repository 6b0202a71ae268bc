// Picture files: BMP variants from hand-built bytes, damaged headers, PPM and JPEG decoding,
// round trips, and loading and saving through the file error and quality dialogs.
#include <gtest/gtest.h>

#include "HeadlessTest.h"

#include <cstdio>
#include <cstdlib>
#include <tuple>

#include <jpeglib.h>

#include "Pixels.h"
#include "base/FileIO.h"
#include "media/KBitmap.h"

namespace kelvra {
namespace {

constexpr uint32_t K = 0x000000, R = 0x0000FF, G = 0x00FF00, B = 0xFF0000, W = 0xFFFFFF;

using Rows = std::vector<std::vector<uint32_t>>;  // colours, top row first

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = uint8_t(x), v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  Put16(v, at, x & 0xFFFF), Put16(v, at + 2, x >> 16);
}

// A BMP file from its parts; `pixels` are the file's rows as stored, padding included.
struct BmpParts {
  uint32_t headerSize = 40;
  int32_t width = 0, height = 0;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> palette;  // colours
  std::vector<uint32_t> masks;    // red, green, blue: in the header (V4/V5) or after it
  std::vector<uint8_t> pixels;
};

std::vector<uint8_t> BuildBmp(const BmpParts& s) {
  const bool core = s.headerSize == 12;
  const size_t entry = core ? 3 : 4;
  const size_t masksAfter = s.headerSize == 40 ? s.masks.size() * 4 : 0;
  const size_t offBits = 14 + s.headerSize + masksAfter + s.palette.size() * entry;
  std::vector<uint8_t> f(offBits + s.pixels.size(), 0);
  f[0] = 'B', f[1] = 'M';
  Put32(f, 2, uint32_t(f.size()));
  Put32(f, 10, uint32_t(offBits));
  Put32(f, 14, s.headerSize);
  if (core) {
    Put16(f, 18, uint32_t(s.width)), Put16(f, 20, uint32_t(s.height));
    Put16(f, 22, 1), Put16(f, 24, uint32_t(s.bits));
  } else {
    Put32(f, 18, uint32_t(s.width)), Put32(f, 22, uint32_t(s.height));
    Put16(f, 26, 1), Put16(f, 28, uint32_t(s.bits));
    Put32(f, 30, s.compression);
    Put32(f, 34, uint32_t(s.pixels.size()));
    Put32(f, 46, s.colorsUsed);
    if (s.headerSize >= 52)
      for (size_t i = 0; i < s.masks.size(); ++i) Put32(f, 54 + 4 * i, s.masks[i]);
  }
  size_t at = 14 + s.headerSize;
  for (size_t i = 0; i < masksAfter / 4; ++i, at += 4) Put32(f, at, s.masks[i]);
  for (uint32_t c : s.palette) {
    f[at] = uint8_t(BlueOf(c)), f[at + 1] = uint8_t(GreenOf(c)), f[at + 2] = uint8_t(RedOf(c));
    at += entry;
  }
  std::copy(s.pixels.begin(), s.pixels.end(), f.begin() + long(offBits));
  return f;
}

void ExpectRows(const TKBitmap& b, const Rows& rows) {
  ASSERT_EQ(b.Height(), int(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y) {
    ASSERT_EQ(b.Width(), int(rows[y].size()));
    for (size_t x = 0; x < rows[y].size(); ++x)
      EXPECT_EQ(b.Pixel(int(x), int(y)), rows[y][x]) << "pixel " << x << "," << y;
  }
}

TKBitmap Pattern(int w, int h, uint32_t seed) {
  TKBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 134775813u + 1;
      PutPixel(b, x, y, seed >> 8 & 0xFFFFFF, ef16);
    }
  return b;
}

using test::SamePixels;

// A damaged file: the reader fails with the message and leaves the bitmap empty.
void ExpectRefused(bool (*decode)(const uint8_t*, size_t, TKBitmap&, std::string&),
                   const std::vector<uint8_t>& file, const char* message, const std::string& what) {
  TKBitmap b(3, 3);
  std::string error;
  EXPECT_FALSE(decode(file.data(), file.size(), b, error)) << what;
  EXPECT_NE(error.find(message), std::string::npos) << what << ": " << error;
  EXPECT_TRUE(b.Empty()) << what;
}

TEST(BmpFiles, RoundTripKeepsEveryPixelAtOddWidths) {
  for (int w : {1, 2, 3, 5, 7, 640}) {
    for (int h : {1, 4}) {
      TKBitmap b = Pattern(w, h, uint32_t(w * 31 + h));
      std::vector<uint8_t> file = EncodeBmp(b);
      const size_t stride = (3 * size_t(w) + 3) & ~size_t(3);
      ASSERT_EQ(file.size(), 54 + stride * h);
      TKBitmap back;
      std::string error;
      ASSERT_TRUE(DecodeBmp(file.data(), file.size(), back, error)) << error;
      EXPECT_TRUE(SamePixels(b, back)) << w << "x" << h;
    }
  }
}

TEST(BmpFiles, WritesAKnownFile) {
  TKBitmap b(1, 2);
  PutPixel(b, 0, 0, R, ef16);
  PutPixel(b, 0, 1, B, ef16);
  const std::vector<uint8_t> want = {
      'B',  'M', 62, 0, 0, 0, 0,    0, 0,    0,    54, 0, 0,    0,  // size, pixel offset
      40,   0,   0,  0, 1, 0, 0,    0, 2,    0,    0,  0, 1,    0,
      24,   0,  // header size, 1 x 2 bottom-up, 24 bits
      0,    0,   0,  0, 8, 0, 0,    0, 0x13, 0x0B, 0,  0, 0x13, 0x0B,
      0,    0,                           // pixel bytes, 72 dpi
      0,    0,   0,  0, 0, 0, 0,    0,   // palette counts
      0xFF, 0,   0,  0, 0, 0, 0xFF, 0};  // blue (bottom), red, padded
  EXPECT_EQ(EncodeBmp(b), want);
}

// PNG: an 8-bit RGB header, and a zlib stream whose Adler-32 is that of the rows top down
// in red, green, blue, each after its filter byte 0.
TEST(PngFiles, WritesRowsTopDownInRgbOrder) {
  const TKBitmap b = Pattern(5, 3, 11);
  const std::vector<uint8_t> png = EncodePng(b);
  auto be32 = [&](size_t at) {
    return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
  };
  uint32_t a = 1, c = 0;
  for (int i = 0; i < 3 * 16; ++i) {
    const int x = i % 16 - 1;  // -1: the filter byte
    c = (c + (a = (a + (x < 0 ? 0 : b.Pixel(x / 3, i / 16) >> (8 * (x % 3)) & 0xFF)) % 65521)) %
        65521;
  }
  EXPECT_EQ(std::make_tuple(be32(16), be32(20), png[24], png[25], uint32_t(be32(37 + be32(33)))),
            std::make_tuple(5, 3, 8, 2, c << 16 | a));
}

TEST(BmpFiles, EveryVariantDecodes) {
  struct Case {
    const char* what;
    BmpParts parts;
    Rows want;
  };
  const std::vector<uint32_t> pal4 = {K, R, G, B};
  std::vector<uint32_t> pal256(256, W);
  pal256[0] = K, pal256[1] = R, pal256[2] = G;
  const std::vector<uint8_t> rle8 = {3, 1, 0, 0,        // bottom row: three of index 1, end of line
                                     0, 3, 2, 3, 2, 0,  // three literal indices, padded
                                     0, 2, 0, 1,        // move 0 right, 1 up
                                     1, 3, 0, 1};       // one of index 3, end of picture
  // Bottom row: literal 1 2 3 1 2 (padded), a run 3 2 3, end of line; top row: literal 3 0 2,
  // one to the right, a run of one 2, end of picture.
  const std::vector<uint8_t> rle4 = {0, 5,    0x12, 0x31, 0x20, 0, 3, 0x32, 0,    0, 0,
                                     3, 0x30, 0x20, 0,    2,    1, 0, 1,    0x20, 0, 1};
  // The bottom row R G B padded to 12 bytes; the top row W K R without its 3 padding bytes.
  const std::vector<uint8_t> unpadded = {0, 0,   255, 0,   255, 0, 255, 0, 0, 0,  0,
                                         0, 255, 255, 255, 0,   0, 0,   0, 0, 255};
  const Case cases[] = {
      {"1 bit, bottom-up",
       {40, 3, 2, 1, 0, 0, {K, R}, {}, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}},
       {{R, K, R}, {K, R, R}}},
      {"4 bits, palette of four",
       {40, 3, 2, 4, 0, 4, pal4, {}, {0x12, 0x30, 0, 0, 0x30, 0x10, 0, 0}},
       {{B, K, R}, {R, G, B}}},
      {"8 bits, top-down, index past a palette of three reads black",
       {40, 3, -2, 8, 0, 3, {K, R, G}, {}, {0, 1, 2, 0, 2, 2, 7, 0}},
       {{K, R, G}, {G, G, K}}},
      {"24 bits, top-down",
       {40, 2, -2, 24, 0, 0, {}, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0}},
       {{R, G}, {W, K}}},
      {"24 bits, the last row without its padding",
       {40, 3, 2, 24, 0, 0, {}, {}, unpadded},
       {{W, K, R}, {R, G, B}}},
      {"32 bits", {40, 2, 1, 32, 0, 0, {}, {}, {255, 0, 0, 9, 1, 2, 3, 9}}, {{B, RGB(3, 2, 1)}}},
      {"32 bits with masks after the header",
       {40, 2, 1, 32, 3, 0, {}, {0xFF0000, 0xFF00, 0xFF}, {255, 0, 0, 0, 1, 2, 3, 0}},
       {{B, RGB(3, 2, 1)}}},
      {"32 bits with masks in a V5 header",
       {124, 2, 1, 32, 3, 0, {}, {0xFF000000, 0xFF0000, 0xFF00}, {0, 255, 0, 0, 0, 1, 2, 3}},
       {{B, RGB(3, 2, 1)}}},
      {"16 bits 5-6-5 masks",
       {40, 3, 1, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07, 0x10, 0, 0, 0}},
       {{R, G, RGB(0, 0, 132)}}},
      {"16 bits 5-5-5", {40, 2, 1, 16, 0, 0, {}, {}, {0x00, 0x7C, 0xFF, 0x7F}}, {{R, W}}},
      {"old core header", {12, 2, 1, 8, 0, 0, pal256, {}, {1, 2, 0, 0}}, {{R, G}}},
      {"V4 header, 8 bits", {108, 2, 1, 8, 0, 2, {G, B}, {}, {1, 0, 0, 0}}, {{B, G}}},
      {"RLE8: runs, literal run with padding, end of line, delta, end",
       {40, 4, 3, 8, 1, 4, pal4, {}, rle8},
       {{K, K, K, B}, {G, B, G, K}, {R, R, R, K}}},
      {"RLE4: odd runs and literals, each byte's second nibble, delta",
       {40, 8, 2, 4, 2, 4, pal4, {}, rle4},
       {{B, K, G, K, G, K, K, K}, {R, G, B, R, G, B, G, B}}},
      {"RLE8: runs past the row's end and deltas past the top are dropped",
       {40, 3, 2, 8, 1, 2, {K, R}, {}, {255, 1, 0, 0, 0, 2, 200, 200, 2, 1, 0, 1}},
       {{K, K, K}, {R, R, R}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> file = BuildBmp(c.parts);
    TKBitmap b;
    std::string error;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), b, error)) << error;
    ExpectRows(b, c.want);
  }
}

TEST(BmpFiles, DamagedFilesAreRefusedWithAMessage) {
  const BmpParts base{40, 4, 4, 8, 0, 2, {K, W}, {}, std::vector<uint8_t>(16, 1)};
  const BmpParts rle{40, 4, 4, 8, 1, 2, {K, W}, {}, {4, 1, 0, 0, 0, 5, 1, 1}};
  auto with = [](BmpParts s, auto change) {
    change(s);
    return BuildBmp(s);
  };
  auto patched = [](std::vector<uint8_t> f, size_t at, uint32_t v) {
    Put32(f, at, v);
    return f;
  };
  std::vector<uint8_t> good = BuildBmp(base);
  std::vector<uint8_t> hugeHeader(100, 0);
  std::copy(good.begin(), good.begin() + 54, hugeHeader.begin());
  Put32(hugeHeader, 18, 16384), Put32(hugeHeader, 22, 32767), Put16(hugeHeader, 28, 24);
  Put32(hugeHeader, 46, 0), Put32(hugeHeader, 10, 54);
  std::vector<uint8_t> hugeRle = hugeHeader;
  Put32(hugeRle, 22, 16384), Put16(hugeRle, 28, 8), Put32(hugeRle, 30, 1);
  Put32(hugeRle, 46, 1), Put32(hugeRle, 10, 58);

  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    const char* message;
  };
  const Case cases[] = {
      {"too short", std::vector<uint8_t>(good.begin(), good.begin() + 20), "File too short"},
      {"wrong magic", patched(good, 0, 'B' | 'X' << 8), "Is not a BMP picture"},
      {"header size", patched(good, 14, 20), "Unsupported BMP header size 20"},
      {"header past the end", std::vector<uint8_t>(good.begin(), good.begin() + 40),
       "BMP header extends past the end"},
      {"no width", with(base, [](BmpParts& s) { s.width = 0; }), "no pixels"},
      {"too wide", with(base, [](BmpParts& s) { s.width = 20000; }), "Picture too large"},
      {"too high", with(base, [](BmpParts& s) { s.height = -40000; }), "Picture too large"},
      {"bit count", with(base, [](BmpParts& s) { s.bits = 7; }), "Unsupported BMP bit count 7"},
      {"compression", with(base, [](BmpParts& s) { s.compression = 4; }),
       "Unsupported BMP compression 4"},
      {"palette size", with(base, [](BmpParts& s) { s.colorsUsed = 1000; }),
       "Invalid BMP palette size 1000"},
      {"palette past the end",
       patched(std::vector<uint8_t>(good.begin(), good.begin() + 60), 46, 200),
       "BMP palette extends past the end"},
      {"pixel offset", patched(good, 10, 5000), "Invalid BMP pixel data offset"},
      {"pixels cut short", std::vector<uint8_t>(good.begin(), good.end() - 5),
       "BMP pixel data is truncated"},
      {"last row one byte short of its pixels",
       BuildBmp({40, 3, 2, 24, 0, 0, {}, {}, std::vector<uint8_t>(12 + 9 - 1)}),
       "BMP pixel data is truncated"},
      {"a 16384 x 32767 header on 100 bytes", hugeHeader, "BMP pixel data is truncated"},
      {"a 16384 x 16384 RLE header on 100 bytes", hugeRle, "BMP compressed data too short"},
      {"RLE with 24 bits", BuildBmp({40, 4, 4, 24, 1, 0, {}, {}, rle.pixels}),
       "does not match its bit count"},
      {"top-down RLE", with(rle, [](BmpParts& s) { s.height = -4; }), "cannot be top-down"},
      {"RLE literal run cut short", with(rle, [](BmpParts& s) { s.pixels.resize(7); }),
       "compressed data is truncated"},
      {"RLE without its end", with(rle, [](BmpParts& s) { s.pixels.resize(4); }),
       "compressed data is truncated"},
      {"scattered mask",
       BuildBmp({40, 4, 4, 32, 3, 0, {}, {0xF0F000, 0xFF00, 0xFF}, std::vector<uint8_t>(64)}),
       "Invalid BMP colour masks"},
  };
  for (const Case& c : cases) ExpectRefused(DecodeBmp, c.file, c.message, c.what);
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// Comments everywhere, the maximum 15 and 65535, two-byte samples, a blank as the first sample.
TEST(PpmFiles, CommentsBlanksAndSampleScaling) {
  using namespace std::string_literals;
  const std::pair<std::string, Rows> cases[] = {
      {"P6#c\n2 # w\n1\n#m\n255\n\xFF\0\0\1\2\3"s, {{R, RGB(1, 2, 3)}}},
      {"P6 2 1 15\n\x0F\x07\0\x14\x01\x0F"s, {{RGB(255, 119, 0), RGB(255, 17, 255)}}},
      {"P6 1 1 65535\n\xFF\xFF\x80\0\0\1"s, {{RGB(255, 128, 0)}}},
      {"P6 1 1 1000\r\x03\xE8\x01\xF4\0\0"s, {{RGB(255, 128, 0)}}},
      {"P6 1 1 255  \n\t"s, {{RGB(32, 10, 9)}}},
  };
  for (const auto& [file, want] : cases) {
    SCOPED_TRACE(file);
    TKBitmap p;
    std::string error;
    ASSERT_TRUE(DecodePpm(Bytes(file).data(), file.size(), p, error)) << error;
    ExpectRows(p, want);
  }
}

TEST(PpmFiles, DamagedFilesAreRefusedWithAMessage) {
  struct Case {
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {"P5 1 1 255\nabc", "Is not a binary PPM picture"},
      {"P6 3 2", "PPM header is damaged"},
      {"P63 2 255\n", "PPM header is damaged"},
      {"P6 3 2 255", "PPM header is damaged"},
      {"P6 3 x 255\n", "PPM header is damaged"},
      {"P6 0 2 255\n", "no pixels"},
      {"P6 20000 1 255\n", "Picture too large"},
      {"P6 99999999999999999999 1 255\n", "Picture too large"},
      {"P6 1 1 0\nabc", "Invalid PPM maximum sample value 0"},
      {"P6 1 1 65536\nabcdef", "Invalid PPM maximum sample value 65536"},
      {"P6 2 1 255\nabcde", "PPM pixel data is truncated"},
      {"P6 16384 32767 255\nabc", "PPM pixel data is truncated"},
      {"P6 1 1 256\nabc", "PPM pixel data is truncated"},
  };
  for (const Case& c : cases) ExpectRefused(DecodePpm, Bytes(c.file), c.message, c.file);
}

// A JPEG in a colour space our encoder does not write, made with libjpeg directly.
std::vector<uint8_t> OtherJpeg(J_COLOR_SPACE space, int components, int w, int h) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = JDIMENSION(w), c.image_height = JDIMENSION(h);
  c.input_components = components, c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(w) * components);
  for (int y = 0; y < h; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i * 9 + y * 20);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(buf, buf + size);
  std::free(buf);
  return out;
}

TEST(JpegFiles, RoundTripWithinTolerance) {
  TKBitmap b(40, 30), back;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) PutPixel(b, x, y, RGB(x * 6, y * 8, 128 + x - y), ef16);
  std::vector<uint8_t> file;
  ASSERT_TRUE(EncodeJpeg(b, 95, file));
  std::string error;
  ASSERT_TRUE(DecodeJpeg(file.data(), file.size(), back, error)) << error;
  ASSERT_EQ(std::make_pair(back.Width(), back.Height()), std::make_pair(40, 30));
  int worst = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const uint32_t a = b.Pixel(x, y), c = back.Pixel(x, y);
      for (int d : {RedOf(a) - RedOf(c), GreenOf(a) - GreenOf(c), BlueOf(a) - BlueOf(c)})
        worst = std::max(worst, std::abs(d));
    }
  EXPECT_LE(worst, 16);
  EXPECT_FALSE(EncodeJpeg(TKBitmap(), 90, file));
}

TEST(JpegFiles, GreyDecodesCmykAndDamageAreRefused) {
  std::vector<uint8_t> grey = OtherJpeg(JCS_GRAYSCALE, 1, 16, 8);
  TKBitmap b;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(grey.data(), grey.size(), b, error)) << error;
  ASSERT_EQ(b.Width(), 16);
  const uint32_t c = b.Pixel(5, 2);
  EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c) && std::abs(RedOf(c) - 85) <= 6);

  std::vector<uint8_t> colour;
  TKBitmap src(8, 8);
  ASSERT_TRUE(EncodeJpeg(src, 90, colour));
  // The frame header's height and width, found after the SOF0 marker.
  size_t sof = 2;
  while (sof + 9 < colour.size() && !(colour[sof] == 0xFF && colour[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, colour.size());
  auto withSize = [&](int w, int h) {
    std::vector<uint8_t> f = colour;
    f[sof + 5] = uint8_t(h >> 8), f[sof + 6] = uint8_t(h);
    f[sof + 7] = uint8_t(w >> 8), f[sof + 8] = uint8_t(w);
    return f;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    const char* message;
  };
  const Case cases[] = {
      {"not a JPEG", Bytes("hello, world"), "Is not a JPEG picture"},
      {"cut in half",
       std::vector<uint8_t>(colour.begin(), colour.begin() + long(colour.size() / 2)),
       "Damaged JPEG picture"},
      {"header only", std::vector<uint8_t>(colour.begin(), colour.begin() + 4), "Damaged JPEG"},
      {"CMYK", OtherJpeg(JCS_CMYK, 4, 8, 8), "CMYK JPEG pictures are not supported"},
      {"too wide", withSize(20000, 8), "Picture too large"},
      {"huge on a small file", withSize(16000, 30000), "JPEG data too short"},
  };
  for (const Case& c : cases) ExpectRefused(DecodeJpeg, c.file, c.message, c.what);
}

class PictureFiles : public test::HeadlessTest {};

TEST_F(PictureFiles, MissingFileGoesThroughTheDialogAndGetsTheFallbackSize) {
  TKBitmap b(2, 2);
  const std::string missing = dir.File("none.bmp");
  EXPECT_FALSE(LoadFromFile(b, missing, 7, 5));
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  EXPECT_EQ(std::make_tuple(b.Width(), b.Height(), headless.fileErrors[0].caption,
                            headless.fileErrors[0].retryOffered),
            std::make_tuple(7, 5, std::string("IO Error"), true));
  EXPECT_NE(headless.fileErrors[0].text.find(missing), std::string::npos);

  // Retry with another file chosen in the dialog loads that one.
  TKBitmap pic = Pattern(3, 2, 5);
  const std::string good = dir.File("good.bmp");
  ASSERT_TRUE(SaveToFile(pic, good));
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, good});
  TKBitmap c;
  EXPECT_TRUE(LoadFromFile(c, missing, 7, 5) && SamePixels(c, pic) &&
              headless.fileErrors.size() == 2u);
}

TEST_F(PictureFiles, ExtensionsChooseTheReaderWithoutRegardToCase) {
  TKBitmap pic = Pattern(6, 4, 9);
  test::WriteAll(dir.File("a.bMp"), EncodeBmp(pic));
  std::vector<uint8_t> ppm = Bytes("P6 6 4 255\n");
  ppm.resize(ppm.size() + 6 * 4 * 3, 9);
  test::WriteAll(dir.File("b.Ppm"), ppm);
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(pic, 90, jpeg));
  test::WriteAll(dir.File("c.JpEg"), jpeg);
  test::WriteAll(dir.File("d.jpg"), jpeg);
  for (const char* name : {"a.bMp", "b.Ppm", "c.JpEg", "d.jpg"}) {
    TKBitmap b;
    b.font.height = 17;
    // Only the BMP's pixels (the readers have their own tests); loading keeps the bitmap's font.
    EXPECT_TRUE(LoadFromFile(b, dir.File(name), 1, 1) && b.Width() == 6 &&
                (name[0] != 'a' || SamePixels(b, pic)) && b.font.height == 17)
        << name;
  }
  EXPECT_TRUE(headless.fileErrors.empty());

  // Another extension, or a damaged file: the reader's message in the file error dialog.
  std::vector<uint8_t> cut = EncodeBmp(pic);
  cut.resize(cut.size() - 7);
  test::WriteAll(dir.File("cut.bmp"), cut);
  test::WriteAll(dir.File("e.png"), EncodeBmp(pic));
  const std::pair<const char*, const char*> refused[] = {
      {"e.png", "Unsupported picture format: .png"}, {"cut.bmp", "BMP pixel data is truncated"}};
  for (auto [name, message] : refused) {
    TKBitmap b;
    EXPECT_FALSE(LoadFromFile(b, dir.File(name), 4, 3));
    ASSERT_FALSE(headless.fileErrors.empty());
    EXPECT_EQ(headless.fileErrors.back().caption, "File Error");
    EXPECT_EQ(headless.fileErrors.back().text.rfind(message, 0), 0u) << name;
    EXPECT_EQ(b.Width(), 4);
  }
}

TEST_F(PictureFiles, SavingAsksForJpegQualityAndCancelWritesNothing) {
  TKBitmap pic = Pattern(8, 8, 3);
  const std::string cancelled = dir.File("x.jpg");
  // The headless number dialog cancels.
  EXPECT_TRUE(!SaveToFile(pic, cancelled) && !FileExists(cancelled));
  ASSERT_EQ(headless.log.size(), 1u);
  EXPECT_EQ(headless.log[0], "number: JPEG Quality [90]");

  headless.numberAnswers.push_back(40);
  const std::string low = dir.File("low.JPEG");
  ASSERT_TRUE(SaveToFile(pic, low));
  headless.numberAnswers.push_back(100);
  const std::string high = dir.File("high.jpeg");
  ASSERT_TRUE(SaveToFile(pic, high));
  const std::vector<uint8_t> lowBytes = test::ReadAll(low), highBytes = test::ReadAll(high);
  ASSERT_GT(lowBytes.size(), 2u);
  // The quality reached the encoder.
  EXPECT_TRUE(lowBytes[0] == 0xFF && lowBytes.size() < highBytes.size());

  // Any other name is written as a BMP.
  ASSERT_TRUE(SaveToFile(pic, dir.File("y.dat")));
  EXPECT_TRUE(test::ReadAll(dir.File("y.dat")) == EncodeBmp(pic) && headless.fileErrors.empty());

  // A folder that does not exist: the file error dialog, then false when given up.
  EXPECT_FALSE(SaveToFile(pic, dir.File("no/such/folder.bmp")));
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  EXPECT_EQ(headless.fileErrors[0].caption, "IO Error");
}

}  // namespace
}  // namespace kelvra
