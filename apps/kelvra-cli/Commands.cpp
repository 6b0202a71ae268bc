// kelvra-cli commands on level-set files, run with the headless services: every message
// and file error is printed once to the error stream, and answered as a user who gives up
// on file errors and chooses Ignore on the version question.
#include "Commands.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/GameDigest.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"
#include "media/Mixer.h"
#include "monsters/MonsGame.h"
#include "monsters/MonsLevel.h"
#include "monsters/MonsState.h"
#include "platform/Headless.h"
#include "session/BrickScenes.h"
#include "session/BurrScenes.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"
#include "session/MonsScenes.h"
#include "session/ReplayGame.h"

namespace kelvra {

namespace {

constexpr const char* kName = "kelvra-cli: ";  // before every message on the error stream

const char* const kUsage =
    "usage: kelvra-cli COMMAND [ARGUMENTS]\n"
    "commands (levels are counted from 1):\n"
    "  info FILE   describe a level-set file (.BrL, .MoL, .BuL)\n"
    "  render FILE [--level N] --out PICTURE\n"
    "              draw the frame the program shows for level N (default 1) of the set;\n"
    "              the extension of PICTURE names its format: .bmp, .jpg (.jpeg) or .png\n"
    "  play FILE (--steps N | --until-end [--one-level] [--max-steps N])\n"
    "       [--players N] [--ai LIST] [--seed S] [--level N] [--mirror] [--turn]\n"
    "       [--no-enemies] [--frames DIR [--every K]] [--sound-out WAVE] [--record FILE]\n"
    "              play the set without a window: from its start, or with --level only\n"
    "              level N, as \"Test Level\" does (--one-level: stop when a level is\n"
    "              done; --turn: the Monsters turn game; --no-enemies: Burrower's\n"
    "              brooders hatch nothing; --frames: a .bmp every K steps);\n"
    "              a Monsters game first prints moves=N, the monster steps made;\n"
    "              the last line is\n"
    "              state=STATE level=N steps=N scores=S1,... digest=HEX16\n"
    "              (--record: the game is also written as a replay)\n"
    "  replay FILE play a replay and check it against its digests; the last line is\n"
    "              play's; exit code 4 when the game diverged from the recording\n"
    "  bench [--quick]\n"
    "              game steps per second on a typical and a worst-case field, and\n"
    "              composed frames per second\n"
    "  --help      this text\n"
    "  --version   the program's version\n";

// The headless services of a command: what a dialog would have shown goes to `err`.
void EchoTo(HeadlessPlatform& platform, std::ostream& err) {
  platform.echo = &err;
  platform.echoPrefix = kName;
}

// Loads `file` as the level set of its kind, which becomes current; a failure has been
// reported by the file error dialog.
bool LoadSet(const std::string& file) {
  ResetCom();
  gCom.kind = uint8_t(GuessKind(file));
  return LoadLevelSet(gCom.kind, file);
}

// The picture formats render writes, by extension.
enum class TPictureFormat { Bmp, Jpeg, Png, Unknown };
constexpr int kJpegQuality = 90;  // the program's own default
constexpr const char* kUnknownFormat = ": unknown picture format; name a .bmp, .jpg or .png file\n";

TPictureFormat PictureFormat(const std::string& file) {
  std::string ext = ExtractFileExt(file);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "bmp") return TPictureFormat::Bmp;
  if (ext == "jpg" || ext == "jpeg") return TPictureFormat::Jpeg;
  if (ext == "png") return TPictureFormat::Png;
  return TPictureFormat::Unknown;
}

// Writes the picture in the format its name gives, atomically; false with the reason on
// `err`. Nothing is asked: a JPEG gets the program's default quality.
bool WritePicture(const TKBitmap& picture, const std::string& file, std::ostream& err) {
  std::vector<uint8_t> data;
  switch (PictureFormat(file)) {
    case TPictureFormat::Bmp:
      data = EncodeBmp(picture);
      break;
    case TPictureFormat::Jpeg:
      if (!EncodeJpeg(picture, kJpegQuality, data)) {
        err << kName << file << ": the picture could not be encoded as JPEG\n";
        return false;
      }
      break;
    case TPictureFormat::Png:
      data = EncodePng(picture);
      break;
    case TPictureFormat::Unknown:
      err << kName << file << kUnknownFormat;
      return false;
  }
  AtomicFileWriter writer;
  writer.Write(data.data(), data.size());
  FileFault fault;
  if (writer.Commit(file, fault)) return true;
  err << kName << file << ": "
      << (fault.code              ? IOErrorMessage(fault.code)
          : fault.message.empty() ? "cannot be written"
                                  : fault.message)
      << "\n";
  return false;
}

// A whole decimal number in min..max; false for anything else (signs, blanks, overflow).
bool ParseNumber(const std::string& text, int64_t min, int64_t max, int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < min || v > max) return false;
  value = v;
  return true;
}

// "--ai": "all", "none", or 1-based player numbers separated by commas ("1,3").
bool ParseAiList(const std::string& text, uint32_t& mask) {
  if (text == "all") {
    mask = (1u << kPlayers) - 1;
    return true;
  }
  if (text == "none") {
    mask = 0;
    return true;
  }
  uint32_t m = 0;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    int64_t player = 0;
    if (!ParseNumber(item, 1, kPlayers, player)) return false;
    m |= 1u << (player - 1);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  mask = m;
  return true;
}

// A wave file written as it grows: 16-bit PCM, the sizes filled in when it is finished.
// It is written under a temporary name and renamed over the target at the end, so a failed
// run leaves no half-written wave behind.
class TWaveOut {
 public:
  ~TWaveOut() {
    if (file_) {
      std::fclose(file_);
      std::remove(temp_.c_str());
    }
  }
  bool Open(const std::string& path, int rate, int channels) {
    path_ = path;
    temp_ = path + ".tmp";
    channels_ = channels;
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_) return false;
    uint8_t header[44] = {};
    std::memcpy(header, "RIFF", 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    Put32(header + 16, 16);
    Put16(header + 20, 1);  // PCM
    Put16(header + 22, uint16_t(channels));
    Put32(header + 24, uint32_t(rate));
    Put32(header + 28, uint32_t(rate * channels * 2));
    Put16(header + 32, uint16_t(channels * 2));
    Put16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    return std::fwrite(header, 1, 44, file_) == 44;
  }
  // Appends whole frames; false on a write error. Frames beyond what a wave's 32-bit sizes
  // can hold are dropped (`full` tells).
  bool Append(const int16_t* samples, int frames) {
    const uint64_t bytesPerFrame = uint64_t(channels_) * 2;
    const uint64_t room = (kMaxData - dataBytes_) / bytesPerFrame;
    if (uint64_t(frames) > room) {
      frames = int(room);
      full = true;
    }
    const size_t n = size_t(frames) * size_t(channels_);
    uint8_t bytes[4096];
    for (size_t i = 0; i < n;) {
      size_t chunk = 0;
      for (; chunk + 2 <= sizeof bytes && i < n; chunk += 2, ++i) {
        bytes[chunk] = uint8_t(uint16_t(samples[i]));
        bytes[chunk + 1] = uint8_t(uint16_t(samples[i]) >> 8);
      }
      if (std::fwrite(bytes, 1, chunk, file_) != chunk) return false;
    }
    dataBytes_ += uint64_t(frames) * bytesPerFrame;
    return true;
  }
  bool Finish() {
    uint8_t size[4];
    Put32(size, uint32_t(dataBytes_ + 36));
    bool ok = std::fseek(file_, 4, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file_) == 4;
    Put32(size, uint32_t(dataBytes_));
    ok = ok && std::fseek(file_, 40, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file_) == 4;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    ok = ok && std::rename(temp_.c_str(), path_.c_str()) == 0;
    if (!ok) std::remove(temp_.c_str());
    return ok;
  }
  bool full = false;

 private:
  static constexpr uint64_t kMaxData = 0xFFFFFFFFull - 36;
  static void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
  }
  static void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
  }
  std::FILE* file_ = nullptr;
  std::string path_, temp_;
  int channels_ = 2;
  uint64_t dataBytes_ = 0;
};

// Sample frames of the wave up to the end of step `step`: each step lasts one game tick.
int64_t FramesUntil(int64_t step, int rate, int tickMs) {
  return step * rate * tickMs / 1000;
}

std::string StepPicture(const std::string& dir, int64_t step) {
  char name[32];
  std::snprintf(name, sizeof name, "step%08lld.bmp", static_cast<long long>(step));
  return (std::filesystem::path(dir) / name).string();
}

// Microseconds since `start`.
double MicrosSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

// Runs `steps` steps of the game in chunks of `chunk`, returning to `snapshot` between the
// chunks (not timed); the time per step in microseconds.
template <class Snapshot>
double TimeSteps(THeadlessGame& game, const Snapshot& snapshot, int64_t steps, int64_t chunk) {
  double total = 0;
  for (int64_t done = 0; done < steps; done += chunk) {
    snapshot.Restore();
    const int64_t n = std::min(chunk, steps - done);
    const auto start = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < n; ++i) game.Step();
    total += MicrosSince(start);
  }
  return steps > 0 ? total / double(steps) : 0;
}

void ReportRate(std::ostream& out, const std::string& what, double micros, const char* unit) {
  char line[256];
  const double rate = micros > 0 ? 1e6 / micros : 0;
  std::snprintf(line, sizeof line, "%s: %.0f %s/s (%.2f us each)\n", what.c_str(), rate, unit,
                micros);
  out << line;
}

}  // namespace

int InfoCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  HeadlessPlatform platform;
  EchoTo(platform, err);
  SetPlatform(&platform);
  const bool loaded = LoadSet(file);
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
    out << "level " << i + 1 << ": " << KindOps(k).DescribeLevel(i) << "\n";
  }
  return 0;
}

int RenderCommand(const std::string& file, int level, const std::string& picture,
                  std::ostream& err) {
  if (PictureFormat(picture) == TPictureFormat::Unknown) {
    err << kName << picture << kUnknownFormat;
    return 2;
  }
  HeadlessPlatform platform;
  EchoTo(platform, err);
  SetPlatform(&platform);
  bool ok = LoadSet(file);
  const int k = gCom.kind;
  if (ok && (level < 1 || level > KindLevelCount(k))) {
    err << kName << "the set has " << KindLevelCount(k) << " levels, not a level " << level << "\n";
    ok = false;
  }
  if (ok) {
    TKBitmap frame(640, 440);
    gCom.mouseX = gCom.mouseY = -1;  // no pointer in the field
    LoadSharedImages();
    Cur().levelIndex = level - 1;
    KindOps(k).InitKind();
    Cur().initialised = 1;
    KindOps(k).ShowLevel();
    KindOps(k).ActivateKind(frame);
    DrawOverlay(frame, gCom.kind);
    ok = WritePicture(frame, picture, err);
    FreeSharedImages();
  }
  KindOps(k).FreeLevelSet();
  SetPlatform(nullptr);
  return ok ? 0 : 1;
}

const char* GameStateName(int state) {
  static const char* const kNames[] = {"Idle",          "Playing",   "LevelDone",
                                       "LevelStarting", "Aborted",   "PlayersOut",
                                       "GameOverShow",  "GameEnded", "AllLevelsDone"};
  return state >= 0 && state < int(std::size(kNames)) ? kNames[state] : "Unknown";
}

bool ParsePlayArgs(const std::vector<std::string>& args, TPlayOptions& o, std::string& error) {
  o = TPlayOptions{};
  bool everyGiven = false, aiNumbers = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    int64_t n = 0;
    auto needs = [&](const char* what) {
      error = a + (hasValue ? " takes " : " needs ") + what +
              (hasValue ? ", not \"" + value + "\"" : "");
      return false;
    };
    if (a == "--players") {
      if (!hasValue || !ParseNumber(value, 1, kPlayers, n)) return needs("a player count 1..5");
      o.setup.players = int(n);
      ++i;
    } else if (a == "--ai") {
      if (!hasValue || !ParseAiList(value, o.setup.aiMask))
        return needs("player numbers 1..5 separated by commas, \"all\" or \"none\"");
      aiNumbers = value != "all";
      ++i;
    } else if (a == "--seed") {
      if (!hasValue || !ParseNumber(value, 0, 4294967295LL, n))
        return needs("a seed 0..4294967295");
      o.setup.seed = uint32_t(n);
      ++i;
    } else if (a == "--level") {
      if (!hasValue || !ParseNumber(value, 1, kMaxLevels, n)) return needs("a level number 1..256");
      o.setup.level = int(n) - 1;
      ++i;
    } else if (a == "--steps") {
      if (!hasValue || !ParseNumber(value, 0, kMaxPlaySteps, n))
        return needs("a step count 0..1000000000");
      o.steps = n;
      ++i;
    } else if (a == "--max-steps") {
      if (!hasValue || !ParseNumber(value, 1, kMaxPlaySteps, n))
        return needs("a step count 1..1000000000");
      o.maxSteps = n;
      ++i;
    } else if (a == "--until-end") {
      o.untilEnd = true;
    } else if (a == "--one-level") {
      o.oneLevel = true;
    } else if (a == "--mirror") {
      o.setup.mirror = true;
    } else if (a == "--turn") {
      o.setup.turn = true;
    } else if (a == "--no-enemies") {
      o.setup.noEnemies = true;
    } else if (a == "--frames") {
      if (!hasValue || value.empty()) return needs("a folder");
      o.framesDir = value;
      ++i;
    } else if (a == "--every") {
      if (!hasValue || !ParseNumber(value, 1, kMaxPlaySteps, n))
        return needs("a step count 1..1000000000");
      o.every = n;
      everyGiven = true;
      ++i;
    } else if (a == "--record") {
      if (!hasValue || value.empty()) return needs("a replay file name");
      o.recordFile = value;
      ++i;
    } else if (a == "--sound-out") {
      if (!hasValue || value.empty()) return needs("a wave file name");
      o.soundOut = value;
      ++i;
    } else if (a.rfind("-", 0) == 0 && a.size() > 1) {
      error = "unknown option " + a;
      return false;
    } else if (o.setup.file.empty()) {
      o.setup.file = a;
    } else {
      error = "only one level-set file, not also \"" + a + "\"";
      return false;
    }
  }
  if (o.setup.file.empty()) {
    error = "play needs a level-set file";
    return false;
  }
  if (o.oneLevel && !o.untilEnd) {
    error = "--one-level needs --until-end";
    return false;
  }
  if ((o.steps >= 0) == o.untilEnd) {
    error = "play needs either --steps N or --until-end";
    return false;
  }
  if (everyGiven && o.framesDir.empty()) {
    error = "--every needs --frames DIR";
    return false;
  }
  if (aiNumbers && (o.setup.aiMask >> o.setup.players) != 0) {
    error = "--ai names a player above the " + std::to_string(o.setup.players) + " playing";
    return false;
  }
  if (!aiNumbers) o.setup.aiMask = (1u << o.setup.players) - 1;  // all who take part
  return true;
}

int PlayCommand(const TPlayOptions& o, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (!o.framesDir.empty()) {
    std::filesystem::create_directories(o.framesDir, ec);
    if (!std::filesystem::is_directory(o.framesDir, ec)) {
      err << kName << o.framesDir << ": the folder cannot be made\n";
      return 1;
    }
  }

  THeadlessGame game;
  EchoTo(game.platform, err);  // load problems
  if (!LoadSet(o.setup.file)) return 1;
  TGameSetup setup = o.setup;
  setup.file.clear();  // the set in memory
  setup.sounds = !o.soundOut.empty();
  std::string error;
  int code = 0;
  if (!game.Start(setup, error, code)) {
    err << kName << error << "\n";
    return code;
  }
  // Quiet from here: the high-score name asked after a game over is cancelled, so no table
  // is written, and a picture that cannot be saved is reported below.
  game.platform.echo = nullptr;
  TReplayRecorder recorder;
  const bool record = !o.recordFile.empty();
  if (record && !recorder.Begin(setup.seed, error)) {
    err << kName << error << "\n";
    return 1;
  }

  const TOutputFormat format{gOptions.soundFrequency, true, true};
  const int tick = gOptions.gameTick;
  TWaveOut wave;
  std::vector<int16_t> samples;
  if (!o.soundOut.empty() && !wave.Open(o.soundOut, format.rate, format.Channels())) {
    err << kName << o.soundOut << ": cannot be written\n";
    return 1;
  }

  const int64_t limit = o.untilEnd ? o.maxSteps : o.steps;
  int64_t steps = 0;
  auto ended = [&] { return !game.Running() || (o.oneLevel && Cur().state == gsLevelDone); };
  while (steps < limit && !(o.untilEnd && ended())) {
    game.Step();
    ++steps;
    if (record) recorder.AfterStep();
    if (!o.soundOut.empty()) {
      const int frames =
          int(FramesUntil(steps, format.rate, tick) - FramesUntil(steps - 1, format.rate, tick));
      samples.resize(size_t(frames) * size_t(format.Channels()));
      Mixer().Mix(format, samples.data(), frames);
      if (!wave.Append(samples.data(), frames)) {
        err << kName << o.soundOut << ": cannot be written\n";
        return 1;
      }
    }
    if (!o.framesDir.empty() && steps % o.every == 0) {
      if (!WritePicture(game.Compose(), StepPicture(o.framesDir, steps), err)) return 1;
    }
  }
  if (!o.soundOut.empty()) {
    if (wave.full) err << kName << "the wave is at its largest size; the rest is left out\n";
    if (!wave.Finish()) {
      err << kName << o.soundOut << ": cannot be written\n";
      return 1;
    }
  }
  const bool capped = o.untilEnd && !ended();
  if (capped)
    err << kName << "the game did not end within " << o.maxSteps
        << " steps (--max-steps); stopped there\n";

  if (record && !recorder.Finish(o.recordFile, error)) {
    err << kName << error << "\n";
    return 1;
  }
  PrintGameEnd(out, steps);
  return capped ? 3 : 0;
}

void PrintGameEnd(std::ostream& out, int64_t steps) {
  const TKindState& s = Cur();
  if (gCom.kind == gkMonsters) out << "moves=" << gMons.game.historyCount << "\n";
  out << "state=" << GameStateName(s.state) << " level=" << s.levelIndex + 1 << " steps=" << steps
      << " scores=";
  for (int p = 0; p <= s.playersMinusOne && p < kPlayers; ++p) out << (p ? "," : "") << s.score[p];
  out << " digest=" << DigestHex(GameDigest()) << "\n";
}

// Starts a game for a measurement: the set in memory when `file` is empty, else `file`,
// with `players` computer players. False with the reason on `err`.
bool StartMeasured(THeadlessGame& game, const std::string& file, int players, std::ostream& err,
                   int& code) {
  EchoTo(game.platform, err);
  TGameSetup setup;
  setup.file = file;
  setup.players = players;
  setup.aiMask = (1u << players) - 1;
  std::string error;
  if (game.Start(setup, error, code)) return true;
  err << kName << error << "\n";
  return false;
}

// Microseconds a composed frame takes 200 steps into the game (balls, effects and scores
// on the field), the game put back as it was.
template <class Snapshot>
double TimeCompose(THeadlessGame& game, const Snapshot& start, int frames) {
  for (int i = 0; i < 200; ++i) game.Step();
  game.Compose();
  const auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) game.Compose();
  const double micros = MicrosSince(begin) / frames;
  start.Restore();
  return micros;
}

int BenchCommand(bool quick, std::ostream& out, std::ostream& err) {
  const int64_t typicalSteps = quick ? 512 : 20000;
  const int64_t worstSteps = quick ? 64 : 4000;
  const int frames = quick ? 4 : 300;
  int code = 0;
  double brick[3] = {}, mons[3] = {};  // typical, worst, frame
  double burr[4] = {};                 // typical, worst, frame, the warren
  {
    THeadlessGame game;
    if (!StartMeasured(game, DefaultLevelsFile(gkBrickfall), 2, err, code)) return code;
    TBrickSnapshot start;
    start.Take();
    brick[0] = TimeSteps(game, start, typicalSteps, 1024);
    start.Restore();
    brick[2] = TimeCompose(game, start, frames);
  }
  {
    THeadlessGame game;
    MakeWorstCaseSet();
    if (!StartMeasured(game, "", kPlayers, err, code)) return code;
    LaunchWorstCaseBalls();
    TBrickSnapshot start;
    start.Take();
    brick[1] = TimeSteps(game, start, worstSteps, 256);
  }
  {
    THeadlessGame game;
    if (!StartMeasured(game, DefaultLevelsFile(gkMonsters), 2, err, code)) return code;
    TMonsSnapshot start;
    start.Take();
    mons[0] = TimeSteps(game, start, typicalSteps, 256);
    start.Restore();
    mons[2] = TimeCompose(game, start, frames);
  }
  {
    THeadlessGame game;
    MakeFullMonstersSet();
    if (!StartMeasured(game, "", 1, err, code)) return code;
    TMonsSnapshot start;
    start.Take();
    const int64_t chunk = 64;
    for (int64_t done = 0; done < worstSteps; done += chunk) {
      start.Restore();
      const int64_t n = std::min(chunk, worstSteps - done);
      const auto begin = std::chrono::steady_clock::now();
      for (int64_t i = 0; i < n; ++i) MonsMonsterStep();
      mons[1] += MicrosSince(begin);
    }
    mons[1] /= double(worstSteps);
  }
  {
    THeadlessGame game;
    if (!StartMeasured(game, DefaultLevelsFile(gkBurrower), 2, err, code)) return code;
    TBurrSnapshot start;
    start.Take();
    burr[0] = TimeSteps(game, start, typicalSteps, 256);
    start.Restore();
    burr[2] = TimeCompose(game, start, frames);
    FillBurrowerPools();
    TBurrSnapshot full;
    full.Take();
    burr[1] = TimeSteps(game, full, worstSteps, 16);
    start.Restore();
    FillBurrowerWarren();
    TBurrSnapshot warren;
    warren.Take();
    burr[3] = TimeSteps(game, warren, worstSteps, kWarrenFallSteps);
  }
  const struct {
    const char* what;
    double micros;
    const char* unit;
  } lines[] = {
      {"Brickfall steps, typical level (Default.BrL level 0, 2 computer players)", brick[0],
       "steps"},
      {"Brickfall steps, worst case (1536 walls, 32 flying balls)", brick[1], "steps"},
      {"Brickfall frames composed (overlay painter, game in progress)", brick[2], "frames"},
      {"Monsters steps, typical level (Default.MoL level 0, 2 computer players)", mons[0], "steps"},
      {"Monsters monster steps, all 512 slots in use", mons[1], "steps"},
      {"Monsters frames composed (overlay painter, game in progress)", mons[2], "frames"},
      {"Burrower steps, typical level (Default.BuL level 0, 2 computer players)", burr[0], "steps"},
      {"Burrower steps, every pool full", burr[1], "steps"},
      {"Burrower steps, 32 enemies walking, 8 brooders, 32 apples falling", burr[3], "steps"},
      {"Burrower frames composed (overlay painter, game in progress)", burr[2], "frames"},
  };
  for (const auto& line : lines) ReportRate(out, line.what, line.micros, line.unit);
  return 0;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  InstallGames();  // every command reads level sets
  if (args.size() == 2 && args[0] == "info") return InfoCommand(args[1], out, err);
  if (!args.empty() && args[0] == "render") {
    std::string file, picture;
    int64_t level = 1;
    bool bad = false;
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--level" && i + 1 < args.size()) {
        bad |= !ParseNumber(args[++i], 1, kMaxLevels, level);
      } else if (args[i] == "--out" && i + 1 < args.size()) {
        picture = args[++i];
      } else if (file.empty() && args[i].rfind("--", 0) != 0) {
        file = args[i];
      } else {
        bad = true;
      }
    }
    if (!bad && !file.empty() && !picture.empty())
      return RenderCommand(file, int(level), picture, err);
    err << kName
        << "render needs a level-set file, --out PICTURE and optionally --level N"
           " (1..256)\n"
        << kUsage;
    return 2;
  }
  if (!args.empty() && args[0] == "play") {
    TPlayOptions options;
    std::string error;
    if (ParsePlayArgs(std::vector<std::string>(args.begin() + 1, args.end()), options, error))
      return PlayCommand(options, out, err);
    err << kName << error << "\n" << kUsage;
    return 2;
  }
  if (!args.empty() && args[0] == "replay") return ReplayCommand(args, out, err);
  if (!args.empty() && args[0] == "bench") {
    if (args.size() == 1 || (args.size() == 2 && args[1] == "--quick"))
      return BenchCommand(args.size() == 2, out, err);
    err << kName << "bench takes only --quick\n" << kUsage;
    return 2;
  }
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    out << "kelvra-cli " << KELVRA_VERSION << "\n";
    return 0;
  }
  if (args.empty())
    err << kName << "no command given\n";
  else if (args[0] == "info")
    err << kName << "info takes exactly one file name\n";
  else
    err << kName << "unknown command \"" << args[0] << "\"\n";
  err << kUsage;
  return 2;
}

}  // namespace kelvra
