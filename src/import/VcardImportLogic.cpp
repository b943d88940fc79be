// The vCard run of the import dialog (template 7): every card of the file
// through the same frame as the other readers; CATEGORIES become groups
// below "(New Imported)".
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "exchange/VcardMap.h"
#include "import/ImportFormLogic.h"
#include "platform/FileSystem.h"

namespace imp {

namespace {

bool ReadAll(const std::string& path, std::string& bytes) {
  const int fd = ::open(plat::fs::ToDiskPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bytes.clear();
  char buf[1 << 16];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

}  // namespace

void TImportForm::ImportVcard(const std::string& path) {
  if (!book_) return;
  std::string bytes;
  LossReport.clear();
  SkipReport.clear();
  if (!ReadAll(path, bytes)) {
    FileError(InFileName);
    EndRun(false);
    return;
  }
  {
    // Not a vCard file at all: say so rather than open an empty group.
    exch::VcardReader probe(bytes, EncodingWanted);
    exch::VcardCard first;
    if (!probe.Next(first)) {
      if (dialogs_)
        dialogs_->MessageBox(InFileName + "\r\nNo vCard (BEGIN:VCARD) in this file.", dlg::BoxType::Error,
                             {dlg::Button::Ok});
      EndRun(false);
      return;
    }
  }
  if (!BeginRun(true)) return;
  EncodingChosen = EncodingWanted != Encoding::Auto ? EncodingWanted
                                                    : DetectEncoding(std::string_view(bytes).substr(0, 1 << 20));
  store::TreeNode* root = SelectedNode();
  exch::VcardReader reader(bytes, EncodingWanted);
  exch::VcardCard vc;
  std::uint64_t count = 0;
  std::vector<store::TGrpList*> targets;
  // A category's group, once found or made: a big file names the same few
  // categories on every card.
  std::unordered_map<std::string, store::TGrpList*> groupOf;
  while (reader.Next(vc)) {
    store::TAddrRec& card = *vc.Card;
    // The loss markers are reported here with the card's name, so that
    // Add finds none left.
    const std::vector<std::string> lost = ScrubLoss(card);
    const std::string name = exch::CardName(card);
    if (card.PrefEmail.empty()) {
      // The book is keyed by address: such a card cannot be held.
      SkipReport.push_back(LossEntry{name.empty() ? "(no name)" : name, "no e-mail address"});
    } else {
      const std::string label = name == card.PrefEmail ? name : name + " <" + card.PrefEmail + ">";
      for (const std::string& f : lost) LossReport.push_back(LossEntry{label, f});
      targets.clear();
      for (const std::string& cat : vc.Categories) {
        store::TGrpList*& g = groupOf[cat];
        if (!g) {
          Select(root);
          CsvGroupPath(cat);
          g = book_->CurGroup;
        }
        if (std::find(targets.begin(), targets.end(), g) == targets.end()) targets.push_back(g);
      }
      if (targets.empty()) targets.push_back(root->Group);
      Select(root);
      book_->CurGroup = targets.front();
      if (store::TAddrRec* in = Add(std::move(vc.Card))) {
        for (std::size_t i = 1; i < targets.size(); ++i) {
          book_->CurGroup = targets[i];
          if (!targets[i]->Contains(in)) book_->AddExisting(in, true);
        }
      }
      book_->CurGroup = root->Group;
    }
    if (Progress && (++count & 255) == 0 && !Progress(reader.Offset(), bytes.size())) {
      Cancelled = true;
      break;
    }
  }
  Select(root);
  EndRun(true);
}

}  // namespace imp
