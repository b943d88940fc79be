#include "exchange/VcardSyntax.h"

#include "platform/Sjis.h"

namespace exch {

const std::string* VLine::Param(std::string_view name) const {
  for (const VParam& p : Params)
    if (p.Name == name) return &p.Value;
  return nullptr;
}

std::vector<std::string> VLine::Types() const {
  std::vector<std::string> out;
  for (const VParam& p : Params) {
    if (p.Name != "TYPE") continue;
    std::size_t start = 0;
    while (start <= p.Value.size()) {
      std::size_t comma = p.Value.find(',', start);
      if (comma == std::string::npos) comma = p.Value.size();
      std::string t = sjis::UpperPlain(std::string_view(p.Value).substr(start, comma - start));
      if (!t.empty()) out.push_back(std::move(t));
      start = comma + 1;
    }
  }
  return out;
}

bool VLine::QuotedPrintable() const {
  const std::string* e = Param("ENCODING");
  return e && sjis::EqualsIgnoreCase(*e, "QUOTED-PRINTABLE");
}

bool VLineReader::Physical(std::string_view& line) {
  if (rest_.empty()) return false;
  std::size_t end = 0;
  while (end < rest_.size() && rest_[end] != '\r' && rest_[end] != '\n') ++end;
  line = rest_.substr(0, end);
  if (end < rest_.size()) {
    const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
    end += crlf ? 2 : 1;
  }
  rest_.remove_prefix(end);
  return true;
}

namespace {

// True when the name-and-parameters part of a line asks for
// quoted-printable (checked before the line is complete).
bool HeadSaysQp(std::string_view line) {
  const std::size_t colon = line.find(':');
  const std::string_view head = line.substr(0, colon == std::string_view::npos ? line.size() : colon);
  // Every line passes here: look without copying or upper-casing it.
  constexpr std::string_view kQp = "QUOTED-PRINTABLE";
  for (std::size_t p = 0; p + kQp.size() <= head.size(); ++p)
    if ((head[p] == 'Q' || head[p] == 'q') && sjis::EqualsIgnoreCase(head.substr(p, kQp.size()), kQp)) return true;
  return false;
}

}  // namespace

bool VLineReader::Next(VLine& line) {
  std::string_view phys;
  for (;;) {
    if (!Physical(phys)) return false;
    if (!sjis::Trim(phys).empty()) break;
  }
  logical_.assign(phys);
  const bool qp = HeadSaysQp(phys);
  for (;;) {
    if (qp && !logical_.empty() && logical_.back() == '=') {
      std::string_view next;
      if (!Physical(next)) break;
      // A soft break: the "=" goes, the next line continues the value.
      logical_.pop_back();
      logical_.append(next);
      continue;
    }
    if (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) {
      Physical(phys);
      if (Version == VcardVersion::V21)
        logical_.append(phys);
      else
        logical_.append(phys.substr(1));
      continue;
    }
    break;
  }
  if (!ParseVLine(logical_, line)) {
    line = VLine{};
    line.Name = "";
    line.Value = logical_;
  }
  if (line.Name == "VERSION") {
    const std::string_view v = sjis::Trim(line.Value);
    Version = v == "4.0" ? VcardVersion::V40 : v == "3.0" ? VcardVersion::V30 : VcardVersion::V21;
  } else if (line.Name == "BEGIN") {
    Version = VcardVersion::V21;  // until the card says otherwise
  }
  return true;
}

bool ParseVLine(std::string_view text, VLine& out) {
  out.Group.clear();
  out.Name.clear();
  out.Params.clear();
  out.Value.clear();
  // The value starts after the first ':' outside double quotes.
  std::size_t colon = std::string_view::npos;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == std::string_view::npos) return false;
  std::string_view head = text.substr(0, colon);
  out.Value.assign(text.substr(colon + 1));
  // name[;param...]
  std::vector<std::string_view> parts;
  quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= head.size(); ++i) {
    if (i < head.size() && head[i] == '"') quoted = !quoted;
    if (i == head.size() || (head[i] == ';' && !quoted)) {
      parts.push_back(head.substr(start, i - start));
      start = i + 1;
    }
  }
  std::string_view name = sjis::Trim(parts.front());
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    out.Group.assign(name.substr(0, dot));
    name.remove_prefix(dot + 1);
  }
  // A name is letters, digits and '-': anything else is no property line
  // (binary garbage, a stray piece of a broken value).
  if (name.empty()) return false;
  for (char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  for (char c : out.Group)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  out.Name = sjis::UpperPlain(name);
  for (std::size_t k = 1; k < parts.size(); ++k) {
    std::string_view p = sjis::Trim(parts[k]);
    if (p.empty()) continue;
    VParam vp;
    const std::size_t eq = p.find('=');
    if (eq == std::string_view::npos) {
      // 2.1's bare parameters: an encoding, a charset-less type.
      if (p.find_first_of(std::string_view("\0\x1a\r\n", 4)) != std::string_view::npos) continue;
      const std::string up = sjis::UpperPlain(p);
      if (up == "QUOTED-PRINTABLE" || up == "BASE64" || up == "8BIT" || up == "7BIT") {
        vp.Name = "ENCODING";
      } else {
        vp.Name = "TYPE";
      }
      vp.Value.assign(p);
    } else {
      vp.Name = sjis::UpperPlain(sjis::Trim(p.substr(0, eq)));
      std::string_view v = sjis::Trim(p.substr(eq + 1));
      std::string value;
      for (char c : v)
        if (c != '"' && static_cast<unsigned char>(c) >= 0x20) value.push_back(c);
      vp.Value = std::move(value);
    }
    out.Params.push_back(std::move(vp));
  }
  return true;
}

namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string DecodeQuotedPrintable(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '=' && i + 2 < in.size() && Hex(in[i + 1]) >= 0 && Hex(in[i + 2]) >= 0) {
      out.push_back(static_cast<char>(Hex(in[i + 1]) * 16 + Hex(in[i + 2])));
      i += 2;
    } else {
      out.push_back(in[i]);
    }
  }
  return out;
}

std::vector<std::string> SplitValue(std::string_view value, char sep, VcardVersion v, bool cp932) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (cp932 && sjis::IsLead(c) && i + 1 < value.size()) {
      out.back().push_back(c);
      out.back().push_back(value[++i]);
      continue;
    }
    if (c == '\\' && i + 1 < value.size()) {
      const char n = value[i + 1];
      if (v == VcardVersion::V21) {
        if (n == ';') {
          out.back().push_back(';');
          ++i;
          continue;
        }
        out.back().push_back(c);
        continue;
      }
      ++i;
      if (n == 'n' || n == 'N')
        out.back() += "\r\n";
      else
        out.back().push_back(n);  // "\,", "\;", "\\", "\:" and any other
      continue;
    }
    if (sep && c == sep) {
      out.emplace_back();
      continue;
    }
    out.back().push_back(c);
  }
  return out;
}

void EscapeText(std::string_view in, std::string& out) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ',': out += "\\,"; break;
      case ';': out += "\\;"; break;
      case '\r':
        if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
        out += "\\n";
        break;
      case '\n': out += "\\n"; break;
      default: out.push_back(c);
    }
  }
}

void AppendFolded(std::string& out, std::string_view text) {
  constexpr std::size_t kMax = 75;
  std::size_t limit = kMax;
  while (text.size() > limit) {
    std::size_t cut = limit;
    // Back up to the start of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = limit;
    out.append(text.substr(0, cut));
    out += "\r\n ";
    text.remove_prefix(cut);
    limit = kMax - 1;  // the leading space counts
  }
  out.append(text);
  out += "\r\n";
}

}  // namespace exch
