// The loaded address book: every card once in address order, the groups
// (one per folder) that refer to the cards, and the group tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Dialogs.h"
#include "store/AddressFile.h"
#include "store/Card.h"
#include "store/PtrMap.h"

namespace store {

struct TGrpList;

// Image index of a tree node: its check state.
enum NodeImage : int { kImgUnchecked = 0, kImgChecked = 1, kImgFolder = 2 };

// Folders nested deeper than this are neither loaded nor made: the mail
// client's own paths end far sooner, and a chain of thousands of folders (or
// a loop the identity check cannot see) must not make the tree or the
// settings keys, which repeat every caption above a group, grow without bound.
inline constexpr int kMaxLevels = 100;

struct TreeNode {
  std::string Caption;             // the folder's name (CP932); changed through GroupTree::Rename
  int Level = 0;                   // 0 for top-level folders
  TreeNode* Parent = nullptr;
  std::vector<TreeNode*> Children;  // ordered
  int ImageIndex = kImgUnchecked;
  int SelectedIndex = kImgUnchecked;
  bool Expanded = false;
  TGrpList* Group = nullptr;
  int AbsIndex = -1;  // position in tree order, kept current by the tree
  // Caption's collation key, made once when the caption is set: sorting
  // siblings after every added group must not collate them all again.
  std::string SortKey;
  bool ChildrenSorted = false;  // Children are in caption order (kept by the tree)

  bool IsLastChild() const;
  bool HasChildren() const { return !Children.empty(); }
};

// The ordered group tree. Nodes are numbered in tree order (a node, then its
// children's subtrees in order); routines take and return those indexes.
class GroupTree {
 public:
  int Count() const { return static_cast<int>(order_.size()); }
  TreeNode* Node(int index) const;  // nullptr when out of range
  const std::vector<TreeNode*>& InOrder() const { return order_; }
  const std::vector<TreeNode*>& Roots() const { return roots_; }

  // Appends a node as the last child of parent (nullptr: last top-level node).
  TreeNode* Add(TreeNode* parent, std::string caption, TGrpList* group);
  // Adds a node among its siblings in caption order, after any equal caption;
  // siblings not yet in order are sorted first.
  TreeNode* AddSorted(TreeNode* parent, std::string caption, TGrpList* group);
  // The first child of parent (nullptr: the top level) whose caption equals
  // caption ignoring single-byte case; nullptr if none.
  TreeNode* FindChild(const TreeNode* parent, std::string_view caption) const;
  void Rename(TreeNode* node, std::string caption);
  // Removes a node with its subtree (the groups stay with the book).
  void Remove(TreeNode* node);
  // Sorts the children of one node (nullptr: the top level) or of every node.
  void SortChildren(TreeNode* parent);
  void SortAll();
  int MaxLevel() const;
  void Clear();

 private:
  void Renumber();
  // Puts a new leaf, already at index at of its siblings, into tree order.
  void Place(TreeNode* node, std::size_t at);
  TreeNode* Attach(TreeNode* parent, std::string caption, std::string key, TGrpList* group, std::size_t at);
  std::vector<TreeNode*>& Siblings(TreeNode* parent);
  bool& SortedFlag(TreeNode* parent);
  void Unindex(const TreeNode* node);

  std::vector<std::unique_ptr<TreeNode>> storage_;
  std::vector<TreeNode*> roots_;
  bool rootsSorted_ = false;
  std::vector<TreeNode*> order_;
  // Parent and upper-cased caption to node: finding a group by name (an
  // import does it for every line) must not walk thousands of siblings.
  std::unordered_multimap<std::string, TreeNode*> byName_;
};

// One group folder. Cards are references; the book owns them. Membership is
// indexed so that "is this card in the group" never scans the list.
struct TGrpList {
  std::string NickName;
  std::string Path;  // the group's folder, ending with '/'
  bool Modified = false;
  std::int64_t FileAge = 0;  // newest address-file time stamp seen (ns), 0 for a new group
  // The address files the last load or save found, so that one another
  // program removes can be noticed.
  std::vector<std::string> FileNames;
  TreeNode* Node = nullptr;

  std::size_t Count() const { return cards_.size(); }
  TAddrRec* At(std::size_t i) const { return cards_[i]; }
  const std::vector<TAddrRec*>& Cards() const { return cards_; }
  bool Contains(const TAddrRec* c) const { return members_.Contains(c); }
  std::optional<std::size_t> IndexOf(const TAddrRec* c) const;

  void Append(TAddrRec* c);
  void Insert(std::size_t i, TAddrRec* c);
  TAddrRec* RemoveAt(std::size_t i);
  bool RemoveFirst(const TAddrRec* c);  // the first occurrence
  void Move(std::size_t from, std::size_t to);
  // Replaces the order; the new list must hold the same cards.
  void SetOrder(std::vector<TAddrRec*> order);
  void Clear();

 private:
  std::vector<TAddrRec*> cards_;
  PtrMap<std::uint32_t> members_;  // card -> occurrences
};

// The book. Cards are sorted by lower-cased PrefEmail (ASCII letters only),
// equal keys in the order they were added.
class TAllList : public CardSink {
 public:
  TAllList() = default;
  TAllList(const TAllList&) = delete;
  TAllList& operator=(const TAllList&) = delete;
  ~TAllList() override;

  int AdrCompFlg = 0;
  int AdrSendMode = 2;
  std::string Root;         // the book folder, ending with '/'
  std::string InstallPath;  // the mail client's program folder
  std::string MailtoCmd;
  TGrpList* SingleGroup = nullptr;
  TGrpList* CurGroup = nullptr;
  GroupTree Nodes;
  dlg::Dialogs* Dialogs = nullptr;  // where file errors are shown

  // --- cards ---
  std::size_t Count() const { return byKey_.size(); }
  TAddrRec* At(std::size_t i) const;                    // position in address order
  const std::vector<TAddrRec*>& Cards() const;          // in address order
  bool Contains(const TAddrRec* c) const { return where_.Contains(c); }
  std::optional<std::size_t> IndexOf(const TAddrRec* c) const;

  // The one way a finished card enters the book (CurGroup set first).
  // Returns the card in the book (the one it was merged into, perhaps), or
  // nullptr when it had no address and was freed.
  TAddrRec* AddCard(CardPtr card, bool modified) override;
  // Adds a card already in the book to CurGroup.
  TAddrRec* AddExisting(TAddrRec* card, bool modified);
  // Puts a new card in front of every other card (its address is empty).
  TAddrRec* InsertFront(CardPtr card);
  // Takes a card out of the book (not out of its groups); the caller owns it.
  // A card that lives in the book's arena comes back as a copy on the heap,
  // so that it may outlive the book.
  CardPtr Remove(const TAddrRec* c);
  // Moves a card whose address changed to its new place.
  void Resort(const TAddrRec* c);

  // --- groups ---
  TGrpList* NewGroup(std::string path);
  // A renamed folder: the group (and a reload) knows it by its new path.
  void SetGroupPath(TGrpList& group, std::string path);
  // Frees a group already taken out of the tree; its cards stay in the book
  // and in every other group. Its path no longer counts as known.
  void RemoveGroup(const TGrpList* group);
  const std::vector<std::unique_ptr<TGrpList>>& Groups() const { return groups_; }
  bool HasGroupPath(const std::string& path) const { return paths_.count(path) != 0; }

  // Shows a message box when Dialogs is set.
  dlg::Button Message(const std::string& text, dlg::BoxType type, const dlg::Buttons& buttons) const;

  // The memory the loaded cards live in (see CardArena).
  std::pmr::memory_resource* Memory() { return &arena_; }
  // See CardArena::PrepareAhead; LoadTree turns it on while it reads.
  void PrepareMemoryAhead(bool on) { arena_.PrepareAhead(on); }
  std::size_t MappedBytes() const noexcept { return arena_.MappedBytes() + keyArena_.MappedBytes(); }

 private:
  struct Slot {
    CardPtr card;
    mutable std::size_t pos = 0;  // position in order_ while orderValid_
  };
  struct KeyLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a < b; }
  };
  using KeyMap = std::pmr::multimap<std::pmr::string, Slot, KeyLess>;
  KeyMap::iterator Insert(std::string_view key, CardPtr card, KeyMap::const_iterator hint);
  CardPtr Detach(const TAddrRec* c);
  void Invalidate() { orderValid_ = false; }
  void BuildOrder() const;

  // First, so that they outlive everything kept in them. The key map has
  // an arena of its own: its nodes and keys then lie together, not spread
  // among the cards, and the search every loaded card makes stays in cache.
  CardArena arena_;
  CardArena keyArena_;
  KeyMap byKey_{&keyArena_};
  PtrMap<KeyMap::iterator> where_;
  mutable std::vector<TAddrRec*> order_;
  mutable bool orderValid_ = true;
  std::vector<std::unique_ptr<TGrpList>> groups_;
  std::unordered_set<std::string> paths_;
};

std::string CardKey(const TAddrRec& c);  // PrefEmail lower-cased

void LoadTree(TAllList& book);
void LoadGroup(TAllList& book, TreeNode* node);
int FindChildGroup(TAllList& book, std::string& name, int parent);
int AddGroup(TAllList& book, const std::string& name, int parent);
bool StripBadChars(std::string& text);
void RecalcMarks(TAllList& book);
void CheckAll(TAllList& book, bool check);
std::string GroupDisplayPath(const TGrpList& group);
std::string GroupTreeText(const TGrpList& group, int width, bool rootLines);

}  // namespace store
