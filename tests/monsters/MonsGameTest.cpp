// Rules of Monsters on small hand-built fields: the level start, players' moves, monsters'
// moves, fights and breeding, the turn game's order, the scores and the controls. The
// computer player plays every golden digest game, whose digests change with any of its choices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
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

using Steps = std::vector<std::pair<int, int>>;
std::map<int, Steps> gRequests;  // what the scripted input gives each player, one a reading

void Scripted(int p) {
  Steps& queue = gRequests[p];
  if (queue.empty()) return;
  gMons.players[p].requestDx = int8_t(queue.front().first);
  gMons.players[p].requestDy = int8_t(queue.front().second);
  queue.erase(queue.begin());
}

// Square characters: '.' open, ':' earth, '#' wall, 'G' gate, '$' money, '<' 'v' '>' '^'
// tunnels (codes 0..3), 'O' pit, 'x' "No", 'g' ghost, '1'..'4' players, 'A'..'D' houses,
// 'a'..'f' monsters. KindAt shows a square back as one of ".:G#$TOPHMgx".
const std::string kChars = ".:#G$<v>^Oxg1234ABCDabcdef";
const uint8_t kSquares[][3] = {
    {mkNone, 0, 0},    {mkEarth, 0, 0},   {mkWall, 0, 0},    {mkGate, 0, 0},    {mkMoney, 0, 0},
    {mkTunnel, 0, 0},  {mkTunnel, 0, 1},  {mkTunnel, 0, 2},  {mkTunnel, 0, 3},  {mkPit, 0, 0},
    {mkNo, 0, 0},      {mkGhost, 0, 0},   {mkPlayer, 0, 0},  {mkPlayer, 1, 0},  {mkPlayer, 2, 0},
    {mkPlayer, 3, 0},  {mkHouse, 0, 0},   {mkHouse, 1, 0},   {mkHouse, 2, 0},   {mkHouse, 3, 0},
    {mkMonster, 0, 0}, {mkMonster, 1, 0}, {mkMonster, 2, 0}, {mkMonster, 3, 0}, {mkMonster, 4, 0},
    {mkMonster, 5, 0}};

class MonsRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    saved_ = gOptions;
    gOptions = TOptions{};
    gCom.kind = gkMonsters;
    SetEvents(&events);
    SetMonsInputSource(&Scripted);
    gRequests.clear();
  }
  void TearDown() override {
    SetMonsInputSource(nullptr);
    SetEvents(nullptr);
    gOptions = saved_;
    gMonsLevels.clear();
  }

  // A field from rows of characters at the top left, wall everywhere else, started as a
  // game; a monster heads left unless `directions` gives its stored code.
  void Load(const std::vector<std::string>& rows, int players = 1,
            const std::map<std::pair<int, int>, int>& directions = {}) {
    gMonsLevels.assign(1, TMonsLevel{});
    NewMonsLevel(gMonsLevels[0]);
    for (int x = 0; x < kMonsCols; ++x)
      for (int y = 0; y < kMonsRows; ++y) {
        const char c = y < int(rows.size()) && x < int(rows[y].size()) ? rows[y][x] : '#';
        uint8_t* q = &gMonsLevels[0].Grid()[size_t(MonsIndex(x, y)) * 3];
        std::copy_n(kSquares[kChars.find(c)], 3, q);
        if (auto it = directions.find({x, y}); it != directions.end()) q[2] = uint8_t(it->second);
      }
    TKindState& s = gCom.k[gkMonsters];
    s.levelIndex = 0, s.playersMinusOne = players - 1, s.state = gsPlaying, s.levelTime = 0;
    MonsLevelStart();
  }

  // Load, then one monster step; with a seed, from that seed.
  void LoadAndStep(const std::vector<std::string>& rows, int players = 1,
                   const std::map<std::pair<int, int>, int>& directions = {}, uint32_t seed = 0) {
    Load(rows, players, directions);
    if (seed) Randomize(seed);
    MonsMonsterStep();
  }
  void Move(int p, int dx, int dy) {
    gMons.players[p].requestDx = int8_t(dx), gMons.players[p].requestDy = int8_t(dy);
    MonsPlayerMove(p);
  }
  // Steps the game until the level time reaches `ms`, 28 ms a step as the session does.
  void RunUntil(uint32_t ms) {
    TKindState& s = gCom.k[gkMonsters];
    for (; s.levelTime < ms && s.state == gsPlaying; s.levelTime += 28) MonsStep();
  }
  static char KindAt(int x, int y) { return ".:G#$TOPHMgx"[MonsAt(x, y).kind]; }
  // The squares of row y from column x on, n of them.
  static std::string Row(int y, int x, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += KindAt(x + i, y);
    return s;
  }
  static std::pair<int, int> Pos(int p) { return {gMons.players[p].x, gMons.players[p].y}; }
  static std::pair<int, int> Request(int p) {
    return {gMons.players[p].requestDx, gMons.players[p].requestDy};
  }
  static std::pair<int, int> Heading(int slot) {
    return {gMons.monster[slot].dx, gMons.monster[slot].dy};
  }

  THeadlessEvents events;
  TOptions saved_;
};

TEST_F(MonsRules, LevelStart) {
  // Slots follow the visiting order of the four quarters; a ghost takes the next slot and
  // heads toward row 15.
  std::vector<std::string> rows(16, std::string(32, '.'));
  rows[0][0] = 'a', rows[0][31] = 'b', rows[15][0] = 'c', rows[15][31] = 'd';
  rows[1][1] = 'g', rows[3][31] = '1';
  Load(rows);
  EXPECT_EQ(std::make_tuple(MonsAt(0, 0).slot, MonsAt(31, 0).slot, MonsAt(0, 15).slot,
                            MonsAt(31, 15).slot),
            std::make_tuple(0, 1, 2, 3));
  EXPECT_EQ(std::make_tuple(gMons.monster[4].type, Heading(4), gMons.monster[5].type),
            std::make_tuple(kSlotGhost, std::make_pair(0, 1), kSlotFree));
  EXPECT_EQ(std::make_tuple(gMons.game.slotsInUse, gMons.game.alive, gMons.game.alivePerType[3]),
            std::make_tuple(5, 4, 1));

  // Players not taking part are open squares; "Swap Players" swaps 1 with 2 and 3 with 4.
  Load({"1.2.3.4"}, 2);
  EXPECT_EQ(std::make_tuple(Pos(0), Pos(1), Row(0, 0, 7), bool(gMons.players[2].present)),
            std::make_tuple(std::make_pair(0, 0), std::make_pair(2, 0), "P.P....", false));
  gOptions.mons.swapPlayers = 1;
  Load({"1.2.3.4"}, 4);
  EXPECT_EQ(std::make_tuple(Pos(0).first, Pos(1).first, Pos(2).first, Pos(3).first),
            std::make_tuple(2, 0, 6, 4));
  EXPECT_EQ(MonsAt(0, 0).variant, 1);

  // The stored direction "Down" starts toward row 0; the square then shows code 3.
  Load({"1...", "....", "..a.", "...."}, 1, {{{2, 2}, 1}});
  EXPECT_EQ(Heading(0), std::make_pair(0, -1));
  MonsMonsterStep();
  EXPECT_EQ(std::make_tuple(Row(1, 2, 1), Row(2, 2, 1), MonsAt(2, 1).direction),
            std::make_tuple("M", ".", 3));
}

TEST_F(MonsRules, BytesOutOfRangeArePlayedAsOpenSquares) {
  gMonsLevels.assign(1, TMonsLevel{});
  NewMonsLevel(gMonsLevels[0]);
  TMonsGrid& g = gMonsLevels[0].Grid();
  const uint8_t bad[][3] = {{12, 0, 0},        {255, 9, 9},       {mkPlayer, 4, 0},
                            {mkHouse, 200, 0}, {mkMonster, 6, 0}, {mkMonster, 1, 4},
                            {mkTunnel, 0, 7}};
  for (int i = 0; i < kMonsSquares; ++i) std::copy_n(bad[i % 7], 3, &g[size_t(i) * 3]);
  std::copy_n(kSquares[kChars.find('1')], 3, &g[0]);  // player 1 at (0, 0)
  const TMonsGrid stored = g;
  gCom.k[gkMonsters].playersMinusOne = 3, gCom.k[gkMonsters].state = gsPlaying;
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  MonsLevelStart();
  for (int i = 1; i < kMonsSquares; ++i) ASSERT_EQ(gMons.grid[i].kind, mkNone) << i;
  RunUntil(20000);  // the player walks the open field; nothing reads a table out of range
  EXPECT_EQ(std::make_tuple(gMons.game.slotsInUse, gCom.k[gkMonsters].state, g == stored),
            std::make_tuple(0, gsPlaying, true));
}

// Fights: head-on both die, into the side only the one run into; same types turn. The
// level ends with the last monster, by a fight or a pit; ghosts do not count.
TEST_F(MonsRules, FightsAndPits) {
  // a moves to (2, 2), then b runs into it head-on.
  LoadAndStep({"1.......", "........", ".a.b....", "........"}, 1, {{{1, 2}, 2}, {{3, 2}, 0}});
  EXPECT_EQ(std::make_tuple(gMons.game.alive, Row(2, 1, 3), MonsAt(2, 2).flash, events.gamesEnded,
                            gCom.k[gkMonsters].state),
            std::make_tuple(0, "...", kFlashStart, 1, gsGameEnded));

  // a (slot 0) heads down into b's side, into its back, or into a monster of its own type;
  // the survivor stays this step.
  for (const auto& [below, direction, alive] :
       {std::make_tuple('b', 0, 1), std::make_tuple('b', 3, 1), std::make_tuple('a', 1, 2)}) {
    LoadAndStep({"1.......", "..a.....", std::string("..") + below, "........"}, 1,
                {{{2, 1}, 3}, {{2, 2}, direction}});
    EXPECT_EQ(std::make_tuple(gMons.game.alive, gMons.game.alivePerType[1],
                              alive == 1 ? Row(1, 2, 1) + Row(2, 2, 1) : std::string()),
              std::make_tuple(alive, 0, alive == 1 ? "M." : ""))
        << below << direction;
  }

  LoadAndStep({"1.......", ".Oa.g..."}, 1);
  EXPECT_EQ(std::make_tuple(gMons.game.alive, Row(1, 1, 2), events.gamesEnded),
            std::make_tuple(0, "O.", 2));
}

TEST_F(MonsRules, MonstersAttackOthersAndPassTheirOwn) {
  // The monster at (3, 0) heads left into (2, 0); players, player 2 caught, his house hit.
  const std::tuple<const char*, int, int, int> cases[] = {
      {"1.2c", 2, 1, 0},  // type 2 (player 1's) attacks player 2
      {"2.1c", 2, 0, 0},  // ... and turns away from its own player
      {"1.Ac", 1, 0, 0},  // ... and his house
      {"1.Bc", 2, 0, 1},  // ... but attacks player 2's house
      {"1.Bd", 2, 0, 0},  // type 3 is player 2's
  };
  for (const auto& [row, players, caught, houseHits] : cases) {
    LoadAndStep({std::string(row) + "....", "........"}, players);
    const int hit = caught + houseHits, score = -200 * caught - 100 * houseHits;
    EXPECT_EQ(std::make_tuple(MonsAt(2, 0).flash, KindAt(3, 0), gMons.monster[0].dx == -1,
                              gMons.players[1].caught, gMons.players[1].houseHits,
                              gMons.players[1].score, gCom.k[gkMonsters].score[1]),
              std::make_tuple(hit * kFlashStart, 'M', hit == 1, caught, houseHits, score, score))
        << row;
  }
}

// A turning monster weighs the two sides by what lies there plus a random 0..9.
TEST_F(MonsRules, TurnValues) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    // Into a wall with money on one side and an open square on the other: money, always.
    for (bool above : {true, false}) {
      LoadAndStep({"1.......", "......" + std::string(above ? "$" : "."), ".....#a.",
                   "......" + std::string(above ? "." : "$")},
                  1, {}, seed);
      EXPECT_EQ(std::make_tuple(Heading(0).second, MonsAt(6, 2).direction),
                std::make_tuple(above ? -1 : 1, above ? 3 : 1));
    }
    // From a vertical heading: (dy, dx) is the left side.
    LoadAndStep({"1.......", ".....#..", "....$a..", "........"}, 1, {{{5, 2}, 1}}, seed);
    EXPECT_EQ(Heading(0).first, -1) << seed;
    // Player 1's monster values him 100 and a tunnel 110; another player 130.
    for (char player : {'1', '2'}) {
      LoadAndStep({"1.2.....", ".....>..", ".....c#.", "....." + std::string(1, player)}, 2,
                  {{{5, 2}, 2}}, seed);
      EXPECT_EQ(Heading(0).second, player == '1' ? -1 : 1) << seed << player;
    }
  }
  // Equal values: a tie goes to the second side, (-dy, -dx).
  int second = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    LoadAndStep({"1.......", "......#.", ".....#a.", "......#."}, 1, {}, seed);
    second += Heading(0).second == 1;
  }
  EXPECT_GT(second, 100);
}

// Walking into a monster kills it; into one coming toward him with "Aggressive Monsters" on
// the player is caught as well, unless it is his own.
TEST_F(MonsRules, WalkingIntoMonsters) {
  // The monster, its stored direction (0 toward the player, 2 away), "Aggressive", caught.
  const std::tuple<char, int, bool, int> cases[] = {
      {'b', 0, true, 1}, {'b', 0, false, 0}, {'c', 0, true, 0}, {'b', 2, true, 0}};
  for (const auto& [monster, heading, aggressive, caught] : cases) {
    gOptions.mons.aggressive = aggressive;
    Load({std::string("1") + monster + "a....."}, 1, {{{1, 0}, heading}});
    Move(0, 1, 0);
    EXPECT_EQ(
        std::make_tuple(gMons.players[0].killed, gMons.players[0].caught, gMons.players[0].score,
                        Row(0, 0, 2), MonsAt(1, 0).flash, gMons.game.alive, events.gamesEnded),
        std::make_tuple(1, caught, 100 - 200 * caught, ".P", kFlashStart / 2, 1, 0))
        << monster << heading << aggressive;
  }
  // The last monster killed ends the level; in the turn game no monster step follows.
  gOptions.mons.realTime = 0;
  Load({"1b......"});
  Move(0, 1, 0);
  EXPECT_EQ(std::make_tuple(events.gamesEnded, gCom.k[gkMonsters].state, gMons.game.historyCount),
            std::make_tuple(1, gsGameEnded, 0u));
}

TEST_F(MonsRules, PlayerMoves) {
  // The player at (1, 1) between the row's squares, open below; his move, where he ends, and
  // the sound.
  const std::tuple<const char*, int, int, int, int, int> cases[] = {
      {":1$", 1, 0, 2, 1, 0},  {":1$", -1, 0, 0, 1, 0},  // money, earth
      {"#1>", 1, 0, 2, 1, 0},  {"#1<", 1, 0, 1, 1, 1},   // along a tunnel, against one
      {"#1G", 1, 0, 1, 1, 1},  {"O1A", 1, 0, 1, 1, 1},  {"O1g", 1, 0, 1, 1, 1},  // blocked
      {"x1#", -1, 0, 0, 1, 0},                          // players walk onto "No"
      {"#1.", 1, 1, 2, 1, 0},  {"#1#", 1, 1, 1, 2, 0},  // diagonal: across, else down
      {"#1>", 1, 1, 1, 2, 0},                           // never into a tunnel
  };
  for (const auto& [row, dx, dy, toX, toY, sound] : cases) {
    Load({"###", row, "#.#"});
    events.sounds.clear(), events.soundPositions.clear();
    Move(0, dx, dy);
    EXPECT_EQ(
        std::make_tuple(Pos(0), events.sounds, events.soundPositions),
        std::make_tuple(std::make_pair(toX, toY), std::vector<int>{sound}, std::vector<int>{1}))
        << row << " " << dx << "," << dy;
  }
  Load({"###", ":1$", "#.#"});
  Move(0, 1, 0);
  EXPECT_EQ(std::make_tuple(gMons.players[0].score, Row(1, 1, 2)), std::make_tuple(100, ".P"));
  // Through a tunnel and out: the tunnel stays.
  Load({"####", "1>..", "####"});
  Move(0, 1, 0);
  Move(0, 1, 0);
  EXPECT_EQ(Row(1, 0, 3), ".TP");
  // The field wraps.
  Load({"1..", "..."});
  MonsAt(31, 0).kind = mkNone;
  Move(0, -1, 0);
  EXPECT_EQ(Pos(0), std::make_pair(31, 0));
}

TEST_F(MonsRules, GatesBreedIntoTheLowestFreeSlot) {
  // a heads into the gate below it, which has open neighbours.
  LoadAndStep({"1......", "..a....", "..G.", "...."}, 1, {{{2, 1}, 3}});
  EXPECT_EQ(std::make_tuple(gMons.game.alive, gMons.game.bredPerType[0], gMons.monster[1].type,
                            gMons.monster[1].x, gMons.monster[1].y),
            std::make_tuple(2, 1, 0, 2, 2));
  EXPECT_EQ(std::make_tuple(Heading(1), MonsAt(2, 2).flash, Heading(0).second == 1),
            std::make_tuple(std::make_pair(0, 1), kFlashStart, false));  // the parent turned
  MonsMonsterStep();  // the child leaves the gate, which stays
  EXPECT_EQ(std::make_tuple(KindAt(2, 2), gMons.monster[1].y), std::make_tuple('G', 3));

  // No breeding with every neighbour taken, nor with every slot in use.
  LoadAndStep({"1.a.", "##G#", "#$#"}, 1, {{{2, 0}, 3}});
  EXPECT_EQ(gMons.game.alive, 1);
  Load({"1.a.", "#.G#", "#$#"}, 1, {{{2, 0}, 3}});
  gMons.game.slotsInUse = kMonsSlots;
  for (int s = 1; s < kMonsSlots; ++s) gMons.monster[s].type = kSlotGhost;
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.alive, 1);
  // A gate in column 0 whose only open neighbour lies across the border, in column 31.
  Load({"Ga#1", "##"});
  MonsAt(31, 0).kind = mkNone;
  MonsMonsterStep();
  EXPECT_EQ(gMons.game.bredPerType[0], 1);
}

TEST_F(MonsRules, GhostsAndTunnels) {
  LoadAndStep({"1.", ".g", "..", "2."}, 2);
  EXPECT_EQ(std::make_tuple(KindAt(1, 2), KindAt(1, 1)), std::make_tuple('g', '.'));
  LoadAndStep({"..", ".g", ".1"});
  EXPECT_EQ(std::make_tuple(gMons.players[0].caught, gMons.players[0].score, KindAt(1, 1)),
            std::make_tuple(1, -200, 'g'));
  // A ghost turns aside with a chance of 2 in 8 at every step, to its left or right alike,
  // never back.
  std::vector<std::string> open(16, std::string(32, '.'));
  open[0][0] = '1';
  open[5][5] = 'g';
  Load(open);
  int turns = 0;
  std::map<std::pair<int, int>, int> sides;  // heading before, right -1 or left +1: turns
  for (int i = 0; i < 800; ++i) {
    const auto [dx, dy] = Heading(0);
    MonsMonsterStep();
    const auto [ex, ey] = Heading(0);
    if (std::make_pair(ex, ey) == std::make_pair(dx, dy)) continue;
    ASSERT_EQ(std::make_pair(dx * ex + dy * ey, std::abs(ex) + std::abs(ey)), std::make_pair(0, 1));
    ++turns;
    ++sides[{dx + 2 * dy, dx * ey - dy * ex}];
  }
  EXPECT_TRUE(turns > 120 && turns < 280) << turns;
  EXPECT_EQ(sides.size(), 8u);  // each of four headings, to both sides

  // A monster enters a tunnel only along it and sits in it, leaving it as it is.
  LoadAndStep({"1.......", "...<a...", "........"});
  EXPECT_EQ(std::make_tuple(gMons.monster[0].x, Row(1, 3, 2)), std::make_tuple(3, "T."));
  MonsMonsterStep();
  EXPECT_EQ(std::make_tuple(gMons.monster[0].x, Row(1, 2, 2)), std::make_tuple(2, "MT"));
  LoadAndStep({"1.......", "...>a...", "........"});
  EXPECT_EQ(std::make_tuple(gMons.monster[0].x, Heading(0).first == -1), std::make_tuple(4, false));
}

// The turn game: order 0, 1, 1, 0, ..., the monsters after every n moves, a boxed-in
// player passed over, the move clock, and a field where nobody can move.
TEST_F(MonsRules, TurnGame) {
  gOptions.mons.realTime = 0;
  // Players; move by move, who moves and the monster steps after it.
  for (const auto& [players, expected] :
       {std::pair{1, "000000 123456"}, {2, "011001 011223"}, {3, "011220 011122"}}) {
    Load({"1.:::::::::", "2.:::::::::", "3.:::::::::", ".............", "::::::::::::a"}, players);
    std::string order, steps;
    for (int i = 0; i < 6; ++i) {
      order += char('0' + gMons.game.currentPlayer);
      Move(gMons.game.currentPlayer, 1, 0);
      steps += char('0' + gMons.game.historyCount);
    }
    EXPECT_EQ(order + " " + steps, expected);
  }
  // Player 2 boxed in is passed over; a money square next to him gives him his turn.
  for (char beside : {'#', '$'}) {
    Load({"1.::::", "#####.", std::string("2") + beside + "::::", "#####."}, 2);
    Move(0, 1, 0);
    EXPECT_EQ(gMons.game.currentPlayer, beside == '$' ? 1 : 0);
  }

  // The clock runs from the first move; thinking beyond the bonus time is overtime.
  gRequests[0] = {{1, 0}, {1, 0}};
  Load({"1.......", "......a."});
  RunUntil(200);
  ASSERT_TRUE(gMons.game.clockRunning);
  TKindState& s = gCom.k[gkMonsters];
  s.levelTime = gMons.game.moveStart + 2000;
  MonsStep();
  EXPECT_EQ(std::make_tuple(gMons.players[0].overtime, Pos(0).first), std::make_tuple(1500, 2));
  MonsStopClock();
  s.levelTime += 5000;
  MonsStep();
  EXPECT_EQ(gMons.players[0].moveTime, 2000);  // a stopped clock does not count on

  // Nobody can move: the game goes on, the monsters on their own clock.
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  Load({"1#", "##", "..a."});
  RunUntil(5000);
  EXPECT_EQ(std::make_tuple(gMons.game.historyCount >= 5, Pos(0).first), std::make_tuple(true, 0));
}

TEST_F(MonsRules, RealTimeDelaysAndModeSwitches) {
  gCom.player[0].ai = 1;
  SetMonsInputSource(nullptr);
  Load({"1.......", "........", ".......a"});
  RunUntil(1000);  // monster steps 500 ms apart with the lateness carried: one, at 504
  EXPECT_EQ(std::make_tuple(gMons.game.historyCount, gMons.game.lastMonsterStep),
            std::make_tuple(1u, 508u));
  // A long turn game, then real time again: the player moves within the keyboard delay.
  gOptions.mons.realTime = 0;
  MonsRealTimeChanged();
  EXPECT_EQ(gMons.game.currentPlayer, 0);
  gCom.k[gkMonsters].levelTime = 600000;
  gOptions.mons.realTime = 1;
  MonsRealTimeChanged();
  EXPECT_EQ(gMons.game.lastMonsterStep, 600500u);
  const std::pair<int, int> before = Pos(0);
  RunUntil(600400);
  EXPECT_NE(Pos(0), before);
  // An attempt every 150 ms with the lateness carried: five in 800 ms.
  SetMonsInputSource(&Scripted);
  gRequests[0] = Steps(10, {0, 1});
  RunUntil(gCom.k[gkMonsters].levelTime + 800);
  EXPECT_EQ(gRequests[0].size(), 5u);
  gOptions.mons.monstersDelay = 2000;
  MonsDelayChanged();
  EXPECT_EQ(gMons.game.lastMonsterStep, gCom.k[gkMonsters].levelTime + 2000);
}

TEST_F(MonsRules, TimeAdjustedScoreAndHistoryStayInRange) {
  // Both players' overtime, player 2's move time, the moves; the time scores of 100 and 50.
  const int32_t cases[][6] = {
      {2000, 0, 0, 5, 100, 50 + 2000 - 1000},
      {2000000000, 1, 0, 5, 100, INT32_MAX},  // no overflow, clamped
      {1000, 1000, 1000, 5, 100 + 1000, 50},  // the current player's move counts
      {1000, 1000, 1000, 4, 100, 50},         // too early: the plain score
  };
  for (const auto& [overtime0, overtime1, moveTime1, moves, score0, score1] : cases) {
    Load({"1.2.", "....", "a..."}, 2);
    gMons.game.moveCounter = moves, gMons.game.currentPlayer = 1;
    gMons.players[0].score = 100, gMons.players[0].overtime = overtime0;
    gMons.players[1].score = 50, gMons.players[1].overtime = overtime1;
    gMons.players[1].moveTime = moveTime1;
    ComputeMonsTimeScores();
    EXPECT_EQ(std::make_pair(gMons.players[0].timeScore, gMons.players[1].timeScore),
              std::make_pair(score0, score1))
        << overtime0 << " " << moves;
  }
  // The history keeps its first entries, and running extremes of the players taking part.
  Load({"1.2.", "####", "a###"}, 2);
  gMons.players[2].score = -99999;
  for (int i = 0; i < kMonsHistoryKept + 10; ++i) {
    gMons.players[0].score = i == kMonsHistoryKept + 4 ? -500 : i;
    MonsMonsterStep();
  }
  EXPECT_EQ(std::make_tuple(gMons.game.historyCount, gMons.history[kMonsHistoryKept - 1].score[0],
                            gMons.game.historyMin[0], gMons.game.historyMax[0]),
            std::make_tuple(uint32_t(kMonsHistoryKept + 10), kMonsHistoryKept - 1, -500,
                            kMonsHistoryKept + 9));
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
  Load({"....", ".1..", "...."});
  const uint16_t* keys = gCom.keyMap[0];
  // Controls held on the first mapping, and the request.
  const std::pair<std::vector<int>, std::pair<int, int>> cases[] = {
      {{ctLeft}, {-1, 0}},
      {{ctLeft, ctRight}, {0, 0}},
      {{ctLeft, ctUp}, {-1, -1}},
      {{ctDown, ctFire1}, {0, 1}},
      {{ctUp, ctDown, ctRight}, {1, 0}}};
  gCom.player[0].input = piKeyboard1;
  for (const auto& [controls, request] : cases) {
    for (int k = 0; k < kKeysPerMap; ++k) platform.ReleaseKey(keys[k]);
    for (int k : controls) platform.PressKey(keys[k]);
    // Pressed, with "Bios Keyboard"; then held: without it only.
    for (int read = 0; read < 3; ++read) {
      gOptions.mons.biosKeyboard = read != 1;
      CaptureInput();
      MonsReadInput(0);
      EXPECT_EQ(Request(0), read == 2 ? std::make_pair(0, 0) : request) << read;
    }
    gOptions.mons.biosKeyboard = 0;
  }
  gCom.player[0].input = piJoystick;
  platform.pad = 1u << ctDown;
  CaptureInput();
  MonsReadInput(0);
  EXPECT_EQ(Request(0), std::make_pair(0, 1));

  // The pointer, the request and the cursor shape; the player's centre is (30, 30).
  const int pointers[][5] = {{60, 35, 1, 0, 2}, {35, 0, 0, -1, 3}, {30, 45, 0, 1, 4},
                             {0, 0, -1, 0, 1},  {39, 21, 0, 0, 0}, {30, 30, 0, 0, 0},
                             {41, 30, 1, 0, 2}, {40, 30, 0, 0, 0}};
  gCom.player[0].input = piMouse;
  for (const auto& [x, y, dx, dy, shape] : pointers) {
    gCom.mouseX = x, gCom.mouseY = y;
    CaptureInput();
    MonsReadInput(0);
    EXPECT_EQ(std::make_tuple(Request(0), int(gCom.cursorShape)),
              std::make_tuple(std::make_pair(dx, dy), shape))
        << x << "," << y;
  }
  SetPlatform(nullptr);
}

}  // namespace
}  // namespace kelvra
