#include "DocumentLock.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace vocalore {

namespace {

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr)
        return pw->pw_name;
    return std::to_string(::geteuid());
}

// "user,host,pid,since" on one line.
std::optional<TLockOwner> ReadLock(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string line;
    std::getline(in, line);
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        parts.push_back(line.substr(start, comma - start));
    parts.push_back(line.substr(start));
    TLockOwner owner;
    if (parts.size() < 4)
        return owner; // unreadable, but someone holds it
    owner.User = parts[0];
    owner.Host = parts[1];
    std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), owner.Pid);
    std::from_chars(parts[3].data(), parts[3].data() + parts[3].size(), owner.Since);
    return owner;
}

bool IsOurs(const TLockOwner& owner) { return owner.Host == HostName() && owner.Pid == ::getpid(); }

// A lock of a process that no longer runs on this machine.
bool IsStale(const TLockOwner& owner) {
    return owner.Host == HostName() && owner.Pid > 0 &&
           ::kill(static_cast<pid_t>(owner.Pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TDocumentLock::LockFileName(const std::string& documentPath) {
    const std::filesystem::path path(documentPath);
    return (path.parent_path() / (".~lock." + path.filename().string() + "#")).string();
}

std::optional<TLockOwner> TDocumentLock::HeldByOther(const std::string& documentPath) {
    auto owner = ReadLock(LockFileName(documentPath));
    if (!owner || IsOurs(*owner) || IsStale(*owner))
        return std::nullopt;
    return owner;
}

void TDocumentLock::Take(const std::string& documentPath) {
    Release();
    const std::string file = LockFileName(documentPath);
    const auto since = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
    const std::string line = UserName() + "," + HostName() + "," + std::to_string(::getpid()) +
                             "," + std::to_string(since) + "\n";
    ::unlink(file.c_str()); // another's, stale or not: the user chose to open anyway
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    if (!written) {
        ::unlink(file.c_str());
        return;
    }
    FDocument = documentPath;
    FLockFile = file;
}

void TDocumentLock::Release() {
    if (FLockFile.empty())
        return;
    if (const auto owner = ReadLock(FLockFile); owner && IsOurs(*owner))
        ::unlink(FLockFile.c_str());
    FLockFile.clear();
    FDocument.clear();
}

} // namespace vocalore
