#pragma once
// The Hint command's text: what was typed right, plus the next correct letter.

#include <string>
#include <string_view>

namespace vocalore {

// The box's text after one hint towards the target. The longest agreeing start
// (exact bytes: case and accents count) is kept and one more letter of the
// target added; anything typed after the first error goes. When that would
// leave at most one letter missing, the whole target: a single-letter target
// comes at once, and surplus text after a complete answer is removed.
std::string HintText(std::string_view boxText, std::string_view target);

} // namespace vocalore
