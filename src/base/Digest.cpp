// The state digest's two hashes and its hexadecimal form.
#include "base/Digest.h"

#include <cstring>

namespace kelvra {

void TDigest::Bytes(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) Put(p[i], 1);
}

void TDigest::Values32(const void* data, size_t count) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  uint32_t v[2];
  size_t i = 0;
  if (words_) {
    // Two values make eight bytes of the stream, which fill the rest of the word being
    // gathered and carry over into the next as far as they did before: fill_ stays. Eight
    // values go to the four lanes at once, held in registers.
    const int fill = fill_;
    uint64_t word = word_;
    auto next = [&](const uint8_t* q) {
      std::memcpy(v, q, 8);
      const uint64_t pair = uint64_t(v[0]) | uint64_t(v[1]) << 32;
      const uint64_t whole = word | pair << fill;
      word = fill ? pair >> (64 - fill) : 0;
      return whole;
    };
    const unsigned first = unsigned(words_count_ & 3);
    uint64_t lane[4];
    for (unsigned k = 0; k < 4; ++k) lane[k] = lane_[(first + k) & 3];
    for (; i + 8 <= count; i += 8, p += 32) {
      lane[0] = MixWord(lane[0], next(p));
      lane[1] = MixWord(lane[1], next(p + 8));
      lane[2] = MixWord(lane[2], next(p + 16));
      lane[3] = MixWord(lane[3], next(p + 24));
    }
    for (unsigned k = 0; k < 4; ++k) lane_[(first + k) & 3] = lane[k];
    words_count_ += i / 2;
    for (; i + 2 <= count; i += 2, p += 8) {
      uint64_t& l = lane_[words_count_++ & 3];
      l = MixWord(l, next(p));
    }
    word_ = word;
  }
  for (; i < count; ++i, p += 4) {
    std::memcpy(v, p, 4);
    Put(v[0], 4);
  }
}

uint64_t TDigest::Value() const {
  if (!words_) return hash_;
  uint64_t lanes[4] = {lane_[0], lane_[1], lane_[2], lane_[3]};
  if (fill_) lanes[words_count_ & 3] = MixWord(lanes[words_count_ & 3], word_);
  uint64_t h = kOffsetBasis;
  for (uint64_t lane : lanes) h = MixWord(h, lane);
  // The length in bytes, then a final avalanche (the finaliser of MurmurHash3), so that
  // streams differing only in trailing zero bytes differ.
  h ^= 8 * words_count_ + uint64_t(fill_ / 8);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB93FE53EF9E5ull;
  h ^= h >> 33;
  return h;
}

std::string DigestHex(uint64_t value) {
  static const char kHex[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) s[size_t(i)] = kHex[value & 15];
  return s;
}

}  // namespace kelvra
