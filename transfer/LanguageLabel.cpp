#include "LanguageLabel.h"

#include "Blanks.h"
#include "core/Languages.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

#include <string>
#include <vector>

namespace vocalore {

namespace {

// The likely full form of a locale, without keywords: "sr" gives
// "sr_Cyrl_RS", "de_DE" gives "de_Latn_DE"; lower-cased.
std::string Maximized(const char* locale) {
    char full[ULOC_FULLNAME_CAPACITY] = {};
    char base[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_addLikelySubtags(locale, full, ULOC_FULLNAME_CAPACITY, &status);
    uloc_getBaseName(full, base, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status))
        return {};
    std::string out = base;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct TLabelRow {
    uint16_t Id;
    std::string Locale;    // "de_DE", lower-cased
    std::string Language;  // "de"
    std::string Maximized; // "de_latn_de"
    // Case-folded names: full and language-only, in English and in the language itself.
    icu::UnicodeString FullEnglish, FullNative, LanguageEnglish, LanguageNative;
};

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string LanguagePart(const std::string& locale) {
    return locale.substr(0, locale.find_first_of("_@"));
}

const std::vector<TLabelRow>& Rows() {
    static const std::vector<TLabelRow> rows = [] {
        std::vector<TLabelRow> out;
        const icu::Locale english = icu::Locale::getEnglish();
        for (const TLanguageEntry& entry : LanguageList()) {
            const std::string name = LanguageLocale(entry.Id);
            const icu::Locale locale(name.c_str());
            TLabelRow row;
            row.Id = entry.Id;
            row.Locale = Lower(name);
            row.Language = LanguagePart(row.Locale);
            row.Maximized = Maximized(name.c_str());
            locale.getDisplayName(english, row.FullEnglish).foldCase();
            locale.getDisplayName(locale, row.FullNative).foldCase();
            locale.getDisplayLanguage(english, row.LanguageEnglish).foldCase();
            locale.getDisplayLanguage(locale, row.LanguageNative).foldCase();
            out.push_back(std::move(row));
        }
        return out;
    }();
    return rows;
}

bool LooksLikeCode(std::string_view s) {
    if (s.empty() || s.size() > 32)
        return false;
    for (const char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-' || c == '@'))
            return false;
    return true;
}

uint16_t FromCode(std::string_view label) {
    // KDE writes the script of Serbian as a variant: "sr@latin",
    // "sr@ijekavianlatin" (Latin), "sr@ijekavian" (Cyrillic, like "sr").
    std::string raw = Lower(label);
    if (const size_t at = raw.find('@'); at != std::string::npos)
        raw = raw.substr(0, at) + (raw.ends_with("latin") ? "_Latn" : "");
    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_canonicalize(raw.c_str(), canonical, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING)
        return 0;
    const std::string code = Lower(canonical);
    for (const TLabelRow& row : Rows())
        if (row.Locale == code)
            return row.Id;
    if (const std::string full = Maximized(canonical); !full.empty())
        for (const TLabelRow& row : Rows())
            if (row.Maximized == full)
                return row.Id;
    // "nb" and the like: what ICU knows of the locale's identifier.
    const auto lcid = static_cast<uint16_t>(uloc_getLCID(canonical));
    if (lcid != 0 && IsLanguageAvailable(lcid))
        return lcid;
    const std::string language = LanguagePart(code);
    if (language.size() < 2 || language.size() > 3)
        return 0;
    for (const TLabelRow& row : Rows())
        if (row.Language == language)
            return row.Id;
    // "no" for Norwegian: ICU knows the primary language, the table a variant of it.
    if (lcid != 0)
        for (const TLabelRow& row : Rows())
            if (PrimaryLanguage(row.Id) == PrimaryLanguage(lcid))
                return row.Id;
    return 0;
}

uint16_t FromName(std::string_view label) {
    icu::UnicodeString name =
        icu::UnicodeString::fromUTF8(icu::StringPiece(label.data(), int32_t(label.size())));
    name.foldCase();
    for (const TLabelRow& row : Rows())
        if (row.FullEnglish == name || row.FullNative == name)
            return row.Id;
    for (const TLabelRow& row : Rows())
        if (row.LanguageEnglish == name || row.LanguageNative == name)
            return row.Id;
    return 0;
}

} // namespace

uint16_t LanguageFromLabel(std::string_view label) {
    label = TrimBlanks(label);
    if (label.empty())
        return 0;
    if (LooksLikeCode(label))
        if (const uint16_t id = FromCode(label))
            return id;
    return FromName(label);
}

bool SameLanguage(uint16_t a, uint16_t b) {
    return a != 0 && b != 0 &&
           LanguagePart(Lower(LanguageLocale(a))) == LanguagePart(Lower(LanguageLocale(b)));
}

} // namespace vocalore
