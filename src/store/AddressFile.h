// Reading and writing address files (".bab"): vCard blocks, one property per
// line, CP932, CR LF. The mail client reads the same files, so the line order
// and the note encoding are fixed.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextFile.h"
#include "store/Card.h"

namespace store {

// Receives every card completed by an "END:VCARD" line. The loaded book is
// the real sink; tools and tests use their own.
class CardSink {
 public:
  virtual ~CardSink() = default;
  // Returns the card as it now stands in the sink (it may have been merged
  // into another one), or nullptr when the card was dropped.
  virtual TAddrRec* AddCard(CardPtr card, bool modified) = 0;
};

// Starts, fills or ends the current card with one logical (unfolded) line.
void ParseLine(CardSink& sink, CardPtr& current, std::string_view line);

// Decodes a quoted-printable NOTE value in place (only for the exact
// parameters "ENCODING=QUOTED-PRINTABLE").
void DecodeNote(TCardRec& entry);

enum class ReadResult { Ok, OpenError, ReadError };

// Reads one address file; each finished card goes to the sink. A card left
// open at the end is discarded. On ReadError the cards completed before the
// failure have been delivered.
ReadResult ReadAddressFile(CardSink& sink, const std::string& diskPath);
// The same over bytes in memory.
void ReadAddressBytes(CardSink& sink, std::string bytes);

void WriteList(const TvCard& list, plat::TextWriter& out, std::string_view name);
void WriteList(const TvOther& list, plat::TextWriter& out);
void WriteNote(plat::TextWriter& out, const TAddrRec& card);
void WriteCard(plat::TextWriter& out, const TAddrRec& card);

// The block WriteCard would write, as bytes.
std::string CardToBytes(const TAddrRec& card);

}  // namespace store
