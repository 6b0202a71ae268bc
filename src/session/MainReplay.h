// The replay the main window plays, and what it displaced while it plays.
#pragma once

#include <string>

#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Options.h"
#include "common/Players.h"
#include "common/Replay.h"
#include "session/MainControl.h"
#include "session/ReplayGame.h"

namespace kelvra {

// The replay played in the window and what it displaced: the kind, its level set (a copy of
// the set as it was in memory, unsaved edits included, and how it was held), the options,
// the players.
struct TMainControl::TPlayback : TInputFeed {
  explicit TPlayback(TReplay&& r)
      : replay(std::move(r)),
        decoder(replay.inputs, replay.steps),
        userSet(std::string(".") + KindExtension(replay.kind)),
        replaySet(std::string(".") + KindExtension(replay.kind)) {}
  void Next(TInputSnapshot& snapshot) override {
    if (decoder.Next(snapshot))
      ++played;
    else
      snapshot = TInputSnapshot{};
  }

  TReplay replay;
  TInputDecoder decoder;
  TTempFile userSet, replaySet;  // the user's set kept aside, the replay's set to load
  uint32_t played = 0;           // steps fed
  size_t check = 0;              // the next of replay.checks
  int speed = 1;                 // steps per game step of the clock: 1, 2 or 4
  int kind = 0;                  // the kind selected before
  TKindState kindState{};        // the user's set: name, origin, modified flag, level
  TOptions options;
  TPlayer players[kPlayers] = {};
  uint8_t mirrorGame = 0;
};

}  // namespace kelvra
