// Every stored option with its default and the transfer that loads or saves them all.
#include "shell/Settings.h"

#include "common/Com.h"
#include "common/Paths.h"

namespace kelvra {

TOptions gOptions;

const uint16_t kDefaultKeyMap[4][6] = {
    {0x25, 0x26, 0x27, 0x28, 0x11, 0x10},  // arrows, Ctrl, Shift
    {0x41, 0x57, 0x44, 0x53, 0x09, 0xC0},  // A W D S, Tab, the key left of 1
    {0x4A, 0x49, 0x4C, 0x4B, 0x48, 0x59},  // J I L K, H, Y
    {0x61, 0x65, 0x63, 0x62, 0x64, 0x67},  // numeric keypad 1 5 3 2, 4, 7
};

const uint32_t kDefaultPlayerColour[5] = {0x00DF00, 0x003FFF, 0xFF7F00, 0x00EFEF, 0xEFEF00};

std::string DefaultLevelsFile(int kind) {
  return AbsoluteFromProgram(std::string("Levels/") + KindName(kind) + "/Default." +
                             KindExtension(kind));
}

}  // namespace kelvra
