#pragma once
// Bytes of a single-byte Windows code page <-> Unicode, through ICU converters.
//
// Every byte string survives a round trip: bytes the code page leaves
// unassigned (0xAA, 0xD2, 0xFF in 1253; 0xA1, 0xA5 in 1257; ...) decode to the
// private-use character U+F000 + byte, and only those private-use characters
// encode back to them. Bytes that ICU maps to C1 controls (0x81 in 1252) keep
// that mapping. Encoding refuses any other character the code page can't hold;
// nothing is replaced silently.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vocalore {

class TCodePage {
public:
    // The converter of a code page (1250 ... 1258, 874, ...); nullptr when
    // ICU has no single-byte converter for it (932, 0, ...).
    static const TCodePage* ForCodePage(uint16_t codePage);
    // The converter of a language's default code page; 1252 when the
    // language is unknown or its code page is not single-byte.
    static const TCodePage& ForLanguage(uint16_t languageId);

    uint16_t Number() const { return FNumber; }

    // Decoding never fails.
    char16_t Decode(unsigned char byte) const { return FToUnicode[byte]; }
    std::u16string ToUtf16(std::string_view bytes) const;
    std::string ToUtf8(std::string_view bytes) const;

    // nullopt when any character can't be held by the code page.
    std::optional<std::string> FromUtf16(std::u16string_view text) const;
    std::optional<std::string> FromUtf8(std::string_view text) const;
    // The byte of one character, or nullopt.
    std::optional<unsigned char> Encode(char32_t ch) const;
    bool CanEncode(std::u16string_view text) const;
    // The text as the code page can hold it, as a Windows edit field pastes:
    // each character it lacks becomes its closest letters (the letter without
    // its accents, the plain form of a compatibility character, L for Ł and
    // the like) or is dropped when there are none. `changed` tells whether
    // anything was replaced or dropped.
    std::u16string BestFit(std::u16string_view text, bool& changed) const;
    bool CanEncode(std::string_view utf8) const;
    // Index (in code points) of the first character of a UTF-8 text that the
    // code page can't hold, or npos; invalid UTF-8 counts as unencodable.
    std::size_t FirstUnencodable(std::string_view utf8) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Private-use base for bytes the code page leaves unassigned.
    static constexpr char32_t UnassignedBase = 0xF000;

    explicit TCodePage(uint16_t number); // use ForCodePage/ForLanguage
private:
    uint16_t FNumber;
    bool FValid = false;
    char16_t FToUnicode[256] = {};
    // Sorted (character, byte) pairs for encoding.
    struct TPair {
        char16_t Ch;
        unsigned char Byte;
    };
    TPair FFromUnicode[256] = {};
    int FPairCount = 0;
    friend struct TCodePageRegistry;
};

// Shorthands for a language's code page.
std::u16string ToUtf16(std::string_view bytes, uint16_t languageId);
std::string ToUtf8(std::string_view bytes, uint16_t languageId);
std::optional<std::string> FromUtf16(std::u16string_view text, uint16_t languageId);
std::optional<std::string> FromUtf8(std::string_view text, uint16_t languageId);

} // namespace vocalore
