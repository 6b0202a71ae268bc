// Fuzz target of the binary PPM reader: any bytes are decoded; a refusal must carry a
// message and leave no picture, and a decoded picture must lie within the size limits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/KBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  TKBitmap b;
  std::string error;
  if (!DecodePpm(data, size, b, error)) {
    if (error.empty() || !b.Empty()) std::abort();
    return 0;
  }
  // Three samples of at least one byte per pixel must have been in the data.
  if (b.Empty() || uint64_t(b.Width()) * uint64_t(b.Height()) * 3 > size) std::abort();
  return 0;
}
