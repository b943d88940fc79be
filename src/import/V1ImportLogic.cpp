// The version-1 client's book folder and EdMax folders: one "*.adr" file
// per group.
#include <algorithm>

#include "import/CsvImportLogic.h"
#include "import/ImportFormLogic.h"
#include "platform/Sjis.h"

namespace imp {

namespace {

constexpr std::size_t kGroupTextMax = 255;

std::string CutGroupText(std::string_view s) { return std::string(sjis::CutWidth(s, kGroupTextMax)); }

}  // namespace

std::string TakeMarker(std::string& remarks, std::string_view marker) {
  const std::size_t at = sjis::Find(sjis::Upper(remarks), marker);
  if (at == std::string::npos) return {};
  std::string rest = remarks.substr(at + marker.size());
  remarks.erase(at);
  // The text runs up to the next marker: any three characters and a colon.
  const std::size_t colon = rest.find(':');
  if (colon != std::string::npos && colon + 1 > 3) {
    remarks += rest.substr(colon - 3);
    return rest.substr(0, colon - 3);
  }
  return rest;
}

void TImportForm::ImportV1Book() {
  if (!book_) return;
  const std::vector<std::string> files = AdrFiles(false);
  if (files.empty()) return;
  if (!BeginRun(true)) return;
  store::TreeNode* root = SelectedNode();
  for (const std::string& name : files) {
    const std::string base = name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
    if (!base.empty() && base.front() != '.') {
      ImportV1File(OpenImportGroup(base));
    } else if (dialogs_) {
      dialogs_->MessageBox("Group[" + base + "] is can not convert", dlg::BoxType::Error, {dlg::Button::Ok});
    }
    Select(root);
    if (Cancelled) break;
  }
  // Unlike the design, the grid shows what came in at once, as after
  // every other import.
  EndRun(true);
}

void TImportForm::ImportV1File(store::TreeNode* node) {
  if (!node) return;
  book_->CurGroup = node->Group;
  const std::string caption = node->Caption;
  ImportFile f;
  if (!f.Open(Folder + caption + ".adr", EncodingWanted)) {
    if (dialogs_)
      dialogs_->MessageBox("File \"" + caption + ".adr\" File open error", dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  EncodingChosen = f.Chosen();
  std::string line;
  bool records = false;
  while (f.ReadLine(line)) {
    if (!records && line.find('\t') == std::string::npos) {
      if (!line.empty() && line.front() == '(') {
        std::string nick = line.substr(1);
        if (!nick.empty() && nick.back() == ')') nick.pop_back();
        std::replace(nick.begin(), nick.end(), kLostChar, '?');
        node->Group->NickName = nick;
        node->Group->Modified = true;
      }
      continue;
    }
    records = true;
    ImportV1Line(line);
    if (!Tick(f)) break;
  }
  if (f.Failed() && dialogs_)
    dialogs_->MessageBox("File \"" + caption + ".adr\" File open error", dlg::BoxType::Error, {dlg::Button::Ok});
}

void TImportForm::ImportV1Line(const std::string& line) {
  std::string field[6];
  std::size_t start = 0;
  for (int i = 0; i < 6 && start <= line.size(); ++i) {
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string::npos ? line.size() : tab;
    field[i] = line.substr(start, end - start);
    if (field[i] == ".") field[i].clear();
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  store::CardPtr card = store::NewCard();
  if (!field[0].empty()) card->PrefEmail = field[0];
  if (!field[1].empty()) AppendEntry(card->FN, "", field[1]);
  std::string remarks = field[2];
  if (!field[3].empty()) card->NickName = field[3];
  if (!field[4].empty()) AppendEntry(card->URL, "", field[4]);
  if (!field[5].empty()) AppendEntry(card->Key, "", field[5]);
  if (card->PrefEmail.empty()) return;
  const std::pair<const char*, const char*> tels[] = {{"TEL:", "WORK"}, {"FAX:", "FAX"}, {"PHS:", "PHS"}};
  for (const auto& [marker, params] : tels) {
    const std::string t = TakeMarker(remarks, marker);
    if (!t.empty()) AppendEntry(card->Tel, params, t);
  }
  const std::string adr = TakeMarker(remarks, "ADR:");
  const std::string zip = TakeMarker(remarks, "ZIP:");
  if (!adr.empty() || !zip.empty()) {
    store::TCardRec e;
    e.Params = "WORK";
    for (std::size_t i = 0; i < store::kAdrCount; ++i)
      e.Values.push_back(i == store::kAdrPostal ? zip : i == store::kAdrLocality ? adr : std::string());
    card->Adr.push_back(std::move(e));
  }
  if (!remarks.empty()) AppendEntry(card->Note, "", remarks);
  Add(std::move(card));
}

void TImportForm::ImportEdMax() {
  if (!book_) return;
  const std::vector<std::string> files = AdrFiles(false);
  bool ok = true;
  if (!files.empty()) {
    if (!BeginRun(true)) return;
    store::TreeNode* root = SelectedNode();
    for (const std::string& name : files) {
      if (!name.empty() && name.front() == '.') continue;  // hidden
      const std::string base = name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
      if (!base.empty() && base.front() != '.') {
        if (!ImportEdMaxFile(base)) {
          FileError(base);
          ok = false;
        }
      } else if (dialogs_) {
        dialogs_->MessageBox("Group[" + base + "] is can not convert", dlg::BoxType::Error, {dlg::Button::Ok});
      }
      book_->CurGroup = root->Group;
      Select(root);
      if (Cancelled) break;
    }
  } else {
    LossReport.clear();
  }
  EndRun(ok);
}

bool TImportForm::ImportEdMaxFile(const std::string& base) {
  store::TreeNode* g = OpenImportGroup(base);
  book_->CurGroup = g->Group;
  ImportFile f;
  if (!f.Open(Folder + base + ".adr", EncodingWanted)) return false;
  EncodingChosen = f.Chosen();
  std::string l1, l2, l3;
  while (f.ReadLine(l1)) {
    if (!f.ReadLine(l2)) l2.clear();
    if (!f.ReadLine(l3)) l3.clear();
    std::string name = l1, groups;
    const std::size_t tab = l1.find('\t');
    if (tab != std::string::npos) {
      name = l1.substr(0, tab);
      groups = CutGroupText(std::string_view(l1).substr(tab));
    }
    if (name.empty() || l2.empty() || l2.front() == '\t') continue;
    store::CardPtr card = store::NewCard();
    card->PrefEmail = l2;
    AppendEntry(card->FN, "", name);
    if (!l3.empty()) AppendEntry(card->Note, "", l3);
    if (groups.empty()) {
      Add(std::move(card));
    } else {
      store::TAddrRec* in = nullptr;
      while (!groups.empty()) {
        std::size_t sep = groups.find('\t');
        if (sep == std::string::npos) sep = groups.find(' ');
        if (sep == 0) {
          groups.erase(0, 1);
          continue;
        }
        const std::string gname = groups.substr(0, sep);
        store::TreeNode* sub = OpenImportGroup(gname);
        book_->CurGroup = sub->Group;
        // The first group takes the card into the book; the others only
        // add the card that is there now.
        if (card)
          in = Add(std::move(card));
        else if (in)
          book_->AddExisting(in, true);
        book_->CurGroup = g->Group;
        Select(g);
        groups = sep == std::string::npos ? std::string() : CutGroupText(std::string_view(groups).substr(sep + 1));
      }
    }
    if (!Tick(f)) break;
  }
  return !f.Failed();
}

}  // namespace imp
