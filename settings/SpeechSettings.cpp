#include "settings/SpeechSettings.h"

#include "core/Languages.h"

#include <algorithm>
#include <cstdio>

namespace vocalore {

namespace {

constexpr const char* vnSpeakQuestion = "SpeakQuestion";
constexpr const char* vnSpeakAnswer = "SpeakAnswer";
constexpr const char* vnSpeechRate = "SpeechRate";

} // namespace

const std::string& TSpeechSettings::Voice(uint16_t languageId) const {
    static const std::string none;
    const auto found = Voices.find(languageId);
    return found == Voices.end() ? none : found->second;
}

std::string SpeechVoiceValueName(uint16_t languageId) {
    char name[32];
    std::snprintf(name, sizeof name, "SpeechVoice%04X", static_cast<unsigned>(languageId));
    return name;
}

TSpeechSettings ReadSpeechSettings(const TSettingsKey* key) {
    TSpeechSettings s;
    s.SpeakQuestion = ReadBool(key, vnSpeakQuestion, false);
    s.SpeakAnswer = ReadBool(key, vnSpeakAnswer, false);
    s.Rate =
        std::clamp(ReadInteger(key, vnSpeechRate, SpeechRateDefault), SpeechRateMin, SpeechRateMax);
    for (const TLanguageInfo& language : LanguageTable()) {
        std::string voice = ReadString(key, SpeechVoiceValueName(language.Id), "");
        if (!voice.empty())
            s.Voices[language.Id] = std::move(voice);
    }
    return s;
}

bool WriteSpeechSettings(TSettingsKey* key, const TSpeechSettings& s) {
    bool ok = WriteBool(key, vnSpeakQuestion, s.SpeakQuestion);
    ok &= WriteBool(key, vnSpeakAnswer, s.SpeakAnswer);
    ok &= WriteInteger(key, vnSpeechRate, s.Rate);
    for (const auto& [language, voice] : s.Voices)
        ok &= WriteString(key, SpeechVoiceValueName(language), voice);
    return ok;
}

} // namespace vocalore
