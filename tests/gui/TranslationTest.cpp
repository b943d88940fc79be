// The program's texts in Japanese (Q7ADDR_LANG=ja) and English: the main
// window and the search dialog opened from its real button, a message box,
// texts composed with user data, and a catalogue that holds every caption
// and message the windows and the logic can show.
#include <QtTest>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "editor/CardEditorWindow.h"
#include "editor/ViewLogic.h"
#include "groups/GroupsLogic.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainWindow.h"
#include "options/OptionsLogic.h"
#include "print/PrintData.h"
#include "print/PrintSetupLogic.h"
#include "search/SearchLogic.h"
#include "support/GuiSession.h"
#include "ui/Codec.h"
#include "ui/QtDialogs.h"
#include "ui/Translate.h"

namespace {

using guitest::U8;

// Sets Q7ADDR_LANG and installs the catalogues it asks for.
ui::Language UseLanguage(const char* lang) {
  qputenv("Q7ADDR_LANG", lang);
  return ui::InstallTranslations();
}

template <typename T>
T* Named(QObject* parent, const char* name) {
  T* t = parent->findChild<T*>(QString::fromLatin1(name));
  if (!t) qFatal("no %s", name);
  return t;
}

QString ButtonText(QWidget* w, const char* name) { return Named<QPushButton>(w, name)->text(); }
QString LabelText(QWidget* w, const char* name) { return Named<QLabel>(w, name)->text(); }
QString ActionText(QWidget* w, const char* name) { return Named<QAction>(w, name)->text(); }
QString Header(QTableView* v, int c) { return v->model()->headerData(c, Qt::Horizontal).toString(); }

// Opens the search dialog with the main window's Find button and gives its
// texts to check; the dialog is cancelled afterwards.
void OnSearchDialog(guitest::Session& s, const char* shot, const std::function<void(QWidget*)>& check) {
  bool ran = false;
  guitest::OnNextModal([&](QWidget* dlg) {
    ran = true;
    check(dlg);
    guitest::SaveShot(dlg, shot);
  });
  QTest::mouseClick(Named<QPushButton>(s.w.get(), "FindBtn"), Qt::LeftButton);
  QVERIFY(ran);
}

// The project's source folder (the sample book lies in examples/AddrBook).
std::filesystem::path SourceDir() { return std::filesystem::path(Q7_SAMPLE_BOOK_DIR).parent_path().parent_path(); }

// Sources of the catalogue by context, as the .ts in the repository holds them.
std::map<QString, QStringList> CatalogueSources() {
  std::map<QString, QStringList> out;
  QFile f(QString::fromStdString((SourceDir() / "translations" / "q7addr_ja.ts").string()));
  if (!f.open(QIODevice::ReadOnly)) qFatal("no catalogue");
  QXmlStreamReader xml(&f);
  QString context;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("name")) context = xml.readElementText();
    if (xml.name() == QLatin1String("source")) out[context] << xml.readElementText();
  }
  return out;
}

// The string literals inside every call that shows a message or an input
// box in the logic (src/ outside the Qt layer and the command line), with
// "\r\n" and "\r" read as the line break the boxes show.
std::vector<std::pair<std::string, QString>> MessageLiterals() {
  static const QRegularExpression call(
      QStringLiteral("\\b(MessageBox|InputBox|FileErrorBox|ErrorBox|Message)\\s*\\("));
  std::vector<std::pair<std::string, QString>> out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(SourceDir() / "src")) {
    const std::string p = e.path().string();
    if (e.path().extension() != ".cpp" || p.find("/src/ui/") != std::string::npos ||
        p.find("/src/cli/") != std::string::npos || p.find("Window") != std::string::npos)
      continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const QString text = QString::fromLatin1(ss.str());
    for (auto m = call.globalMatch(text); m.hasNext();) {
      const auto x = m.next();
      int depth = 1;
      qsizetype i = x.capturedEnd();
      QString literal;
      while (i < text.size() && depth > 0) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
          QString lit;
          for (++i; i < text.size() && text[i] != QLatin1Char('"'); ++i) {
            if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
              const QChar n = text[++i];
              lit += n == QLatin1Char('r') || n == QLatin1Char('n') ? QStringLiteral("\n") : QString(n);
            } else {
              lit += text[i];
            }
          }
          lit.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
          const QString trimmed = lit.trimmed();
          if (!trimmed.isEmpty()) out.emplace_back(p, trimmed);
        } else if (c == QLatin1Char('(')) {
          ++depth;
        } else if (c == QLatin1Char(')')) {
          --depth;
        }
        ++i;
      }
    }
  }
  return out;
}

}  // namespace

class TranslationTest : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { UseLanguage("en"); }
  void mainWindowAndSearchDialogInJapanese();
  void englishStaysAsItWas();
  void messageBoxAndStandardButtonsInJapanese();
  void dialogsOverTheGridFitTheirJapaneseCaptions();
  void userDataIsNeverTranslated_data();
  void userDataIsNeverTranslated();
  void catalogueHoldsEveryCaption();
  void catalogueHoldsEveryMessage();
};

void TranslationTest::mainWindowAndSearchDialogInJapanese() {
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  guitest::Session s;
  QWidget* w = s.w.get();
  QCOMPARE(ButtonText(w, "EndBtn"), U8("終了(&Q)"));
  QCOMPARE(ButtonText(w, "AddAddress"), U8("アドレス追加(&A)"));
  QCOMPARE(ButtonText(w, "Other"), U8("他(&O)"));
  QCOMPARE(LabelText(w, "Label15"), U8("表示グループ"));
  QCOMPARE(LabelText(w, "Label2"), U8("総数"));
  // The popup's entries, half-width katakana as designed.
  QCOMPARE(ActionText(w, "AddAddr"), U8("ｱﾄﾞﾚｽ追加"));
  QCOMPARE(ActionText(w, "TextExport"), U8("ﾃｷｽﾄﾌｧｲﾙ出力"));
  QCOMPARE(ActionText(w, "SaveOrder"), U8("並び自動変更"));
  // Designed captions that the program never replaced stay.
  QCOMPARE(Named<QAbstractButton>(w, "UpLabel")->text(), U8("(&U)↑"));
  // Column titles keep their leading full-width space or sort arrow.
  QCOMPARE(Header(s.w->grid(), 1), U8("　メールアドレス"));
  QCOMPARE(Header(s.w->grid(), 4), U8("　ニックネーム"));
  // The send entry carries the card's address untranslated.
  s.L().MainPopupPopup();
  s.w->RefreshFromLogic();
  const QString send = ActionText(w, "SendMail");
  QVERIFY2(send.endsWith(U8("\" へ送信")), qPrintable(send));
  guitest::SaveShot(w, "main-window-ja.png");
  if (QWidget* editor = s.w->cardEditor()) {
    guitest::SaveShot(editor, "card-editor-ja.png");
    auto* pages = Named<QTabWidget>(editor, "PagePanel");
    QCOMPARE(pages->tabText(1), U8("(&V)拡張"));
    pages->setCurrentIndex(1);
    QCOMPARE(Named<QAbstractButton>(editor, "RadioSecs6")->text(), U8("住所"));
    guitest::SaveShot(editor, "card-editor-ext-ja.png");
    pages->setCurrentIndex(0);
  }

  OnSearchDialog(s, "search-dialog-ja.png", [](QWidget* dlg) {
    QCOMPARE(LabelText(dlg, "Label1"), U8("検索文字(&S)"));
    QCOMPARE(ButtonText(dlg, "CancelBtn"), U8("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(Named<QGroupBox>(dlg, "Func")->title(), U8("処理(&R)"));
    QCOMPARE(Named<QCheckBox>(dlg, "NoCase")->text(), U8("&U：大文字小文字を同一視"));
    auto* filter = Named<QListWidget>(dlg, "Filter");
    QCOMPARE(filter->item(1)->text(), U8("名前･姓名"));
    QCOMPARE(filter->item(8)->text(), U8("Tel,Fax 等"));
  });
}

void TranslationTest::englishStaysAsItWas() {
  QCOMPARE(UseLanguage("en"), ui::Language::English);
  guitest::Session s;
  QWidget* w = s.w.get();
  QCOMPARE(ButtonText(w, "EndBtn"), U8("Quit(&Q)"));
  QCOMPARE(ActionText(w, "AddAddr"), U8("Add Address"));
  QCOMPARE(Header(s.w->grid(), 1), U8("　Mail Address"));
  QCOMPARE(w->windowTitle(), U8("Ostra(Q7) Address Book Manager"));
  OnSearchDialog(s, "search-dialog-en.png", [](QWidget* dlg) {
    QCOMPARE(LabelText(dlg, "Label1"), U8("String(&S)"));
    QCOMPARE(Named<QGroupBox>(dlg, "Func")->title(), U8("Process"));
    QCOMPARE(Named<QCheckBox>(dlg, "NoCase")->text(), U8("&U：Ignore Case"));
  });
  // Nothing translates without the catalogue, not even a known message.
  QCOMPARE(ui::TrMessage("Data Modified\rAre you save?"), U8("Data Modified\nAre you save?"));
}

void TranslationTest::messageBoxAndStandardButtonsInJapanese() {
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  app::QtDialogs dialogs;
  QString text, title;
  QStringList buttons;
  guitest::OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box);
    text = box->text();
    title = box->windowTitle();
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
  });
  dialogs.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                     {dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore});
  QCOMPARE(text, U8("データが変更されています\n保存しますか?"));
  QCOMPARE(title, U8("警告"));
  // Qt's own catalogue names the standard buttons.
  QVERIFY2(buttons.contains(U8("キャンセル")), qPrintable(buttons.join(QLatin1Char(','))));
  QVERIFY2(buttons.contains(U8("無視")), qPrintable(buttons.join(QLatin1Char(','))));
}

// Japanese captions are wider than the English ones; the dialogs laid over
// the grid must still show every button and box caption whole.
void TranslationTest::dialogsOverTheGridFitTheirJapaneseCaptions() {
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  guitest::Session s;
  const auto whole = [](QWidget* dlg) {
    QStringList cut;
    for (QAbstractButton* b : dlg->findChildren<QAbstractButton*>())
      if (b->isVisible() && !b->text().isEmpty() && b->width() < b->minimumSizeHint().width()) cut << b->text();
    for (QGroupBox* g : dlg->findChildren<QGroupBox*>())
      if (g->isVisible() && g->width() < g->fontMetrics().horizontalAdvance(g->title())) cut << g->title();
    return cut;
  };
  struct Case {
    const char* button;
    const char* shot;
    const char* objectName;
    const char* caption;
  };
  const Case cases[] = {
      {"Other", "options-ja.png", "GroupBox1", "メール送信時のアドレス形式(&M)"},
      {"GroupEdit", "groups-ja.png", "NicName", "ﾆｯｸﾈｰﾑ(&N)"},
  };
  for (const Case& c : cases) {
    bool ran = false;
    guitest::OnNextModal([&](QWidget* dlg) {
      ran = true;
      QWidget* control = Named<QWidget>(dlg, c.objectName);
      const QString text = qobject_cast<QGroupBox*>(control) ? static_cast<QGroupBox*>(control)->title()
                                                             : static_cast<QAbstractButton*>(control)->text();
      QCOMPARE(text, U8(c.caption));
      const QStringList cut = whole(dlg);
      QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char(','))));
      guitest::SaveShot(dlg, c.shot);
    });
    QTest::mouseClick(Named<QPushButton>(s.w.get(), c.button), Qt::LeftButton);
    QVERIFY2(ran, c.button);
  }
}

void TranslationTest::userDataIsNeverTranslated_data() {
  QTest::addColumn<QByteArray>("message");
  QTest::addColumn<QString>("shown");
  // A group named like a caption or a message keeps its name.
  QTest::newRow("group named Save") << QByteArray("Save\r\nto delete. Are you Okey?")
                                    << U8("Save\nを削除します。よろしいですか?");
  QTest::newRow("group named like a message")
      << QByteArray("No Hit Address\r\nDelete from disk. Are you Okey?")
      << U8("No Hit Address\nをディスクから削除します。よろしいですか?");
  // A part that reads like a placeholder is put back as it is.
  QTest::newRow("part reading %2") << QByteArray("Group<%2>is already exist.") << U8("グループ<%2>は既にあります。");
  QTest::newRow("Japanese file name") << QByteArray("/home/u/\x95\x5c.bab\r\nFile open error")
                                      << U8("/home/u/表.bab\nファイルを開けません");
  QTest::newRow("two parts") << QByteArray("a@b.jp\rTaro\rAddress Delete Okay?")
                             << U8("a@b.jp\nTaro\nアドレスを削除します。よろしいですか?");
  QTest::newRow("count and path") << QByteArray("12 cards written to\r\n/tmp/Q7Addr.csv")
                                  << U8("12 件のアドレスを書き出しました\n/tmp/Q7Addr.csv");
  // The import report: headings and counts translated, card lines kept.
  QTest::newRow("report")
      << QByteArray("Some cards could not be imported:\r\nSave : no e-mail address\r\nx@y : EMAIL\r\n... and 3 more")
      << U8("インポートできなかったアドレスがあります:\nSave : メールアドレスがありません\nx@y : EMAIL\n... ほか 3 件");
  // A text the catalogue does not know is shown as it came.
  QTest::newRow("book report")
      << QByteArray("Some folders or files of the address book were skipped:\r\n/b/Folder read error/\r\n"
                    "Folder read error\r\n(4 more)")
      << U8("アドレス帳の一部のフォルダまたはファイルを読み込みませんでした:\n/b/Folder read error/\n"
            "フォルダを読み込めません\n(ほか 4 件)");
  QTest::newRow("unknown") << QByteArray("Save\r\nsomething new") << U8("Save\nsomething new");
  QTest::newRow("caption is no message") << QByteArray("Save") << U8("Save");
}

void TranslationTest::userDataIsNeverTranslated() {
  QFETCH(QByteArray, message);
  QFETCH(QString, shown);
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  QCOMPARE(ui::TrMessage(message.toStdString()), shown);
}

void TranslationTest::catalogueHoldsEveryCaption() {
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  guitest::Session s;
  mainwin::TQ7AdrMan& L = s.L();
  std::vector<std::pair<const char*, std::string>> texts;
  const auto add = [&](const char* context, std::initializer_list<std::string> list) {
    for (const std::string& t : list) texts.emplace_back(context, t);
  };
  const mainwin::MainCaptions& m = L.Captions;
  add(ui::ctx::kMain, {L.Caption, m.EndBtn, m.Save, m.ReLoad, m.AddAddress, m.DelAddress, m.FindBtn, m.GroupEdit,
                       m.Other, m.Label15, m.SelectAll, m.DeSelect, m.WaitMsg, m.Label1, m.Label2, m.SaveMenu,
                       m.ReloadMenu, m.FindMenu, m.AddAddr, m.DelAdd, m.SaveOrder, m.AddGroup, m.GroupEditMenu,
                       m.GoPrint, m.TextExport, m.ImportBtn, m.CSV_Export, m.VcardExport});
  for (int c = 1; c < mainwin::kGridColumns; ++c) add(ui::ctx::kMain, {L.Tbl.Titles[static_cast<std::size_t>(c)]});
  const editor::TView& v = *L.View;
  const editor::ViewCaptions& e = v.Captions;
  add(ui::ctx::kEditor, {v.Caption, e.Label13, e.StdTab, e.ExtTab, e.ViewOK, e.Label3, e.Label4, e.Label5, e.Label6,
                         e.Label7, e.Label9, e.Label10, e.Label11, e.Label12, e.Label8, e.RadioSecs, e.Panel2,
                         e.Label1, e.AddSec});
  for (const char* t : editor::kSectionLabels) add(ui::ctx::kEditor, {t});

  search::TSearchDlg search(L);
  const search::SearchCaptions& c = search.Captions;
  add(ui::ctx::kSearch, {c.Caption, c.Label1, c.SearchBtn, c.CancelBtn, c.tags, c.Area, c.Radio_and, c.Radio_all,
                         c.Radio_grp, c.Func, c.Radio_add, c.Radio_new, c.GroupBox2, c.Radio_inc, c.Radio_Not_inc,
                         c.NoCase});
  for (const char* t : search::kTagItems) add(ui::ctx::kSearch, {t});

  groups::TGrpView grp(L);
  const groups::GrpCaptions& g = grp.Captions;
  add(ui::ctx::kGroups, {grp.Caption, g.EndBtn, g.Label1, g.AddGroup, g.DelGroup, g.RenameBtn, g.NicName,
                         grp.Titles[1], grp.Titles[2], grp.Titles[3]});

  options::TOptionSet opt;
  opt.OptionInit(L);
  const options::OptionCaptions& o = opt.Captions;
  add(ui::ctx::kOptions, {opt.Caption, o.EndBtn, o.PrtBtn, o.ImportBtn, o.GroupBox1, o.GroupBox2, o.CombineWithAll,
                          o.CombineWithAddr, o.GroupBox3, o.RadioPrintText, o.RadioCSV, o.ExportBtn});

  print::TPrintSetup prt(s.dialogs, *L.Book, s.dir / "Q7Addr.ini");
  prt.FormInit();
  const print::PrintSetupCaptions& p = prt.Captions;
  add(ui::ctx::kPrint, {prt.Caption, p.EndBtn, p.ExecPrint, p.SendToFile, p.SendToClip, p.PreViewBtn, p.PrintMode,
                        p.RadioPrintView, p.RadioPrintAll, p.PrintForm, p.PrintFormItems[0], p.PrintFormItems[1],
                        p.PrintFormItems[2], p.SelectAll, p.DeSelect, p.Label1, p.Label2, p.Label3, p.SaveBtn,
                        p.ReStoreBtn, p.PreViewEnd, prt.Pr_Form5Cap1, prt.Pr_Form5Cap2});
  for (const char* t : print::ItemNames) add(ui::ctx::kPrint, {t});

  imp::TImportForm form;
  form.FormInit(L);
  const imp::ImportCaptions& i = form.Captions;
  add(ui::ctx::kImport, {form.Caption, i.EndBtn, i.SelectFile, i.Exect, i.Label2, i.UpBtn, i.DownBtn, i.Label1,
                         i.TemplateSel, i.FileStrip, i.SourceColumn, i.TargetColumn, i.Encoding, i.ChooseFolder});
  for (const char* t : imp::kTargetLabels) add(ui::ctx::kImport, {t});
  for (const char* t : imp::kTemplateItems) add(ui::ctx::kImport, {t});

  QStringList missing;
  for (const auto& [context, text] : texts) {
    if (text.empty()) continue;
    const QString source = codec::MessageToQt(text);
    if (!ui::HasTranslation(context, source)) missing << QStringLiteral("%1: %2").arg(QLatin1String(context), source);
  }
  QVERIFY2(texts.size() > 150, "the captions were not collected");
  QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void TranslationTest::catalogueHoldsEveryMessage() {
  QCOMPARE(UseLanguage("ja"), ui::Language::Japanese);
  const QStringList sources = CatalogueSources()[QString::fromLatin1(ui::ctx::kMessage)];
  QVERIFY(!sources.isEmpty());
  // Every source of the catalogue is finished (lrelease leaves unfinished
  // ones out of the built catalogue).
  for (const QString& src : sources) QVERIFY2(ui::HasTranslation(ui::ctx::kMessage, src), qPrintable(src));
  // Every template the Qt layer matches is in the catalogue.
  for (const ui::Template& t : ui::Templates())
    QVERIFY2(ui::HasTranslation(t.context, QString::fromUtf8(t.source)), t.source);
  for (const char* line : ui::ReportTexts())
    QVERIFY2(ui::HasTranslation(ui::ctx::kMessage, QString::fromUtf8(line)), line);
  // Every fixed piece of every message the logic shows lies within one
  // fixed piece of a catalogue message.
  static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
  QStringList pieces;
  for (const QString& src : sources)
    for (const QString& piece : src.split(placeholder)) pieces << piece;
  const auto literals = MessageLiterals();
  QVERIFY2(literals.size() > 30, "the message calls were not found");
  QStringList missing;
  for (const auto& [file, literal] : literals) {
    const QString text = codec::ToQt(literal.toLatin1().toStdString());
    // A literal glued to a name (path + "Group.ini\r\nFile create error")
    // shares its first line with that name's part.
    const qsizetype br = text.indexOf(QLatin1Char('\n'));
    const QString fixedPart = br > 0 ? text.mid(br) : text;
    const bool known = std::any_of(pieces.begin(), pieces.end(),
                                   [&](const QString& p) { return p.contains(text) || p.contains(fixedPart); });
    if (!known) missing << QStringLiteral("%1: %2").arg(QString::fromStdString(file), text);
  }
  QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
