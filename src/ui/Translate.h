// The program's texts in the user's language.
//
// The window logic speaks English CP932 bytes only; its captions and
// messages become Japanese where they turn into QStrings, here, through the
// catalogue translations/q7addr_ja.ts (built into q7addr_ja.qm). Only fixed
// program texts are looked up: whole captions by context, whole messages,
// and the known composed messages as templates ("%1\nFile open error"),
// whose %n parts (a file name, a group name, a count) are user data and are
// put back unchanged. User data alone (a group caption, a card's text) never
// goes through Tr.
#pragma once

#include <QString>
#include <string_view>
#include <vector>

class QCoreApplication;

namespace ui {

// Contexts of the catalogue, one per window (and one for message boxes).
namespace ctx {
inline constexpr const char* kMain = "MainWindow";
inline constexpr const char* kEditor = "CardEditor";
// The value names of a card editor section (its columns and edit labels).
inline constexpr const char* kSectionFields = "SectionFields";
inline constexpr const char* kSearch = "SearchDialog";
inline constexpr const char* kGroups = "GroupWindow";
inline constexpr const char* kOptions = "OptionWindow";
inline constexpr const char* kPrint = "PrintSetup";
inline constexpr const char* kImport = "ImportWindow";
// Message box texts, input box captions and prompts, box titles.
inline constexpr const char* kMessage = "Message";
}  // namespace ctx

enum class Language { English, Japanese };

// Q7ADDR_LANG ("en" or "ja") when set, else the language of the locale
// (LC_ALL, LC_MESSAGES, LANG, as QLocale::system() reads them).
Language WantedLanguage();

// Installs the program's and Qt's own Japanese catalogues when `language` is
// Japanese (the program's from the installed translations folder when there
// is one, else the copy built into the program); removes them for English.
// Returns the language in force (English when the catalogue is missing).
Language InstallTranslations(Language language);
inline Language InstallTranslations() { return InstallTranslations(WantedLanguage()); }

// A fixed program text of `context` (CP932 bytes; CR LF breaks lines) in
// the user's language; a text the catalogue does not know stays as it is.
QString Tr(const char* context, std::string_view cp932);
// A text that is already a QString (texts of the Qt layer itself).
QString TrText(const char* context, const QString& text);
// Tr for message boxes: whole messages, the composed ones by template, and
// the import reports line by line.
inline QString TrMessage(std::string_view cp932) { return Tr(ctx::kMessage, cp932); }

// True when the installed catalogue holds a translation of source in context
// (used to prove the catalogue complete).
bool HasTranslation(const char* context, const QString& source);

struct Template {
  const char* context;
  const char* source;  // with %1, %2 for the variable parts
};
// The composed texts known to Tr.
const std::vector<Template>& Templates();
// The fixed lines of the multi-line reports (context "Message").
std::vector<const char*> ReportTexts();

}  // namespace ui
