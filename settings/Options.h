#pragma once
// The user's options: one record for the whole run, stored as the 240-byte
// binary value "Options". Encoding and decoding go field by field at fixed
// offsets, little-endian, so the stored form never depends on struct layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/TextFunctions.h"

namespace vocalore {

inline constexpr size_t OptionsRecordSize = 240;
inline constexpr int ShortcutKeyCount = 92;

// The evaluation flag bits (efIgnoreCase ...) are the answer comparison's own.

// One entry of an evaluation check list: its caption and its bit.
struct TEvaluationEntry {
    const char* Caption;
    uint16_t Bit;
};
// The nine Passive entries in list order; the Active list is the first four.
extern const std::array<TEvaluationEntry, 9> PassiveEvaluationEntries;
inline constexpr int ActiveEvaluationEntryCount = 4;

struct TNamedColour {
    const char* Name;
    uint32_t Value; // 0x00BBGGRR
};
extern const std::array<TNamedColour, 16> AnswerColours;
inline constexpr uint32_t clRed = 0x0000FF;
inline constexpr uint32_t clBlue = 0xFF0000;

struct TCharSetEntry {
    const char* Name;
    uint8_t Code;
};
extern const std::array<TCharSetEntry, 6> ShortcutCharSets;

// The shortcut keys in record order.
enum TShortcutModifier : uint8_t { smShift = 1, smCtrl = 2, smAlt = 4 };
struct TShortcutKey {
    uint8_t Modifiers;   // TShortcutModifier bits
    char Letter;         // 'A'..'Z', or 0 for a function key
    uint8_t FunctionKey; // 2..12 (never 1 or 10), or 0 for a letter
};
extern const std::array<TShortcutKey, ShortcutKeyCount> ShortcutKeys;
// The key as shortcuts are spelt, e.g. "Ctrl+Shift+A", "Shift+F2".
std::string ShortcutKeyName(const TShortcutKey& key);
// Ctrl+Alt with a function key switches to a text console on a Linux desktop:
// such a key never reaches the program, so nothing can be assigned to it.
inline bool IsSystemReservedKey(const TShortcutKey& key) {
    return key.Modifiers == (smCtrl | smAlt) && key.FunctionKey != 0;
}
// Index of a key in record order, or -1 when it is not a shortcut key.
int ShortcutKeyIndex(uint8_t modifiers, char letter, uint8_t functionKey);

// A ShortcutChars entry: low byte the character code (0 = unassigned), high
// byte the character set it was chosen in.
inline uint8_t ShortcutCharCode(uint16_t entry) { return static_cast<uint8_t>(entry & 0xFF); }
inline uint8_t ShortcutCharSet(uint16_t entry) { return static_cast<uint8_t>(entry >> 8); }
inline uint16_t MakeShortcutChar(uint8_t code, uint8_t charSet) {
    return static_cast<uint16_t>(code | (charSet << 8));
}

// Index into TestNotes: the test mode (0 Passive, 1 Active).
inline constexpr int tnPassive = 0;
inline constexpr int tnActive = 1;

// Flags read as on when their byte is not zero. The initial values are the
// defaults used when no stored record can be read.
struct TOptions {
    bool AppendNewWords = false;
    bool RequireSortPosition = false;
    std::array<uint16_t, ShortcutKeyCount> ShortcutChars{};
    bool KeyboardSwitching = true;
    std::array<bool, 2> TestNotes{}; // [tnPassive], [tnActive]
    int32_t NumChoices = 4;          // 3 .. 10
    uint16_t PassiveEvaluation = 0x03FF;
    uint16_t ActiveEvaluation = 0x000C;
    bool AutoContinue = false;
    uint32_t ColourWrong = clRed;
    uint32_t ColourRight = clBlue;
    int32_t Delay = 0; // seconds, 0 .. 20
    bool Beep = true;
    bool UsePenaltyPoints = false;
    int32_t MaxPenaltyPoints = 3; // 1 .. 5
    bool DisallowHints = false;

    bool operator==(const TOptions&) const = default;
};

using TOptionsRecord = std::array<uint8_t, OptionsRecordSize>;

TOptionsRecord EncodeOptions(const TOptions& options);
// Reads every field as stored (padding and reserved bytes ignored).
TOptions DecodeOptions(const TOptionsRecord& record);
// Numbers a damaged or shortened record may hold outside the ranges the rest of
// the program relies on (NumChoices 3..10, Delay 0..20, MaxPenaltyPoints 1..5)
// are put back to their defaults, field by field.
void SanitizeOptions(TOptions& options);

} // namespace vocalore
