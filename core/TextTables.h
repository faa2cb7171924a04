#pragma once
// Per-language lookup tables behind the text functions (internal to core).
// Every text is single-byte, so character classes, lower case and accent
// removal become 256-entry tables computed once per language with ICU.

#include <cstdint>
#include <string>
#include <string_view>

struct UCollator;

namespace vocalore {

class TCodePage;

namespace detail {

enum : uint8_t { ccAlpha = 1, ccDigit = 2 };

struct TTextTables {
    TTextTables() = default;
    ~TTextTables(); // closes the collator
    TTextTables(const TTextTables&) = delete;
    TTextTables& operator=(const TTextTables&) = delete;

    uint16_t Language = 0;
    const TCodePage* Page = nullptr;
    uint8_t Class[256] = {};
    unsigned char Lower[256] = {};
    std::string Unaccented[256];
    std::string Locale;  // ICU locale of the language
    bool Turkic = false; // dotted and dotless i are two letters
    // Case-insensitive collator of the language for the sort keys.
    UCollator* SortCollator = nullptr;

    bool IsAlnum(unsigned char byte) const { return Class[byte] != 0; }
    std::string LowerCase(std::string_view text) const;
    std::string RemoveAccents(std::string_view text) const;
};

// Built on first use and kept for the whole run; safe to share between threads.
const TTextTables& TextTablesFor(uint16_t language);

} // namespace detail
} // namespace vocalore
