// Flashcard packages: plain text from note fields, the choice of fields and
// decks, the all-or-nothing import, the layouts, and broken packages.

#include "AnkiPackages.h"
#include "TransferTestUtil.h"

#include "core/Languages.h"
#include "core/VocabError.h"
#include "core/VocabFile.h"
#include "transfer/AnkiPackage.h"
#include "transfer/HtmlText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

namespace vocalore {
namespace {

using namespace ankitest;
using transfertest::TTempDir;

std::string Plain(std::string_view html) { return HtmlFieldText(html, TBoundary::Space); }
std::string List(std::string_view html) { return HtmlFieldText(html, TBoundary::Semicolon); }

TEST(AnkiFieldText, TagsGoAndBlockBoundariesSeparate) {
    EXPECT_EQ(List("to speak<br>to talk"), "to speak; to talk");
    EXPECT_EQ(List("<div>to eat</div><div>to drink</div>"), "to eat; to drink");
    EXPECT_EQ(Plain("<div>to eat</div><div>to drink</div>"), "to eat to drink");
    EXPECT_EQ(List("<b>bold</b> and <i>it</i>alic"), "bold and italic");
    EXPECT_EQ(List("one;<br/>two"), "one; two"); // no doubled semicolon
    EXPECT_EQ(List("<br><div> </div>word<br><br>"), "word");
    EXPECT_EQ(List("a<p>b</p><ul><li>c</li><li>d</li></ul>"), "a; b; c; d");
    EXPECT_EQ(Plain("  many \t\n spaces  "), "many spaces");
    EXPECT_EQ(Plain("<span style=\"a>b\">x</span>"), "x"); // '>' inside a quoted value
    EXPECT_EQ(Plain("1 < 2 and 3 <4"), "1 < 2 and 3 <4");
    EXPECT_EQ(Plain("1 < 2 > 0, x <= y"), "1 < 2 > 0, x <= y"); // a '<' no tag name follows
    EXPECT_EQ(Plain("a <unclosed"), "a <unclosed");
    EXPECT_EQ(Plain("x<!-- hidden <b> -->y"), "xy");
    EXPECT_EQ(Plain("a<zoom>b</zoom>"), "ab");
    EXPECT_EQ(Plain("<style>.card{color:red}</style>word<script>alert(1)</script>"), "word");
}

TEST(AnkiFieldText, EntitiesDecode) {
    EXPECT_EQ(Plain("comer &amp; beber"), "comer & beber");
    EXPECT_EQ(Plain("&lt;b&gt; &quot;q&quot; &apos;"), "<b> \"q\" '");
    EXPECT_EQ(Plain("caf&eacute; &Auml; &euro;"), "caf\xC3\xA9 \xC3\x84 \xE2\x82\xAC");
    EXPECT_EQ(Plain("&#233;&#xE9;&#XE9;"), "\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(Plain("a&nbsp;&nbsp;b\xC2\xA0"), "a b"); // no-break spaces are spaces
    EXPECT_EQ(Plain("&#0; &#xD800; &#x110000;"), "\xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD");
    EXPECT_EQ(Plain("AT&T &unknown; & &#; &#x; &#12a; &#x1g;"),
              "AT&T &unknown; & &#; &#x; &#12a; &#x1g;");
    EXPECT_EQ(Plain("&amp;lt;"), "&lt;");                                        // decoded once
    EXPECT_EQ(Plain("&#00000065;&#x0000004A; &#000000065;"), "AJ &#000000065;"); // 8 digits at most
}

TEST(AnkiFieldText, SoundImagesAndClozes) {
    EXPECT_EQ(Plain("hablar [sound:hablar.mp3]"), "hablar");
    EXPECT_EQ(Plain("[sound:a.mp3][sound:b.mp3]x"), "x");
    EXPECT_EQ(Plain("[sound:never closed"), "[sound:never closed");
    EXPECT_EQ(Plain("der Hund <img src=\"dog.jpg\">"), "der Hund");
    EXPECT_EQ(Plain("{{c1::Paris}} is the capital"), "Paris is the capital");
    EXPECT_EQ(Plain("{{c12::Paris::city}} of {{c2::France::country}}"), "Paris of France");
    EXPECT_EQ(Plain("{{c1::outer {{c2::inner::h2}} text::hint}}"), "outer inner text");
    EXPECT_EQ(Plain("{{c1::a::b::c}}"), "a");
    EXPECT_EQ(Plain("{{c1::a::}} b"), "a b"); // an empty hint still closes
    EXPECT_EQ(Plain("{{c::not}} {{x}} a::b }}"), "{{c::not}} {{x}} a::b }}");
    EXPECT_EQ(Plain("{{c1::<b>bold</b>}}"), "bold");
}

// German words with English translations unless told otherwise.
void SetLanguages(TVocabFile& doc, uint16_t foreign = 0x0407, uint16_t native = 0x0409) {
    doc.ForeignLangID = foreign;
    doc.NativeLangID = native;
}

TAnkiPackage Package(std::vector<TNoteSpec> notes) {
    TCollectionPlan plan;
    plan.Notes = std::move(notes);
    return ReadAnkiPackage(MakePackage(plan));
}

TEST(AnkiImport, DefaultFieldsAndLeftOutNotes) {
    TVocabFile doc;
    SetLanguages(doc);
    const TAnkiPackage package = Package({{1, {"der Hund", "the dog<br>the hound"}},
                                          {1, {"<br>", "empty word"}},
                                          {1, {"die Katze", " [sound:x.mp3] "}},
                                          {1, {"das Haus"}}, // fewer fields than the type
                                          {1, {"", ""}},
                                          {1, {"gehen", "to go", "extra"}}});
    const TAnkiImportResult result = ImportAnkiData(doc, package, {});
    EXPECT_EQ(result.Count, 2);
    EXPECT_EQ(result.EmptyWord, 2);
    EXPECT_EQ(result.EmptyTranslation, 2);
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.Items(0).Word, "der Hund");
    EXPECT_EQ(doc.Items(0).Translation, "the dog; the hound");
    EXPECT_EQ(doc.Items(0).Notes, "");
    EXPECT_EQ(doc.Items(1).Word, "gehen");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(AnkiImportMessage(result), "2 items imported successfully. 4 notes were left out: "
                                         "2 with an empty word/phrase, 2 with an empty "
                                         "translation.");
    EXPECT_EQ(AnkiImportMessage({1, 0, 1}),
              "1 items imported successfully. 1 note was left out: 1 with an empty translation.");
    EXPECT_EQ(AnkiImportMessage({0, 3, 0}),
              "Nothing to import. 3 notes were left out: 3 with an empty word/phrase.");
    EXPECT_EQ(AnkiImportMessage({5, 0, 0}), "5 items imported successfully.");
}

TEST(AnkiImport, FieldsByNumberOrNameAcrossNoteTypes) {
    TCollectionPlan plan;
    plan.Types = {{1, "Basic", {"Front", "Back"}},
                  {2, "Vocab", {"Word", "Meaning", "Type", "Remark"}}};
    plan.Notes = {
        {2, {"laufen", "to run", "verb", "irregular"}}, {1, {"rot", "red"}}, {2, {"", "nothing"}}};
    const TAnkiPackage package = ReadAnkiPackage(MakePackage(plan));

    TAnkiImportSettings byName;
    byName.Fields = {TAnkiFieldRef{0, "word"}, TAnkiFieldRef{0, "Type"}, TAnkiFieldRef{4, {}},
                     TAnkiFieldRef{0, "Meaning"}};
    TVocabFile doc;
    SetLanguages(doc);
    const TAnkiImportResult result = ImportAnkiData(doc, package, byName);
    EXPECT_EQ(result.Count, 1); // Basic has no field "word"
    EXPECT_EQ(result.EmptyWord, 2);
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.Items(0).Word, "laufen");
    EXPECT_EQ(doc.Items(0).Category, "verb");
    EXPECT_EQ(doc.Items(0).Notes, "irregular");
    EXPECT_EQ(doc.Items(0).Translation, "to run");

    EXPECT_EQ(AnkiFieldCaptions(package),
              (std::vector<std::string>{"Word / Front", "Meaning / Back", "Type", "Remark"}));
    const TAnkiNoteType* vocab = FindAnkiNoteType(package, 2);
    ASSERT_NE(vocab, nullptr);
    EXPECT_EQ(AnkiFieldIndex(vocab, {0, "remark"}), 3);
    EXPECT_EQ(AnkiFieldIndex(vocab, {0, "nothing"}), -1);
    EXPECT_EQ(AnkiFieldIndex(vocab, {2, "Word"}), 1); // a number wins
    EXPECT_EQ(AnkiFieldIndex(nullptr, {0, "Word"}), -1);
    const TAnkiNoteType cased{9, "Cased", {"x", "word", "Word"}};
    EXPECT_EQ(AnkiFieldIndex(&cased, {0, "Word"}), 2); // the exact name first
    EXPECT_EQ(AnkiFieldIndex(&cased, {0, "WORD"}), 1);
}

TEST(AnkiImport, DeckChoiceTakesTheDeckAndTheDecksBelow) {
    for (const bool newSchema : {false, true}) {
        TCollectionPlan plan;
        plan.NewSchema = newSchema;
        plan.Decks = {{1, "Default"},     {10, "Spanish"}, {11, "Spanish::Verbs"},
                      {12, "Spanishish"}, {13, "Empty"},   {14, "Parent::Child"},
                      {15, "Parent"}};
        plan.Notes = {{1, {"uno", "one"}, 10},
                      {1, {"hablar", "to speak"}, 11},
                      {1, {"x", "y"}, 12},
                      {1, {"z", "w"}, 14}};
        const TAnkiPackage package = ReadAnkiPackage(MakePackage(plan, newSchema));
        std::vector<std::string> names;
        for (const TAnkiDeck& deck : package.Decks)
            names.push_back(deck.Name);
        // Only decks with cards in them or below them are offered.
        EXPECT_EQ(names, (std::vector<std::string>{"Parent", "Parent::Child", "Spanish",
                                                   "Spanish::Verbs", "Spanishish"}))
            << newSchema;
        TAnkiImportSettings settings;
        settings.Deck = "Spanish";
        TVocabFile doc;
        SetLanguages(doc);
        EXPECT_EQ(ImportAnkiData(doc, package, settings).Count, 2);
        settings.Deck = "Spanish::Verbs";
        EXPECT_EQ(ImportAnkiData(doc, package, settings).Count, 1);
        settings.Deck = "";
        EXPECT_EQ(ImportAnkiData(doc, package, settings).Count, 4);
    }
}

TEST(AnkiImport, UnencodableCharacterRefusesEverything) {
    TVocabFile doc;
    SetLanguages(doc, 0x0407, 0x0409); // German, English: code page 1252
    transfertest::AddItem(doc, {"alt", "", "", "old"});
    const TAnkiPackage package = Package(
        {{1, {"gut", "good"}}, {1, {"schlecht", "bad"}}, {1, {"Straße", "street <i>ł</i>"}}});
    try {
        ImportAnkiData(doc, package, {});
        FAIL() << "no error";
    } catch (const EVocabFileError& e) {
        EXPECT_STREQ(e.what(), "Note 3, field \"Back\" (Translations): the character \"ł\" "
                               "(U+0142) cannot be stored in English (United States) (code page "
                               "1252). Nothing was imported.");
    }
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.Items(0).Word, "alt");

    // The word/phrase goes through the foreign code page: Polish holds ł.
    TVocabFile polish;
    SetLanguages(polish, 0x0415, 0x0409);
    const TAnkiPackage p2 = Package({{1, {"łódź", "boat"}}, {1, {"żółw", "turtle"}}});
    EXPECT_EQ(ImportAnkiData(polish, p2, {}).Count, 2);
    EXPECT_EQ(polish.Items(0).Word, "\xB3\xF3\x64\x9F"); // łódź in code page 1250

    TVocabFile english;
    SetLanguages(english, 0x0409, 0x0407);
    try {
        ImportAnkiData(english, p2, {});
        FAIL() << "no error";
    } catch (const EVocabFileError& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, 52),
                  "Note 1, field \"Front\" (Word/phrase): the character \"");
    }
    EXPECT_EQ(english.Count(), 0);
}

TEST(AnkiImport, TextsTooLongForADocumentAreRefused) {
    TVocabFile doc;
    SetLanguages(doc);
    const TAnkiPackage package =
        Package({{1, {"ok", "fine"}}, {1, {"long", std::string(70000, 'a')}}});
    try {
        ImportAnkiData(doc, package, {});
        FAIL() << "no error";
    } catch (const EVocabFileError& e) {
        EXPECT_STREQ(e.what(), "Note 2, field \"Back\" (Translations): the text is 70000 bytes "
                               "long; a text may hold at most 65535 bytes. Nothing was imported.");
    }
    EXPECT_EQ(doc.Count(), 0);

    const TAnkiPackage fits = Package({{1, {"long", std::string(65535, 'a')}}});
    EXPECT_EQ(ImportAnkiData(doc, fits, {}).Count, 1);
    EXPECT_EQ(doc.Items(0).Translation.size(), 65535u);
}

TEST(AnkiPackage, EveryLayoutAndSchemaReadsTheSameNotes) {
    TCollectionPlan plan;
    plan.Types = {{7, "Basic (and reversed)", {"Front", "Back", "Extra"}}};
    plan.Decks = {{1, "Default"}, {20, "Deutsch::Verben"}};
    plan.Notes = {{7, {"gehen", "to go", ""}, 20}, {7, {"sehen", "to see", "irr."}, 20}};
    for (const bool newSchema : {false, true}) {
        plan.NewSchema = newSchema;
        for (const bool compressed : {false, true}) {
            const TAnkiPackage p = ReadAnkiPackage(MakePackage(plan, compressed));
            EXPECT_EQ(p.Collection, compressed ? "collection.anki21b" : "collection.anki2");
            ASSERT_EQ(p.Notes.size(), 2u); // never the placeholder's one note
            EXPECT_EQ(p.Notes[1].Fields, (std::vector<std::string>{"sehen", "to see", "irr."}));
            EXPECT_EQ(p.Notes[1].Decks, (std::vector<int64_t>{20}));
            ASSERT_EQ(p.NoteTypes.size(), 1u);
            EXPECT_EQ(p.NoteTypes[0].Name, "Basic (and reversed)");
            EXPECT_EQ(p.NoteTypes[0].Fields, (std::vector<std::string>{"Front", "Back", "Extra"}));
            ASSERT_EQ(p.Decks.size(), 1u);
            EXPECT_EQ(p.Decks[0].Name, "Deutsch::Verben");
        }
    }
    // A frame streamed without its size, as the program writes it.
    plan.NewSchema = true;
    const TAnkiPackage streamed =
        ReadAnkiPackage(MakeZip({{"collection.anki21b", ZstdStream(MakeCollection(plan))}}));
    EXPECT_EQ(streamed.Notes.size(), 2u);

    // The middle layout: collection.anki21 beside a placeholder.
    TCollectionPlan placeholder;
    placeholder.Notes = {{1, {"update", "please"}}};
    plan.NewSchema = false;
    const std::string middle = MakeZip({{"collection.anki2", MakeCollection(placeholder)},
                                        {"collection.anki21", MakeCollection(plan)}});
    EXPECT_EQ(ReadAnkiPackage(middle).Notes.size(), 2u);
    EXPECT_EQ(ReadAnkiPackage(middle).Collection, "collection.anki21");

    // A database left in write-ahead mode reads as an ordinary one.
    std::string wal = MakeCollection(plan);
    wal[18] = wal[19] = 2;
    EXPECT_EQ(ReadAnkiPackage(MakeZip({{"collection.anki2", wal}})).Notes.size(), 2u);
}

TEST(AnkiPackage, RecognisedByContentAndReadFromAFile) {
    TTempDir dir;
    TCollectionPlan plan;
    plan.Notes = {{1, {"a", "b"}}};
    const std::string path = dir.File("deck.txt");
    transfertest::WriteFile(path, MakePackage(plan, true));
    EXPECT_TRUE(LooksLikeAnkiPackageFile(path));
    EXPECT_TRUE(LooksLikeAnkiPackage(MakePackage(plan)));
    EXPECT_FALSE(LooksLikeAnkiPackage(MakeZip({{"content.xml", "<x/>"}})));
    EXPECT_FALSE(LooksLikeAnkiPackage("word\ttranslation\r\n"));
    EXPECT_FALSE(LooksLikeAnkiPackageFile(dir.File("missing.apkg")));
    EXPECT_FALSE(LooksLikeAnkiPackageFile(dir.File("")));

    TVocabFile doc;
    SetLanguages(doc);
    EXPECT_EQ(ImportAnki(doc, path, {}).Count, 1);
    EXPECT_THROW(ImportAnki(doc, dir.File("missing.apkg"), {}), EVocabFileError);
    try {
        ImportAnki(doc, dir.File(""), {});
        FAIL() << "a folder was read";
    } catch (const EVocabFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file", 0), 0u) << e.what();
    }
}

std::string Refusal(const std::string& image) {
    try {
        ReadAnkiPackage(image);
    } catch (const EVocabFileError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(AnkiPackage, BrokenPackagesAreRefusedQuickly) {
    TCollectionPlan plan;
    plan.Notes = {{1, {"a", "b"}}, {1, {"c", "d"}}};
    const std::string collection = MakeCollection(plan);
    std::string damaged = collection;
    for (size_t i = 4096; i < damaged.size(); ++i) // every page after the first
        damaged[i] = static_cast<char>(i * 7);
    TSqlWriter other;
    other.Exec("CREATE TABLE notes (id integer)");
    const std::string zeros(MaxAnkiCollectionBytes + 1, '\0');
    const std::string limit(MaxAnkiCollectionBytes, '\0'); // allowed, but no database
    std::string truncated = Zstd(collection);
    truncated.resize(truncated.size() / 2);
    std::ifstream in(VOCALORE_TRANSFER_DATA "/out-of-memory.anki2", std::ios::binary);
    const std::string sqliteOutOfMemory{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(sqliteOutOfMemory.size(), 1000u);

    const std::string prefix = "Invalid Anki package: ";
    const struct {
        const char* Name;
        std::string Image;
        std::string Message;
    } rows[] = {
        {"empty file", "", "the file is not a zip archive."},
        {"text", "der Hund\tthe dog\n", "the file is not a zip archive."},
        {"cut-off zip", MakePackage(plan).substr(0, 300), "the file is not a zip archive."},
        {"no collection", MakeZip({{"media", "{}"}, {"0", "x"}}),
         "it holds no collection (collection.anki21b, collection.anki21 or collection.anki2)."},
        {"not a database", MakeZip({{"collection.anki2", "SQLite format 3 but not really"}}),
         "the collection is damaged (file is not a database)."},
        {"damaged database", MakeZip({{"collection.anki2", damaged}}),
         "the collection is damaged (database disk image is malformed)."},
        {"other database", MakeZip({{"collection.anki2", other.Bytes()}}),
         "the collection is not a flashcard collection (no table col)."},
        {"zip bomb", MakeZip({{"collection.anki2", zeros}}),
         "the collection is larger than 128 MB, more than can be imported."},
        {"zstd bomb", MakeZip({{"collection.anki21b", Zstd(zeros)}}),
         "the collection is larger than 128 MB, more than can be imported."},
        {"streamed zstd bomb", MakeZip({{"collection.anki21b", ZstdStream(zeros)}}),
         "the collection is larger than 128 MB, more than can be imported."},
        {"128 MB", MakeZip({{"collection.anki2", limit}}),
         "the collection is damaged (file is not a database)."},
        {"128 MB streamed", MakeZip({{"collection.anki21b", ZstdStream(limit)}}),
         "the collection is damaged (file is not a database)."},
        {"not zstd", MakeZip({{"collection.anki21b", collection}}),
         "the compressed collection is damaged (not zstd data)."},
        {"cut-off zstd", MakeZip({{"collection.anki21b", truncated}}),
         "the compressed collection is damaged (it ends early)."},
        // A fuzzer's find: 2 KB that SQLite answers with "out of memory".
        {"damaged, out of memory", MakeZip({{"collection.anki2", sqliteOutOfMemory}}),
         "the collection could not be read (out of memory): it is damaged, or larger than the "
         "memory left."},
    };
    for (const auto& row : rows) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Refusal(row.Image), prefix + row.Message) << row.Name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << row.Name;
    }
}

TEST(AnkiPackage, DamagedJsonAndBrokenFieldsAreRefused) {
    TSqlWriter db;
    db.Exec("CREATE TABLE col (id integer PRIMARY KEY, models text, decks text)");
    db.Exec("CREATE TABLE notes (id integer PRIMARY KEY, mid integer, flds text)");
    db.Exec("CREATE TABLE cards (id integer PRIMARY KEY, nid integer, did integer, odid integer)");
    db.Exec("INSERT INTO col VALUES (1, '{\"1\": {\"name\": ', '{}')");
    EXPECT_EQ(Refusal(MakeZip({{"collection.anki2", db.Bytes()}})),
              "Invalid Anki package: the collection is damaged (malformed JSON).");

    // A note of an unknown type, and a card in a filtered deck, still count.
    db.Exec("UPDATE col SET models = '{}', decks = '{\"5\": {\"name\": \"Home\"}, \"6\": "
            "{\"name\": \"Filtered\"}}'");
    db.Exec("INSERT INTO notes VALUES (1, 99, 'Wort' || char(31) || 'word')");
    db.Exec("INSERT INTO cards VALUES (1, 1, 6, 5)");
    const TAnkiPackage package = ReadAnkiPackage(MakeZip({{"collection.anki2", db.Bytes()}}));
    ASSERT_EQ(package.Notes.size(), 1u);
    EXPECT_EQ(package.Notes[0].Decks, (std::vector<int64_t>{5}));
    TVocabFile doc;
    SetLanguages(doc);
    TAnkiImportSettings settings;
    settings.Deck = "Home";
    EXPECT_EQ(ImportAnkiData(doc, package, settings).Count, 1);
    EXPECT_EQ(doc.Items(0).Translation, "word");

    // Bytes that are not UTF-8 are named like any text of another import.
    db.Exec("UPDATE notes SET flds = CAST(x'4869FF1F6869' AS TEXT)");
    TVocabFile doc2;
    SetLanguages(doc2);
    try {
        ImportAnkiData(doc2, ReadAnkiPackage(MakeZip({{"collection.anki2", db.Bytes()}})), {});
        FAIL() << "no error";
    } catch (const EVocabFileError& e) {
        EXPECT_STREQ(e.what(), "Note 1, field 1 (Word/phrase): the byte 0xFF is not part of a "
                               "UTF-8 character. Nothing was imported.");
    }
}

} // namespace
} // namespace vocalore
