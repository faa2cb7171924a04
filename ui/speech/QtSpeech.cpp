// The desktop's speech service through Qt's text-to-speech module and its
// speech-dispatcher engine. Connecting starts the service when it isn't
// running, which takes a noticeable moment, and every request is a round trip
// to it: all of that happens on a thread of its own, so the window never waits.

#include "Speaker.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>
#include <QVoice>

namespace vocalore {

namespace {

constexpr const char* EngineName = "speechd";

struct TSpeechReport {
    TSpeechStatus Status = ssStarting;
    QString Problem;
    QList<TVoice> Voices;
};

// Lives on the speech thread and owns the engine there.
class TSpeechWorker final : public QObject {
public:
    // `report` runs on the speech thread; it passes the news on.
    explicit TSpeechWorker(std::function<void(const TSpeechReport&)> report)
        : FReport(std::move(report)) {}

    void Start() {
        if (!QTextToSpeech::availableEngines().contains(QLatin1String(EngineName))) {
            FReport(
                {ssUnavailable, QStringLiteral("Qt's speech-dispatcher plugin is missing"), {}});
            return;
        }
        FEngine = new QTextToSpeech(QLatin1String(EngineName), this);
        // Without a default voice for the process's own locale the engine
        // reports a configuration error; only a failed connection is fatal.
        if (FEngine->state() == QTextToSpeech::Error &&
            FEngine->errorReason() == QTextToSpeech::ErrorReason::Initialization) {
            FReport({ssUnavailable, FEngine->errorString(), {}});
            delete FEngine;
            FEngine = nullptr;
            return;
        }
        TSpeechReport report{ssReady, {}, {}};
        // The engine lists the voices of its current locale only.
        for (const QLocale& locale : FEngine->availableLocales()) {
            FEngine->setLocale(locale);
            for (const QVoice& voice : FEngine->availableVoices())
                report.Voices.append({voice.name(), locale});
        }
        FReport(report);
    }

    void Say(const QString& text, const TVoice& voice, double rate) {
        if (!FEngine)
            return;
        if (FEngine->state() == QTextToSpeech::Speaking ||
            FEngine->state() == QTextToSpeech::Paused)
            FEngine->stop(QTextToSpeech::BoundaryHint::Immediate);
        if (FEngine->locale() != voice.Locale)
            FEngine->setLocale(voice.Locale);
        if (FEngine->voice().name() != voice.Name) {
            for (const QVoice& offered : FEngine->availableVoices())
                if (offered.name() == voice.Name) {
                    FEngine->setVoice(offered);
                    break;
                }
        }
        FEngine->setRate(rate);
        FEngine->say(text);
    }

    void Stop() {
        if (FEngine)
            FEngine->stop(QTextToSpeech::BoundaryHint::Immediate);
    }

private:
    std::function<void(const TSpeechReport&)> FReport;
    QTextToSpeech* FEngine = nullptr;
};

// A service that hasn't answered by then is taken for absent (a broken output
// module can keep its start-up waiting for good); a late answer still counts.
constexpr int AnswerTimeoutMs = 10000;
// How long closing waits for the speech thread before leaving it behind.
constexpr unsigned long CloseTimeoutMs = 1500;

class TQtSpeech final : public QObject, public TSpeechBackend {
public:
    TQtSpeech() : FThread(new QThread) {
        FThread->setObjectName(QStringLiteral("speech"));
        QPointer<TQtSpeech> self(this);
        FWorker = new TSpeechWorker([self](const TSpeechReport& report) {
            // Through the application object, which outlives this one; the
            // pointer is looked at on the window's thread only.
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(
                    app,
                    [self, report] {
                        if (self)
                            self->Receive(report);
                    },
                    Qt::QueuedConnection);
        });
        FWorker->moveToThread(FThread);
        connect(FThread, &QThread::finished, FWorker, &QObject::deleteLater);
        FThread->start();
        Post([](TSpeechWorker& worker) { worker.Start(); });
        QTimer::singleShot(AnswerTimeoutMs, this, [this] {
            if (FReport.Status == ssStarting)
                Receive({ssUnavailable, QStringLiteral("the speech service did not answer"), {}});
        });
    }

    ~TQtSpeech() override {
        Post([](TSpeechWorker& worker) { worker.Stop(); });
        FThread->quit();
        // A thread still caught in the service's start-up is left to the end
        // of the process rather than holding the window's closing.
        if (FThread->wait(CloseTimeoutMs))
            delete FThread;
    }

    void SetListener(std::function<void()> changed) override { FListener = std::move(changed); }
    TSpeechStatus Status() const override { return FReport.Status; }
    QString Problem() const override { return FReport.Problem; }
    QList<TVoice> Voices() const override { return FReport.Voices; }

    void Say(const QString& text, const TVoice& voice, double rate) override {
        Post([text, voice, rate](TSpeechWorker& worker) { worker.Say(text, voice, rate); });
    }
    void Stop() override {
        Post([](TSpeechWorker& worker) { worker.Stop(); });
    }

private:
    template <typename F> void Post(F action) {
        TSpeechWorker* worker = FWorker;
        QMetaObject::invokeMethod(
            worker, [worker, action] { action(*worker); }, Qt::QueuedConnection);
    }

    void Receive(const TSpeechReport& report) {
        FReport = report;
        if (FListener)
            FListener();
    }

    QThread* FThread;
    TSpeechWorker* FWorker = nullptr;
    TSpeechReport FReport;
    std::function<void()> FListener;
};

} // namespace

std::unique_ptr<TSpeechBackend> MakeDesktopSpeech() { return std::make_unique<TQtSpeech>(); }

} // namespace vocalore
