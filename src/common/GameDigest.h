// The digest of the whole game state of the current kind: the shared records, the
// generator and the game's own tables.
#pragma once

#include <cstdint>

#include "base/Digest.h"

namespace kelvra {

// The shared part of the game state of the current kind: the kind, its game state, level
// index, game and level time, scores, player count, the shared countdown, the step counter,
// the generator, the three effect pools and the cursor shape.
void DigestShared(TDigest& digest);
// The current kind's own tables (through the kind's operations).
void DigestKind(TDigest& digest, int kind);
// Both of the above for the current kind: FNV-1a byte by byte (the golden digests and the
// last line of kelvra-cli play), or the same bytes hashed a word at a time (a replay's
// checkpoints).
uint64_t GameDigest(TDigest::Mode mode = TDigest::kFnvBytes);

}  // namespace kelvra
