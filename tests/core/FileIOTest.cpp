#include "TestDocs.h"

#include "core/FileIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
        EXPECT_EQ(ErrorOf([] { ReplaceFile("/dev/full", "bytes"); }),
                  "Stream write error\n/dev/full: No space left on device");
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

std::vector<std::string> Names(const TTempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A full disk keeps the fixed text and says on a line of its own which file
// and why; the old file stays and nothing is left beside it.
TEST(FileIO, FullDiskNamesTheFileAndTheReason) {
    TTempDir dir;
    const std::string mount = dir / "small";
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    const std::string path = mount + "/doc.vlo";
    ReplaceFile(path, "old");
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, std::string(1 << 20, 'x')); }),
              "Stream write error\n" + path + ": No space left on device");
    EXPECT_EQ(Slurp(path), "old");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(mount))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"doc.vlo"});
    ::umount(mount.c_str());
}

// A save killed half-way (here by the file size limit) leaves no temporary
// file: it has no name until it is complete.
TEST(FileIO, KilledSaveLeavesNothingBehind) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    ReplaceFile(path, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ReplaceFile(path, std::string(1 << 20, 'x')); // SIGXFSZ ends the process
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(Slurp(path), "old");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"doc.vlo"});
}

// Where a named temporary file had to be used, the next save removes what a
// dead writer left, and nothing a live one is still writing.
TEST(FileIO, SaveRemovesTheLeftoverOfADeadWriter) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = "doc.vlo.tmp-" + std::to_string(child) + "-Ab12Cd";
    const std::string live = "doc.vlo.tmp-1-Ab12Cd"; // init never ends
    const std::string ours = "doc.vlo.tmp-" + std::to_string(::getpid()) + "-Ab12Cd";
    for (const std::string& name : {dead, live, ours, std::string("doc.vlo.tmp-x-1"),
                                    std::string("other.vlo.tmp-") + std::to_string(child) + "-1"})
        std::ofstream(dir / name) << "partial";
    ReplaceFile(path, "new");
    EXPECT_EQ(Slurp(path), "new");
    EXPECT_EQ(Names(dir),
              (std::vector<std::string>{"doc.vlo", "doc.vlo.tmp-1-Ab12Cd", ours, "doc.vlo.tmp-x-1",
                                        "other.vlo.tmp-" + std::to_string(child) + "-1"}));
}

// The last step of a save, putting the new file in the old one's place, can
// still be refused (here the document is a file mounted onto its name, as
// containers do). That is an error, not a save that kept the old bytes, and
// the finished temporary file goes too.
TEST(FileIO, RefusedReplacementIsAnError) {
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    const std::string mounted = dir / "mounted";
    ReplaceFile(path, "old");
    ReplaceFile(mounted, "mounted");
    if (::mount(mounted.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a file here (needs root): " << std::strerror(errno);
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, "new"); }),
              "Cannot create file " + path + ". Device or resource busy");
    EXPECT_EQ(Slurp(path), "mounted");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"doc.vlo", "mounted"}));
    ::umount(path.c_str());
}

// Owner-only files (the settings) are created 0600 whatever the umask, and an
// existing one loses its group and other access; others follow the umask.
TEST(FileIO, OwnerOnlyAccess) {
    TTempDir dir;
    const mode_t saved = ::umask(022);
    const std::string secret = dir / "settings";
    const std::string plain = dir / "doc.vlo";
    ReplaceFile(secret, "a", TNewFileAccess::OwnerOnly);
    ReplaceFile(plain, "a");
    struct stat info {};
    ASSERT_EQ(::stat(secret.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(plain.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    ::chmod(secret.c_str(), 0664);
    ReplaceFile(secret, "b", TNewFileAccess::OwnerOnly);
    ASSERT_EQ(::stat(secret.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ::umask(saved);
}

} // namespace
