// The one place where stored text (CP932 bytes) meets Qt text.
//
// The conversion is the CP932 table as Windows applies it (glibc's iconv
// "CP932": NEC and IBM extensions, the wave dash 0x8160 as U+FF5E, user
// defined characters as U+E000...). On top of it:
//  - the single bytes 0x80, 0xA0, 0xFD, 0xFE and 0xFF read as U+0080 and
//    U+F8F0 to U+F8F3, as Windows reads them;
//  - any other byte that is no CP932 character (a lead byte without a
//    valid trail byte, an unassigned double-byte code) reads as U+F700 plus
//    the byte, so that it is written back unchanged when the text around it
//    is edited;
//  - on the way back the JIS forms of seven characters (U+301C wave dash,
//    U+2016, U+2212, U+00A2, U+00A3, U+00AC, U+2014), which input methods on
//    Linux commonly produce, are accepted for their CP932 codes.
// A character CP932 cannot hold makes the conversion to bytes fail; the
// caller refuses the text with RefusalText, nothing is replaced by '?'.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace codec {

QString ToQt(std::string_view bytes);

// The CP932 bytes of text, or nothing when some character has none; those
// characters are then put into *unmappable (each once, in text order).
std::optional<std::string> FromQt(const QString& text, QString* unmappable = nullptr);

// FromQt, but gives back original when text is exactly what original shows.
// CP932 has two codes for some characters (NEC and IBM extensions), so a
// field the user did not touch must keep its own bytes.
std::optional<std::string> FromQtKeeping(const QString& text, const std::string& original,
                                         QString* unmappable = nullptr);

// Multi-line text: lines end with CR LF in the store and with LF in Qt's
// text widgets. A lone CR reads as a line break too.
QString MemoToQt(std::string_view bytes);
std::optional<std::string> MemoFromQtKeeping(const QString& text, const std::string& original,
                                             QString* unmappable = nullptr);

// Message texts written with "\r" (or CR LF) line breaks, as the program's
// boxes are, shown with Qt's '\n'.
QString MessageToQt(std::string_view bytes);

// The text of the box that refuses characters CP932 cannot hold.
QString RefusalText(const QString& unmappable);

}  // namespace codec
