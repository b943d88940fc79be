// AL-Mail32 and Datula address files: nested "GROUP " ... "END GROUP"
// blocks around record lines.
#include <vector>

#include "import/CsvImportLogic.h"
#include "import/ImportFormLogic.h"
#include "platform/Sjis.h"

namespace imp {

namespace {

// Deeper blocks stay in the group of the deepest allowed one: every level
// is a folder on disk, and a hostile file must not exhaust the path length.
constexpr std::size_t kMaxDepth = 32;

enum class LineKind { Group, End, Separator, Record };

LineKind Classify(std::string_view line, std::string& groupName) {
  const std::string up = sjis::Upper(line);
  if (up.compare(0, 6, "GROUP ") == 0) {
    groupName = std::string(sjis::Trim(line.substr(5)));
    return LineKind::Group;
  }
  if (up == "END GROUP") return LineKind::End;
  if (up == "SEPARATOR") return LineKind::Separator;
  return LineKind::Record;
}

std::string Trimmed(std::string_view s) { return std::string(sjis::Trim(s)); }

}  // namespace

void TImportForm::ImportAlmail(const std::string& path) {
  if (!book_) return;
  if (!BeginFileRun(path, false)) return;
  store::TreeNode* first = SelectedNode();
  // A stray "END GROUP" ends a top-level block; the next one continues in
  // the same "(New Imported)" instead of nesting a second one in it.
  while (!ReadAlmailGroup("") && !Cancelled) Select(first);
  EndFileRun();
}

void TImportForm::ImportDatula(const std::string& path) {
  if (!book_) return;
  if (!BeginFileRun(path, false)) return;
  store::TreeNode* first = SelectedNode();
  while (!ReadDatulaGroup("") && !Cancelled) Select(first);
  EndFileRun();
}

// One top-level block with its inner blocks, kept on a stack rather than
// in recursion so that nesting depth cannot overflow the call stack.
// True when the file ended, false when "END GROUP" closed the block.
bool TImportForm::ReadAlmailGroup(const std::string& name) {
  std::vector<store::TreeNode*> open{OpenImportGroup(name)};
  std::size_t ignored = 0;  // blocks opened beyond kMaxDepth
  book_->CurGroup = open.back()->Group;
  std::string line, inner;
  while (file_.ReadLine(line)) {
    if (!Tick(file_)) return true;
    switch (Classify(sjis::TrimLeft(line), inner)) {
      case LineKind::Group:
        if (open.size() >= kMaxDepth) {
          ++ignored;
          break;
        }
        open.push_back(OpenImportGroup(inner));
        book_->CurGroup = open.back()->Group;
        break;
      case LineKind::End:
        if (ignored > 0) {
          --ignored;
          break;
        }
        open.pop_back();
        if (open.empty()) return false;
        Select(open.back());
        book_->CurGroup = open.back()->Group;
        break;
      case LineKind::Separator: break;
      case LineKind::Record: AlmailRecord(line); break;
    }
  }
  return true;
}

bool TImportForm::ReadDatulaGroup(const std::string& name) {
  std::vector<store::TreeNode*> open{OpenImportGroup(name)};
  std::size_t ignored = 0;
  book_->CurGroup = open.back()->Group;
  std::string line, inner;
  while (file_.ReadLine(line)) {
    if (!Tick(file_)) return true;
    switch (Classify(line, inner)) {
      case LineKind::Group:
        if (open.size() >= kMaxDepth) {
          ++ignored;
          break;
        }
        open.push_back(OpenImportGroup(inner));
        book_->CurGroup = open.back()->Group;
        break;
      case LineKind::End:
        if (ignored > 0) {
          --ignored;
          break;
        }
        open.pop_back();
        if (open.empty()) return false;
        Select(open.back());
        book_->CurGroup = open.back()->Group;
        break;
      case LineKind::Separator: break;
      case LineKind::Record: DatulaRecord(line); break;
    }
  }
  return true;
}

void TImportForm::AlmailRecord(std::string line) {
  // The label ends at the first single colon; "::" stands for ":".
  std::size_t colon = line.find(':');
  while (colon != std::string::npos && colon + 1 < line.size() && line[colon + 1] == ':') {
    line.erase(colon, 1);
    colon = line.find(':', colon + 1);
  }
  if (colon == std::string::npos) return;
  const std::string label = Trimmed(std::string_view(line).substr(0, colon));
  std::string list = Trimmed(std::string_view(line).substr(colon + 1));
  std::string quoted;
  while (!list.empty()) {
    ReadQuoted(list, quoted);
    std::size_t c = list.find(',');
    if (c == std::string::npos) c = list.size();
    const std::size_t o = list.find('(');
    if (o != std::string::npos && o < c) {
      const std::size_t close = list.find(')');
      c = close == std::string::npos ? list.size() : close + 1;
    }
    const std::string item = quoted + list.substr(0, c);
    list = c + 1 < list.size() ? Trimmed(std::string_view(list).substr(c + 1)) : std::string();

    store::CardPtr card = store::NewCard();
    std::string fn, note;
    const std::size_t lt = item.find('<');
    const std::size_t par = item.find('(');
    if (lt != std::string::npos) {
      const std::size_t gt = item.find('>', lt);
      card->PrefEmail = Trimmed(std::string_view(item).substr(lt + 1, gt == std::string::npos ? std::string::npos : gt - lt - 1));
      fn = Trimmed(std::string_view(item).substr(0, lt));
      note = label;
    } else if (par != std::string::npos) {
      const std::size_t close = item.find(')', par);
      card->PrefEmail = Trimmed(std::string_view(item).substr(0, par));
      fn = Trimmed(std::string_view(item).substr(par + 1, close == std::string::npos ? std::string::npos : close - par - 1));
      note = label;
    } else {
      card->PrefEmail = Trimmed(item);
      fn = label;
    }
    if (!fn.empty()) AppendEntry(card->FN, "", fn);
    if (!note.empty()) AppendEntry(card->Note, "", note);
    Add(std::move(card));
  }
}

void TImportForm::DatulaRecord(const std::string& line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0) return;
  store::CardPtr card = store::NewCard();
  std::string name = line.substr(0, colon);
  store::TAddrRec* in = nullptr;
  std::string_view rest(line);
  std::size_t p = colon + 1;  // what the next step drops: up to and with the separator
  for (int k = 1; !rest.empty(); ++k) {
    rest = sjis::Trim(rest.substr(std::min(p, rest.size())));
    const std::size_t tab = rest.find('\t');
    p = tab == std::string_view::npos ? 0 : tab + 1;
    const std::string field = tab == std::string_view::npos ? std::string() : std::string(rest.substr(0, tab));
    if (k == 1) {
      AppendEntry(card->FN, "", name);
      card->PrefEmail = Trimmed(field);
      in = Add(std::move(card));
      // No address: no card, and the later fields have nowhere to go.
      if (!in) return;
    } else if (k == 3) {
      AppendEntry(in->Tel, "WORK", field);
    } else if (k == 4) {
      name = field;
    } else if (k == 5) {
      store::TOtherRec org;
      org.Name = "ORG";
      org.Values.push_back(name);
      org.Values.push_back(field);
      in->Other.push_back(std::move(org));
    } else if (k == 7) {
      std::string note;
      for (std::size_t i = 0; i < rest.size(); ++i) {
        if (sjis::IsLead(rest[i]) && i + 1 < rest.size()) {
          note.append(rest.substr(i, 2));  // a trail byte may be '\\'
          ++i;
        } else if (rest[i] == '\\' && i + 1 < rest.size() && rest[i + 1] == 'n') {
          note += "\r\n";
          ++i;
        } else {
          note.push_back(rest[i]);
        }
      }
      AppendEntry(in->Note, "", note);
      break;
    }
  }
  if (in) NoteLoss(*in);
}

}  // namespace imp
