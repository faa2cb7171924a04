#pragma once
// Accent composition: Ctrl + one of nine modifier characters chooses a row,
// and the next typed letter turns into that row's accented letter. Results
// are code page 1252 bytes. (The character-shortcut combinations live with
// the options record, which stores their assignments.)

#include <string_view>

namespace vocalore {

// Modifier characters in row order; row n (1 ... 9) is the character at n - 1.
inline constexpr std::string_view CompositionModifiers = "'`:^~@,/&";

struct TCompositionRow {
    std::string_view Base;    // letters that compose
    std::string_view Results; // code-page bytes, one per base letter
};

// Row 1 ... 9; any other number gives the empty row (no pending modifier).
const TCompositionRow& CompositionRow(int row);

// The row of a modifier character, 0 when it is none.
int CompositionRowOf(char ch);

// The byte `ch` turns into under row `row`, or `ch` itself when the row lacks it.
char Compose(int row, char ch);

} // namespace vocalore
