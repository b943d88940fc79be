#include "ui/Translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>
#include <memory>

#include "ui/Codec.h"

namespace ui {
namespace {

std::unique_ptr<QTranslator>& Program() {
  static std::unique_ptr<QTranslator> t;
  return t;
}

std::unique_ptr<QTranslator>& QtOwn() {
  static std::unique_ptr<QTranslator> t;
  return t;
}

// The composed texts: the logic joins a fixed text with user data. Each is
// matched as a whole; the %n parts go back into the translation unchanged.
const std::vector<Template> kTemplates = {
    {ctx::kMain, QT_TRANSLATE_NOOP("MainWindow", "Send to \"%1\"")},
    {ctx::kPrint, QT_TRANSLATE_NOOP("PrintSetup", "%1 page")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nFile open error")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nFile create error")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nCan not delete old file.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nGroup is modified by Q7\nAre you reload?")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nNo vCard (BEGIN:VCARD) in this file.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "Group[%1] is can not convert")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "File \"%1.adr\" File open error")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1 cards written to\n%2")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\n%2\nAddress Delete Okay?")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nhas Chiled Group. Can net Delete.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nto delete. Are you Okey?")},
    {ctx::kMessage,
     QT_TRANSLATE_NOOP("Message", "%1\nHas %2 \xe4\xbb\xb6\xe6\x89\x80\xe5\xb1\x9e\xe3\x81\x97\xe3\x81\xa6\xe3\x81\x84"
                                  "\xe3\x81\xbe\xe3\x81\x99\n\xe5\x85\x88\xe3\x81\xab\xe6\x89\x80\xe5\xb1\x9e\xe3\x82"
                                  "\x92\xe6\x8a\xb9\xe6\xb6\x88\xe3\x81\x97\xe3\x81\xa6\xe4\xb8\x8b\xe3\x81\x95\xe3"
                                  "\x81\x84\xe3\x80\x82")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nDelete from disk. Are you Okey?")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1\nCan not rename folder.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "Group<%1>can not be used as a folder name.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "Group<%1>is already exist.")},
    {ctx::kMessage, QT_TRANSLATE_NOOP("Message", "%1 is not execute.")},
    {ctx::kMessage,
     QT_TRANSLATE_NOOP("Message",
                       "The address book folder was not found. Choose the mail client's data folder (the folder "
                       "that holds \"AddrBook\")? Choose No to start with an empty book.\n%1")},
};

// The reports of the import and of loading the book: a heading line, then
// lines of user data (a card, a path) mixed with fixed phrases and a closing
// count. Translated line by line, and only in a message that starts with one
// of the headings; a line is translated only when it is one of the fixed
// lines as a whole.
const char* const kReportHeadings[] = {
    QT_TRANSLATE_NOOP("Message", "Some cards could not be imported:"),
    QT_TRANSLATE_NOOP("Message", "Some characters cannot be held in Shift-JIS and were replaced by \"?\":"),
    QT_TRANSLATE_NOOP("Message", "Some folders or files of the address book were skipped:"),
};
const char* const kReportLines[] = {
    QT_TRANSLATE_NOOP("Message", "Folder read error"),
    QT_TRANSLATE_NOOP("Message", "Name is neither UTF-8 nor Shift-JIS"),
};
const char* const kReportLineTemplates[] = {
    QT_TRANSLATE_NOOP("Message", "... and %1 more"),
    QT_TRANSLATE_NOOP("Message", "(%1 more)"),
    QT_TRANSLATE_NOOP("Message", "Folders nested more than %1 levels deep are not loaded"),
};
// The reason after "card : " in the import's report.
const char* const kReportReason = QT_TRANSLATE_NOOP("Message", "no e-mail address");

// "%1 cards written to\n%2" as an anchored pattern with one group per %n,
// and the order in which the groups name the arguments.
struct Pattern {
  QRegularExpression re;
  QList<int> args;
};

const Pattern& PatternOf(const QString& source) {
  static QHash<QString, Pattern> cache;
  auto it = cache.find(source);
  if (it != cache.end()) return *it;
  static const QRegularExpression marker(QStringLiteral("%([1-9])"));
  Pattern p;
  QString re = QStringLiteral("\\A");
  qsizetype at = 0;
  for (auto m = marker.globalMatch(source); m.hasNext();) {
    const QRegularExpressionMatch x = m.next();
    re += QRegularExpression::escape(source.mid(at, x.capturedStart() - at));
    // A part never spans lines: a file or group name holds no line break.
    re += QStringLiteral("([^\\n]*)");
    p.args << x.captured(1).toInt();
    at = x.capturedEnd();
  }
  re += QRegularExpression::escape(source.mid(at)) + QStringLiteral("\\z");
  p.re = QRegularExpression(re);
  return *cache.insert(source, p);
}

// Puts the parts into a translated template in one pass, so that a part
// that itself reads "%2" stays as it is.
QString Fill(const QString& translated, const QHash<int, QString>& parts) {
  QString out;
  for (qsizetype i = 0; i < translated.size(); ++i) {
    const QChar c = translated[i];
    if (c == QLatin1Char('%') && i + 1 < translated.size() && translated[i + 1].isDigit()) {
      const int n = translated[i + 1].digitValue();
      if (parts.contains(n)) {
        out += parts.value(n);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

// The translation of a whole text, or a null QString.
QString Exact(const char* context, const QString& text) {
  if (!Program() || text.isEmpty()) return {};
  const QString t = Program()->translate(context, text.toUtf8().constData());
  return t;
}

QString ByTemplate(const char* context, const QString& text) {
  for (const Template& t : kTemplates) {
    if (qstrcmp(t.context, context) != 0) continue;
    const QString source = QString::fromUtf8(t.source);
    const Pattern& p = PatternOf(source);
    const QRegularExpressionMatch m = p.re.match(text);
    if (!m.hasMatch()) continue;
    QString translated = Exact(context, source);
    if (translated.isEmpty()) return {};
    QHash<int, QString> parts;
    for (qsizetype i = 0; i < p.args.size(); ++i) parts.insert(p.args[i], m.captured(static_cast<int>(i + 1)));
    return Fill(translated, parts);
  }
  return {};
}

QString Report(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  const auto isOneOf = [](const QString& line, const auto& list) {
    for (const char* l : list)
      if (line == QString::fromUtf8(l)) return true;
    return false;
  };
  if (!isOneOf(lines.constFirst(), kReportHeadings)) return {};
  const QString reason = QString::fromUtf8(kReportReason);
  const QString separator = QStringLiteral(" : ");
  for (QString& line : lines) {
    if (isOneOf(line, kReportHeadings) || isOneOf(line, kReportLines)) {
      const QString t = Exact(ctx::kMessage, line);
      if (!t.isEmpty()) line = t;
      continue;
    }
    bool done = false;
    for (const char* tmpl : kReportLineTemplates) {
      const QString source = QString::fromUtf8(tmpl);
      const QRegularExpressionMatch m = PatternOf(source).re.match(line);
      if (!m.hasMatch()) continue;
      const QString t = Exact(ctx::kMessage, source);
      if (!t.isEmpty()) line = Fill(t, {{1, m.captured(1)}});
      done = true;
      break;
    }
    if (done) continue;
    // "card : reason": only the fixed reason after the separator.
    if (line.endsWith(separator + reason)) {
      const QString t = Exact(ctx::kMessage, reason);
      if (!t.isEmpty()) line = line.left(line.size() - reason.size()) + t;
    }
  }
  return lines.join(QLatin1Char('\n'));
}

// The installed translations folder beside the program: <prefix>/bin/q7addr
// reads <prefix>/share/q7addr/translations.
QString InstalledDir() {
  const QString bin = QCoreApplication::applicationDirPath();
  if (bin.isEmpty()) return {};
  return QDir(bin).absoluteFilePath(QStringLiteral("../" Q7ADDR_DATADIR "/q7addr/translations"));
}

}  // namespace

Language WantedLanguage() {
  const QString forced = qEnvironmentVariable("Q7ADDR_LANG").trimmed().toLower();
  if (forced.startsWith(QLatin1String("ja"))) return Language::Japanese;
  if (forced.startsWith(QLatin1String("en"))) return Language::English;
  const QStringList ui = QLocale::system().uiLanguages();
  const QLocale first = ui.isEmpty() ? QLocale::system() : QLocale(ui.constFirst());
  return first.language() == QLocale::Japanese ? Language::Japanese : Language::English;
}

Language InstallTranslations(Language language) {
  if (Program()) QCoreApplication::removeTranslator(Program().get());
  if (QtOwn()) QCoreApplication::removeTranslator(QtOwn().get());
  Program().reset();
  QtOwn().reset();
  if (language != Language::Japanese) return Language::English;

  auto program = std::make_unique<QTranslator>();
  const QString name = QStringLiteral("q7addr_ja.qm");
  const QString installed = InstalledDir();
  bool loaded = !installed.isEmpty() && QFileInfo::exists(installed + QLatin1Char('/') + name) &&
                program->load(name, installed);
  if (!loaded) loaded = program->load(name, QStringLiteral(":/i18n"));
  if (!loaded) return Language::English;
  QCoreApplication::installTranslator(program.get());
  Program() = std::move(program);

  // Qt's own texts: the standard buttons (OK, Cancel, Yes, No, Ignore), the
  // file and input dialogs.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    QtOwn() = std::move(qt);
  }
  return Language::Japanese;
}

QString TrText(const char* context, const QString& text) {
  if (!Program() || text.isEmpty()) return text;
  QString t = Exact(context, text);
  if (!t.isEmpty()) return t;
  t = ByTemplate(context, text);
  if (!t.isEmpty()) return t;
  if (qstrcmp(context, ctx::kMessage) == 0) {
    t = Report(text);
    if (!t.isEmpty()) return t;
  }
  return text;
}

QString Tr(const char* context, std::string_view cp932) { return TrText(context, codec::MessageToQt(cp932)); }

bool HasTranslation(const char* context, const QString& source) {
  return !Exact(context, source).isEmpty();
}

const std::vector<Template>& Templates() { return kTemplates; }

std::vector<const char*> ReportTexts() {
  std::vector<const char*> out;
  out.insert(out.end(), std::begin(kReportHeadings), std::end(kReportHeadings));
  out.insert(out.end(), std::begin(kReportLines), std::end(kReportLines));
  out.insert(out.end(), std::begin(kReportLineTemplates), std::end(kReportLineTemplates));
  out.push_back(kReportReason);
  return out;
}

}  // namespace ui
