// The joystick input through SDL2's game-controller subsystem, polled when read.
#include "shell/Gamepad.h"

#include <SDL.h>

namespace kelvra {

TGamepad::~TGamepad() {
  if (controller_) SDL_GameControllerClose(controller_);
  if (sdl_ == Sdl::Running) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool TGamepad::Start() {
  if (sdl_ != Sdl::NotStarted) return sdl_ == Sdl::Running;
  // Qt owns the signals; there is no SDL window whose focus could hold input back.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    sdl_ = Sdl::Failed;
    return false;
  }
  // The state is polled; nobody drains SDL's event queue, so nothing may pile up there.
  SDL_JoystickEventState(SDL_IGNORE);
  SDL_GameControllerEventState(SDL_IGNORE);
  sdl_ = Sdl::Running;
  return true;
}

void TGamepad::Scan() {
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count && !controller_; ++i)
    if (SDL_IsGameController(i)) controller_ = SDL_GameControllerOpen(i);
}

uint8_t TGamepad::Bits(int axisX, int axisY, bool dLeft, bool dUp, bool dRight, bool dDown, bool a,
                       bool b) {
  uint8_t bits = 0;
  if (dLeft || axisX < -kDeadZone) bits |= 1 << 0;
  if (dUp || axisY < -kDeadZone) bits |= 1 << 1;  // the stick's y grows downwards
  if (dRight || axisX > kDeadZone) bits |= 1 << 2;
  if (dDown || axisY > kDeadZone) bits |= 1 << 3;
  if (a) bits |= 1 << 4;
  if (b) bits |= 1 << 5;
  return bits;
}

uint8_t TGamepad::State(int64_t nowMs) {
  if (!Start()) return 0;
  SDL_GameControllerUpdate();  // also notices devices that came or went
  if (controller_ && !SDL_GameControllerGetAttached(controller_)) {
    SDL_GameControllerClose(controller_);
    controller_ = nullptr;
  }
  if (!controller_ &&
      (!scanned_ || nowMs - lastScanMs_ >= kScanIntervalMs || nowMs < lastScanMs_)) {
    scanned_ = true;
    lastScanMs_ = nowMs;
    Scan();
  }
  if (!controller_) return 0;
  SDL_GameController* c = controller_;
  auto button = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
  return Bits(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX),
              SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY),
              button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), button(SDL_CONTROLLER_BUTTON_DPAD_UP),
              button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
              button(SDL_CONTROLLER_BUTTON_A), button(SDL_CONTROLLER_BUTTON_B));
}

}  // namespace kelvra
