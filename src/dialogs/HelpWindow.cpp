// The help window: a text browser over the manual with its history buttons, and the kept
// window behind "Read Me".
#include "dialogs/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>

namespace kelvra {

namespace {

// Wide enough for the manual's 52-em text column, tall enough for a good part of a page;
// never more than nine tenths of the screen.
constexpr int kHelpWidth = 820, kHelpHeight = 680;  // pixels

QToolButton* HistoryButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& text,
                           const QKeySequence& key) {
  auto* b = new QToolButton(parent);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setText(text);
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setShortcut(key);
  b->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
  return b;
}

// Whether the file can be read, as the system tells it: 0 or errno.
int Readable(const QString& file) {
  const QFileInfo info(file);
  if (file.isEmpty() || !info.exists()) return ENOENT;
  if (info.isDir()) return EISDIR;
  std::FILE* f = std::fopen(QFile::encodeName(info.absoluteFilePath()).constData(), "rb");
  if (!f) return errno ? errno : EIO;
  std::fclose(f);
  return 0;
}

QPointer<TfHelp> gHelpWindow;

}  // namespace

TfHelp::TfHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("fHelp"));
  setWindowTitle(QStringLiteral("Read Me"));

  browser_ = new QTextBrowser(this);
  // Pages of the manual open here; a link to the web goes to the desktop's browser.
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);

  back_ = HistoryButton(this, QStyle::SP_ArrowBack, QStringLiteral("Back"), QKeySequence::Back);
  forward_ = HistoryButton(this, QStyle::SP_ArrowForward, QStringLiteral("Forward"),
                           QKeySequence::Forward);
  home_ = HistoryButton(this, QStyle::SP_DirHomeIcon, QStringLiteral("Home"),
                        QKeySequence(Qt::ALT | Qt::Key_Home));
  back_->setEnabled(false);
  forward_->setEnabled(false);

  auto* bar = new QHBoxLayout;
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(home_);
  bar->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);

  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(home_, &QToolButton::clicked, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Read Me") : title);
  });

  QSize size(kHelpWidth, kHelpHeight);
  if (QScreen* s = parent ? parent->screen() : QGuiApplication::primaryScreen())
    size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
  resize(size);
}

int TfHelp::Open(const QString& file) {
  if (const int code = Readable(file)) return code;
  const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
  // The first page of a history is the one Home goes back to.
  if (browser_->source().adjusted(QUrl::RemoveFragment) != url) {
    browser_->clearHistory();
    browser_->setSource(url);
  } else if (!browser_->source().fragment().isEmpty()) {
    browser_->setSource(url);  // back to the top, Back returns to where the reader was
  }
  return 0;
}

int ShowHelpWindow(const QString& file, QWidget* parent) {
  TfHelp* window = gHelpWindow.data();
  const bool fresh = !window || window->parentWidget() != parent;
  if (fresh) window = new TfHelp(parent);
  if (const int code = window->Open(file)) {
    if (fresh) delete window;
    return code;
  }
  if (fresh) {
    delete gHelpWindow.data();
    gHelpWindow = window;
  }
  window->show();
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
  return 0;
}

TfHelp* HelpWindow() {
  return gHelpWindow.data();
}

}  // namespace kelvra
