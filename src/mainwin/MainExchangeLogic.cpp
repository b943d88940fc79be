// The main window's exchange commands: the marked cards written as a CSV or a
// vCard file for other programs. The file is replaced atomically (the old
// one kept as its .bak); the address files are never touched.
#include "exchange/ExportFiles.h"
#include "mainwin/MainFormLogic.h"
#include "store/Save.h"

namespace mainwin {

namespace {

// Asks for the file and writes it; false when cancelled or failed (the
// failure has been shown).
template <typename Write>
bool ExportTo(TQ7AdrMan& main, const char* filter, const char* initial, std::size_t count, Write write) {
  store::TSaveDlg dlg(&main.dialogs());
  dlg.FileName = initial;
  if (!dlg.SetNewFile(filter)) return false;
  if (!dlg.CreateFile()) return false;
  write(dlg.Out);
  if (!dlg.Commit()) return false;
  main.dialogs().MessageBox(std::to_string(count) + " cards written to\r\n" + dlg.FileName, dlg::BoxType::Information,
                            {dlg::Button::Ok});
  return true;
}

std::vector<const store::TAddrRec*> MarkedCards(TQ7AdrMan& main) {
  std::vector<const store::TAddrRec*> cards;
  if (main.Book) cards = exch::CardsToExport(*main.Book, false);
  if (cards.empty())
    main.dialogs().MessageBox("No card is shown: check the groups to export first.", dlg::BoxType::Information,
                              {dlg::Button::Ok});
  return cards;
}

}  // namespace

void TQ7AdrMan::VcardExportClick() {
  const std::vector<const store::TAddrRec*> cards = MarkedCards(*this);
  if (cards.empty()) return;
  ExportTo(*this, "vCard files (*.vcf)|*.vcf", "Q7Addr.vcf", cards.size(), [&](plat::TextWriter& out) {
    exch::WriteVcardFile(*Book, cards, exch::VcardVersion::V30, out);
  });
}

void TQ7AdrMan::CsvExportClick() {
  const std::vector<const store::TAddrRec*> cards = MarkedCards(*this);
  if (cards.empty()) return;
  const dlg::Button b = dialogs_.MessageBox(
      "Write the CSV file in UTF-8 (with a byte-order mark, as spreadsheet programs expect)?\r\n"
      "No: Shift-JIS (CP932).",
      dlg::BoxType::Confirmation, {dlg::Button::Yes, dlg::Button::No, dlg::Button::Cancel});
  if (b != dlg::Button::Yes && b != dlg::Button::No) return;
  const exch::CsvEncoding enc = b == dlg::Button::Yes ? exch::CsvEncoding::Utf8 : exch::CsvEncoding::Cp932;
  ExportTo(*this, "CSV files (*.csv)|*.csv", "Q7Addr.csv", cards.size(),
           [&](plat::TextWriter& out) { exch::WriteCsvFile(*Book, cards, enc, out); });
}

}  // namespace mainwin
