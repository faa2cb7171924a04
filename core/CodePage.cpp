#include "CodePage.h"

#include "Languages.h"

#include <unicode/ucnv.h>
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
