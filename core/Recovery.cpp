#include "Recovery.h"

#include "FileIO.h"
#include "VocabError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocalore {

namespace {

constexpr std::string_view Header = "Vocalore recovery 1\n";
constexpr std::string_view Extension = ".recovery";
// The content follows a header of a few short lines; a longer one is no copy.
constexpr size_t MaxHeaderSize = 8192;

std::string_view KindWord(TRecoveryKind kind) {
    return kind == TRecoveryKind::Unsaved ? "unsaved" : "before-save";
}

// The next line of `text` from `pos`, without its line feed; nothing at the end.
std::optional<std::string_view> Line(std::string_view text, size_t& pos) {
    const size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    return line;
}

template <typename T> std::optional<T> Number(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

bool ProcessEnded(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

} // namespace

std::string RecoveryFolder() { return XdgProgramFolder("XDG_STATE_HOME", ".local/state"); }

std::string EnsureRecoveryFolder() {
    std::string folder = RecoveryFolder();
    if (folder.empty())
        throw EVocabFileError(FileErrorText("Cannot create file", "Vocalore", ENOENT) +
                              " (neither XDG_STATE_HOME nor HOME names a folder)");
    std::error_code ec;
    const std::filesystem::path path(folder);
    std::filesystem::create_directories(path.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw EVocabFileError(FileErrorText("Cannot create file", folder, errno));
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw EVocabFileError(FileErrorText("Cannot create file", folder, ENOTDIR));
    return folder;
}

std::string NewRecoveryFileName(TRecoveryKind kind) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    return (std::filesystem::path(EnsureRecoveryFolder()) /
            (std::string(KindWord(kind)) + "-" + std::to_string(::getpid()) + "-" +
             std::to_string(micros) + "-" + std::to_string(counter++) + std::string(Extension)))
        .string();
}

void WriteRecoveryCopy(const std::string& file, TRecoveryKind kind, const std::string& originalPath,
                       std::string_view bytes) {
    std::string image;
    image.reserve(Header.size() + originalPath.size() + 64 + bytes.size());
    image += Header;
    image += KindWord(kind);
    image += '\n';
    image += std::to_string(::getpid());
    image += '\n';
    image += std::to_string(originalPath.size());
    image += '\n';
    image += originalPath;
    image += '\n';
    image += bytes;
    ReplaceFile(file, image, TNewFileAccess::OwnerOnly);
}

std::optional<TRecoveryCopy> ReadRecoveryCopy(const std::string& file) {
    std::string image;
    try {
        image = ReadWholeFile(file);
    } catch (const EVocabFileError&) {
        return std::nullopt;
    }
    if (image.compare(0, Header.size(), Header) != 0)
        return std::nullopt;
    const std::string_view text(image);
    size_t pos = Header.size();
    TRecoveryCopy copy;
    copy.File = file;
    const auto kind = Line(text, pos);
    const auto pid = Line(text, pos);
    const auto length = Line(text, pos);
    if (!kind || !pid || !length || pos > MaxHeaderSize)
        return std::nullopt;
    if (*kind == KindWord(TRecoveryKind::Unsaved))
        copy.Kind = TRecoveryKind::Unsaved;
    else if (*kind == KindWord(TRecoveryKind::BeforeSave))
        copy.Kind = TRecoveryKind::BeforeSave;
    else
        return std::nullopt;
    const auto writer = Number<pid_t>(*pid);
    const auto size = Number<size_t>(*length);
    if (!writer || !size || *size > text.size() - pos || text.size() - pos - *size < 1 ||
        text[pos + *size] != '\n')
        return std::nullopt;
    copy.Writer = *writer;
    copy.OriginalPath = std::string(text.substr(pos, *size));
    copy.Bytes = image.substr(pos + *size + 1);
    return copy;
}

std::vector<TRecoveryCopy> FindOrphanedRecoveryCopies() {
    std::vector<std::pair<std::filesystem::file_time_type, TRecoveryCopy>> found;
    const std::string folder = RecoveryFolder();
    if (folder.empty())
        return {};
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->path().extension() != Extension)
            continue;
        auto copy = ReadRecoveryCopy(it->path().string());
        if (!copy || !ProcessEnded(copy->Writer))
            continue;
        std::error_code timeError;
        found.emplace_back(std::filesystem::last_write_time(it->path(), timeError),
                           std::move(*copy));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TRecoveryCopy> copies;
    copies.reserve(found.size());
    for (auto& entry : found)
        copies.push_back(std::move(entry.second));
    return copies;
}

} // namespace vocalore
