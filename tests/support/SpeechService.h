#pragma once
// A speech-dispatcher of a test's own: its own runtime folder and
// configuration, in which the only output module writes the language, the
// voice, the rate and the text of every message to a file instead of sounding
// them. German has a second voice.
// The program under test starts the service by itself, as on a desktop.
// A process talks to one such service: the speech library keeps its first
// connection's address, so each test runs in a process of its own (as CTest
// runs them).

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>

namespace vocalore::test {

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One message as the output module recorded it.
struct TSpoken {
    QString Language;
    QString Voice;
    QString Rate;
    QString Text;
};

enum class TService { Recording, Slow, Unstartable };

class TSpeechService {
public:
    explicit TSpeechService(TService kind) {
        const QString config = FDir.filePath(QStringLiteral("config/speech-dispatcher"));
        QDir().mkpath(config);
        QDir().mkpath(RuntimeDir());
        QFile::setPermissions(RuntimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        FRecord = FDir.filePath(QStringLiteral("spoken.txt"));
        // The service puts the text in place of the first $DATA only.
        const QString record =
            QStringLiteral("'$LANGUAGE' '$VOICE' '$RATE' $t >> '%1'").arg(FRecord);
        // Slow: a message takes a while, so that an interruption shows as a
        // "begin" without its "end".
        const QString synth =
            QStringLiteral("t='$DATA'; ") +
            (kind == TService::Slow
                 ? QStringLiteral("echo begin %1; sleep 2; echo end %1").arg(record)
                 : QStringLiteral("echo said %1").arg(record));
        WriteFile(config + QStringLiteral("/record.conf"),
                  QStringLiteral("GenericExecuteSynth \"%1\"\n"
                                 "AddVoice \"de\" \"male1\" \"de\"\n"
                                 "AddVoice \"de\" \"female1\" \"de-anna\"\n"
                                 "AddVoice \"en\" \"male1\" \"en\"\n"
                                 "AddVoice \"ru\" \"male1\" \"ru\"\n"
                                 "GenericLanguage \"de\" \"de\" \"utf-8\"\n"
                                 "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
                                 "GenericLanguage \"ru\" \"ru\" \"utf-8\"\n")
                      .arg(synth)
                      .toUtf8());
        WriteFile(config + QStringLiteral("/speechd.conf"),
                  QStringLiteral("AudioOutputMethod \"libao\"\n"
                                 "Timeout 2\n"
                                 "AddModule \"record\" \"sd_generic\" \"%1/record.conf\"\n"
                                 "DefaultModule record\n")
                      .arg(config)
                      .toUtf8());
        FOldRuntime = qgetenv("XDG_RUNTIME_DIR");
        FOldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_RUNTIME_DIR", RuntimeDir().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toLocal8Bit());
        if (kind == TService::Unstartable)
            qputenv("SPEECHD_CMD", "/bin/false");
    }

    ~TSpeechService() {
        // The service this test started, and no other.
        const QByteArray pid =
            ReadFile(RuntimeDir() + QStringLiteral("/speech-dispatcher/pid/speech-dispatcher.pid"));
        if (const int id = pid.trimmed().toInt(); id > 0)
            ::kill(id, SIGTERM);
        qunsetenv("SPEECHD_CMD");
        qputenv("XDG_RUNTIME_DIR", FOldRuntime);
        qputenv("XDG_CONFIG_HOME", FOldConfig);
    }

    QString RuntimeDir() const { return FDir.filePath(QStringLiteral("run")); }

    // Every line "said|begin|end language voice rate text".
    QList<TSpoken> Lines(const char* kind = "said") const {
        QList<TSpoken> lines;
        for (const QString& line : QString::fromUtf8(ReadFile(FRecord)).split(u'\n')) {
            const QStringList parts = line.split(u' ');
            if (parts.size() < 5 || parts[0] != QLatin1String(kind))
                continue;
            lines.append({parts[1], parts[2], parts[3], parts.mid(4).join(u' ').trimmed()});
        }
        return lines;
    }
    // The texts in order, a message the service split at a full stop joined again.
    QStringList Texts(const char* kind = "said") const {
        QStringList texts;
        for (const TSpoken& line : Lines(kind))
            texts.append(line.Text);
        return texts;
    }
    QStringList Languages(const char* kind = "said") const {
        QStringList languages;
        for (const TSpoken& line : Lines(kind))
            languages.append(line.Language);
        return languages;
    }

private:
    QTemporaryDir FDir;
    QString FRecord;
    QByteArray FOldRuntime;
    QByteArray FOldConfig;
};

inline bool SpeechServiceInstalled() {
    return QFile::exists(QStringLiteral("/usr/bin/speech-dispatcher")) &&
           QFile::exists(QStringLiteral("/usr/lib/speech-dispatcher-modules/sd_generic"));
}

} // namespace vocalore::test
