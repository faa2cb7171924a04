#pragma once
// Languages named the way other programs' files name them: by a locale code
// ("de", "en_GB", "pt-BR") or by a language name in English or in the
// language itself ("German", "Deutsch", "English (United Kingdom)").

#include <cstdint>
#include <string_view>

namespace vocalore {

// The offered language (see IsLanguageAvailable) that a label names, or 0.
// A code with a region gives that variant when it is offered; a bare
// language gives the first variant of the language table ("de" gives German
// (Germany)). Names are compared without regard to case.
uint16_t LanguageFromLabel(std::string_view label);

// True when both identifiers are variants of the same language ("en_GB" and
// "en_US" are; Serbian and Croatian, which share a primary identifier, are
// not).
bool SameLanguage(uint16_t a, uint16_t b);

} // namespace vocalore
