#include "cli/PdfPrint.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "print/Printing.h"
#include "ui/QtPrinter.h"

namespace cli {

namespace {

// Nothing to repaint and nobody to cancel: the page counter goes nowhere.
class QuietHost : public print::PrintHost {
 public:
  void ProcessEvents() override {}
  void SetPageMessage(const std::string&) override {}
};

// Qt's notes about the desktop session (no runtime folder on a server) are
// no concern of a PDF; everything else goes to standard error as usual.
void QuietSessionNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg && text.startsWith(QLatin1String("QStandardPaths: "))) return;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int PrintJobToPdf(print::TPrintData& job, const std::string& pdfPath, dlg::Dialogs& dialogs) {
  // Qt starts here only, on the offscreen platform unless told otherwise.
  std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietSessionNotes);
    static int argc = 1;
    static char name[] = "q7addr-cli";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  const QString path = QFile::decodeName(pdfPath.c_str());
  {
    // The usual file error before any work, and no empty file left behind.
    const bool existed = QFile::exists(path);
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
      dlg::FileErrorBox(dialogs, pdfPath, "File create error");
      return 1;
    }
    probe.close();
    if (!existed) QFile::remove(path);
  }
  QPrinter printer(QPrinter::HighResolution);
  app::SetUpPdf(printer, path);
  app::QtPrinter out(printer);
  QuietHost host;
  if (!print::PrintLines(job, out, host, dialogs, print::kPrinterFace)) return 1;
  return QFile::exists(path) ? 0 : 1;
}

}  // namespace cli
