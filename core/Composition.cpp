#include "Composition.h"

#include <array>

namespace vocalore {

namespace {

using namespace std::string_view_literals;

constexpr std::array<TCompositionRow, 10> Rows{{
    {""sv, ""sv},
    {"aeiouydAEIOUYD"sv, "\xE1\xE9\xED\xF3\xFA\xFD\xF0\xC1\xC9\xCD\xD3\xDA\xDD\xD0"sv},
    {"aeiouAEIOU"sv, "\xE0\xE8\xEC\xF2\xF9\xC0\xC8\xCC\xD2\xD9"sv},
    {"aeiouyAEIOUY"sv, "\xE4\xEB\xEF\xF6\xFC\xFF\xC4\xCB\xCF\xD6\xDC\x9F"sv},
    {"aeiouAEIOU"sv, "\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB"sv},
    {"anoANO"sv, "\xE3\xF1\xF5\xC3\xD1\xD5"sv},
    {"aA"sv, "\xE5\xC5"sv},
    {"cC"sv, "\xE7\xC7"sv},
    {"oO"sv, "\xF8\xD8"sv},
    {"aosAOS"sv, "\xE6\x9C\xDF\xC6\x8C\xDF"sv},
}};

} // namespace

const TCompositionRow& CompositionRow(int row) {
    return Rows[row >= 1 && row <= 9 ? static_cast<size_t>(row) : 0];
}

int CompositionRowOf(char ch) {
    const size_t at = CompositionModifiers.find(ch);
    return ch == '\0' || at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

char Compose(int row, char ch) {
    const TCompositionRow& r = CompositionRow(row);
    const size_t at = r.Base.find(ch);
    return at == std::string_view::npos ? ch : r.Results[at];
}

} // namespace vocalore
