#pragma once
// The recovery copy of the open document: written every few minutes while it
// has unsaved changes, by a worker thread from an image taken on the window's
// thread (so typing never waits for the disk), and removed once the document
// is saved or deliberately discarded. At start-up the copies of earlier runs
// that ended without saving are offered back.

#include "core/Recovery.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <string>

namespace vocalore {

class TVocabFile;

class TRecoveryCopies : public QObject {
    Q_OBJECT
public:
    // `document` gives the document to copy, or nullptr when there is none
    // to keep (no document shown).
    explicit TRecoveryCopies(std::function<const TVocabFile*()> document,
                             QObject* parent = nullptr);
    ~TRecoveryCopies() override;

    // Minutes between copies; 0 writes none on the timer.
    void SetInterval(int minutes);
    int Interval() const { return FMinutes; }

    // Takes an image of a modified document now and writes it in the
    // background; a document without changes has its copy removed.
    void WriteSoon();
    // The same, finished before it returns: the end of a session.
    void WriteNow();
    // The document was saved or discarded: its copy goes.
    void Discard();
    // Waits for the worker (tests, shut-down).
    void Wait();

    // This run's copy, once one was written; empty before.
    const std::string& File() const { return FFile; }

private:
    // The image of a document that needs a copy; empty when none does.
    bool TakeImage(std::string& image, std::string& path) const;

    std::function<const TVocabFile*()> FDocument;
    QTimer FTimer;
    QThreadPool FWorker; // one thread: copies and removals stay in order
    std::string FFile;
    int FMinutes = 0;
};

} // namespace vocalore
