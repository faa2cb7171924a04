#include "CodePage.h"

#include "Languages.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace vocalore {

// Converters are built once per code page and never change afterwards, so
// they can be shared freely once handed out.
struct TCodePageRegistry {
    std::mutex Lock;
    std::map<uint16_t, std::unique_ptr<TCodePage>> Pages;

    const TCodePage* Get(uint16_t number) {
        std::lock_guard<std::mutex> guard(Lock);
        auto it = Pages.find(number);
        if (it == Pages.end())
            it = Pages.emplace(number, std::make_unique<TCodePage>(number)).first;
        return it->second->FValid ? it->second.get() : nullptr;
    }
};

namespace {

TCodePageRegistry& Registry() {
    static TCodePageRegistry registry;
    return registry;
}

// The single character a byte stands for, or 0xFFFF when the code page
// leaves it unassigned.
char16_t DecodeByte(UConverter* converter, unsigned char byte) {
    ucnv_reset(converter);
    const char source[1] = {static_cast<char>(byte)};
    const char* in = source;
    UChar target[4];
    UChar* out = target;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter, &out, target + 4, &in, source + 1, nullptr, true, &status);
    if (U_FAILURE(status) || out - target != 1)
        return 0xFFFF;
    return target[0];
}

} // namespace

TCodePage::TCodePage(uint16_t number) : FNumber(number) {
    if (number == 0)
        return;
    const std::string name = "windows-" + std::to_string(number);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status) || converter == nullptr)
        return;
    if (ucnv_getMaxCharSize(converter) == 1) {
        status = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        for (int byte = 0; byte < 256; ++byte) {
            char16_t ch = DecodeByte(converter, static_cast<unsigned char>(byte));
            // A byte must stand for a character no other byte gives, or it
            // couldn't come back; the private-use stand-in keeps it.
            const bool unique = ch != 0xFFFF &&
                                !(ch >= UnassignedBase && ch <= UnassignedBase + 0xFF) &&
                                std::none_of(FToUnicode, FToUnicode + byte,
                                             [ch](char16_t other) { return other == ch; });
            if (!unique)
                ch = static_cast<char16_t>(UnassignedBase + static_cast<char32_t>(byte));
            FToUnicode[byte] = ch;
            FFromUnicode[byte] = {ch, static_cast<unsigned char>(byte)};
        }
        FPairCount = 256;
        std::sort(FFromUnicode, FFromUnicode + 256,
                  [](const TPair& a, const TPair& b) { return a.Ch < b.Ch; });
        FValid = true;
    }
    ucnv_close(converter);
}

const TCodePage* TCodePage::ForCodePage(uint16_t codePage) { return Registry().Get(codePage); }

const TCodePage& TCodePage::ForLanguage(uint16_t languageId) {
    if (const TCodePage* page = ForCodePage(LanguageCodePage(languageId)))
        return *page;
    return *ForCodePage(1252);
}

std::optional<unsigned char> TCodePage::Encode(char32_t ch) const {
    if (ch > 0xFFFF)
        return std::nullopt;
    const auto end = FFromUnicode + FPairCount;
    const auto it = std::lower_bound(FFromUnicode, end, static_cast<char16_t>(ch),
                                     [](const TPair& pair, char16_t c) { return pair.Ch < c; });
    if (it == end || it->Ch != ch)
        return std::nullopt;
    return it->Byte;
}

std::u16string TCodePage::ToUtf16(std::string_view bytes) const {
    std::u16string text(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = FToUnicode[static_cast<unsigned char>(bytes[i])];
    return text;
}

std::string TCodePage::ToUtf8(std::string_view bytes) const {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const char16_t ch = FToUnicode[static_cast<unsigned char>(byte)];
        if (ch < 0x80) {
            text += static_cast<char>(ch);
        } else if (ch < 0x800) {
            text += static_cast<char>(0xC0 | (ch >> 6));
            text += static_cast<char>(0x80 | (ch & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (ch >> 12));
            text += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return text;
}

std::optional<std::string> TCodePage::FromUtf16(std::u16string_view text) const {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t ch : text) {
        const auto byte = Encode(ch); // surrogates never encode
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

namespace {

// Calls `each` with every code point of a UTF-8 text; a malformed sequence
// gives a negative value.
template <typename F> void ForEachCodePoint(std::string_view utf8, F each) {
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (!each(c))
            return;
    }
}

} // namespace

std::optional<std::string> TCodePage::FromUtf8(std::string_view text) const {
    std::string bytes;
    bytes.reserve(text.size());
    bool ok = true;
    ForEachCodePoint(text, [&](UChar32 c) {
        const auto byte = c < 0 ? std::nullopt : Encode(static_cast<char32_t>(c));
        if (!byte)
            return ok = false;
        bytes += static_cast<char>(*byte);
        return true;
    });
    if (!ok)
        return std::nullopt;
    return bytes;
}

namespace {

// Letters that no decomposition takes apart: strokes, bars, ligatures of
// their own, dotless i. Each maps to the plain letters it is read as.
struct TFallback {
    char16_t Ch;
    const char16_t* Plain;
};
constexpr TFallback Fallbacks[] = {
    {u'\u00C6', u"AE"},  {u'\u00D0', u"D"},  {u'\u00D8', u"O"},  {u'\u00DE', u"Th"},
    {u'\u00DF', u"ss"},  {u'\u00E6', u"ae"}, {u'\u00F0', u"d"},  {u'\u00F8', u"o"},
    {u'\u00FE', u"th"},  {u'\u0110', u"D"},  {u'\u0111', u"d"},  {u'\u0126', u"H"},
    {u'\u0127', u"h"},   {u'\u0131', u"i"},  {u'\u0138', u"k"},  {u'\u013F', u"L"},
    {u'\u0140', u"l"},   {u'\u0141', u"L"},  {u'\u0142', u"l"},  {u'\u014A', u"N"},
    {u'\u014B', u"n"},   {u'\u0152', u"OE"}, {u'\u0153', u"oe"}, {u'\u0166', u"T"},
    {u'\u0167', u"t"},   {u'\u0180', u"b"},  {u'\u0197', u"I"},  {u'\u01B5', u"Z"},
    {u'\u01B6', u"z"},   {u'\u0268', u"i"},  {u'\u2013', u"-"},  {u'\u2014', u"-"},
    {u'\u2018', u"'"},   {u'\u2019', u"'"},  {u'\u201C', u"\""}, {u'\u201D', u"\""},
    {u'\u2026', u"..."},
};

// The characters without their non-spacing marks.
std::u16string WithoutMarks(const UNormalizer2* normalizer, std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    UChar buffer[32];
    const int32_t length = unorm2_normalize(normalizer, reinterpret_cast<const UChar*>(text.data()),
                                            static_cast<int32_t>(text.size()), buffer, 32, &status);
    if (U_FAILURE(status))
        return {};
    std::u16string out;
    for (int32_t i = 0; i < length; ++i)
        if (u_charType(buffer[i]) != U_NON_SPACING_MARK)
            out += static_cast<char16_t>(buffer[i]);
    return out;
}

} // namespace

std::u16string TCodePage::BestFit(std::u16string_view text, bool& changed) const {
    changed = false;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
    if (U_FAILURE(status))
        return CanEncode(text) ? std::u16string(text) : std::u16string();
    // Composed first, so that an e followed by a combining acute is the é
    // the code page may well hold.
    std::u16string composed(text.size(), u'\0');
    int32_t length = unorm2_normalize(
        nfc, reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
        reinterpret_cast<UChar*>(composed.data()), static_cast<int32_t>(composed.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        composed.resize(static_cast<size_t>(length));
        length = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(text.data()),
                                  static_cast<int32_t>(text.size()),
                                  reinterpret_cast<UChar*>(composed.data()), length, &status);
    }
    if (U_FAILURE(status))
        composed = std::u16string(text);
    else
        composed.resize(static_cast<size_t>(length));

    std::u16string out;
    out.reserve(composed.size());
    size_t i = 0;
    while (i < composed.size()) {
        const size_t start = i;
        UChar32 c = 0;
        U16_NEXT(composed.data(), i, composed.size(), c);
        const std::u16string_view ch(composed.data() + start, i - start);
        if (Encode(static_cast<char32_t>(c))) {
            out += ch;
            continue;
        }
        changed = true;
        std::u16string plain;
        for (const UNormalizer2* normalizer : {nfd, nfkd}) {
            plain = WithoutMarks(normalizer, ch);
            if (!plain.empty() && CanEncode(plain))
                break;
            plain.clear();
        }
        if (plain.empty())
            for (const TFallback& fallback : Fallbacks)
                if (fallback.Ch == c && CanEncode(std::u16string_view(fallback.Plain))) {
                    plain = fallback.Plain;
                    break;
                }
        out += plain;
    }
    return out;
}

bool TCodePage::CanEncode(std::u16string_view text) const {
    return std::all_of(text.begin(), text.end(),
                       [this](char16_t ch) { return Encode(ch).has_value(); });
}

bool TCodePage::CanEncode(std::string_view utf8) const { return FirstUnencodable(utf8) == npos; }

std::size_t TCodePage::FirstUnencodable(std::string_view utf8) const {
    std::size_t index = 0;
    std::size_t found = npos;
    ForEachCodePoint(utf8, [&](UChar32 c) {
        if (c < 0 || !Encode(static_cast<char32_t>(c))) {
            found = index;
            return false;
        }
        ++index;
        return true;
    });
    return found;
}

std::u16string ToUtf16(std::string_view bytes, uint16_t languageId) {
    return TCodePage::ForLanguage(languageId).ToUtf16(bytes);
}

std::string ToUtf8(std::string_view bytes, uint16_t languageId) {
    return TCodePage::ForLanguage(languageId).ToUtf8(bytes);
}

std::optional<std::string> FromUtf16(std::u16string_view text, uint16_t languageId) {
    return TCodePage::ForLanguage(languageId).FromUtf16(text);
}

std::optional<std::string> FromUtf8(std::string_view text, uint16_t languageId) {
    return TCodePage::ForLanguage(languageId).FromUtf8(text);
}

} // namespace vocalore
