#include "Speaker.h"

#include "core/CodePage.h"
#include "core/Languages.h"

namespace vocalore {

namespace {

std::function<std::unique_ptr<TSpeechBackend>()>& Factory() {
    static std::function<std::unique_ptr<TSpeechBackend>()> factory;
    return factory;
}

} // namespace

std::unique_ptr<TSpeechBackend> MakeDesktopSpeech(); // QtSpeech.cpp or NoSpeech.cpp

std::unique_ptr<TSpeechBackend> MakeSpeechBackend() {
    return Factory() ? Factory()() : MakeDesktopSpeech();
}

void SetSpeechBackendFactory(std::function<std::unique_ptr<TSpeechBackend>()> factory) {
    Factory() = std::move(factory);
}

QString SpeechText(const std::string& bytes, uint16_t languageId) {
    QString text = QString::fromStdString(ToUtf8(bytes, languageId));
    // "Haus/Gebäude" are two answers; a voice would read the slash aloud.
    text.replace(u'/', QStringLiteral(", "));
    return text.simplified();
}

std::optional<QLocale> SpeechLocale(uint16_t languageId) {
    if (FindLanguage(languageId) == nullptr)
        return std::nullopt;
    const QLocale locale(QString::fromStdString(LanguageLocale(languageId)));
    if (locale.language() == QLocale::C)
        return std::nullopt;
    return locale;
}

QList<TVoice> VoicesForLanguage(const QList<TVoice>& voices, uint16_t languageId) {
    const std::optional<QLocale> locale = SpeechLocale(languageId);
    if (!locale)
        return {};
    QList<TVoice> own;
    QList<TVoice> others;
    for (const TVoice& voice : voices) {
        if (voice.Locale.language() != locale->language())
            continue;
        if (voice.Locale.territory() == locale->territory())
            own.append(voice);
        else
            others.append(voice);
    }
    return own + others;
}

std::optional<TVoice> ChooseVoice(const QList<TVoice>& voices, uint16_t languageId,
                                  const QString& preferred) {
    const QList<TVoice> candidates = VoicesForLanguage(voices, languageId);
    if (candidates.isEmpty())
        return std::nullopt;
    for (const TVoice& voice : candidates)
        if (!preferred.isEmpty() && voice.Name == preferred)
            return voice;
    return candidates.first();
}

TSpeaker::TSpeaker(std::unique_ptr<TSpeechBackend> backend, const TSpeechSettings& settings)
    : FBackend(std::move(backend)), FSettings(settings) {}

TSpeechStatus TSpeaker::Status() const { return FBackend ? FBackend->Status() : ssUnavailable; }

QString TSpeaker::Problem() const { return FBackend ? FBackend->Problem() : QString(); }

QList<TVoice> TSpeaker::Voices() const {
    return FBackend && FBackend->Status() == ssReady ? FBackend->Voices() : QList<TVoice>{};
}

void TSpeaker::SetListener(std::function<void()> changed) {
    if (FBackend)
        FBackend->SetListener(std::move(changed));
}

QString TSpeaker::Unavailable(uint16_t languageId) const {
    switch (Status()) {
    case ssStarting:
        return QStringLiteral("Speech: the speech service is starting");
    case ssUnavailable:
        return QStringLiteral("Speech unavailable: no speech service could be started");
    case ssReady:
        break;
    }
    if (ChooseVoice(FBackend->Voices(), languageId, {}))
        return {};
    QString name = QString::fromStdString(LanguageName(languageId));
    if (name.isEmpty())
        name = QStringLiteral("language %1").arg(languageId, 4, 16, QLatin1Char('0'));
    return QStringLiteral("Speech unavailable: no voice for ") + name;
}

bool TSpeaker::Speak(const std::string& bytes, uint16_t languageId) {
    if (Status() != ssReady)
        return false;
    const QString preferred = QString::fromStdString(FSettings.Voice(languageId));
    const std::optional<TVoice> voice = ChooseVoice(FBackend->Voices(), languageId, preferred);
    const QString text = SpeechText(bytes, languageId);
    if (!voice || text.isEmpty())
        return false;
    FBackend->Say(text, *voice, FSettings.Rate / 10.0);
    return true;
}

bool TSpeaker::SpeakWith(const QString& text, const TVoice& voice, int32_t rate) {
    if (Status() != ssReady || text.isEmpty())
        return false;
    FBackend->Say(text, voice, rate / 10.0);
    return true;
}

void TSpeaker::Stop() {
    if (FBackend)
        FBackend->Stop();
}

} // namespace vocalore
