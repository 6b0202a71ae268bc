// Fuzz target: arbitrary bytes read as a replay file; an accepted replay's input is decoded
// step by step to its end. Nothing may crash, and a refusal always says why.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "common/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  const std::string& file = fuzz::WriteInput(kReplayExtension, data, size);
  TReplay replay;
  std::string error;
  if (!ReadReplay(file, replay, error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  if (replay.checks.empty() != (replay.steps == 0)) __builtin_trap();
  TInputDecoder decoder(replay.inputs, replay.steps);
  TInputSnapshot snapshot;
  uint32_t steps = 0;
  while (decoder.Next(snapshot)) {
    ++steps;
    for (uint8_t held : snapshot.keyHeld)
      if (held >= 1u << kKeysPerMap) __builtin_trap();
  }
  // The reader checked every entry: the input lasts exactly the recorded steps.
  if (steps != replay.steps || !decoder.error.empty()) __builtin_trap();
  // What the reader accepts, the writer writes back byte for byte.
  if (EncodeReplay(replay) != std::vector<uint8_t>(data, data + size)) __builtin_trap();
  return 0;
}
