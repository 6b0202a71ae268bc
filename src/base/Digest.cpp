// The FNV-1a digest and its hexadecimal form.
#include "base/Digest.h"

namespace kelvra {

void TDigest::Bytes(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) Byte(p[i]);
}

std::string DigestHex(uint64_t value) {
  static const char kHex[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) s[size_t(i)] = kHex[value & 15];
  return s;
}

}  // namespace kelvra
