#include "store/Book.h"

#include <algorithm>
#include <new>

#include "platform/Collate.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"

namespace store {

// ---- TreeNode / GroupTree ----------------------------------------------------

bool TreeNode::IsLastChild() const {
  return Parent && !Parent->Children.empty() && Parent->Children.back() == this;
}

TreeNode* GroupTree::Node(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return order_[static_cast<std::size_t>(index)];
}

namespace {

std::string NameKey(const TreeNode* parent, std::string_view caption) {
  std::string key(reinterpret_cast<const char*>(&parent), sizeof parent);
  key += sjis::Upper(caption);
  return key;
}

bool CaptionLess(const TreeNode* a, const TreeNode* b) { return a->SortKey < b->SortKey; }

// A stable sort over the keys the nodes keep, so sorting again does not
// collate every caption again.
void SortByCaption(std::vector<TreeNode*>& nodes, bool& sorted) {
  if (!std::is_sorted(nodes.begin(), nodes.end(), CaptionLess))
    std::stable_sort(nodes.begin(), nodes.end(), CaptionLess);
  sorted = true;
}

}  // namespace

std::vector<TreeNode*>& GroupTree::Siblings(TreeNode* parent) { return parent ? parent->Children : roots_; }

bool& GroupTree::SortedFlag(TreeNode* parent) { return parent ? parent->ChildrenSorted : rootsSorted_; }

TreeNode* GroupTree::Attach(TreeNode* parent, std::string caption, std::string key, TGrpList* group,
                            std::size_t at) {
  auto node = std::make_unique<TreeNode>();
  node->Caption = std::move(caption);
  node->SortKey = std::move(key);
  node->Parent = parent;
  node->Level = parent ? parent->Level + 1 : 0;
  node->Group = group;
  if (!parent) node->ImageIndex = node->SelectedIndex = kImgFolder;
  TreeNode* raw = node.get();
  storage_.push_back(std::move(node));
  auto& siblings = Siblings(parent);
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), raw);
  if (group) group->Node = raw;
  byName_.emplace(NameKey(parent, raw->Caption), raw);
  Place(raw, at);
  return raw;
}

TreeNode* GroupTree::Add(TreeNode* parent, std::string caption, TGrpList* group) {
  SortedFlag(parent) = false;
  std::string key = plat::CollateKey(caption);
  return Attach(parent, std::move(caption), std::move(key), group, Siblings(parent).size());
}

TreeNode* GroupTree::AddSorted(TreeNode* parent, std::string caption, TGrpList* group) {
  auto& siblings = Siblings(parent);
  bool& sorted = SortedFlag(parent);
  if (!sorted) {
    SortByCaption(siblings, sorted);
    Renumber();
  }
  std::string key = plat::CollateKey(caption);
  const auto to = std::upper_bound(siblings.begin(), siblings.end(), key,
                                   [](const std::string& k, const TreeNode* n) { return k < n->SortKey; });
  return Attach(parent, std::move(caption), std::move(key), group, static_cast<std::size_t>(to - siblings.begin()));
}

void GroupTree::Place(TreeNode* node, std::size_t at) {
  const auto& siblings = Siblings(node->Parent);
  std::size_t pos = node->Parent ? static_cast<std::size_t>(node->Parent->AbsIndex) + 1 : 0;
  if (at > 0) {
    const TreeNode* last = siblings[at - 1];
    while (!last->Children.empty()) last = last->Children.back();
    pos = static_cast<std::size_t>(last->AbsIndex) + 1;
  }
  order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(pos), node);
  for (std::size_t i = pos; i < order_.size(); ++i) order_[i]->AbsIndex = static_cast<int>(i);
}

TreeNode* GroupTree::FindChild(const TreeNode* parent, std::string_view caption) const {
  TreeNode* first = nullptr;
  const auto [from, to] = byName_.equal_range(NameKey(parent, caption));
  for (auto it = from; it != to; ++it)
    if (!first || it->second->AbsIndex < first->AbsIndex) first = it->second;
  return first;
}

void GroupTree::Unindex(const TreeNode* node) {
  const auto [from, to] = byName_.equal_range(NameKey(node->Parent, node->Caption));
  for (auto it = from; it != to; ++it)
    if (it->second == node) {
      byName_.erase(it);
      return;
    }
}

void GroupTree::Rename(TreeNode* node, std::string caption) {
  Unindex(node);
  node->Caption = std::move(caption);
  node->SortKey = plat::CollateKey(node->Caption);
  byName_.emplace(NameKey(node->Parent, node->Caption), node);
  SortedFlag(node->Parent) = false;
}

void GroupTree::Remove(TreeNode* node) {
  if (!node) return;
  auto& siblings = Siblings(node->Parent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  std::vector<TreeNode*> doomed{node};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (TreeNode* c : doomed[i]->Children) doomed.push_back(c);
  for (TreeNode* d : doomed) {
    if (d->Group && d->Group->Node == d) d->Group->Node = nullptr;
    Unindex(d);
  }
  const std::unordered_set<const TreeNode*> gone(doomed.begin(), doomed.end());
  storage_.erase(std::remove_if(storage_.begin(), storage_.end(),
                                [&](const std::unique_ptr<TreeNode>& n) { return gone.count(n.get()) != 0; }),
                 storage_.end());
  Renumber();
}

void GroupTree::SortChildren(TreeNode* parent) {
  SortByCaption(Siblings(parent), SortedFlag(parent));
  Renumber();
}

void GroupTree::SortAll() {
  SortByCaption(roots_, rootsSorted_);
  for (auto& n : storage_) SortByCaption(n->Children, n->ChildrenSorted);
  Renumber();
}

int GroupTree::MaxLevel() const {
  int m = 0;
  for (TreeNode* n : order_) m = std::max(m, n->Level);
  return m;
}

void GroupTree::Clear() {
  for (auto& n : storage_)
    if (n->Group && n->Group->Node == n.get()) n->Group->Node = nullptr;
  storage_.clear();
  roots_.clear();
  rootsSorted_ = false;
  order_.clear();
  byName_.clear();
}

void GroupTree::Renumber() {
  order_.clear();
  order_.reserve(storage_.size());
  std::vector<TreeNode*> stack(roots_.rbegin(), roots_.rend());
  while (!stack.empty()) {
    TreeNode* n = stack.back();
    stack.pop_back();
    n->AbsIndex = static_cast<int>(order_.size());
    order_.push_back(n);
    for (auto it = n->Children.rbegin(); it != n->Children.rend(); ++it) stack.push_back(*it);
  }
}

// ---- TGrpList ------------------------------------------------------------------

std::optional<std::size_t> TGrpList::IndexOf(const TAddrRec* c) const {
  if (!Contains(c)) return std::nullopt;
  auto it = std::find(cards_.begin(), cards_.end(), c);
  return static_cast<std::size_t>(it - cards_.begin());
}

void TGrpList::Append(TAddrRec* c) {
  cards_.push_back(c);
  ++members_[c];
}

void TGrpList::Insert(std::size_t i, TAddrRec* c) {
  cards_.insert(cards_.begin() + static_cast<std::ptrdiff_t>(std::min(i, cards_.size())), c);
  ++members_[c];
}

TAddrRec* TGrpList::RemoveAt(std::size_t i) {
  TAddrRec* c = cards_[i];
  cards_.erase(cards_.begin() + static_cast<std::ptrdiff_t>(i));
  std::uint32_t* n = members_.Find(c);
  if (--*n == 0) members_.Erase(c);
  return c;
}

bool TGrpList::RemoveFirst(const TAddrRec* c) {
  if (!Contains(c)) return false;
  RemoveAt(*IndexOf(c));
  return true;
}

void TGrpList::Move(std::size_t from, std::size_t to) {
  TAddrRec* c = cards_[from];
  cards_.erase(cards_.begin() + static_cast<std::ptrdiff_t>(from));
  cards_.insert(cards_.begin() + static_cast<std::ptrdiff_t>(to), c);
}

void TGrpList::SetOrder(std::vector<TAddrRec*> order) { cards_ = std::move(order); }

void TGrpList::Clear() {
  cards_.clear();
  members_.Clear();
}

// ---- TAllList ------------------------------------------------------------------

TAllList::~TAllList() {
  Nodes.Clear();
  // Every block in the arena belongs to this book: let the cards go without
  // freeing their lists one by one; the arena releases its chunks at once.
  arena_.Drop();
  keyArena_.Drop();
  // Freeing a big book waits on memory, card by card: fetch the cards a few
  // steps ahead, and the lists of the next ones, while one is destroyed.
  std::vector<TAddrRec*> cards;
  try {
    cards.reserve(byKey_.size());
  } catch (const std::bad_alloc&) {
    return;  // then the members go one by one
  }
  for (auto& entry : byKey_) cards.push_back(entry.second.card.release());
  std::sort(cards.begin(), cards.end(), std::less<>());
  constexpr std::size_t kCardAhead = 16, kListsAhead = 8;
  auto prefetchCard = [](const TAddrRec* c) {
    for (std::size_t off = 0; off < sizeof(TAddrRec); off += 64)
      __builtin_prefetch(reinterpret_cast<const char*>(c) + off);
  };
  auto prefetchLists = [](const TAddrRec* c) {
    for (const TvCard* l : {&c->Email, &c->FN, &c->N, &c->Note, &c->URL, &c->Key, static_cast<const TvCard*>(&c->Adr),
                            &c->Tel, &c->BDay})
      if (!l->empty()) __builtin_prefetch(l->data());
    if (!c->Other.empty()) __builtin_prefetch(c->Other.data());
    __builtin_prefetch(c->PrefEmail.data());
  };
  const std::size_t n = cards.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kCardAhead < n) prefetchCard(cards[i + kCardAhead]);
    if (i + kListsAhead < n) prefetchLists(cards[i + kListsAhead]);
    delete cards[i];
  }
  // What is left of the key map, its nodes and keys, lies in its own arena:
  // moved out to where no destructor will walk it, it goes with the arena.
  alignas(KeyMap) unsigned char left[sizeof(KeyMap)];
  ::new (static_cast<void*>(left)) KeyMap(std::move(byKey_));
}

std::string CardKey(const TAddrRec& c) { return sjis::Lower(c.PrefEmail); }

void TAllList::BuildOrder() const {
  if (orderValid_) return;
  order_.clear();
  order_.reserve(byKey_.size());
  for (const auto& entry : byKey_) {
    entry.second.pos = order_.size();
    order_.push_back(entry.second.card.get());
  }
  orderValid_ = true;
}

TAddrRec* TAllList::At(std::size_t i) const {
  BuildOrder();
  return i < order_.size() ? order_[i] : nullptr;
}

const std::vector<TAddrRec*>& TAllList::Cards() const {
  BuildOrder();
  return order_;
}

std::optional<std::size_t> TAllList::IndexOf(const TAddrRec* c) const {
  const KeyMap::iterator* it = where_.Find(c);
  if (!it) return std::nullopt;
  BuildOrder();
  return (*it)->second.pos;
}

TAllList::KeyMap::iterator TAllList::Insert(std::string_view key, CardPtr card, KeyMap::const_iterator hint) {
  TAddrRec* raw = card.get();
  // Right before the hint: callers pass the upper bound of the key, as the
  // book keeps equal addresses in the order they were added.
  auto it = byKey_.emplace_hint(hint, std::piecewise_construct, std::forward_as_tuple(key),
                                std::forward_as_tuple(Slot{std::move(card)}));
  where_[raw] = it;
  Invalidate();
  return it;
}

TAddrRec* TAllList::AddCard(CardPtr card, bool modified) {
  if (!card) return nullptr;
  TakeFirstEmailAsPref(*card);
  std::string key = CardKey(*card);
  if (key.empty()) return nullptr;  // a card without any address never enters the book
  TAddrRec* target = card.get();
  auto [lo, hi] = byKey_.equal_range(key);
  TAddrRec* mergeInto = nullptr;
  if (lo != hi) {
    const std::string name = GetValue(card->FN, "");
    for (auto it = lo; it != hi; ++it) {
      if (AdrCompFlg == 1 || GetValue(it->second.card->FN, "") == name) {
        mergeInto = it->second.card.get();
        break;
      }
    }
  }
  if (mergeInto) {
    MergeCard(*mergeInto, std::move(card));
    target = mergeInto;
  } else {
    Insert(key, std::move(card), hi);  // after every equal key
  }
  return AddExisting(target, modified);
}

TAddrRec* TAllList::AddExisting(TAddrRec* card, bool modified) {
  if (CurGroup && card && !CurGroup->Contains(card)) {
    CurGroup->Append(card);
    if (modified) CurGroup->Modified = true;
  }
  return card;
}

TAddrRec* TAllList::InsertFront(CardPtr card) {
  TAddrRec* raw = card.get();
  const std::string key = CardKey(*card);  // before the move below
  Insert(key, std::move(card), byKey_.begin());
  return raw;
}

CardPtr TAllList::Remove(const TAddrRec* c) {
  CardPtr owned = Detach(c);
  if (!owned || !CardUsesMemory(*owned, &arena_)) return owned;
  const UseCardMemory onHeap(std::pmr::new_delete_resource());
  return std::make_unique<TAddrRec>(*owned);
}

CardPtr TAllList::Detach(const TAddrRec* c) {
  const KeyMap::iterator* w = where_.Find(c);
  if (!w) return nullptr;
  const KeyMap::iterator at = *w;
  CardPtr owned = std::move(at->second.card);
  byKey_.erase(at);
  where_.Erase(c);
  Invalidate();
  return owned;
}

void TAllList::Resort(const TAddrRec* c) {
  CardPtr owned = Detach(c);
  if (!owned) return;
  const std::string key = CardKey(*owned);  // before the move below
  Insert(key, std::move(owned), byKey_.upper_bound(key));
}

TGrpList* TAllList::NewGroup(std::string path) {
  const UseCardMemory inBook(&arena_);
  auto g = std::make_unique<TGrpList>();
  g->Path = std::move(path);
  paths_.insert(g->Path);
  groups_.push_back(std::move(g));
  return groups_.back().get();
}

void TAllList::SetGroupPath(TGrpList& group, std::string path) {
  paths_.erase(group.Path);
  group.Path = std::move(path);
  paths_.insert(group.Path);
}

void TAllList::RemoveGroup(const TGrpList* group) {
  if (SingleGroup == group) SingleGroup = nullptr;
  if (CurGroup == group) CurGroup = nullptr;
  for (auto it = groups_.begin(); it != groups_.end(); ++it) {
    if (it->get() != group) continue;
    paths_.erase((*it)->Path);
    groups_.erase(it);
    return;
  }
}

dlg::Button TAllList::Message(const std::string& text, dlg::BoxType type, const dlg::Buttons& buttons) const {
  if (!Dialogs) return buttons.empty() ? dlg::Button::Ok : buttons.front();
  return Dialogs->MessageBox(text, type, buttons);
}

// ---- loading -------------------------------------------------------------------

namespace {

// What the walk skipped, told in one message after loading.
struct LoadProblems {
  struct Item {
    std::string path;
    std::string phrase;
  };
  std::vector<Item> items;
  bool tooDeepNoted = false;

  void Add(std::string path, std::string phrase) { items.push_back({std::move(path), std::move(phrase)}); }
  void AddOnce(std::string path, std::string phrase) {
    for (const Item& i : items)
      if (i.path == path && i.phrase == phrase) return;
    Add(std::move(path), std::move(phrase));
  }

  void Report(const TAllList& book) const {
    if (items.empty()) return;
    constexpr std::size_t kShown = 10;
    std::string text = "Some folders or files of the address book were skipped:";
    for (std::size_t i = 0; i < items.size() && i < kShown; ++i) text += "\r\n" + items[i].path + "\r\n" + items[i].phrase;
    if (items.size() > kShown) text += "\r\n(" + std::to_string(items.size() - kShown) + " more)";
    book.Message(text, dlg::BoxType::Warning, {dlg::Button::Ok});
  }
};

// A name that is not CP932 text, with its bytes above 0x7F spelled out so
// the message itself stays readable.
std::string ShowName(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out += "\\x";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  return out;
}

constexpr const char* kBadNamePhrase = "Name is neither UTF-8 nor Shift-JIS";
constexpr const char* kReadErrorPhrase = "Folder read error";

struct IdHash {
  std::size_t operator()(const plat::fs::FileId& id) const noexcept {
    return std::hash<std::uint64_t>()(id.ino * 1000003u ^ id.dev);
  }
};
using SeenFolders = std::unordered_set<plat::fs::FileId, IdHash>;

// Adds the new subfolders of one folder as groups. A folder already seen
// under another path (two links to one folder, a link back up the tree) is
// skipped, so that it is loaded and saved once.
void ScanOne(TAllList& book, TreeNode* parent, SeenFolders& seen, LoadProblems& problems) {
  const std::string folder = parent ? parent->Group->Path : book.Root;
  bool ok = true;
  const auto entries = plat::fs::List(folder, "*.*", plat::fs::Kind::Dirs, &ok);
  if (!ok && plat::fs::DirExists(folder)) problems.AddOnce(folder, kReadErrorPhrase);
  if (entries.empty()) return;
  if (parent && parent->Level + 1 >= kMaxLevels) {
    if (!problems.tooDeepNoted) {
      problems.Add(folder, "Folders nested more than " + std::to_string(kMaxLevels) + " levels deep are not loaded");
      problems.tooDeepNoted = true;
    }
    return;
  }
  for (const auto& e : entries) {
    if (e.badName) {
      problems.Add(folder + ShowName(e.name) + "/", kBadNamePhrase);
      continue;
    }
    std::string path;
    if (!parent) {
      const std::string ini = folder + e.name + "/Address.ini";
      if (plat::fs::FileExists(ini)) path = plat::IniFile(ini).ReadString("Settings", "Path", "");
    }
    if (path.empty()) path = folder + e.name + "/";
    if (book.HasGroupPath(path)) continue;
    if (const auto id = plat::fs::IdOf(path)) {
      if (!seen.insert(*id).second) continue;
    }
    TGrpList* g = book.NewGroup(path);
    book.Nodes.Add(parent, e.name, g);
  }
}

void ScanFolders(TAllList& book, LoadProblems& problems) {
  SeenFolders seen;
  if (const auto id = plat::fs::IdOf(book.Root)) seen.insert(*id);
  // Groups known from an earlier load keep their folders.
  for (const auto& g : book.Groups()) {
    if (const auto id = plat::fs::IdOf(g->Path)) seen.insert(*id);
  }
  // Depth first in tree order, with a stack of its own rather than the call
  // stack: children added by a scan are scanned before the following
  // siblings, and every node is scanned once.
  ScanOne(book, nullptr, seen, problems);
  const std::vector<TreeNode*>& roots = book.Nodes.Roots();
  std::vector<TreeNode*> stack(roots.rbegin(), roots.rend());
  while (!stack.empty()) {
    TreeNode* n = stack.back();
    stack.pop_back();
    if (!n->Group) continue;
    ScanOne(book, n, seen, problems);
    for (auto it = n->Children.rbegin(); it != n->Children.rend(); ++it) stack.push_back(*it);
  }
}

void LoadGroupFiles(TAllList& book, TreeNode* node, LoadProblems& problems) {
  if (!node || !node->Group) return;
  TGrpList& g = *node->Group;
  book.CurGroup = &g;
  const UseCardMemory inBook(book.Memory());  // the cards read here live in the book's arena
  g.NickName = plat::IniFile(g.Path + "Group.ini").ReadString("Settings", "NickName", "");
  g.FileNames.clear();
  bool ok = true;
  const auto files = plat::fs::List(g.Path, "*.bab", plat::fs::Kind::Files, &ok);
  if (!ok && plat::fs::DirExists(g.Path)) problems.AddOnce(g.Path, kReadErrorPhrase);
  for (const auto& e : files) {
    if (e.badName) {
      problems.Add(g.Path + ShowName(e.name), kBadNamePhrase);
      continue;
    }
    g.FileNames.push_back(e.name);
    const std::string path = g.Path + e.name;
    const ReadResult r = ReadAddressFile(book, plat::fs::ToDiskPath(path));
    if (r != ReadResult::Ok) book.Message(path + "\r\nFile open error", dlg::BoxType::Error, {dlg::Button::Ok});
    if (r != ReadResult::OpenError) {
      const auto t = plat::fs::ModTimeNs(path);
      if (t && *t > g.FileAge) g.FileAge = *t;
    }
  }
}

}  // namespace

void LoadTree(TAllList& book) {
  struct Ahead {
    TAllList& book;
    explicit Ahead(TAllList& b) : book(b) { book.PrepareMemoryAhead(true); }
    ~Ahead() { book.PrepareMemoryAhead(false); }
  } ahead(book);
  LoadProblems problems;
  ScanFolders(book, problems);
  book.Nodes.SortAll();
  const std::vector<TreeNode*> nodes = book.Nodes.InOrder();
  for (TreeNode* n : nodes) LoadGroupFiles(book, n, problems);
  problems.Report(book);
}

void LoadGroup(TAllList& book, TreeNode* node) {
  LoadProblems problems;
  LoadGroupFiles(book, node, problems);
  problems.Report(book);
}

// ---- groups --------------------------------------------------------------------

bool StripBadChars(std::string& text) {
  static constexpr std::string_view kBad = "\"*,/:;<>?\\|";
  bool clean = true;
  std::size_t i = 0;
  while (i < text.size()) {
    if (sjis::IsLead(text[i])) {
      i += 2;
    } else if (kBad.find(text[i]) != std::string_view::npos) {
      text.erase(i, 1);
      clean = false;
    } else {
      ++i;
    }
  }
  // "." and ".." name the folder itself or its parent: never a group.
  if (text == "." || text == "..") {
    text.clear();
    clean = false;
  }
  return clean;
}

int FindChildGroup(TAllList& book, std::string& name, int parent) {
  StripBadChars(name);
  if (name.empty()) return -1;
  const TreeNode* p = book.Nodes.Node(parent);
  if (!p && parent != -1) return -1;
  const TreeNode* n = book.Nodes.FindChild(p, name);
  return n ? n->AbsIndex : -1;
}

int AddGroup(TAllList& book, const std::string& name, int parent) {
  if (name.empty()) return -1;
  TreeNode* p = book.Nodes.Node(parent);
  if (p && p->Level + 1 >= kMaxLevels) return -1;
  const std::string base = p ? p->Group->Path : book.Root;
  TGrpList* g = book.NewGroup(base + name + "/");
  TreeNode* n = book.Nodes.AddSorted(p, name, g);
  if (!p) book.Nodes.SortAll();
  return n->AbsIndex;
}

void RecalcMarks(TAllList& book) {
  for (TAddrRec* c : book.Cards()) c->Mark = 0;
  int checked = 0;
  TGrpList* last = nullptr;
  for (TreeNode* n : book.Nodes.InOrder()) {
    if (n->ImageIndex != kImgChecked || !n->Group) continue;
    for (TAddrRec* c : n->Group->Cards()) c->Mark = 1;
    ++checked;
    last = n->Group;
  }
  book.SingleGroup = checked == 1 ? last : nullptr;
}

void CheckAll(TAllList& book, bool check) {
  for (TAddrRec* c : book.Cards()) c->Mark = 1;
  for (TreeNode* n : book.Nodes.InOrder()) {
    if (n->Level == 0) continue;
    if (check) {
      n->ImageIndex = n->SelectedIndex = kImgChecked;
    } else {
      n->ImageIndex = n->SelectedIndex = kImgUnchecked;
      if (n->Group)
        for (TAddrRec* c : n->Group->Cards()) c->Mark = 0;
    }
  }
  book.SingleGroup = nullptr;
}

std::string GroupDisplayPath(const TGrpList& group) {
  std::string path;
  for (const TreeNode* n = group.Node; n; n = n->Parent) {
    path.insert(0, n->Caption);
    if (n->Level >= 2) path.insert(0, "\\");
  }
  return path;
}

std::string GroupTreeText(const TGrpList& group, int width, bool rootLines) {
  if (width == 0) return "+-";
  const TreeNode* node = group.Node;
  if (!node) return "";
  std::string text;
  if (node->HasChildren()) {
    text = "+-";
    width = 0;
  }
  if (node->Level == 0) {
    if (rootLines) text.insert(0, "|-");
  } else {
    text.insert(0, node->IsLastChild() ? "*-" : "|-");
  }
  for (const TreeNode* a = node->Parent; a; a = a->Parent) {
    if (a->Level == 0) {
      if (rootLines) text.insert(0, "| ");
    } else {
      text.insert(0, a->IsLastChild() ? "  " : "| ");
    }
  }
  while (static_cast<int>(text.size()) < width) text += "--";
  return text;
}

}  // namespace store
