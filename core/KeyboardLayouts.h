#pragma once
// Which keyboard layout belongs to a language: the XKB layouts a user has
// configured ("us,de,ru" with variants ",nodeadkeys,") each stand for one
// 16-bit language identifier, and the keyboard switching picks the first
// layout whose identifier equals the language of the focused field exactly.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocalore {

struct TXkbLayout {
    std::string Layout;  // "de"
    std::string Variant; // "nodeadkeys", or empty

    bool operator==(const TXkbLayout&) const = default;
};

// The layouts of the comma-separated lists of the X server's rule names, in
// group order; a missing variant is empty. Spaces around names are dropped.
std::vector<TXkbLayout> ParseXkbLayouts(std::string_view layouts, std::string_view variants);

// The language identifier an XKB layout types (0x0407 for "de", 0x0C07 for
// "at", 0x100C for "ch" variant "fr"); 0 when the layout is unknown.
uint16_t XkbLayoutLanguage(std::string_view layout, std::string_view variant = {});

// The layout to activate for a language: the first of `layoutLanguages` equal
// to it in all 16 bits, else `defaultLayout`; language 0 means the default.
int ChooseKeyboardLayout(const std::vector<uint16_t>& layoutLanguages, uint16_t language,
                         int defaultLayout);

} // namespace vocalore
