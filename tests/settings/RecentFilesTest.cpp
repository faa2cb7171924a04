#include "settings/RecentFiles.h"

#include "core/VocabError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace vocalore;

namespace {

std::vector<std::string> Entries(const TRecentFileList& list) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.Count(); ++i)
        out.push_back(list.Items(i));
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(RecentFiles, AddMovesToTheFrontAndDropsTheOldest) {
    TRecentFileList list;
    EXPECT_EQ(list.Capacity(), 4);
    for (const char* p : {"/d.vlo", "/c.vlo", "/b.vlo", "/a.vlo"})
        list.Add(p);
    EXPECT_EQ(Entries(list), (V{"/a.vlo", "/b.vlo", "/c.vlo", "/d.vlo"}));

    list.Add("/c.vlo"); // third moves to the front, count unchanged
    EXPECT_EQ(Entries(list), (V{"/c.vlo", "/a.vlo", "/b.vlo", "/d.vlo"}));

    list.Add("/e.vlo"); // full: the oldest goes
    EXPECT_EQ(Entries(list), (V{"/e.vlo", "/c.vlo", "/a.vlo", "/b.vlo"}));

    list.Add("/b.vlo"); // a duplicate at the end is moved, nothing else is dropped
    EXPECT_EQ(Entries(list), (V{"/b.vlo", "/e.vlo", "/c.vlo", "/a.vlo"}));
}

// Names that differ in letter case are two documents on a case-sensitive
// file system and one where the file system opens both as the same file (a
// hard link stands in for a case-insensitive mount here).
TEST(RecentFiles, DuplicatesAreWhatTheFileSystemOpensAsOneFile) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "vocalore-recent-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string upper = folder + "/Lesson.vlo";
    const std::string lower = folder + "/lesson.vlo";
    std::ofstream(upper) << "a";
    std::ofstream(lower) << "b";

    TRecentFileList list(MainRecentFileCapacity);
    list.Add(upper);
    list.Add(lower);
    EXPECT_EQ(Entries(list), (V{lower, upper}));
    list.Add(upper);
    EXPECT_EQ(Entries(list), (V{upper, lower}));

    const std::string other = folder + "/Other.vlo";
    const std::string otherLower = folder + "/other.VLO";
    std::ofstream(other) << "c";
    ASSERT_EQ(::link(other.c_str(), otherLower.c_str()), 0);
    list.Add(other);
    list.Add(otherLower); // the same file: one entry, the new spelling
    EXPECT_EQ(Entries(list), (V{otherLower, upper, lower}));
    // A hard link under another name is not a case variant: kept apart.
    const std::string alias = folder + "/alias.vlo";
    ASSERT_EQ(::link(other.c_str(), alias.c_str()), 0);
    list.Add(alias);
    EXPECT_EQ(list.Count(), 4);

    // Files that don't exist (yet) compare exactly.
    list.Add("C:\\A\\x.vlo");
    list.Add("c:\\a\\X.VLO");
    EXPECT_EQ(list.Count(), 6);
    std::filesystem::remove_all(folder);

    EXPECT_TRUE(SamePathIgnoringCase("/Home/\xC3\x9C"
                                     "bung.vlo",
                                     "/home/\xC3\xBC"
                                     "bung.VLO")); // Übung, übung
    // Bytes that are not UTF-8 compare by themselves, never as alike replacement characters.
    EXPECT_FALSE(SamePathIgnoringCase("/x\xFF.vlo", "/x\xFE.vlo"));
    EXPECT_TRUE(SamePathIgnoringCase("/A\xFF", "/a\xFF"));
}

TEST(RecentFiles, AppendGrowsTheCapacityAndSetCapacityTrims) {
    TRecentFileList list(MainRecentFileCapacity);
    for (int i = 1; i <= 12; ++i)
        list.Append("/f" + std::to_string(i));
    EXPECT_EQ(list.Count(), 12);
    EXPECT_EQ(list.Capacity(), 12);
    list.Append("/f1"); // no duplicate check
    EXPECT_EQ(list.Count(), 13);

    list.Add("/new");
    EXPECT_EQ(list.Count(), 13);
    EXPECT_EQ(list.Items(0), "/new");
    EXPECT_EQ(list.Items(12), "/f12") << "the old last entry /f1 went";

    list.SetCapacity(4);
    EXPECT_EQ(Entries(list), (V{"/new", "/f1", "/f2", "/f3"}));
    EXPECT_EQ(list.Capacity(), 4);
}

TEST(RecentFiles, RefusedArguments) {
    TRecentFileList list;
    list.Add("/a");
    for (int32_t n : {0, -1}) {
        try {
            list.SetCapacity(n);
            ADD_FAILURE() << n;
        } catch (const EVocabFileError& e) {
            EXPECT_STREQ(e.what(), "Invalid property value");
        }
    }
    EXPECT_EQ(list.Capacity(), 4);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Items(1), EVocabFileError);
    EXPECT_THROW(list.Items(-1), EVocabFileError);
    EXPECT_THROW(TRecentFileList(0), EVocabFileError);
}
