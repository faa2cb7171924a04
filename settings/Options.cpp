#include "settings/Options.h"

#include "settings/RecordBytes.h"

namespace vocalore {

const std::array<TEvaluationEntry, 9> PassiveEvaluationEntries = {{
    {"Ignore capitalization", efIgnoreCase},
    {"Ignore punctuation and spacing", efIgnorePunctuation},
    {"Treat text in brackets as optional", efOptionalBrackets},
    {"Treat words separated by / as alternatives", efAlternatives},
    {"Accept infinitives without 'to'", efInfinitiveTo},
    {"Allow auxiliary verb contractions", efContractions},
    {"Treat '-ize' and '-ise' as equivalent", efIzeIse},
    {"Ignore order of translations", efAnyOrder},
    {"Accept incomplete set of translations", efIncompleteList},
}};

const std::array<TNamedColour, 16> AnswerColours = {{
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Grey", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
}};

const std::array<TCharSetEntry, 6> ShortcutCharSets = {{
    {"Western", 0},
    {"Baltic", 186},
    {"Central European", 238},
    {"Cyrillic", 204},
    {"Greek", 161},
    {"Turkish", 162},
}};

namespace {

constexpr std::array<uint8_t, 10> FunctionKeys = {2, 3, 4, 5, 6, 7, 8, 9, 11, 12};

constexpr std::array<TShortcutKey, ShortcutKeyCount> MakeShortcutKeys() {
    std::array<TShortcutKey, ShortcutKeyCount> keys{};
    size_t n = 0;
    for (uint8_t mods : {uint8_t(smCtrl | smShift), uint8_t(smCtrl | smAlt)})
        for (char c = 'A'; c <= 'Z'; ++c)
            keys[n++] = {mods, c, 0};
    for (uint8_t mods :
         {uint8_t(smShift), uint8_t(smCtrl), uint8_t(smCtrl | smShift), uint8_t(smCtrl | smAlt)})
        for (uint8_t f : FunctionKeys)
            keys[n++] = {mods, 0, f};
    return keys;
}

// Offsets of the stored record.
enum : size_t {
    oAppendNewWords = 0x00,
    oRequireSortPosition = 0x01,
    oShortcutChars = 0x02,
    oKeyboardSwitching = 0xBA,
    oTestNotesPassive = 0xBB,
    oTestNotesActive = 0xBC,
    oNumChoices = 0xC0,
    oPassiveEvaluation = 0xC4,
    oActiveEvaluation = 0xC6,
    oAutoContinue = 0xC8,
    oColourWrong = 0xCC,
    oColourRight = 0xD0,
    oDelay = 0xD4,
    oBeep = 0xD8,
    oUsePenaltyPoints = 0xD9,
    oMaxPenaltyPoints = 0xDC,
    oDisallowHints = 0xE0,
};
static_assert(oShortcutChars + std::size_t{2} * ShortcutKeyCount == oKeyboardSwitching);

} // namespace

const std::array<TShortcutKey, ShortcutKeyCount> ShortcutKeys = MakeShortcutKeys();

std::string ShortcutKeyName(const TShortcutKey& key) {
    std::string name;
    if (key.Modifiers & smCtrl)
        name += "Ctrl+";
    if (key.Modifiers & smAlt)
        name += "Alt+";
    if (key.Modifiers & smShift)
        name += "Shift+";
    if (key.Letter != 0)
        name += key.Letter;
    else
        name += "F" + std::to_string(key.FunctionKey);
    return name;
}

int ShortcutKeyIndex(uint8_t modifiers, char letter, uint8_t functionKey) {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    for (size_t i = 0; i < ShortcutKeys.size(); ++i) {
        const TShortcutKey& k = ShortcutKeys[i];
        if (k.Modifiers == modifiers && k.Letter == letter && k.FunctionKey == functionKey)
            return static_cast<int>(i);
    }
    return -1;
}

TOptionsRecord EncodeOptions(const TOptions& o) {
    TOptionsRecord r{};
    PutFlag(r, oAppendNewWords, o.AppendNewWords);
    PutFlag(r, oRequireSortPosition, o.RequireSortPosition);
    for (size_t i = 0; i < o.ShortcutChars.size(); ++i)
        PutU16(r, oShortcutChars + 2 * i, o.ShortcutChars[i]);
    PutFlag(r, oKeyboardSwitching, o.KeyboardSwitching);
    PutFlag(r, oTestNotesPassive, o.TestNotes[tnPassive]);
    PutFlag(r, oTestNotesActive, o.TestNotes[tnActive]);
    PutI32(r, oNumChoices, o.NumChoices);
    PutU16(r, oPassiveEvaluation, o.PassiveEvaluation);
    PutU16(r, oActiveEvaluation, o.ActiveEvaluation);
    PutFlag(r, oAutoContinue, o.AutoContinue);
    PutU32(r, oColourWrong, o.ColourWrong);
    PutU32(r, oColourRight, o.ColourRight);
    PutI32(r, oDelay, o.Delay);
    PutFlag(r, oBeep, o.Beep);
    PutFlag(r, oUsePenaltyPoints, o.UsePenaltyPoints);
    PutI32(r, oMaxPenaltyPoints, o.MaxPenaltyPoints);
    PutFlag(r, oDisallowHints, o.DisallowHints);
    return r;
}

TOptions DecodeOptions(const TOptionsRecord& r) {
    TOptions o;
    o.AppendNewWords = r[oAppendNewWords] != 0;
    o.RequireSortPosition = r[oRequireSortPosition] != 0;
    for (size_t i = 0; i < o.ShortcutChars.size(); ++i)
        o.ShortcutChars[i] = GetU16(r, oShortcutChars + 2 * i);
    o.KeyboardSwitching = r[oKeyboardSwitching] != 0;
    o.TestNotes[tnPassive] = r[oTestNotesPassive] != 0;
    o.TestNotes[tnActive] = r[oTestNotesActive] != 0;
    o.NumChoices = GetI32(r, oNumChoices);
    o.PassiveEvaluation = GetU16(r, oPassiveEvaluation);
    o.ActiveEvaluation = GetU16(r, oActiveEvaluation);
    o.AutoContinue = r[oAutoContinue] != 0;
    o.ColourWrong = GetU32(r, oColourWrong);
    o.ColourRight = GetU32(r, oColourRight);
    o.Delay = GetI32(r, oDelay);
    o.Beep = r[oBeep] != 0;
    o.UsePenaltyPoints = r[oUsePenaltyPoints] != 0;
    o.MaxPenaltyPoints = GetI32(r, oMaxPenaltyPoints);
    o.DisallowHints = r[oDisallowHints] != 0;
    return o;
}

void SanitizeOptions(TOptions& o) {
    const TOptions defaults;
    KeepInRange(o.NumChoices, 3, 10, defaults.NumChoices);
    KeepInRange(o.Delay, 0, 20, defaults.Delay);
    KeepInRange(o.MaxPenaltyPoints, 1, 5, defaults.MaxPenaltyPoints);
}

} // namespace vocalore
