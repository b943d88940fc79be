// The import dialog opened from the real main window's popup "Import":
// template choice, a file chosen through the (scripted) file dialog, the
// record selector, a mapping changed through the target list, Execute, and
// the grid showing the imported cards.
#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "editor/ViewLogic.h"
#include "import/ImportWindow.h"
#include "mainwin/MainWindow.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"

namespace {

using guitest::Activate;
using guitest::OnNextModal;
using guitest::Child;

struct Session : guitest::Session {
  QAction* ImportAction() { return w->popupMenu()->findChild<QAction*>(QStringLiteral("ImportBtn")); }
  std::vector<std::string> GridAddrs() {
    std::vector<std::string> v;
    for (int r = 1; r < w->logic().Tbl.RowCount(); ++r) v.push_back(w->logic().Tbl.Cell(r, 1));
    return v;
  }
};

void ClickRow(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  const QRect r = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 60, r.center().y()));
}

// Chooses a target in the list that a row click shows, with the keyboard.
void ChooseTarget(QWidget* modal, int target) {
  QListWidget* pr = Child<QListWidget>(modal, "PrItem");
  QVERIFY(pr->isVisible());
  pr->setCurrentRow(target);
  QTest::keyClick(pr, Qt::Key_Return);
  QVERIFY(!pr->isVisible());
}

}  // namespace

class ImportWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void importsACsvThroughTheWidgets();
  void folderTemplatesShowTheFolderList();
  void optionsDialogOpensIt();
  void aLongImportShowsProgressAndCancels();
};

void ImportWindowTest::importsACsvThroughTheWidgets() {
  Session s;
  QAction* import = s.ImportAction();
  QVERIFY(import);
  QVERIFY(import->isEnabled());
  QCOMPARE(import->text(), QStringLiteral("Import"));
  // UTF-8 without BOM; the last name holds a character Shift-JIS lacks.
  const std::string csv = s.dir / "contacts.csv";
  testsupport::WriteBytes(csv,
                          "\xE5\x90\x8D\xE5\x89\x8D,\xE3\x83\xA1\xE3\x83\xBC\xE3\x83\xAB\n"  // 名前,メール
                          "\xE6\xA3\xAE \xE8\x8A\xB1\xE5\xAD\x90,hanako.mori@example.jp\n"      // 森 花子
                          "Ann \xE2\x98\x83,ann@example.org\n");
  s.dialogs.inputs.push_back(csv);
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    auto* w = qobject_cast<imp::ImportWindow*>(modal);
    QVERIFY(w);
    seen = true;
    QCOMPARE(modal->windowTitle(), QStringLiteral("Ostra Address Book Manager Import"));
    QCOMPARE(Child<QPushButton>(modal, "Exect")->text(), QStringLiteral("Execute(&G)"));
    QCOMPARE(Child<QRadioButton>(modal, "Template2")->text(), QStringLiteral("&3) Netscape Comunicator Ver4"));
    QVERIFY(Child<QRadioButton>(modal, "Template0")->isChecked());
    QVERIFY(!Child<QWidget>(modal, "OptionPnl")->isEnabled());
    const QWidget* grid = s.w->grid()->parentWidget();
    QCOMPARE(modal->width(), grid->width());

    QTest::mouseClick(Child<QRadioButton>(modal, "Template0"), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(Child<QPushButton>(modal, "SelectFile"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>(modal, "InFileName")->text(), QStringLiteral("contacts.csv"));
    QCOMPARE(Child<QLabel>(modal, "EncodingChosen")->text(), QStringLiteral("(UTF-8)"));
    QTreeWidget* list = w->mappingList();
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QString::fromUtf8("名前"));
    QVERIFY(Child<QWidget>(modal, "OptionPnl")->isEnabled());

    // Record 2 shows the first real line.
    QSpinBox* rec = Child<QSpinBox>(modal, "RecNo");
    QTest::mouseClick(rec, Qt::LeftButton, {}, QPoint(rec->width() - 6, 4));  // the up arrow
    QCOMPARE(rec->value(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QString::fromUtf8("森 花子"));
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("hanako.mori@example.jp"));

    // Column 1 to "Mail Address", column 0 to "Name"; then column 1 first.
    ClickRow(list, 1);
    ChooseTarget(modal, 2);
    ClickRow(list, 0);
    ChooseTarget(modal, 3);
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Mail Address"));
    QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Checked);
    ClickRow(list, 1);
    QTest::keyClick(Child<QListWidget>(modal, "PrItem"), Qt::Key_Escape);  // no change
    QTest::mouseClick(Child<QPushButton>(modal, "UpBtn"), Qt::LeftButton);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Mail Address"));

    QTest::mouseClick(Child<QPushButton>(modal, "Exect"), Qt::LeftButton);
    modal->grab().save(QStringLiteral("/tmp/q7-import-window.png"));
    s.w->grab().save(QStringLiteral("/tmp/q7-import-main.png"));
    // The grid behind shows the imported group.
    const auto addrs = s.GridAddrs();
    QCOMPARE(addrs.size(), std::size_t(3));
    QCOMPARE(QString::fromStdString(addrs[1]), QStringLiteral("hanako.mori@example.jp"));
    QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
  });
  import->trigger();
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
  // The loss report was shown, naming the card and the field.
  bool reported = false;
  for (const auto& b : s.dialogs.boxes) reported = reported || b.text.find("ann@example.org : FN") != std::string::npos;
  QVERIFY(reported);
  store::TAllList& book = *s.w->logic().Book;
  store::TreeNode* imported = nullptr;
  for (auto* n : book.Nodes.InOrder())
    if (n->Caption == "(New Imported)") imported = n;
  QVERIFY(imported);
  QCOMPARE(imported->Group->Count(), std::size_t(3));  // the title line is a card as well
  QVERIFY(imported->Group->Modified);
  // The tree shows the new group, the editor's group list has a row for it.
  QCOMPARE(s.w->groupTree()->model()->rowCount(), static_cast<int>(book.Nodes.Roots().size()));
  QCOMPARE(s.w->logic().View->EntryGroup.size(), static_cast<std::size_t>(book.Nodes.Count()));
}

void ImportWindowTest::folderTemplatesShowTheFolderList() {
  Session s;
  testsupport::WriteBytes(s.dir / "edmax/Club.adr", "Member\r\nmember@example.jp\r\nFridays\r\n");
  s.dialogs.inputs.push_back(s.dir / "edmax/");
  OnNextModal([&](QWidget* modal) {
    QTest::mouseClick(Child<QRadioButton>(modal, "Template5"), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(!Child<QPushButton>(modal, "SelectFile")->isEnabled());
    QVERIFY(Child<QPlainTextEdit>(modal, "Memo1")->isVisible());
    QVERIFY(!Child<QTreeWidget>(modal, "ImportItem")->isVisible());
    QTest::mouseClick(Child<QPushButton>(modal, "ChooseFolder"), Qt::LeftButton);
    QVERIFY(Child<QPlainTextEdit>(modal, "Memo1")->toPlainText().endsWith(QStringLiteral("-------\nClub.adr\n")));
    QTest::mouseClick(Child<QPushButton>(modal, "Exect"), Qt::LeftButton);
    QCOMPARE(s.GridAddrs(), std::vector<std::string>{"member@example.jp"});
    modal->grab().save(QStringLiteral("/tmp/q7-import-folder.png"));
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  s.ImportAction()->trigger();
  QVERIFY(!QApplication::activeModalWidget());
}

void ImportWindowTest::optionsDialogOpensIt() {
  Session s;
  bool importShown = false;
  OnNextModal([&](QWidget* options) {
    QPushButton* importBtn = Child<QPushButton>(options, "ImportBtn");
    QVERIFY(importBtn && importBtn->isEnabled());
    OnNextModal([&](QWidget* modal) {
      importShown = qobject_cast<imp::ImportWindow*>(modal) != nullptr;
      QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
    });
    QTest::mouseClick(importBtn, Qt::LeftButton);
    QVERIFY(options->isVisible());  // back in the options dialog
  });
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("Other")), Qt::LeftButton);
  QVERIFY(importShown);
  QVERIFY(!QApplication::activeModalWidget());
}

void ImportWindowTest::aLongImportShowsProgressAndCancels() {
  Session s;
  std::string csv;
  for (int i = 0; i < 300000; ++i) csv += "bulk" + std::to_string(i) + "@example.jp,Bulk " + std::to_string(i) + "\r\n";
  const std::string path = s.dir / "bulk.csv";
  testsupport::WriteBytes(path, csv);
  s.dialogs.inputs.push_back(path);
  bool progressSeen = false;
  std::size_t shown = 0;
  OnNextModal([&](QWidget* modal) {
    QTest::mouseClick(Child<QPushButton>(modal, "SelectFile"), Qt::LeftButton);
    auto* w = qobject_cast<imp::ImportWindow*>(modal);
    w->setProgressDelay(0);  // however fast this machine reads the file
    QTreeWidget* list = w->mappingList();
    ClickRow(list, 0);
    ChooseTarget(modal, 2);
    // Cancel as soon as the progress dialog is up.
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
      auto* p = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
      if (!p || !p->isVisible()) return;
      progressSeen = true;
      timer->stop();
      timer->deleteLater();
      QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
    });
    timer->start();
    QTest::mouseClick(Child<QPushButton>(modal, "Exect"), Qt::LeftButton);
    QVERIFY(modal->isVisible());  // the dialog stays for the next run
    shown = s.GridAddrs().size();
    QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
  });
  s.ImportAction()->trigger();
  QVERIFY(progressSeen);
  // What came in before the cancel stays, and the grid shows it.
  store::TreeNode* imported = nullptr;
  for (auto* n : s.w->logic().Book->Nodes.InOrder())
    if (n->Caption == "(New Imported)") imported = n;
  QVERIFY(imported);
  const std::size_t count = imported->Group->Count();
  QVERIFY(count > 0);
  QVERIFY(count < 300000);
  QCOMPARE(shown, count);
}

QTEST_MAIN(ImportWindowTest)
#include "ImportWindowTest.moc"
