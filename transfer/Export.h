#pragma once
// Export of a document as rich text, tab-delimited text or comma-separated values.
// Export never changes the document.

#include <iosfwd>
#include <string>
#include <string_view>

namespace vocalore {

class TVocabFile;

// Rich-text escaping: backslash and braces get a backslash, bytes from 0x80 up
// become \'hh (lower-case hex); every other byte passes unchanged.
std::string RtfEscape(std::string_view text);

// A comma-separated field: bare, or quoted with inner quotes doubled when it
// holds a byte up to 0x20, a double quote or a comma.
std::string CsvField(std::string_view field);

// The whole rich-text file for the given font character sets of the foreign
// and the native language.
std::string RichTextBytes(const TVocabFile& doc, int foreignCharset, int nativeCharset);
// The same with the character sets of the document's languages.
std::string RichTextBytes(const TVocabFile& doc);

// How the texts of a text export are written: as the code-page bytes they
// are, or converted to UTF-8 (without a byte-order mark) for the desktop's
// other programs.
enum class TTextCoding { tcCodePage, tcUtf8 };
using enum TTextCoding;

// One line per item, ending with CR LF: the four fields joined by TAB (csv
// false) or as comma-separated values (csv true). The UTF-8 form has the
// same rows and quoting.
std::string TextExportBytes(const TVocabFile& doc, bool csv, TTextCoding coding = tcCodePage);

void ExportRichText(const TVocabFile& doc, const std::string& path);
void ExportText(const TVocabFile& doc, const std::string& path, bool csv,
                TTextCoding coding = tcCodePage);

// Stream forms; a failing stream raises "Stream write error".
void ExportRichText(const TVocabFile& doc, std::ostream& stream);
void ExportText(const TVocabFile& doc, std::ostream& stream, bool csv,
                TTextCoding coding = tcCodePage);

} // namespace vocalore
