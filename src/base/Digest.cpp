// The state digest's two hashes and its hexadecimal form.
#include "base/Digest.h"

namespace kelvra {

void TDigest::Bytes(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) Put(p[i], 1);
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
