#pragma once
// Shared pieces of the window tests: the application object, scripted answers
// for modal dialogs, and small documents on disk.

#include "core/VocabFile.h"
#include "tests/support/OneApplication.h"
#include "ui/speech/Speaker.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <initializer_list>

namespace vocalore::test {

// A file's bytes, empty when it cannot be read.
inline QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One application for the whole test program, its standard paths kept apart
// from the user's.
inline QApplication& App() {
    static QApplication& app = []() -> QApplication& {
        QStandardPaths::setTestModeEnabled(true);
        // The windows stay silent and never start the user's speech service.
        SetSpeechBackendFactory([] { return std::unique_ptr<TSpeechBackend>(); });
        return test::OneApplication<QApplication>("ui_tests");
    }();
    return app;
}

// Runs `action` on the next modal dialog as soon as it is shown, from inside
// its event loop, so the test never blocks on it. A timer given an owner (the
// window under test) dies with it when a failed test leaves it waiting.
inline void OnNextModal(std::function<void(QDialog*)> action, QObject* owner = nullptr) {
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start();
}

using TItemTexts = std::array<const char*, 4>; // word, part of speech, notes, translation

// A document with the given items, German-English unless told otherwise.
inline void WriteDocument(const QString& path, std::initializer_list<TItemTexts> items,
                          uint16_t foreign = 0x0407, uint16_t native = 0x0409) {
    TVocabFile document;
    document.ForeignLangID = foreign;
    document.NativeLangID = native;
    for (const TItemTexts& texts : items) {
        TVocabItem& item = document.PendingItem();
        item.Word = texts[0];
        item.Category = texts[1];
        item.Notes = texts[2];
        item.Translation = texts[3];
        document.InsertPending(ipAtEnd);
    }
    document.SaveToFile(path.toStdString());
}

} // namespace vocalore::test
