#include "settings/RecentFiles.h"

#include "core/VocabError.h"

#include <gtest/gtest.h>

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

TEST(RecentFiles, DuplicatesIgnoreLetterCaseAndKeepTheNewSpelling) {
    TRecentFileList list(MainRecentFileCapacity);
    list.Add("C:\\A\\x.vlo");
    list.Add("/other.vlo");
    list.Add("c:\\a\\X.VLO");
    EXPECT_EQ(Entries(list), (V{"c:\\a\\X.VLO", "/other.vlo"}));

    list.Add("/Home/\xC3\x9C"
             "bung.vlo"); // Übung
    list.Add("/home/\xC3\xBC"
             "bung.VLO"); // übung
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0), "/home/\xC3\xBC"
                             "bung.VLO");

    // Bytes that are not UTF-8 compare by themselves, never as alike replacement characters.
    list.Add("/x\xFF.vlo");
    list.Add("/x\xFE.vlo");
    EXPECT_EQ(list.Count(), 5);
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
