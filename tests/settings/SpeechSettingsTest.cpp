#include "settings/Settings.h"

#include <gtest/gtest.h>

using namespace vocalore;

namespace {

std::optional<TStoredValue> Stored(TSettingsStore& store, const std::string& name) {
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    return key ? key->Query(name) : std::nullopt;
}

TEST(SpeechSettings, ValuesOfTheirOwnRoundTripAndLeaveTheOptionsRecordAlone) {
    TMemorySettingsStore store;
    TSettings s;
    s.Speech.SpeakQuestion = true;
    s.Speech.SpeakAnswer = true;
    s.Speech.Rate = -7;
    s.Speech.Voices[0x0407] = "anna";
    s.Speech.Voices[0x0419] = "\xD0\xB8\xD0\xB2\xD0\xB0\xD0\xBD"; // a UTF-8 name
    ASSERT_TRUE(SaveSettings(store, s));

    // The options record is the same 240 bytes with or without speech settings.
    const auto options = Stored(store, "Options");
    ASSERT_TRUE(options);
    const TOptionsRecord record = EncodeOptions(s.Options);
    EXPECT_EQ(options->Data, std::vector<uint8_t>(record.begin(), record.end()));
    EXPECT_EQ(options->Data.size(), 240u);
    const auto voice = Stored(store, "SpeechVoice0407");
    ASSERT_TRUE(voice);
    EXPECT_EQ(voice->Type, TValueType::vtString);

    TSettings loaded;
    LoadSettings(store, loaded, 0x0409);
    EXPECT_EQ(loaded.Speech, s.Speech);

    // Going back to the service's own voice clears the stored one.
    loaded.Speech.Voices[0x0407].clear();
    ASSERT_TRUE(SaveSettings(store, loaded));
    TSettings again;
    LoadSettings(store, again, 0x0409);
    EXPECT_EQ(again.Speech.Voice(0x0407), "");
    EXPECT_EQ(again.Speech.Voice(0x0419), s.Speech.Voices[0x0419]);
}

TEST(SpeechSettings, DefaultsAndADamagedRate) {
    TMemorySettingsStore store;
    TSettings first;
    LoadSettings(store, first, 0x0409);
    EXPECT_FALSE(first.Speech.SpeakQuestion);
    EXPECT_FALSE(first.Speech.SpeakAnswer);
    EXPECT_EQ(first.Speech.Rate, SpeechRateDefault);
    EXPECT_LT(SpeechRateDefault, 0); // slower than the service's pace
    EXPECT_TRUE(first.Speech.Voices.empty());

    for (const auto& [stored, expected] :
         {std::pair{99, SpeechRateMax}, std::pair{-99, SpeechRateMin}, std::pair{4, 4}}) {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        WriteInteger(key.get(), "SpeechRate", stored);
        ASSERT_TRUE(CloseSettingsKey(key));
        TSettings s;
        LoadSettings(store, s, 0x0409);
        EXPECT_EQ(s.Speech.Rate, expected) << stored;
    }
    EXPECT_EQ(SpeechVoiceValueName(0x0C07), "SpeechVoice0C07");
}

} // namespace
