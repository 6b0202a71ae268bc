// The level editor window: menus and controls built from the editor's item table, shown
// from the editor's view after every change; commands, list choices and the play field's
// mouse go to the editor, which holds all the logic.
#include "editor/EditorWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "brickfall/BrickBackground.h"
#include "brickfall/BrickGame.h"
#include "common/Com.h"
#include "dialogs/ColorDialog.h"
#include "dialogs/GetIntDialog.h"
#include "shell/QtPlatform.h"

namespace kelvra {

namespace {

// Items whose command opens a blocking dialog (a question, a text or a number).
bool AsksTheUser(EditorItemId id) {
  switch (id) {
    case eiLevelName:
    case eiDescription:
    case eiFinalMessage:
    case eiLock:
    case eiEarthquake:
    case eiGravity:
    case eiBackgroundEffect:
    case eiPaste:  // a paste beyond the level's wall limit says so
    case eiCopyLeftToRight:
      return true;
    default:
      return false;
  }
}

// Fills a list with `names` when they differ from its items and selects `choice` (-1: no
// item), without calling the list's handlers.
void ShowList(QComboBox* list, const std::vector<std::string>& names, int choice) {
  const QSignalBlocker block(list);
  bool same = list->count() == int(names.size());
  for (int i = 0; same && i < list->count(); ++i)
    same = list->itemText(i).toStdString() == names[size_t(i)];
  if (!same) {
    list->clear();
    for (const std::string& name : names) list->addItem(QString::fromStdString(name));
  }
  list->setCurrentIndex(choice >= 0 && choice < list->count() ? choice : -1);
}

// A typed coordinate is kept while the user is still typing it.
void ShowText(QLineEdit* edit, const std::string& text) {
  if (edit->hasFocus() && edit->isModified()) return;
  const QSignalBlocker block(edit);
  edit->setText(QString::fromStdString(text));
  edit->setModified(false);
}

QComboBox* MakeList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  list->setMaxVisibleItems(16);
  return list;
}

}  // namespace

TfEditor::TfEditor(TKIniFile* ini, QWidget* parent) : QMainWindow(parent, Qt::Tool), ini_(ini) {
  setObjectName("fEditor");
  if (ini_) EditorSettingsTransfer(*ini_, false, editor_.settings);
  CreateActions();
  CreateMenus();
  CreateControls();
  editor_.hooks.changed = [this] {
    ShowView();
    FieldChanged();  // the selection and the band are drawn on the field
  };
  editor_.hooks.fieldChanged = [this] { FieldChanged(); };
  editor_.hooks.closeRequested = [this] {
    if (onClosed) onClosed();
  };
  move(editor_.settings.left, editor_.settings.top);
  ShowView();
}

QList<QAction*> TfEditor::editorActions() const {
  return QList<QAction*>(std::begin(actions_), std::end(actions_));
}

void TfEditor::CreateActions() {
  for (int i = 0; i < eiCount; ++i) {
    const TEditorItemDef& def = kEditorItems[i];
    auto* a = new QAction(def.caption, this);
    a->setCheckable(def.checkable);
    if (*def.shortcut) a->setShortcut(QKeySequence(def.shortcut));
    a->setEnabled(false);  // until the editor opens
    const EditorItemId id = def.id;
    connect(a, &QAction::triggered, this, [this, id] { Trigger(id); });
    actions_[i] = a;
  }
}

void TfEditor::CreateMenus() {
  for (int m = 0; m < emCount; ++m) {
    menus_[m] = m == emPopup ? new QMenu(this) : menuBar()->addMenu(kEditorMenuTitles[m]);
    menus_[m]->setObjectName(QString("editorMenu%1").arg(m));
  }
  for (int i = 0; i < eiCount; ++i) {
    const EditorItemId id = kEditorItems[i].id;
    // Groups of the Level and Edit menus.
    if (id == eiLevelName || id == eiLock || id == eiCopyLeftToRight || id == eiRotate ||
        id == eiSelectAll || id == eiRightIsLeft || id == eiAlignToGrid)
      menus_[kEditorItems[i].menu]->addSeparator();
    menus_[kEditorItems[i].menu]->addAction(actions_[i]);
  }
}

void TfEditor::CreateControls() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);

  auto* levelLabel = new QLabel("Level", central);
  levels_ = MakeList(central, "ComboBoxLevel");
  levels_->setMinimumContentsLength(16);
  levelLabel->setBuddy(levels_);
  grid->addWidget(levelLabel, 0, 0);
  grid->addWidget(levels_, 0, 1, 1, 2);

  squareLabel_ = new QLabel("Square", central);
  squares_ = MakeList(central, "ComboBoxSquare");
  directions_ = MakeList(central, "ComboBoxRot");
  ShowList(directions_,
           std::vector<std::string>(std::begin(kDirectionNames), std::end(kDirectionNames)), -1);
  wallCount_ = new QLabel(central);
  wallCount_->setObjectName("LabelWalls");
  wallCount_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->addWidget(squareLabel_, 1, 0);
  grid->addWidget(squares_, 1, 1);
  grid->addWidget(directions_, 1, 2);
  grid->addWidget(wallCount_, 1, 1);

  wallBox_ = new QWidget(central);
  auto* walls = new QGridLayout(wallBox_);
  walls->setContentsMargins(0, 0, 0, 0);
  walls->setHorizontalSpacing(6);
  walls->setVerticalSpacing(4);
  colours_ = MakeList(wallBox_, "ComboBoxClr");
  bonuses_ = MakeList(wallBox_, "ComboBoxBonus");
  shapes_ = MakeList(wallBox_, "ComboBoxSize");
  editX_ = new QLineEdit(wallBox_);
  editX_->setObjectName("EditX");
  editY_ = new QLineEdit(wallBox_);
  editY_->setObjectName("EditY");
  for (QLineEdit* e : {editX_, editY_}) {
    e->setMaxLength(11);  // a signed 32-bit number
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance("-000000") + 12);
  }
  const std::pair<const char*, QWidget*> rows[] = {
      {"Color", colours_}, {"Bonus", bonuses_}, {"Shape", shapes_}};
  int row = 0;
  for (auto [text, control] : rows) {
    auto* label = new QLabel(text, wallBox_);
    label->setBuddy(control);
    walls->addWidget(label, row, 0);
    walls->addWidget(control, row++, 1, 1, 3);
  }
  walls->addWidget(new QLabel("X", wallBox_), row, 0);
  walls->addWidget(editX_, row, 1);
  walls->addWidget(new QLabel("Y", wallBox_), row, 2, Qt::AlignRight);
  walls->addWidget(editY_, row, 3);
  walls->setColumnStretch(1, 1);
  walls->setColumnStretch(3, 1);
  grid->addWidget(wallBox_, 2, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  setCentralWidget(central);

  // Only the user's choices edit: showing a value blocks these handlers.
  connect(levels_, &QComboBox::activated, this, [this](int i) { editor_.ChooseLevel(i); });
  connect(squares_, &QComboBox::activated, this, [this](int i) { editor_.ChooseSquareKind(i); });
  connect(directions_, &QComboBox::activated, this, [this](int i) { editor_.ChooseDirection(i); });
  connect(colours_, &QComboBox::activated, this, [this](int i) { editor_.SetWallColour(i); });
  connect(bonuses_, &QComboBox::activated, this, [this](int i) { editor_.SetWallBonus(i); });
  connect(shapes_, &QComboBox::activated, this, [this](int i) { editor_.SetWallShape(i); });
  // A typed coordinate applies when it is finished (Return or leaving the field), and only
  // when it was typed: an empty field (walls at different places) left alone moves nothing.
  connect(editX_, &QLineEdit::editingFinished, this, [this] {
    if (!editX_->isModified()) return;
    editX_->setModified(false);
    editor_.SetWallX(editX_->text().toStdString());
  });
  connect(editY_, &QLineEdit::editingFinished, this, [this] {
    if (!editY_->isModified()) return;
    editY_->setModified(false);
    editor_.SetWallY(editY_->text().toStdString());
  });
}

void TfEditor::Open() {
  editor_.Open();
  ShowView();
  show();
  FieldChanged();
}

void TfEditor::Close() {
  if (editor_.IsOpen()) {
    editor_.settings.left = pos().x();
    editor_.settings.top = pos().y();
    if (ini_) EditorSettingsTransfer(*ini_, true, editor_.settings);
    editor_.Close();
    menus_[emPopup]->hide();
    ShowView();  // every item disabled: the shortcuts rest with the window
  }
  hide();
}

void TfEditor::Refresh() {
  editor_.Refresh();
  ShowView();
}

void TfEditor::closeEvent(QCloseEvent* event) {
  event->accept();
  if (editor_.IsOpen() && onClosed) onClosed();
}

void TfEditor::Dialog(bool begin) {
  if (onDialog) onDialog(begin);
}

void TfEditor::FieldChanged() {
  if (onFieldChanged) onFieldChanged();
}

// ---- Commands ----

void TfEditor::Trigger(EditorItemId id) {
  const TMenuItemState& item = editor_.View()[id];
  if (editor_.IsOpen() && item.visible && item.enabled) {
    switch (id) {
      case eiMaxWind:
      case eiSelectTexture:
      case eiGridSize:
        RunLiveNumber(id);
        break;
      case eiSelectColor:
        RunColour();
        break;
      case eiSelectPicture:
        RunPicture();
        break;
      default: {
        const bool asks = AsksTheUser(id);
        if (asks) Dialog(true);
        editor_.Command(id);
        if (asks) Dialog(false);
        break;
      }
    }
  }
  ShowView();  // a check mark Qt toggled by itself follows the view again
}

// The live number dialogs stay open beside the editor; every change goes to the editor at
// once, and Cancel brings back the value at opening the same way.
void TfEditor::RunLiveNumber(EditorItemId id) {
  if (id == eiGridSize) {
    int32_t value = editor_.settings.gridSize;
    GetInt(
        "Grid Size", value, 2, [this](int32_t v) { editor_.SetGridSize(v); }, 32, 16, this);
    return;
  }
  const TLevel* level = CurrentBrickLevel();
  if (!level) return;
  if (id == eiMaxWind) {
    int32_t value = level->f.maxWind;
    GetInt(
        "Max Wind", value, 0, [this](int32_t v) { editor_.SetMaxWind(v); }, 127, 0, this);
  } else {
    int32_t value = level->f.backgroundTexture;
    GetInt(
        "Background Texture", value, 0, [this](int32_t v) { editor_.SetBackgroundTexture(v); }, 9,
        0, this);
  }
}

void TfEditor::RunColour() {
  const TLevel* level = CurrentBrickLevel();
  if (!level) return;
  uint32_t colour = level->f.backgroundColour;
  Dialog(true);
  if (RunColorDialog(this, "Background Color", colour, 0,
                     [this](uint32_t c) { editor_.SetBackgroundColour(c); }))
    editor_.SetBackgroundColour(colour);
  Dialog(false);
}

void TfEditor::RunPicture() {
  const TLevel* level = CurrentBrickLevel();
  if (!level) return;
  const std::string folder = ProgramDir() + "Levels/Brickfall/";
  const std::string current =
      GetShortString(level->f.backgroundPicture, sizeof level->f.backgroundPicture);
  const std::string existing = current.empty() ? "" : FindBrickBackground(current);
  QFileDialog dialog(this, "Background Picture", QString::fromStdString(folder),
                     QtFileFilter("All Pictures (*.jpg;*.bmp)|*.jpg;*.bmp|JPEG Image Files "
                                  "(*.jpg)|*.jpg|Bitmap Files (*.bmp)|*.bmp|Any Files (*.*)|*.*"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly);
  if (!existing.empty()) dialog.selectFile(QString::fromStdString(existing));
  Dialog(true);
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (chosen) editor_.SelectPicture(dialog.selectedFiles().first().toStdString());
  Dialog(false);
}

// ---- The play field ----

void TfEditor::FieldMouse(QEvent::Type type, const QMouseEvent& event) {
  if (!editor_.IsOpen()) return;
  const TFieldPoint p{gCom.mouseX, gCom.mouseY};
  const bool ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
  const int button = event.button() == Qt::LeftButton    ? 0
                     : event.button() == Qt::RightButton ? 2
                                                         : -1;
  switch (type) {
    case QEvent::MouseButtonPress:
      if (button >= 0) editor_.MousePress(button, p, ctrl);
      break;
    case QEvent::MouseMove:
      editor_.MouseMove(p, ctrl);  // counted only while the primary button is down
      break;
    case QEvent::MouseButtonRelease:
      if (button >= 0) editor_.MouseRelease(button, p, ctrl);
      if (button == 2) {
        ShowView();
        menus_[emPopup]->popup(event.globalPosition().toPoint());
      }
      break;
    default:
      break;
  }
}

// ---- The view ----

void TfEditor::ShowView() {
  const TEditorView& v = editor_.View();
  const bool open = editor_.IsOpen();
  setWindowTitle(QString::fromStdString(v.caption));

  bool menuVisible[emCount] = {};
  for (int i = 0; i < eiCount; ++i) {
    const TMenuItemState& s = v.item[size_t(i)];
    QAction* a = actions_[i];
    a->setVisible(s.visible);
    a->setEnabled(open && s.visible && s.enabled);
    if (a->isCheckable()) a->setChecked(s.checked);
    a->setText(QString::fromStdString(s.caption));
    menuVisible[kEditorItems[i].menu] |= s.visible;
  }
  for (int m = 0; m < emCount; ++m)
    if (m != emPopup) menus_[m]->menuAction()->setVisible(menuVisible[m]);

  const bool wasBrickfall = wallBox_->isVisibleTo(this);
  ShowList(levels_, v.levels, v.levelIndex);
  squareLabel_->setText(QString::fromStdString(v.squareLabel));
  ShowList(squares_, v.squareNames, v.squareChoice);
  ShowList(directions_,
           std::vector<std::string>(std::begin(kDirectionNames), std::end(kDirectionNames)),
           v.directionChoice);
  squares_->setVisible(v.squareControls);
  directions_->setVisible(v.directionControl);
  wallCount_->setVisible(v.wallControls);
  wallCount_->setText(QString::number(v.wallCount));
  wallBox_->setVisible(v.wallControls);
  ShowList(colours_, v.colourNames, v.colourChoice);
  ShowList(bonuses_, v.bonusNames, v.bonusChoice);
  ShowList(shapes_, v.shapeNames, v.shapeChoice);
  ShowText(editX_, v.editX);
  ShowText(editY_, v.editY);
  if (wasBrickfall != v.wallControls || !isVisible()) {
    // Wide enough for every menu title of the kind, so that none goes behind the
    // menu bar's overflow button.
    centralWidget()->setMinimumWidth(menuBar()->sizeHint().width());
    adjustSize();
  }
}

}  // namespace kelvra
