#include "exchange/ExportFiles.h"

#include "exchange/ExchangeText.h"
#include "exchange/VcardMap.h"
#include "import/ImportFormLogic.h"

namespace exch {

std::vector<const store::TAddrRec*> CardsToExport(const store::TAllList& book, bool all) {
  std::vector<const store::TAddrRec*> out;
  for (const store::TAddrRec* c : book.Cards())
    if (all || c->Mark == 1) out.push_back(c);
  return out;
}

GroupPaths::GroupPaths(const store::TAllList& book) {
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    if (n->Level == 0 || !n->Group) continue;
    std::string path;
    for (const store::TreeNode* p = n; p && p->Level > 0; p = p->Parent)
      path = p->Caption + (path.empty() ? "" : "\\" + path);
    for (const store::TAddrRec* c : n->Group->Cards()) {
      std::vector<std::string>& v = paths_[c];
      if (v.empty() || v.back() != path) v.push_back(path);
    }
  }
}

const std::vector<std::string>& GroupPaths::Of(const store::TAddrRec* card) const {
  const auto it = paths_.find(card);
  return it == paths_.end() ? none_ : it->second;
}

void WriteVcardFile(const store::TAllList& book, const std::vector<const store::TAddrRec*>& cards,
                    VcardVersion version, plat::TextWriter& out) {
  const GroupPaths groups(book);
  for (const store::TAddrRec* c : cards) {
    AppendVcard(out.Buffer(), *c, groups.Of(c), version);
    out.MaybeFlush();
  }
}

// ---- CSV ----

namespace {

constexpr int kFirstColumn = 1;  // "Group Name"

std::string First(const store::TvCard& list, std::string_view params) {
  for (const store::TCardRec& e : list)
    if (e.Params == params && !e.Values.empty()) return std::string(e.Values.front());
  return {};
}
std::string FirstAny(const store::TvCard& list) {
  for (const store::TCardRec& e : list)
    if (!e.Values.AllEmpty()) return std::string(e.Values.front());
  return {};
}
std::string Part(const store::TvCard& list, std::string_view params, std::size_t k) {
  for (const store::TCardRec& e : list)
    if (e.Params == params) return k < e.Values.size() ? std::string(e.Values[k]) : std::string();
  return {};
}
std::string OtherPart(const store::TvOther& list, std::string_view name, std::size_t k) {
  for (const store::TOtherRec& e : list)
    if (e.Name == name && e.Params.empty()) return k < e.Values.size() ? std::string(e.Values[k]) : std::string();
  return {};
}

}  // namespace

std::vector<std::string> CsvHeader() {
  std::vector<std::string> h;
  for (int t = kFirstColumn; t < imp::kTargetCount; ++t) h.emplace_back(imp::kTargetLabels[static_cast<std::size_t>(t)]);
  return h;
}

std::vector<std::string> CsvFields(const store::TAddrRec& c, const std::string& groupPath) {
  // The reverse of the CSV import's ApplyTarget, target by target.
  std::vector<std::string> f;
  f.reserve(imp::kTargetCount - kFirstColumn);
  for (int t = kFirstColumn; t < imp::kTargetCount; ++t) {
    switch (t) {
      case 1: f.push_back(groupPath); break;
      case 2: f.push_back(c.PrefEmail); break;
      case 3: f.push_back(FirstAny(c.FN)); break;
      case 4: case 5: case 6: f.push_back(Part(c.N, "", static_cast<std::size_t>(t - 4))); break;
      case 7: f.push_back(OtherPart(c.Other, "TITLE", 0)); break;
      case 8: f.push_back(FirstAny(c.Note)); break;
      case 9: f.push_back(c.NickName); break;
      case 10: case 11: case 12: case 13: case 14: case 15:
        f.push_back(Part(c.Adr, "WORK", static_cast<std::size_t>(t - 10)));
        break;
      case 16: f.push_back(OtherPart(c.Other, "ORG", 0)); break;
      case 17: f.push_back(OtherPart(c.Other, "ORG", 1)); break;
      case 18: f.push_back(First(c.Tel, "WORK")); break;
      case 19: f.push_back(First(c.Tel, "FAX")); break;
      case 20: f.push_back(First(c.Tel, "PHS")); break;
      case 21: case 22: case 23: case 24: case 25:
        f.push_back(Part(c.Adr, "HOME", static_cast<std::size_t>(t - 21)));
        break;
      case 26: f.push_back(First(c.Tel, "HOME")); break;
      case 27: f.push_back(FirstAny(c.Key)); break;
      case 28: f.push_back(FirstAny(c.URL)); break;
      default: f.emplace_back(); break;
    }
  }
  return f;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    line += '"';
    const std::string& v = fields[i];
    for (std::size_t k = 0; k < v.size(); ++k) {
      const char ch = v[k];
      if (ch == '"') {
        line += "\"\"";
      } else if (ch == '\r' || ch == '\n') {
        if (ch == '\r' && k + 1 < v.size() && v[k + 1] == '\n') ++k;
        line += "\r\n";
      } else {
        line += ch;
      }
    }
    line += '"';
  }
  return line;
}

void WriteCsvFile(const store::TAllList& book, const std::vector<const store::TAddrRec*>& cards, CsvEncoding enc,
                  plat::TextWriter& out) {
  const GroupPaths groups(book);
  std::string utf8;
  auto put = [&](const std::string& line) {
    if (enc == CsvEncoding::Utf8) {
      Cp932ToUtf8(line, utf8);
      out.WriteLine(utf8);
    } else {
      out.WriteLine(line);
    }
  };
  if (enc == CsvEncoding::Utf8) out.Write("\xEF\xBB\xBF");
  put(CsvLine(CsvHeader()));
  for (const store::TAddrRec* c : cards) {
    const std::vector<std::string>& g = groups.Of(c);
    put(CsvLine(CsvFields(*c, g.empty() ? std::string() : g.front())));
  }
}

}  // namespace exch
