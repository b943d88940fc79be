// The exchange commands from the real main window: the popup entries
// "Export vCard File" and "Export CSV File", the options dialog's Export(&E)
// with "Text of CSV Format", and a vCard file imported through the import
// dialog's eighth template.
#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "import/ImportWindow.h"
#include "mainwin/MainWindow.h"
#include "support/GuiSession.h"

namespace {

using guitest::Child;
using guitest::OnNextModal;

struct Session : guitest::Session {
  QAction* Entry(const char* name) { return w->popupMenu()->findChild<QAction*>(QString::fromLatin1(name)); }
  std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
  }
  // The cards the grid shows: those of the checked groups.
  std::size_t Marked() {
    std::size_t n = 0;
    for (const store::TAddrRec* c : L().Book->Cards()) n += c->Mark == 1;
    return n;
  }
  bool Boxed(const std::string& text) {
    for (const auto& b : dialogs.boxes)
      if (b.text.find(text) != std::string::npos) return true;
    return false;
  }
};

}  // namespace

class ExchangeTest : public QObject {
  Q_OBJECT
 private slots:
  void vcardExportWritesTheMarkedCards();
  void csvExportAsksForTheEncoding();
  void optionsExportWritesCsv();
  void vcardImportThroughTheDialog();
};

void ExchangeTest::vcardExportWritesTheMarkedCards() {
  Session s;
  QAction* entry = s.Entry("VcardExport");
  QVERIFY(entry && entry->isEnabled());
  QCOMPARE(entry->text(), QStringLiteral("Export vCard File"));
  QMenu* menu = s.w->popupMenu();
  menu->popup(s.w->mapToGlobal(QPoint(60, 60)));
  guitest::SaveShot(menu, "popup.png");
  menu->close();
  const std::size_t marked = s.Marked();
  const std::string path = s.dir / "out.vcf";
  s.dialogs.inputs.push_back(path);
  entry->trigger();
  const std::string vcf = testsupport::ReadBytes(path);
  QCOMPARE(s.Count(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\n"), marked);
  QCOMPARE(s.Count(vcf, "END:VCARD\r\n"), marked);
  QVERIFY(vcf.find("FN:\xE4\xBD\x90\xE8\x97\xA4 \xE4\xB8\x80\xE9\x83\x8E\r\n") != std::string::npos);  // 佐藤 一郎
  QVERIFY(s.Boxed(std::to_string(marked) + " cards written to"));

  // Only what the grid shows: with every group unchecked, the cards of the
  // top-level folders; the second export replaces the file and keeps the
  // first as its backup.
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("DeSelect")), Qt::LeftButton);
  const std::size_t shown = static_cast<std::size_t>(s.L().Tbl.CardRows());
  QVERIFY(shown < marked);
  QCOMPARE(s.Marked(), shown);
  s.dialogs.inputs.push_back(path);
  entry->trigger();
  QCOMPARE(s.Count(testsupport::ReadBytes(path), "BEGIN:VCARD\r\n"), shown);
  QCOMPARE(testsupport::ReadBytes(s.dir / "out.bak"), vcf);
}

void ExchangeTest::csvExportAsksForTheEncoding() {
  Session s;
  QAction* entry = s.Entry("CSV_Export");
  QVERIFY(entry && entry->isEnabled());
  const std::size_t marked = s.Marked();
  struct Row {
    dlg::Button answer;
    const char* file;
    std::string start, name;
  };
  const Row rows[] = {
      {dlg::Button::Yes, "utf8.csv", "\xEF\xBB\xBF\"Group Name\",\"Mail Address\"", "\xE4\xBD\x90\xE8\x97\xA4 \xE4\xB8\x80\xE9\x83\x8E"},
      {dlg::Button::No, "sjis.csv", "\"Group Name\",\"Mail Address\"", "\x8D\xB2\x93\xA1 \x88\xEA\x98\x59"},
  };
  for (const Row& r : rows) {
    s.dialogs.answers.push_back(r.answer);
    s.dialogs.inputs.push_back(s.dir / r.file);
    entry->trigger();
    const std::string csv = testsupport::ReadBytes(s.dir / r.file);
    QVERIFY2(csv.rfind(r.start, 0) == 0, csv.substr(0, 60).c_str());
    QCOMPARE(s.Count(csv, "\r\n\""), marked);  // a line per card after the header (notes may span lines)
    QVERIFY(csv.find("\"" + r.name + "\"") != std::string::npos);
  }
  // Cancel at the question writes nothing.
  s.dialogs.answers.push_back(dlg::Button::Cancel);
  s.dialogs.inputs.push_back(s.dir / "none.csv");
  entry->trigger();
  QVERIFY(!testsupport::Exists(s.dir / "none.csv"));
}

void ExchangeTest::optionsExportWritesCsv() {
  Session s;
  s.dialogs.answers.push_back(dlg::Button::Yes);
  s.dialogs.inputs.push_back(s.dir / "options.csv");
  bool seen = false;
  OnNextModal([&](QWidget* options) {
    seen = true;
    QTest::mouseClick(Child<QRadioButton>(options, "RadioCSV"), Qt::LeftButton, {}, QPoint(8, 8));
    QPushButton* exportBtn = Child<QPushButton>(options, "ExportBtn");
    QVERIFY(exportBtn->isEnabled());
    QTest::mouseClick(exportBtn, Qt::LeftButton);
    QVERIFY(options->isVisible());  // back in the options dialog
  });
  QTest::mouseClick(s.w->findChild<QPushButton*>(QStringLiteral("Other")), Qt::LeftButton);
  QVERIFY(seen);
  QVERIFY(testsupport::ReadBytes(s.dir / "options.csv").rfind("\xEF\xBB\xBF\"Group Name\"", 0) == 0);
}

void ExchangeTest::vcardImportThroughTheDialog() {
  Session s;
  const std::string path = s.dir / "phone.vcf";
  testsupport::WriteBytes(path,
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xE6\xA3\xAE \xE8\x8A\xB1\xE5\xAD\x90\r\n"  // 森 花子
                          "EMAIL;TYPE=INTERNET:mori@example.jp\r\nCATEGORIES:Club\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:No Mail\r\nTEL:03-0000-0000\r\nEND:VCARD\r\n");
  s.dialogs.inputs.push_back(path);
  bool seen = false;
  OnNextModal([&](QWidget* modal) {
    seen = qobject_cast<imp::ImportWindow*>(modal) != nullptr;
    QRadioButton* t = Child<QRadioButton>(modal, "Template7");
    QVERIFY(t);
    QCOMPARE(t->text(), QStringLiteral("&8) vCard File"));
    QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(8, 8));  // asks for the file at once
    QCOMPARE(Child<QLabel>(modal, "InFileName")->text(), QStringLiteral("phone.vcf"));
    QVERIFY(Child<QPlainTextEdit>(modal, "Memo1")->toPlainText().contains(QStringLiteral("BEGIN:VCARD")));
    guitest::SaveShot(modal, "import-vcard.png");
    QTest::mouseClick(Child<QPushButton>(modal, "Exect"), Qt::LeftButton);
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  s.w->popupMenu()->findChild<QAction*>(QStringLiteral("ImportBtn"))->trigger();
  QVERIFY(seen);
  QVERIFY(!QApplication::activeModalWidget());
  QVERIFY(s.Boxed("No Mail : no e-mail address"));
  store::TreeNode* club = nullptr;
  for (store::TreeNode* n : s.L().Book->Nodes.InOrder())
    if (n->Caption == "Club" && n->Parent && n->Parent->Caption == "(New Imported)") club = n;
  QVERIFY(club);
  QCOMPARE(club->Group->Count(), std::size_t(1));
  QCOMPARE(club->Group->At(0)->PrefEmail, std::string("mori@example.jp"));
}

QTEST_MAIN(ExchangeTest)
#include "ExchangeTest.moc"
