// What vCard lines mean for the program's card, both ways: the reader turns
// the logical lines of VcardSyntax.h into cards, the writer turns a card
// back into a UTF-8 vCard block.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/VcardSyntax.h"
#include "import/ImportTextLogic.h"
#include "store/Card.h"

namespace exch {

// One card as read from a vCard file. Text is CP932; characters CP932
// cannot hold are imp::kLostChar until the importer reports them.
struct VcardCard {
  store::CardPtr Card;
  std::vector<std::string> Categories;  // group paths, '\\' between levels
  bool Ended = true;                    // false: the file lacked its END:VCARD
};

// Reads the cards of a vCard file (any mix of 2.1, 3.0 and 4.0).
class VcardReader {
 public:
  // fallback: how to read text without CHARSET= that is not valid UTF-8
  // (Auto: CP932, the encoding of the phones that omit it).
  VcardReader(std::string_view bytes, imp::Encoding fallback);
  // The next card; false at the end. Lines outside BEGIN/END are skipped.
  bool Next(VcardCard& card);
  std::size_t Offset() const { return lines_.Offset(bytes_); }

 private:
  struct Email {
    std::string Addr, Params;
    int Rank = 0;  // lower is preferred
  };
  void AddLine(const VLine& line, VcardCard& card);
  void Finish(VcardCard& card);
  std::string_view bytes_;
  imp::Encoding fallback_;
  VLineReader lines_;
  VLine line_;
  bool pendingBegin_ = false;
  std::vector<Email> emails_;
};

// The name the card is known by in reports: FN, else N, else its address.
std::string CardName(const store::TAddrRec& card);

// The vCard block of one card (UTF-8, CR LF, folded at 75 octets), appended
// to out. categories are CP932 group paths.
void AppendVcard(std::string& out, const store::TAddrRec& card, const std::vector<std::string>& categories,
                 VcardVersion version);

}  // namespace exch
