// The joystick input: the first SDL2 game controller, read on demand, with controllers
// plugged in or out while the program runs picked up on the next reading.
#pragma once

#include <cstdint>

struct _SDL_GameController;

namespace kelvra {

class TGamepad {
 public:
  TGamepad() = default;
  ~TGamepad();
  TGamepad(const TGamepad&) = delete;
  TGamepad& operator=(const TGamepad&) = delete;

  // Held now, as PlatformServices::GamepadState: bit 0 Left, 1 Up, 2 Right, 3 Down,
  // 4 Fire1 (A), 5 Fire2 (B). The first call starts SDL's game-controller subsystem
  // (never its video); when that fails every reading is 0.
  uint8_t State(int64_t nowMs);

  // The stick's dead zone: axis values from -32768 to 32767, a direction counts beyond
  // this distance from the centre (about 40 %).
  static constexpr int kDeadZone = 13000;
  // How often a missing controller is looked for, ms.
  static constexpr int64_t kScanIntervalMs = 500;

  // The direction and fire bits of raw readings (tests).
  static uint8_t Bits(int axisX, int axisY, bool dLeft, bool dUp, bool dRight, bool dDown, bool a,
                      bool b);

 private:
  bool Start();
  void Scan();

  enum class Sdl : uint8_t { NotStarted, Running, Failed };
  Sdl sdl_ = Sdl::NotStarted;
  _SDL_GameController* controller_ = nullptr;
  int64_t lastScanMs_ = 0;
  bool scanned_ = false;
};

}  // namespace kelvra
