#pragma once
// Answer matching and the small text functions shared with sorting, Find and
// type-to-find. Texts are bytes in the default code page of the language;
// the locale services (collation, case, character classes) come from ICU on
// the decoded text. Pure functions of their arguments.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocalore {

// Evaluation flags of MatchAnswer.
inline constexpr uint16_t efIgnoreCase = 0x001;
inline constexpr uint16_t efIgnorePunctuation = 0x002;
inline constexpr uint16_t efOptionalBrackets = 0x004; // rule B
inline constexpr uint16_t efAlternatives = 0x008;     // rule S
inline constexpr uint16_t efInfinitiveTo = 0x010;     // rule T (English)
inline constexpr uint16_t efContractions = 0x020;     // rule C (English)
inline constexpr uint16_t efIzeIse = 0x040;           // rule Z (English)
inline constexpr uint16_t efTranslationList = 0x080;  // rule L, set by the caller
inline constexpr uint16_t efAnyOrder = 0x100;         // used by rule L
inline constexpr uint16_t efIncompleteList = 0x200;   // used by rule L
inline constexpr uint16_t efDefaultPassive = 0x3FF;
inline constexpr uint16_t efDefaultActive = 0x00C;
inline constexpr uint16_t efNotes = 0x003;

// At most this many translations are taken from each side of rule L.
inline constexpr int MaxTranslations = 16;

// True when the given answer counts as the expected text.
bool MatchAnswer(std::string_view expected, std::string_view given, uint16_t language,
                 uint16_t flags);

// Brackets "(...)" balanced, not nested.
bool BracketsValid(std::string_view text);
// The fourteen contraction replacements, in order, case-insensitive.
std::string ExpandContractions(std::string_view text);
// Case-insensitive collation key of the letters, digits and spaces of the
// text, compared as unsigned bytes.
std::string SortKey(std::string_view text, uint16_t language);
// Only letters and digits (and the space, when keepSpaces) remain.
std::string LettersAndDigits(std::string_view text, uint16_t language, bool keepSpaces);
std::string LowerCaseText(std::string_view text, uint16_t language);
std::string RemoveAccents(std::string_view text, uint16_t language);
// Every byte that is neither letter nor digit becomes `replacement`.
std::string NonAlphanumericTo(std::string_view text, uint16_t language, char replacement);
// Splits at any of the delimiter bytes; see the .cpp for the exact rules.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiters, bool trim,
                                   int maxCount, bool skipEmpty);

} // namespace vocalore
