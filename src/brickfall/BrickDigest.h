// Brickfall's part of the state digest: the whole of gBrick (every run-time table, the
// level-wide values and the particle effects), field by field.
#pragma once

namespace kelvra {

class TDigest;

// Feeds gBrick into `digest`: walls, wall count, players, balls, falling bonuses, shots,
// enemies, then gBrick.game and gBrick.effects. The order is part of every recorded digest.
void DigestBrickfall(TDigest& digest);

}  // namespace kelvra
