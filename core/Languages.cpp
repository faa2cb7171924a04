#include "Languages.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace vocalore {

namespace {

// Windows language identifiers with their default ANSI code page
// (LOCALE_IDEFAULTANSICODEPAGE) and abbreviated language name
// (LOCALE_SABBREVLANGNAME), as published by Microsoft in the "National
// Language Support (NLS) API Reference" tables and in [MS-LCID] "Windows
// Language Code Identifier (LCID) Reference". Sorted by identifier, which is
// the order in which the system enumerates its locales.
// Every European language and variant of 1250, 1251, 1252, 1253, 1254 and
// 1257 is here, with a few others; the rows with other code pages are known
// so that documents using them are recognised and refused.
constexpr TLanguageInfo Table[] = {
    {0x0401, 1256, "ARA"}, // Arabic (Saudi Arabia)
    {0x0402, 1251, "BGR"}, // Bulgarian
    {0x0403, 1252, "CAT"}, // Catalan
    {0x0404, 950, "CHT"},  // Chinese (Taiwan)
    {0x0405, 1250, "CSY"}, // Czech
    {0x0406, 1252, "DAN"}, // Danish
    {0x0407, 1252, "DEU"}, // German (Germany)
    {0x0408, 1253, "ELL"}, // Greek
    {0x0409, 1252, "ENU"}, // English (United States)
    {0x040A, 1252, "ESP"}, // Spanish (Spain, traditional sort)
    {0x040B, 1252, "FIN"}, // Finnish
    {0x040C, 1252, "FRA"}, // French (France)
    {0x040D, 1255, "HEB"}, // Hebrew
    {0x040E, 1250, "HUN"}, // Hungarian
    {0x040F, 1252, "ISL"}, // Icelandic
    {0x0410, 1252, "ITA"}, // Italian (Italy)
    {0x0411, 932, "JPN"},  // Japanese
    {0x0412, 949, "KOR"},  // Korean
    {0x0413, 1252, "NLD"}, // Dutch (Netherlands)
    {0x0414, 1252, "NOR"}, // Norwegian (Bokmal)
    {0x0415, 1250, "PLK"}, // Polish
    {0x0416, 1252, "PTB"}, // Portuguese (Brazil)
    {0x0417, 1252, "RMC"}, // Romansh
    {0x0418, 1250, "ROM"}, // Romanian
    {0x0419, 1251, "RUS"}, // Russian
    {0x041A, 1250, "HRV"}, // Croatian
    {0x041B, 1250, "SKY"}, // Slovak
    {0x041C, 1250, "SQI"}, // Albanian
    {0x041D, 1252, "SVE"}, // Swedish (Sweden)
    {0x041E, 874, "THA"},  // Thai
    {0x041F, 1254, "TRK"}, // Turkish
    {0x0420, 1256, "URD"}, // Urdu
    {0x0421, 1252, "IND"}, // Indonesian
    {0x0422, 1251, "UKR"}, // Ukrainian
    {0x0423, 1251, "BEL"}, // Belarusian
    {0x0424, 1250, "SLV"}, // Slovenian
    {0x0425, 1257, "ETI"}, // Estonian
    {0x0426, 1257, "LVI"}, // Latvian
    {0x0427, 1257, "LTH"}, // Lithuanian
    {0x0428, 1251, "TAJ"}, // Tajik (Cyrillic)
    {0x0429, 1256, "FAR"}, // Persian
    {0x042A, 1258, "VIT"}, // Vietnamese
    {0x042C, 1254, "AZE"}, // Azerbaijani (Latin)
    {0x042D, 1252, "EUQ"}, // Basque
    {0x042E, 1252, "HSB"}, // Upper Sorbian
    {0x042F, 1251, "MKI"}, // Macedonian
    {0x0432, 1252, "TSN"}, // Setswana
    {0x0434, 1252, "XHO"}, // isiXhosa
    {0x0435, 1252, "ZUL"}, // isiZulu
    {0x0436, 1252, "AFK"}, // Afrikaans
    {0x0438, 1252, "FOS"}, // Faroese
    {0x0439, 0, "HIN"},    // Hindi (Unicode only)
    {0x043A, 0, "MLT"},    // Maltese (Unicode only)
    {0x043B, 1252, "SME"}, // Sami, Northern (Norway)
    {0x043E, 1252, "MSL"}, // Malay (Malaysia)
    {0x043F, 1251, "KKZ"}, // Kazakh
    {0x0440, 1251, "KYR"}, // Kyrgyz
    {0x0441, 1252, "SWK"}, // Swahili
    {0x0442, 1250, "TUK"}, // Turkmen
    {0x0443, 1254, "UZB"}, // Uzbek (Latin)
    {0x0444, 1251, "TTT"}, // Tatar
    {0x0450, 1251, "MON"}, // Mongolian (Cyrillic)
    {0x0452, 1252, "CYM"}, // Welsh
    {0x0456, 1252, "GLC"}, // Galician
    {0x0462, 1252, "FYN"}, // Frisian
    {0x0464, 1252, "FPO"}, // Filipino
    {0x0468, 1252, "HAU"}, // Hausa (Latin)
    {0x046A, 1252, "YOR"}, // Yoruba
    {0x046B, 1252, "QUB"}, // Quechua (Bolivia)
    {0x046C, 1252, "NSO"}, // Sesotho sa Leboa
    {0x046D, 1251, "BAS"}, // Bashkir
    {0x046E, 1252, "LBX"}, // Luxembourgish
    {0x046F, 1252, "KAL"}, // Greenlandic
    {0x0470, 1252, "IBO"}, // Igbo
    {0x0475, 1252, "HAW"}, // Hawaiian
    {0x047A, 1252, "MPD"}, // Mapudungun
    {0x047C, 1252, "MWK"}, // Mohawk
    {0x047E, 1252, "BRE"}, // Breton
    {0x0480, 1256, "UIG"}, // Uyghur
    {0x0481, 0, "MRI"},    // Maori (Unicode only)
    {0x0482, 1252, "OCI"}, // Occitan
    {0x0483, 1252, "COS"}, // Corsican
    {0x0484, 1252, "GSW"}, // Alsatian
    {0x0485, 1251, "SAH"}, // Yakut
    {0x0486, 1252, "QUT"}, // K'iche
    {0x0487, 1252, "KIN"}, // Kinyarwanda
    {0x0488, 1252, "WOL"}, // Wolof
    {0x048C, 1256, "PRS"}, // Dari
    {0x0491, 1252, "GLA"}, // Scottish Gaelic
    {0x0492, 1256, "KUR"}, // Central Kurdish
    {0x0803, 1252, "VAL"}, // Valencian
    {0x0804, 936, "CHS"},  // Chinese (PRC)
    {0x0807, 1252, "DES"}, // German (Switzerland)
    {0x0809, 1252, "ENG"}, // English (United Kingdom)
    {0x080A, 1252, "ESM"}, // Spanish (Mexico)
    {0x080C, 1252, "FRB"}, // French (Belgium)
    {0x0810, 1252, "ITS"}, // Italian (Switzerland)
    {0x0813, 1252, "NLB"}, // Dutch (Belgium)
    {0x0814, 1252, "NON"}, // Norwegian (Nynorsk)
    {0x0816, 1252, "PTG"}, // Portuguese (Portugal)
    {0x0818, 1250, "ROD"}, // Romanian (Moldova)
    {0x0819, 1251, "RUM"}, // Russian (Moldova)
    {0x081A, 1250, "SRL"}, // Serbian (Latin, Serbia and Montenegro)
    {0x081D, 1252, "SVF"}, // Swedish (Finland)
    {0x082C, 1251, "AZC"}, // Azerbaijani (Cyrillic)
    {0x082E, 1252, "DSB"}, // Lower Sorbian
    {0x0832, 1252, "TSB"}, // Setswana (Botswana)
    {0x083B, 1252, "SMF"}, // Sami, Northern (Sweden)
    {0x083C, 1252, "IRE"}, // Irish
    {0x083E, 1252, "MSB"}, // Malay (Brunei)
    {0x0843, 1251, "UZC"}, // Uzbek (Cyrillic)
    {0x085D, 1252, "IUK"}, // Inuktitut (Latin)
    {0x085F, 1252, "TZM"}, // Tamazight (Latin)
    {0x086B, 1252, "QUE"}, // Quechua (Ecuador)
    {0x0C07, 1252, "DEA"}, // German (Austria)
    {0x0C09, 1252, "ENA"}, // English (Australia)
    {0x0C0A, 1252, "ESN"}, // Spanish (Spain, modern sort)
    {0x0C0C, 1252, "FRC"}, // French (Canada)
    {0x0C1A, 1251, "SRB"}, // Serbian (Cyrillic, Serbia and Montenegro)
    {0x0C3B, 1252, "SMG"}, // Sami, Northern (Finland)
    {0x0C6B, 1252, "QUP"}, // Quechua (Peru)
    {0x1007, 1252, "DEL"}, // German (Luxembourg)
    {0x1009, 1252, "ENC"}, // English (Canada)
    {0x100A, 1252, "ESG"}, // Spanish (Guatemala)
    {0x100C, 1252, "FRS"}, // French (Switzerland)
    {0x101A, 1250, "HRB"}, // Croatian (Bosnia and Herzegovina)
    {0x103B, 1252, "SMJ"}, // Sami, Lule (Norway)
    {0x1407, 1252, "DEC"}, // German (Liechtenstein)
    {0x1409, 1252, "ENZ"}, // English (New Zealand)
    {0x140A, 1252, "ESC"}, // Spanish (Costa Rica)
    {0x140C, 1252, "FRL"}, // French (Luxembourg)
    {0x141A, 1250, "BSB"}, // Bosnian (Latin)
    {0x143B, 1252, "SMK"}, // Sami, Lule (Sweden)
    {0x1809, 1252, "ENI"}, // English (Ireland)
    {0x180A, 1252, "ESA"}, // Spanish (Panama)
    {0x180C, 1252, "FRM"}, // French (Monaco)
    {0x181A, 1250, "SRS"}, // Serbian (Latin, Bosnia and Herzegovina)
    {0x183B, 1252, "SMA"}, // Sami, Southern (Norway)
    {0x1C09, 1252, "ENS"}, // English (South Africa)
    {0x1C0A, 1252, "ESD"}, // Spanish (Dominican Republic)
    {0x1C1A, 1251, "SRN"}, // Serbian (Cyrillic, Bosnia and Herzegovina)
    {0x1C3B, 1252, "SMB"}, // Sami, Southern (Sweden)
    {0x2009, 1252, "ENJ"}, // English (Jamaica)
    {0x200A, 1252, "ESV"}, // Spanish (Venezuela)
    {0x200C, 1252, "FRR"}, // French (Reunion)
    {0x201A, 1251, "BSC"}, // Bosnian (Cyrillic)
    {0x203B, 1252, "SMS"}, // Sami, Skolt (Finland)
    {0x2409, 1252, "ENB"}, // English (Caribbean)
    {0x240A, 1252, "ESO"}, // Spanish (Colombia)
    {0x240C, 1252, "FRD"}, // French (Congo, DRC)
    {0x241A, 1250, "SRM"}, // Serbian (Latin, Serbia)
    {0x243B, 1252, "SMN"}, // Sami, Inari (Finland)
    {0x2809, 1252, "ENL"}, // English (Belize)
    {0x280A, 1252, "ESR"}, // Spanish (Peru)
    {0x280C, 1252, "FRN"}, // French (Senegal)
    {0x281A, 1251, "SRO"}, // Serbian (Cyrillic, Serbia)
    {0x2C09, 1252, "ENT"}, // English (Trinidad and Tobago)
    {0x2C0A, 1252, "ESS"}, // Spanish (Argentina)
    {0x2C0C, 1252, "FRE"}, // French (Cameroon)
    {0x2C1A, 1250, "SRP"}, // Serbian (Latin, Montenegro)
    {0x3009, 1252, "ENW"}, // English (Zimbabwe)
    {0x300A, 1252, "ESF"}, // Spanish (Ecuador)
    {0x300C, 1252, "FRI"}, // French (Cote d'Ivoire)
    {0x301A, 1251, "SRQ"}, // Serbian (Cyrillic, Montenegro)
    {0x3409, 1252, "ENP"}, // English (Philippines)
    {0x340A, 1252, "ESL"}, // Spanish (Chile)
    {0x340C, 1252, "FRF"}, // French (Mali)
    {0x380A, 1252, "ESY"}, // Spanish (Uruguay)
    {0x380C, 1252, "FRO"}, // French (Morocco)
    {0x3C09, 1252, "ENH"}, // English (Hong Kong)
    {0x3C0A, 1252, "ESZ"}, // Spanish (Paraguay)
    {0x3C0C, 1252, "FRH"}, // French (Haiti)
    {0x4009, 1252, "ENN"}, // English (India)
    {0x400A, 1252, "ESB"}, // Spanish (Bolivia)
    {0x4409, 1252, "ENM"}, // English (Malaysia)
    {0x440A, 1252, "ESE"}, // Spanish (El Salvador)
    {0x4809, 1252, "ENE"}, // English (Singapore)
    {0x480A, 1252, "ESH"}, // Spanish (Honduras)
    {0x4C0A, 1252, "ESI"}, // Spanish (Nicaragua)
    {0x500A, 1252, "ESU"}, // Spanish (Puerto Rico)
    {0x540A, 1252, "EST"}, // Spanish (United States)
    {0x580A, 1252, "ESJ"}, // Spanish (Latin America)
    {0x5C0A, 1252, "ESK"}, // Spanish (Cuba)
};

bool IsOfferedCodePage(uint16_t codePage) {
    switch (codePage) {
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1257:
        return true;
    default:
        return false;
    }
}

std::string ToUtf8(const UChar* text, int32_t length) {
    std::array<char, 1024> utf8{};
    int32_t utf8Length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length, text, length, &status);
    if (U_FAILURE(status))
        return {};
    return std::string(utf8.data(), static_cast<size_t>(utf8Length));
}

// "Spanish (Spain, Traditional Sort)": a sort order is named by its value
// alone, as a user knows it, not as "Sort Order=Traditional Sort Order".
std::string DisplayName(const std::string& locale) {
    std::array<char, ULOC_FULLNAME_CAPACITY> base{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getBaseName(locale.c_str(), base.data(), static_cast<int32_t>(base.size()), &status);
    if (U_FAILURE(status))
        return {};
    std::array<UChar, 256> name{};
    const int32_t length = uloc_getDisplayName(base.data(), nullptr, name.data(),
                                               static_cast<int32_t>(name.size()), &status);
    if (U_FAILURE(status) || length <= 0)
        return {};
    std::string result = ToUtf8(name.data(), length);
    std::array<UChar, 128> value{};
    status = U_ZERO_ERROR;
    const int32_t valueLength =
        uloc_getDisplayKeywordValue(locale.c_str(), "collation", nullptr, value.data(),
                                    static_cast<int32_t>(value.size()), &status);
    if (U_FAILURE(status) || valueLength <= 0)
        return result;
    std::string sort = ToUtf8(value.data(), valueLength);
    constexpr std::string_view order = " Order";
    if (sort.ends_with(order))
        sort.resize(sort.size() - order.size());
    if (!result.empty() && result.back() == ')')
        result.insert(result.size() - 1, ", " + sort);
    else
        result += " (" + sort + ")";
    return result;
}

std::vector<TLanguageEntry> BuildLanguageList() {
    std::vector<TLanguageEntry> list;
    for (const TLanguageInfo& info : Table) {
        if (!IsOfferedCodePage(info.CodePage))
            continue;
        std::string name = DisplayName(LanguageLocale(info.Id));
        if (name.empty())
            continue;
        // Some old and new identifiers share a display name (Serbia and
        // Montenegro became Serbia); the identifier tells them apart.
        const bool taken = std::any_of(list.begin(), list.end(), [&](const TLanguageEntry& entry) {
            return entry.Name == name;
        });
        if (taken) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, " [%04X]", info.Id);
            name += suffix;
        }
        list.push_back({std::move(name), info.Id});
    }
    return list;
}

} // namespace

const std::vector<TLanguageInfo>& LanguageTable() {
    static const std::vector<TLanguageInfo> table(std::begin(Table), std::end(Table));
    return table;
}

const TLanguageInfo* FindLanguage(uint16_t languageId) {
    const auto it =
        std::lower_bound(std::begin(Table), std::end(Table), languageId,
                         [](const TLanguageInfo& info, uint16_t id) { return info.Id < id; });
    return it != std::end(Table) && it->Id == languageId ? &*it : nullptr;
}

const std::vector<TLanguageEntry>& LanguageList() {
    static const std::vector<TLanguageEntry> list = BuildLanguageList();
    return list;
}

bool IsLanguageAvailable(uint16_t languageId) {
    const TLanguageInfo* info = FindLanguage(languageId);
    return info != nullptr && IsOfferedCodePage(info->CodePage);
}

uint16_t LanguageCodePage(uint16_t languageId) {
    const TLanguageInfo* info = FindLanguage(languageId);
    return info != nullptr ? info->CodePage : 0;
}

int LanguageCharset(uint16_t languageId) {
    switch (LanguageCodePage(languageId)) {
    case 1250:
        return 238;
    case 1251:
        return 204;
    case 1253:
        return 161;
    case 1254:
        return 162;
    case 1257:
        return 186;
    default:
        return 0;
    }
}

std::string CharsetFontSuffix(int charset) {
    switch (charset) {
    case 238:
        return " CE";
    case 204:
        return " Cyr";
    case 161:
        return " Greek";
    case 162:
        return " Tur";
    case 186:
        return " Baltic";
    default:
        return {};
    }
}

std::string LanguageAbbreviation(uint16_t languageId) {
    const TLanguageInfo* info = FindLanguage(languageId);
    if (info == nullptr)
        return {};
    std::string result(info->Abbreviation, 2);
    result[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(result[0])));
    return result;
}

std::string LanguageLocale(uint16_t languageId) {
    std::array<char, ULOC_FULLNAME_CAPACITY> locale{};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(languageId, locale.data(),
                                                 static_cast<int32_t>(locale.size()), &status);
    if (U_FAILURE(status) || length <= 0 || FindLanguage(languageId) == nullptr)
        return "en_US";
    return std::string(locale.data(), static_cast<size_t>(length));
}

std::string LanguageName(uint16_t languageId) {
    for (const TLanguageEntry& entry : LanguageList())
        if (entry.Id == languageId)
            return entry.Name;
    if (FindLanguage(languageId) == nullptr)
        return {};
    return DisplayName(LanguageLocale(languageId));
}

std::string LanguageNameOrId(uint16_t languageId) {
    std::string name = LanguageName(languageId);
    if (name.empty()) {
        std::array<char, ULOC_FULLNAME_CAPACITY> locale{};
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = uloc_getLocaleForLCID(languageId, locale.data(),
                                                     static_cast<int32_t>(locale.size()), &status);
        if (U_SUCCESS(status) && length > 0)
            name = DisplayName(std::string(locale.data(), static_cast<size_t>(length)));
    }
    if (name.empty()) {
        char id[32];
        std::snprintf(id, sizeof id, "the language %04X", languageId);
        name = id;
    }
    return name;
}

uint16_t UserDefaultLanguage() {
    const char* locale = uloc_getDefault();
    const uint32_t exact = uloc_getLCID(locale);
    if (exact != 0 && exact <= 0xFFFF && IsLanguageAvailable(static_cast<uint16_t>(exact)))
        return static_cast<uint16_t>(exact);
    // A country the table lacks: the first offered variant of the language.
    std::array<char, ULOC_LANG_CAPACITY> language{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLanguage(locale, language.data(), static_cast<int32_t>(language.size()), &status);
    if (U_SUCCESS(status) && language[0] != '\0') {
        for (const TLanguageEntry& entry : LanguageList()) {
            std::array<char, ULOC_LANG_CAPACITY> candidate{};
            status = U_ZERO_ERROR;
            uloc_getLanguage(LanguageLocale(entry.Id).c_str(), candidate.data(),
                             static_cast<int32_t>(candidate.size()), &status);
            if (U_SUCCESS(status) &&
                std::string_view(candidate.data()) == std::string_view(language.data()))
                return entry.Id;
        }
    }
    return DefaultLanguageId;
}

} // namespace vocalore
