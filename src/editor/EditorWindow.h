// The level editor window TfEditor: a tool window above the main window that owns the
// editor's logic (TEditor), shows its view (menus, level list, square and wall controls,
// caption) and hands it the menu commands, the list choices and the play field's mouse.
#pragma once

#include <QEvent>
#include <QMainWindow>
#include <functional>

#include "session/Editor.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMouseEvent;

namespace kelvra {

class TKIniFile;

class TfEditor : public QMainWindow {
  Q_OBJECT
 public:
  // `ini` (may be null) holds section "Editor", read here and written by Close.
  explicit TfEditor(TKIniFile* ini, QWidget* parent = nullptr);

  // The main window's hooks: the editor wants to close (its close box, "Lock"), the play
  // field must be drawn again, and a blocking dialog begins (true) or ends (false).
  std::function<void()> onClosed;
  std::function<void()> onFieldChanged;
  std::function<void(bool begin)> onDialog;

  // Opening prepares the window for the current kind and shows it; closing writes the
  // settings and hides it. Neither asks anything.
  void Open();
  void Close();
  // The level set or its current level changed outside the editor.
  void Refresh();

  // A mouse event on the play field while the editor is open; the pointer is already
  // stored in field pixels (gCom.mouseX, gCom.mouseY). A secondary release opens the popup.
  void FieldMouse(QEvent::Type type, const QMouseEvent& event);

  TEditor& editor() { return editor_; }
  QAction* action(EditorItemId id) const { return actions_[id]; }
  QList<QAction*> editorActions() const;
  QMenu* menu(EditorMenu m) const { return menus_[m]; }
  QComboBox* levelList() const { return levels_; }
  QComboBox* squareList() const { return squares_; }
  QComboBox* directionList() const { return directions_; }
  QComboBox* colourList() const { return colours_; }
  QComboBox* bonusList() const { return bonuses_; }
  QComboBox* shapeList() const { return shapes_; }
  QLineEdit* xEdit() const { return editX_; }
  QLineEdit* yEdit() const { return editY_; }
  QLabel* wallCount() const { return wallCount_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateControls();
  void Trigger(EditorItemId id);
  void RunLiveNumber(EditorItemId id);
  void RunColour();
  void RunPicture();
  void ShowView();  // everything from editor_.View()
  void FieldChanged();
  void Dialog(bool begin);

  TEditor editor_;
  TKIniFile* ini_;
  QAction* actions_[eiCount] = {};
  QMenu* menus_[emCount] = {};
  QLabel* squareLabel_ = nullptr;
  QLabel* wallCount_ = nullptr;
  QComboBox* levels_ = nullptr;
  QComboBox* squares_ = nullptr;
  QComboBox* directions_ = nullptr;
  QComboBox* colours_ = nullptr;
  QComboBox* bonuses_ = nullptr;
  QComboBox* shapes_ = nullptr;
  QLineEdit* editX_ = nullptr;
  QLineEdit* editY_ = nullptr;
  QWidget* squareRow_ = nullptr;  // the controls shown by kind
  QWidget* wallBox_ = nullptr;
};

}  // namespace kelvra
