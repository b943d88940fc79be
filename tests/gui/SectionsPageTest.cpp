// The card editor's extended page on a copy of the sample book, driven
// through its widgets: choosing a section, adding, editing and deleting a
// line in the edit panel, and a card that stands in no group below the top
// level shown read-only.
#include <QtTest>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "editor/CardEditorWindow.h"
#include "editor/SectionsPageWidget.h"
#include "editor/ViewLogic.h"
#include "mainwin/GroupTreeModel.h"
#include "mainwin/MainWindow.h"
#include "store/Card.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"

using mainwin::MainWindow;

namespace {

using guitest::U8;

struct Session : guitest::Session {
  editor::TView& V() { return *w->logic().View; }
  editor::CardEditorWindow* E() { return w->cardEditor(); }
  editor::SectionsPageWidget* P() { return E()->sectionsPage(); }
  store::TAddrRec& Card() { return *V().CurCard; }

  void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  // Clicks the grid row showing the address.
  void ClickAddress(const char* addr) {
    int row = -1;
    for (int r = 1; r < L().Tbl.RowCount(); ++r)
      if (L().Tbl.Cell(r, 1) == addr) row = r;
    if (row < 0) qFatal("no row %s", addr);
    QTableView* t = w->grid();
    const QModelIndex idx = t->model()->index(row - 1, 1);
    t->scrollTo(idx);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(idx).center());
    Settle();
  }
  void ActivateEditor() {
    E()->activateWindow();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == E(); })) qFatal("card editor not active");
  }
  void OpenExtPage() {
    auto* tabs = E()->findChild<QTabWidget*>(QStringLiteral("PagePanel"));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    Settle();
  }
  void ClickSecRow(int row) {
    QTreeWidget* t = P()->secView();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->topLevelItem(row)).center());
    Settle();
  }
  // A radio button takes a click on its indicator or text only.
  void ClickRadio(int i) {
    QRadioButton* r = P()->radio(i);
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
    Settle();
  }
  void ClickButton(const char* name) {
    QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    Settle();
  }
  QString Cell(int row, int col) { return P()->secView()->topLevelItem(row)->text(col); }
  QString GridCell(int col) { return w->grid()->model()->index(L().Tbl.Row - 1, col).data().toString(); }
};

}  // namespace

class SectionsPageTest : public QObject {
  Q_OBJECT
 private slots:
  void addEditAndDeleteThroughThePanel();
  void japaneseLinesAndTheGrid();
  void topLevelOnlyCardIsReadOnly();
};

void SectionsPageTest::addEditAndDeleteThroughThePanel() {
  Session s;
  s.ClickAddress("taro.yamada@example.co.jp");
  s.ActivateEditor();
  s.OpenExtPage();
  editor::SectionsPageWidget* p = s.P();
  QVERIFY(p->isVisible());
  QCOMPARE(p->radio(0)->text(), QStringLiteral("Mail Address"));
  QCOMPARE(p->radio(17)->text(), QStringLiteral("Others"));
  QVERIFY(p->radio(0)->isChecked());
  QCOMPARE(p->addButton()->text(), QStringLiteral("Add(&A)"));
  // Two columns: the tenth item stands beside the first.
  QCOMPARE(p->radio(9)->y(), p->radio(0)->y());
  QVERIFY(p->radio(9)->x() > p->radio(0)->x());

  // Tel: one row per TEL line, "Spec" and "Data".
  s.ClickRadio(8);
  QCOMPARE(p->secName()->text(), QStringLiteral("TEL"));
  QTreeWidget* view = p->secView();
  QCOMPARE(view->headerItem()->text(0), QStringLiteral("Spec"));
  QCOMPARE(view->headerItem()->text(1), QStringLiteral("Data"));
  QCOMPARE(view->topLevelItemCount(), 3);
  QCOMPARE(s.Cell(1, 0), QStringLiteral("FAX"));

  // Add: the panel proposes WORK; type a number and press OK(&Y).
  view->setCurrentItem(nullptr);
  s.V().SecViewIndex = -1;
  QTest::mouseClick(p->addButton(), Qt::LeftButton);
  s.Settle();
  QVERIFY(p->edPanel()->isVisible());
  QVERIFY(p->okButton()->isVisible());
  QVERIFY(!p->deleteButton()->isVisible());
  QCOMPARE(p->ed01()->text(), QStringLiteral("WORK"));
  QCOMPARE(QApplication::focusWidget(), p->ed01());
  QVERIFY(!p->ed(1)->isVisible());
  QCOMPARE(p->edLabel(0)->text(), QStringLiteral("Data"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), p->ed(0));
  QTest::keyClicks(p->ed(0), "03-9999-0000");
  QTest::keyClick(p->ed(0), Qt::Key_Y, Qt::AltModifier);  // OK(&Y), an animated click
  QTRY_VERIFY(!p->edPanel()->isVisible());
  QCOMPARE(s.Card().Tel.size(), 4u);
  QCOMPARE(s.Card().Tel.back().Params, std::string("WORK"));
  QCOMPARE(s.Card().Tel.back().Values.Join(";"), std::string("03-9999-0000"));
  QCOMPARE(view->topLevelItemCount(), 4);

  // Edit the fax line: lower-case parameters are stored upper-cased, and
  // tabbing out of the panel takes it over.
  s.ClickSecRow(1);
  QVERIFY(p->edPanel()->isVisible());
  QVERIFY(p->deleteButton()->isVisible());
  QVERIFY(!p->okButton()->isVisible());
  QCOMPARE(p->ed(0)->text(), QStringLiteral("03-1234-5679"));
  p->ed01()->setFocus();
  p->ed01()->selectAll();
  QTest::keyClicks(p->ed01(), "fax;work");
  QTest::keyClick(p->ed01(), Qt::Key_Return);  // Enter parks the focus on the panel
  s.Settle();
  QCOMPARE(QApplication::focusWidget(), p->edPanel());
  QVERIFY(p->edPanel()->isVisible());
  QCOMPARE(s.Card().Tel[1].Params, std::string("FAX"));  // not yet taken over
  p->deleteButton()->setFocus();
  QTest::keyClick(p->deleteButton(), Qt::Key_Tab);  // leaves the panel
  s.Settle();
  QVERIFY(!p->edPanel()->isVisible());
  QCOMPARE(s.Card().Tel[1].Params, std::string("FAX;WORK"));
  QCOMPARE(s.Cell(1, 0), QStringLiteral("FAX;WORK"));

  // Esc closes the panel and takes nothing over.
  s.ClickSecRow(0);
  p->ed(0)->setFocus();
  QTest::keyClicks(p->ed(0), "-1");
  QTest::keyClick(p->ed(0), Qt::Key_Escape);
  s.Settle();
  QVERIFY(!p->edPanel()->isVisible());
  QCOMPARE(s.Card().Tel[0].Values.Join(";"), std::string("03-1234-5678"));

  // Delete the PHS line after the question; Enter on a row opens it too.
  view->setFocus();
  view->setCurrentItem(view->topLevelItem(2));
  QTest::keyClick(view, Qt::Key_Return);
  s.Settle();
  QVERIFY(p->edPanel()->isVisible());
  QCOMPARE(p->ed01()->text(), QStringLiteral("PHS"));
  s.dialogs.answers = {dlg::Button::Ok};
  QTest::mouseClick(p->deleteButton(), Qt::LeftButton);
  s.Settle();
  QCOMPARE(s.dialogs.boxes.size(), 1u);
  QCOMPARE(s.dialogs.boxes[0].text, std::string("Delete this section. Okay?"));
  QCOMPARE(store::GetValue(s.Card().Tel, "PHS"), std::string());
  QCOMPARE(view->topLevelItemCount(), 3);
  QVERIFY(!p->edPanel()->isVisible());
}

void SectionsPageTest::japaneseLinesAndTheGrid() {
  Session s;
  s.ClickAddress("taro.yamada@example.co.jp");
  s.ActivateEditor();
  s.OpenExtPage();
  editor::SectionsPageWidget* p = s.P();
  // Company/Team: two columns of Japanese text.
  s.ClickRadio(9);
  QCOMPARE(p->secView()->columnCount(), 3);
  QCOMPARE(p->secView()->headerItem()->text(1), QStringLiteral("Company/Team"));
  QCOMPARE(s.Cell(0, 1), U8("山田商事;営業部"));

  // Name: a new name written in the panel reaches grid column 2 at once.
  s.ClickRadio(1);
  QCOMPARE(s.Cell(0, 1), U8("山田 太郎"));
  s.ClickSecRow(0);
  p->ed(0)->setFocus();
  p->ed(0)->setText(U8("山田 次郎"));
  s.ClickRadio(2);  // another section: leaves the panel
  QCOMPARE(store::GetValue(s.Card().FN, ""), codec::FromQt(U8("山田 次郎")).value());
  QCOMPARE(s.GridCell(2), U8("山田 次郎"));
  QCOMPARE(p->secName()->text(), QStringLiteral("N"));
  QCOMPARE(p->secView()->columnCount(), 4);
  QCOMPARE(s.Cell(0, 1), U8("山田"));
  QCOMPARE(s.Cell(0, 2), U8("太郎"));

  // Deactivation marks the card's group modified.
  s.w->grid()->setFocus();
  s.w->activateWindow();
  QTRY_VERIFY(QApplication::activeWindow() != s.E());
  s.Settle();
  QTRY_VERIFY(s.L().Book->Nodes.InOrder().size() > 0);
  bool marked = false;
  for (auto* n : s.L().Book->Nodes.InOrder())
    if (n->Group && n->Level > 0 && n->Group->Contains(s.V().CurCard)) marked = marked || n->Group->Modified;
  QVERIFY(marked);
}

void SectionsPageTest::topLevelOnlyCardIsReadOnly() {
  Session s;
  // 家族 holds its cards in the top-level folder's own file only; they stay
  // shown when no group is checked.
  s.ClickButton("DeSelect");
  s.ClickAddress("mother@example.jp");
  editor::CardEditorWindow* e = s.E();
  QVERIFY(s.V().ReadOnly);
  QVERIFY(e->readOnlyLine()->isVisible());
  QVERIFY(!e->readOnlyLine()->text().isEmpty());
  QVERIFY(e->edit(1)->isReadOnly());
  QVERIFY(e->memo()->isReadOnly());
  s.ActivateEditor();
  s.OpenExtPage();
  editor::SectionsPageWidget* p = s.P();
  QVERIFY(!p->addButton()->isEnabled());
  s.ClickRadio(1);
  s.ClickSecRow(0);
  QVERIFY(p->edPanel()->isVisible());
  QVERIFY(p->ed(0)->isReadOnly());
  QVERIFY(!p->deleteButton()->isEnabled());
  const std::string before = store::GetValue(s.Card().FN, "");
  p->ed(0)->setText(QStringLiteral("x"));
  s.ClickRadio(3);
  QCOMPARE(store::GetValue(s.Card().FN, ""), before);

  // A card in a group is editable: the line goes away.
  s.ClickButton("SelectAll");
  s.ClickAddress("taro.yamada@example.co.jp");
  QVERIFY(!s.V().ReadOnly);
  QVERIFY(!e->readOnlyLine()->isVisible());
  QVERIFY(!e->edit(1)->isReadOnly());
  QVERIFY(p->addButton()->isEnabled());
}

QTEST_MAIN(SectionsPageTest)
#include "SectionsPageTest.moc"
