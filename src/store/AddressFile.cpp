#include "store/AddressFile.h"

#include <sys/stat.h>

#include "platform/Sjis.h"

namespace store {

namespace {

constexpr std::string_view kBegin = "BEGIN:VCARD";
constexpr std::string_view kEnd = "END:VCARD";
constexpr std::string_view kQp = "ENCODING=QUOTED-PRINTABLE";
constexpr std::string_view kEndName = "END";
constexpr std::string_view kEndValue = "VCARD";

// Digit value by position in "123456789ABCDEF": '0' and non-digits give 0.
int QpDigit(char c) noexcept {
  c = sjis::UpperChar(c);
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

void Append(TvCard& list, std::string params, std::string_view value) {
  TCardRec& e = list.emplace_back();
  e.Params = std::move(params);
  e.Values.push_back(value);
}

}  // namespace

void DecodeNote(TCardRec& entry) {
  if (entry.Params != kQp || entry.Values.empty()) return;
  const std::string_view in = entry.Values.front();
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '=') {
      out.push_back(in[i]);
      continue;
    }
    // An "=" without two characters after it is kept as it is: the text
    // was cut, and a made-up byte would garble it further.
    if (i + 2 >= in.size()) {
      out.append(in.substr(i));
      break;
    }
    out.push_back(static_cast<char>(16 * QpDigit(in[i + 1]) + QpDigit(in[i + 2])));
    i += 2;
  }
  entry.Values.clear();
  entry.Values.push_back(std::move(out));
  entry.Params.clear();
}

namespace {

template <class List>
void MoveExact(List& dst, List& src) {
  dst.reserve(src.size());
  for (auto& e : src) dst.push_back(std::move(e));
  src.clear();  // keeps its capacity for the next card
}

// A card with lists of exactly the size they need; the scratch card keeps its
// list capacity, so reading a file does not regrow lists card after card.
CardPtr CompactCard(TAddrRec& scratch) {
  CardPtr c = NewCard();
  c->PrefEmail = std::move(scratch.PrefEmail);
  c->NickName = std::move(scratch.NickName);
  scratch.PrefEmail.clear();
  scratch.NickName.clear();
  MoveExact(c->Email, scratch.Email);
  MoveExact(c->FN, scratch.FN);
  MoveExact(c->N, scratch.N);
  MoveExact(c->Note, scratch.Note);
  MoveExact(c->URL, scratch.URL);
  MoveExact(c->Key, scratch.Key);
  MoveExact(c->Adr, scratch.Adr);
  MoveExact(c->Tel, scratch.Tel);
  MoveExact(c->BDay, scratch.BDay);
  MoveExact(c->Other, scratch.Other);
  c->Mark = scratch.Mark;
  scratch.Mark = 0;
  return c;
}

void ParseLineImpl(CardSink& sink, CardPtr& current, std::string_view line, CardPtr* spare);

enum class Prop { Email, FN, N, Note, URL, Key, Adr, Tel, BDay, NickName, Other };

// The property kind of a line's name, compared after ASCII upper-casing.
// Every interpreted name is plain ASCII, so mapping each byte is exact: a
// name holding a double-byte character can never equal one of them.
Prop Classify(std::string_view name) noexcept {
  if (name.empty() || name.size() > 16) return Prop::Other;
  char buf[16];
  for (std::size_t i = 0; i < name.size(); ++i) buf[i] = sjis::UpperChar(name[i]);
  const std::string_view up(buf, name.size());
  switch (up.size()) {
    case 1: return up == "N" ? Prop::N : Prop::Other;
    case 2: return up == "FN" ? Prop::FN : Prop::Other;
    case 3:
      if (up == "TEL") return Prop::Tel;
      if (up == "ADR") return Prop::Adr;
      if (up == "URL") return Prop::URL;
      if (up == "KEY") return Prop::Key;
      return Prop::Other;
    case 4:
      if (up == "NOTE") return Prop::Note;
      if (up == "BDAY") return Prop::BDay;
      return Prop::Other;
    case 5: return up == "EMAIL" ? Prop::Email : Prop::Other;
    case 16: return up == "X-OSTRA-NICKNAME" ? Prop::NickName : Prop::Other;
    default: return Prop::Other;
  }
}

}  // namespace

void ParseLine(CardSink& sink, CardPtr& current, std::string_view line) {
  ParseLineImpl(sink, current, line, nullptr);
}

namespace {

void ParseLineImpl(CardSink& sink, CardPtr& current, std::string_view line, CardPtr* spare) {
  if (current && line == kEnd) {
    if (spare) {
      CardPtr done = CompactCard(*current);
      *spare = std::move(current);
      sink.AddCard(std::move(done), false);
    } else {
      sink.AddCard(std::move(current), false);
    }
    current.reset();
    return;
  }
  if (current) {
    // A continuation with no line before it (after an empty line): no writer
    // can give a name that begins with a space back, since it would fold
    // into the line before it.
    if (!line.empty() && line.front() == ' ') return;
    const std::size_t c = line.find(':');
    if (c == std::string_view::npos || c == 0 || c + 1 == line.size()) return;
    std::size_t s = line.find(';');
    if (s == std::string_view::npos || s > c) s = c;
    const std::string_view rawName = line.substr(0, s);
    std::string params(s < c ? line.substr(s + 1, c - s - 1) : std::string_view());
    sjis::UpperInPlace(params);
    const std::string_view value = line.substr(c + 1);
    const Prop kind = Classify(rawName);
    // "end:VCARD" and the like would be written back as the end line and cut
    // the card there on the next read; the line carries nothing else.
    if (kind == Prop::Other && params.empty() && value == kEndValue && sjis::Upper(rawName) == kEndName) return;
    TAddrRec& card = *current;
    switch (kind) {
      case Prop::Email:
        if (params == "PREF")
          card.PrefEmail.assign(value);
        else
          Append(card.Email, std::move(params), value);
        break;
      case Prop::FN: Append(card.FN, std::move(params), value); break;
      case Prop::URL: Append(card.URL, std::move(params), value); break;
      case Prop::Key: Append(card.Key, std::move(params), value); break;
      case Prop::Tel: Append(card.Tel, std::move(params), value); break;
      case Prop::BDay: Append(card.BDay, std::move(params), value); break;
      case Prop::N: {
        TCardRec& e = card.N.emplace_back();
        e.Params = std::move(params);
        SplitValuesText(e.Values, value);
        break;
      }
      case Prop::Note: {
        TCardRec& e = card.Note.emplace_back();
        e.Params = std::move(params);
        e.Values.push_back(value);
        DecodeNote(e);
        break;
      }
      case Prop::Adr: {
        TCardRec& e = card.Adr.emplace_back();
        e.Params = std::move(params);
        SplitAdrText(e.Values, value);
        break;
      }
      case Prop::NickName: card.NickName.assign(value); break;
      case Prop::Other: {
        TOtherRec& e = card.Other.emplace_back();
        e.Name = sjis::Upper(rawName);
        e.Params = std::move(params);
        e.Values.push_back(value);
        break;
      }
    }
    return;
  }
  if (line == kBegin) current = (spare && *spare) ? std::move(*spare) : NewCard();
}

}  // namespace

namespace {

void ReadLines(CardSink& sink, plat::TextReader& in) {
  CardPtr current;
  CardPtr spare;
  std::string pending;
  std::string_view line;
  while (in.ReadLine(line)) {
    // A line that is complete on its own (the next one is known not to
    // continue it) is parsed where it lies, without a copy.
    if (pending.empty() && !line.empty()) {
      const int next = in.PeekByte();
      if (next != plat::TextReader::kUnknown && next != ' ') {
        ParseLineImpl(sink, current, line, &spare);
        continue;
      }
    }
    if (pending.empty() || (!line.empty() && line.front() == ' ')) {
      pending.append(line);
    } else {
      ParseLineImpl(sink, current, pending, &spare);
      pending.assign(line);
    }
  }
  if (!pending.empty()) ParseLineImpl(sink, current, pending, &spare);
  // A card without its END line is dropped with `current`.
}

}  // namespace

ReadResult ReadAddressFile(CardSink& sink, const std::string& diskPath) {
  // No pipes, sockets or devices: opening a pipe would wait for a writer for
  // ever, and a device may never end. (A folder fails on its first read.)
  struct stat st {};
  if (::stat(diskPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return ReadResult::OpenError;
  plat::TextReader in;
  if (!in.Open(diskPath)) return ReadResult::OpenError;
  ReadLines(sink, in);
  const bool failed = in.Failed();
  in.Close();
  return failed ? ReadResult::ReadError : ReadResult::Ok;
}

void ReadAddressBytes(CardSink& sink, std::string bytes) {
  plat::TextReader in;
  in.OpenBytes(std::move(bytes));
  ReadLines(sink, in);
}

namespace {

void AppendValues(std::string& b, const TValues& values) {
  bool first = true;
  for (std::string_view v : values) {
    if (!first) b.push_back(';');
    first = false;
    b.append(v);
  }
}

void AppendEntry(std::string& b, std::string_view name, const TCardRec& e) {
  b.append(name);
  if (!e.Params.empty()) {
    b.push_back(';');
    b.append(e.Params);
  }
  b.push_back(':');
  AppendValues(b, e.Values);
  b.append("\r\n", 2);
}

// The reader drops one empty component after a trailing ";" (Doe;John;
// gives two values), so an N entry whose last value is empty gets one ";"
// more and reads back with the same values.
void AppendN(std::string& b, const TCardRec& e) {
  b.append("N");
  if (!e.Params.empty()) {
    b.push_back(';');
    b.append(e.Params);
  }
  b.push_back(':');
  AppendValues(b, e.Values);
  if (!e.Values.empty() && e.Values[e.Values.size() - 1].empty()) b.push_back(';');
  b.append("\r\n", 2);
}

void AppendOther(std::string& b, const TOtherRec& e) {
  // Lines that would read back as something else are left out: a name that
  // begins with a space folds into the line before it, and END:VCARD would
  // end the card early.
  if (!e.Name.empty() && e.Name.front() == ' ') return;
  if (e.Params.empty() && e.Values.size() == 1 && e.Values.front() == kEndValue && e.Name == kEndName) return;
  b.append(e.Name);
  // With an empty name the ";" keeps the line from starting with ":", which
  // the reader skips; ";:j" reads back as an empty name and parameters.
  if (!e.Params.empty() || e.Name.empty()) {
    b.push_back(';');
    b.append(e.Params);
  }
  b.push_back(':');
  AppendValues(b, e.Values);
  b.append("\r\n", 2);
}

void AppendAdr(std::string& b, const TCardRec& e) {
  b.append("ADR");
  if (!e.Params.empty()) {
    b.push_back(';');
    b.append(e.Params);
  }
  b.push_back(':');
  // Back to file order: PO box; extended; street; locality; region; postal; country.
  static constexpr std::size_t kFileOrder[kAdrCount] = {kAdrPoBox,    kAdrExtended, kAdrStreet, kAdrLocality,
                                                        kAdrRegion,   kAdrPostal,   kAdrCountry};
  for (std::size_t k = 0; k < kAdrCount; ++k) {
    if (k) b.push_back(';');
    // An entry edited to hold fewer values writes its missing ones empty.
    if (kFileOrder[k] < e.Values.size()) b.append(e.Values[kFileOrder[k]]);
  }
  b.append("\r\n", 2);
}

bool NeedsEncoding(std::string_view v) noexcept {
  for (char ch : v) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x21 || c == '=' || c >= 0x7F) return true;
  }
  return false;
}

void AppendNote(std::string& b, const TCardRec& e) {
  if (e.Values.empty()) return;
  const std::string_view v = e.Values.front();
  static constexpr char kHex[] = "0123456789abcdef";
  b.append("NOTE");
  if (!NeedsEncoding(v)) {
    if (!e.Params.empty()) {
      b.push_back(';');
      b.append(e.Params);
    }
    b.push_back(':');
    b.append(v);
  } else {
    b.append(";ENCODING=QUOTED-PRINTABLE:");
    for (char ch : v) {
      const auto c = static_cast<unsigned char>(ch);
      if (c == ' ') {
        b.append("\r\n ", 3);  // fold; the space starts the continuation
      } else if (c < 0x20 || c == '=' || c >= 0x7F) {
        b.push_back('=');
        b.push_back(kHex[c >> 4]);
        b.push_back(kHex[c & 0xF]);
      } else {
        b.push_back(ch);
      }
    }
  }
  b.append("\r\n", 2);
}

void AppendCard(std::string& b, const TAddrRec& card) {
  if (card.PrefEmail.empty()) return;
  b.append("BEGIN:VCARD\r\nEMAIL;PREF:");
  b.append(card.PrefEmail);
  b.append("\r\n", 2);
  for (const auto& e : card.Email) AppendEntry(b, "EMAIL", e);
  for (const auto& e : card.FN) AppendEntry(b, "FN", e);
  for (const auto& e : card.N) AppendN(b, e);
  for (const auto& e : card.Note) AppendNote(b, e);
  if (!card.NickName.empty()) {
    b.append("X-OSTRA-NICKNAME:");
    b.append(card.NickName);
    b.append("\r\n", 2);
  }
  for (const auto& e : card.URL) AppendEntry(b, "URL", e);
  for (const auto& e : card.Key) AppendEntry(b, "KEY", e);
  for (const auto& e : card.Adr) AppendAdr(b, e);
  for (const auto& e : card.Tel) AppendEntry(b, "TEL", e);
  for (const auto& e : card.BDay) AppendEntry(b, "BDAY", e);
  for (const auto& e : card.Other) AppendOther(b, e);
  b.append("END:VCARD\r\n");
}

}  // namespace

void WriteList(const TvCard& list, plat::TextWriter& out, std::string_view name) {
  for (const auto& e : list) {
    if (name == "N")
      AppendN(out.Buffer(), e);
    else
      AppendEntry(out.Buffer(), name, e);
  }
  out.MaybeFlush();
}

void WriteList(const TvOther& list, plat::TextWriter& out) {
  for (const auto& e : list) AppendOther(out.Buffer(), e);
  out.MaybeFlush();
}

void WriteNote(plat::TextWriter& out, const TAddrRec& card) {
  for (const auto& e : card.Note) AppendNote(out.Buffer(), e);
  out.MaybeFlush();
}

void WriteCard(plat::TextWriter& out, const TAddrRec& card) {
  AppendCard(out.Buffer(), card);
  out.MaybeFlush();
}

std::string CardToBytes(const TAddrRec& card) {
  std::string b;
  AppendCard(b, card);
  return b;
}

}  // namespace store
