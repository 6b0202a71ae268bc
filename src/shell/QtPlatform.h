// The platform services of the Qt program: dialogs, the clock, the 256-entry key table
// fed from the main window's key and mouse events, and the desktop's "open".
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Services.h"
#include "shell/Gamepad.h"

class QKeyEvent;

namespace kelvra {

// The system's virtual-key code (1..255) of a Qt key, 0 when it has none. Keypad keys
// (Qt::KeypadModifier) map to the numeric pad's codes whether Num Lock is on or off, so
// a mapping on the pad works either way. `nativeVirtualKey` is the X keysym when known
// (0 otherwise); it only helps to recognise keypad keys.
int QtKeyToVk(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeVirtualKey = 0);

// "desc|pattern|desc|pattern" as a Qt name filter list "desc (pattern);;...". Patterns
// separated by ';' become blank-separated; "*.*" means every file.
QString QtFileFilter(const std::string& filter);

// Qt's open and save dialogs with the program's options: the open dialog wants an
// existing file, the save dialog an existing folder and asks before overwriting.
std::optional<std::string> QtOpenFileDialog(QWidget* parent, const std::string& filter,
                                            const std::string& initialFile);
std::optional<std::string> QtSaveFileDialog(QWidget* parent, const std::string& filter,
                                            const std::string& initialFile);

class QtPlatform : public PlatformServices {
 public:
  QtPlatform();

  // The window whose close RequestMainClose queues and that parents the dialogs.
  void SetMainWindow(QWidget* window) {
    main_ = window;
    closedBeforeShown_ = false;
  }
  QWidget* MainWindow() const { return main_; }
  // A close asked for while the window was being made, before it was ever shown (the file
  // error dialog's "Close" for a file of the command line): the program does not start, it
  // ends with a failure status (main()).
  bool ClosedBeforeShown() const { return closedBeforeShown_; }

  // Key table input, from the main window's events. Auto-repeated presses count as new
  // presses (as the system's key state does); auto-repeated releases are ignored.
  void KeyEvent(int qtKey, quint32 nativeVirtualKey, Qt::KeyboardModifiers modifiers, bool pressed);
  void KeyEvent(const QKeyEvent* event, bool pressed);
  void MouseButton(int vk, bool pressed);  // 1 left, 2 right, 4 middle, 5 and 6 extra
  // Releases every key and button: called when the window loses focus, where the
  // release events would go elsewhere.
  void ClearKeys();

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
  int64_t NowNs() override;
  double NowDateTime() override;
  uint8_t KeyState(int vk) override;
  void KeySnapshot(uint8_t state[256]) override;
  uint8_t GamepadState() override;  // the first SDL2 game controller
  int ShellOpen(const std::string& path) override;
  int ShowManual(const std::string& path) override;  // the help window (dialogs/HelpWindow)
  void Beep() override;
  void RequestMainClose() override;
  [[noreturn]] void Terminate(int exitCode) override;
  bool LimitedTextInput(const std::string& caption, const std::string& prompt, std::string& value,
                        const std::string& defaultText, int maxLength) override;
  bool FileTypesRegistered() override;
  bool RegisterFileTypes(bool doRegister) override;

  // Sound output and music: SDL2 and FluidSynth (shell/AudioOutput.h).
  ~QtPlatform() override;
  bool SoundOpen(int frequency, bool bits16, bool stereo) override;
  void SoundClose() override;
  bool MusicOpen(const std::string& path) override;
  void MusicPlay(int64_t fromMs) override;
  void MusicStop() override;
  void MusicClose() override;
  bool MusicLoaded() override;
  bool MusicPlaying() override;
  int64_t MusicPosition() override;
  bool MusicTakeEnded() override;

 private:
  QWidget* DialogParent() const;
  void SetKey(int vk, bool pressed);

  QPointer<QWidget> main_;
  bool closedBeforeShown_ = false;

  uint8_t keys_[256] = {};  // 0x80 held, 0x01 pressed since the last KeyState of the key
  // The code each physical key (X key code, below 512) was pressed as, so that its release
  // clears the same code when Shift or Num Lock changed in between.
  uint8_t pressedAs_[512] = {};
  TGamepad gamepad_;  // started on the first reading
};

}  // namespace kelvra
