#include "ui/Codec.h"

#include <iconv.h>

#include <QtGlobal>
#include <array>
#include <cerrno>
#include <memory>

#include "ui/Translate.h"

namespace codec {
namespace {

// Qt's own "Shift_JIS" / "windows-31j" (ICU's ibm-943 table) moves the
// control bytes 0x1A, 0x1C and 0x7F around; glibc's CP932 keeps them, so the
// table comes from there.
constexpr const char* kCodePage = "CP932";
constexpr char16_t kEscapeBase = 0xF700;

bool IsTrail(unsigned char t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC); }
bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      qFatal("The CP932 text conversion of the C library (iconv \"%s\") is not available.", kCodePage);
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts one unit; the output bytes, or nothing when it has no form.
  std::optional<std::string> Convert(const char* in, std::size_t len) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char* ip = const_cast<char*>(in);
    char* op = out;
    std::size_t il = len, ol = sizeof out;
    if (iconv(cd_, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0) return std::nullopt;
    if (iconv(cd_, nullptr, nullptr, &op, &ol) == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::string(out, static_cast<std::size_t>(op - out));
  }

 private:
  iconv_t cd_;
};

// Every double-byte code, decoded once; 0 where the code is unassigned.
class PairTable {
 public:
  PairTable() {
    Iconv cv("UTF-16LE", kCodePage);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrail(static_cast<unsigned char>(trail))) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        auto u = cv.Convert(in, 2);
        if (!u || u->size() != 2) continue;
        const auto lo = static_cast<unsigned char>((*u)[0]);
        const auto hi = static_cast<unsigned char>((*u)[1]);
        table_[Index(lead, trail)] = static_cast<char16_t>(hi << 8 | lo);
      }
    }
  }
  char16_t At(unsigned char lead, unsigned char trail) const { return table_[Index(lead, trail)]; }

 private:
  static std::size_t Index(int lead, int trail) { return static_cast<std::size_t>((lead - 0x80) * 256 + trail); }
  std::array<char16_t, 0x80 * 256> table_{};
};

const PairTable& Pairs() {
  static const PairTable table;
  return table;
}

Iconv& Encoder() {
  thread_local Iconv cv(kCodePage, "UTF-16LE");
  return cv;
}

// Single bytes Windows reads as characters although the code page leaves
// them unassigned.
char16_t SpecialSingle(unsigned char b) {
  switch (b) {
    case 0x80: return 0x0080;
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return 0xF8F2;
    case 0xFF: return 0xF8F3;
    default: return 0;
  }
}

// The CP932 codes of the JIS forms that the C library's table lacks.
const char* JisVariant(char16_t c) {
  switch (c) {
    case 0x301C: return "\x81\x60";  // wave dash
    case 0x2016: return "\x81\x61";  // double vertical line
    case 0x2212: return "\x81\x7C";  // minus sign
    case 0x00A2: return "\x81\x91";  // cent sign
    case 0x00A3: return "\x81\x92";  // pound sign
    case 0x00AC: return "\x81\xCA";  // not sign
    case 0x2014: return "\x81\x5C";  // em dash
    default: return nullptr;
  }
}

void AddUnmappable(QString* unmappable, const QString& ch) {
  if (unmappable && !unmappable->contains(ch)) unmappable->append(ch);
}

}  // namespace

QString ToQt(std::string_view bytes) {
  bool ascii = true;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));

  const PairTable& pairs = Pairs();
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.append(QChar(static_cast<char16_t>(b)));
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {  // half-width katakana
      out.append(QChar(static_cast<char16_t>(0xFF61 + (b - 0xA1))));
      ++i;
    } else if (char16_t s = SpecialSingle(b)) {
      out.append(QChar(s));
      ++i;
    } else {
      const unsigned char t = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : static_cast<unsigned char>(0);
      if (i + 1 < n && IsTrail(t)) {
        if (char16_t c = pairs.At(b, t)) {
          out.append(QChar(c));
        } else {
          out.append(QChar(static_cast<char16_t>(kEscapeBase + b)));
          out.append(QChar(static_cast<char16_t>(kEscapeBase + t)));
        }
        i += 2;
      } else {
        out.append(QChar(static_cast<char16_t>(kEscapeBase + b)));
        ++i;
      }
    }
  }
  return out;
}

std::optional<std::string> FromQt(const QString& text, QString* unmappable) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()) * 2);
  bool ok = true;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
      AddUnmappable(unmappable, text.mid(i, 2));  // CP932 holds nothing beyond the BMP
      ok = false;
      ++i;
      continue;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= kEscapeBase && c <= kEscapeBase + 0xFF) {
      out.push_back(static_cast<char>(c - kEscapeBase));
      continue;
    }
    if (c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3)) {
      static constexpr char kBytes[] = {'\xA0', '\xFD', '\xFE', '\xFF'};
      out.push_back(c == 0x0080 ? '\x80' : kBytes[c - 0xF8F0]);
      continue;
    }
    if (const char* v = JisVariant(c)) {
      out.append(v, 2);
      continue;
    }
    const char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    auto bytes = QChar::isSurrogate(c) ? std::nullopt : Encoder().Convert(in, 2);
    if (!bytes || bytes->empty()) {
      AddUnmappable(unmappable, QString(QChar(c)));
      ok = false;
      continue;
    }
    out += *bytes;
  }
  if (!ok) return std::nullopt;
  return out;
}

std::optional<std::string> FromQtKeeping(const QString& text, const std::string& original,
                                         QString* unmappable) {
  if (ToQt(original) == text) return original;
  return FromQt(text, unmappable);
}

QString MemoToQt(std::string_view bytes) {
  QString s = ToQt(bytes);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

std::optional<std::string> MemoFromQtKeeping(const QString& text, const std::string& original,
                                             QString* unmappable) {
  if (MemoToQt(original) == text) return original;
  QString crlf = text;
  crlf.replace(QChar('\n'), QStringLiteral("\r\n"));
  return FromQt(crlf, unmappable);
}

QString MessageToQt(std::string_view bytes) { return MemoToQt(bytes); }

QString RefusalText(const QString& unmappable) {
  QString shown;
  for (qsizetype i = 0; i < unmappable.size(); ++i) {
    const QChar c = unmappable[i];
    char32_t ucs = c.unicode();
    QString ch(c);
    if (c.isHighSurrogate() && i + 1 < unmappable.size()) {
      ucs = QChar::surrogateToUcs4(c, unmappable[i + 1]);
      ch = unmappable.mid(i, 2);
      ++i;
    }
    if (!shown.isEmpty()) shown += QStringLiteral(" ");
    shown += QStringLiteral("\"%1\" (U+%2)")
                 .arg(ch, QString::number(static_cast<uint>(ucs), 16).toUpper().rightJustified(4, QChar('0')));
  }
  return ui::TrText(ui::ctx::kMessage,
                    QStringLiteral("The address book stores Japanese Shift-JIS (CP932) text, which cannot hold "
                                   "these characters:\n%1\n\nPlease replace them. Nothing was changed."))
      .arg(shown);
}

}  // namespace codec
