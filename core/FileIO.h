#pragma once
// Whole-file reads and safe whole-file replacement, with the document's error
// messages. Documents, exports and the settings file all go through here.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace vocalore {

// The reason given when a file doesn't fit into the memory left.
inline constexpr const char* TooLargeForMemory = "The file is too large for the available memory";

// The whole file. Throws "Cannot open file %s" with the reason when it can't be
// opened or read, is not a regular file, or is larger than maxSize. Never
// blocks on a pipe or device.
std::string ReadWholeFile(const std::string& path,
                          size_t maxSize = std::numeric_limits<size_t>::max());

// Who may read a file that ReplaceFile creates: everyone the umask allows,
// or only the owner (also taken away from an existing file's group and others).
enum class TNewFileAccess { Everyone, OwnerOnly };

// Writes the bytes to a temporary file beside the target and renames it over
// the target only when everything was written, so a failure never destroys
// the old file; where the system offers it, the temporary file has no name
// until it is complete, so a crash leaves nothing behind (elsewhere a later
// save removes a dead process's leftover). A device or pipe is written in
// place. An existing file keeps its owner, group and permissions; symbolic
// links are followed to the file they name (created when missing). Where a
// rename would split hard links, could not keep the owner or group, or is
// refused by the folder, the bytes go into the existing file instead, after
// a copy of its old content is safe in the recovery folder. Throws "Cannot create file %s" with the
// reason, or "Stream write error" followed by a line with the file and the
// system's reason ("No space left on device") when writing fails part-way.
void ReplaceFile(const std::string& path, std::string_view bytes,
                 TNewFileAccess access = TNewFileAccess::Everyone);

// Creates an empty file beside `path` for a writer that can't write through
// ReplaceFile (a PDF writer that wants a file name) and returns its name. It
// carries this process's number, so the next save or temporary beside the
// same file removes it should this process die before it is gone. Throws
// "Cannot create file %s" with the reason.
std::string CreateTemporaryBeside(const std::string& path);

// What tells that a file changed on disk since we read or wrote it.
struct TFileStamp {
    int64_t ModifiedNs = 0;
    int64_t Size = 0;
    uint64_t Inode = 0;
    uint64_t Device = 0;
    bool operator==(const TFileStamp&) const = default;
};
// The stamp of the file a path names (links followed); nothing when it is gone.
std::optional<TFileStamp> FileStampOf(const std::string& path);

// Whether this process may write the file (its permissions, a read-only
// mount); a missing file counts as writable.
bool MayWriteFile(const std::string& path);

// The program's folder under an XDG base directory: $variable when it is an
// absolute path, else $HOME/homeRelative; "" when neither is known.
std::string XdgProgramFolder(const char* variable, const char* homeRelative);

} // namespace vocalore
