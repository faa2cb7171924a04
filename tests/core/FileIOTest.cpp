#include "TestDocs.h"

#include "core/FileIO.h"
#include "core/Recovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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

// Undoes a mount also when an assertion leaves the test early.
class TUnmount {
public:
    explicit TUnmount(std::string path) : FPath(std::move(path)) {}
    ~TUnmount() { ::umount(FPath.c_str()); }
    TUnmount(const TUnmount&) = delete;
    TUnmount& operator=(const TUnmount&) = delete;

private:
    std::string FPath;
};

// A full disk keeps the fixed text and says on a line of its own which file
// and why; the old file stays and nothing is left beside it.
TEST(FileIO, FullDiskNamesTheFileAndTheReason) {
    TTempDir dir;
    const std::string mount = dir / "small";
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    const TUnmount unmount(mount);
    const std::string path = mount + "/doc.vlo";
    ReplaceFile(path, "old");
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, std::string(1 << 20, 'x')); }),
              "Stream write error\n" + path + ": No space left on device");
    EXPECT_EQ(Slurp(path), "old");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(mount))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"doc.vlo"});
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

namespace {

// Points XDG_STATE_HOME at a fresh folder, so the copies of old content that
// a save keeps land where the test can see them.
class TStateHome {
public:
    TStateHome() {
        const char* old = std::getenv("XDG_STATE_HOME");
        if (old != nullptr)
            FOld = old;
        FHad = old != nullptr;
        ::setenv("XDG_STATE_HOME", FDir.Path().c_str(), 1);
    }
    ~TStateHome() {
        if (FHad)
            ::setenv("XDG_STATE_HOME", FOld.c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
    }
    TStateHome(const TStateHome&) = delete;
    TStateHome& operator=(const TStateHome&) = delete;
    std::vector<std::string> Copies() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(FDir.Path() / "Vocalore", ec))
            names.push_back(entry.path().string());
        return names;
    }
    const std::filesystem::path& Path() const { return FDir.Path(); }

private:
    TTempDir FDir;
    std::string FOld;
    bool FHad = false;
};

ino_t Inode(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Hard links stay one file; a symbolic link, also a dangling one or one of a
// chain, keeps naming its target, which a save creates when it is missing.
TEST(FileIO, SaveKeepsHardAndSymbolicLinks) {
    TStateHome state;
    TTempDir dir;
    const std::string a = dir / "a.vlo";
    const std::string b = dir / "b.vlo";
    ReplaceFile(a, "old");
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    const ino_t inode = Inode(a);
    ReplaceFile(b, "new content");
    EXPECT_EQ(Slurp(a), "new content");
    EXPECT_EQ(Inode(a), inode);
    EXPECT_EQ(Inode(b), inode);
    ReplaceFile(a, "x"); // shorter: the rest of the old bytes goes
    EXPECT_EQ(Slurp(b), "x");
    EXPECT_TRUE(state.Copies().empty()); // the safe copy goes after the save

    std::filesystem::create_directory(dir / "sub");
    const std::string dangling = dir / "dangling.vlo";
    const std::string chain = dir / "chain.vlo";
    ASSERT_EQ(::symlink("sub/missing.vlo", dangling.c_str()), 0);
    ASSERT_EQ(::symlink("dangling.vlo", chain.c_str()), 0);
    ReplaceFile(chain, "through two links");
    struct stat info {};
    ASSERT_EQ(::lstat(dangling.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(chain.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(Slurp(dir / "sub/missing.vlo"), "through two links");

    const std::string loop = dir / "loop.vlo";
    ASSERT_EQ(::symlink("loop.vlo", loop.c_str()), 0);
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(loop, "x"); }),
              "Cannot create file " + loop + ". Too many levels of symbolic links");
}

// A file mounted onto its name (as containers do) can't be renamed over; the
// save writes into it.
TEST(FileIO, FileMountedOntoItsNameIsWrittenInPlace) {
    TStateHome state;
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    const std::string mounted = dir / "mounted";
    ReplaceFile(path, "old");
    ReplaceFile(mounted, "mounted");
    if (::mount(mounted.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a file here (needs root): " << std::strerror(errno);
    {
        TUnmount unmount(path);
        ReplaceFile(path, "new");
        EXPECT_EQ(Slurp(path), "new");
    }
    EXPECT_EQ(Slurp(mounted), "new");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"doc.vlo", "mounted"}));
    EXPECT_TRUE(state.Copies().empty());
}

// A read-only mount refuses with its reason and leaves the file alone.
TEST(FileIO, ReadOnlyMountRefusesTheSave) {
    TTempDir dir;
    const std::string folder = dir / "folder";
    std::filesystem::create_directory(folder);
    ReplaceFile(folder + "/doc.vlo", "old");
    const std::string view = dir / "view";
    std::filesystem::create_directory(view);
    if (::mount(folder.c_str(), view.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a folder here (needs root): " << std::strerror(errno);
    TUnmount unmount(view);
    ASSERT_EQ(::mount(nullptr, view.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
              0);
    const std::string path = view + "/doc.vlo";
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, "new"); }),
              "Cannot create file " + path + ". Read-only file system");
    EXPECT_EQ(Slurp(path), "old");
    // The window's read-only notice asks the same question.
    EXPECT_FALSE(MayWriteFile(path));
    EXPECT_TRUE(MayWriteFile(folder + "/doc.vlo"));
    EXPECT_TRUE(MayWriteFile(folder + "/missing.vlo"));
}

// A full disk during a save into the file itself puts the old content back.
TEST(FileIO, FailedWriteInPlaceRestoresTheOldContent) {
    TStateHome state;
    TTempDir dir;
    const std::string mount = dir / "small";
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    TUnmount unmount(mount);
    const std::string path = mount + "/doc.vlo";
    const std::string other = mount + "/other.vlo";
    ReplaceFile(path, "old");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, std::string(1 << 20, 'x')); }),
              "Stream write error\n" + path + ": No space left on device");
    EXPECT_EQ(Slurp(other), "old");
    EXPECT_TRUE(state.Copies().empty());
}

// A save into the file itself that dies half-way leaves the old content whole
// in the recovery folder, with the file's path.
TEST(FileIO, KilledSaveInPlaceLeavesACompleteCopy) {
    TStateHome state;
    TTempDir dir;
    const std::string path = dir / "doc.vlo";
    const std::string other = dir / "other.vlo";
    ReplaceFile(path, "old content");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ReplaceFile(path, std::string(1 << 20, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const auto copies = FindOrphanedRecoveryCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Kind, TRecoveryKind::BeforeSave);
    EXPECT_EQ(copies[0].OriginalPath, path);
    EXPECT_EQ(copies[0].Bytes, "old content");
    EXPECT_EQ(copies[0].Writer, child);
    struct stat info {};
    ASSERT_EQ(::stat(copies[0].File.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// Copies of a running writer are not offered; damaged ones are no copies.
TEST(FileIO, RecoveryCopiesCarryTheirPath) {
    TStateHome state;
    const std::string mine = NewRecoveryFileName(TRecoveryKind::Unsaved);
    WriteRecoveryCopy(mine, TRecoveryKind::Unsaved, "", std::string("a\nb\0c", 5));
    const auto read = ReadRecoveryCopy(mine);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->OriginalPath, "");
    EXPECT_EQ(read->Bytes, std::string("a\nb\0c", 5));
    EXPECT_EQ(read->Writer, ::getpid());
    EXPECT_TRUE(FindOrphanedRecoveryCopies().empty());
    struct stat info {};
    ASSERT_EQ(::stat(RecoveryFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const std::string image = Slurp(mine);
    const std::string broken = RecoveryFolder() + "/broken.recovery";
    for (const std::string& bad : {image.substr(0, image.size() - 5 - 2),
                                   std::string("Vocalore recovery 1\nlater\n1\n0\n\n"),
                                   std::string("Vocalore recovery 1\nunsaved\n1\n9\nshort\n"),
                                   std::string("Vocalore recovery 2\nunsaved\n1\n0\n\n")}) {
        ReplaceFile(broken, bad);
        EXPECT_FALSE(ReadRecoveryCopy(broken).has_value()) << bad;
    }
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(RecoveryFolder(), std::string(std::getenv("HOME")) + "/.local/state/Vocalore");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif
#else
constexpr bool AddressSanitizer = false;
#endif

// A file larger than the memory left is refused with a message that says so.
TEST(FileIO, FileTooLargeForMemorySaysSo) {
    if (AddressSanitizer)
        GTEST_SKIP() << "the address sanitizer aborts on exhausted memory instead of throwing";
    TTempDir dir;
    const std::string path = dir / "huge.vlo";
    { std::ofstream(path) << "Vocalore 2"; }
    ASSERT_EQ(::truncate(path.c_str(), off_t{3} << 30), 0); // sparse: takes no disk
    int pipes[2];
    ASSERT_EQ(::pipe(pipes), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{size_t{1} << 30, size_t{1} << 30};
        ::setrlimit(RLIMIT_AS, &limit);
        std::string message;
        try {
            message = ErrorOf([&] { ReadWholeFile(path); }) + "|";
            TVocabFile doc;
            message += ErrorOf([&] { doc.LoadFromFile(path); });
        } catch (const std::exception& e) {
            message = e.what();
        }
        (void)!::write(pipes[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(pipes[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipes[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<size_t>(n));
    ::close(pipes[0]);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string expected = "Cannot open file " + path + ". " + TooLargeForMemory;
    EXPECT_EQ(message, expected + "|" + expected);
}

// Test users made for one run, removed afterwards.
class TTestUsers {
public:
    TTestUsers() {
        const std::string tag = std::to_string(::getpid());
        Group = "vlo" + tag + "g";
        Owner = "vlo" + tag + "o";
        Member = "vlo" + tag + "m";
        Ok = Run("groupadd " + Group) &&
             Run("useradd -M -N -s /usr/sbin/nologin -G " + Group + " " + Owner) &&
             Run("useradd -M -N -s /usr/sbin/nologin -G " + Group + " " + Member);
    }
    ~TTestUsers() {
        Run("userdel " + Owner + " 2>/dev/null");
        Run("userdel " + Member + " 2>/dev/null");
        Run("groupdel " + Group + " 2>/dev/null");
    }
    TTestUsers(const TTestUsers&) = delete;
    TTestUsers& operator=(const TTestUsers&) = delete;

    // Runs f as the user in a child process; its text comes back.
    template <typename F> std::string As(const std::string& user, F&& f) const {
        const passwd* pw = ::getpwnam(user.c_str());
        const group* gr = ::getgrnam(Group.c_str());
        if (pw == nullptr || gr == nullptr)
            return "no such user";
        const uid_t uid = pw->pw_uid;
        const gid_t primary = pw->pw_gid;
        const gid_t shared = gr->gr_gid;
        int pipes[2];
        if (::pipe(pipes) != 0)
            return "no pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipes[0]);
            const gid_t groups[] = {shared};
            ::umask(002);
            if (::setgroups(1, groups) != 0 || ::setgid(primary) != 0 || ::setuid(uid) != 0)
                ::_exit(2);
            std::string text;
            try {
                text = f();
            } catch (const std::exception& e) {
                text = e.what();
            }
            (void)!::write(pipes[1], text.data(), text.size());
            ::_exit(0);
        }
        ::close(pipes[1]);
        std::string text;
        char buffer[512];
        for (ssize_t n; (n = ::read(pipes[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        ::close(pipes[0]);
        ::waitpid(child, nullptr, 0);
        return text;
    }
    uid_t Uid(const std::string& user) const { return ::getpwnam(user.c_str())->pw_uid; }
    gid_t SharedGid() const { return ::getgrnam(Group.c_str())->gr_gid; }

    std::string Group, Owner, Member;
    bool Ok = false;

private:
    static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }
};

// Two users share a list in a set-group-id folder: whoever saves, the file
// stays the owner's, in the shared group, with its mode and its inode, and
// the owner can still save it. A file the user may write is saved also where
// the folder refuses the user a new name.
TEST(FileIO, SharedListKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making test users and switching to them needs root";
    TTestUsers users;
    ASSERT_TRUE(users.Ok) << "useradd/groupadd failed";
    TTempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    const std::string shared = dir / "shared";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chown(shared.c_str(), 0, users.SharedGid()), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
    for (const std::string* user : {&users.Owner, &users.Member}) {
        const std::string state = dir / ("state-" + *user);
        std::filesystem::create_directory(state);
        ASSERT_EQ(::chown(state.c_str(), users.Uid(*user), users.SharedGid()), 0);
    }
    auto save = [&](const std::string& user, const std::string& path, const std::string& bytes) {
        return users.As(user, [&] {
            ::setenv("XDG_STATE_HOME", (dir / ("state-" + user)).c_str(), 1);
            return ErrorOf([&] { ReplaceFile(path, bytes); });
        });
    };
    const std::string list = shared + "/list.vlo";
    ASSERT_EQ(save(users.Owner, list, "by the owner"), "(no error)");
    struct stat before {};
    ASSERT_EQ(::stat(list.c_str(), &before), 0);
    EXPECT_EQ(before.st_uid, users.Uid(users.Owner));
    EXPECT_EQ(before.st_gid, users.SharedGid());
    EXPECT_EQ(before.st_mode & 07777, 0664u);

    EXPECT_EQ(save(users.Member, list, "by the member"), "(no error)");
    struct stat after {};
    ASSERT_EQ(::stat(list.c_str(), &after), 0);
    EXPECT_EQ(Slurp(list), "by the member");
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(save(users.Owner, list, "owner again"), "(no error)");
    EXPECT_EQ(Slurp(list), "owner again");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"shared", "state-" + users.Member,
                                                    "state-" + users.Owner}));
    for (const auto& entry : std::filesystem::directory_iterator(shared))
        EXPECT_EQ(entry.path(), list) << "left beside the list";

    // The owner's folder admits no new names from the member; the file does.
    const std::string own = dir / "own";
    std::filesystem::create_directory(own);
    ASSERT_EQ(::chown(own.c_str(), users.Uid(users.Owner), users.SharedGid()), 0);
    ASSERT_EQ(::chmod(own.c_str(), 0755), 0);
    const std::string writable = own + "/writable.vlo";
    ASSERT_EQ(save(users.Owner, writable, "old"), "(no error)");
    EXPECT_EQ(save(users.Member, writable, "new"), "(no error)");
    EXPECT_EQ(Slurp(writable), "new");
    // One the member may not write is refused, although root made the folder.
    ASSERT_EQ(::chmod(writable.c_str(), 0644), 0);
    EXPECT_EQ(save(users.Member, writable, "newer"),
              "Cannot create file " + writable + ". Permission denied");
    EXPECT_EQ(Slurp(writable), "new");
}

std::string Attribute(const std::string& path, const char* name) {
    std::string value(256, '\0');
    const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
    return n < 0 ? "(none)" : value.substr(0, static_cast<size_t>(n));
}

// An access list in the kernel's form: the owner, the group and others as
// the mode says, and besides them read and write for user 4242.
std::string AccessListGranting4242() {
    std::string acl;
    auto put = [&acl](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(2, 4); // version
    const uint32_t none = 0xFFFFFFFF;
    for (auto [tag, perm, id] :
         {std::tuple{0x01u, 6u, none}, std::tuple{0x02u, 6u, 4242u}, std::tuple{0x04u, 4u, none},
          std::tuple{0x10u, 6u, none}, std::tuple{0x20u, 4u, none}}) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    return acl;
}

// A save replaces the file by a new one: whom its access list lets in, and
// what else is attached to it, must come along. An owner-only file sheds the
// list instead.
TEST(FileIO, SaveKeepsTheAccessListAndAttributes) {
    TTempDir dir;
    const std::string list = dir / "list.vlo";
    ReplaceFile(list, "old");
    const std::string acl = AccessListGranting4242();
    if (::setxattr(list.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        GTEST_SKIP() << "no access lists on this file system: " << std::strerror(errno);
    ASSERT_EQ(::setxattr(list.c_str(), "user.vocalore.note", "kept", 4, 0), 0)
        << std::strerror(errno);
    const std::string stored = Attribute(list, "system.posix_acl_access");
    ASSERT_NE(stored, "(none)");
    const ino_t inode = Inode(list);

    ReplaceFile(list, "new");
    EXPECT_EQ(Slurp(list), "new");
    EXPECT_NE(Inode(list), inode) << "expected a new file renamed over the old";
    EXPECT_EQ(Attribute(list, "system.posix_acl_access"), stored);
    EXPECT_EQ(Attribute(list, "user.vocalore.note"), "kept");
    struct stat info {};
    ASSERT_EQ(::stat(list.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u) << "the group bits are the list's mask";

    ReplaceFile(list, "private", TNewFileAccess::OwnerOnly);
    EXPECT_EQ(Attribute(list, "system.posix_acl_access"), "(none)");
    EXPECT_EQ(Attribute(list, "user.vocalore.note"), "kept");
    ASSERT_EQ(::stat(list.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"list.vlo"});
}

} // namespace

namespace {

// A recovery copy opens as the unsaved document it was.
TEST(FileIO, RecoveredDocumentIsUnsavedWithItsPath) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    Fill(doc, {"Hund", "Katze"});
    const std::string image = doc.FileImage();
    EXPECT_TRUE(doc.Modified()); // taking the image saves nothing
    TVocabFile back;
    back.LoadRecovered(image, "/home/u/list.vlo");
    EXPECT_EQ(Words(back), (W{"Hund", "Katze"}));
    EXPECT_EQ(back.FileName(), "/home/u/list.vlo");
    EXPECT_TRUE(back.Modified());
    EXPECT_EQ(back.SavedPosition(), -1);
    EXPECT_EQ(back.ForeignLangID, 0x0407);
    EXPECT_EQ(ErrorOf([&] { back.LoadRecovered("garbage-bytes", "x"); }), "Invalid file format.");
    EXPECT_EQ(back.Count(), 0);
}

} // namespace
