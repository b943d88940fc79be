// The CP932 <-> Qt text helper: the Windows table with its extensions,
// exact round trips of stored bytes, and refusal of what CP932 cannot hold.
#include <QtTest>
#include <string>

#include "ui/Codec.h"

namespace {

QString U(char32_t c) { return QString::fromUcs4(&c, 1); }

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

bool IsLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(int t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC); }

}  // namespace

class CodecTest : public QObject {
  Q_OBJECT
 private slots:
  void decodesTheWindowsTable_data();
  void decodesTheWindowsTable();
  void encodesWhatWindowsWrites();
  void controlBytesStayThemselves();
  void everyAssignedCodeRoundTrips();
  void bytesThatAreNoCharacterSurviveAnEdit();
  void untouchedTextKeepsItsDuplicateCodes();
  void refusesWhatCp932CannotHold();
  void acceptsTheJisFormsOfInputMethods();
  void memoLineEnds();
  void messageLineBreaks();
};

void CodecTest::decodesTheWindowsTable_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  auto row = [](const char* name, std::string b, QString t) {
    QTest::newRow(name) << QByteArray::fromStdString(b) << t;
  };
  row("ascii", "Taro <t@example.jp>", QStringLiteral("Taro <t@example.jp>"));
  row("backslash and tilde are ASCII", "\\~", QStringLiteral("\\~"));
  row("kanji 山田 太郎", "\x8e\x52\x93\x63\x20\x91\xbe\x98\x59", QString::fromUtf8("山田 太郎"));
  row("trail byte 0x5C in ソ", "\x83\x5c", QString::fromUtf8("ソ"));
  row("half-width katakana ｱ", "\xb1", QString::fromUtf8("ｱ"));
  row("NEC circled one", "\x87\x40", U(0x2460));
  row("NEC roman one", "\x87\x54", U(0x2160));
  row("NEC ㈱", "\x87\x8a", U(0x3231));
  row("wave dash as full-width tilde", "\x81\x60", U(0xFF5E));
  row("parallel to", "\x81\x61", U(0x2225));
  row("full-width minus", "\x81\x7c", U(0xFF0D));
  row("full-width not sign", "\x81\xca", U(0xFFE2));
  row("IBM small roman one", "\xfa\x40", U(0x2170));
  row("IBM 髙", "\xfb\xfc", U(0x9AD9));
  row("user-defined area", "\xf0\x40", U(0xE000));
  row("single 0x80", "\x80", U(0x0080));
  row("single 0xA0", "\xa0", U(0xF8F0));
  row("single 0xFD", "\xfd", U(0xF8F1));
  row("single 0xFF", "\xff", U(0xF8F3));
}

void CodecTest::decodesTheWindowsTable() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(codec::ToQt(bytes.toStdString()), text);
  // and back, byte for byte
  const auto back = codec::FromQt(text);
  QVERIFY(back);
  QCOMPARE(QByteArray::fromStdString(*back), bytes);
}

void CodecTest::encodesWhatWindowsWrites() {
  // Characters with two codes are written with the one Windows prefers.
  QCOMPARE(*codec::FromQt(U(0x7E8A)), std::string("\xfa\x5c"));  // 纊: IBM, not NEC-selected
  QCOMPARE(*codec::FromQt(U(0x2235)), std::string("\x81\xe6"));  // ∵: JIS row, not NEC row 13
  QCOMPARE(*codec::FromQt(U(0xFFE2)), std::string("\x81\xca"));  // ￢
  QCOMPARE(*codec::FromQt(U(0x3231)), std::string("\x87\x8a"));  // ㈱: NEC row 13, not IBM
}

void CodecTest::controlBytesStayThemselves() {
  // Qt's own Shift_JIS (ICU's IBM table) swaps these; they must not move.
  const std::string controls = Bytes({0x09, 0x1A, 0x1C, 0x7F, 0x0D, 0x0A});
  const QString text = codec::ToQt(controls);
  QCOMPARE(text, QString::fromLatin1("\x09\x1a\x1c\x7f\r\n"));
  QCOMPARE(*codec::FromQt(text), controls);
}

void CodecTest::everyAssignedCodeRoundTrips() {
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLead(lead)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrail(trail)) continue;
      const std::string code = Bytes({lead, trail});
      const QString text = codec::ToQt(code);
      QCOMPARE(text.size(), text.at(0).unicode() >= 0xF700 && text.at(0).unicode() <= 0xF7FF ? 2 : 1);
      if (text.size() == 2) continue;  // unassigned: kept as two escaped bytes
      ++assigned;
      const auto back = codec::FromQt(text);
      QVERIFY2(back, qPrintable(QStringLiteral("no code for %1").arg(QString::number(lead * 256 + trail, 16))));
      // NEC-selected IBM extensions (0xED, 0xEE) and the NEC copies of JIS
      // symbols in row 13 and among the IBM extensions come back as the
      // code Windows prefers, which reads as the same character.
      const bool row13 = lead == 0x87 && QByteArray("\x90\x91\x92\x95\x96\x97\x9a\x9b\x9c").contains(static_cast<char>(trail));
      const bool ibmCopy = lead == 0xFA && ((trail >= 0x4A && trail <= 0x54) || (trail >= 0x58 && trail <= 0x5B));
      const bool duplicate = lead == 0xED || lead == 0xEE || row13 || ibmCopy;
      if (!duplicate) {
        QCOMPARE(QByteArray::fromStdString(*back), QByteArray::fromStdString(code));
      } else {
        QCOMPARE(codec::ToQt(*back), text);
      }
    }
  }
  // The Windows table assigns 9,604 double-byte codes: JIS X 0208, the NEC
  // and IBM extensions and the 1,880 user-defined ones.
  QCOMPARE(assigned, 9604);
}

void CodecTest::bytesThatAreNoCharacterSurviveAnEdit() {
  const std::string stored = Bytes({'a', 0x85, 0x40, 'b', 0x81, 0x20, 'c', 0x82});  // unassigned, bad trail, cut at end
  QString text = codec::ToQt(stored);
  QCOMPARE(*codec::FromQt(text), stored);
  text.append(QString::fromUtf8("追記"));
  QCOMPARE(*codec::FromQt(text), stored + "\x92\xc7\x8b\x4c");  // 追記
}

void CodecTest::untouchedTextKeepsItsDuplicateCodes() {
  const std::string nec = "\xed\x40";  // 纊 in its NEC-selected code
  QCOMPARE(codec::ToQt(nec), U(0x7E8A));
  QCOMPARE(*codec::FromQtKeeping(codec::ToQt(nec), nec), nec);
  // once edited, the text is written as Windows writes it
  QCOMPARE(*codec::FromQtKeeping(codec::ToQt(nec) + "x", nec), std::string("\xfa\x5cx"));
}

void CodecTest::refusesWhatCp932CannotHold() {
  QString bad;
  const QString text = QString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x98\x80 caf\xc3\xa9");  // é, 😀, é again
  QVERIFY(!codec::FromQt(text, &bad));
  QCOMPARE(bad, QString::fromUtf8("\xc3\xa9\xf0\x9f\x98\x80"));  // each once, in order
  const QString msg = codec::RefusalText(bad);
  QVERIFY2(msg.contains(QStringLiteral("\"\u00e9\" (U+00E9)")), qPrintable(msg));
  QVERIFY2(msg.contains(QStringLiteral("(U+1F600)")), qPrintable(msg));
  QVERIFY(!codec::FromQtKeeping(text, "cafe"));
  // U+FFFD is not silently taken for anything either
  QVERIFY(!codec::FromQt(U(0xFFFD)));
}

void CodecTest::acceptsTheJisFormsOfInputMethods() {
  QCOMPARE(*codec::FromQt(U(0x301C)), std::string("\x81\x60"));  // wave dash
  QCOMPARE(*codec::FromQt(U(0x2016)), std::string("\x81\x61"));
  QCOMPARE(*codec::FromQt(U(0x2212)), std::string("\x81\x7c"));
  QCOMPARE(*codec::FromQt(U(0x00A2)), std::string("\x81\x91"));
  QCOMPARE(*codec::FromQt(U(0x00A3)), std::string("\x81\x92"));
  QCOMPARE(*codec::FromQt(U(0x00AC)), std::string("\x81\xca"));
  QCOMPARE(*codec::FromQt(U(0x2014)), std::string("\x81\x5c"));
}

void CodecTest::memoLineEnds() {
  QCOMPARE(codec::MemoToQt("one\r\ntwo\rthree"), QStringLiteral("one\ntwo\nthree"));
  QCOMPARE(*codec::MemoFromQtKeeping(QStringLiteral("one\ntwo"), ""), std::string("one\r\ntwo"));
  // unchanged text keeps its own line ends, even a lone CR
  const std::string lone = "one\rtwo";
  QCOMPARE(*codec::MemoFromQtKeeping(codec::MemoToQt(lone), lone), lone);
}

void CodecTest::messageLineBreaks() {
  QCOMPARE(codec::MessageToQt("Data Modified\rAre you save?"), QStringLiteral("Data Modified\nAre you save?"));
  QCOMPARE(codec::MessageToQt("a.bab\r\nFile open error"), QStringLiteral("a.bab\nFile open error"));
}

QTEST_GUILESS_MAIN(CodecTest)
#include "CodecTest.moc"
