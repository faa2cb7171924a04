#include "KeyboardLayouts.h"

#include <algorithm>

namespace vocalore {

namespace {

// Each XKB layout of xkeyboard-config (rules/evdev.xml) names a country and
// its languages; the identifier is the one [MS-LCID] gives that language in
// that country. A row with a variant overrides its layout's row.
struct TLayoutLanguage {
    std::string_view Layout;
    std::string_view Variant;
    uint16_t Language;
};

constexpr TLayoutLanguage Table[] = {
    {"al", "", 0x041C},         // Albanian (Albania)
    {"at", "", 0x0C07},         // German (Austria)
    {"az", "", 0x042C},         // Azerbaijani, Latin
    {"az", "cyrillic", 0x082C}, // Azerbaijani, Cyrillic
    {"ba", "", 0x141A},         // Bosnian, Latin
    {"be", "", 0x080C},         // French (Belgium): the Belgian layout
    {"bg", "", 0x0402},         // Bulgarian
    {"br", "", 0x0416},         // Portuguese (Brazil)
    {"by", "", 0x0423},         // Belarusian
    {"ca", "", 0x0C0C},         // French (Canada)
    {"ca", "eng", 0x1009},      // English (Canada)
    {"ch", "", 0x0807},         // German (Switzerland)
    {"ch", "fr", 0x100C},       // French (Switzerland)
    {"ch", "fr_mac", 0x100C},
    {"ch", "fr_nodeadkeys", 0x100C},
    {"cz", "", 0x0405},      // Czech
    {"de", "", 0x0407},      // German (Germany)
    {"dk", "", 0x0406},      // Danish
    {"ee", "", 0x0425},      // Estonian
    {"es", "", 0x0C0A},      // Spanish (Spain, modern sort)
    {"fi", "", 0x040B},      // Finnish
    {"fo", "", 0x0438},      // Faroese
    {"fr", "", 0x040C},      // French (France)
    {"gb", "", 0x0809},      // English (United Kingdom)
    {"gr", "", 0x0408},      // Greek
    {"hr", "", 0x041A},      // Croatian
    {"hu", "", 0x040E},      // Hungarian
    {"ie", "", 0x1809},      // English (Ireland)
    {"is", "", 0x040F},      // Icelandic
    {"it", "", 0x0410},      // Italian (Italy)
    {"kz", "", 0x043F},      // Kazakh
    {"latam", "", 0x080A},   // Spanish (Mexico)
    {"lt", "", 0x0427},      // Lithuanian
    {"lv", "", 0x0426},      // Latvian
    {"mk", "", 0x042F},      // Macedonian
    {"mn", "", 0x0450},      // Mongolian, Cyrillic
    {"mt", "", 0x043A},      // Maltese
    {"nl", "", 0x0413},      // Dutch (Netherlands)
    {"no", "", 0x0414},      // Norwegian, Bokmål
    {"pl", "", 0x0415},      // Polish
    {"pt", "", 0x0816},      // Portuguese (Portugal)
    {"ro", "", 0x0418},      // Romanian
    {"rs", "", 0x0C1A},      // Serbian, Cyrillic
    {"rs", "latin", 0x081A}, // Serbian, Latin
    {"rs", "latinalternatequotes", 0x081A},
    {"rs", "latinunicode", 0x081A},
    {"rs", "latinyz", 0x081A},
    {"rs", "latinunicodeyz", 0x081A},
    {"ru", "", 0x0419},      // Russian
    {"se", "", 0x041D},      // Swedish (Sweden)
    {"si", "", 0x0424},      // Slovenian
    {"sk", "", 0x041B},      // Slovak
    {"tr", "", 0x041F},      // Turkish
    {"ua", "", 0x0422},      // Ukrainian
    {"us", "", 0x0409},      // English (United States)
    {"uz", "", 0x0843},      // Uzbek, Cyrillic
    {"uz", "latin", 0x0443}, // Uzbek, Latin
    {"gb", "gla", 0x0491},   // Scottish Gaelic
    {"de", "dsb", 0x082E},   // Lower Sorbian
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> SplitCommas(std::string_view list) {
    std::vector<std::string_view> parts;
    if (Trim(list).empty())
        return parts;
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        parts.push_back(Trim(list.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return parts;
}

} // namespace

std::vector<TXkbLayout> ParseXkbLayouts(std::string_view layouts, std::string_view variants) {
    const std::vector<std::string_view> names = SplitCommas(layouts);
    const std::vector<std::string_view> kinds = SplitCommas(variants);
    std::vector<TXkbLayout> result;
    result.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back({std::string(names[i]), i < kinds.size() ? std::string(kinds[i]) : ""});
    return result;
}

uint16_t XkbLayoutLanguage(std::string_view layout, std::string_view variant) {
    uint16_t language = 0;
    for (const TLayoutLanguage& row : Table) {
        if (row.Layout != layout)
            continue;
        if (!variant.empty() && row.Variant == variant)
            return row.Language;
        if (row.Variant.empty())
            language = row.Language;
    }
    return language;
}

int ChooseKeyboardLayout(const std::vector<uint16_t>& layoutLanguages, uint16_t language,
                         int defaultLayout) {
    if (language == 0)
        return defaultLayout;
    const auto at = std::find(layoutLanguages.begin(), layoutLanguages.end(), language);
    return at == layoutLanguages.end() ? defaultLayout
                                       : static_cast<int>(at - layoutLanguages.begin());
}

} // namespace vocalore
