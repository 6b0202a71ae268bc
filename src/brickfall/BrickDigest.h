// Brickfall's part of the state digest: every run-time table, the game-wide values and the
// particle effects, field by field.
#pragma once

namespace kelvra {

class TDigest;

// Feeds gBrick (walls, wall count, players, balls, falling bonuses, shots, enemies),
// gBrickGame and gBrickEffects into `digest`.
void DigestBrickfall(TDigest& digest);

}  // namespace kelvra
