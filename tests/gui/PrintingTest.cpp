// Printing through the Qt printer into PDF files (directly and through the
// printer dialog's "Print to File (PDF)"), and paging through the preview.
#include <QtTest>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <functional>

#include "print/PreviewWidget.h"
#include "print/Printing.h"
#include "support/TestSupport.h"
#include "ui/QtPrinter.h"

namespace {

// 130 body lines, some Japanese, under five titles.
print::TPrintData MakeJob(int lines = 130) {
  print::TPrintData job;
  job.Header = {" Mail Address                  Name                 Note                           Page-%-4d",
                "                    Nic Name    Zip       Home Address",
                "                                            Tel           Fax           PHS",
                "    PGP User-ID                           URL", std::string(92, '-')};
  for (int i = 0; i < lines; ++i) {
    // 山田 太郎 / 東京都千代田区
    job.Lines.push_back(" user" + std::to_string(i) + "@example.jp                 \x8e\x52\x93\x63 \x91\xbe\x98\x59" +
                        "            \x93\x8c\x8b\x9e\x93\x73\x90\xe7\x91\xe3\x93\x63\x8b\xe6 " + std::to_string(i));
  }
  job.TopMargin = 100;
  job.LeftMargin = 100;
  job.Scale = 100;
  return job;
}

int PdfPages(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray pdf = f.readAll();
  int n = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
    if (at + 11 >= pdf.size() || pdf[at + 11] != 's') ++n;
  return n;
}

class NoHost : public print::PrintHost {
 public:
  QStringList messages;
  void ProcessEvents() override { QCoreApplication::processEvents(); }
  void SetPageMessage(const std::string& text) override { messages << QString::fromStdString(text); }
};

// Where pictures for a person to look at go (Q7_SHOT_DIR), if anywhere.
QString ShotDir() { return qEnvironmentVariable("Q7_SHOT_DIR"); }

void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start();
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT
 private slots:
  void printsPagesIntoAPdf();
  void textOutAdvancesByCells();
  void dialogPrintsToPdfWithCopies();
  void previewPagesThroughTheJob();
};

void PrintingTest::printsPagesIntoAPdf() {
  testsupport::TempDir dir;
  const QString path = QString::fromStdString(dir / "job.pdf");
  QPrinter qp(QPrinter::HighResolution);
  app::SetUpPdf(qp, path);
  app::QtPrinter printer(qp);
  QCOMPARE(printer.DpiY(), 1200.0);
  print::TPrintData job = MakeJob();
  NoHost host;
  testsupport::ScriptedDialogs dialogs;
  QVERIFY(print::PrintLines(job, printer, host, dialogs, print::kPrinterFace));
  QVERIFY(dialogs.boxes.empty());
  // A4 less 5 mm margins at 1200 dpi holds 65 lines: 60 body lines a page.
  QCOMPARE(PdfPages(path), 3);
  QCOMPARE(host.messages, (QStringList{"1 page", "2 page", "3 page"}));

  // Page range 2-3 and two collated copies: four sheets.
  job.PrintDialog.Copies = 2;
  job.PrintDialog.Collate = true;
  job.PrintDialog.FromPage = 2;
  QVERIFY(print::PrintLines(job, printer, host, dialogs, print::kPrinterFace));
  QCOMPARE(PdfPages(path), 4);

  // Aborting removes the unfinished file.
  host.messages.clear();
  job.PrintDialog = {};
  struct AbortingHost : NoHost {
    print::TPrintData* job = nullptr;
    void ProcessEvents() override { job->Aborted = true; }
  } aborting;
  aborting.job = &job;
  const QString abortedPath = QString::fromStdString(dir / "aborted.pdf");
  QPrinter qp2(QPrinter::HighResolution);
  app::SetUpPdf(qp2, abortedPath);
  app::QtPrinter printer2(qp2);
  QVERIFY(!print::PrintLines(job, printer2, aborting, dialogs, print::kPrinterFace));
  QVERIFY(!QFile::exists(abortedPath));

  const QString shots = ShotDir();
  if (!shots.isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
    QFile::copy(path, shots + QStringLiteral("/printing.pdf"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QStringLiteral("110"), QStringLiteral("-png"), path,
                                shots + QStringLiteral("/printing-page")}),
             0);
  }
}

void PrintingTest::textOutAdvancesByCells() {
  // 116 twips at 1200 dpi: cells of 96.7 units, a font of 192: a single-byte
  // character is half a square, a double-byte character a full one.
  testsupport::TempDir dir;
  QPrinter qp(QPrinter::HighResolution);
  app::SetUpPdf(qp, QString::fromStdString(dir / "x.pdf"));
  app::QtPrinter printer(qp);
  QVERIFY(printer.BeginDoc());
  printer.SetFont(print::kPrinterFace, 192, true);
  QCOMPARE(printer.TextOut(100, 100, "abcd"), 100 + 4 * 96);
  QCOMPARE(printer.TextOut(0, 100, "\x8a\xbf\x8e\x9a"), 2 * 192);  // 漢字
  QCOMPARE(printer.TextOut(0, 100, "W\x8a\xbf"), 96 + 192);
  QCOMPARE(printer.PageNumber(), 1);
  QVERIFY(printer.NewPage());
  QCOMPARE(printer.PageNumber(), 2);
  QVERIFY(printer.EndDoc());
  QCOMPARE(PdfPages(QString::fromStdString(dir / "x.pdf")), 2);
}

void PrintingTest::dialogPrintsToPdfWithCopies() {
  testsupport::TempDir dir;
  const QString path = QString::fromStdString(dir / "dialog.pdf");
  QWidget parent;
  app::QtPrinterChooser chooser(&parent);
  bool offeredPdf = false;
  OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    QVERIFY(dialog);
    // "Print to File (PDF)" is offered whether or not a printer is installed.
    auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
    QVERIFY(printers);
    const int pdfItem = printers->findText(QStringLiteral("Print to File (PDF)"));
    offeredPdf = pdfItem >= 0;
    QVERIFY(offeredPdf);
    printers->setCurrentIndex(pdfItem);
    auto* filename = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    QVERIFY(filename);
    filename->setText(path);
    dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(2);
    dialog->findChild<QCheckBox*>(QStringLiteral("collate"))->setChecked(false);
    dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
    dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(1);
    dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(2);
    if (!ShotDir().isEmpty()) dialog->grab().save(ShotDir() + QStringLiteral("/print-dialog.png"));
    dialog->accept();
  });
  print::TPrintData job = MakeJob();
  print::Printer* printer = chooser.Choose(job.PrintDialog);
  QVERIFY(offeredPdf);
  QVERIFY(printer);
  QCOMPARE(job.PrintDialog.Copies, 2);
  QCOMPARE(job.PrintDialog.Collate, false);
  QCOMPARE(job.PrintDialog.FromPage, 1);
  QCOMPARE(job.PrintDialog.ToPage, 2);
  QCOMPARE(chooser.qprinter().copyCount(), 1);  // the copies are printed as pages
  NoHost host;
  testsupport::ScriptedDialogs dialogs;
  QVERIFY(print::PrintLines(job, *printer, host, dialogs, print::kPrinterFace));
  QCOMPARE(PdfPages(path), 4);  // pages 1, 1, 2, 2

  // Cancelling the dialog prints nothing.
  OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  QVERIFY(!chooser.Choose(job.PrintDialog));
}

void PrintingTest::previewPagesThroughTheJob() {
  print::TPrintData job = MakeJob(150);
  job.TopMargin = 130;
  print::PreviewWidget w;
  QSignalSpy closed(&w, &print::PreviewWidget::closed);
  QSignalSpy changed(&w, &print::PreviewWidget::pageChanged);
  w.resize(900, 700);
  w.SetJob(&job);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.Page(), 1);
  // 66 lines fit a page of 1150 pixels: 61 body lines under the titles.
  QCOMPARE(w.PageCount(), 3);
  auto* label = w.findChild<QLabel*>(QStringLiteral("PreviewPageLabel"));
  QCOMPARE(label->text(), QStringLiteral("Page 1 / 3"));
  QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("PreviewPrev"))->isEnabled());

  // The first page has ink where the first title line stands and text in the
  // middle of the page; a later page differs from it.
  const QImage first = w.Image();
  const auto inkIn = [](const QImage& img, QRect r) {
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(img.pixel(x, y)) < 128) ++ink;
    return ink;
  };
  QVERIFY(inkIn(first, QRect(40, 51, 200, 16)) > 50);
  QVERIFY(inkIn(first, QRect(40, 500, 700, 100)) > 200);
  if (!ShotDir().isEmpty()) w.grab().save(ShotDir() + QStringLiteral("/preview-1.png"));

  w.setFocus();
  QTest::keyClick(&w, Qt::Key_PageDown);
  QCOMPARE(w.Page(), 2);
  QCOMPARE(changed.count(), 1);
  QVERIFY(w.Image() != first);
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("PreviewNext")), Qt::LeftButton);
  QCOMPARE(w.Page(), 3);
  QCOMPARE(label->text(), QStringLiteral("Page 3 / 3"));
  QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("PreviewNext"))->isEnabled());
  QTest::keyClick(&w, Qt::Key_PageDown);  // past the end: stays
  QCOMPARE(w.Page(), 3);
  if (!ShotDir().isEmpty()) w.grab().save(ShotDir() + QStringLiteral("/preview-3.png"));
  QTest::keyClick(&w, Qt::Key_PageUp);
  QCOMPARE(w.Page(), 2);
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("PreviewFirst")), Qt::LeftButton);
  QCOMPARE(w.Page(), 1);
  QCOMPARE(w.Image(), first);

  // An empty body: one page with the first title line only.
  print::TPrintData empty = MakeJob(0);
  w.SetJob(&empty);
  QCOMPARE(w.PageCount(), 1);
  QVERIFY(inkIn(w.Image(), QRect(40, 51, 200, 16)) > 50);
  QCOMPARE(inkIn(w.Image(), QRect(0, 70, 800, 1080)), 0);

  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_R, Qt::AltModifier);
  QTRY_COMPARE(closed.count(), 1);  // Ret(&R), clicked after its animation
}

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
