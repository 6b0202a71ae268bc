// Players and their input devices: key names and key capture, the controls the games read
// for a player, colour changes, and the values the settings dialog edits and applies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/Com.h"

namespace kelvra {

// Player inputs (TPlayer::input).
enum PlayerInput : uint8_t {
  piKeyboard1 = 0,  // .. piKeyboard1 + 3
  piMouse = 4,
  piJoystick = 5,
};
constexpr int kInputs = 6;

// Controls in the order of a keyboard mapping.
enum Control : uint8_t { ctLeft = 0, ctUp, ctRight, ctDown, ctFire1, ctFire2 };

// Text on the settings dialog's key buttons: "Tab", "Shift", "Ctrl", the arrows, letters,
// "Num 0".."Num 9", "~", "F1".."F24", else "SC: " + the code in decimal.
std::string KeyName(int code);

// The program's own single-key shortcuts (F1 the manual, F2 Start Game, F11 full screen):
// such a key goes to its command and never reaches a game, so a player key had better not
// be one. The command's name, or nullptr for a free key. The shortcuts with Ctrl cannot
// collide: a player key is one key.
const char* ShortcutCommand(int code);

// Codes of the mouse buttons (1 left, 2 right, 4 middle), which are no player keys.
bool IsMouseButtonCode(int code);

// One reading of a player's controls. held: the control is down now; pressed: it went
// down since the previous reading of the same player (for a keyboard mapping: since the
// previous query of that key). Which of the two a game uses is the game's choice.
struct TControls {
  uint8_t held[kKeysPerMap];
  uint8_t pressed[kKeysPerMap];
  uint8_t input;  // PlayerInput the reading came from
  // Mouse input only: the pointer relative to the play field, in frame pixels, and the
  // buttons (left, middle, right) held. Left and right also count as Fire1 and Fire2.
  int32_t mouseX, mouseY;
  uint8_t mouseButton[3];
};
// A player's controls in the current step's input snapshot.
TControls ReadPlayerControls(int player);

// Everything a game step reads of the input devices, gathered once at the start of the
// step (CaptureInput). Recording keeps these; playback hands them back instead.
struct TInputSnapshot {
  uint8_t keyHeld[kKeyMaps];     // per keyboard mapping: bit c, control c is down
  uint8_t keyPressed[kKeyMaps];  // bit c: control c went down since the previous snapshot
  int32_t mouseX, mouseY;        // the pointer relative to the play field, frame pixels
  uint8_t mouseHeld;             // bit 0 left, 1 middle, 2 right
  uint8_t mousePressed;          // Fire1 (left) and Fire2 (right) bits, as controls
  uint8_t padHeld;               // game controller: bits of the controls held
  uint8_t padPressed;            // and those that went down since the previous snapshot
  bool operator==(const TInputSnapshot&) const = default;
};
extern TInputSnapshot gInput;  // the current step's snapshot

// Where the snapshots come from instead of the platform (playback). Next fills the
// snapshot of the coming step.
class TInputFeed {
 public:
  virtual ~TInputFeed() = default;
  virtual void Next(TInputSnapshot& snapshot) = 0;
};
// The feed stays the caller's; nullptr returns to the platform.
void SetInputFeed(TInputFeed* feed);

// Reads the platform's devices into a snapshot: each mapped key is queried once (which
// clears its pressed bit) and the presses of the mouse buttons and the game controller are
// the changes since the previous reading.
TInputSnapshot ReadPlatformInput();
// Once per game step, before the step: gInput from the feed, else from the platform.
void CaptureInput();

// At the start of a game: forgets every press made before it, on every mapping, the mouse
// buttons and the game controller.
void ForgetControlPresses();

// The colour change: stores the colour of player p, recomputes all half colours, tells
// every game kind already initialised in this run (Brickfall recolours its paddles and
// shots), and tells Events() so that the frame is redrawn.
void SetPlayerColour(int player, uint32_t colour);

// Colour captions of the settings dialog: a standard name ("Red", "Lime", ...) or the
// colour as "#RRGGBB" (upper-case hexadecimal, as colour pickers show it).
std::string ColourText(uint32_t colour);

// The frequency text of the settings dialog: the number typed, limited to 1..100000,
// 22050 when it is not a number.
int32_t ParseFrequency(const std::string& text);

// What the dialog copies in and out of the settings.
struct TSettingsValues {
  uint16_t keyMap[kKeyMaps][kKeysPerMap];
  uint8_t input[kPlayers];
  uint8_t fullScreen;
  int32_t fullScreenBits;  // 8, 16, 24, 32
  uint8_t waitRetrace;
  uint8_t sounds, music, sound16bits, soundStereo, reduceSounds;
  int32_t soundFrequency;   // 1..100000
  int32_t processPriority;  // 0..3
  int32_t threadPriority;   // 0..6
};
TSettingsValues CurrentSettingsValues();

// What OK changed, for the main window to act on; the values are stored already.
struct TSettingsChanges {
  bool priorities = false;   // applied already
  bool display = false;      // switch the display: full screen on or off at the depth
  bool openSound = false;    // sound was switched on and the game is not paused
  bool reopenSound = false;  // sound, 16 bits, frequency or stereo changed: close, open
  bool music = false;        // the music flag flipped: start or stop a running game's music
};
// Stores the edited values as OK does. `applyPriorities` false leaves the process alone
// (tests).
TSettingsChanges ApplySettingsValues(const TSettingsValues& v, bool applyPriorities = true);

// The colours and mappings when the dialog opened, for Cancel.
struct TPlayerSnapshot {
  uint32_t colour[kPlayers];
  uint16_t keyMap[kKeyMaps][kKeysPerMap];
};
TPlayerSnapshot TakePlayerSnapshot();
// Cancel: the mappings come back, and every colour that differs goes through the colour
// change.
void RestorePlayerSnapshot(const TPlayerSnapshot& s);

// Process priority 0 Idle, 1 Normal, 2 High, 3 Realtime as niceness 19, 0, -5, -10 (any
// other value normal); thread priority 0 Idle .. 6 Time Critical as an offset of +10, +2,
// +1, 0, -1, -2, -5 to it for the calling (user-interface) thread, limited to -20..19.
// A refusal (raising needs privileges) is ignored.
void ApplyPriorities(int processPriority, int threadPriority);

}  // namespace kelvra
