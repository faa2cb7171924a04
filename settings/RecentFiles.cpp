#include "settings/RecentFiles.h"

#include "core/VocabError.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>

#include <sys/stat.h>

namespace vocalore {

namespace {
inline constexpr const char* InvalidCapacityMessage = "Invalid property value";

bool ValidUtf8(const std::string& s) {
    UErrorCode status = U_ZERO_ERROR;
    // Preflighting only: the status tells, the length is not needed.
    u_strFromUTF8(nullptr, 0, nullptr, s.data(), static_cast<int32_t>(s.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}
} // namespace

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    // Text that is not UTF-8 would decode to replacement characters and could
    // make different paths look alike.
    if (!ValidUtf8(a) || !ValidUtf8(b))
        return SameIgnoringAsciiCase(a, b);
    icu::UnicodeString ua = icu::UnicodeString::fromUTF8(a);
    icu::UnicodeString ub = icu::UnicodeString::fromUTF8(b);
    return ua.caseCompare(ub, U_FOLD_CASE_DEFAULT) == 0;
}

bool SameDocumentPath(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    if (!SamePathIgnoringCase(a, b))
        return false;
    // Only the file system knows whether it tells the two names apart.
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

TRecentFileList::TRecentFileList(int32_t capacity) : FCapacity(DefaultRecentFileCapacity) {
    SetCapacity(capacity);
}

void TRecentFileList::Add(const std::string& path) {
    auto same = std::find_if(FEntries.begin(), FEntries.end(),
                             [&](const std::string& e) { return SameDocumentPath(e, path); });
    if (same != FEntries.end())
        FEntries.erase(same);
    else if (Count() >= FCapacity)
        FEntries.pop_back();
    FEntries.insert(FEntries.begin(), path);
}

void TRecentFileList::Append(const std::string& path) {
    FEntries.push_back(path);
    FCapacity = std::max(FCapacity, Count());
}

const std::string& TRecentFileList::Items(int32_t index) const {
    if (index < 0 || index >= Count())
        Raise(msg::InvalidItemIndex);
    return FEntries[static_cast<size_t>(index)];
}

void TRecentFileList::SetCapacity(int32_t n) {
    if (n <= 0)
        Raise(InvalidCapacityMessage);
    if (Count() > n)
        FEntries.resize(static_cast<size_t>(n));
    FCapacity = n;
}

} // namespace vocalore
