// The language table and the code-page conversions.
#include "core/Languages.h"
#include "core/CodePage.h"
#include "core/VocabFile.h"

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>

namespace vocalore {
namespace {

TEST(Languages, TableFactsOfWellKnownLanguages) {
    struct {
        uint16_t Id;
        uint16_t CodePage;
        const char* Abbreviation;
        int Charset;
        bool Offered;
    } const rows[] = {
        {0x0407, 1252, "DE", 0, true},   {0x0409, 1252, "EN", 0, true},
        {0x0809, 1252, "EN", 0, true},   {0x0415, 1250, "PL", 238, true},
        {0x0419, 1251, "RU", 204, true}, {0x0408, 1253, "EL", 161, true},
        {0x041F, 1254, "TR", 162, true}, {0x0427, 1257, "LT", 186, true},
        {0x0401, 1256, "AR", 0, false},  {0x040D, 1255, "HE", 0, false},
        {0x041E, 874, "TH", 0, false},   {0x0411, 932, "JP", 0, false},
        {0x0439, 0, "HI", 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Id);
        EXPECT_EQ(LanguageCodePage(row.Id), row.CodePage);
        EXPECT_EQ(LanguageAbbreviation(row.Id), row.Abbreviation);
        EXPECT_EQ(LanguageCharset(row.Id), row.Charset);
        EXPECT_EQ(IsLanguageAvailable(row.Id), row.Offered);
        // An offered language's character set leads back to its code page.
        if (row.Offered) {
            EXPECT_EQ(CharsetCodePage(row.Charset), row.CodePage);
        }
    }
    // Unknown identifiers, and other sub-languages than the table's, are unknown.
    for (uint16_t id : {0x0000, 0x0007, 0x7C09, 0xFFFF}) {
        EXPECT_FALSE(IsLanguageAvailable(id));
        EXPECT_EQ(LanguageCharset(id), 0);
        EXPECT_EQ(LanguageAbbreviation(id), "");
    }
}

// Names as a user reads them: a sort order by its value, never "key=value".
TEST(Languages, NamesAreFriendly) {
    EXPECT_EQ(LanguageName(0x040A), "Spanish (Spain, Traditional Sort)");
    EXPECT_EQ(LanguageName(0x0C0A), "Spanish (Spain)");
    for (const TLanguageEntry& entry : LanguageList())
        EXPECT_EQ(entry.Name.find('='), std::string::npos) << entry.Name;
    EXPECT_EQ(LanguageNameOrId(0x0401), "Arabic (Saudi Arabia)");
    EXPECT_EQ(LanguageNameOrId(0x0407), LanguageName(0x0407));
    EXPECT_EQ(LanguageNameOrId(0x00FF), "the language 00FF");
}

TEST(Languages, CharsetFontSuffixes) {
    EXPECT_EQ(CharsetFontSuffix(238), " CE");
    EXPECT_EQ(CharsetFontSuffix(204), " Cyr");
    EXPECT_EQ(CharsetFontSuffix(161), " Greek");
    EXPECT_EQ(CharsetFontSuffix(162), " Tur");
    EXPECT_EQ(CharsetFontSuffix(186), " Baltic");
    EXPECT_EQ(CharsetFontSuffix(0), "");
    EXPECT_EQ(CharsetFontSuffix(177), "");
    EXPECT_EQ(CharsetCodePage(177), 1252);
    EXPECT_EQ(CharsetCodePage(-1), 1252);
}

TEST(Languages, ListHoldsExactlyTheOfferedCodePagesInTableOrder) {
    const auto& list = LanguageList();
    ASSERT_GT(list.size(), 60u);
    std::set<std::string> names;
    for (size_t k = 0; k < list.size(); ++k) {
        SCOPED_TRACE(list[k].Id);
        EXPECT_FALSE(list[k].Name.empty());
        EXPECT_TRUE(names.insert(list[k].Name).second) << "duplicate name " << list[k].Name;
        const uint16_t cp = LanguageCodePage(list[k].Id);
        EXPECT_TRUE(cp == 1250 || cp == 1251 || cp == 1252 || cp == 1253 || cp == 1254 ||
                    cp == 1257);
        if (k > 0) {
            EXPECT_LT(list[k - 1].Id, list[k].Id);
        }
        // every offered language has a converter of its own code page
        EXPECT_EQ(TCodePage::ForLanguage(list[k].Id).Number(), cp);
    }
    const auto has = [&](uint16_t id) {
        return std::any_of(list.begin(), list.end(),
                           [id](const TLanguageEntry& e) { return e.Id == id; });
    };
    EXPECT_TRUE(has(0x0409));
    EXPECT_TRUE(has(0x0809));
    EXPECT_FALSE(has(0x0401));
    EXPECT_FALSE(has(0x0411));
    const auto& table = LanguageTable();
    for (size_t k = 0; k < table.size(); ++k) {
        EXPECT_EQ(has(table[k].Id), IsLanguageAvailable(table[k].Id)) << table[k].Id;
        EXPECT_EQ(std::string(table[k].Abbreviation).size(), 3u) << table[k].Id;
        if (k > 0) {
            EXPECT_LT(table[k - 1].Id, table[k].Id); // looked up by binary search
        }
    }
}

// Documents in every language whose code page the program serves open, in
// both roles, with a locale of their own; the Windows languages of those code
// pages that were once missing are among them.
TEST(Languages, EveryServedCodePageOpens) {
    for (uint16_t id : {0x0450, 0x0428, 0x0442, 0x0432, 0x0434, 0x0435, 0x0464, 0x4009, 0x4409,
                        0x4809, 0x540A, 0x083E, 0x0818, 0x0819, 0x0803, 0x3C09})
        EXPECT_TRUE(IsLanguageAvailable(id)) << std::hex << id;
    int served = 0;
    for (const TLanguageInfo& row : LanguageTable()) {
        const uint16_t cp = row.CodePage;
        if (cp != 1250 && cp != 1251 && cp != 1252 && cp != 1253 && cp != 1254 && cp != 1257)
            continue;
        ++served;
        SCOPED_TRACE(row.Id);
        ASSERT_NE(TCodePage::ForCodePage(cp), nullptr);
        if (row.Id != 0x0409) {
            EXPECT_NE(LanguageLocale(row.Id), "en_US") << "no locale of its own";
        }
        TVocabFile doc;
        doc.ForeignLangID = row.Id;
        doc.NativeLangID = row.Id == 0x0409 ? 0x0407 : 0x0409;
        doc.PendingItem().Word = "x";
        doc.InsertPending(ipAtEnd);
        std::ostringstream out;
        doc.SaveToStream(out);
        for (bool swap : {false, true}) {
            std::string bytes = out.str();
            if (swap) // the language as the native one
                std::swap_ranges(bytes.begin() + 10, bytes.begin() + 12, bytes.begin() + 12);
            std::istringstream in(bytes);
            TVocabFile back;
            EXPECT_NO_THROW(back.LoadFromStream(in));
            EXPECT_EQ(swap ? back.NativeLangID : back.ForeignLangID, row.Id);
        }
    }
    EXPECT_GT(served, 140);
}

TEST(Languages, UserDefaultComesFromTheSystemLocale) {
    const std::string saved = uloc_getDefault();
    struct {
        const char* Locale;
        uint16_t Id;
    } const cases[] = {
        {"de_AT", 0x0C07},
        {"de_DE", 0x0407},
        {"en_GB", 0x0809},
        {"pl_PL", 0x0415},
        {"de_BR", 0x0407}, // a country the table lacks: the language's first
                           // variant
        {"ja_JP", 0x0409}, // not offered
        {"ar_SA", 0x0409},
        {"en_US_POSIX", 0x0409},
    };
    for (const auto& c : cases) {
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault(c.Locale, &status);
        EXPECT_EQ(UserDefaultLanguage(), c.Id) << c.Locale;
    }
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(saved.c_str(), &status);
    EXPECT_TRUE(IsLanguageAvailable(UserDefaultLanguage()));
    EXPECT_EQ(LanguageLocale(0x0407), "de_DE");
    EXPECT_EQ(LanguageLocale(0x1234), "en_US");
}

TEST(CodePage, EveryByteRoundTripsInEveryOfferedCodePage) {
    for (uint16_t number : {1250, 1251, 1252, 1253, 1254, 1257}) {
        const TCodePage* page = TCodePage::ForCodePage(number);
        ASSERT_NE(page, nullptr) << number;
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const std::u16string unicode = page->ToUtf16(all);
        EXPECT_EQ(page->FromUtf16(unicode), all) << number;
        EXPECT_EQ(page->FromUtf8(page->ToUtf8(all)), all) << number;
        std::set<char16_t> distinct(unicode.begin(), unicode.end());
        EXPECT_EQ(distinct.size(), 256u) << number;
    }
}

TEST(CodePage, KnownMappingsAndUnassignedBytes) {
    const TCodePage& western = *TCodePage::ForCodePage(1252);
    const TCodePage& greek = *TCodePage::ForCodePage(1253);
    const TCodePage& baltic = *TCodePage::ForCodePage(1257);
    EXPECT_EQ(western.Decode(0x80), u'\u20AC');
    EXPECT_EQ(western.Decode(0xC4), u'\u00C4');
    EXPECT_EQ(western.Decode(0x81), u'\u0081'); // ICU's C1 control keeps the byte
    EXPECT_EQ(greek.Decode(0xC1), u'\u0391');
    EXPECT_EQ(greek.Decode(0xD2), char16_t(0xF0D2));
    EXPECT_EQ(greek.Decode(0xFF), char16_t(0xF0FF));
    EXPECT_EQ(baltic.Decode(0xA1), char16_t(0xF0A1));
    EXPECT_EQ(baltic.Decode(0xA5), char16_t(0xF0A5));
    EXPECT_EQ(TCodePage::ForCodePage(1251)->ToUtf8("\xcc\xee\xf1\xea\xe2\xe0"), "Москва");
    // The stand-in of one code page's unassigned byte means nothing to another.
    EXPECT_FALSE(western.Encode(0xF0D2).has_value());
    EXPECT_EQ(greek.Encode(0xF0D2), 0xD2);
}

TEST(CodePage, EncodingRefusesWhatTheCodePageCannotHold) {
    EXPECT_EQ(FromUtf8("Äpfel", 0x0407), "\xc4pfel");
    EXPECT_FALSE(FromUtf8("Москва", 0x0407).has_value());
    EXPECT_FALSE(FromUtf8("Łódź", 0x0407).has_value());
    EXPECT_TRUE(FromUtf8("Łódź", 0x0415).has_value());
    EXPECT_FALSE(FromUtf8("\xff\xfe", 0x0407).has_value()); // not UTF-8
    EXPECT_FALSE(FromUtf8("😀", 0x0407).has_value());
    const TCodePage& western = TCodePage::ForLanguage(0x0409);
    EXPECT_EQ(western.FirstUnencodable("abcЖd"), 3u);
    EXPECT_EQ(western.FirstUnencodable("äbc"), TCodePage::npos);
    EXPECT_TRUE(western.CanEncode(std::u16string(u"€uro")));
    EXPECT_FALSE(western.CanEncode(std::u16string(u"\u0100")));
}

// Pasted text the code page can't hold, letter by letter.
TEST(CodePage, BestFitReplacesMissingLettersWithTheirClosest) {
    const TCodePage& western = *TCodePage::ForCodePage(1252);
    const TCodePage& polish = *TCodePage::ForCodePage(1250);
    const TCodePage& russian = *TCodePage::ForCodePage(1251);
    const struct {
        const TCodePage* Page;
        std::u16string In, Out;
        bool Changed;
    } cases[] = {
        {&western, u"\u0141\u00F3d\u017A city", u"L\u00F3dz city", true},
        {&polish, u"\u0141\u00F3d\u017A city", u"\u0141\u00F3d\u017A city", false},
        {&western, u"plain \u00E9t\u00E9", u"plain \u00E9t\u00E9", false},
        {&western, u"e\u0301", u"\u00E9", false}, // composed, the same letter
        {&western, u"x\u0301y", u"xy", true},     // a mark on nothing it holds
        {&western, u"\u0142\u0111\u0127\u0131", u"ldhi", true},
        {&western, u"\uFB01n", u"fin", true},     // a ligature of compatibility
        {&western, u"\uFF21", u"A", true},        // full width
        {&western, u"\u65E5x", u"x", true},       // nothing close: dropped
        {&western, u"a\U0001F600b", u"ab", true}, // beyond the basic plane
        {&western, u"\u0107\u010D", u"cc", true},
        {&russian, u"\u00DF\u00E9", u"sse", true}, // ß is not in 1251
        {&russian, u"\u0416\u00C6", u"\u0416AE", true},
        {&polish, u"\u0153\u00E6", u"oeae", true},
        {&western, u"", u"", false},
    };
    for (const auto& c : cases) {
        bool changed = !c.Changed;
        EXPECT_EQ(c.Page->BestFit(c.In, changed), c.Out) << c.Page->Number();
        EXPECT_EQ(changed, c.Changed) << c.Page->Number();
        EXPECT_TRUE(c.Page->CanEncode(c.Out));
    }
}

TEST(CodePage, UnknownAndMultiByteCodePages) {
    EXPECT_EQ(TCodePage::ForCodePage(0), nullptr);
    EXPECT_EQ(TCodePage::ForCodePage(932), nullptr);
    EXPECT_EQ(TCodePage::ForLanguage(0).Number(), 1252);
    EXPECT_EQ(TCodePage::ForLanguage(0x0411).Number(), 1252);
    ASSERT_NE(TCodePage::ForCodePage(1256), nullptr);
    EXPECT_EQ(TCodePage::ForLanguage(0x0401).Number(), 1256);
}

} // namespace
} // namespace vocalore
