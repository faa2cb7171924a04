#pragma once
// How the program speaks: whether questions and answers are spoken by
// themselves, how fast, and the voice chosen for each language. Kept as
// values of their own beside the options record, which keeps its layout.

#include "settings/SettingsStore.h"

#include <cstdint>
#include <map>
#include <string>

namespace vocalore {

inline constexpr int32_t SpeechRateMin = -10; // slowest
inline constexpr int32_t SpeechRateMax = 10;
// Learners follow a slower voice better than the service's own pace.
inline constexpr int32_t SpeechRateDefault = -3;

struct TSpeechSettings {
    bool SpeakQuestion = false;
    bool SpeakAnswer = false;
    int32_t Rate = SpeechRateDefault;
    // Voice name (UTF-8) per language identifier; empty: the service's
    // choice for the language. An emptied entry stays, so that saving clears
    // the stored value too.
    std::map<uint16_t, std::string> Voices;

    const std::string& Voice(uint16_t languageId) const;
    bool operator==(const TSpeechSettings&) const = default;
};

// The value holding the voice of a language: "SpeechVoice0407".
std::string SpeechVoiceValueName(uint16_t languageId);

// Reads through an open key (nullptr: the defaults); a rate out of range is
// brought into it. Voices are read for every language of the table.
TSpeechSettings ReadSpeechSettings(const TSettingsKey* key);
// True when the key accepted every value.
bool WriteSpeechSettings(TSettingsKey* key, const TSpeechSettings& settings);

} // namespace vocalore
