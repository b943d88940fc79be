// The live notice of outside changes under the real main window: another
// program writing a group's address file raises it at once; the program's
// own save does not. Merging brings the change into memory; ignoring
// leaves memory as it was.
#include <QtTest>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <memory>

#include "mainwin/MainWindow.h"
#include "mainwin/OutsideChangeWindow.h"
#include "store/Card.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"

using mainwin::MainWindow;

namespace {

struct Session : guitest::Session {
  store::TGrpList& Group(const char* utf8Caption) {
    for (store::TreeNode* n : w->logic().Book->Nodes.InOrder())
      if (codec::ToQt(n->Caption) == QString::fromUtf8(utf8Caption)) return *n->Group;
    qFatal("no group %s", utf8Caption);
  }
  bool HasCard(const std::string& addr) {
    for (const store::TAddrRec* c : w->logic().Book->Cards())
      if (c->PrefEmail == addr) return true;
    return false;
  }
  QMessageBox* Notice() { return w->outsideChangeWatcher()->notice(); }
  // What the mail client does: another card in the group's file.
  void ClientWrites(const std::string& rel, const std::string& addr) {
    const std::string path = dir / rel;
    std::string bytes = std::filesystem::exists(path) ? testsupport::ReadBytes(path) : std::string();
    bytes += "BEGIN:VCARD\r\nEMAIL;PREF:" + addr + "\r\nFN:Outside\r\nEND:VCARD\r\n";
    testsupport::WriteBytes(path, bytes);
  }
};

const char* const kOffice = "\xE4\xBB\x95\xE4\xBA\x8B/\xE7\xA4\xBE\xE5\x86\x85/Office.bab";  // 仕事/社内
const char* const kGroup = "\xE7\xA4\xBE\xE5\x86\x85";                                                  // 社内

}  // namespace

class OutsideChangeTest : public QObject {
  Q_OBJECT
 private slots:
  void ownSaveRaisesNoNoticeAndAWriteDoes();
  void ignoreLeavesMemoryAlone();
};

void OutsideChangeTest::ownSaveRaisesNoNoticeAndAWriteDoes() {
  Session s;
  QVERIFY(s.w->outsideChangeWatcher());
  // The program's own save rewrites the group's file: no notice.
  s.Group(kGroup).Modified = true;
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("Save")), Qt::LeftButton);
  QVERIFY(!s.Group(kGroup).Modified);
  QVERIFY(s.dialogs.boxes.empty());
  QTest::qWait(1500);
  QVERIFY(!s.Notice());

  // Another program writes the file: the notice names the group at once.
  s.ClientWrites(kOffice, "outside@example.com");
  QTRY_VERIFY_WITH_TIMEOUT(s.Notice() && s.Notice()->isVisible(), 5000);
  QMessageBox* box = s.Notice();
  QCOMPARE(box->windowModality(), Qt::NonModal);
  QVERIFY(box->text().contains(QString::fromUtf8(kGroup)));
  QVERIFY(!s.HasCard("outside@example.com"));  // nothing merged unasked

  QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("MergeNow")), Qt::LeftButton);
  QTRY_VERIFY(!s.Notice());
  QVERIFY(s.HasCard("outside@example.com"));
  QVERIFY(s.dialogs.boxes.empty());
  // Merged: the same files raise nothing again.
  QTest::qWait(1000);
  QVERIFY(!s.Notice());
}

void OutsideChangeTest::ignoreLeavesMemoryAlone() {
  Session s;
  // A new address file added to the group.
  const std::string added = std::string(kOffice).replace(std::string(kOffice).rfind("Office"), 6, "Extra");
  s.ClientWrites(added, "added@example.com");
  QTRY_VERIFY_WITH_TIMEOUT(s.Notice() && s.Notice()->isVisible(), 5000);
  QTest::mouseClick(s.Notice()->findChild<QPushButton*>(QStringLiteral("IgnoreChange")), Qt::LeftButton);
  QTRY_VERIFY(!s.Notice());
  QVERIFY(!s.HasCard("added@example.com"));
  QVERIFY(!s.Group(kGroup).Modified);
  QTest::qWait(1000);
  QVERIFY(!s.Notice());  // ignored until the save asks
  // A later write is news again.
  s.ClientWrites(added, "later@example.com");
  QTRY_VERIFY_WITH_TIMEOUT(s.Notice() && s.Notice()->isVisible(), 5000);
  QVERIFY(!s.HasCard("later@example.com"));
}

QTEST_MAIN(OutsideChangeTest)
#include "OutsideChangeTest.moc"
