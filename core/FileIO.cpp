#include "FileIO.h"

#include "VocabError.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
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

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
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
        Raise(msg::StreamWriteError);
}

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

void ReplaceFile(const std::string& path, std::string_view bytes) {
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

    std::string temp = target.string() + ".tmp-XXXXXX";
    TFd fd(::mkstemp(temp.data()));
    if (fd.Get() < 0)
        RaiseFileError("Cannot create file", path, errno);
    const mode_t mode = exists ? existing.st_mode & 07777 : NewFileMode();
    const bool written =
        WriteAll(fd.Get(), bytes) && ::fchmod(fd.Get(), mode) == 0 && ::fsync(fd.Get()) == 0;
    if (!fd.Close() || !written) {
        ::unlink(temp.c_str());
        Raise(msg::StreamWriteError);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        RaiseFileError("Cannot create file", path, error);
    }
}

} // namespace vocalore
