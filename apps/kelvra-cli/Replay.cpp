// kelvra-cli replay: a recorded game played back without a window, checked against the
// digests recorded with it.
#include <ostream>

#include "Commands.h"
#include "base/Digest.h"
#include "common/Replay.h"
#include "session/HeadlessGame.h"
#include "session/ReplayGame.h"

namespace kelvra {

int ReplayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2 || args[1].empty() || args[1].rfind("--", 0) == 0) {
    err << "kelvra-cli: replay takes exactly one replay file\n"
        << "usage: kelvra-cli replay FILE\n";
    return 2;
  }
  const std::string& file = args[1];
  TReplay replay;
  std::string error;
  if (!ReadReplay(file, replay, error)) {
    err << "kelvra-cli: " << file << ": " << error << "\n";
    return 1;
  }
  if (replay.program != KELVRA_VERSION)
    err << "kelvra-cli: the replay was recorded by Kelvra " << replay.program << ", this is "
        << KELVRA_VERSION << "\n";

  THeadlessGame game;
  game.platform.echo = &err;  // problems with the embedded set reach standard error
  game.platform.echoPrefix = "kelvra-cli: ";
  TReplayPlayer player(replay);
  int code = 0;
  if (!player.Start(game, error, code)) {  // a setup refused counts as a damaged file
    err << "kelvra-cli: " << file << ": " << error << "\n";
    return 1;
  }
  game.platform.echo = nullptr;
  const TReplayOutcome outcome = player.Run(game);
  PrintGameEnd(out, outcome.steps);
  if (outcome.diverged) {
    err << "kelvra-cli: the game diverged from the recording after step " << outcome.lastGood
        << ", by step " << outcome.divergedAt << " (digest " << DigestHex(outcome.actual)
        << ", recorded " << DigestHex(outcome.expected) << ")\n";
    return kReplayDiverged;
  }
  return 0;
}

}  // namespace kelvra
