// The real main window and card editor on a copy of the sample book:
// clicking, typing and saving through the widgets, and checking what the
// logic holds, what the views show and the bytes written.
#include <QtTest>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <memory>

#include "ui/Codec.h"
#include "editor/CardEditorWindow.h"
#include "editor/EntryGroupModel.h"
#include "editor/ViewLogic.h"
#include "mainwin/AddressGridModel.h"
#include "mainwin/GroupTreeModel.h"
#include "mainwin/MainWindow.h"
#include "store/Card.h"
#include "support/TestSupport.h"

using mainwin::MainWindow;

namespace {

// One run of the program on a fresh copy of the sample book, started with
// "/C" in that folder (the book and Q7Addr.ini live there).
struct Session {
  testsupport::TempDir dir;
  testsupport::ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> w;

  // extraCards: that many more cards in a group of their own, for a grid
  // that has to scroll.
  explicit Session(int extraCards = 0) {
    std::filesystem::copy(Q7_SAMPLE_BOOK_DIR, dir.path(), std::filesystem::copy_options::recursive);
    std::string many;
    for (int i = 0; i < extraCards; ++i)
      many += "BEGIN:VCARD\r\nEMAIL;PREF:user" + std::to_string(100 + i) + "@example.com\r\nFN:User " +
              std::to_string(i) + "\r\nEND:VCARD\r\n";
    if (extraCards) testsupport::WriteBytes(dir / "Many/More/Many.bab", many);
    mainwin::StartOptions o;
    o.Args = {"/c"};
    o.CurrentDir = dir.path();
    o.ProgramDir = dir.path();
    o.Config = plat::PlatformConfig{};
    w = std::make_unique<MainWindow>(std::move(o), &dialogs);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("main window not exposed");
  }
  ~Session() {
    // Leave without the close question; tests that close do it themselves.
    for (auto* n : L().Book->Nodes.InOrder())
      if (n->Group) n->Group->Modified = false;
    w.reset();
  }

  mainwin::TQ7AdrMan& L() { return w->logic(); }
  editor::TView& V() { return *w->logic().View; }
  editor::CardEditorWindow* E() { return w->cardEditor(); }
  template <typename T>
  T* Find(const char* name) {
    T* t = w->findChild<T*>(QString::fromLatin1(name));
    if (!t && E()) t = E()->findChild<T*>(QString::fromLatin1(name));
    if (!t) qFatal("no widget %s", name);
    return t;
  }

  store::TreeNode* Node(const char* utf8Caption) {
    for (store::TreeNode* n : L().Book->Nodes.InOrder())
      if (codec::ToQt(n->Caption) == QString::fromUtf8(utf8Caption)) return n;
    qFatal("no node %s", utf8Caption);
  }

  void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

  void ClickNode(const char* caption) {
    store::TreeNode* n = Node(caption);
    if (n->Parent) w->groupTree()->expand(w->groupTreeModel()->IndexOf(n->Parent));
    const QModelIndex idx = w->groupTreeModel()->IndexOf(n);
    w->groupTree()->scrollTo(idx);
    QTest::mouseClick(w->groupTree()->viewport(), Qt::LeftButton, {}, w->groupTree()->visualRect(idx).center());
  }

  // Grid rows as the logic counts them (1 = first card row).
  void ClickRow(int gridRow) {
    QTableView* t = w->grid();
    const QModelIndex idx = t->model()->index(gridRow - 1, 1);
    t->scrollTo(idx);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(idx).center());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  QString Shown(int gridRow, int col) {
    return w->grid()->model()->index(gridRow - 1, col).data().toString();
  }

  void ActivateEditor() {
    // A tool window counts as active while its parent is (shared
    // activation), so wait for it to be the active window itself.
    E()->activateWindow();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == E(); })) qFatal("card editor not active");
  }

  std::string Book(const std::string& rel) { return testsupport::ReadBytes(dir / rel); }
};

std::string ReplaceOnce(std::string s, const std::string& from, const std::string& to) {
  const auto at = s.find(from);
  if (at == std::string::npos) qFatal("text to replace not found");
  return s.replace(at, from.size(), to);
}

QString U8(const char* s) { return QString::fromUtf8(s); }

// Runs action on the next modal dialog once it is shown.
void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start();
}

// Names on disk are UTF-8.
const char* const kSchool = "友人/学校/";
const char* const kHobbyFile = "友人/趣味/Hobby.bab";

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startShowsBookCaptionsAndCommands();
  void cardEditorWindowAndFields();
  void editInTheCardEditorAndSave();
  void enterKeepsTheEditAndRefusalKeepsTheText();
  void memoLinesAndMembership();
  void treeKeysSortingAndOrderArrows();
  void popupNamesTheSelection();
  void draggedColumnsAreSpreadOverTheGrid();
  void gridRowChosenWhileAnEditIsPending();
  void closeQuestionAndSettings();
  void modelsPassTheModelTester();
};

void MainWindowTest::startShowsBookCaptionsAndCommands() {
  Session s;
  QCOMPARE(s.w->windowTitle(), QStringLiteral("Ostra(Q7) Address Book Manager"));
  const char* buttons[][2] = {{"EndBtn", "Quit(&Q)"},       {"Save", "Save(&S)"},     {"ReLoad", "ReLoad(&R)"},
                              {"AddAddress", "Add Address(&A)"}, {"DelAddress", "Del(&D)"}, {"FindBtn", "Find(&F)"},
                              {"GroupEdit", "Group Edit(&G)"}, {"Other", "Ext(&O)"},     {"SelectAll", "Select All(&M)"},
                              {"DeSelect", "DeSelect(&X)"}};
  for (auto& [name, caption] : buttons) QCOMPARE(s.Find<QPushButton>(name)->text(), QString::fromLatin1(caption));
  for (const char* name : {"EndBtn", "Save", "ReLoad", "AddAddress", "DelAddress", "FindBtn", "GroupEdit", "Other",
                           "SelectAll", "DeSelect"})
    QVERIFY(s.Find<QPushButton>(name)->isEnabled());
  QCOMPARE(s.Find<QLabel>("Label15")->text(), QStringLiteral("Active Group"));
  QCOMPARE(s.Find<QLabel>("Label1")->text(), QStringLiteral("Found"));
  QCOMPARE(s.Find<QLabel>("Label2")->text(), QStringLiteral("Total"));
  QCOMPARE(s.Find<QLabel>("WaitMsg")->text(), QStringLiteral("Wait a moment"));
  QVERIFY(!s.Find<QLabel>("WaitMsg")->isVisible());

  // Every group starts checked: the book view with all twelve cards, ten of
  // them in a checked group below the top level or in a top folder's group.
  QCOMPARE(s.Find<QLabel>("SubTot")->text(), codec::ToQt(s.L().SubTot));
  QCOMPARE(s.Find<QLabel>("Total")->text(), QStringLiteral("    12"));
  QCOMPARE(s.w->grid()->model()->rowCount(), s.L().Tbl.RowCount() - 1);
  QVERIFY(!s.Find<QWidget>("UpDownPnl")->isVisible());
  QCOMPARE(s.Find<QToolButton>("UpLabel")->text(), U8("(&U)↑"));
  QCOMPARE(s.Find<QToolButton>("DnLabel")->text(), U8("↓(&L)"));

  // Titles of the grid, the full-width space (0x81 0x40) in front.
  QHeaderView* h = s.w->grid()->horizontalHeader();
  const QStringList titles = {QStringLiteral("  \\"), U8("　Mail Address"), U8("　Name"), U8("　Note"), U8("　NicName")};
  for (int c = 0; c < 5; ++c) QCOMPARE(h->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
  // Column 0 is the narrow position column; the four others fill the grid.
  QVERIFY(h->sectionSize(0) >= 30 && h->sectionSize(0) < h->sectionSize(1));
  int sum = 0;
  for (int c = 0; c < 5; ++c) sum += h->sectionSize(c);
  QVERIFY2(sum <= s.w->grid()->viewport()->width() && sum >= s.w->grid()->viewport()->width() - 8,
           qPrintable(QStringLiteral("%1 in %2").arg(sum).arg(s.w->grid()->viewport()->width())));

  // Japanese names come through decoded.
  QStringList names;
  for (int r = 1; r < s.L().Tbl.RowCount(); ++r) names << s.Shown(r, 2);
  QVERIFY2(names.contains(U8("山田 太郎")), qPrintable(names.join(',')));
  QCOMPARE(s.w->groupTree()->model()->rowCount(), 3);  // three top-level folders

  // The popup's entries, in order.
  QMenu* menu = s.w->popupMenu();
  QStringList names2, texts;
  QList<bool> enabled;
  for (QAction* a : menu->actions()) {
    names2 << a->objectName();
    texts << a->text();
    enabled << a->isEnabled();
  }
  QCOMPARE(names2, QStringList({"SendMail", "SendGroupMail", "SaveMenu", "ReloadMenu", "FindMenu", "AddAddr", "DelAdd",
                                "SaveOrder", "AddGroup", "GroupEditMenu", "GoPrint", "TextExport", "ImportBtn",
                                "CSV_Export", "VcardExport"}));
  QCOMPARE(texts.mid(2), QStringList({"Save", "ReLoad", "Find", "Add Address", "Del Address", "Save Address Order",
                                      "Add Group", "Group Edit", "Print", "Export Text File", "Import",
                                      "Export CSV File", "Export vCard File"}));
  QCOMPARE(enabled, QList<bool>({true, true, true, true, true, true, true, false, true, true, true, true, true,
                                 true, true}));
  QVERIFY(s.dialogs.boxes.empty());
}

void MainWindowTest::cardEditorWindowAndFields() {
  Session s;
  editor::CardEditorWindow* e = s.E();
  QVERIFY(e && e->isVisible());
  QCOMPARE(e->windowTitle(), QStringLiteral("Ostra Address Book Manager ViewWindow"));
  const Qt::WindowFlags f = e->windowFlags();
  QVERIFY(f & Qt::WindowStaysOnTopHint);
  QCOMPARE(f & Qt::WindowType_Mask, Qt::Tool);
  QVERIFY(!(f & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  // The user cannot close it; only the main window does. Minimised by a
  // window manager that offers the box anyway, it comes back.
  e->close();
  QVERIFY(e->isVisible());
  e->showMinimized();
  QTRY_VERIFY(!e->isMinimized());
  QVERIFY(e->isVisible());

  const char* labels[][2] = {{"Label3", "Mail Addr"}, {"Label4", "Name"}, {"Label5", "Public-Key"},
                             {"Label6", "URL"},       {"Label7", "NicName"}, {"Label9", "Address"},
                             {"Label10", "Tel"},      {"Label11", "Fax"},  {"Label12", "PHS"},
                             {"Label8", "Note"},      {"Label13", "Entry Group"}};
  for (auto& [name, caption] : labels) QCOMPARE(s.Find<QLabel>(name)->text(), QString::fromLatin1(caption));
  QCOMPARE(s.Find<QPushButton>("ViewOK")->text(), QStringLiteral("(&K) OK"));
  auto* tabs = s.Find<QTabWidget>("PagePanel");
  QCOMPARE(tabs->count(), 2);
  QCOMPARE(tabs->tabText(0), QStringLiteral("(&S)Std"));
  QCOMPARE(tabs->tabText(1), QStringLiteral("(&V)Ext"));

  // Tab order of the fields, and the input method off where plain ASCII is
  // typed.
  const char* order[] = {"Addr", "Sign", "Key", "URL", "Nic", "Tel", "Fax", "PHS"};
  for (int i = 0; i < 8; ++i) {
    QLineEdit* ed = e->edit(i);
    QCOMPARE(ed->objectName(), QString::fromLatin1(order[i]));
    QWidget* next = i < 7 ? static_cast<QWidget*>(e->edit(i + 1)) : e->memo();
    QCOMPARE(ed->nextInFocusChain(), next);
  }
  for (int i : {0, 2, 3, 5, 6, 7}) {
    QVERIFY(!e->edit(i)->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(e->edit(i)->inputMethodHints() & Qt::ImhLatinOnly);
  }
  for (int i : {1, 4}) QVERIFY(e->edit(i)->testAttribute(Qt::WA_InputMethodEnabled));
  // The group list draws its tree with characters: every ASCII character
  // takes the same width (Qt does not flag CJK mono faces as fixed pitch).
  const QFontMetrics fm(e->entryGroup()->font());
  QCOMPARE(fm.horizontalAdvance(QChar('i')), fm.horizontalAdvance(QChar('M')));
  QCOMPARE(fm.horizontalAdvance(QChar('|')), fm.horizontalAdvance(QChar('-')));

  // The first row's card is shown; choose Yamada, who has every field.
  int yamadaRow = -1;
  for (int r = 1; r < s.L().Tbl.RowCount(); ++r)
    if (s.Shown(r, 1) == QStringLiteral("taro.yamada@example.co.jp")) yamadaRow = r;
  QVERIFY(yamadaRow > 0);
  s.ClickRow(yamadaRow);
  QCOMPARE(e->edit(0)->text(), QStringLiteral("taro.yamada@example.co.jp"));
  QCOMPARE(e->edit(1)->text(), U8("山田 太郎"));
  QCOMPARE(e->edit(4)->text(), U8("たろう"));
  QCOMPARE(e->edit(5)->text(), QStringLiteral("03-1234-5678"));
  QCOMPARE(e->edit(6)->text(), QStringLiteral("03-1234-5679"));
  QCOMPARE(e->edit(7)->text(), QStringLiteral("070-1111-2222"));
  // The seven address parts in the card's display order.
  QCOMPARE(e->addressLabel()->text(), U8("100-0005;日本;東京都;千代田区;丸の内1-1-1;;"));
  QVERIFY(e->addressLabel()->wordWrap());
  QCOMPARE(e->memo()->toPlainText(), U8("大学の同期。\n毎年 = 年賀状を送る"));
  // Membership: Yamada is in 学校 and 取引先.
  auto* m = e->entryGroupModel();
  QStringList members;
  for (int r = 0; r < m->rowCount(); ++r)
    if (s.V().EntryGroup[r].ImageIndex == 1) members << m->index(r, 1).data().toString();
  QCOMPARE(members, QStringList({U8("取引先"), U8("学校")}));
  QVERIFY(s.dialogs.boxes.empty());
}

void MainWindowTest::editInTheCardEditorAndSave() {
  Session s;
  const std::string schoolFile = std::string(kSchool) + "School.bab";
  const std::string original = s.Book(schoolFile);

  // Show 学校 alone.
  s.Click(s.Find<QPushButton>("DeSelect"));
  // Cards only in a top-level folder's own group (家族) stay shown.
  QCOMPARE(s.Find<QLabel>("SubTot")->text(), QStringLiteral("     2"));
  QVERIFY(!s.Find<QWidget>("UpDownPnl")->isVisible());
  s.ClickNode("学校");
  QCOMPARE(s.Node("学校")->ImageIndex, 1);
  QVERIFY(s.L().Book->SingleGroup == s.Node("学校")->Group);
  QCOMPARE(s.Find<QLabel>("SubTot")->text(), QStringLiteral("     3"));
  QVERIFY(s.Find<QWidget>("UpDownPnl")->isVisible());
  QVERIFY(s.w->findChild<QAction*>("SaveOrder")->isEnabled());

  // Row 2 is Suzuki; the editor follows.
  s.ClickRow(2);
  QCOMPARE(s.L().Tbl.Row, 2);
  editor::CardEditorWindow* e = s.E();
  QCOMPARE(e->edit(0)->text(), QStringLiteral("hanako.suzuki@example.jp"));
  store::TAddrRec* card = s.V().CurCard;
  QVERIFY(card);

  // A new name through the input method, a new address typed.
  s.ActivateEditor();
  QLineEdit* sign = e->edit(1);
  sign->setFocus();
  sign->selectAll();
  QInputMethodEvent commit;
  commit.setCommitString(U8("鈴木 華子"));
  QApplication::sendEvent(sign, &commit);
  QCOMPARE(sign->text(), U8("鈴木 華子"));
  QLineEdit* addr = e->edit(0);
  addr->setFocus();
  addr->selectAll();
  QTest::keyClicks(addr, QStringLiteral("hana.suzuki@example.jp"));
  QCOMPARE(card->PrefEmail, std::string("hanako.suzuki@example.jp"));  // nothing taken over yet

  // OK: the focus goes to the grid and the page is taken over.
  QTest::mouseClick(e->okButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  QCOMPARE(card->PrefEmail, std::string("hana.suzuki@example.jp"));
  QCOMPARE(store::GetValue(card->FN, ""), std::string("\x97\xe9\x96\xd8\x20\x89\xd8\x8e\x71"));  // 鈴木 華子
  QVERIFY(s.w->grid()->hasFocus() || QApplication::focusWidget() == s.w->grid());
  QVERIFY(s.Node("学校")->Group->Modified);
  // The same card stays current, showing the new texts.
  QCOMPARE(s.V().CurCard, card);
  QCOMPARE(s.Shown(s.L().Tbl.Row, 1), QStringLiteral("hana.suzuki@example.jp"));
  QCOMPARE(s.Shown(s.L().Tbl.Row, 2), U8("鈴木 華子"));

  s.Click(s.Find<QPushButton>("Save"));
  QVERIFY(!s.Node("学校")->Group->Modified);
  std::string expected = ReplaceOnce(original, "EMAIL;PREF:hanako.suzuki@example.jp\r\n",
                                     "EMAIL;PREF:hana.suzuki@example.jp\r\n");
  expected = ReplaceOnce(expected, "FN:\x97\xe9\x96\xd8\x20\x89\xd4\x8e\x71\r\n",  // 鈴木 花子
                         "FN:\x97\xe9\x96\xd8\x20\x89\xd8\x8e\x71\r\n");        // 鈴木 華子
  QCOMPARE(QByteArray::fromStdString(s.Book(schoolFile)), QByteArray::fromStdString(expected));
  QCOMPARE(QByteArray::fromStdString(s.Book(std::string(kSchool) + "School.bak")), QByteArray::fromStdString(original));
  QVERIFY(s.dialogs.boxes.empty());
}

void MainWindowTest::enterKeepsTheEditAndRefusalKeepsTheText() {
  Session s;
  editor::CardEditorWindow* e = s.E();
  s.ClickRow(1);
  store::TAddrRec* card = s.V().CurCard;
  const std::string name = store::GetValue(card->FN, "");
  s.ActivateEditor();
  QLineEdit* sign = e->edit(1);
  sign->setFocus();
  sign->end(false);
  QTest::keyClicks(sign, QStringLiteral("X"));
  // Enter parks the focus on the page: still inside it, nothing taken over.
  QTest::keyClick(sign, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), e->standardPage());
  QCOMPARE(sign->text(), codec::ToQt(name) + "X");
  QCOMPARE(store::GetValue(card->FN, ""), name);

  // A character CP932 cannot hold is refused with a message; the field
  // keeps what it had.
  QString refusal;
  OnNextModal([&](QWidget* w) {
    refusal = qobject_cast<QMessageBox*>(w)->text();
    qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
  });
  sign->setFocus();
  QTest::sendKeyEvent(QTest::Click, sign, Qt::Key_Eacute, QString::fromUtf8("\xc3\xa9"), Qt::NoModifier);  // é
  QTRY_VERIFY(!refusal.isEmpty());
  QVERIFY2(refusal.contains(QStringLiteral("U+00E9")), qPrintable(refusal));
  QCOMPARE(sign->text(), codec::ToQt(name) + "X");

  // Leaving the page for the group list takes it over.
  e->entryGroup()->setFocus();
  QCOMPARE(store::GetValue(card->FN, ""), name + "X");
  QCOMPARE(s.Shown(s.L().Tbl.Row, 2), codec::ToQt(name) + "X");
}

void MainWindowTest::memoLinesAndMembership() {
  Session s;
  editor::CardEditorWindow* e = s.E();
  s.ClickRow(1);
  store::TAddrRec* card = s.V().CurCard;
  s.ActivateEditor();
  QPlainTextEdit* rem = e->memo();
  rem->setFocus();
  rem->selectAll();
  QTest::keyClicks(rem, QStringLiteral("one"));
  QTest::keyClick(rem, Qt::Key_Return);  // a new line in the memo, not a take-over
  QTest::keyClicks(rem, QStringLiteral("two"));
  QCOMPARE(rem->toPlainText(), QStringLiteral("one\ntwo"));
  e->edit(0)->setFocus();  // still on the page: nothing taken over
  QVERIFY(store::GetValue(card->Note, "") != "one\r\ntwo");
  e->entryGroup()->setFocus();
  QCOMPARE(store::GetValue(card->Note, ""), std::string("one\r\ntwo"));
  QCOMPARE(s.Shown(s.L().Tbl.Row, 3), QStringLiteral("one two"));

  // A click on a group the card is not in adds it there; typed letters do
  // nothing; Enter takes it out again.
  store::TreeNode* hobby = s.Node("趣味");
  QVERIFY(!hobby->Group->Contains(card));
  QTreeView* list = e->entryGroup();
  const QModelIndex row = e->entryGroupModel()->index(hobby->AbsIndex, 0);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
  QVERIFY(hobby->Group->Contains(card));
  QVERIFY(hobby->Group->Modified);
  QCOMPARE(s.V().EntryGroup[hobby->AbsIndex].ImageIndex, 1);
  QTest::keyClicks(list, QStringLiteral("ab "));
  QVERIFY(hobby->Group->Contains(card));
  QCOMPARE(list->currentIndex().row(), hobby->AbsIndex);
  QTest::keyClick(list, Qt::Key_Return);
  QVERIFY(!hobby->Group->Contains(card));
  QCOMPARE(s.V().EntryGroup[hobby->AbsIndex].ImageIndex, 0);
  // A top-level folder row does nothing.
  store::TreeNode* family = s.Node("家族");
  const QModelIndex top = e->entryGroupModel()->index(family->AbsIndex, 0);
  const bool had = family->Group->Contains(card);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(top).center());
  QCOMPARE(family->Group->Contains(card), had);
}

void MainWindowTest::treeKeysSortingAndOrderArrows() {
  Session s;
  s.Click(s.Find<QPushButton>("DeSelect"));
  QTreeView* tree = s.w->groupTree();
  store::TreeNode* school = s.Node("学校");
  tree->expand(s.w->groupTreeModel()->IndexOf(school->Parent));
  tree->setFocus();
  tree->setCurrentIndex(s.w->groupTreeModel()->IndexOf(school));
  QTest::keyClicks(tree, QStringLiteral("x "));  // typed characters are swallowed
  QCOMPARE(school->ImageIndex, 0);
  QCOMPARE(s.L().Selected, school);
  QTest::keyClick(tree, Qt::Key_Return);  // Enter checks the group
  QCOMPARE(school->ImageIndex, 1);
  QCOMPARE(s.Find<QLabel>("SubTot")->text(), QStringLiteral("     3"));

  // Alt+L moves the current card down inside the group, Alt+U back up.
  s.w->activateWindow();
  QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == s.w.get(); }));
  s.ClickRow(1);
  store::TGrpList* g = school->Group;
  store::TAddrRec* first = g->At(0);
  QTest::keyClick(s.w.get(), Qt::Key_L, Qt::AltModifier);
  // An accelerator presses the button visibly: the click comes a moment later.
  QTRY_COMPARE(g->At(1), first);
  QVERIFY(g->Modified);
  QCOMPARE(s.L().Tbl.Row, 2);  // the moved card stays current
  QCOMPARE(s.Shown(2, 0), QStringLiteral("2"));
  QTest::keyClick(s.w.get(), Qt::Key_U, Qt::AltModifier);
  QTRY_COMPARE(g->At(0), first);

  // Clicking the Name title sorts up, again down; column 0 goes back to
  // the group's order.
  QHeaderView* h = s.w->grid()->horizontalHeader();
  auto clickTitle = [&](int col) {
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2));
  };
  clickTitle(2);
  QCOMPARE(s.L().SortKey, 4);
  QCOMPARE(h->model()->headerData(2, Qt::Horizontal).toString(), U8("↓Name"));
  clickTitle(2);
  QCOMPARE(s.L().SortKey, 5);
  QCOMPARE(h->model()->headerData(2, Qt::Horizontal).toString(), U8("↑Name"));
  QStringList desc;
  for (int r = 1; r <= 3; ++r) desc << s.Shown(r, 2);
  QStringList asc = desc;
  std::reverse(asc.begin(), asc.end());
  clickTitle(2);
  QStringList again;
  for (int r = 1; r <= 3; ++r) again << s.Shown(r, 2);
  QCOMPARE(again, asc);
  clickTitle(0);
  QCOMPARE(s.L().SortKey, 0);
  QCOMPARE(h->model()->headerData(2, Qt::Horizontal).toString(), U8("　Name"));

  // Select All leaves the single-group view: the arrows go away.
  s.Click(s.Find<QPushButton>("SelectAll"));
  QVERIFY(!s.Find<QWidget>("UpDownPnl")->isVisible());
  QVERIFY(!s.w->findChild<QAction*>("SaveOrder")->isEnabled());
}

void MainWindowTest::popupNamesTheSelection() {
  Session s;
  QTreeView* tree = s.w->groupTree();
  store::TreeNode* family = s.Node("家族");
  // A right click selects the node under the pointer.
  const QModelIndex idx = s.w->groupTreeModel()->IndexOf(family);
  QTest::mousePress(tree->viewport(), Qt::RightButton, {}, tree->visualRect(idx).center());
  QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, tree->visualRect(idx).center());
  QCOMPARE(s.L().Selected, family);
  QMenu* menu = s.w->popupMenu();
  menu->popup(s.w->mapToGlobal(QPoint(50, 50)));
  QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Send to \"%1\"").arg(s.E()->edit(0)->text()));
  QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("- - - - -"));  // a top-level folder
  menu->hide();

  store::TreeNode* school = s.Node("学校");
  tree->expand(s.w->groupTreeModel()->IndexOf(school->Parent));
  const QModelIndex sidx = s.w->groupTreeModel()->IndexOf(school);
  QTest::mousePress(tree->viewport(), Qt::RightButton, {}, tree->visualRect(sidx).center());
  QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, tree->visualRect(sidx).center());
  menu->popup(s.w->mapToGlobal(QPoint(50, 50)));
  QCOMPARE(menu->actions().at(1)->text(), U8("Send to \"学校\""));
  menu->hide();
  QCOMPARE(school->ImageIndex, 1);  // the right click did not toggle it

  // A right click on a grid row chooses that row, and the popup that opens
  // names its card.
  QTableView* grid = s.w->grid();
  const QModelIndex cell = grid->model()->index(2, 1);
  const QString third = cell.data().toString();
  QString caption;
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, [&, timer] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return;
    timer->stop();
    caption = popup->actions().at(0)->text();
    popup->close();
  });
  timer->start(5);
  // As the window system does it: the press, then at once the menu event.
  const QPoint at = grid->visualRect(cell).center();
  QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at);
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
  QApplication::sendEvent(grid->viewport(), &menuEvent);
  QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, at);
  QVERIFY(!caption.isEmpty());
  delete timer;
  QCOMPARE(caption, QStringLiteral("Send to \"%1\"").arg(third));
  QCOMPARE(s.E()->edit(0)->text(), third);
}

void MainWindowTest::draggedColumnsAreSpreadOverTheGrid() {
  Session s;
  QTableView* t = s.w->grid();
  QHeaderView* h = t->horizontalHeader();
  const int w1 = h->sectionSize(1), w2 = h->sectionSize(2);
  // Drag the border between Mail Address and Name 40 pixels to the right.
  const int border = h->sectionViewportPosition(2) - 1;
  const int y = h->height() / 2;
  QTest::mousePress(h->viewport(), Qt::LeftButton, {}, QPoint(border, y));
  QTest::mouseMove(h->viewport(), QPoint(border + 20, y));
  QTest::mouseMove(h->viewport(), QPoint(border + 40, y));
  QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, QPoint(border + 40, y));
  QCoreApplication::processEvents();
  QVERIFY2(h->sectionSize(1) > w1, qPrintable(QStringLiteral("%1 -> %2").arg(w1).arg(h->sectionSize(1))));
  QVERIFY(h->sectionSize(2) < w2);  // the others gave way to fill the grid
  int sum = 0;
  for (int c = 0; c < 5; ++c) sum += h->sectionSize(c);
  QVERIFY(sum <= t->viewport()->width() && sum >= t->viewport()->width() - 8);
  for (int c = 1; c < 5; ++c) QCOMPARE(s.L().Tbl.ColWidths[c], h->sectionSize(c));
}

void MainWindowTest::gridRowChosenWhileAnEditIsPending() {
  Session s(60);
  editor::CardEditorWindow* e = s.E();
  // Enter in the grid goes to the card editor's mail address.
  s.ClickRow(1);
  s.w->grid()->setFocus();
  QTest::keyClick(s.w->grid(), Qt::Key_Return);
  QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == e; }));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e->edit(0)));

  // A new address for the first card (it will sort last), not taken over
  // yet; then a click on row 3 of the grid. The take-over re-sorts the
  // rows, and the card that was clicked is the one chosen.
  store::TAddrRec* edited = s.V().CurCard;
  const QString clicked = s.Shown(3, 1);
  e->edit(0)->selectAll();
  QTest::keyClicks(e->edit(0), QStringLiteral("zzz@example.jp"));
  s.ClickRow(3);
  QCOMPARE(edited->PrefEmail, std::string("zzz@example.jp"));
  QCOMPARE(s.Shown(s.L().Tbl.Row, 1), clicked);
  QCOMPARE(codec::ToQt(s.V().CurCard->PrefEmail), clicked);
  QCOMPARE(e->edit(0)->text(), clicked);

  // A take-over that keeps the current card on its row leaves the grid
  // scrolled where the user put it.
  s.ClickRow(1);
  QScrollBar* bar = s.w->grid()->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  s.ActivateEditor();
  e->edit(4)->setFocus();
  e->edit(4)->selectAll();
  QTest::keyClicks(e->edit(4), QStringLiteral("nick"));
  bar->setValue(bar->maximum());
  QVERIFY(e->TakeOverPending());
  QCOMPARE(s.Shown(1, 4), QStringLiteral("nick"));
  QCOMPARE(bar->value(), bar->maximum());
}

void MainWindowTest::closeQuestionAndSettings() {
  Session s;
  s.ClickRow(1);
  // Change a membership so that a group is modified.
  store::TreeNode* hobby = s.Node("趣味");
  QTreeView* list = s.E()->entryGroup();
  const bool wasMember = hobby->Group->Contains(s.V().CurCard);
  const QModelIndex row = s.E()->entryGroupModel()->index(hobby->AbsIndex, 0);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
  QVERIFY(hobby->Group->Modified);
  const std::string before = s.Book(kHobbyFile);

  s.dialogs.answers = {dlg::Button::Cancel};
  QVERIFY(!s.w->close());
  QVERIFY(s.w->isVisible() && s.E()->isVisible());
  QCOMPARE(s.dialogs.boxes.size(), std::size_t{1});
  QCOMPARE(s.dialogs.boxes[0].text, std::string("Data Modified\rAre you save?"));
  QCOMPARE(s.dialogs.boxes[0].type, dlg::BoxType::Warning);
  QVERIFY((s.dialogs.boxes[0].buttons == dlg::Buttons{dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore}));

  // Ignore: closes without saving, and the settings are written.
  s.w->move(30, 40);
  s.w->resize(700, 500);
  s.dialogs.answers = {dlg::Button::Ignore};
  QVERIFY(s.w->close());
  QVERIFY(!s.E()->isVisible());
  QCOMPARE(s.Book(kHobbyFile), before);
  QCOMPARE(hobby->Group->Contains(s.V().CurCard), !wasMember);  // in memory only
  const std::string ini = s.Book("Q7Addr.ini");
  for (const char* line : {"[Q7Addr]\r\n", "Width=700\r\n", "Height=500\r\n", "[Option]\r\n", "SortKey=0\r\n",
                           "[Group]\r\n",
                           "\x97\x46\x90\x6c\x8a\x77\x8d\x5a=1\r\n"})  // 友人学校=1
    QVERIFY2(ini.find(line) != std::string::npos, line);
  QVERIFY(ini.find("AddrWidth=") != std::string::npos && ini.find("ViewGroup=") != std::string::npos);
}

void MainWindowTest::modelsPassTheModelTester() {
  Session s;
  using Mode = QAbstractItemModelTester::FailureReportingMode;
  QAbstractItemModelTester tree(s.w->groupTreeModel(), Mode::QtTest);
  QAbstractItemModelTester grid(s.w->gridModel(), Mode::QtTest);
  QAbstractItemModelTester groups(s.E()->entryGroupModel(), Mode::QtTest);
  // Changes of every kind: check marks, rebuilt grid, rebuilt lists.
  s.Click(s.Find<QPushButton>("DeSelect"));
  s.ClickNode("学校");
  s.ClickRow(2);
  s.Click(s.Find<QPushButton>("SelectAll"));
  s.Click(s.Find<QPushButton>("ReLoad"));
  QVERIFY(s.w->grid()->isVisible());
  QCOMPARE(s.w->groupTreeModel()->rowCount(), 3);
  QCOMPARE(s.E()->entryGroupModel()->rowCount(), s.L().Book->Nodes.Count());
  QCOMPARE(s.E()->entryGroupModel()->columnCount(), 2);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
