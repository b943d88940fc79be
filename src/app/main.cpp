// Program entry: the application titled "Ostra(Q7) Address Book Manager"
// with its one main window.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/Codec.h"
#include "ui/QtAppearance.h"
#include "ui/Translate.h"
#include "editor/CardEditorWindow.h"
#include "mainwin/MainWindow.h"

namespace {

// With Q7ADDR_SCREENSHOT_DIR set, the program saves pictures of both
// windows once they have been painted, reports the time from start to the
// first painted main window, and closes (used to look at the windows on a
// machine without a screen, e.g. under xvfb-run).
class ScreenshotOnStart : public QObject {
 public:
  ScreenshotOnStart(mainwin::MainWindow& w, QString dir, const QElapsedTimer& clock)
      : w_(w), dir_(std::move(dir)), clock_(clock) {
    w_.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &w_ && event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      std::fprintf(stderr, "q7addr: main window first painted %lld ms after start\n",
                   static_cast<long long>(clock_.elapsed()));
      QTimer::singleShot(500, this, [this] { Grab(); });
    }
    return false;
  }

 private:
  void Grab() {
    QDir().mkpath(dir_);
    const QString main = dir_ + QStringLiteral("/main-window.png");
    const QString view = dir_ + QStringLiteral("/card-editor.png");
    w_.grab().save(main);
    if (w_.cardEditor()) w_.cardEditor()->grab().save(view);
    std::fprintf(stderr, "q7addr: saved %s and %s\n", qPrintable(main), qPrintable(view));
    w_.close();
  }

  mainwin::MainWindow& w_;
  QString dir_;
  const QElapsedTimer& clock_;
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(mainwin::kAppTitle));
  app::SetUpAppearance(app);
  ui::InstallTranslations();
  app::SetUpWindowIcon(app);

  mainwin::StartOptions options;
  for (int i = 1; i < argc; ++i) {
    // Arguments are the program's text (CP932); one CP932 cannot hold is
    // passed on as it is (only "/C" means anything).
    auto arg = codec::FromQt(QString::fromLocal8Bit(argv[i]));
    options.Args.push_back(arg ? *arg : std::string(argv[i]));
  }
  mainwin::MainWindow window(std::move(options));

  std::unique_ptr<ScreenshotOnStart> shots;
  const QString shotDir = qEnvironmentVariable("Q7ADDR_SCREENSHOT_DIR");
  if (!shotDir.isEmpty()) shots = std::make_unique<ScreenshotOnStart>(window, shotDir, clock);

  window.show();
  return app.exec();
}
