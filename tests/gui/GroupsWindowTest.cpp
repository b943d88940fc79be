// The group dialog opened from the real main window on a copy of the sample
// book, driven through its buttons, its table and its keys.
#include <QtTest>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <memory>

#include "editor/ViewLogic.h"
#include "groups/GroupsWindow.h"
#include "groups/GrpTblModel.h"
#include "mainwin/GroupTreeModel.h"
#include "mainwin/MainWindow.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"

namespace {

using guitest::Activate;
using guitest::OnNextModal;
using guitest::U8;

struct Session : guitest::Session {
  QPushButton* Button(const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }
  bool Exists(const char* utf8Rel) { return std::filesystem::exists(dir / utf8Rel); }
};

std::string Cp(const char* utf8) { return *codec::FromQt(QString::fromUtf8(utf8)); }

int RowOf(groups::GroupsWindow* g, const QString& name) {
  for (int r = 0; r < g->model()->rowCount(); ++r)
    if (g->model()->index(r, 1).data().toString() == name) return r;
  return -1;
}

void ClickRow(groups::GroupsWindow* g, int row) {
  QTableView* t = g->table();
  const QModelIndex idx = t->model()->index(row, 1);
  t->scrollTo(idx);
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(idx).center());
}

}  // namespace

class GroupsWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOverTheGridWithTheTree();
  void addRenameNicknameDeleteThroughTheWidgets();
  void popupEntryAndKeys();
};

void GroupsWindowTest::opensOverTheGridWithTheTree() {
  Session s;
  QPushButton* open = s.Button("GroupEdit");
  QVERIFY(open && open->isEnabled());
  QCOMPARE(open->text(), QStringLiteral("Group Edit(&G)"));
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    auto* g = qobject_cast<groups::GroupsWindow*>(modal);
    QVERIFY(g);
    seen = true;
    QCOMPARE(g->windowTitle(), QStringLiteral("Ostra Address Book Manager Group Window"));
    // Over the grid: the main window's top, the grid's left + 6, its width.
    const QWidget* grid = s.w->grid()->parentWidget();
    QCOMPARE(g->width(), grid->width());
    QCOMPARE(g->x(), s.w->frameGeometry().x() + grid->mapTo(s.w.get(), QPoint(0, 0)).x() + 6);
    QCOMPARE(g->frameGeometry().y(), s.w->frameGeometry().y());
    QAbstractItemModelTester tester(g->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Captions.
    const char* buttons[][2] = {{"EndBtn", "Ret(&X)"}, {"AddGroup", "Add(&G)"}, {"DelGroup", "Del(&K)"},
                                {"RenameBtn", "Rename(&R)"}, {"NicName", "Nic&Name"}};
    for (auto& [name, caption] : buttons)
      QCOMPARE(g->findChild<QPushButton*>(QString::fromLatin1(name))->text(), QString::fromLatin1(caption));
    QCOMPARE(g->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Group"));
    // The table: the book folder, then the tree in order; titles; marks.
    groups::GrpTblModel* m = g->model();
    QCOMPARE(m->rowCount(), s.L().Book->Nodes.Count() + 1);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("+-"));
    QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("AddrBook"));
    QStringList titles;
    for (int c = 0; c < 4; ++c) titles << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, QStringList({"", "GroupName", "NicName", "Edit"}));
    const int school = RowOf(g, U8("学校"));
    QVERIFY(school > 0);
    QVERIFY(!m->index(school, 2).data().toString().isEmpty());  // its Group.ini nickname
    store::TreeNode* schoolNode = s.L().Book->Nodes.Node(school - 1);
    QCOMPARE(m->index(school, 0).data().toString(),
             schoolNode->IsLastChild() ? QStringLiteral("| *-") : QStringLiteral("| |-"));
    QCOMPARE(g->table()->currentIndex().row(), 0);
    // Nothing cut off: the name column is as wide as its widest name.
    const QFontMetrics fm(g->table()->font());
    for (int r = 0; r < m->rowCount(); ++r)
      QVERIFY(g->table()->columnWidth(1) >= fm.horizontalAdvance(m->index(r, 1).data().toString()));
    QTest::mouseClick(g->findChild<QPushButton*>(QStringLiteral("EndBtn")), Qt::LeftButton);
  });
  QTest::mouseClick(open, Qt::LeftButton);
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
  QVERIFY(s.dialogs.boxes.empty());
}

void GroupsWindowTest::addRenameNicknameDeleteThroughTheWidgets() {
  Session s;
  const int nodes = s.L().Book->Nodes.Count();
  OnNextModal([&](QWidget* modal) {
    auto* g = qobject_cast<groups::GroupsWindow*>(modal);
    QVERIFY(g);
    auto button = [g](const char* name) { return g->findChild<QPushButton*>(QString::fromLatin1(name)); };

    // Add "Club" below 友人: the table, the main tree and the editor follow.
    ClickRow(g, RowOf(g, U8("友人")));
    s.dialogs.inputs = {std::string("Club")};
    QTest::mouseClick(button("AddGroup"), Qt::LeftButton);
    const int club = RowOf(g, QStringLiteral("Club"));
    QVERIFY(club > 0);
    QCOMPARE(g->table()->currentIndex().row(), club);
    QCOMPARE(g->model()->index(club, 3).data().toString(), QStringLiteral(" #"));
    QCOMPARE(s.L().Book->Nodes.Count(), nodes + 1);
    QCOMPARE(static_cast<int>(s.L().View->EntryGroup.size()), nodes + 1);
    store::TreeNode* friends = nullptr;
    for (auto* n : s.L().Book->Nodes.InOrder())
      if (n->Caption == Cp("友人")) friends = n;
    QVERIFY(friends);
    QCOMPARE(s.w->groupTreeModel()->rowCount(s.w->groupTreeModel()->IndexOf(friends)), 3);

    // Rename 趣味 to "Hobby": the folder is renamed on disk at once.
    ClickRow(g, RowOf(g, U8("趣味")));
    s.dialogs.inputs = {std::string("Hobby")};
    QTest::mouseClick(button("RenameBtn"), Qt::LeftButton);
    QVERIFY(RowOf(g, QStringLiteral("Hobby")) > 0);
    QVERIFY(s.Exists("友人/Hobby/Hobby.bab"));
    QVERIFY(!s.Exists("友人/趣味"));
    QCOMPARE(s.dialogs.prompts.back(), std::string("Modify Group Name|Enter Group New Name"));

    // Enter on a row edits its nickname (Japanese kept byte for byte).
    ClickRow(g, RowOf(g, QStringLiteral("Hobby")));
    s.dialogs.inputs = {Cp("趣味の会")};
    QTest::keyClick(g->table(), Qt::Key_Return);
    const int hobby = RowOf(g, QStringLiteral("Hobby"));
    QCOMPARE(g->model()->index(hobby, 2).data().toString(), U8("趣味の会"));
    QCOMPARE(g->model()->index(hobby, 3).data().toString(), QStringLiteral(" #"));

    // Delete the new (empty) group: two questions, then it is gone.
    ClickRow(g, RowOf(g, QStringLiteral("Club")));
    s.dialogs.answers = {dlg::Button::Yes, dlg::Button::Yes};
    QTest::mouseClick(button("DelGroup"), Qt::LeftButton);
    QCOMPARE(RowOf(g, QStringLiteral("Club")), -1);
    QCOMPARE(s.L().Book->Nodes.Count(), nodes);
    QCOMPARE(s.w->groupTreeModel()->rowCount(s.w->groupTreeModel()->IndexOf(friends)), 2);
    QCOMPARE(g->table()->currentIndex().row(), RowOf(g, U8("友人")));
    QVERIFY(Activate(g));
    QTest::keyClick(g->windowHandle(), Qt::Key_X, Qt::AltModifier);  // Ret(&X), clicked after its animation
    QTRY_VERIFY(!g->isVisible());
  });
  QTest::mouseClick(s.Button("GroupEdit"), Qt::LeftButton);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(static_cast<int>(s.L().View->EntryGroup.size()), nodes);
  QCOMPARE(s.dialogs.boxes.size(), std::size_t{2});
  // The nickname reaches Group.ini with the save.
  QTest::mouseClick(s.Button("Save"), Qt::LeftButton);
  const std::string ini = testsupport::ReadBytes(s.dir / "友人/Hobby/Group.ini");
  QVERIFY(ini.find("NickName=" + Cp("趣味の会")) != std::string::npos);
}

void GroupsWindowTest::popupEntryAndKeys() {
  Session s;
  QMenu* menu = s.w->popupMenu();
  QAction* entry = menu->findChild<QAction*>(QStringLiteral("GroupEditMenu"));
  QVERIFY(entry);
  QVERIFY(entry->isEnabled());
  QCOMPARE(entry->text(), QStringLiteral("Group Edit"));
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    seen = qobject_cast<groups::GroupsWindow*>(modal) != nullptr;
    // Alt+N asks for the nickname of the selected row: row 0 has none.
    s.dialogs.prompts.clear();
    QVERIFY(Activate(modal));
    QTest::keyClick(modal->windowHandle(), Qt::Key_N, Qt::AltModifier);
    QTest::qWait(200);
    QVERIFY(s.dialogs.prompts.empty());
    // On a group row it asks.
    auto* g = qobject_cast<groups::GroupsWindow*>(modal);
    ClickRow(g, RowOf(g, U8("学校")));
    QVERIFY(Activate(modal));
    QTest::keyClick(modal->windowHandle(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(s.dialogs.prompts.size(), std::size_t{1});
    QCOMPARE(s.dialogs.prompts[0], std::string("Modify NicName|Enter NicName"));
    QVERIFY(Activate(modal));
    QTest::keyClick(modal, Qt::Key_Escape);
    QVERIFY(!modal->isVisible());
  });
  entry->trigger();
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(GroupsWindowTest)
#include "GroupsWindowTest.moc"
