#include "exchange/VcardMap.h"

#include <algorithm>
#include <cstdlib>

#include "exchange/ExchangeText.h"
#include "platform/Sjis.h"

namespace exch {

VcardReader::VcardReader(std::string_view bytes, imp::Encoding fallback)
    : bytes_(bytes), fallback_(fallback), lines_(bytes) {
  // A byte-order mark before BEGIN is no part of the first line.
  if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") lines_ = VLineReader(bytes_.substr(3));
}

namespace {

bool IsBegin(const VLine& l) { return l.Name == "BEGIN" && sjis::EqualsIgnoreCase(sjis::Trim(l.Value), "VCARD"); }
bool IsEnd(const VLine& l) { return l.Name == "END" && sjis::EqualsIgnoreCase(sjis::Trim(l.Value), "VCARD"); }

bool Binary(const VLine& l) {
  const std::string* e = l.Param("ENCODING");
  return e && (sjis::EqualsIgnoreCase(*e, "B") || sjis::EqualsIgnoreCase(*e, "BASE64"));
}

// Line breaks would end the line in an address file and a byte 0x1A its
// reading: only a note keeps its line breaks (the file writes notes
// quoted-printable); other control bytes go, a tab becomes a space. No
// control byte is ever part of a CP932 character.
void Flatten(std::string& v, bool keepBreaks = false) {
  std::string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    const auto c = static_cast<unsigned char>(v[i]);
    if (c >= 0x20) {
      out.push_back(v[i]);
    } else if (c == '\r' || c == '\n') {
      const bool crlf = c == '\r' && i + 1 < v.size() && v[i + 1] == '\n';
      if (crlf) ++i;
      if (keepBreaks)
        out += "\r\n";
      else if (!out.empty() && out.back() != ' ')
        out.push_back(' ');
    } else if (c == '\t') {
      out.push_back(' ');
    }
  }
  v.swap(out);
}

// The parameters as the book writes them: the types bare and upper-cased,
// joined by ';' (PREF and INTERNET say nothing the book keeps), then any
// other parameter the line needs again (VALUE, ENCODING=B, ...).
// Parameter text the address file can hold on its line: printable ASCII
// without the characters that end a parameter or its value.
bool Printable(std::string_view s, bool value) {
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x21 || u > 0x7E || c == ':' || c == ';' || c == '"' || c == ',' || (!value && c == '=')) {
      if (!(value && (c == ' ' || c == ','))) return false;
    }
  }
  return !s.empty();
}

std::string BookParams(const VLine& l, bool keepOthers) {
  std::string out;
  auto add = [&out](std::string_view s) {
    if (!out.empty()) out.push_back(';');
    out.append(s);
  };
  for (const std::string& t : l.Types())
    if (t != "PREF" && t != "INTERNET" && Printable(t, false)) add(t);
  if (!keepOthers) return out;
  for (const VParam& p : l.Params) {
    if (p.Name == "TYPE" || p.Name == "CHARSET" || p.Name == "PREF") continue;
    if (p.Name == "ENCODING" && !Binary(l)) continue;
    if (!Printable(p.Name, false) || !Printable(p.Value, true)) continue;
    add(p.Name + "=" + sjis::UpperPlain(p.Value));
  }
  return out;
}

int PrefRank(const VLine& l) {
  if (const std::string* p = l.Param("PREF")) {
    const int n = std::atoi(p->c_str());
    return n > 0 ? n : 1;
  }
  for (const std::string& t : l.Types())
    if (t == "PREF") return 1;
  return 1000;
}

// ADR component k of a file (PO box; extended; street; locality; region;
// postal code; country) is value kAdrFromFile[k] of the card, whose display
// order is postal code, country, region, locality, street, extended, PO box.
constexpr std::size_t kAdrFromFile[store::kAdrCount] = {store::kAdrPoBox,   store::kAdrExtended, store::kAdrStreet,
                                                        store::kAdrLocality, store::kAdrRegion,   store::kAdrPostal,
                                                        store::kAdrCountry};

std::string_view StripScheme(std::string_view v, std::string_view scheme) {
  if (v.size() >= scheme.size() && sjis::EqualsIgnoreCase(v.substr(0, scheme.size()), scheme))
    v.remove_prefix(scheme.size());
  return v;
}

}  // namespace

bool VcardReader::Next(VcardCard& card) {
  card = VcardCard{};
  // Find the start of a card.
  if (!pendingBegin_) {
    for (;;) {
      if (!lines_.Next(line_)) return false;
      if (IsBegin(line_)) break;
    }
  }
  pendingBegin_ = false;
  card.Card = store::NewCard();
  emails_.clear();
  while (lines_.Next(line_)) {
    if (IsEnd(line_)) {
      Finish(card);
      return true;
    }
    if (IsBegin(line_)) {
      // The previous card lacked its END: keep what it had.
      pendingBegin_ = true;
      card.Ended = false;
      Finish(card);
      return true;
    }
    AddLine(line_, card);
  }
  card.Ended = false;
  Finish(card);
  return true;
}

void VcardReader::AddLine(const VLine& l, VcardCard& card) {
  const std::string& name = l.Name;
  if (name.empty() || name == "VERSION" || name == "PRODID") return;
  const VcardVersion ver = lines_.Version;
  store::TAddrRec& c = *card.Card;
  const bool binary = Binary(l);
  std::string raw = l.QuotedPrintable() ? DecodeQuotedPrintable(l.Value) : l.Value;

  // Which set the bytes are in, and so how they are split and converted.
  std::string charset;
  if (const std::string* cs = l.Param("CHARSET")) {
    charset = *cs;
  } else if (fallback_ == imp::Encoding::Cp932 && ver == VcardVersion::V21) {
    charset = "CP932";
  } else if (imp::ValidUtf8(raw) || fallback_ == imp::Encoding::Utf8) {
    charset = "UTF-8";
  } else {
    charset = "CP932";
  }
  const bool cp932 = ClassifyCharset(charset) == Charset::Cp932;

  auto values = [&](char sep) {
    std::vector<std::string> parts = SplitValue(raw, sep, ver, cp932);
    std::string conv;
    for (std::string& p : parts) {
      ToCp932(charset, p, conv);
      p.swap(conv);
    }
    return parts;
  };
  auto single = [&](bool keepBreaks) {
    std::string v = std::move(values(0).front());
    Flatten(v, keepBreaks);
    return v;
  };
  auto entry = [&](store::TvCard& list, std::string params, std::vector<std::string> parts) {
    store::TCardRec e;
    e.Params = std::move(params);
    for (std::string& p : parts) e.Values.push_back(std::move(p));
    list.push_back(std::move(e));
  };

  if (name == "EMAIL" && !binary) {
    std::string v(sjis::Trim(StripScheme(single(false), "mailto:")));
    if (!v.empty()) emails_.push_back(Email{std::move(v), BookParams(l, false), PrefRank(l)});
    return;
  }
  if (name == "CATEGORIES") {
    for (std::string& cat : values(',')) {
      Flatten(cat);
      const std::string_view t = sjis::Trim(cat);
      if (!t.empty()) card.Categories.emplace_back(t);
    }
    return;
  }
  if (name == "NICKNAME" && c.NickName.empty() && !binary) {
    c.NickName = single(false);
    return;
  }
  if (!binary) {
    if (name == "FN") return entry(c.FN, BookParams(l, false), {single(false)});
    if (name == "NOTE") return entry(c.Note, "", {single(true)});
    if (name == "URL") return entry(c.URL, BookParams(l, false), {single(false)});
    if (name == "KEY") return entry(c.Key, BookParams(l, false), {single(false)});
    if (name == "BDAY") return entry(c.BDay, "", {single(false)});
    if (name == "TEL") {
      std::string v = single(false);
      return entry(c.Tel, BookParams(l, false), {std::string(sjis::Trim(StripScheme(v, "tel:")))});
    }
    if (name == "N") {
      std::vector<std::string> parts = values(';');
      for (std::string& p : parts) Flatten(p);
      while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
      return entry(c.N, "", std::move(parts));
    }
    if (name == "ADR") {
      std::vector<std::string> parts = values(';');
      parts.resize(store::kAdrCount);
      std::vector<std::string> shown(store::kAdrCount);
      for (std::size_t k = 0; k < store::kAdrCount; ++k) {
        Flatten(parts[k]);
        shown[kAdrFromFile[k]] = std::move(parts[k]);
      }
      return entry(c.Adr, BookParams(l, false), std::move(shown));
    }
  }
  // Everything else, so that nothing the book can hold is dropped.
  store::TOtherRec o;
  o.Name = name;
  o.Params = BookParams(l, true);
  if (binary) {
    std::string v;
    v.reserve(raw.size());
    for (char ch : raw)
      if (static_cast<unsigned char>(ch) > ' ') v.push_back(ch);
    // Under a name the address file reads into a field of the card, the
    // entry would move there (and change its order) once saved and loaded
    // again: it goes there now.
    store::TvCard* own = name == "FN"      ? &c.FN
                         : name == "URL"   ? &c.URL
                         : name == "KEY"   ? &c.Key
                         : name == "TEL"   ? &c.Tel
                         : name == "BDAY"  ? &c.BDay
                         : name == "EMAIL" ? &c.Email
                         : name == "N"     ? &c.N
                                           : nullptr;
    if (own) return entry(*own, std::move(o.Params), {std::move(v)});
    if (name == "NOTE") return entry(c.Note, "", {std::move(v)});
    if (name == "ADR") {
      std::vector<std::string> shown(store::kAdrCount);
      shown[kAdrFromFile[0]] = std::move(v);
      return entry(c.Adr, std::move(o.Params), std::move(shown));
    }
    o.Values.push_back(std::move(v));
  } else if (name == "ORG" || (name == "GEO" && ver == VcardVersion::V21)) {
    std::vector<std::string> parts = values(';');
    for (std::string& p : parts) Flatten(p);
    for (std::string& p : parts) o.Values.push_back(std::move(p));
  } else {
    o.Values.push_back(single(false));
  }
  c.Other.push_back(std::move(o));
}

void VcardReader::Finish(VcardCard& card) {
  store::TAddrRec& c = *card.Card;
  if (emails_.empty()) return;
  std::size_t best = 0;
  for (std::size_t i = 1; i < emails_.size(); ++i)
    if (emails_[i].Rank < emails_[best].Rank) best = i;
  c.PrefEmail = emails_[best].Addr;
  for (std::size_t i = 0; i < emails_.size(); ++i) {
    if (i == best) continue;
    store::TCardRec e;
    e.Params = emails_[i].Params;
    e.Values.push_back(emails_[i].Addr);
    c.Email.push_back(std::move(e));
  }
}

std::string CardName(const store::TAddrRec& card) {
  for (const store::TCardRec& e : card.FN)
    if (!e.Values.AllEmpty()) return std::string(e.Values.front());
  for (const store::TCardRec& e : card.N) {
    std::string n;
    // Given name, then family name, as a reader says it in a list.
    for (std::size_t k : {std::size_t{1}, std::size_t{0}}) {
      if (k >= e.Values.size() || e.Values[k].empty()) continue;
      if (!n.empty()) n.push_back(' ');
      n.append(e.Values[k]);
    }
    if (!n.empty()) return n;
  }
  if (!card.NickName.empty()) return card.NickName;
  return card.PrefEmail;
}

// ---- writing ----

namespace {

bool HasType(std::string_view list, std::string_view t) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    if (list.substr(start, comma - start) == t) return true;
    start = comma + 1;
  }
  return false;
}

struct Writer {
  std::string& out;
  VcardVersion version;
  std::string line, utf8;

  // "NAME;TYPE=A,B;K=V" from the book's parameter text.
  void Head(std::string_view name, std::string_view params, std::string_view extraType = {}) {
    line.assign(name);
    std::string types(extraType), others;
    std::size_t start = 0;
    while (start < params.size()) {
      std::size_t semi = params.find(';', start);
      if (semi == std::string_view::npos) semi = params.size();
      const std::string_view p = sjis::Trim(params.substr(start, semi - start));
      start = semi + 1;
      if (p.empty()) continue;
      if (p.find('=') != std::string_view::npos) {
        others += ';';
        others.append(p);
      } else if (p != "PREF" && !HasType(types, p)) {
        if (!types.empty()) types += ',';
        types.append(p);
      }
    }
    if (!types.empty()) line += ";TYPE=" + types;
    line += others;
    line += ':';
  }
  void Text(std::string_view cp932) {
    Cp932ToUtf8(cp932, utf8);
    EscapeText(utf8, line);
  }
  void Values(const store::TValues& values, char sep) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) line += sep;
      Text(values[i]);
    }
  }
  void End() { AppendFolded(out, line); }
  void List(const store::TvCard& list, std::string_view name) {
    for (const store::TCardRec& e : list) {
      if (e.Values.AllEmpty()) continue;
      Head(name, e.Params);
      Values(e.Values, ';');
      End();
    }
  }
};

}  // namespace

void AppendVcard(std::string& out, const store::TAddrRec& c, const std::vector<std::string>& categories,
                 VcardVersion version) {
  Writer w{out, version, {}, {}};
  out += "BEGIN:VCARD\r\n";
  out += version == VcardVersion::V40 ? "VERSION:4.0\r\n" : version == VcardVersion::V30 ? "VERSION:3.0\r\n"
                                                                                          : "VERSION:2.1\r\n";
  // FN is required: the card's name, else its address.
  bool fn = false;
  for (const store::TCardRec& e : c.FN)
    if (!e.Values.AllEmpty()) fn = true;
  if (fn) {
    w.List(c.FN, "FN");
  } else {
    w.Head("FN", "");
    w.Text(CardName(c));
    w.End();
  }
  bool n = false;
  for (const store::TCardRec& e : c.N)
    if (!e.Values.AllEmpty()) n = true;
  if (n) {
    w.List(c.N, "N");
  } else if (version == VcardVersion::V30) {
    // 3.0 requires N: the whole name as the family name.
    w.Head("N", "");
    w.Text(CardName(c));
    w.line += ";;;;";
    w.End();
  }
  if (!c.NickName.empty()) {
    w.Head("NICKNAME", "");
    w.Text(c.NickName);
    w.End();
  }
  if (!c.PrefEmail.empty()) {
    if (version == VcardVersion::V40) {
      w.line = "EMAIL;PREF=1:";
    } else {
      w.Head("EMAIL", "", "INTERNET,PREF");
    }
    w.Text(c.PrefEmail);
    w.End();
  }
  for (const store::TCardRec& e : c.Email) {
    if (e.Values.AllEmpty()) continue;
    w.Head("EMAIL", e.Params, version == VcardVersion::V40 ? "" : "INTERNET");
    w.Values(e.Values, ';');
    w.End();
  }
  w.List(c.Tel, "TEL");
  for (const store::TCardRec& e : c.Adr) {
    if (e.Values.AllEmpty()) continue;
    w.Head("ADR", e.Params);
    // Display order back to the file's order.
    for (std::size_t k = 0; k < store::kAdrCount; ++k) {
      if (k) w.line += ';';
      if (kAdrFromFile[k] < e.Values.size()) w.Text(e.Values[kAdrFromFile[k]]);
    }
    w.End();
  }
  w.List(c.Note, "NOTE");
  w.List(c.URL, "URL");
  w.List(c.Key, "KEY");
  w.List(c.BDay, "BDAY");
  for (const store::TOtherRec& o : c.Other) {
    if (o.Name.empty() || o.Name == "VERSION" || o.Name == "BEGIN" || o.Name == "END") continue;
    w.Head(o.Name, o.Params);
    if (o.Params.find("ENCODING=B") != std::string::npos) {
      w.line.append(o.Values.Join(";"));  // base64 needs no escapes
    } else {
      w.Values(o.Values, ';');
    }
    w.End();
  }
  if (!categories.empty()) {
    w.line = "CATEGORIES:";
    for (std::size_t i = 0; i < categories.size(); ++i) {
      if (i) w.line += ',';
      w.Text(categories[i]);
    }
    w.End();
  }
  out += "END:VCARD\r\n";
}

}  // namespace exch
