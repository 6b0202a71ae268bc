// Fuzz target of the JPEG reader (libjpeg behind our error manager): any bytes are decoded;
// a refusal must carry a message and leave no picture, and a small decoded picture must
// encode and decode again at its size.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/KBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  TKBitmap b;
  std::string error;
  if (!DecodeJpeg(data, size, b, error)) {
    if (error.empty() || !b.Empty()) std::abort();
    return 0;
  }
  if (b.Width() > kMaxBitmapWidth || b.Height() > kMaxBitmapHeight) std::abort();
  if (b.Empty() || b.Width() * b.Height() > 64 * 64) return 0;
  std::vector<uint8_t> file;
  TKBitmap back;
  if (!EncodeJpeg(b, 75, file) || !DecodeJpeg(file.data(), file.size(), back, error)) std::abort();
  if (back.Width() != b.Width() || back.Height() != b.Height()) std::abort();
  return 0;
}
