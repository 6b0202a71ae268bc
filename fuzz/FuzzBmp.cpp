// Fuzz target of the BMP reader: any bytes are decoded; a refusal must carry a message and
// leave no picture, and a picture that decodes must survive writing and reading back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/KBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  TKBitmap b;
  std::string error;
  if (!DecodeBmp(data, size, b, error)) {
    if (error.empty() || !b.Empty()) std::abort();
    return 0;
  }
  if (b.Width() > kMaxBitmapWidth || b.Height() > kMaxBitmapHeight) std::abort();
  const std::vector<uint8_t> file = EncodeBmp(b);
  TKBitmap back;
  if (!DecodeBmp(file.data(), file.size(), back, error)) std::abort();
  if (back.Width() != b.Width() || back.Height() != b.Height()) std::abort();
  for (int y = 0; y < b.Height(); ++y)
    if (std::memcmp(b.Row(y), back.Row(y), size_t(b.Width()) * 3) != 0) std::abort();
  return 0;
}
