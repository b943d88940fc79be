#include "import/CsvImportLogic.h"

#include "import/ImportFormLogic.h"
#include "platform/Sjis.h"

namespace imp {

namespace {

// ReadQuoted on a view, so that splitting a long line never copies its rest.
void ReadQuotedView(std::string_view& text, std::string& out) {
  out.clear();
  bool first = true;
  while (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
    if (!first) out.push_back('"');
    // '"' is never the trail byte of a double-byte character.
    const std::size_t q = text.find('"');
    if (q == std::string_view::npos) {
      out.append(text);
      text = {};
    } else {
      out.append(text.substr(0, q));
      text.remove_prefix(q + 1);
    }
    first = false;
  }
}

}  // namespace

// '"' and ',' are never trail bytes of CP932.
bool EndsInQuotes(std::string_view line) {
  bool fieldStart = true, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"')
          ++i;
        else
          quoted = false;
      }
    } else if (c == ',') {
      fieldStart = true;
    } else if (c == '"' && fieldStart) {
      quoted = true;
      fieldStart = false;
    } else if (c != ' ' && c != '\t') {
      fieldStart = false;
    }
  }
  return quoted;
}

void ReadQuoted(std::string& text, std::string& out) {
  std::string_view v(text);
  ReadQuotedView(v, out);
  text.erase(0, text.size() - v.size());
}

void SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
  // The strings of the list are reused from line to line: an import splits
  // every line of the file into the same list.
  std::size_t count = 0;
  std::string_view rest(line);
  std::string field;
  bool last = true;
  for (;;) {
    rest = sjis::Trim(rest);
    if (rest.empty() && last) break;
    ReadQuotedView(rest, field);
    rest = sjis::TrimLeft(rest);
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) {
      field.append(rest);
      rest = {};
      last = true;
    } else {
      field.append(rest.substr(0, comma));
      rest.remove_prefix(comma + 1);
      last = false;
    }
    if (count == fields.size()) fields.emplace_back();
    fields[count++].assign(sjis::Trim(field));
  }
  fields.resize(count);
}

void AppendEntry(store::TvCard& list, std::string_view params, std::string_view v) {
  store::TCardRec e;
  e.Params = std::string(params);
  e.Values.push_back(v);
  list.push_back(std::move(e));
}

void SetNamePart(store::TAddrRec& card, std::size_t k, std::string_view v) {
  if (v.empty()) return;
  for (store::TCardRec& e : card.N) {
    if (!e.Params.empty()) continue;
    while (e.Values.size() <= k) e.Values.push_back(std::string_view());
    e.Values.Set(k, v);
    return;
  }
  store::TCardRec e;
  for (std::size_t i = 0; i < k; ++i) e.Values.push_back(std::string_view());
  e.Values.push_back(v);
  card.N.push_back(std::move(e));
}

void SetAdrPart(store::TAddrRec& card, std::string_view params, std::size_t k, std::string_view v) {
  if (v.empty()) return;
  for (store::TCardRec& e : card.Adr) {
    if (e.Params != params) continue;
    if (e.Values.size() <= k)
      while (e.Values.size() < store::kAdrCount) e.Values.push_back(std::string_view());
    e.Values.Set(k, v);
    return;
  }
  store::TCardRec e;
  e.Params = std::string(params);
  std::vector<std::string_view> values(store::kAdrCount);
  values[k] = v;
  e.Values.Assign(values);  // packed once, not re-packed per value
  card.Adr.push_back(std::move(e));
}

void SetOtherPart(store::TAddrRec& card, std::string_view name, std::size_t k, std::string_view v) {
  if (v.empty()) return;
  for (store::TOtherRec& e : card.Other) {
    if (e.Name != name || !e.Params.empty()) continue;
    while (e.Values.size() <= k) e.Values.push_back(std::string_view());
    e.Values.Set(k, v);
    return;
  }
  store::TOtherRec e;
  e.Name = std::string(name);
  for (std::size_t i = 0; i < k; ++i) e.Values.push_back(std::string_view());
  e.Values.push_back(v);
  card.Other.push_back(std::move(e));
}

void ApplyTarget(store::TAddrRec& card, int target, const std::string& v) {
  switch (target) {
    case 2: card.PrefEmail = v; break;
    case 3: AppendEntry(card.FN, "", v); break;
    case 4: SetNamePart(card, 0, v); break;
    case 5: SetNamePart(card, 1, v); break;
    case 6: SetNamePart(card, 2, v); break;
    case 7: SetOtherPart(card, "TITLE", 0, v); break;
    case 8: AppendEntry(card.Note, "", v); break;
    case 9: card.NickName = v; break;
    case 10: case 11: case 12: case 13: case 14: case 15:
      SetAdrPart(card, "WORK", static_cast<std::size_t>(target - 10), v);
      break;
    case 16: SetOtherPart(card, "ORG", 0, v); break;
    case 17: SetOtherPart(card, "ORG", 1, v); break;
    case 18: AppendEntry(card.Tel, "WORK", v); break;
    case 19: AppendEntry(card.Tel, "FAX", v); break;
    case 20: AppendEntry(card.Tel, "PHS", v); break;
    case 21: case 22: case 23: case 24: case 25:
      SetAdrPart(card, "HOME", static_cast<std::size_t>(target - 21), v);
      break;
    case 26: AppendEntry(card.Tel, "HOME", v); break;
    case 27: AppendEntry(card.Key, "", v); break;
    case 28: AppendEntry(card.URL, "", v); break;
    default: break;  // 0 "(Ignore)"; 1 is the group path
  }
}

// ---- TImportForm's CSV run ----

bool TImportForm::IsHeaderLine(const std::vector<std::string>& fields) const {
  bool any = false;
  for (const MappingRow& row : Rows) {
    if (row.TargetIndex <= 0 || row.TargetIndex >= kTargetCount) continue;
    if (row.Source < 0 || static_cast<std::size_t>(row.Source) >= fields.size()) return false;
    if (fields[static_cast<std::size_t>(row.Source)] != kTargetLabels[static_cast<std::size_t>(row.TargetIndex)])
      return false;
    any = true;
  }
  return any;
}

void TImportForm::CsvGroupPath(const std::string& v) {
  std::size_t start = 0;
  while (start < v.size()) {
    const std::size_t bs = sjis::Find(v, "\\", start);
    const std::size_t end = bs == std::string::npos ? v.size() : bs + 1;
    OpenImportGroup(v.substr(start, end - start));
    start = end;
  }
  if (store::TreeNode* n = SelectedNode()) book_->CurGroup = n->Group;
}

void TImportForm::ImportCsv(const std::string& path) {
  if (!book_) return;
  if (!BeginFileRun(path, true)) return;
  store::TreeNode* root = SelectedNode();
  std::string line;
  std::vector<std::string> fields;
  bool first = true;
  std::string more;
  while (file_.ReadLine(line)) {
    // A quoted field may hold line breaks; a runaway quote stops at 1,000
    // lines, so a broken file cannot make one card of the rest.
    for (int n = 0; n < 1000 && EndsInQuotes(line) && file_.ReadLine(more); ++n) {
      line += "\r\n";
      line += more;
    }
    Select(root);
    book_->CurGroup = root->Group;
    SplitCsvLine(line, fields);
    if (first && IsHeaderLine(fields)) {
      // A header naming the targets (the CSV export writes one) is no card.
      first = false;
      continue;
    }
    first = false;
    store::CardPtr card = store::NewCard();
    for (std::size_t i = 0; i < Rows.size() && i < fields.size(); ++i) {
      const MappingRow& row = Rows[i];
      if (row.Source < 0 || static_cast<std::size_t>(row.Source) >= fields.size()) continue;
      const std::string& v = fields[static_cast<std::size_t>(row.Source)];
      if (v.empty() || row.TargetIndex < 0 || row.TargetIndex >= kTargetCount) continue;
      if (row.TargetIndex == 1)
        CsvGroupPath(v);
      else
        ApplyTarget(*card, row.TargetIndex, v);
    }
    Add(std::move(card));
    if (!Tick(file_)) break;
  }
  EndFileRun();
}

}  // namespace imp
