#pragma once
// Plain text from the HTML of flashcard fields: tags dropped, entities
// decoded, cloze markers reduced to their text, sound references removed.

#include <string>
#include <string_view>

namespace vocalore {

// How a line or block boundary (<br>, <div>, <p>, a list item...) shows in
// the plain text: a space, or "; " between translations.
enum class TBoundary { Space, Semicolon };

// The UTF-8 plain text of a field, on one line with single spaces and no
// blanks at either end. Images and other markup vanish with their tags;
// script and style elements with their content.
std::string HtmlFieldText(std::string_view html, TBoundary boundary);

// `{{c1::text::hint}}` becomes "text" (clozes may nest); anything else is kept.
std::string StripClozes(std::string_view text);

// The text without its `[sound:file]` references.
std::string StripSoundReferences(std::string_view text);

// The code point of a named character reference ("amp", "eacute"); 0 when
// the name is unknown.
char32_t NamedEntity(std::string_view name);

} // namespace vocalore
