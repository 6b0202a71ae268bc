// The one narrow interface through which the core reaches the desktop: dialogs, clock,
// key state and the shell's "open". The GUI implements it with Qt; tests and the
// command-line tool use the scripted headless implementation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvra {

// Buttons of the message dialog, in the order the dialog lays them out.
enum class MsgButton : uint8_t {
  Ok,
  Yes,
  YesToAll,
  Retry,
  Ignore,
  Abort,
  Delete,
  DeleteAll,
  No,
  NoToAll,
  Cancel
};
constexpr int kMsgButtonCount = 11;
using MsgButtons = uint16_t;  // set of MsgButton bits
constexpr MsgButtons Btn(MsgButton b) {
  return MsgButtons(1u << unsigned(b));
}
const char* MsgButtonName(MsgButton b);  // "OK", "Yes", "Yes to All", ...

enum class MsgType : uint8_t { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };

// What the file error dialog is asked to show (built by the core, dialogs/IOError).
struct IOErrorRequest {
  int kind = 0;         // 0 IO error, 1 file error, 2 internal error
  std::string caption;  // "IO Error", "File Error", "Internal Error"
  std::string text;     // message, CR LF and the file name when one is given
  // Every text shown in this run, this one last; owned by the caller and valid during the
  // call (a pointer, so that a run with thousands of errors does not copy it each time).
  const std::vector<std::string>* history = nullptr;
  bool retryOffered = false;
  bool fileButton = false;  // "&File..." enabled
  std::string fileName;     // current file name, for "&File..."
  // "Quit Kelvra" (and its Shift form) offered: only for a file the user chose.
  bool quitOffered = true;
};

enum class IOErrorChoice : uint8_t { Retry, Ignore, IgnoreAll, IgnoreReallyAll, Close, Terminate };

struct IOErrorReply {
  IOErrorChoice choice = IOErrorChoice::Ignore;
  std::optional<std::string> chosenFile;  // set when a file was picked with "&File..."
};

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Modal dialogs. Every blocking dialog is bracketed by a measurement pause by its caller.
  virtual MsgButton MessageDialog(const std::string& text, MsgType type, MsgButtons buttons) = 0;
  virtual IOErrorReply FileErrorDialog(const IOErrorRequest& request) = 0;
  // filter: pairs "description|pattern|description|pattern".
  virtual std::optional<std::string> OpenFileDialog(const std::string& filter,
                                                    const std::string& initialFile) = 0;
  virtual std::optional<std::string> SaveFileDialog(const std::string& filter,
                                                    const std::string& initialFile) = 0;
  virtual bool TextInput(const std::string& caption, const std::string& prompt,
                         std::string& value) = 0;
  // Text dialog with a default text (what a "Default" choice puts in) and a limit in
  // characters. This plain version is the text dialog; callers still enforce the limit.
  virtual bool LimitedTextInput(const std::string& caption, const std::string& prompt,
                                std::string& value, const std::string& defaultText, int maxLength) {
    return TextInput(caption, prompt, value);
  }
  virtual bool NumberDialog(const std::string& caption, int32_t& value, int32_t min, int32_t max,
                            int32_t def) = 0;
  virtual bool TimeDialog(const std::string& caption, int32_t& valueMs, int32_t min, int32_t max,
                          int32_t def) = 0;

  // Clock.
  virtual int64_t NowNs() = 0;  // monotonic counter in nanoseconds
  virtual int64_t NowMs() { return NowNs() / 1000000; }
  virtual double NowDateTime() = 0;  // local date and time, days since 30 December 1899

  // Key state by virtual-key code 0..255: bit 0x80 held now, bit 0x01 pressed since the
  // previous query of that key; the query clears the pressed bit.
  virtual uint8_t KeyState(int vk) = 0;
  virtual void KeySnapshot(uint8_t state[256]) = 0;  // held bits of all keys

  // The first game controller, held now: bit 0 Left, 1 Up, 2 Right, 3 Down, 4 Fire1,
  // 5 Fire2 (the order of a keyboard mapping). 0 with no controller.
  virtual uint8_t GamepadState() { return 0; }

  // Sound output: takes the stream of the effect mixer (media/Mixer.h) to the speakers in
  // this format (Hz, 16- or 8-bit samples, stereo or mono). False when no device could be
  // opened; the implementation reports that once per run. Close stops the stream and waits
  // until the device has let go of it. The defaults play nothing.
  virtual bool SoundOpen(int frequency, bool bits16, bool stereo) { return false; }
  virtual void SoundClose() {}

  // Music: one piece of the music list at a time. The defaults play nothing.
  // MusicTakeEnded: true once after the playing piece reached its end (polled by the main
  // window each drawn frame).
  virtual bool MusicOpen(const std::string& path) { return false; }
  virtual void MusicPlay(int64_t fromMs) {}
  virtual void MusicStop() {}
  virtual void MusicClose() {}
  virtual bool MusicLoaded() { return false; }
  virtual bool MusicPlaying() { return false; }
  virtual int64_t MusicPosition() { return 0; }  // ms from the start of the piece
  virtual bool MusicTakeEnded() { return false; }

  // File-type registration of the level-set and high-score extensions.
  virtual bool FileTypesRegistered() { return false; }
  virtual bool RegisterFileTypes(bool doRegister) { return false; }

  // Desktop.
  virtual int ShellOpen(const std::string& path) = 0;  // 0, or an error code (errno)
  // The program's manual (an HTML file): the GUI shows it in its own help window, so no
  // outside viewer is needed. 0, or an error code (errno). By default the shell's "open".
  virtual int ShowManual(const std::string& path) { return ShellOpen(path); }
  virtual void Beep() = 0;
  virtual void RequestMainClose() = 0;  // queue the main window's close request
  [[noreturn]] virtual void Terminate(int exitCode) = 0;
};

// The services in force; a headless instance until the program installs its own.
PlatformServices& Platform();
void SetPlatform(PlatformServices* services);  // nullptr restores the default

}  // namespace kelvra
