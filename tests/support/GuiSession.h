// What the window tests share: the program's main window on a temporary
// copy of the sample book, and driving the modal dialogs it opens.
#pragma once

#include <QApplication>
#include <QDir>
#include <QSize>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "mainwin/MainWindow.h"
#include "support/TestSupport.h"

namespace guitest {

// The main window started with "/c" in a temporary copy of the sample book.
// Leaving it asks nothing: changed groups are forgotten, not saved.
struct Session {
  testsupport::TempDir dir;
  testsupport::ScriptedDialogs dialogs;
  std::unique_ptr<mainwin::MainWindow> w;

  explicit Session(QSize size = {}) {
    std::filesystem::copy(Q7_SAMPLE_BOOK_DIR, dir.path(), std::filesystem::copy_options::recursive);
    mainwin::StartOptions o;
    o.Args = {"/c"};
    o.CurrentDir = dir.path();
    o.ProgramDir = dir.path();
    o.Config = plat::PlatformConfig{};
    w = std::make_unique<mainwin::MainWindow>(std::move(o), &dialogs);
    if (size.isValid()) w->resize(size);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("main window not exposed");
  }
  ~Session() {
    for (auto* n : w->logic().Book->Nodes.InOrder())
      if (n->Group) n->Group->Modified = false;
    w.reset();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  mainwin::TQ7AdrMan& L() { return w->logic(); }
};

inline QString U8(const char* s) { return QString::fromUtf8(s); }

template <typename T>
T* Child(QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

// Accelerators reach the active window only; the card editor, shown beside
// the main window at start, may take the activation late.
inline bool Activate(QWidget* w) {
  w->activateWindow();
  return QTest::qWaitForWindowActive(w);
}

// Runs action on the next modal dialog once it is shown, and closes that
// dialog afterwards whatever the action did, so a failed check cannot hang
// the test in the dialog's event loop.
inline void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    if (!Activate(modal)) qWarning("modal dialog not active");
    action(modal);
    if (modal->isVisible()) modal->close();
  });
  timer->start();
}

// Saves a picture of the widget into $Q7ADDR_SCREENSHOT_DIR, when it is set.
inline void SaveShot(QWidget* w, const char* name) {
  const QString dir = qEnvironmentVariable("Q7ADDR_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QTest::qWait(50);
  w->grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

}  // namespace guitest
