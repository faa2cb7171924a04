#include "Hint.h"

#include <algorithm>

namespace vocalore {

std::string HintText(std::string_view boxText, std::string_view target) {
    const auto agree = std::mismatch(boxText.begin(), boxText.end(), target.begin(), target.end());
    const size_t k = static_cast<size_t>(agree.second - target.begin());
    if (k + 1 < target.size())
        return std::string(target.substr(0, k + 1));
    return std::string(target);
}

} // namespace vocalore
