// kelvra-cli commands on level-set files, run with the headless services: every dialog
// prints its text to standard error and is answered as a user who gives up on file errors
// and chooses Ignore on the version question.
#include "Commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Dispatch.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/Paths.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"

namespace kelvra {

namespace {

const char* const kUsage =
    "usage: kelvra-cli COMMAND [ARGUMENTS]\n"
    "commands:\n"
    "  info FILE   describe a level-set file (.BrL, .MoL, .BuL)\n"
    "  render FILE [--level N] --out PICTURE\n"
    "              draw the frame the program shows for level N (from 1) of the set\n"
    "              into a .bmp (or .jpg) picture\n";

// The kind of a level-set file: by its magic, else by its extension, else Brickfall.
int GuessKind(const std::string& file) {
  char magic[4] = {};
  std::ifstream in(file, std::ios::binary);
  in.read(magic, 4);
  if (in.gcount() == 4) {
    for (int k = 0; k < kKinds; ++k)
      if (std::memcmp(magic, KindMagic(k), 4) == 0) return k;
    if (std::memcmp(magic, "BLvs", 4) == 0) return gkBrickfall;
  }
  std::string ext = ExtractFileExt(file);
  for (int k = 0; k < kKinds; ++k)
    if (strcasecmp(ext.c_str(), KindExtension(k)) == 0) return k;
  return gkBrickfall;
}

std::string Flags(const TLevelFields& f) {
  struct Flag {
    uint8_t value;
    const char* name;
  };
  const Flag flags[] = {{f.stars, "stars"},
                        {f.rain, "rain"},
                        {f.snow, "snow"},
                        {f.smallSnow, "small-snow"},
                        {f.bubble, "bubbles"},
                        {f.fire, "fire"},
                        {f.water, "water"},
                        {f.smoke, "smoke"},
                        {f.points, "points"},
                        {f.enemy, "enemies"},
                        {f.lighting, "lighting"},
                        {f.rightIsLeft, "mirror-x"},
                        {f.bottomIsTop, "mirror-y"},
                        {f.rightBottomIsLeftTop, "mirror-xy"}};
  std::string s;
  for (const Flag& flag : flags)
    if (flag.value) s += std::string(s.empty() ? "" : " ") + flag.name;
  return s.empty() ? "none" : s;
}

}  // namespace

int InfoCommand(const std::string& file, std::ostream& out) {
  HeadlessPlatform platform;
  platform.echo = true;
  SetPlatform(&platform);
  ResetCom();
  gCom.kind = uint8_t(GuessKind(file));
  const bool loaded = LoadLevelSet(file);
  SetPlatform(nullptr);
  if (!loaded) return 1;

  const int k = gCom.kind;
  const TLevelSetHeader& h = Cur().header;
  const int levels = KindLevelCount(k);
  out << "kind: " << KindName(k) << "\n"
      << "version: " << h.version << "\n"
      << "levels: " << levels << "\n"
      << "locked: " << (h.lock == kLocked ? "yes" : "no") << "\n"
      << "description: " << GetShortString(h.description, 64) << "\n"
      << "final message: " << GetShortString(h.finalMessage, 64) << "\n"
      << "save counter: " << h.saveCounter << "\n";
  for (int i = 0; i < levels; ++i) {
    out << "level " << i + 1 << ": ";
    switch (k) {
      case gkBrickfall: {
        const TLevel& level = gBrickLevels[i];
        out << "walls " << level.Walls().size() << ", flags " << Flags(level.f);
        break;
      }
      case gkMonsters:
        out << "name \"" << GetShortString(gMonsLevels[i].name, kMonsNameBytes) << "\"";
        break;
      case gkBurrower:
        out << "level " << i + 1;
        break;
    }
    out << "\n";
  }
  return 0;
}

int RenderCommand(const std::string& file, int level, const std::string& picture,
                  std::ostream& err) {
  HeadlessPlatform platform;
  platform.echo = true;
  platform.numberAnswers.push_back(90);  // "JPEG Quality" when the picture is a JPEG
  SetPlatform(&platform);
  ResetCom();
  gCom.kind = uint8_t(GuessKind(file));
  bool ok = LoadLevelSet(file);
  const int k = gCom.kind;
  if (ok && (level < 1 || level > KindLevelCount(k))) {
    err << "kelvra-cli: the set has " << KindLevelCount(k) << " levels, not a level " << level
        << "\n";
    ok = false;
  }
  if (ok) {
    TKBitmap frame(640, 440);
    gCom.frame = &frame;
    gCom.mouseX = gCom.mouseY = -1;  // no pointer in the field
    LoadSharedImages();
    Cur().levelIndex = level - 1;
    KindInitKind(k);
    Cur().initialised = 1;
    KindShowLevel(k);
    KindActivateKind(k);
    DrawOverlay(frame);
    ok = SaveToFile(frame, picture);
    gCom.frame = nullptr;
    FreeSharedImages();
  }
  KindFreeLevelSet(k);
  SetPlatform(nullptr);
  return ok ? 0 : 1;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && args[0] == "info") return InfoCommand(args[1], out);
  if (!args.empty() && args[0] == "render") {
    std::string file, picture;
    int level = 1;
    bool bad = false;
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--level" && i + 1 < args.size()) {
        char* end = nullptr;
        long v = std::strtol(args[++i].c_str(), &end, 10);
        if (!end || *end || v < 1 || v > 256) bad = true;
        level = int(v);
      } else if (args[i] == "--out" && i + 1 < args.size()) {
        picture = args[++i];
      } else if (file.empty() && args[i].rfind("--", 0) != 0) {
        file = args[i];
      } else {
        bad = true;
      }
    }
    if (!bad && !file.empty() && !picture.empty()) return RenderCommand(file, level, picture, err);
    err << "kelvra-cli: render needs a level-set file, --out PICTURE and optionally --level N"
           " (1..256)\n"
        << kUsage;
    return 2;
  }
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return 0;
  }
  if (args.empty())
    err << "kelvra-cli: no command given\n";
  else if (args[0] == "info")
    err << "kelvra-cli: info takes exactly one file name\n";
  else
    err << "kelvra-cli: unknown command \"" << args[0] << "\"\n";
  err << kUsage;
  return 2;
}

}  // namespace kelvra
