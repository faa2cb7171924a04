#include "FileIO.h"

#include "VocabError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocalore {

namespace {

// Closes the descriptor on every path out of a function.
class TFd {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }
    // Closing can report the last deferred write error, so callers check it.
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0;
    }

private:
    int FFd;
};

[[noreturn]] void RaiseFileError(const char* verb, const std::string& path, int error) {
    throw EVocabFileError(FileErrorText(verb, path, error));
}

// "Stream write error", and on a line of its own which file and why.
[[noreturn]] void RaiseWriteError(const std::string& path, int error) {
    std::string text = msg::StreamWriteError;
    if (error != 0)
        text += "\n" + path + ": " + std::strerror(error);
    throw EVocabFileError(text);
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO; // no progress and no reason given
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteInPlace(const std::string& path, std::string_view bytes) {
    // Non-blocking open: a pipe with no reader fails at once instead of hanging.
    TFd fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        RaiseFileError("Cannot create file", path, errno);
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    if (!WriteAll(fd.Get(), bytes) || !fd.Close())
        RaiseWriteError(path, errno);
}

// Temporary files made without O_TMPFILE carry the writer's process number,
// so that a later save can tell a dead writer's leftover from a live one.
constexpr std::string_view TempMark = ".tmp-";

std::string TempPrefix(const std::filesystem::path& target) {
    return target.filename().string() + std::string(TempMark);
}

// Removes "NAME.tmp-PID-XXXXXX" beside the target when process PID is gone
// (a crash or kill during an earlier save).
void RemoveDeadTemporaries(const std::filesystem::path& target) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string rest = name.substr(prefix.size());
        const size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash)
            continue;
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

// The file a save writes into before it replaces the target. Where the
// system offers it (Linux O_TMPFILE) the file has no name until it is
// complete, so a crash can't leave it behind; elsewhere it is named with the
// process number and removed on every failure.
class TTemporary {
public:
    explicit TTemporary(const std::filesystem::path& target) : FTarget(target) {
        const std::filesystem::path folder =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
#ifdef O_TMPFILE
        FFd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (FFd >= 0)
            return;
#endif
        FName = target.string() + std::string(TempMark) + std::to_string(::getpid()) + "-XXXXXX";
        FFd = ::mkostemp(FName.data(), O_CLOEXEC);
        if (FFd < 0) {
            FError = errno;
            FName.clear();
        }
    }
    ~TTemporary() {
        if (FFd >= 0)
            ::close(FFd);
        if (!FName.empty())
            ::unlink(FName.c_str());
    }
    TTemporary(const TTemporary&) = delete;
    TTemporary& operator=(const TTemporary&) = delete;

    int Fd() const { return FFd; }
    int Error() const { return FError; }
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0;
    }

    // Gives the complete, still open file a name beside the target (an
    // O_TMPFILE file has none; linkat can't replace the target).
    bool Name() {
        if (!FName.empty())
            return true;
        const std::string self = "/proc/self/fd/" + std::to_string(FFd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = FTarget.string() + std::string(TempMark) +
                               std::to_string(::getpid()) + "-" + std::to_string(attempt);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                FName = std::move(name);
                return true;
            }
            if (errno != EEXIST) {
                FError = errno;
                return false;
            }
        }
        FError = EEXIST;
        return false;
    }

    // The named file takes the target's place.
    bool Rename(const std::filesystem::path& target) {
        if (::rename(FName.c_str(), target.c_str()) != 0) {
            FError = errno;
            return false;
        }
        FName.clear();
        return true;
    }

private:
    std::filesystem::path FTarget;
    std::string FName;
    int FFd = -1;
    int FError = 0;
};

} // namespace

std::string ReadWholeFile(const std::string& path, size_t maxSize) {
    // Non-blocking, and only regular files: a pipe without a writer would hang
    // the program and a device such as /dev/zero would never end.
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        RaiseFileError("Cannot open file", path, errno);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        RaiseFileError("Cannot open file", path, errno);
    if (S_ISDIR(info.st_mode))
        RaiseFileError("Cannot open file", path, EISDIR);
    if (!S_ISREG(info.st_mode))
        throw EVocabFileError(FileErrorText("Cannot open file", path, 0) + ". Not a regular file");
    if (static_cast<size_t>(info.st_size) > maxSize)
        RaiseFileError("Cannot open file", path, EFBIG);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            RaiseFileError("Cannot open file", path, errno);
        if (n == 0)
            break;
        if (bytes.size() + static_cast<size_t>(n) > maxSize) // grew while we read
            RaiseFileError("Cannot open file", path, EFBIG);
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes, TNewFileAccess access) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec))
        target = fs::weakly_canonical(target, ec);
    // A file the user may not write stays as it is, even though the folder
    // would let us rename another file over it.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        RaiseFileError("Cannot create file", path, EISDIR);
    if (exists && ::access(target.c_str(), W_OK) != 0)
        RaiseFileError("Cannot create file", path, errno);

    // A device or pipe can't be renamed over: write into it as it is.
    if (exists && !S_ISREG(existing.st_mode)) {
        WriteInPlace(path, bytes);
        return;
    }

    const mode_t ownerOnly = access == TNewFileAccess::OwnerOnly ? 0077 : 0;
    const mode_t mode = (exists ? existing.st_mode & 07777 : NewFileMode()) & ~ownerOnly;
    RemoveDeadTemporaries(target);
    TTemporary temp(target);
    if (temp.Fd() < 0)
        RaiseFileError("Cannot create file", path, temp.Error());
    // fchmod also drops what umask would have allowed beyond `mode`.
    if (!WriteAll(temp.Fd(), bytes) || ::fchmod(temp.Fd(), mode) != 0 || ::fsync(temp.Fd()) != 0)
        RaiseWriteError(path, errno);
    if (!temp.Name())
        RaiseFileError("Cannot create file", path, temp.Error());
    if (!temp.Close())
        RaiseWriteError(path, errno);
    if (!temp.Rename(target))
        RaiseFileError("Cannot create file", path, temp.Error());
}

} // namespace vocalore
