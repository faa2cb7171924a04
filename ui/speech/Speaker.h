#pragma once
// Speaking item texts through the desktop's speech service: what is spoken
// (the text decoded from its language's code page), in which voice (the
// language identifier gives the locale), and the service behind a small
// backend interface, so that the choice can be tested without one.

#include "settings/SpeechSettings.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vocalore {

struct TVoice {
    QString Name;
    QLocale Locale;
};

enum class TSpeechStatus { ssStarting, ssReady, ssUnavailable };
using enum TSpeechStatus;

// The speech service. Every call returns at once; the service answers on its
// own time and reports changes of status or voices through the listener, on
// the window's thread.
class TSpeechBackend {
public:
    virtual ~TSpeechBackend() = default;
    virtual void SetListener(std::function<void()> changed) = 0;
    virtual TSpeechStatus Status() const = 0;
    // What the service said when it could not be reached; may be empty.
    virtual QString Problem() const = 0;
    virtual QList<TVoice> Voices() const = 0;
    // Interrupts whatever is being spoken. rate: -1 (slowest) .. 1.
    virtual void Say(const QString& text, const TVoice& voice, double rate) = 0;
    virtual void Stop() = 0;
};

// The desktop's speech service (speech-dispatcher through Qt), or what an
// installed factory makes; tests install their own. May return nullptr: no
// service at all.
std::unique_ptr<TSpeechBackend> MakeSpeechBackend();
void SetSpeechBackendFactory(std::function<std::unique_ptr<TSpeechBackend>()> factory);

// The text a voice reads: decoded from the language's code page, with the
// alternatives of "a/b" read as a list rather than with the slash.
QString SpeechText(const std::string& bytes, uint16_t languageId);
// The locale of a language identifier (0x0407 gives de_DE); nullopt for an
// identifier the program doesn't know.
std::optional<QLocale> SpeechLocale(uint16_t languageId);
// The service's voices for a language: those of its own locale first, then
// the others of the same language (de_AT before de_DE for 0x0C07).
QList<TVoice> VoicesForLanguage(const QList<TVoice>& voices, uint16_t languageId);
// The voice that speaks a language: the preferred one when the service still
// offers it for the language, else the first of VoicesForLanguage.
std::optional<TVoice> ChooseVoice(const QList<TVoice>& voices, uint16_t languageId,
                                  const QString& preferred);

class TSpeaker {
public:
    // A null backend never speaks. The settings live as long as the speaker.
    TSpeaker(std::unique_ptr<TSpeechBackend> backend, const TSpeechSettings& settings);

    // Why `languageId` can't be spoken now ("" when it can).
    QString Unavailable(uint16_t languageId) const;
    // Speaks the text, interrupting anything in progress; false (and
    // silence) when it can't.
    bool Speak(const std::string& bytes, uint16_t languageId);
    // Speaks in the given voice (the Test button of the Options dialog).
    bool SpeakWith(const QString& text, const TVoice& voice, int32_t rate);
    void Stop();

    TSpeechStatus Status() const;
    // The service's own words when it could not be reached.
    QString Problem() const;
    QList<TVoice> Voices() const;
    // Called when the service's status or voices change.
    void SetListener(std::function<void()> changed);

private:
    std::unique_ptr<TSpeechBackend> FBackend;
    const TSpeechSettings& FSettings;
};

} // namespace vocalore
