#include "FileIO.h"

#include "core/VocabError.h"

#include <cerrno>

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

} // namespace

std::string ReadWholeFile(const std::string& path) {
    // Non-blocking, and only regular files: a pipe without a writer would hang
    // the import and a device such as /dev/zero would never end.
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        throw EVocabFileError(FileErrorText("Cannot open file", path, errno));
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        throw EVocabFileError(FileErrorText("Cannot open file", path, errno));
    if (S_ISDIR(info.st_mode))
        throw EVocabFileError(FileErrorText("Cannot open file", path, EISDIR));
    if (!S_ISREG(info.st_mode))
        throw EVocabFileError(FileErrorText("Cannot open file", path, 0) + ". Not a regular file");
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EVocabFileError(FileErrorText("Cannot open file", path, errno));
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    TFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        throw EVocabFileError(FileErrorText("Cannot create file", path, errno));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Raise(msg::StreamWriteError);
        done += static_cast<size_t>(n);
    }
    if (!fd.Close())
        Raise(msg::StreamWriteError);
}

} // namespace vocalore
