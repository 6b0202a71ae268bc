// The settings dialog: its controls, the key capture from the Qt key events, the warning
// about keys the program's shortcuts take, the live colour preview, and OK and Cancel.
#include "shell/SettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "common/Settings.h"
#include "dialogs/ColorDialog.h"
#include "media/KBitmap.h"
#include "platform/Services.h"
#include "shell/QtPlatform.h"

namespace kelvra {

namespace {

const char* const kControlNames[kKeysPerMap] = {"Left", "Up", "Right", "Down", "Fire1", "Fire2"};

QtPlatform* KeyTable() {
  return dynamic_cast<QtPlatform*>(&Platform());
}

// The system's codes of the mouse buttons, 0 for others.
int MouseButtonVk(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    case Qt::BackButton:
      return 5;
    case Qt::ForwardButton:
      return 6;
    default:
      return 0;
  }
}

// The colour button's picture: the colour with a thin frame, so that white and the
// window's own grey still show as a patch.
QIcon Swatch(uint32_t colour, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.setBrush(ToQColor(colour));
  p.drawRect(0, 0, size - 1, size - 1);
  return QIcon(pixmap);
}

constexpr int kSwatchSize = 16;  // pixels

QComboBox* Combo(QWidget* parent, std::initializer_list<const char*> items) {
  auto* combo = new QComboBox(parent);
  for (const char* item : items) combo->addItem(QString::fromLatin1(item));
  return combo;
}

}  // namespace

TfSettings::TfSettings(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fSettings"));
  setWindowTitle(QStringLiteral("Settings"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  // Players and keyboards.
  players_ = Combo(this, {"Player 1", "Player 2", "Player 3", "Player 4", "Player 5"});
  input_ =
      Combo(this, {"Keyboard 1", "Keyboard 2", "Keyboard 3", "Keyboard 4", "Mouse", "Joystick"});
  colour_ = new QPushButton(QStringLiteral("Color"), this);
  colour_->setAutoDefault(false);
  keyboard_ = Combo(this, {"Keyboard 1", "Keyboard 2", "Keyboard 3", "Keyboard 4"});
  auto* playersLabel = new QLabel(QStringLiteral("&Players:"), this);
  playersLabel->setBuddy(players_);
  auto* keyboardLabel = new QLabel(QStringLiteral("&Keyboard:"), this);
  keyboardLabel->setBuddy(keyboard_);

  auto* playerGrid = new QGridLayout;
  playerGrid->addWidget(playersLabel, 0, 0);
  playerGrid->addWidget(players_, 0, 1);
  playerGrid->addWidget(input_, 1, 1);
  playerGrid->addWidget(colour_, 2, 1);
  playerGrid->addWidget(keyboardLabel, 3, 0);
  playerGrid->addWidget(keyboard_, 3, 1);
  for (int tag = 0; tag < kKeysPerMap; ++tag) {
    keys_[tag] = new QPushButton(this);
    keys_[tag]->setObjectName(QStringLiteral("Key%1").arg(kControlNames[tag]));
    keys_[tag]->setAutoDefault(false);
    keys_[tag]->setProperty("tag", tag);
    playerGrid->addWidget(new QLabel(QString::fromLatin1(kControlNames[tag]), this), 4 + tag, 0);
    playerGrid->addWidget(keys_[tag], 4 + tag, 1);
    connect(keys_[tag], &QPushButton::clicked, this, [this, tag] { CaptureControl(tag); });
  }
  default_ = new QPushButton(QStringLiteral("Default"), this);
  default_->setAutoDefault(false);
  playerGrid->addWidget(default_, 4 + kKeysPerMap, 1);
  // Room for the capture prompt, so that the fixed-size dialog does not jump while capturing.
  const int keyWidth = fontMetrics().horizontalAdvance(QString::fromUtf8(kCapturePrompt)) + 24;
  for (QPushButton* key : keys_) key->setMinimumWidth(keyWidth);
  warning_ = new QLabel(this);
  warning_->setObjectName(QStringLiteral("ShortcutWarning"));
  warning_->setWordWrap(true);
  warning_->setMaximumWidth(260);
  warning_->setStyleSheet(QStringLiteral("color: #a04000;"));  // a dark orange: a caution
  warning_->hide();
  playerGrid->addWidget(warning_, 5 + kKeysPerMap, 0, 1, 2);
  colour_->setIconSize(QSize(kSwatchSize, kSwatchSize));

  // Graphics.
  auto* graphics = new QGroupBox(QStringLiteral("&Graphics:"), this);
  fullScreen_ = new QCheckBox(QStringLiteral("Full Screen"), graphics);
  depth_ = Combo(graphics, {"8 bits", "16 bits", "24 bits", "32 bits"});
  waitRetrace_ = new QCheckBox(QStringLiteral("Wait Retrace"), graphics);
  auto* graphicsLayout = new QVBoxLayout(graphics);
  graphicsLayout->addWidget(fullScreen_);
  graphicsLayout->addWidget(depth_);
  graphicsLayout->addWidget(waitRetrace_);

  // Sounds.
  auto* sounds = new QGroupBox(QStringLiteral("&Sounds:"), this);
  sound_ = new QCheckBox(QStringLiteral("Sound"), sounds);
  music_ = new QCheckBox(QStringLiteral("Music"), sounds);
  bits16_ = new QCheckBox(QStringLiteral("16 bits"), sounds);
  stereo_ = new QCheckBox(QStringLiteral("Stereo"), sounds);
  reduce_ = new QCheckBox(QStringLiteral("Reduce"), sounds);
  frequency_ = Combo(sounds, {"11025", "22050", "33075", "44100"});
  frequency_->setEditable(true);
  frequency_->setInsertPolicy(QComboBox::NoInsert);
  auto* soundsLayout = new QGridLayout(sounds);
  soundsLayout->addWidget(sound_, 0, 0);
  soundsLayout->addWidget(music_, 0, 1);
  soundsLayout->addWidget(bits16_, 1, 0);
  soundsLayout->addWidget(stereo_, 1, 1);
  soundsLayout->addWidget(reduce_, 2, 0);
  soundsLayout->addWidget(new QLabel(QStringLiteral("Frequency"), sounds), 3, 0);
  soundsLayout->addWidget(frequency_, 3, 1);

  // Priorities.
  auto* priority = new QGroupBox(QStringLiteral("P&riority:"), this);
  process_ = Combo(priority, {"Idle", "Normal", "High", "Realtime"});
  thread_ = Combo(priority, {"Idle", "Lowest", "Below Normal", "Normal", "Above Normal", "Highest",
                             "Time Critical"});
  auto* priorityLayout = new QGridLayout(priority);
  priorityLayout->addWidget(new QLabel(QStringLiteral("Process"), priority), 0, 0);
  priorityLayout->addWidget(process_, 0, 1);
  priorityLayout->addWidget(new QLabel(QStringLiteral("Thread"), priority), 1, 0);
  priorityLayout->addWidget(thread_, 1, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* options = new QVBoxLayout;
  options->addWidget(graphics);
  options->addWidget(sounds);
  options->addWidget(priority);
  auto* columns = new QHBoxLayout;
  columns->addLayout(playerGrid);
  columns->addLayout(options);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog

  connect(players_, &QComboBox::currentIndexChanged, this, [this] { ShowPlayer(); });
  connect(input_, &QComboBox::activated, this, [this](int index) {
    const int p = players_->currentIndex();
    if (p >= 0 && p < kPlayers && index >= 0) edit_.input[p] = uint8_t(index);
  });
  connect(keyboard_, &QComboBox::currentIndexChanged, this, [this] { ShowKeys(); });
  connect(colour_, &QPushButton::clicked, this, [this] { PickColour(); });
  connect(default_, &QPushButton::clicked, this, [this] {
    const int m = keyboard_->currentIndex();
    if (m < 0 || m >= kKeyMaps) return;
    std::memcpy(edit_.keyMap[m], kDefaultKeyMap[m], sizeof edit_.keyMap[m]);
    ShowKeys();
  });
}

void TfSettings::Open() {
  snapshot_ = TakePlayerSnapshot();
  edit_ = CurrentSettingsValues();
  changes_ = TSettingsChanges{};
  accepted_ = false;

  fullScreen_->setChecked(edit_.fullScreen);
  depth_->setCurrentIndex(std::clamp(edit_.fullScreenBits / 8 - 1, 0, 3));
  waitRetrace_->setChecked(edit_.waitRetrace);
  sound_->setChecked(edit_.sounds);
  music_->setChecked(edit_.music);
  bits16_->setChecked(edit_.sound16bits);
  stereo_->setChecked(edit_.soundStereo);
  reduce_->setChecked(edit_.reduceSounds);
  frequency_->setCurrentText(QString::number(edit_.soundFrequency));
  process_->setCurrentIndex(std::clamp(edit_.processPriority, 0, 3));
  thread_->setCurrentIndex(std::clamp(edit_.threadPriority, 0, 6));
  if (players_->currentIndex() < 0) players_->setCurrentIndex(0);
  if (keyboard_->currentIndex() < 0) keyboard_->setCurrentIndex(0);
  input_->setEnabled(!lockInputs);
  input_->setToolTip(lockInputs ? QStringLiteral("A replay plays with the settings it was "
                                                 "recorded with")
                                : QString());
  ShowPlayer();
  ShowKeys();
}

TSettingsValues TfSettings::Values() const {
  TSettingsValues v = edit_;
  v.fullScreen = fullScreen_->isChecked();
  v.fullScreenBits = (depth_->currentIndex() + 1) * 8;
  v.waitRetrace = waitRetrace_->isChecked();
  v.sounds = sound_->isChecked();
  v.music = music_->isChecked();
  v.sound16bits = bits16_->isChecked();
  v.soundStereo = stereo_->isChecked();
  v.reduceSounds = reduce_->isChecked();
  v.soundFrequency = ParseFrequency(frequency_->currentText().toStdString());
  v.processPriority = process_->currentIndex();
  v.threadPriority = thread_->currentIndex();
  return v;
}

void TfSettings::ShowPlayer() {
  const int p = players_->currentIndex();
  if (p < 0 || p >= kPlayers) return;
  input_->setCurrentIndex(edit_.input[p] < kInputs ? edit_.input[p] : -1);
  ShowColour();
}

void TfSettings::ShowColour() {
  const int p = players_->currentIndex();
  if (p < 0 || p >= kPlayers) return;
  // A swatch beside the name: the caption stays in the button's own colours, readable
  // whatever the player's colour is.
  const uint32_t c = gCom.player[p].colour;
  colour_->setText(QString::fromStdString(ColourText(c)));
  colour_->setIcon(Swatch(c, kSwatchSize));
}

void TfSettings::ShowKeys() {
  const int m = keyboard_->currentIndex();
  if (m < 0 || m >= kKeyMaps) return;
  QStringList clashes;
  for (int tag = 0; tag < kKeysPerMap; ++tag) {
    const uint16_t code = edit_.keyMap[m][tag];
    keys_[tag]->setText(tag == captureTag_ ? QString::fromUtf8(kCapturePrompt)
                                           : QString::fromStdString(KeyName(code)));
    if (const char* command = ShortcutCommand(code))
      clashes << QStringLiteral("%1 (%2) is the program's key for %3.")
                     .arg(QString::fromStdString(KeyName(code)),
                          QString::fromLatin1(kControlNames[tag]), QString::fromLatin1(command));
  }
  // Not blocking: the key may be wanted all the same, but the game will not see it.
  if (!clashes.isEmpty()) clashes << QStringLiteral("It will work the command, not the game.");
  warning_->setText(clashes.join(QLatin1Char(' ')));
  warning_->setVisible(!clashes.isEmpty());
}

void TfSettings::PickColour() {
  const int p = players_->currentIndex();
  if (p < 0 || p >= kPlayers) return;
  uint32_t colour = gCom.player[p].colour;
  RunColorDialog(this, QStringLiteral("Player %1 Color").arg(p + 1), colour,
                 kDefaultPlayerColour[p], [this, p](uint32_t c) {
                   SetPlayerColour(p, c);
                   ShowColour();
                 });
  ShowColour();
}

void TfSettings::CaptureControl(int tag) {
  const int m = keyboard_->currentIndex();
  if (captureTag_ >= 0 || tag < 0 || tag >= kKeysPerMap || m < 0 || m >= kKeyMaps) return;
  captureTag_ = tag;
  ShowKeys();
}

void TfSettings::EndCapture(int code) {
  const int tag = captureTag_, m = keyboard_->currentIndex();
  captureTag_ = -1;
  if (code > 0 && code < 256 && m >= 0 && m < kKeyMaps) edit_.keyMap[m][tag] = uint16_t(code);
  ShowKeys();
}

bool TfSettings::eventFilter(QObject* watched, QEvent* event) {
  // Key and button events reach the key table from the window that has them; while the
  // dialog is up that is this dialog. While capturing nothing else sees them, so that Tab,
  // Space or Escape does not move the focus, click or close.
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  const bool capturing = captureTag_ >= 0;
  if (widget->window() != this && !capturing) return false;
  QtPlatform* table = KeyTable();
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      const bool press = event->type() == QEvent::KeyPress;
      if (table) table->KeyEvent(key, press);
      if (capturing && press && !key->isAutoRepeat()) {
        if (key->key() == Qt::Key_Escape) {
          EndCapture(0);
        } else {
          // A key the table does not know (a media key, say) is passed over: the capture
          // waits for one it knows.
          const int code = QtKeyToVk(key->key(), key->modifiers(), key->nativeVirtualKey());
          if (code > 0 && code < 256 && !IsMouseButtonCode(code)) EndCapture(code);
        }
      }
      return capturing;
    }
    case QEvent::ShortcutOverride:
      if (!capturing) return false;
      event->accept();  // accepted: no shortcut of any window fires
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
      if (table) {
        const int vk = MouseButtonVk(static_cast<QMouseEvent*>(event)->button());
        if (vk) table->MouseButton(vk, event->type() != QEvent::MouseButtonRelease);
      }
      // A click is no player key: it ends the capture as Escape does.
      if (capturing && event->type() == QEvent::MouseButtonPress) EndCapture(0);
      return capturing;
    default:
      return false;
  }
}

void TfSettings::PlacePosition() {
  if (placed_) return;
  placed_ = true;
  const QPoint stored(gOptions.scoresLeft, gOptions.scoresTop);
  if (stored.x() >= 0 && stored.y() >= 0 && QGuiApplication::screenAt(stored + QPoint(20, 20))) {
    move(stored);
  } else if (QWidget* p = parentWidget()) {
    const QRect r = p->window()->frameGeometry();
    move(r.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
  }
}

void TfSettings::showEvent(QShowEvent* event) {
  PlacePosition();
  if (!filtering_) {
    qApp->installEventFilter(this);
    filtering_ = true;
  }
  QDialog::showEvent(event);
}

void TfSettings::hideEvent(QHideEvent* event) {
  if (filtering_) {
    qApp->removeEventFilter(this);
    filtering_ = false;
  }
  // The releases of keys held now go to another window.
  if (QtPlatform* table = KeyTable()) table->ClearKeys();
  QDialog::hideEvent(event);
}

void TfSettings::done(int result) {
  if (captureTag_ >= 0) EndCapture(0);  // closed by the window's close box while waiting
  if (result == QDialog::Accepted) {
    changes_ = ApplySettingsValues(Values(), applyPriorities);
    accepted_ = true;
  } else {
    RestorePlayerSnapshot(snapshot_);
    changes_ = TSettingsChanges{};
    accepted_ = false;
  }
  gOptions.scoresLeft = pos().x();
  gOptions.scoresTop = pos().y();
  QDialog::done(result);
}

TSettingsResult RunSettingsDialog(QWidget* parent, bool lockInputs) {
  static QPointer<TfSettings> dialog;
  if (!dialog || dialog->parentWidget() != parent) dialog = new TfSettings(parent);
  dialog->lockInputs = lockInputs;
  dialog->Open();
  dialog->exec();
  TSettingsResult result;
  result.accepted = dialog && dialog->Accepted();
  if (dialog) result.changes = dialog->Changes();
  return result;
}

}  // namespace kelvra
