// Keyboard across the two windows: F6 between the main window and the card
// editor, the main window's &-letters while the editor has the focus (the
// editor's own letter winning), and the frame that marks the focused pane.
#include <QtTest>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

#include "editor/CardEditorWindow.h"
#include "mainwin/MainWindow.h"
#include "store/Card.h"
#include "support/GuiSession.h"
#include "ui/QtAppearance.h"

namespace {

// The shared session, started with the grid focused in the active main window.
struct Session : guitest::Session {
  Session() { ActivateMain(); }
  editor::CardEditorWindow* E() { return w->cardEditor(); }
  app::FocusFrame* Frame(const char* name) {
    auto* f = w->findChild<app::FocusFrame*>(QString::fromLatin1(name));
    if (!f) qFatal("no frame %s", name);
    return f;
  }
  void ActivateMain() {
    w->activateWindow();
    w->grid()->setFocus();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == w.get(); })) qFatal("main not active");
  }
  void ActivateEditor() {
    E()->activateWindow();
    E()->edit(0)->setFocus();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == E(); })) qFatal("editor not active");
  }
  // The groups whose check box is on.
  int CheckedGroups() {
    int n = 0;
    for (auto* node : w->logic().Book->Nodes.InOrder()) n += node->ImageIndex == 1;
    return n;
  }
};

}  // namespace

class FocusKeysTest : public QObject {
  Q_OBJECT
 private slots:
  void f6MovesBetweenTheWindowsAndTheFrameFollows();
  void f6ShowsAHiddenEditor();
  void mainLettersWorkInTheEditorUnlessItHasTheLetter();
};

void FocusKeysTest::f6MovesBetweenTheWindowsAndTheFrameFollows() {
  Session s;
  app::FocusFrame* grid = s.Frame("TblFrame");
  app::FocusFrame* tree = s.Frame("GroupTreeFrame");
  app::FocusFrame* page = s.Frame("PagePanelFrame");
  QTRY_VERIFY(grid->focusShown());
  QVERIFY(!tree->focusShown());
  QVERIFY(!page->focusShown());

  // The tree takes the focus, then F6 goes to the editor (its first field).
  s.w->groupTree()->setFocus();
  QTRY_VERIFY(tree->focusShown());
  QVERIFY(!grid->focusShown());
  QTest::keyClick(s.w->groupTree(), Qt::Key_F6);
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(s.E()));
  QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == s.E());
  QVERIFY(!tree->focusShown());
  s.E()->edit(0)->setFocus();
  QTRY_VERIFY(page->focusShown());

  // Back again: the tree, where the focus was; then to the editor's field
  // that had it last.
  s.E()->edit(4)->setFocus();
  QTest::keyClick(s.E()->edit(4), Qt::Key_F6);
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(s.w.get()));
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.w->groupTree()));
  QTRY_VERIFY(tree->focusShown());
  QVERIFY(!page->focusShown());
  QTest::keyClick(s.w->groupTree(), Qt::Key_F6);
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.E()->edit(4)));
}

void FocusKeysTest::f6ShowsAHiddenEditor() {
  Session s;
  s.E()->hide();
  QTest::keyClick(s.w->grid(), Qt::Key_F6);
  QTRY_VERIFY(s.E()->isVisible());
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(s.E()));
}

void FocusKeysTest::mainLettersWorkInTheEditorUnlessItHasTheLetter() {
  Session s;
  QVERIFY(s.CheckedGroups() > 0);
  s.ActivateEditor();
  QLineEdit* addr = s.E()->edit(0);
  store::TAddrRec* card = s.w->logic().View->CurCard;
  QVERIFY(card);
  const std::string email = card->PrefEmail;
  // DeSelect(&X) is the main window's; the field gets no "x" (the card's
  // address would have taken it over).
  QTest::keyClick(addr, Qt::Key_X, Qt::AltModifier);
  QTRY_COMPARE(s.CheckedGroups(), 0);
  QCOMPARE(card->PrefEmail, email);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);  // Select All(&M)
  QTRY_VERIFY(s.CheckedGroups() > 0);

  // "(&S)Std" is the editor's own letter: it wins over the main Save(&S).
  auto* pages = s.E()->findChild<QTabWidget*>(QStringLiteral("PagePanel"));
  QVERIFY(pages);
  pages->setCurrentIndex(1);
  store::TGrpList* group = nullptr;
  for (auto* n : s.w->logic().Book->Nodes.InOrder())
    if (n->Group && n->Group->Count() > 0) group = n->Group;
  QVERIFY(group);
  group->Modified = true;
  s.ActivateEditor();
  pages->setFocus();
  QTest::keyClick(pages, Qt::Key_S, Qt::AltModifier);
  QTRY_COMPARE(pages->currentIndex(), 0);
  QTest::qWait(300);  // longer than a pressed button's animation
  QVERIFY(group->Modified);
  // In the main window the same letter is its own Save.
  s.ActivateMain();
  QTest::keyClick(s.w->grid(), Qt::Key_S, Qt::AltModifier);
  QTRY_VERIFY(!group->Modified);
  // Only the main window's own buttons answer for it.
  QVERIFY(s.w->AcceleratorButton(Qt::Key_S) != nullptr);
  QVERIFY(s.w->AcceleratorButton(Qt::Key_K) == nullptr);  // the editor's "(&K) OK"
}

QTEST_MAIN(FocusKeysTest)
#include "FocusKeysTest.moc"
