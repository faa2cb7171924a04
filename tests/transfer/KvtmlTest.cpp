// KVTML: the real files Debian ships with KWordQuiz and kdeedu-kvtml-data
// against an independent reading (Python's ElementTree), the language
// matching of identifiers, both file versions, refusals, and our export read
// back by us and by Python.
#include "TransferTestUtil.h"

#include "core/CodePage.h"
#include "core/Languages.h"
#include "transfer/Import.h"
#include "transfer/Kvtml.h"
#include "transfer/LanguageLabel.h"
#include "transfer/TextDecode.h"
#include "transfer/qt/KvtmlXml.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <sstream>

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

constexpr uint16_t German = 0x0407, English = 0x0409, Polish = 0x0415, EnglishUK = 0x0809;

std::vector<std::string> KvtmlFiles() {
    std::vector<std::string> files;
    for (const char* dir : {"/usr/share/kwordquiz/examples", "/usr/share/apps/kvtml"}) {
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec))
            continue;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir, ec))
            if (e.path().extension() == ".kvtml")
                files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

} // namespace

// Every file Debian ships: each is read, its languages told from its
// identifiers, and its entries imported; the count and every text must agree
// with Python's reading, and a refusal must happen exactly when Python finds
// a text that the code pages can't hold.
TEST(KvtmlRealFiles, EveryShippedFileAgreesWithAnIndependentReading) {
    if (RunCommand("command -v python3").empty())
        GTEST_SKIP() << "python3 not available";
    const std::vector<std::string> files = KvtmlFiles();
    if (files.size() < 10)
        GTEST_SKIP() << "the kwordquiz and kdeedu-kvtml-data packages are not installed "
                        "(scripts/setup installs them)";
    std::string command =
        "python3 " + Quoted(std::string(VOCALORE_TEST_DATA) + "/kvtml_reference.py");
    for (const std::string& f : files)
        command += " " + Quoted(f);
    const QJsonObject reference =
        QJsonDocument::fromJson(QByteArray::fromStdString(RunCommand(command))).object();
    ASSERT_EQ(static_cast<size_t>(reference.size()), files.size());

    int imported = 0, refused = 0, broken = 0, matchedByLanguage = 0, entries = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const QJsonObject expected = reference.value(QString::fromStdString(path)).toObject();
        if (expected.contains("error_line")) {
            // Not well formed (real files have Latin-1 bytes under a UTF-8 declaration).
            const std::string error = ErrorOf([&] { ReadKvtmlFile(path); });
            EXPECT_TRUE(error.starts_with("Invalid KVTML file: line " +
                                          std::to_string(expected["error_line"].toInt()) + ": "))
                << error;
            ++broken;
            continue;
        }
        const TKvtmlData data = ReadKvtmlFile(path);
        EXPECT_EQ(data.Version, expected["version"].toInt());
        const QJsonArray identifiers = expected["identifiers"].toArray();
        ASSERT_EQ(data.Identifiers.size(), static_cast<size_t>(identifiers.size()));
        for (qsizetype i = 0; i < identifiers.size(); ++i) {
            const QJsonObject id = identifiers[i].toObject();
            EXPECT_EQ(data.Identifiers[size_t(i)].Id, id["id"].toInt());
            EXPECT_EQ(data.Identifiers[size_t(i)].Locale, id["locale"].toString().toStdString());
            EXPECT_EQ(data.Identifiers[size_t(i)].Name, id["name"].toString().toStdString());
        }

        // The languages as Open would take them; a single-language file (a
        // word list) gets its language on both sides, an unknown one English.
        auto [foreign, native] = KvtmlLanguages(data);
        if (foreign == 0)
            foreign = English;
        if (native == 0)
            native = foreign;
        TVocabFile doc;
        Languages(doc, foreign, native);
        const QJsonObject pages = expected["pages"].toObject();
        const bool fits = pages["word"].toArray().contains(int(LanguageCodePage(foreign))) &&
                          pages["other"].toArray().contains(int(LanguageCodePage(native)));
        const QJsonArray items = expected["items"].toArray();
        TKvtmlImportResult result;
        const std::string error = ErrorOf([&] { result = ImportKvtmlData(doc, data); });
        if (!fits) {
            EXPECT_TRUE(error.starts_with("Line ") && error.ends_with(" Nothing was imported."))
                << error;
            EXPECT_EQ(doc.Count(), 0);
            ++refused;
            continue;
        }
        ASSERT_EQ(error, "(no error)");
        ++imported;
        matchedByLanguage += result.Sides.Matched;
        ASSERT_EQ(result.Count, items.size());
        ASSERT_EQ(doc.Count(), items.size());
        entries += doc.Count();
        for (int32_t i = 0; i < doc.Count(); ++i) {
            const QJsonArray item = items[i].toArray();
            const TVocabItem& got = doc.Items(i);
            EXPECT_EQ(ToUtf8(got.Word, foreign), item[0].toString().toStdString()) << i;
            EXPECT_EQ(ToUtf8(got.Notes, native), item[1].toString().toStdString()) << i;
            EXPECT_EQ(ToUtf8(got.Translation, native), item[2].toString().toStdString()) << i;
        }
    }
    // Most of them import; the rest are languages outside the code pages
    // offered (Punjabi, Tajik, ...), and one is broken.
    EXPECT_EQ(imported + refused + broken, static_cast<int>(files.size()));
    EXPECT_GT(imported, static_cast<int>(files.size()) * 3 / 4);
    EXPECT_GT(refused, 0);
    EXPECT_GT(matchedByLanguage, 0);
    EXPECT_GT(entries, 5000);
    std::cout << files.size() << " files: " << imported << " imported (" << entries << " items), "
              << refused << " refused, " << broken << " not well formed\n";
}

// KWordQuiz's own examples: the languages named in their identifiers match
// the document's, whichever side the file puts them on.
TEST(KvtmlRealFiles, KWordQuizExamplesMatchTheDocumentLanguages) {
    const std::string path = "/usr/share/kwordquiz/examples/example.kvtml";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "the kwordquiz package is not installed";
    TVocabFile doc; // the file is English, German; the document German, English
    Languages(doc, German, English);
    const TKvtmlImportResult result = ImportKvtml(doc, path);
    EXPECT_TRUE(result.Sides.Matched);
    EXPECT_EQ(result.Sides.Word, 1);
    EXPECT_EQ(result.Sides.Translation, 0);
    ASSERT_EQ(result.Count, 9);
    EXPECT_EQ(Items(doc)[4], (TItemTexts{"f\xFCnf", "", "", "five"}));
    EXPECT_EQ(KvtmlImportMessage(result), "9 items imported successfully.");
    EXPECT_EQ(KvtmlLanguages(ReadKvtmlFile(path)), std::make_pair(English, German));
}

TEST(KvtmlLanguages, IdentifiersNamedByCodeOrByName) {
    const struct {
        const char* Label;
        uint16_t Id;
    } cases[] = {
        {"de", German},
        {"de_DE", German},
        {"en_GB", EnglishUK},
        {"en-GB", EnglishUK},
        {"en_gb", EnglishUK},
        {"en", English},
        {"pl", Polish},
        {"pt_BR", 0x0416},
        {"German", German},
        {"deutsch", German},
        {"Deutsch", German},
        {"ENGLISH", English},
        {"Polski", Polish},
        {"Polish", Polish},
        {" fr ", 0x040C},
        {"Fran\xC3\xA7"
         "ais",
         0x040C},
        {"English (United Kingdom)", EnglishUK},
        {"Original", 0},
        {"", 0},
        {"ja", 0},      // Japanese has no single-byte code page
        {"no", 0x0414}, // ICU knows only the primary language
        {"sr", 0x281A},
        {"sr@ijekavian", 0x281A},
        {"sr@latin", 0x241A}, // KDE's script variants
        {"sr@ijekavianlatin", 0x241A},
        {"sr_Latn", 0x241A},
        {"hr", 0x041A},
        {"State", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageFromLabel(c.Label), c.Id) << c.Label;
    EXPECT_TRUE(SameLanguage(English, EnglishUK));
    EXPECT_FALSE(SameLanguage(German, English));
    EXPECT_FALSE(SameLanguage(0, 0));

    TKvtmlData data;
    data.Identifiers = {{0, "English", "English"}, {1, "", "pl"}, {2, "Deutsch", ""}};
    // Any two identifiers can serve, in either order.
    const TKvtmlSides deEn = MatchKvtmlSides(data, German, EnglishUK);
    EXPECT_TRUE(deEn.Matched);
    EXPECT_EQ(deEn.Word, 2);
    EXPECT_EQ(deEn.Translation, 0);
    const TKvtmlSides plDe = MatchKvtmlSides(data, Polish, German);
    EXPECT_EQ(std::make_pair(plDe.Word, plDe.Translation), std::make_pair(1, 2));
    // One side unknown: the file's first two identifiers, said so in the message.
    const TKvtmlSides none = MatchKvtmlSides(data, German, 0x040C);
    EXPECT_FALSE(none.Matched);
    EXPECT_EQ(std::make_pair(none.Word, none.Translation), std::make_pair(0, 1));
    EXPECT_EQ(KvtmlImportMessage({3, none}),
              std::string("3 items imported successfully.") + KvtmlUnmatchedNote);
    // Both sides the same language need two identifiers of it.
    TKvtmlData same;
    same.Identifiers = {{0, "", "en"}, {1, "", "en_GB"}};
    EXPECT_TRUE(MatchKvtmlSides(same, English, English).Matched);
    same.Identifiers.pop_back();
    EXPECT_FALSE(MatchKvtmlSides(same, English, English).Matched);
    // One language only, matched or not: it is the word/phrase, and the message
    // says that rather than a mismatch.
    same.Identifiers = {{0, "", "en"}};
    for (const uint16_t foreign : {English, German}) {
        const TKvtmlSides one = MatchKvtmlSides(same, foreign, German);
        EXPECT_TRUE(one.OneLanguage);
        EXPECT_FALSE(one.Matched);
        EXPECT_EQ(std::make_pair(one.Word, one.Translation), std::make_pair(0, 1));
        EXPECT_EQ(KvtmlImportMessage({2, one}),
                  std::string("2 items imported successfully.") + KvtmlOneLanguageNote);
        EXPECT_EQ(KvtmlImportMessage({2, one, true}),
                  std::string("2 items imported successfully.") + KvtmlOneNamedLanguageNote);
    }
    same.Identifiers = {{1, "", "en"}};
    const TKvtmlSides second = MatchKvtmlSides(same, English, German);
    EXPECT_EQ(std::make_pair(second.Word, second.Translation), std::make_pair(1, 0));
    EXPECT_FALSE(none.OneLanguage);
    EXPECT_EQ(KvtmlImportMessage({3, deEn}), "3 items imported successfully.");
    EXPECT_EQ(KvtmlImportMessage({3, none, true}),
              std::string("3 items imported successfully.") + KvtmlUnmatchedNote);
    same.Identifiers = {{0, "", "en"}};

    EXPECT_EQ(KvtmlLanguages(data), std::make_pair(English, Polish));
    EXPECT_EQ(KvtmlLanguages(same), std::make_pair(English, uint16_t{0}));
}

TEST(KvtmlRead, Version2FieldsWordTypesAndOddShapes) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information><title>Tiere &amp; mehr</title><author>A. Autor</author></information>
  <identifiers>
    <identifier id="0"><name>English</name><locale>en</locale></identifier>
    <comment>not an identifier</comment>
    <identifier id="1"><name>Deutsch</name><locale>de</locale>
      <personalpronouns><singular><firstperson>ich</firstperson></singular></personalpronouns>
    </identifier>
  </identifiers>
  <entries>
    <entry id="7">
      <translation id="0"><text>dog</text><comment>pet</comment></translation>
      <translation id="1"><text>  der
 Hund </text><comment>m.</comment><pronunciation>hʊnt</pronunciation></translation>
    </entry>
    <entry id="3">
      <translation id="1"><text>Katze</text></translation>
      <translation id="0"><text>cat</text><comment>also a tool</comment></translation>
    </entry>
    <entry id="4"><translation id="1"><text>nur Deutsch</text></translation></entry>
    <entry id="5"><translation id="0"><text>   </text></translation></entry>
    <entry id="6"><translation id="0"><text>to run</text><wordtype><typename>Verb</typename><subtypename>Irregular</subtypename></wordtype></translation>
      <translation id="1"><text>laufen</text></translation></entry>
  </entries>
  <wordtypes>
    <container><name>Tool</name><entry id="3"><translation id="0"/></entry></container>
    <container><name>Noun</name>
      <container><name>Male</name><entry id="7"><translation id="1"/></entry></container>
      <entry id="3"><translation id="0"/><translation id="1"/></entry>
    </container>
    <container><name>Ghost</name><entry id="99"><translation id="0"/></entry></container>
  </wordtypes>
</kvtml>
)";
    const TKvtmlData data = ReadKvtml(xml);
    EXPECT_EQ(data.Title, "Tiere & mehr");
    EXPECT_EQ(data.Author, "A. Autor");
    ASSERT_EQ(data.Entries.size(), 5u);
    EXPECT_EQ(data.Entries[0].Translations.at(1).TextLine, 15);
    EXPECT_EQ(data.Identifiers.size(), 2u);

    TVocabFile doc;
    Languages(doc, German, English);
    const TKvtmlImportResult result = ImportKvtmlData(doc, data);
    EXPECT_TRUE(result.Sides.Matched);
    EXPECT_EQ(result.Count, 4);
    // Notes from the translation's comment, else the word's; the type from
    // the word's side, else the translation's; line breaks inside become spaces.
    const std::vector<TItemTexts> expected = {
        {"der  Hund", "Noun (Male)", "pet", "dog"},
        {"Katze", "Noun", "also a tool", "cat"},
        {"nur Deutsch", "", "", MissingTranslation},
        {"laufen", "Verb (Irregular)", "", "to run"},
    };
    EXPECT_EQ(Items(doc), expected);
    SetKvtmlProperties(doc, data);
    EXPECT_EQ(doc.GetProperty(piDescription), "Tiere & mehr");
    EXPECT_EQ(doc.GetProperty(piAuthor), "A. Autor");
}

TEST(KvtmlRead, Version1AttributesAndTypes) {
    const std::string xml =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n"
        "<kvtml encoding=\"UTF-8\" generator=\"kvoctrain\" cols=\"2\">\n"
        " <type><desc no=\"1\">Redewendung</desc></type>\n"
        " <lesson><desc no=\"1\">Lektion eins</desc></lesson>\n" // not ours: skipped whole
        " <e m=\"1\"><o l=\"de\" t=\"n:m\">Hund</o><t l=\"pl\" r=\"zwierz\">pies</t></e>\n"
        " <e><o t=\"#1\">Guten Tag</o><t>dzie\xC5\x84 dobry</t></e>\n"
        " <e><o t=\"xyz\">Haus</o><t>dom</t><t>drittes</t></e>\n"
        " <e><o></o><t>nic</t></e>\n"
        "</kvtml>\n";
    const TKvtmlData data = ReadKvtml(xml);
    EXPECT_EQ(data.Version, 1);
    ASSERT_EQ(data.Identifiers.size(), 2u);
    EXPECT_EQ(data.Identifiers[1].Locale, "pl");
    ASSERT_EQ(data.Entries.size(), 4u);
    EXPECT_EQ(data.Entries[2].Translations.at(2).Text, "drittes");

    TVocabFile doc;
    Languages(doc, German, Polish);
    const TKvtmlImportResult result = ImportKvtmlData(doc, data);
    EXPECT_TRUE(result.Sides.Matched);
    const std::vector<TItemTexts> expected = {
        {"Hund", "Noun", "zwierz", "pies"},
        {"Guten Tag", "Redewendung", "", "dzie\xF1 dobry"},
        {"Haus", "xyz", "", "dom"},
    };
    EXPECT_EQ(Items(doc), expected);
}

// Hostile nesting of any depth, inside a text and in the word-type
// containers, is read without exhausting the stack; cut off, it is refused.
TEST(KvtmlRead, DeepNestingReadsWithoutExhaustingTheStack) {
    constexpr int Depth = 200000;
    std::string xml = "<kvtml version=\"2.0\"><entries><entry id=\"1\"><translation "
                      "id=\"0\"><text>de";
    for (int i = 0; i < Depth; ++i)
        xml += "<b>";
    xml += "e";
    for (int i = 0; i < Depth; ++i)
        xml += "</b>";
    xml += "p</text></translation><translation id=\"1\"><text>tief</text></translation></entry>"
           "</entries><wordtypes><container><name>Noun</name>";
    for (int i = 1; i < Depth; ++i)
        xml += "<container>";
    xml += "<name>Deep</name><entry id=\"1\"><translation id=\"0\"/></entry>";
    for (int i = 0; i < Depth; ++i)
        xml += "</container>";
    xml += "</wordtypes></kvtml>";
    TKvtmlData data;
    ASSERT_EQ(ErrorOf([&] { data = ReadKvtml(xml); }), "(no error)");
    ASSERT_EQ(data.Entries.size(), 1u);
    EXPECT_EQ(data.Entries[0].Translations.at(0).Text, "deep");
    EXPECT_EQ(data.Entries[0].Translations.at(0).WordType, "Noun (Deep)");
    EXPECT_EQ(data.Entries[0].Translations.at(1).Text, "tief");

    for (const std::string& cut :
         {xml.substr(0, xml.find("e</b>")), xml.substr(0, xml.find("<name>Deep"))})
        EXPECT_TRUE(ErrorOf([&] { ReadKvtml(cut); }).starts_with("Invalid KVTML file: line 1: "));
}

TEST(KvtmlRead, BrokenFilesAndUnencodableTextsChangeNothing) {
    const struct {
        std::string Xml;
        std::string Error;
    } broken[] = {
        {"", "Invalid KVTML file: line 1: "},
        {"<vocabulary/>", "Invalid KVTML file: line 1: the root element is not kvtml"},
        {"<kvtml version=\"2.0\">\n<entries>\n<entry></entries>", "Invalid KVTML file: line 3: "},
        {"<kvtml version=\"2.0\"></kvtml><extra/>", "Invalid KVTML file: line 1: "},
        {"<kvtml version=\"2.0\"><entries>\n<entry><translation><text>\xF6</text>",
         "Invalid KVTML file: line 2: the byte 0xF6 is not part of a UTF-8 character."},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\" "
         "standalone=\"yes\"?>\n<kvtml>\n\n<e><o>\xF6</o></e>",
         "Invalid KVTML file: line 4: the byte 0xF6 is not part of a UTF-8 character."},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<kvtml version=\"2.0\"><entries>\n"
         "<entry><translation id=\"0\"><text>\xF6</text></translation></entry></entries></kvtml>",
         "(no error)"},
    };
    for (const auto& b : broken) {
        const std::string error = ErrorOf([&] { ReadKvtml(b.Xml); });
        EXPECT_TRUE(error.starts_with(b.Error)) << b.Xml << " gave " << error;
    }
    // UTF-16 in either byte order, told by its byte-order mark, is not taken for broken UTF-8.
    const std::u16string utf16 =
        u"<kvtml version=\"2.0\"><entries><entry><translation "
        u"id=\"0\"><text>\u00D6l</text></translation></entry></entries></kvtml>";
    for (const bool little : {true, false}) {
        std::string image = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const char16_t c : utf16) {
            const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
            image += little ? low : high;
            image += little ? high : low;
        }
        TKvtmlData data;
        EXPECT_EQ(ErrorOf([&] { data = ReadKvtml(image); }), "(no error)") << little;
        ASSERT_EQ(data.Entries.size(), 1u) << little;
        EXPECT_EQ(data.Entries[0].Translations.at(0).Text, "\xC3\x96l");
    }
    EXPECT_TRUE(ErrorOf([] {
                    ReadKvtmlFile("/nonexistent/x.kvtml");
                }).starts_with("Cannot open file /nonexistent/x.kvtml"));

    // A Polish letter in the translation of a German-English document, on line 5.
    const std::string xml =
        "<kvtml version=\"2.0\"><entries>\n"
        "<entry><translation id=\"0\"><text>Hund</text></translation>\n"
        "<translation id=\"1\"><text>dog</text></translation></entry>\n"
        "<entry><translation id=\"0\"><text>Zug</text></translation>\n"
        "<translation id=\"1\">\n<text>poci\xC4\x85g</text></translation></entry>\n"
        "</entries></kvtml>";
    TVocabFile doc;
    Languages(doc, German, English);
    EXPECT_EQ(ErrorOf([&] { ImportKvtmlData(doc, ReadKvtml(xml)); }),
              "Line 6, Translations: the character \"\xC4\x85\" (U+0105) cannot be stored in "
              "English (United States) (code page 1252). Nothing was imported.");
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_FALSE(doc.Modified());
}

TEST(KvtmlFormat, RecognisedByContent) {
    const struct {
        std::string Head;
        bool Kvtml;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml>\n<kvtml version=\"2.0\">", true},
        {"\xEF\xBB\xBF  <kvtml>", true},
        {"<kvtml\n encoding=\"UTF-8\">", true},
        {"<kvtmlx>", false},
        {"word\t<kvtml>", false}, // text that merely mentions it
        {"", false},
        {"<?xml version=\"1.0\"?><html/>", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LooksLikeKvtml(c.Head), c.Kvtml) << c.Head;
    // A name cut off where the read head ends is no evidence, whatever follows in memory.
    EXPECT_FALSE(LooksLikeKvtml(std::string_view("<kvtml>").substr(0, 6)));
    EXPECT_FALSE(LooksLikeKvtmlFile("/nonexistent/x.kvtml"));
}

// Our export read back by our reader (same items) and by Python's
// ElementTree the way the KDE programs take a file: the entries of the
// lessons, in their order, with the texts of identifiers 0 and 1.
TEST(KvtmlWrite, ReadsBackAsTheSameItems) {
    TVocabFile doc;
    Languages(doc, German, EnglishUK);
    doc.SetProperty(piDescription, "Tiere <&> \"mehr\"");
    doc.SetProperty(piAuthor, "M\xFCller");
    AddItem(doc, {"der Hund", "n.", "pl. Hunde", "dog"});
    AddItem(doc, {"die Stra\xDF"
                  "e",
                  "n.", "", "street, road"});
    AddItem(doc, {"sch\xF6n", "adj.", "<b>&amp;</b>", "beautiful; nice"});
    AddItem(doc, {"\x81", "", "", "#Value?#"}); // a byte no character stands for
    const std::string bytes = KvtmlBytes(doc);
    EXPECT_TRUE(bytes.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_NE(bytes.find("<locale>de_DE</locale>"), std::string::npos);
    EXPECT_NE(bytes.find("<generator>Vocalore 2.0</generator>"), std::string::npos);
    EXPECT_NE(bytes.find("<name>English</name>"), std::string::npos);

    const TKvtmlData data = ReadKvtml(bytes);
    EXPECT_EQ(KvtmlLanguages(data), std::make_pair(German, EnglishUK));
    TVocabFile back;
    Languages(back, German, EnglishUK);
    const TKvtmlImportResult result = ImportKvtmlData(back, data);
    EXPECT_TRUE(result.Sides.Matched);
    EXPECT_EQ(Items(back), Items(doc));
    SetKvtmlProperties(back, data);
    EXPECT_EQ(back.GetProperty(piDescription), doc.GetProperty(piDescription));
    EXPECT_EQ(back.GetProperty(piAuthor), doc.GetProperty(piAuthor));

    if (RunCommand("command -v python3").empty())
        GTEST_SKIP() << "python3 not available";
    TTempDir dir;
    ExportKvtml(doc, dir.File("out.kvtml"));
    WriteFile(dir.File("read.py"),
              "import sys, xml.etree.ElementTree as ET\n"
              "root = ET.parse(sys.argv[1]).getroot()\n"
              "entries = {e.get('id'): e for e in root.find('entries')}\n"
              "types = {e.get('id'): c.find('name').text for c in root.find('wordtypes') "
              "for e in c.findall('entry')}\n"
              "print(root.get('version'), [i.find('locale').text for i in "
              "root.iter('identifier')])\n"
              "for ref in root.find('lessons').find('container').findall('entry'):\n"
              "    e = entries[ref.get('id')]\n"
              "    t = {x.get('id'): x for x in e.findall('translation')}\n"
              "    print(ascii([t['0'].findtext('text'), types.get(ref.get('id'), ''), "
              "t['1'].findtext('comment') or '', t['1'].findtext('text')]))\n");
    const std::string out =
        RunCommand("python3 " + dir.File("read.py") + " " + dir.File("out.kvtml"));
    EXPECT_EQ(out, "2.0 ['de_DE', 'en_GB']\n"
                   "['der Hund', 'n.', 'pl. Hunde', 'dog']\n"
                   "['die Stra\\xdfe', 'n.', '', 'street, road']\n"
                   "['sch\\xf6n', 'adj.', '<b>&amp;</b>', 'beautiful; nice']\n"
                   "['\\x81', '', '', '#Value?#']\n");
}

// A part of speech of blanks only is no word type: no nameless container.
TEST(KvtmlWrite, BlankPartOfSpeechIsNoWordType) {
    TVocabFile doc;
    Languages(doc, German, EnglishUK);
    AddItem(doc, {"der Hund", "   ", "", "dog"});
    AddItem(doc, {"die Katze", " ", "", "cat"});
    std::string bytes = KvtmlBytes(doc);
    EXPECT_EQ(bytes.find("<wordtypes>"), std::string::npos);
    AddItem(doc, {"gut", " adj.", "", "good"});
    bytes = KvtmlBytes(doc);
    EXPECT_NE(bytes.find("<name> adj.</name>"), std::string::npos);
    EXPECT_EQ(bytes.find("<name>   </name>"), std::string::npos);
    EXPECT_EQ(bytes.find("<name> </name>"), std::string::npos);
}

// The stream form writes the same bytes and reports a stream that fails.
TEST(KvtmlWrite, StreamFormAndItsFailure) {
    TVocabFile doc;
    Languages(doc, German, English);
    AddItem(doc, {"Haus", "n.", "", "house"});
    std::ostringstream out;
    ExportKvtml(doc, out);
    EXPECT_EQ(out.str(), KvtmlBytes(doc));
    std::ostringstream bad;
    bad.setstate(std::ios::badbit);
    EXPECT_EQ(ErrorOf([&] { ExportKvtml(doc, bad); }), "Stream write error");
    // A full disk shows only when the buffered bytes are pushed out.
    if (std::filesystem::exists("/dev/full")) {
        std::ofstream full("/dev/full", std::ios::binary);
        EXPECT_EQ(ErrorOf([&] { ExportKvtml(doc, full); }), "Stream write error");
    }
}

TEST(KvtmlWrite, RefusesWhatXmlCannotCarry) {
    TVocabFile doc;
    Languages(doc, German, English);
    AddItem(doc, {"Haus", "", "", "house"});
    AddItem(doc, {"Bell", "", "ring\x07", "bell"});
    EXPECT_EQ(ErrorOf([&] { KvtmlBytes(doc); }),
              "Item 2, Notes: the character U+0007 cannot be written to a KVTML file.");
    TTempDir dir;
    const std::string path = dir.File("x.kvtml");
    EXPECT_NE(ErrorOf([&] { ExportKvtml(doc, path); }), "(no error)");
    EXPECT_FALSE(std::filesystem::exists(path));
}
