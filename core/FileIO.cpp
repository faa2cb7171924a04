#include "FileIO.h"

#include "Recovery.h"
#include "VocabError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>
#include <vector>

#include <climits>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

    // Gives up the file now: it is not going to replace the target.
    void Discard() {
        if (FFd >= 0)
            ::close(FFd);
        FFd = -1;
        if (!FName.empty())
            ::unlink(FName.c_str());
        FName.clear();
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

// Follows symbolic links to the file a save must write: a link keeps naming
// the same file, and a dangling link gets its target created. Relative
// targets count from the link's folder.
int ResolveLinks(const std::string& path, std::string& resolved) {
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            resolved = current.string();
            return 0;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0)
            return errno;
        link.resize(static_cast<size_t>(n));
        const std::filesystem::path next(link);
        current =
            next.is_absolute() || !current.has_parent_path() ? next : current.parent_path() / next;
    }
    return ELOOP;
}

// Errors of a new name or a rename in the file's folder after which writing
// into the existing file still works.
bool FolderRefused(int error) { return error == EACCES || error == EPERM || error == EBUSY; }

// Gives the new file the old one's owner and group; false where the system
// doesn't let us.
bool TakeOwnership(int fd, const struct stat& existing) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0)
        return false;
    if (mine.st_uid == existing.st_uid && mine.st_gid == existing.st_gid)
        return true;
    const uid_t uid = mine.st_uid == existing.st_uid ? static_cast<uid_t>(-1) : existing.st_uid;
    const gid_t gid = mine.st_gid == existing.st_gid ? static_cast<gid_t>(-1) : existing.st_gid;
    return ::fchown(fd, uid, gid) == 0;
}

// Gives the new file the old one's extended attributes: its access control
// list above all, which would otherwise be lost to the rename. Attributes
// only the system may set (a security label) are the system's to give; any
// other that can't be copied makes the caller write into the old file
// instead. An owner-only file takes no access list: it is to be the owner's.
bool CopyAttributes(const std::string& from, int to, bool ownerOnly) {
    ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP;
    std::vector<char> names(static_cast<size_t>(size));
    size = ::llistxattr(from.c_str(), names.data(), names.size());
    if (size < 0)
        return false;
    names.resize(static_cast<size_t>(size));
    std::vector<char> value;
    for (size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        const std::string_view view(name);
        at += view.size() + 1;
        const bool systemOwned = view.starts_with("security.") || view.starts_with("trusted.");
        const bool accessList = view == "system.posix_acl_access";
        if (ownerOnly && accessList)
            continue;
        ssize_t length = ::lgetxattr(from.c_str(), name, nullptr, 0);
        if (length >= 0) {
            value.resize(static_cast<size_t>(length));
            length = ::lgetxattr(from.c_str(), name, value.data(), value.size());
        }
        if (length < 0 ||
            ::fsetxattr(to, name, value.data(), static_cast<size_t>(length), 0) != 0) {
            if (systemOwned)
                continue;
            return false;
        }
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReadAllFrom(int fd, std::string& bytes) {
    char buffer[1 << 16];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// Writes the bytes into the existing file itself, keeping its identity
// (owner, group, mode, inode and so every hard link). Its old content is
// first kept whole in the recovery folder, so a crash half-way loses
// nothing; the copy goes once the new content is on the disk, or once the
// old content is back after a failed write.
void WriteIntoExisting(const std::string& path, const std::string& target, std::string_view bytes,
                       TNewFileAccess access) {
    TFd fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.Get() < 0)
        RaiseFileError("Cannot create file", path, errno);
    std::string old;
    if (!ReadAllFrom(fd.Get(), old))
        RaiseFileError("Cannot create file", path, errno);
    std::string copy;
    try {
        copy = NewRecoveryFileName(TRecoveryKind::BeforeSave);
        WriteRecoveryCopy(copy, TRecoveryKind::BeforeSave, AbsolutePath(target), old);
    } catch (const EVocabFileError& e) {
        throw EVocabFileError(FileErrorText("Cannot create file", path, 0) +
                              ". No safe copy of its present content could be kept:\n" + e.what());
    }
    if (access == TNewFileAccess::OwnerOnly) {
        struct stat info {};
        if (::fstat(fd.Get(), &info) == 0)
            (void)::fchmod(fd.Get(), info.st_mode & 07700);
    }
    if (!WriteAllAt(fd.Get(), bytes) ||
        ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd.Get()) != 0) {
        const int error = errno;
        const bool restored = WriteAllAt(fd.Get(), old) &&
                              ::ftruncate(fd.Get(), static_cast<off_t>(old.size())) == 0 &&
                              ::fsync(fd.Get()) == 0;
        if (restored) {
            ::unlink(copy.c_str());
            RaiseWriteError(path, error);
        }
        throw EVocabFileError(std::string(msg::StreamWriteError) + "\n" + path + ": " +
                              std::strerror(error) + "\nIts previous content is kept in " + copy);
    }
    if (!fd.Close())
        throw EVocabFileError(std::string(msg::StreamWriteError) + "\n" + path + ": " +
                              std::strerror(errno) + "\nIts previous content is kept in " + copy);
    ::unlink(copy.c_str());
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
    try {
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
    } catch (const std::bad_alloc&) {
        throw EVocabFileError(FileErrorText("Cannot open file", path, 0) + ". " +
                              TooLargeForMemory);
    } catch (const std::length_error&) {
        throw EVocabFileError(FileErrorText("Cannot open file", path, 0) + ". " +
                              TooLargeForMemory);
    }
    return bytes;
}

std::optional<TFileStamp> FileStampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    TFileStamp stamp;
    stamp.ModifiedNs =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.Size = static_cast<int64_t>(info.st_size);
    stamp.Inode = static_cast<uint64_t>(info.st_ino);
    stamp.Device = static_cast<uint64_t>(info.st_dev);
    return stamp;
}

bool MayWriteFile(const std::string& path) {
    if (::access(path.c_str(), W_OK) == 0)
        return true;
    return errno == ENOENT;
}

std::string CreateTemporaryBeside(const std::string& path) {
    RemoveDeadTemporaries(path);
    std::string name = path + std::string(TempMark) + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        RaiseFileError("Cannot create file", path, errno);
    ::close(fd);
    return name;
}

void ReplaceFile(const std::string& path, std::string_view bytes, TNewFileAccess access) {
    std::string target;
    if (const int error = ResolveLinks(path, target); error != 0)
        RaiseFileError("Cannot create file", path, error);
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
    // Hard links would be split by a rename: the other names keep the old bytes.
    if (exists && existing.st_nlink > 1) {
        WriteIntoExisting(path, target, bytes, access);
        return;
    }
    RemoveDeadTemporaries(target);
    TTemporary temp(target);
    if (temp.Fd() < 0) {
        // The folder refuses a new name, but the file itself may be written.
        if (exists && FolderRefused(temp.Error())) {
            WriteIntoExisting(path, target, bytes, access);
            return;
        }
        RaiseFileError("Cannot create file", path, temp.Error());
    }
    if (!WriteAll(temp.Fd(), bytes))
        RaiseWriteError(path, errno);
    // The new file must belong to whoever owned the old one (a group member's
    // save of a shared list); where it can't, the old file is written instead.
    if (exists && !TakeOwnership(temp.Fd(), existing)) {
        temp.Discard();
        WriteIntoExisting(path, target, bytes, access);
        return;
    }
    // fchmod also drops what umask would have allowed beyond `mode`; it
    // follows the ownership change, which clears set-id bits.
    if (::fchmod(temp.Fd(), mode) != 0)
        RaiseWriteError(path, errno);
    // After the mode: an access list sets the group bits to its own mask.
    if (exists && !CopyAttributes(target, temp.Fd(), ownerOnly != 0)) {
        temp.Discard();
        WriteIntoExisting(path, target, bytes, access);
        return;
    }
    if (::fsync(temp.Fd()) != 0)
        RaiseWriteError(path, errno);
    if (!temp.Name()) {
        if (exists && FolderRefused(temp.Error())) {
            temp.Discard();
            WriteIntoExisting(path, target, bytes, access);
            return;
        }
        RaiseFileError("Cannot create file", path, temp.Error());
    }
    if (!temp.Close())
        RaiseWriteError(path, errno);
    if (!temp.Rename(target)) {
        // A sticky folder keeps others from renaming over a file, a file
        // mounted onto its name can't be replaced at all: write into it.
        if (exists && FolderRefused(temp.Error())) {
            temp.Discard();
            WriteIntoExisting(path, target, bytes, access);
            return;
        }
        RaiseFileError("Cannot create file", path, temp.Error());
    }
}

std::string XdgProgramFolder(const char* variable, const char* homeRelative) {
    std::filesystem::path base;
    const char* xdg = std::getenv(variable);
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0')
            return {};
        base = std::filesystem::path(home) / homeRelative;
    }
    return (base / "Vocalore").string();
}

} // namespace vocalore
