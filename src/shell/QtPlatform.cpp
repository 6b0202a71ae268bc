// The Qt platform services: message, file error, file and input dialogs, the clock, the
// virtual-key table and the desktop's "open".
#include "shell/QtPlatform.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "base/Paths.h"
#include "common/Settings.h"
#include "dialogs/GetIntDialog.h"
#include "dialogs/GetTimeDialog.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/IOErrorDialog.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/ScoresWindow.h"
#include "session/FileTypes.h"
#include "shell/AudioOutput.h"

namespace kelvra {

// ---------------------------------------------------------------------------------------
// Virtual-key codes

namespace {

// Keypad keys: Num Lock on gives digits, off gives the navigation meanings; both are
// reported as the pad's own codes.
int KeypadVk(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Insert:
      return 0x60;
    case Qt::Key_End:
      return 0x61;
    case Qt::Key_Down:
      return 0x62;
    case Qt::Key_PageDown:
      return 0x63;
    case Qt::Key_Left:
      return 0x64;
    case Qt::Key_Clear:
      return 0x65;  // the middle key, "Begin" without Num Lock
    case Qt::Key_Right:
      return 0x66;
    case Qt::Key_Home:
      return 0x67;
    case Qt::Key_Up:
      return 0x68;
    case Qt::Key_PageUp:
      return 0x69;
    case Qt::Key_Asterisk:
      return 0x6A;
    case Qt::Key_Plus:
      return 0x6B;
    case Qt::Key_Minus:
      return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete:
      return 0x6E;
    case Qt::Key_Slash:
      return 0x6F;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      return 0x0D;
    case Qt::Key_Equal:
      return 0xBB;
    default:
      return 0;
  }
}

}  // namespace

int QtKeyToVk(int key, Qt::KeyboardModifiers modifiers, quint32 nativeVirtualKey) {
  // X keysyms 0xFF80..0xFFBD are the keypad's (KP_Space .. KP_9).
  bool keypad = (modifiers & Qt::KeypadModifier) ||
                (nativeVirtualKey >= 0xFF80 && nativeVirtualKey <= 0xFFBD);
  if (keypad) {
    if (int vk = KeypadVk(key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // same codes as the system
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  switch (key) {
    // Shifted digits (US layout), so that a digit key keeps its code with Shift held.
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_At:
      return '2';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_AsciiCircum:
      return '6';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_Asterisk:
      return '8';
    case Qt::Key_ParenLeft:
      return '9';
    case Qt::Key_ParenRight:
      return '0';
    // Punctuation keys, plain and shifted, as the system's OEM codes.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
      return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 0xBC;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return 0xBD;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return 0xBE;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return 0xBF;
    case Qt::Key_QuoteLeft:  // the key left of 1
    case Qt::Key_AsciiTilde:
    case Qt::Key_Dead_Grave:
    case Qt::Key_Dead_Tilde:
    case Qt::Key_twosuperior:
      return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 0xDE;
    // Control and navigation keys.
    case Qt::Key_Cancel:
      return 0x03;
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;  // Shift+Tab arrives as Backtab
    case Qt::Key_Clear:
      return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Select:
      return 0x29;
    case Qt::Key_Printer:
      return 0x2A;
    case Qt::Key_Execute:
      return 0x2B;
    case Qt::Key_Print:
    case Qt::Key_SysReq:
      return 0x2C;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Help:
      return 0x2F;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
      return 0x5B;
    case Qt::Key_Super_R:
      return 0x5C;
    case Qt::Key_Menu:
      return 0x5D;
    case Qt::Key_Sleep:
      return 0x5F;
    case Qt::Key_NumLock:
      return 0x90;
    case Qt::Key_ScrollLock:
      return 0x91;
    case Qt::Key_Back:
      return 0xA6;
    case Qt::Key_Forward:
      return 0xA7;
    case Qt::Key_Refresh:
      return 0xA8;
    case Qt::Key_Stop:
      return 0xA9;
    case Qt::Key_Search:
      return 0xAA;
    case Qt::Key_Favorites:
      return 0xAB;
    case Qt::Key_HomePage:
      return 0xAC;
    case Qt::Key_VolumeMute:
      return 0xAD;
    case Qt::Key_VolumeDown:
      return 0xAE;
    case Qt::Key_VolumeUp:
      return 0xAF;
    case Qt::Key_MediaNext:
      return 0xB0;
    case Qt::Key_MediaPrevious:
      return 0xB1;
    case Qt::Key_MediaStop:
      return 0xB2;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
      return 0xB3;
    case Qt::Key_LaunchMail:
      return 0xB4;
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------------------
// File dialogs

namespace {

QString QtPattern(const QString& pattern) {
  QStringList parts = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& p : parts) {
    p = p.trimmed();
    if (p == QLatin1String("*.*")) p = QStringLiteral("*");  // names without a dot too
  }
  parts.removeAll(QString());
  return parts.join(QLatin1Char(' '));
}

// The first concrete extension of a Qt name filter ("Levels (*.BrL)" → "BrL"), for the
// suffix the save dialog adds to a name typed without one.
QString FilterSuffix(const QString& nameFilter) {
  int open = nameFilter.lastIndexOf(QLatin1Char('('));
  int close = nameFilter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return QString();
  const QStringList patterns =
      nameFilter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (const QString& p : patterns) {
    if (!p.startsWith(QLatin1String("*."))) continue;
    QString ext = p.mid(2);
    if (!ext.isEmpty() && !ext.contains(QLatin1Char('*')) && !ext.contains(QLatin1Char('?')))
      return ext;
  }
  return QString();
}

void PrepareFileDialog(QFileDialog& dialog, const std::string& filter,
                       const std::string& initialFile) {
  QString filters = QtFileFilter(filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters.split(QStringLiteral(";;")));
  // Extensions match whatever their case: "LEVELS.BRL" is a "*.BrL" file.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  if (!initialFile.empty()) {
    QFileInfo info(QString::fromStdString(initialFile));
    if (info.isDir()) {
      dialog.setDirectory(info.absoluteFilePath());
    } else {
      if (info.absoluteDir().exists()) dialog.setDirectory(info.absolutePath());
      dialog.selectFile(info.fileName());
    }
  }
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i].trimmed();
    QString pattern = QtPattern(parts[i + 1]);
    if (pattern.isEmpty()) continue;
    // Qt reads the patterns from the last parentheses of the entry; a description that
    // already ends in "(*.BrL)" keeps only the converted patterns there.
    if (desc.endsWith(QLatin1Char(')'))) {
      int open = desc.lastIndexOf(QLatin1Char('('));
      if (open >= 0) desc = desc.left(open).trimmed();
    }
    out << (desc.isEmpty() ? QStringLiteral("(%1)").arg(pattern)
                           : QStringLiteral("%1 (%2)").arg(desc, pattern));
  }
  return out.join(QStringLiteral(";;"));
}

std::optional<std::string> QtOpenFileDialog(QWidget* parent, const std::string& filter,
                                            const std::string& initialFile) {
  QFileDialog dialog(parent, QStringLiteral("Open"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);  // path and file must exist
  PrepareFileDialog(dialog, filter, initialFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtSaveFileDialog(QWidget* parent, const std::string& filter,
                                            const std::string& initialFile) {
  QFileDialog dialog(parent, QStringLiteral("Save As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);  // the folder must exist; asks before overwriting
  PrepareFileDialog(dialog, filter, initialFile);
  dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& f) { dialog.setDefaultSuffix(FilterSuffix(f)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

// ---------------------------------------------------------------------------------------
// QtPlatform

QtPlatform::QtPlatform() = default;

QWidget* QtPlatform::DialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (main_) return main_;
  return QApplication::activeWindow();
}

MsgButton QtPlatform::MessageDialog(const std::string& text, MsgType type, MsgButtons buttons) {
  return RunMessageDialog(text, type, buttons, DialogParent());
}

IOErrorReply QtPlatform::FileErrorDialog(const IOErrorRequest& request) {
  return RunIOErrorDialog(request, main_ ? main_.data() : DialogParent());
}

std::optional<std::string> QtPlatform::OpenFileDialog(const std::string& filter,
                                                      const std::string& initialFile) {
  return QtOpenFileDialog(DialogParent(), filter, initialFile);
}

std::optional<std::string> QtPlatform::SaveFileDialog(const std::string& filter,
                                                      const std::string& initialFile) {
  return QtSaveFileDialog(DialogParent(), filter, initialFile);
}

bool QtPlatform::TextInput(const std::string& caption, const std::string& prompt,
                           std::string& value) {
  bool ok = false;
  QString text = QInputDialog::getText(DialogParent(), QString::fromStdString(caption),
                                       QString::fromStdString(prompt), QLineEdit::Normal,
                                       QString::fromStdString(value), &ok);
  if (ok) value = text.toStdString();
  return ok;
}

bool QtPlatform::NumberDialog(const std::string& caption, int32_t& value, int32_t min, int32_t max,
                              int32_t def) {
  return GetInt(QString::fromStdString(caption), value, min, nullptr, max, def, DialogParent());
}

bool QtPlatform::TimeDialog(const std::string& caption, int32_t& valueMs, int32_t min, int32_t max,
                            int32_t def) {
  // The time dialog counts unsigned milliseconds: negative limits and values mean 0.
  auto ms = [](int32_t v) { return uint32_t(std::max(v, 0)); };
  uint32_t v = ms(valueMs);
  if (!GetTime(QString::fromStdString(caption), v, ms(def), ms(max), ms(min), DialogParent()))
    return false;
  valueMs = int32_t(std::min<uint32_t>(v, uint32_t(INT32_MAX)));  // within max, an int32
  return true;
}

int64_t QtPlatform::NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double QtPlatform::NowDateTime() {
  const QDateTime now = QDateTime::currentDateTime();
  constexpr double kMsPerDay = 86400000.0;
  return double(QDate(1899, 12, 30).daysTo(now.date())) +
         now.time().msecsSinceStartOfDay() / kMsPerDay;
}

void QtPlatform::SetKey(int vk, bool pressed) {
  if (vk <= 0 || vk > 255) return;
  if (pressed)
    keys_[vk] = 0x81;
  else
    keys_[vk] &= 0x01;  // a press not yet read stays counted
}

void QtPlatform::KeyEvent(int qtKey, quint32 nativeVirtualKey, Qt::KeyboardModifiers modifiers,
                          bool pressed) {
  SetKey(QtKeyToVk(qtKey, modifiers, nativeVirtualKey), pressed);
}

void QtPlatform::KeyEvent(const QKeyEvent* event, bool pressed) {
  if (!event || (!pressed && event->isAutoRepeat())) return;
  int vk = QtKeyToVk(event->key(), event->modifiers(), event->nativeVirtualKey());
  quint32 scan = event->nativeScanCode();
  if (scan > 0 && scan < sizeof pressedAs_) {
    if (pressed) {
      pressedAs_[scan] = uint8_t(vk);
    } else if (pressedAs_[scan]) {
      vk = pressedAs_[scan];
      pressedAs_[scan] = 0;
    }
  }
  SetKey(vk, pressed);
}

void QtPlatform::MouseButton(int vk, bool pressed) {
  SetKey(vk, pressed);
}

void QtPlatform::ClearKeys() {
  for (uint8_t& k : keys_) k &= 0x01;
  for (uint8_t& p : pressedAs_) p = 0;
}

uint8_t QtPlatform::KeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  uint8_t state = keys_[vk];
  keys_[vk] &= 0x80;
  return state;
}

void QtPlatform::KeySnapshot(uint8_t state[256]) {
  for (int i = 0; i < 256; ++i) state[i] = keys_[i] & 0x80;
}

uint8_t QtPlatform::GamepadState() {
  return gamepad_.State(NowMs());
}

bool QtPlatform::LimitedTextInput(const std::string& caption, const std::string& prompt,
                                  std::string& value, const std::string& defaultText,
                                  int maxLength) {
  return RunNameDialog(DialogParent(), caption, prompt, value, defaultText, maxLength);
}

bool QtPlatform::FileTypesRegistered() {
  return kelvra::FileTypesRegistered(UserDataHome());
}

bool QtPlatform::RegisterFileTypes(bool doRegister) {
  return kelvra::RegisterFileTypes(UserDataHome(),
                                   QCoreApplication::applicationFilePath().toStdString(),
                                   ProgramDir() + "Icons/hicolor/", doRegister, true);
}

int QtPlatform::ShellOpen(const std::string& path) {
  QFileInfo info(QString::fromStdString(path));
  if (path.empty() || !info.exists()) return ENOENT;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? 0 : EIO;
}

int QtPlatform::ShowManual(const std::string& path) {
  return ShowHelpWindow(QString::fromStdString(path), main_);
}

void QtPlatform::Beep() {
  QApplication::beep();
}

void QtPlatform::RequestMainClose() {
  if (!main_) Terminate(1);
  if (!main_->isVisible()) {  // still being made: nothing to close yet
    closedBeforeShown_ = true;
    return;
  }
  // Queued: the request may come from inside a save that closing itself started.
  QPointer<QWidget> window = main_;
  QTimer::singleShot(0, window, [window] {
    if (window) window->close();
  });
}

void QtPlatform::Terminate(int exitCode) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(exitCode);
}

// ---------------------------------------------------------------------------------------
// Sound output and music

namespace {

TAudio& QtAudio() {
  TAudio& audio = Audio();
  if (!audio.music.report)
    audio.music.report = [](const std::string& text) {
      Platform().MessageDialog(text, MsgType::Warning, Btn(MsgButton::Ok));
    };
  return audio;
}

// The format music opens the device in when the effects have not opened it.
TOutputFormat OptionsFormat() {
  TOutputFormat format;
  format.rate = std::clamp(gOptions.soundFrequency, 4000, 192000);
  format.bits16 = gOptions.sound16bits != 0;
  format.stereo = gOptions.soundStereo != 0;
  return format;
}

}  // namespace

QtPlatform::~QtPlatform() {
  ShutdownAudio();
}

bool QtPlatform::SoundOpen(int frequency, bool bits16, bool stereo) {
  TOutputFormat format;
  format.rate = frequency;
  format.bits16 = bits16;
  format.stereo = stereo;
  return QtAudio().output.OpenEffects(format);
}

void QtPlatform::SoundClose() {
  QtAudio().output.CloseEffects();
}

bool QtPlatform::MusicOpen(const std::string& path) {
  return QtAudio().music.Open(path);
}

void QtPlatform::MusicPlay(int64_t fromMs) {
  TAudio& audio = QtAudio();
  audio.music.Play(fromMs);
  if (audio.music.Playing()) audio.output.SetMusicActive(true, OptionsFormat());
}

void QtPlatform::MusicStop() {
  TAudio& audio = QtAudio();
  audio.music.Stop();
  audio.output.SetMusicActive(false, OptionsFormat());
}

void QtPlatform::MusicClose() {
  TAudio& audio = QtAudio();
  audio.music.Close();
  audio.output.SetMusicActive(false, OptionsFormat());
}

bool QtPlatform::MusicLoaded() {
  return QtAudio().music.Loaded();
}
bool QtPlatform::MusicPlaying() {
  return QtAudio().music.Playing();
}
int64_t QtPlatform::MusicPosition() {
  return QtAudio().music.PositionMs();
}
bool QtPlatform::MusicTakeEnded() {
  return QtAudio().music.TakeEnded();
}

}  // namespace kelvra
