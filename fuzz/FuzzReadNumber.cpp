// Fuzz target of the number reader: any text is read as a typed number within limits taken
// from the input, and as a duration; results must stay within the limits, never crash.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/ReadNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  // The first eight bytes, when there are that many, choose the limits; the rest is text.
  int32_t min = -1000, max = 1000;
  if (size >= 8) {
    std::memcpy(&min, data, 4);
    std::memcpy(&max, data + 4, 4);
    data += 8;
    size -= 8;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t def = min;
  TReadNumberResult r = ReadNumber(text, min, max, def);
  if (r.error.empty()) {
    const bool keyword = text.size() == 3;
    if (!keyword && (r.value < min || r.value > max)) std::abort();
  } else if (r.value != def) {
    std::abort();
  }
  double value = 0;
  if (EvaluateFormula(text, value).empty() && value != value) std::abort();  // a NaN

  uint32_t ms = 0;
  if (ReadTime(text, ms)) {
    uint32_t back = 0;
    if (!ReadTime(TimeText(ms), back) || back != ms) std::abort();
  }
  return 0;
}
