#include "TestDocs.h"

#include "core/FileIO.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

using namespace vocalore;
using namespace vocalore::testdocs;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FileIO, ReplaceKeepsLinksAndWritesDevicesInPlace) {
    TTempDir dir;
    const std::string real = dir / "real.txt";
    const std::string link = dir / "link.txt";
    ReplaceFile(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ReplaceFile(link, "new");
    EXPECT_EQ(Slurp(real), "new");
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // Devices are never renamed over: they take the bytes or refuse them.
    if (::access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(ErrorOf([] { ReplaceFile("/dev/full", "bytes"); }), "Stream write error");
        ASSERT_EQ(::stat("/dev/full", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
    ReplaceFile("/dev/null", "bytes");
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    // A pipe nobody reads fails at once instead of hanging the program.
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(fifo, "bytes"); }),
              "Cannot create file " + fifo + ". No such device or address");
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(dir.Path().string(), "x"); }),
              "Cannot create file " + dir.Path().string() + ". Is a directory");
}

TEST(FileIO, ReadRefusesWhatIsNotAPlainFile) {
    TTempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(fifo); }),
              "Cannot open file " + fifo + ". Not a regular file");
    EXPECT_EQ(ErrorOf([] { ReadWholeFile("/dev/zero"); }),
              "Cannot open file /dev/zero. Not a regular file");
    const std::string big = dir / "big";
    ReplaceFile(big, std::string(100, 'x'));
    EXPECT_EQ(ReadWholeFile(big, 100).size(), 100u);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(big, 99); }),
              "Cannot open file " + big + ". File too large");
}

} // namespace
