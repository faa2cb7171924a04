#pragma once
// The languages the program offers: a built-in table of 16-bit language
// identifiers with their default single-byte code page and three-letter
// abbreviation, and ICU for locale and display names. No Qt.

#include <cstdint>
#include <string>
#include <vector>

namespace vocalore {

// The low 10 bits of an identifier are the primary language, the high 6 bits
// the sub-language (country variant).
inline constexpr uint16_t PrimaryLanguage(uint16_t languageId) { return languageId & 0x3FF; }
inline constexpr uint16_t LangEnglish = 0x09;
inline constexpr bool IsEnglish(uint16_t languageId) {
    return PrimaryLanguage(languageId) == LangEnglish;
}

inline constexpr uint16_t DefaultLanguageId = 0x0409; // English (United States)

// One row of the built-in table (offered or not).
struct TLanguageInfo {
    uint16_t Id;
    uint16_t CodePage;        // default ANSI code page; 0 = none (Unicode-only)
    const char* Abbreviation; // three letters, e.g. "DEU"
};

// One entry of the language list: display name (UTF-8, in the user's
// interface language) and identifier.
struct TLanguageEntry {
    std::string Name;
    uint16_t Id;
};

// Every row of the built-in table, in identifier order, offered or not.
const std::vector<TLanguageInfo>& LanguageTable();
// The row of an identifier, or nullptr when the table doesn't know it.
const TLanguageInfo* FindLanguage(uint16_t languageId);

// The languages offered to the user (code page 1250, 1251, 1252, 1253, 1254
// or 1257), in the table's order. Built on the first call.
const std::vector<TLanguageEntry>& LanguageList();
// True when the whole identifier (sub-language included) is in LanguageList().
bool IsLanguageAvailable(uint16_t languageId);
// Default code page of a language; 0 when unknown.
uint16_t LanguageCodePage(uint16_t languageId);
// Font character set: 238, 204, 161, 162, 186 for 1250, 1251, 1253, 1254,
// 1257; 0 for any other code page (1252 included) or an unknown language.
int LanguageCharset(uint16_t languageId);
// The code page whose bytes a font character set shows: 1250, 1251, 1253,
// 1254, 1257 for 238, 204, 161, 162, 186; 1252 for any other value.
inline constexpr uint16_t CharsetCodePage(int32_t charset) {
    switch (charset) {
    case 238:
        return 1250;
    case 204:
        return 1251;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 186:
        return 1257;
    default:
        return 1252;
    }
}
// " CE", " Cyr", " Greek", " Tur", " Baltic" for 238, 204, 161, 162, 186;
// empty for any other value.
std::string CharsetFontSuffix(int charset);
// First two letters of the three-letter abbreviation, the first in upper
// case ("DEU" gives "DE", "ENU" gives "EN"); empty if unknown.
std::string LanguageAbbreviation(uint16_t languageId);
// ICU locale identifier of a language ("de_DE"); "en_US" when unknown.
std::string LanguageLocale(uint16_t languageId);
// Display name (UTF-8, user's interface language); empty when unknown.
std::string LanguageName(uint16_t languageId);
// The display name of any identifier, also of a language the program does
// not offer ("Arabic (Saudi Arabia)"); "the language 0C01" when even the
// locale services can't name it.
std::string LanguageNameOrId(uint16_t languageId);
// The user's default language from the system locale: an offered identifier,
// falling back to 0x0409 (English, United States).
uint16_t UserDefaultLanguage();

} // namespace vocalore
