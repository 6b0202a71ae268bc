// The state digest: a 64-bit hash fed field by field with little-endian values, so that it
// never sees padding and is the same on every machine. It hashes that byte stream one of
// two ways: FNV-1a byte by byte (the golden digests), or eight bytes at a time (the
// checkpoints of a replay, where speed matters and no stored digest must stay). The
// checkpoints of newer replays also leave out the free entries of the state's tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

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
    kFnvBytes,   // 64-bit FNV-1a of every byte
    kWords,      // the word hash above: about ten times faster on a big state
    kLiveWords,  // the word hash of the live entries of the tables only (LiveOnly)
  };

  TDigest() = default;
  explicit TDigest(Mode mode) : words_(mode != kFnvBytes), live_(mode == kLiveWords) {}

  // Whether a table's free entries (a dead wall, an unused particle) are left out: those
  // who feed the digest then feed each live entry's index before its fields, and nothing
  // of a free one. Whatever a free entry still holds is overwritten before it is used
  // again, so leaving it out hides no difference that could change the game.
  bool LiveOnly() const { return live_; }
  // Feeds every field of n entries of a record of 32-bit fields alone, in memory order: the
  // same as I32 of each field, but a block at a time.
  template <class T>
  void Plain32(const T* entries, size_t n) {
    static_assert(std::has_unique_object_representations_v<T> && sizeof(T) % 4 == 0);
    Values32(entries, n * (sizeof(T) / 4));
  }

  // Feeds entries[0..count) with feed(entry), or with LiveOnly() the index (16 bits) and
  // fields of those that live(entry) says are in use.
  template <class T, class Live, class Feed>
  void Table(const T* entries, int count, Live live, Feed feed) {
    if (!live_) {
      for (int i = 0; i < count; ++i) feed(entries[i]);
      return;
    }
    for (int i = 0; i < count; ++i) {
      if (!live(entries[i])) continue;
      U16(uint16_t(i));
      feed(entries[i]);
    }
  }
  template <class T, int N, class Live, class Feed>
  void Table(const T (&entries)[N], Live live, Feed feed) {
    static_assert(N <= 65536);
    Table(entries, N, live, feed);
  }

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
  void Values32(const void* data, size_t count);
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
  bool live_ = false;
  // Word mode only:
  int fill_ = 0;              // bits of word_ in use, 0..63
  uint64_t word_ = 0;         // the word being gathered
  uint64_t words_count_ = 0;  // whole words hashed
  uint64_t lane_[4] = {kOffsetBasis, kOffsetBasis + 1, kOffsetBasis + 2, kOffsetBasis + 3};
};

// Sixteen lower-case hexadecimal digits.
std::string DigestHex(uint64_t value);

}  // namespace kelvra
