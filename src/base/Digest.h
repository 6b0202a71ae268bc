// The state digest: a 64-bit FNV-1a hash fed field by field with little-endian values, so
// that it never sees padding and is the same on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvra {

class TDigest {
 public:
  static constexpr uint64_t kOffsetBasis = 14695981039346656037ull;
  static constexpr uint64_t kPrime = 1099511628211ull;

  void Byte(uint8_t b) {
    hash_ ^= b;
    hash_ *= kPrime;
  }
  void Bytes(const void* data, size_t size);  // raw bytes: only for byte arrays
  void U8(uint8_t v) { Byte(v); }
  void U16(uint16_t v) { Unsigned(v, 2); }
  void U32(uint32_t v) { Unsigned(v, 4); }
  void I32(int32_t v) { U32(uint32_t(v)); }

  uint64_t Value() const { return hash_; }

 private:
  void Unsigned(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) Byte(uint8_t(v >> (8 * i)));
  }
  uint64_t hash_ = kOffsetBasis;
};

// Sixteen lower-case hexadecimal digits.
std::string DigestHex(uint64_t value);

}  // namespace kelvra
