// The CSV line splitter, the quoted-text reader it shares with the AL-Mail32
// reader, and the setters that put one CSV field into a card.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Card.h"

namespace imp {

// Reads the leading quoted section of text into out and drops it from text
// (a doubled quote inside stands for one quote); out is empty when text does
// not begin with a double quote.
void ReadQuoted(std::string& text, std::string& out);

// True when the line ends inside a field that opened with a quote: the
// field goes on in the next line (a note with line breaks, as spreadsheet
// programs and the CSV export write it). A quote inside a field opens nothing.
bool EndsInQuotes(std::string_view line);

// The fields of one CSV line (none for an empty or blank line).
void SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

void SetNamePart(store::TAddrRec& card, std::size_t k, std::string_view v);
void SetAdrPart(store::TAddrRec& card, std::string_view params, std::size_t k, std::string_view v);
void SetOtherPart(store::TAddrRec& card, std::string_view name, std::size_t k, std::string_view v);

// Appends an entry with the parameters and the single value v to list.
void AppendEntry(store::TvCard& list, std::string_view params, std::string_view v);

// The action of every target index except 1 ("Group Name", which needs the
// group tree): v not empty, target < 29.
void ApplyTarget(store::TAddrRec& card, int target, const std::string& v);

}  // namespace imp
