// What is spoken and in which voice, against a scripted service.

#include "ui/speech/Speaker.h"

#include <gtest/gtest.h>

namespace vocalore {
namespace {

struct TSaid {
    QString Text;
    TVoice Voice;
    double Rate;
};

class TFakeSpeech final : public TSpeechBackend {
public:
    TFakeSpeech(TSpeechStatus status, QList<TVoice> voices, std::vector<TSaid>& said)
        : FStatus(status), FVoices(std::move(voices)), FSaid(said) {}
    void SetListener(std::function<void()>) override {}
    TSpeechStatus Status() const override { return FStatus; }
    QString Problem() const override { return {}; }
    QList<TVoice> Voices() const override { return FVoices; }
    void Say(const QString& text, const TVoice& voice, double rate) override {
        FSaid.push_back({text, voice, rate});
    }
    void Stop() override {}

private:
    TSpeechStatus FStatus;
    QList<TVoice> FVoices;
    std::vector<TSaid>& FSaid;
};

TVoice V(const char* name, const char* locale) {
    return {QString::fromLatin1(name), QLocale(QString::fromLatin1(locale))};
}

const QList<TVoice> Voices{V("anna", "de_DE"), V("franz", "de_AT"), V("kate", "en_GB"),
                           V("joe", "en_US")};

TEST(Speaker, TheLanguageIdentifierChoosesTheVoiceWithFallbackToTheLanguage) {
    struct {
        uint16_t Language;
        const char* Preferred;
        const char* Expected; // nullptr: none
    } rows[] = {
        {0x0407, "", "anna"},      // German (Germany)
        {0x0C07, "", "franz"},     // German (Austria): its own locale first
        {0x0807, "", "anna"},      // German (Switzerland): no de_CH voice, the language's
        {0x0C07, "anna", "anna"},  // the user's choice wins
        {0x0C07, "kate", "franz"}, // unless it speaks another language
        {0x0C07, "gone", "franz"}, // or the service no longer has it
        {0x0809, "", "kate"},      // English (United Kingdom)
        {0x0409, "", "joe"},       {0x040C, "", nullptr}, // French: no voice
        {0x0000, "", nullptr},                            // an identifier the program doesn't know
    };
    for (const auto& row : rows) {
        const std::optional<TVoice> voice =
            ChooseVoice(Voices, row.Language, QString::fromLatin1(row.Preferred));
        if (!row.Expected)
            EXPECT_FALSE(voice) << std::hex << row.Language;
        else
            EXPECT_EQ(voice ? voice->Name : QString(), QString::fromLatin1(row.Expected))
                << std::hex << row.Language << " " << row.Preferred;
    }
    EXPECT_EQ(SpeechLocale(0x0407), QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SpeechLocale(0x0419), QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_FALSE(SpeechLocale(0));
}

TEST(Speaker, TextIsDecodedFromItsCodePageAndAlternativesReadAsAList) {
    EXPECT_EQ(SpeechText("\xC4pfel", 0x0407), QStringLiteral("\u00C4pfel"));
    EXPECT_EQ(SpeechText("\xF1\xEE\xE1\xE0\xEA\xE0", 0x0419),
              QStringLiteral("\u0441\u043E\u0431\u0430\u043A\u0430"));
    EXPECT_EQ(SpeechText("\xE1\xF3\xEA", 0x0408), QStringLiteral("\u03B1\u03C3\u03BA")); // Greek
    EXPECT_EQ(SpeechText("Haus/Geb\xE4ude", 0x0407), QStringLiteral("Haus, Geb\u00E4ude"));
    EXPECT_EQ(SpeechText("  (to) run ", 0x0409), QStringLiteral("(to) run"));
}

TEST(Speaker, SpeaksInTheChosenVoiceAtTheSettingsRateOrSaysWhyNot) {
    std::vector<TSaid> said;
    TSpeechSettings settings;
    settings.Rate = -5;
    settings.Voices[0x0407] = "anna";
    TSpeaker speaker(std::make_unique<TFakeSpeech>(ssReady, Voices, said), settings);
    EXPECT_EQ(speaker.Unavailable(0x0407), QString());
    EXPECT_TRUE(speaker.Speak("Hund", 0x0C07)); // Austrian text, the German choice doesn't apply
    EXPECT_TRUE(speaker.Speak("Hund", 0x0407));
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].Voice.Name, QStringLiteral("franz"));
    EXPECT_EQ(said[1].Voice.Name, QStringLiteral("anna"));
    EXPECT_DOUBLE_EQ(said[1].Rate, -0.5);
    // Nothing to say, or no voice: silence.
    EXPECT_FALSE(speaker.Speak("", 0x0407));
    EXPECT_FALSE(speaker.Speak("chien", 0x040C));
    EXPECT_EQ(said.size(), 2u);
    EXPECT_TRUE(speaker.Unavailable(0x040C).contains(QStringLiteral("no voice for French")))
        << speaker.Unavailable(0x040C).toStdString();

    TSpeaker starting(std::make_unique<TFakeSpeech>(ssStarting, Voices, said), settings);
    EXPECT_TRUE(starting.Unavailable(0x0407).contains(QStringLiteral("starting")));
    EXPECT_FALSE(starting.Speak("Hund", 0x0407));
    TSpeaker none(nullptr, settings);
    EXPECT_TRUE(none.Unavailable(0x0407).contains(QStringLiteral("no speech service")));
    EXPECT_FALSE(none.Speak("Hund", 0x0407));
    EXPECT_TRUE(none.Voices().isEmpty());
    EXPECT_EQ(said.size(), 2u);
}

} // namespace
} // namespace vocalore
