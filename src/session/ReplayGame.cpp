// Recording and headless playback of replays.
#include "session/ReplayGame.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/FileIO.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"

namespace kelvra {

TTempFile::TTempFile(const std::string& extension) {
  std::error_code ec;
  std::string pattern =
      (std::filesystem::temp_directory_path(ec) / "kelvra-replay-XXXXXX").string() + extension;
  const int fd = mkstemps(pattern.data(), int(extension.size()));
  if (fd >= 0) {
    close(fd);
    path = pattern;
  }
}

TTempFile::~TTempFile() {
  if (!path.empty()) std::remove(path.c_str());
}

bool WriteReplayLevelSet(const TReplay& replay, const std::string& file, std::string& error) {
  if (file.empty()) {
    error = "cannot make a temporary file for the replay's level set";
    return false;
  }
  AtomicFileWriter writer;
  writer.Write(replay.levelSet.data(), replay.levelSet.size());
  FileFault fault;
  if (writer.Commit(file, fault)) return true;
  error = "cannot write the replay's level set: " + fault.Text();
  return false;
}

// ---------------------------------------------------------------------------------------

bool TReplayRecorder::Begin(uint32_t seed, std::string& error) {
  const int k = gCom.kind;
  const TKindState& s = gCom.k[k];
  replay = TReplay{};
  coder_ = TInputCoder{};
  replay.program = KELVRA_VERSION;
  replay.kind = uint8_t(k);
  replay.setName = s.fileName;
  replay.testGame = s.testGame;
  replay.level = s.levelIndex;
  replay.seed = seed;
  replay.players = uint8_t(s.playersMinusOne + 1);
  for (int p = 0; p < kPlayers; ++p) {
    if (gCom.player[p].ai) replay.aiMask |= uint8_t(1u << p);
    replay.input[p] = gCom.player[p].input;
  }
  replay.options = CurrentReplayOptions();
  settings_ = TReplaySettings{};

  // The set as it is in memory (it may be unsaved), in its file form.
  TTempFile copy(std::string(".") + KindExtension(k));
  FileFault fault;
  if (copy.path.empty() || !WriteLevelSetCopy(k, copy.path, fault)) {
    error = "cannot copy the level set for the replay: " + fault.Text();
    return false;
  }
  FileReader reader;
  if (!reader.Open(copy.path) || reader.Size() > int64_t(kReplayMaxSetBytes)) {
    error = "cannot read the copy of the level set";
    return false;
  }
  replay.levelSet.resize(size_t(reader.Size()));
  if (!reader.Read(replay.levelSet.data(), replay.levelSet.size())) {
    error = "cannot read the copy of the level set: " + reader.fault().Text();
    return false;
  }
  return true;
}

void TReplayRecorder::AfterStep() {
  if (sealed_) return;
  // Nothing in a step changes a setting: one that differs now was changed before it.
  settings_.Changes(coder_.steps, replay.changes);
  coder_.Add(gInput);
  if (coder_.steps % ReplayCheckEvery(replay.format) == 0)
    replay.checks.push_back({coder_.steps, ReplayCheckDigest(replay.format)});
}

void TReplayRecorder::Note(const std::string& key, int32_t value) {
  if (!sealed_) replay.changes.push_back({coder_.steps, key, value});
}

void TReplayRecorder::Seal() {
  if (sealed_) return;
  sealed_ = true;
  replay.steps = coder_.steps;
  // A change after the last step changed nothing the replay plays.
  while (!replay.changes.empty() && replay.changes.back().step >= replay.steps)
    replay.changes.pop_back();
  replay.inputs = coder_.bytes;
  if (replay.steps > 0 && (replay.checks.empty() || replay.checks.back().step != replay.steps))
    replay.checks.push_back({replay.steps, ReplayCheckDigest(replay.format)});
}

bool TReplayRecorder::Finish(const std::string& file, std::string& error) {
  Seal();
  FileFault fault;
  if (!WriteReplay(file, replay, fault)) {
    error = "cannot write " + file + ": " + fault.Text();
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------

TReplayPlayer::~TReplayPlayer() {
  SetInputFeed(nullptr);
}

bool TReplayPlayer::Start(THeadlessGame& game, std::string& error, int& code) {
  code = 1;
  TTempFile set(std::string(".") + KindExtension(replay_.kind));
  if (!WriteReplayLevelSet(replay_, set.path, error)) return false;
  TGameSetup setup;
  setup.file = set.path;
  setup.players = replay_.players;
  setup.aiMask = replay_.aiMask;
  setup.seed = replay_.seed;
  setup.level = replay_.testGame ? replay_.level : -1;
  setup.shownLevel = replay_.testGame ? 0 : replay_.level;
  setup.inputs.assign(std::begin(replay_.input), std::end(replay_.input));
  setup.options = replay_.options;
  // The switches the driver checks before it starts, from the recorded options.
  for (const TReplayOption& o : replay_.options) {
    if (o.key == "Brickfall.MirrorGame") setup.mirror = o.value != 0;
    if (o.key == "Monsters.RealTimeGame") setup.turn = replay_.kind == gkMonsters && o.value == 0;
    if (o.key == "Burrower.Enemies") setup.noEnemies = replay_.kind == gkBurrower && o.value == 0;
  }
  if (!game.Start(setup, error, code)) {
    if (code == 1) error = "the replay's level set cannot be played (" + error + ")";
    return false;
  }
  if (gCom.kind != replay_.kind) {
    error = "the replay's level set is not of its game";
    code = 1;
    return false;
  }
  SetInputFeed(this);
  return true;
}

void TReplayFeed::Next(TInputSnapshot& snapshot) {
  ApplyReplayChanges(replay_, change_, played_);
  if (decoder_.Next(snapshot))
    ++played_;
  else
    snapshot = TInputSnapshot{};
}

bool TReplayFeed::CheckStep() {
  if (check_ >= replay_.checks.size() || replay_.checks[check_].step != played_) return true;
  expected = replay_.checks[check_].digest;
  actual = ReplayCheckDigest(replay_.format);
  if (actual != expected) return false;
  lastGood_ = played_;
  ++check_;
  return true;
}

TReplayOutcome TReplayPlayer::Run(THeadlessGame& game,
                                  const std::function<void(uint32_t)>& beforeStep) {
  TReplayOutcome out;
  while (out.steps < replay_.steps) {
    if (beforeStep) beforeStep(out.steps);
    game.Step();
    ++out.steps;
    if (!CheckStep()) {
      out.diverged = true;
      out.divergedAt = out.steps;
      out.expected = expected;
      out.actual = actual;
      break;
    }
  }
  out.lastGood = LastGood();
  return out;
}

}  // namespace kelvra
