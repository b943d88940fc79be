// The options dialog opened from the real main window's "Ext(&O)": its
// captions, the disabled buttons with their reasons, and the radios reaching
// the book however the dialog is closed.
#include <QtTest>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <filesystem>
#include <functional>
#include <memory>

#include "mainwin/MainWindow.h"
#include "options/OptionsWindow.h"
#include "support/GuiSession.h"

namespace {

using guitest::Activate;
using guitest::OnNextModal;
using guitest::Child;

struct Session : guitest::Session {
  store::TAllList& Book() { return *w->logic().Book; }
  QPushButton* Other() { return w->findChild<QPushButton*>(QStringLiteral("Other")); }
};

}  // namespace

class OptionsWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void captionsPlaceAndDisabledButtons();
  void radiosReachTheBookOnEveryClose();
};

void OptionsWindowTest::captionsPlaceAndDisabledButtons() {
  Session s;
  QVERIFY(s.Other()->isEnabled());
  QCOMPARE(s.Other()->text(), QStringLiteral("Ext(&O)"));
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    QVERIFY(qobject_cast<options::OptionsWindow*>(modal));
    seen = true;
    QCOMPARE(modal->windowTitle(), QStringLiteral("Ostra Address Book Manager Option Setup"));
    const QWidget* grid = s.w->grid()->parentWidget();
    QCOMPARE(modal->width(), grid->width());
    QCOMPARE(modal->x(), s.w->frameGeometry().x() + grid->mapTo(s.w.get(), QPoint(0, 0)).x() + 6);
    const char* buttons[][2] = {{"EndBtn", "Ret(&X)"}, {"PrtBtn", "Pritn(&P)"}, {"ImportBtn", "Import(&R)"},
                                {"ExportBtn", "Export(&E)"}};
    for (auto& [name, caption] : buttons) QCOMPARE(Child<QPushButton>(modal, name)->text(), QString::fromLatin1(caption));
    const char* boxes[][2] = {{"GroupBox1", "Address Format of Mail(&M)"},
                              {"GroupBox2", "Address combine method(&C)"},
                              {"GroupBox3", "Export Type"}};
    for (auto& [name, caption] : boxes) QCOMPARE(Child<QGroupBox>(modal, name)->title(), QString::fromLatin1(caption));
    const char* radios[][2] = {{"Radio_Forward", "Name <mail@address>"}, {"Radio_Behind", "mail@address (Name)"},
                               {"Radio_only", "mail@address"},          {"CombineWithAll", "Same Addr,Name,Nic"},
                               {"CombineWithAddr", "Same Address"},     {"RadioPrintText", "Text of Print Layout"},
                               {"RadioCSV", "Text of CSV Format"}};
    for (auto& [name, caption] : radios) QCOMPARE(Child<QRadioButton>(modal, name)->text(), QString::fromLatin1(caption));
    QVERIFY(Child<QRadioButton>(modal, "RadioPrintText")->isChecked());
    // Print, import and export do their work (export: ExchangeTest).
    QVERIFY(Child<QPushButton>(modal, "ImportBtn")->isEnabled());
    QVERIFY(Child<QPushButton>(modal, "PrtBtn")->isEnabled());
    QVERIFY(Child<QPushButton>(modal, "ExportBtn")->isEnabled());
    QTest::mouseClick(Child<QPushButton>(modal, "EndBtn"), Qt::LeftButton);
  });
  QTest::mouseClick(s.Other(), Qt::LeftButton);
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
}

void OptionsWindowTest::radiosReachTheBookOnEveryClose() {
  Session s;
  s.Book().AdrSendMode = 2;
  s.Book().AdrCompFlg = 0;
  // Chosen with the mouse, closed with Esc.
  OnNextModal([&](QWidget* modal) {
    QVERIFY(Child<QRadioButton>(modal, "Radio_Forward")->isChecked());
    QVERIFY(Child<QRadioButton>(modal, "CombineWithAll")->isChecked());
    // On the indicator: a radio stretched over the box takes clicks on its
    // indicator and text only.
    for (const char* name : {"Radio_only", "CombineWithAddr"}) {
      QRadioButton* r = Child<QRadioButton>(modal, name);
      QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
    }
    QVERIFY(Activate(modal));
    QTest::keyClick(modal, Qt::Key_Escape);
    QVERIFY(!modal->isVisible());
  });
  QTest::mouseClick(s.Other(), Qt::LeftButton);
  QCOMPARE(s.Book().AdrSendMode, 0);
  QCOMPARE(s.Book().AdrCompFlg, 1);

  // Opened again it shows the book's values; chosen by keys, closed by the
  // window's close box.
  OnNextModal([&](QWidget* modal) {
    QVERIFY(Child<QRadioButton>(modal, "Radio_only")->isChecked());
    QVERIFY(Child<QRadioButton>(modal, "CombineWithAddr")->isChecked());
    QRadioButton* behind = Child<QRadioButton>(modal, "Radio_Behind");
    behind->setFocus();
    QTest::keyClick(behind, Qt::Key_Space);
    QVERIFY(behind->isChecked());
    modal->close();
  });
  QTest::mouseClick(s.Other(), Qt::LeftButton);
  QCOMPARE(s.Book().AdrSendMode, 1);
  QCOMPARE(s.Book().AdrCompFlg, 1);

  // Opened and left with Ret(&X) untouched: nothing changes.
  bool closedByKey = false;
  OnNextModal([&](QWidget* modal) {
    if (!Activate(modal)) return;
    QTest::keyClick(modal->windowHandle(), Qt::Key_X, Qt::AltModifier);  // clicked after its animation
    closedByKey = QTest::qWaitFor([modal] { return !modal->isVisible(); });
  });
  QTest::mouseClick(s.Other(), Qt::LeftButton);
  QVERIFY(closedByKey);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(s.Book().AdrSendMode, 1);
  QCOMPARE(s.Book().AdrCompFlg, 1);
}

QTEST_MAIN(OptionsWindowTest)
#include "OptionsWindowTest.moc"
