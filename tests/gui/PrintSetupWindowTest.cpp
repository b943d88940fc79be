// The print setup window opened from the real main window's popup entries
// "Print" and "Export Text File": placement, the variants, choosing an item,
// moving a splitter, "Memory(&M)" into Q7Addr.ini, the export to a file and
// the clipboard, the preview, and printing through the Qt printer to a PDF.
// With Q7ADDR_SCREENSHOT_DIR set, both variants are saved there as PNG files.
#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "mainwin/MainWindow.h"
#include "platform/IniFile.h"
#include "print/PreviewWidget.h"
#include "print/PrintSetupWindow.h"
#include "support/GuiSession.h"
#include "ui/QtPrinter.h"

namespace {

using guitest::OnNextModal;
using guitest::Child;
using guitest::SaveShot;

struct Session : guitest::Session {
  Session() : guitest::Session(QSize(900, 640)) {}
  QAction* Entry(const char* name) { return w->findChild<QAction*>(QString::fromLatin1(name)); }
};

// Prints to a PDF file instead of asking with the printer dialog.
class PdfChooser : public print::PrinterChooser {
 public:
  explicit PdfChooser(const QString& path) { app::SetUpPdf(qprinter_, path); }
  print::Printer* Choose(print::TPrintDialogState&) override {
    out_ = std::make_unique<app::QtPrinter>(qprinter_);
    return out_.get();
  }

 private:
  QPrinter qprinter_{QPrinter::HighResolution};
  std::unique_ptr<app::QtPrinter> out_;
};

// Drags the splitter handle before column `index` (1..3) by dx pixels.
void DragHandle(QSplitter* split, int index, int dx) {
  QSplitterHandle* h = split->handle(index);
  const QPoint from(h->width() / 2, h->height() / 2);
  QTest::mousePress(h, Qt::LeftButton, {}, from);
  QTest::mouseMove(h, from + QPoint(dx / 2, 0));
  QTest::mouseMove(h, from + QPoint(dx, 0));
  QTest::mouseRelease(h, Qt::LeftButton, {}, from + QPoint(dx, 0));
}

}  // namespace

class PrintSetupWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void printVariantChangesItemSplitterAndMemory();
  void exportVariantToFileAndClipboard();
  void optionsPrintButtonOpensItOverTheOptions();
};

void PrintSetupWindowTest::printVariantChangesItemSplitterAndMemory() {
  Session s;
  QVERIFY(s.Entry("GoPrint")->isEnabled());
  QCOMPARE(s.Entry("GoPrint")->text(), QStringLiteral("Print"));
  bool seen = false;
  const std::string ini = s.dir / "Q7Addr.ini";
  const std::string pdf = s.dir / "out.pdf";
  OnNextModal([&](QWidget* modal) {
    auto* win = qobject_cast<print::PrintSetupWindow*>(modal);
    QVERIFY(win);
    seen = true;
    print::TPrintSetup& L = win->logic();
    QCOMPARE(modal->windowTitle(), QStringLiteral("Ostra Address Book Manager Print Setup"));
    const QWidget* grid = s.w->grid()->parentWidget();
    QCOMPARE(modal->width(), grid->width());
    QCOMPARE(modal->x(), s.w->frameGeometry().x() + grid->mapTo(s.w.get(), QPoint(0, 0)).x() + 6);
    QCOMPARE(L.Section, std::string("Print"));
    QVERIFY(Child<QPushButton>(modal, "ExecPrint")->isVisible());
    QVERIFY(!Child<QPushButton>(modal, "SendToFile")->isVisible());
    QVERIFY(!Child<QPushButton>(modal, "Cancel")->isVisible());
    QVERIFY(Child<QRadioButton>(modal, "RadioPrintAll")->isChecked());
    QVERIFY(Child<QRadioButton>(modal, "PrintForm1")->isChecked());
    QCOMPARE(Child<QSpinBox>(modal, "PrScale")->value(), 100);
    // The group list: every node, folders with the folder image.
    auto* groups = Child<QTreeWidget>(modal, "PrintGroup");
    QCOMPARE(groups->topLevelItemCount(), s.w->logic().Book->Nodes.Count());
    // The panels follow the widths: row 1 is 1, 30, 21, 40 cells of 92.
    QSplitter* row1 = win->rowSplitter(1);
    const int inner = row1->parentWidget()->width() - 11;
    QCOMPARE(L.RowPanelWidth - 11, inner);
    QCOMPARE(row1->sizes().at(1), qRound(inner * 30.0 / 92));
    QCOMPARE(win->columnPanel(1, 2)->toolTip(), QStringLiteral("30"));
    QCOMPARE(qobject_cast<QLabel*>(win->columnPanel(1, 2))->text(), QStringLiteral("Mail"));
    SaveShot(modal, "print-setup-print.png");

    // Choose "Tel" for row 1, column 2 through the item list.
    QTest::mouseClick(win->columnPanel(1, 2), Qt::LeftButton);
    QListWidget* list = win->itemList();
    QVERIFY(list->isVisible());
    QCOMPARE(list->currentRow(), 1);
    SaveShot(modal, "print-setup-item-list.png");
    QListWidgetItem* tel = list->item(7);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(tel).center());
    QVERIFY(!list->isVisible());
    QCOMPARE(L.NormalLayout.Item(1, 2), 7);
    QCOMPARE(qobject_cast<QLabel*>(win->columnPanel(1, 2))->text(), QStringLiteral("Tel"));

    // Widen column 2 by dragging the splitter after it.
    const int before = L.NormalLayout.Width(1, 2);
    DragHandle(row1, 2, 60);
    const int after = L.NormalLayout.Width(1, 2);
    QVERIFY2(after > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    QCOMPARE(win->columnPanel(1, 2)->toolTip(), QString::number(after));
    QCOMPARE(L.NormalLayout.Width(1, 1) + after + L.NormalLayout.Width(1, 3) + L.NormalLayout.Width(1, 4), 92);

    // Memory(&M) writes the Normal layout.
    QTest::mouseClick(Child<QPushButton>(modal, "SaveBtn"), Qt::LeftButton);
    {
      plat::IniFile f(ini);
      QCOMPARE(f.ReadString("Print", "Pd12", ""), std::string("Tel"));
      QCOMPARE(f.ReadInteger("Print", "WD12", 0), after);
      QCOMPARE(f.ReadSection("Print").size(), std::size_t{33});
    }

    // The preview shows the first page, Ret(&R) comes back.
    QTest::mouseClick(Child<QPushButton>(modal, "PreViewBtn"), Qt::LeftButton);
    QVERIFY(win->preview()->isVisible());
    QVERIFY(L.PreviewJob != nullptr);
    QCOMPARE(win->preview()->Page(), 1);
    SaveShot(modal, "print-setup-preview.png");
    QTest::keyClick(win->preview(), Qt::Key_Escape);
    QVERIFY(!win->preview()->isVisible());
    QVERIFY(Child<QPushButton>(modal, "PreViewBtn")->isVisible());

    // Printing through the Qt printer into a PDF.
    PdfChooser chooser(QString::fromStdString(pdf));
    win->SetChooser(&chooser);
    QTest::mouseClick(Child<QPushButton>(modal, "ExecPrint"), Qt::LeftButton);
    QVERIFY(!Child<QPushButton>(modal, "Cancel")->isVisible());
    QCOMPARE(Child<QLabel>(modal, "PageMessage")->text(), QStringLiteral("1 page"));

    // Detail, then Ret(&X) keeps the format.
    QTest::mouseClick(Child<QRadioButton>(modal, "PrintForm2"), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(Child<QWidget>(modal, "Pr_Form5")->isVisible());
    QVERIFY(!Child<QWidget>(modal, "Pr_Form2")->isVisible());
    SaveShot(modal, "print-setup-detail.png");
    QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
  });
  s.Entry("GoPrint")->trigger();
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
  plat::IniFile f(ini);
  QCOMPARE(f.ReadInteger("Print", "PrintForm", -1), 2);
  QCOMPARE(f.ReadInteger("Print", "PrintView", -1), 0);
  const std::string bytes = testsupport::ReadBytes(pdf);
  QVERIFY(bytes.rfind("%PDF", 0) == 0);
  QVERIFY(s.dialogs.boxes.empty());
}

void PrintSetupWindowTest::exportVariantToFileAndClipboard() {
  Session s;
  const std::string out = s.dir / "export.txt";
  testsupport::WriteBytes(out, "before\r\n");
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    auto* win = qobject_cast<print::PrintSetupWindow*>(modal);
    QVERIFY(win);
    seen = true;
    print::TPrintSetup& L = win->logic();
    QCOMPARE(L.Section, std::string("Export"));
    QVERIFY(!Child<QPushButton>(modal, "ExecPrint")->isVisible());
    QVERIFY(Child<QPushButton>(modal, "SendToFile")->isVisible());
    QCOMPARE(Child<QPushButton>(modal, "SendToFile")->text(), QStringLiteral("Export(&P)"));
    QCOMPARE(Child<QSpinBox>(modal, "PrScale")->value(), 150);
    QCOMPARE(L.LineWidth, 61);
    SaveShot(modal, "print-setup-export.png");

    // Simple, all groups.
    QTest::mouseClick(Child<QRadioButton>(modal, "PrintForm0"), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(!Child<QWidget>(modal, "Pr_Form2")->isVisible());
    QTest::mouseClick(Child<QPushButton>(modal, "SelectAll"), Qt::LeftButton);
    s.dialogs.inputs.push_back(out);
    QTest::mouseClick(Child<QPushButton>(modal, "SendToFile"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(modal, "SendToClip"), Qt::LeftButton);
    SaveShot(modal, "print-setup-export-simple.png");
  });
  s.Entry("TextExport")->trigger();
  QVERIFY(seen);
  const std::string file = testsupport::ReadBytes(out);
  QCOMPARE(testsupport::ReadBytes(s.dir / "export.bak"), std::string("before\r\n"));
  QVERIFY(file.rfind(" Mail Address", 0) == 0);
  QVERIFY(file.find(std::string(61, '-') + "\r\n") != std::string::npos);
  QVERIFY(file.find("Group[") != std::string::npos);
  QCOMPARE(s.dialogs.clipboard, file);
  QVERIFY(s.dialogs.boxes.empty());
  // Closed with the close box: the format is not stored.
  QVERIFY(!plat::IniFile(s.dir / "Q7Addr.ini").ValueExists("Export", "PrintForm"));
}

void PrintSetupWindowTest::optionsPrintButtonOpensItOverTheOptions() {
  Session s;
  bool printSeen = false, optionsStayed = false;
  OnNextModal([&](QWidget* options) {
    QPushButton* prt = Child<QPushButton>(options, "PrtBtn");
    QVERIFY(prt->isEnabled());
    QCOMPARE(prt->text(), QStringLiteral("Pritn(&P)"));
    OnNextModal([&](QWidget* modal) {
      auto* win = qobject_cast<print::PrintSetupWindow*>(modal);
      QVERIFY(win);
      printSeen = true;
      QCOMPARE(win->logic().Section, std::string("Print"));
      QVERIFY(options->isVisible());
      QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
    });
    QTest::mouseClick(prt, Qt::LeftButton);
    optionsStayed = options->isVisible() && QApplication::activeModalWidget() == options;
  });
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("Other")), Qt::LeftButton);
  QVERIFY(printSeen);
  QVERIFY(optionsStayed);
  QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(PrintSetupWindowTest)
#include "PrintSetupWindowTest.moc"
