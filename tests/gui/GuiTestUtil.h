// Helpers shared by the GUI tests.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

namespace kelvra::test {

// Runs `act` on the first visible window of type T once it is up (a modal dialog opened
// from a timer needs a few turns of the event loop); gives up after about two seconds.
template <class T>
void WhenShown(std::function<void(T*)> act, int triesLeft = 400) {
  QTimer::singleShot(5, [act, triesLeft] {
    T* found = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!found || !found->isVisible()) {
      found = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) found = t;
    }
    if (found)
      act(found);
    else if (triesLeft > 0)
      WhenShown<T>(act, triesLeft - 1);
  });
}

inline bool gLeftOpen = false;  // an action meant to end a dialog did not

// Runs `act` on the dialog of type T; one that `act` left open is closed and noted in
// gLeftOpen, so that a broken key or button fails the test instead of hanging it.
template <class T>
void OnDialog(std::function<void(T*)> act) {
  WhenShown<T>([act](T* d) {
    act(d);
    if (d->isVisible()) {
      gLeftOpen = true;
      d->reject();
    }
  });
}

// Types a name into Qt's own file dialog, once it is up, and presses Return.
inline void TypeIntoFileDialog(const QString& name) {
  WhenShown<QFileDialog>([name](QFileDialog* f) {
    auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) return f->reject();
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
    if (f->isVisible()) f->reject();
  });
}

}  // namespace kelvra::test
