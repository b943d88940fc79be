// The search dialog opened from the real main window (its Find button and
// its popup entry) on a copy of the sample book, driven through its widgets.
#include <QtTest>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <filesystem>
#include <functional>
#include <memory>

#include "editor/ViewLogic.h"
#include "mainwin/MainWindow.h"
#include "platform/IniFile.h"
#include "search/SearchWindow.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"
#include "ui/QtAppearance.h"

namespace {

using guitest::U8;
using guitest::SaveShot;

struct Session : guitest::Session {
  QStringList ShownAddresses() {
    QStringList v;
    QAbstractItemModel* m = w->grid()->model();
    for (int r = 0; r < m->rowCount(); ++r) v << m->index(r, 1).data().toString();
    return v;
  }
  std::string Ini() { return dir / "Q7Addr.ini"; }
};

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* t = w->findChild<T*>(QString::fromLatin1(name));
  if (!t) qFatal("no widget %s", name);
  return t;
}

// Runs action on the search dialog once it is shown modally; the action
// must close it. False when no dialog came.
bool OnSearchDialog(std::function<void(search::SearchWindow*)> action, bool* ran) {
  *ran = false;
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action, ran] {
    auto* dlg = qobject_cast<search::SearchWindow*>(QApplication::activeModalWidget());
    if (!dlg || !dlg->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *ran = true;
    action(dlg);
    if (dlg->isVisible()) dlg->reject();  // a failed check must not leave it open
  });
  timer->start();
  return true;
}

// A click on the indicator of a radio button or check box (a layout may
// make the widget wider than its label, and its middle is then no hit).
void ClickBox(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }

}  // namespace

class SearchWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { app::SetUpAppearance(*qApp); }  // the program's fonts
  void findButtonOpensTheDialogAndTheSearchRuns();
  void choicesAreTakenFromTheWidgetsAndStored();
  void popupFindAndEscapeChangeNothing();
};

void SearchWindowTest::findButtonOpensTheDialogAndTheSearchRuns() {
  Session s;
  bool ran = false;
  OnSearchDialog(
      [&](search::SearchWindow* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Ostra Address Book Manager"));
        QVERIFY(d->isModal());
        QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(Child<QLabel>(d, "Label1")->text(), QStringLiteral("String(&S)"));
        QCOMPARE(Child<QPushButton>(d, "SearchBtn")->text(), QStringLiteral("Search(&G)"));
        QVERIFY(!Child<QPushButton>(d, "SearchBtn")->icon().isNull());
        QCOMPARE(Child<QPushButton>(d, "CancelBtn")->text(), QStringLiteral("Cancel(&C)"));
        QCOMPARE(Child<QGroupBox>(d, "tags")->title(), QStringLiteral("Tag Select(&T)"));
        QCOMPARE(Child<QGroupBox>(d, "Area")->title(), QStringLiteral("Search Area(&A)"));
        QCOMPARE(Child<QGroupBox>(d, "Func")->title(), QStringLiteral("Process"));
        QCOMPARE(Child<QGroupBox>(d, "GroupBox2")->title(), QStringLiteral("Character(&J)"));
        QCOMPARE(Child<QCheckBox>(d, "NoCase")->text(), U8("&U：Ignore Case"));
        // Defaults: in all data, New, Include, Ignore Case, five tags.
        QVERIFY(Child<QRadioButton>(d, "Radio_all")->isChecked());
        QVERIFY(Child<QRadioButton>(d, "Radio_new")->isChecked());
        QVERIFY(Child<QRadioButton>(d, "Radio_inc")->isChecked());
        QVERIFY(Child<QCheckBox>(d, "NoCase")->isChecked());
        QVERIFY(Child<QGroupBox>(d, "Func")->isVisible());
        auto* filter = Child<QListWidget>(d, "Filter");
        QCOMPARE(filter->count(), 12);
        QStringList checked;
        for (int i = 0; i < filter->count(); ++i)
          if (filter->item(i)->checkState() == Qt::Checked) checked << filter->item(i)->text();
        QCOMPARE(checked, QStringList({"Mail Address", "Name", "Nic Name", "Note", "Address"}));
        SaveShot(d, "search-dialog.png");

        // Typing starts in the text; Enter moves to the search button, a
        // second Enter searches and closes the dialog.
        auto* text = Child<QLineEdit>(d, "FindText");
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(text));
        QInputMethodEvent commit;  // typed through the input method
        commit.setCommitString(U8("山田"));
        QApplication::sendEvent(text, &commit);
        QCOMPARE(text->text(), U8("山田"));
        SaveShot(d, "search-dialog-text.png");
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(d->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Child<QPushButton>(d, "SearchBtn")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      },
      &ran);
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("FindBtn")), Qt::LeftButton);
  QVERIFY(ran);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(s.ShownAddresses(), QStringList({"taro.yamada@example.co.jp"}));
  QCOMPARE(s.w->findChild<QLabel*>(QStringLiteral("SubTot"))->text(), QStringLiteral("     1"));
  QCOMPARE(codec::ToQt(s.L().LastSearchText), U8("山田"));
  QCOMPARE(codec::ToQt(s.L().View->Addr), QStringLiteral("taro.yamada@example.co.jp"));
  plat::IniFile ini(s.Ini());
  QCOMPARE(ini.ReadInteger("Search", "Area", -1), 1);
  QCOMPARE(ini.ReadInteger("Search", "Adr", -1), 1);
  QCOMPARE(ini.ReadInteger("Search", "Tel", -1), 0);
}

void SearchWindowTest::choicesAreTakenFromTheWidgetsAndStored() {
  Session s;
  bool ran = false;
  OnSearchDialog(
      [&](search::SearchWindow* d) {
        auto* func = Child<QGroupBox>(d, "Func");
        // "Search in previous" hides Add/New; the other areas show it again.
        ClickBox(Child<QRadioButton>(d, "Radio_and"));
        QVERIFY(!func->isVisible());
        ClickBox(Child<QRadioButton>(d, "Radio_grp"));
        QVERIFY(func->isVisible());
        ClickBox(Child<QRadioButton>(d, "Radio_all"));
        QVERIFY(Child<QRadioButton>(d, "Radio_all")->isChecked());
        // Only the Mail Address tag: uncheck the others with the keyboard.
        auto* filter = Child<QListWidget>(d, "Filter");
        filter->setFocus();
        for (int i = 1; i < filter->count(); ++i) {
          filter->setCurrentRow(i);
          if (filter->item(i)->checkState() == Qt::Checked) QTest::keyClick(filter, Qt::Key_Space);
          QCOMPARE(filter->item(i)->checkState(), Qt::Unchecked);
        }
        // Alt+U turns Ignore Case off; WithOut by its radio.
        d->activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == d; }));
        QTest::keyClick(d, Qt::Key_U, Qt::AltModifier);
        // An accelerator clicks visibly: the toggle comes a moment later.
        QTRY_VERIFY(!Child<QCheckBox>(d, "NoCase")->isChecked());
        ClickBox(Child<QRadioButton>(d, "Radio_Not_inc"));
        auto* text = Child<QLineEdit>(d, "FindText");
        text->clear();
        QTest::keyClicks(text, QStringLiteral("EXAMPLE.JP"));  // case counts: in no address
        QTest::mouseClick(Child<QPushButton>(d, "SearchBtn"), Qt::LeftButton);
      },
      &ran);
  s.w->findChild<QPushButton*>(QStringLiteral("FindBtn"))->click();
  QVERIFY(ran);
  // WithOut a text no address holds: every card.
  QCOMPARE(s.ShownAddresses().size(), 12);
  plat::IniFile ini(s.Ini());
  QCOMPARE(ini.ReadInteger("Search", "NoCase", -1), 0);
  QCOMPARE(ini.ReadInteger("Search", "Chr_Inc", -1), 0);
  QCOMPARE(ini.ReadInteger("Search", "Addr", -1), 1);
  QCOMPARE(ini.ReadInteger("Search", "Name", -1), 0);

  // The next dialog starts with the stored choices and the last text.
  OnSearchDialog(
      [&](search::SearchWindow* d) {
        QCOMPARE(Child<QLineEdit>(d, "FindText")->text(), QStringLiteral("EXAMPLE.JP"));
        QVERIFY(!Child<QCheckBox>(d, "NoCase")->isChecked());
        QVERIFY(Child<QRadioButton>(d, "Radio_Not_inc")->isChecked());
        QCOMPARE(Child<QListWidget>(d, "Filter")->item(1)->checkState(), Qt::Unchecked);
        ClickBox(Child<QRadioButton>(d, "Radio_inc"));
        ClickBox(Child<QCheckBox>(d, "NoCase"));
        QTest::mouseClick(Child<QPushButton>(d, "SearchBtn"), Qt::LeftButton);
      },
      &ran);
  s.w->findChild<QPushButton*>(QStringLiteral("FindBtn"))->click();
  QVERIFY(ran);
  QCOMPARE(s.ShownAddresses(), QStringList({"hanako.suzuki@example.jp", "kato.family@example.jp",
                                            "mother@example.jp", "watanabe@example.jp"}));
}

void SearchWindowTest::popupFindAndEscapeChangeNothing() {
  Session s;
  const QStringList before = s.ShownAddresses();
  const auto revision = s.L().Tbl.Revision();
  QAction* find = s.w->popupMenu()->findChild<QAction*>(QStringLiteral("FindMenu"));
  if (!find)
    for (QAction* a : s.w->popupMenu()->actions())
      if (a->objectName() == QStringLiteral("FindMenu")) find = a;
  QVERIFY(find);
  QVERIFY(find->isEnabled());
  bool ran = false;
  OnSearchDialog(
      [&](search::SearchWindow* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "FindText"), QStringLiteral("nothing"));
        QTest::keyClick(d, Qt::Key_Escape);
      },
      &ran);
  find->trigger();
  QVERIFY(ran);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(s.ShownAddresses(), before);
  QCOMPARE(s.L().Tbl.Revision(), revision);
  QCOMPARE(s.L().LastSearchText, std::string());
  QVERIFY(!testsupport::Exists(s.Ini()) || !plat::IniFile(s.Ini()).SectionExists("Search"));
}

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
