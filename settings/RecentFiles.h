#pragma once
// The documents most recently opened or saved, most recent first. Two entries
// never name the same document: names that differ only in letter case are
// one entry where the file system does not tell them apart.

#include <cstdint>
#include <string>
#include <vector>

namespace vocalore {

inline constexpr int32_t DefaultRecentFileCapacity = 4;
// The main window keeps this many.
inline constexpr int32_t MainRecentFileCapacity = 9;
// How many the File menu shows.
inline constexpr int32_t RecentFileMenuCount = 4;

class TRecentFileList {
public:
    explicit TRecentFileList(int32_t capacity = DefaultRecentFileCapacity);

    // Puts the path first; an entry naming the same document goes, otherwise
    // the last entry goes when the list is full.
    void Add(const std::string& path);
    // Puts the path last without looking for duplicates; the capacity grows to
    // the count when needed (loading the stored list).
    void Append(const std::string& path);
    int32_t Count() const { return static_cast<int32_t>(FEntries.size()); }
    // Raises EVocabFileError for an index outside 0 .. Count()-1.
    const std::string& Items(int32_t index) const;
    int32_t Capacity() const { return FCapacity; }
    // Raises EVocabFileError "Invalid property value" for n <= 0; drops entries
    // from the end beyond n.
    void SetCapacity(int32_t n);
    void Clear() { FEntries.clear(); }

    bool operator==(const TRecentFileList&) const = default;

private:
    std::vector<std::string> FEntries;
    int32_t FCapacity;
};

// Equality of two paths without regard to letter case (Unicode case folding
// for UTF-8 text, ASCII folding for other bytes).
bool SamePathIgnoringCase(const std::string& a, const std::string& b);
// Equal paths, or paths equal but for letter case that the file system opens
// as one file (a case-insensitive mount); exact on a case-sensitive one.
bool SameDocumentPath(const std::string& a, const std::string& b);

} // namespace vocalore
