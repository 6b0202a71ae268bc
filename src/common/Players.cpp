// Players and their input devices: key names, key capture, control reading, colour
// changes and the settings dialog's values.
#include "common/Players.h"

#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Settings.h"
#include "platform/Services.h"

namespace kelvra {

namespace {

// What the previous reading saw of the devices that have no pressed bit of their own:
// the mouse buttons as Fire1/Fire2 and the game controller.
uint8_t gLastMouseFire = 0, gLastPad = 0;
TInputFeed* gFeed = nullptr;  // playback; nullptr: the platform

constexpr int kVkLeftButton = 1, kVkRightButton = 2;

// The mouse buttons held (bit 0 left, 2 right) as the controls Fire1 and Fire2.
uint8_t MouseFire(uint8_t held) {
  return uint8_t(((held & 1) ? 1u << ctFire1 : 0u) | ((held & 4) ? 1u << ctFire2 : 0u));
}
constexpr int kVkF1 = 0x70, kVkF24 = 0x87;

}  // namespace

bool IsMouseButtonCode(int code) {
  return code == 1 || code == 2 || code == 4;
}

const char* ShortcutCommand(int code) {
  switch (code) {
    case kVkF1:
      return "Read Me";
    case kVkF1 + 1:
      return "Start Game";
    case kVkF1 + 10:
      return "Full Screen";
    default:
      return nullptr;
  }
}

std::string KeyName(int code) {
  switch (code) {
    case 9:
      return "Tab";
    case 16:
      return "Shift";
    case 17:
      return "Ctrl";
    case 37:
      return "Left";
    case 38:
      return "Up";
    case 39:
      return "Right";
    case 40:
      return "Down";
    case 192:
      return "~";
    default:
      break;
  }
  if (code >= 'A' && code <= 'Z') return std::string(1, char(code));
  if (code >= 96 && code <= 105) return "Num " + std::to_string(code - 96);
  if (code >= kVkF1 && code <= kVkF24) {
    char name[8];
    std::snprintf(name, sizeof name, "F%d", code - kVkF1 + 1);
    return name;
  }
  return "SC: " + std::to_string(code);
}

TInputSnapshot gInput{};

TControls ReadPlayerControls(int player) {
  TControls c{};
  if (player < 0 || player >= kPlayers) return c;
  const uint8_t input = gCom.player[player].input;
  c.input = input;
  uint8_t held = 0, went = 0;  // bit per control
  if (input < kKeyMaps) {
    held = gInput.keyHeld[input];
    went = gInput.keyPressed[input];
  } else if (input == piMouse) {
    c.mouseX = gInput.mouseX;
    c.mouseY = gInput.mouseY;
    for (int b = 0; b < 3; ++b) c.mouseButton[b] = (gInput.mouseHeld >> b) & 1;
    held =
        uint8_t((c.mouseButton[0] ? 1u << ctFire1 : 0u) | (c.mouseButton[2] ? 1u << ctFire2 : 0u));
    went = gInput.mousePressed;
  } else if (input == piJoystick) {
    held = gInput.padHeld;
    went = gInput.padPressed;
  } else {
    return c;  // an input value from a damaged settings file: no controls
  }
  for (int k = 0; k < kKeysPerMap; ++k) {
    c.held[k] = (held >> k) & 1;
    c.pressed[k] = (went >> k) & 1;
  }
  return c;
}

void SetInputFeed(TInputFeed* feed) {
  gFeed = feed;
}

TInputSnapshot ReadPlatformInput() {
  TInputSnapshot in{};
  // A key in two mappings is queried once, so both see its press.
  uint8_t state[256];
  bool queried[256] = {};
  auto key = [&](int vk) {
    vk &= 0xFF;
    if (!queried[vk]) {
      state[vk] = Platform().KeyState(vk);
      queried[vk] = true;
    }
    return state[vk];
  };
  for (int m = 0; m < kKeyMaps; ++m)
    for (int k = 0; k < kKeysPerMap; ++k) {
      const uint8_t s = key(gCom.keyMap[m][k]);
      if (s & 0x80) in.keyHeld[m] |= uint8_t(1u << k);
      if (s & 0x01) in.keyPressed[m] |= uint8_t(1u << k);
    }
  in.mouseX = gCom.mouseX;
  in.mouseY = gCom.mouseY;
  for (int b = 0; b < 3; ++b)
    if (gCom.mouseButton[b]) in.mouseHeld |= uint8_t(1u << b);
  const uint8_t fire = MouseFire(in.mouseHeld);
  in.mousePressed = fire & uint8_t(~gLastMouseFire);
  // A click shorter than a game step is seen by the platform's latched button state.
  if (key(kVkLeftButton) & 0x01) in.mousePressed |= 1u << ctFire1;
  if (key(kVkRightButton) & 0x01) in.mousePressed |= 1u << ctFire2;
  gLastMouseFire = fire;
  in.padHeld = Platform().GamepadState() & 0x3F;
  in.padPressed = in.padHeld & uint8_t(~gLastPad);
  gLastPad = in.padHeld;
  return in;
}

void CaptureInput() {
  if (gFeed)
    gFeed->Next(gInput);
  else
    gInput = ReadPlatformInput();
}

void ForgetControlPresses() {
  for (auto& map : gCom.keyMap)
    for (uint16_t key : map) Platform().KeyState(key);
  Platform().KeyState(kVkLeftButton);
  Platform().KeyState(kVkRightButton);
  // Whatever is held now counts as held before the start, so it is no new press.
  uint8_t mouseHeld = 0;
  for (int b = 0; b < 3; ++b)
    if (gCom.mouseButton[b]) mouseHeld |= uint8_t(1u << b);
  gLastMouseFire = MouseFire(mouseHeld);
  gLastPad = Platform().GamepadState() & 0x3F;
  gInput = TInputSnapshot{};
}

void SetPlayerColour(int player, uint32_t colour) {
  if (player < 0 || player >= kPlayers) return;
  gCom.player[player].colour = colour & 0xFFFFFF;
  ComputeHalfColours();
  for (int k = 0; k < kKinds; ++k)
    if (gCom.k[k].initialised) KindOps(k).PlayerColorChanged();
  Events().PlayerColourChanged(player);
}

namespace {

struct TColourName {
  uint32_t colour;  // 0x00BBGGRR
  const char* name;
};
// The sixteen standard colours and four more that the system names.
constexpr TColourName kColourNames[] = {
    {0x000000, "Black"},      {0x000080, "Maroon"},  {0x008000, "Green"}, {0x008080, "Olive"},
    {0x800000, "Navy"},       {0x800080, "Purple"},  {0x808000, "Teal"},  {0x808080, "Gray"},
    {0xC0C0C0, "Silver"},     {0x0000FF, "Red"},     {0x00FF00, "Lime"},  {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"},       {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"},  {0xFFFFFF, "White"},
    {0xC0DCC0, "MoneyGreen"}, {0xF0CAA6, "SkyBlue"}, {0xF0FBFF, "Cream"}, {0xA4A0A0, "MedGray"},
};

}  // namespace

std::string ColourText(uint32_t colour) {
  for (const TColourName& n : kColourNames)
    if (n.colour == colour) return n.name;
  // Stored as 0x00BBGGRR; a high byte from an old settings file is no part of the colour.
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(colour & 0xFF),
                unsigned(colour >> 8 & 0xFF), unsigned(colour >> 16 & 0xFF));
  return text;
}

int32_t ParseFrequency(const std::string& text) {
  const TOptionDef& option = kOptions[opSoundFrequency];
  const int32_t kDefault = option.def, kMax = option.max;
  size_t i = 0, end = text.size();
  while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == end) return kDefault;
  int64_t value = 0;
  for (; i < end; ++i) {
    const char ch = text[i];
    if (ch < '0' || ch > '9') return kDefault;
    if (value <= kMax) value = value * 10 + (ch - '0');  // stops growing once too big
  }
  if (negative) value = -value;
  return int32_t(std::clamp<int64_t>(value, option.min, kMax));
}

TSettingsValues CurrentSettingsValues() {
  TSettingsValues v{};
  std::memcpy(v.keyMap, gCom.keyMap, sizeof v.keyMap);
  for (int p = 0; p < kPlayers; ++p) v.input[p] = gCom.player[p].input;
  v.fullScreen = gOptions.fullScreen;
  v.fullScreenBits = gOptions.fullScreenBits;
  v.waitRetrace = gOptions.waitRetrace;
  v.sounds = gOptions.sounds;
  v.music = gOptions.music;
  v.sound16bits = gOptions.sound16bits;
  v.soundStereo = gOptions.soundStereo;
  v.reduceSounds = gOptions.reduceSounds;
  v.soundFrequency = gOptions.soundFrequency;
  v.processPriority = gOptions.processPriority;
  v.threadPriority = gOptions.threadPriority;
  return v;
}

TSettingsChanges ApplySettingsValues(const TSettingsValues& v, bool applyPriorities) {
  TSettingsChanges ch;
  TOptions& o = gOptions;
  if (v.processPriority != o.processPriority || v.threadPriority != o.threadPriority) {
    const TOptionDef &process = kOptions[opProcessPriority], &thread = kOptions[opThreadPriority];
    o.processPriority = std::clamp(v.processPriority, process.min, process.max);
    o.threadPriority = std::clamp(v.threadPriority, thread.min, thread.max);
    if (applyPriorities) ApplyPriorities(o.processPriority, o.threadPriority);
    ch.priorities = true;
  }
  std::memcpy(gCom.keyMap, v.keyMap, sizeof gCom.keyMap);
  for (int p = 0; p < kPlayers; ++p)
    gCom.player[p].input = v.input[p] < kInputs ? v.input[p] : DefaultPlayerInput(p);

  const uint8_t fullScreen = v.fullScreen ? 1 : 0;
  const TOptionDef& depth = kOptions[opFullScreenBits];
  const int32_t bits =
      (v.fullScreenBits >= depth.min && v.fullScreenBits <= depth.max && v.fullScreenBits % 8 == 0)
          ? v.fullScreenBits
          : depth.def;
  if (fullScreen != o.fullScreen || bits != o.fullScreenBits) {
    o.fullScreen = fullScreen;
    o.fullScreenBits = bits;
    ch.display = true;
  }
  o.waitRetrace = v.waitRetrace ? 1 : 0;

  const uint8_t sounds = v.sounds ? 1 : 0, bits16 = v.sound16bits ? 1 : 0,
                stereo = v.soundStereo ? 1 : 0;
  const int32_t frequency =
      std::clamp(v.soundFrequency, kOptions[opSoundFrequency].min, kOptions[opSoundFrequency].max);
  if (sounds && !o.sounds && !gCom.paused) ch.openSound = true;
  o.reduceSounds = v.reduceSounds ? 1 : 0;
  if (sounds != o.sounds || bits16 != o.sound16bits || frequency != o.soundFrequency ||
      stereo != o.soundStereo) {
    o.sounds = sounds;
    o.sound16bits = bits16;
    o.soundFrequency = frequency;
    o.soundStereo = stereo;
    ch.reopenSound = true;
  }
  if ((v.music ? 1 : 0) != o.music) {
    o.music = !o.music;
    ch.music = true;
  }
  return ch;
}

TPlayerSnapshot TakePlayerSnapshot() {
  TPlayerSnapshot s{};
  for (int p = 0; p < kPlayers; ++p) s.colour[p] = gCom.player[p].colour;
  std::memcpy(s.keyMap, gCom.keyMap, sizeof s.keyMap);
  return s;
}

void RestorePlayerSnapshot(const TPlayerSnapshot& s) {
  std::memcpy(gCom.keyMap, s.keyMap, sizeof gCom.keyMap);
  for (int p = 0; p < kPlayers; ++p)
    if (gCom.player[p].colour != s.colour[p]) SetPlayerColour(p, s.colour[p]);
}

void ApplyPriorities(int processPriority, int threadPriority) {
  static const int kProcessNice[4] = {19, 0, -5, -10};
  static const int kThreadOffset[7] = {10, 2, 1, 0, -1, -2, -5};
  const int base = processPriority >= 0 && processPriority < 4 ? kProcessNice[processPriority] : 0;
  const int offset = threadPriority >= 0 && threadPriority < 7 ? kThreadOffset[threadPriority] : 0;
  // On Linux the niceness belongs to the thread: 0 names the calling thread.
  setpriority(PRIO_PROCESS, 0, std::clamp(base + offset, -20, 19));
}

}  // namespace kelvra
