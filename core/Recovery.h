#pragma once
// Copies kept so that no list is lost: the recovery copy of a document with
// unsaved changes, and the copy of a file's old content that a save writing
// into the file itself keeps until the new content is complete. Both live in
// one private folder and carry the path of the file they belong to.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace vocalore {

enum class TRecoveryKind {
    Unsaved,   // a document's unsaved state
    BeforeSave // a file's content just before it was written in place
};

struct TRecoveryCopy {
    std::string File; // where the copy is
    TRecoveryKind Kind = TRecoveryKind::Unsaved;
    pid_t Writer = 0;         // the process that wrote it
    std::string OriginalPath; // the document's path; empty for an untitled one
    std::string Bytes;        // the content, byte for byte
};

// $XDG_STATE_HOME/Vocalore, or ~/.local/state/Vocalore when XDG_STATE_HOME is
// unset or relative; empty when neither gives a place.
std::string RecoveryFolder();

// Creates the folder (mode 0700) when missing and returns it; throws
// "Cannot create file %s" when there is none or it can't be made.
std::string EnsureRecoveryFolder();

// A name in the recovery folder that no other copy of this or another
// running process uses.
std::string NewRecoveryFileName(TRecoveryKind kind);

// Writes a copy atomically, readable by the owner only.
void WriteRecoveryCopy(const std::string& file, TRecoveryKind kind, const std::string& originalPath,
                       std::string_view bytes);

// The copy in a file, or nothing when the file is not one.
std::optional<TRecoveryCopy> ReadRecoveryCopy(const std::string& file);

// Every copy in the recovery folder whose writer has ended, oldest first.
std::vector<TRecoveryCopy> FindOrphanedRecoveryCopies();

} // namespace vocalore
