// The state digest: a 64-bit hash fed field by field with little-endian values, so that it
// never sees padding and is the same on every machine. It hashes that byte stream one of
// two ways: FNV-1a byte by byte (the golden digests), or eight bytes at a time (the
// checkpoints of a replay, where speed matters and no stored digest must stay).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvra {

class TDigest {
 public:
  static constexpr uint64_t kOffsetBasis = 14695981039346656037ull;
  static constexpr uint64_t kPrime = 1099511628211ull;
  // The word hash: the stream in 8-byte little-endian words (the last one padded with
  // zeros), word i going to lane i % 4 of four, each lane starting at
  // kOffsetBasis + j and taking w as lane = rotl(lane ^ (w * kWordK1), 31) * kWordK2; the
  // value is the four lanes taken the same way from kOffsetBasis, mixed with the stream's
  // length (Value). Four lanes let the multiplications overlap.
  static constexpr uint64_t kWordK1 = 0x9E3779B97F4A7C15ull;
  static constexpr uint64_t kWordK2 = 0xBF58476D1CE4E5B9ull;

  enum Mode : uint8_t {
    kFnvBytes,  // 64-bit FNV-1a of every byte
    kWords,     // the word hash above: about ten times faster on a big state
  };

  TDigest() = default;
  explicit TDigest(Mode mode) : words_(mode == kWords) {}

  void Byte(uint8_t b) { Put(b, 1); }
  void Bytes(const void* data, size_t size);  // raw bytes: only for byte arrays
  void U8(uint8_t v) { Put(v, 1); }
  void U16(uint16_t v) { Put(v, 2); }
  void U32(uint32_t v) { Put(v, 4); }
  void I32(int32_t v) { Put(uint32_t(v), 4); }

  uint64_t Value() const;

 private:
  static uint64_t MixWord(uint64_t h, uint64_t w) {
    h ^= w * kWordK1;
    return ((h << 31) | (h >> 33)) * kWordK2;
  }
  // `bytes` (1..4) low bytes of v, the lowest first.
  void Put(uint64_t v, int bytes) {
    if (!words_) {
      for (int i = 0; i < bytes; ++i) {
        hash_ ^= uint8_t(v >> (8 * i));
        hash_ *= kPrime;
      }
      return;
    }
    word_ |= v << fill_;  // bits beyond 64 are carried into the next word below
    const int fill = fill_ + 8 * bytes;
    if (fill < 64) {
      fill_ = fill;
      return;
    }
    uint64_t& lane = lane_[words_count_++ & 3];
    lane = MixWord(lane, word_);
    fill_ = fill - 64;
    word_ = fill_ ? v >> (8 * bytes - fill_) : 0;
  }

  uint64_t hash_ = kOffsetBasis;
  bool words_ = false;
  // Word mode only:
  int fill_ = 0;              // bits of word_ in use, 0..63
  uint64_t word_ = 0;         // the word being gathered
  uint64_t words_count_ = 0;  // whole words hashed
  uint64_t lane_[4] = {kOffsetBasis, kOffsetBasis + 1, kOffsetBasis + 2, kOffsetBasis + 3};
};

// Sixteen lower-case hexadecimal digits.
std::string DigestHex(uint64_t value);

}  // namespace kelvra
