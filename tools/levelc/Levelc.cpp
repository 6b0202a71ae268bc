// kelvra-levelc: compiles the readable text source of a level set into a level-set file,
// using the same writer as the editor's Save.
//
// Usage: kelvra-levelc SOURCE OUTPUT
//
// Source format (one item per line; lines whose first non-blank character is '#' and blank
// lines are ignored, except inside a grid):
//
//   kind: Brickfall | Monsters | Burrower    (first item of every source)
//   description: text                        (up to 63 characters)
//   final: text                              (final message, up to 63 characters)
//   level [name]                             starts a level; Monsters levels take a name
//                                            of up to 31 characters, the others none
//
// Brickfall, after "level" (a new level: fill background, background effect 16):
//   wall X Y SHAPE COLOUR BONUS              one wall; X 0..511, Y 0..383 (pixels of the
//                                            top-left corner), SHAPE 0..15, COLOUR 0..5 or
//                                            Red Orange Yellow Lime Aqua White, BONUS 0..26
//   row X Y COUNT STEP SHAPE COLOUR BONUS    COUNT walls from (X, Y), STEP pixels apart
//   set FIELD VALUE                          a level field: stars rain snow smallSnow bubble
//                                            fire water smoke points enemy lighting
//                                            rightIsLeft bottomIsTop rightBottomIsLeftTop
//                                            (0 or 1), earthquake gravity (0..16),
//                                            backgroundKind (1 fill, 3 texture, 4 picture),
//                                            backgroundColour (0xBBGGRR), backgroundPicture
//                                            (file name, rest of the line), backgroundTexture
//                                            (0..9), maxWind (0..127), backgroundEffect (0..22)
//
// Monsters, after "level NAME": 16 lines of 32 characters, row 0 first, one per square:
//   .  None        :  Earth      #  Wall       G  Gate       $  Money      O  Pit
//   x  No          g  Ghost      1..4  Player 1..4           A..D  House of player 1..4
//   <  v  >  ^     Tunnel with direction Left, Down, Right, Up (the editor's labels; "Down"
//                  is the step toward row 0)
//   a..f           Monster of type 0..5, heading Left unless a "dir" line says otherwise
// then any number of
//   dir X Y Left|Down|Right|Up               the direction of the monster at column X, row Y
//
// Burrower, after "level": 12 lines of 23 characters, row 0 first, one per square:
//   .  None    :  Earth    #  Wall    *  Fruit    @  Apple    B  Brooder    P  Player
// (at most 64 fruit, 32 apples, 8 brooders and 5 players per level)
//
// A bad source gets "file:line: message" on standard error and exit code 1. The output is
// the same bytes for the same source: save counter 1, editing time 0, a fixed save date.
#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"
#include "session/Dispatch.h"

namespace kelvra {
namespace {

// 1 January 2025, 00:00, in days since 30 December 1899: the save date of every output.
constexpr double kFixedSaveDate = 45658.0;

struct SourceError {
  int line;
  std::string message;
};

[[noreturn]] void Fail(int line, const std::string& message) {
  throw SourceError{line, message};
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

// Decimal, or hexadecimal after "0x"; the value must lie in lo..hi.
int64_t Number(int line, const std::string& text, int64_t lo, int64_t hi, const char* what) {
  const char* s = text.c_str();
  bool negative = *s == '-';
  if (negative) ++s;
  int base = 10;
  if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s += 2;
  }
  if (*s == '\0' || std::strlen(s) > 12)
    Fail(line, std::string("bad number for ") + what + ": " + text);
  int64_t v = 0;
  for (; *s; ++s) {
    int d = std::isdigit(uint8_t(*s))                  ? *s - '0'
            : base == 16 && std::isxdigit(uint8_t(*s)) ? std::tolower(uint8_t(*s)) - 'a' + 10
                                                       : -1;
    if (d < 0) Fail(line, std::string("bad number for ") + what + ": " + text);
    v = v * base + d;
  }
  if (negative) v = -v;
  if (v < lo || v > hi)
    Fail(line, std::string(what) + " " + text + " is outside " + std::to_string(lo) + ".." +
                   std::to_string(hi));
  return v;
}

const char* const kColourNames[6] = {"Red", "Orange", "Yellow", "Lime", "Aqua", "White"};

uint8_t WallColour(int line, const std::string& text) {
  for (int c = 0; c < 6; ++c) {
    if (text == kColourNames[c]) return uint8_t(c);
  }
  return uint8_t(Number(line, text, 0, 5, "colour"));
}

// ---------------------------------------------------------------------------------------
// Brickfall

void BrickWall(int line, TLevel& level, int64_t x, int64_t y, const std::string& shape,
               const std::string& colour, const std::string& bonus) {
  if (x < 0 || x > 511 || y < 0 || y > 383)
    Fail(line, "wall at (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") lies outside the 512 x 384 field");
  TWalls& walls = level.Walls();
  if (walls.size() >= size_t(kMaxWalls))
    Fail(line, "more than " + std::to_string(kMaxWalls) + " walls in one level");
  TWall w{};
  w.x = int32_t(x);
  w.y = int32_t(y);
  w.shape = uint16_t(Number(line, shape, 0, 15, "shape"));
  w.colour = WallColour(line, colour);
  w.bonus = uint8_t(Number(line, bonus, 0, kBonusKinds - 1, "bonus"));
  walls.push_back(w);
}

void BrickSet(int line, TLevel& level, const std::string& rest) {
  std::vector<std::string> w = Words(rest);
  if (w.size() < 2) Fail(line, "expected: set FIELD VALUE");
  const std::string& field = w[0];
  TLevelFields& f = level.f;
  struct Flag {
    const char* name;
    uint8_t* field;
  };
  const Flag flags[] = {
      {"stars", &f.stars},
      {"rain", &f.rain},
      {"snow", &f.snow},
      {"smallSnow", &f.smallSnow},
      {"bubble", &f.bubble},
      {"fire", &f.fire},
      {"water", &f.water},
      {"smoke", &f.smoke},
      {"points", &f.points},
      {"enemy", &f.enemy},
      {"lighting", &f.lighting},
      {"rightIsLeft", &f.rightIsLeft},
      {"bottomIsTop", &f.bottomIsTop},
      {"rightBottomIsLeftTop", &f.rightBottomIsLeftTop},
  };
  for (const Flag& fl : flags) {
    if (field == fl.name) {
      *fl.field = Number(line, w[1], 0, 1, fl.name) ? 255 : 0;  // the editor writes 255
      return;
    }
  }
  if (field == "backgroundPicture") {
    std::string name = Trim(rest.substr(rest.find(field) + field.size()));
    if (name.size() > 95) Fail(line, "background picture name longer than 95 characters");
    SetShortString(f.backgroundPicture, sizeof f.backgroundPicture, name);
    return;
  }
  if (w.size() != 2) Fail(line, "expected: set FIELD VALUE");
  if (field == "earthquake") {
    f.earthquake = int32_t(Number(line, w[1], 0, 16, "earthquake"));
  } else if (field == "gravity") {
    f.gravity = int32_t(Number(line, w[1], 0, 16, "gravity"));
  } else if (field == "backgroundKind") {
    int64_t k = Number(line, w[1], 1, 4, "backgroundKind");
    if (k == 2) Fail(line, "backgroundKind must be 1 (fill), 3 (texture) or 4 (picture)");
    f.backgroundKind = uint8_t(k);
  } else if (field == "backgroundColour") {
    f.backgroundColour = uint32_t(Number(line, w[1], 0, 0xFFFFFF, "backgroundColour"));
  } else if (field == "backgroundTexture") {
    f.backgroundTexture = int32_t(Number(line, w[1], 0, 9, "backgroundTexture"));
  } else if (field == "maxWind") {
    f.maxWind = int32_t(Number(line, w[1], 0, 127, "maxWind"));
  } else if (field == "backgroundEffect") {
    f.backgroundEffect = uint8_t(Number(line, w[1], 0, 22, "backgroundEffect"));
  } else {
    Fail(line, "unknown level field \"" + field + "\"");
  }
}

void BrickLine(int line, const std::string& text) {
  std::vector<std::string> w = Words(text);
  if (gBrickLevels.empty()) Fail(line, "\"" + w[0] + "\" before the first \"level\"");
  TLevel& level = gBrickLevels.back();
  if (w[0] == "wall") {
    if (w.size() != 6) Fail(line, "expected: wall X Y SHAPE COLOUR BONUS");
    BrickWall(line, level, Number(line, w[1], -1000000, 1000000, "x"),
              Number(line, w[2], -1000000, 1000000, "y"), w[3], w[4], w[5]);
  } else if (w[0] == "row") {
    if (w.size() != 8) Fail(line, "expected: row X Y COUNT STEP SHAPE COLOUR BONUS");
    int64_t x = Number(line, w[1], 0, 511, "x"), y = Number(line, w[2], 0, 383, "y");
    int64_t count = Number(line, w[3], 1, 512, "count");
    int64_t step = Number(line, w[4], -512, 512, "step");
    for (int64_t i = 0; i < count; ++i) BrickWall(line, level, x + i * step, y, w[5], w[6], w[7]);
  } else if (w[0] == "set") {
    BrickSet(line, level, Trim(text.substr(3)));
  } else {
    Fail(line, "unknown Brickfall item \"" + w[0] + "\"");
  }
}

// ---------------------------------------------------------------------------------------
// Grid kinds

// Direction codes by the editor's labels.
int DirectionCode(const std::string& s) {
  const char* const names[4] = {"Left", "Down", "Right", "Up"};
  for (int d = 0; d < 4; ++d) {
    if (s == names[d]) return d;
  }
  return -1;
}

// One Monsters square {kind, variant, direction} from its source character.
bool MonsSquare(char c, uint8_t sq[3]) {
  sq[0] = sq[1] = sq[2] = 0;
  switch (c) {
    case '.':
      sq[0] = 0;
      return true;
    case ':':
      sq[0] = 1;
      return true;
    case 'G':
      sq[0] = 2;
      return true;
    case '#':
      sq[0] = 3;
      return true;
    case '$':
      sq[0] = 4;
      return true;
    case '<':
      sq[0] = 5;
      sq[2] = 0;
      return true;
    case 'v':
      sq[0] = 5;
      sq[2] = 1;
      return true;
    case '>':
      sq[0] = 5;
      sq[2] = 2;
      return true;
    case '^':
      sq[0] = 5;
      sq[2] = 3;
      return true;
    case 'O':
      sq[0] = 6;
      return true;
    case 'g':
      sq[0] = 10;
      return true;
    case 'x':
      sq[0] = 11;
      return true;
    default:
      break;
  }
  if (c >= '1' && c <= '4') {
    sq[0] = 7;
    sq[1] = uint8_t(c - '1');
    return true;
  }
  if (c >= 'A' && c <= 'D') {
    sq[0] = 8;
    sq[1] = uint8_t(c - 'A');
    return true;
  }
  if (c >= 'a' && c <= 'f') {
    sq[0] = 9;
    sq[1] = uint8_t(c - 'a');
    return true;
  }
  return false;
}

bool BurrSquare(char c, uint8_t& code) {
  const char* const chars = ".:#*@BP";  // in code order 0..6
  const char* p = c ? std::strchr(chars, c) : nullptr;
  if (!p) return false;
  code = uint8_t(p - chars);
  return true;
}

void MonsGridRow(int line, int row, const std::string& text) {
  if (int(text.size()) != kMonsCols)
    Fail(line, "Monsters grid row " + std::to_string(row) + " has " + std::to_string(text.size()) +
                   " squares, expected " + std::to_string(kMonsCols));
  TMonsGrid& grid = gMonsLevels.back().Grid();
  for (int x = 0; x < kMonsCols; ++x) {
    uint8_t sq[3];
    if (!MonsSquare(text[x], sq))
      Fail(line,
           std::string("unknown Monsters square '") + text[x] + "' in column " + std::to_string(x));
    std::memcpy(&grid[(x * kMonsRows + row) * 3], sq, 3);
  }
}

void MonsCheckLevel(int line, const TMonsLevel& level) {
  int players[4] = {};
  const TMonsGrid& grid = level.Grid();
  for (int i = 0; i < kMonsCols * kMonsRows; ++i) {
    if (grid[i * 3] == 7) ++players[grid[i * 3 + 1]];
  }
  for (int p = 0; p < 4; ++p) {
    if (players[p] > 1)
      Fail(line, "player " + std::to_string(p + 1) + " stands on more than one square");
  }
  if (players[0] == 0) Fail(line, "level has no square for player 1");
}

void MonsDir(int line, const std::string& text) {
  std::vector<std::string> w = Words(text);
  if (w.size() != 4) Fail(line, "expected: dir X Y Left|Down|Right|Up");
  int x = int(Number(line, w[1], 0, kMonsCols - 1, "column"));
  int y = int(Number(line, w[2], 0, kMonsRows - 1, "row"));
  int d = DirectionCode(w[3]);
  if (d < 0) Fail(line, "direction must be Left, Down, Right or Up");
  uint8_t* sq = &gMonsLevels.back().Grid()[(x * kMonsRows + y) * 3];
  if (sq[0] != 9) Fail(line, "no monster at column " + w[1] + ", row " + w[2]);
  sq[2] = uint8_t(d);
}

void BurrGridRow(int line, int row, const std::string& text) {
  if (int(text.size()) != kBurrCols)
    Fail(line, "Burrower grid row " + std::to_string(row) + " has " + std::to_string(text.size()) +
                   " squares, expected " + std::to_string(kBurrCols));
  TBurrRecord& rec = gBurrLevels.back().Record();
  for (int x = 0; x < kBurrCols; ++x) {
    uint8_t code;
    if (!BurrSquare(text[x], code))
      Fail(line,
           std::string("unknown Burrower square '") + text[x] + "' in column " + std::to_string(x));
    rec[x * kBurrRows + row] = code;
  }
}

void BurrCheckLevel(int line, const TBurrLevel& level) {
  int count[7] = {};
  for (uint8_t code : level.Record()) ++count[code];
  if (count[bsFruit] > 64) Fail(line, "more than 64 fruit in one level");
  if (count[bsApple] > 32) Fail(line, "more than 32 apples in one level");
  if (count[bsBrooder] > 8) Fail(line, "more than 8 brooders in one level");
  if (count[bsPlayer] > 5) Fail(line, "more than 5 player squares in one level");
  if (count[bsPlayer] == 0) Fail(line, "level has no player square");
}

// ---------------------------------------------------------------------------------------

int KindFromName(const std::string& name) {
  for (int k = 0; k < kKinds; ++k) {
    if (name == KindName(k)) return k;
  }
  return -1;
}

// Fills the level list of the source's kind and its header texts; returns the kind.
int Compile(std::istream& in) {
  int kind = -1;
  int gridRows = 0;   // rows of the grid still expected
  int gridRow = 0;    // next row of the grid
  int levelLine = 0;  // line of the current level's "level" item
  auto finishLevel = [&](int line) {
    if (gridRows > 0)
      Fail(line, "grid of the level begun on line " + std::to_string(levelLine) + " has only " +
                     std::to_string(gridRow) + " rows");
    if (kind == gkBrickfall && !gBrickLevels.empty() && gBrickLevels.back().Walls().empty())
      Fail(levelLine, "level has no walls");
    if (kind == gkMonsters && !gMonsLevels.empty()) MonsCheckLevel(levelLine, gMonsLevels.back());
    if (kind == gkBurrower && !gBurrLevels.empty()) BurrCheckLevel(levelLine, gBurrLevels.back());
  };

  std::string raw;
  int line = 0;
  while (std::getline(in, raw)) {
    ++line;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (gridRows > 0) {
      std::string row = Trim(raw);
      if (kind == gkMonsters)
        MonsGridRow(line, gridRow, row);
      else
        BurrGridRow(line, gridRow, row);
      ++gridRow;
      --gridRows;
      continue;
    }
    std::string text = Trim(raw);
    if (text.empty() || text[0] == '#') continue;
    std::vector<std::string> w = Words(text);

    size_t colon = text.find(':');
    std::string head = colon == std::string::npos ? std::string() : Trim(text.substr(0, colon));
    std::string value = colon == std::string::npos ? std::string() : Trim(text.substr(colon + 1));
    if (head == "kind") {
      if (kind >= 0) Fail(line, "the kind is given twice");
      kind = KindFromName(value);
      if (kind < 0) Fail(line, "kind must be Brickfall, Monsters or Burrower");
      continue;
    }
    if (kind < 0) Fail(line, "the source must begin with \"kind: Brickfall|Monsters|Burrower\"");
    TLevelSetHeader& header = gCom.k[kind].header;
    if (head == "description" || head == "final") {
      if (value.size() > 63) Fail(line, head + " is longer than 63 characters");
      if (head == "description")
        SetShortString(header.description, 64, value);
      else
        SetShortString(header.finalMessage, 64, value);
      continue;
    }

    if (w[0] == "level") {
      finishLevel(line);
      levelLine = line;
      std::string name = Trim(text.substr(5));
      size_t count = kind == gkBrickfall  ? gBrickLevels.size()
                     : kind == gkMonsters ? gMonsLevels.size()
                                          : gBurrLevels.size();
      if (count >= size_t(kMaxLevels))
        Fail(line, "more than " + std::to_string(kMaxLevels) + " levels");
      if (kind == gkMonsters) {
        if (name.size() > 31) Fail(line, "level name longer than 31 characters");
        gMonsLevels.emplace_back();
        NewMonsLevel(gMonsLevels.back());
        SetShortString(gMonsLevels.back().name, kMonsNameBytes, name);
        gridRows = kMonsRows;
      } else {
        if (!name.empty()) Fail(line, std::string(KindName(kind)) + " levels have no name");
        if (kind == gkBrickfall) {
          gBrickLevels.emplace_back();
          NewBrickLevel(gBrickLevels.back());
        } else {
          gBurrLevels.emplace_back();
          NewBurrLevel(gBurrLevels.back());
          gridRows = kBurrRows;
        }
      }
      gridRow = 0;
      continue;
    }
    if (kind == gkBrickfall) {
      BrickLine(line, text);
    } else if (kind == gkMonsters && w[0] == "dir") {
      if (gMonsLevels.empty()) Fail(line, "\"dir\" before the first \"level\"");
      MonsDir(line, text);
    } else {
      Fail(line, "unknown item \"" + w[0] + "\"");
    }
  }
  if (kind < 0) Fail(line, "empty source: no \"kind\" line");
  finishLevel(line);
  size_t count = kind == gkBrickfall  ? gBrickLevels.size()
                 : kind == gkMonsters ? gMonsLevels.size()
                                      : gBurrLevels.size();
  if (count == 0) Fail(line, "the source holds no level");
  return kind;
}

int Main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kelvra-levelc SOURCE OUTPUT\n");
    return 2;
  }
  const std::string source = argv[1], output = argv[2];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot open: %s\n", source.c_str(), std::strerror(errno));
    return 1;
  }

  ResetCom();
  gBrickLevels.clear();
  gMonsLevels.clear();
  gBurrLevels.clear();
  int kind;
  try {
    kind = Compile(in);
  } catch (const SourceError& e) {
    std::fprintf(stderr, "%s:%d: %s\n", source.c_str(), e.line, e.message.c_str());
    return 1;
  }

  std::string ext = ExtractFileExt(output);
  for (int k = 0; k < kKinds; ++k) {
    if (k != kind && strcasecmp(ext.c_str(), KindExtension(k)) == 0) {
      std::fprintf(stderr, "%s: a %s level set cannot be written to a .%s file\n", output.c_str(),
                   KindName(kind), ext.c_str());
      return 1;
    }
  }

  HeadlessPlatform platform;
  platform.dateTime = kFixedSaveDate;
  platform.echo = &std::cerr;  // a failed save shows its file error on standard error
  InstallGames();
  SetPlatform(&platform);
  gCom.kind = uint8_t(kind);
  TKindState& s = gCom.k[kind];
  s.origin = loNew;
  s.modified = 0;  // no editing period: editing time stays 0
  s.header.saveCounter = 0;
  s.header.editingTime = 0;

  std::error_code ec;
  std::filesystem::path parent = std::filesystem::path(output).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  bool saved = SaveLevelSet(gCom.kind, output);
  SetPlatform(nullptr);
  if (!saved) {
    std::fprintf(stderr, "%s: the level set could not be written\n", output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kelvra

int main(int argc, char** argv) {
  return kelvra::Main(argc, argv);
}
