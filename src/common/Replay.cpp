// The replay file, the coding of the input snapshots and the folder of kept replays.
#include "common/Replay.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/GameDigest.h"
#include "common/Kinds.h"
#include "common/Options.h"

namespace kelvra {

const char* const kReplayExtension = ".krp";

namespace {

constexpr char kMagic[4] = {'K', 'R', 'p', 'l'};
constexpr size_t kMaxText = 4096;  // the program version, the set's name, option keys
constexpr uint32_t kMaxOptions = 1024;
constexpr uint32_t kMaxChanges = 1u << 20;

// The fields of a snapshot, in the order of an entry's mask bits: the first seven (one
// byte of mask) are what one player on the mouse or the first keyboard mapping changes.
enum InputField : int {
  ifMouseX = 0,  // the pointer: signed differences
  ifMouseY,
  ifMouseHeld,  // the others: bytes
  ifMousePressed,
  ifKeyHeld0,
  ifKeyPressed0,
  ifPadHeld,
  ifPadPressed,
  ifKeyHeld1,
  ifKeyPressed1,
  ifKeyHeld2,
  ifKeyPressed2,
  ifKeyHeld3,
  ifKeyPressed3,
  ifCount
};
constexpr uint8_t kControlBits = (1u << kKeysPerMap) - 1;

// A byte field of a snapshot and its largest value.
uint8_t& ByteField(TInputSnapshot& s, int field, uint8_t& max) {
  max = kControlBits;
  switch (field) {
    case ifMouseHeld:
      max = 7;
      return s.mouseHeld;
    case ifMousePressed:
      return s.mousePressed;
    case ifPadHeld:
      return s.padHeld;
    case ifPadPressed:
      return s.padPressed;
    default: {
      const int m = field < ifPadHeld ? 0 : (field - ifKeyHeld1) / 2 + 1;
      const bool pressed = field < ifPadHeld ? field == ifKeyPressed0 : (field - ifKeyHeld1) % 2;
      return pressed ? s.keyPressed[m] : s.keyHeld[m];
    }
  }
}

void PutVarint(std::vector<uint8_t>& out, uint64_t v) {
  while (v >= 0x80) {
    out.push_back(uint8_t(v | 0x80));
    v >>= 7;
  }
  out.push_back(uint8_t(v));
}

uint64_t ZigZag(int64_t v) {
  return (uint64_t(v) << 1) ^ uint64_t(v >> 63);
}
int64_t UnZigZag(uint64_t v) {
  return int64_t(v >> 1) ^ -int64_t(v & 1);
}

bool GetVarint(const std::vector<uint8_t>& in, size_t& pos, uint64_t& v) {
  v = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (pos >= in.size()) return false;
    const uint8_t b = in[pos++];
    v |= uint64_t(b & 0x7F) << shift;
    if (!(b & 0x80)) return true;
  }
  return false;  // longer than any 64-bit value
}

// The settings name of an option that a step reads, or "" for one it does not.
std::string ReplayKey(const TOptionDef& o) {
  if (!o.key || o.kind == okText) return "";
  const bool read = o.game >= 0 || o.id == opGameTick || o.id == opDelayTime;
  return read ? std::string(o.Section()) + "." + o.key : "";
}

// Little-endian fields into a byte vector.
struct TOut {
  std::vector<uint8_t> b;
  void U8(uint8_t v) { b.push_back(v); }
  void U16(uint16_t v) { Unsigned(v, 2); }
  void U32(uint32_t v) { Unsigned(v, 4); }
  void U64(uint64_t v) { Unsigned(v, 8); }
  void Unsigned(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
  }
  void Text(const std::string& s) {
    const size_t n = std::min(s.size(), kMaxText);
    U16(uint16_t(n));
    b.insert(b.end(), s.begin(), s.begin() + ptrdiff_t(n));
  }
  void Blob(const std::vector<uint8_t>& v) {
    U32(uint32_t(v.size()));
    b.insert(b.end(), v.begin(), v.end());
  }
};

// The same, read back with every length checked against what is left.
struct TIn {
  const uint8_t* p;
  size_t size, pos = 0;
  std::string error;
  bool Fail(const std::string& what) {
    if (error.empty()) error = what + " at byte " + std::to_string(pos);
    return false;
  }
  bool Take(void* dst, size_t n) {
    if (n > size - pos) return Fail("the file ends too soon");
    if (n) std::memcpy(dst, p + pos, n);
    pos += n;
    return true;
  }
  bool Unsigned(uint64_t& v, int n) {
    uint8_t bytes[8] = {};
    if (!Take(bytes, size_t(n))) return false;
    v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t(bytes[i]) << (8 * i);
    return true;
  }
  template <class T>
  bool Get(T& v) {
    uint64_t u;
    if (!Unsigned(u, sizeof(T))) return false;
    v = T(u);
    return true;
  }
  template <class T>
  bool Range(T& v, int64_t min, int64_t max, const char* what) {
    if (!Get(v)) return false;
    if (int64_t(v) < min || int64_t(v) > max) {
      pos -= sizeof(T);
      return Fail(std::string("a wrong ") + what + " (" + std::to_string(int64_t(v)) + ")");
    }
    return true;
  }
  bool Text(std::string& s, const char* what) {
    uint16_t n;
    if (!Range(n, 0, int64_t(kMaxText), what)) return false;
    s.resize(n);
    return Take(s.data(), n);
  }
  bool Blob(std::vector<uint8_t>& v, uint32_t max, const char* what) {
    uint32_t n;
    if (!Range(n, 0, max, what)) return false;
    if (n > size - pos) return Fail(std::string("the ") + what + " goes past the end of the file");
    v.assign(p + pos, p + pos + n);
    pos += n;
    return true;
  }
};

}  // namespace

std::vector<TReplayOption> CurrentReplayOptions() {
  std::vector<TReplayOption> options;
  for (const TOptionDef& o : kOptions) {
    const std::string key = ReplayKey(o);
    if (!key.empty()) options.push_back({key, OptionAt(o.id).Get()});
  }
  return options;
}

bool ReplaySetsOption(OptionId id) {
  return !ReplayKey(kOptions[id]).empty();
}

namespace {

// The option a replay names by `key`, set to `value` within its range; nullptr for a key
// of no option.
const TOptionDef* SetReplayOption(const std::string& key, int32_t value) {
  for (const TOptionDef& o : kOptions)
    if (ReplayKey(o) == key) {
      OptionAt(o.id).Set(std::clamp(value, o.min, o.max));
      return &o;
    }
  return nullptr;
}

}  // namespace

void ApplyReplayOptions(const std::vector<TReplayOption>& options) {
  for (const TReplayOption& r : options) SetReplayOption(r.key, r.value);
}

namespace {

// The watched settings in a fixed order: the options a step reads, then each player's
// computer flag and input device.
struct TWatched {
  std::vector<OptionId> options;
  std::vector<std::string> keys;
  TWatched() {
    for (const TOptionDef& o : kOptions)
      if (ReplaySetsOption(o.id)) {
        options.push_back(o.id);
        keys.push_back(ReplayKey(o));
      }
    for (int p = 0; p < kPlayers; ++p) keys.push_back(PlayerKey(p, "AI"));
    for (int p = 0; p < kPlayers; ++p) keys.push_back(PlayerKey(p, "Input"));
  }
  static std::string PlayerKey(int p, const char* what) {
    return "Player" + std::to_string(p + 1) + "." + what;
  }
  static const TWatched& Get() {
    static const TWatched watched;
    return watched;
  }
};

void WatchedValues(std::vector<int32_t>& values) {
  const TWatched& w = TWatched::Get();
  values.resize(w.keys.size());
  size_t i = 0;
  for (OptionId id : w.options) values[i++] = OptionAt(id).Get();
  for (const TPlayer& pl : gCom.player) values[i++] = pl.ai;
  for (const TPlayer& pl : gCom.player) values[i++] = pl.input;
}

}  // namespace

TReplaySettings::TReplaySettings() {
  WatchedValues(values_);
}

void TReplaySettings::Changes(uint32_t step, std::vector<TReplayChange>& out) {
  // Compared in place: this runs after every recorded step.
  const TWatched& w = TWatched::Get();
  size_t i = 0;
  auto see = [&](int32_t now) {
    if (now != values_[i]) {
      values_[i] = now;
      out.push_back({step, w.keys[i], now});
    }
    ++i;
  };
  for (OptionId id : w.options) see(OptionAt(id).Get());
  for (const TPlayer& pl : gCom.player) see(pl.ai);
  for (const TPlayer& pl : gCom.player) see(pl.input);
}

void ApplyReplayChange(const TReplayChange& c) {
  if (c.key == "Monsters.Clock") {
    KindOps(gkMonsters).ClockCommand(c.value != 0);
    return;
  }
  for (int p = 0; p < kPlayers; ++p) {
    if (c.key == TWatched::PlayerKey(p, "AI")) {
      gCom.player[p].ai = c.value != 0;
      return;
    }
    if (c.key == TWatched::PlayerKey(p, "Input")) {
      gCom.player[p].input = uint8_t(std::clamp(c.value, 0, kInputs - 1));
      return;
    }
  }
  if (const TOptionDef* o = SetReplayOption(c.key, c.value))
    if (o->game >= 0 && o->game < kKinds) KindOps(o->game).OptionChanged(o->id);
}

void ApplyReplayChanges(const TReplay& replay, size_t& next, uint32_t step) {
  while (next < replay.changes.size() && replay.changes[next].step <= step)
    ApplyReplayChange(replay.changes[next++]);
}

// ---------------------------------------------------------------------------------------
// Input snapshots

void TInputCoder::Add(const TInputSnapshot& s) {
  ++steps;
  if (s == last_) {
    ++unchanged_;
    return;
  }
  TInputSnapshot now = s, before = last_;
  uint32_t mask = 0;
  if (now.mouseX != before.mouseX) mask |= 1u << ifMouseX;
  if (now.mouseY != before.mouseY) mask |= 1u << ifMouseY;
  uint8_t max;
  for (int f = ifMouseHeld; f < ifCount; ++f)
    if (ByteField(now, f, max) != ByteField(before, f, max)) mask |= 1u << f;
  PutVarint(bytes, unchanged_);
  PutVarint(bytes, mask);
  if (mask & (1u << ifMouseX)) PutVarint(bytes, ZigZag(int64_t(now.mouseX) - before.mouseX));
  if (mask & (1u << ifMouseY)) PutVarint(bytes, ZigZag(int64_t(now.mouseY) - before.mouseY));
  for (int f = ifMouseHeld; f < ifCount; ++f)
    if (mask & (1u << f)) bytes.push_back(ByteField(now, f, max));
  last_ = s;
  unchanged_ = 0;
}

bool TInputDecoder::ReadEntry() {
  const size_t start = pos_;
  auto fail = [&](const char* what) {
    error = std::string(what) + " in the input at byte " + std::to_string(start);
    return false;
  };
  uint64_t gap, mask;
  if (!GetVarint(bytes_, pos_, gap) || !GetVarint(bytes_, pos_, mask)) return fail("a cut entry");
  const uint64_t at = uint64_t(nextChange_) + gap;
  if (at >= steps_) return fail("a change after the last step");
  if (mask == 0 || mask >= (1u << ifCount)) return fail("a wrong field mask");
  next_ = current_;
  auto coordinate = [&](int32_t& field) {
    uint64_t v;
    if (!GetVarint(bytes_, pos_, v)) return false;
    const int64_t value = int64_t(field) + UnZigZag(v);
    if (value < INT32_MIN || value > INT32_MAX) return false;
    field = int32_t(value);
    return true;
  };
  bool ok = true;
  if (mask & (1u << ifMouseX)) ok = ok && coordinate(next_.mouseX);
  if (mask & (1u << ifMouseY)) ok = ok && coordinate(next_.mouseY);
  for (int f = ifMouseHeld; f < ifCount && ok; ++f) {
    if (!(mask & (1u << f))) continue;
    uint8_t max;
    uint8_t& field = ByteField(next_, f, max);
    ok = pos_ < bytes_.size() && bytes_[pos_] <= max;
    if (ok) field = bytes_[pos_++];
  }
  if (!ok) return fail("a wrong or cut value");
  nextChange_ = uint32_t(at);
  pending_ = true;
  return true;
}

bool TInputDecoder::Validate() {
  while (pos_ < bytes_.size()) {
    if (!ReadEntry()) return false;
    current_ = next_;
    pending_ = false;
    ++nextChange_;
  }
  return true;
}

bool TInputDecoder::Next(TInputSnapshot& snapshot) {
  if (step_ >= steps_ || !error.empty()) return false;
  if (!pending_ && pos_ < bytes_.size() && !ReadEntry()) return false;
  if (pending_ && nextChange_ == step_) {
    current_ = next_;
    pending_ = false;
    nextChange_ = step_ + 1;
  }
  snapshot = current_;
  ++step_;
  return true;
}

// ---------------------------------------------------------------------------------------
// The file

std::vector<uint8_t> EncodeReplay(const TReplay& r) {
  TOut o;
  o.b.reserve(r.levelSet.size() + r.inputs.size() + 1024);
  o.b.insert(o.b.end(), std::begin(kMagic), std::end(kMagic));
  o.U16(r.format);
  o.Text(r.program);
  o.U8(r.kind);
  o.Text(r.setName);
  o.Blob(r.levelSet);
  o.U8(r.testGame);
  o.U32(uint32_t(r.level));
  o.U32(r.seed);
  o.U8(r.players);
  o.U8(r.aiMask);
  for (uint8_t input : r.input) o.U8(input);
  o.U32(uint32_t(r.options.size()));
  for (const TReplayOption& option : r.options) {
    o.Text(option.key);
    o.U32(uint32_t(option.value));
  }
  o.U32(r.steps);
  o.Blob(r.inputs);
  if (r.format >= 3) {
    o.U32(uint32_t(r.changes.size()));
    for (const TReplayChange& c : r.changes) {
      o.U32(c.step);
      o.Text(c.key);
      o.U32(uint32_t(c.value));
    }
  }
  o.U32(uint32_t(r.checks.size()));
  for (const TReplayCheck& c : r.checks) {
    o.U32(c.step);
    o.U64(c.digest);
  }
  return o.b;
}

bool DecodeReplay(const uint8_t* data, size_t size, TReplay& r, std::string& error) {
  r = TReplay{};
  TIn in{data, size, 0, {}};
  auto fail = [&] {
    error = in.error;
    return false;
  };
  char magic[4];
  if (!in.Take(magic, 4)) return fail();
  if (std::memcmp(magic, kMagic, 4) != 0) {
    error = "not a replay of Kelvra";
    return false;
  }
  uint16_t format;
  if (!in.Get(format)) return fail();
  if (format == 0 || format > kReplayFormat) {
    error = "a replay of format " + std::to_string(format) + ", this program reads formats 1 to " +
            std::to_string(kReplayFormat);
    return false;
  }
  r.format = format;
  uint32_t optionCount = 0, checkCount = 0;
  if (!in.Text(r.program, "program version") || !in.Range(r.kind, 0, kKinds - 1, "game kind") ||
      !in.Text(r.setName, "level-set name") ||
      !in.Blob(r.levelSet, kReplayMaxSetBytes, "level-set size") ||
      !in.Range(r.testGame, 0, 1, "game start") || !in.Range(r.level, 0, kMaxLevels - 1, "level") ||
      !in.Get(r.seed) || !in.Range(r.players, 1, kPlayers, "player count") ||
      !in.Range(r.aiMask, 0, (1 << kPlayers) - 1, "computer players"))
    return fail();
  for (uint8_t& input : r.input)
    if (!in.Range(input, 0, kInputs - 1, "input device")) return fail();
  if (!in.Range(optionCount, 0, kMaxOptions, "option count")) return fail();
  r.options.resize(optionCount);
  for (TReplayOption& option : r.options)
    if (!in.Text(option.key, "option name") || !in.Get(option.value)) return fail();
  if (!in.Range(r.steps, 0, kReplayMaxSteps, "step count") ||
      !in.Blob(r.inputs, kReplayMaxInputBytes, "input size"))
    return fail();
  if (format >= 3) {
    uint32_t changeCount = 0;
    if (!in.Range(changeCount, 0, kMaxChanges, "count of setting changes")) return fail();
    r.changes.resize(changeCount);
    uint32_t last = 0;
    for (TReplayChange& c : r.changes) {
      // In the order of the steps, each within them.
      if (!in.Range(c.step, last, int64_t(r.steps) - 1, "step of a setting change") ||
          !in.Text(c.key, "setting name") || !in.Get(c.value))
        return fail();
      last = c.step;
    }
  }
  if (!in.Get(checkCount)) return fail();
  // A digest every ReplayCheckEvery steps and after the last step: a file is as long as its
  // game, so that a few damaged bytes cannot ask for a game of a billion steps.
  const uint32_t every = ReplayCheckEvery(format);
  const uint32_t checksNeeded = r.steps / every + (r.steps % every != 0 ? 1 : 0);
  if (checkCount != checksNeeded) {
    in.pos -= 4;
    in.Fail("a wrong digest count (" + std::to_string(checkCount) + " for " +
            std::to_string(r.steps) + " steps)");
    return fail();
  }
  r.checks.resize(checkCount);
  for (uint32_t i = 0; i < checkCount; ++i) {
    const uint32_t step = std::min(r.steps, (i + 1) * every);
    TReplayCheck& c = r.checks[i];
    if (!in.Range(c.step, step, step, "digest step") || !in.Get(c.digest)) return fail();
  }
  if (in.pos != size) {
    error = "unknown data after the end at byte " + std::to_string(in.pos);
    return false;
  }
  // Every change of the input lies within the steps and is whole.
  TInputDecoder decoder(r.inputs, r.steps);
  if (!decoder.Validate()) {
    error = decoder.error;
    return false;
  }
  return true;
}

uint64_t ReplayCheckDigest(uint16_t format) {
  if (format >= 4) return GameDigest(TDigest::kLiveWords);
  return GameDigest(format >= 2 ? TDigest::kWords : TDigest::kFnvBytes);
}

bool WriteReplay(const std::string& file, const TReplay& replay, FileFault& fault) {
  AtomicFileWriter writer;
  const std::vector<uint8_t> bytes = EncodeReplay(replay);
  writer.Write(bytes.data(), bytes.size());
  return writer.Commit(file, fault);
}

bool ReadReplay(const std::string& file, TReplay& replay, std::string& error) {
  FileReader reader;
  if (!reader.Open(file)) {
    error = reader.fault().Text();
    return false;
  }
  const uint64_t limit = uint64_t(kReplayMaxSetBytes) + kReplayMaxInputBytes + (16u << 20);
  if (uint64_t(reader.Size()) > limit) {
    error = "the file is too large for a replay";
    return false;
  }
  std::vector<uint8_t> bytes(size_t(reader.Size()));
  if (!reader.Read(bytes.data(), bytes.size())) {
    error = reader.fault().Text();
    return false;
  }
  return DecodeReplay(bytes.data(), bytes.size(), replay, error);
}

// ---------------------------------------------------------------------------------------
// Kept replays

std::string ReplaysDir() {
  return XdgHome("XDG_DATA_HOME", ".local/share") + "/kelvra/replays";
}

std::string ReplayFileName(const std::string& dir, double dateTime, int kind) {
  // Days since 1899-12-30 to seconds since 1970-01-01 (25569 days apart).
  const double seconds = (dateTime - 25569.0) * 86400.0;
  const std::time_t t = std::time_t(std::clamp(seconds, 0.0, 253402300799.0) + 0.5);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char name[64];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S", &tm);
  const char* kindName = kind >= 0 && kind < kKinds ? KindName(kind) : "Game";
  std::string base = dir + "/" + name + "-" + kindName;
  std::string file = base + kReplayExtension;
  for (int i = 2; FileExists(file) && i < 1000; ++i)
    file = base + "-" + std::to_string(i) + kReplayExtension;
  return file;
}

void KeepNewestReplays(const std::string& dir, int keep) {
  std::error_code ec;
  std::vector<std::filesystem::path> replays;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    if (entry.is_regular_file(ec) && entry.path().extension() == kReplayExtension)
      replays.push_back(entry.path());
  if (int(replays.size()) <= keep) return;
  std::sort(replays.begin(), replays.end());
  for (size_t i = 0; i + size_t(std::max(keep, 0)) < replays.size(); ++i)
    std::filesystem::remove(replays[i], ec);
}

}  // namespace kelvra
