// Picture files of the bitmap: BMP reading (1 to 32 bits, RLE4/RLE8) and writing (24 bits),
// binary PPM reading, JPEG through libjpeg, and the load and save routines with retry.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>  // needs <cstdio> first

#include <jerror.h>  // after jpeglib.h

#include <algorithm>
#include <cctype>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "media/KBitmap.h"
#include "platform/Services.h"

namespace kelvra {

namespace {

constexpr int64_t kMaxPictureFile = int64_t(1) << 30;  // bytes; far beyond any picture here
// Highly compressed formats may describe a larger picture than their size suggests, but
// only so much: at most this many pixels per byte of compressed data (RLE runs give 255
// pixels for 2 bytes), and always at least kSmallPicture pixels (12 MiB of bitmap).
constexpr uint64_t kPixelsPerCompressedByte = 256;
constexpr uint64_t kSmallPicture = uint64_t(1) << 22;

uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string SizeText(uint64_t w, uint64_t h) {
  return std::to_string(w) + " x " + std::to_string(h);
}

std::string TooLarge(uint64_t w, uint64_t h) {
  return "Picture too large: " + SizeText(w, h) + " pixels (at most " +
         SizeText(kMaxBitmapWidth, kMaxBitmapHeight) + ")";
}

bool Fail(TKBitmap& out, std::string& error, const std::string& message) {
  out.SetSize(0, 0);
  error = message;
  return false;
}

bool CompressedFits(uint64_t w, uint64_t h, uint64_t bytes) {
  return w * h <= std::max(bytes * kPixelsPerCompressedByte, kSmallPicture);
}

// ---------------------------------------------------------------------------------------
// BMP

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

// One colour channel of a 16- or 32-bit pixel, found by its mask.
struct MaskChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  bool Set(uint32_t m) {
    mask = m;
    shift = bits = 0;
    if (m == 0) return true;  // channel absent: reads as 0
    while (!(m & 1)) m >>= 1, ++shift;
    while (m & 1) m >>= 1, ++bits;
    return m == 0;  // the mask's bits must be contiguous
  }
  uint8_t Get(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return uint8_t(v >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

struct BmpInfo {
  int64_t width = 0, height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  size_t paletteEntry = 4;        // bytes per palette entry (3 in the old core header)
  size_t headerEnd = 0;           // offset after the info header (and its masks)
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
};

bool ReadBmpHeader(const uint8_t* data, size_t size, BmpInfo& info, std::string& error) {
  if (size < 14 + 12) return error = "File too short for a BMP picture", false;
  if (data[0] != 'B' || data[1] != 'M') return error = "Is not a BMP picture", false;
  const uint32_t headerSize = U32(data + 14);
  const uint8_t* h = data + 14;
  if (headerSize == 12) {  // the old core header: 16-bit sizes, no compression
    info.width = U16(h + 4);
    info.height = U16(h + 6);
    info.bits = U16(h + 10);
    info.paletteEntry = 3;
  } else if (headerSize >= 40 && headerSize <= 124) {
    if (14 + size_t(headerSize) > size)
      return error = "BMP header extends past the end of the file", false;
    info.width = int32_t(U32(h + 4));
    info.height = int32_t(U32(h + 8));
    info.bits = U16(h + 14);
    info.compression = U32(h + 16);
    info.sizeImage = U32(h + 20);
    info.colorsUsed = U32(h + 32);
  } else {
    return error = "Unsupported BMP header size " + std::to_string(headerSize), false;
  }
  info.headerEnd = 14 + size_t(headerSize);
  if (info.height < 0) {
    info.topDown = true;
    info.height = -info.height;
  }
  if (info.width <= 0 || info.height == 0)
    return error = "BMP picture has no pixels (" +
                   SizeText(std::max<int64_t>(info.width, 0), info.height) + ")",
           false;
  if (info.width > kMaxBitmapWidth || info.height > kMaxBitmapHeight)
    return error = TooLarge(info.width, info.height), false;
  const int b = info.bits;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
    return error = "Unsupported BMP bit count " + std::to_string(b), false;

  switch (info.compression) {
    case kBiRgb:
      if (b == 16) info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
      if (b == 32) info.masks[0] = 0xFF0000, info.masks[1] = 0xFF00, info.masks[2] = 0xFF;
      break;
    case kBiRle8:
    case kBiRle4:
      if (b != (info.compression == kBiRle8 ? 8 : 4))
        return error = "BMP compression does not match its bit count " + std::to_string(b), false;
      if (info.topDown) return error = "A compressed BMP picture cannot be top-down", false;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (b != 16 && b != 32)
        return error = "BMP colour masks need 16 or 32 bits, not " + std::to_string(b), false;
      if (headerSize >= 52) {  // the masks are part of the V2 to V5 headers
        for (int i = 0; i < 3; ++i) info.masks[i] = U32(h + 40 + 4 * i);
      } else {  // they follow the 40-byte header
        const size_t n = info.compression == kBiBitfields ? 12 : 16;
        if (info.headerEnd + n > size)
          return error = "BMP colour masks extend past the end of the file", false;
        for (int i = 0; i < 3; ++i) info.masks[i] = U32(data + info.headerEnd + 4 * i);
        info.headerEnd += n;
      }
      break;
    default:
      return error = "Unsupported BMP compression " + std::to_string(info.compression), false;
  }
  return true;
}

struct RleState {
  TKBitmap& out;
  const uint8_t (*palette)[3];
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  void Put(int index) {
    if (x < out.Width() && y < out.Height())
      std::memcpy(out.Row(int(out.Height() - 1 - y)) + 3 * x, palette[index], 3);
    ++x;
  }
};

// Decodes RLE8 or RLE4 data; false when the data ends before the end-of-picture mark and
// before the last row.
bool DecodeRle(const uint8_t* p, const uint8_t* end, bool rle8, RleState& s) {
  const int64_t height = s.out.Height();
  while (s.y < height) {
    if (end - p < 2) return false;
    const int count = p[0], value = p[1];
    p += 2;
    if (count > 0) {  // a run of one index (RLE4: two alternating indices)
      for (int i = 0; i < count; ++i) s.Put(rle8 ? value : (i & 1) ? value & 15 : value >> 4);
      continue;
    }
    if (value == 0) {  // end of line
      s.x = 0;
      ++s.y;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      if (end - p < 2) return false;
      s.x += p[0];
      s.y += p[1];
      p += 2;
    } else {  // `value` literal indices, padded to a 16-bit boundary
      const int64_t bytes = rle8 ? value : (value + 1) / 2;
      if (end - p < bytes) return false;
      for (int i = 0; i < value; ++i) s.Put(rle8 ? p[i] : (i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4);
      p += std::min<int64_t>(bytes + (bytes & 1), end - p);
    }
  }
  return true;  // every row has been reached
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, TKBitmap& out, std::string& error) {
  error.clear();
  BmpInfo info;
  if (!ReadBmpHeader(data, size, info, error)) return Fail(out, error, error);
  const int64_t w = info.width, h = info.height;
  const int bits = info.bits;

  uint8_t palette[256][3] = {};  // blue, green, red; indices past the palette read black
  size_t pos = info.headerEnd;
  if (bits <= 8) {
    const uint64_t colours = info.colorsUsed ? info.colorsUsed : 1u << bits;
    if (colours > 256)
      return Fail(out, error, "Invalid BMP palette size " + std::to_string(colours));
    if (pos + colours * info.paletteEntry > size)
      return Fail(out, error, "BMP palette extends past the end of the file");
    for (uint64_t i = 0; i < colours; ++i)
      std::memcpy(palette[i], data + pos + i * info.paletteEntry, 3);
    pos += colours * info.paletteEntry;
  }
  const uint32_t offBits = U32(data + 10);
  if (offBits < info.headerEnd || offBits > size)
    return Fail(out, error, "Invalid BMP pixel data offset " + std::to_string(offBits));
  const uint8_t* pixels = data + offBits;
  const uint64_t available = size - offBits;

  if (info.compression == kBiRle8 || info.compression == kBiRle4) {
    uint64_t bytes = available;
    if (info.sizeImage != 0 && info.sizeImage < bytes) bytes = info.sizeImage;
    if (!CompressedFits(w, h, bytes))
      return Fail(out, error, "BMP compressed data too short for " + SizeText(w, h) + " pixels");
    out.SetSize(int(w), int(h));
    std::memset(out.Bits(), 0, size_t(out.Stride()) * out.Height());
    RleState state{out, palette};
    if (!DecodeRle(pixels, pixels + bytes, info.compression == kBiRle8, state))
      return Fail(out, error, "BMP compressed data is truncated");
    return true;
  }

  const uint64_t rowBytes = (uint64_t(w) * bits + 7) / 8;
  const uint64_t fileStride = (uint64_t(w) * bits + 31) / 32 * 4;
  if (available < fileStride * (h - 1) + rowBytes)
    return Fail(out, error,
                "BMP pixel data is truncated (file too short for " + SizeText(w, h) + " pixels)");
  MaskChannel red, green, blue;
  if (bits == 16 || bits == 32) {
    if (!red.Set(info.masks[0]) || !green.Set(info.masks[1]) || !blue.Set(info.masks[2]))
      return Fail(out, error, "Invalid BMP colour masks");
  }

  out.SetSize(int(w), int(h));
  for (int64_t r = 0; r < h; ++r) {
    const uint8_t* s = pixels + r * fileStride;
    uint8_t* d = out.Row(int(info.topDown ? r : h - 1 - r));
    switch (bits) {
      case 24:
        std::memcpy(d, s, size_t(w) * 3);
        break;
      case 32:
        if (info.compression == kBiRgb) {
          for (int64_t x = 0; x < w; ++x) std::memcpy(d + 3 * x, s + 4 * x, 3);
          break;
        }
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t v = U32(s + 4 * x);
          d[3 * x] = blue.Get(v), d[3 * x + 1] = green.Get(v), d[3 * x + 2] = red.Get(v);
        }
        break;
      case 16:
        for (int64_t x = 0; x < w; ++x) {
          const uint32_t v = U16(s + 2 * x);
          d[3 * x] = blue.Get(v), d[3 * x + 1] = green.Get(v), d[3 * x + 2] = red.Get(v);
        }
        break;
      default: {  // 1, 4 or 8 bits of palette index, high bits first
        const int perByte = 8 / bits, mask = (1 << bits) - 1;
        for (int64_t x = 0; x < w; ++x) {
          const int shift = 8 - bits * int(x % perByte + 1);
          std::memcpy(d + 3 * x, palette[(s[x / perByte] >> shift) & mask], 3);
        }
      }
    }
  }
  return true;
}

std::vector<uint8_t> EncodeBmp(const TKBitmap& b) {
  const uint32_t stride = uint32_t(b.Stride()), h = uint32_t(b.Height());
  const uint32_t imageSize = stride * h;
  std::vector<uint8_t> file(54 + size_t(imageSize), 0);
  uint8_t* p = file.data();
  auto put16 = [&](size_t at, uint32_t v) { p[at] = uint8_t(v), p[at + 1] = uint8_t(v >> 8); };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
  p[0] = 'B';
  p[1] = 'M';
  put32(2, 54 + imageSize);
  put32(10, 54);  // pixel data offset
  put32(14, 40);  // BITMAPINFOHEADER
  put32(18, uint32_t(b.Width()));
  put32(22, h);   // positive: bottom-up, the bitmap's own row order
  put16(26, 1);   // planes
  put16(28, 24);  // bits per pixel
  put32(34, imageSize);
  put32(38, 2835);  // 72 dots per inch, in dots per metre
  put32(42, 2835);
  // Rows are copied as they are stored; the padding bytes are written as zero.
  const size_t used = size_t(b.Width()) * 3;
  for (uint32_t r = 0; r < h; ++r)
    std::memcpy(p + 54 + size_t(r) * stride, b.Bits() + size_t(r) * stride, used);
  return file;
}

// ---------------------------------------------------------------------------------------
// PPM

bool DecodePpm(const uint8_t* data, size_t size, TKBitmap& out, std::string& error) {
  error.clear();
  if (size < 2 || data[0] != 'P' || data[1] != '6')
    return Fail(out, error, "Is not a binary PPM picture (P6)");
  size_t pos = 2;
  // Reads one decimal field after at least one blank or comment; false when malformed.
  auto field = [&](uint64_t& value) {
    bool separated = false;
    while (pos < size) {
      const uint8_t c = data[pos];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
        ++pos;
      } else if (c == '#') {
        while (pos < size && data[pos] != '\n' && data[pos] != '\r') ++pos;
      } else {
        break;
      }
      separated = true;
    }
    if (!separated || pos >= size || data[pos] < '0' || data[pos] > '9') return false;
    value = 0;
    while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
      value = std::min<uint64_t>(value * 10 + (data[pos] - '0'), uint64_t(1) << 40);
      ++pos;
    }
    return true;
  };
  uint64_t w = 0, h = 0, maxval = 0;
  if (!field(w) || !field(h) || !field(maxval))
    return Fail(out, error, "PPM header is damaged or incomplete");
  // Exactly one blank separates the header from the samples.
  if (pos >= size ||
      !(data[pos] == ' ' || data[pos] == '\t' || data[pos] == '\n' || data[pos] == '\r'))
    return Fail(out, error, "PPM header is damaged or incomplete");
  ++pos;
  if (w == 0 || h == 0)
    return Fail(out, error, "PPM picture has no pixels (" + SizeText(w, h) + ")");
  if (w > kMaxBitmapWidth || h > kMaxBitmapHeight) return Fail(out, error, TooLarge(w, h));
  if (maxval == 0 || maxval > 65535)
    return Fail(out, error, "Invalid PPM maximum sample value " + std::to_string(maxval));
  const uint64_t sampleBytes = maxval < 256 ? 1 : 2;
  if (size - pos < w * h * 3 * sampleBytes)
    return Fail(out, error,
                "PPM pixel data is truncated (file too short for " + SizeText(w, h) + " pixels)");

  // Samples are scaled from 0..maxval to 0..255 (rounded); values above maxval count as it.
  auto scale = [maxval](uint64_t v) {
    return uint8_t((std::min(v, maxval) * 255 + maxval / 2) / maxval);
  };
  uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = scale(v);
  out.SetSize(int(w), int(h));
  const uint8_t* s = data + pos;
  for (uint64_t y = 0; y < h; ++y) {
    uint8_t* d = out.Row(int(y));
    for (uint64_t x = 0; x < w; ++x, d += 3) {
      for (int c = 2; c >= 0; --c) {  // red, green, blue into blue, green, red
        if (sampleBytes == 1) {
          d[c] = table[*s++];
        } else {
          d[c] = scale(uint64_t(s[0]) << 8 | s[1]);
          s += 2;
        }
      }
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// JPEG through libjpeg. Its errors must never reach the default handler, which ends the
// process: they jump back here. The jumping functions keep no C++ objects alive.

namespace {

constexpr long kJpegMemory = 512L << 20;  // bytes libjpeg may use for its own buffers
constexpr int kJpegMaxScans = 500;        // bounds the work of a malicious progressive file

struct JpegError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  cinfo->err->format_message(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings: a file that ends early is refused rather than shown half grey; others are
// survivable damage and only counted.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
  cinfo->err->num_warnings++;
}

void JpegProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kJpegMaxScans) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "Too many scans (over %d)", kJpegMaxScans);
    std::longjmp(err->jump, 1);
  }
}

void InstallJpegErrors(JpegError& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  err.pub.emit_message = JpegEmitMessage;
  err.pub.output_message = [](j_common_ptr) {};  // nothing is printed
  err.message[0] = 0;
}

// Fills `out`; false with `message` set (then `out` may hold a partial picture).
bool JpegDecode(const uint8_t* data, size_t size, TKBitmap& out, char* message, size_t cap) {
  jpeg_decompress_struct cinfo;
  JpegError err;
  jpeg_progress_mgr progress;
  InstallJpegErrors(err);
  progress.progress_monitor = JpegProgress;
  cinfo.err = &err.pub;
  if (setjmp(err.jump)) {
    std::snprintf(message, cap, "Damaged JPEG picture: %s", err.message);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kJpegMemory;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const uint64_t w = cinfo.image_width, h = cinfo.image_height;
  const char* refusal = nullptr;
  char text[160];
  if (w > uint64_t(kMaxBitmapWidth) || h > uint64_t(kMaxBitmapHeight)) {
    std::snprintf(text, sizeof text, "%s", TooLarge(w, h).c_str());
    refusal = text;
  } else if (!CompressedFits(w, h, size)) {
    std::snprintf(text, sizeof text, "JPEG data too short for %s pixels", SizeText(w, h).c_str());
    refusal = text;
  } else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    refusal = "CMYK JPEG pictures are not supported";
  }
  if (refusal) {
    std::snprintf(message, cap, "%s", refusal);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  out.SetSize(int(cinfo.output_width), int(cinfo.output_height));
  JSAMPARRAY line = grey ? cinfo.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&cinfo),
                                                   JPOOL_IMAGE, cinfo.output_width, 1)
                         : nullptr;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = int(cinfo.output_scanline);
    JSAMPROW row = grey ? line[0] : out.Row(y);
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
      std::snprintf(message, cap, "Damaged JPEG picture: no more rows");
      jpeg_destroy_decompress(&cinfo);
      return false;
    }
    if (grey) {
      uint8_t* d = out.Row(y);
      for (unsigned x = 0; x < cinfo.output_width; ++x)
        d[3 * x] = d[3 * x + 1] = d[3 * x + 2] = row[x];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// `*buffer` is malloc'ed by libjpeg; the caller frees it, also after a failure.
bool JpegEncode(const TKBitmap& b, int quality, unsigned char** buffer, unsigned long* size) {
  jpeg_compress_struct cinfo;
  JpegError err;
  InstallJpegErrors(err);
  cinfo.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = JDIMENSION(b.Width());
  cinfo.image_height = JDIMENSION(b.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(b.Row(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, TKBitmap& out, std::string& error) {
  error.clear();
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
    return Fail(out, error, "Is not a JPEG picture");
  char message[JMSG_LENGTH_MAX + 64];
  if (!JpegDecode(data, size, out, message, sizeof message)) return Fail(out, error, message);
  return true;
}

bool EncodeJpeg(const TKBitmap& b, int quality, std::vector<uint8_t>& out) {
  out.clear();
  if (b.Empty()) return false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = JpegEncode(b, std::clamp(quality, 1, 100), &buffer, &size);
  if (ok) out.assign(buffer, buffer + size);
  std::free(buffer);
  return ok;
}

// ---------------------------------------------------------------------------------------
// Load and save with the file error dialog

namespace {

enum class Format { Bmp, Jpeg, Ppm, Other };

Format FormatOf(const std::string& fileName) {
  std::string ext = ExtractFileExt(fileName);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (ext == "BMP") return Format::Bmp;
  if (ext == "JPG" || ext == "JPEG") return Format::Jpeg;
  if (ext == "PPM") return Format::Ppm;
  return Format::Other;
}

}  // namespace

bool LoadFromFile(TKBitmap& b, const std::string& fileName, int fallbackWidth, int fallbackHeight,
                  FileOwner owner) {
  std::string name = fileName;
  for (;;) {
    const Format format = FormatOf(name);
    if (format == Format::Other) {
      const std::string ext = ExtractFileExt(name);
      if (FileErrorRetry(name,
                         "Unsupported picture format: " +
                             (ext.empty() ? std::string("no extension") : "." + ext),
                         owner))
        continue;
      break;
    }
    FileReader reader;
    if (!reader.Open(name)) {
      if (IOErrorRetry(name, reader.fault().code, owner)) continue;
      break;
    }
    if (reader.Size() > kMaxPictureFile) {
      if (FileErrorRetry(name, "Picture file too large (over 1 GiB)", owner)) continue;
      break;
    }
    std::vector<uint8_t> data(size_t(reader.Size()));
    if (!reader.Read(data.data(), data.size())) {
      if (RetryFault(name, reader.fault(), owner)) continue;
      break;
    }
    reader.Close();
    TKBitmap picture;
    std::string error;
    bool ok = false;
    switch (format) {
      case Format::Bmp:
        ok = DecodeBmp(data.data(), data.size(), picture, error);
        break;
      case Format::Jpeg:
        ok = DecodeJpeg(data.data(), data.size(), picture, error);
        break;
      default:
        ok = DecodePpm(data.data(), data.size(), picture, error);
        break;
    }
    if (!ok) {
      if (FileErrorRetry(name, error, owner)) continue;
      break;
    }
    picture.font = b.font;  // the font belongs to the bitmap, not to the picture
    b = std::move(picture);
    return true;
  }
  b.SetSize(fallbackWidth, fallbackHeight);
  return false;
}

bool SaveToFile(const TKBitmap& b, const std::string& fileName) {
  std::string name = fileName;
  std::vector<uint8_t> data;
  if (FormatOf(name) == Format::Jpeg) {
    int32_t quality = 90;
    if (!Platform().NumberDialog("JPEG Quality", quality, 1, 100, 90)) return false;
    if (!EncodeJpeg(b, std::clamp<int32_t>(quality, 1, 100), data)) {
      FileError(name, b.Empty() ? "An empty picture cannot be saved as JPEG"
                                : "The picture could not be encoded as JPEG");
      return false;
    }
  } else {
    data = EncodeBmp(b);
  }
  for (;;) {
    AtomicFileWriter writer;
    writer.Write(data.data(), data.size());
    FileFault fault;
    if (writer.Commit(name, fault)) return true;
    if (!RetryFault(name, fault)) return false;
  }
}

}  // namespace kelvra
