// Scripted platform services for tests and the command-line tool: every dialog is
// recorded and answered from a script, then from a default policy; the clock is manual.
#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace kelvra {

class HeadlessPlatform : public PlatformServices {
 public:
  HeadlessPlatform();

  // Scripted answers, consumed front first. Without one: the message dialog answers
  // Ignore, else Cancel, else No, else OK, else the first button offered; the file
  // error dialog gives up (Ignore); file and input dialogs are cancelled.
  std::deque<MsgButton> messageAnswers;
  std::deque<IOErrorReply> fileErrorAnswers;
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<std::string>> textAnswers;
  std::deque<std::optional<int32_t>> numberAnswers;  // number and time dialogs

  // Everything asked, one line each: "message: ...", "file error: <caption>: ...",
  // "open: ...", "save: ...", "text: ...", "number: ...", "time: ...", "shell open: ...".
  std::vector<std::string> log;
  std::vector<IOErrorRequest> fileErrors;     // the requests of the file error dialog
  std::vector<size_t> fileErrorHistorySizes;  // the history's length at each request
  // When set, what a user would have read (each message box and file error, not the
  // questions answered from the script) is written there once, one line each, after
  // `echoPrefix`: "kelvra-cli: /x/set.BrL: No such file or directory (2)".
  std::ostream* echo = nullptr;
  std::string echoPrefix;

  int64_t clockNs = 0;        // NowNs; advance it by hand
  double dateTime = 46000.5;  // NowDateTime
  int shellOpenResult = 0;    // what ShellOpen answers
  int closeRequests = 0;      // RequestMainClose calls
  int beeps = 0;

  // Music as the main window drives it; a "piece" is loaded by any name.
  std::string musicFile;
  bool musicPlaying = false;
  int64_t musicPosition = 0;
  bool registered = false;
  bool musicEnded = false;  // MusicTakeEnded answers it once

  // Sound output: what SoundOpen was asked last; it answers soundOpenResult.
  bool soundOpenResult = true;
  bool soundOpen = false;
  int soundOpens = 0;
  int soundFrequency = 0;
  bool sound16bits = false, soundStereo = false;

  void PressKey(int vk);  // held, and pressed since the last query
  void ReleaseKey(int vk);
  void ClearLog() {
    log.clear();
    fileErrors.clear();
    fileErrorHistorySizes.clear();
  }

  MsgButton MessageDialog(const std::string& text, MsgType type, MsgButtons buttons) override;
  IOErrorReply FileErrorDialog(const IOErrorRequest& request) override;
  std::optional<std::string> OpenFileDialog(const std::string& filter,
                                            const std::string& initialFile) override;
  std::optional<std::string> SaveFileDialog(const std::string& filter,
                                            const std::string& initialFile) override;
  bool TextInput(const std::string& caption, const std::string& prompt,
                 std::string& value) override;
  bool NumberDialog(const std::string& caption, int32_t& value, int32_t min, int32_t max,
                    int32_t def) override;
  bool TimeDialog(const std::string& caption, int32_t& valueMs, int32_t min, int32_t max,
                  int32_t def) override;
  int64_t NowNs() override { return clockNs; }
  double NowDateTime() override { return dateTime; }
  uint8_t KeyState(int vk) override;
  void KeySnapshot(uint8_t state[256]) override;
  int ShellOpen(const std::string& path) override;
  void Beep() override { ++beeps; }
  void RequestMainClose() override { ++closeRequests; }
  [[noreturn]] void Terminate(int exitCode) override;
  bool MusicOpen(const std::string& path) override;
  void MusicPlay(int64_t fromMs) override;
  void MusicStop() override;
  void MusicClose() override;
  bool MusicLoaded() override { return !musicFile.empty(); }
  bool MusicPlaying() override { return musicPlaying; }
  int64_t MusicPosition() override { return musicPosition; }
  bool MusicTakeEnded() override;
  bool SoundOpen(int frequency, bool bits16, bool stereo) override;
  void SoundClose() override { soundOpen = false; }
  bool FileTypesRegistered() override { return registered; }
  bool RegisterFileTypes(bool doRegister) override;

 private:
  void Record(const std::string& line);
  void Echo(const std::string& text);
  uint8_t keys_[256] = {};
};

}  // namespace kelvra
