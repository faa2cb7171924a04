#include "TestDocs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include <sys/stat.h>
#include <unistd.h>

using namespace vocalore;
using namespace vocalore::testdocs;

namespace {

std::string Save(TVocabFile& doc) {
    std::ostringstream out;
    doc.SaveToStream(out);
    return out.str();
}

std::string Load(TVocabFile& doc, const std::string& bytes) {
    std::istringstream in(bytes);
    return ErrorOf([&] { doc.LoadFromStream(in); });
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// An output stream that fails after a given number of bytes.
class TFailingBuf : public std::streambuf {
public:
    explicit TFailingBuf(size_t limit) : FLimit(limit) {}
    std::string written;

protected:
    int_type overflow(int_type c) override {
        if (written.size() >= FLimit || c == traits_type::eof())
            return traits_type::eof();
        written.push_back(static_cast<char>(c));
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const auto room = static_cast<std::streamsize>(FLimit - written.size());
        const std::streamsize take = std::min(n, room);
        written.append(s, static_cast<size_t>(take));
        return take;
    }

private:
    size_t FLimit;
};

const std::string Magic = "Vocalore 2";

TEST(FileFormat, EmptyDocumentIs42Bytes) {
    TVocabFile doc;
    const std::string bytes = Save(doc);
    EXPECT_EQ(bytes, Magic + std::string(32, '\0'));
}

TEST(FileFormat, OneItemExampleIs71Bytes) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    Add(doc, "Haus", "house");
    const std::string expected = Magic + std::string("\x07\x04\x09\x04", 4) + std::string(8, '\0') +
                                 std::string(16, '\0') + std::string("\x01\0\0\0", 4) +
                                 std::string("\x04\0Haus", 6) + std::string(4, '\0') +
                                 std::string("\x05\0house", 7) + std::string(12, '\0');
    ASSERT_EQ(expected.size(), 71u);
    EXPECT_EQ(Save(doc), expected);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.SavedPosition(), doc.UndoPosition());
}

TEST(FileFormat, RoundTripKeepsEverything) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0419;
    doc.NativeLangID = 0x0809;
    for (int p = 0; p < PropertyCount; ++p)
        doc.SetProperty(p, "prop " + std::to_string(p) + (p == 2 ? "\r\nsecond line" : ""));
    Add(doc, "\xE4\xEE\xEC", "house");
    Add(doc, "der Hund", "dog");
    doc.Items(1).SortPosition = 4;
    doc.Items(1).PenaltyPoints = -1;
    doc.Items(1).LastTested = 123456;
    doc.Items(1).Notes = std::string("tab\there, zero\0byte", 20);
    doc.Items(1).Category = "noun";
    const std::string bytes = Save(doc);

    TVocabFile back;
    EXPECT_EQ(Load(back, bytes + "trailing garbage is ignored"), "(no error)");
    EXPECT_EQ(back.ForeignLangID, 0x0419);
    EXPECT_EQ(back.NativeLangID, 0x0809);
    for (int p = 0; p < PropertyCount; ++p)
        EXPECT_EQ(back.GetProperty(p), doc.GetProperty(p));
    ASSERT_EQ(back.Count(), 2);
    for (int32_t i = 0; i < 2; ++i) {
        for (int f = 0; f < FieldCount; ++f)
            EXPECT_EQ(back.Items(i).Field(f), doc.Items(i).Field(f));
        EXPECT_EQ(back.Items(i).LastTested, doc.Items(i).LastTested);
        EXPECT_EQ(back.Items(i).SortPosition, doc.Items(i).SortPosition);
        EXPECT_EQ(back.Items(i).PenaltyPoints, doc.Items(i).PenaltyPoints);
    }
    EXPECT_EQ(back.CurrentIndex(), -1);
    EXPECT_FALSE(back.Modified());
    EXPECT_EQ(back.UndoKind(), ukNone);
    EXPECT_EQ(Save(back), bytes);
}

TEST(FileFormat, CountersRoundTrip) {
    // The counters can only be set by loading; craft them in the header.
    std::string bytes = Magic + std::string("\x07\x04\x09\x04", 4) +
                        std::string("\x2A\0\0\0\x11\0\0\0", 8) + std::string(16, '\0') +
                        std::string(4, '\0');
    TVocabFile doc;
    ASSERT_EQ(Load(doc, bytes), "(no error)");
    EXPECT_EQ(doc.AttemptCount(), 42);
    EXPECT_EQ(doc.SuccessCount(), 17);
    EXPECT_EQ(Save(doc), bytes);
}

TEST(FileFormat, BrokenFilesLeaveEmptyDocument) {
    TVocabFile good;
    good.ForeignLangID = 0x0407;
    good.NativeLangID = 0x0409;
    Add(good, "Haus", "house");
    Add(good, "Hund", "dog");
    const std::string valid = Save(good);
    const std::string countAt = valid.substr(0, 38); // header and properties

    struct Row {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const Row rows[] = {
        {"empty file", "", "Stream read error"},
        {"shorter than the magic", "Vocalore", "Stream read error"},
        {"other digit", "Vocalore 1" + valid.substr(10), "Invalid file format."},
        {"other letter case", "vocalore 2" + valid.substr(10), "Invalid file format."},
        {"ends in the header", valid.substr(0, 20), "Stream read error"},
        {"ends in a property", valid.substr(0, 30), "Stream read error"},
        {"ends in an item", valid.substr(0, valid.size() - 5), "Stream read error"},
        {"fewer items than counted", countAt + std::string("\x03\0\0\0", 4) + valid.substr(42),
         "Stream read error"},
        {"negative count", countAt + std::string("\xFE\xFF\xFF\xFF", 4),
         "List capacity out of bounds (-2)"},
        {"absurd count", countAt + std::string("\xFF\xFF\xFF\x7F", 4) + valid.substr(42),
         "Stream read error"},
        {"string longer than the file",
         valid.substr(0, 42) + std::string("\xFF\xFF"
                                           "abc",
                                           5),
         "Stream read error"},
    };
    for (const Row& row : rows) {
        TVocabFile doc;
        Add(doc, "existing");
        EXPECT_EQ(Load(doc, row.bytes), row.message) << row.name;
        EXPECT_EQ(doc.Count(), 0) << row.name;
        EXPECT_FALSE(doc.Modified()) << row.name;
        EXPECT_EQ(doc.ForeignLangID, 0) << row.name;
        EXPECT_EQ(doc.UndoKind(), ukNone) << row.name;
    }
}

TEST(FileFormat, WriteFailureKeepsModified) {
    TVocabFile doc;
    Add(doc, "Haus", "house");
    TFailingBuf buf(20);
    std::ostream out(&buf);
    EXPECT_EQ(ErrorOf([&] { doc.SaveToStream(out); }), "Stream write error");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.SavedPosition(), 0);
}

TEST(FileFormat, TooLongTextIsRefusedBeforeWriting) {
    TVocabFile doc;
    Add(doc, "Haus", "house");
    doc.Items(0).Notes = std::string(65536, 'n');
    std::ostringstream out;
    const std::string error = ErrorOf([&] { doc.SaveToStream(out); });
    EXPECT_NE(error.find("item 1 (\"Haus\")"), std::string::npos) << error;
    EXPECT_NE(error.find("notes"), std::string::npos) << error;
    EXPECT_TRUE(out.str().empty());
    EXPECT_TRUE(doc.Modified());
    doc.Items(0).Notes.resize(65535); // the longest text that fits reads back whole
    TVocabFile back;
    EXPECT_EQ(Load(back, Save(doc)), "(no error)");
    EXPECT_EQ(back.Items(0).Notes.size(), 65535u);
}

// A name typed relative to the current folder is kept as a full path, so
// that the recent-file entry works from any folder; links are not resolved.
TEST(FileFormat, FileNameIsTheFullPathAsNamed) {
    TTempDir dir;
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    std::filesystem::create_directory("sub");
    TVocabFile doc;
    Add(doc, "Haus", "house");
    doc.SaveToFile("sub/x.vlo");
    EXPECT_EQ(doc.FileName(), dir / "sub/x.vlo");
    ASSERT_EQ(::symlink("sub/x.vlo", "link.vlo"), 0);
    TVocabFile loaded;
    loaded.LoadFromFile("./link.vlo");
    EXPECT_EQ(loaded.FileName(), dir / "link.vlo");
    loaded.LoadFromFile(dir / "sub/x.vlo");
    EXPECT_EQ(loaded.FileName(), dir / "sub/x.vlo");
    std::filesystem::current_path(saved);
}

TEST(FileFormat, SaveAndLoadFiles) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    TVocabFile doc;
    Add(doc, "Haus", "house");
    doc.SaveToFile(path);
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(ReadFile(path).size(), 71u);

    TVocabFile loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.FileName(), path);
    EXPECT_EQ(Words(loaded), W{"Haus"});

    // A missing file names the path and the reason; the document is unchanged.
    const std::string missing = dir / "missing.vlo";
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromFile(missing); }),
              "Cannot open file " + missing + ". No such file or directory");
    EXPECT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.FileName(), path);

    // Neither a folder nor a pipe without a writer is read: the first would
    // fail late, the second would hang. The document is unchanged.
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromFile(dir.Path().string()); }),
              "Cannot open file " + dir.Path().string() + ". Is a directory");
    const std::string pipe = dir / "pipe.vlo";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromFile(pipe); }),
              "Cannot open file " + pipe + ". Not a regular file");
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromFile("/dev/zero"); }),
              "Cannot open file /dev/zero. Not a regular file");
    EXPECT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.FileName(), path);

    // A broken file leaves the document empty and untitled.
    WriteFile(dir / "broken.vlo", "Vocalore 3 and more");
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromFile(dir / "broken.vlo"); }), "Invalid file format.");
    EXPECT_EQ(loaded.Count(), 0);
    EXPECT_EQ(loaded.FileName(), "");
}

// Opening a file into a document in use replaces all of it: nothing of the
// old list, its history or its selection survives into the new one.
TEST(FileFormat, LoadReplacesTheWholeDocument) {
    TVocabFile source;
    Add(source, "Haus", "house");
    const std::string bytes = Save(source);

    TVocabFile doc;
    Fill(doc, {"a", "b", "c"});
    doc.SetCurrentIndex(1);
    ASSERT_EQ(Load(doc, bytes), "(no error)");
    EXPECT_EQ(Words(doc), W{"Haus"});
    EXPECT_EQ(doc.UndoStepCount(), 0);
    EXPECT_EQ(doc.SavedPosition(), 0);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.CurrentIndex(), -1);
}

TEST(FileFormat, FailedSaveKeepsTheOldFile) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    TVocabFile doc;
    Add(doc, "Haus", "house");
    doc.SaveToFile(path);
    const std::string before = ReadFile(path);

    Add(doc, "Hund", "dog");
    doc.Items(1).Word = std::string(70000, 'x');
    EXPECT_NE(ErrorOf([&] { doc.SaveToFile(path); }), "(no error)");
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(doc.Modified());

    // A folder that can't be written: nothing is created, nothing changes.
    doc.Items(1).Word = "Hund";
    const std::string nowhere = dir / "no-such-folder/doc.vlo";
    EXPECT_EQ(ErrorOf([&] { doc.SaveToFile(nowhere); }),
              "Cannot create file " + nowhere + ". No such file or directory");
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_TRUE(doc.Modified());
    // No temporary files are left beside the target.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(FileFormat, SaveKeepsPermissionsOfExistingFile) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    TVocabFile doc;
    doc.SaveToFile(path);
    for (const mode_t mode : {0640u, 0755u}) {
        ::chmod(path.c_str(), mode);
        Add(doc, "Haus");
        doc.SaveToFile(path);
        struct stat info {};
        ::stat(path.c_str(), &info);
        EXPECT_EQ(info.st_mode & 0777, mode);
    }
}

} // namespace
