#pragma once
// A lock file beside an open document, of the kind desktop editors leave, so
// that a second running copy (ours or another user's on a shared folder)
// can tell the user the document is already open. Nothing waits on it: it
// only informs. A lock whose process is gone on this machine is stale and
// ignored.

#include <cstdint>
#include <optional>
#include <string>

namespace vocalore {

struct TLockOwner {
    std::string User;
    std::string Host;
    int64_t Pid = 0;
    int64_t Since = 0; // seconds since the epoch
};

class TDocumentLock {
public:
    TDocumentLock() = default;
    ~TDocumentLock() { Release(); }
    TDocumentLock(const TDocumentLock&) = delete;
    TDocumentLock& operator=(const TDocumentLock&) = delete;

    // ".~lock.NAME#" in the document's folder.
    static std::string LockFileName(const std::string& documentPath);
    // Who else has the document open: nothing when nobody, or when the lock
    // is ours or stale.
    static std::optional<TLockOwner> HeldByOther(const std::string& documentPath);

    // Takes the lock for this process, replacing another's (the user chose to
    // open the document anyway) and releasing any lock held before. A folder
    // that admits no lock file leaves the document unlocked, quietly.
    void Take(const std::string& documentPath);
    // Removes the lock file if it is still ours.
    void Release();
    const std::string& LockedPath() const { return FDocument; }

private:
    std::string FDocument;
    std::string FLockFile;
};

} // namespace vocalore
