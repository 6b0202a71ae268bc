// Fixtures shared by the Burrower tests: a level from rows of square characters, and
// players and enemies placed by hand.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "burrower/BurrField.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Options.h"

namespace kelvra::test {

constexpr int32_t kRow = 2400;  // a centre line of the field

// Level `index` of a set of index + 1 levels from rows of square characters, the rest open
// ('9' is a code the editor never writes), started as a game for `players`.
inline void StartBurrLevel(const std::vector<std::string>& rows, int players = 1, int index = 0) {
  gBurrLevels.assign(size_t(index + 1), TBurrLevel{});
  for (TBurrLevel& l : gBurrLevels) NewBurrLevel(l);
  const std::string codes = ".:#*@BP9";
  for (int y = 0; y < int(rows.size()); ++y)
    for (int x = 0; x < int(rows[y].size()); ++x)
      gBurrLevels[size_t(index)].Record()[size_t(x * kBurrRows + y)] =
          uint8_t(codes.find(rows[y][x]));
  gCom.k[gkBurrower].playersMinusOne = players - 1;
  gCom.k[gkBurrower].levelIndex = index;
  BurrGameStart();
}

inline TBurrPlayer& PutPlayer(int p, int32_t x, int32_t y = kRow, int32_t armor = 0) {
  TBurrPlayer& pl = gBurr.players[p];
  pl = TBurrPlayer{};
  pl.active = 1, pl.size = 2, pl.health = kFullHealth, pl.armor = armor;
  pl.x = x, pl.y = y, pl.w = pl.h = 320, pl.faceDx = 32, pl.count[wpPistol] = 1;
  return pl;
}

inline TBurrEnemy& PutEnemy(int e, int type, int32_t x, int32_t y = kRow) {
  TBurrEnemy& en = gBurr.enemies[e];
  en = TBurrEnemy{};
  en.state = esAlive, en.type = uint8_t(type), en.size = 2, en.health = kFullHealth;
  en.x = x, en.y = y, en.w = en.h = 288;
  return en;
}

// A Burrower game with the default options, its events heard and its levels let go after.
class BurrFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    saved_ = gOptions;
    gOptions = TOptions{};
    gCom.kind = gkBurrower;
    SetEvents(&events);
  }
  void TearDown() override {
    SetEvents(nullptr);
    gOptions = saved_;
    gBurrLevels.clear();
  }
  THeadlessEvents events;
  TOptions saved_;
};

}  // namespace kelvra::test
