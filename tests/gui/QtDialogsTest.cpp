// The Qt answers to dlg::Dialogs: the boxes show the program's CP932 texts,
// carry exactly the buttons asked for and report the one pressed.
#include <QtTest>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <functional>

#include "ui/QtDialogs.h"

namespace {

// Runs action on the next modal dialog once it is shown.
void OnNextModal(std::function<void(QWidget*)> action, QWidget* notThis = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action, notThis] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == notThis || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start();
}

QMessageBox* Box(QWidget* w) {
  auto* box = qobject_cast<QMessageBox*>(w);
  if (!box) qFatal("expected a message box, got %s", w->metaObject()->className());
  return box;
}

struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  Qt::TextFormat format = Qt::AutoText;
};

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void boxShowsTextIconAndExactlyTheButtons_data();
  void boxShowsTextIconAndExactlyTheButtons();
  void everyButtonAnswersItself();
  void escapeAndClosingAnswerCancel();
  void boxTextIsNeverMarkup();
  void inputBoxConvertsBothWays();
  void inputBoxRefusesWhatCp932CannotHold();
  void fileFilters();
  void clipboardGetsDesktopLineEnds();
};

void QtDialogsTest::boxShowsTextIconAndExactlyTheButtons_data() {
  QTest::addColumn<int>("type");
  QTest::addColumn<int>("icon");
  QTest::addColumn<QString>("title");
  QTest::newRow("warning") << int(dlg::BoxType::Warning) << int(QMessageBox::Warning) << "Warning";
  QTest::newRow("error") << int(dlg::BoxType::Error) << int(QMessageBox::Critical) << "Error";
  QTest::newRow("information") << int(dlg::BoxType::Information) << int(QMessageBox::Information) << "Information";
  QTest::newRow("confirmation") << int(dlg::BoxType::Confirmation) << int(QMessageBox::Question) << "Confirm";
}

void QtDialogsTest::boxShowsTextIconAndExactlyTheButtons() {
  QFETCH(int, type);
  QFETCH(int, icon);
  QFETCH(QString, title);
  app::QtDialogs d;
  Seen seen;
  OnNextModal([&](QWidget* w) {
    QMessageBox* box = Box(w);
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
            box->standardButton(box->defaultButton()), box->textFormat()};
    box->button(QMessageBox::Ignore)->click();
  });
  // "ファイル" (CP932 83 74 83 40 83 43 83 8b), CR LF, a phrase, CR, more.
  const dlg::Button answer = d.MessageBox("\x83\x74\x83\x40\x83\x43\x83\x8b\r\nFile open error\rnext",
                                          static_cast<dlg::BoxType>(type),
                                          {dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore});
  QCOMPARE(answer, dlg::Button::Ignore);
  QCOMPARE(seen.text, QString::fromUtf8("ファイル\nFile open error\nnext"));
  QCOMPARE(int(seen.icon), icon);
  QCOMPARE(seen.title, title);
  QCOMPARE(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Ignore);
  QCOMPARE(seen.defaultButton, QMessageBox::Ok);  // the first one given
}

void QtDialogsTest::everyButtonAnswersItself() {
  const std::pair<dlg::Button, QMessageBox::StandardButton> all[] = {
      {dlg::Button::Ok, QMessageBox::Ok},         {dlg::Button::Cancel, QMessageBox::Cancel},
      {dlg::Button::Yes, QMessageBox::Yes},       {dlg::Button::No, QMessageBox::No},
      {dlg::Button::Ignore, QMessageBox::Ignore}, {dlg::Button::Abort, QMessageBox::Abort},
      {dlg::Button::Retry, QMessageBox::Retry}};
  app::QtDialogs d;
  for (const auto& [b, qb] : all) {
    // The pressed button among all seven, shown in a different first place.
    dlg::Buttons set;
    set.push_back(b);
    for (const auto& [other, unused] : all)
      if (other != b) set.push_back(other);
    QMessageBox::StandardButtons shown;
    OnNextModal([&, qb = qb](QWidget* w) {
      shown = Box(w)->standardButtons();
      Box(w)->button(qb)->click();
    });
    QCOMPARE(d.MessageBox("x", dlg::BoxType::Confirmation, set), b);
    QCOMPARE(int(shown), int(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No |
                             QMessageBox::Ignore | QMessageBox::Abort | QMessageBox::Retry));
  }
  // Yes/No only: nothing else is offered.
  QMessageBox::StandardButtons shown;
  OnNextModal([&](QWidget* w) {
    shown = Box(w)->standardButtons();
    Box(w)->button(QMessageBox::No)->click();
  });
  QCOMPARE(d.MessageBox("Address Delete Okay?", dlg::BoxType::Confirmation, {dlg::Button::Yes, dlg::Button::No}),
           dlg::Button::No);
  QCOMPARE(shown, QMessageBox::Yes | QMessageBox::No);
}

void QtDialogsTest::escapeAndClosingAnswerCancel() {
  app::QtDialogs d;
  OnNextModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  QCOMPARE(d.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                        {dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore}),
           dlg::Button::Cancel);
  OnNextModal([](QWidget* w) { w->close(); });
  QCOMPARE(d.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                        {dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore}),
           dlg::Button::Cancel);
}

void QtDialogsTest::boxTextIsNeverMarkup() {
  app::QtDialogs d;
  Qt::TextFormat format = Qt::AutoText;
  QString text;
  OnNextModal([&](QWidget* w) {
    format = Box(w)->textFormat();
    text = Box(w)->text();
    Box(w)->button(QMessageBox::Ok)->click();
  });
  d.MessageBox("<b>a@b</b>", dlg::BoxType::Information, {dlg::Button::Ok});
  QCOMPARE(format, Qt::PlainText);
  QCOMPARE(text, QStringLiteral("<b>a@b</b>"));
}

void QtDialogsTest::inputBoxConvertsBothWays() {
  app::QtDialogs d;
  QString title, label, initial;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QInputDialog*>(w);
    QVERIFY(box);
    title = box->windowTitle();
    label = box->labelText();
    initial = box->textValue();
    box->setTextValue(QString::fromUtf8("取引先"));
    box->accept();
  });
  // initial text "友人" is 97 46 90 6c in CP932
  const auto name = d.InputBox("Add Address Group", "Enter Group Name", "\x97\x46\x90\x6c");
  QCOMPARE(title, QStringLiteral("Add Address Group"));
  QCOMPARE(label, QStringLiteral("Enter Group Name"));
  QCOMPARE(initial, QString::fromUtf8("友人"));
  QVERIFY(name);
  QCOMPARE(*name, std::string("\x8e\xe6\x88\xf8\x90\xe6"));  // 取引先

  OnNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  QVERIFY(!d.InputBox("Add Address Group", "Enter Group Name", ""));
}

void QtDialogsTest::inputBoxRefusesWhatCp932CannotHold() {
  app::QtDialogs d;
  QInputDialog* input = nullptr;
  QString refusal, keptText;
  OnNextModal([&](QWidget* w) {
    input = qobject_cast<QInputDialog*>(w);
    input->setTextValue(QString::fromUtf8("Caf\xc3\xa9"));
    // The refusal comes over the input box; after it the box is back with
    // what was typed.
    OnNextModal(
        [&](QWidget* w2) {
          refusal = Box(w2)->text();
          Box(w2)->button(QMessageBox::Ok)->click();
          OnNextModal([&](QWidget* w3) {
            keptText = qobject_cast<QInputDialog*>(w3)->textValue();
            qobject_cast<QInputDialog*>(w3)->setTextValue(QStringLiteral("Cafe"));
            qobject_cast<QInputDialog*>(w3)->accept();
          });
        },
        input);
    input->accept();
  });
  const auto name = d.InputBox("Add Address Group", "Enter Group Name", "");
  QVERIFY2(refusal.contains(QStringLiteral("U+00E9")), qPrintable(refusal));
  QCOMPARE(keptText, QString::fromUtf8("Caf\xc3\xa9"));
  QVERIFY(name);
  QCOMPARE(*name, std::string("Cafe"));
}

void QtDialogsTest::fileFilters() {
  QCOMPARE(app::QtDialogs::QtFilter("Text files (*.txt)|*.txt"), QStringLiteral("Text files (*.txt)"));
  QCOMPARE(app::QtDialogs::QtFilter("CSV|*.csv;*.txt|All|*.*"), QStringLiteral("CSV (*.csv *.txt);;All (*.*)"));
}

void QtDialogsTest::clipboardGetsDesktopLineEnds() {
  app::QtDialogs d;
  d.SetClipboardText("\x8e\x52\x93\x63\r\nTaro");  // 山田 CR LF Taro
  QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("山田\nTaro"));
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
