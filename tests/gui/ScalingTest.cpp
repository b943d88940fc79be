// The windows at 200 % scaling and at the smallest sizes the settings file
// may hold: every visible control lies inside its window and is as large
// as its text needs. With Q7_SHOT_DIR set the windows are saved there as
// pictures, to look at.
#include <QtTest>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <memory>

#include "editor/CardEditorWindow.h"
#include "mainwin/MainWindow.h"
#include "support/TestSupport.h"
#include "ui/QtAppearance.h"

namespace {

void Shot(QWidget* w, const char* name) {
  const QString dir = qEnvironmentVariable("Q7_SHOT_DIR");
  if (!dir.isEmpty()) w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Lists what is cut off in window (empty: nothing).
QStringList Clipped(QWidget* window) {
  QStringList bad;
  const QSize min = window->minimumSizeHint();
  if (window->width() < min.width() || window->height() < min.height())
    bad << QStringLiteral("window %1x%2 below %3x%4")
               .arg(window->width()).arg(window->height()).arg(min.width()).arg(min.height());
  for (QWidget* c : window->findChildren<QWidget*>()) {
    if (c->window() != window || !c->isVisible()) continue;
    const bool text = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                      (qobject_cast<QLabel*>(c) && !static_cast<QLabel*>(c)->wordWrap());
    if (!text || c->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored) continue;
    const QString name = c->objectName().isEmpty() ? QString::fromLatin1(c->metaObject()->className())
                                                   : c->objectName();
    const QRect at(c->mapTo(window, QPoint(0, 0)), c->size());
    if (!window->rect().contains(at)) bad << name + QStringLiteral(" outside the window");
    const QSize need = c->minimumSizeHint();
    if (c->width() < need.width() || c->height() < need.height())
      bad << QStringLiteral("%1 %2x%3 below %4x%5")
                 .arg(name).arg(c->width()).arg(c->height()).arg(need.width()).arg(need.height());
  }
  return bad;
}

}  // namespace

class ScalingTest : public QObject {
  Q_OBJECT
 private slots:
  void smallestStoredSizesAtTwiceTheScale();
  void japaneseFaceChosenWithFallbacks();
};

void ScalingTest::smallestStoredSizesAtTwiceTheScale() {
  QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
  testsupport::TempDir dir;
  std::filesystem::copy(Q7_SAMPLE_BOOK_DIR, dir.path(), std::filesystem::copy_options::recursive);
  // The least the settings file may give both windows.
  testsupport::WriteBytes(dir / "Q7Addr.ini",
                          "[Q7Addr]\r\nLeft=0\r\nTop=0\r\nWidth=100\r\nHeight=100\r\n"
                          "ViewLeft=0\r\nViewTop=0\r\nViewWidth=100\r\nViewHeight=100\r\nViewGroup=50\r\n");
  testsupport::ScriptedDialogs dialogs;
  mainwin::StartOptions o;
  o.Args = {"/c"};
  o.CurrentDir = dir.path();
  o.ProgramDir = dir.path();
  o.Config = plat::PlatformConfig{};
  auto w = std::make_unique<mainwin::MainWindow>(std::move(o), &dialogs);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  editor::CardEditorWindow* e = w->cardEditor();
  QVERIFY(e && QTest::qWaitForWindowExposed(e));
  QTest::qWait(50);
  Shot(w.get(), "main-window");
  Shot(e, "card-editor");
  QCOMPARE(Clipped(w.get()), QStringList());
  QCOMPARE(Clipped(e), QStringList());

  // A dialog placed over the narrow grid: Ext(&O) opens the options.
  QStringList dialogClipped{QStringLiteral("not shown")};
  QTimer::singleShot(0, [&] {
    QTRY_VERIFY(QApplication::activeModalWidget());
    QWidget* d = QApplication::activeModalWidget();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    Shot(d, "options-dialog");
    dialogClipped = Clipped(d);
    d->close();
  });
  w->findChild<QPushButton*>(QStringLiteral("Other"))->click();
  QCOMPARE(dialogClipped, QStringList());

  for (auto* n : w->logic().Book->Nodes.InOrder())
    if (n->Group) n->Group->Modified = false;
}

void ScalingTest::japaneseFaceChosenWithFallbacks() {
  const QStringList wanted{QStringLiteral("A JP"), QStringLiteral("B JP"), QStringLiteral("C JP")};
  const QStringList capable{QStringLiteral("Some CJK"), QStringLiteral("Other CJK")};
  auto only = [](QStringList present) { return [present](const QString& f) { return present.contains(f); }; };
  // Installed ones in the order asked for, then the desktop's face.
  QCOMPARE(app::ChooseFamilies(wanted, QStringLiteral("Sans"), only({"C JP", "A JP"}), capable),
           (QStringList{"A JP", "C JP", "Sans"}));
  // None of them: any face that writes Japanese, then the desktop's.
  QCOMPARE(app::ChooseFamilies(wanted, QStringLiteral("Sans"), only({}), capable),
           (QStringList{"Some CJK", "Other CJK", "Sans"}));
  // The desktop's face is not asked for twice.
  QCOMPARE(app::ChooseFamilies(wanted, QStringLiteral("B JP"), only({"B JP"}), capable), (QStringList{"B JP"}));
  // This machine has the Japanese Noto face (fonts-noto-cjk): it comes first.
  QCOMPARE(QApplication::font().families().value(0), QStringLiteral("Noto Sans CJK JP"));
  QCOMPARE(app::JapaneseFixedFont(QApplication::font()).families().value(0), QStringLiteral("Noto Sans Mono CJK JP"));
}

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  app::SetUpAppearance(app);
  ScalingTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ScalingTest.moc"
