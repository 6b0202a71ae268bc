// The games' random generator: seed = seed * 134775813 + 1, result (n * seed) >> 32. Its
// state belongs to whoever draws (the shared game state holds the games' own), so that a
// recording of the state replays the same numbers.
#pragma once

#include <cstdint>

namespace kelvra {

// The next number of the sequence held in `seed`: 0..n-1; 0 when n <= 0 (the state still
// advances).
inline int32_t RandomFrom(uint32_t& seed, int32_t n) {
  seed = seed * 134775813u + 1u;
  if (n <= 0) return 0;
  return int32_t((uint64_t(uint32_t(n)) * seed) >> 32);
}

}  // namespace kelvra
