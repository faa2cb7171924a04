#include "TextDecode.h"

#include "core/CodePage.h"
#include "core/Languages.h"
#include "core/VocabError.h"
#include "core/VocabItem.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdio>
#include <cstring>

namespace vocalore {

bool IsUtf8Text(std::string_view image) {
    if (image.starts_with(Utf8Bom))
        return true;
    if (const void* zero = std::memchr(image.data(), '\0', image.size()))
        image = image.substr(0, size_t(static_cast<const char*>(zero) - image.data()));
    const auto* s = reinterpret_cast<const uint8_t*>(image.data());
    const auto length = static_cast<int32_t>(image.size());
    bool multiByte = false;
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) { // the common case, without the decoder
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0)
            return false;
        multiByte = true;
    }
    return multiByte;
}

size_t FirstInvalidUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0)
            return static_cast<size_t>(start);
    }
    return std::string_view::npos;
}

std::optional<std::string> Utf16ToUtf8Image(std::string_view image) {
    if (image.size() < 2)
        return std::nullopt;
    const auto* s = reinterpret_cast<const uint8_t*>(image.data());
    bool little = false;
    if (s[0] == 0xFF && s[1] == 0xFE)
        little = true;
    else if (!(s[0] == 0xFE && s[1] == 0xFF))
        return std::nullopt;
    const size_t units = (image.size() - 2) / 2;
    std::string out(Utf8Bom);
    out.reserve(Utf8Bom.size() + units * 3);
    auto unit = [&](size_t k) {
        const uint8_t* p = s + 2 + 2 * k;
        return static_cast<UChar>(little ? p[0] | p[1] << 8 : p[0] << 8 | p[1]);
    };
    for (size_t i = 0; i < units; ++i) {
        UChar32 c = unit(i);
        if (U16_IS_LEAD(c) && i + 1 < units) {
            const UChar trail = unit(i + 1);
            if (U16_IS_TRAIL(trail)) {
                c = U16_GET_SUPPLEMENTARY(c, trail);
                ++i;
            }
        }
        if (U_IS_SURROGATE(c))
            c = 0xFFFD;
        char utf8[4];
        int32_t n = 0;
        U8_APPEND_UNSAFE(utf8, n, c); // c is a scalar value here
        out.append(utf8, size_t(n));
    }
    return out;
}

std::string_view StripUtf8Bom(std::string_view image) {
    return image.starts_with(Utf8Bom) ? image.substr(Utf8Bom.size()) : image;
}

const char* ImportFieldName(int field) {
    switch (field) {
    case fiWord:
        return "Word/phrase";
    case fiCategory:
        return "Part of speech";
    case fiNotes:
        return "Notes";
    default:
        return "Translations";
    }
}

namespace {

std::string LinePlace(int64_t line, std::string_view caption) {
    return "Line " + std::to_string(line) + ", " + std::string(caption);
}

} // namespace

std::string UnencodableMessage(int64_t line, std::string_view caption, char32_t ch,
                               uint16_t languageId) {
    return UnencodableMessage(LinePlace(line, caption), ch, languageId);
}

std::string UnencodableMessage(std::string_view where, char32_t ch, uint16_t languageId) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    std::string shown;
    if (ch >= 0x20 && ch != 0x7F) { // a control character would garble the message
        char utf8[4];
        int32_t n = 0;
        UBool error = false;
        U8_APPEND(utf8, n, 4, static_cast<UChar32>(ch), error);
        if (!error)
            shown = "the character \"" + std::string(utf8, size_t(n)) + "\" (" + code + ")";
    }
    if (shown.empty())
        shown = std::string("the character ") + code;
    std::string language = LanguageName(languageId);
    if (language.empty())
        language = "the document's language";
    return std::string(where) + ": " + shown + " cannot be stored in " + language + " (code page " +
           std::to_string(TCodePage::ForLanguage(languageId).Number()) + "). Nothing was imported.";
}

TTextEncoder::TTextEncoder(uint16_t foreignId, uint16_t nativeId)
    : FForeignId(foreignId), FNativeId(nativeId) {}

std::string TTextEncoder::Encode(std::string_view utf8, int field, int64_t line) const {
    return Encode(utf8, field == fiWord ? FForeignId : FNativeId, ImportFieldName(field), line);
}

std::string TTextEncoder::Encode(std::string_view utf8, uint16_t languageId,
                                 std::string_view caption, int64_t line) {
    return EncodeAt(utf8, languageId, LinePlace(line, caption));
}

std::string TTextEncoder::EncodeAt(std::string_view utf8, uint16_t languageId,
                                   std::string_view where) {
    const TCodePage& page = TCodePage::ForLanguage(languageId);
    std::string bytes;
    bytes.reserve(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) { // ASCII is the same in every code page offered
            bytes += static_cast<char>(s[i++]);
            continue;
        }
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", unsigned{s[start]});
            throw EVocabFileError(std::string(where) + ": the byte " + byte +
                                  " is not part of a UTF-8 character. Nothing was imported.");
        }
        const auto byte = page.Encode(static_cast<char32_t>(c));
        if (!byte)
            throw EVocabFileError(UnencodableMessage(where, static_cast<char32_t>(c), languageId));
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

} // namespace vocalore
