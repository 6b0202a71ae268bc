// A small PNG writer: 8-bit RGB or RGBA, every row unfiltered, the zlib stream one deflate
// block with the fixed Huffman codes and a plain hash-chain search for repeats (large flat
// areas shrink well: play fields, the contact sheet), with the CRC-32 of each chunk and the
// Adler-32 of the stream. The program links no zlib; this is all it needs of one.
#include <algorithm>
#include <array>

#include "media/KBitmap.h"

namespace kelvra {

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t x : data) {
    a = (a + x) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
  PutBE32(png, uint32_t(body.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), body.begin(), body.end());
  PutBE32(png, Crc32(png.data() + start, png.size() - start));
}

// Bits go out least significant first; Huffman codes are sent most significant bit first.
struct TBitWriter {
  std::vector<uint8_t>& out;
  uint32_t acc = 0;
  int count = 0;
  void Put(uint32_t bits, int n) {
    acc |= bits << count;
    count += n;
    while (count >= 8) {
      out.push_back(uint8_t(acc));
      acc >>= 8;
      count -= 8;
    }
  }
  void PutCode(uint32_t code, int n) {
    uint32_t r = 0;
    for (int i = 0; i < n; ++i) r |= ((code >> i) & 1) << (n - 1 - i);
    Put(r, n);
  }
  void Flush() {
    if (count > 0) out.push_back(uint8_t(acc));
    acc = 0;
    count = 0;
  }
};

void PutLiteral(TBitWriter& w, int v) {  // the fixed literal/length code of v (0..287)
  if (v < 144)
    w.PutCode(0x30 + v, 8);
  else if (v < 256)
    w.PutCode(0x190 + v - 144, 9);
  else if (v < 280)
    w.PutCode(v - 256, 7);
  else
    w.PutCode(0xC0 + v - 280, 8);
}

const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                           33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                           1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(TBitWriter& w, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  PutLiteral(w, 257 + l);
  w.Put(uint32_t(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistBase[d] > distance) --d;
  w.PutCode(uint32_t(d), 5);
  w.Put(uint32_t(distance - kDistBase[d]), kDistExtra[d]);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& in) {
  constexpr int kWindow = 32768, kMaxLength = 258, kTries = 48, kHashBits = 15;
  std::vector<uint8_t> out;
  TBitWriter w{out};
  w.Put(1, 1);  // BFINAL
  w.Put(1, 2);  // BTYPE 01: fixed Huffman codes
  std::vector<int> head(1 << kHashBits, -1), prev(in.size(), -1);
  const auto hash = [&](size_t i) {
    return ((uint32_t(in[i]) << 10) ^ (uint32_t(in[i + 1]) << 5) ^ in[i + 2]) &
           ((1u << kHashBits) - 1);
  };
  const auto insert = [&](size_t i) {
    if (i + 2 >= in.size()) return;
    const uint32_t h = hash(i);
    prev[i] = head[h];
    head[h] = int(i);
  };
  size_t i = 0;
  while (i < in.size()) {
    int bestLength = 0, bestDistance = 0;
    if (i + 2 < in.size()) {
      const size_t limit = std::min<size_t>(kMaxLength, in.size() - i);
      int candidate = head[hash(i)];
      for (int t = 0; t < kTries && candidate >= 0 && int(i) - candidate <= kWindow; ++t) {
        size_t n = 0;
        while (n < limit && in[candidate + n] == in[i + n]) ++n;
        if (int(n) > bestLength) {
          bestLength = int(n);
          bestDistance = int(i) - candidate;
          if (n == limit) break;
        }
        candidate = prev[candidate];
      }
    }
    if (bestLength >= 3) {
      PutMatch(w, bestLength, bestDistance);
      for (int k = 0; k < bestLength; ++k) insert(i + k);
      i += bestLength;
    } else {
      PutLiteral(w, in[i]);
      insert(i);
      ++i;
    }
  }
  PutLiteral(w, 256);  // end of block
  w.Flush();
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const uint8_t* pixels, int width, int height, bool alpha) {
  const int channels = alpha ? 4 : 3;
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBE32(header, uint32_t(width));
  PutBE32(header, uint32_t(height));
  // 8 bits, RGBA (6) or RGB (2), deflate, filters, no interlace
  header.insert(header.end(), {8, uint8_t(alpha ? 6 : 2), 0, 0, 0});
  Chunk(png, "IHDR", header);

  const size_t rowBytes = size_t(width) * channels;
  std::vector<uint8_t> raw;
  raw.reserve(size_t(height) * (rowBytes + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), pixels + size_t(y) * rowBytes, pixels + size_t(y + 1) * rowBytes);
  }
  std::vector<uint8_t> z = {0x78, 0x01};  // deflate, 32 KiB window
  const std::vector<uint8_t> packed = Deflate(raw);
  z.insert(z.end(), packed.begin(), packed.end());
  PutBE32(z, Adler32(raw));
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  return png;
}

std::vector<uint8_t> EncodePng(const TKBitmap& b) {
  std::vector<uint8_t> rgb(size_t(b.Width()) * b.Height() * 3);
  uint8_t* to = rgb.data();
  for (int y = 0; y < b.Height(); ++y) {  // top down, BGR to RGB
    const uint8_t* from = b.Row(y);
    for (int x = 0; x < b.Width(); ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return EncodePng(rgb.data(), b.Width(), b.Height(), false);
}

}  // namespace kelvra
