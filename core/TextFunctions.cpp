#include "TextFunctions.h"

#include "CodePage.h"
#include "Languages.h"
#include "TextTables.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>

namespace vocalore {

namespace detail {

namespace {

UCollator* OpenCollator(const std::string& locale, unsigned ignoreBits) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale.c_str(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucol_setStrength(collator, (ignoreBits & 1) != 0 ? UCOL_SECONDARY : UCOL_TERTIARY);
    if ((ignoreBits & 2) != 0) {
        ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
        // Spaces, punctuation, symbols and currency signs all become ignorable.
        ucol_setMaxVariable(collator, UCOL_REORDER_CODE_CURRENCY, &status);
    } else {
        ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    }
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    return collator;
}

bool IsUnassigned(char16_t ch) {
    return ch >= TCodePage::UnassignedBase && ch <= TCodePage::UnassignedBase + 0xFF;
}

// The locale's lower case of one character if the code page can hold it as
// one byte; the simple case mapping otherwise (İ -> i outside Turkish).
unsigned char LowerByte(const TCodePage& page, const char* locale, unsigned char byte) {
    const char16_t ch = page.Decode(byte);
    if (IsUnassigned(ch))
        return byte;
    UChar lower[8];
    UErrorCode status = U_ZERO_ERROR;
    const UChar source[1] = {ch};
    const int32_t length = u_strToLower(lower, 8, source, 1, locale, &status);
    if (U_SUCCESS(status) && length == 1)
        if (const auto mapped = page.Encode(lower[0]))
            return *mapped;
    if (const auto mapped = page.Encode(static_cast<char32_t>(u_tolower(ch))))
        return *mapped;
    return byte;
}

// The character without its non-spacing marks (canonical decomposition), if
// the code page can hold what remains.
std::string UnaccentedByte(const TCodePage& page, unsigned char byte) {
    const std::string unchanged(1, static_cast<char>(byte));
    const char16_t ch = page.Decode(byte);
    if (IsUnassigned(ch))
        return unchanged;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    UChar decomposed[16];
    const UChar source[1] = {ch};
    const int32_t length =
        U_SUCCESS(status) ? unorm2_normalize(nfd, source, 1, decomposed, 16, &status) : 0;
    if (U_FAILURE(status))
        return unchanged;
    std::string result;
    for (int32_t i = 0; i < length; ++i) {
        if (u_charType(decomposed[i]) == U_NON_SPACING_MARK)
            continue;
        const auto mapped = page.Encode(decomposed[i]);
        if (!mapped)
            return unchanged;
        result += static_cast<char>(*mapped);
    }
    return result.empty() ? unchanged : result;
}

std::unique_ptr<TTextTables> BuildTables(uint16_t language) {
    auto tables = std::make_unique<TTextTables>();
    tables->Language = language;
    tables->Page = &TCodePage::ForLanguage(language);
    const std::string locale = LanguageLocale(language);
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char16_t ch = tables->Page->Decode(byte);
        if (!IsUnassigned(ch)) {
            if (u_isalpha(ch))
                tables->Class[b] |= ccAlpha;
            if (u_isdigit(ch))
                tables->Class[b] |= ccDigit;
        }
        tables->Lower[b] = LowerByte(*tables->Page, locale.c_str(), byte);
        tables->Unaccented[b] = UnaccentedByte(*tables->Page, byte);
    }
    for (unsigned bits = 0; bits < 4; ++bits)
        tables->Collators[bits] = OpenCollator(locale, bits);
    return tables;
}

} // namespace

TTextTables::~TTextTables() {
    for (UCollator* collator : Collators)
        if (collator != nullptr)
            ucol_close(collator);
}

std::string TTextTables::LowerCase(std::string_view text) const {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(Lower[static_cast<unsigned char>(c)]);
    return result;
}

std::string TTextTables::RemoveAccents(std::string_view text) const {
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        result += Unaccented[static_cast<unsigned char>(c)];
    return result;
}

const TTextTables& TextTablesFor(uint16_t language) {
    static std::mutex lock;
    static std::map<uint16_t, std::unique_ptr<TTextTables>> cache;
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = cache[language];
    if (!slot)
        slot = BuildTables(language);
    return *slot;
}

} // namespace detail

using detail::TextTablesFor;
using detail::TTextTables;

namespace {

// ASCII-only case folding: the English rules look for ASCII patterns only.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithAt(std::string_view text, size_t pos, std::string_view pattern) {
    if (pos + pattern.size() > text.size())
        return false;
    for (size_t k = 0; k < pattern.size(); ++k)
        if (AsciiLower(text[pos + k]) != AsciiLower(pattern[k]))
            return false;
    return true;
}

std::string AsciiLowerCopy(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

// Every occurrence of the lower-case `pattern` (found in any letter case)
// replaced by `by` as written. Returns false, leaving `text` alone, when
// there is none. `lower` is the ASCII lower case of `text`, kept up to date.
bool ReplaceAnyCase(std::string& text, std::string& lower, std::string_view pattern,
                    std::string_view by) {
    size_t found = lower.find(pattern);
    if (found == std::string::npos)
        return false;
    std::string result;
    result.reserve(text.size() + 8);
    size_t done = 0;
    while (found != std::string::npos) {
        result.append(text, done, found - done);
        result += by;
        done = found + pattern.size();
        found = lower.find(pattern, done);
    }
    result.append(text, done, std::string::npos);
    text = std::move(result);
    lower = AsciiLowerCopy(text);
    return true;
}

bool ReplaceAnyCase(std::string& text, std::string_view pattern, std::string_view by) {
    std::string lower = AsciiLowerCopy(text);
    return ReplaceAnyCase(text, lower, pattern, by);
}

struct TMatcher {
    TMatcher(const TTextTables& tables, bool english) : Tables(tables), English(english) {}
    const TTextTables& Tables;
    bool English;

    bool Match(std::string_view expected, std::string_view given, uint16_t flags) const;
    bool RuleL(std::string_view expected, std::string_view given, uint16_t flags) const;
    bool RuleS(const std::string& expected, std::string_view given, uint16_t flags,
               size_t start) const;
    bool RuleB(const std::string& expected, std::string_view given, uint16_t flags,
               std::unordered_set<std::string>& failed) const;
    bool Plain(std::string_view expected, std::string_view given, uint16_t flags) const;

    bool IsWordChar(char c) const {
        return c == '\'' || Tables.IsAlnum(static_cast<unsigned char>(c));
    }

    // Alternatives and optional parts multiply: ten "/" words of three pieces
    // each would take hours to try. Past this many steps the answer counts as
    // wrong, so a judgement never freezes the window; realistic items need a
    // few hundred steps and the heaviest we know of under 100,000.
    static constexpr size_t MaxSteps = 1'000'000;
    mutable size_t FSteps = 0;
    bool OutOfSteps() const { return ++FSteps > MaxSteps; }

    // The given text stays the same through the many variants of one
    // expected text; its prepared forms are kept for the next comparison.
    struct TPrepared {
        std::string Source;
        uint16_t Flags = 0;
        std::string Bytes;      // after rule Z
        std::u16string Unicode; // decoded
        bool Valid = false;
    };
    mutable TPrepared FGiven;
    mutable std::string FExpandedGivenSource;
    mutable std::string FExpandedGiven;
    mutable std::u16string FExpectedUnicode;

    const TPrepared& PrepareGiven(std::string_view given, uint16_t flags) const;
    const std::string& ExpandedGiven(std::string_view given) const;
};

bool TMatcher::Match(std::string_view expected, std::string_view given, uint16_t flags) const {
    if (expected == given)
        return true;
    if (OutOfSteps())
        return false;
    if ((flags & efTranslationList) != 0)
        return RuleL(expected, given, flags & ~efTranslationList);
    if ((flags & efAlternatives) != 0)
        return RuleS(std::string(expected), given, flags & ~efAlternatives, 0);
    if ((flags & efOptionalBrackets) != 0) {
        std::unordered_set<std::string> failed;
        return RuleB(std::string(expected), given, flags & ~efOptionalBrackets, failed);
    }
    if (English && (flags & efContractions) != 0) {
        const uint16_t rest = flags & ~efContractions;
        if (Match(expected, given, rest))
            return true;
        const std::string expandedExpected = ExpandContractions(expected);
        const std::string& expandedGiven = ExpandedGiven(given);
        // Nothing expanded: the same comparison again can't succeed.
        if (expandedExpected == expected && expandedGiven == given)
            return false;
        return Match(expandedExpected, std::string(expandedGiven), rest);
    }
    return Plain(expected, given, flags);
}

bool TMatcher::RuleL(std::string_view expected, std::string_view given, uint16_t flags) const {
    const auto e = SplitText(expected, ",;", true, MaxTranslations, true);
    const auto g = SplitText(given, ",;", true, MaxTranslations, true);
    size_t matches = 0;
    if ((flags & efAnyOrder) != 0) {
        for (const auto& entry : e)
            if (std::any_of(g.begin(), g.end(),
                            [&](const std::string& answer) { return Match(entry, answer, flags); }))
                ++matches;
    } else {
        for (size_t i = 0, j = 0; i < e.size() && j < g.size(); ++i) {
            if (Match(e[i], g[j], flags)) {
                ++matches;
                ++j;
            }
        }
    }
    if (matches != g.size())
        return false;
    if ((flags & efIncompleteList) != 0)
        return !(g.empty() && !e.empty());
    return g.size() == e.size();
}

// `start` is 0-based: the first "/" looked at is at or after it.
bool TMatcher::RuleS(const std::string& expected, std::string_view given, uint16_t flags,
                     size_t start) const {
    if (OutOfSteps())
        return false;
    const size_t slash = expected.find('/', start);
    if (slash == std::string::npos)
        return Match(expected, given, flags);
    size_t first = slash;
    while (first > 0 && IsWordChar(expected[first - 1]))
        --first;
    size_t last = slash; // one past the word
    while (last + 1 < expected.size() && IsWordChar(expected[last + 1]))
        ++last;
    ++last;
    const std::string x = expected.substr(first, slash - first);
    const std::string y = expected.substr(slash + 1, last - slash - 1);
    std::vector<std::string> variants;
    if (!x.empty()) {
        if (y.empty())
            variants = {x};
        else
            variants = {x, x + "/" + y, y, y + "/" + x};
    }
    const std::string_view before = std::string_view(expected).substr(0, first);
    const std::string_view after = std::string_view(expected).substr(last);
    for (const std::string& v : variants) {
        std::string candidate;
        candidate.reserve(before.size() + v.size() + after.size());
        candidate.append(before).append(v).append(after);
        if (RuleS(candidate, given, flags, first + v.size()))
            return true;
    }
    return false;
}

// The texts a failed expansion already produced are remembered: the search
// reaches the same bracket combination along many paths, and the result
// depends on the text alone.
bool TMatcher::RuleB(const std::string& expected, std::string_view given, uint16_t flags,
                     std::unordered_set<std::string>& failed) const {
    if (failed.count(expected) != 0 || OutOfSteps())
        return false;
    bool result = Match(expected, given, flags);
    size_t p = 0;
    while (!result) {
        const size_t open = expected.find('(', p);
        if (open == std::string::npos)
            break;
        const size_t close = expected.find(')', open + 1);
        if (close == std::string::npos)
            break;
        std::string bracketsOnly = expected;
        bracketsOnly.erase(close, 1);
        bracketsOnly.erase(open, 1);
        result = RuleB(bracketsOnly, given, flags, failed);
        if (!result) {
            // A part standing as a word of its own takes one space with it.
            size_t from = open;
            size_t to = close + 1;
            const bool spaceBefore = open == 0 || expected[open - 1] == ' ';
            const bool spaceAfter = close + 1 == expected.size() || expected[close + 1] == ' ';
            if (spaceBefore && spaceAfter) {
                if (open > 0)
                    --from;
                else if (close + 1 < expected.size())
                    ++to;
            }
            std::string withoutPart = expected;
            withoutPart.erase(from, to - from);
            result = RuleB(withoutPart, given, flags, failed);
        }
        p = close + 1;
    }
    if (!result)
        failed.insert(expected);
    return result;
}

const std::string& TMatcher::ExpandedGiven(std::string_view given) const {
    if (FExpandedGivenSource != given || FExpandedGiven.empty()) {
        FExpandedGivenSource.assign(given);
        FExpandedGiven = ExpandContractions(given);
    }
    return FExpandedGiven;
}

const TMatcher::TPrepared& TMatcher::PrepareGiven(std::string_view given, uint16_t flags) const {
    const uint16_t relevant = flags & efIzeIse;
    if (!FGiven.Valid || FGiven.Flags != relevant || FGiven.Source != given) {
        FGiven.Source.assign(given);
        FGiven.Flags = relevant;
        FGiven.Bytes.assign(given);
        if (English && relevant != 0)
            ReplaceAnyCase(FGiven.Bytes, "iz", "is");
        FGiven.Unicode = Tables.Page->ToUtf16(FGiven.Bytes);
        FGiven.Valid = true;
    }
    return FGiven;
}

bool TMatcher::Plain(std::string_view expectedText, std::string_view givenText,
                     uint16_t flags) const {
    const TPrepared& given = PrepareGiven(givenText, flags);
    std::string expected(expectedText);
    if (English && (flags & efIzeIse) != 0)
        ReplaceAnyCase(expected, "iz", "is");
    if (English && (flags & efInfinitiveTo) != 0) {
        if (StartsWithAt(expected, 0, "to ") && !StartsWithAt(given.Bytes, 0, "to "))
            expected.erase(0, 3);
    }
    const UCollator* collator = Tables.Collators[flags & (efIgnoreCase | efIgnorePunctuation)];
    if (collator == nullptr)
        return false;
    FExpectedUnicode.resize(expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        FExpectedUnicode[i] = Tables.Page->Decode(static_cast<unsigned char>(expected[i]));
    return ucol_strcoll(collator, FExpectedUnicode.data(),
                        static_cast<int32_t>(FExpectedUnicode.size()), given.Unicode.data(),
                        static_cast<int32_t>(given.Unicode.size())) == UCOL_EQUAL;
}

} // namespace

bool MatchAnswer(std::string_view expected, std::string_view given, uint16_t language,
                 uint16_t flags) {
    if (expected == given)
        return true;
    const TMatcher matcher{TextTablesFor(language), IsEnglish(language)};
    return matcher.Match(expected, given, flags);
}

bool BracketsValid(std::string_view text) {
    int depth = 0;
    for (const char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        if (depth > 1 || depth < 0)
            return false;
    }
    return depth == 0;
}

std::string ExpandContractions(std::string_view text) {
    static constexpr std::string_view Pairs[][2] = {
        {"would", "had"},       {"shall", "will"},    {"has", "is"},         {"won't", "will not"},
        {"shan't", "will not"}, {"can't", "can not"}, {"cannot", "can not"}, {"'m", " am"},
        {"'s", " is"},          {"'re", " are"},      {"'ve", " have"},      {"'ll", " will"},
        {"'d", " had"},         {"n't", " not"},
    };
    std::string result(text);
    std::string lower = AsciiLowerCopy(text);
    for (const auto& pair : Pairs)
        ReplaceAnyCase(result, lower, pair[0], pair[1]);
    return result;
}

std::string SortKey(std::string_view text, uint16_t language) {
    const TTextTables& tables = TextTablesFor(language);
    std::string filtered = LettersAndDigits(text, language, true);
    const UCollator* collator = tables.Collators[efIgnoreCase];
    if (collator == nullptr)
        return filtered;
    const std::u16string unicode = tables.Page->ToUtf16(filtered);
    std::string key(unicode.size() * 4 + 16, '\0');
    for (;;) {
        const int32_t length = ucol_getSortKey(
            collator, unicode.data(), static_cast<int32_t>(unicode.size()),
            reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (length <= 0)
            return filtered;
        if (static_cast<size_t>(length) <= key.size()) {
            key.resize(static_cast<size_t>(length) - 1); // without the terminating zero
            return key;
        }
        key.resize(static_cast<size_t>(length));
    }
}

std::string LettersAndDigits(std::string_view text, uint16_t language, bool keepSpaces) {
    const TTextTables& tables = TextTablesFor(language);
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        if (tables.IsAlnum(static_cast<unsigned char>(c)) || (keepSpaces && c == ' '))
            result += c;
    return result;
}

std::string LowerCaseText(std::string_view text, uint16_t language) {
    return TextTablesFor(language).LowerCase(text);
}

std::string RemoveAccents(std::string_view text, uint16_t language) {
    return TextTablesFor(language).RemoveAccents(text);
}

std::string NonAlphanumericTo(std::string_view text, uint16_t language, char replacement) {
    const TTextTables& tables = TextTablesFor(language);
    std::string result(text);
    for (char& c : result)
        if (!tables.IsAlnum(static_cast<unsigned char>(c)))
            c = replacement;
    return result;
}

// An empty text gives no pieces. Each delimiter and the end of the text end
// a piece; once `maxCount` pieces are taken the rest is ignored. Trimming
// removes bytes 0..32 at both ends of a piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiters, bool trim,
                                   int maxCount, bool skipEmpty) {
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && delimiters.find(text[i]) == std::string_view::npos)
            continue;
        if (static_cast<int>(pieces.size()) >= maxCount)
            break;
        std::string_view piece = text.substr(start, i - start);
        if (trim) {
            while (!piece.empty() && static_cast<unsigned char>(piece.front()) <= 32)
                piece.remove_prefix(1);
            while (!piece.empty() && static_cast<unsigned char>(piece.back()) <= 32)
                piece.remove_suffix(1);
        }
        if (!piece.empty() || !skipEmpty)
            pieces.emplace_back(piece);
        start = i + 1;
    }
    return pieces;
}

} // namespace vocalore
