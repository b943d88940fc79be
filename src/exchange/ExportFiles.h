// The vCard and CSV exports of a book's cards, shared by the main window and
// the command line: which cards, their group paths and the file content.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "exchange/VcardSyntax.h"
#include "platform/TextFile.h"
#include "store/Book.h"

namespace exch {

enum class CsvEncoding { Cp932, Utf8 };

// The marked cards (Mark == 1: the checked groups' cards), or every card,
// in address order.
std::vector<const store::TAddrRec*> CardsToExport(const store::TAllList& book, bool all);

// The groups of every card as paths below the top-level folder, the levels
// joined by '\\' (CP932), in tree order. The CSV import's "Group Name" and
// the vCard import's CATEGORIES read them back as groups below
// "(New Imported)".
class GroupPaths {
 public:
  explicit GroupPaths(const store::TAllList& book);
  const std::vector<std::string>& Of(const store::TAddrRec* card) const;

 private:
  std::unordered_map<const store::TAddrRec*, std::vector<std::string>> paths_;
  std::vector<std::string> none_;
};

void WriteVcardFile(const store::TAllList& book, const std::vector<const store::TAddrRec*>& cards,
                    VcardVersion version, plat::TextWriter& out);

// The header: the CSV import's target labels "Group Name" to "URL" (column
// i is target i + 1), so that mapping column i to target i + 1 reads the file back.
std::vector<std::string> CsvHeader();
// The fields of one card in the header's order (CP932).
std::vector<std::string> CsvFields(const store::TAddrRec& card, const std::string& groupPath);
// One CSV line from fields: every field quoted, quotes doubled, line breaks
// inside a field written as CR LF within the quotes (spreadsheet programs and
// the CSV import read them back as part of the field).
std::string CsvLine(const std::vector<std::string>& fields);
// UTF-8 starts with a byte-order mark (what spreadsheet programs look for).
void WriteCsvFile(const store::TAllList& book, const std::vector<const store::TAddrRec*>& cards, CsvEncoding enc,
                  plat::TextWriter& out);

}  // namespace exch
