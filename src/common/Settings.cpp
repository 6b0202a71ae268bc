// The transfer that loads or saves every setting, and the file names in the settings file.
#include "common/Settings.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <limits>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Players.h"
#include "common/RecentFiles.h"
#include "platform/Services.h"

namespace kelvra {

bool SaveSettingsFile(TKIniFile& ini) {
  if (ini.Save()) return true;
  Platform().MessageDialog("The settings could not be saved to\r\n" + ini.Path() + "\r\n" +
                               ini.SaveError() + ".\r\nThe changes made in this run are lost.",
                           MsgType::Error, Btn(MsgButton::Ok));
  return false;
}

std::string DefaultLevelsFile(int kind) {
  return AbsoluteFromProgram(std::string("Levels/") + KindName(kind) + "/Default." +
                             KindExtension(kind));
}

namespace {

// Absolute and lexically normal ("a/./b/../c" -> "a/c"); the working folder completes a
// relative program folder.
std::string NormalAbsolute(const std::string& name) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(name), ec);
  if (ec) p = std::filesystem::path(name);
  return p.lexically_normal().string();
}

}  // namespace

std::string ToSettingsName(const std::string& fileName) {
  std::string name = NormalAbsolute(AbsoluteFromProgram(fileName));
  std::string dir = NormalAbsolute(ProgramDir());
  if (dir.empty() || dir.back() != '/') dir += '/';
  if (name.size() > dir.size() && name.compare(0, dir.size(), dir) == 0)
    return name.substr(dir.size());
  return name;
}

std::string FromSettingsName(const std::string& stored) {
  return NormalAbsolute(AbsoluteFromProgram(NativePath(stored)));
}

std::string SettingsFilePath(const std::string& programFile) {
  std::string program = NativePath(programFile);
  std::string name = ChangeFileExt(ExtractFileName(program), ".ini");
  size_t slash = program.rfind('/');
  std::string dir = slash == std::string::npos ? std::string("./") : program.substr(0, slash + 1);
  // An installed program (its data in ../share/kelvra and no build tree's ../data) keeps
  // the user's settings in the user's folder even where it could write beside itself: root
  // can write to /usr/bin, and a program installed into a private prefix is still shared.
  std::error_code ec;
  const bool installed = std::filesystem::is_directory(dir + "../share/kelvra", ec) &&
                         !std::filesystem::is_directory(dir + "../data", ec);
  if (!installed && access(dir.c_str(), W_OK) == 0) return dir + name;

  // The user's configuration folder, made on first use so that the settings can be saved
  // at the end of the run.
  const std::string config = XdgHome("XDG_CONFIG_HOME", ".config") + "/kelvra/";
  std::filesystem::create_directories(config, ec);
  return config + name;
}

namespace {

// Loads or saves one integer setting; a loaded value outside lo..hi gives the default.
struct TTransfer {
  TKIniFile& ini;
  bool save;

  void Int(const std::string& section, const std::string& key, int32_t& value, int32_t def,
           int32_t lo = std::numeric_limits<int32_t>::min(),
           int32_t hi = std::numeric_limits<int32_t>::max()) {
    if (save) {
      ini.Int(section, key, true, value);
      return;
    }
    int32_t v = ini.Int(section, key, false, def);
    value = v < lo || v > hi ? def : v;
  }
  template <typename T>
  void Small(const std::string& section, const std::string& key, T& value, int32_t def, int32_t lo,
             int32_t hi) {
    int32_t v = value;
    Int(section, key, v, def, lo, hi);
    if (!save) value = T(v);
  }
  void Flag(const std::string& section, const std::string& key, uint8_t& value, bool def) {
    if (save) {
      ini.Bool(section, key, true, value != 0);
      return;
    }
    value = ini.Bool(section, key, false, def) ? 1 : 0;
  }
  // A blank or missing string gives the default.
  void Str(const std::string& section, const std::string& key, std::string& value,
           const std::string& def) {
    if (save) {
      ini.Str(section, key, true, value);
      return;
    }
    std::string v = ini.Str(section, key, false, std::string());
    value = v.find_first_not_of(" \t") == std::string::npos ? def : v;
  }
  // A row of kOptions in its section; rows without a key are not stored.
  void Option(OptionId id) {
    const TOptionDef& o = kOptions[id];
    if (!o.key) return;
    const std::string section = o.Section();
    const TOptionRef r = OptionAt(id);
    if (o.kind == okText) {
      Str(section, o.key, *r.text, o.defText);
    } else if (o.kind == okFlag) {
      Flag(section, o.key, *r.byte, o.def != 0);
    } else {
      int32_t v = r.Get();
      Int(section, o.key, v, o.def, o.min, o.max);
      if (!save) r.Set(v);
    }
  }
};

const char* const kKeyNames[kKeysPerMap] = {"Left", "Up", "Right", "Down", "Fire1", "Fire2"};

}  // namespace

void SettingsTransfer(TKIniFile& ini, bool save, const TSettingsContext& context) {
  TTransfer t{ini, save};
  const std::string opt = "Options";

  t.Option(opGameKind);

  for (int k = 0; k < kKinds; ++k) {
    if (context.recent[k]) context.recent[k]->Transfer(ini, KindName(k), save);
  }

  for (int k = 0; k < kKinds; ++k) {
    const std::string kind = KindName(k);
    if (!save) {
      std::string stored = ini.Str(opt, "LevelsFile" + kind, false, std::string());
      gOptions.levelsFile[k] = stored.find_first_not_of(" \t") == std::string::npos
                                   ? DefaultLevelsFile(k)
                                   : FromSettingsName(stored);
    } else if (context.levelsFromFile[k]) {
      // The set now open is the one to reopen next time; gOptions follows it.
      const TKindState& s = gCom.k[k];
      if (s.origin == loFile && !s.fileName.empty()) gOptions.levelsFile[k] = s.fileName;
      if (!gOptions.levelsFile[k].empty())
        ini.Str(opt, "LevelsFile" + kind, true, ToSettingsName(gOptions.levelsFile[k]));
    }
    t.Int(opt, "NowPlayers" + kind, gCom.k[k].playersMinusOne, kDefaultPlayersMinusOne, 0,
          kPlayers - 1);
  }

  if (context.windowNormal) {
    // Truncation toward zero, as C++ division does.
    t.Int("fMain", "Left", gOptions.mainLeft, (context.screenWidth - context.windowWidth) / 2);
    t.Int("fMain", "Top", gOptions.mainTop, (context.screenHeight - context.windowHeight) / 2);
  }

  for (int m = 0; m < kKeyMaps; ++m) {
    const std::string sec = "Keyboard" + std::to_string(m + 1);
    for (int c = 0; c < kKeysPerMap; ++c)
      t.Small(sec, kKeyNames[c], gCom.keyMap[m][c], kDefaultKeyMap[m][c], 1, 255);
  }

  for (int p = 0; p < kPlayers; ++p) {
    const std::string sec = "Player" + std::to_string(p + 1);
    TPlayer& pl = gCom.player[p];
    t.Flag(sec, "AI", pl.ai, DefaultPlayerAI(p));
    t.Small(sec, "Input", pl.input, DefaultPlayerInput(p), 0, kInputs - 1);
    // Colours are 0x00BBGGRR; a stored high byte is dropped.
    int32_t colour = int32_t(pl.colour & 0xFFFFFF);
    t.Int(sec, "Color", colour, int32_t(kDefaultPlayerColour[p]));
    if (!save) pl.colour = uint32_t(colour) & 0xFFFFFF;
  }

  for (int id = opGameKind + 1; id < opCount; ++id) {
    t.Option(OptionId(id));
    // Colour depths are whole bytes.
    if (id == opFullScreenBits && !save && gOptions.fullScreenBits % 8 != 0)
      gOptions.fullScreenBits = kOptions[opFullScreenBits].def;
  }

  if (!save) ComputeHalfColours();
}

}  // namespace kelvra
