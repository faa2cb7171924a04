#include "RecoveryCopies.h"

#include "core/VocabError.h"
#include "core/VocabFile.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace vocalore {

TRecoveryCopies::TRecoveryCopies(std::function<const TVocabFile*()> document, QObject* parent)
    : QObject(parent), FDocument(std::move(document)) {
    FWorker.setMaxThreadCount(1);
    connect(&FTimer, &QTimer::timeout, this, &TRecoveryCopies::WriteSoon);
}

TRecoveryCopies::~TRecoveryCopies() { FWorker.waitForDone(); }

void TRecoveryCopies::SetInterval(int minutes) {
    FMinutes = std::max(0, minutes);
    if (FMinutes == 0) {
        FTimer.stop();
        return;
    }
    FTimer.start(FMinutes * 60 * 1000);
}

bool TRecoveryCopies::TakeImage(std::string& image, std::string& path) const {
    const TVocabFile* document = FDocument();
    if (document == nullptr || !document->Modified())
        return false;
    try {
        image = document->FileImage();
    } catch (const EVocabFileError&) {
        return false; // a text too long to store: a save would refuse it as well
    }
    path = document->FileName();
    return true;
}

void TRecoveryCopies::WriteSoon() {
    std::string image, path;
    if (!TakeImage(image, path)) {
        if (FDocument() != nullptr && !FDocument()->Modified())
            Discard();
        return;
    }
    try {
        if (FFile.empty())
            FFile = NewRecoveryFileName(TRecoveryKind::Unsaved);
    } catch (const EVocabFileError&) {
        return; // no folder for copies: nothing we can keep
    }
    FWorker.start([file = FFile, image = std::move(image), path = std::move(path)] {
        try {
            WriteRecoveryCopy(file, TRecoveryKind::Unsaved, path, image);
        } catch (const EVocabFileError&) {
            // A full disk: the previous copy stays, the next tick tries again.
        }
    });
}

void TRecoveryCopies::WriteNow() {
    FWorker.waitForDone();
    std::string image, path;
    if (!TakeImage(image, path))
        return;
    try {
        if (FFile.empty())
            FFile = NewRecoveryFileName(TRecoveryKind::Unsaved);
        WriteRecoveryCopy(FFile, TRecoveryKind::Unsaved, path, image);
    } catch (const EVocabFileError&) {
    }
}

void TRecoveryCopies::Discard() {
    if (FFile.empty())
        return;
    FWorker.start([file = FFile] { ::unlink(file.c_str()); });
    FFile.clear();
}

void TRecoveryCopies::Wait() { FWorker.waitForDone(); }

} // namespace vocalore
