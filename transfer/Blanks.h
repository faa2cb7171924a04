#pragma once
// Bytes up to 0x20 (space and control bytes) are what every transfer format
// trims from the ends of a text and what makes a comma-separated field quoted.

#include <string_view>

namespace vocalore {

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

inline std::string_view TrimBlanks(std::string_view s) {
    size_t first = 0;
    while (first < s.size() && IsBlank(s[first]))
        ++first;
    size_t last = s.size();
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

} // namespace vocalore
