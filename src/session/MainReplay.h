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

// The replay played in the window and what it displaced: the kind, the user's levels (kept
// aside in memory with their editing history) and how the set was held, the options the
// replay sets, the players' devices and computer flags.
struct TMainControl::TPlayback {
  explicit TPlayback(TReplay&& r)
      : replay(std::move(r)),
        feed(replay),
        replaySet(std::string(".") + KindExtension(replay.kind)) {}

  TReplay replay;
  TReplayFeed feed;                    // the game's input while it plays
  TTempFile replaySet;                 // the replay's set, to load
  int speed = 1;                       // steps per game step of the clock: 1, 2 or 4
  int kind = 0;                        // the kind selected before
  bool levelsKept = false;             // the user's levels wait aside
  TKindState kindState{};              // the user's set: name, origin, modified flag, level
  std::vector<TReplayOption> options;  // the user's values of the options the replay sets
  TPlayer players[kPlayers] = {};
};

}  // namespace kelvra
