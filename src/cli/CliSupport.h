// What the commands of q7addr-cli share: the usage texts, the one-line
// complaint about bad usage, listings in the locale's encoding, message
// boxes as lines on standard error, loading a book folder, and the command
// entry points that main() dispatches to.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Dialogs.h"
#include "store/Book.h"

namespace cli {

// The whole usage text (q7addr-cli --help; the man page is made from it).
std::string Usage();
// The usage of one command, or empty for a name that is none.
std::string CommandUsage(const std::string& command);

// Bad usage: one line on standard error pointing at --help; returns 2.
int BadUsage(const std::string& what);

// Listings for people (tree, cards, search) are converted from CP932 to
// UTF-8 when this is on; main() turns it on for a UTF-8 locale without
// --raw. File formats never go through it.
void SetListingUtf8(bool on);
// True when the codeset of the user's locale (setlocale(LC_ALL, "")) is UTF-8.
bool LocaleIsUtf8();
// CP932 to UTF-8; a byte that does not start a CP932 character is kept.
std::string Cp932ToUtf8Lenient(const std::string& in);

// Message boxes become lines on standard error; questions get Cancel (or the
// only button there is), so a script never writes over an outside change.
class ConsoleDialogs : public dlg::NullDialogs {
 public:
  dlg::Button MessageBox(const std::string& text, dlg::BoxType, const dlg::Buttons& buttons) override {
    // The box's line breaks (CR LF or CR) become plain line ends.
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        lines.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      } else {
        lines.push_back(text[i]);
      }
    }
    std::fwrite(lines.data(), 1, lines.size(), stderr);
    std::fputc('\n', stderr);
    for (dlg::Button b : buttons)
      if (b == dlg::Button::Cancel) return b;
    return buttons.empty() ? dlg::Button::Ok : buttons.front();
  }
};

// Loads the book in folder `arg` (a path as typed, UTF-8 on disk).
bool LoadBook(store::TAllList& book, const std::string& arg, dlg::Dialogs& d);

// Writes bytes to standard output as they are.
void Put(const std::string& s);
// Writes a line of a listing for people: in UTF-8 when SetListingUtf8 is on.
void PutListing(const std::string& s);
// The groups holding each card, in tree order, joined with ";" as `cards`
// lists them. Made once for a listing: one pass over the memberships.
class CardGroups {
 public:
  explicit CardGroups(const store::TAllList& book);
  const std::string& Of(const store::TAddrRec* c) const;

 private:
  struct Text {
    std::string joined;
    int lastNode = -1;  // a card listed twice in one group names it once
  };
  std::unordered_map<const store::TAddrRec*, Text> text_;
};

// One line of `cards`: address TAB name TAB the groups holding the card.
void PutCard(const CardGroups& groups, const store::TAddrRec* c);

// The commands; each returns the exit status (2 bad usage, 1 failure).
int Tree(store::TAllList& book);
int Cards(store::TAllList& book);
int Resave(store::TAllList& book);
int Recode(const std::vector<std::string>& files);
int Search(const std::vector<std::string>& args, int combine);
int Import(const std::vector<std::string>& args, int combine);
int Print(const std::vector<std::string>& args, int combine);
int Export(const std::vector<std::string>& args, int combine);
int ExportExchange(const std::vector<std::string>& args, int combine, bool vcard);

}  // namespace cli
