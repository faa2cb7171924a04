// The lock file beside an open document: seen by other processes, ignored
// when ours or stale, removed only by its owner.
#include "TestDocs.h"

#include "core/DocumentLock.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace vocalore;
using namespace vocalore::testdocs;

namespace {

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

// What a child process, a second running copy, is told.
std::string SeenByChild(const std::string& document) {
    int pipes[2];
    if (::pipe(pipes) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const auto owner = TDocumentLock::HeldByOther(document);
        const std::string text = owner ? std::to_string(owner->Pid) + "@" + owner->Host : "free";
        (void)!::write(pipes[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(pipes[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipes[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(pipes[0]);
    ::waitpid(child, nullptr, 0);
    return text;
}

TEST(DocumentLock, SeenByOthersIgnoredWhenOursOrStale) {
    TTempDir dir;
    const std::string doc = dir / "list.vlo";
    const std::string lock = dir / ".~lock.list.vlo#";
    EXPECT_EQ(TDocumentLock::LockFileName(doc), lock);
    EXPECT_EQ(SeenByChild(doc), "free");
    {
        TDocumentLock held;
        held.Take(doc);
        EXPECT_EQ(held.LockedPath(), doc);
        EXPECT_FALSE(TDocumentLock::HeldByOther(doc).has_value()); // our own
        EXPECT_EQ(SeenByChild(doc), std::to_string(::getpid()) + "@" + HostName());
        // Taking another document releases the first.
        held.Take(dir / "other.vlo");
        EXPECT_EQ(SeenByChild(doc), "free");
        EXPECT_FALSE(std::filesystem::exists(lock));
        held.Take(doc);
    }
    EXPECT_FALSE(std::filesystem::exists(lock)); // released with the holder

    // A dead process's lock is stale; one from another machine is not.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    std::ofstream(lock) << "someone," << HostName() << "," << child << ",1700000000\n";
    EXPECT_FALSE(TDocumentLock::HeldByOther(doc).has_value());
    std::ofstream(lock) << "someone,elsewhere," << child << ",1700000000\n";
    const auto other = TDocumentLock::HeldByOther(doc);
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->User, "someone");
    EXPECT_EQ(other->Host, "elsewhere");
    EXPECT_EQ(other->Since, 1700000000);
    std::ofstream(lock) << "garbage";
    EXPECT_TRUE(TDocumentLock::HeldByOther(doc).has_value()); // someone holds it

    // Opening anyway takes the lock over; a lock replaced since stays.
    TDocumentLock mine;
    mine.Take(doc);
    EXPECT_EQ(SeenByChild(doc), std::to_string(::getpid()) + "@" + HostName());
    std::ofstream(lock) << "later,elsewhere,1,1700000000\n";
    mine.Release();
    EXPECT_TRUE(std::filesystem::exists(lock));
}

} // namespace
