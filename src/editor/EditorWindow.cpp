// The level editor window.
#include "editor/EditorWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"

namespace kelvra {

TfEditor::TfEditor(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName("fEditor");
  setWindowTitle("Editor");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  label->setObjectName("levelLabel");
  layout->addWidget(label);
  resize(240, 120);
  Refresh();
}

void TfEditor::Refresh() {
  auto* label = findChild<QLabel*>("levelLabel");
  const TKindState& s = Cur();
  label->setText(QString("%1\nLevel %2 of %3")
                     .arg(KindName(gCom.kind))
                     .arg(s.levelIndex + 1)
                     .arg(KindLevelCount(gCom.kind)));
}

void TfEditor::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClosed) onClosed();
}

}  // namespace kelvra
