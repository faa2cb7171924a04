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
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace vocalore {

namespace detail {

namespace {

UCollator* OpenSortCollator(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale.c_str(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucol_setStrength(collator, UCOL_SECONDARY);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
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
    std::string unchanged(1, static_cast<char>(byte));
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
    tables->Locale = locale;
    tables->Turkic = locale.rfind("tr", 0) == 0 || locale.rfind("az", 0) == 0;
    tables->SortCollator = OpenSortCollator(locale);
    return tables;
}

} // namespace

TTextTables::~TTextTables() {
    if (SortCollator != nullptr)
        ucol_close(SortCollator);
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

// A byte that no later step reads across: contractions and "iz" are made of
// letters and apostrophes, letter case looks across apostrophes, periods and
// colons only, and rule B takes spaces alone with a part. The text before
// such a byte keeps its form whatever rules S and B make of the rest.
bool IsSettledBoundary(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '!':
    case '"':
    case '#':
    case '$':
    case '%':
    case '&':
    case '*':
    case '+':
    case ',':
    case '-':
    case ';':
    case '<':
    case '=':
    case '>':
    case '?':
    case '@':
    case '[':
    case '\\':
    case ']':
    case '_':
    case '{':
    case '|':
    case '}':
    case '~':
        return true;
    default:
        return false;
    }
}

// The part of `text` before the last boundary in front of `limit`; empty
// when there is none.
std::string_view SettledPart(std::string_view text, size_t limit) {
    for (size_t i = std::min(limit, text.size()); i > 0; --i)
        if (IsSettledBoundary(text[i - 1]))
            return text.substr(0, i - 1);
    return {};
}

bool AllBelow(std::u16string_view text, char16_t bound) {
    return std::all_of(text.begin(), text.end(), [bound](char16_t c) { return c < bound; });
}

// Canonical decomposition: texts that are canonically equivalent get equal
// forms. Nothing below U+00C0 decomposes, so most texts pass untouched.
void Decompose(std::u16string& text) {
    if (AllBelow(text, 0xC0))
        return;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status))
        return;
    std::u16string result(text.size() * 3 + 4, u'\0');
    const int32_t length =
        unorm2_normalize(nfd, text.data(), static_cast<int32_t>(text.size()), result.data(),
                         static_cast<int32_t>(result.size()), &status);
    if (U_SUCCESS(status)) {
        result.resize(static_cast<size_t>(length));
        text = std::move(result);
    }
}

void Compose(std::u16string& text) {
    if (AllBelow(text, 0x300))
        return;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status))
        return;
    std::u16string result(text.size() * 3 + 4, u'\0');
    const int32_t length =
        unorm2_normalize(nfc, text.data(), static_cast<int32_t>(text.size()), result.data(),
                         static_cast<int32_t>(result.size()), &status);
    if (U_SUCCESS(status)) {
        result.resize(static_cast<size_t>(length));
        text = std::move(result);
    }
}

// One ICU case operation into a string, growing the buffer when it is short.
template <typename TOperation>
std::u16string CaseOperation(std::u16string_view text, TOperation op) {
    std::u16string result(text.size() + 8, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = op(result.data(), static_cast<int32_t>(result.size()), text.data(),
                                  static_cast<int32_t>(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            result.resize(static_cast<size_t>(length));
            continue;
        }
        if (U_FAILURE(status))
            break;
        result.resize(static_cast<size_t>(length));
        return result;
    }
    return std::u16string(text);
}

// Letter case removed and nothing else: the language's lower case (Turkish
// and Azeri dotted and dotless i, a final capital sigma as final sigma), then
// full case folding (ß and SS alike), except that the final sigma stays apart
// from the medial one, since which of them a word ends in is spelling.
std::u16string CaseFolded(std::u16string_view text, const TTextTables& tables) {
    if (!tables.Turkic && AllBelow(text, 0x80)) {
        std::u16string lower(text);
        for (char16_t& c : lower)
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c - u'A' + u'a');
        return lower;
    }
    const char* locale = tables.Locale.c_str();
    const std::u16string lower =
        CaseOperation(text, [locale](UChar* dest, int32_t capacity, const UChar* src,
                                     int32_t length, UErrorCode* status) {
            return u_strToLower(dest, capacity, src, length, locale, status);
        });
    const uint32_t options = tables.Turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
    auto fold = [options](std::u16string_view piece) {
        return CaseOperation(piece, [options](UChar* dest, int32_t capacity, const UChar* src,
                                              int32_t length, UErrorCode* status) {
            return u_strFoldCase(dest, capacity, src, length, options, status);
        });
    };
    constexpr char16_t FinalSigma = 0x03C2;
    std::u16string result;
    size_t done = 0;
    for (size_t sigma = lower.find(FinalSigma); sigma != std::u16string::npos;
         sigma = lower.find(FinalSigma, done)) {
        result += fold(std::u16string_view(lower).substr(done, sigma - done));
        result += FinalSigma;
        done = sigma + 1;
    }
    result += fold(std::u16string_view(lower).substr(done));
    return result;
}

bool IsPunctuationOrSpace(UChar32 c) {
    return (U_GET_GC_MASK(c) & (U_GC_P_MASK | U_GC_S_MASK | U_GC_Z_MASK | U_GC_CC_MASK)) != 0;
}

std::string BracketsOnlyRemoved(const std::string& text, size_t open, size_t close) {
    std::string result = text;
    result.erase(close, 1);
    result.erase(open, 1);
    return result;
}

// A part standing as a word of its own takes one space with it. `from` is
// set to where the part was.
std::string PartRemoved(const std::string& text, size_t open, size_t close, size_t& from) {
    from = open;
    size_t to = close + 1;
    const bool spaceBefore = open == 0 || text[open - 1] == ' ';
    const bool spaceAfter = close + 1 == text.size() || text[close + 1] == ' ';
    if (spaceBefore && spaceAfter) {
        if (open > 0)
            --from;
        else if (close + 1 < text.size())
            ++to;
    }
    std::string result = text;
    result.erase(from, to - from);
    return result;
}

struct TMatcher {
    TMatcher(const TTextTables& tables, bool english) : Tables(tables), English(english) {}
    const TTextTables& Tables;
    bool English;

    bool Match(std::string_view expected, std::string_view given, uint16_t flags) const;
    bool RuleL(std::string_view expected, std::string_view given, uint16_t flags) const;
    bool RuleS(const std::string& expected, std::string_view given, uint16_t flags,
               size_t start) const;
    // `prefixMode`: `text` is the settled beginning of a longer expected
    // text; true when some choice of its brackets can begin a right answer.
    bool RuleB(const std::string& text, size_t start, std::string_view given, uint16_t flags,
               bool prefixMode) const;
    // Every text the pairs at or after `low` give, in any order of removal;
    // false when the steps ran out.
    bool TouchingPairs(const std::string& text, size_t low, std::set<std::string>& variants,
                       std::unordered_set<std::string>& seen) const;
    bool Plain(std::string_view expected, std::string_view given, uint16_t flags) const;

    // Whether an expected text that begins with `settled` (followed by a
    // boundary) can still match: rules S and B prune the variants that can't.
    bool CanBegin(std::string_view settled, std::string_view given, uint16_t flags) const;
    bool FitsBeginning(std::string_view settled, std::string_view given, uint16_t flags) const;
    bool PlainFitsBeginning(std::string_view settled, std::string_view given, uint16_t flags) const;

    bool IsWordChar(char c) const {
        return c == '\'' || Tables.IsAlnum(static_cast<unsigned char>(c));
    }

    // The comparison form of a text: equal forms are equal answers.
    std::u16string Form(std::string_view bytes, uint16_t flags) const;
    std::string WithIzeIse(std::string_view text, uint16_t flags) const {
        std::string result(text);
        if (English && (flags & efIzeIse) != 0)
            ReplaceAnyCase(result, "iz", "is");
        return result;
    }

    // A guard against hostile texts only ("a/a a/a ..." thirty times, twenty
    // touching brackets), which stop here after a fraction of a second:
    // variants that can't begin the answer are dropped at once, so real
    // items take a few hundred steps and sixteen translations, each with two
    // "/" words and two brackets, under 5,000.
    static constexpr size_t MaxSteps = 200'000;
    mutable size_t FSteps = 0;
    bool OutOfSteps() const { return ++FSteps > MaxSteps; }

    // The given texts stay the same through the many variants of one
    // expected text; their forms are kept.
    struct TGiven {
        std::u16string Form;
        bool StartsWithTo = false; // after rule Z
    };
    mutable std::unordered_map<std::string, TGiven> FGivens;
    const TGiven& Given(std::string_view given, uint16_t flags) const;
    mutable std::unordered_map<std::string, std::string> FExpandedGivens;
    const std::string& ExpandedGiven(std::string_view given) const;
    // Variants already known to fail, with their given text and position.
    mutable std::unordered_set<std::string> FFailed;
    mutable std::unordered_map<std::string, bool> FFits;
    static std::string FailKey(char rule, std::string_view text, size_t start,
                               std::string_view given) {
        std::string key(1, rule);
        key.append(std::to_string(start)).append(1, '\x01').append(given).append(1, '\x01');
        key.append(text);
        return key;
    }
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
    if ((flags & efOptionalBrackets) != 0)
        return RuleB(std::string(expected), 0, given, flags & ~efOptionalBrackets, false);
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

// `start` is 0-based: the first "/" looked at is at or after it. Everything
// before the word around that "/" is settled, so a variant whose beginning
// can't begin the answer ends its branch at once.
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
    if (!CanBegin(SettledPart(expected, first), given, flags))
        return false;
    std::string key = FailKey('S', expected, start, given);
    if (FFailed.count(key) != 0)
        return false;
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
    FFailed.insert(std::move(key));
    return false;
}

// The bracket pairs are decided from left to right, each kept, reduced to
// its contents or removed, in every combination; the text before the next
// undecided pair is settled but for the space its removal may take.
bool TMatcher::RuleB(const std::string& text, size_t start, std::string_view given, uint16_t flags,
                     bool prefixMode) const {
    if (OutOfSteps())
        return false;
    const size_t open = text.find('(', start);
    const size_t close = open == std::string::npos ? open : text.find(')', open + 1);
    if (close == std::string::npos) {
        if (!prefixMode)
            return Match(text, given, flags);
        // An unclosed "(" may still be closed after the settled part.
        return FitsBeginning(open == std::string::npos ? std::string_view(text)
                                                       : SettledPart(text, open),
                             given, flags);
    }
    if (!FitsBeginning(SettledPart(text, open), given, flags))
        return false;
    std::string key = FailKey(prefixMode ? 'b' : 'B', text, start, given);
    if (FFailed.count(key) != 0)
        return false;
    size_t end = close; // the last ")" of pairs that touch each other
    while (end + 1 < text.size() && text[end + 1] == '(') {
        const size_t next = text.find(')', end + 2);
        if (next == std::string::npos)
            break;
        end = next;
    }
    if (end != close) {
        // Whether "(a)(b)" loses a space depends on the order in which its
        // parts go: such a run takes every order, the rest stays as it is.
        const bool more = end + 1 < text.size();
        const std::string run = text.substr(0, more ? end + 2 : end + 1);
        const std::string_view rest = std::string_view(text).substr(run.size());
        std::set<std::string> variants;
        std::unordered_set<std::string> seen;
        if (!TouchingPairs(run, open > 0 ? open - 1 : 0, variants, seen))
            return false;
        for (const std::string& v : variants) {
            const size_t next = more && !v.empty() ? v.size() - 1 : v.size();
            if (RuleB(v + std::string(rest), next, given, flags, prefixMode))
                return true;
        }
    } else {
        if (RuleB(text, close + 1, given, flags, prefixMode))
            return true;
        if (RuleB(BracketsOnlyRemoved(text, open, close), open, given, flags, prefixMode))
            return true;
        size_t from = open;
        if (RuleB(PartRemoved(text, open, close, from), from, given, flags, prefixMode))
            return true;
    }
    FFailed.insert(std::move(key));
    return false;
}

bool TMatcher::TouchingPairs(const std::string& text, size_t low, std::set<std::string>& variants,
                             std::unordered_set<std::string>& seen) const {
    if (OutOfSteps())
        return false;
    if (!seen.insert(text).second)
        return true;
    variants.insert(text);
    for (size_t p = low;;) {
        const size_t open = text.find('(', p);
        if (open == std::string::npos)
            return true;
        const size_t close = text.find(')', open + 1);
        if (close == std::string::npos)
            return true;
        size_t from = open;
        if (!TouchingPairs(BracketsOnlyRemoved(text, open, close), low, variants, seen) ||
            !TouchingPairs(PartRemoved(text, open, close, from), low, variants, seen))
            return false;
        p = close + 1;
    }
}

bool TMatcher::CanBegin(std::string_view settled, std::string_view given, uint16_t flags) const {
    if (settled.empty())
        return true;
    if ((flags & efOptionalBrackets) != 0)
        return RuleB(std::string(settled), 0, given, flags & ~efOptionalBrackets, true);
    return FitsBeginning(settled, given, flags);
}

// Rule C compares the texts as they are and then expanded; either may fit.
bool TMatcher::FitsBeginning(std::string_view settled, std::string_view given,
                             uint16_t flags) const {
    if (settled.empty())
        return true;
    // Sibling variants share their beginnings: each is judged once.
    std::string key = FailKey(static_cast<char>(flags & 0x7F), settled, 0, given);
    if (const auto known = FFits.find(key); known != FFits.end())
        return known->second;
    const bool fits = PlainFitsBeginning(settled, given, flags & ~efContractions) ||
                      (English && (flags & efContractions) != 0 &&
                       PlainFitsBeginning(ExpandContractions(settled), ExpandedGiven(given),
                                          flags & ~efContractions));
    FFits.emplace(std::move(key), fits);
    return fits;
}

bool TMatcher::PlainFitsBeginning(std::string_view settled, std::string_view given,
                                  uint16_t flags) const {
    const TGiven& answer = Given(given, flags);
    const std::string expected = WithIzeIse(settled, flags);
    auto fits = [&](std::string_view text) {
        std::u16string form = Form(text, flags);
        // Combining marks after the boundary could join the last letter.
        while (!form.empty() && u_getCombiningClass(form.back()) != 0)
            form.pop_back();
        return answer.Form.size() >= form.size() &&
               std::u16string_view(answer.Form).substr(0, form.size()) == form;
    };
    if (fits(expected))
        return true;
    if (English && (flags & efInfinitiveTo) != 0) {
        // A leading "to " may yet be dropped, also when it runs past the end.
        const size_t n = std::min<size_t>(3, expected.size());
        if (StartsWithAt("to ", 0, std::string_view(expected).substr(0, n)))
            return fits(std::string_view(expected).substr(n));
    }
    return false;
}

const std::string& TMatcher::ExpandedGiven(std::string_view given) const {
    auto [slot, added] = FExpandedGivens.try_emplace(std::string(given));
    if (added)
        slot->second = ExpandContractions(given);
    return slot->second;
}

const TMatcher::TGiven& TMatcher::Given(std::string_view given, uint16_t flags) const {
    const uint16_t relevant = flags & (efIgnoreCase | efIgnorePunctuation | efIzeIse);
    std::string key(given);
    key += static_cast<char>(relevant);
    auto [slot, added] = FGivens.try_emplace(std::move(key));
    if (added) {
        const std::string bytes = WithIzeIse(given, flags);
        slot->second.Form = Form(bytes, flags);
        slot->second.StartsWithTo = StartsWithAt(bytes, 0, "to ");
    }
    return slot->second;
}

std::u16string TMatcher::Form(std::string_view bytes, uint16_t flags) const {
    std::u16string text = Tables.Page->ToUtf16(bytes);
    if ((flags & efIgnoreCase) != 0) {
        // Composed first: Turkish lowers "Í" to "í", but "I" and an accent
        // to a dotless "ı" with one.
        Compose(text);
        text = CaseFolded(text, Tables);
    }
    if ((flags & efIgnorePunctuation) != 0) {
        // Every character of a single-byte code page is in the BMP.
        text.erase(std::remove_if(text.begin(), text.end(),
                                  [](char16_t c) { return IsPunctuationOrSpace(c); }),
                   text.end());
    }
    Decompose(text);
    return text;
}

bool TMatcher::Plain(std::string_view expectedText, std::string_view givenText,
                     uint16_t flags) const {
    const TGiven& given = Given(givenText, flags);
    std::string expected = WithIzeIse(expectedText, flags);
    if (English && (flags & efInfinitiveTo) != 0) {
        if (StartsWithAt(expected, 0, "to ") && !given.StartsWithTo)
            expected.erase(0, 3);
    }
    return Form(expected, flags) == given.Form;
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
    const UCollator* collator = tables.SortCollator;
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
