// Rules of Monsters on small hand-built fields: the level start, players' moves, monsters'
// moves, fights and breeding, the turn game's order, the scores and the computer player.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/Com.h"
#include "common/Events.h"
#include "common/Options.h"
#include "common/Players.h"
#include "monsters/MonsGame.h"
#include "monsters/MonsLevel.h"
#include "monsters/MonsState.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

// A field from rows of characters, placed at the top left; everything else is wall.
// '.' open, ':' earth, '#' wall, 'G' gate, '$' money, '<' 'v' '>' '^' tunnel (codes 0..3),
// 'O' pit, 'x' "No", 'g' ghost, '1'..'4' players, 'A'..'D' houses, 'a'..'f' monsters
// (heading left unless `directions` says otherwise).
class MonsRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    saved_ = gOptions;
    gOptions = TOptions{};
    gCom.kind = gkMonsters;
    SetEvents(&events);
    SetMonsInputSource(&Scripted);
    requests().clear();
  }
  void TearDown() override {
    SetMonsInputSource(nullptr);
    SetEvents(nullptr);
    gOptions = saved_;
    gMonsLevels.clear();
  }

  void Load(const std::vector<std::string>& rows, int players = 1,
            const std::map<std::pair<int, int>, int>& directions = {}) {
    gMonsLevels.assign(1, TMonsLevel{});
    NewMonsLevel(gMonsLevels[0]);
    TMonsGrid& g = gMonsLevels[0].Grid();
    for (int x = 0; x < kMonsCols; ++x)
      for (int y = 0; y < kMonsRows; ++y) {
        const char c = y < int(rows.size()) && x < int(rows[y].size()) ? rows[y][x] : '#';
        uint8_t* q = &g[size_t(MonsIndex(x, y)) * 3];
        q[0] = mkWall;
        Square(c, q);
        if (auto it = directions.find({x, y}); it != directions.end()) q[2] = uint8_t(it->second);
      }
    TKindState& s = gCom.k[gkMonsters];
    s.levelIndex = 0;
    s.playersMinusOne = players - 1;
    s.state = gsPlaying;
    s.levelTime = 0;
    MonsLevelStart();
  }

  static void Square(char c, uint8_t* q) {
    static const std::string kinds = ".:#G$<v>^Oxg";
    static const uint8_t codes[] = {mkNone,   mkEarth,  mkWall,   mkGate, mkMoney, mkTunnel,
                                    mkTunnel, mkTunnel, mkTunnel, mkPit,  mkNo,    mkGhost};
    if (auto i = kinds.find(c); i != std::string::npos) {
      q[0] = codes[i];
      if (q[0] == mkTunnel) q[2] = uint8_t(i - 5);
    } else if (c >= '1' && c <= '4') {
      q[0] = mkPlayer;
      q[1] = uint8_t(c - '1');
    } else if (c >= 'A' && c <= 'D') {
      q[0] = mkHouse;
      q[1] = uint8_t(c - 'A');
    } else if (c >= 'a' && c <= 'f') {
      q[0] = mkMonster;
      q[1] = uint8_t(c - 'a');
    }
  }

  // Requests the scripted input gives, per player, one per reading.
  static std::map<int, std::vector<std::pair<int, int>>>& requests() {
    static std::map<int, std::vector<std::pair<int, int>>> r;
    return r;
  }
  static void Scripted(int p) {
    auto& queue = requests()[p];
    if (queue.empty()) return;
    gMons.players[p].requestDx = int8_t(queue.front().first);
    gMons.players[p].requestDy = int8_t(queue.front().second);
    queue.erase(queue.begin());
  }

  void Move(int p, int dx, int dy) {
    gMons.players[p].requestDx = int8_t(dx);
    gMons.players[p].requestDy = int8_t(dy);
    MonsPlayerMove(p);
  }
  // Steps the game until the level time reaches `ms`, the way the session does.
  void RunUntil(uint32_t ms) {
    TKindState& s = gCom.k[gkMonsters];
    while (s.levelTime < ms && s.state == gsPlaying) {
      MonsStep();
      s.levelTime += 28;
    }
  }
  static char KindAt(int x, int y) {
    static const char kChars[] = ".:G#$TOPHMgx";
    return kChars[MonsAt(x, y).kind];
  }
  static int Slot(int x, int y) { return MonsAt(x, y).slot; }

  THeadlessEvents events;
  TOptions saved_;
};

TEST_F(MonsRules, LevelStartVisitsTheFourQuartersInOrder) {
  // Monsters in the four corners of the visiting pattern take slots in the visiting order;
  // a ghost takes the next slot and heads toward row 15.
  Load({"a..............................b", ".g..............................",
        "................................", "...............................1",
        "................................", "................................",
        "................................", "................................",
        "................................", "................................",
        "................................", "................................",
        "................................", "................................",
        "................................", "c..............................d"});
  EXPECT_EQ(Slot(0, 0), 0);
  EXPECT_EQ(Slot(31, 0), 1);
  EXPECT_EQ(Slot(0, 15), 2);
  EXPECT_EQ(Slot(31, 15), 3);
  EXPECT_EQ(gMons.monster[4].type, kSlotGhost);
  EXPECT_EQ(gMons.monster[4].dy, 1);
  EXPECT_EQ(gMons.game.slotsInUse, 5);
  EXPECT_EQ(gMons.game.alive, 4);
  EXPECT_EQ(gMons.game.alivePerType[3], 1);
  EXPECT_EQ(gMons.monster[5].type, kSlotFree);
}

TEST_F(MonsRules, PlayersNotTakingPartAndSwappedStarts) {
  const std::vector<std::string> rows = {"1.2.3.4"};
  Load(rows, 2);
  EXPECT_EQ(gMons.players[0].x, 0);
  EXPECT_EQ(gMons.players[1].x, 2);
  EXPECT_EQ(KindAt(4, 0), '.');  // player 3 does not play: an open square
  EXPECT_EQ(KindAt(6, 0), '.');
  EXPECT_FALSE(gMons.players[2].present);

  gOptions.mons.swapPlayers = 1;
  Load(rows, 4);
  EXPECT_EQ(gMons.players[0].x, 2);
  EXPECT_EQ(gMons.players[1].x, 0);
  EXPECT_EQ(gMons.players[2].x, 6);
  EXPECT_EQ(gMons.players[3].x, 4);
  EXPECT_EQ(MonsAt(0, 0).variant, 1);
}

TEST_F(MonsRules, StoredDownStartsTowardRowZeroAndThenShowsCodeThree) {
  Load({"1...", "....", "..a.", "...."}, 1, {{{2, 2}, 1}});
  EXPECT_EQ(gMons.monster[0].dx, 0);
  EXPECT_EQ(gMons.monster[0].dy, -1);
  EXPECT_EQ(MonsAt(2, 2).direction, 1);
  MonsMonsterStep();
  EXPECT_EQ(KindAt(2, 1), 'M');
  EXPECT_EQ(MonsAt(2, 1).direction, 3);
  EXPECT_EQ(KindAt(2, 2), '.');
}

TEST_F(MonsRules, BytesOutOfRangeArePlayedAsOpenSquares) {
  gMonsLevels.assign(1, TMonsLevel{});
  NewMonsLevel(gMonsLevels[0]);
  TMonsGrid& g = gMonsLevels[0].Grid();
  const uint8_t bad[][3] = {{12, 0, 0},        {255, 9, 9},       {mkPlayer, 4, 0},
                            {mkHouse, 200, 0}, {mkMonster, 6, 0}, {mkMonster, 1, 4},
                            {mkTunnel, 0, 7}};
  for (int i = 0; i < kMonsSquares; ++i) {
    const uint8_t* b = bad[i % 7];
    std::copy(b, b + 3, &g[size_t(i) * 3]);
  }
  g[0] = mkPlayer;  // (0, 0): player 1, so that a game can run
  g[1] = 0;
  g[2] = 0;
  const TMonsGrid stored = g;
  gCom.k[gkMonsters].playersMinusOne = 3;
  gCom.k[gkMonsters].state = gsPlaying;
  gCom.kind = gkMonsters;
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  MonsLevelStart();
  for (int i = 1; i < kMonsSquares; ++i) ASSERT_EQ(gMons.grid[i].kind, mkNone) << i;
  EXPECT_EQ(gMons.game.slotsInUse, 0);
  RunUntil(20000);  // the player walks the open field; nothing reads a table out of range
  EXPECT_EQ(gCom.k[gkMonsters].state, gsPlaying);
  EXPECT_EQ(g, stored);
}

// Fights: a head-on meeting kills both, running into a side kills only the one run into.
TEST_F(MonsRules, HeadOnAndSideFights) {
  // Slot 0 (type 0, heading right) meets slot 1 (type 1, heading left) head-on.
  Load({"1.......", "........", ".a.b....", "........", "........"}, 1, {{{1, 2}, 2}, {{3, 2}, 0}});
  MonsMonsterStep();  // a moves to (2, 2), then b runs into it head-on: both die
  EXPECT_EQ(gMons.game.alive, 0);
  EXPECT_EQ(KindAt(2, 2), '.');
  EXPECT_EQ(KindAt(3, 2), '.');
  EXPECT_EQ(MonsAt(2, 2).flash, kFlashStart);
  EXPECT_EQ(events.gamesEnded, 1);
  EXPECT_EQ(gCom.k[gkMonsters].state, gsGameEnded);

  // a (type 0) heads down into the side of b (type 1) that heads left: only b dies.
  Load({"1.......", "..a.....", "..b.....", "........", "........"}, 1, {{{2, 1}, 3}, {{2, 2}, 0}});
  ASSERT_EQ(gMons.monster[0].type, 0);  // (2, 1) is visited before (2, 2)
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 1);
  EXPECT_EQ(gMons.game.alivePerType[1], 0);
  EXPECT_EQ(KindAt(2, 1), 'M');  // the survivor does not move this step
  EXPECT_EQ(KindAt(2, 2), '.');

  // Same type: the runner turns, nobody dies.
  Load({"1.......", "..a.....", "..a.....", "........"}, 1, {{{2, 1}, 3}, {{2, 2}, 1}});
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 2);
}

TEST_F(MonsRules, MonstersAttackOthersAndPassTheirOwn) {
  struct Case {
    const char* row;
    int players;
    int caught[2], houseHits[2];
    bool turned;
  };
  // The monster at (3, 0) heads left into (2, 0).
  const Case cases[] = {
      {"1.2c....", 2, {0, 0}, {0, 0}, false},  // type 2 (player 1's) meets player 2: attacks
      {"2.1c....", 2, {0, 0}, {0, 0}, true},   // ... meets its own player: turns away
      {"1.Ac....", 1, {0, 0}, {0, 0}, true},   // its own player's house: turns away
      {"1.Bc....", 2, {0, 0}, {0, 1}, false},  // the other player's house: attacks
      {"1.Bd....", 2, {0, 0}, {0, 0}, true},   // type 3 is player 2's: spares his house
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    Load({c.row, "........", "........"}, c.players);
    const int before = gMons.players[1].score + gMons.players[0].score;
    MonsMonsterStep();
    const bool attacked = MonsAt(2, 0).flash == kFlashStart;
    EXPECT_EQ(attacked, !c.turned);
    EXPECT_EQ(KindAt(3, 0), 'M');  // never moves into the square
    if (c.turned) {
      EXPECT_NE(gMons.monster[0].dx, -1);
      EXPECT_EQ(gMons.players[0].score + gMons.players[1].score, before);
    } else {
      EXPECT_EQ(gMons.monster[0].dx, -1);  // neither moves nor turns
    }
    EXPECT_EQ(gMons.players[1].houseHits, c.houseHits[1]);
  }
  // Caught by a monster: times caught and ScorePlayer.
  Load({"1.2c....", "........"}, 2);
  MonsMonsterStep();
  EXPECT_EQ(gMons.players[1].caught, 1);
  EXPECT_EQ(gMons.players[1].score, -200);
  EXPECT_EQ(gMons.players[1].timeScore, -200);
  EXPECT_EQ(gCom.k[gkMonsters].score[1], -200);
}

TEST_F(MonsRules, TurnValuesFavourMoneyWhateverTheRandomPart) {
  // The monster runs into a wall; money lies on one side, an open square on the other.
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    for (bool moneyAbove : {true, false}) {
      Load({"1.......", ".....$..", ".....#a.", "........"}, 1);
      if (!moneyAbove) {
        MonsAt(5, 1).kind = mkNone;
        MonsAt(6, 3).kind = mkMoney;
      }
      MonsAt(6, 1).kind = moneyAbove ? mkMoney : mkNone;
      Randomize(seed);
      MonsMonsterStep();
      EXPECT_EQ(gMons.monster[0].dy, moneyAbove ? -1 : 1) << seed;
      EXPECT_EQ(MonsAt(6, 2).direction, moneyAbove ? 3 : 1);
    }
  }
  // Heading up into a wall: money on the left, (dy, dx) = (-1, 0), wins over open.
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    Load({"1.......", ".....#..", "....$a..", "........"}, 1, {{{5, 2}, 1}});
    Randomize(seed);
    MonsMonsterStep();
    EXPECT_EQ(gMons.monster[0].dx, -1) << seed;
  }
  // A monster of player 1 (type 2) values him 100, a tunnel 110: it never turns to him;
  // another player is worth 130 and always beats the tunnel.
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    for (char player : {'1', '2'}) {
      Load({std::string("1.2..") + "...", "....>..", ".....c.", "....." + std::string(1, player)},
           2, {{{5, 2}, 2}});
      MonsAt(6, 2).kind = mkWall;
      MonsAt(5, 3).kind = mkPlayer;
      MonsAt(5, 3).variant = uint8_t(player - '1');
      MonsAt(5, 1).kind = mkTunnel;
      Randomize(seed);
      MonsMonsterStep();
      EXPECT_EQ(gMons.monster[0].dy, player == '1' ? -1 : 1) << seed << player;
    }
  }
  // Equal values: the tie goes to the second candidate, (-dy, -dx).
  Load({"1.......", "......#.", ".....#a.", "......#."}, 1);
  int toB = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    Load({"1.......", "......#.", ".....#a.", "......#."}, 1);
    Randomize(seed);
    MonsMonsterStep();
    toB += gMons.monster[0].dy == 1;
  }
  EXPECT_GT(toB, 100);  // B wins ties and half of the rest
}

// A player walking into a monster kills it; walking into one that comes toward him with
// "Agressive Monsters" on also gets him caught, unless the monster is his own.
TEST_F(MonsRules, WalkingIntoMonsters) {
  struct Case {
    char monster;
    int heading;  // stored direction of the monster: 0 left (toward the player), 2 right
    bool aggressive;
    int caught;
  };
  const Case cases[] = {
      {'b', 0, true, 1},
      {'b', 0, false, 0},
      {'c', 0, true, 0},  // type 2 is player 1's
      {'b', 2, true, 0},  // moving away
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.monster) + std::to_string(c.heading) +
                 (c.aggressive ? " aggressive" : ""));
    gOptions.mons.aggressive = c.aggressive;
    Load({std::string("1") + c.monster + "a....."}, 1, {{{1, 0}, c.heading}});
    Move(0, 1, 0);
    EXPECT_EQ(gMons.players[0].killed, 1);
    EXPECT_EQ(gMons.players[0].caught, c.caught);
    EXPECT_EQ(gMons.players[0].score, 100 - 200 * c.caught);
    EXPECT_EQ(KindAt(1, 0), 'P');
    EXPECT_EQ(KindAt(0, 0), '.');
    EXPECT_EQ(MonsAt(1, 0).flash, kFlashStart / 2);
    EXPECT_EQ(gMons.game.alive, 1);
    EXPECT_EQ(events.gamesEnded, 0);
  }
  // The last monster killed ends the level; in the turn game no monster step follows.
  gOptions.mons.realTime = 0;
  Load({"1b......"}, 1);
  Move(0, 1, 0);
  EXPECT_EQ(events.gamesEnded, 1);
  EXPECT_EQ(gCom.k[gkMonsters].state, gsGameEnded);
  EXPECT_EQ(gMons.game.historyCount, 0u);
}

TEST_F(MonsRules, PitsEndTheLevelButGhostsDoNotCount) {
  Load({"1.......", ".Oa.g..."}, 1);
  EXPECT_EQ(gMons.game.alive, 1);
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 0);
  EXPECT_EQ(KindAt(2, 1), '.');
  EXPECT_EQ(KindAt(1, 1), 'O');
  EXPECT_EQ(events.gamesEnded, 1);
}

TEST_F(MonsRules, PlayerMovesDigCollectAndRespectTunnels) {
  struct Case {
    const char* row;
    int dx, dy;
    int toX, toY;  // where the player ends
    int sound;
  };
  // The player stands at (1, 1), in a ring of the row's squares.
  const Case cases[] = {
      {":1$", 1, 0, 2, 1, 0},   // money
      {":1$", -1, 0, 0, 1, 0},  // earth
      {"#1>", 1, 0, 2, 1, 0},   // a tunnel whose step is the request
      {"#1<", 1, 0, 1, 1, 1},   // against the tunnel
      {"#1G", 1, 0, 1, 1, 1},   // gates, walls, pits, houses, ghosts block
      {"O1A", 1, 0, 1, 1, 1},  {"O1g", 1, 0, 1, 1, 1},
      {"x1#", -1, 0, 0, 1, 0},  // the "No" square lets players on
      {"#1.", 1, 1, 2, 1, 0},   // diagonal: horizontal first
      {"#1#", 1, 1, 1, 2, 0},   // ... else vertical
      {"#1>", 1, 1, 1, 2, 0},   // a diagonal request never enters a tunnel
      {"#1#", 0, 0, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.row) + " " + std::to_string(c.dx) + "," + std::to_string(c.dy));
    Load({"###", c.row, "#.#"}, 1);
    if (c.dx == 0 && c.dy == 0) continue;
    events.sounds.clear();
    Move(0, c.dx, c.dy);
    EXPECT_EQ(gMons.players[0].x, c.toX);
    EXPECT_EQ(gMons.players[0].y, c.toY);
    ASSERT_EQ(events.sounds.size(), 1u);
    EXPECT_EQ(events.sounds[0], c.sound);
    EXPECT_EQ(events.soundPositions[0], 1);  // the column he moved from
    if (c.sound == 0 && KindAt(c.toX, c.toY) != 'T') EXPECT_EQ(KindAt(c.toX, c.toY), 'P');
  }
  Load({"###", ":1$", "#.#"}, 1);
  Move(0, 1, 0);
  EXPECT_EQ(gMons.players[0].score, 100);
  EXPECT_EQ(KindAt(1, 1), '.');
  // Through a tunnel and out: the tunnel stays.
  Load({"####", "1>..", "####"}, 1);
  Move(0, 1, 0);
  EXPECT_EQ(KindAt(1, 1), 'T');
  Move(0, 1, 0);
  EXPECT_EQ(KindAt(1, 1), 'T');
  EXPECT_EQ(KindAt(2, 1), 'P');
  // The field wraps.
  Load({"1..", "..."}, 1);
  MonsAt(31, 0).kind = mkNone;
  Move(0, -1, 0);
  EXPECT_EQ(gMons.players[0].x, 31);
}

TEST_F(MonsRules, GatesBreedIntoTheLowestFreeSlot) {
  // The monster runs into the gate below it, which has an open neighbour.
  Load({"1......", "..a....", "..G.", "...."}, 1, {{{2, 1}, 3}});
  MonsAt(1, 2).kind = mkNone;
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 2);
  EXPECT_EQ(gMons.game.bredPerType[0], 1);
  EXPECT_EQ(gMons.monster[1].type, 0);
  EXPECT_EQ(gMons.monster[1].x, 2);
  EXPECT_EQ(gMons.monster[1].y, 2);
  EXPECT_EQ(gMons.monster[1].dy, 1);  // the parent's heading
  EXPECT_EQ(MonsAt(2, 2).flash, kFlashStart);
  EXPECT_NE(gMons.monster[0].dy, 1);  // the parent turned
  // The child leaves the gate, which stays a gate.
  MonsMonsterStep();
  EXPECT_EQ(KindAt(2, 2), 'G');
  EXPECT_EQ(gMons.monster[1].y, 3);

  // A gate whose neighbours are all taken never breeds; neither does any gate with every
  // slot in use. The gate's neighbours wrap at the border.
  Load({"1.a.", "##G#", "#$#"}, 1, {{{2, 0}, 3}});
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 1);
  Load({"1.a.", "#.G#", "#$#"}, 1, {{{2, 0}, 3}});
  gMons.game.slotsInUse = kMonsSlots;
  for (int s = 1; s < kMonsSlots; ++s) gMons.monster[s].type = kSlotGhost;
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 1);
  Load({"G..1", ".a##"}, 1, {{{1, 1}, 1}});
  MonsAt(31, 0).kind = mkNone;  // across the border: the gate's only open neighbour
  MonsAt(1, 0).kind = mkWall;
  MonsAt(0, 1).kind = mkWall;
  MonsAt(0, 15).kind = mkWall;
  MonsAt(1, 1).direction = 0;
  gMons.monster[0].dx = -1;
  gMons.monster[0].dy = 0;
  gMons.monster[0].x = 1;
  gMons.monster[0].y = 0;
  MonsAt(1, 0) = MonsAt(1, 1);
  MonsAt(1, 1).kind = mkWall;
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.bredPerType[0], 1);
}

TEST_F(MonsRules, GhostsWanderOnOpenSquaresAndCatchPlayers) {
  Load({"1.", ".g", "..", "2."}, 2);
  Randomize(7);
  MonsMonsterStep();
  EXPECT_EQ(KindAt(1, 2), 'g');
  EXPECT_EQ(KindAt(1, 1), '.');
  Load({"..", ".g", ".1"}, 1);
  MonsMonsterStep();
  EXPECT_EQ(gMons.players[0].caught, 1);
  EXPECT_EQ(gMons.players[0].score, -200);
  EXPECT_EQ(KindAt(1, 1), 'g');
  // A ghost turns aside with a chance of 2 in 8 at every step.
  Load({"1"}, 1);
  for (TMonsSquare& q : gMons.grid) q.kind = mkNone;
  MonsAt(0, 0).kind = mkPlayer;
  MonsAt(5, 5).kind = mkGhost;
  gMons.monster[0] = TMonsSlot{kSlotGhost, 0, 1, 5, 5};
  gMons.game.slotsInUse = 1;
  Randomize(11);
  int turns = 0;
  for (int i = 0; i < 400; ++i) {
    const TMonsSlot before = gMons.monster[0];
    MonsMonsterStep();
    turns += gMons.monster[0].dx != before.dx || gMons.monster[0].dy != before.dy;
  }
  EXPECT_TRUE(turns > 60 && turns < 140) << turns;
}

// A monster enters a tunnel only along it, and sits in it without changing it.
TEST_F(MonsRules, MonstersPassTunnelsOneWay) {
  Load({"1.......", "...<a...", "........"}, 1);
  MonsMonsterStep();
  EXPECT_EQ(gMons.monster[0].x, 3);
  EXPECT_EQ(KindAt(3, 1), 'T');
  EXPECT_EQ(KindAt(4, 1), '.');
  MonsMonsterStep();
  EXPECT_EQ(gMons.monster[0].x, 2);
  EXPECT_EQ(KindAt(3, 1), 'T');
  EXPECT_EQ(KindAt(2, 1), 'M');
  Load({"1.......", "...>a...", "........"}, 1);
  MonsMonsterStep();
  EXPECT_EQ(gMons.monster[0].x, 4);
  EXPECT_NE(gMons.monster[0].dx, -1);  // turned
}

// The turn game: order 0, 1, 1, 0, ..., monsters after every n moves, boxed players skipped.
TEST_F(MonsRules, TurnGameOrderAndMonsterRhythm) {
  gOptions.mons.realTime = 0;
  struct Case {
    int players;
    const char* order;         // the player who moves, move by move
    const char* monsterSteps;  // monster steps made after each move
  };
  const Case cases[] = {
      {1, "000000", "123456"},
      {2, "011001", "011223"},
      {3, "011220", "011122"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.players);
    Load({"1.:::::::::", "2.:::::::::", "3.:::::::::", ".............", "::::::::::::a"},
         c.players);
    for (int i = 0; c.order[i]; ++i) {
      const int p = gMons.game.currentPlayer;
      EXPECT_EQ(p, c.order[i] - '0') << i;
      Move(p, 1, 0);
      EXPECT_EQ(gMons.game.historyCount, uint32_t(c.monsterSteps[i] - '0')) << i;
    }
  }
  // Player 2 boxed in by walls is passed over: 0, (1, 1 skipped), 0, 0, ...
  Load({"1.::::", "#####.", "2#::::", "#####."}, 2);
  Move(0, 1, 0);
  EXPECT_EQ(gMons.game.currentPlayer, 0);
  Load({"1.::::", "#####.", "2$::::", "#####."}, 2);  // money next to him: his turn
  Move(0, 1, 0);
  EXPECT_EQ(gMons.game.currentPlayer, 1);
}

// The move clock runs from the first move: thinking beyond the bonus time is overtime.
TEST_F(MonsRules, TurnGameMoveClockAndOvertime) {
  gOptions.mons.realTime = 0;
  requests()[0] = {{1, 0}, {1, 0}};
  Load({"1.......", "......a."}, 1);
  TKindState& s = gCom.k[gkMonsters];
  RunUntil(200);  // the first move: the clock starts
  EXPECT_TRUE(gMons.game.clockRunning);
  const uint32_t start = gMons.game.moveStart;
  s.levelTime = start + 2000;
  MonsStep();  // the second move after 2 s of thinking
  EXPECT_EQ(gMons.players[0].overtime, 2000 - 500);
  EXPECT_EQ(gMons.players[0].x, 2);
  MonsStopClock();
  s.levelTime += 5000;
  MonsStep();
  EXPECT_EQ(gMons.players[0].moveTime, 2000);  // a stopped clock does not count on
}

TEST_F(MonsRules, TurnGameGoesOnWhenNobodyCanMove) {
  gOptions.mons.realTime = 0;
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  Load({"1#", "##", "..a."}, 1);
  MonsAt(31, 0).kind = mkWall;
  MonsAt(0, 15).kind = mkWall;
  RunUntil(5000);  // returns: no endless search, and the monsters go on stepping
  EXPECT_GE(gMons.game.historyCount, 5u);
  EXPECT_EQ(gMons.players[0].x, 0);
}

TEST_F(MonsRules, RealTimeDelaysAndModeSwitches) {
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  Load({"1.......", "........", ".......a"}, 1);
  RunUntil(1000);  // 500 ms apart, the lateness carried: steps at 504, 1008 -> 1 by 1000
  EXPECT_EQ(gMons.game.historyCount, 1u);
  EXPECT_EQ(gMons.game.lastMonsterStep, 508u);

  // A long turn game, then real time: the player moves again within the keyboard delay.
  gOptions.mons.realTime = 0;
  MonsRealTimeChanged();
  EXPECT_EQ(gMons.game.currentPlayer, 0);
  gCom.k[gkMonsters].levelTime = 600000;
  gOptions.mons.realTime = 1;
  MonsRealTimeChanged();
  EXPECT_EQ(gMons.game.lastMonsterStep, 600500u);
  const int x = gMons.players[0].x, y = gMons.players[0].y;
  RunUntil(600000 + 400);
  EXPECT_TRUE(gMons.players[0].x != x || gMons.players[0].y != y);
  // Every 150 ms, the lateness carried: five attempts in 800 ms of 28 ms steps.
  SetMonsInputSource(&Scripted);
  requests()[0] = std::vector<std::pair<int, int>>(10, {0, 1});
  RunUntil(gCom.k[gkMonsters].levelTime + 800);
  EXPECT_EQ(requests()[0].size(), 5u);

  gOptions.mons.monstersDelay = 2000;
  MonsDelayChanged();
  EXPECT_EQ(gMons.game.lastMonsterStep, gCom.k[gkMonsters].levelTime + 2000);
}

TEST_F(MonsRules, TimeAdjustedScoreAndHistoryStayInRange) {
  Load({"1.2.", "....", "a..."}, 2);
  gMons.game.moveCounter = 5;
  gMons.players[0].score = 100;
  gMons.players[1].score = 50;
  gMons.players[0].overtime = 2000;
  gMons.players[1].overtime = 0;
  ComputeMonsTimeScores();
  EXPECT_EQ(gMons.players[0].timeScore, 100 + 2000 * 1000 / 2000 - 1000);
  EXPECT_EQ(gMons.players[1].timeScore, 50 + 2000 * 1000 / 1000 - 1000);
  // Hours of overtime: no 32-bit overflow, the result clamped.
  gMons.players[0].overtime = 2000000000;
  gMons.players[1].overtime = 1;
  ComputeMonsTimeScores();
  EXPECT_EQ(gMons.players[0].timeScore, 100);
  EXPECT_EQ(gMons.players[1].timeScore, INT32_MAX);
  // The current player's thinking time counts as overtime too.
  gMons.players[0].overtime = 1000;
  gMons.players[1].overtime = 1000;
  gMons.players[1].moveTime = 1000;
  gMons.game.currentPlayer = 1;
  ComputeMonsTimeScores();
  EXPECT_EQ(gMons.players[0].timeScore, 100 + 2000 * 1000 / 1000 - 1000);
  EXPECT_EQ(gMons.players[1].timeScore, 50 + 2000 * 1000 / 2000 - 1000);
  gMons.game.moveCounter = 4;  // too early: the plain score
  ComputeMonsTimeScores();
  EXPECT_EQ(gMons.players[1].timeScore, 50);

  // The history keeps its first entries and running extremes of the players taking part.
  Load({"1.2.", "####", "a###"}, 2);
  gMons.players[2].score = -99999;  // not taking part
  for (int i = 0; i < kMonsHistoryKept + 10; ++i) {
    gMons.players[0].score = i == kMonsHistoryKept + 4 ? -500 : i;
    gMons.players[0].timeScore = gMons.players[0].score;
    MonsMonsterStep();
  }
  EXPECT_EQ(gMons.game.historyCount, uint32_t(kMonsHistoryKept + 10));
  EXPECT_EQ(gMons.history[kMonsHistoryKept - 1].score[0], kMonsHistoryKept - 1);
  EXPECT_EQ(gMons.game.historyMin[0], -500);
  EXPECT_EQ(gMons.game.historyMax[0], kMonsHistoryKept + 9);
}

// The computer player: values of the four directions, ties in the order Left, Up, Right,
// Down, the pull toward the monsters' column and row.
TEST_F(MonsRules, ComputerPlayerChoices) {
  struct Case {
    std::vector<std::string> rows;
    int dx, dy;
  };
  const std::vector<Case> cases = {
      {{"###", "#1#", "###"}, -1, 0},  // all blocked: still a request, the first
      {{"#.#", ".1.", "#.#"}, -1, 0},  // all equal: Left
      {{"###", "#1.", "#.#"}, 1, 0},   // Right before Down
      {{"#:#", "#1.", "###"}, 0, -1},  // earth 16 beats open 0
      {{"#.#", "#1$", "###"}, 1, 0},   // money: ScoreMonster
      {{"#.#", "#1b", "###"}, 0, -1},  // a monster coming toward him: 100 - 200
      {{"#.#", "#1c", "###"}, 1, 0},   // ... his own monster does not hurt
  };
  for (const Case& c : cases) {
    Load(c.rows, 1);
    MonsComputerRequest(0);
    EXPECT_EQ(gMons.players[0].requestDx, c.dx) << c.rows[0] << c.rows[1] << c.rows[2];
    EXPECT_EQ(gMons.players[0].requestDy, c.dy) << c.rows[0] << c.rows[1] << c.rows[2];
  }
  // Going on the way he came is worth 8, turning back costs 8.
  Load({"#.#", ".1.", "#.#"}, 1);
  gMons.players[0].lastDx = 1;
  MonsComputerRequest(0);
  EXPECT_EQ(gMons.players[0].requestDx, 1);

  // Two monsters in column 4 and two in column 10: the column of the monsters is 7.
  Load({"1...a.....a.", "............", "....a.....a."}, 1);
  int column, row;
  MonsMonsterCentre(column, row);
  EXPECT_EQ(column, 7);
  EXPECT_EQ(row, 1);  // rows 0 and 2 tie
  Load({"1..."}, 1);
  MonsMonsterCentre(column, row);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(row, 0);
  // The pull: a monster far to the right draws him right rather than left.
  Load({"#.####", ".1..a.", "#.####"}, 1, {{{4, 1}, 3}});
  MonsComputerRequest(0);
  EXPECT_EQ(gMons.players[0].requestDx, 1);
}

// Controls into requests: a keyboard mapping with and without "Bios Keyboard", the game
// controller, and the mouse with its cursor shapes.
class ScriptedPad : public HeadlessPlatform {
 public:
  uint8_t GamepadState() override { return pad; }
  uint8_t pad = 0;
};

TEST_F(MonsRules, ControlsBecomeRequests) {
  ScriptedPad platform;
  SetPlatform(&platform);
  Load({"....", ".1..", "...."}, 1);
  const uint16_t* keys = gCom.keyMap[0];
  struct Case {
    std::vector<int> controls;  // held on the first mapping
    int dx, dy;
  };
  const Case cases[] = {
      {{ctLeft}, -1, 0},         {{ctLeft, ctRight}, 0, 0},       {{ctLeft, ctUp}, -1, -1},
      {{ctDown, ctFire1}, 0, 1}, {{ctUp, ctDown, ctRight}, 1, 0},
  };
  gCom.player[0].input = piKeyboard1;
  for (const Case& c : cases) {
    for (int k = 0; k < kKeysPerMap; ++k) platform.ReleaseKey(keys[k]);
    for (int k : c.controls) platform.PressKey(keys[k]);
    MonsReadInput(0);
    EXPECT_EQ(gMons.players[0].requestDx, c.dx);
    EXPECT_EQ(gMons.players[0].requestDy, c.dy);
    // Held, not pressed again: counts without "Bios Keyboard" only.
    for (bool bios : {false, true}) {
      gOptions.mons.biosKeyboard = bios;
      MonsReadInput(0);
      EXPECT_EQ(gMons.players[0].requestDx, bios ? 0 : c.dx);
    }
    gOptions.mons.biosKeyboard = 0;
  }

  gCom.player[0].input = piJoystick;
  platform.pad = 1u << ctDown;
  MonsReadInput(0);
  EXPECT_EQ(gMons.players[0].requestDy, 1);

  // The player's centre is (30, 30) in the field.
  struct Pointer {
    int x, y, dx, dy, shape;
  };
  const Pointer pointers[] = {{60, 35, 1, 0, 2}, {35, 0, 0, -1, 3}, {30, 45, 0, 1, 4},
                              {0, 0, -1, 0, 1},  {39, 21, 0, 0, 0}, {30, 30, 0, 0, 0},
                              {41, 30, 1, 0, 2}, {40, 30, 0, 0, 0}};
  gCom.player[0].input = piMouse;
  for (const Pointer& m : pointers) {
    gCom.mouseX = m.x;
    gCom.mouseY = m.y;
    MonsReadInput(0);
    EXPECT_EQ(gMons.players[0].requestDx, m.dx) << m.x << "," << m.y;
    EXPECT_EQ(gMons.players[0].requestDy, m.dy) << m.x << "," << m.y;
    EXPECT_EQ(gCom.cursorShape, m.shape) << m.x << "," << m.y;
  }
  SetPlatform(nullptr);
}

}  // namespace
}  // namespace kelvra
