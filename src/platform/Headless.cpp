// Scripted platform services: records each request and answers from the script.
#include "platform/Headless.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace kelvra {

HeadlessPlatform::HeadlessPlatform() = default;

void HeadlessPlatform::Record(const std::string& line) {
  log.push_back(line);
}

// The dialogs' line breaks (CR LF) become ": " on the one line.
void HeadlessPlatform::Echo(const std::string& text) {
  if (!echo) return;
  std::string line = text;
  for (size_t at; (at = line.find("\r\n")) != std::string::npos;)
    line.replace(at, 2, at > 0 && line[at - 1] == ' ' ? ":" : ": ");
  *echo << echoPrefix << line << '\n';
}

namespace {
std::string ButtonList(MsgButtons buttons) {
  std::string s;
  for (int i = 0; i < kMsgButtonCount; ++i) {
    if (!(buttons & Btn(MsgButton(i)))) continue;
    if (!s.empty()) s += ", ";
    s += MsgButtonName(MsgButton(i));
  }
  return s;
}
}  // namespace

MsgButton HeadlessPlatform::MessageDialog(const std::string& text, MsgType type,
                                          MsgButtons buttons) {
  Record("message: " + text + " [" + ButtonList(buttons) + "]");
  Echo(text);
  if (!messageAnswers.empty()) {
    MsgButton b = messageAnswers.front();
    messageAnswers.pop_front();
    return b;
  }
  for (MsgButton b : {MsgButton::Ignore, MsgButton::Cancel, MsgButton::No, MsgButton::Ok})
    if (buttons & Btn(b)) return b;
  for (int i = 0; i < kMsgButtonCount; ++i)
    if (buttons & Btn(MsgButton(i))) return MsgButton(i);
  return MsgButton::Ok;
}

IOErrorReply HeadlessPlatform::FileErrorDialog(const IOErrorRequest& request) {
  Record("file error: " + request.caption + ": " + request.text);
  // The file first, as command-line tools name it: the text is the message, CR LF, the file.
  const std::string tail = "\r\n" + request.fileName;
  const std::string& t = request.text;
  if (!request.fileName.empty() && t.size() > tail.size() &&
      t.compare(t.size() - tail.size(), tail.size(), tail) == 0)
    Echo(request.fileName + ": " + t.substr(0, t.size() - tail.size()));
  else
    Echo(t);
  fileErrors.push_back(request);
  fileErrors.back().history = nullptr;  // the caller's history changes after the call
  fileErrorHistorySizes.push_back(request.history ? request.history->size() : 0);
  if (!fileErrorAnswers.empty()) {
    IOErrorReply r = fileErrorAnswers.front();
    fileErrorAnswers.pop_front();
    return r;
  }
  return IOErrorReply{};
}

std::optional<std::string> HeadlessPlatform::OpenFileDialog(const std::string& filter,
                                                            const std::string& initialFile) {
  Record("open: " + filter + " [" + initialFile + "]");
  if (openAnswers.empty()) return std::nullopt;
  auto r = openAnswers.front();
  openAnswers.pop_front();
  return r;
}

std::optional<std::string> HeadlessPlatform::SaveFileDialog(const std::string& filter,
                                                            const std::string& initialFile) {
  Record("save: " + filter + " [" + initialFile + "]");
  if (saveAnswers.empty()) return std::nullopt;
  auto r = saveAnswers.front();
  saveAnswers.pop_front();
  return r;
}

bool HeadlessPlatform::TextInput(const std::string& caption, const std::string& prompt,
                                 std::string& value) {
  Record("text: " + caption + ": " + prompt + " [" + value + "]");
  if (textAnswers.empty()) return false;
  auto r = textAnswers.front();
  textAnswers.pop_front();
  if (!r) return false;
  value = *r;
  return true;
}

namespace {
bool AnswerNumber(std::deque<std::optional<int32_t>>& answers, int32_t& value, int32_t min,
                  int32_t max) {
  if (answers.empty()) return false;
  auto r = answers.front();
  answers.pop_front();
  if (!r) return false;
  value = *r < min ? min : *r > max ? max : *r;
  return true;
}
}  // namespace

bool HeadlessPlatform::NumberDialog(const std::string& caption, int32_t& value, int32_t min,
                                    int32_t max, int32_t def) {
  Record("number: " + caption + " [" + std::to_string(value) + "]");
  return AnswerNumber(numberAnswers, value, min, max);
}

bool HeadlessPlatform::TimeDialog(const std::string& caption, int32_t& valueMs, int32_t min,
                                  int32_t max, int32_t def) {
  Record("time: " + caption + " [" + std::to_string(valueMs) + "]");
  return AnswerNumber(numberAnswers, valueMs, min, max);
}

void HeadlessPlatform::PressKey(int vk) {
  keys_[vk & 255] = 0x81;
}
void HeadlessPlatform::ReleaseKey(int vk) {
  keys_[vk & 255] &= 0x01;
}

uint8_t HeadlessPlatform::KeyState(int vk) {
  uint8_t& k = keys_[vk & 255];
  uint8_t state = k;
  k &= 0x80;
  return state;
}

void HeadlessPlatform::KeySnapshot(uint8_t state[256]) {
  for (int i = 0; i < 256; ++i) state[i] = keys_[i] & 0x80;
}

int HeadlessPlatform::ShellOpen(const std::string& path) {
  Record("shell open: " + path);
  return shellOpenResult;
}

void HeadlessPlatform::Terminate(int exitCode) {
  Record("terminate: " + std::to_string(exitCode));
  std::fflush(stderr);
  std::exit(exitCode);
}

bool HeadlessPlatform::MusicOpen(const std::string& path) {
  Record("music open: " + path);
  musicFile = path;
  musicPosition = 0;
  return true;
}

void HeadlessPlatform::MusicPlay(int64_t fromMs) {
  Record("music play: " + std::to_string(fromMs));
  musicPosition = fromMs;
  musicPlaying = true;
}

void HeadlessPlatform::MusicStop() {
  if (musicPlaying) Record("music stop");
  musicPlaying = false;
}

void HeadlessPlatform::MusicClose() {
  if (!musicFile.empty()) Record("music close");
  musicFile.clear();
  musicPlaying = false;
}

bool HeadlessPlatform::MusicTakeEnded() {
  bool ended = musicEnded;
  musicEnded = false;
  return ended;
}

bool HeadlessPlatform::SoundOpen(int frequency, bool bits16, bool stereo) {
  ++soundOpens;
  soundFrequency = frequency;
  sound16bits = bits16;
  soundStereo = stereo;
  soundOpen = soundOpenResult;
  return soundOpen;
}

bool HeadlessPlatform::RegisterFileTypes(bool doRegister) {
  Record(doRegister ? "register" : "unregister");
  registered = doRegister;
  return true;
}

}  // namespace kelvra
