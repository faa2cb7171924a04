#pragma once
// Text from outside (UTF-8 text files, KVTML) enters the document here, and
// only here: a file image is recognised as UTF-8, and each UTF-8 text is
// stored in the code page of its language through core's code-page service.
// Files that are not UTF-8 keep their bytes exactly as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vocalore {

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// True when the image begins with a UTF-8 byte-order mark, or is valid UTF-8
// holding at least one multi-byte sequence. Only the part before the first
// zero byte counts, since the text readers stop there. Plain ASCII is not
// UTF-8 here: its bytes mean the same either way.
bool IsUtf8Text(std::string_view image);

// Offset of the first byte that is not part of a valid UTF-8 character, or npos.
size_t FirstInvalidUtf8(std::string_view text);

// A UTF-16 image that begins with a byte-order mark (either byte order), as
// spreadsheets save "Unicode text", re-encoded as UTF-8 with a UTF-8 mark so
// that it takes the UTF-8 path; nullopt for any other image. A lone half of a
// surrogate pair becomes U+FFFD, and an odd last byte is dropped.
std::optional<std::string> Utf16ToUtf8Image(std::string_view image);

// The image without a leading UTF-8 byte-order mark.
std::string_view StripUtf8Bom(std::string_view image);

// The caption of an item field as the Import dialog lists it ("Word/phrase",
// "Part of speech", "Notes", "Translations").
const char* ImportFieldName(int field);

// Stores UTF-8 texts in the code pages of a document's languages: the word or
// phrase in the foreign one, the other fields in the native one.
class TTextEncoder {
public:
    TTextEncoder(uint16_t foreignId, uint16_t nativeId);

    // The code-page bytes of one text of an item field. A character the code
    // page can't hold, or bytes that are not UTF-8, raise an EVocabFileError
    // naming the line, the field and the character, so that an import can
    // refuse the whole file before it adds anything.
    std::string Encode(std::string_view utf8, int field, int64_t line) const;
    // The same for a text of the given language with a caption of its own
    // (document properties).
    static std::string Encode(std::string_view utf8, uint16_t languageId, std::string_view caption,
                              int64_t line);
    // The same with the place named in full ("Note 3, field "Back"
    // (Translations)"), for sources that have no lines.
    static std::string EncodeAt(std::string_view utf8, uint16_t languageId, std::string_view where);

private:
    uint16_t FForeignId;
    uint16_t FNativeId;
};

// "Line 3, Translations: the character "ł" (U+0142) cannot be stored in
// English (code page 1252). Nothing was imported."
std::string UnencodableMessage(int64_t line, std::string_view caption, char32_t ch,
                               uint16_t languageId);
// The same with the place named in full.
std::string UnencodableMessage(std::string_view where, char32_t ch, uint16_t languageId);

} // namespace vocalore
