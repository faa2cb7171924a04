#include "HtmlText.h"

#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vocalore {

namespace {

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Elements that begin a new line or block when a browser shows the field.
bool IsBoundary(std::string_view name) {
    static constexpr std::array<std::string_view, 20> names = {
        "br", "div", "p",  "li", "ul", "ol", "tr", "td", "th", "table",
        "h1", "h2",  "h3", "h4", "h5", "h6", "hr", "dt", "dd", "blockquote"};
    for (std::string_view n : names)
        if (n == name)
            return true;
    return false;
}

size_t FindNoCase(std::string_view text, std::string_view what, size_t from) {
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && AsciiLower(text[i + k]) == what[k])
            ++k;
        if (k == what.size())
            return i;
    }
    return std::string_view::npos;
}

// The end of the tag that opens at `at` (one past its '>'), with quoted
// attribute values skipped; npos when it never closes.
size_t TagEnd(std::string_view html, size_t at) {
    char quote = 0;
    for (size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Collects the text: runs of blanks become one space, boundaries cut segments.
class TCollector {
public:
    explicit TCollector(TBoundary boundary) : FBoundary(boundary) {}

    void Char(char32_t c) {
        if (c <= 0x20 || c == 0xA0) {
            FPendingSpace = !FCurrent.empty();
            return;
        }
        if (FPendingSpace)
            FCurrent += ' ';
        FPendingSpace = false;
        char utf8[4];
        int32_t n = 0;
        UBool error = false;
        U8_APPEND(utf8, n, 4, static_cast<UChar32>(c), error);
        if (error) {
            U8_APPEND(utf8, n, 4, 0xFFFD, error);
        }
        FCurrent.append(utf8, size_t(n));
    }
    // A byte of the UTF-8 text as it stands (the encoder checks it later).
    void Byte(char b) {
        if (static_cast<unsigned char>(b) <= 0x20) {
            Char(static_cast<unsigned char>(b));
            return;
        }
        if (FPendingSpace)
            FCurrent += ' ';
        FPendingSpace = false;
        FCurrent += b;
    }
    void Boundary() {
        FPendingSpace = false;
        if (FCurrent.empty())
            return;
        if (!FText.empty()) {
            if (FBoundary == TBoundary::Space || FText.back() == ';')
                FText += ' ';
            else
                FText += "; ";
        }
        FText += FCurrent;
        FCurrent.clear();
    }
    std::string Take() {
        Boundary();
        return std::move(FText);
    }

private:
    TBoundary FBoundary;
    std::string FText;
    std::string FCurrent;
    bool FPendingSpace = false;
};

// Decodes the character reference at `at` ('&'); returns its length, 0 when
// it is none (the '&' then stands for itself).
size_t Entity(std::string_view html, size_t at, char32_t& code) {
    const size_t semicolon = html.find(';', at);
    if (semicolon == std::string_view::npos || semicolon - at > 33)
        return 0;
    const std::string_view body = html.substr(at + 1, semicolon - at - 1);
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x' || body[1] == 'X';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return 0;
        uint32_t value = 0;
        for (char c : digits) {
            uint32_t d = 0;
            if (IsAsciiDigit(c))
                d = uint32_t(c - '0');
            else if (hex && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f')
                d = uint32_t(AsciiLower(c) - 'a' + 10);
            else
                return 0;
            value = value * (hex ? 16 : 10) + d;
        }
        const bool valid = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        code = valid ? value : 0xFFFD; // as a browser shows it
        return body.size() + 2;
    }
    code = NamedEntity(body);
    return code ? body.size() + 2 : 0;
}

} // namespace

std::string StripClozes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::vector<bool> inHint; // one per open cloze
    size_t hidden = 0;        // open clozes whose hint is being read
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 3, "{{c") == 0) {
            size_t k = i + 3;
            while (k < text.size() && IsAsciiDigit(text[k]))
                ++k;
            if (k > i + 3 && text.compare(k, 2, "::") == 0) {
                inHint.push_back(false);
                i = k + 2;
                continue;
            }
        }
        if (!inHint.empty()) {
            if (text.compare(i, 2, "}}") == 0) {
                if (inHint.back())
                    --hidden;
                inHint.pop_back();
                i += 2;
                continue;
            }
            if (!inHint.back() && text.compare(i, 2, "::") == 0) {
                inHint.back() = true;
                ++hidden;
                i += 2;
                continue;
            }
        }
        if (hidden == 0)
            out += text[i];
        ++i;
    }
    return out;
}

std::string StripSoundReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = text.find("[sound:", i);
        if (start == std::string_view::npos)
            break;
        const size_t end = text.find(']', start);
        if (end == std::string_view::npos)
            break;
        out.append(text.substr(i, start - i));
        i = end + 1;
    }
    out.append(text.substr(i));
    return out;
}

std::string HtmlFieldText(std::string_view field, TBoundary boundary) {
    const std::string text = StripSoundReferences(StripClozes(field));
    const std::string_view html = text;
    TCollector out(boundary);
    size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                const size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const size_t nameAt = i + 1 + (i + 1 < html.size() && html[i + 1] == '/' ? 1 : 0);
            const bool tagLike =
                nameAt < html.size() &&
                (IsAsciiAlpha(html[nameAt]) || html[nameAt] == '!' || html[nameAt] == '?');
            const size_t end = tagLike ? TagEnd(html, i) : std::string_view::npos;
            if (end == std::string_view::npos) { // a lone '<' is text
                out.Byte(c);
                ++i;
                continue;
            }
            std::string name;
            for (size_t k = nameAt; k < end && (IsAsciiAlpha(html[k]) || IsAsciiDigit(html[k]));
                 ++k)
                name += AsciiLower(html[k]);
            const bool closing = nameAt != i + 1;
            i = end;
            if (IsBoundary(name)) {
                out.Boundary();
            } else if (!closing && (name == "script" || name == "style")) {
                const size_t close = FindNoCase(html, "</" + name, i);
                const size_t closeEnd =
                    close == std::string_view::npos ? close : TagEnd(html, close);
                i = closeEnd == std::string_view::npos ? html.size() : closeEnd;
            }
            continue;
        }
        if (c == '&') {
            char32_t code = 0;
            if (const size_t length = Entity(html, i, code)) {
                out.Char(code);
                i += length;
                continue;
            }
        }
        // A no-break space in the raw text is a space too.
        if (c == '\xC2' && i + 1 < html.size() && html[i + 1] == '\xA0') {
            out.Char(0xA0);
            i += 2;
            continue;
        }
        out.Byte(c);
        ++i;
    }
    return out.Take();
}

} // namespace vocalore
