#include "settings/SettingsStore.h"
#include "settings/SettingsFile.h"

#include "TempConfigHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace vocalore;
using vocalore::test::TempConfigHome;

namespace {

TStoredValue Bytes(TValueType type, std::vector<uint8_t> data) { return {type, std::move(data)}; }

class FileStoreTest : public ::testing::Test {
protected:
    TempConfigHome home;
    TFileSettingsStore store;
};

} // namespace

TEST_F(FileStoreTest, LivesUnderXdgConfigHomeAndFallsBackToHome) {
    EXPECT_EQ(store.FilePath(), home.SettingsFile());
    std::string xdg = std::getenv("XDG_CONFIG_HOME");
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1); // relative values are ignored
    const char* homeDir = std::getenv("HOME");
    if (homeDir != nullptr) {
        EXPECT_EQ(DefaultSettingsFilePath(),
                  std::string(homeDir) + "/.config/Vocalore/settings.ini");
    }
    ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
}

TEST_F(FileStoreTest, MissingKeyOpensOnlyWithCreateAndReadsGiveDefaults) {
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(ReadInteger(key.get(), "NextTip", 7), 7);
    EXPECT_TRUE(ReadBool(key.get(), "ShowTips", true));
    EXPECT_EQ(ReadString(key.get(), "File1", "none"), "none");
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_FALSE(ReadBinary(key.get(), "Options", buffer, sizeof buffer));
    EXPECT_FALSE(WriteInteger(key.get(), "NextTip", 1));
    EXPECT_FALSE(CloseSettingsKey(key));
    EXPECT_FALSE(std::filesystem::exists(home.SettingsFile()));

    // Creating the key makes the file even with nothing written.
    key = OpenSettingsKey(store, SettingsKeyPath, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(CloseSettingsKey(key));
    EXPECT_NE(OpenSettingsKey(store, SettingsKeyPath, false), nullptr);
    // It lists the user's documents: only the owner may read it.
    struct stat info {};
    ASSERT_EQ(::stat(home.SettingsFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FileStoreTest, EveryTypeSurvivesTheFileByteForByte) {
    std::string oddString = "/home/j\xC3\xBCrgen/a=b\\c\t\x01[x]#.vlo";
    std::vector<uint8_t> binary;
    for (int i = 0; i < 256; ++i)
        binary.push_back(static_cast<uint8_t>(i));
    {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        EXPECT_TRUE(WriteInteger(key.get(), "Negative", -2));
        EXPECT_TRUE(WriteInteger(key.get(), "ForeignLangID", 0x0407));
        EXPECT_TRUE(WriteBool(key.get(), "ShowTips", false));
        EXPECT_TRUE(WriteString(key.get(), "File1", oddString));
        EXPECT_TRUE(WriteString(key.get(), "Empty", ""));
        EXPECT_TRUE(WriteBinary(key.get(), "Binary", binary.data(), binary.size()));
        EXPECT_TRUE(WriteBinary(key.get(), "NoBytes", nullptr, 0));
        EXPECT_TRUE(WriteInteger(key.get(), "#odd=[name]", 5));
        // Reads through the same key see the writes before they reach the file.
        EXPECT_EQ(ReadInteger(key.get(), "ForeignLangID", 0), 0x0407);
        EXPECT_TRUE(CloseSettingsKey(key));
    }
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadInteger(key.get(), "Negative", 0), -2);
    EXPECT_EQ(ReadInteger(key.get(), "foreignlangid", 0), 0x0407) << "names ignore case";
    EXPECT_FALSE(ReadBool(key.get(), "ShowTips", true));
    EXPECT_EQ(ReadString(key.get(), "File1", ""), oddString);
    EXPECT_EQ(ReadString(key.get(), "Empty", "x"), "");
    EXPECT_EQ(ReadInteger(key.get(), "#odd=[name]", 0), 5);
    EXPECT_EQ(key->Query("File1")->Data.size(), oddString.size() + 1) << "stored with its zero";
    EXPECT_EQ(*key->Query("Binary"), Bytes(vtBinary, binary));
    EXPECT_EQ(*key->Query("NoBytes"), Bytes(vtBinary, {}));
    EXPECT_EQ(*key->Query("ForeignLangID"), Bytes(vtInteger, {0x07, 0x04, 0, 0}));
}

TEST_F(FileStoreTest, ReadsFollowTheStoredSizeNotTheType) {
    {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        WriteBinary(key.get(), "Two", "\x34\x12", 2);
        WriteBinary(key.get(), "Five", "\x01\x02\x03\x04\x05", 5);
        WriteString(key.get(), "Text", "ab");
        WriteInteger(key.get(), "Int", 0x00636261);
        CloseSettingsKey(key);
    }
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    EXPECT_EQ(ReadInteger(key.get(), "Two", -1), 0x1234) << "a shorter value fills the low bytes";
    EXPECT_EQ(ReadInteger(key.get(), "Five", -1), -1) << "too long for an integer";
    EXPECT_EQ(ReadInteger(key.get(), "Text", -1), 0x006261) << "'a' 'b' and the zero";
    EXPECT_EQ(ReadString(key.get(), "Int", ""), "abc") << "bytes up to the first zero";

    uint8_t buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    size_t stored = 0;
    EXPECT_TRUE(ReadBinary(key.get(), "Two", buffer, sizeof buffer, &stored));
    EXPECT_EQ(stored, 2u);
    EXPECT_EQ(buffer[0], 0x34);
    EXPECT_EQ(buffer[2], 0xEE) << "only the leading bytes are filled";
    EXPECT_FALSE(ReadBinary(key.get(), "Five", buffer, sizeof buffer, &stored));
    EXPECT_EQ(stored, 5u);
    EXPECT_EQ(buffer[0], 0x34) << "a failed read leaves the buffer alone";
}

TEST_F(FileStoreTest, ClosingMergesWithWhatAnotherRunWroteMeanwhile) {
    {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        WriteInteger(key.get(), "A", 1);
        WriteInteger(key.get(), "File12", 12);
        CloseSettingsKey(key);
    }
    auto first = OpenSettingsKey(store, SettingsKeyPath, true);
    auto second = OpenSettingsKey(store, SettingsKeyPath, true);
    WriteInteger(first.get(), "A", 2);
    WriteInteger(second.get(), "B", 3);
    EXPECT_TRUE(CloseSettingsKey(first));
    EXPECT_TRUE(CloseSettingsKey(second));
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    EXPECT_EQ(ReadInteger(key.get(), "A", 0), 2);
    EXPECT_EQ(ReadInteger(key.get(), "B", 0), 3);
    EXPECT_EQ(ReadInteger(key.get(), "File12", 0), 12) << "values nobody wrote stay";
}

TEST_F(FileStoreTest, DamagedFileReadsAsEmptyAndIsReplacedWhole) {
    home.WriteFile(std::string(SettingsFileMagic) + "\n[" +
                   "Software\\\\Quenwick\\\\Vocalore\\\\2.0" +
                   "]\nNextTip=dword:00000005\nOptions=hex:0G\n");
    EXPECT_EQ(OpenSettingsKey(store, SettingsKeyPath, false), nullptr);
    {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(ReadInteger(key.get(), "NextTip", 0), 0);
        WriteInteger(key.get(), "ShowTips", 1);
        EXPECT_TRUE(CloseSettingsKey(key));
    }
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadInteger(key.get(), "NextTip", -1), -1);
    EXPECT_EQ(ReadInteger(key.get(), "ShowTips", 0), 1);
    EXPECT_EQ(home.ReadFile().find("Options"), std::string::npos);
    // No temporary file is left behind.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(home.Dir + "/Vocalore"))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(FileStoreTest, APipeInPlaceOfTheFileDoesNotHang) {
    home.WriteFile("");
    std::filesystem::remove(home.SettingsFile());
    ASSERT_EQ(::mkfifo(home.SettingsFile().c_str(), 0600), 0);
    EXPECT_EQ(OpenSettingsKey(store, SettingsKeyPath, false), nullptr);
}

TEST_F(FileStoreTest, UnwritableLocationFailsQuietly) {
    home.WriteFile("");
    std::filesystem::remove(home.SettingsFile());
    std::filesystem::create_directory(home.SettingsFile()); // a folder where the file should be
    auto key = OpenSettingsKey(store, SettingsKeyPath, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(WriteInteger(key.get(), "A", 1));
    EXPECT_FALSE(CloseSettingsKey(key));
}

TEST(SettingsFileFormat, MalformedFilesAreRejectedWhole) {
    const std::string head = std::string(SettingsFileMagic) + "\n[K]\n";
    struct Case {
        const char* what;
        std::string text;
        bool ok;
    } cases[] = {
        {"empty", "", false},
        {"magic only", std::string(SettingsFileMagic), true},
        {"wrong magic", "Vocalore settings 2\n", false},
        {"comments and blank lines", head + "# note\n\nA=dword:00000001\n", true},
        {"CRLF line ends", std::string(SettingsFileMagic) + "\r\n[K]\r\nA=sz:x\r\n", true},
        {"value before any key", std::string(SettingsFileMagic) + "\nA=dword:00000001\n", false},
        {"no equals sign", head + "A dword:1\n", false},
        {"empty name", head + "=dword:00000001\n", false},
        {"unknown type", head + "A=qword:0000000000000001\n", false},
        {"short dword", head + "A=dword:0001\n", false},
        {"odd hex", head + "A=hex:012\n", false},
        {"bad hex digit", head + "A=hex:0z\n", false},
        {"empty hex", head + "A=hex:\n", true},
        {"bad escape", head + "A=sz:x\\q\n", false},
        {"cut escape", head + "A=sz:x\\x4\n", false},
        {"unclosed key", std::string(SettingsFileMagic) + "\n[K\n", false},
        {"empty key", std::string(SettingsFileMagic) + "\n[]\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSettingsFile(c.text).has_value(), c.ok) << c.what;
}

// Values are found by name without regard to ASCII case, also after the list
// was changed directly and in a file with 50,000 of them, in file order.
TEST(SettingsFileFormat, ValuesAreFoundByNameIgnoringCase) {
    TSettingsSection section;
    section.Set("File1", Bytes(vtString, {'a', 0}));
    section.Set("FILE1", Bytes(vtString, {'b', 0}));
    section.Set("File2", Bytes(vtString, {'c', 0}));
    ASSERT_EQ(section.Values.size(), 2u);
    EXPECT_EQ(section.Values[0].first, "File1");
    EXPECT_EQ(section.Find("file1")->Data, (std::vector<uint8_t>{'b', 0}));
    EXPECT_EQ(section.Find("File3"), nullptr);
    section.Values.emplace_back("File3", Bytes(vtString, {'d', 0}));
    ASSERT_NE(section.Find("FILE3"), nullptr);
    EXPECT_EQ(section.Find("FILE3")->Data, (std::vector<uint8_t>{'d', 0}));
    section.Set("AZaz", Bytes(vtString, {'e', 0})); // the ends of the letter range
    ASSERT_NE(section.Find("azAZ"), nullptr);
    EXPECT_EQ(section.Find("azAZ")->Data, (std::vector<uint8_t>{'e', 0}));
    section.Values.clear();
    EXPECT_EQ(section.Find("File1"), nullptr);

    std::string text = std::string(SettingsFileMagic) + "\n\n[K]\n";
    for (int i = 1; i <= 50000; ++i)
        text += "File" + std::to_string(i) + "=sz:/d/" + std::to_string(i) + ".vlo\n";
    const auto doc = ParseSettingsFile(text);
    ASSERT_TRUE(doc.has_value());
    const TSettingsSection* key = doc->Find("k");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->Values.size(), 50000u);
    EXPECT_EQ(key->Values[49999].first, "File50000");
    ASSERT_NE(key->Find("file31415"), nullptr);
    EXPECT_EQ(key->Find("file31415")->Data.size(), std::string("/d/31415.vlo").size() + 1);
    EXPECT_TRUE(FormatSettingsFile(*doc) == text); // no diff of a megabyte
}

TEST(SettingsFileFormat, FormatAndParseAreInverse) {
    TSettingsDocument doc;
    doc.FindOrAdd("Software\\Quenwick\\Vocalore\\2.0")
        .Set("File1", Bytes(vtString, {'a', '\n', 0xFF, 0}));
    doc.FindOrAdd("Other]Key").Set("[x", Bytes(vtInteger, {1, 2, 3, 4}));
    doc.FindOrAdd("Other]Key").Set("Odd", Bytes(vtInteger, {1, 2})); // not expressible as dword
    const std::string path = "[draft] a=b#].vlo";
    std::vector<uint8_t> pathBytes(path.begin(), path.end());
    pathBytes.push_back(0);
    doc.FindOrAdd("Other]Key").Set("File2", Bytes(vtString, pathBytes));
    std::string text = FormatSettingsFile(doc);
    EXPECT_NE(text.find("[Software\\\\Quenwick\\\\Vocalore\\\\2.0]"), std::string::npos) << text;
    EXPECT_NE(text.find("File1=sz:a\\x0A\xFF\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Other\\x5DKey]"), std::string::npos) << text;
    EXPECT_NE(text.find("\\x5Bx=dword:04030201"), std::string::npos) << text;
    // Only names need '=', ']' and a leading '[' escaped; a path stays readable.
    EXPECT_NE(text.find("File2=sz:" + path + "\n"), std::string::npos) << text;
    auto back = ParseSettingsFile(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(back->Sections.size(), 2u);
    EXPECT_EQ(*back->Find("software\\quenwick\\vocalore\\2.0")->Find("FILE1"),
              Bytes(vtString, {'a', '\n', 0xFF, 0}));
    EXPECT_EQ(*back->Find("Other]Key")->Find("[x"), Bytes(vtInteger, {1, 2, 3, 4}));
    EXPECT_EQ(back->Find("Other]Key")->Find("Odd")->Data, (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(back->Find("Other]Key")->Find("File2")->Data, pathBytes);
}

TEST(MemoryStore, BehavesLikeTheFileStore) {
    TMemorySettingsStore store;
    EXPECT_EQ(OpenSettingsKey(store, SettingsKeyPath, false), nullptr);
    auto key = OpenSettingsKey(store, SettingsKeyPath, true);
    WriteInteger(key.get(), "NextTip", 4);
    WriteInteger(key.get(), "NEXTTIP", 5);
    CloseSettingsKey(key);
    key = OpenSettingsKey(store, SettingsKeyPath, false);
    EXPECT_EQ(ReadInteger(key.get(), "nexttip", 0), 5);
    EXPECT_EQ(store.Keys.begin()->second.size(), 1u);
}
